// The win32 input seam: asynchronous key state, the cursor in the main window's client
// coordinates, and the system's cursor show counter. Sampling, edges and capture are the engine's.
#include "platform/seam.h"

#include <windows.h>

static const SHORT kKeyDownBit = (SHORT)0x8000;

// The backend's own window: the cursor is measured against the window this backend made.
static HWND mainWindow(void)
{
    return (HWND)kNativeWindowSeam.handle();
}

static int keyDown(int code)
{
    return (GetAsyncKeyState(code) & kKeyDownBit) != 0;
}

static void cursorInClient(int *x, int *y)
{
    POINT point = {0, 0};
    GetCursorPos(&point);
    ScreenToClient(mainWindow(), &point);
    *x = point.x;
    *y = point.y;
}

static void setCursorInClient(int x, int y)
{
    POINT point = {x, y};
    ClientToScreen(mainWindow(), &point);
    SetCursorPos(point.x, point.y);
}

static int showCursor(int show)
{
    return ShowCursor(show ? TRUE : FALSE);
}

constexpr PlatformInputSeam kNativeInputSeam = {
    keyDown,
    cursorInClient,
    setCursorInClient,
    showCursor,
};
PlatformInputSeam gInputSeam = kNativeInputSeam;
