// The window on a real display: the GL state o3DInit leaves, full screen on and off with the
// backend's own display-mode and cursor calls (counted through the seam), resolutions by size,
// and the quit that drops the running flag at the next pump.
#include "foundation_gl.h"

#include "platform/seam.h"

static ::testing::Environment *const kWindow =
    ::testing::AddGlobalTestEnvironment(new GlWindowEnvironment("Ostrel3D window GL test"));

namespace {

// What the engine asked of the backend while a test ran.
struct SeamLog {
    int hides, shows, cursorCount;
    int modeChanges, modeWidth, modeHeight, modeRestores;
    int boxes;
};

SeamLog sLog;

int countShowCursor(int show)
{
    ++(show ? sLog.shows : sLog.hides);
    sLog.cursorCount = kNativeInputSeam.showCursor(show);
    return sLog.cursorCount;
}

int countChangeMode(int width, int height)
{
    ++sLog.modeChanges;
    sLog.modeWidth = width;
    sLog.modeHeight = height;
    return kNativeDisplaySeam.changeMode(width, height);
}

void countRestoreMode(void)
{
    ++sLog.modeRestores;
    kNativeDisplaySeam.restoreMode();
}

// A box would wait for a click nobody gives; count it instead.
void countBox(const char *, const char *, PlatformBoxIcon, int)
{
    ++sLog.boxes;
}

// A few frames pass, as in the main loop; some GL drivers take a new window size at a swap.
void runFrames(void)
{
    for (int i = 0; i < 5; ++i) {
        o3DProcessMessages();
        o3DSwapBuffers();
    }
}

// The window's client area as the window system reports it.
void clientSize(int *width, int *height)
{
    gWindowSeam.clientSize(width, height);
}

GLint viewportValue(int i)
{
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    return viewport[i];
}

class WindowGl : public ::testing::Test {
  protected:
    void SetUp() override
    {
        sLog = SeamLog();
        gInputSeam.showCursor = countShowCursor;
        gDisplaySeam.changeMode = countChangeMode;
        gDisplaySeam.restoreMode = countRestoreMode;
        gDialogSeam.messageBox = countBox;
    }
    void TearDown() override
    {
        o3DSetFullscreen(0);
        platformResetSeam();
    }

    // The engine's pixel projection over the current drawable size, as the switch left it and
    // as o3DBegin2D makes it from the size the view was told; checked by drawing in both corners.
    void expectPixelProjection(void)
    {
        int w = o3DGetScreenWidth(), h = o3DGetScreenHeight();
        EXPECT_EQ(viewportValue(0), 0);
        EXPECT_EQ(viewportValue(1), 0);
        EXPECT_EQ(viewportValue(2), w);
        EXPECT_EQ(viewportValue(3), h);
        std::vector<float> pixels = orthoMatrix(0, (float)w, (float)h, 0, -1, 1);
        EXPECT_TRUE(matricesNear(matrixOf(GL_PROJECTION_MATRIX), pixels));
        o3DBegin2D();
        EXPECT_TRUE(matricesNear(matrixOf(GL_PROJECTION_MATRIX), pixels));
        o3DClearScreen(0.0f, 0.0f, 0.0f);
        o3DSetColor(1.0f, 0.0f, 0.0f);
        o3DFillRect(0, 0, 1, 1);
        o3DFillRect((float)w - 1, (float)h - 1, 1, 1);
        Frame frame = readFrame();
        EXPECT_EQ(frame.at(0, 0), kRed);
        EXPECT_EQ(frame.at(w - 1, h - 1), kRed);
        EXPECT_EQ(frame.count(kRed), 2);
    }

