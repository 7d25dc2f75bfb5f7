// The 3D world's speed: terrain built from 512 x 512 and 2048 x 2048 heightmap files, the ground
// height query, loading a 100,000-triangle OBJ file, whole frames of the world example's scene
// and frames of the game's own sky and terrain (from the game.dat the build made) under the
// game's fog, both at 800 x 600 along fixed camera paths. Terrain and frames need a window: run
// it under a display, e.g. tests/support/with_xvfb.sh build/bench/world_bench. Fixtures are
// written into the working directory and removed at the end.
#include "assets/terrain.h"
#include "heightmap.h"
#include "ostrel3d.h"
#include "world_scene.h"

#include <benchmark/benchmark.h>

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

#include <string>
#include <vector>

static const float kCellSize = 0.5f, kHeightScale = 24.0f;

static std::string heightmapFile(int size)
{
    std::string path = "world_bench_heightmap_" + std::to_string(size) + ".bmp";
    std::vector<unsigned char> heights((size_t)size * size);
    tellurixGenerate(heights.data(), size, size, 1, 7u);
    tellurixWriteBmp(path.c_str(), heights.data(), size, size);
    return path;
}

// Builds the terrain of a size x size heightmap once per iteration; `ready` also gives it the
// game's texture repeat and compiles its tiles, as a level load and its first frame would.
static void buildTerrains(benchmark::State &state, bool ready)
{
    std::string path = heightmapFile((int)state.range(0));
    for (auto _ : state) {
        TTerrain *terrain = o3DCreateTerrain(path.c_str(), kCellSize, kHeightScale);
        if (!terrain) {
            state.SkipWithError("the terrain was not built");
            break;
        }
        if (ready) {
            o3DSetTerrainTextureRepeat(terrain, 120.0f, 120.0f);
            terrainCompilePending(terrain);
        }
        state.PauseTiming();
        o3DFreeTerrain(terrain);
        state.ResumeTiming();
    }
    remove(path.c_str());
}

static void BM_TerrainBuild(benchmark::State &state)
{
    buildTerrains(state, false);
}
BENCHMARK(BM_TerrainBuild)->Arg(512)->Arg(2048)->Unit(benchmark::kMillisecond);

// What a level load pays for its terrain.
static void BM_TerrainReady(benchmark::State &state)
{
    buildTerrains(state, true);
}
BENCHMARK(BM_TerrainReady)->Arg(256)->Arg(512)->Unit(benchmark::kMillisecond);

static void BM_TerrainHeight(benchmark::State &state)
{
    std::string path = heightmapFile(512);
    TTerrain *terrain = o3DCreateTerrain(path.c_str(), kCellSize, kHeightScale);
    remove(path.c_str());
    // Points scattered over the whole terrain and a little beyond, between samples.
    std::vector<float> xz(8192);
    uint32_t seed = 12345u;
    for (float &v : xz) {
        seed = seed * 214013u + 2531011u;
        v = (float)((seed >> 16) & 0x7FFF) / 32767.0f * 270.0f - 135.0f;
    }
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(o3DGetTerrainHeight(terrain, xz[i], xz[i + 1]));
        i = (i + 2) & (xz.size() - 1);
    }
    state.SetItemsProcessed(state.iterations());
    o3DFreeTerrain(terrain);
}
BENCHMARK(BM_TerrainHeight);

// A grid of 250 x 200 cells, two triangles each, with texture coordinates and normals.
static void writeGridObj(const char *path)
{
    const int cellsX = 250, cellsZ = 200;
    FILE *f = fopen(path, "w");
    for (int z = 0; z <= cellsZ; ++z)
        for (int x = 0; x <= cellsX; ++x)
            fprintf(f, "v %d %.3f %d\nvt %.4f %.4f\nvn 0 1 0\n", x, sinf(x * 0.1f) * cosf(z * 0.1f),
                    z, x / (float)cellsX, z / (float)cellsZ);
    for (int z = 0; z < cellsZ; ++z) {
        for (int x = 0; x < cellsX; ++x) {
            int a = z * (cellsX + 1) + x + 1, b = a + 1, c = a + cellsX + 1, d = c + 1;
            fprintf(f, "f %d/%d/%d %d/%d/%d %d/%d/%d\n", a, a, a, c, c, c, b, b, b);
            fprintf(f, "f %d/%d/%d %d/%d/%d %d/%d/%d\n", b, b, b, c, c, c, d, d, d);
        }
    }
    fclose(f);
}

