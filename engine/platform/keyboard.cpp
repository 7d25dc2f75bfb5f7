// Keyboard polling: the state of every virtual-key code at this sample and at the one before,
// so callers can ask for held keys and for the edges of this frame.
#include "ostrel3d.h"

#include "platform/seam.h"

#include <string.h>

static const int kKeyCount = 256;

struct KeyboardState {
    unsigned char current[kKeyCount];
    unsigned char previous[kKeyCount];
};

static KeyboardState sKeys;

static int isKeyCode(int code)
{
    return code >= 0 && code < kKeyCount;
}

void o3DInitKeyboard(void)
{
    memset(&sKeys, 0, sizeof sKeys);
}

void o3DClearKeys(void)
{
    memset(&sKeys, 0, sizeof sKeys);
}

void o3DUpdateKeyboard(void)
{
    memcpy(sKeys.previous, sKeys.current, sizeof sKeys.current);
    for (int code = 0; code < kKeyCount; ++code)
        sKeys.current[code] = gInputSeam.keyDown(code) ? 1 : 0;
}

int o3DKeyDown(int code)
{
    return isKeyCode(code) ? sKeys.current[code] : 0;
}

int o3DKeyPressed(int code)
{
    return isKeyCode(code) && sKeys.current[code] && !sKeys.previous[code];
}

int o3DKeyReleased(int code)
{
    return isKeyCode(code) && !sKeys.current[code] && sKeys.previous[code];
}

int o3DAnyKeyPressed(void)
{
    for (int code = 0; code < kKeyCount; ++code)
        if (o3DKeyPressed(code))
            return 1;
    return 0;
}
