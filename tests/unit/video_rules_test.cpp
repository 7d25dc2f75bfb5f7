// The video layer's rules over a scripted media framework and platform: the conversions and
// clamps, the record's states, the end of a film with and without looping, and the blocking
// player's loop (its 10 ms passes, the skip keys, the quit that ends the film and is queued again).
#include "ostrel3d.h"

#include "fake_platform.h"
#include "video/video_seam.h"

#include <gtest/gtest.h>

#include <math.h>
#include <string.h>

#include <deque>
#include <string>
#include <vector>

namespace {

// A film as the fake framework plays it: every call is logged; events come from a script.
struct FakeFilm {
    int startupSucceeds = 1, openSucceeds = 1, presentDraws = 1;
    int width = 96, height = 64;
    int64_t position = 0, duration = 0;
    std::deque<int> events; // 1 the film's end, 0 any other event
    std::vector<std::string> calls;
    int startups = 0, shutdowns = 0;
    int ownerWidth = 800, ownerHeight = 600;
};

FakeFilm gFilm;
int gMedia; // the fake handle's target
int gSwaps; // buffer swaps of the blocking player
std::vector<uint32_t> gSleepMs;
void (*gAtPass)(int pass) = nullptr; // acts before the pass's sleep

void log(const std::string &call)
{
    gFilm.calls.push_back(call);
}

std::string numbers(std::initializer_list<long long> values)
{
    std::string out;
    for (long long v : values)
        out += " " + std::to_string(v);
    return out;
}

const VideoSeam kFakeVideoSeam = {
    [] { return ++gFilm.startups, gFilm.startupSucceeds; },
    [] { ++gFilm.shutdowns; },
    [](void *, const char *fileName, int *width, int *height) -> void * {
        log(std::string("open ") + fileName);
        if (!gFilm.openSucceeds)
            return nullptr;
        *width = gFilm.width;
        *height = gFilm.height;
        return &gMedia;
    },
    [](void *) { log("close"); },
    [](void *) { log("run"); },
    [](void *) { log("pause"); },
    [](void *) { log("stop"); },
    [](void *, int64_t units) {
        log("position" + numbers({units}));
        gFilm.position = units;
    },
    [](void *) { return gFilm.position; },
    [](void *) { return gFilm.duration; },
    [](void *, int attenuation) { log("volume" + numbers({attenuation})); },
    [](void *, int x, int y, int width, int height) {
        log("rect" + numbers({x, y, width, height}));
    },
    [](void *, int visible) { log("visible" + numbers({visible})); },
    [](void *, int fullscreen) { log("fullscreen" + numbers({fullscreen})); },
    [](void *, int *ended) {
        if (gFilm.events.empty())
            return 0;
        *ended = gFilm.events.front();
        gFilm.events.pop_front();
        return 1;
    },
    [](void *, int wholeFrame) {
        log("present" + numbers({wholeFrame}));
        return gFilm.presentDraws;
    },
    [](void *, int *width, int *height) {
        *width = gFilm.ownerWidth;
        *height = gFilm.ownerHeight;
    },
};

void recordSleep(uint32_t ms)
{
    gSleepMs.push_back(ms);
    if (gAtPass)
        gAtPass((int)gSleepMs.size() + 1);
}

void countSwap(void)
{
    ++gSwaps;
}

class VideoRules : public ::testing::Test {
  protected:
    void SetUp() override
    {
        installFakePlatform();
        gClockSeam.sleepMs = recordSleep;
        gWindowSeam.swapBuffers = countSwap;
        gFilm = FakeFilm();
        gVideoSeam = kFakeVideoSeam;
        gSleepMs.clear();
        gSwaps = 0;
        gAtPass = nullptr;
        ASSERT_EQ(o3DInit(nullptr, 800, 600, "video"), 1);
    }
    void TearDown() override
    {
        o3DVideoShutdown();
        o3DShutdown();
        videoResetSeam();
        platformResetSeam();
    }
    // An open record with the log cleared.
    void openFilm()
    {
        ASSERT_EQ(o3DOpenVideo(&video, &gFake, "intro.avi"), 1);
        gFilm.calls.clear();
    }
    std::vector<std::string> calls()
    {
        std::vector<std::string> out = gFilm.calls;
        gFilm.calls.clear();
        return out;
    }
    TVideo video;
};

using Calls = std::vector<std::string>;

TEST_F(VideoRules, VolumePercentBecomesHundredthsOfADecibel)
{
    openFilm();
    const struct {
        int percent, attenuation;
    } cases[] = {{-5, -10000}, {0, -10000}, {1, -9900}, {50, -5000},
                 {99, -100},   {100, 0},    {150, 0},   {0x7fffffff, 0}};
    for (const auto &c : cases) {
        o3DVideoSetVolume(&video, c.percent);
        EXPECT_EQ(calls(), Calls{"volume" + numbers({c.attenuation})}) << c.percent;
    }
    const struct {
        int raw, attenuation;
    } raws[] = {{-20000, -10000}, {-10000, -10000}, {-3000, -3000}, {0, 0}, {500, 0}};
    for (const auto &c : raws) {
        o3DVideoSetVolumeRaw(&video, c.raw);
        EXPECT_EQ(calls(), Calls{"volume" + numbers({c.attenuation})}) << c.raw;
    }
    o3DVideoMute(&video, 7);
    o3DVideoMute(&video, 0);
    EXPECT_EQ(calls(), (Calls{"volume -10000", "volume 0"}));
}

TEST_F(VideoRules, LinearGainFollowsTwentyDecibelsPerDecade)
{
    const struct {
        int attenuation;
        double gain;
    } cases[] = {{-20000, 0.0},   {-10000, 0.0}, {-4000, 0.01}, {-2000, 0.1},
                 {-600, 0.50119}, {0, 1.0},      {300, 1.0}};
    for (const auto &c : cases)
        EXPECT_NEAR(videoGainFromAttenuation(c.attenuation), c.gain, 1e-5) << c.attenuation;
}

TEST_F(VideoRules, SecondsBecomeHundredNanosecondUnitsTruncatedTowardZero)
{
    openFilm();
    const struct {
        double seconds;
        int64_t units;
    } cases[] = {{0.0, 0},        {0.5, 5000000},    {1.23456789, 12345678},
                 {0.00000019, 1}, {-0.00000019, -1}, {3600.0, 36000000000LL}};
    for (const auto &c : cases) {
        o3DVideoSeek(&video, c.seconds);
        EXPECT_EQ(calls(), Calls{"position" + numbers({c.units})}) << c.seconds;
    }
    gFilm.position = 25000000;
    gFilm.duration = 123456789;
    EXPECT_DOUBLE_EQ(o3DVideoGetPosition(&video), 2.5);
    EXPECT_DOUBLE_EQ(o3DVideoGetDuration(&video), 12.3456789);
    o3DVideoRewind(&video);
    EXPECT_EQ(calls(), Calls{"position 0"});
}

TEST_F(VideoRules, CentringHalvesTheSpareAreaTowardZero)
{
    const struct {
        int areaWidth, areaHeight, width, height, x, y;
    } cases[] = {{320, 240, 96, 64, 112, 88},
                 {100, 100, 151, 151, -25, -25}, // larger: cropped evenly by the window
                 {101, 7, 0, 0, 50, 3},          // no picture
                 {800, 600, 800, 600, 0, 0}};
    for (const auto &c : cases) {
        gFilm.width = c.width;
        gFilm.height = c.height;
        openFilm();
        o3DVideoCenter(&video, c.areaWidth, c.areaHeight);
        EXPECT_EQ(calls(), Calls{"rect" + numbers({c.x, c.y, c.width, c.height})});
        o3DCloseVideo(&video);
    }
}

TEST_F(VideoRules, NullAndClosedRecordsDoNothing)
{
    TVideo closed;
    memset(&closed, 0, sizeof closed);
    closed.playing = closed.paused = closed.finished = 1; // flags of a record that is not open
    gFilm.events = {1};
    for (TVideo *record : {(TVideo *)nullptr, &closed}) {
        o3DCloseVideo(record);
        o3DVideoPlay(record);
        o3DVideoPlayLooped(record);
        o3DVideoStop(record);
        o3DVideoPause(record);
        o3DVideoResume(record);
        o3DVideoRewind(record);
        o3DVideoSeek(record, 1.0);
        o3DVideoSetVolumeRaw(record, -100);
        o3DVideoSetVolume(record, 50);
        o3DVideoMute(record, 1);
        o3DVideoSetRect(record, 1, 2, 3, 4);
        o3DVideoSetFullscreen(record, 1);
        o3DVideoSetVisible(record, 1);
        o3DVideoCenter(record, 800, 600);
        o3DVideoUpdate(record);
        EXPECT_EQ(o3DVideoGetPosition(record), 0.0);
        EXPECT_EQ(o3DVideoGetDuration(record), 0.0);
        EXPECT_EQ(o3DVideoIsPlaying(record), 0);
        EXPECT_EQ(o3DVideoIsPaused(record), 0);
        EXPECT_EQ(o3DVideoIsFinished(record), 0);
    }
    EXPECT_EQ(calls(), Calls{});
    EXPECT_EQ(gFilm.events.size(), 1u);
}

TEST_F(VideoRules, SystemStartsOnceLazilyAndStopsOnlyWhenStarted)
{
    o3DVideoShutdown();
    EXPECT_EQ(gFilm.shutdowns, 0);
    EXPECT_EQ(o3DIsVideoAvailable(), 0);
    ASSERT_EQ(o3DOpenVideo(&video, &gFake, "a.avi"), 1); // starts the system itself
    EXPECT_EQ(o3DIsVideoAvailable(), 1);
    EXPECT_EQ(o3DVideoInit(), 1);
    EXPECT_EQ(gFilm.startups, 1);
    o3DCloseVideo(&video);
    o3DVideoShutdown();
    o3DVideoShutdown();
    EXPECT_EQ(gFilm.shutdowns, 1);
    EXPECT_EQ(o3DIsVideoAvailable(), 0);

    calls();
    gFilm.startupSucceeds = 0;
    EXPECT_EQ(o3DVideoInit(), 0);
    EXPECT_EQ(o3DOpenVideo(&video, &gFake, "a.avi"), 0);
    EXPECT_EQ(o3DPlayVideo(&gFake, "a.avi", 1), 0);
    EXPECT_EQ(calls(), Calls{}); // nothing is opened without the framework
    EXPECT_EQ(o3DIsVideoAvailable(), 0);
}

TEST_F(VideoRules, OpenFillsTheRecordOrLeavesItClosed)
{
    std::string longName(300, 'n');
    ASSERT_EQ(o3DOpenVideo(&video, &gFake, longName.c_str()), 1);
    EXPECT_EQ(video.open, 1);
    EXPECT_EQ(video.owner, (void *)&gFake);
    EXPECT_EQ(video.width, 96);
    EXPECT_EQ(video.height, 64);
    EXPECT_EQ(std::string(video.fileName), longName.substr(0, 259));
    EXPECT_EQ(video.playing + video.paused + video.looping + video.finished, 0);
    o3DCloseVideo(&video);
    EXPECT_EQ(video.open, 0);
    EXPECT_EQ(video.media, nullptr);

    gFilm.openSucceeds = 0;
    memset(&video, 0x5A, sizeof video);
    EXPECT_EQ(o3DOpenVideo(&video, &gFake, "bad.avi"), 0);
    EXPECT_EQ(video.open, 0);
    EXPECT_EQ(o3DOpenVideo(&video, &gFake, nullptr), 0);
    EXPECT_EQ(o3DOpenVideo(nullptr, &gFake, "bad.avi"), 0);
}

TEST_F(VideoRules, PlayPauseResumeStopFollowTheRecordsState)
{
    openFilm();
    o3DVideoPause(&video); // not playing: nothing
    o3DVideoResume(&video);
    EXPECT_EQ(calls(), Calls{});

    o3DVideoPlay(&video);
    EXPECT_EQ(calls(), (Calls{"visible 1", "run"}));
    EXPECT_EQ(o3DVideoIsPlaying(&video), 1);
    o3DVideoPause(&video);
    o3DVideoPause(&video);
    EXPECT_EQ(calls(), Calls{"pause"});
    EXPECT_EQ(o3DVideoIsPlaying(&video), 0);
    EXPECT_EQ(o3DVideoIsPaused(&video), 1);
    o3DVideoResume(&video);
    o3DVideoResume(&video);
    EXPECT_EQ(calls(), Calls{"run"});

    o3DVideoStop(&video);
    EXPECT_EQ(calls(), (Calls{"stop", "visible 0", "position 0"}));
    EXPECT_EQ(o3DVideoIsFinished(&video), 1);
    EXPECT_EQ(o3DVideoIsPlaying(&video), 0);

    o3DVideoPlayLooped(&video);
    EXPECT_EQ(video.looping, 1);
    EXPECT_EQ(o3DVideoIsFinished(&video), 0);
    o3DCloseVideo(&video); // a playing film is stopped first
    EXPECT_EQ(calls(), (Calls{"visible 1", "run", "stop", "visible 0", "position 0", "close"}));
}

TEST_F(VideoRules, EndOfFilmFinishesItOrStartsItAgainWhenLooping)
{
    openFilm();
    o3DVideoUpdate(&video); // not playing: events stay queued
    gFilm.events = {0, 1};
    o3DVideoUpdate(&video);
    EXPECT_EQ(gFilm.events.size(), 2u);

    o3DVideoPlayLooped(&video);
    calls();
    o3DVideoUpdate(&video);
    EXPECT_EQ(calls(), (Calls{"stop", "position 0", "run", "present 0"}));
    EXPECT_EQ(o3DVideoIsFinished(&video), 0);
    EXPECT_EQ(o3DVideoIsPlaying(&video), 1);

    o3DVideoPlay(&video);
    gFilm.events = {0, 0, 1, 0};
    calls();
    o3DVideoUpdate(&video);
    EXPECT_EQ(calls(), Calls{"present 0"});
    EXPECT_TRUE(gFilm.events.empty());
    EXPECT_EQ(o3DVideoIsFinished(&video), 1);
    EXPECT_EQ(o3DVideoIsPlaying(&video), 0);
}

TEST_F(VideoRules, BlockingPlayerPassesEveryTenMillisecondsUntilTheEnd)
{
    // An unrelated event now, the film's end just before the third pass.
    gFilm.events = {0};
    gAtPass = [](int pass) {
        if (pass == 3)
            gFilm.events.push_back(1);
    };
    EXPECT_EQ(o3DPlayVideo(&gFake, "intro.avi", 1), 1);
    EXPECT_EQ(gSleepMs, (std::vector<uint32_t>{10, 10, 10}));
    EXPECT_EQ(gSwaps, 3);
    Calls expected = {"open intro.avi", "rect 352 268 96 64", "visible 1", "run"};
    for (int pass = 0; pass < 3; ++pass)
        expected.push_back("present 1");
    expected.push_back("close");
    EXPECT_EQ(calls(), expected);
    EXPECT_EQ(gFake.quitPosted, 0);
}

TEST_F(VideoRules, StretchedPlayerFillsTheOwnerAndNeedsNoSwapWhereTheFilmHasItsOwnWindow)
{
    gFilm.presentDraws = 0;
    gFilm.events = {1};
    EXPECT_EQ(o3DPlayVideoStretched(&gFake, "intro.avi", 0), 1);
    EXPECT_EQ(gSwaps, 0);
    Calls log = calls();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[1], "rect 0 0 800 600");
}

