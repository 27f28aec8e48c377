// An older project imported through the File menu whose lamps are in no
// workbook of the data folder: the user hears of it once, after the import,
// and the plan is drawn without asking anything while it paints.

#include "support/gui/AnswerFileDialog.h"
#include "support/gui/ShippedDataProgram.h"
#include "support/gui/UserInput.h"

#include "../../import/ImportTestSupport.h"

#include "model/CKzevDoc.h"
#include "platform/StringTable.h"
#include "view/CKzevView.h"

#include <QApplication>
#include <QImage>
#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

/** The sample predecessor file with its luminaire codes turned to one the shipped makers' list knows. */
std::string olderProjectWithShippedLuminaire()
{
    std::string text = kzev::test::readFixture("predecessor.ink");
    // 11 is the first shipped maker's number there, 1101 its first luminaire; no shipped workbook has the lamps.
    for (std::size_t at = text.find("10010005"); at != std::string::npos; at = text.find("10010005", at))
        text.replace(at, 8, "111101");
    return text;
}

} // namespace

TEST(OlderProjectImportGui, ALampNotFoundIsToldOnceAndThePlanIsDrawn)
{
    kzev::test::ShippedDataProgram program;
    ASSERT_TRUE(program.start(1100, 800));
    CMainFrame& frame = program.frame();
    const std::string path = program.data().file("starsi-projekt.ink");
    std::ofstream(path, std::ios::binary) << olderProjectWithShippedLuminaire();

    bool answered = false;
    const auto answering = kzev::test::answerFileDialog(path, answered);
    kzev::test::clickMenuItem(frame, "&Import z Kzev 5.x");
    ASSERT_TRUE(answered);

    CKzevDoc& doc = *kzev::theDocument();
    ASSERT_EQ(doc.m_rooms.size(), 1u);
    ASSERT_EQ(doc.m_rooms[0].m_lampSystems.size(), 2u);
    for (const CLampSystem& system : doc.m_rooms[0].m_lampSystems) {
        EXPECT_EQ(system.m_luminaireDatabase, 1001);
        EXPECT_EQ(system.m_lampDatabase, 0) << "the lamp stays unassigned";
    }

    // The plan is painted several times, as a person resizes and looks; nothing asks meanwhile.
    CKzevView& view = *frame.kzevView();
    for (const int width : { 1100, 1000, 1100 }) {
        frame.resize(width, 800);
        QApplication::processEvents();
        view.repaint();
    }
    const QImage plan = view.grab().toImage();
    int drawn = 0;
    for (int y = 0; y < plan.height(); y += 2) {
        for (int x = 0; x < plan.width(); x += 2)
            drawn += plan.pixel(x, y) != plan.pixel(0, 0) ? 1 : 0;
    }
    EXPECT_GT(drawn, 1000) << "the room and its luminaires are drawn";

    const auto& shown = program.services().messageBox.shown;
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, kzev::loadString(61825));
    kzev::test::saveShot(frame, "older_project_lamp_not_found.png");
}
