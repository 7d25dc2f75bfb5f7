// The engine's own mixer for the sdl backend. Each voice steps through its samples in 32.32 fixed
// point at its frequency over the output rate, so any speed resamples without drift, and
// interpolates linearly between neighbouring frames (the frame after the last is the first again
// while looping). Levels follow DirectSound: gains are amplitudes of 10^(hundredths / 2000), pan
// attenuates one side only, and -10000 is silence.
#include "audio/sdl/mixer.h"

#include <math.h>
#include <string.h>

static const float kHundredthsPerDecade = 2000.0f; // 20 dB of amplitude per decade, in 1/100 dB
static const int kSilentHundredths = -10000;
static const int kFullPanHundredths = 10000;
static const uint32_t kChunkFrames = 256; // frames summed in float before saturation
static const float kFractionScale = 1.0f / 4294967296.0f;

float mixerGain(int hundredths)
{
    if (hundredths <= kSilentHundredths)
        return 0.0f;
    if (hundredths >= 0)
        return 1.0f;
    return powf(10.0f, (float)hundredths / kHundredthsPerDecade);
}

void mixerPanGains(int pan, float *left, float *right)
{
    if (pan > kFullPanHundredths)
        pan = kFullPanHundredths;
    if (pan < -kFullPanHundredths)
        pan = -kFullPanHundredths;
    *left = pan > 0 ? mixerGain(-pan) : 1.0f;
    *right = pan < 0 ? mixerGain(pan) : 1.0f;
}

static void updateGains(MixerVoice *voice)
{
    float left, right;
    mixerPanGains(voice->pan, &left, &right);
    float volume = mixerGain(voice->volume);
    voice->gain[0] = volume * left;
    voice->gain[1] = volume * right;
}

void mixerInit(Mixer *mixer, uint32_t outputRate)
{
    mixer->voices = nullptr;
    mixer->outputRate = outputRate;
    mixer->masterGain = 1.0f;
}

void mixerAddVoice(Mixer *mixer, MixerVoice *voice, const AudioFormat *format, unsigned char *data,
                   uint32_t bytes)
{
    memset(voice, 0, sizeof *voice);
    voice->data = data;
    voice->bytes = bytes;
    voice->format = *format;
    voice->frameBytes = format->bitsPerSample / 8 * format->channels;
    voice->frames = voice->frameBytes ? bytes / voice->frameBytes : 0;
    mixerSetFrequency(mixer, voice, format->sampleRate);
    updateGains(voice);
    voice->next = mixer->voices;
    if (mixer->voices)
        mixer->voices->previous = voice;
    mixer->voices = voice;
}

void mixerRemoveVoice(Mixer *mixer, MixerVoice *voice)
{
    if (voice->previous)
        voice->previous->next = voice->next;
    else if (mixer->voices == voice)
        mixer->voices = voice->next;
    if (voice->next)
        voice->next->previous = voice->previous;
    voice->previous = voice->next = nullptr;
}

void mixerSetMasterVolume(Mixer *mixer, int hundredths)
{
    mixer->masterGain = mixerGain(hundredths);
}

void mixerPlay(MixerVoice *voice, int looping)
{
    voice->looping = looping ? 1 : 0;
    voice->playing = voice->frames > 0;
}

void mixerStop(MixerVoice *voice)
{
    voice->playing = 0;
}

void mixerSetVolume(MixerVoice *voice, int hundredths)
{
    voice->volume = hundredths;
    updateGains(voice);
}

void mixerSetPan(MixerVoice *voice, int hundredths)
{
    voice->pan = hundredths;
    updateGains(voice);
}

void mixerSetFrequency(const Mixer *mixer, MixerVoice *voice, uint32_t hertz)
{
    voice->frequency = hertz;
    voice->step = mixer->outputRate ? ((uint64_t)hertz << 32) / mixer->outputRate : 0;
}

