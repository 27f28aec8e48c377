// The program started the way scripts/run starts it without arguments: on the
// shipped office project, with the shipped data folder.

#include "support/FakeServices.h"

#include "app/CKzevApp.h"
#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

TEST(SampleStartUp, OfficeProjectOpensWithoutAMessage)
{
    kzev::installProfileStore(std::make_unique<kzev::MemoryProfileStore>());
    kzev::test::FakeServices services;
    const std::filesystem::path office = std::filesystem::path(KZEV_SOURCE_DIR) / "data" / "Vzor-kancelar.kzv";

    CKzevApp app;
    ASSERT_TRUE(app.InitInstance({ "--nologo", QString::fromStdString(office.string()) }, false));

    EXPECT_TRUE(services.messageBox.shown.empty())
        << (services.messageBox.shown.empty() ? std::string() : services.messageBox.shown[0].text);
    const CKzevDoc* document = kzev::theDocument();
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->GetPathName(), office);
    ASSERT_EQ(document->m_rooms.size(), 1u);
    ASSERT_EQ(document->m_rooms[0].m_lampSystems.size(), 1u);
    EXPECT_GE(document->m_rooms[0].m_lampSystems[0].m_luminaireIndex, 0);
    EXPECT_FALSE(document->m_usedLuminaires.empty());
}
