// The sdl backend's input on a real X display, driven as a user would: the pointer moved by the
// X server (no button pressed) must show in the mouse position, windowed, in full screen and under
// mouse look; keys pressed on a French (AZERTY) layout must give the virtual-key codes of what
// they type, as Windows gives them, with the physical position used only for keys without a
// symbol. The layout is set with setxkbmap before the window opens; keys go in through xdotool.
#include "gl_test_window.h"

#include "platform/seam.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

#include <stdlib.h>

#include <functional>
#include <string>

namespace {

const int kWidth = 800, kHeight = 600; // the virtual screen's one mode, so full screen works
const int kMaxFrames = 400;            // a bound on waiting for the X server's events

int sBoxes;

void countBox(const char *, const char *, PlatformBoxIcon, int)
{
    ++sBoxes;
}

// The French layout is in force before SDL reads the keymap.
struct AzertyWindow : GlTestWindow {
    AzertyWindow() : GlTestWindow(kWidth, kHeight, "sdl input test", pumpUntilMapped)
    {
    }
    void SetUp() override
    {
        ASSERT_EQ(system("setxkbmap fr"), 0) << "setxkbmap (x11-xkb-utils) must be installed";
        GlTestWindow::SetUp();
    }
};

::testing::Environment *const kWindow = ::testing::AddGlobalTestEnvironment(new AzertyWindow);

Display *xDisplay(void)
{
    static Display *display = XOpenDisplay(nullptr);
    return display;
}

Window xWindow(void)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo((SDL_Window *)o3DGetWindowHandle(), &info) ||
        info.subsystem != SDL_SYSWM_X11)
        return 0;
    return info.info.x11.window;
}

// Runs frames as the main loop does until `done` holds; false if it never did.
bool runFramesUntil(const std::function<bool()> &done)
{
    for (int frame = 0; frame < kMaxFrames; ++frame) {
        o3DProcessMessages();
        o3DUpdateMouse();
        o3DUpdateKeyboard();
        if (done())
            return true;
        SDL_Delay(2);
    }
    return false;
}

// The X server moves the pointer to a point of the window, as a real mouse would.
void movePointer(int x, int y)
{
    XWarpPointer(xDisplay(), 0, xWindow(), 0, 0, 0, 0, x, y);
    XSync(xDisplay(), False);
}

bool mouseAt(int x, int y)
{
    return o3DGetMouseX() == x && o3DGetMouseY() == y;
}

class SdlInput : public ::testing::Test {
  protected:
    void SetUp() override
    {
        ASSERT_NE(xDisplay(), nullptr);
        ASSERT_NE(xWindow(), 0u);
        gDialogSeam.messageBox = countBox;
        sBoxes = 0;
    }
    void TearDown() override
    {
        o3DReleaseMouse();
        o3DSetFullscreen(0);
        platformResetSeam();
    }
    void expectPointerFollowed(const char *presentation)
    {
        const struct {
            int x, y;
        } points[] = {{100, 80}, {333, 222}, {20, 560}, {780, 10}, {400, 300}};
        for (const auto &p : points) {
            movePointer(p.x, p.y);
            EXPECT_TRUE(runFramesUntil([&] { return mouseAt(p.x, p.y); }))
                << presentation << ": pointer moved to " << p.x << ", " << p.y << ", mouse at "
                << o3DGetMouseX() << ", " << o3DGetMouseY();
        }
    }
};

TEST_F(SdlInput, APointerMoveWithoutAClickMovesTheMouseWindowed)
{
    runFramesUntil([] { return false; });
    expectPointerFollowed("windowed");
}

TEST_F(SdlInput, APointerMoveWithoutAClickMovesTheMouseInFullScreen)
{
    o3DSetFullscreen(1);
    ASSERT_EQ(o3DIsFullscreen(), 1);
    EXPECT_EQ(sBoxes, 0);
    runFramesUntil([] { return false; });
    expectPointerFollowed("full screen");
}

// Mouse look puts the pointer back in the centre every frame; a move from there is the turn.
TEST_F(SdlInput, APointerMoveUnderMouseLookGivesTheMovement)
{
    o3DCaptureMouse();
    runFramesUntil([] { return false; });
    const struct {
        int dx, dy;
    } moves[] = {{30, 20}, {-45, 7}, {0, -60}};
    for (const auto &m : moves) {
        movePointer(kWidth / 2 + m.dx, kHeight / 2 + m.dy);
        EXPECT_TRUE(runFramesUntil([&] {
            return o3DGetMouseDX() == m.dx && o3DGetMouseDY() == m.dy;
        })) << "moved by "
            << m.dx << ", " << m.dy << "; last seen " << o3DGetMouseDX() << ", " << o3DGetMouseDY();
        runFramesUntil([] { return o3DGetMouseDX() == 0 && o3DGetMouseDY() == 0; });
    }
}

bool xdotool(const std::string &action, const char *key)
{
    return system(("xdotool " + action + " " + key).c_str()) == 0;
}

// On AZERTY: letters where the layout puts them (the key typing m is the one right of L on the
// physical US layout), the digit row as digits although it types & é " ..., punctuation by its
// character, and keys without a symbol by position.
TEST_F(SdlInput, KeysFollowTheLayoutWhereTheyTypeASymbol)
{
    movePointer(kWidth / 2, kHeight / 2);
    XSetInputFocus(xDisplay(), xWindow(), RevertToParent, CurrentTime);
    XSync(xDisplay(), False);
    const struct {
        const char *key; // the X key symbol xdotool presses
        int code;        // the virtual-key code the engine must report
        int physical;    // the code of the same key on the US layout
    } keys[] = {
        {"m", 'M', 186}, {"a", 'A', 'Q'},     {"q", 'Q', 'A'},       {"z", 'Z', 'W'},
        {"w", 'W', 'Z'}, {"comma", 188, 'M'}, {"ampersand", '1', 0}, {"eacute", '2', 0},
        {"F5", 116, 0},  {"Left", 37, 0},     {"KP_Add", 107, 0},    {"Return", 13, 0},
    };
    for (const auto &k : keys) {
        ASSERT_TRUE(xdotool("keydown", k.key)) << k.key;
        EXPECT_TRUE(runFramesUntil([&] { return o3DKeyDown(k.code) == 1; }))
            << "key " << k.key << " should be down as code " << k.code;
        if (k.physical) {
            EXPECT_EQ(o3DKeyDown(k.physical), 0) << "key " << k.key << " taken by position";
        }
        ASSERT_TRUE(xdotool("keyup", k.key)) << k.key;
        EXPECT_TRUE(runFramesUntil([&] { return o3DKeyDown(k.code) == 0; }))
            << "key " << k.key << " should be up again";
    }
}

} // namespace
