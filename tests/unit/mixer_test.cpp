// The sdl backend's mixer on known buffers, without a device: DirectSound's gain and pan law,
// 8-bit and wider samples made 16-bit, mono and stereo, resampling by frequency, the looping wrap
// and the end of a sound played once, positions in bytes, the master gain and saturation.
#include "audio/sdl/mixer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const uint32_t kRate = 44100;

struct Voice {
    std::vector<unsigned char> data;
    MixerVoice voice;
};

class MixerTest : public ::testing::Test {
  protected:
    Mixer mixer;
    std::vector<Voice *> voices;

    void SetUp() override
    {
        mixerInit(&mixer, kRate);
    }
    void TearDown() override
    {
        for (Voice *v : voices) {
            mixerRemoveVoice(&mixer, &v->voice);
            delete v;
        }
    }
    MixerVoice *add(std::vector<unsigned char> data, uint32_t channels, uint32_t bits,
                    uint32_t rate = kRate)
    {
        Voice *v = new Voice;
        v->data = std::move(data);
        AudioFormat format = {channels, rate, bits};
        mixerAddVoice(&mixer, &v->voice, &format, v->data.data(), (uint32_t)v->data.size());
        voices.push_back(v);
        return &v->voice;
    }
    MixerVoice *add16(const std::vector<int16_t> &samples, uint32_t channels, uint32_t rate = kRate)
    {
        std::vector<unsigned char> bytes;
        for (int16_t s : samples) {
            bytes.push_back((unsigned char)(s & 0xFF));
            bytes.push_back((unsigned char)((uint16_t)s >> 8));
        }
        return add(bytes, channels, 16, rate);
    }
    // Interleaved left, right.
    std::vector<int16_t> render(uint32_t frames)
    {
        std::vector<int16_t> out(frames * 2, 12345);
        mixerRender(&mixer, out.data(), frames);
        return out;
    }
    static std::vector<int16_t> side(const std::vector<int16_t> &out, int channel)
    {
        std::vector<int16_t> one;
        for (size_t i = channel; i < out.size(); i += 2)
            one.push_back(out[i]);
        return one;
    }
};

TEST(MixerLevels, GainIsTenToTheHundredthsOverTwoThousand)
{
    const struct {
        int hundredths;
        float gain;
    } cases[] = {{0, 1.0f},      {500, 1.0f},         {-600, 0.501187f}, {-2000, 0.1f},
                 {-4000, 0.01f}, {-9999, 1.0012e-5f}, {-10000, 0.0f},    {-20000, 0.0f}};
    for (const auto &c : cases)
        EXPECT_NEAR(mixerGain(c.hundredths), c.gain, c.gain * 1e-4f) << c.hundredths;
    const struct {
        int pan;
        float left, right;
    } pans[] = {{0, 1, 1},     {2000, 0.1f, 1}, {-2000, 1, 0.1f},
                {10000, 0, 1}, {-10000, 1, 0},  {30000, 0, 1}};
    for (const auto &p : pans) {
        float left = -1, right = -1;
        mixerPanGains(p.pan, &left, &right);
        EXPECT_NEAR(left, p.left, 1e-5f) << p.pan;
        EXPECT_NEAR(right, p.right, 1e-5f) << p.pan;
    }
}

TEST_F(MixerTest, MonoAtFullVolumeComesOutUnchangedOnBothSides)
{
    MixerVoice *voice = add16({1000, -2000, 32767, -32768}, 1);
    mixerPlay(voice, 0);
    std::vector<int16_t> out = render(6);
    EXPECT_EQ(out, (std::vector<int16_t>{1000, 1000, -2000, -2000, 32767, 32767, -32768, -32768, 0,
                                         0, 0, 0}));
}

TEST_F(MixerTest, VolumeAndPanScaleEachSide)
{
    const struct {
        int volume, pan;
        int16_t left, right;
    } cases[] = {
        {0, 0, 10000, 10000},    {-2000, 0, 1000, 1000},   {0, 2000, 1000, 10000},
        {0, -2000, 10000, 1000}, {-2000, 2000, 100, 1000}, {0, 10000, 0, 10000},
        {0, -10000, 10000, 0},   {-10000, 0, 0, 0},        {-600, 0, 5012, 5012},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "volume " << c.volume << " pan " << c.pan);
        MixerVoice *voice = add16({10000, 10000}, 1);
        mixerSetVolume(voice, c.volume);
        mixerSetPan(voice, c.pan);
        mixerPlay(voice, 1);
        std::vector<int16_t> out = render(1);
        EXPECT_EQ(out[0], c.left);
        EXPECT_EQ(out[1], c.right);
        mixerStop(voice);
    }
}

TEST_F(MixerTest, StereoKeepsItsSidesAndPanAttenuatesOneOfThem)
{
    MixerVoice *voice = add16({3000, -4000, 5000, -6000}, 2);
    mixerSetPan(voice, 2000);
    mixerPlay(voice, 0);
    std::vector<int16_t> out = render(3);
    EXPECT_EQ(out, (std::vector<int16_t>{300, -4000, 500, -6000, 0, 0}));
}

