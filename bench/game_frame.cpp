// The play scene's frame cost: the real game (its library and the game.dat the build made) on an
// 800 x 600 window, along a fixed camera path that keeps the enemy in view. Needs a display; run
// it under tests/support/with_xvfb.sh, or through the target game_frame_xvfb.
//
//   game_frame DATA-FOLDER [--frames N] [--dump FOLDER]
//
// The game's clock is stepped by exactly 1/60 s a frame, so every run draws the same frames
// whatever the machine's speed; the frame's own cost is timed on the real clocks. Two passes walk
// the same path:
//   1. the frame loop as the game runs it (messages, input, update, drawing, swap), timed whole on
//      the steady clock: frames per second, median and 5th percentile;
//   2. the same frames with glFinish after the world and after the HUD, so the rasteriser's work
//      lands in the step that queued it: process CPU time (every thread, the rasteriser's too) and
//      wall time of the update, the world drawing, the HUD and the swap.
// It also prints the in-process wall times of opening the window, the game's start-up and the
// level load, and of the first play frame (no menu frame before it, so it pays for most of the
// driver's shader compiles). --dump writes frames 0, 100, 200, ... of the first pass as binary PPM
// files into the folder, so two builds can be compared pixel for pixel (cmp).
#include "frame_stats.h"
#include "game.h"

#include "platform/gl_api.h"
#include "platform/seam.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

static const int64_t kClockRate = 1000000;
static const int64_t kFrameCounts = kClockRate / 60;
static int64_t sGameClock = 0;

static int64_t gameCounter(void)
{
    return sGameClock;
}
static int64_t gameFrequency(void)
{
    return kClockRate;
}
static uint32_t gameTicks(void)
{
    return (uint32_t)(sGameClock / 1000);
}
static void quietBox(const char *text, const char *caption, PlatformBoxIcon, int)
{
    fprintf(stderr, "game_frame: box '%s': %s\n", caption, text);
}

static double wallNow(void)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
static double cpuNow(void)
{
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return (double)t.tv_sec + (double)t.tv_nsec * 1e-9;
}

// Frame i of the path: the player walks a circle of radius 14 around (40, 40), a quarter turn in
// 10 s, and looks at the enemy's chest, wherever the enemy's chase has taken it. The player's
// health is topped up so no strike ends the walk with the death screen.
static void placePlayer(int i)
{
    const float t = (float)i / 60.0f;
    const float a = 0.785f + 0.157f * t;
    player.posX = 40.0f + 14.0f * cosf(a);
    player.posZ = 40.0f + 14.0f * sinf(a);
    player.health = player.maxHealth;
    const float dx = enemy.posX - player.posX, dz = enemy.posZ - player.posZ;
    const float dy = enemy.posY + 1.3f - player.eyeY;
    gameCamera.yaw = atan2f(dz, dx) * 57.29578f;
    gameCamera.pitch = atan2f(dy, sqrtf(dx * dx + dz * dz)) * 57.29578f;
    o3DSetCameraPosition(&gameCamera, player.posX, player.eyeY, player.posZ);
    o3DUpdateCamera(&gameCamera);
}

// A new game at the start of the path, the enemy back at its post.
static void restartPath(void)
{
    startNewGame();
    gameState = Playing;
    skyAngle = 0.0f;
    healthPulsePhase = 0.0f;
    randomState = 1;
}

static void nextFrameInput(void)
{
    o3DProcessMessages();
    sGameClock += kFrameCounts;
    o3DUpdateTimer();
    o3DUpdateMouse();
    o3DUpdateKeyboard();
}

