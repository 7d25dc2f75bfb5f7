// The window layer's rules over a scripted platform: start-up, the pump's events, switching
// presentation and applying display modes. (No GL context exists here; GL calls are no-ops.)
#include "ostrel3d.h"

#include "fake_platform.h"

#include <gtest/gtest.h>

#include <limits.h>

#include <string>

class WindowRules : public ::testing::Test {
  protected:
    void SetUp() override
    {
        installFakePlatform();
        gFake.modes = {{800, 600, 32}, {1024, 768, 32}, {1920, 1080, 32}};
        gFake.desktopWidth = 1920;
        gFake.desktopHeight = 1080;
    }
    void TearDown() override
    {
        o3DShutdown();
        platformResetSeam();
    }
    void start()
    {
        ASSERT_EQ(o3DInit(nullptr, 800, 600, "Ostrel3D"), 1);
    }
};

TEST_F(WindowRules, InitKeepsTheWindowSizeAndSelectsTheMatchingMode)
{
    start();
    EXPECT_EQ(o3DIsRunning(), 1);
    EXPECT_EQ(gFake.createdTitle, "Ostrel3D");
    EXPECT_EQ(o3DGetScreenWidth(), 800);
    EXPECT_EQ(o3DGetScreenHeight(), 600);
    EXPECT_EQ(o3DGetResolutionIndex(), 0);
    EXPECT_EQ(o3DIsFullscreen(), 0);
    EXPECT_NE(o3DGetWindowHandle(), nullptr);
    EXPECT_EQ(gFake.changeModeCalls, 0);
}

TEST_F(WindowRules, AnUnlistedWindowSizeLeavesTheDesktopModeSelected)
{
    ASSERT_EQ(o3DInit(nullptr, 700, 500, "x"), 1);
    EXPECT_EQ(o3DGetResolutionIndex(), 2);
    EXPECT_EQ(o3DGetScreenWidth(), 700);
}

TEST_F(WindowRules, TitlesAreCutTo255CharactersAndNullKeepsTheLastOne)
{
    std::string longTitle(300, 't');
    ASSERT_EQ(o3DInit(nullptr, 800, 600, longTitle.c_str()), 1);
    EXPECT_EQ(gFake.createdTitle, std::string(255, 't'));
    o3DShutdown();
    ASSERT_EQ(o3DInit(nullptr, 800, 600, nullptr), 1);
    EXPECT_EQ(gFake.createdTitle, std::string(255, 't'));
}

TEST_F(WindowRules, AFailedWindowFailsInit)
{
    gFake.createSucceeds = 0;
    EXPECT_EQ(o3DInit(nullptr, 800, 600, "x"), 0);
    EXPECT_EQ(o3DIsRunning(), 0);
}

TEST_F(WindowRules, SizesBelowOneAreRefusedBeforeAnythingChanges)
{
    struct Case {
        int width, height;
    } cases[] = {{0, 600}, {800, 0}, {-1, -1}, {INT_MIN, 600}, {800, INT_MIN}};
    for (const Case &c : cases) {
        int widthBefore = o3DGetScreenWidth(), heightBefore = o3DGetScreenHeight();
        EXPECT_EQ(o3DInit(nullptr, c.width, c.height, "refused"), 0)
            << c.width << " x " << c.height;
        EXPECT_EQ(gFake.haveWindow, 0);
        EXPECT_EQ(o3DIsRunning(), 0);
        EXPECT_EQ(o3DGetScreenWidth(), widthBefore);
        EXPECT_EQ(o3DGetScreenHeight(), heightBefore);
    }
    start();
    EXPECT_EQ(gFake.createdTitle, "Ostrel3D");
}

// A second o3DInit while the window runs fails, whether or not the platform would make another
// window, and the running window keeps its size, title, mode, presentation and running flag.
TEST_F(WindowRules, ASecondInitFailsAndLeavesTheRunningWindowAsItWas)
{
    struct Case {
        int createSucceeds, width, height;
        const char *title;
    } cases[] = {{1, 1024, 768, "second"},
                 {0, 1024, 768, "second"},
                 {1, 0, 0, nullptr},
                 {0, 640, 480, nullptr}};
    start();
    o3DSetFullscreen(1);
    ASSERT_EQ(o3DIsFullscreen(), 1);
    void *window = o3DGetWindowHandle();
    for (const Case &c : cases) {
        gFake.createSucceeds = c.createSucceeds;
        EXPECT_EQ(o3DInit(nullptr, c.width, c.height, c.title), 0) << c.width << " x " << c.height;
        EXPECT_EQ(o3DGetScreenWidth(), 800);
        EXPECT_EQ(o3DGetScreenHeight(), 600);
        EXPECT_EQ(o3DIsFullscreen(), 1);
        EXPECT_EQ(o3DIsRunning(), 1);
        EXPECT_EQ(o3DGetWindowHandle(), window);
        EXPECT_EQ(o3DGetResolutionIndex(), 0);
        EXPECT_EQ(gFake.createdTitle, "Ostrel3D");
    }
    // Full screen asked for again uses the window's own size, not a refused one.
    o3DSetFullscreen(0);
    o3DSetFullscreen(1);
    EXPECT_EQ(gFake.lastModeWidth, 800);
    EXPECT_EQ(gFake.lastModeHeight, 600);
}

