// Internal to tellurix's core: the table of the six terrain types and the per-pixel steps that the
// reference generator and the fast generator share, so both round exactly alike.
#ifndef TELLURIX_TERRAIN_H
#define TELLURIX_TERRAIN_H

#include "heightmap.h"

#include <math.h>

#if defined(__FAST_MATH__)
#error "no -ffast-math for tellurix: saved seeds would no longer recreate their maps"
#endif

struct TerrainType {
    const char *name;
    const char *fileNamePattern;
    float scale; // noise cells across the whole map at the first octave
    int octaves;
    float persistence;
};

// Types outside 1..6 are clamped, as the command line does.
static inline int clampTerrainType(int type)
{
    return type < 1 ? 1 : (type > kTellurixTypeCount ? kTellurixTypeCount : type);
}

// The table row of a type, clamped to 1..6 first.
const TerrainType *terrainType(int type);

// Every step below is one IEEE single-precision operation, in the order written.
static inline float fadeCurve(float t)
{
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}

static inline float lerpValue(float t, float a, float b)
{
    return a + (b - a) * t;
}

#if defined(__GNUC__)
// Four floats that GCC and Clang compute lane by lane (SSE2 on x86-64, scalar code elsewhere).
typedef float FloatLanes __attribute__((vector_size(16)));
typedef int32_t IntLanes __attribute__((vector_size(16)));
#define TELLURIX_HAS_LANES 1
#endif

static inline float squareRoot(float x)
{
    return sqrtf(x);
}

static inline float absolute(float x)
{
    return fabsf(x);
}

// Clamps to 0..1; NaN becomes 0.
static inline float clampUnit(float h)
{
    if (h > 1.0f) {
        h = 1.0f;
    }
    if (!(h >= 0.0f)) {
        h = 0.0f;
    }
    return h;
}

#if defined(TELLURIX_HAS_LANES)
static inline FloatLanes squareRoot(FloatLanes x)
{
#if defined(__SSE__)
    return __builtin_ia32_sqrtps(x); // correctly rounded, like sqrtf
#else
    for (int lane = 0; lane < 4; lane++) {
        x[lane] = sqrtf(x[lane]);
    }
    return x;
#endif
}

static inline FloatLanes absolute(FloatLanes x)
{
    return (FloatLanes)((IntLanes)x & 0x7FFFFFFF);
}

static inline FloatLanes clampUnit(FloatLanes h)
{
    const FloatLanes zero = {0.0f, 0.0f, 0.0f, 0.0f};
    const FloatLanes one = {1.0f, 1.0f, 1.0f, 1.0f};
    h = h > 1.0f ? one : h;
    return h >= 0.0f ? h : zero;
}
#endif

// The height of one pixel from the fractal sum n and its distances dx, dy from the centre of the
// map, in map units. F is float or FloatLanes.
template <int Type, typename F> static inline F shapeOf(F n, F dx, F dy)
{
    switch (Type) {
    case 1:
        return n + (1.0f - squareRoot(dx * dx + dy * dy)) * 0.2f;
    case 2:
        return n * 0.3f + 0.3f;
    case 3:
        return n * squareRoot(n); // n^1.5; a negative n gives NaN, as pow would, hence 0
    case 4:
        return absolute(n - 0.5f) * 2.0f;
    case 5:
        return (1.0f - 2.0f * squareRoot(dx * dx + dy * dy)) * n;
    default:
        return n * n;
    }
}

static inline float shapeHeight(int type, float n, float dx, float dy)
{
    switch (type) {
    case 1:
        return shapeOf<1>(n, dx, dy);
    case 2:
        return shapeOf<2>(n, dx, dy);
    case 3:
        return shapeOf<3>(n, dx, dy);
    case 4:
        return shapeOf<4>(n, dx, dy);
    case 5:
        return shapeOf<5>(n, dx, dy);
    default:
        return shapeOf<6>(n, dx, dy);
    }
}

// h * 255 truncated toward zero after the clamp, so only h = 1 gives 255.
static inline unsigned char heightToByte(float h)
{
    return (unsigned char)(int)(clampUnit(h) * 255.0f);
}

#endif