static int writeFrame(const fs::path &file)
{
    const int w = o3DGetScreenWidth(), h = o3DGetScreenHeight();
    std::vector<unsigned char> pixels((size_t)w * h * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    FILE *f = fopen(file.string().c_str(), "wb");
    if (!f)
        return 0;
    fprintf(f, "P6\n%d %d\n255\n", w, h);
    for (int y = h - 1; y >= 0; --y)
        fwrite(&pixels[(size_t)y * w * 3], 1, (size_t)w * 3, f);
    return fclose(f) == 0;
}

struct Split {
    std::vector<double> cpu, wall;
    void add(double cpuSeconds, double wallSeconds)
    {
        cpu.push_back(cpuSeconds);
        wall.push_back(wallSeconds);
    }
};

static void printSplit(const char *name, const Split &s)
{
    printf("  %-8s cpu median %7.3f ms  p95 %7.3f ms   wall median %7.3f ms  p95 %7.3f ms\n", name,
           percentile(s.cpu, 50) * 1e3, percentile(s.cpu, 95) * 1e3, percentile(s.wall, 50) * 1e3,
           percentile(s.wall, 95) * 1e3);
}

static long peakResidentKb(void)
{
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

int main(int argc, char **argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: game_frame DATA-FOLDER [--frames N] [--dump FOLDER]\n");
        return 2;
    }
    int frames = 600;
    fs::path dump;
    for (int i = 2; i + 1 < argc; i += 2) {
        if (!strcmp(argv[i], "--frames"))
            frames = atoi(argv[i + 1]);
        else if (!strcmp(argv[i], "--dump"))
            dump = fs::absolute(argv[i + 1]);
    }
    if (frames < 1) {
        fprintf(stderr, "game_frame: --frames needs a positive count\n");
        return 2;
    }
    const fs::path data = fs::absolute(argv[1]) / "game.dat";
    if (!fs::exists(data)) {
        fprintf(stderr, "game_frame: no %s\n", data.string().c_str());
        return 1;
    }
    if (!dump.empty())
        fs::create_directories(dump);
    // The game reads and writes its settings in the working folder: a scratch one, with the data.
    char scratch[] = "/tmp/o3d-game-frame.XXXXXX";
    if (!mkdtemp(scratch)) {
        perror("game_frame: mkdtemp");
        return 1;
    }
    fs::create_symlink(data, fs::path(scratch) / "game.dat");
    fs::current_path(scratch);
    setenv("SDL_AUDIODRIVER", "dummy", 0);

    gClockSeam.counter = gameCounter;
    gClockSeam.frequency = gameFrequency;
    gClockSeam.tickCount = gameTicks;
    gDialogSeam.messageBox = quietBox;
    int status = 1;
    const double started = wallNow();
    int ready = o3DInit(nullptr, 800, 600, "Ostrel3D");
    const double windowOpen = wallNow();
    ready = ready && gameInit();
    const double gameReady = wallNow();
    ready = ready && loadLevel();
    const double levelLoaded = wallNow();
    if (ready) {
        status = 0;
        const long loadedKb = peakResidentKb();
        // Warm-up: caches, the driver's first compiles, the first pose of the model. The first
        // frame, which pays for most of the driver's compiles, is timed on its own.
        double firstFrame = 0.0;
        restartPath();
        for (int i = 0; i < 30; ++i) {
            const double w0 = wallNow();
            nextFrameInput();
            placePlayer(i);
            gameUpdate();
            gameRender();
            o3DSwapBuffers();
            if (i == 0) {
                glFinish();
                firstFrame = wallNow() - w0;
            }
        }

        restartPath();
        std::vector<double> frameSeconds;
        frameSeconds.reserve((size_t)frames);
        double cpuTotal = 0.0;
        for (int i = 0; i < frames; ++i) {
            const double w0 = wallNow(), c0 = cpuNow();
            nextFrameInput();
            placePlayer(i);
            gameUpdate();
            o3DPreRender();
            gameRender();
            if (!dump.empty() && i % 100 == 0) {
                char name[32];
                snprintf(name, sizeof name, "frame%04d.ppm", i);
                if (!writeFrame(dump / name))
                    status = 1;
            }
            o3DSwapBuffers();
            frameSeconds.push_back(wallNow() - w0);
            cpuTotal += cpuNow() - c0;
        }

        restartPath();
        Split update, world, hud, swap;
        glFinish();
        for (int i = 0; i < frames; ++i) {
            double w0 = wallNow(), c0 = cpuNow();
            nextFrameInput();
            placePlayer(i);
            gameUpdate();
            double w1 = wallNow(), c1 = cpuNow();
            update.add(c1 - c0, w1 - w0);
            o3DPreRender();
            o3DBegin3D();
            renderWorld();
            glFinish();
            w0 = wallNow(), c0 = cpuNow();
            world.add(c0 - c1, w0 - w1);
            o3DBegin2D();
            drawHud();
            glFinish();
            w1 = wallNow(), c1 = cpuNow();
            hud.add(c1 - c0, w1 - w0);
            o3DSwapBuffers();
            swap.add(cpuNow() - c1, wallNow() - w1);
        }

        double loadAverage[1] = {0.0};
        getloadavg(loadAverage, 1);
        printf("game_frame: %d frames at %dx%d, load average %.2f\n", frames, o3DGetScreenWidth(),
               o3DGetScreenHeight(), loadAverage[0]);
        printf("  fps      median %7.1f  5th percentile %7.1f  (frame wall median %.3f ms, "
               "p95 %.3f ms; process cpu %.3f ms a frame)\n",
               framesPerSecondAt(frameSeconds, 50), framesPerSecondAt(frameSeconds, 5),
               percentile(frameSeconds, 50) * 1e3, percentile(frameSeconds, 95) * 1e3,
               cpuTotal / frames * 1e3);
        printf("  split (glFinish after the world and after the HUD):\n");
        printSplit("update", update);
        printSplit("world", world);
        printSplit("hud", hud);
        printSplit("swap", swap);
        printf("  in-process wall times: window and context %.1f ms, game start-up %.1f ms, "
               "level load %.1f ms, first play frame %.1f ms\n",
               (windowOpen - started) * 1e3, (gameReady - windowOpen) * 1e3,
               (levelLoaded - gameReady) * 1e3, firstFrame * 1e3);
        printf("  peak resident memory %.1f MB (%.1f MB after the level load)\n",
               peakResidentKb() / 1024.0, loadedKb / 1024.0);
    } else {
        fprintf(stderr, "game_frame: the game did not start: %s\n", statusText);
    }
    gameShutdown();
    o3DShutdown();
    fs::current_path("/");
    fs::remove_all(scratch);
    return status;
}
