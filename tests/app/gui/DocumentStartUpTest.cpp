#include "support/FakeServices.h"
#include "support/PipeWatchdog.h"

#include "app/CKzevApp.h"
#include "app/frame/CMainFrame.h"
#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class DocumentStartUpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto store = std::make_unique<kzev::MemoryProfileStore>();
        profile = store.get();
        kzev::installProfileStore(std::move(store));
        ASSERT_TRUE(dir.isValid());
    }

    std::string writeFile(const char* name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path.toStdString();
    }

    kzev::test::FakeServices services;
    kzev::MemoryProfileStore* profile = nullptr;
    QTemporaryDir dir;
};

} // namespace

TEST_F(DocumentStartUpTest, ProjectThatCannotBeReadLeavesAnEmptyProjectOpen)
{
    enum class Make { file, nothing, pipe };
    struct Case {
        const char* name;
        const char* file;
        QByteArray bytes;
        Make make;
    };
    const Case cases[] = {
        { "corrupt", "poskozeny.kzv", QByteArray("this is no project at all"), Make::file },
        { "empty", "prazdny.kzv", QByteArray(), Make::file },
        { "cut short", "useknuty.kzv", QByteArray::fromHex("0104000001"), Make::file },
        { "missing", "chybi.kzv", QByteArray(), Make::nothing },
        // Nothing ever writes into it: the start must not wait for a writer.
        { "named pipe", "roura.kzv", QByteArray(), Make::pipe },
    };
    for (const Case& c : cases) {
        const std::string path = c.make == Make::file ? writeFile(c.file, c.bytes) : dir.filePath(c.file).toStdString();
        if (c.make == Make::pipe)
            kzev::test::makePipe(path);
        const kzev::test::PipeWatchdog watchdog({ path });
        services.messageBox.shown.clear();
        CKzevApp app;
        ASSERT_TRUE(app.InitInstance({ "--nologo", QString::fromStdString(path) }, false)) << c.name;
        EXPECT_FALSE(watchdog.fired()) << c.name << ": the start waited on the file";

        ASSERT_EQ(services.messageBox.shown.size(), 1u) << c.name;
        EXPECT_NE(services.messageBox.shown[0].text.find(c.file), std::string::npos)
            << c.name << ": " << services.messageBox.shown[0].text;
        const CKzevDoc* document = kzev::theDocument();
        ASSERT_NE(document, nullptr);
        EXPECT_EQ(document->m_rooms.size(), 1u) << c.name << ": a new project has its first room";
        EXPECT_TRUE(document->GetPathName().empty()) << c.name;
        EXPECT_FALSE(document->IsModified()) << c.name;
        EXPECT_TRUE(app.recentFiles().empty()) << c.name;
        EXPECT_EQ(app.frame()->windowTitle(), QString::fromUtf8("Nový - HEMSOR Kzev 6.3")) << c.name;
    }
}

TEST_F(DocumentStartUpTest, ProjectOnTheCommandLineIsOpened)
{
    std::string path;
    {
        CKzevDoc maker;
        ASSERT_TRUE(maker.OnNewDocument());
        maker.m_rooms.resize(2);
        // Lamp systems without a chosen luminaire would be reported once at the open.
        for (CRoom& room : maker.m_rooms)
            room.m_lampSystems.clear();
        const std::vector<std::uint8_t> bytes = maker.SaveToBytes();
        path = writeFile("hala.kzv", QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    }
    CKzevApp app;
    ASSERT_TRUE(app.InitInstance({ "--nologo", QString::fromStdString(path) }, false));
    EXPECT_TRUE(services.messageBox.shown.empty());
    EXPECT_EQ(kzev::theDocument()->m_rooms.size(), 2u);
    EXPECT_EQ(kzev::theDocument()->GetPathName().string(), path);
    EXPECT_EQ(app.frame()->windowTitle(), QString::fromUtf8("hala.kzv - HEMSOR Kzev 6.3"));
    ASSERT_FALSE(app.recentFiles().empty());
    EXPECT_EQ(app.recentFiles()[0], path);
}

TEST_F(DocumentStartUpTest, ClosingAModifiedProjectAsksFirst)
{
    CKzevApp app;
    ASSERT_TRUE(app.InitInstance({ "--nologo" }, false));
    CMainFrame& frame = *app.frame();
    frame.show();
    kzev::theDocument()->SetModifiedFlag();

    services.messageBox.answers = { kzev::MessageAnswer::Cancel };
    EXPECT_FALSE(frame.close());
    ASSERT_EQ(services.messageBox.shown.size(), 1u);
    EXPECT_EQ(services.messageBox.shown[0].text, "Uložit změny v projektu Nový?");

    // Not saving closes, and the document writes its settings.
    services.messageBox.answers = { kzev::MessageAnswer::No };
    EXPECT_TRUE(frame.close());
    EXPECT_NE(profile->getInt("Main", "Unitmm", -7), -7);
}
