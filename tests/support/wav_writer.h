// Writes WAV fixtures in memory, so a test shows what its file contains: the canonical 44-byte
// layout of a PCM sound, optional chunks between the format chunk and "data", and patching of
// single fields for damaged headers.
#ifndef O3D_TESTS_WAV_WRITER_H
#define O3D_TESTS_WAV_WRITER_H

#include <stdint.h>

#include <string>
#include <vector>

struct WavChunk {
    std::string id; // four characters
    std::vector<uint8_t> bytes;
    uint32_t declaredSize = UINT32_MAX; // the size written; UINT32_MAX writes the real one
};

struct WavSpec {
    uint16_t formatTag = 1;
    uint16_t channels = 1;
    uint32_t rate = 22050;
    uint16_t bits = 16;
    std::vector<uint8_t> formatExtra; // after bits per sample, counted in the format size
    std::vector<WavChunk> chunks;     // between the format chunk and "data"
    std::vector<uint8_t> samples;
    uint32_t dataSize = UINT32_MAX; // UINT32_MAX writes the real one
};

inline void appendLe(std::vector<uint8_t> &out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back((uint8_t)(value >> (8 * i)));
}

inline void appendTag(std::vector<uint8_t> &out, const std::string &tag)
{
    for (char c : tag)
        out.push_back((uint8_t)c);
}

inline std::vector<uint8_t> makeWav(const WavSpec &fixture)
{
    std::vector<uint8_t> out;
    appendTag(out, "RIFF");
    appendLe(out, 0, 4); // patched below
    appendTag(out, "WAVE");
    appendTag(out, "fmt ");
    appendLe(out, 16 + (uint32_t)fixture.formatExtra.size(), 4);
    appendLe(out, fixture.formatTag, 2);
    appendLe(out, fixture.channels, 2);
    appendLe(out, fixture.rate, 4);
    uint32_t align = fixture.bits / 8 * fixture.channels;
    appendLe(out, fixture.rate * align, 4);
    appendLe(out, align, 2);
    appendLe(out, fixture.bits, 2);
    out.insert(out.end(), fixture.formatExtra.begin(), fixture.formatExtra.end());
    for (const WavChunk &chunk : fixture.chunks) {
        appendTag(out, chunk.id);
        uint32_t size =
            chunk.declaredSize != UINT32_MAX ? chunk.declaredSize : (uint32_t)chunk.bytes.size();
        appendLe(out, size, 4);
        out.insert(out.end(), chunk.bytes.begin(), chunk.bytes.end());
    }
    appendTag(out, "data");
    appendLe(out,
             fixture.dataSize != UINT32_MAX ? fixture.dataSize : (uint32_t)fixture.samples.size(),
             4);
    out.insert(out.end(), fixture.samples.begin(), fixture.samples.end());
    uint32_t riffSize = (uint32_t)out.size() - 8;
    for (int i = 0; i < 4; ++i)
        out[4 + i] = (uint8_t)(riffSize >> (8 * i));
    return out;
}

// 16-bit samples as little-endian bytes.
inline std::vector<uint8_t> samples16(const std::vector<int16_t> &values)
{
    std::vector<uint8_t> out;
    for (int16_t v : values)
        appendLe(out, (uint16_t)v, 2);
    return out;
}

#endif
