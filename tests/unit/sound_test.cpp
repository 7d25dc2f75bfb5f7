// The engine's sound rules over a fake device: the conversions to hundredths of a decibel and to
// hertz, the playing list (restart, 64 entries, stop, pause and resume of all), the music's
// flags, the master volume, and that every call on a null or unloaded record, or without a
// device, does nothing.
#include "audio/audio_internal.h"

#include "bmp_writer.h"
#include "fake_audio.h"
#include "wav_writer.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(SoundConversion, VolumePanAndSpeed)
{
    const int volumes[][2] = {{-5, -10000}, {0, -10000}, {1, -9900}, {50, -5000},
                              {99, -100},   {100, 0},    {150, 0}};
    for (const auto &v : volumes)
        EXPECT_EQ(audioVolumeToHundredths(v[0]), v[1]) << "volume " << v[0];
    const int pans[][2] = {{-150, -10000}, {-100, -10000}, {-99, -9900}, {0, 0},
                           {37, 3700},     {100, 10000},   {101, 10000}};
    for (const auto &p : pans)
        EXPECT_EQ(audioPanToHundredths(p[0]), p[1]) << "pan " << p[0];
    struct Speed {
        uint32_t rate;
        int percent;
        uint32_t hertz;
    } speeds[] = {
        {44100, 50, 22050},  {44100, 100, 44100}, {44100, 1000, 100000},
        {8000, 1, 100},      {22050, 200, 44100}, {11025, 907, 99996}, // truncated, not rounded
        {44100, 97392, 199}, // the product wraps in 32 bits: 19904 / 100
    };
    for (const Speed &s : speeds)
        EXPECT_EQ(audioSpeedToHertz(s.rate, s.percent), s.hertz)
            << s.rate << " Hz at " << s.percent << " %";
}

class Sounds : public ::testing::Test {
  protected:
    std::vector<uint8_t> wav = makeWav([] {
        WavSpec fixture;
        fixture.rate = 44100;
        fixture.samples = samples16({1, 2, 3, 4, 5, 6, 7, 8});
        return fixture;
    }());

    void SetUp() override
    {
        installFakeAudio();
        ASSERT_TRUE(o3DSoundInit(this));
    }
    void TearDown() override
    {
        o3DSoundShutdown();
        audioResetSeam();
    }
    void load(TSound *sound)
    {
        *sound = TSound();
        ASSERT_TRUE(o3DLoadSoundFromMemory(sound, wav.data(), (int)wav.size()));
    }
    static std::vector<TSound *> listed()
    {
        std::vector<TSound *> out;
        for (int i = 0; i < audioPlayingCount(); ++i)
            out.push_back(audioPlayingAt(i));
        return out;
    }
    static FakeBuffer *of(const TSound &sound)
    {
        return fakeBuffer(sound.buffer);
    }
};

TEST_F(Sounds, InitOpensOnceForTheWindowAndShutdownCloses)
{
    EXPECT_EQ(gFakeAudio.openedFor, this);
    EXPECT_TRUE(o3DIsSoundAvailable());
    EXPECT_TRUE(o3DSoundInit(nullptr));
    EXPECT_EQ(std::count(gFakeAudio.calls.begin(), gFakeAudio.calls.end(), "open"), 1);
    o3DSoundShutdown();
    EXPECT_FALSE(o3DIsSoundAvailable());
    EXPECT_EQ(gFakeAudio.isOpen, 0);
}

TEST_F(Sounds, PlayRewindsAndRestartsAPlayingSoundListedOnce)
{
    TSound shot;
    load(&shot);
    o3DPlaySound(&shot);
    of(shot)->position = 6;
    gFakeAudio.calls.clear();
    o3DPlaySound(&shot);
    EXPECT_EQ(gFakeAudio.calls, (std::vector<std::string>{"setPosition 0", "play"}));
    EXPECT_EQ(listed(), std::vector<TSound *>{&shot});
    EXPECT_TRUE(o3DIsSoundPlaying(&shot));
    o3DPlaySoundLooped(&shot);
    EXPECT_EQ(of(shot)->looping, 1);
    EXPECT_EQ(listed().size(), 1u);
    o3DFreeSound(&shot);
    EXPECT_TRUE(listed().empty());
}

TEST_F(Sounds, AFailedPlayLeavesTheSoundUnlisted)
{
    TSound sound;
    load(&sound);
    gFakeAudio.playSucceeds = 0;
    o3DPlaySound(&sound);
    o3DPlaySoundLooped(&sound);
    o3DResumeSound(&sound);
    EXPECT_TRUE(listed().empty());
    o3DFreeSound(&sound);
}

