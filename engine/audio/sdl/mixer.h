// The sdl backend's mixer: gives every sound a voice with DirectSound's buffer semantics (play
// once or looping from a position, stop, status, play position, volume and pan in hundredths of
// a decibel, frequency) and mixes the playing voices into 16-bit stereo frames. Plain arithmetic
// on memory, no SDL: the device file calls mixerRender from SDL's audio thread under its lock,
// and tests call it on known buffers.
#ifndef O3D_AUDIO_SDL_MIXER_H
#define O3D_AUDIO_SDL_MIXER_H

#include "audio/audio_seam.h"

#include <stdint.h>

struct MixerVoice {
    MixerVoice *previous, *next; // in the mixer's list of voices
    unsigned char *data;         // the whole sample data, owned by the voice's creator
    uint32_t bytes;
    AudioFormat format;
    uint32_t frameBytes;
    uint32_t frames;    // whole frames in the data; a trailing partial frame is never played
    uint64_t position;  // in frames, 32.32 fixed point
    uint64_t step;      // frames of the source per output frame, 32.32 fixed point
    uint32_t frequency; // the source rate the voice plays at
    int volume, pan;    // hundredths of a decibel
    float gain[2];      // left and right, volume and pan together
    int playing, looping;
};

struct Mixer {
    MixerVoice *voices;
    uint32_t outputRate;
    float masterGain;
};

// DirectSound's amplitude for an attenuation: 10^(hundredths / 2000), and 0 at -10000 or below.
float mixerGain(int hundredths);
// The amplitudes of the two sides for a pan: the side the pan moves away from is attenuated by
// |pan| hundredths, the other keeps full level.
void mixerPanGains(int pan, float *left, float *right);

void mixerInit(Mixer *mixer, uint32_t outputRate);
// Sets up a stopped voice over `bytes` bytes of samples at position 0, full volume, centred,
// at the format's rate, and links it into the mixer.
void mixerAddVoice(Mixer *mixer, MixerVoice *voice, const AudioFormat *format, unsigned char *data,
                   uint32_t bytes);
void mixerRemoveVoice(Mixer *mixer, MixerVoice *voice);
void mixerSetMasterVolume(Mixer *mixer, int hundredths);

void mixerPlay(MixerVoice *voice, int looping);
void mixerStop(MixerVoice *voice);
void mixerSetVolume(MixerVoice *voice, int hundredths);
void mixerSetPan(MixerVoice *voice, int hundredths);
void mixerSetFrequency(const Mixer *mixer, MixerVoice *voice, uint32_t hertz);
// Byte positions, modulo the size and rounded down to a whole frame.
void mixerSetPosition(MixerVoice *voice, uint32_t bytes);
uint32_t mixerPosition(const MixerVoice *voice);

// Writes `frames` frames of interleaved 16-bit stereo: every playing voice resampled by linear
// interpolation to the output rate, scaled by its gains and the master gain, summed and
// saturated. A voice playing once stops at its end with its position back at 0.
void mixerRender(Mixer *mixer, int16_t *out, uint32_t frames);

#endif
