#include "platform/qt/QtMessagePump.h"

#include <QCoreApplication>

namespace kzev {

QtMessagePump::QtMessagePump(int intervalMs)
    : m_intervalMs(intervalMs)
{
}

void QtMessagePump::pump()
{
    if (m_sinceLast.isValid() && m_sinceLast.elapsed() < m_intervalMs)
        return;
    QCoreApplication::processEvents(QEventLoop::AllEvents, m_intervalMs);
    m_sinceLast.start();
}

} // namespace kzev
