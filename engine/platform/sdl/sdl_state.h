// State shared by the sdl backend's files: the window and context, the key table indexed by
// virtual-key codes, the cursor show counter and the saved window placement.
#ifndef O3D_PLATFORM_SDL_STATE_H
#define O3D_PLATFORM_SDL_STATE_H

#include <SDL.h>

struct SdlPlacement {
    int x, y, width, height;
};

struct SdlBackend {
    SDL_Window *window;
    SDL_GLContext context;
    Uint32 quitEventType;    // our own posted quit, distinct from SDL's
    unsigned char keys[256]; // 1 while down, by virtual-key code
    int cursorCount;         // Win32's show counter: visible while >= 0
    int pointerX, pointerY;  // the pointer in the window, from its motion events
    SdlPlacement placement;
};

extern SdlBackend gSdl;

// Starts SDL's video (once) and returns 1 if it is available.
int sdlEnsureVideo(void);
// The virtual-key code of a key: by the symbol the layout gives it (letters, digits,
// punctuation), by its position for keys without one; 0 for keys that have no code.
int sdlVirtualKey(SDL_Keycode symbol, SDL_Scancode scancode);
// Records a key or button transition in the key table.
void sdlSetKey(int code, int down);
// The primary display's bounds in screen pixels.
void sdlScreenSize(int *width, int *height);

#endif
