// The scripted platform behind fake_platform.h.
#include "fake_platform.h"

FakePlatform gFake;

static int fakeCreate(const char *title, int width, int height)
{
    if (!gFake.createSucceeds)
        return 0;
    gFake.haveWindow = 1;
    gFake.createdTitle = title;
    gFake.clientWidth = width;
    gFake.clientHeight = height;
    return 1;
}

static void fakeDestroy(void)
{
    ++gFake.destroyCalls;
    gFake.haveWindow = 0;
}

static void *fakeHandle(void)
{
    return gFake.haveWindow ? &gFake : nullptr;
}

static void fakeSwap(void)
{
}

static void fakePump(void (*dispatch)(PlatformEvent, int))
{
    // Events queued while dispatching (a posted quit) are delivered in the same pump, as the
    // real message loops do.
    while (!gFake.queuedEvents.empty() || gFake.quitPosted) {
        if (gFake.queuedEvents.empty()) {
            gFake.quitPosted = 0;
            dispatch(kEventQuit, 0);
            continue;
        }
        std::pair<PlatformEvent, int> event = gFake.queuedEvents.front();
        gFake.queuedEvents.erase(gFake.queuedEvents.begin());
        dispatch(event.first, event.second);
    }
}

static void fakePostQuit(void)
{
    gFake.quitPosted = 1;
}

static void fakeSavePlacement(void)
{
    ++gFake.savePlacementCalls;
}

static void fakeEnterFullscreenFrame(void)
{
    ++gFake.fullscreenFrameCalls;
}

static void fakeRestoreWindowed(void)
{
    ++gFake.restoreWindowedCalls;
}

static void fakePlaceCentred(int width, int height)
{
    ++gFake.placeCentredCalls;
    gFake.clientWidth = width;
    gFake.clientHeight = height;
}

static void fakeCoverScreen(void)
{
    ++gFake.coverScreenCalls;
}

static void fakeClientSize(int *width, int *height)
{
    *width = gFake.clientWidth;
    *height = gFake.clientHeight;
}

static int fakeModeAt(int index, int *width, int *height, int *bits)
{
    if (index < 0 || index >= (int)gFake.modes.size())
        return 0;
    *width = gFake.modes[index].width;
    *height = gFake.modes[index].height;
    *bits = gFake.modes[index].bits;
    return 1;
}

static int fakeCurrentMode(int *width, int *height)
{
    if (gFake.desktopWidth == 0)
        return 0;
    *width = gFake.desktopWidth;
    *height = gFake.desktopHeight;
    return 1;
}

static int fakeChangeMode(int width, int height)
{
    ++gFake.changeModeCalls;
    gFake.lastModeWidth = width;
    gFake.lastModeHeight = height;
    return gFake.changeModeSucceeds;
}

static void fakeRestoreMode(void)
{
    ++gFake.restoreModeCalls;
}

static int fakeKeyDown(int code)
{
    return code >= 0 && code < 256 ? gFake.keys[code] : 0;
}

static void fakeCursorInClient(int *x, int *y)
{
    *x = gFake.cursorX;
    *y = gFake.cursorY;
}

static void fakeSetCursorInClient(int x, int y)
{
    gFake.cursorMoves.push_back({x, y});
    gFake.cursorX = x;
    gFake.cursorY = y;
}

static int fakeShowCursor(int show)
{
    if (show)
        ++gFake.showCalls;
    else
        ++gFake.hideCalls;
    gFake.cursorCount += show ? 1 : -1;
    return gFake.cursorCount;
}

static int64_t fakeCounter(void)
{
    int64_t now = gFake.counter;
    gFake.counter += gFake.counterStepPerRead;
    return now;
}

static int64_t fakeFrequency(void)
{
    return gFake.frequency;
}

static uint32_t fakeTickCount(void)
{
    return gFake.ticks;
}

static void fakeSleep(uint32_t)
{
    ++gFake.sleeps;
    gFake.counter += gFake.counterStepPerSleep;
}

static void fakeMessageBox(const char *text, const char *caption, PlatformBoxIcon, int)
{
    gFake.boxes.push_back(std::string(caption) + "|" + text);
}

void installFakePlatform(void)
{
    gFake = FakePlatform();
    gWindowSeam = {fakeCreate,
                   fakeDestroy,
                   fakeHandle,
                   fakeSwap,
                   fakePump,
                   fakePostQuit,
                   fakeSavePlacement,
                   fakeEnterFullscreenFrame,
                   fakeRestoreWindowed,
                   fakePlaceCentred,
                   fakeCoverScreen,
                   fakeClientSize};
    gDisplaySeam = {fakeModeAt, fakeCurrentMode, fakeChangeMode, fakeRestoreMode};
    gInputSeam = {fakeKeyDown, fakeCursorInClient, fakeSetCursorInClient, fakeShowCursor};
    gClockSeam = {fakeCounter, fakeFrequency, fakeTickCount, fakeSleep};
    gDialogSeam = {fakeMessageBox};
}
