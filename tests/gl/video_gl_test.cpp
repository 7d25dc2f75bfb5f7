// Films played in a real window through the backend's media framework (GStreamer natively,
// DirectShow under Wine): opening and its failures, the native size and duration, the blocking
// player's three endings, seeking, pausing and looping with the non-blocking operations.
#include "video_support.h"

#include <string.h>

#include <string>
#include <vector>

static ::testing::Environment *const kWindow = ::testing::AddGlobalTestEnvironment(
    new GlTestWindow(kVideoWindowWidth, kVideoWindowHeight, "Ostrel3D video GL test"));

namespace {

class VideoPlayback : public ::testing::Test {
  protected:
    void SetUp() override
    {
        // A test that ended with the quit leaves the running flag down: open a fresh window.
        if (!o3DIsRunning()) {
            o3DShutdown();
            ASSERT_EQ(o3DInit(nullptr, kVideoWindowWidth, kVideoWindowHeight, "Ostrel3D video"), 1);
        }
        ASSERT_EQ(o3DVideoInit(), 1);
        film = folder.file("film.avi");
        ASSERT_TRUE(writeAvi(film, twoHalvesFilm()));
        installPassHooks();
        pumpUntilMapped();
    }
    void TearDown() override
    {
        platformResetSeam();
        o3DProcessMessages();
    }
    ScratchFolder folder;
    std::string film;
};

TEST_F(VideoPlayback, OpenReportsNativeSizeAndDurationAndStartsStillAtZero)
{
    TVideo video;
    ASSERT_EQ(o3DOpenVideo(&video, o3DGetWindowHandle(), film.c_str()), 1);
    EXPECT_EQ(video.width, 96);
    EXPECT_EQ(video.height, 64);
    EXPECT_NEAR(o3DVideoGetDuration(&video), 1.0, 0.02);
    EXPECT_NEAR(o3DVideoGetPosition(&video), 0.0, 0.001);
    EXPECT_STREQ(video.fileName, film.c_str());
    EXPECT_EQ(o3DVideoIsPlaying(&video), 0);
    EXPECT_EQ(o3DVideoIsFinished(&video), 0);
    o3DCloseVideo(&video);
    EXPECT_EQ(video.open, 0);
    EXPECT_EQ(o3DVideoGetDuration(&video), 0.0);
}

// Opens each file and expects a clean failure: 0, a closed record, nothing to report.
void expectEachFailsToOpen(const std::vector<std::string> &paths)
{
    for (const std::string &path : paths) {
        SCOPED_TRACE(path);
        TVideo video;
        memset(&video, 0x5A, sizeof video);
        EXPECT_EQ(o3DOpenVideo(&video, o3DGetWindowHandle(), path.c_str()), 0);
        EXPECT_EQ(video.open, 0);
        EXPECT_EQ(o3DVideoGetDuration(&video), 0.0);
    }
}

TEST_F(VideoPlayback, MissingEmptyAndForeignFilesFailCleanly)
{
    std::vector<uint8_t> noise(4096);
    for (size_t i = 0; i < noise.size(); ++i)
        noise[i] = (uint8_t)(i * 7919 % 251);
    ASSERT_TRUE(writeFile(folder.file("empty.avi"), {}));
    ASSERT_TRUE(writeFile(folder.file("noise.avi"), noise));
    expectEachFailsToOpen(
        {folder.file("missing.avi"), folder.file("empty.avi"), folder.file("noise.avi")});

    // The blocking player gives up just as cleanly and never waits for a film that is not there.
    EXPECT_EQ(o3DPlayVideo(o3DGetWindowHandle(), folder.file("missing.avi").c_str(), 1), 0);
    EXPECT_EQ(o3DPlayVideo(o3DGetWindowHandle(), folder.file("noise.avi").c_str(), 1), 0);
    EXPECT_EQ(gPass.passes, 0);
    TVideo video;
    EXPECT_EQ(o3DOpenVideo(&video, o3DGetWindowHandle(), nullptr), 0);
    EXPECT_EQ(o3DOpenVideo(nullptr, o3DGetWindowHandle(), film.c_str()), 0);
}

TEST_F(VideoPlayback, DamagedAviFailsCleanly)
{
    std::vector<uint8_t> whole = aviBytes(twoHalvesFilm());
    std::vector<uint8_t> riffOfNoise(4096);
    for (size_t i = 0; i < riffOfNoise.size(); ++i)
        riffOfNoise[i] = (uint8_t)(i * 7919 % 251);
    memcpy(riffOfNoise.data(), "RIFF\xf8\x0f\0\0AVI LIST", 16);
    ASSERT_TRUE(writeFile(folder.file("riff_of_noise.avi"), riffOfNoise));
    ASSERT_TRUE(writeFile(folder.file("headers_only.avi"),
                          std::vector<uint8_t>(whole.begin(), whole.begin() + 300)));
    expectEachFailsToOpen({folder.file("riff_of_noise.avi"), folder.file("headers_only.avi")});
}

TEST_F(VideoPlayback, BlockingPlayerReturnsOneAtTheEndWithoutLookingAtKeys)
{
    EXPECT_EQ(o3DPlayVideo(o3DGetWindowHandle(), film.c_str(), 0), 1);
    EXPECT_GT(gPass.passes, 1);
    EXPECT_EQ(gPass.keyQueries, 0);
    o3DProcessMessages();
    EXPECT_EQ(o3DIsRunning(), 1);
}

TEST_F(VideoPlayback, SkipKeyEndsTheFilmAtThatPass)
{
    AviFilm longFilm = twoHalvesFilm();
    longFilm.frames = 100; // ten seconds: only the key can end it this soon
    ASSERT_TRUE(writeAvi(film, longFilm));
    gPass.spaceAtPass = 3;
    EXPECT_EQ(o3DPlayVideoStretched(o3DGetWindowHandle(), film.c_str(), 1), 1);
    pressSpace(o3DGetWindowHandle(), 0);
    EXPECT_GE(gPass.passes, 3);
    EXPECT_LT(gPass.passes, 20); // the key, not the film's end, stopped it
    o3DProcessMessages();
    EXPECT_EQ(o3DIsRunning(), 1);
}

TEST_F(VideoPlayback, QuitEndsTheFilmWithZeroAndStillReachesTheGame)
{
    AviFilm longFilm = twoHalvesFilm();
    longFilm.frames = 100;
    ASSERT_TRUE(writeAvi(film, longFilm));
    gPass.quitAtPass = 2;
    EXPECT_EQ(o3DPlayVideo(o3DGetWindowHandle(), film.c_str(), 1), 0);
    EXPECT_EQ(gPass.passes, 2);
    EXPECT_EQ(o3DIsRunning(), 1);
    o3DProcessMessages();
    EXPECT_EQ(o3DIsRunning(), 0);
}

TEST_F(VideoPlayback, ClosingTheWindowEndsTheFilmAndTheGameStillSeesTheQuit)
{
    AviFilm longFilm = twoHalvesFilm();
    longFilm.frames = 100;
    ASSERT_TRUE(writeAvi(film, longFilm));
    gPass.closeAtPass = 3;
    EXPECT_EQ(o3DPlayVideo(o3DGetWindowHandle(), film.c_str(), 1), 0);
    EXPECT_GE(gPass.passes, 3);
    EXPECT_LT(gPass.passes, 20); // the close, not the film's end, stopped it
    EXPECT_EQ(o3DIsRunning(), 1);
    o3DProcessMessages();
    EXPECT_EQ(o3DIsRunning(), 0);
}

TEST_F(VideoPlayback, SeekMovesThePositionAndRewindReturnsToZero)
{
    TVideo video;
    ASSERT_EQ(o3DOpenVideo(&video, o3DGetWindowHandle(), film.c_str()), 1);
    o3DVideoSeek(&video, 0.5);
    EXPECT_NEAR(o3DVideoGetPosition(&video), 0.5, 0.02);
    o3DVideoRewind(&video);
    EXPECT_NEAR(o3DVideoGetPosition(&video), 0.0, 0.02);
    o3DCloseVideo(&video);
}

TEST_F(VideoPlayback, PlayedFilmAdvancesPausesAndFinishesAtItsEnd)
{
    TVideo video;
    ASSERT_EQ(o3DOpenVideo(&video, o3DGetWindowHandle(), film.c_str()), 1);
    o3DVideoSetVolume(&video, 50);
    o3DVideoPlay(&video);
    EXPECT_EQ(o3DVideoIsPlaying(&video), 1);
    ASSERT_TRUE(pumpVideoUntil(&video, [&] { return o3DVideoGetPosition(&video) > 0.2; }));

    o3DVideoPause(&video);
    EXPECT_EQ(o3DVideoIsPaused(&video), 1);
    EXPECT_EQ(o3DVideoIsPlaying(&video), 0);
    double pausedAt = o3DVideoGetPosition(&video);
    for (int i = 0; i < 20; ++i)
        pumpVideoUntil(&video, [] { return true; });
    kNativeClockSeam.sleepMs(200);
    EXPECT_NEAR(o3DVideoGetPosition(&video), pausedAt, 0.05);

    o3DVideoResume(&video);
    EXPECT_EQ(o3DVideoIsPaused(&video), 0);
    ASSERT_TRUE(pumpVideoUntil(&video, [&] { return o3DVideoIsFinished(&video) != 0; }));
    EXPECT_EQ(o3DVideoIsPlaying(&video), 0);
    EXPECT_GT(o3DVideoGetPosition(&video), 0.8);
    o3DCloseVideo(&video);
}

TEST_F(VideoPlayback, LoopedFilmStartsAgainInsteadOfFinishing)
{
    AviFilm shortFilm = twoHalvesFilm();
    shortFilm.frames = 3;
    ASSERT_TRUE(writeAvi(film, shortFilm));
    TVideo video;
    ASSERT_EQ(o3DOpenVideo(&video, o3DGetWindowHandle(), film.c_str()), 1);
    o3DVideoPlayLooped(&video);
    double last = 0.0;
    int wraps = 0;
    ASSERT_TRUE(pumpVideoUntil(&video, [&] {
        double now = o3DVideoGetPosition(&video);
        wraps += now + 0.1 < last;
        last = now;
        return wraps >= 2;
    }));
    EXPECT_EQ(o3DVideoIsFinished(&video), 0);
    EXPECT_EQ(o3DVideoIsPlaying(&video), 1);
    o3DVideoStop(&video);
    EXPECT_EQ(o3DVideoIsFinished(&video), 1);
    EXPECT_NEAR(o3DVideoGetPosition(&video), 0.0, 0.02);
    o3DCloseVideo(&video);
}

} // namespace
