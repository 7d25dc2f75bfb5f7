// The video system and the per-film operations: the record's flags, the clamps and the unit
// conversions (seconds to 100-ns units, percent to hundredths of a decibel). Everything the
// media framework does is reached through the video seam (video/video_seam.h).
#include "ostrel3d.h"

#include "video/video_seam.h"

#include <math.h>
#include <string.h>

static const int kMaxVolumePercent = 100;
static const int kAttenuationPerPercent = 100;    // hundredths of a decibel per percent below 100
static const double kMillibelsPerDecade = 2000.0; // 20 dB per factor of ten in amplitude

struct VideoSystem {
    int available;
};

static VideoSystem sVideo = {0};

VideoSeam gVideoSeam = kNativeVideoSeam;

void videoResetSeam(void)
{
    gVideoSeam = kNativeVideoSeam;
}

double videoGainFromAttenuation(int attenuation)
{
    if (attenuation <= kVideoSilentAttenuation)
        return 0.0;
    if (attenuation >= kVideoFullAttenuation)
        return 1.0;
    return pow(10.0, attenuation / kMillibelsPerDecade);
}

static int isOpen(const TVideo *video)
{
    return video && video->open;
}

static void start(TVideo *video, int looping)
{
    if (!isOpen(video))
        return;
    video->looping = looping;
    video->finished = 0;
    gVideoSeam.setVisible(video->media, 1);
    gVideoSeam.run(video->media);
    video->playing = 1;
    video->paused = 0;
}

int o3DVideoInit(void)
{
    if (sVideo.available)
        return 1;
    if (!gVideoSeam.startup())
        return 0;
    sVideo.available = 1;
    return 1;
}

void o3DVideoShutdown(void)
{
    if (!sVideo.available)
        return;
    gVideoSeam.shutdown();
    sVideo.available = 0;
}

int o3DIsVideoAvailable(void)
{
    return sVideo.available;
}

int o3DOpenVideo(TVideo *video, void *owner, const char *fileName)
{
    if (!video || !fileName)
        return 0;
    if (!sVideo.available && !o3DVideoInit())
        return 0;
    memset(video, 0, sizeof *video);
    int width = 0, height = 0;
    void *media = gVideoSeam.open(owner, fileName, &width, &height);
    if (!media)
        return 0;
    video->media = media;
    video->owner = owner;
    video->width = width;
    video->height = height;
    video->open = 1;
    strncpy(video->fileName, fileName, sizeof video->fileName - 1);
    video->fileName[sizeof video->fileName - 1] = '\0';
    return 1;
}

void o3DCloseVideo(TVideo *video)
{
    if (!isOpen(video))
        return;
    if (video->playing)
        o3DVideoStop(video);
    gVideoSeam.close(video->media);
    video->media = nullptr;
    video->open = 0;
}

void o3DVideoPlay(TVideo *video)
{
    start(video, 0);
}

void o3DVideoPlayLooped(TVideo *video)
{
    start(video, 1);
}

void o3DVideoStop(TVideo *video)
{
    if (!isOpen(video))
        return;
    gVideoSeam.stop(video->media);
    gVideoSeam.setVisible(video->media, 0);
    gVideoSeam.setPosition(video->media, 0);
    video->playing = 0;
    video->paused = 0;
    video->finished = 1;
}

void o3DVideoPause(TVideo *video)
{
    if (!isOpen(video) || !video->playing || video->paused)
        return;
    gVideoSeam.pause(video->media);
    video->paused = 1;
}

void o3DVideoResume(TVideo *video)
{
    if (!isOpen(video) || !video->paused)
        return;
    gVideoSeam.run(video->media);
    video->paused = 0;
}

void o3DVideoRewind(TVideo *video)
{
    if (isOpen(video))
        gVideoSeam.setPosition(video->media, 0);
}

