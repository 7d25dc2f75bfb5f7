// tellurix's generator core: settings from the command line, the seeded noise, the six terrain
// types and the 24-bit bitmap writer. The program (main.cpp), the tests and the benchmarks call
// it in-process; it needs nothing but the C and C++ standard libraries.
#ifndef TELLURIX_HEIGHTMAP_H
#define TELLURIX_HEIGHTMAP_H

#include <stdint.h>

enum {
    kTellurixMinSize = 16,
    kTellurixMaxSize = 2048,
    kTellurixTypeCount = 6,
    kTellurixFileNameSize = 260,
};

// What one run makes: the map size in pixels, the terrain type 1..6 and the seed.
struct TellurixSettings {
    int width;
    int height;
    int type;
    uint32_t seed;
};

// The 32-bit linear congruential generator shared with the game.
struct TellurixRandom {
    uint32_t state;
};

// The 256-entry shuffle written twice in a row, so corner look-ups never wrap.
struct TellurixPermutation {
    int32_t table[512];
    int seeded;
};

// Decimal text to int with atoi's rules: leading blanks, an optional sign, digits up to the first
// non-digit; no digits give 0. Out of range the value wraps modulo 2^32 (the C libraries disagree
// there), so every seed printed with %u reads back as the same seed.
int tellurixParseInt(const char *text);
// Reads "[width] [height] [type] [seed]" (argv[0] is the program) with defaults and clamps;
// `clockSeed` is the seed used when the fourth argument is absent.
TellurixSettings tellurixReadSettings(int argc, const char *const *argv, uint32_t clockSeed);
// 1 when an argument is exactly "-h" or "--help": the program then prints its usage and writes
// nothing (read as a number, "--help" would be a width of 0).
int tellurixWantsHelp(int argc, const char *const *argv);
// "Gentle hills" ... "Mountains"; the pattern of the file name, e.g. "heightmap_hills_%u.bmp".
const char *tellurixTypeName(int type);
const char *tellurixFileNamePattern(int type);
// Formats the file name for `settings` into out[kTellurixFileNameSize].
void tellurixFormatFileName(const TellurixSettings *settings, char *out);

void tellurixSeedRandom(TellurixRandom *random, uint32_t seed);
// One draw, 0..32767.
int tellurixDrawRandom(TellurixRandom *random);
void tellurixSeedPermutation(TellurixPermutation *perm, uint32_t seed);
float tellurixFade(float t);
// Gradient noise in the plane z = 0, about 0..1.
float tellurixNoise(const TellurixPermutation *perm, float x, float y);
float tellurixFbm(const TellurixPermutation *perm, float x, float y, int octaves,
                  float persistence);

// Fills heights[width * height] (row 0 first) with the map of `type` (clamped to 1..6). Its
// scratch is allocated once per call; without it the reference below does the work.
void tellurixGenerate(unsigned char *heights, int width, int height, int type, uint32_t seed);
// The same map computed sample by sample with tellurixFbm: slow, kept as the reference the fast
// path must match byte for byte.
void tellurixGenerateReference(unsigned char *heights, int width, int height, int type,
                               uint32_t seed);

// Writes the map as a 24-bit bottom-up bitmap; 0 if the file can't be created or written.
int tellurixWriteBmp(const char *path, const unsigned char *heights, int width, int height);

#endif
