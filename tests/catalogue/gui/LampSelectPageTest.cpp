// The selection page on its own over a copy of the shipped data: the photo of
// a luminaire from its maker's picture folder, the switch to the intensity
// diagram, and the search from the page's buttons.

#include "../JpegFixture.h"

#include "catalogue/ui/CLampSelectDialog.h"
#include "catalogue/ui/CPictureButton.h"
#include "catalogue/ui/CPictureDialog.h"
#include "grid/GridWidget.h"
#include "model/CKzevDoc.h"
#include "platform/AppFolders.h"
#include "platform/CData.h"
#include "platform/DataLocation.h"
#include "platform/ProfileStore.h"
#include "support/FakeServices.h"
#include "support/WorkbookFixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <filesystem>

namespace kzev::test {
namespace {

class LampSelectPage : public ::testing::Test {
protected:
    LampSelectPage()
    {
        for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(KZEV_SOURCE_DIR) / "data"))
            std::filesystem::copy_file(entry.path(), m_folder.path() / entry.path().filename());
        CData data;
        EXPECT_TRUE(data.Open(m_folder.file("ZEV-1001.xls"), "Excel 8.0", kOpenToWrite));
        EXPECT_TRUE(data.OpenTable("Luminaires$"));
        EXPECT_TRUE(data.SetStringValue("Picture", "panel.JPG", 1));
        data.Close();
        std::filesystem::create_directories(m_folder.path() / "pict" / "1001");
        writeJpeg(m_folder.file("pict/1001/panel.JPG"), 60, 30, 220, 30, 30, "panel");
        m_savedPictures = appFolders().PathPict;
        appFolders().PathPict = m_folder.file("pict") + "/";

        m_working.m_luminaireDatabase = 1001;
        m_working.m_luminaireRecord = 2;
        m_working.m_lampDatabase = 1001;
        m_working.m_lampRecord = 2;
        kzev::LampSheetContext context;
        context.doc = &m_doc;
        context.working = &m_working;
        m_page.setContext(context);
        m_page.FillGroupTrees();
        m_page.SetupGrids();
        m_page.resize(1000, 600);
        m_page.show();
        QApplication::processEvents();
    }
    ~LampSelectPage() override { appFolders().PathPict = m_savedPictures; }

    FakeServices m_services;
    TempFolder m_folder;
    ScopedDataLocation m_location { DataLocation { m_folder.path().string(), "ZEV-", "Excel 8.0" } };
    std::string m_savedPictures;
    CKzevDoc m_doc;
    CLampSystem m_working;
    CLampSelectDialog m_page;
};

TEST_F(LampSelectPage, PhotoFromTheMakersFolderAndTheDiagramByTheSwitch)
{
    m_doc.m_selectionPageSwitch = 0;
    m_page.OnSetActive();
    ASSERT_NE(m_page.shownLuminaire(), nullptr);
    EXPECT_EQ(m_page.picturePath(), m_folder.file("pict") + "/1001/panel.JPG");
    auto* enlarge = m_page.findChild<QPushButton*>(QString::number(CLampSelectDialog::kEnlargePictureId));
    ASSERT_NE(enlarge, nullptr);
    EXPECT_TRUE(enlarge->isEnabled());

    // A wide photo fills the width from the top-left corner: red at the top, the background below.
    const QImage photo = m_page.pictureButton()->grab().toImage();
    photo.save(QStringLiteral("lamp_select_photo.png"));
    const int w = photo.width();
    EXPECT_GT(photo.pixelColor(w / 2, 5).red(), 180);
    EXPECT_LT(photo.pixelColor(w / 2, 5).green(), 80);
    EXPECT_NE(photo.pixelColor(w / 2, photo.height() - 5), photo.pixelColor(w / 2, 5));

    CPictureDialog dialog(m_page.picturePath());
    EXPECT_TRUE(dialog.hasPicture());

    // The switch shows the intensity diagram, in which the photo's button has nothing to enlarge.
    auto* toggle = m_page.findChild<QPushButton*>(QString::number(CLampSelectDialog::kToggleCurveId));
    ASSERT_NE(toggle, nullptr);
    toggle->click();
    EXPECT_EQ(m_doc.m_selectionPageSwitch, 1);
    EXPECT_FALSE(enlarge->isEnabled());
    const QImage curve = m_page.pictureButton()->grab().toImage();
    EXPECT_GT(curve.pixelColor(w / 2, 5).green(), 150);
}

TEST_F(LampSelectPage, SearchButtonFindsTheNextLuminaireAndWrapsRound)
{
    m_page.OnSetActive();
    auto* filter = m_page.findChild<QLineEdit*>(QString::number(CLampSelectDialog::kFilterEditId));
    auto* search = m_page.findChild<QPushButton*>(QString::number(CLampSelectDialog::kSearchButtonId));
    ASSERT_NE(filter, nullptr);
    ASSERT_NE(search, nullptr);
    const auto shownRecord = [this] {
        const CGridCtrl& grid = m_page.luminaireGrid()->grid();
        const int row = grid.GetSelectedCellRange().minRow;
        return row >= 1 && row < grid.GetRowCount() ? grid.GetItemData(row, 0) : -1;
    };
    EXPECT_EQ(shownRecord(), 2);
    filter->setText(QStringLiteral("Batwing"));
    search->click();
    EXPECT_EQ(m_page.currentMaker(), 1002);
    EXPECT_EQ(shownRecord(), 2);
    EXPECT_EQ(m_page.luminaireTree()->selectedItems().front()->text(0).toStdString(), "Interiérová svítidla");
    filter->setText(QStringLiteral("sample_0"));
    search->click();
    EXPECT_EQ(m_page.currentMaker(), 1001);
    EXPECT_EQ(shownRecord(), 1);
    search->click();
    EXPECT_EQ(shownRecord(), 2);
    filter->setText(QStringLiteral("[žádné]"));
    search->click();
    ASSERT_EQ(m_services.messageBox.shown.size(), 1u);
    EXPECT_EQ(m_services.messageBox.shown[0].text, "Text <[žádné]> nenalezen !");
}

} // namespace
} // namespace kzev::test
