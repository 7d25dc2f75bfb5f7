// The frame timer: frame duration from the performance counter, a millisecond clock, the frame
// limiter and a once-per-frame snapshot of the local date and time.
#include "ostrel3d.h"

#include "platform/seam.h"

#include <time.h>

static const float kMinFrameSeconds = 0.0001f; // shorter frames report 0 FPS
static const float kSpinSeconds = 0.001f;      // the limiter spins, not sleeps, for the last ms

struct TimerState {
    int64_t frequency;
    int64_t lastCount;
    int64_t frameCounts;
    uint32_t startMs;
    uint32_t tickBase;
    int tickBaseSet;
    struct tm date;
    int haveDate;
    time_t dateSeconds; // the clock second the date snapshot was taken in
};

static TimerState sTimer;

// A counter without a frequency (never initialised) measures nothing rather than dividing by 0.
static double countsToSeconds(int64_t counts)
{
    if (sTimer.frequency <= 0)
        return 0.0;
    return (double)counts / (double)sTimer.frequency;
}

void o3DInitTimer(void)
{
    sTimer.startMs = o3DGetTicks();
    sTimer.frequency = gClockSeam.frequency();
    sTimer.lastCount = gClockSeam.counter();
    sTimer.frameCounts = 0;
}

void o3DUpdateTimer(void)
{
    int64_t now = gClockSeam.counter();
    sTimer.frameCounts = now - sTimer.lastCount;
    sTimer.lastCount = now;

    // The local date changes only with the second; localtime costs a system call a frame (it
    // looks at the time zone file each time).
    time_t seconds = time(nullptr);
    if (sTimer.haveDate && seconds == sTimer.dateSeconds)
        return;
    struct tm *local = localtime(&seconds);
    sTimer.haveDate = local != nullptr;
    sTimer.dateSeconds = seconds;
    if (local)
        sTimer.date = *local;
}

uint32_t o3DGetTicks(void)
{
    uint32_t now = gClockSeam.tickCount();
    if (!sTimer.tickBaseSet) {
        sTimer.tickBase = now;
        sTimer.tickBaseSet = 1;
    }
    return now - sTimer.tickBase;
}

uint32_t o3DGetElapsedMs(void)
{
    return o3DGetTicks() - sTimer.startMs;
}

double o3DGetDeltaTime(void)
{
    return countsToSeconds(sTimer.frameCounts);
}

float o3DGetFPS(void)
{
    float delta = (float)o3DGetDeltaTime();
    if (delta < kMinFrameSeconds)
        return 0.0f;
    return 1.0f / delta;
}

void o3DLimitFrame(float targetSeconds)
{
    if (sTimer.frequency <= 0)
        return;
    float elapsed;
    do {
        elapsed = (float)countsToSeconds(gClockSeam.counter() - sTimer.lastCount);
        if (targetSeconds - elapsed > kSpinSeconds)
            gClockSeam.sleepMs(1);
    } while (elapsed < targetSeconds);
}

int o3DGetSecond(void)
{
    return sTimer.haveDate ? sTimer.date.tm_sec : 0;
}

int o3DGetMinute(void)
{
    return sTimer.haveDate ? sTimer.date.tm_min : 0;
}

int o3DGetHour(void)
{
    return sTimer.haveDate ? sTimer.date.tm_hour : 0;
}

int o3DGetDay(void)
{
    return sTimer.haveDate ? sTimer.date.tm_mday : 0;
}

int o3DGetMonth(void)
{
    return sTimer.haveDate ? sTimer.date.tm_mon + 1 : 0;
}

int o3DGetYear(void)
{
    return sTimer.haveDate ? sTimer.date.tm_year + 1900 : 0;
}
