// platform_tour: the window, input, timer, camera, 2D drawing and fades of Ostrel3D in one loop.
//
//   W/A/S/D      walk            mouse (after M)  look around      M  capture / release mouse
//   F            fade out / in   PageUp/PageDown  next resolution  Alt+Enter  full screen
//   Esc          quit
//
// The overlay shows the keyboard as a 16 x 16 grid of virtual-key codes (lit while held), the
// three mouse buttons, the wheel total as a row of dots, a ring around the cursor, and these keys.
#include "ostrel3d.h"

#include <GL/gl.h>
#include <stdio.h>

static const float kWalkSpeedPerSecond = 4.0f;
static const float kLookDegreesPerPixel = 0.2f;
static const float kFadeSeconds = 0.6f;
static const struct {
    const char *keys, *action;
} kKeyHelp[] = {
    {"W A S D", "walk"},         {"M", "mouse look on / off"}, {"F", "fade out / in"},
    {"PgUp PgDn", "resolution"}, {"Alt+Enter", "full screen"}, {"Esc", "quit"},
};
static const int kKeyHelpLines = sizeof kKeyHelp / sizeof kKeyHelp[0];
static const int kHelpLinePixels = 18;

// The ground: a grid of plain GL lines around the origin, with the x and z axes in colour.
static void drawGround(void)
{
    glBegin(GL_LINES);
    for (int i = -20; i <= 20; ++i) {
        float shade = (i % 5 == 0) ? 0.55f : 0.3f;
        glColor3f(shade, shade, shade + 0.1f);
        glVertex3f((float)i, 0.0f, -20.0f);
        glVertex3f((float)i, 0.0f, 20.0f);
        glVertex3f(-20.0f, 0.0f, (float)i);
        glVertex3f(20.0f, 0.0f, (float)i);
    }
    glColor3f(1.0f, 0.3f, 0.3f); // +x
    glVertex3f(0.0f, 0.01f, 0.0f);
    glVertex3f(3.0f, 0.01f, 0.0f);
    glColor3f(0.3f, 0.5f, 1.0f); // +z
    glVertex3f(0.0f, 0.01f, 0.0f);
    glVertex3f(0.0f, 0.01f, 3.0f);
    glEnd();
}

static void walk(TCamera *cam, float seconds)
{
    float step = kWalkSpeedPerSecond * seconds;
    if (o3DKeyDown(O3D_KEY_W))
        o3DMoveCameraForward(cam, step);
    if (o3DKeyDown(O3D_KEY_S))
        o3DMoveCameraForward(cam, -step);
    if (o3DKeyDown(O3D_KEY_D))
        o3DStrafeCamera(cam, step);
    if (o3DKeyDown(O3D_KEY_A))
        o3DStrafeCamera(cam, -step);
    if (o3DIsMouseCaptured())
        o3DRotateCamera(cam, o3DGetMouseDX() * kLookDegreesPerPixel,
                        -o3DGetMouseDY() * kLookDegreesPerPixel, 0.0f);
}

static void cycleResolution(int step)
{
    int count = o3DGetDisplayModeCount();
    if (count == 0)
        return;
    int next = (o3DGetResolutionIndex() + step + count) % count;
    if (o3DSetResolution(next))
        printf("resolution %s\n", o3DGetDisplayMode(next)->name);
}

static void drawInputOverlay(void)
{
    const float cell = 9.0f, left = 10.0f, top = 10.0f;
    o3DSetColor(0.1f, 0.1f, 0.15f);
    o3DFillRect(left - 4, top - 4, 16 * cell + 8, 16 * cell + 8);
    for (int code = 0; code < 256; ++code) {
        float x = left + (code % 16) * cell, y = top + (code / 16) * cell;
        if (o3DKeyDown(code)) {
            o3DSetColor(1.0f, 0.85f, 0.2f);
            o3DFillRect(x, y, cell - 2, cell - 2);
        } else {
            o3DSetColor(0.35f, 0.35f, 0.4f);
            o3DDrawRect(x, y, cell - 2, cell - 2);
        }
    }
    for (int button = 0; button < 3; ++button) {
        float x = left + button * 30.0f, y = top + 16 * cell + 12;
        o3DSetColor(0.2f, 0.8f, 0.3f);
        if (o3DMouseButtonDown(button))
            o3DFillRect(x, y, 24, 30);
        else
            o3DDrawRect(x, y, 24, 30);
    }
    int wheel = o3DGetMouseWheel();
    for (int i = 0; i < (wheel < 0 ? -wheel : wheel) && i < 30; ++i) {
        o3DSetColor(wheel > 0 ? 0.4f : 1.0f, 0.6f, wheel > 0 ? 1.0f : 0.4f);
        o3DFillCircle(left + 100 + i * 8.0f, top + 16 * cell + 27, 3, 8);
    }
    if (!o3DIsMouseCaptured()) {
        o3DSetColor(1.0f, 1.0f, 1.0f);
        o3DDrawCircle((float)o3DGetMouseX(), (float)o3DGetMouseY(), 12, 24);
    }
    // Frame time as a bar: 1 px per millisecond.
    float ms = (float)(o3DGetDeltaTime() * 1000.0);
    o3DSetColor(0.9f, 0.3f, 0.9f);
    o3DFillRect(left, (float)o3DGetScreenHeight() - 20, ms > 300 ? 300 : ms, 8);
    // A crosshair while looking with the mouse.
    float cx = o3DGetScreenWidth() / 2.0f, cy = o3DGetScreenHeight() / 2.0f;
    o3DSetColor(1.0f, 1.0f, 1.0f);
    o3DDrawLine(cx - 8, cy, cx + 8, cy);
    o3DDrawLine(cx, cy - 8, cx, cy + 8);
}

