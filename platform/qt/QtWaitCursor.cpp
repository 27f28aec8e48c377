#include "platform/qt/QtWaitCursor.h"

#include <QApplication>
#include <QCursor>

namespace kzev {

void QtWaitCursor::begin()
{
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void QtWaitCursor::end()
{
    if (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

} // namespace kzev
