// Inside assetgen: the small synthesiser the sounds and the film's sound track share.
#ifndef ASSETGEN_SOUND_SYNTH_H
#define ASSETGEN_SOUND_SYNTH_H

#include "assetgen.h"

enum { kSoundRate = 22050 };

struct Synth {
    Lcg random;
    float noise(); // white, -1..1
};

struct OnePole {
    float state = 0;
    float lowPass(float x, float cutoffHz);
};

// A state-variable band-pass; damping 0..2, smaller rings longer.
struct BandPass {
    float low = 0, band = 0;
    float run(float x, float centreHz, float damping);
};

// 16-bit mono PCM at kSoundRate, samples -1..1 (clipped).
Bytes wavBytes(const std::vector<float> &samples);

#endif
