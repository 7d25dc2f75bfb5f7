// What a user does to the window, on the sdl backend: SDL's own events for it, as its event loop
// would deliver them.
#include "video_support.h"

#include <SDL.h>

void requestWindowClose(void *window)
{
    SDL_Event event;
    SDL_zero(event);
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    event.window.windowID = SDL_GetWindowID((SDL_Window *)window);
    SDL_PushEvent(&event);
}

void pressSpace(void *window, int down)
{
    SDL_Event event;
    SDL_zero(event);
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.windowID = SDL_GetWindowID((SDL_Window *)window);
    event.key.keysym.scancode = SDL_SCANCODE_SPACE;
    event.key.keysym.sym = SDLK_SPACE;
    SDL_PushEvent(&event);
}
