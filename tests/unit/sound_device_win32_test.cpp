// The win32 backend's DirectSound for real (under Wine with ALSA's null device as the sound
// card): the device opens, a loaded sound plays and its play position advances, every control
// DirectSound offers takes the engine's values, a sound played once ends by itself, and closing
// the device under a live sound leaves every later call failing harmlessly.
#include "audio/audio_seam.h"

#include "wav_writer.h"

#include "ostrel3d.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

std::vector<uint8_t> toneWav(uint32_t rate, uint32_t frames, uint16_t bits = 16,
                             uint16_t channels = 1)
{
    WavSpec fixture;
    fixture.rate = rate;
    fixture.bits = bits;
    fixture.channels = channels;
    fixture.samples.assign((size_t)frames * bits / 8 * channels, 0x40);
    return makeWav(fixture);
}

template <class Check> bool eventually(Check check)
{
    for (int tries = 0; tries < 500; ++tries) {
        if (check())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

class DirectSoundDevice : public ::testing::Test {
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(o3DSoundInit(nullptr)) << "DirectSound did not open (no sound card?)";
    }
    void TearDown() override
    {
        o3DSoundShutdown();
    }
};

TEST_F(DirectSoundDevice, ALoopingSoundPlaysAndItsPositionAdvances)
{
    std::vector<uint8_t> bytes = toneWav(44100, 4410);
    TSound sound = {};
    ASSERT_TRUE(o3DLoadSoundFromMemory(&sound, bytes.data(), (int)bytes.size()));
    o3DPlaySoundLooped(&sound);
    EXPECT_TRUE(o3DIsSoundPlaying(&sound));
    EXPECT_TRUE(eventually([&] { return o3DGetSoundPosition(&sound) > 0; }))
        << "the play cursor never moved";
    o3DStopSound(&sound);
    EXPECT_FALSE(o3DIsSoundPlaying(&sound));
    EXPECT_EQ(o3DGetSoundPosition(&sound), 0u);
    o3DFreeSound(&sound);
}

TEST_F(DirectSoundDevice, EveryControlTakesTheEnginesValues)
{
    std::vector<uint8_t> bytes = toneWav(22050, 2205, 8, 2);
    TSound sound = {};
    ASSERT_TRUE(o3DLoadSoundFromMemory(&sound, bytes.data(), (int)bytes.size()));
    void *buffer = sound.buffer;
    for (int hundredths : {-10000, -5000, 0})
        EXPECT_TRUE(gAudioSeam.setVolume(buffer, hundredths)) << hundredths;
    for (int hundredths : {-10000, 3700, 10000})
        EXPECT_TRUE(gAudioSeam.setPan(buffer, hundredths)) << hundredths;
    for (uint32_t hertz : {100u, 11025u, 100000u})
        EXPECT_TRUE(gAudioSeam.setFrequency(buffer, hertz)) << hertz;
    EXPECT_TRUE(gAudioSeam.setPosition(buffer, 2000));
    uint32_t position = 0;
    EXPECT_TRUE(gAudioSeam.getPosition(buffer, &position));
    EXPECT_EQ(position, 2000u);
    o3DSetSoundPosition(&sound, sound.size + 100);
    EXPECT_EQ(o3DGetSoundPosition(&sound), 0u) << "the size itself is the start again";
    o3DFreeSound(&sound);
}

TEST_F(DirectSoundDevice, ASoundPlayedOnceEndsByItself)
{
    std::vector<uint8_t> bytes = toneWav(44100, 4410); // 0.1 s
    TSound sound = {};
    ASSERT_TRUE(o3DLoadSoundFromMemory(&sound, bytes.data(), (int)bytes.size()));
    o3DPlaySound(&sound);
    EXPECT_TRUE(o3DIsSoundPlaying(&sound));
    EXPECT_TRUE(eventually([&] { return !o3DIsSoundPlaying(&sound); }));
    o3DFreeSound(&sound);
}

// The smallest block the reader takes (one 8-bit sample) is below DirectSound's smallest buffer.
TEST_F(DirectSoundDevice, TheSmallestBlockStillLoads)
{
    WavSpec fixture;
    fixture.bits = 8;
    fixture.samples = {0x90};
    std::vector<uint8_t> bytes = makeWav(fixture);
    ASSERT_EQ(bytes.size(), 45u);
    TSound sound = {};
    EXPECT_TRUE(o3DLoadSoundFromMemory(&sound, bytes.data(), (int)bytes.size()));
    EXPECT_EQ(sound.size, 1u);
    o3DFreeSound(&sound);
}

TEST_F(DirectSoundDevice, CallsOnASoundOutlivingTheDeviceFailQuietly)
{
    std::vector<uint8_t> bytes = toneWav(44100, 441);
    TSound sound = {};
    ASSERT_TRUE(o3DLoadSoundFromMemory(&sound, bytes.data(), (int)bytes.size()));
    o3DPlaySoundLooped(&sound);
    o3DSoundShutdown();
    o3DPlaySound(&sound);
    EXPECT_EQ(o3DIsSoundPlaying(&sound), 0);
    EXPECT_EQ(o3DGetSoundPosition(&sound), 0u);
    o3DFreeSound(&sound);
    EXPECT_EQ(sound.loaded, 0);
}

} // namespace
