// Builds sounds from WAV files and blocks: the readers of audio/wav.h find the samples, a device
// buffer of exactly that size is made and filled, and the record describes it. Every failure
// leaves the record zeroed and nothing allocated; the samples are never copied twice.
#include "audio/audio_internal.h"
#include "audio/audio_seam.h"
#include "audio/wav.h"

#include <stdio.h>
#include <string.h>

static const char kMemoryName[] = "[memory]";

struct LockedBuffer {
    void *first, *second;
    uint32_t firstBytes, secondBytes;
};

static void clearRecord(TSound *sound)
{
    audioUnlist(sound);
    memset(sound, 0, sizeof *sound);
}

static void *createBufferFor(const WavLayout *layout)
{
    if (!wavFormatPlayable(&layout->format))
        return nullptr;
    AudioFormat format = {layout->format.channels, layout->format.sampleRate,
                          layout->format.bitsPerSample};
    return gAudioSeam.createBuffer(&format, layout->dataBytes);
}

static void describe(TSound *sound, void *buffer, const WavLayout *layout, const char *name)
{
    sound->buffer = buffer;
    sound->size = layout->dataBytes;
    sound->sampleRate = layout->format.sampleRate;
    sound->channels = layout->format.channels;
    sound->bitsPerSample = layout->format.bitsPerSample;
    sound->loaded = 1;
    strncpy(sound->name, name, sizeof sound->name - 1);
    sound->name[sizeof sound->name - 1] = '\0';
}

// Reads the samples straight from the file into the locked buffer.
static int fillFromFile(void *buffer, FILE *file, uint32_t dataBytes)
{
    LockedBuffer lock;
    if (!gAudioSeam.lock(buffer, &lock.first, &lock.firstBytes, &lock.second, &lock.secondBytes))
        return 0;
    uint32_t wanted = lock.firstBytes < dataBytes ? lock.firstBytes : dataBytes;
    size_t got = fread(lock.first, 1, wanted, file);
    int ok = got == wanted || !ferror(file);
    gAudioSeam.unlock(buffer, lock.first, lock.firstBytes, lock.second, lock.secondBytes);
    return ok;
}

static int fillFromMemory(void *buffer, const unsigned char *samples, uint32_t dataBytes)
{
    LockedBuffer lock;
    if (!gAudioSeam.lock(buffer, &lock.first, &lock.firstBytes, &lock.second, &lock.secondBytes))
        return 0;
    uint32_t first = lock.firstBytes < dataBytes ? lock.firstBytes : dataBytes;
    memcpy(lock.first, samples, first);
    if (lock.second && lock.secondBytes) {
        uint32_t second =
            dataBytes - first < lock.secondBytes ? dataBytes - first : lock.secondBytes;
        memcpy(lock.second, samples + first, second);
    }
    gAudioSeam.unlock(buffer, lock.first, lock.firstBytes, lock.second, lock.secondBytes);
    return 1;
}

int o3DLoadSoundFile(TSound *sound, const char *path)
{
    if (!audioDeviceOpen() || !sound || !path)
        return 0;
    clearRecord(sound);
    FILE *file = fopen(path, "rb");
    if (!file)
        return 0;
    WavLayout layout;
    void *buffer = nullptr;
    int ok = wavParseFile(file, &layout) && (buffer = createBufferFor(&layout)) != nullptr &&
             fillFromFile(buffer, file, layout.dataBytes);
    fclose(file);
    if (!ok) {
        if (buffer)
            gAudioSeam.releaseBuffer(buffer);
        return 0;
    }
    describe(sound, buffer, &layout, path);
    return 1;
}

int o3DLoadSoundFromMemory(TSound *sound, const void *bytes, int size)
{
    if (!audioDeviceOpen() || !sound || !bytes || size < (int)kWavSmallestBlockBytes)
        return 0;
    clearRecord(sound);
    const unsigned char *block = (const unsigned char *)bytes;
    WavLayout layout;
    if (!wavParseMemory(block, (size_t)size, &layout))
        return 0;
    void *buffer = createBufferFor(&layout);
    if (!buffer)
        return 0;
    if (!fillFromMemory(buffer, block + layout.dataOffset, layout.dataBytes)) {
        gAudioSeam.releaseBuffer(buffer);
        return 0;
    }
    describe(sound, buffer, &layout, kMemoryName);
    return 1;
}
