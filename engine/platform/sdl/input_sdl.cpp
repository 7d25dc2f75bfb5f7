// The sdl backend's input: the key table kept from SDL events, the cursor relative to the
// window, warping, and a cursor show counter with Win32's rules.
#include "platform/seam.h"
#include "platform/sdl/sdl_state.h"

static int keyDown(int code)
{
    if (code < 0 || code > 255)
        return 0;
    return gSdl.keys[code];
}

static void cursorInClient(int *x, int *y)
{
    if (!gSdl.window)
        return;
    int globalX, globalY, windowX, windowY;
    SDL_GetGlobalMouseState(&globalX, &globalY);
    SDL_GetWindowPosition(gSdl.window, &windowX, &windowY);
    *x = globalX - windowX;
    *y = globalY - windowY;
}

static void setCursorInClient(int x, int y)
{
    if (gSdl.window)
        SDL_WarpMouseInWindow(gSdl.window, x, y);
}

static int showCursor(int show)
{
    gSdl.cursorCount += show ? 1 : -1;
    if (SDL_WasInit(SDL_INIT_VIDEO))
        SDL_ShowCursor(gSdl.cursorCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return gSdl.cursorCount;
}

constexpr PlatformInputSeam kNativeInputSeam = {keyDown, cursorInClient, setCursorInClient,
                                                showCursor};
PlatformInputSeam gInputSeam = kNativeInputSeam;
