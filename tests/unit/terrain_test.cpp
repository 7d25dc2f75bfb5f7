// The terrain without a display: the build from height bytes (grid sampling, placement, texture
// coordinates, winding, normals), the height and normal queries against values worked out by
// hand, heightmaps one sample wide, the pixel-to-height rule, and the texture record it may own.
// Nothing here compiles a display list, so no GL call is made.
#include "assets/terrain.h"
#include "platform/seam.h"

#include <gtest/gtest.h>

#include <math.h>
#include <stdlib.h>

#include <vector>

namespace {

const float kTolerance = 1e-4f;

struct Built {
    TTerrain *terrain = nullptr;
    ~Built()
    {
        o3DFreeTerrain(terrain);
    }
};

// Bytes of a width x depth map from a rule over (row, column).
template <class Rule> std::vector<unsigned char> heightBytes(int width, int depth, Rule rule)
{
    std::vector<unsigned char> bytes;
    for (int r = 0; r < depth; ++r)
        for (int k = 0; k < width; ++k)
            bytes.push_back((unsigned char)rule(r, k));
    return bytes;
}

const float *vertexOf(const TTerrain *t, int i)
{
    return t->mesh->vertices + (size_t)i * 3;
}

struct GridCase {
    int width, depth, step;
    int gridWidth, gridDepth;
    float firstX, lastX, firstZ, lastZ; // cell size 2
};

TEST(TerrainGrid, TakesEveryStepthSampleFromTheFirst)
{
    const GridCase cases[] = {
        {512, 512, 2, 256, 256, -511, 509, -511, 509},
        {257, 257, 2, 129, 129, -256, 256, -256, 256},
        {5, 4, 2, 3, 2, -4, 4, -3, 1},
        {5, 5, 1, 5, 5, -4, 4, -4, 4},
        {5, 5, 0, 5, 5, -4, 4, -4, 4},
        {5, 5, -3, 5, 5, -4, 4, -4, 4},
        {7, 7, 3, 3, 3, -6, 6, -6, 6},
        {4, 4, 5, 1, 1, -3, -3, -3, -3},
        {1, 1, 2, 1, 1, 0, 0, 0, 0},
        {1, 6, 2, 1, 3, 0, 0, -5, 3},
        {6, 1, 2, 3, 1, -5, 3, 0, 0},
    };
    for (const GridCase &c : cases) {
        SCOPED_TRACE(::testing::Message() << c.width << " x " << c.depth << " step " << c.step);
        std::vector<unsigned char> bytes((size_t)c.width * c.depth, 0);
        Built b;
        b.terrain = terrainBuild(bytes.data(), c.width, c.depth, 2.0f, 40.0f, c.step);
        ASSERT_NE(b.terrain, nullptr);
        const TTerrain *t = b.terrain;
        EXPECT_EQ(t->width, c.width);
        EXPECT_EQ(t->depth, c.depth);
        EXPECT_EQ(t->step, c.step < 1 ? 1 : c.step);
        ASSERT_EQ(t->mesh->vertexCount, c.gridWidth * c.gridDepth);
        EXPECT_EQ(t->mesh->indexCount, (c.gridWidth - 1) * (c.gridDepth - 1) * 6);
        int last = t->mesh->vertexCount - 1;
        EXPECT_EQ(vertexOf(t, 0)[0], c.firstX);
        EXPECT_EQ(vertexOf(t, 0)[2], c.firstZ);
        EXPECT_EQ(vertexOf(t, last)[0], c.lastX);
        EXPECT_EQ(vertexOf(t, last)[2], c.lastZ);
        for (int i = 0; i < t->mesh->indexCount; ++i)
            ASSERT_LT(t->mesh->indices[i], (uint32_t)t->mesh->vertexCount);
    }
}

TEST(TerrainGrid, RefusesMissingBytesAndEmptySizes)
{
    unsigned char byte = 0;
    EXPECT_EQ(terrainBuild(nullptr, 2, 2, 1.0f, 1.0f, 1), nullptr);
    EXPECT_EQ(terrainBuild(&byte, 0, 1, 1.0f, 1.0f, 1), nullptr);
    EXPECT_EQ(terrainBuild(&byte, 1, 0, 1.0f, 1.0f, 1), nullptr);
    EXPECT_EQ(terrainBuild(&byte, -4, 1, 1.0f, 1.0f, 1), nullptr);
    EXPECT_EQ(o3DCreateTerrainFromBytes(nullptr, 2, 2, 1.0f, 1.0f), nullptr);
    EXPECT_EQ(o3DCreateTerrain(nullptr, 1.0f, 1.0f), nullptr);
}

// 5 x 3 samples, step 2: grid columns on samples 0, 2, 4 and rows on 0, 2; cell 2, height scale
// 51, so a vertex stands at (2k - 4, byte / 5, 2r - 2).
TEST(TerrainGrid, PlacesVerticesIndicesAndHeights)
{
    std::vector<unsigned char> bytes = heightBytes(5, 3, [](int r, int k) { return r * 50 + k; });
    Built b;
    b.terrain = terrainBuild(bytes.data(), 5, 3, 2.0f, 51.0f, 2);
    ASSERT_NE(b.terrain, nullptr);
    const TTerrain *t = b.terrain;
    EXPECT_EQ(t->cellSize, 2.0f);
    EXPECT_EQ(t->heightScale, 51.0f);
    EXPECT_FLOAT_EQ(t->heights[7], 52.0f / 255.0f);
    const float expected[6][3] = {{-4, 0.0f, -2}, {0, 0.4f, -2}, {4, 0.8f, -2},
                                  {-4, 20.0f, 2}, {0, 20.4f, 2}, {4, 20.8f, 2}};
    ASSERT_EQ(t->mesh->vertexCount, 6);
    for (int i = 0; i < 6; ++i)
        for (int a = 0; a < 3; ++a)
            EXPECT_NEAR(vertexOf(t, i)[a], expected[i][a], kTolerance) << i << "," << a;
    const uint32_t indices[12] = {0, 1, 4, 0, 4, 3, 1, 2, 5, 1, 5, 4};
    ASSERT_EQ(t->mesh->indexCount, 12);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(t->mesh->indices[i], indices[i]) << i;
}

// Seen from above the triangles run clockwise: their geometric normals point down.
TEST(TerrainGrid, TrianglesFaceDown)
{
    std::vector<unsigned char> bytes = heightBytes(6, 5, [](int r, int k) { return r * k * 7; });
    Built b;
    b.terrain = terrainBuild(bytes.data(), 6, 5, 1.0f, 1.0f, 1);
    ASSERT_NE(b.terrain, nullptr);
    const TMesh *m = b.terrain->mesh;
    for (int i = 0; i < m->indexCount; i += 3) {
        const float *p0 = m->vertices + m->indices[i] * 3;
        const float *p1 = m->vertices + m->indices[i + 1] * 3;
        const float *p2 = m->vertices + m->indices[i + 2] * 3;
        float ax = p1[0] - p0[0], az = p1[2] - p0[2];
        float bx = p2[0] - p0[0], bz = p2[2] - p0[2];
        EXPECT_LT(az * bx - ax * bz, 0.0f) << "triangle " << i / 3;
    }
}

struct UvCase {
    int width, depth;
    float repeatU, repeatV;
    int vertex;
    float u, v;
};

TEST(TerrainTexCoords, SpanTheMapTimesTheRepeat)
{
    const UvCase cases[] = {
        {5, 5, 1, 1, 0, 0, 0},
        {5, 5, 1, 1, 8, 1, 1},
        {5, 5, 1, 1, 1, 0.5f, 0},
        {5, 5, 120, 120, 2, 120, 0},
        {5, 5, 120, 120, 8, 120, 120},
        {5, 5, 3, 0.5f, 4, 1.5f, 0.25f},
        {512, 512, 120, 120, 255, 120.0f * 510 / 511, 0},
        // One sample along an axis: nothing to divide, the coordinate is 0.
        {1, 5, 120, 120, 2, 0, 120},
        {5, 1, 120, 120, 2, 120, 0},
        {1, 1, 120, 120, 0, 0, 0},
    };
    for (const UvCase &c : cases) {
        SCOPED_TRACE(::testing::Message() << c.width << " x " << c.depth << " repeat " << c.repeatU
                                          << ", " << c.repeatV << " vertex " << c.vertex);
        std::vector<unsigned char> bytes((size_t)c.width * c.depth, 9);
        Built b;
        b.terrain = terrainBuild(bytes.data(), c.width, c.depth, 1.0f, 1.0f, 2);
        ASSERT_NE(b.terrain, nullptr);
        if (c.repeatU != 1 || c.repeatV != 1)
            o3DSetTerrainTextureRepeat(b.terrain, c.repeatU, c.repeatV);
        EXPECT_EQ(b.terrain->repeatU, c.repeatU);
        EXPECT_EQ(b.terrain->repeatV, c.repeatV);
        EXPECT_EQ(b.terrain->mesh->hasTexCoords, 1);
        const float *uv = b.terrain->mesh->texCoords + c.vertex * 2;
        EXPECT_NEAR(uv[0], c.u, kTolerance);
        EXPECT_NEAR(uv[1], c.v, kTolerance);
    }
}

struct NormalCase {
    const char *what;
    int step;
    float cellSize, heightScale;
    int vertex;
    TVector3 unnormalised;
};

// Heights 0.2 * column on a 5 x 3 map: the slope shows in x only. Neighbours are taken one step
// away on the full samples; an edge uses its own height for the missing side.
TEST(TerrainNormals, ComeFromTheSamplesOneStepAway)
{
    const NormalCase cases[] = {
        {"left edge, step 1", 1, 1, 1, 0, {-0.2f, 2, 0}},
        {"inside, step 1", 1, 1, 1, 2, {-0.4f, 2, 0}},
        {"right edge, step 1", 1, 1, 1, 4, {-0.2f, 2, 0}},
        {"left edge, step 2", 2, 1, 1, 0, {-0.4f, 2, 0}},
        {"inside, step 2", 2, 1, 1, 1, {-0.8f, 2, 0}},
        {"right edge, step 2", 2, 1, 1, 2, {-0.4f, 2, 0}},
        {"scaled by height over cell", 2, 2, 10, 1, {-4.0f, 2, 0}},
    };
    std::vector<unsigned char> bytes = heightBytes(5, 3, [](int, int k) { return 51 * k; });
    for (const NormalCase &c : cases) {
        SCOPED_TRACE(c.what);
        Built b;
        b.terrain = terrainBuild(bytes.data(), 5, 3, c.cellSize, c.heightScale, c.step);
        ASSERT_NE(b.terrain, nullptr);
        EXPECT_EQ(b.terrain->mesh->hasNormals, 1);
        TVector3 want = o3DVectorNormalize(c.unnormalised);
        const float *n = b.terrain->mesh->normals + c.vertex * 3;
        EXPECT_NEAR(n[0], want.x, kTolerance);
        EXPECT_NEAR(n[1], want.y, kTolerance);
        EXPECT_NEAR(n[2], want.z, kTolerance);
    }
}

TEST(TerrainNormals, SlopeAlongTheRowsShowsInZ)
{
    // Heights 0.2 * row on a 3 x 5 map, step 1: the middle vertex of row 1 has up 0.0 and down 0.4.
    std::vector<unsigned char> bytes = heightBytes(3, 5, [](int r, int) { return 51 * r; });
    Built b;
    b.terrain = terrainBuild(bytes.data(), 3, 5, 1.0f, 1.0f, 1);
    ASSERT_NE(b.terrain, nullptr);
    TVector3 want = o3DVectorNormalize(o3DVector3(0, 2, -0.4f));
    const float *n = b.terrain->mesh->normals + 4 * 3;
    EXPECT_NEAR(n[0], want.x, kTolerance);
    EXPECT_NEAR(n[1], want.y, kTolerance);
    EXPECT_NEAR(n[2], want.z, kTolerance);
}

TEST(TerrainScale, MovesEveryVertexAndRecomputesNormals)
{
    std::vector<unsigned char> bytes = heightBytes(5, 3, [](int, int k) { return 51 * k; });
    Built b;
    b.terrain = terrainBuild(bytes.data(), 5, 3, 1.0f, 1.0f, 2);
    ASSERT_NE(b.terrain, nullptr);
    o3DSetTerrainScale(b.terrain, 2.0f, 10.0f);
    EXPECT_EQ(b.terrain->cellSize, 2.0f);
    EXPECT_EQ(b.terrain->heightScale, 10.0f);
    const float *last = vertexOf(b.terrain, 5);
    EXPECT_NEAR(last[0], 4.0f, kTolerance);
    EXPECT_NEAR(last[1], 8.0f, kTolerance);
    EXPECT_NEAR(last[2], 2.0f, kTolerance);
    TVector3 want = o3DVectorNormalize(o3DVector3(-4.0f, 2, 0));
    EXPECT_NEAR(b.terrain->mesh->normals[4 * 3], want.x, kTolerance);
    EXPECT_EQ(b.terrain->mesh->hasDisplayList, 0);
}

struct HeightCase {
    float x, z, expected;
};

// 3 x 3 map, cell 2, heights equal to the bytes (scale 255): samples at x, z = -2, 0, 2.
//   10 20 30
//   40 50 60
//   70 80 90
TEST(TerrainHeight, OddMapInterpolatesAndTreatsTheFarEdgeAsOutside)
{
    const unsigned char bytes[9] = {10, 20, 30, 40, 50, 60, 70, 80, 90};
    Built b;
    b.terrain = terrainBuild(bytes, 3, 3, 2.0f, 255.0f, 2);
    ASSERT_NE(b.terrain, nullptr);
    const HeightCase cases[] = {
        {0, 0, 50},       // the centre sample exactly
        {-2, -2, 10},     // the first sample
        {-1, -1, 30},     // halfway between four samples: their mean
        {1, -2, 25},      // halfway along the first row
        {0.5f, 1.5f, 75}, // rows 1 and 2 at a quarter column: 52.5 and 82.5, three quarters down
        {1.99f, 0, 59.95f}, {2, 0, 0}, // the far column is outside
        {0, 2, 0},                     // the far row too
        {-2.01f, 0, 0},     {0, -2.01f, 0}, {100, 100, 0},
        {NAN, 0, 0},        {0, NAN, 0},    {INFINITY, 0, 0},
    };
    for (const HeightCase &c : cases)
        EXPECT_NEAR(o3DGetTerrainHeight(b.terrain, c.x, c.z), c.expected, 1e-3f)
            << "at " << c.x << ", " << c.z;
}

// 4 x 4 map, cell 1, byte 40 r + 10 k, scale 25.5 (a tenth of the byte): samples at -1.5 ... 1.5,
// and inside the covered area H(x, z) = 4 (z + 1.5) + (x + 1.5).
TEST(TerrainHeight, EvenMapHasItsOriginBetweenTheFourMiddleSamples)
{
    std::vector<unsigned char> bytes =
        heightBytes(4, 4, [](int r, int k) { return 40 * r + 10 * k; });
    Built b;
    b.terrain = terrainBuild(bytes.data(), 4, 4, 1.0f, 25.5f, 2);
    ASSERT_NE(b.terrain, nullptr);
    const HeightCase cases[] = {
        {0, 0, 7.5f}, {-1.5f, -0.5f, 4}, {1.25f, -1.5f, 2.75f}, {-0.25f, 1.4f, 12.85f},
        {1.5f, 0, 0}, {0, 1.5f, 0},      {-1.6f, 0, 0},         {1.49f, 1.49f, 14.95f},
    };
    for (const HeightCase &c : cases)
        EXPECT_NEAR(o3DGetTerrainHeight(b.terrain, c.x, c.z), c.expected, 1e-3f)
            << "at " << c.x << ", " << c.z;
}

struct QueryNormalCase {
    const char *what;
    float x, z;
    TVector3 unnormalised;
};

// The same even map: the normal compares heights one unit either side.
TEST(TerrainHeight, NormalQueryUsesHeightsOneUnitEitherSide)
{
    std::vector<unsigned char> bytes =
        heightBytes(4, 4, [](int r, int k) { return 40 * r + 10 * k; });
    Built b;
    b.terrain = terrainBuild(bytes.data(), 4, 4, 1.0f, 25.5f, 2);
    ASSERT_NE(b.terrain, nullptr);
    const QueryNormalCase cases[] = {
        // H(-1, 0) = 6.5, H(1, 0) = 8.5, H(0, -1) = 3.5, H(0, 1) = 11.5
        {"inside", 0, 0, {-2, 2, -8}},
        // H(2, 0) lies outside and counts 0: H(0, 0) = 7.5
        {"beside the far edge", 1, 0, {7.5f, 2, -8}},
        {"far outside", 100, -100, {0, 2, 0}},
    };
    for (const QueryNormalCase &c : cases) {
        SCOPED_TRACE(c.what);
        TVector3 got = o3DGetTerrainNormal(b.terrain, c.x, c.z);
        TVector3 want = o3DVectorNormalize(c.unnormalised);
        EXPECT_NEAR(got.x, want.x, 1e-4f);
        EXPECT_NEAR(got.y, want.y, 1e-4f);
        EXPECT_NEAR(got.z, want.z, 1e-4f);
    }
}

TEST(TerrainHeight, OneSampleWideMapsBuildAndQueryWithoutDividingByZero)
{
    const int sizes[][2] = {{1, 1}, {1, 7}, {7, 1}};
    for (const auto &size : sizes) {
        SCOPED_TRACE(::testing::Message() << size[0] << " x " << size[1]);
        std::vector<unsigned char> bytes((size_t)size[0] * size[1], 200);
        Built b;
        b.terrain = terrainBuild(bytes.data(), size[0], size[1], 2.0f, 40.0f, 2);
        ASSERT_NE(b.terrain, nullptr);
        const TMesh *m = b.terrain->mesh;
        for (int i = 0; i < m->vertexCount * 3; ++i) {
            ASSERT_TRUE(isfinite(m->vertices[i]));
            ASSERT_TRUE(isfinite(m->normals[i]));
        }
        for (int i = 0; i < m->vertexCount * 2; ++i)
            ASSERT_TRUE(isfinite(m->texCoords[i]));
        EXPECT_EQ(o3DGetTerrainHeight(b.terrain, 0, 0), 0.0f);
        TVector3 n = o3DGetTerrainNormal(b.terrain, 0, 0);
        EXPECT_EQ(n.y, 1.0f);
    }
}

struct PixelCase {
    unsigned char b, g, r;
    unsigned char height;
};

TEST(TerrainPixels, HeightIsTheChannelMeanRoundedDown)
{
    const PixelCase cases[] = {
        {10, 20, 31, 20},     {0, 0, 0, 0}, {255, 255, 255, 255},
        {255, 255, 254, 254}, {1, 1, 0, 0}, {77, 77, 77, 77},
    };
    for (const PixelCase &c : cases) {
        const unsigned char row[4] = {c.b, c.g, c.r, 0xEE};
        unsigned char *bytes = terrainHeightBytes(row, 1, 1);
        ASSERT_NE(bytes, nullptr);
        EXPECT_EQ(bytes[0], c.height) << (int)c.b << " " << (int)c.g << " " << (int)c.r;
        free(bytes);
    }
}

TEST(TerrainPixels, RowsAreReadFromTheTopPastTheirPadding)
{
    // 3 pixels a row: 9 bytes and 3 of padding, which must not be read as pixels.
    const unsigned char rows[24] = {1, 1, 1, 2, 2, 2, 3, 3, 3, 99, 99, 99,
                                    4, 4, 4, 5, 5, 5, 6, 6, 6, 99, 99, 99};
    unsigned char *bytes = terrainHeightBytes(rows, 3, 2);
    ASSERT_NE(bytes, nullptr);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(bytes[i], i + 1);
    free(bytes);
    EXPECT_EQ(terrainHeightBytes(nullptr, 3, 2), nullptr);
    EXPECT_EQ(terrainHeightBytes(rows, 0, 2), nullptr);
}

// The platform loader's answer for the next read: a fresh buffer of padded rows, or none.
struct SeamAnswer {
    bool pixels;
    int width, height;
};
SeamAnswer gAnswer;

unsigned char *answerRead(const char *, int *width, int *height)
{
    *width = gAnswer.width;
    *height = gAnswer.height;
    return gAnswer.pixels ? (unsigned char *)calloc(64, 1) : nullptr;
}

// Refused before anything is built, so no GL is touched; the sanitizer build sees the loader's
// buffer leak if it is not freed.
TEST(TerrainFile, RefusedBitmapsGiveNullAndFreeThePixels)
{
    const SeamAnswer cases[] = {
        {false, 4, 4}, {true, 0, 4}, {true, 4, 0}, {true, -3, 4}, {true, 4, -1},
    };
    gImageSeam.readBitmap = answerRead;
    for (const SeamAnswer &c : cases) {
        gAnswer = c;
        EXPECT_EQ(o3DCreateTerrain("any.bmp", 1.0f, 1.0f), nullptr)
            << c.pixels << " " << c.width << " x " << c.height;
    }
    platformResetSeam();
}

TEST(TerrainTexture, TheRecordCountsOnlyWhileLoadedAndIsFreedWithTheTerrain)
{
    unsigned char bytes[4] = {};
    Built b;
    b.terrain = terrainBuild(bytes, 2, 2, 1.0f, 1.0f, 1);
    ASSERT_NE(b.terrain, nullptr);
    EXPECT_EQ(b.terrain->texture, nullptr);
    EXPECT_EQ(o3DHasTerrainTexture(b.terrain), 0);

    TTexture own = {};
    o3DSetTerrainTexture(b.terrain, &own);
    EXPECT_EQ(b.terrain->texture, &own);
    EXPECT_EQ(b.terrain->hasTexture, 0);
    own.loaded = 1; // loaded after attaching: not drawn until attached again
    EXPECT_EQ(o3DHasTerrainTexture(b.terrain), 0);
    o3DSetTerrainTexture(b.terrain, &own);
    EXPECT_EQ(o3DHasTerrainTexture(b.terrain), 1);
    own.loaded = 0;
    EXPECT_EQ(o3DHasTerrainTexture(b.terrain), 0);
    o3DDetachTerrainTexture(b.terrain);
    EXPECT_EQ(b.terrain->texture, nullptr);
    EXPECT_EQ(b.terrain->hasTexture, 0);

    // Owned records are freed by the terrain (the sanitizer build sees a leak otherwise).
    o3DSetTerrainTexture(b.terrain, (TTexture *)calloc(1, sizeof(TTexture)));
    o3DFreeTerrainTexture(b.terrain);
    EXPECT_EQ(b.terrain->texture, nullptr);
    o3DSetTerrainTexture(b.terrain, (TTexture *)calloc(1, sizeof(TTexture)));
    EXPECT_EQ(o3DLoadTerrainTexture(b.terrain, "no such file.bmp"), 0);
    EXPECT_EQ(b.terrain->texture, nullptr);
    EXPECT_EQ(b.terrain->hasTexture, 0);
    o3DSetTerrainTexture(b.terrain, (TTexture *)calloc(1, sizeof(TTexture)));
}

TEST(TerrainNull, EveryOperationIgnoresANullTerrain)
{
    TTexture tex = {};
    o3DFreeTerrain(nullptr);
    EXPECT_EQ(o3DLoadTerrainTexture(nullptr, "x.bmp"), 0);
    o3DSetTerrainTexture(nullptr, &tex);
    o3DDetachTerrainTexture(nullptr);
    o3DFreeTerrainTexture(nullptr);
    EXPECT_EQ(o3DHasTerrainTexture(nullptr), 0);
    o3DSetTerrainTextureRepeat(nullptr, 2, 2);
    o3DSetTerrainScale(nullptr, 2, 2);
    o3DDrawTerrain(nullptr);
    o3DDrawTerrainWireframe(nullptr);
    EXPECT_EQ(o3DGetTerrainHeight(nullptr, 0, 0), 0.0f);
    TVector3 n = o3DGetTerrainNormal(nullptr, 3, 4);
    EXPECT_EQ(n.x, 0.0f);
    EXPECT_EQ(n.y, 1.0f);
    EXPECT_EQ(n.z, 0.0f);
}

TEST(TerrainStep, IsTwoUntilSetAndNeverBelowOne)
{
    EXPECT_EQ(o3DGetTerrainStep(), 2);
    o3DSetTerrainStep(0);
    EXPECT_EQ(o3DGetTerrainStep(), 1);
    o3DSetTerrainStep(-5);
    EXPECT_EQ(o3DGetTerrainStep(), 1);
    o3DSetTerrainStep(4);
    EXPECT_EQ(o3DGetTerrainStep(), 4);
    o3DSetTerrainStep(2);
}

} // namespace