// The keys on a dark panel above the frame-time bar, in a system font (any face will do).
static void drawKeyHelp(TFont *font)
{
    const float left = 10.0f, width = 290.0f, height = kKeyHelpLines * kHelpLinePixels + 8.0f;
    float top = (float)o3DGetScreenHeight() - 30 - height;
    o3DSetColor(0.1f, 0.1f, 0.15f);
    o3DFillRect(left - 4, top, width, height);
    o3DSetTextColor(1.0f, 1.0f, 1.0f);
    for (int line = 0; line < kKeyHelpLines; ++line) {
        float y = top + 4 + line * kHelpLinePixels;
        o3DPrint(font, left + 4, y, kKeyHelp[line].keys);
        o3DPrint(font, left + 112, y, kKeyHelp[line].action);
    }
}

int main(void)
{
    if (!o3DInit(nullptr, 800, 600, "Ostrel3D")) {
        fprintf(stderr, "platform_tour: no window\n");
        return 1;
    }
    o3DPrintDisplayModes();
    fflush(stdout);

    TFont font = {};
    if (!o3DCreateSystemFont(&font, "Arial", 15, 700, 0))
        fprintf(stderr, "platform_tour: no system font, so no key help\n");

    TCamera camera;
    o3DInitCamera(&camera);
    o3DSetCamera(&camera, 0.0f, 1.7f, 8.0f, -90.0f, -10.0f);
    int fadedOut = 0, frames = 0, wasFullscreen = 0;

    while (o3DIsRunning()) {
        o3DProcessMessages();
        o3DUpdateTimer();
        o3DUpdateMouse();
        o3DUpdateKeyboard();

        float seconds = (float)o3DGetDeltaTime();
        if (seconds > 0.1f)
            seconds = 0.1f;
        walk(&camera, seconds);
        if (o3DKeyPressed(O3D_KEY_M)) {
            if (o3DIsMouseCaptured())
                o3DReleaseMouse();
            else
                o3DCaptureMouse();
        }
        if (o3DKeyPressed(O3D_KEY_F)) {
            fadedOut = !fadedOut;
            if (fadedOut)
                o3DStartFadeOut(kFadeSeconds);
            else
                o3DStartFadeIn(kFadeSeconds);
        }
        if (o3DKeyPressed(O3D_KEY_PAGEUP))
            cycleResolution(1);
        if (o3DKeyPressed(O3D_KEY_PAGEDOWN))
            cycleResolution(-1);
        if (o3DKeyPressed(O3D_KEY_ESCAPE))
            o3DQuit();
        o3DUpdateFade();
        if (o3DIsFullscreen() != wasFullscreen) {
            wasFullscreen = o3DIsFullscreen();
            printf("fullscreen %d %dx%d\n", wasFullscreen, o3DGetScreenWidth(),
                   o3DGetScreenHeight());
            fflush(stdout);
        }

        o3DPreRender();
        o3DClearScreen(0.05f, 0.07f, 0.12f);
        o3DBegin3D();
        o3DApplyCamera(&camera);
        drawGround();
        o3DBegin2D();
        drawInputOverlay();
        drawKeyHelp(&font);
        o3DDrawCurrentFade();
        o3DSwapBuffers();
        ++frames;
    }

    printf("platform_tour: %d frames\n", frames);
    o3DFreeFont(&font);
    o3DShutdown();
    return 0;
}
