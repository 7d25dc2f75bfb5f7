// The game's entry point on Windows: a GUI program whose module handle is the engine's instance.
#include "game.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand)
{
    (void)previous;
    (void)commandLine;
    (void)showCommand;
    return gameMain((void *)instance);
}
