#include "platform/qt/QtMessagePump.h"

#include <QCoreApplication>
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

TEST(QtMessagePumpTest, TightLoopReachesTheEventsWithinABoundedNumberOfCallsAndServeAtOnce)
{
    QCoreApplication::processEvents(); // nothing left over from another test
    // No interval: whenever the clock is read, the events are processed.
    kzev::QtMessagePump pump(0);
    int delivered = 0;
    for (int i = 0; i < 200'000; ++i)
        pump.pump();

    QTimer::singleShot(0, [&] { ++delivered; });
    int calls = 0;
    while (delivered == 0 && calls < 10'000) {
        pump.pump();
        ++calls;
    }
    EXPECT_EQ(delivered, 1) << "a loop of quick calls must still look at the events now and then";

    QTimer::singleShot(0, [&] { ++delivered; });
    pump.serve();
    EXPECT_EQ(delivered, 2) << "serve() between batches looks at once";
}
