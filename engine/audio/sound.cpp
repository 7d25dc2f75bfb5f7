// The sound device's state, the list of started sounds and every operation on a sound effect.
// The device is reached only through the sound seam (audio/audio_seam.h); what is decided here,
// down to which failures are ignored, is the same on every backend.
#include "audio/audio_internal.h"
#include "audio/audio_seam.h"

#include <string.h>

static const int kFullVolume = 100;
static const int kFullPan = 100;
static const int kPercent = 100;
static const uint32_t kMinSpeedHertz = 100;
static const uint32_t kMaxSpeedHertz = 100000;

struct SoundDevice {
    int initialised;
    int masterVolume;
    TSound *playing[kPlayingListCapacity];
    int playingCount;
};

static SoundDevice sDevice = {0, kFullVolume, {}, 0};

static int usable(const TSound *sound)
{
    return sound && sound->loaded;
}

// A sound is listed at most once; a full list leaves the sound playing but unlisted.
static void enlist(TSound *sound)
{
    if (!sound || sDevice.playingCount == kPlayingListCapacity)
        return;
    for (int i = 0; i < sDevice.playingCount; ++i)
        if (sDevice.playing[i] == sound)
            return;
    sDevice.playing[sDevice.playingCount++] = sound;
}

void audioUnlist(TSound *sound)
{
    for (int i = 0; i < sDevice.playingCount; ++i) {
        if (sDevice.playing[i] != sound)
            continue;
        memmove(&sDevice.playing[i], &sDevice.playing[i + 1],
                sizeof(TSound *) * (size_t)(sDevice.playingCount - i - 1));
        --sDevice.playingCount;
        return;
    }
}

int audioVolumeToHundredths(int volume)
{
    if (volume <= 0)
        return kSilentHundredths;
    if (volume >= kFullVolume)
        return 0;
    return (volume - kFullVolume) * 100;
}

int audioPanToHundredths(int pan)
{
    if (pan <= -kFullPan)
        return -kFullPanHundredths;
    if (pan >= kFullPan)
        return kFullPanHundredths;
    return pan * 100;
}

uint32_t audioSpeedToHertz(uint32_t sampleRate, int percent)
{
    uint32_t hertz = sampleRate * (uint32_t)percent / kPercent;
    if (hertz < kMinSpeedHertz)
        return kMinSpeedHertz;
    return hertz > kMaxSpeedHertz ? kMaxSpeedHertz : hertz;
}

int audioDeviceOpen(void)
{
    return sDevice.initialised;
}

int audioPlayingCount(void)
{
    return sDevice.playingCount;
}

TSound *audioPlayingAt(int index)
{
    return index >= 0 && index < sDevice.playingCount ? sDevice.playing[index] : nullptr;
}

int o3DSoundInit(void *window)
{
    if (sDevice.initialised)
        return 1;
    if (!gAudioSeam.open(window))
        return 0;
    sDevice.initialised = 1;
    sDevice.playingCount = 0;
    return 1;
}

void o3DSoundShutdown(void)
{
    if (!sDevice.initialised)
        return;
    o3DStopAllSounds();
    gAudioSeam.close();
    sDevice.initialised = 0;
}

int o3DIsSoundAvailable(void)
{
    return sDevice.initialised;
}

void o3DFreeSound(TSound *sound)
{
    if (!sound)
        return;
    if (sound->loaded) {
        gAudioSeam.stop(sound->buffer);
        audioUnlist(sound);
        gAudioSeam.releaseBuffer(sound->buffer);
    }
    memset(sound, 0, sizeof *sound);
}

void o3DPlaySound(TSound *sound)
{
    if (!usable(sound))
        return;
    gAudioSeam.setPosition(sound->buffer, 0);
    if (gAudioSeam.play(sound->buffer, 0))
        enlist(sound);
}

void o3DPlaySoundLooped(TSound *sound)
{
    if (!usable(sound))
        return;
    gAudioSeam.setPosition(sound->buffer, 0);
    if (gAudioSeam.play(sound->buffer, 1))
        enlist(sound);
}

void o3DStopSound(TSound *sound)
{
    if (!usable(sound))
        return;
    gAudioSeam.stop(sound->buffer);
    gAudioSeam.setPosition(sound->buffer, 0);
    audioUnlist(sound);
}

void o3DPauseSound(TSound *sound)
{
    if (usable(sound))
        gAudioSeam.stop(sound->buffer);
}

void o3DResumeSound(TSound *sound)
{
    if (usable(sound) && gAudioSeam.play(sound->buffer, 0))
        enlist(sound);
}

void o3DRewindSound(TSound *sound)
{
    if (usable(sound))
        gAudioSeam.setPosition(sound->buffer, 0);
}

void o3DSetSoundVolume(TSound *sound, int volume)
{
    if (usable(sound))
        gAudioSeam.setVolume(sound->buffer, audioVolumeToHundredths(volume));
}

void o3DSetSoundPan(TSound *sound, int pan)
{
    if (usable(sound))
        gAudioSeam.setPan(sound->buffer, audioPanToHundredths(pan));
}

void o3DSetSoundSpeed(TSound *sound, int percent)
{
    if (usable(sound) && percent > 0)
        gAudioSeam.setFrequency(sound->buffer, audioSpeedToHertz(sound->sampleRate, percent));
}

int o3DIsSoundPlaying(TSound *sound)
{
    int playing = 0;
    if (!usable(sound) || !gAudioSeam.getStatus(sound->buffer, &playing))
        return 0;
    return playing ? 1 : 0;
}

unsigned int o3DGetSoundPosition(TSound *sound)
{
    uint32_t position = 0;
    if (!usable(sound) || !gAudioSeam.getPosition(sound->buffer, &position))
        return 0;
    return position;
}

void o3DSetSoundPosition(TSound *sound, unsigned int position)
{
    if (usable(sound))
        gAudioSeam.setPosition(sound->buffer, position > sound->size ? sound->size : position);
}

void o3DSetMasterVolume(int volume)
{
    if (!sDevice.initialised)
        return;
    sDevice.masterVolume = volume < 0 ? 0 : volume > kFullVolume ? kFullVolume : volume;
    gAudioSeam.setMasterVolume(audioVolumeToHundredths(sDevice.masterVolume));
}

int o3DGetMasterVolume(void)
{
    return sDevice.masterVolume;
}

void o3DStopAllSounds(void)
{
    for (int i = 0; i < sDevice.playingCount; ++i) {
        TSound *sound = sDevice.playing[i];
        if (usable(sound)) {
            gAudioSeam.stop(sound->buffer);
            gAudioSeam.setPosition(sound->buffer, 0);
        }
    }
    sDevice.playingCount = 0;
}

void o3DPauseAllSounds(void)
{
    for (int i = 0; i < sDevice.playingCount; ++i)
        o3DPauseSound(sDevice.playing[i]);
}

void o3DResumeAllSounds(void)
{
    for (int i = 0; i < sDevice.playingCount; ++i)
        o3DResumeSound(sDevice.playing[i]);
}
