#include "app/CKzevApp.h"

#include "platform/ProfileStore.h"
#include "platform/qt/SettingsProfileStore.h"

#include <QApplication>
#include <clocale>
#include <memory>

int main(int argc, char** argv)
{
    QApplication qtApp(argc, argv);
    // Numbers in files and reports are always written with a decimal point.
    std::setlocale(LC_NUMERIC, "C");

    kzev::installProfileStore(std::make_unique<kzev::SettingsProfileStore>(kzev::SettingsProfileStore::defaultPath()));
    CKzevApp::installPlatformServices();

    CKzevApp app;
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    if (!app.InitInstance(arguments))
        return 1;
    const int code = QApplication::exec();
    app.ExitInstance();
    return code;
}
