#include "app/CKzevApp.h"

#include "platform/IsolatedRun.h"
#include "platform/ProfileStore.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"
#include "platform/qt/SettingsProfileStore.h"

#include <QApplication>
#include <clocale>
#include <memory>

int main(int argc, char** argv)
{
    // Workbook readers are judged by how they end, which an inherited ignored SIGCHLD would hide.
    kzev::seeHelperEnds();
    QApplication qtApp(argc, argv);
    // Numbers in files and reports are always written with a decimal point.
    std::setlocale(LC_NUMERIC, "C");

    const QString settingsPath = kzev::SettingsProfileStore::defaultPath();
    std::unique_ptr<kzev::IProfileStore> settings = kzev::SettingsProfileStore::open(settingsPath);
    const bool settingsRefused = !settings;
    if (settingsRefused)
        settings = std::make_unique<kzev::MemoryProfileStore>(); // this run's settings are not kept
    kzev::installProfileStore(std::move(settings));
    CKzevApp::installPlatformServices();
    if (settingsRefused)
        kzev::services().messageBox->show(
            kzev::formatC(kzev::loadString(61446).c_str(), settingsPath.toStdString().c_str()),
            kzev::MessageIcon::Warning, kzev::MessageButtons::Ok);

    CKzevApp app;
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    if (!app.InitInstance(arguments))
        return 1;
    const int code = QApplication::exec();
    app.ExitInstance();
    return code;
}
