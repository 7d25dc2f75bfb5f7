// The fast generator: the same float operations as the reference in noise.cpp, in the same order,
// regrouped so most of them run four pixels at a time.
//
// Along a row only x changes, so everything that depends on x alone (fraction, fade, lattice
// cell) is computed once per column and octave, and everything that depends on the cell and the
// row (the four corner hashes, the y half of each gradient) once per cell, row and octave. A
// gradient is then (+-x) + (+-y) with x times +-1 (exact), which leaves per pixel only products
// and sums that vectorise without changing a bit. Each cell's run of columns goes through the
// vector kernel four at a time and its last few columns through the same code instantiated for
// one float. The final shaping into bytes runs four pixels at a time as well.
#include "heightmap.h"
#include "terrain.h"

#include <math.h>
#include <stdlib.h>
#include <string.h>

enum {
    kLanes = 4,
    kCorners = 4, // AA, BA, AB, BB, as in the reference
    kMaxOctaves = 5,
};

// What a row needs from one lattice cell at one octave.
struct CellTerms {
    float xSign[kCorners]; // +1 or -1: the sign of the x half of the corner's gradient
    float yTerm[kCorners]; // the y half, +-yf or +-(yf - 1)
};

// Per-column values of one octave, and the lattice cells the row passes through.
struct OctaveColumns {
    float *fraction;      // xf
    float *fractionLess1; // xf - 1
    float *fade;          // fade(xf)
    int *cellStart;       // the first column of each cell met along the row
    int *cellX;           // the cell's lattice x, & 255
    int cellCount;
};

struct Scratch {
    void *block;
    OctaveColumns octave[kMaxOctaves];
    CellTerms *cells;
    float *total;
    float *centreDx;
};

static float xSignOf(int hash)
{
    int h = hash & 7;
    return (h < 4 ? (h & 1) : (h & 2)) ? -1.0f : 1.0f;
}

static float yTermOf(int hash, float y)
{
    int h = hash & 7;
    return (h < 4 ? (h & 2) : (h & 1)) ? -y : y;
}

static int allocScratch(Scratch *scratch, int width, int octaves)
{
    size_t w = (size_t)width;
    size_t floatsPerOctave = 3 * w;
    size_t intsPerOctave = 2 * w;
    size_t octaveBytes = floatsPerOctave * sizeof(float) + intsPerOctave * sizeof(int);
    size_t bytes = (size_t)octaves * octaveBytes + w * sizeof(CellTerms) + 2 * w * sizeof(float);
    unsigned char *block = (unsigned char *)malloc(bytes);
    if (block == nullptr) {
        return 0;
    }
    scratch->block = block;
    // Floats first, then ints, then cell terms: every array stays aligned for its type.
    float *floats = (float *)block;
    for (int o = 0; o < octaves; o++) {
        scratch->octave[o].fraction = floats;
        scratch->octave[o].fractionLess1 = floats + w;
        scratch->octave[o].fade = floats + 2 * w;
        floats += floatsPerOctave;
    }
    scratch->total = floats;
    scratch->centreDx = floats + w;
    int *ints = (int *)(floats + 2 * w);
    for (int o = 0; o < octaves; o++) {
        scratch->octave[o].cellStart = ints;
        scratch->octave[o].cellX = ints + w;
        ints += intsPerOctave;
    }
    scratch->cells = (CellTerms *)ints;
    return 1;
}

static void prepareColumns(OctaveColumns *columns, int width, float scale, float frequency)
{
    float previousFx = 0.0f;
    columns->cellCount = 0;
    for (int j = 0; j < width; j++) {
        float nx = (float)j / (float)width;
        float x = nx * scale * frequency;
        float fx = floorf(x);
        float xf = x - fx;
        columns->fraction[j] = xf;
        columns->fractionLess1[j] = xf - 1.0f;
        columns->fade[j] = fadeCurve(xf);
        // x grows with j, so each cell met is one run of columns; a narrow map may skip cells.
        if (j == 0 || fx != previousFx) {
            columns->cellStart[columns->cellCount] = j;
            columns->cellX[columns->cellCount] = (int)fx & 255;
            columns->cellCount++;
            previousFx = fx;
        }
    }
}

static void prepareCells(CellTerms *cells, const OctaveColumns *columns, const int32_t *p, int Y,
                         float yf)
{
    float yfLess1 = yf - 1.0f;
    for (int k = 0; k < columns->cellCount; k++) {
        int X = columns->cellX[k];
        int A = p[X] + Y;
        int B = p[X + 1] + Y;
        int hashes[kCorners] = {p[p[A]], p[p[B]], p[p[A + 1]], p[p[B + 1]]};
        float ys[kCorners] = {yf, yf, yfLess1, yfLess1};
        for (int c = 0; c < kCorners; c++) {
            cells[k].xSign[c] = xSignOf(hashes[c]);
            cells[k].yTerm[c] = yTermOf(hashes[c], ys[c]);
        }
    }
}

// One octave's noise at columns of one cell, added to their totals. F is one float or
// FloatLanes; the operations and their order are the reference's.
template <typename F>
static inline F addOctave(F total, F xf, F xfLess1, F u, float v, const CellTerms &cell,
                          float amplitude)
{
    F g1 = xf * cell.xSign[0] + cell.yTerm[0];
    F g2 = xfLess1 * cell.xSign[1] + cell.yTerm[1];
    F g3 = xf * cell.xSign[2] + cell.yTerm[2];
    F g4 = xfLess1 * cell.xSign[3] + cell.yTerm[3];
    F low = g1 + (g2 - g1) * u;
    F high = g3 + (g4 - g3) * u;
    F n = low + (high - low) * v;
    return total + (n + 1.0f) * 0.5f * amplitude;
}

