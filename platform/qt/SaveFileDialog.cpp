#include "platform/qt/SaveFileDialog.h"

#include "platform/qt/FileFilter.h"

#include <QFileDialog>

namespace kzev {

QString askSaveFileName(QWidget* parent, const QString& title, const QString& folder, const QString& fileName,
    const std::string& tableFilter, const QString& defaultSuffix)
{
    QFileDialog dialog(parent);
    dialog.setWindowTitle(title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(qtFileFilter(tableFilter));
    dialog.setDefaultSuffix(defaultSuffix);
    if (!folder.isEmpty())
        dialog.setDirectory(folder);
    dialog.selectFile(fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

} // namespace kzev
