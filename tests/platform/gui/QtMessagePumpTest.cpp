#include "platform/qt/QtMessagePump.h"

#include <QTimer>
#include <gtest/gtest.h>

TEST(QtMessagePumpTest, ProcessesPendingEventsAtMostOncePerInterval)
{
    // An interval far longer than the test, so the second call is surely inside it.
    kzev::QtMessagePump pump(60'000);
    int delivered = 0;
    QTimer::singleShot(0, [&] { ++delivered; });
    pump.pump();
    EXPECT_EQ(delivered, 1);

    QTimer::singleShot(0, [&] { ++delivered; });
    pump.pump();
    EXPECT_EQ(delivered, 1) << "the second call came too soon and must not run the loop";
}
