// Animated models' speed: loading a 200-frame MD2 file, one pose interpolation of a 500-vertex
// model (per model and frame), and whole frames of 50 animated, skinned models with blob shadows
// at 800 x 600. The frames need a window: run it under a display, e.g.
// tests/support/with_xvfb.sh build/bench/model_bench. Fixtures are written into the working
// directory and removed at the end.
#include "ostrel3d.h"

#include "assets/md2.h"

#include "md2_writer.h"

#include <benchmark/benchmark.h>

#include <math.h>
#include <stdio.h>

static const char *kModelPath = "model_bench.md2";
static const char *kSkinPath = "model_bench_skin.bmp";
static const int kRings = 20, kSegments = 25; // 500 vertices, 912 triangles

// A ball of kRings x kSegments vertices whose surface ripples from frame to frame.
static Md2Spec rippleBall(int frames)
{
    Md2Spec fixture;
    fixture.skinWidth = fixture.skinHeight = 64;
    for (int r = 0; r < kRings; ++r)
        for (int s = 0; s < kSegments; ++s)
            fixture.texCoords.push_back(
                {(int16_t)(s * 64 / kSegments), (int16_t)(r * 64 / kRings)});
    for (int r = 0; r + 1 < kRings; ++r) {
        for (int s = 0; s + 1 < kSegments; ++s) {
            uint16_t a = (uint16_t)(r * kSegments + s), b = (uint16_t)(a + 1);
            uint16_t c = (uint16_t)(a + kSegments), d = (uint16_t)(c + 1);
            fixture.triangles.push_back({{a, c, b}, {a, c, b}});
            fixture.triangles.push_back({{b, c, d}, {b, c, d}});
        }
    }
    for (int f = 0; f < frames; ++f) {
        Md2FrameSpec frame;
        for (int k = 0; k < 3; ++k) {
            frame.scale[k] = 2.0f / 255.0f;
            frame.translate[k] = -1.0f;
        }
        frame.name = "ripple" + std::to_string(f);
        for (int r = 0; r < kRings; ++r) {
            for (int s = 0; s < kSegments; ++s) {
                float lat = 3.14159f * r / (kRings - 1), lon = 6.28318f * s / kSegments;
                float radius = 0.85f + 0.15f * sinf(lat * 5.0f + f * 0.3f);
                float n[3] = {sinf(lat) * cosf(lon), sinf(lat) * sinf(lon), cosf(lat)};
                Md2Vertex v;
                uint8_t *xyz[3] = {&v.x, &v.y, &v.z};
                for (int k = 0; k < 3; ++k)
                    *xyz[k] = (uint8_t)lrintf((n[k] * radius + 1.0f) * 127.5f);
                v.normal = (uint8_t)o3DGetMD2NormalIndex(n[0], n[1], n[2]);
                frame.vertices.push_back(v);
            }
        }
        fixture.frames.push_back(frame);
    }
    return fixture;
}

static void BM_Md2Load200Frames(benchmark::State &state)
{
    writeBytes(kModelPath, md2Bytes(rippleBall(200)));
    for (auto _ : state) {
        TMD2Model *model = o3DLoadMD2(kModelPath);
        if (!model) {
            state.SkipWithError("the model did not load");
            break;
        }
        state.PauseTiming();
        o3DFreeMD2(model);
        state.ResumeTiming();
    }
    remove(kModelPath);
}
BENCHMARK(BM_Md2Load200Frames)->Unit(benchmark::kMicrosecond);

