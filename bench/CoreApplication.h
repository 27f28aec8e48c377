// The Qt application object a benchmark needs for the real message pump and its timers.
#pragma once

#include <QCoreApplication>

namespace kzev::bench {

inline QCoreApplication& coreApplication()
{
    static int argc = 1;
    static char name[] = "kzev_bench";
    static char* argv[] = { name, nullptr };
    static QCoreApplication application(argc, argv);
    return application;
}

} // namespace kzev::bench
