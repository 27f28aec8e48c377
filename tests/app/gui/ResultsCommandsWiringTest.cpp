// The frame's layout optimisation, lamp-count design table and results-table
// commands reach the selected room and the clipboard.

#include "support/FakeServices.h"
#include "support/gui/WhenShown.h"
#include "support/gui/UserInput.h"

#include "app/CKzevApp.h"
#include "app/frame/CMainFrame.h"
#include "calc/ResultsTable.h"
#include "dialogs/CLampCountVariantsDialog.h"
#include "grid/GridWidget.h"
#include "model/CKzevDoc.h"
#include "platform/Archive.h"
#include "platform/Clipboard.h"
#include "platform/ProfileStore.h"

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace {

class RecordingClipboard final : public kzev::IClipboard {
public:
    bool setText(const std::string& text) override
    {
        texts.push_back(text);
        return true;
    }
    std::vector<std::string> texts;
};

std::vector<std::uint8_t> recordOf(CLampSystem system)
{
    kzev::Archive ar = kzev::Archive::forStoring();
    system.Serialize(ar);
    return ar.bytes();
}

class ResultsCommandsWiring : public ::testing::Test {
protected:
    void SetUp() override
    {
        kzev::installProfileStore(std::make_unique<kzev::MemoryProfileStore>());
        const std::filesystem::path office = std::filesystem::path(KZEV_SOURCE_DIR) / "data" / "Vzor-kancelar.kzv";
        ASSERT_TRUE(m_app.InitInstance({ "--nologo", QString::fromStdString(office.string()) }, false));
        m_scope = std::make_unique<kzev::ScopedServices>(
            kzev::Services { &m_log, nullptr, &m_messages, nullptr, &m_view, nullptr });
        m_view.selected = 0;
    }

    bool enabled(int id)
    {
        m_app.frame()->updateCommandUi(id);
        return m_app.frame()->commandAction(id)->isEnabled();
    }

    CRoom& room() { return kzev::theDocument()->m_rooms.at(0); }

    kzev::test::FakeServices m_services;
    CKzevApp m_app;
    kzev::test::RecordingLog m_log;
    kzev::test::ScriptedMessageBox m_messages;
    kzev::test::RecordingView m_view;
    std::unique_ptr<kzev::ScopedServices> m_scope;
};

TEST_F(ResultsCommandsWiring, CopyResultsTablePutsTheSelectedAreaOnTheClipboard)
{
    RecordingClipboard clipboard;
    kzev::ScopedClipboard clipboardScope(clipboard);
    CWorkSystem& area = room().m_workSystems.at(0);
    area.m_points.at(0).value(CPointCalc::kHorizontal) = 512.34;

    room().m_resultsValid = 0;
    m_view.selectedArea = std::make_pair(0, 0);
    EXPECT_FALSE(enabled(32898)) << "results not current";
    room().m_resultsValid = 1;
    m_view.selectedArea.reset();
    EXPECT_FALSE(enabled(32898)) << "a room, not an area, is selected";
    m_view.selectedArea = std::make_pair(0, 0);
    ASSERT_TRUE(enabled(32898));

    ASSERT_TRUE(m_app.frame()->sendCommand(32898));
    ASSERT_EQ(clipboard.texts.size(), 1u);
    EXPECT_EQ(clipboard.texts[0], kzev::resultsTableText(area));
}

TEST_F(ResultsCommandsWiring, DesignTableShowsItsGridAndLeavesTheRoom)
{
    CLampSystem& system = room().m_lampSystems.at(0);
    system.m_numberOfLuminaires = 2;
    const std::vector<std::uint8_t> before = recordOf(system);
    ASSERT_TRUE(enabled(32891));

    int rows = -1;
    std::string heading;
    bool okIgnored = false;
    bool closedByDoubleClick = false;
    const kzev::test::WhenShown<CLampCountVariantsDialog> variants([&](CLampCountVariantsDialog& shown) {
        auto* dialog = &shown;
        rows = dialog->gridWidget().grid().GetRowCount();
        heading = dialog->gridWidget().grid().GetItemText(0, 4);
        kzev::test::saveShot(*dialog, "lamp_count_variants.png");
        // OK without a chosen row does nothing; a double click on a row ends the dialog.
        dialog->okButton()->click();
        okIgnored = dialog->isVisible();
        kzev::GridRect cell;
        dialog->gridWidget().grid().GetCellRect(1, 1, cell);
        const QPoint at((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
        QWidget* viewport = dialog->gridWidget().viewport();
        for (QEvent::Type type : { QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                 QEvent::MouseButtonRelease }) {
            QMouseEvent event(type, at, viewport->mapToGlobal(at), Qt::LeftButton,
                type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(viewport, &event);
        }
        closedByDoubleClick = !dialog->isVisible();
        if (dialog->isVisible())
            dialog->reject();
    });
    ASSERT_TRUE(m_app.frame()->sendCommand(32891));
    EXPECT_EQ(rows, 1 + 4); // N1 = 1, 2, each at 0 and 90 degrees
    EXPECT_EQ(heading, "Osvětlenost");
    EXPECT_TRUE(okIgnored);
    EXPECT_TRUE(closedByDoubleClick);
    EXPECT_EQ(recordOf(room().m_lampSystems.at(0)), before);
}

TEST_F(ResultsCommandsWiring, LayoutOptimisationAsksAndNoKeepsTheSystem)
{
    kzev::theDocument()->m_dimIncrement = 2.0;
    const std::vector<std::uint8_t> before = recordOf(room().m_lampSystems.at(0));
    m_messages.answers = { kzev::MessageAnswer::No };
    ASSERT_TRUE(enabled(32886));
    ASSERT_TRUE(m_app.frame()->sendCommand(32886));
    ASSERT_FALSE(m_messages.shown.empty());
    EXPECT_EQ(m_messages.shown.back().buttons, kzev::MessageButtons::YesNo);
    EXPECT_EQ(recordOf(room().m_lampSystems.at(0)), before);
    EXPECT_EQ(kzev::theDocument()->m_calcRunning, 0);
    m_view.selected.reset();
    EXPECT_FALSE(enabled(32886));
}

} // namespace
