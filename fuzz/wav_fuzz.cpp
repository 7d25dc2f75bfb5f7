// The WAV readers on any bytes: the block parser and the file parser on the same bytes agree,
// and the sound loaders over them (from memory and from a file, on a stand-in device that counts
// its buffers) give a sound whose buffer holds exactly the samples the layout names, or nothing
// at all: no buffer is left alive after a refusal or after freeing.
#include "ostrel3d.h"

#include "audio/wav.h"

#include "fake_audio.h"
#include "fuzz_support.h"

#include <string.h>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    installFakeAudio();
    FUZZ_CHECK(o3DSoundInit(nullptr) == 1);
    return 0;
}

static void checkLoaded(const TSound *sound, int loaded, int parsed, const WavLayout &layout,
                        const uint8_t *data)
{
    FUZZ_CHECK(!loaded || parsed);
    if (!loaded) {
        FUZZ_CHECK(!sound->loaded && sound->buffer == nullptr && gFakeAudio.liveBuffers == 0);
        return;
    }
    FUZZ_CHECK(wavFormatPlayable(&layout.format));
    FUZZ_CHECK(sound->loaded && sound->size == layout.dataBytes && gFakeAudio.liveBuffers == 1);
    const FakeBuffer *buffer = fakeBuffer(sound->buffer);
    FUZZ_CHECK(buffer->samples.size() == layout.dataBytes);
    FUZZ_CHECK(memcmp(buffer->samples.data(), data + layout.dataOffset, layout.dataBytes) == 0);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The block parser reads exactly the bytes it is given: a copy of their own shows a read
    // past the end.
    uint8_t *block = (uint8_t *)malloc(size ? size : 1);
    memcpy(block, data, size);
    WavLayout fromMemory, fromFile;
    int inMemory = wavParseMemory(block, size, &fromMemory);
    const char *path = fuzzInputFile("input.wav", data, size);
    FILE *file = fopen(path, "rb");
    FUZZ_CHECK(file != nullptr);
    int inFile = wavParseFile(file, &fromFile);
    fclose(file);
    FUZZ_CHECK(inMemory == inFile);
    if (inMemory) {
        FUZZ_CHECK(fromMemory.dataOffset == fromFile.dataOffset &&
                   fromMemory.dataBytes == fromFile.dataBytes);
        FUZZ_CHECK(fromMemory.dataBytes > 0 &&
                   fromMemory.dataOffset + fromMemory.dataBytes <= size);
    }

    gFakeAudio.calls.clear(); // the stand-in logs every call
    TSound sound = {};
    int loaded = o3DLoadSoundFromMemory(&sound, block, (int)size);
    checkLoaded(&sound, loaded, inMemory, fromMemory, data);
    o3DFreeSound(&sound);
    loaded = o3DLoadSoundFile(&sound, path);
    checkLoaded(&sound, loaded, inFile, fromFile, data);
    o3DFreeSound(&sound);
    FUZZ_CHECK(gFakeAudio.liveBuffers == 0);
    free(block);
    return 0;
}
