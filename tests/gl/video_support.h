// What the video tests on a real window share: the films they write, a scratch folder for them,
// and hooks at the seam that count the blocking player's passes and act at a chosen pass (hold a
// key, close the window, post a quit), while the real clock still sleeps.
#ifndef O3D_TESTS_VIDEO_SUPPORT_H
#define O3D_TESTS_VIDEO_SUPPORT_H

#include "avi_writer.h"
#include "bmp_writer.h"
#include "gl_test_window.h"

#include "platform/seam.h"

#include <functional>

static const int kVideoWindowWidth = 320;
static const int kVideoWindowHeight = 240;
static const AviColour kTopEarly = {200, 40, 120};
static const AviColour kTopLate = {40, 90, 220};
static const AviColour kBottom = {30, 160, 60};

// One second, 96 x 64: the top half changes colour halfway through, the bottom half stays.
inline AviFilm twoHalvesFilm(void)
{
    AviFilm film;
    film.colourAt = [film](int frame, int, int y) {
        if (y >= film.height / 2)
            return kBottom;
        return frame < film.frames / 2 ? kTopEarly : kTopLate;
    };
    return film;
}

// Sends the window the message its close button sends (window_input_<backend>.cpp).
void requestWindowClose(void *window);
// Presses (1) or releases (0) the space bar as the keyboard does.
void pressSpace(void *window, int down);

struct PassHooks {
    int passes = 0;
    int keyQueries = 0;
    int spaceAtPass = -1; // the space bar goes down at this pass
    int quitAtPass = -1;  // o3DQuit is called at this pass
    int closeAtPass = -1; // the window is closed at this pass
};

inline PassHooks gPass;

inline void countPass(uint32_t ms)
{
    ++gPass.passes;
    if (gPass.passes == gPass.quitAtPass)
        o3DQuit();
    if (gPass.passes == gPass.closeAtPass)
        requestWindowClose(o3DGetWindowHandle());
    if (gPass.passes == gPass.spaceAtPass)
        pressSpace(o3DGetWindowHandle(), 1);
    kNativeClockSeam.sleepMs(ms);
}

inline int countedKeyDown(int code)
{
    ++gPass.keyQueries;
    return kNativeInputSeam.keyDown(code);
}

inline void installPassHooks(void)
{
    gPass = PassHooks();
    gClockSeam.sleepMs = countPass;
    gInputSeam.keyDown = countedKeyDown;
}

// Runs the non-blocking API's loop until `done` or a bound of passes; false when the bound hit.
inline bool pumpVideoUntil(TVideo *video, const std::function<bool()> &done, int maxPasses = 1000)
{
    for (int pass = 0; pass < maxPasses; ++pass) {
        o3DProcessMessages();
        o3DVideoUpdate(video);
        if (done())
            return true;
        kNativeClockSeam.sleepMs(10);
    }
    return false;
}

#endif
