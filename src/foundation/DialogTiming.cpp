#include "foundation/DialogTiming.h"

#include <atomic>

namespace
{
std::atomic<int> g_openWaitMs{1000};
}

int DialogTiming::openWaitMs()
{
    return g_openWaitMs;
}

void DialogTiming::setOpenWaitMs(int ms)
{
    g_openWaitMs = ms < 0 ? 0 : ms;
}
