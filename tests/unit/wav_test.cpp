// The WAV readers, on blocks and files the tests write: which layouts are taken, where the samples
// are found, and every damaged header refused without reading past the block or the file. Then
// the loaders over a fake device: what a loaded record holds, and that a refusal leaves the record
// zeroed and no buffer behind.
#include "audio/wav.h"

#include "bmp_writer.h"
#include "fake_audio.h"
#include "wav_writer.h"

#include "ostrel3d.h"

#include <gtest/gtest.h>

namespace {

std::vector<uint8_t> fourSamples()
{
    return samples16({100, -200, 300, -400});
}

WavSpec plainSpec()
{
    WavSpec fixture;
    fixture.samples = fourSamples();
    return fixture;
}

WavSpec withChunks(std::vector<WavChunk> chunks)
{
    WavSpec fixture = plainSpec();
    fixture.chunks = std::move(chunks);
    return fixture;
}

std::vector<uint8_t> patched(std::vector<uint8_t> bytes, size_t at, const char *tag)
{
    memcpy(&bytes[at], tag, 4);
    return bytes;
}

struct ParseCase {
    const char *what;
    std::vector<uint8_t> bytes;
    int accepted;
    uint64_t dataOffset; // when accepted
    uint32_t dataBytes;
};

std::vector<ParseCase> parseCases()
{
    std::vector<uint8_t> plain = makeWav(plainSpec());
    WavSpec extended = plainSpec();
    extended.formatExtra = {0, 0};
    WavSpec floating = plainSpec();
    floating.formatTag = 3;
    floating.bits = 32;
    floating.samples.resize(8, 0);
    WavSpec listFirst = plainSpec();
    std::vector<uint8_t> listBeforeFormat = patched(makeWav(listFirst), 12, "LIST");
    WavSpec tooLong = plainSpec();
    tooLong.dataSize = 9;
    WavSpec empty = plainSpec();
    empty.samples.clear();
    WavSpec noData = withChunks({{"LIST", {1, 2, 3, 4}}});
    std::vector<uint8_t> noDataBytes = patched(makeWav(noData), 48, "junk");
    // In 32-bit arithmetic 36 + 0xFFFFFFF8 + 8 wraps to 36: the walk would meet the same chunk
    // again, or with another size, land on a forged "data" chunk that points anywhere.
    WavChunk wrapping = {"LIST", {}, 0xFFFFFFF8u};
    WavChunk wrapToForged = {"LIST", {}, 0xFFFFFFF8u + 8};
    WavSpec forged = withChunks({wrapToForged, {"data", {}, 0x7FFFFFFFu}});
    return {
        {"canonical 16-bit mono", plain, 1, 44, 8},
        {"format chunk of 18 bytes", makeWav(extended), 1, 46, 8},
        {"LIST chunk before data", makeWav(withChunks({{"LIST", {'I', 'N', 'F', 'O'}}})), 1, 56, 8},
        {"odd chunk without pad byte", makeWav(withChunks({{"odd ", {1, 2, 3}}})), 1, 55, 8},
        {"odd chunk with pad byte", makeWav(withChunks({{"odd ", {1, 2, 3, 0}, 3}})), 0, 0, 0},
        {"floating-point format tag", makeWav(floating), 1, 44, 8},
        {"LIST before the format chunk", listBeforeFormat, 0, 0, 0},
        {"not RIFF", patched(plain, 0, "RIFX"), 0, 0, 0},
        {"not WAVE", patched(plain, 8, "AVI "), 0, 0, 0},
        {"data longer than the rest", makeWav(tooLong), 0, 0, 0},
        {"empty data chunk", makeWav(empty), 0, 0, 0},
        {"no data chunk", noDataBytes, 0, 0, 0},
        {"chunk size wrapping the walk", makeWav(withChunks({wrapping})), 0, 0, 0},
        {"chunk size wrapping onto a forged data chunk", makeWav(forged), 0, 0, 0},
        {"data size of 4 GiB - 1",
         [] {
             WavSpec huge = plainSpec();
             huge.dataSize = 0xFFFFFFFFu - 1;
             return makeWav(huge);
         }(),
         0, 0, 0},
        {"header cut inside the format chunk",
         std::vector<uint8_t>(plain.begin(), plain.begin() + 30), 0, 0, 0},
        {"chunk header cut short", std::vector<uint8_t>(plain.begin(), plain.begin() + 40), 0, 0,
         0},
    };
}

TEST(WavParse, MemoryAndFileAgreeOnEveryLayout)
{
    ScratchFolder folder;
    for (const ParseCase &c : parseCases()) {
        SCOPED_TRACE(c.what);
        // An exact-size copy: reading one byte past it is caught by the sanitizer build.
        std::vector<uint8_t> block(c.bytes);
        WavLayout fromMemory = {};
        int memoryResult = wavParseMemory(block.data(), block.size(), &fromMemory);
        EXPECT_EQ(memoryResult, c.accepted);

        std::string path = folder.file("case.wav");
        ASSERT_TRUE(writeBytes(path, c.bytes));
        FILE *file = fopen(path.c_str(), "rb");
        ASSERT_NE(file, nullptr);
        WavLayout fromFile = {};
        int fileResult = wavParseFile(file, &fromFile);
        EXPECT_EQ(fileResult, c.accepted);
        if (c.accepted && fileResult) {
            EXPECT_EQ(ftell(file), (long)c.dataOffset) << "the file stops at the samples";
            EXPECT_EQ(fromFile.dataOffset, c.dataOffset);
            EXPECT_EQ(fromFile.dataBytes, c.dataBytes);
        }
        fclose(file);
        if (c.accepted && memoryResult) {
            EXPECT_EQ(fromMemory.dataOffset, c.dataOffset);
            EXPECT_EQ(fromMemory.dataBytes, c.dataBytes);
        }
    }
}

TEST(WavParse, TakesChannelsRateAndBitsFromTheHeader)
{
    WavSpec fixture;
    fixture.channels = 2;
    fixture.rate = 44100;
    fixture.bits = 8;
    fixture.samples = {1, 2, 3, 4};
    std::vector<uint8_t> bytes = makeWav(fixture);
    WavLayout layout = {};
    ASSERT_TRUE(wavParseMemory(bytes.data(), bytes.size(), &layout));
    EXPECT_EQ(layout.format.channels, 2u);
    EXPECT_EQ(layout.format.sampleRate, 44100u);
    EXPECT_EQ(layout.format.bitsPerSample, 8u);
    EXPECT_EQ(wavBlockAlign(&layout.format), 2u);
}

// The smallest block is a header and one chunk header; the walk needs its chunk header to start
// before size - 8, so 45 bytes (one sample byte) is the first that loads.
TEST(WavParse, MemoryBlockSizeLimits)
{
    WavSpec fixture;
    fixture.bits = 8;
    fixture.samples = {0x80};
    std::vector<uint8_t> bytes = makeWav(fixture);
    ASSERT_EQ(bytes.size(), 45u);
    WavLayout layout = {};
    EXPECT_TRUE(wavParseMemory(bytes.data(), 45, &layout));
    EXPECT_EQ(layout.dataBytes, 1u);
    std::vector<uint8_t> exactly44(bytes.begin(), bytes.begin() + 44);
    EXPECT_FALSE(wavParseMemory(exactly44.data(), 44, &layout));
    std::vector<uint8_t> exactly43(bytes.begin(), bytes.begin() + 43);
    EXPECT_FALSE(wavParseMemory(exactly43.data(), 43, &layout));
}

TEST(WavParse, PlayableFormats)
{
    struct Case {
        WavFormat format;
        int playable;
    } cases[] = {
        {{1, 22050, 8}, 1},  {{2, 44100, 16}, 1},  {{2, 48000, 24}, 1}, {{1, 96000, 32}, 1},
        {{1, 100, 16}, 1},   {{1, 200000, 16}, 1}, {{0, 22050, 16}, 0}, {{3, 22050, 16}, 0},
        {{1, 22050, 12}, 0}, {{1, 22050, 0}, 0},   {{1, 99, 16}, 0},    {{1, 200001, 16}, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(wavFormatPlayable(&c.format), c.playable)
            << c.format.channels << " channels, " << c.format.sampleRate << " Hz, "
            << c.format.bitsPerSample << " bits";
}

class SoundLoad : public ::testing::Test {
  protected:
    ScratchFolder folder;

    void SetUp() override
    {
        installFakeAudio();
        ASSERT_TRUE(o3DSoundInit(nullptr));
    }
    void TearDown() override
    {
        o3DSoundShutdown();
        EXPECT_EQ(gFakeAudio.liveBuffers, 0) << "a buffer was left behind";
        audioResetSeam();
    }

    std::string writeFile(const std::vector<uint8_t> &bytes)
    {
        std::string path = folder.file("sound.wav");
        EXPECT_TRUE(writeBytes(path, bytes));
        return path;
    }

    static TSound garbageRecord()
    {
        TSound sound;
        memset(&sound, 0xAB, sizeof sound);
        return sound;
    }

    static bool allZero(const TSound &sound)
    {
        const unsigned char *p = (const unsigned char *)&sound;
        for (size_t i = 0; i < sizeof sound; ++i)
            if (p[i])
                return false;
        return true;
    }
};

TEST_F(SoundLoad, FileAndMemoryFillTheRecordAndTheBuffer)
{
    WavSpec fixture = plainSpec();
    fixture.formatExtra = {0, 0};
    fixture.chunks = {{"LIST", {'I', 'N', 'F', 'O'}}};
    std::vector<uint8_t> bytes = makeWav(fixture);
    std::string path = writeFile(bytes);

    TSound fromFile = garbageRecord(), fromMemory = garbageRecord();
    ASSERT_TRUE(o3DLoadSoundFile(&fromFile, path.c_str()));
    ASSERT_TRUE(o3DLoadSoundFromMemory(&fromMemory, bytes.data(), (int)bytes.size()));
    for (const TSound *sound : {&fromFile, &fromMemory}) {
        EXPECT_EQ(sound->loaded, 1);
        EXPECT_EQ(sound->size, 8u);
        EXPECT_EQ(sound->sampleRate, 22050u);
        EXPECT_EQ(sound->channels, 1u);
        EXPECT_EQ(sound->bitsPerSample, 16u);
        FakeBuffer *buffer = fakeBuffer(sound->buffer);
        ASSERT_NE(buffer, nullptr);
        EXPECT_EQ(buffer->samples, fourSamples());
        EXPECT_EQ(buffer->format.channels, 1u);
        EXPECT_EQ(buffer->format.sampleRate, 22050u);
        EXPECT_EQ(buffer->format.bitsPerSample, 16u);
        EXPECT_EQ(buffer->locked, 0) << "the buffer is unlocked again";
    }
    EXPECT_STREQ(fromFile.name, path.c_str());
    EXPECT_STREQ(fromMemory.name, "[memory]");
    o3DFreeSound(&fromFile);
    o3DFreeSound(&fromMemory);
    EXPECT_TRUE(allZero(fromFile));
    EXPECT_TRUE(allZero(fromMemory));
}

TEST_F(SoundLoad, EveryRefusalLeavesAZeroedRecordAndNoBuffer)
{
    std::vector<ParseCase> cases = parseCases();
    WavSpec threeChannels = plainSpec();
    threeChannels.channels = 3;
    threeChannels.samples.resize(6);
    WavSpec twelveBits = plainSpec();
    twelveBits.bits = 12;
    cases.push_back({"three channels", makeWav(threeChannels), 0, 0, 0});
    cases.push_back({"12 bits", makeWav(twelveBits), 0, 0, 0});
    for (const ParseCase &c : cases) {
        if (c.accepted)
            continue;
        SCOPED_TRACE(c.what);
        TSound fromFile = garbageRecord(), fromMemory = garbageRecord();
        EXPECT_FALSE(o3DLoadSoundFile(&fromFile, writeFile(c.bytes).c_str()));
        EXPECT_TRUE(allZero(fromFile));
        if (c.bytes.size() >= 44) {
            EXPECT_FALSE(o3DLoadSoundFromMemory(&fromMemory, c.bytes.data(), (int)c.bytes.size()));
            EXPECT_TRUE(allZero(fromMemory));
        }
        EXPECT_EQ(gFakeAudio.liveBuffers, 0);
    }
}

TEST_F(SoundLoad, ADeviceThatRefusesLeavesNothingBehind)
{
    std::vector<uint8_t> bytes = makeWav(plainSpec());
    std::string path = writeFile(bytes);
    for (int failingStep = 0; failingStep < 2; ++failingStep) {
        gFakeAudio.createSucceeds = failingStep != 0;
        gFakeAudio.lockSucceeds = failingStep != 1;
        TSound fromFile = garbageRecord(), fromMemory = garbageRecord();
        EXPECT_FALSE(o3DLoadSoundFile(&fromFile, path.c_str()));
        EXPECT_FALSE(o3DLoadSoundFromMemory(&fromMemory, bytes.data(), (int)bytes.size()));
        EXPECT_TRUE(allZero(fromFile));
        EXPECT_TRUE(allZero(fromMemory));
        EXPECT_EQ(gFakeAudio.liveBuffers, 0) << "step " << failingStep;
    }
}

TEST_F(SoundLoad, MissingFileNullArgumentsAndShortBlocksFail)
{
    std::vector<uint8_t> bytes = makeWav(plainSpec());
    TSound sound = {};
    EXPECT_FALSE(o3DLoadSoundFile(&sound, folder.file("missing.wav").c_str()));
    EXPECT_FALSE(o3DLoadSoundFile(&sound, nullptr));
    EXPECT_FALSE(o3DLoadSoundFile(nullptr, writeFile(bytes).c_str()));
    EXPECT_FALSE(o3DLoadSoundFromMemory(&sound, nullptr, 100));
    EXPECT_FALSE(o3DLoadSoundFromMemory(nullptr, bytes.data(), (int)bytes.size()));
    EXPECT_FALSE(o3DLoadSoundFromMemory(&sound, bytes.data(), -1));
    EXPECT_FALSE(o3DLoadSoundFromMemory(&sound, bytes.data(), 43));
    EXPECT_EQ(gFakeAudio.liveBuffers, 0);
}

TEST_F(SoundLoad, MusicKeepsItsPathAndStartsStopped)
{
    std::string path = folder.file("day.wav");
    ASSERT_TRUE(writeBytes(path, makeWav(plainSpec())));
    TMusic music;
    memset(&music, 0xCD, sizeof music);
    ASSERT_TRUE(o3DLoadMusic(&music, path.c_str()));
    EXPECT_EQ(music.loaded, 1);
    EXPECT_EQ(music.playing, 0);
    EXPECT_EQ(music.loop, 0);
    EXPECT_EQ(music.size, 8u);
    EXPECT_EQ(music.sampleRate, 22050u);
    EXPECT_STREQ(music.name, path.c_str());
    o3DFreeMusic(&music);
    EXPECT_EQ(music.loaded, 0);
    EXPECT_EQ(music.buffer, nullptr);

    memset(&music, 0xCD, sizeof music);
    EXPECT_FALSE(o3DLoadMusic(&music, folder.file("missing.wav").c_str()));
    EXPECT_EQ(music.loaded, 0);
    EXPECT_EQ(music.name[0], '\0');
    EXPECT_FALSE(o3DLoadMusic(nullptr, path.c_str()));
}

TEST(SoundLoadWithoutDevice, NothingLoadsAndTheRecordIsLeftAlone)
{
    installFakeAudio();
    std::vector<uint8_t> bytes = makeWav(plainSpec());
    TSound sound;
    memset(&sound, 0x11, sizeof sound);
    EXPECT_FALSE(o3DLoadSoundFromMemory(&sound, bytes.data(), (int)bytes.size()));
    EXPECT_EQ(sound.loaded, 0x11111111);
    EXPECT_TRUE(gFakeAudio.calls.empty());
    audioResetSeam();
}

} // namespace
