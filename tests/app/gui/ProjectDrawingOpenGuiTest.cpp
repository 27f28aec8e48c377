// "Otevřít" in the project's properties with no drawing window open: the
// drawing window, the CAD program of this system, opens with the drawing the
// project names, whichever of the two object models is tried first.

#include "app/gui/OfficeFrameTest.h"

#include "cad/drawing/CadDrawing.h"
#include "cad/drawing/DrawingDxf.h"
#include "cad/ui/DrawingCadLink.h"
#include "cad/ui/DrawingWindow.h"
#include "dialogs/project/CProjectDialog.h"
#include "model/CKzevDoc.h"
#include "platform/CadLink.h"
#include "platform/qt/QtMessageBox.h"

#include "support/WorkbookFixture.h"
#include "support/gui/WhenShown.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <fstream>

namespace kzev::test {
namespace {

class ProjectDrawingOpenGui : public OfficeFrameTest {
protected:
    void SetUp() override
    {
        OfficeFrameTest::SetUp();
        closeDrawingWindow();
        // Nothing detected yet in this run: the id of the AutoCAD-type model is still its first one.
        acadProgramId() = "BricscadApp.AcadApplication";
        icadProgramId() = "Icad.Application";
        CadDrawing drawing;
        DrawingEntity wall;
        wall.points = { { 0.0, 0.0, 0.0 }, { 8000.0, 0.0, 0.0 } };
        drawing.add(wall);
        DrawingEntity side;
        side.points = { { 8000.0, 0.0, 0.0 }, { 8000.0, 6000.0, 0.0 } };
        drawing.add(side);
        m_drawing = m_folder.path() / "Kancelář 1.01.dxf";
        ASSERT_TRUE(writeDrawingDxf(drawing, m_drawing));
    }
    void TearDown() override { closeDrawingWindow(); }

    static void closeDrawingWindow()
    {
        if (DrawingWindow* open = DrawingWindow::instance(false)) {
            open->drawing().modified = false;
            open->close();
            QApplication::processEvents();
        }
    }

