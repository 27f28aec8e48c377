// An older project imported through the File menu whose lamps are in no
// workbook of the data folder: the user hears of it once, after the import,
// and the plan is drawn without asking anything while it paints. One whose
// maker the makers' list does not know is told so once, by the maker's code.

#include "support/gui/AnswerFileDialog.h"
#include "support/gui/ShippedDataProgram.h"
#include "support/gui/UserInput.h"

#include "../../import/ImportTestSupport.h"

#include "support/gui/WhenShown.h"

#include "app/bars/CInfoBar.h"
#include "model/CKzevDoc.h"
#include "platform/DataLocation.h"
#include "platform/StringTable.h"
#include "platform/qt/QtMessageBox.h"
#include "view/CKzevView.h"

#include <QApplication>
#include <QImage>
#include <QMessageBox>
#include <QTest>
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

TEST(OlderProjectImportGui, AMakerCodeTheMakersListLacksIsToldOnceByItsCode)
{
    kzev::test::ShippedDataProgram program;
    ASSERT_TRUE(program.start(1100, 800));
    CMainFrame& frame = program.frame();
    // The fixture's luminaires are of maker 1001, which the shipped makers' list does not hold.
    const std::string path = program.data().file("starsi-projekt.ink");
    std::ofstream(path, std::ios::binary) << kzev::test::readFixture("predecessor.ink");

    kzev::QtMessageBox shownBox(&frame);
    const kzev::ScopedServices scope(kzev::Services { nullptr, nullptr, &shownBox, nullptr, nullptr, nullptr });
    std::vector<std::string> reported;
    const kzev::test::WhenShown<QMessageBox> report([&](QMessageBox& box) {
        reported.push_back(box.text().toStdString());
        kzev::test::saveShot(box, "older_project_unknown_maker.png");
        QTest::mouseClick(box.button(QMessageBox::Ok), Qt::LeftButton);
    });
    bool answered = false;
    const auto answering = kzev::test::answerFileDialog(path, answered);
    kzev::test::clickMenuItem(frame, "&Import z Kzev 5.x");
    ASSERT_TRUE(answered);
    for (int k = 0; k < 100 && reported.empty(); ++k)
        QTest::qWait(10);
    QTest::qWait(50);

    CKzevDoc& doc = *kzev::theDocument();
    ASSERT_EQ(doc.m_rooms.size(), 1u);
    ASSERT_EQ(doc.m_rooms[0].m_lampSystems.size(), 2u);
    for (const CLampSystem& system : doc.m_rooms[0].m_lampSystems)
        EXPECT_EQ(system.m_luminaireDatabase, 0) << "the luminaire stays unassigned until one is chosen";
    const std::string makers = kzev::dataFolderWithPrefix() + "VYROBCI.xls";
    ASSERT_EQ(reported.size(), 1u) << "told once, not also as a luminaire not chosen";
    EXPECT_EQ(reported[0], "V seznamu výrobců " + makers
            + " chybí kód výrobce 1001. Soustavy svítidel " + doc.m_rooms[0].m_lampSystems[0].m_name + ", "
            + doc.m_rooms[0].m_lampSystems[1].m_name + " zůstanou bez svítidla, dokud jim svítidlo nevyberete.");
    // The lamp workbooks the shipped folder never held are not spoken of in the log.
    const std::string log = frame.infoBar()->LogText();
    EXPECT_NE(log.find("Nenalezeno [DBF] = 1001 v " + makers), std::string::npos) << log;
    EXPECT_EQ(log.find("Sešit"), std::string::npos) << log;
}
