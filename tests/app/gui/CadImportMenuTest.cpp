// "Import svítidel z AutoCADu" reached as a user reaches it: enabled once the
// drawing window is found, it reads the office's luminaire blocks back into
// the selected room and tells what it read and what it passed over.

#include "OfficeFrameTest.h"

#include "app/frame/CCadImportReportDialog.h"
#include "model/CadKind.h"
#include "platform/CadLink.h"
#include "support/DrawingProgram.h"
#include "support/RecordingCad.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <cmath>
#include <numbers>

namespace kzev::test {
namespace {

const QString kImportItem = QString::fromUtf8("Import svítidel z AutoCADu");

class CadImportMenuTest : public OfficeFrameTest {
protected:
    RecordingCad m_desktop;
    DrawingProgram m_program;
};

TEST_F(CadImportMenuTest, ImportsTheDrawingsBlocksIntoTheSelectedRoom)
{
    {
        ScopedCadLink none(CadLink { &m_desktop, &m_program });
        EXPECT_FALSE(menuItemEnabled(frame(), kImportItem));
    }
    // The office's luminaires as blocks in the drawing, and one block of a maker the data folder lacks.
    const CRoom office = room();
    std::size_t luminaires = 0;
    for (const CLampSystem& system : office.m_lampSystems)
        for (const COneLampSystem& one : system.m_luminaires) {
            const CVector at = 1000.0 * (one.m_position + office.m_origin);
            addLuminaireBlock(m_program, at.x, at.y, at.z, std::atan2(one.m_c0Axis.y, one.m_c0Axis.x) - std::numbers::pi / 2,
                luminaireData(system.m_luminaireDatabase, system.m_luminaireRecord, system.m_lampDatabase,
                    system.m_lampRecord));
            ++luminaires;
        }
    addLuminaireBlock(m_program, 1000.0 * office.m_origin.x + 500.0, 1000.0 * office.m_origin.y + 500.0, 2800.0, 0.0,
        luminaireData(9999, 1, 0, 0));
    room().m_lampSystems.clear();

    m_desktop.addTopWindow("Výkres - Kancelář");
    ScopedCadLink link(CadLink { &m_desktop, &m_program });
    select(tree().roomItem(0));
    ASSERT_TRUE(menuItemEnabled(frame(), kImportItem));

    int rows = -1;
    std::string skipped;
    auto* poll = new QTimer(&frame());
    poll->setInterval(50);
    QObject::connect(poll, &QTimer::timeout, poll, [&, poll] {
        auto* dialog = qobject_cast<CCadImportReportDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        poll->stop();
        saveShot(*dialog, "cad_import_report.png");
        rows = dialog->findChild<QTreeWidget*>("importedSystems")->topLevelItemCount();
        skipped = dialog->findChild<QLabel*>("skippedBlocks")->text().toStdString();
        for (QPushButton* button : dialog->findChildren<QPushButton*>())
            if (button->text() == "OK" || button->text() == "&OK")
                clickButton(button);
    });
    poll->start();
    clickMenuItem(frame(), kImportItem);
    QApplication::processEvents();

    EXPECT_EQ(doc().m_cadKind, CadKindDrawing);
    EXPECT_EQ(rows, static_cast<int>(office.m_lampSystems.size()));
    EXPECT_NE(skipped.find("9999"), std::string::npos) << skipped;
    ASSERT_EQ(room().m_lampSystems.size(), office.m_lampSystems.size());
    std::size_t imported = 0;
    for (const CLampSystem& system : room().m_lampSystems)
        imported += system.m_luminaires.size();
    EXPECT_EQ(imported, luminaires);
    EXPECT_TRUE(doc().IsModified());
    EXPECT_TRUE(m_messages.shown.empty());
    EXPECT_EQ(tree().folderItem(0, TreeItemKind::LampFolder)->childCount(),
        static_cast<int>(office.m_lampSystems.size()));
}

} // namespace
} // namespace kzev::test
