// Holds the live sound seam table, initialised from the backend that the build links.
#include "audio/audio_seam.h"

PlatformAudioSeam gAudioSeam = kNativeAudioSeam;

void audioResetSeam(void)
{
    gAudioSeam = kNativeAudioSeam;
}
