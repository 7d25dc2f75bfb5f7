// The main window, its OpenGL context, the running flag, the message pump's rules and the switch
// between windowed and full-screen presentation. The operating system is reached only through the
// seam (platform/seam.h); what is decided here is the same on every backend.
#include "ostrel3d.h"

#include "platform/gl_api.h"
#include "platform/seam.h"

#include <string.h>

static const int kWheelNotch = 120; // one wheel step in the system's units

static const char kModeChangeFailedText[] = "Nie mozna zmienic rozdzielczosci!";
static const char kModeChangeFailedCaption[] = "Blad";

struct WindowState {
    void *instance;
    int running;
    int fullscreen;
    char title[256];
    int width, height;         // current drawable size
    int modeWidth, modeHeight; // size asked for by a mode change or a resize
};

static WindowState sWindow = {nullptr, 0, 0, "Ostrel", 640, 480, 640, 480};

static void setInitialGlState(int width, int height)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_LINE_SMOOTH);
    glEnable(GL_POINT_SMOOTH);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
}

// The state the engine returns to after every size change: pixels, origin top-left.
static void applyPixelProjection(void)
{
    glViewport(0, 0, sWindow.width, sWindow.height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, sWindow.width, sWindow.height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    o3DSetViewportSize(sWindow.width, sWindow.height);
}

static void takeClientSize(void)
{
    gWindowSeam.clientSize(&sWindow.width, &sWindow.height);
}

static void leaveFullscreen(void)
{
    gDisplaySeam.restoreMode();
    gWindowSeam.restoreWindowed();
    gInputSeam.showCursor(1);
    sWindow.fullscreen = 0;
    takeClientSize();
    applyPixelProjection();
}

// What the window procedure does with each message the backend reports.
void platformDispatchEvent(PlatformEvent event, int value)
{
    switch (event) {
    case kEventQuit:
        sWindow.running = 0;
        break;
    case kEventCloseRequest:
        gWindowSeam.postQuit();
        break;
    case kEventToggleFullscreen:
        o3DToggleFullscreen();
        break;
    case kEventWheel:
        o3DAddMouseWheel(value / kWheelNotch);
        break;
    }
}

// Applies the selected list entry to the window or to the full-screen display mode.
static void applySelectedMode(void)
{
    TDisplayMode *mode = o3DGetCurrentDisplayMode();
    if (!gWindowSeam.handle() || !mode)
        return;
    sWindow.modeWidth = sWindow.width = mode->width;
    sWindow.modeHeight = sWindow.height = mode->height;
    if (sWindow.fullscreen) {
        if (!gDisplaySeam.changeMode(sWindow.modeWidth, sWindow.modeHeight)) {
            leaveFullscreen();
            return;
        }
        gWindowSeam.coverScreen();
    } else {
        gWindowSeam.placeCentred(sWindow.modeWidth, sWindow.modeHeight);
        takeClientSize();
    }
    applyPixelProjection();
}

int o3DInit(void *instance, int width, int height, const char *title)
{
    // Checked before anything is stored: a refused call leaves a running window as it was, and
    // a second window would orphan the first (the engine has one).
    if (width < 1 || height < 1 || gWindowSeam.handle())
        return 0;
    char newTitle[sizeof sWindow.title];
    memcpy(newTitle, sWindow.title, sizeof newTitle);
    if (title) {
        strncpy(newTitle, title, sizeof newTitle - 1);
        newTitle[sizeof newTitle - 1] = '\0';
    }
    if (!gWindowSeam.create(newTitle, width, height))
        return 0;
    memcpy(sWindow.title, newTitle, sizeof sWindow.title);
    sWindow.width = sWindow.modeWidth = width;
    sWindow.height = sWindow.modeHeight = height;
    sWindow.instance = instance;
    sWindow.fullscreen = 0;
    setInitialGlState(width, height);
    o3DSetViewportSize(width, height);

    // The window keeps its own size; the list only learns which entry matches it.
    o3DEnumDisplayModes();
    o3DSelectDisplayModeSize(width, height);

    o3DInitTimer();
    o3DInitKeyboard();
    o3DInitMouse();
    sWindow.running = 1;
    return 1;
}

void o3DShutdown(void)
{
    sWindow.running = 0;
    if (sWindow.fullscreen) {
        gDisplaySeam.restoreMode();
        gInputSeam.showCursor(1);
    }
    gWindowSeam.destroy();
}

int o3DIsRunning(void)
{
    return sWindow.running;
}

void o3DQuit(void)
{
    gWindowSeam.postQuit();
}

void o3DProcessMessages(void)
{
    gWindowSeam.pump(platformDispatchEvent);
}

void o3DPreRender(void)
{
}

void o3DSwapBuffers(void)
{
    gWindowSeam.swapBuffers();
}

int o3DGetScreenWidth(void)
{
    return sWindow.width;
}

int o3DGetScreenHeight(void)
{
    return sWindow.height;
}

int o3DIsFullscreen(void)
{
    return sWindow.fullscreen;
}

void *o3DGetWindowHandle(void)
{
    return gWindowSeam.handle();
}

void o3DSetFullscreen(int on)
{
    on = on ? 1 : 0;
    if (on == sWindow.fullscreen || !gWindowSeam.handle())
        return;
    if (!on) {
        leaveFullscreen();
        return;
    }
    gWindowSeam.savePlacement();
    if (!gDisplaySeam.changeMode(sWindow.modeWidth, sWindow.modeHeight)) {
        gDialogSeam.messageBox(kModeChangeFailedText, kModeChangeFailedCaption, kBoxNoIcon, 1);
        return;
    }
    gWindowSeam.enterFullscreenFrame();
    gInputSeam.showCursor(0);
    sWindow.fullscreen = 1;
    sWindow.width = sWindow.modeWidth;
    sWindow.height = sWindow.modeHeight;
    applyPixelProjection();
}

void o3DToggleFullscreen(void)
{
    o3DSetFullscreen(!sWindow.fullscreen);
}

int o3DSetResolution(int index)
{
    if (!o3DGetDisplayMode(index) || !o3DSelectDisplayMode(index))
        return 0;
    applySelectedMode();
    return 1;
}

int o3DSetResolutionSize(int width, int height)
{
    if (!o3DSelectDisplayModeSize(width, height))
        return 0;
    applySelectedMode();
    return 1;
}
