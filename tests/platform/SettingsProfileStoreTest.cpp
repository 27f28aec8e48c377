#include "platform/qt/SettingsProfileStore.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(SettingsProfileStoreTest, ValuesSurviveReopeningTheFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("kzev.ini"));
    {
        kzev::SettingsProfileStore store(path);
        store.setInt("Main", "PrintRoomdim", 1);
        store.setString("Main", "Firma", "Světla s.r.o.");
        store.setBinary("Main", "mainLogFont", std::vector<std::uint8_t>(60, 0xAB));
        store.sync();
    }
    kzev::SettingsProfileStore again(path);
    EXPECT_EQ(again.getInt("Main", "PrintRoomdim", 0), 1);
    EXPECT_EQ(again.getInt("Main", "Missing", -3), -3);
    EXPECT_EQ(again.getString("Main", "Firma", ""), "Světla s.r.o.");
    EXPECT_EQ(again.getBinary("Main", "mainLogFont").size(), 60u);
}
