// A program whose global constructor calls the engine before main, as a user's static object may.
// The seam tables must already hold the backend's entries then, whatever order the toolchain
// runs the constructors of the program and of the library in. Exit status 0 is the pass.
#include "ostrel3d.h"

#include <stdio.h>

namespace {

struct StartClock {
    uint32_t start;
    int running;
    StartClock() : start(o3DGetTicks()), running(o3DIsRunning())
    {
    }
};

StartClock sClock;

} // namespace

int main()
{
    // Ticks count from the first reading, and nothing has started a window.
    uint32_t later = o3DGetTicks();
    if (later < sClock.start || sClock.running != 0) {
        fprintf(stderr, "engine state read before main is wrong: %u then %u, running %d\n",
                sClock.start, later, sClock.running);
        return 1;
    }
    return 0;
}
