// Mouse polling: position and movement in client pixels, three buttons with edges, the wheel
// total fed by the message pump, and mouse-look capture (cursor hidden and recentred every frame).
#include "ostrel3d.h"

#include "platform/seam.h"

#include <string.h>

static const int kButtonCount = 3;
// The buttons' virtual-key codes, in button order: left, right, middle.
static const int kButtonKeyCodes[kButtonCount] = {1, 2, 4};

struct MouseState {
    int x, y;
    int previousX, previousY;
    int deltaX, deltaY;
    unsigned char buttons[kButtonCount];
    unsigned char previousButtons[kButtonCount];
    int wheelTotal;
    int wheelDelta;
    int wheelAtLastSample;
    int captured;
};

static MouseState sMouse;

static int isButton(int button)
{
    return button >= 0 && button < kButtonCount;
}

// Mouse look: measure from the client centre, then put the cursor back there.
static void sampleCaptured(void)
{
    int width = 0, height = 0;
    gWindowSeam.clientSize(&width, &height);
    int centreX = width / 2, centreY = height / 2;
    int cursorX = centreX, cursorY = centreY;
    gInputSeam.cursorInClient(&cursorX, &cursorY);
    sMouse.deltaX = cursorX - centreX;
    sMouse.deltaY = cursorY - centreY;
    sMouse.x = sMouse.previousX = centreX;
    sMouse.y = sMouse.previousY = centreY;
    gInputSeam.setCursorInClient(centreX, centreY);
}

static void sampleFree(int haveWindow)
{
    sMouse.previousX = sMouse.x;
    sMouse.previousY = sMouse.y;
    if (haveWindow)
        gInputSeam.cursorInClient(&sMouse.x, &sMouse.y);
    sMouse.deltaX = sMouse.x - sMouse.previousX;
    sMouse.deltaY = sMouse.y - sMouse.previousY;
}

void o3DInitMouse(void)
{
    memset(&sMouse, 0, sizeof sMouse);
}

void o3DUpdateMouse(void)
{
    int haveWindow = gWindowSeam.handle() != nullptr;
    if (sMouse.captured && haveWindow)
        sampleCaptured();
    else
        sampleFree(haveWindow);

    memcpy(sMouse.previousButtons, sMouse.buttons, sizeof sMouse.buttons);
    for (int i = 0; i < kButtonCount; ++i)
        sMouse.buttons[i] = gInputSeam.keyDown(kButtonKeyCodes[i]) ? 1 : 0;
    sMouse.wheelDelta = sMouse.wheelTotal - sMouse.wheelAtLastSample;
    sMouse.wheelAtLastSample = sMouse.wheelTotal;
}

int o3DGetMouseX(void)
{
    return sMouse.x;
}

int o3DGetMouseY(void)
{
    return sMouse.y;
}

void o3DGetMousePos(int *x, int *y)
{
    if (x)
        *x = sMouse.x;
    if (y)
        *y = sMouse.y;
}

int o3DGetMouseDX(void)
{
    return sMouse.deltaX;
}

int o3DGetMouseDY(void)
{
    return sMouse.deltaY;
}

int o3DMouseButtonDown(int button)
{
    return isButton(button) ? sMouse.buttons[button] : 0;
}

int o3DMouseButtonPressed(int button)
{
    return isButton(button) && sMouse.buttons[button] && !sMouse.previousButtons[button];
}

int o3DMouseButtonReleased(int button)
{
    return isButton(button) && !sMouse.buttons[button] && sMouse.previousButtons[button];
}

int o3DGetMouseWheel(void)
{
    return sMouse.wheelTotal;
}

int o3DGetMouseWheelDelta(void)
{
    return sMouse.wheelDelta;
}

void o3DAddMouseWheel(int steps)
{
    sMouse.wheelTotal += steps;
}

int o3DMouseInRect(int x, int y, int width, int height)
{
    // Widened, so a far edge past the int range stays on its side instead of wrapping.
    int64_t right = (int64_t)x + width, bottom = (int64_t)y + height;
    return x <= sMouse.x && sMouse.x <= right && y <= sMouse.y && sMouse.y <= bottom;
}

int o3DMouseInCircle(int centreX, int centreY, int radius)
{
    // Wrapping 32-bit arithmetic, as the rule is stated; done unsigned so it is defined.
    uint32_t dx = (uint32_t)sMouse.x - (uint32_t)centreX;
    uint32_t dy = (uint32_t)sMouse.y - (uint32_t)centreY;
    int32_t distance = (int32_t)(dx * dx + dy * dy);
    int32_t reach = (int32_t)((uint32_t)radius * (uint32_t)radius);
    return distance <= reach;
}

void o3DShowCursor(void)
{
    gInputSeam.showCursor(1);
}

void o3DHideCursor(void)
{
    gInputSeam.showCursor(0);
}

void o3DCaptureMouse(void)
{
    if (sMouse.captured)
        return;
    sMouse.captured = 1;
    sMouse.deltaX = sMouse.deltaY = 0;
    gInputSeam.showCursor(0);
}

void o3DReleaseMouse(void)
{
    if (!sMouse.captured)
        return;
    sMouse.captured = 0;
    gInputSeam.showCursor(1);
}

int o3DIsMouseCaptured(void)
{
    return sMouse.captured;
}
