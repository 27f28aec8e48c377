#include "app/frame/ShellOpen.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace kzev {

ShellOpenFunction& shellOpen()
{
    static ShellOpenFunction opener = [](const std::filesystem::path& file) {
        // A file URL holds an absolute path: a relative one ("file:work/report.htm") opens nothing.
        std::error_code error;
        const std::filesystem::path absolute = std::filesystem::absolute(file, error);
        const std::filesystem::path& local = error ? file : absolute;
        return desktopUrlOpener()(QUrl::fromLocalFile(QString::fromStdString(local.lexically_normal().string())));
    };
    return opener;
}

DesktopUrlOpener& desktopUrlOpener()
{
    static DesktopUrlOpener opener = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    return opener;
}

} // namespace kzev
