// The program's entry steps and its frame loop, shared by every platform's entry point.
#include "game.h"

#include <stdio.h>
#include <stdlib.h>
#include <time.h>

#include <chrono>

// Start-up and level-load timing for the benchmarks, asked for by O3D_GAME_TIMING in the
// environment: standard output gets "o3d-timing menu-frame NS CPU" once the first main-menu frame
// is shown, then "o3d-timing new-game NS CPU" (the start of the frame that left the menu for play)
// and "o3d-timing play-frame NS CPU" once the first play frame is shown. NS is the steady clock in
// nanoseconds (CLOCK_MONOTONIC on Linux), so a parent process can set it against its own start;
// CPU is the processor time of the whole process so far, in nanoseconds, which other programs
// on a busy machine do not inflate.
struct FrameTiming {
    int wanted;
    int menuShown, playShown;
    long long frameStart, frameStartCpu;
};

static long long cpuNanoseconds(void)
{
    return (long long)((double)clock() * (1e9 / (double)CLOCKS_PER_SEC));
}

static long long steadyNanoseconds(void)
{
    return (long long)std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

static void noteShownFrame(FrameTiming *t, int stateBefore)
{
    const long long now = steadyNanoseconds(), cpu = cpuNanoseconds();
    if (!t->menuShown && stateBefore == MainMenu && gameState == MainMenu) {
        t->menuShown = 1;
        printf("o3d-timing menu-frame %lld %lld\n", now, cpu);
    }
    if (!t->playShown && gameState == Playing) {
        t->playShown = 1;
        if (stateBefore != Playing)
            printf("o3d-timing new-game %lld %lld\n", t->frameStart, t->frameStartCpu);
        printf("o3d-timing play-frame %lld %lld\n", now, cpu);
    }
    fflush(stdout);
}

int gameMain(void *instance)
{
    if (!o3DInit(instance, 800, 600, "Ostrel3D")) {
        showMessageBox("Blad inicjalizacji silnika!", "Blad", BoxError);
        return 1;
    }
    if (!gameInit()) {
        showMessageBox(statusText, "Blad inicjalizacji gry", BoxError);
        o3DShutdown();
        return 1;
    }
    const char *timingAsked = getenv("O3D_GAME_TIMING");
    FrameTiming timing = {timingAsked && *timingAsked, 0, 0, 0, 0};
    // The running flag is tested only here: the frame that saw the quit still runs to its end.
    while (o3DIsRunning()) {
        const int stateBefore = gameState;
        if (timing.wanted) {
            timing.frameStart = steadyNanoseconds();
            timing.frameStartCpu = cpuNanoseconds();
        }
        o3DProcessMessages();
        o3DUpdateTimer();
        o3DUpdateMouse();
        o3DUpdateKeyboard();
        gameUpdate();
        o3DPreRender();
        gameRender();
        o3DSwapBuffers();
        if (timing.wanted)
            noteShownFrame(&timing, stateBefore);
    }
    gameShutdown();
    o3DShutdown();
    return 0;
}
