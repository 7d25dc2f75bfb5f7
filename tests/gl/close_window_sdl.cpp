// Closing the window as its close button does, on the sdl backend: SDL's close event for it.
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
