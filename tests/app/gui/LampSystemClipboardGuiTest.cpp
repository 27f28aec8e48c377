// "Kopírovat soustavu" and "Vložit soustavu" from the Edit menu on the office
// sample with a second room: an object copied in one room is pasted into the
// other, a non-regular lamp system also lands on the system clipboard as a
// table, and a damaged clipboard file is refused with a message.

#include "support/FakeServices.h"
#include "support/PipeWatchdog.h"
#include "support/RoadTableFiles.h"
#include "support/gui/UserInput.h"

#include "app/CKzevApp.h"
#include "app/frame/CMainFrame.h"
#include "app/tree/CProjectTree.h"
#include "app/tree/CWorkspaceBar.h"
#include "model/CKzevDoc.h"
#include "model/ObjectClipboard.h"
#include "platform/ProfileStore.h"
#include "platform/qt/QtClipboard.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

using kzev::TreeItemKind;
using kzev::test::clickMenuItem;
using kzev::test::menuItemEnabled;
using kzev::test::saveShot;

namespace {

class LampSystemClipboardGui : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The clipboard file goes into this test's own runtime folder; the shared temporary folder is its own too.
        std::filesystem::create_directory(runtimeFolder());
        std::filesystem::permissions(runtimeFolder(), std::filesystem::perms::owner_all,
            std::filesystem::perm_options::replace);
        std::filesystem::create_directory(sharedFolder());
        for (const auto& [name, value] : { std::pair("XDG_RUNTIME_DIR", runtimeFolder()), std::pair("TMPDIR", sharedFolder()) }) {
            const char* before = std::getenv(name);
            m_variablesBefore.emplace_back(name, before ? std::optional<std::string>(before) : std::nullopt);
            setenv(name, value.c_str(), 1);
        }
        auto settings = std::make_unique<kzev::MemoryProfileStore>();
        settings->setInt("Main", "ViewProjectDialog", 0);
        kzev::installProfileStore(std::move(settings));
        beforeStart();
        const std::filesystem::path office = m_folder.path() / "kancelar.kzv";
        std::filesystem::copy_file(std::filesystem::path(KZEV_SOURCE_DIR) / "data" / "Vzor-kancelar.kzv", office);
        ASSERT_TRUE(m_app.InitInstance({ "--nologo", QString::fromStdString(office.string()) }, false));
        doc().m_rooms.emplace_back();
        doc().m_rooms.back().m_name = "Chodba";
        frame().workspace()->FillProjectTree();
        frame().resize(1100, 800);
        frame().show();
        QApplication::processEvents();
        doc().SetModifiedFlag(false);
        QGuiApplication::clipboard()->setText(QStringLiteral("před kopírováním"));
    }

    void TearDown() override
    {
        for (const auto& [name, before] : m_variablesBefore) {
            if (before)
                setenv(name, before->c_str(), 1);
            else
                unsetenv(name);
        }
    }

    /** What another user, or another program, leaves in the folders before the program starts. */
    virtual void beforeStart() { }

    std::filesystem::path runtimeFolder() const { return m_folder.path() / "run"; }
    std::filesystem::path sharedFolder() const { return m_folder.path() / "tmp"; }
    std::filesystem::path clipboardFile() const { return runtimeFolder() / "ZEV-Clipboard.kzv"; }
    /** The name the clipboard file once had in the temporary folder shared by all users. */
    std::filesystem::path oldSharedFile() const { return sharedFolder() / "ZEV-Clipboard.kzv"; }

    CMainFrame& frame() { return *m_app.frame(); }
    CProjectTree& tree() { return *frame().projectTree(); }
    CKzevDoc& doc() { return *kzev::theDocument(); }
    CRoom& room(std::size_t i) { return doc().m_rooms.at(i); }

    /** Clicks the item in the tree, as the user selects it. */
    void select(QTreeWidgetItem* item)
    {
        ASSERT_NE(item, nullptr);
        tree().scrollToItem(item);
        QTest::mouseClick(tree().viewport(), Qt::LeftButton, {}, tree().visualItemRect(item).center());
        ASSERT_EQ(tree().currentItem(), item);
    }

    QTreeWidgetItem* folder(int roomIndex, TreeItemKind kind) { return tree().folderItem(roomIndex, kind); }

    kzev::test::FakeServices m_services;
    kzev::QtClipboard m_clipboard;
    kzev::ScopedClipboard m_clipboardScope { m_clipboard };
    kzev::test::TempFolder m_folder;
    std::vector<std::pair<const char*, std::optional<std::string>>> m_variablesBefore;
    CKzevApp m_app;
};

