// The platform seam: everything the engine asks of the operating system, one small table per
// concern. The engine's rules (flags, sizes, counters, edges, the mode list) live above it and are
// written once; each backend (sdl/, win32/) fills these tables with its own calls and nothing more.
// Tests replace single entries to inject time, input, display modes and message-box answers.
#ifndef O3D_PLATFORM_SEAM_H
#define O3D_PLATFORM_SEAM_H

#include <stdint.h>

// What the backend's message pump reports to the engine (the window procedure's cases).
enum PlatformEvent {
    kEventQuit,             // the quit message itself: running drops
    kEventCloseRequest,     // the user closed the window (WM_CLOSE / WM_DESTROY): post a quit
    kEventToggleFullscreen, // Alt+Enter
    kEventWheel,            // wheel turned; value in 1/120 notches, positive away from the user
};

struct PlatformWindowSeam {
    // Creates the visible fixed-size window whose client area is width x height, centred on the
    // primary screen, with a current OpenGL context (24-bit colour, 16 depth, 8 stencil, double
    // buffered); saves its placement. 1 on success, 0 if no window could be made.
    int (*create)(const char *title, int width, int height);
    // Drops the context and destroys the window; safe to call when there is none.
    void (*destroy)(void);
    // The native window (HWND or SDL_Window*), null when there is none.
    void *(*handle)(void);
    void (*swapBuffers)(void);
    // Handles every queued message without waiting, reporting each through `dispatch`. The
    // backend may also report through the last dispatch outside the pump (while the window is
    // being destroyed or moved).
    void (*pump)(void (*dispatch)(PlatformEvent event, int value));
    // Queues a quit message (exit code 0) that a later pump reports as kEventQuit.
    void (*postQuit)(void);
    // Saves the window's current placement (position, size, state) for restoreWindowed.
    void (*savePlacement)(void);
    // Turns the window into a borderless popup covering the whole screen, on top.
    void (*enterFullscreenFrame)(void);
    // Restores the windowed style and the saved placement, and redraws the frame.
    void (*restoreWindowed)(void);
    // Moves and sizes the windowed window to a client area of width x height, centred.
    void (*placeCentred)(int width, int height);
    // Keeps the popup at (0, 0) with the screen size after a mode change.
    void (*coverScreen)(void);
    // The drawable size in pixels; 0 x 0 when there is no window.
    void (*clientSize)(int *width, int *height);
};

struct PlatformDisplaySeam {
    // Mode `index` of the primary display's enumeration; 0 when there are no more.
    int (*modeAt)(int index, int *width, int *height, int *bitsPerPixel);
    // The desktop's current mode; 0 if unknown.
    int (*currentMode)(int *width, int *height);
    // Changes the display to width x height at 32 bits for full screen; 1 on success.
    int (*changeMode)(int width, int height);
    // Back to the desktop's own mode.
    void (*restoreMode)(void);
};

struct PlatformInputSeam {
    // 1 while the key of this virtual-key code is down (GetAsyncKeyState's high bit).
    int (*keyDown)(int code);
    // The cursor in client coordinates of the main window.
    void (*cursorInClient)(int *x, int *y);
    // Moves the cursor to a client-area point of the main window.
    void (*setCursorInClient)(int x, int y);
    // One step of the cursor show counter (+1 show, -1 hide); returns the new count. The cursor
    // shows while the count is >= 0.
    int (*showCursor)(int show);
};

struct PlatformClockSeam {
    int64_t (*counter)(void);
    int64_t (*frequency)(void);
    uint32_t (*tickCount)(void);
    void (*sleepMs)(uint32_t ms);
};

enum PlatformBoxIcon { kBoxNoIcon, kBoxError, kBoxWarning, kBoxInformation };

struct PlatformDialogSeam {
    // A modal box with an OK button; owned by the main window when `owned` is 1. On sdl the
    // caption and text also go to standard error.
    void (*messageBox)(const char *text, const char *caption, PlatformBoxIcon icon, int owned);
};

struct PlatformImageSeam {
    // Reads a bitmap file with the platform's own loader as 24-bit top-down rows of B, G, R
    // bytes, each row padded to a multiple of 4 bytes. Returns a malloc'd buffer the caller
    // frees, or null; width and height are the picture's size.
    unsigned char *(*readBitmap)(const char *path, int *width, int *height);
};

struct PlatformFontSeam {
    // Makes a system font of the face (an unknown face gets the system's fallback), character
    // height in pixels, weight (400 normal, 700 bold) and slant, and builds its glyphs 0..255
    // into the 256 display lists from listBase. Returns the handle kept for measuring, or null.
    void *(*create)(const char *face, int size, int weight, int italic, unsigned int listBase);
    // The width in pixels of the text in that font.
    int (*measure)(void *handle, const char *text);
    // Gives the handle back.
    void (*release)(void *handle);
};

struct PlatformFileSeam {
    // Deletes every file of the current directory whose name matches the pattern, where `*`
    // stands for any run of characters; a pattern matching nothing deletes nothing.
    void (*deleteMatching)(const char *pattern);
};

// The live tables. They start as the backend's; tests may overwrite single entries.
extern PlatformWindowSeam gWindowSeam;
extern PlatformDisplaySeam gDisplaySeam;
extern PlatformInputSeam gInputSeam;
extern PlatformClockSeam gClockSeam;
extern PlatformDialogSeam gDialogSeam;
extern PlatformImageSeam gImageSeam;
extern PlatformFontSeam gFontSeam;
extern PlatformFileSeam gFileSeam;

// Each backend defines its tables under these names, as constexpr, and beside each the live table
// above as a copy of it: constant initialisation, so the engine works before dynamic
// initialisation has reached this library (from a global constructor of the program).
extern const PlatformWindowSeam kNativeWindowSeam;
extern const PlatformDisplaySeam kNativeDisplaySeam;
extern const PlatformInputSeam kNativeInputSeam;
extern const PlatformClockSeam kNativeClockSeam;
extern const PlatformDialogSeam kNativeDialogSeam;
extern const PlatformImageSeam kNativeImageSeam;
extern const PlatformFontSeam kNativeFontSeam;
extern const PlatformFileSeam kNativeFileSeam;

// Puts every table back to the backend's own entries.
void platformResetSeam(void);

// The window procedure's rules for one reported event (quit, close request, Alt+Enter, wheel),
// for loops that pump the messages themselves, such as the blocking video player.
void platformDispatchEvent(PlatformEvent event, int value);

#endif
