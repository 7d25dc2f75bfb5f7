// Walks RIFF WAVE data for the sound loaders. Only the canonical layout is taken: "RIFF", a size
// that is not read, "WAVE", then the format chunk first; after it, chunks are skipped by exactly
// their size (no pad byte for odd sizes) until "data". The format tag is not examined: every file
// plays as integer PCM of its channels, rate and bits.
#include "audio/wav.h"

#include <string.h>

static const uint32_t kFormatFieldsBytes = 16; // the format chunk's fields up to bits per sample
static const uint32_t kChunkHeaderBytes = 8;
static const uint32_t kMinRateHz = 100;
static const uint32_t kMaxRateHz = 200000;

static uint32_t readLe32(const unsigned char *p)
{
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

static uint16_t readLe16(const unsigned char *p)
{
    return (uint16_t)(p[0] | p[1] << 8);
}

// Checks the three tags of the first 36 bytes and takes the format; returns the format chunk's
// bytes past the 16 read, which the walk skips.
static int readHeader(const unsigned char *header, WavFormat *format, uint32_t *extraFormatBytes)
{
    if (memcmp(header, "RIFF", 4) != 0 || memcmp(header + 8, "WAVE", 4) != 0 ||
        memcmp(header + 12, "fmt ", 4) != 0)
        return 0;
    uint32_t formatBytes = readLe32(header + 16);
    *extraFormatBytes = formatBytes > kFormatFieldsBytes ? formatBytes - kFormatFieldsBytes : 0;
    format->channels = readLe16(header + 22);
    format->sampleRate = readLe32(header + 24);
    format->bitsPerSample = readLe16(header + 34);
    return 1;
}

int wavParseMemory(const unsigned char *bytes, size_t size, WavLayout *layout)
{
    if (!bytes || size < kWavSmallestBlockBytes)
        return 0;
    uint32_t extra = 0;
    if (!readHeader(bytes, &layout->format, &extra))
        return 0;
    uint64_t position = (uint64_t)kWavHeaderBytes + extra;
    while (position < size - kChunkHeaderBytes) {
        const unsigned char *chunk = bytes + position;
        uint32_t chunkBytes = readLe32(chunk + 4);
        if (memcmp(chunk, "data", 4) == 0) {
            uint64_t start = position + kChunkHeaderBytes;
            if (chunkBytes == 0 || chunkBytes > size - start)
                return 0;
            layout->dataOffset = start;
            layout->dataBytes = chunkBytes;
            return 1;
        }
        position += (uint64_t)chunkBytes + kChunkHeaderBytes;
    }
    return 0;
}

int wavParseFile(FILE *file, WavLayout *layout)
{
    if (!file || fseek(file, 0, SEEK_END) != 0)
        return 0;
    long length = ftell(file);
    unsigned char header[kWavHeaderBytes];
    if (length < 0 || fseek(file, 0, SEEK_SET) != 0 ||
        fread(header, 1, sizeof header, file) != sizeof header)
        return 0;
    uint32_t extra = 0;
    if (!readHeader(header, &layout->format, &extra))
        return 0;
    uint64_t fileBytes = (uint64_t)length;
    uint64_t position = (uint64_t)kWavHeaderBytes + extra;
    // Every jump is checked against the length first, so the seek never leaves the file.
    while (position + kChunkHeaderBytes <= fileBytes) {
        unsigned char chunk[kChunkHeaderBytes];
        if (fseek(file, (long)position, SEEK_SET) != 0 ||
            fread(chunk, 1, sizeof chunk, file) != sizeof chunk)
            return 0;
        uint32_t chunkBytes = readLe32(chunk + 4);
        position += kChunkHeaderBytes;
        if (memcmp(chunk, "data", 4) == 0) {
            if (chunkBytes == 0 || chunkBytes > fileBytes - position)
                return 0;
            layout->dataOffset = position;
            layout->dataBytes = chunkBytes;
            return 1;
        }
        position += chunkBytes;
    }
    return 0;
}

int wavFormatPlayable(const WavFormat *format)
{
    uint32_t bits = format->bitsPerSample;
    return (format->channels == 1 || format->channels == 2) &&
           (bits == 8 || bits == 16 || bits == 24 || bits == 32) &&
           format->sampleRate >= kMinRateHz && format->sampleRate <= kMaxRateHz;
}

uint32_t wavBlockAlign(const WavFormat *format)
{
    return format->bitsPerSample / 8 * format->channels;
}