static void BM_ObjLoad100kTriangles(benchmark::State &state)
{
    const char *path = "world_bench_grid.obj";
    writeGridObj(path);
    for (auto _ : state) {
        TMesh *mesh = o3DLoadOBJ(path);
        if (!mesh || mesh->indexCount != 300000) {
            state.SkipWithError("the OBJ file did not load as 100,000 triangles");
            o3DFreeMesh(mesh);
            break;
        }
        state.PauseTiming();
        o3DFreeMesh(mesh);
        state.ResumeTiming();
    }
    remove(path);
}
BENCHMARK(BM_ObjLoad100kTriangles)->Unit(benchmark::kMillisecond);

// One frame per iteration, the camera walking a fixed loop over the hills; items per second (in
// wall-clock time, since the rasteriser works on threads of its own) is
// frames per second.
static void BM_WorldFrame(benchmark::State &state)
{
    World world = {};
    if (!loadWorld(&world, nullptr)) {
        freeWorld(&world);
        state.SkipWithError("the world could not be made");
        return;
    }
    TCamera camera;
    o3DInitCamera(&camera);
    int frame = 0;
    for (auto _ : state) {
        float t = (float)(frame++ % 240) / 240.0f * 6.2831855f;
        o3DSetCamera(&camera, 20.0f * sinf(t), 0.0f, 20.0f * cosf(t) - 10.0f,
                     -90.0f + 360.0f * t / 6.2831855f, -4.0f);
        standOnGround(&world, &camera);
        drawWorld(&world, &camera, 1, 0);
        o3DSwapBuffers();
    }
    state.SetItemsProcessed(state.iterations());
    freeWorld(&world);
}
BENCHMARK(BM_WorldFrame)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

#ifdef WORLD_BENCH_GAME_DAT
// The game's sky and terrain as its level loader makes them: the heightmap at cell size 2 and
// height scale 40 with its texture tiled 120 times, and the 900-unit sky.
struct GameGround {
    TTerrain *terrain;
    TSkybox *sky;
};

static int loadGameGround(GameGround *g)
{
    TPack *pack = o3DOpenPack(WORLD_BENCH_GAME_DAT);
    if (!pack)
        return 0;
    uint32_t size = 0;
    unsigned char *bytes = o3DReadPackEntry(pack, "heightmap.bmp", &size);
    const char *path = "world_bench_game_heightmap.bmp";
    FILE *file = bytes ? fopen(path, "wb") : nullptr;
    if (file) {
        fwrite(bytes, 1, size, file);
        fclose(file);
        g->terrain = o3DCreateTerrain(path, 2.0f, 40.0f);
        remove(path);
    }
    o3DFreePackData(bytes);
    TTexture *texture = (TTexture *)calloc(1, sizeof(TTexture));
    if (g->terrain && texture && o3DLoadTextureImageFromPack(pack, texture, "terrain.bmp"))
        o3DSetTerrainTexture(g->terrain, texture);
    else
        free(texture);
    o3DSetTerrainTextureRepeat(g->terrain, 120.0f, 120.0f);
    g->sky = o3DCreateSkybox(900.0f);
    static const char *const kFaces[6] = {"skybox_front.bmp", "skybox_back.bmp",
                                          "skybox_left.bmp",  "skybox_right.bmp",
                                          "skybox_top.bmp",   "skybox_bottom.bmp"};
    int faces = 0;
    for (int i = 0; i < 6 && g->sky; ++i)
        faces += o3DLoadSkyboxFaceFromPack(pack, g->sky, i, kFaces[i]);
    o3DClosePack(pack);
    if (faces != 6 || !g->terrain || !o3DHasTerrainTexture(g->terrain))
        return 0;
    g->sky->ready = 1;
    o3DBuildSkybox(g->sky);
    return 1;
}

