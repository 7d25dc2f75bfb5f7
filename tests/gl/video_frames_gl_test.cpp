// Where the picture is drawn through OpenGL (the sdl backend), the film's frames read back from
// the window: hidden until played, at native size and centred, the right way up, advancing as the
// film plays, stretched over the whole window, and the rest of the window left as it was.
#include "video_support.h"

#include <string>
#include <vector>

static ::testing::Environment *const kWindow = ::testing::AddGlobalTestEnvironment(
    new GlTestWindow(kVideoWindowWidth, kVideoWindowHeight, "Ostrel3D video frames GL test"));

namespace {

const float kClear[3] = {0.0f, 0.0f, 1.0f};

struct Frame {
    std::vector<uint8_t> rows = readBackRows(kVideoWindowWidth, kVideoWindowHeight);
    AviColour at(int x, int y) const
    {
        const uint8_t *p = &rows[((size_t)y * kVideoWindowWidth + x) * 3];
        return {p[0], p[1], p[2]};
    }
};

bool near(AviColour a, AviColour b)
{
    return abs(a.r - b.r) <= 2 && abs(a.g - b.g) <= 2 && abs(a.b - b.b) <= 2;
}

::testing::AssertionResult shows(const Frame &frame, int x, int y, AviColour expected)
{
    AviColour got = frame.at(x, y);
    if (near(got, expected))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "pixel (" << x << ", " << y << ") is " << (int)got.r << "," << (int)got.g << ","
           << (int)got.b << ", expected " << (int)expected.r << "," << (int)expected.g << ","
           << (int)expected.b;
}

// One frame of a game loop: clear, let the film draw itself, read back before the swap.
Frame drawOnce(TVideo *video)
{
    o3DProcessMessages();
    beginFlatFrameOf(kVideoWindowWidth, kVideoWindowHeight, kClear[0], kClear[1], kClear[2]);
    o3DVideoUpdate(video);
    Frame frame;
    o3DSwapBuffers();
    return frame;
}

class VideoFrames : public ::testing::Test {
  protected:
    void SetUp() override
    {
        film = folder.file("film.avi");
        ASSERT_TRUE(writeAvi(film, twoHalvesFilm()));
        pumpUntilMapped();
        ASSERT_EQ(o3DOpenVideo(&video, o3DGetWindowHandle(), film.c_str()), 1);
    }
    void TearDown() override
    {
        o3DCloseVideo(&video);
    }
    ScratchFolder folder;
    std::string film;
    TVideo video;
};

const AviColour kClearColour = {0, 0, 255};

TEST_F(VideoFrames, PictureStaysHiddenUntilPlayed)
{
    o3DVideoCenter(&video, kVideoWindowWidth, kVideoWindowHeight);
    Frame frame = drawOnce(&video);
    EXPECT_TRUE(shows(frame, 160, 100, kClearColour));
    EXPECT_TRUE(shows(frame, 160, 140, kClearColour));
}

TEST_F(VideoFrames, CentredPictureIsUprightAndAdvancesAsTheFilmPlays)
{
    // 96 x 64 in 320 x 240: columns 112..207, rows 88..151; top half to row 119.
    o3DVideoCenter(&video, kVideoWindowWidth, kVideoWindowHeight);
    o3DVideoPlay(&video);
    Frame first = drawOnce(&video);
    EXPECT_TRUE(shows(first, 112, 88, kTopEarly));
    EXPECT_TRUE(shows(first, 207, 119, kTopEarly));
    EXPECT_TRUE(shows(first, 112, 120, kBottom));
    EXPECT_TRUE(shows(first, 207, 151, kBottom));
    EXPECT_TRUE(shows(first, 111, 100, kClearColour));
    EXPECT_TRUE(shows(first, 208, 100, kClearColour));
    EXPECT_TRUE(shows(first, 160, 87, kClearColour));
    EXPECT_TRUE(shows(first, 160, 152, kClearColour));

    ASSERT_TRUE(pumpVideoUntil(&video, [&] { return o3DVideoIsFinished(&video) != 0; }));
    Frame last = drawOnce(&video);
    EXPECT_TRUE(shows(last, 160, 100, kTopLate));
    EXPECT_TRUE(shows(last, 160, 140, kBottom));
}

TEST_F(VideoFrames, StretchedPictureCoversTheWholeWindow)
{
    o3DVideoSetRect(&video, 0, 0, kVideoWindowWidth, kVideoWindowHeight);
    o3DVideoSetVisible(&video, 1);
    Frame frame = drawOnce(&video);
    EXPECT_TRUE(shows(frame, 0, 0, kTopEarly));
    EXPECT_TRUE(shows(frame, 319, 100, kTopEarly));
    EXPECT_TRUE(shows(frame, 0, 239, kBottom));
    EXPECT_TRUE(shows(frame, 319, 140, kBottom));
    EXPECT_TRUE(shows(frame, 319, 239, kBottom));
}

// What the blocking player presents, read back at its first swap; the quit ends the film.
Frame *sShown = nullptr;

void readBeforeFirstSwap(void)
{
    if (sShown) {
        *sShown = Frame();
        sShown = nullptr;
        o3DQuit();
    }
    kNativeWindowSeam.swapBuffers();
}

TEST_F(VideoFrames, BlockingPlayerShowsTheFilmCentredOnBlack)
{
    Frame shown;
    sShown = &shown;
    gWindowSeam.swapBuffers = readBeforeFirstSwap;
    EXPECT_EQ(o3DPlayVideo(o3DGetWindowHandle(), film.c_str(), 1), 0);
    platformResetSeam();
    o3DProcessMessages();
    EXPECT_TRUE(shows(shown, 160, 100, kTopEarly));
    EXPECT_TRUE(shows(shown, 160, 140, kBottom));
    EXPECT_TRUE(shows(shown, 20, 20, AviColour{0, 0, 0}));
}

} // namespace