TEST_F(VideoRules, SkipKeysEndTheFilmOnlyWhenSkippable)
{
    for (int key : {0x1B, 0x20, 0x0D}) {
        gSleepMs.clear();
        memset(gFake.keys, 0, sizeof gFake.keys);
        gFake.keys[key] = 1;
        EXPECT_EQ(o3DPlayVideo(&gFake, "intro.avi", 1), 1) << key;
        EXPECT_EQ(gSleepMs.size(), 0u) << key; // held at the start: ends at the first pass
    }
    // Another key, or a film that may not be skipped, plays on until its end.
    const struct {
        int key, skippable;
    } others[] = {{'A', 1}, {0x20, 0}};
    for (const auto &c : others) {
        gSleepMs.clear();
        memset(gFake.keys, 0, sizeof gFake.keys);
        gFake.keys[c.key] = 1;
        gAtPass = [](int pass) {
            if (pass == 4)
                gFilm.events.push_back(1);
        };
        EXPECT_EQ(o3DPlayVideo(&gFake, "intro.avi", c.skippable), 1);
        EXPECT_EQ(gSleepMs.size(), 4u) << c.key;
    }
}

TEST_F(VideoRules, QuitEndsTheFilmWithZeroAndIsQueuedAgainForTheGame)
{
    const PlatformEvent endings[] = {kEventQuit, kEventCloseRequest};
    for (PlatformEvent ending : endings) {
        gSleepMs.clear();
        calls();
        static PlatformEvent sEnding;
        sEnding = ending;
        gAtPass = [](int pass) {
            if (pass == 3)
                gFake.queuedEvents.push_back({sEnding, 0});
        };
        EXPECT_EQ(o3DPlayVideo(&gFake, "intro.avi", 1), 0);
        EXPECT_EQ(gSleepMs.size(), 2u);
        EXPECT_EQ(calls().back(), "close");
        EXPECT_EQ(o3DIsRunning(), 1);
        EXPECT_EQ(gFake.quitPosted, 1);
        o3DProcessMessages();
        EXPECT_EQ(o3DIsRunning(), 0);
        o3DShutdown(); // a fresh window for the next ending
        ASSERT_EQ(o3DInit(nullptr, 800, 600, "video"), 1);
    }
}

TEST_F(VideoRules, OtherWindowMessagesKeepTheirRulesDuringTheFilm)
{
    gFake.queuedEvents = {{kEventWheel, 240}, {kEventWheel, -120}};
    gFilm.events = {1};
    int before = o3DGetMouseWheel();
    EXPECT_EQ(o3DPlayVideo(&gFake, "intro.avi", 1), 1);
    EXPECT_EQ(o3DGetMouseWheel() - before, 1);
}

TEST_F(VideoRules, FilmThatDoesNotOpenIsNeverWaitedFor)
{
    gFilm.openSucceeds = 0;
    gFake.queuedEvents = {{kEventQuit, 0}};
    EXPECT_EQ(o3DPlayVideo(&gFake, "missing.avi", 1), 0);
    EXPECT_EQ(gSleepMs.size(), 0u);
    EXPECT_EQ(gFake.queuedEvents.size(), 1u); // its messages are left to the game
    EXPECT_EQ(o3DPlayVideo(&gFake, nullptr, 1), 0);
}

} // namespace
