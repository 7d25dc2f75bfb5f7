// The sdl backend's input: the key table and pointer position kept from SDL events, warping,
// and a cursor show counter with Win32's rules.
#include "platform/seam.h"
#include "platform/sdl/sdl_state.h"

static int keyDown(int code)
{
    if (code < 0 || code > 255)
        return 0;
    return gSdl.keys[code];
}

// SDL's X11 backend answers the global pointer from a cache refreshed only by button events, so
// the position comes from the window's own motion events instead (kept by the pump). Outside the
// window it stays where the pointer left it.
static void cursorInClient(int *x, int *y)
{
    if (!gSdl.window)
        return;
    *x = gSdl.pointerX;
    *y = gSdl.pointerY;
}

static void setCursorInClient(int x, int y)
{
    if (!gSdl.window)
        return;
    SDL_WarpMouseInWindow(gSdl.window, x, y);
    // The warp's own motion event comes later; mouse look reads the position again next frame.
    gSdl.pointerX = x;
    gSdl.pointerY = y;
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
