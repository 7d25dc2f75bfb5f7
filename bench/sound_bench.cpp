// Sound figures: the CPU time the sdl mixer needs for one second of 64 looping voices with their
// own volume, pan and speed (its share of one core is that time over 1000 ms), and loading a
// 10 MB WAV block: the reader alone, and the whole load into a device buffer (SDL's dummy
// driver, which plays nothing).
#include "audio/sdl/mixer.h"
#include "audio/wav.h"

#include "ostrel3d.h"

#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

namespace {

const uint32_t kOutputRate = 44100;
const uint32_t kDeviceFrames = 1024;
const int kVoices = 64;

struct VoiceData {
    std::vector<unsigned char> samples;
    MixerVoice voice;
};

void BM_MixOneSecondOf64Voices(benchmark::State &state)
{
    static const AudioFormat formats[] = {
        {1, 22050, 16}, {2, 44100, 16}, {1, 11025, 8}, {2, 48000, 16}};
    Mixer mixer;
    mixerInit(&mixer, kOutputRate);
    std::vector<VoiceData> voices(kVoices);
    for (int i = 0; i < kVoices; ++i) {
        const AudioFormat &format = formats[i % 4];
        VoiceData &v = voices[i];
        v.samples.resize((size_t)format.sampleRate * format.channels * format.bitsPerSample / 8);
        for (size_t b = 0; b < v.samples.size(); ++b)
            v.samples[b] = (unsigned char)(b * 37 + i);
        mixerAddVoice(&mixer, &v.voice, &format, v.samples.data(), (uint32_t)v.samples.size());
        mixerSetVolume(&v.voice, -(i * 37) % 3000);
        mixerSetPan(&v.voice, (i * 313) % 4000 - 2000);
        mixerSetFrequency(&mixer, &v.voice, format.sampleRate * (50 + i % 150) / 100);
        mixerPlay(&v.voice, 1);
    }
    std::vector<int16_t> out(kDeviceFrames * 2);
    for (auto _ : state) {
        for (uint32_t done = 0; done < kOutputRate; done += kDeviceFrames)
            mixerRender(&mixer, out.data(), kDeviceFrames);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_MixOneSecondOf64Voices)->Unit(benchmark::kMillisecond);

std::vector<uint8_t> tenMegabyteWav()
{
    const uint32_t dataBytes = 10u * 1024 * 1024;
    std::vector<uint8_t> bytes(44 + 12 + dataBytes, 0);
    const uint8_t header[] = {'R', 'I', 'F',  'F',  0, 0,   0,   0,   'W', 'A', 'V', 'E',  'f',
                              'm', 't', ' ',  16,   0, 0,   0,   1,   0,   2,   0,   0x44, 0xAC,
                              0,   0,   0x10, 0xB1, 2, 0,   4,   0,   16,  0,   'L', 'I',  'S',
                              'T', 4,   0,    0,    0, 'I', 'N', 'F', 'O', 'd', 'a', 't',  'a'};
    memcpy(bytes.data(), header, sizeof header);
    for (int i = 0; i < 4; ++i)
        bytes[sizeof header + i] = (uint8_t)(dataBytes >> (8 * i));
    for (size_t i = sizeof header + 4; i < bytes.size(); ++i)
        bytes[i] = (uint8_t)i;
    return bytes;
}

void BM_ReadTenMegabyteWavBlock(benchmark::State &state)
{
    std::vector<uint8_t> bytes = tenMegabyteWav();
    WavLayout layout;
    for (auto _ : state) {
        int found = wavParseMemory(bytes.data(), bytes.size(), &layout);
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_ReadTenMegabyteWavBlock);

void BM_LoadTenMegabyteWavIntoDevice(benchmark::State &state)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (!o3DSoundInit(nullptr)) {
        state.SkipWithError("no dummy audio device");
        return;
    }
    std::vector<uint8_t> bytes = tenMegabyteWav();
    for (auto _ : state) {
        TSound sound = {};
        if (!o3DLoadSoundFromMemory(&sound, bytes.data(), (int)bytes.size()))
            state.SkipWithError("load failed");
        o3DFreeSound(&sound);
    }
    state.SetBytesProcessed(state.iterations() * (int64_t)bytes.size());
    o3DSoundShutdown();
}
BENCHMARK(BM_LoadTenMegabyteWavIntoDevice)->Unit(benchmark::kMillisecond);

} // namespace
