// The win32 backend on a real window under Wine: what the window procedure reports, the pump,
// the frame changes behind full screen, and the display and cursor calls. The engine's rules on
// top of these are tested above the seam.
#include "ostrel3d.h"
#include "platform/seam.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

namespace {

struct Event {
    PlatformEvent event;
    int value;
};

std::vector<Event> gEvents;

void record(PlatformEvent event, int value)
{
    gEvents.push_back({event, value});
}

int countOf(PlatformEvent event)
{
    int n = 0;
    for (const Event &e : gEvents)
        n += e.event == event;
    return n;
}

HWND window()
{
    return (HWND)kNativeWindowSeam.handle();
}

// The system adds WS_CLIPSIBLINGS to every top-level window; the rest is what the backend set.
DWORD windowStyle()
{
    return (DWORD)GetWindowLongA(window(), GWL_STYLE) & ~(DWORD)WS_CLIPSIBLINGS;
}

RECT windowRect()
{
    RECT rect = {};
    GetWindowRect(window(), &rect);
    return rect;
}

void setAltHeld(bool held)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_MENU] = held ? 0x80 : 0;
    SetKeyboardState(keys);
}

// One window for the suite: destroying a window costs Wine seconds without a window manager.
// Tests that move it put it back.
class Win32Seam : public ::testing::Test {
  protected:
    static void SetUpTestSuite()
    {
        ASSERT_EQ(kNativeWindowSeam.create("Ostrel3D", 320, 240), 1);
    }
    static void TearDownTestSuite()
    {
        kNativeWindowSeam.destroy();
        kNativeWindowSeam.pump(record);
    }
    void SetUp() override
    {
        ASSERT_NE(window(), nullptr);
        // Drop whatever is still queued and hand the procedure our recorder.
        kNativeWindowSeam.pump(record);
        gEvents.clear();
    }
    void TearDown() override
    {
        setAltHeld(false);
    }
};

TEST_F(Win32Seam, CreateMakesFixedCentredWindowOfClientSizeWithCurrentContext)
{
    int width = 0, height = 0;
    kNativeWindowSeam.clientSize(&width, &height);
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 240);
    EXPECT_EQ(windowStyle(), 0x10CA0000u);

    char title[64] = {};
    GetWindowTextA(window(), title, sizeof title);
    EXPECT_STREQ(title, "Ostrel3D");
    char className[64] = {};
    GetClassNameA(window(), className, sizeof className);
    EXPECT_STREQ(className, "OstrelClass");

    RECT outer = windowRect();
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) / 2);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - (outer.bottom - outer.top)) / 2);

    EXPECT_NE(wglGetCurrentContext(), nullptr);
    PIXELFORMATDESCRIPTOR pfd = {};
    HDC dc = wglGetCurrentDC();
    DescribePixelFormat(dc, GetPixelFormat(dc), sizeof pfd, &pfd);
    EXPECT_TRUE(pfd.dwFlags & PFD_DOUBLEBUFFER);
    EXPECT_GE(pfd.cDepthBits, 16);
    EXPECT_GE(pfd.cStencilBits, 8);
}

TEST_F(Win32Seam, DestroyDropsContextAndWindowAndCreateWorksAgain)
{
    HWND first = window();
    kNativeWindowSeam.destroy();
    EXPECT_EQ(countOf(kEventCloseRequest), 1); // WM_DESTROY, as the window goes
    EXPECT_EQ(window(), nullptr);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    kNativeWindowSeam.destroy(); // nothing left to destroy: must not crash

    // The class outlives the window, so a second window in the same process can be made.
    ASSERT_EQ(kNativeWindowSeam.create("Ostrel3D", 320, 240), 1);
    EXPECT_TRUE(IsWindow(window()));
}