TEST_F(LampSystemClipboardGui, LampSystemCopiedInOneRoomIsPastedIntoTheOther)
{
    const CLampSystem source = room(0).m_lampSystems.at(0);
    ASSERT_EQ(source.m_nonRegular, 0);
    select(folder(0, TreeItemKind::LampFolder)->child(0));
    clickMenuItem(frame(), "Kopírovat soustavu");

    EXPECT_TRUE(std::filesystem::is_regular_file(clipboardFile()));
    EXPECT_FALSE(std::filesystem::exists(oldSharedFile()));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("před kopírováním"))
        << "a regular system leaves the system clipboard alone";
    EXPECT_FALSE(doc().IsModified());

    // Onto the folder itself, as onto one of its items; not onto the task areas.
    select(folder(1, TreeItemKind::AreaFolder));
    EXPECT_FALSE(menuItemEnabled(frame(), "Vložit soustavu"));
    select(folder(1, TreeItemKind::LampFolder));
    const std::size_t before = room(1).m_lampSystems.size();
    clickMenuItem(frame(), "Vložit soustavu");

    ASSERT_EQ(room(1).m_lampSystems.size(), before + 1);
    const CLampSystem& pasted = room(1).m_lampSystems.back();
    EXPECT_EQ(pasted.m_name, source.m_name);
    EXPECT_EQ(pasted.m_luminaires.size(), source.m_luminaires.size());
    EXPECT_EQ(pasted.m_luminaireIndex, source.m_luminaireIndex) << "the same loaded luminaire";
    EXPECT_EQ(folder(1, TreeItemKind::LampFolder)->childCount(), static_cast<int>(before + 1));
    EXPECT_EQ(folder(1, TreeItemKind::LampFolder)->checkState(0), Qt::Checked);
    EXPECT_TRUE(doc().IsModified());
    EXPECT_TRUE(m_services.messageBox.shown.empty());
}

TEST_F(LampSystemClipboardGui, PastedIntoAnotherProjectItPointsAtItsOwnLuminaireThere)
{
    const CLampSystem source = room(0).m_lampSystems.at(0);
    select(folder(0, TreeItemKind::LampFolder)->child(0));
    clickMenuItem(frame(), "Kopírovat soustavu");

    // The hall sample, opened afterwards, uses other luminaires.
    const std::filesystem::path hall = std::filesystem::path(KZEV_SOURCE_DIR) / "data" / "Vzor-hala.kzv";
    ASSERT_TRUE(frame().document().openDocument(hall.string()));
    const auto uses = [&](const CLuminaire& luminaire) {
        return luminaire.m_databaseNumber == source.m_luminaireDatabase
            && luminaire.m_recordNumber == source.m_luminaireRecord;
    };
    for (const CRoom& each : doc().m_rooms) {
        for (const CLampSystem& system : each.m_lampSystems)
            ASSERT_FALSE(system.m_luminaireDatabase == source.m_luminaireDatabase
                && system.m_luminaireRecord == source.m_luminaireRecord) << "the hall must not use the office's luminaire";
    }

    select(folder(0, TreeItemKind::LampFolder));
    clickMenuItem(frame(), "Vložit soustavu");

    const CLampSystem& pasted = room(0).m_lampSystems.back();
    EXPECT_EQ(pasted.m_name, source.m_name);
    ASSERT_GE(pasted.m_luminaireIndex, 0);
    ASSERT_LT(static_cast<std::size_t>(pasted.m_luminaireIndex), doc().m_luminaires.size());
    EXPECT_TRUE(uses(doc().m_luminaires[static_cast<std::size_t>(pasted.m_luminaireIndex)]));
    EXPECT_GE(pasted.m_lampIndex, 0);
    EXPECT_TRUE(m_services.messageBox.shown.empty());
}

