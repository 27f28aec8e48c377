#include "platform/qt/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <gtest/gtest.h>

TEST(QtClipboard, TheTextArrivesAsPlainText)
{
    kzev::QtClipboard clipboard;
    // Czech headings and names stay Czech; numbers keep their decimal comma.
    const std::string table = "Soustava\tSvítidlo\tNaklonění\t\n\t1000\t1500\t\n2000\t12,5\t7,0\t\n";
    ASSERT_TRUE(clipboard.setText(table));
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), table);
}

TEST(QtClipboard, OwnDataTravelsBesideTheText)
{
    kzev::QtClipboard clipboard;
    const std::vector<std::uint8_t> data { 'K', 0, 0xFF, 7 };
    ASSERT_TRUE(clipboard.setData("application/x-kzev-test", data, "Řada\t1,5\t\n"));
    EXPECT_EQ(clipboard.data("application/x-kzev-test"), data);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "Řada\t1,5\t\n");
    EXPECT_FALSE(clipboard.data("application/x-other").has_value());

    ASSERT_TRUE(clipboard.setText("jen text"));
    EXPECT_FALSE(clipboard.data("application/x-kzev-test").has_value()) << "a later copy replaces it";
}
