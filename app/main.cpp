#include "app/CMainFrame.h"

#include "platform/ProfileStore.h"
#include "platform/StringTable.h"
#include "platform/qt/SettingsProfileStore.h"

#include <QApplication>
#include <clocale>
#include <memory>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // Numbers in files and reports are always written with a decimal point.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QString::fromStdString(kzev::loadString(61921)));
    QApplication::setOrganizationName(QStringLiteral("Borva 92"));

    kzev::installProfileStore(std::make_unique<kzev::SettingsProfileStore>(kzev::SettingsProfileStore::defaultPath()));

    CMainFrame frame;
    frame.show();
    return QApplication::exec();
}
