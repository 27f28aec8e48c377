// A named pipe where a reader of the program expects a file of its own
// format: every reader refuses it at once, saying the file cannot be opened,
// instead of waiting for a writer that never comes.

#include "support/FakeServices.h"
#include "support/PipeWatchdog.h"
#include "support/WorkbookFixture.h"

#include "cad/drawing/DrawingDxf.h"
#include "catalogue/EulumdatReader.h"
#include "catalogue/IesReader.h"
#include "catalogue/PhotometryError.h"
#include "platform/CData.h"
#include "platform/qt/SettingsProfileStore.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

/** Runs the read and returns what it says to the user, or why it failed. */
using Attempt = std::function<std::string(const std::string& path)>;

std::string photometryMessage(const std::function<void()>& read)
{
    try {
        read();
    } catch (const kzev::PhotometryError& error) {
        return error.reason();
    }
    return "read";
}

} // namespace

TEST(PipeInsteadOfFileTest, EveryReaderRefusesAPipeAtOnce)
{
    struct Case {
        const char* name;
        const char* file;
        Attempt attempt;
        const char* expected; // %s, where it stands, is the path
    };
    const Case cases[] = {
        { "workbook", "ZEV-0001.xls",
            [](const std::string& path) {
                CData data;
                return data.Open(path, "Excel 8.0", 0, 0) ? std::string("opened") : kzev::openFailureText(data, path);
            },
            "Soubor %s nelze otevřít: není to obyčejný soubor" },
        { "EULUMDAT file", "svitidlo.ldt",
            [](const std::string& path) {
                return photometryMessage([&] { (void)kzev::EulumdatReader::read(path); });
            },
            "Nelze otevřít soubor %s ! (existuje ?)" },
        { "IES file", "svitidlo.ies",
            [](const std::string& path) { return photometryMessage([&] { (void)kzev::IesReader::read(path); }); },
            "Nelze otevřít soubor %s ! (existuje ?)" },
        { "drawing", "vykres.dxf",
            [](const std::string& path) {
                std::string error;
                return kzev::readDrawingDxf(path, error) ? std::string("read") : error;
            },
            "Soubor %s nelze otevřít." },
        { "settings", "nastaveni.ini",
            [](const std::string& path) {
                return kzev::SettingsProfileStore::open(QString::fromStdString(path)) ? "opened" : "refused";
            },
            "refused" },
    };
    kzev::test::FakeServices services;
    const kzev::test::TempFolder folder;
    for (const Case& c : cases) {
        const std::string path = folder.file(c.file);
        kzev::test::makePipe(path);
        const kzev::test::PipeWatchdog watchdog({ path });

        const std::string said = c.attempt(path);

        EXPECT_FALSE(watchdog.fired()) << c.name << ": the reader waited on the pipe";
        std::string expected = c.expected;
        if (const std::size_t at = expected.find("%s"); at != std::string::npos)
            expected.replace(at, 2, path);
        EXPECT_EQ(said, expected) << c.name;
    }
}
