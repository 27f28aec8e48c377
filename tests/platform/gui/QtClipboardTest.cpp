#include "platform/qt/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <gtest/gtest.h>

TEST(QtClipboard, TheTextArrivesAsPlainText)
{
    kzev::QtClipboard clipboard;
    const std::string table = "\t1000\t1500\t\n2000\t12,5\t7,0\t\n";
    ASSERT_TRUE(clipboard.setText(table));
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), table);
}
