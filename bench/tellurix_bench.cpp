// tellurix generator speed: a 512 x 512 map of each type and the largest map of the heaviest
// type (2048 x 2048 mountains, five octaves), in-process and without the bitmap writer. The
// reference (sample by sample) runs beside the fast path at 512 x 512 for comparison.
#include "heightmap.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

static void runGenerator(benchmark::State &state,
                         void (*generate)(unsigned char *, int, int, int, uint32_t))
{
    int size = (int)state.range(0);
    int type = (int)state.range(1);
    std::vector<unsigned char> heights((size_t)size * (size_t)size);
    for (auto _ : state) {
        generate(heights.data(), size, size, type, 1u);
        benchmark::DoNotOptimize(heights.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * (int64_t)size * size);
    state.SetLabel("type " + std::to_string(type));
}

static void BM_TellurixGenerate(benchmark::State &state)
{
    runGenerator(state, tellurixGenerate);
}

static void BM_TellurixGenerateReference(benchmark::State &state)
{
    runGenerator(state, tellurixGenerateReference);
}

BENCHMARK(BM_TellurixGenerate)
    ->ArgsProduct({{512}, {1, 2, 3, 4, 5, 6}})
    ->Args({2048, 6})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TellurixGenerateReference)
    ->ArgsProduct({{512}, {1, 6}})
    ->Args({2048, 6})
    ->Unit(benchmark::kMillisecond);

static void BM_TellurixWriteBmp(benchmark::State &state)
{
    const int size = 2048;
    std::vector<unsigned char> heights((size_t)size * size);
    tellurixGenerate(heights.data(), size, size, 6, 1u);
    for (auto _ : state) {
        int written = tellurixWriteBmp("tellurix_bench.bmp", heights.data(), size, size);
        benchmark::DoNotOptimize(written);
    }
    std::remove("tellurix_bench.bmp");
}
BENCHMARK(BM_TellurixWriteBmp)->Unit(benchmark::kMillisecond);
