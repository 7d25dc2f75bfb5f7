// The music record: one sound loaded from a file, played with its own loop flag and a playing
// flag that follows the caller's play and stop rather than the device.
#include "audio/audio_internal.h"
#include "audio/audio_seam.h"

#include <string.h>

static int usable(const TMusic *music)
{
    return music && music->loaded;
}

int o3DLoadMusic(TMusic *music, const char *path)
{
    if (!music || !path)
        return 0;
    memset(music, 0, sizeof *music);
    TSound scratch;
    memset(&scratch, 0, sizeof scratch);
    if (!o3DLoadSoundFile(&scratch, path))
        return 0;
    music->buffer = scratch.buffer;
    music->size = scratch.size;
    music->sampleRate = scratch.sampleRate;
    music->channels = scratch.channels;
    music->bitsPerSample = scratch.bitsPerSample;
    music->loaded = 1;
    strncpy(music->name, path, sizeof music->name - 1);
    music->name[sizeof music->name - 1] = '\0';
    return 1;
}

void o3DFreeMusic(TMusic *music)
{
    if (!music)
        return;
    if (music->loaded) {
        gAudioSeam.stop(music->buffer);
        gAudioSeam.releaseBuffer(music->buffer);
    }
    memset(music, 0, sizeof *music);
}

// The playing flag is set whatever the device answers: it records what the game asked for.
void o3DPlayMusic(TMusic *music, int loop)
{
    if (!usable(music))
        return;
    music->loop = loop;
    gAudioSeam.setPosition(music->buffer, 0);
    gAudioSeam.play(music->buffer, loop ? 1 : 0);
    music->playing = 1;
}

void o3DStopMusic(TMusic *music)
{
    if (!usable(music))
        return;
    gAudioSeam.stop(music->buffer);
    gAudioSeam.setPosition(music->buffer, 0);
    music->playing = 0;
}

void o3DPauseMusic(TMusic *music)
{
    if (usable(music))
        gAudioSeam.stop(music->buffer);
}

void o3DResumeMusic(TMusic *music)
{
    if (usable(music))
        gAudioSeam.play(music->buffer, music->loop ? 1 : 0);
}

void o3DSetMusicVolume(TMusic *music, int volume)
{
    if (usable(music))
        gAudioSeam.setVolume(music->buffer, audioVolumeToHundredths(volume));
}

int o3DIsMusicPlaying(TMusic *music)
{
    int playing = 0;
    if (!usable(music) || !gAudioSeam.getStatus(music->buffer, &playing))
        return 0;
    return playing ? 1 : 0;
}
