#pragma once

// The program started as a user starts it on the shipped data folder: a copy
// of data/ in a temporary folder that the settings name as the data folder
// (so the tests may import into its workbooks and rebuild its databases), the
// recording services in place, and the office sample opened in a shown frame.

#include "support/FakeServices.h"
#include "support/WorkbookFixture.h"

#include "app/CKzevApp.h"
#include "app/frame/CMainFrame.h"
#include "platform/ProfileStore.h"

#include <QApplication>

#include <filesystem>
#include <memory>

namespace kzev::test {

/** A copy of the shipped data folder, named by the settings as the data folder; removed when it goes. */
class ShippedDataCopy {
public:
    ShippedDataCopy()
    {
        namespace fs = std::filesystem;
        for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(KZEV_SOURCE_DIR) / "data"))
            fs::copy_file(entry.path(), m_folder.path() / entry.path().filename());
        auto profile = std::make_unique<MemoryProfileStore>();
        profile->setString("Main", "PathData", m_folder.path().string());
        installProfileStore(std::move(profile));
    }

    [[nodiscard]] const std::filesystem::path& path() const { return m_folder.path(); }
    [[nodiscard]] std::string file(const std::string& name) const { return m_folder.file(name); }

private:
    TempFolder m_folder;
};

/** The program on a copy of the shipped data folder; start() opens the office sample. */
class ShippedDataProgram {
public:
    /** Opens the copy's office sample and shows the frame at the size; false when the program does not start. */
    [[nodiscard]] bool start(int width, int height)
    {
        if (!m_app.InitInstance(
                { "--nologo", QString::fromStdString((m_data.path() / "Vzor-kancelar.kzv").string()) }, false))
            return false;
        frame().resize(width, height);
        frame().show();
        QApplication::processEvents();
        return true;
    }

    [[nodiscard]] const ShippedDataCopy& data() const { return m_data; }
    [[nodiscard]] FakeServices& services() { return m_services; }
    [[nodiscard]] CMainFrame& frame() { return *m_app.frame(); }

private:
    ShippedDataCopy m_data;
    FakeServices m_services;
    CKzevApp m_app;
};

} // namespace kzev::test
