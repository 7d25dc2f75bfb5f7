// assetgen in-process: the whole default data set, and each part of it, so the build's data step
// stays quick and the slow part shows. Counters: the bytes made, and game.dat's size (every
// asset but the film, plus the pack's 72-byte directory entries and 8-byte header).
#include "assetgen.h"

#include <benchmark/benchmark.h>

static void BM_AssetgenWholeSet(benchmark::State &state)
{
    size_t bytes = 0, packBytes = 8;
    for (auto _ : state) {
        AssetList assets;
        if (!makeAllAssets(&assets, ASSETGEN_BENCH_FONT)) {
            state.SkipWithError("font missing");
            return;
        }
        bytes = 0, packBytes = 8;
        for (const Asset &a : assets) {
            bytes += a.bytes.size();
            if (a.name != "intro.avi")
                packBytes += a.bytes.size() + 72;
        }
    }
    state.counters["bytes"] = (double)bytes;
    state.counters["game.dat"] = (double)packBytes;
}
BENCHMARK(BM_AssetgenWholeSet)->Unit(benchmark::kMillisecond);

template <void (*Make)(AssetList *)> static void BM_AssetgenPart(benchmark::State &state)
{
    for (auto _ : state) {
        AssetList assets;
        Make(&assets);
        benchmark::DoNotOptimize(assets.data());
    }
}
BENCHMARK_TEMPLATE(BM_AssetgenPart, makeHeightmap)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_AssetgenPart, makeSnowTexture)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_AssetgenPart, makeSkyFaces)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_AssetgenPart, makeTree)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_AssetgenPart, makeGun)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_AssetgenPart, makeBeast)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_AssetgenPart, makeSounds)->Unit(benchmark::kMillisecond);

static void BM_AssetgenTextParts(benchmark::State &state)
{
    TextFace *face = openTextFace(ASSETGEN_BENCH_FONT);
    if (!face) {
        state.SkipWithError("font missing");
        return;
    }
    for (auto _ : state) {
        AssetList assets;
        if (state.range(0) == 0)
            makeOverlayImages(&assets, face);
        else if (state.range(0) == 1)
            makeFonts(&assets, face);
        else
            makeFilm(&assets, face);
        benchmark::DoNotOptimize(assets.data());
    }
    closeTextFace(face);
    state.SetLabel(state.range(0) == 0   ? "overlay pictures"
                   : state.range(0) == 1 ? "fonts"
                                         : "film");
}
BENCHMARK(BM_AssetgenTextParts)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