#if defined(TELLURIX_HAS_LANES)
static inline FloatLanes loadLanes(const float *from)
{
    FloatLanes lanes;
    memcpy(&lanes, from, sizeof lanes);
    return lanes;
}

static inline void storeLanes(float *to, FloatLanes lanes)
{
    memcpy(to, &lanes, sizeof lanes);
}
#endif

static void addOctaveRow(float *total, int width, const OctaveColumns *columns,
                         const CellTerms *cells, float v, float amplitude)
{
    int j = 0;
    for (int k = 0; k < columns->cellCount; k++) {
        const CellTerms cell = cells[k];
        int runEnd = k + 1 < columns->cellCount ? columns->cellStart[k + 1] : width;
#if defined(TELLURIX_HAS_LANES)
        for (; j + kLanes <= runEnd; j += kLanes) {
            FloatLanes sum = addOctave(loadLanes(total + j), loadLanes(columns->fraction + j),
                                       loadLanes(columns->fractionLess1 + j),
                                       loadLanes(columns->fade + j), v, cell, amplitude);
            storeLanes(total + j, sum);
        }
#endif
        for (; j < runEnd; j++) {
            total[j] = addOctave(total[j], columns->fraction[j], columns->fractionLess1[j],
                                 columns->fade[j], v, cell, amplitude);
        }
    }
}

// The type is a template argument so the loop keeps no branch on it.
template <int Type>
static void shapeRowOf(unsigned char *row, const float *total, float norm, const float *centreDx,
                       float dy, int width)
{
    int j = 0;
#if defined(TELLURIX_HAS_LANES)
    const FloatLanes dyLanes = {dy, dy, dy, dy};
    for (; j + kLanes <= width; j += kLanes) {
        FloatLanes h = shapeOf<Type>(loadLanes(total + j) / norm, loadLanes(centreDx + j), dyLanes);
        IntLanes bytes = __builtin_convertvector(clampUnit(h) * 255.0f, IntLanes);
        for (int lane = 0; lane < kLanes; lane++) {
            row[j + lane] = (unsigned char)bytes[lane];
        }
    }
#endif
    for (; j < width; j++) {
        row[j] = heightToByte(shapeOf<Type>(total[j] / norm, centreDx[j], dy));
    }
}

static void shapeRow(int type, unsigned char *row, const float *total, float norm,
                     const float *centreDx, float dy, int width)
{
    switch (type) {
    case 1:
        shapeRowOf<1>(row, total, norm, centreDx, dy, width);
        break;
    case 2:
        shapeRowOf<2>(row, total, norm, centreDx, dy, width);
        break;
    case 3:
        shapeRowOf<3>(row, total, norm, centreDx, dy, width);
        break;
    case 4:
        shapeRowOf<4>(row, total, norm, centreDx, dy, width);
        break;
    case 5:
        shapeRowOf<5>(row, total, norm, centreDx, dy, width);
        break;
    default:
        shapeRowOf<6>(row, total, norm, centreDx, dy, width);
        break;
    }
}

static void generateRows(Scratch *scratch, unsigned char *heights, int width, int height, int type,
                         const TellurixPermutation *perm)
{
    const TerrainType *terrain = terrainType(type);
    float amplitudes[kMaxOctaves];
    float norm = 0.0f;
    float amplitude = 1.0f;
    float frequency = 1.0f;
    float frequencies[kMaxOctaves];
    for (int o = 0; o < terrain->octaves; o++) {
        amplitudes[o] = amplitude;
        frequencies[o] = frequency;
        norm += amplitude;
        amplitude *= terrain->persistence;
        frequency *= 2.0f;
        prepareColumns(&scratch->octave[o], width, terrain->scale, frequencies[o]);
    }
    for (int j = 0; j < width; j++) {
        scratch->centreDx[j] = (float)j / (float)width - 0.5f;
    }

    for (int i = 0; i < height; i++) {
        float ny = (float)i / (float)height;
        float y = ny * terrain->scale;
        float *total = scratch->total;
        memset(total, 0, (size_t)width * sizeof(float));
        for (int o = 0; o < terrain->octaves; o++) {
            float ys = y * frequencies[o];
            float fy = floorf(ys);
            float yf = ys - fy;
            prepareCells(scratch->cells, &scratch->octave[o], perm->table, (int)fy & 255, yf);
            addOctaveRow(total, width, &scratch->octave[o], scratch->cells, fadeCurve(yf),
                         amplitudes[o]);
        }
        shapeRow(type, heights + (size_t)i * (size_t)width, total, norm, scratch->centreDx,
                 ny - 0.5f, width);
    }
}

void tellurixGenerate(unsigned char *heights, int width, int height, int type, uint32_t seed)
{
    type = clampTerrainType(type);
    Scratch scratch;
    if (!allocScratch(&scratch, width, terrainType(type)->octaves)) {
        // Same bytes, only slower.
        tellurixGenerateReference(heights, width, height, type, seed);
        return;
    }
    TellurixPermutation perm;
    tellurixSeedPermutation(&perm, seed);
    generateRows(&scratch, heights, width, height, type, &perm);
    free(scratch.block);
}
