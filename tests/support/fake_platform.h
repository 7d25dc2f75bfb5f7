// A scripted platform for unit tests: display modes, keys, cursor, clock, window and message
// boxes are plain fields the test sets and reads. installFakePlatform() points every seam entry
// of the window, display, input, clock and dialog tables here; platformResetSeam() undoes it.
#ifndef O3D_TESTS_FAKE_PLATFORM_H
#define O3D_TESTS_FAKE_PLATFORM_H

#include "platform/seam.h"

#include <string>
#include <vector>

struct FakeMode {
    int width, height, bits;
};

struct FakePlatform {
    // display
    std::vector<FakeMode> modes;
    int desktopWidth = 0, desktopHeight = 0;
    int changeModeSucceeds = 1;
    int changeModeCalls = 0, restoreModeCalls = 0;
    int lastModeWidth = 0, lastModeHeight = 0;
    // window
    int createSucceeds = 1;
    int haveWindow = 0;
    std::string createdTitle;
    int clientWidth = 800, clientHeight = 600;
    int savePlacementCalls = 0, restoreWindowedCalls = 0, placeCentredCalls = 0;
    int fullscreenFrameCalls = 0, coverScreenCalls = 0, destroyCalls = 0;
    std::vector<std::pair<PlatformEvent, int>> queuedEvents; // delivered by the next pump
    int quitPosted = 0;
    // input
    unsigned char keys[256] = {};
    int cursorX = 0, cursorY = 0;
    std::vector<std::pair<int, int>> cursorMoves;
    int cursorCount = 0, hideCalls = 0, showCalls = 0;
    // clock
    int64_t counter = 0, frequency = 1000000;
    uint32_t ticks = 0;
    int64_t counterStepPerRead = 0; // added after every counter read (time passing)
    int64_t counterStepPerSleep = 0;
    int sleeps = 0;
    // dialogs
    std::vector<std::string> boxes; // "caption|text"
};

extern FakePlatform gFake;

// Resets gFake to its defaults and installs it in the seam tables.
void installFakePlatform(void);

#endif
