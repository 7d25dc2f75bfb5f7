// The video seam: what the engine asks of the system's media framework. The record's flags, the
// unit conversions and the blocking player's loop live above it (video.cpp, video_player.cpp);
// a backend (sdl/ over GStreamer, win32/ over DirectShow) fills this table and nothing more.
// Tests replace the table to script a film without any framework.
#ifndef O3D_VIDEO_SEAM_H
#define O3D_VIDEO_SEAM_H

#include <stdint.h>

// The framework's time unit: 100 ns.
static const int64_t kVideoUnitsPerSecond = 10000000;
// Attenuation in hundredths of a decibel: silent .. full.
static const int kVideoSilentAttenuation = -10000;
static const int kVideoFullAttenuation = 0;

struct VideoSeam {
    // Starts the framework for this process; 1 on success.
    int (*startup)(void);
    // Stops what startup started.
    void (*shutdown)(void);
    // Opens a file with every stream it has rendered, paused at position 0, its picture placed
    // over the owner's whole client area and hidden; reports the native picture size (0 x 0
    // without a picture). Returns the backend's handle, or null with nothing left open.
    void *(*open)(void *owner, const char *fileName, int *width, int *height);
    // Hides the picture, detaches it from the owner and releases everything.
    void (*close)(void *media);
    // Runs from the current position.
    void (*run)(void *media);
    void (*pause)(void *media);
    // Stops running (the position is left to the caller).
    void (*stop)(void *media);
    // Seeks to an absolute position in 100-ns units; the stop position stays.
    void (*setPosition)(void *media, int64_t units);
    // Current position and duration in 100-ns units; 0 when unknown.
    int64_t (*position)(void *media);
    int64_t (*duration)(void *media);
    // Sets the sound's attenuation in hundredths of a decibel (-10000 .. 0).
    void (*setVolume)(void *media, int attenuation);
    // Places the picture at x, y with that size inside the owner's client area.
    void (*setRect)(void *media, int x, int y, int width, int height);
    void (*setVisible)(void *media, int visible);
    // The framework's own full-screen picture on or off.
    void (*setFullscreen)(void *media, int fullscreen);
    // Takes one pending event without waiting: 0 when there is none, else 1 with `ended` set
    // when the event is the end of the film (a failed stream counts as its end too).
    int (*takeEvent)(void *media, int *ended);
    // Draws the newest picture into the main window's back buffer where the backend draws through
    // OpenGL, and returns 1; with `wholeFrame` the buffer is cleared to black first, for the
    // blocking player, which then swaps. Returns 0 where the framework has a window of its own.
    int (*present)(void *media, int wholeFrame);
    // The owner window's client size in pixels; 0 x 0 for no window.
    void (*ownerSize)(void *owner, int *width, int *height);
};

// The live table; it starts as the backend's and tests may overwrite it.
extern VideoSeam gVideoSeam;
// The backend's table.
extern const VideoSeam kNativeVideoSeam;
// Puts the backend's table back.
void videoResetSeam(void);

// The linear gain of an attenuation in hundredths of a decibel, for frameworks that take one:
// 10^(mB / 2000), and exactly 0 for -10000 and below.
double videoGainFromAttenuation(int attenuation);

// Takes a playing film's pending events: its end finishes it, or rewinds and runs it when looping.
// Shared by o3DVideoUpdate and the blocking player.
void videoTakeEvents(struct TVideo *video);

#endif
