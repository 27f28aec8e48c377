#include "app/ShellOpen.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace kzev {

ShellOpenFunction& shellOpen()
{
    static ShellOpenFunction opener = [](const std::filesystem::path& file) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(file.string())));
    };
    return opener;
}

} // namespace kzev
