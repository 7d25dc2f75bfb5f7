// The sdl backend's clock: SDL's performance counter, millisecond ticks and sleep.
#include "platform/seam.h"

#include <SDL.h>

static int64_t counter(void)
{
    return (int64_t)SDL_GetPerformanceCounter();
}

static int64_t frequency(void)
{
    return (int64_t)SDL_GetPerformanceFrequency();
}

static uint32_t tickCount(void)
{
    return (uint32_t)SDL_GetTicks();
}

static void sleepMs(uint32_t ms)
{
    SDL_Delay(ms);
}

constexpr PlatformClockSeam kNativeClockSeam = {counter, frequency, tickCount, sleepMs};
PlatformClockSeam gClockSeam = kNativeClockSeam;
