// The sdl backend of the sound seam: an SDL audio device of 16-bit stereo at 44100 Hz whose
// callback runs the engine's mixer on SDL's audio thread. Every call from the main thread takes
// the device's lock only for the few field writes it makes, so it waits at most for one callback
// (1024 frames, about 23 ms, and in practice well under a millisecond of mixing).
#include "audio/audio_seam.h"
#include "audio/sdl/mixer.h"

#include <SDL.h>
#include <stdlib.h>

static const int kOutputRate = 44100;
static const int kOutputChannels = 2;
static const Uint16 kDeviceFrames = 1024;
static const uint32_t kMinFrequencyHertz = 100;
static const uint32_t kMaxFrequencyHertz = 100000;

struct SdlAudio {
    SDL_AudioDeviceID device; // 0 while closed
    Mixer mixer;
};

static SdlAudio sAudio = {0, {nullptr, kOutputRate, 1.0f}};

static void SDLCALL fillStream(void *, Uint8 *stream, int length)
{
    mixerRender(&sAudio.mixer, (int16_t *)stream, (uint32_t)length / (kOutputChannels * 2));
}

static int openDevice(void *)
{
    if (sAudio.device)
        return 1;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return 0;
    SDL_AudioSpec wanted;
    SDL_zero(wanted);
    wanted.freq = kOutputRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = kOutputChannels;
    wanted.samples = kDeviceFrames;
    wanted.callback = fillStream;
    SDL_AudioSpec obtained;
    // No changes allowed: SDL converts to whatever the hardware takes, so the mixer always
    // writes the format above.
    sAudio.device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (!sAudio.device) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return 0;
    }
    sAudio.mixer.masterGain = 1.0f;
    SDL_PauseAudioDevice(sAudio.device, 0);
    return 1;
}

static void closeDevice(void)
{
    if (!sAudio.device)
        return;
    SDL_CloseAudioDevice(sAudio.device);
    sAudio.device = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    for (MixerVoice *voice = sAudio.mixer.voices; voice; voice = voice->next)
        voice->playing = 0;
}

// Runs a change under the device's lock; 0 without a device or a buffer.
template <class Change> static int locked(void *buffer, Change change)
{
    if (!sAudio.device || !buffer)
        return 0;
    SDL_LockAudioDevice(sAudio.device);
    change((MixerVoice *)buffer);
    SDL_UnlockAudioDevice(sAudio.device);
    return 1;
}

static int setMasterVolume(int hundredths)
{
    if (!sAudio.device)
        return 0;
    SDL_LockAudioDevice(sAudio.device);
    mixerSetMasterVolume(&sAudio.mixer, hundredths);
    SDL_UnlockAudioDevice(sAudio.device);
    return 1;
}

// The voice and its samples are one allocation, freed by releaseBuffer.
static void *createBuffer(const AudioFormat *format, uint32_t bytes)
{
    if (!sAudio.device || bytes == 0)
        return nullptr;
    MixerVoice *voice = (MixerVoice *)malloc(sizeof(MixerVoice) + bytes);
    if (!voice)
        return nullptr;
    unsigned char *data = (unsigned char *)(voice + 1);
    SDL_memset(data, format->bitsPerSample == 8 ? 0x80 : 0, bytes);
    SDL_LockAudioDevice(sAudio.device);
    mixerAddVoice(&sAudio.mixer, voice, format, data, bytes);
    SDL_UnlockAudioDevice(sAudio.device);
    return voice;
}

static void releaseBuffer(void *buffer)
{
    if (!buffer)
        return;
    MixerVoice *voice = (MixerVoice *)buffer;
    if (sAudio.device)
        SDL_LockAudioDevice(sAudio.device);
    mixerRemoveVoice(&sAudio.mixer, voice);
    if (sAudio.device)
        SDL_UnlockAudioDevice(sAudio.device);
    free(voice);
}

// The mixer reads only playing voices, and the engine fills a buffer before it first plays it,
// so writing the samples needs no lock.
static int lockBuffer(void *buffer, void **first, uint32_t *firstBytes, void **second,
                      uint32_t *secondBytes)
{
    if (!sAudio.device || !buffer)
        return 0;
    MixerVoice *voice = (MixerVoice *)buffer;
    *first = voice->data;
    *firstBytes = voice->bytes;
    *second = nullptr;
    *secondBytes = 0;
    return 1;
}

static void unlockBuffer(void *, void *, uint32_t, void *, uint32_t)
{
}

static int play(void *buffer, int looping)
{
    return locked(buffer, [&](MixerVoice *voice) { mixerPlay(voice, looping); });
}

static int stop(void *buffer)
{
    return locked(buffer, [](MixerVoice *voice) { mixerStop(voice); });
}

static int setPosition(void *buffer, uint32_t bytes)
{
    return locked(buffer, [&](MixerVoice *voice) { mixerSetPosition(voice, bytes); });
}

static int getPosition(void *buffer, uint32_t *bytes)
{
    return locked(buffer, [&](MixerVoice *voice) { *bytes = mixerPosition(voice); });
}

static int getStatus(void *buffer, int *playing)
{
    return locked(buffer, [&](MixerVoice *voice) { *playing = voice->playing; });
}

static int setVolume(void *buffer, int hundredths)
{
    return locked(buffer, [&](MixerVoice *voice) { mixerSetVolume(voice, hundredths); });
}

static int setPan(void *buffer, int hundredths)
{
    return locked(buffer, [&](MixerVoice *voice) { mixerSetPan(voice, hundredths); });
}

static int setFrequency(void *buffer, uint32_t hertz)
{
    if (hertz < kMinFrequencyHertz || hertz > kMaxFrequencyHertz)
        return 0;
    return locked(buffer,
                  [&](MixerVoice *voice) { mixerSetFrequency(&sAudio.mixer, voice, hertz); });
}

const PlatformAudioSeam kNativeAudioSeam = {
    openDevice,    closeDevice, setMasterVolume, createBuffer,
    releaseBuffer, lockBuffer,  unlockBuffer,    play,
    stop,          setPosition, getPosition,     getStatus,
    setVolume,     setPan,      setFrequency,
};
