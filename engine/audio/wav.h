// The RIFF WAVE readers behind the sound loaders: where the samples are and what they are, from a
// block in memory or an open file. Plain memory and stdio, no device, so tests run them alone.
// Nothing a header claims is trusted: every size is checked against the bytes really present
// before a loader allocates for it.
#ifndef O3D_AUDIO_WAV_H
#define O3D_AUDIO_WAV_H

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

// The canonical header before the chunk walk: RIFF, size, WAVE, "fmt ", its size and 16 bytes.
static const uint32_t kWavHeaderBytes = 36;
// The header plus one chunk header: a smaller block cannot hold samples.
static const uint32_t kWavSmallestBlockBytes = 44;

struct WavFormat {
    uint32_t channels;
    uint32_t sampleRate;
    uint32_t bitsPerSample;
};

struct WavLayout {
    WavFormat format;
    uint64_t dataOffset; // where the samples start in the block or file
    uint32_t dataBytes;  // never 0, never past the end of the block or file
};

// Finds the samples of a WAV block of `size` bytes. 1 with the layout filled; 0 for a block under
// 44 bytes, wrong tags, a walk that meets no "data" chunk before size - 8, an empty "data" chunk,
// or one declaring more bytes than follow it. Chunk sizes are added in 64 bits, so no size can
// wrap the walk back into the block.
int wavParseMemory(const unsigned char *bytes, size_t size, WavLayout *layout);

// The same for an open file, read from its start; on success the file is positioned at the
// samples. A short read anywhere, or a "data" chunk longer than the rest of the file, refuses.
int wavParseFile(FILE *file, WavLayout *layout);

// 1 for what every backend plays: 1 or 2 channels of 8, 16, 24 or 32 bits at 100..200000 Hz.
int wavFormatPlayable(const WavFormat *format);

// Bytes of one frame (one sample of every channel).
uint32_t wavBlockAlign(const WavFormat *format);

#endif
