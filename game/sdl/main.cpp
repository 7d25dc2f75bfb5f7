// The game's entry point on desktops served by the sdl backend.
#include "game.h"

int main(void)
{
    return gameMain(nullptr);
}