// One pose: every vertex and normal interpolated between two frames, then expanded into the
// corner arrays. Forgetting the cached frame makes every call compute.
static void BM_Md2Pose500Vertices(benchmark::State &state)
{
    writeBytes(kModelPath, md2Bytes(rippleBall(2)));
    TMD2Model *model = o3DLoadMD2(kModelPath);
    remove(kModelPath);
    if (!model) {
        state.SkipWithError("the model did not load");
        return;
    }
    model->nextFrame = 1;
    int step = 0;
    for (auto _ : state) {
        model->interpolation = (float)(step++ % 16) / 16.0f;
        model->cachedFrame = -1;
        benchmark::DoNotOptimize(md2UpdatePose(model));
    }
    state.SetItemsProcessed(state.iterations());
    o3DFreeMD2(model);
}
BENCHMARK(BM_Md2Pose500Vertices);

static uint32_t skinPixel(int x, int y)
{
    return ((x / 8 + y / 8) % 2) ? 0xD0E0F0u : 0x6080A0u;
}

// One frame per iteration: 50 models on a 10 x 5 grid, each playing its own phase of a 40-frame
// loop, with a blob under each; items per second is frames per second.
static void BM_Frame50ModelsWithBlobShadows(benchmark::State &state)
{
    if (!o3DGetWindowHandle()) {
        state.SkipWithError("no window (run it under a display)");
        return;
    }
    writeBytes(kModelPath, md2Bytes(rippleBall(40)));
    Picture skin = makePicture(64, 64, [](int x, int y) {
        uint32_t c = skinPixel(x, y);
        return Rgb{(uint8_t)(c >> 16), (uint8_t)(c >> 8), (uint8_t)c};
    });
    writeBmp24(kSkinPath, skin);
    TTexture texture = {};
    o3DLoadTexture(&texture, kSkinPath);
    TMD2Model *models[50] = {};
    for (int i = 0; i < 50; ++i) {
        models[i] = o3DLoadMD2(kModelPath);
        o3DSetMD2Skin(models[i], &texture);
        o3DSetMD2FrameRange(models[i], 0, 39, 10);
        o3DAnimateMD2(models[i], i * 0.37f);
    }
    remove(kModelPath);
    remove(kSkinPath);
    TCamera camera;
    o3DInitCamera(&camera);
    o3DSetCameraLookAt(&camera, 0.0f, 9.0f, 16.0f, 0.0f, 0.0f, 0.0f, 60.0f, 0.1f, 100.0f);
    for (auto _ : state) {
        o3DUpdateTimer();
        o3DClearScreen(0.2f, 0.25f, 0.3f);
        o3DBegin3D();
        o3DApplyCamera(&camera);
        o3DSetColor(0.6f, 0.65f, 0.7f);
        o3DDrawPlane(40.0f, 40.0f, 1, 1);
        o3DSetColor(1.0f, 1.0f, 1.0f);
        for (int i = 0; i < 50; ++i) {
            float x = (float)(i % 10) * 2.5f - 11.25f, z = (float)(i / 10) * 2.5f - 5.0f;
            o3DAnimateMD2(models[i], (float)o3DGetDeltaTime());
            models[i]->poseCurrent = 0;
            o3DBeginShadow(x, 1.0f, z, 0.0f, 1.0f, 1.0f, 25.0f, 0.3f, 1, 0.8f);
            o3DEndShadow();
            o3DPushMatrix();
            o3DTranslate(x, 1.0f, z);
            o3DRotate(-90.0f, 1.0f, 0.0f, 0.0f);
            o3DDrawMD2(models[i]);
            o3DPopMatrix();
        }
        o3DSwapBuffers();
    }
    state.SetItemsProcessed(state.iterations());
    for (TMD2Model *model : models)
        o3DFreeMD2(model);
    o3DFreeTexture(&texture);
}
BENCHMARK(BM_Frame50ModelsWithBlobShadows)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3.0)
    ->UseRealTime(); // the rasteriser works in threads of its own

int main(int argc, char **argv)
{
    // Without a display the file and pose figures still come; the frames are skipped.
    int window = o3DInit(nullptr, 800, 600, "Ostrel3D model bench");
    if (window)
        o3DInitRenderer(800, 600);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (window)
        o3DShutdown();
    return 0;
}