TEST_F(Win32Seam, CloseIsReportedAndLeavesTheWindowStanding)
{
    EXPECT_EQ(SendMessageA(window(), WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(countOf(kEventCloseRequest), 1);
    EXPECT_TRUE(IsWindow(window()));
}

TEST_F(Win32Seam, AltEnterTogglesOnceWhetherSentAsSystemOrPlainKey)
{
    const LPARAM altDown = 1 << 29, repeat = 1 << 30;
    EXPECT_EQ(SendMessageA(window(), WM_SYSKEYDOWN, VK_RETURN, altDown | 1), 0);
    EXPECT_EQ(countOf(kEventToggleFullscreen), 1);
    SendMessageA(window(), WM_SYSKEYDOWN, VK_RETURN, altDown | repeat | 1); // held: no flicker
    EXPECT_EQ(countOf(kEventToggleFullscreen), 1);
    SendMessageA(window(), WM_SYSKEYDOWN, VK_F10, 1); // F10 alone is no toggle
    SendMessageA(window(), WM_KEYDOWN, VK_RETURN, 1); // Enter without Alt neither
    EXPECT_EQ(countOf(kEventToggleFullscreen), 1);

    setAltHeld(true);
    EXPECT_EQ(SendMessageA(window(), WM_KEYDOWN, VK_RETURN, 1), 0);
    EXPECT_EQ(countOf(kEventToggleFullscreen), 2);
    EXPECT_EQ(gEvents.size(), 2u);
}

TEST_F(Win32Seam, WheelReportsTheSignedRawDelta)
{
    SendMessageA(window(), WM_MOUSEWHEEL, MAKEWPARAM(0, 240), 0);
    SendMessageA(window(), WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)-60), 0);
    ASSERT_EQ(gEvents.size(), 2u);
    EXPECT_EQ(gEvents[0].event, kEventWheel);
    EXPECT_EQ(gEvents[0].value, 240);
    EXPECT_EQ(gEvents[1].value, -60);
}

TEST_F(Win32Seam, OnePumpReportsTheQuitAndEverythingQueuedWithIt)
{
    kNativeWindowSeam.postQuit();
    PostMessageA(window(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    PostMessageA(window(), WM_CLOSE, 0, 0);
    kNativeWindowSeam.pump(record);
    // The system hands out a posted quit only once the other posted messages are gone.
    ASSERT_EQ(gEvents.size(), 3u);
    EXPECT_EQ(gEvents[0].event, kEventWheel);
    EXPECT_EQ(gEvents[1].event, kEventCloseRequest);
    EXPECT_EQ(gEvents[2].event, kEventQuit);

    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE));
}

TEST_F(Win32Seam, FullscreenFrameCoversScreenAndRestoreBringsBackTheSavedWindow)
{
    RECT before = windowRect();
    kNativeWindowSeam.savePlacement();
    kNativeWindowSeam.enterFullscreenFrame();
    EXPECT_EQ(windowStyle(), 0x90000000u);
    RECT full = windowRect();
    EXPECT_EQ(full.left, 0);
    EXPECT_EQ(full.top, 0);
    EXPECT_EQ(full.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(full.bottom, GetSystemMetrics(SM_CYSCREEN));

    kNativeWindowSeam.restoreWindowed();
    EXPECT_EQ(windowStyle(), 0x10CA0000u);
    RECT after = windowRect();
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.right, before.right);
    EXPECT_EQ(after.bottom, before.bottom);
    int width = 0, height = 0;
    kNativeWindowSeam.clientSize(&width, &height);
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 240);
}

TEST_F(Win32Seam, PlaceCentredMeasuresWithSizingFrameAndMayGoNegative)
{
    kNativeWindowSeam.savePlacement();
    RECT frame = {0, 0, 400, 300};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW | WS_VISIBLE, FALSE);
    const int outerWidth = frame.right - frame.left, outerHeight = frame.bottom - frame.top;
    kNativeWindowSeam.placeCentred(400, 300);
    RECT placed = windowRect();
    EXPECT_EQ(placed.right - placed.left, outerWidth);
    EXPECT_EQ(placed.bottom - placed.top, outerHeight);
    EXPECT_EQ(placed.left, (GetSystemMetrics(SM_CXSCREEN) - outerWidth) / 2);
    EXPECT_EQ(placed.top, (GetSystemMetrics(SM_CYSCREEN) - outerHeight) / 2);

    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    kNativeWindowSeam.placeCentred(screenWidth + 201, 100);
    EXPECT_LT(windowRect().left, 0);
    kNativeWindowSeam.restoreWindowed();
}