TEST_F(WindowRules, QuitAndEverythingQueuedWithItIsHandledInOnePump)
{
    start();
    o3DQuit();
    gFake.queuedEvents.push_back({kEventWheel, 240});
    EXPECT_EQ(o3DIsRunning(), 1); // only the pump drops it
    o3DProcessMessages();
    EXPECT_EQ(o3DIsRunning(), 0);
    EXPECT_EQ(o3DGetMouseWheel(), 2);
}

TEST_F(WindowRules, ClosingTheWindowPostsAQuit)
{
    start();
    gFake.queuedEvents.push_back({kEventCloseRequest, 0});
    o3DProcessMessages();
    EXPECT_EQ(o3DIsRunning(), 0);
}

TEST_F(WindowRules, WheelMessagesAddWholeNotchesOnly)
{
    start();
    gFake.queuedEvents = {{kEventWheel, 240},
                          {kEventWheel, 60},
                          {kEventWheel, -60},
                          {kEventWheel, -120},
                          {kEventWheel, -250}};
    o3DProcessMessages();
    EXPECT_EQ(o3DGetMouseWheel(), 2 + 0 + 0 - 1 - 2);
}

TEST_F(WindowRules, FullScreenChangesTheModeOnceAndPairsTheCursorCounts)
{
    start();
    gFake.queuedEvents.push_back({kEventToggleFullscreen, 0});
    o3DProcessMessages();
    EXPECT_EQ(o3DIsFullscreen(), 1);
    o3DSetFullscreen(1);
    EXPECT_EQ(gFake.changeModeCalls, 1);
    EXPECT_EQ(gFake.lastModeWidth, 800);
    EXPECT_EQ(gFake.hideCalls, 1);
    EXPECT_EQ(gFake.savePlacementCalls, 1);
    EXPECT_EQ(gFake.fullscreenFrameCalls, 1);

    gFake.clientWidth = 790; // the restored window's client area
    gFake.clientHeight = 590;
    o3DToggleFullscreen();
    EXPECT_EQ(o3DIsFullscreen(), 0);
    EXPECT_EQ(gFake.restoreModeCalls, 1);
    EXPECT_EQ(gFake.restoreWindowedCalls, 1);
    EXPECT_EQ(gFake.cursorCount, 0);
    EXPECT_EQ(o3DGetScreenWidth(), 790);
    EXPECT_EQ(o3DGetScreenHeight(), 590);
}

TEST_F(WindowRules, AModeThatCannotBeSetShowsTheMessageAndStaysWindowed)
{
    start();
    gFake.changeModeSucceeds = 0;
    o3DSetFullscreen(1);
    EXPECT_EQ(o3DIsFullscreen(), 0);
    ASSERT_EQ(gFake.boxes.size(), 1u);
    EXPECT_EQ(gFake.boxes[0], "Blad|Nie mozna zmienic rozdzielczosci!");
    EXPECT_EQ(gFake.hideCalls, 0);
    EXPECT_EQ(gFake.fullscreenFrameCalls, 0);
}

TEST_F(WindowRules, ApplyingAModeWindowedResizesTheWindow)
{
    start();
    EXPECT_EQ(o3DSetResolution(1), 1);
    EXPECT_EQ(gFake.placeCentredCalls, 1);
    EXPECT_EQ(o3DGetScreenWidth(), 1024);
    EXPECT_EQ(o3DGetResolutionIndex(), 1);
    EXPECT_EQ(gFake.changeModeCalls, 0);

    EXPECT_EQ(o3DSetResolution(3), 0);
    EXPECT_EQ(o3DSetResolution(-1), 0);
    EXPECT_EQ(o3DSetResolutionSize(1000, 700), 0);
    EXPECT_EQ(o3DGetResolutionIndex(), 1);
    EXPECT_EQ(o3DSetResolutionSize(1920, 1080), 1);
    EXPECT_EQ(o3DGetScreenHeight(), 1080);
}

TEST_F(WindowRules, ApplyingAModeInFullScreenChangesTheDisplayMode)
{
    start();
    o3DSetFullscreen(1);
    EXPECT_EQ(o3DSetResolution(1), 1);
    EXPECT_EQ(gFake.lastModeWidth, 1024);
    EXPECT_EQ(gFake.coverScreenCalls, 1);
    EXPECT_EQ(o3DGetScreenWidth(), 1024);
    EXPECT_EQ(o3DIsFullscreen(), 1);
}

TEST_F(WindowRules, AFailedModeInFullScreenDropsToTheWindowSilently)
{
    start();
    o3DSetFullscreen(1);
    gFake.changeModeSucceeds = 0;
    gFake.clientWidth = 800;
    gFake.clientHeight = 600;
    EXPECT_EQ(o3DSetResolution(2), 1);
    EXPECT_EQ(o3DIsFullscreen(), 0);
    EXPECT_TRUE(gFake.boxes.empty());
    EXPECT_EQ(o3DGetScreenWidth(), 800);
    EXPECT_EQ(gFake.cursorCount, 0);
    // The mode size kept the new entry: full screen now asks for it.
    gFake.changeModeSucceeds = 1;
    o3DSetFullscreen(1);
    EXPECT_EQ(gFake.lastModeWidth, 1920);
}

TEST_F(WindowRules, ShutdownInFullScreenRestoresTheDesktopAndTheCursor)
{
    start();
    o3DSetFullscreen(1);
    o3DShutdown();
    EXPECT_EQ(o3DIsRunning(), 0);
    EXPECT_EQ(gFake.restoreModeCalls, 1);
    EXPECT_EQ(gFake.cursorCount, 0);
    EXPECT_EQ(o3DGetWindowHandle(), nullptr);
    EXPECT_EQ(gFake.destroyCalls, 1);
}
