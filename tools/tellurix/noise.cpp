// The seeded noise of tellurix: the random generator, the permutation table, gradient noise, the
// fractal sum, the six terrain types and the reference generator that evaluates them sample by
// sample. generate.cpp is the fast path and must reproduce this one byte for byte.
//
// Precision rule (a saved seed must recreate its map on every platform and build):
// - every value is an IEEE single-precision float and every step is one float operation rounded
//   to float, in the order written here; nothing is held in double or in wider registers;
// - no fused multiply-add (the build passes -ffp-contract=off) and no fast-math (refused below);
// - the only library functions are floorf, fabsf and sqrtf, which are exact or correctly rounded
//   everywhere; powers are products: n^2 = n * n, n^1.5 = n * sqrtf(n);
// - halving is written as * 0.5f, which rounds exactly like / 2.
#include "heightmap.h"
#include "terrain.h"

#include <math.h>

static const TerrainType kTerrainTypes[kTellurixTypeCount] = {
    {"Gentle hills", "heightmap_hills_%u.bmp", 4.0f, 3, 0.5f},
    {"Plains with waves", "heightmap_plains_%u.bmp", 8.0f, 2, 0.3f},
    {"Rolling hills", "heightmap_rolling_%u.bmp", 3.0f, 4, 0.6f},
    {"Valleys and ridges", "heightmap_valleys_%u.bmp", 5.0f, 3, 0.5f},
    {"Island", "heightmap_island_%u.bmp", 4.0f, 4, 0.5f},
    {"Mountains", "heightmap_mountains_%u.bmp", 2.5f, 5, 0.7f},
};

// The gradient of one lattice corner: h & 7 picks the signs and which coordinate comes first.
static float gradient(int hash, float x, float y)
{
    int h = hash & 7;
    float u = h < 4 ? x : y;
    float v = h < 4 ? y : x;
    return ((h & 1) ? -u : u) + ((h & 2) ? -v : v);
}

const TerrainType *terrainType(int type)
{
    return &kTerrainTypes[clampTerrainType(type) - 1];
}

void tellurixSeedRandom(TellurixRandom *random, uint32_t seed)
{
    random->state = seed;
}

int tellurixDrawRandom(TellurixRandom *random)
{
    random->state = random->state * 214013u + 2531011u;
    return (int)((random->state >> 16) & 0x7FFFu);
}

void tellurixSeedPermutation(TellurixPermutation *perm, uint32_t seed)
{
    TellurixRandom random;
    tellurixSeedRandom(&random, seed);
    int shuffle[256];
    for (int i = 0; i < 256; i++) {
        shuffle[i] = i;
    }
    for (int i = 255; i > 0; i--) {
        int j = tellurixDrawRandom(&random) % (i + 1);
        int swapped = shuffle[i];
        shuffle[i] = shuffle[j];
        shuffle[j] = swapped;
    }
    for (int i = 0; i < 512; i++) {
        perm->table[i] = shuffle[i & 255];
    }
    perm->seeded = 1;
}

float tellurixFade(float t)
{
    return fadeCurve(t);
}

float tellurixNoise(const TellurixPermutation *perm, float x, float y)
{
    const int32_t *p = perm->table;
    float fx = floorf(x);
    float fy = floorf(y);
    float xf = x - fx;
    float yf = y - fy;
    int X = (int)fx & 255;
    int Y = (int)fy & 255;
    float u = fadeCurve(xf);
    float v = fadeCurve(yf);
    int A = p[X] + Y;
    int AA = p[A];
    int AB = p[A + 1];
    int B = p[X + 1] + Y;
    int BA = p[B];
    int BB = p[B + 1];
    // The corner hash is one more look-up, p[AA] rather than AA: saved seeds depend on it.
    float n = lerpValue(
        v, lerpValue(u, gradient(p[AA], xf, yf), gradient(p[BA], xf - 1.0f, yf)),
        lerpValue(u, gradient(p[AB], xf, yf - 1.0f), gradient(p[BB], xf - 1.0f, yf - 1.0f)));
    return (n + 1.0f) * 0.5f;
}

float tellurixFbm(const TellurixPermutation *perm, float x, float y, int octaves, float persistence)
{
    float total = 0.0f;
    float norm = 0.0f;
    float frequency = 1.0f;
    float amplitude = 1.0f;
    for (int octave = 0; octave < octaves; octave++) {
        total += tellurixNoise(perm, x * frequency, y * frequency) * amplitude;
        norm += amplitude;
        amplitude *= persistence;
        frequency *= 2.0f;
    }
    return total / norm;
}

void tellurixGenerateReference(unsigned char *heights, int width, int height, int type,
                               uint32_t seed)
{
    type = clampTerrainType(type);
    const TerrainType *terrain = terrainType(type);
    TellurixPermutation perm;
    tellurixSeedPermutation(&perm, seed);
    for (int i = 0; i < height; i++) {
        float ny = (float)i / (float)height;
        for (int j = 0; j < width; j++) {
            float nx = (float)j / (float)width;
            float n = tellurixFbm(&perm, nx * terrain->scale, ny * terrain->scale, terrain->octaves,
                                  terrain->persistence);
            float h = shapeHeight(type, n, nx - 0.5f, ny - 0.5f);
            heights[(size_t)i * (size_t)width + (size_t)j] = heightToByte(h);
        }
    }
}