TEST_F(LampSystemClipboardGui, NonRegularSystemAlsoGoesOnTheSystemClipboardAsATable)
{
    room(0).m_lampSystems.at(0).m_nonRegular = 1;
    select(folder(0, TreeItemKind::LampFolder)->child(0));
    clickMenuItem(frame(), "Kopírovat soustavu");

    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->text().startsWith(QStringLiteral("Soustava\tSvítidlo\tX\tY\tZ\tNaklonění")));
    EXPECT_EQ(data->text().count(QLatin1Char('\n')), static_cast<int>(room(0).m_lampSystems[0].m_luminaires.size()) + 1);
    const QByteArray payload = data->data(QString::fromLatin1(kzev::kClipboardObjectFormat));
    EXPECT_EQ(kzev::clipboardKind(std::span(reinterpret_cast<const std::uint8_t*>(payload.data()),
                  static_cast<std::size_t>(payload.size()))),
        kzev::ClipboardKind::LampSystem);
}

TEST_F(LampSystemClipboardGui, TaskAreaPastedIntoAnotherRoomKeepsItsPoints)
{
    const CWorkSystem& area = room(0).m_workSystems.at(0);
    select(folder(0, TreeItemKind::AreaFolder)->child(0));
    clickMenuItem(frame(), "Kopírovat soustavu");
    select(folder(1, TreeItemKind::AreaFolder)->child(0));
    clickMenuItem(frame(), "Vložit soustavu");

    ASSERT_EQ(room(1).m_workSystems.size(), 2u);
    EXPECT_EQ(room(1).m_workSystems[1].m_name, area.m_name);
    EXPECT_EQ(room(1).m_workSystems[1].m_points.size(), area.m_points.size());
    EXPECT_EQ(folder(1, TreeItemKind::AreaFolder)->childCount(), 2);
}

TEST_F(LampSystemClipboardGui, DamagedClipboardFileIsRefusedAndNothingChanges)
{
    select(folder(0, TreeItemKind::LampFolder)->child(0));
    clickMenuItem(frame(), "Kopírovat soustavu");
    // Another program, or a broken disk, leaves something else in the file.
    const std::filesystem::path file = clipboardFile();
    std::vector<char> bytes(std::filesystem::file_size(file));
    std::ifstream(file, std::ios::binary).read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(bytes.size() / 2);
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));

    select(folder(1, TreeItemKind::LampFolder));
    const std::size_t before = room(1).m_lampSystems.size();
    clickMenuItem(frame(), "Vložit soustavu");

    ASSERT_EQ(m_services.messageBox.shown.size(), 1u);
    EXPECT_NE(m_services.messageBox.shown[0].text.find("poškozený"), std::string::npos);
    EXPECT_EQ(room(1).m_lampSystems.size(), before);
    EXPECT_EQ(folder(1, TreeItemKind::LampFolder)->childCount(), static_cast<int>(before));
    EXPECT_FALSE(doc().IsModified());

    // A file of text is not ours at all.
    std::ofstream(file, std::ios::binary | std::ios::trunc) << "X\tY\tZ\n1,5\t2,0\t3,0\n";
    clickMenuItem(frame(), "Vložit soustavu");
    ASSERT_EQ(m_services.messageBox.shown.size(), 2u);
    EXPECT_NE(m_services.messageBox.shown[1].text.find("neobsahuje"), std::string::npos);
    EXPECT_EQ(room(1).m_lampSystems.size(), before);
}

