// The win32 clock seam: the performance counter, the millisecond tick count and sleeping. The
// timer's arithmetic and the frame limiter are the engine's.
#include "platform/seam.h"

#include <windows.h>

static int64_t counter(void)
{
    LARGE_INTEGER value;
    QueryPerformanceCounter(&value);
    return value.QuadPart;
}

static int64_t frequency(void)
{
    LARGE_INTEGER value;
    QueryPerformanceFrequency(&value);
    return value.QuadPart;
}

static uint32_t tickCount(void)
{
    return GetTickCount();
}

static void sleepMs(uint32_t ms)
{
    Sleep(ms);
}

constexpr PlatformClockSeam kNativeClockSeam = {
    counter,
    frequency,
    tickCount,
    sleepMs,
};
PlatformClockSeam gClockSeam = kNativeClockSeam;
