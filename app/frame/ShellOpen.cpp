#include "app/frame/ShellOpen.h"

#include <QDesktopServices>
#include <QStandardPaths>
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
        ShellOpenResult result;
        result.opened
            = desktopUrlOpener()(QUrl::fromLocalFile(QString::fromStdString(local.lexically_normal().string())));
        // The desktop services do not say what they tried: the launcher they start is named.
        if (!result.opened)
            result.program = desktopLauncher();
        return result;
    };
    return opener;
}

DesktopUrlOpener& desktopUrlOpener()
{
    static DesktopUrlOpener opener = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    return opener;
}

std::string desktopLauncher()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return QStandardPaths::findExecutable(QStringLiteral("xdg-open")).toStdString();
#else
    return {};
#endif
}

} // namespace kzev
