// What the sound and music files share, and what tests look at: the device flag, the playing
// list, and the conversions from the engine's whole numbers to the device's units.
#ifndef O3D_AUDIO_INTERNAL_H
#define O3D_AUDIO_INTERNAL_H

#include "ostrel3d.h"

static const int kSilentHundredths = -10000;
static const int kFullPanHundredths = 10000;
static const int kPlayingListCapacity = 64;

// Volume 0..100 in 1 dB steps: at most 0 is silence (-10000), at least 100 is full (0).
int audioVolumeToHundredths(int volume);
// Pan -100..100 in 1 dB steps, saturating at -10000 and 10000.
int audioPanToHundredths(int pan);
// sampleRate x percent / 100 in unsigned 32-bit arithmetic, kept within 100..100000 Hz.
uint32_t audioSpeedToHertz(uint32_t sampleRate, int percent);

int audioDeviceOpen(void);
int audioPlayingCount(void);
TSound *audioPlayingAt(int index);
// Takes a sound out of the playing list if it is there (a loader reusing the record does).
void audioUnlist(TSound *sound);

#endif