TEST_F(Win32Seam, DisplayListsTheDesktopModeAndRefusesAnUnofferedOne)
{
    int width = 0, height = 0;
    ASSERT_EQ(kNativeDisplaySeam.currentMode(&width, &height), 1);
    EXPECT_EQ(width, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(height, GetSystemMetrics(SM_CYSCREEN));

    bool desktopListed = false;
    int index = 0, w = 0, h = 0, bpp = 0;
    for (; index < 10000 && kNativeDisplaySeam.modeAt(index, &w, &h, &bpp); ++index)
        desktopListed = desktopListed || (w == width && h == height);
    EXPECT_TRUE(desktopListed);
    EXPECT_LT(index, 10000); // the enumeration ends
    EXPECT_EQ(kNativeDisplaySeam.modeAt(-1, &w, &h, &bpp), 0);

    EXPECT_EQ(kNativeDisplaySeam.changeMode(width + 13, height + 7), 0);
    EXPECT_EQ(kNativeDisplaySeam.currentMode(&w, &h), 1);
    EXPECT_EQ(w, width);
}

TEST_F(Win32Seam, CursorRoundTripsThroughClientCoordinatesAndShowCountNests)
{
    kNativeInputSeam.setCursorInClient(37, 21);
    int x = 0, y = 0;
    kNativeInputSeam.cursorInClient(&x, &y);
    EXPECT_EQ(x, 37);
    EXPECT_EQ(y, 21);

    int shown = kNativeInputSeam.showCursor(1);
    EXPECT_EQ(kNativeInputSeam.showCursor(0), shown - 1);
    EXPECT_EQ(kNativeInputSeam.showCursor(0), shown - 2);
    EXPECT_EQ(kNativeInputSeam.showCursor(1), shown - 1);
    kNativeInputSeam.showCursor(0);
}

// The header names keys without <windows.h>; its numbers must be the virtual-key codes the
// system reports.
TEST(Win32KeyNames, AreTheSystemsVirtualKeyCodes)
{
    const struct {
        int named, system;
    } keys[] = {
        {O3D_KEY_LBUTTON, VK_LBUTTON},
        {O3D_KEY_RBUTTON, VK_RBUTTON},
        {O3D_KEY_MBUTTON, VK_MBUTTON},
        {O3D_KEY_BACKSPACE, VK_BACK},
        {O3D_KEY_TAB, VK_TAB},
        {O3D_KEY_ENTER, VK_RETURN},
        {O3D_KEY_SHIFT, VK_SHIFT},
        {O3D_KEY_CONTROL, VK_CONTROL},
        {O3D_KEY_ALT, VK_MENU},
        {O3D_KEY_PAUSE, VK_PAUSE},
        {O3D_KEY_CAPSLOCK, VK_CAPITAL},
        {O3D_KEY_ESCAPE, VK_ESCAPE},
        {O3D_KEY_SPACE, VK_SPACE},
        {O3D_KEY_PAGEUP, VK_PRIOR},
        {O3D_KEY_PAGEDOWN, VK_NEXT},
        {O3D_KEY_END, VK_END},
        {O3D_KEY_HOME, VK_HOME},
        {O3D_KEY_LEFT, VK_LEFT},
        {O3D_KEY_UP, VK_UP},
        {O3D_KEY_RIGHT, VK_RIGHT},
        {O3D_KEY_DOWN, VK_DOWN},
        {O3D_KEY_INSERT, VK_INSERT},
        {O3D_KEY_DELETE, VK_DELETE},
        {O3D_KEY_NUMPAD0, VK_NUMPAD0},
        {O3D_KEY_NUMPAD9, VK_NUMPAD9},
        {O3D_KEY_F1, VK_F1},
        {O3D_KEY_F8, VK_F8},
        {O3D_KEY_F12, VK_F12},
        {O3D_KEY_LSHIFT, VK_LSHIFT},
        {O3D_KEY_RSHIFT, VK_RSHIFT},
        {O3D_KEY_LCONTROL, VK_LCONTROL},
        {O3D_KEY_RCONTROL, VK_RCONTROL},
        {O3D_KEY_LALT, VK_LMENU},
        {O3D_KEY_RALT, VK_RMENU},
    };
    for (const auto &key : keys)
        EXPECT_EQ(key.named, key.system) << "virtual-key code " << key.system;
}

} // namespace
