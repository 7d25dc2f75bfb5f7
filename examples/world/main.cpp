// world: a first-person walk over snowy hills under an overcast sky, with fog, one directional
// light and spruces loaded from an OBJ file (the scene is in world_scene.cpp).
//
//   W/S walk   A/D strafe   arrows turn and look   M mouse look   P primitives   F fog   Esc quit
//   usage: world [model.obj]     (the model to scatter instead of the spruce the example writes)
#include "ostrel3d.h"
#include "world_scene.h"

#include <stdio.h>

static const int kKeyEscape = 27, kKeyLeft = 37, kKeyUp = 38, kKeyRight = 39, kKeyDown = 40;
static const float kWalkSpeedPerSecond = 6.0f, kTurnDegreesPerSecond = 80.0f;
static const float kLookDegreesPerPixel = 0.2f;

// Keys and mouse move the camera; the terrain keeps it at eye height above the ground.
static void walk(TCamera *cam, const World *w, float seconds)
{
    float step = kWalkSpeedPerSecond * seconds, turn = kTurnDegreesPerSecond * seconds;
    o3DMoveCameraForward(cam, step * (float)(o3DKeyDown('W') - o3DKeyDown('S')));
    o3DStrafeCamera(cam, step * (float)(o3DKeyDown('D') - o3DKeyDown('A')));
    o3DRotateCamera(cam, turn * (float)(o3DKeyDown(kKeyRight) - o3DKeyDown(kKeyLeft)),
                    turn * (float)(o3DKeyDown(kKeyUp) - o3DKeyDown(kKeyDown)), 0.0f);
    if (o3DIsMouseCaptured())
        o3DRotateCamera(cam, o3DGetMouseDX() * kLookDegreesPerPixel,
                        -o3DGetMouseDY() * kLookDegreesPerPixel, 0.0f);
    standOnGround(w, cam);
}

static void drawKeys(TFont *font, int fog, int primitives)
{
    char line[160];
    snprintf(line, sizeof line,
             "W/S walk  A/D strafe  arrows turn  M mouse look  P primitives (%s)"
             "  F fog (%s)  Esc quit",
             primitives ? "on" : "off", fog ? "on" : "off");
    o3DSetTextColor(0.1f, 0.12f, 0.2f);
    o3DPrintSystem(font, 11, 11, line);
    o3DSetTextColor(1.0f, 1.0f, 1.0f);
    o3DPrintSystem(font, 10, 10, line);
    o3DPrintSystemf(font, 10, 32, "%.0f fps", o3DGetFPS());
}

int main(int argc, char **argv)
{
    if (!o3DInit(nullptr, 800, 600, "Ostrel3D - world")) {
        fprintf(stderr, "world: no window\n");
        return 1;
    }
    o3DInitRenderer(800, 600);
    World world = {};
    if (!loadWorld(&world, argc > 1 ? argv[1] : nullptr)) {
        fprintf(stderr, "world: the scene could not be made\n");
        freeWorld(&world);
        o3DShutdown();
        return 1;
    }
    TFont font = {};
    o3DCreateSystemFont(&font, "DejaVu Sans", 15, 700, 0);

    TCamera camera;
    o3DInitCamera(&camera);
    o3DSetCamera(&camera, 0.0f, 0.0f, 0.0f, -90.0f, -4.0f);
    int fog = 1, primitives = 0, frames = 0;
    while (o3DIsRunning()) {
        o3DProcessMessages();
        o3DUpdateTimer();
        o3DUpdateMouse();
        o3DUpdateKeyboard();
        float seconds = (float)o3DGetDeltaTime();
        walk(&camera, &world, seconds > 0.1f ? 0.1f : seconds);
        if (o3DKeyPressed('M')) {
            if (o3DIsMouseCaptured())
                o3DReleaseMouse();
            else
                o3DCaptureMouse();
        }
        fog ^= o3DKeyPressed('F');
        primitives ^= o3DKeyPressed('P');
        if (o3DKeyPressed(kKeyEscape))
            o3DQuit();

        o3DPreRender();
        drawWorld(&world, &camera, fog, primitives);
        o3DBegin2D();
        drawKeys(&font, fog, primitives);
        o3DSwapBuffers();
        ++frames;
    }
    printf("world: %d frames\n", frames);
    o3DFreeFont(&font);
    freeWorld(&world);
    o3DShutdown();
    return 0;
}