// CPU time of the calling thread alone: the one that walks the lists, transforms, clips and bins
// the triangles, while the rasteriser's threads shade the pixels.
static double mainThreadSeconds(void)
{
    struct timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return (double)now.tv_sec + (double)now.tv_nsec * 1e-9;
}

// One play frame's world part without the models: the sky colour, the camera, exponential-squared
// fog of density 0.035, the sky unfogged, then the white terrain. The camera walks a circle of 40
// units around the spawn at eye height, turning once round in 240 frames and looking a little
// down, with the game's field of view and draw distance (60 degrees, 1000 units). The argument is
// the terrain's tile size in grid cells (0: the engine's own; 255: one tile, the single list; -1:
// the mesh's own single list drawn whole, as the terrain was drawn before it had tiles). CPU
// time is the whole process's, the rasteriser's threads included: the work a frame costs; main_ms
// is the part of it on this thread. `drawn` counts the tiles drawn per frame out of `tiles`.
static void BM_GameTerrainFrame(benchmark::State &state)
{
    GameGround ground = {};
    if (!loadGameGround(&ground)) {
        o3DFreeTerrain(ground.terrain);
        o3DFreeSkybox(ground.sky);
        state.SkipWithError("the game's data could not be read (build the target game_data)");
        return;
    }
    if (state.range(0) > 0)
        terrainCompile(ground.terrain, (int)state.range(0));
    if (state.range(0) < 0)
        o3DBuildMeshList(ground.terrain->mesh);
    int tilesDrawn = 0;
    const double mainStart = mainThreadSeconds();
    TCamera camera;
    o3DInitCamera(&camera);
    int frame = 0;
    for (auto _ : state) {
        float t = (float)(frame++ % 240) / 240.0f * 6.2831855f;
        float x = 50.0f + 40.0f * sinf(t), z = 50.0f + 40.0f * cosf(t);
        o3DSetCamera(&camera, x, o3DGetTerrainHeight(ground.terrain, x, z) + 1.8f, z,
                     360.0f * t / 6.2831855f, -5.0f);
        o3DClearScreen(0.7f, 0.72f, 0.75f);
        o3DBegin3D();
        o3DApplyCamera(&camera);
        o3DEnableFog();
        o3DSetFog(2, 0.7f, 0.72f, 0.75f, 0.035f, 20.0f, 120.0f);
        const float eye[3] = {camera.posX, camera.posY, camera.posZ};
        o3DDisableFog();
        o3DDrawSkyboxRotated(ground.sky, eye, 10.0f);
        o3DEnableFog();
        o3DSetColor(1.0f, 1.0f, 1.0f);
        o3DDrawTerrain(ground.terrain);
        tilesDrawn += terrainTilesOf(ground.terrain)->drawn;
        o3DDisableFog();
        o3DSwapBuffers();
    }
    const double mainSeconds = mainThreadSeconds() - mainStart;
    state.SetItemsProcessed(state.iterations());
    state.counters["main_ms"] =
        benchmark::Counter(mainSeconds * 1000.0, benchmark::Counter::kAvgIterations);
    const TerrainTiles *tiles = terrainTilesOf(ground.terrain);
    state.counters["tiles"] = tiles->across * tiles->down;
    state.counters["drawn"] = state.iterations() ? (double)tilesDrawn / state.iterations() : 0.0;
    o3DFreeTerrain(ground.terrain);
    o3DFreeSkybox(ground.sky);
}
BENCHMARK(BM_GameTerrainFrame)
    ->Arg(-1)
    ->Arg(0)
    ->Arg(8)
    ->Arg(16)
    ->Arg(64)
    ->Arg(255)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3.0)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
#endif

int main(int argc, char **argv)
{
    if (!o3DInit(nullptr, 800, 600, "Ostrel3D world bench")) {
        fprintf(stderr, "world_bench: no window (run it under a display)\n");
        return 1;
    }
    o3DInitRenderer(800, 600);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    o3DShutdown();
    return 0;
}
