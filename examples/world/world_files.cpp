// Procedural assets of the world example: the heightmap comes from tellurix's core library, the
// pictures are 24-bit BMP files written here, the model is OBJ text. Nothing is read from disk.
#include "world_files.h"

#include "heightmap.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>

static const int kMapSize = 512;
static const uint32_t kMapSeed = 20261208u;
static const int kSnowSize = 128, kSkySize = 64;

struct Rgb {
    float r, g, b;
};

static void putLe(FILE *f, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        fputc((int)((value >> (8 * i)) & 0xFF), f);
}

static unsigned char toByte(float v)
{
    return (unsigned char)(v <= 0.0f ? 0 : v >= 1.0f ? 255 : (int)(v * 255.0f + 0.5f));
}

// A bottom-up 24-bit BMP of size x size pixels; `pixel(x, y)` is asked with y = 0 at the top.
template <typename Pixel> static int writeBmp(const char *path, int size, Pixel pixel)
{
    FILE *f = fopen(path, "wb");
    if (!f)
        return 0;
    uint32_t image = (uint32_t)(size * size * 3); // rows of a power-of-two size need no padding
    fputc('B', f);
    fputc('M', f);
    putLe(f, 54 + image, 4);
    putLe(f, 0, 4);
    putLe(f, 54, 4);
    putLe(f, 40, 4);
    putLe(f, (uint32_t)size, 4);
    putLe(f, (uint32_t)size, 4);
    putLe(f, 1, 2);
    putLe(f, 24, 2);
    for (int i = 0; i < 6; ++i)
        putLe(f, 0, 4);
    for (int y = size - 1; y >= 0; --y) {
        for (int x = 0; x < size; ++x) {
            Rgb c = pixel(x, y);
            fputc(toByte(c.b), f);
            fputc(toByte(c.g), f);
            fputc(toByte(c.r), f);
        }
    }
    return fclose(f) == 0;
}

int writeHeightmap(const char *path)
{
    unsigned char *heights = (unsigned char *)malloc((size_t)kMapSize * kMapSize);
    if (!heights)
        return 0;
    tellurixGenerate(heights, kMapSize, kMapSize, 1, kMapSeed);
    int ok = tellurixWriteBmp(path, heights, kMapSize, kMapSize);
    free(heights);
    return ok;
}

// Noise that tiles: four samples a period apart, blended by the position within the period.
static float tilingNoise(const TellurixPermutation *perm, float x, float y, float period)
{
    float u = x / period, v = y / period, s = 8.0f / period;
    float a = tellurixFbm(perm, x * s, y * s, 4, 0.5f);
    float b = tellurixFbm(perm, (x - period) * s, y * s, 4, 0.5f);
    float c = tellurixFbm(perm, x * s, (y - period) * s, 4, 0.5f);
    float d = tellurixFbm(perm, (x - period) * s, (y - period) * s, 4, 0.5f);
    return (a * (1 - u) + b * u) * (1 - v) + (c * (1 - u) + d * u) * v;
}

int writeSnowTexture(const char *path)
{
    TellurixPermutation perm;
    tellurixSeedPermutation(&perm, kMapSeed);
    TellurixRandom sparkle;
    tellurixSeedRandom(&sparkle, kMapSeed);
    return writeBmp(path, kSnowSize, [&](int x, int y) {
        float n = tilingNoise(&perm, (float)x, (float)y, (float)kSnowSize);
        float shade = 0.80f + 0.22f * n;
        if (tellurixDrawRandom(&sparkle) % 97 == 0)
            shade += 0.08f; // a glint of ice now and then
        return Rgb{shade * 0.95f, shade * 0.97f, shade};
    });
}

// Overcast: pale blue-grey overhead, the fog colour at the horizon and below, so fogged hills
// meet the sky without a seam.
static Rgb skyAt(float height)
{
    const Rgb horizon = {0.70f, 0.72f, 0.75f}, zenith = {0.56f, 0.62f, 0.72f};
    float t = height <= 0.0f ? 0.0f : sqrtf(height);
    return {horizon.r + (zenith.r - horizon.r) * t, horizon.g + (zenith.g - horizon.g) * t,
            horizon.b + (zenith.b - horizon.b) * t};
}

