// The sdl backend's display modes: SDL's mode list of the primary display, and full-screen mode
// changes applied to the engine's window.
#include "platform/seam.h"
#include "platform/sdl/sdl_state.h"

static int modeAt(int index, int *width, int *height, int *bitsPerPixel)
{
    if (!sdlEnsureVideo())
        return 0;
    SDL_DisplayMode mode;
    if (index < 0 || index >= SDL_GetNumDisplayModes(0) || SDL_GetDisplayMode(0, index, &mode) != 0)
        return 0;
    *width = mode.w;
    *height = mode.h;
    *bitsPerPixel = (int)SDL_BITSPERPIXEL(mode.format);
    return 1;
}

static int currentMode(int *width, int *height)
{
    SDL_DisplayMode mode;
    if (!sdlEnsureVideo() || SDL_GetDesktopDisplayMode(0, &mode) != 0)
        return 0;
    *width = mode.w;
    *height = mode.h;
    return 1;
}

// Only a size the display really offers is accepted, as ChangeDisplaySettings does.
static int findMode(int width, int height, SDL_DisplayMode *found)
{
    int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) == 0 && mode.w == width && mode.h == height) {
            *found = mode;
            return 1;
        }
    }
    return 0;
}

static int changeMode(int width, int height)
{
    SDL_DisplayMode mode;
    if (!gSdl.window || !findMode(width, height, &mode))
        return 0;
    if (SDL_SetWindowDisplayMode(gSdl.window, &mode) != 0)
        return 0;
    return SDL_SetWindowFullscreen(gSdl.window, SDL_WINDOW_FULLSCREEN) == 0;
}

static void restoreMode(void)
{
    if (gSdl.window)
        SDL_SetWindowFullscreen(gSdl.window, 0);
}

constexpr PlatformDisplaySeam kNativeDisplaySeam = {modeAt, currentMode, changeMode, restoreMode};
PlatformDisplaySeam gDisplaySeam = kNativeDisplaySeam;