TEST_F(MixerTest, EightBitIsUnsignedAndWiderSamplesKeepTheirTop16Bits)
{
    mixerPlay(add({0x80, 0xFF, 0x00, 0x90}, 1, 8), 0);
    std::vector<int16_t> eight = side(render(4), 0);
    EXPECT_EQ(eight, (std::vector<int16_t>{0, 32512, -32768, 4096}));
    for (Voice *v : voices)
        mixerStop(&v->voice);
    // 24 bits: 0x123456 and -2 (0xFFFFFE); 32 bits: 0x12345678.
    mixerPlay(add({0x56, 0x34, 0x12, 0xFE, 0xFF, 0xFF}, 1, 24), 0);
    EXPECT_EQ(side(render(2), 0), (std::vector<int16_t>{0x1234, -1}));
    mixerPlay(add({0x78, 0x56, 0x34, 0x12}, 1, 32), 0);
    EXPECT_EQ(side(render(1), 0), (std::vector<int16_t>{0x1234}));
}

TEST_F(MixerTest, FrequencyResamplesLinearly)
{
    // Half the output rate: every source frame lasts two output frames, with the midpoints
    // interpolated.
    MixerVoice *slow = add16({0, 1000, 2000, 3000}, 1, kRate / 2);
    mixerPlay(slow, 0);
    EXPECT_EQ(side(render(9), 0),
              (std::vector<int16_t>{0, 500, 1000, 1500, 2000, 2500, 3000, 3000, 0}));
    EXPECT_FALSE(slow->playing);
    // Changing the frequency of the same voice: twice the output rate skips every other frame.
    mixerSetFrequency(&mixer, slow, kRate * 2);
    mixerPlay(slow, 0);
    EXPECT_EQ(side(render(3), 0), (std::vector<int16_t>{0, 2000, 0}));
}

TEST_F(MixerTest, LoopingWrapsToTheStartAndInterpolatesAcrossTheSeam)
{
    MixerVoice *voice = add16({100, 200, 300}, 1);
    mixerPlay(voice, 1);
    EXPECT_EQ(side(render(7), 0), (std::vector<int16_t>{100, 200, 300, 100, 200, 300, 100}));
    EXPECT_EQ(mixerPosition(voice), 2u) << "one frame into the third round";
    mixerSetFrequency(&mixer, voice, kRate / 2);
    mixerSetPosition(voice, 4);
    EXPECT_EQ(side(render(4), 0), (std::vector<int16_t>{300, 200, 100, 150}));
    EXPECT_TRUE(voice->playing);
}

TEST_F(MixerTest, ASoundPlayedOnceStopsAtItsEndWithThePositionAtTheStart)
{
    MixerVoice *voice = add16({1, 2, 3, 4}, 1);
    mixerSetPosition(voice, 4);
    mixerPlay(voice, 0);
    EXPECT_EQ(side(render(4), 0), (std::vector<int16_t>{3, 4, 0, 0}));
    EXPECT_FALSE(voice->playing);
    EXPECT_EQ(mixerPosition(voice), 0u);
}

TEST_F(MixerTest, PositionsAreBytesRoundedToFramesAndTakenModuloTheSize)
{
    MixerVoice *voice = add16({1, 2, 3, 4, 5, 6, 7, 8}, 2); // 4 stereo frames, 16 bytes
    const uint32_t cases[][2] = {{0, 0}, {4, 4}, {7, 4}, {15, 12}, {16, 0}, {21, 4}};
    for (const auto &c : cases) {
        mixerSetPosition(voice, c[0]);
        EXPECT_EQ(mixerPosition(voice), c[1]) << c[0];
    }
    mixerSetPosition(voice, 0);
    mixerPlay(voice, 1);
    render(3);
    EXPECT_EQ(mixerPosition(voice), 12u);
    mixerStop(voice);
    render(5);
    EXPECT_EQ(mixerPosition(voice), 12u) << "a stopped voice keeps its place";
}

TEST_F(MixerTest, VoicesSumUnderTheMasterGainAndSaturate)
{
    mixerPlay(add16({30000, -30000, 1000}, 1), 0);
    mixerPlay(add16({30000, -30000, 2000}, 1), 0);
    MixerVoice *stopped = add16({5000, 5000, 5000}, 1);
    (void)stopped;
    EXPECT_EQ(side(render(3), 1), (std::vector<int16_t>{32767, -32768, 3000}));
    for (Voice *v : voices)
        mixerPlay(&v->voice, 0);
    mixerStop(&voices[2]->voice);
    mixerSetMasterVolume(&mixer, -2000);
    EXPECT_EQ(side(render(3), 0), (std::vector<int16_t>{6000, -6000, 300}));
}

TEST_F(MixerTest, ARemovedVoiceIsNoLongerMixed)
{
    MixerVoice *a = add16({100}, 1);
    MixerVoice *b = add16({20}, 1);
    MixerVoice *c = add16({3}, 1);
    for (MixerVoice *v : {a, b, c})
        mixerPlay(v, 1);
    mixerRemoveVoice(&mixer, b);
    EXPECT_EQ(side(render(1), 0), (std::vector<int16_t>{103}));
    mixerRemoveVoice(&mixer, c);
    mixerRemoveVoice(&mixer, a);
    EXPECT_EQ(side(render(1), 0), (std::vector<int16_t>{0}));
}

} // namespace