void mixerSetPosition(MixerVoice *voice, uint32_t bytes)
{
    uint32_t frame = voice->frameBytes ? bytes / voice->frameBytes : 0;
    voice->position = voice->frames ? (uint64_t)(frame % voice->frames) << 32 : 0;
}

uint32_t mixerPosition(const MixerVoice *voice)
{
    return (uint32_t)(voice->position >> 32) * voice->frameBytes;
}

// One sample as a 16-bit value: 8-bit data is unsigned, wider data keeps its top 16 bits.
template <int Bytes> static inline float sampleAt(const unsigned char *p)
{
    if (Bytes == 1)
        return (float)((int)p[0] - 128) * 256.0f;
    return (float)(int16_t)(p[Bytes - 2] | p[Bytes - 1] << 8);
}

template <int Bytes, int Channels>
static void mixVoice(MixerVoice *voice, float *sum, uint32_t frames, float master)
{
    const unsigned char *data = voice->data;
    const uint64_t end = (uint64_t)voice->frames << 32;
    const uint32_t last = voice->frames - 1;
    const uint64_t step = voice->step;
    const float left = voice->gain[0] * master, right = voice->gain[1] * master;
    const size_t frameBytes = (size_t)Bytes * Channels;
    uint64_t position = voice->position;
    for (uint32_t n = 0; n < frames; ++n) {
        uint32_t index = (uint32_t)(position >> 32);
        uint32_t next = index < last ? index + 1 : voice->looping ? 0 : index;
        float t = (float)(uint32_t)position * kFractionScale;
        const unsigned char *a = data + index * frameBytes;
        const unsigned char *b = data + next * frameBytes;
        float a0 = sampleAt<Bytes>(a), b0 = sampleAt<Bytes>(b);
        float first = a0 + (b0 - a0) * t;
        float second = first;
        if (Channels == 2) {
            float a1 = sampleAt<Bytes>(a + Bytes), b1 = sampleAt<Bytes>(b + Bytes);
            second = a1 + (b1 - a1) * t;
        }
        sum[2 * n] += first * left;
        sum[2 * n + 1] += second * right;
        position += step;
        if (position >= end) {
            if (!voice->looping) {
                voice->playing = 0;
                position = 0;
                break;
            }
            position %= end;
        }
    }
    voice->position = position;
}

template <int Bytes>
static void mixVoiceOfWidth(MixerVoice *voice, float *sum, uint32_t frames, float master)
{
    if (voice->format.channels == 2)
        mixVoice<Bytes, 2>(voice, sum, frames, master);
    else
        mixVoice<Bytes, 1>(voice, sum, frames, master);
}

static void mixOne(MixerVoice *voice, float *sum, uint32_t frames, float master)
{
    switch (voice->format.bitsPerSample) {
    case 8:
        mixVoiceOfWidth<1>(voice, sum, frames, master);
        break;
    case 16:
        mixVoiceOfWidth<2>(voice, sum, frames, master);
        break;
    case 24:
        mixVoiceOfWidth<3>(voice, sum, frames, master);
        break;
    case 32:
        mixVoiceOfWidth<4>(voice, sum, frames, master);
        break;
    default:
        voice->playing = 0;
        break;
    }
}

static int16_t saturate(float value)
{
    if (value >= 32767.0f)
        return 32767;
    if (value <= -32768.0f)
        return -32768;
    return (int16_t)lrintf(value);
}

void mixerRender(Mixer *mixer, int16_t *out, uint32_t frames)
{
    float sum[kChunkFrames * 2];
    while (frames > 0) {
        uint32_t chunk = frames < kChunkFrames ? frames : kChunkFrames;
        memset(sum, 0, sizeof(float) * 2 * chunk);
        for (MixerVoice *voice = mixer->voices; voice; voice = voice->next)
            if (voice->playing && voice->frames > 0)
                mixOne(voice, sum, chunk, mixer->masterGain);
        for (uint32_t i = 0; i < chunk * 2; ++i)
            out[i] = saturate(sum[i]);
        out += chunk * 2;
        frames -= chunk;
    }
}
