#include "platform/qt/SaveFileDialog.h"

#include "platform/qt/FileFilter.h"

#include <QFileDialog>
#include <QFileInfo>

namespace kzev {

QString askSaveFileName(QWidget* parent, const QString& proposed, const std::string& tableFilter,
    const QString& defaultSuffix)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(qtFileFilter(tableFilter));
    dialog.setDefaultSuffix(defaultSuffix);
    const QFileInfo info(proposed);
    if (!proposed.isEmpty() && info.dir().exists())
        dialog.setDirectory(info.absolutePath());
    dialog.selectFile(info.fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

} // namespace kzev