    /** Names the drawing in "Vlastnosti projektu", presses "Otevřít" and leaves the dialog with Esc. */
    void openNamedDrawing(const std::string& named)
    {
        select(tree().roomItem(0));
        const WhenShown<CProjectDialog> deed([&](CProjectDialog& dialog) {
            typeInto(dialog.edit(1008), QString::fromStdString(named));
            clickButton(dialog.button(1220)); // "Otevřít"
            QApplication::processEvents();
            QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        clickMenuItem(frame(), "&Vlastnosti projektu");
        ASSERT_TRUE(deed.done());
    }

    // The program's own CAD link, as it installs it at start-up.
    DrawingDesktop m_desktop;
    DrawingAutomationRegistry m_automation;
    ScopedCadLink m_link { { &m_desktop, &m_automation } };
    TempFolder m_folder;
    std::filesystem::path m_drawing;
};

TEST_F(ProjectDrawingOpenGui, OtevritOpensTheDrawingWindowWithTheProjectsDrawing)
{
    for (const bool preferAutocad : { false, true }) {
        SCOPED_TRACE(preferAutocad ? "Preferovat AutoCAD" : "IntelliCAD first");
        closeDrawingWindow();
        ASSERT_EQ(DrawingWindow::instance(false), nullptr);
        m_messages.shown.clear();
        select(tree().roomItem(0));

        bool openedWhileAsked = false;
        const WhenShown<CProjectDialog> deed([&](CProjectDialog& dialog) {
            auto* prefer = dialog.findChild<QCheckBox*>(QStringLiteral("1222"));
            ASSERT_NE(prefer, nullptr);
            if (prefer->isChecked() != preferAutocad)
                clickBox(prefer);
            typeInto(dialog.edit(1008), QString::fromStdString(m_drawing.string()));
            clickButton(dialog.button(1220)); // "Otevřít"
            QApplication::processEvents();
            openedWhileAsked = DrawingWindow::instance(false) != nullptr;
            if (!preferAutocad)
                saveShot(dialog, "project-properties-drawing.png");
            QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        clickMenuItem(frame(), "&Vlastnosti projektu");
        ASSERT_TRUE(deed.done());

        EXPECT_TRUE(m_messages.shown.empty()) << m_messages.shown.front().text;
        EXPECT_TRUE(openedWhileAsked);
        DrawingWindow* window = DrawingWindow::instance(false);
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->drawing().fileName, m_drawing.string());
        EXPECT_EQ(window->drawing().entities().size(), 2u);
        EXPECT_TRUE(window->windowTitle().contains(QStringLiteral("Kancelář 1.01.dxf")))
            << window->windowTitle().toStdString();
        // Once open, the CAD detection finds it as the CAD program.
        EXPECT_EQ(doc().DetectCadApplication(), 1);
        if (!preferAutocad) {
            QApplication::processEvents();
            saveShot(*window, "drawing-window-opened-from-project.png");
        }
    }
}

TEST_F(ProjectDrawingOpenGui, AMissingDrawingIsSaidOnceNotForEachModel)
{
    const std::string missing = (m_folder.path() / "Není.dxf").string();
    openNamedDrawing(missing);

    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_EQ(m_messages.shown[0].text, "Soubor výkresu " + missing + " neexistuje.");
    EXPECT_EQ(DrawingWindow::instance(false), nullptr) << "no empty drawing window";
}

TEST_F(ProjectDrawingOpenGui, ADrawingThatCannotBeReadIsSaidWithItsReason)
{
    const std::filesystem::path folder = m_folder.path() / "Výkresy";
    std::filesystem::create_directories(folder);
    struct Case {
        std::filesystem::path named;
        std::string message;
    };
    const Case cases[] = {
        { folder, folder.string() + " není soubor výkresu, ale složka nebo jiný objekt." },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.named.string());
        closeDrawingWindow();
        m_messages.shown.clear();
        openNamedDrawing(c.named.string());
        ASSERT_EQ(m_messages.shown.size(), 1u);
        EXPECT_EQ(m_messages.shown[0].text, c.message);
        EXPECT_EQ(DrawingWindow::instance(false), nullptr) << "no empty drawing window";
    }
}

TEST_F(ProjectDrawingOpenGui, AFileThatIsNoDxfDrawingIsSaidWithItsReasonAndLeavesNoEmptyWindow)
{
    const std::filesystem::path notes = m_folder.path() / "Poznámky k osvětlení.dxf";
    std::ofstream(notes, std::ios::binary) << "Zápis z porady\nSvítidla v kanceláři 1.01 vyměnit za LED.\n";
    QtMessageBox shownBox;
    const ScopedServices scope(Services { nullptr, nullptr, &shownBox, nullptr, nullptr, nullptr });
    std::vector<std::string> said;
    bool drawingWindowBehind = false;
    const WhenShown<QMessageBox> message([&](QMessageBox& box) {
        said.push_back(box.text().toStdString());
        drawingWindowBehind = DrawingWindow::instance(false) != nullptr;
        saveShot(box, "project-drawing-not-dxf.png");
        QTest::mouseClick(box.button(QMessageBox::Ok), Qt::LeftButton);
    });
    openNamedDrawing(notes.string());

    ASSERT_EQ(said.size(), 1u) << "said once, for both object models";
    EXPECT_EQ(said[0],
        "Výkres se v grafickém editoru nepodařilo otevřít.\nSoubor " + notes.string()
            + " není čitelný výkres DXF: nenašel se v něm žádný oddíl výkresu DXF. Jde nejspíš o jiný druh souboru, "
              "nebo je soubor poškozený.");
    EXPECT_FALSE(drawingWindowBehind) << "the drawing window started for the file is not left empty behind the message";
    EXPECT_EQ(DrawingWindow::instance(false), nullptr) << "no empty drawing window";
}

TEST_F(ProjectDrawingOpenGui, NoDrawingNamedIsSaidAndOpensNothing)
{
    for (const QString& field : { QString(), QStringLiteral("   ") }) {
        SCOPED_TRACE("field \"" + field.toStdString() + "\"");
        closeDrawingWindow();
        m_messages.shown.clear();
        select(tree().roomItem(0));
        const WhenShown<CProjectDialog> deed([&](CProjectDialog& dialog) {
            QLineEdit* drawing = dialog.edit(1008);
            typeInto(drawing, field);
            QTest::keyClick(drawing, Qt::Key_Delete);
            EXPECT_EQ(drawing->text(), field);
            clickButton(dialog.button(1220)); // "Otevřít"
            QApplication::processEvents();
            QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        clickMenuItem(frame(), "&Vlastnosti projektu");
        ASSERT_TRUE(deed.done());

        ASSERT_EQ(m_messages.shown.size(), 1u);
        EXPECT_EQ(m_messages.shown[0].text,
            "Není zadán žádný soubor výkresu: vyplňte pole „Dwg soubor“ nebo ho vyberte tlačítkem „...“.");
        EXPECT_EQ(DrawingWindow::instance(false), nullptr) << "no empty drawing window";
    }
}

} // namespace
} // namespace kzev::test
