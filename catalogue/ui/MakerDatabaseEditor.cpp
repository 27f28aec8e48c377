// Starting the makers' database editor on a workbook.

#include "catalogue/ui/MakerDatabaseEditor.h"

#include "platform/CData.h"
#include "platform/ProfileStore.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QUrl>

#include <vector>

namespace kzev {

namespace {

constexpr int kCannotStart = 61854;
constexpr int kNoEditor = 64734;
constexpr int kNoSpreadsheet = 64737;

DatabaseEditorHooks realHooks()
{
    DatabaseEditorHooks hooks;
    hooks.findProgram = [](const std::string& program) {
        return QStandardPaths::findExecutable(QString::fromStdString(program)).toStdString();
    };
    hooks.startProgram = [](const std::string& program, const std::vector<std::string>& arguments) {
        QStringList list;
        for (const std::string& argument : arguments)
            list << QString::fromStdString(argument);
        return QProcess::startDetached(QString::fromStdString(program), list);
    };
    hooks.openWithDesktop = [](const std::string& file) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(file)));
    };
    return hooks;
}

void showCannotStart(const std::string& program, const std::string& parameter)
{
    services().messageBox->show(formatC(loadString(kCannotStart).c_str(), program.c_str(), parameter.c_str()),
        MessageIcon::Warning, MessageButtons::Ok);
}

} // namespace

DatabaseEditorHooks& databaseEditorHooks()
{
    static DatabaseEditorHooks hooks = realHooks();
    return hooks;
}

bool startDatabaseEditor(const std::string& workbook, const std::string& sheet)
{
    DatabaseEditorHooks& hooks = databaseEditorHooks();
    if (QFileInfo::exists(QString::fromStdString(workbook)) && !isDatabaseFile(workbook)) {
        if (hooks.openWithDesktop(workbook))
            return true;
        services().messageBox->show(formatC(loadString(kNoSpreadsheet).c_str(), workbook.c_str()),
            MessageIcon::Warning, MessageButtons::Ok);
        return false;
    }

    std::vector<std::string> arguments;
    std::string program;
    const QStringList configured = QProcess::splitCommand(
        QString::fromStdString(profileStore().getString("Settings", kDatabaseEditorSetting, {})));
    if (!configured.isEmpty()) {
        program = configured.front().toStdString();
        for (qsizetype i = 1; i < configured.size(); ++i)
            arguments.push_back(configured[i].toStdString());
    } else {
        program = hooks.findProgram(kDefaultDatabaseEditor);
        if (program.empty()) {
            messageBoxId(kNoEditor, MessageIcon::Warning);
            return false;
        }
    }
    // DB Browser for SQLite opens the named table when asked.
    if (!sheet.empty() && QFileInfo(QString::fromStdString(program)).baseName() == kDefaultDatabaseEditor) {
        arguments.push_back("-t");
        arguments.push_back(sheet);
    }
    arguments.push_back(workbook);
    if (hooks.startProgram(program, arguments))
        return true;
    std::string parameter;
    for (const std::string& argument : arguments)
        parameter += (parameter.empty() ? "\"" : " \"") + argument + "\"";
    showCannotStart(program, parameter);
    return false;
}

} // namespace kzev