/** Started with named pipes at the clipboard file's name and at its old name in the shared temporary folder. */
class ClipboardPipeGui : public LampSystemClipboardGui {
protected:
    void beforeStart() override
    {
        kzev::test::makePipe(clipboardFile());
        kzev::test::makePipe(oldSharedFile());
        m_watchdog.emplace(std::vector { clipboardFile(), oldSharedFile() });
    }
    std::optional<kzev::test::PipeWatchdog> m_watchdog;
};

TEST_F(ClipboardPipeGui, ProgramStartsAndCopiesWithoutWaitingOnThePipes)
{
    ASSERT_TRUE(frame().isVisible());
    select(folder(1, TreeItemKind::LampFolder));
    EXPECT_FALSE(menuItemEnabled(frame(), "Vložit soustavu")) << "a pipe holds no copied object";
    saveShot(frame(), "clipboard-pipe-at-start.png");

    select(folder(0, TreeItemKind::LampFolder)->child(0));
    clickMenuItem(frame(), "Kopírovat soustavu");
    select(folder(1, TreeItemKind::LampFolder));
    const std::size_t before = room(1).m_lampSystems.size();
    clickMenuItem(frame(), "Vložit soustavu");

    EXPECT_EQ(room(1).m_lampSystems.size(), before + 1);
    EXPECT_TRUE(std::filesystem::is_regular_file(clipboardFile())) << "the copy replaced the pipe";
    EXPECT_TRUE(std::filesystem::is_fifo(oldSharedFile())) << "the old name is left alone";
    EXPECT_TRUE(m_services.messageBox.shown.empty());
    EXPECT_FALSE(m_watchdog->fired()) << "the program waited on a pipe";
}

/** Started with symbolic links planted at the clipboard file's name and at its old shared name. */
class ClipboardLinkGui : public LampSystemClipboardGui {
protected:
    void beforeStart() override
    {
        std::ofstream(victim(), std::ios::binary) << "soubor uživatele";
        std::ofstream(oldVictim(), std::ios::binary) << "jiný soubor uživatele";
        std::filesystem::create_symlink(victim(), clipboardFile());
        std::filesystem::create_symlink(oldVictim(), oldSharedFile());
    }
    std::filesystem::path victim() const { return m_folder.path() / "obet.txt"; }
    std::filesystem::path oldVictim() const { return m_folder.path() / "obet2.txt"; }
    static std::string text(const std::filesystem::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return { std::istreambuf_iterator<char>(in), {} };
    }
};

TEST_F(ClipboardLinkGui, CopyAndPasteLeaveTheTargetsOfPlantedLinksUnchanged)
{
    // Not read through the link: text that is not ours would keep the paste enabled to say so.
    select(folder(1, TreeItemKind::LampFolder));
    EXPECT_FALSE(menuItemEnabled(frame(), "Vložit soustavu"));

    select(folder(0, TreeItemKind::LampFolder)->child(0));
    clickMenuItem(frame(), "Kopírovat soustavu");
    select(folder(1, TreeItemKind::LampFolder));
    const std::size_t before = room(1).m_lampSystems.size();
    clickMenuItem(frame(), "Vložit soustavu");

    EXPECT_EQ(text(victim()), "soubor uživatele");
    EXPECT_EQ(text(oldVictim()), "jiný soubor uživatele");
    EXPECT_FALSE(std::filesystem::is_symlink(clipboardFile())) << "the link itself was replaced";
    EXPECT_TRUE(std::filesystem::is_symlink(oldSharedFile()));
    EXPECT_EQ(room(1).m_lampSystems.size(), before + 1);
    EXPECT_TRUE(m_services.messageBox.shown.empty());
}

} // namespace
