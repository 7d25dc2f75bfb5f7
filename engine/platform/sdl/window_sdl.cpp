// The sdl backend's window: an SDL window with an OpenGL compatibility context, the event loop
// turned into the engine's window events, and the window-placement calls of full screen.
#include "platform/seam.h"
#include "platform/sdl/sdl_state.h"

#include <string.h>

static const int kWheelNotch = 120;

// Mouse buttons as they appear in the key table (VK_LBUTTON, VK_RBUTTON, VK_MBUTTON, X1, X2).
static int buttonKeyCode(Uint8 button)
{
    switch (button) {
    case SDL_BUTTON_LEFT:
        return 1;
    case SDL_BUTTON_RIGHT:
        return 2;
    case SDL_BUTTON_MIDDLE:
        return 4;
    case SDL_BUTTON_X1:
        return 5;
    case SDL_BUTTON_X2:
        return 6;
    default:
        return 0;
    }
}

static void centredPosition(int width, int height, int *x, int *y)
{
    int screenWidth, screenHeight;
    sdlScreenSize(&screenWidth, &screenHeight);
    *x = (screenWidth - width) / 2;
    *y = (screenHeight - height) / 2;
}

static void setGlAttributes(void)
{
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
}

static void savePlacement(void)
{
    if (!gSdl.window)
        return;
    SdlPlacement *p = &gSdl.placement;
    SDL_GetWindowPosition(gSdl.window, &p->x, &p->y);
    SDL_GetWindowSize(gSdl.window, &p->width, &p->height);
}

// Where the pointer is when the window opens, before any motion event (the first query of the
// global pointer asks the window system).
static void startPointer(void)
{
    int globalX = 0, globalY = 0, windowX = 0, windowY = 0;
    SDL_GetGlobalMouseState(&globalX, &globalY);
    SDL_GetWindowPosition(gSdl.window, &windowX, &windowY);
    gSdl.pointerX = globalX - windowX;
    gSdl.pointerY = globalY - windowY;
}

static void notePointer(Uint32 windowId, int x, int y)
{
    if (gSdl.window && windowId == SDL_GetWindowID(gSdl.window)) {
        gSdl.pointerX = x;
        gSdl.pointerY = y;
    }
}

static int create(const char *title, int width, int height)
{
    if (gSdl.window || !sdlEnsureVideo())
        return 0;
    if (gSdl.quitEventType == 0)
        gSdl.quitEventType = SDL_RegisterEvents(1);
    setGlAttributes();
    int x, y;
    centredPosition(width, height, &x, &y);
    gSdl.window =
        SDL_CreateWindow(title, x, y, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
    if (!gSdl.window)
        return 0;
    savePlacement();
    startPointer();
    // As on Windows, a context that could not be made is not fatal here.
    gSdl.context = SDL_GL_CreateContext(gSdl.window);
    if (gSdl.context)
        SDL_GL_MakeCurrent(gSdl.window, gSdl.context);
    memset(gSdl.keys, 0, sizeof gSdl.keys);
    return 1;
}

static void destroy(void)
{
    SDL_GL_MakeCurrent(nullptr, nullptr);
    if (gSdl.context) {
        SDL_GL_DeleteContext(gSdl.context);
        gSdl.context = nullptr;
    }
    if (gSdl.window) {
        SDL_DestroyWindow(gSdl.window);
        gSdl.window = nullptr;
    }
    // The counter belongs to the window's session, like the cursor it hides.
    gSdl.cursorCount = 0;
    SDL_ShowCursor(SDL_ENABLE);
}

static void *handle(void)
{
    return gSdl.window;
}

static void swapBuffers(void)
{
    if (gSdl.window)
        SDL_GL_SwapWindow(gSdl.window);
}

static void handleKey(const SDL_KeyboardEvent &key, void (*dispatch)(PlatformEvent, int))
{
    int down = key.type == SDL_KEYDOWN;
    sdlSetKey(sdlVirtualKey(key.keysym.sym, key.keysym.scancode), down);
    int isEnter =
        key.keysym.scancode == SDL_SCANCODE_RETURN || key.keysym.scancode == SDL_SCANCODE_KP_ENTER;
    if (down && isEnter && (key.keysym.mod & KMOD_ALT) && !key.repeat)
        dispatch(kEventToggleFullscreen, 0);
}

static void pump(void (*dispatch)(PlatformEvent event, int value))
{
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == gSdl.quitEventType) {
            dispatch(kEventQuit, 0);
            continue;
        }
        switch (event.type) {
        case SDL_QUIT: // a signal such as SIGTERM: treated like closing the window
            dispatch(kEventCloseRequest, 0);
            break;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_CLOSE)
                dispatch(kEventCloseRequest, 0);
            else if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST)
                memset(gSdl.keys, 0, sizeof gSdl.keys); // releases elsewhere are never seen
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            handleKey(event.key, dispatch);
            break;
        case SDL_MOUSEMOTION:
            notePointer(event.motion.windowID, event.motion.x, event.motion.y);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            notePointer(event.button.windowID, event.button.x, event.button.y);
            sdlSetKey(buttonKeyCode(event.button.button), event.type == SDL_MOUSEBUTTONDOWN);
            break;
        case SDL_MOUSEWHEEL: {
            int steps = event.wheel.y;
            if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED)
                steps = -steps;
            dispatch(kEventWheel, steps * kWheelNotch);
            break;
        }
        default:
            break;
        }
    }
}

static void postQuit(void)
{
    if (!sdlEnsureVideo())
        return;
    if (gSdl.quitEventType == 0)
        gSdl.quitEventType = SDL_RegisterEvents(1);
    SDL_Event event;
    SDL_zero(event);
    event.type = gSdl.quitEventType;
    SDL_PushEvent(&event);
}

static void enterFullscreenFrame(void)
{
    // SDL made the window cover the screen when it changed the mode; bring it to the top.
    if (gSdl.window)
        SDL_RaiseWindow(gSdl.window);
}

static void restoreWindowed(void)
{
    if (!gSdl.window)
        return;
    const SdlPlacement *p = &gSdl.placement;
    SDL_SetWindowSize(gSdl.window, p->width, p->height);
    SDL_SetWindowPosition(gSdl.window, p->x, p->y);
}

static void placeCentred(int width, int height)
{
    if (!gSdl.window)
        return;
    int x, y;
    centredPosition(width, height, &x, &y);
    SDL_SetWindowSize(gSdl.window, width, height);
    SDL_SetWindowPosition(gSdl.window, x, y);
}

static void coverScreen(void)
{
    if (gSdl.window)
        SDL_SetWindowPosition(gSdl.window, 0, 0);
}

static void clientSize(int *width, int *height)
{
    *width = 0;
    *height = 0;
    if (gSdl.window)
        SDL_GL_GetDrawableSize(gSdl.window, width, height);
}

constexpr PlatformWindowSeam kNativeWindowSeam = {
    create,
    destroy,
    handle,
    swapBuffers,
    pump,
    postQuit,
    savePlacement,
    enterFullscreenFrame,
    restoreWindowed,
    placeCentred,
    coverScreen,
    clientSize,
};
PlatformWindowSeam gWindowSeam = kNativeWindowSeam;
