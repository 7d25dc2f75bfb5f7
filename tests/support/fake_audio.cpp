// The recording sound device behind fake_audio.h.
#include "fake_audio.h"

FakeAudio gFakeAudio;

static void note(const std::string &call)
{
    gFakeAudio.calls.push_back(call);
}

static int fakeOpen(void *window)
{
    note("open");
    if (!gFakeAudio.openSucceeds)
        return 0;
    gFakeAudio.isOpen = 1;
    gFakeAudio.openedFor = window;
    return 1;
}

static void fakeClose(void)
{
    note("close");
    gFakeAudio.isOpen = 0;
}

static int fakeSetMasterVolume(int hundredths)
{
    ++gFakeAudio.masterVolumeCalls;
    gFakeAudio.masterVolume = hundredths;
    return 1;
}

static void *fakeCreateBuffer(const AudioFormat *format, uint32_t bytes)
{
    note("create " + std::to_string(bytes));
    if (!gFakeAudio.createSucceeds)
        return nullptr;
    FakeBuffer *buffer = new FakeBuffer;
    buffer->format = *format;
    buffer->samples.assign(bytes, 0xEE);
    buffer->frequency = format->sampleRate;
    ++gFakeAudio.liveBuffers;
    return buffer;
}

static void fakeReleaseBuffer(void *buffer)
{
    note("release");
    if (buffer) {
        delete fakeBuffer(buffer);
        --gFakeAudio.liveBuffers;
    }
}

static int fakeLock(void *buffer, void **first, uint32_t *firstBytes, void **second,
                    uint32_t *secondBytes)
{
    note("lock");
    if (!gFakeAudio.lockSucceeds)
        return 0;
    FakeBuffer *b = fakeBuffer(buffer);
    b->locked = 1;
    *first = b->samples.data();
    *firstBytes = (uint32_t)b->samples.size();
    *second = nullptr;
    *secondBytes = 0;
    return 1;
}

static void fakeUnlock(void *buffer, void *, uint32_t, void *, uint32_t)
{
    note("unlock");
    fakeBuffer(buffer)->locked = 0;
}

static int fakePlay(void *buffer, int looping)
{
    note(looping ? "play looping" : "play");
    if (!gFakeAudio.playSucceeds)
        return 0;
    fakeBuffer(buffer)->playing = 1;
    fakeBuffer(buffer)->looping = looping;
    return 1;
}

static int fakeStop(void *buffer)
{
    note("stop");
    fakeBuffer(buffer)->playing = 0;
    return 1;
}

static int fakeSetPosition(void *buffer, uint32_t bytes)
{
    note("setPosition " + std::to_string(bytes));
    fakeBuffer(buffer)->position = bytes;
    return 1;
}

static int fakeGetPosition(void *buffer, uint32_t *bytes)
{
    if (!gFakeAudio.statusSucceeds)
        return 0;
    *bytes = fakeBuffer(buffer)->position;
    return 1;
}

static int fakeGetStatus(void *buffer, int *playing)
{
    if (!gFakeAudio.statusSucceeds)
        return 0;
    *playing = fakeBuffer(buffer)->playing;
    return 1;
}

static int fakeSetVolume(void *buffer, int hundredths)
{
    note("setVolume " + std::to_string(hundredths));
    fakeBuffer(buffer)->volume = hundredths;
    return 1;
}

static int fakeSetPan(void *buffer, int hundredths)
{
    note("setPan " + std::to_string(hundredths));
    fakeBuffer(buffer)->pan = hundredths;
    return 1;
}

static int fakeSetFrequency(void *buffer, uint32_t hertz)
{
    note("setFrequency " + std::to_string(hertz));
    fakeBuffer(buffer)->frequency = hertz;
    return 1;
}

void installFakeAudio(void)
{
    gFakeAudio = FakeAudio();
    gAudioSeam = {fakeOpen,          fakeClose,       fakeSetMasterVolume, fakeCreateBuffer,
                  fakeReleaseBuffer, fakeLock,        fakeUnlock,          fakePlay,
                  fakeStop,          fakeSetPosition, fakeGetPosition,     fakeGetStatus,
                  fakeSetVolume,     fakeSetPan,      fakeSetFrequency};
}