void o3DVideoSeek(TVideo *video, double seconds)
{
    if (!isOpen(video))
        return;
    // Truncated toward zero, as the conversion to an integer count does.
    gVideoSeam.setPosition(video->media, (int64_t)(seconds * (double)kVideoUnitsPerSecond));
}

double o3DVideoGetPosition(TVideo *video)
{
    if (!isOpen(video))
        return 0.0;
    return (double)gVideoSeam.position(video->media) / (double)kVideoUnitsPerSecond;
}

double o3DVideoGetDuration(TVideo *video)
{
    if (!isOpen(video))
        return 0.0;
    return (double)gVideoSeam.duration(video->media) / (double)kVideoUnitsPerSecond;
}

void o3DVideoSetVolumeRaw(TVideo *video, int attenuation)
{
    if (!isOpen(video))
        return;
    if (attenuation < kVideoSilentAttenuation)
        attenuation = kVideoSilentAttenuation;
    if (attenuation > kVideoFullAttenuation)
        attenuation = kVideoFullAttenuation;
    gVideoSeam.setVolume(video->media, attenuation);
}

void o3DVideoSetVolume(TVideo *video, int percent)
{
    if (percent < 0)
        percent = 0;
    if (percent > kMaxVolumePercent)
        percent = kMaxVolumePercent;
    // 0 % is silence, not the -100 dB that the straight line would give.
    int attenuation = percent == 0 ? kVideoSilentAttenuation
                                   : (percent - kMaxVolumePercent) * kAttenuationPerPercent;
    o3DVideoSetVolumeRaw(video, attenuation);
}

void o3DVideoMute(TVideo *video, int mute)
{
    o3DVideoSetVolumeRaw(video, mute ? kVideoSilentAttenuation : kVideoFullAttenuation);
}

void o3DVideoSetRect(TVideo *video, int x, int y, int width, int height)
{
    if (isOpen(video))
        gVideoSeam.setRect(video->media, x, y, width, height);
}

void o3DVideoSetFullscreen(TVideo *video, int fullscreen)
{
    if (isOpen(video))
        gVideoSeam.setFullscreen(video->media, fullscreen ? 1 : 0);
}

void o3DVideoSetVisible(TVideo *video, int visible)
{
    if (isOpen(video))
        gVideoSeam.setVisible(video->media, visible ? 1 : 0);
}

void o3DVideoCenter(TVideo *video, int areaWidth, int areaHeight)
{
    if (!isOpen(video))
        return;
    // Integer halves truncate toward zero, so a larger picture is cropped evenly.
    int x = (areaWidth - video->width) / 2;
    int y = (areaHeight - video->height) / 2;
    gVideoSeam.setRect(video->media, x, y, video->width, video->height);
}

int o3DVideoIsPlaying(TVideo *video)
{
    return isOpen(video) && video->playing && !video->paused;
}

int o3DVideoIsPaused(TVideo *video)
{
    return isOpen(video) ? video->paused : 0;
}

int o3DVideoIsFinished(TVideo *video)
{
    return isOpen(video) ? video->finished : 0;
}

// Drains the film's events; shared by o3DVideoUpdate and the blocking player.
void videoTakeEvents(TVideo *video)
{
    if (!isOpen(video) || !video->playing)
        return;
    int ended = 0;
    while (gVideoSeam.takeEvent(video->media, &ended)) {
        if (!ended)
            continue;
        if (video->looping) {
            // Stopped before the rewind: Wine's DirectShow ignores a seek made after the end
            // while the graph still runs, and a stopped graph restarts on every framework.
            gVideoSeam.stop(video->media);
            gVideoSeam.setPosition(video->media, 0);
            gVideoSeam.run(video->media);
        } else {
            video->playing = 0;
            video->finished = 1;
        }
        ended = 0;
    }
}

void o3DVideoUpdate(TVideo *video)
{
    if (!isOpen(video))
        return;
    videoTakeEvents(video);
    gVideoSeam.present(video->media, 0);
}
