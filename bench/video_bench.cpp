// Video open to first frame: o3DOpenVideo builds the pipeline, prerolls it and takes the first
// picture (on sdl it is also uploaded as a texture, ready to draw), for a small film and for one of
// the intro's size. Needs a window: run it under a display, e.g.
//   tests/support/with_xvfb.sh build/bench/video_bench
#include "ostrel3d.h"

#include "avi_writer.h"

#include <benchmark/benchmark.h>

#include <stdio.h>
#include <unistd.h>

#include <string>

static std::string writeFilm(int width, int height)
{
    AviFilm film;
    film.width = width;
    film.height = height;
    film.colourAt = [](int frame, int x, int y) {
        return AviColour{(uint8_t)(x + frame), (uint8_t)y, (uint8_t)(x ^ y)};
    };
    char path[] = "/tmp/o3d-video-bench-XXXXXX";
    int fd = mkstemp(path);
    if (fd < 0)
        return std::string();
    close(fd);
    std::string name = std::string(path) + ".avi";
    rename(path, name.c_str());
    return writeAvi(name, film) ? name : std::string();
}

static void BM_VideoOpenToFirstFrame(benchmark::State &state)
{
    std::string film = writeFilm((int)state.range(0), (int)state.range(1));
    if (film.empty()) {
        state.SkipWithError("cannot write the film");
        return;
    }
    for (auto _ : state) {
        TVideo video;
        if (!o3DOpenVideo(&video, o3DGetWindowHandle(), film.c_str())) {
            state.SkipWithError("the film did not open");
            break;
        }
        state.PauseTiming();
        o3DCloseVideo(&video);
        state.ResumeTiming();
    }
    remove(film.c_str());
}

BENCHMARK(BM_VideoOpenToFirstFrame)
    ->Args({96, 64})
    ->Args({640, 480})
    ->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (!o3DInit(nullptr, 800, 600, "video bench") || !o3DVideoInit()) {
        fprintf(stderr, "video_bench: needs a display and the video system\n");
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    o3DVideoShutdown();
    o3DShutdown();
    return 0;
}
