// A sound device for unit tests: each buffer is a plain record holding its samples and the last
// value of every control, and every call is counted. Calls fail on demand, so the engine's
// handling of a refusing device shows. installFakeAudio() points every entry of the sound seam
// here; audioResetSeam() undoes it.
#ifndef O3D_TESTS_FAKE_AUDIO_H
#define O3D_TESTS_FAKE_AUDIO_H

#include "audio/audio_seam.h"

#include <string>
#include <vector>

struct FakeBuffer {
    AudioFormat format;
    std::vector<unsigned char> samples;
    uint32_t position = 0;
    int playing = 0, looping = 0;
    int volume = 0, pan = 0;
    uint32_t frequency = 0;
    int locked = 0;
};

struct FakeAudio {
    int openSucceeds = 1;
    int isOpen = 0;
    void *openedFor = nullptr;
    int createSucceeds = 1, lockSucceeds = 1, playSucceeds = 1, statusSucceeds = 1;
    int masterVolume = 0, masterVolumeCalls = 0;
    int liveBuffers = 0;
    std::vector<std::string> calls; // "play", "stop", "setPosition 0", ... in order
};

extern FakeAudio gFakeAudio;

// Resets gFakeAudio to its defaults and installs it in the sound seam.
void installFakeAudio(void);

inline FakeBuffer *fakeBuffer(void *buffer)
{
    return (FakeBuffer *)buffer;
}

#endif