TEST_F(Sounds, TheSixtyFifthSoundPlaysUnlistedAndStopAllLeavesIt)
{
    std::vector<TSound> sounds(65);
    for (TSound &sound : sounds) {
        load(&sound);
        o3DPlaySound(&sound);
    }
    EXPECT_EQ(audioPlayingCount(), 64);
    EXPECT_EQ(of(sounds[64])->playing, 1);
    o3DStopAllSounds();
    EXPECT_EQ(audioPlayingCount(), 0);
    for (int i = 0; i < 64; ++i)
        EXPECT_EQ(of(sounds[i])->playing, 0) << i;
    EXPECT_EQ(of(sounds[64])->playing, 1);
    for (TSound &sound : sounds)
        o3DFreeSound(&sound);
    EXPECT_EQ(gFakeAudio.liveBuffers, 0);
}

TEST_F(Sounds, StopAllStopsAndRewindsEveryListedSound)
{
    TSound a, b, c;
    load(&a);
    load(&b);
    load(&c);
    for (TSound *s : {&a, &b, &c}) {
        o3DPlaySound(s);
        of(*s)->position = 4;
    }
    o3DStopAllSounds();
    EXPECT_TRUE(listed().empty());
    for (TSound *s : {&a, &b, &c}) {
        EXPECT_EQ(of(*s)->playing, 0);
        EXPECT_EQ(of(*s)->position, 0u);
    }
    for (TSound *s : {&a, &b, &c})
        o3DFreeSound(s);
}

TEST_F(Sounds, StoppingOneKeepsTheOrderOfTheRest)
{
    TSound a, b, c;
    load(&a);
    load(&b);
    load(&c);
    o3DPlaySound(&a);
    o3DPlaySound(&b);
    o3DPlaySound(&c);
    o3DStopSound(&b);
    EXPECT_EQ(listed(), (std::vector<TSound *>{&a, &c}));
    EXPECT_EQ(of(b)->playing, 0);
    o3DPlaySound(&b);
    EXPECT_EQ(listed(), (std::vector<TSound *>{&a, &c, &b}));
    for (TSound *s : {&a, &b, &c})
        o3DFreeSound(s);
}

TEST_F(Sounds, PauseAllKeepsTheListAndResumeAllPlaysOnceFromWhereEachWas)
{
    TSound looped, once;
    load(&looped);
    load(&once);
    o3DPlaySoundLooped(&looped);
    o3DPlaySound(&once);
    of(looped)->position = 6;
    o3DPauseAllSounds();
    EXPECT_EQ(of(looped)->playing, 0);
    EXPECT_EQ(of(once)->playing, 0);
    EXPECT_EQ(listed().size(), 2u);
    gFakeAudio.calls.clear();
    o3DResumeAllSounds();
    EXPECT_EQ(gFakeAudio.calls, (std::vector<std::string>{"play", "play"}));
    EXPECT_EQ(of(looped)->looping, 0) << "resume plays once, even a looped sound";
    EXPECT_EQ(of(looped)->position, 6u);
    EXPECT_EQ(listed().size(), 2u);
    o3DFreeSound(&looped);
    o3DFreeSound(&once);
}

TEST_F(Sounds, ControlsReachTheBufferConverted)
{
    TSound sound;
    load(&sound);
    o3DSetSoundVolume(&sound, 50);
    o3DSetSoundPan(&sound, -37);
    o3DSetSoundSpeed(&sound, 50);
    EXPECT_EQ(of(sound)->volume, -5000);
    EXPECT_EQ(of(sound)->pan, -3700);
    EXPECT_EQ(of(sound)->frequency, 22050u);
    o3DSetSoundSpeed(&sound, 0);
    o3DSetSoundSpeed(&sound, -20);
    EXPECT_EQ(of(sound)->frequency, 22050u) << "speeds of 0 and below are ignored";
    o3DSetSoundPosition(&sound, 6);
    EXPECT_EQ(o3DGetSoundPosition(&sound), 6u);
    o3DSetSoundPosition(&sound, 1000);
    EXPECT_EQ(o3DGetSoundPosition(&sound), 16u) << "cut to the size";
    o3DPauseSound(&sound);
    o3DRewindSound(&sound);
    EXPECT_EQ(o3DGetSoundPosition(&sound), 0u);
    gFakeAudio.statusSucceeds = 0;
    o3DPlaySound(&sound);
    EXPECT_EQ(o3DIsSoundPlaying(&sound), 0) << "a failed status query reads as stopped";
    EXPECT_EQ(o3DGetSoundPosition(&sound), 0u);
    o3DFreeSound(&sound);
}

