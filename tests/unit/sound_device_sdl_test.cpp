// The sdl backend's sound device for real, with SDL's "disk" audio driver writing the mixed
// output to a file in real time: a played sound's samples appear at the expected level, pan
// moves the level between the sides, volume 0 and stop are silent, a sound played once ends by
// itself, and without a device every call fails quietly.
#include "bmp_writer.h"
#include "wav_writer.h"

#include "ostrel3d.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <thread>

namespace {

const uint32_t kBufferBytes = 1024 * 4; // one device buffer of 16-bit stereo frames
const int16_t kLevel = 8000;

long fileSize(const std::string &path)
{
    FILE *file = fopen(path.c_str(), "rb");
    if (!file)
        return 0;
    fseek(file, 0, SEEK_END);
    long size = ftell(file);
    fclose(file);
    return size;
}

class SdlSoundDevice : public ::testing::Test {
  protected:
    ScratchFolder folder;
    std::string output = folder.file("mixed.raw");
    TSound tone = {};

    void SetUp() override
    {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
        ASSERT_TRUE(o3DSoundInit(nullptr));
        WavSpec fixture;
        fixture.rate = 44100;
        fixture.samples = samples16(std::vector<int16_t>(441, kLevel));
        std::vector<uint8_t> bytes = makeWav(fixture);
        ASSERT_TRUE(o3DLoadSoundFromMemory(&tone, bytes.data(), (int)bytes.size()));
    }
    void TearDown() override
    {
        o3DFreeSound(&tone);
        o3DSoundShutdown();
    }

    // The frames written after everything mixed before now has reached the file: the driver may
    // hold one buffer in its hands and stdio one more, so four buffers are skipped, four read.
    std::vector<int16_t> framesFromNow()
    {
        long start = fileSize(output) + 4 * kBufferBytes;
        long end = start + 4 * kBufferBytes;
        for (int tries = 0; tries < 1000 && fileSize(output) < end; ++tries)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::vector<int16_t> frames((size_t)(end - start) / 2);
        FILE *file = fopen(output.c_str(), "rb");
        EXPECT_NE(file, nullptr);
        if (!file)
            return {};
        fseek(file, start, SEEK_SET);
        size_t got = fread(frames.data(), 2, frames.size(), file);
        fclose(file);
        EXPECT_EQ(got, frames.size()) << "the device stopped writing";
        return frames;
    }
    // Every left sample equals `left` and every right sample `right`.
    static void expectLevels(const std::vector<int16_t> &frames, int16_t left, int16_t right)
    {
        ASSERT_FALSE(frames.empty());
        size_t wrong = 0;
        for (size_t i = 0; i < frames.size(); i += 2)
            wrong += frames[i] != left || frames[i + 1] != right;
        EXPECT_EQ(wrong, 0u) << "first frame " << frames[0] << ", " << frames[1];
    }
};

TEST_F(SdlSoundDevice, ALoopingSoundIsHeardAtItsLevelAndPanMovesIt)
{
    expectLevels(framesFromNow(), 0, 0);
    o3DPlaySoundLooped(&tone);
    expectLevels(framesFromNow(), kLevel, kLevel);
    EXPECT_TRUE(o3DIsSoundPlaying(&tone));
    o3DSetSoundPan(&tone, 20); // the left side 20 dB down
    expectLevels(framesFromNow(), kLevel / 10, kLevel);
    o3DSetSoundPan(&tone, -100);
    expectLevels(framesFromNow(), kLevel, 0);
}

TEST_F(SdlSoundDevice, VolumeZeroMasterVolumeAndStopSilence)
{
    o3DPlaySoundLooped(&tone);
    o3DSetSoundVolume(&tone, 80);
    expectLevels(framesFromNow(), kLevel / 10, kLevel / 10);
    o3DSetSoundVolume(&tone, 0);
    expectLevels(framesFromNow(), 0, 0);
    o3DSetSoundVolume(&tone, 100);
    o3DSetMasterVolume(80);
    expectLevels(framesFromNow(), kLevel / 10, kLevel / 10);
    o3DSetMasterVolume(100);
    o3DStopSound(&tone);
    EXPECT_FALSE(o3DIsSoundPlaying(&tone));
    expectLevels(framesFromNow(), 0, 0);
}

TEST_F(SdlSoundDevice, ASoundPlayedOnceAdvancesAndEndsByItself)
{
    TSound second = {};
    WavSpec fixture;
    fixture.rate = 22050;
    fixture.samples = samples16(std::vector<int16_t>(22050 / 5, kLevel)); // 0.2 s
    std::vector<uint8_t> bytes = makeWav(fixture);
    ASSERT_TRUE(o3DLoadSoundFromMemory(&second, bytes.data(), (int)bytes.size()));
    o3DPlaySound(&second);
    unsigned int moved = 0;
    for (int tries = 0; tries < 1000 && !moved; ++tries) {
        moved = o3DGetSoundPosition(&second);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_GT(moved, 0u) << "the play position never advanced";
    int playing = 1;
    for (int tries = 0; tries < 1000 && playing; ++tries) {
        playing = o3DIsSoundPlaying(&second);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(playing, 0) << "the sound never ended";
    EXPECT_EQ(o3DGetSoundPosition(&second), 0u);
    o3DFreeSound(&second);
}

TEST(SdlSoundWithoutDevice, InitFailsAndEveryCallIsHarmless)
{
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_FALSE(o3DSoundInit(nullptr));
    EXPECT_FALSE(o3DIsSoundAvailable());
    std::vector<uint8_t> bytes = makeWav(WavSpec{});
    TSound sound = {};
    EXPECT_FALSE(o3DLoadSoundFromMemory(&sound, bytes.data(), (int)bytes.size()));
    o3DPlaySound(&sound);
    o3DSetMasterVolume(20);
    EXPECT_EQ(o3DGetMasterVolume(), 100);
    EXPECT_EQ(o3DIsSoundPlaying(&sound), 0);
    o3DSoundShutdown();
}

} // namespace
