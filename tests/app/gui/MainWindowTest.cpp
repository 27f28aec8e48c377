#include "app/CMainFrame.h"

#include <QStatusBar>
#include <gtest/gtest.h>

TEST(MainWindowTest, ShowsTitleAndReadyText)
{
    CMainFrame frame;
    frame.show();
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("HEMSOR Kzev 6.3"));
    EXPECT_EQ(frame.statusBar()->currentMessage(), QString::fromUtf8("Kzev připraven"));
}
