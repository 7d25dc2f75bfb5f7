// The blocking player that shows the intro: it keeps the thread until the film ends, a skip key
// is down or a quit message arrives, handling the window's messages itself meanwhile (the
// engine's own pump does not run). Built from the per-film operations of video.cpp.
#include "ostrel3d.h"

#include "platform/seam.h"
#include "video/video_seam.h"

static const uint32_t kPassMs = 10; // messages, events and keys are looked at ~100 times a second
static const int kSkipKeys[] = {0x1B, 0x20, 0x0D}; // Esc, Space, Enter (virtual-key codes)

struct PlayerState {
    int quitSeen;
};

static PlayerState sPlayer = {0};

// The window procedure's rules, except that the quit message ends the film.
static void dispatchDuringFilm(PlatformEvent event, int value)
{
    if (event == kEventQuit) {
        sPlayer.quitSeen = 1;
        return;
    }
    platformDispatchEvent(event, value);
}

static int skipKeyDown(void)
{
    for (int code : kSkipKeys)
        if (gInputSeam.keyDown(code))
            return 1;
    return 0;
}

static int play(void *owner, const char *fileName, int skippable, int stretched)
{
    TVideo video;
    if (!o3DOpenVideo(&video, owner, fileName))
        return 0;
    int areaWidth = 0, areaHeight = 0;
    gVideoSeam.ownerSize(owner, &areaWidth, &areaHeight);
    if (stretched)
        o3DVideoSetRect(&video, 0, 0, areaWidth, areaHeight);
    else
        o3DVideoCenter(&video, areaWidth, areaHeight);
    o3DVideoPlay(&video);

    while (!video.finished) {
        sPlayer.quitSeen = 0;
        gWindowSeam.pump(dispatchDuringFilm);
        if (sPlayer.quitSeen) {
            o3DCloseVideo(&video);
            // Queued again once the pump is done, so the game's own loop still sees it and the
            // program ends instead of carrying on to its menus.
            gWindowSeam.postQuit();
            return 0;
        }
        videoTakeEvents(&video);
        if (gVideoSeam.present(video.media, 1))
            gWindowSeam.swapBuffers();
        if (skippable && skipKeyDown())
            break;
        gClockSeam.sleepMs(kPassMs);
    }
    o3DCloseVideo(&video);
    return 1;
}

int o3DPlayVideo(void *owner, const char *fileName, int skippable)
{
    return play(owner, fileName, skippable, 0);
}

int o3DPlayVideoStretched(void *owner, const char *fileName, int skippable)
{
    return play(owner, fileName, skippable, 1);
}