int writeSkyFace(const char *path, int face)
{
    return writeBmp(path, kSkySize, [face](int x, int y) {
        float h = 1.0f - ((float)y + 0.5f) / kSkySize * 2.0f; // 1 at the top edge, -1 at the bottom
        if (face == 4) {
            // Overhead: the sine of the elevation of the point, as on the sides at the shared
            // edges.
            float dx = ((float)x + 0.5f) / kSkySize * 2.0f - 1.0f;
            float dy = ((float)y + 0.5f) / kSkySize * 2.0f - 1.0f;
            return skyAt(1.0f / sqrtf(1.0f + dx * dx + dy * dy));
        }
        if (face == 5)
            return skyAt(0.0f);
        // On a side, the sine of the elevation of the point on the face.
        float dx = ((float)x + 0.5f) / kSkySize * 2.0f - 1.0f;
        return skyAt(h / sqrtf(1.0f + dx * dx + h * h));
    });
}

int writeSpruceTexture(const char *path)
{
    return writeBmp(path, kSkySize, [](int x, int y) {
        float v = 1.0f - ((float)y + 0.5f) / kSkySize; // texture coordinate, 0 at the bottom row
        if (x < kSkySize / 4)
            return Rgb{0.33f, 0.22f, 0.14f}; // bark
        float snow = v > 0.55f ? (v - 0.55f) / 0.45f : 0.0f;
        float needles = ((x + y) % 7 == 0) ? 0.03f : 0.0f;
        return Rgb{0.10f + 0.80f * snow + needles, 0.26f + 0.66f * snow + needles,
                   0.16f + 0.80f * snow + needles};
    });
}

int writeSpruceObj(const char *path)
{
    FILE *f = fopen(path, "w");
    if (!f)
        return 0;
    const int sides = 8;
    const float base[3] = {0.6f, 1.6f, 2.5f}, top[3] = {2.2f, 3.1f, 4.0f};
    const float radius[3] = {1.4f, 1.05f, 0.7f};
    fprintf(f, "# a low spruce written by the world example\n");
    // Texture coordinates: 1..4 on the bark strip, 5 a cone's rim (green), 6 its tip (snow).
    fprintf(f, "vt 0 0\nvt 0.2 0\nvt 0.2 1\nvt 0 1\nvt 0.7 0.05\nvt 0.7 0.95\n");
    // Trunk: a square column of side 0.3, 0.8 high (vertices 1..8), faces of four corners.
    for (int y = 0; y < 2; ++y)
        for (int i = 0; i < 4; ++i)
            fprintf(f, "v %g %g %g\n", (i == 1 || i == 2) ? 0.15 : -0.15, y * 0.8,
                    i >= 2 ? 0.15 : -0.15);
    for (int i = 0; i < 4; ++i) {
        int a = i + 1, b = (i + 1) % 4 + 1;
        fprintf(f, "f %d/1 %d/2 %d/3 %d/4\n", a, b, b + 4, a + 4);
    }
    // Cones: a ring of `sides` vertices with outward normals, then the apex; triangles.
    int first = 9;
    for (int c = 0; c < 3; ++c) {
        for (int i = 0; i < sides; ++i) {
            float a = 6.2831855f * (float)i / sides;
            fprintf(f, "v %g %g %g\nvn %g 0.5 %g\n", radius[c] * cosf(a), base[c],
                    radius[c] * sinf(a), cosf(a), sinf(a));
        }
        fprintf(f, "v 0 %g 0\n", top[c]);
        int apex = first + sides;
        for (int i = 0; i < sides; ++i) {
            int a = first + i, b = first + (i + 1) % sides;
            int na = c * sides + i + 1, nb = c * sides + (i + 1) % sides + 1;
            fprintf(f, "f %d/5/%d %d/6/%d %d/5/%d\n", a, na, apex, na, b, nb);
        }
        first = apex + 1;
    }
    return fclose(f) == 0;
}