TEST_F(Sounds, MasterVolumeIsClampedStoredAndSentToTheDevice)
{
    o3DSetMasterVolume(150);
    EXPECT_EQ(o3DGetMasterVolume(), 100);
    EXPECT_EQ(gFakeAudio.masterVolume, 0);
    o3DSetMasterVolume(-3);
    EXPECT_EQ(o3DGetMasterVolume(), 0);
    EXPECT_EQ(gFakeAudio.masterVolume, -10000);
    o3DSetMasterVolume(70);
    EXPECT_EQ(gFakeAudio.masterVolume, -3000);
    o3DSetMasterVolume(100);
}

TEST_F(Sounds, MusicFlagsFollowTheCallerNotTheDevice)
{
    ScratchFolder folder;
    ASSERT_TRUE(writeBytes(folder.file("day.wav"), wav));
    TMusic music = {};
    ASSERT_TRUE(o3DLoadMusic(&music, folder.file("day.wav").c_str()));
    FakeBuffer *buffer = fakeBuffer(music.buffer);

    gFakeAudio.playSucceeds = 0;
    o3DPlayMusic(&music, 7);
    EXPECT_EQ(music.playing, 1) << "set whatever the device answered";
    EXPECT_EQ(music.loop, 7);
    gFakeAudio.playSucceeds = 1;
    o3DPlayMusic(&music, 1);
    EXPECT_TRUE(o3DIsMusicPlaying(&music));
    EXPECT_EQ(buffer->looping, 1);
    buffer->position = 10;
    o3DPauseMusic(&music);
    EXPECT_EQ(music.playing, 1);
    EXPECT_FALSE(o3DIsMusicPlaying(&music));
    o3DResumeMusic(&music);
    EXPECT_EQ(buffer->looping, 1) << "resume keeps the stored loop flag";
    EXPECT_EQ(buffer->position, 10u);
    o3DSetMusicVolume(&music, 99);
    EXPECT_EQ(buffer->volume, -100);
    o3DStopMusic(&music);
    EXPECT_EQ(music.playing, 0);
    EXPECT_EQ(buffer->position, 0u);
    EXPECT_TRUE(audioPlayingCount() == 0) << "music is never in the effects' list";
    o3DFreeMusic(&music);
    EXPECT_EQ(music.loaded, 0);
    EXPECT_EQ(gFakeAudio.liveBuffers, 0);
}

// Nothing may reach the device: a null or never-loaded record, and no device at all.
void callEverything(TSound *sound, TMusic *music)
{
    o3DPlaySound(sound);
    o3DPlaySoundLooped(sound);
    o3DStopSound(sound);
    o3DPauseSound(sound);
    o3DResumeSound(sound);
    o3DRewindSound(sound);
    o3DSetSoundVolume(sound, 50);
    o3DSetSoundPan(sound, 50);
    o3DSetSoundSpeed(sound, 50);
    o3DSetSoundPosition(sound, 4);
    EXPECT_EQ(o3DIsSoundPlaying(sound), 0);
    EXPECT_EQ(o3DGetSoundPosition(sound), 0u);
    o3DFreeSound(sound);
    o3DPlayMusic(music, 1);
    o3DStopMusic(music);
    o3DPauseMusic(music);
    o3DResumeMusic(music);
    o3DSetMusicVolume(music, 50);
    EXPECT_EQ(o3DIsMusicPlaying(music), 0);
    o3DFreeMusic(music);
    o3DStopAllSounds();
    o3DPauseAllSounds();
    o3DResumeAllSounds();
}

TEST_F(Sounds, NullAndUnloadedRecordsDoNothing)
{
    gFakeAudio.calls.clear();
    callEverything(nullptr, nullptr);
    TSound sound = {};
    TMusic music = {};
    callEverything(&sound, &music);
    EXPECT_TRUE(gFakeAudio.calls.empty());
    EXPECT_EQ(music.playing, 0);
    EXPECT_TRUE(listed().empty());
}

TEST(SoundWithoutDevice, EveryCallDoesNothingAndMasterVolumeStays)
{
    installFakeAudio();
    gFakeAudio.openSucceeds = 0;
    EXPECT_FALSE(o3DSoundInit(nullptr));
    EXPECT_FALSE(o3DIsSoundAvailable());
    gFakeAudio.calls.clear();
    TSound sound = {};
    TMusic music = {};
    std::vector<uint8_t> bytes = makeWav(WavSpec{});
    EXPECT_FALSE(o3DLoadSoundFromMemory(&sound, bytes.data(), (int)bytes.size()));
    callEverything(&sound, &music);
    o3DSetMasterVolume(150);
    EXPECT_EQ(o3DGetMasterVolume(), 100);
    o3DSoundShutdown();
    EXPECT_TRUE(gFakeAudio.calls.empty());
    EXPECT_EQ(gFakeAudio.masterVolumeCalls, 0);
    audioResetSeam();
}

} // namespace
