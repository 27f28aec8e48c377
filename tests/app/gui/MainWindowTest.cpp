#include "app/frame/CMainFrame.h"
#include "app/bars/CProgressStatusBar.h"

#include <gtest/gtest.h>

TEST(MainWindowTest, ShowsTitleAndReadyText)
{
    CMainFrame frame;
    frame.show();
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("HEMSOR Kzev 6.3"));
    EXPECT_EQ(frame.progressStatusBar()->GetPaneText(0), "Kzev připraven");
}
