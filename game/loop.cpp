// The program's entry steps and its frame loop, shared by every platform's entry point.
#include "game.h"

int gameMain(void *instance)
{
    if (!o3DInit(instance, 800, 600, "Ostrel3D")) {
        showMessageBox("Blad inicjalizacji silnika!", "Blad", BoxError);
        return 1;
    }
    if (!gameInit()) {
        showMessageBox(statusText, "Blad inicjalizacji gry", BoxError);
        o3DShutdown();
        return 1;
    }
    // The running flag is tested only here: the frame that saw the quit still runs to its end.
    while (o3DIsRunning()) {
        o3DProcessMessages();
        o3DUpdateTimer();
        o3DUpdateMouse();
        o3DUpdateKeyboard();
        gameUpdate();
        o3DPreRender();
        gameRender();
        o3DSwapBuffers();
    }
    gameShutdown();
    o3DShutdown();
    return 0;
}