    // After leaving full screen or resizing the window the size is the client area's.
    void expectClientSize(void)
    {
        int w = 0, h = 0;
        clientSize(&w, &h);
        EXPECT_EQ(o3DGetScreenWidth(), w);
        EXPECT_EQ(o3DGetScreenHeight(), h);
    }
};

TEST(WindowInitGl, InitLeavesBlendingSmoothingAndThePixelProjection)
{
    const GlStartState &s = gStartState;
    EXPECT_TRUE(s.blend);
    EXPECT_EQ(s.blendSrc, GL_SRC_ALPHA);
    EXPECT_EQ(s.blendDst, GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_TRUE(s.lineSmooth);
    EXPECT_TRUE(s.pointSmooth);
    EXPECT_EQ(s.lineSmoothHint, GL_NICEST);
    EXPECT_EQ(s.pointSmoothHint, GL_NICEST);
    EXPECT_FALSE(s.depthTest);
    EXPECT_EQ(s.matrixMode, GL_MODELVIEW);
    EXPECT_TRUE(matricesNear(std::vector<float>(s.projection, s.projection + 16),
                             orthoMatrix(0, 800, 600, 0, -1, 1)));
    EXPECT_TRUE(matricesNear(std::vector<float>(s.modelview, s.modelview + 16), identityMatrix()));
    // The viewport is the context's own: the whole client area.
    int w = 0, h = 0;
    clientSize(&w, &h);
    EXPECT_EQ(s.viewport[0], 0);
    EXPECT_EQ(s.viewport[1], 0);
    EXPECT_EQ(s.viewport[2], w);
    EXPECT_EQ(s.viewport[3], h);
}

TEST(WindowInitGl, ContextIsDoubleBufferedWithDepthAndStencil)
{
    const GlStartState &s = gStartState;
    EXPECT_TRUE(s.doubleBuffer);
    EXPECT_EQ(s.redBits, 8);
    EXPECT_EQ(s.greenBits, 8);
    EXPECT_EQ(s.blueBits, 8);
    EXPECT_GE(s.depthBits, 16);
    EXPECT_GE(s.stencilBits, 8);
    EXPECT_NE(o3DGetWindowHandle(), nullptr);
    EXPECT_EQ(o3DIsRunning(), 1);
}

TEST_F(WindowGl, FullScreenChangesModeAndHidesTheCursorOnceUntilLeft)
{
    ASSERT_EQ(o3DIsFullscreen(), 0);
    o3DSetFullscreen(1);
    runFrames();
    EXPECT_EQ(sLog.boxes, 0) << "the display refused 800x600";
    EXPECT_EQ(o3DIsFullscreen(), 1);
    EXPECT_EQ(sLog.modeChanges, 1);
    EXPECT_EQ(sLog.modeWidth, 800);
    EXPECT_EQ(sLog.modeHeight, 600);
    EXPECT_EQ(sLog.hides, 1);
    EXPECT_EQ(sLog.shows, 0);
    EXPECT_LT(sLog.cursorCount, 0); // hidden
    EXPECT_EQ(o3DGetScreenWidth(), 800);
    EXPECT_EQ(o3DGetScreenHeight(), 600);
    expectPixelProjection();

    o3DSetFullscreen(1);
    runFrames();
    EXPECT_EQ(sLog.modeChanges, 1);
    EXPECT_EQ(sLog.hides, 1);

    o3DSetFullscreen(0);
    runFrames();
    EXPECT_EQ(o3DIsFullscreen(), 0);
    EXPECT_EQ(sLog.modeRestores, 1);
    EXPECT_EQ(sLog.shows, 1);
    EXPECT_EQ(sLog.cursorCount, 0); // shown again, and no extra show left over
    expectClientSize();
    expectPixelProjection();

    o3DSetFullscreen(0);
    EXPECT_EQ(sLog.modeRestores, 1);
    EXPECT_EQ(sLog.shows, 1);
}

TEST_F(WindowGl, ToggleFullscreenAlternates)
{
    o3DToggleFullscreen();
    runFrames();
    EXPECT_EQ(o3DIsFullscreen(), 1);
    o3DToggleFullscreen();
    runFrames();
    EXPECT_EQ(o3DIsFullscreen(), 0);
    EXPECT_EQ(sLog.hides, 1);
    EXPECT_EQ(sLog.shows, 1);
}

TEST_F(WindowGl, UnlistedResolutionsAreRefusedAndChangeNothing)
{
    int selected = o3DGetResolutionIndex();
    int w = o3DGetScreenWidth(), h = o3DGetScreenHeight();
    std::vector<float> projection = matrixOf(GL_PROJECTION_MATRIX);
    EXPECT_EQ(o3DSetResolutionSize(1234, 567), 0);
    EXPECT_EQ(o3DSetResolutionSize(0, 0), 0);
    EXPECT_EQ(o3DSetResolution(-1), 0);
    EXPECT_EQ(o3DSetResolution(o3DGetDisplayModeCount()), 0);
    runFrames();
    EXPECT_EQ(o3DGetResolutionIndex(), selected);
    EXPECT_EQ(o3DGetScreenWidth(), w);
    EXPECT_EQ(o3DGetScreenHeight(), h);
    EXPECT_TRUE(matricesNear(matrixOf(GL_PROJECTION_MATRIX), projection));
    EXPECT_EQ(sLog.modeChanges, 0);
}

TEST_F(WindowGl, TheWindowSizeIsTheSelectedModeAndAppliesWindowed)
{
    // The screen is 800 x 600, so the desktop's own mode is the window's size.
    ASSERT_TRUE(o3DHasDisplayMode(800, 600));
    TDisplayMode *selected = o3DGetCurrentDisplayMode();
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(selected->width, 800);
    EXPECT_EQ(selected->height, 600);

    glViewport(0, 0, 10, 10);
    EXPECT_EQ(o3DSetResolutionSize(800, 600), 1);
    runFrames();
    EXPECT_EQ(o3DIsFullscreen(), 0);
    EXPECT_EQ(sLog.modeChanges, 0); // windowed: the display keeps its mode
    expectClientSize();
    expectPixelProjection();
}

// Last: after it the running flag stays down for the rest of the program.
TEST_F(WindowGl, QuitDropsRunningAtTheNextPump)
{
    ASSERT_EQ(o3DIsRunning(), 1);
    o3DQuit();
    EXPECT_EQ(o3DIsRunning(), 1);
    o3DProcessMessages();
    EXPECT_EQ(o3DIsRunning(), 0);
}

} // namespace
