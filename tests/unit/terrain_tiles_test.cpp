// The terrain's drawing tiles without a display: how the grid is cut (every cell in exactly one
// tile, smaller tiles at the far edges, the box round each tile's vertices with their real
// heights) and the frustum test that leaves tiles out (against boxes placed by hand and against
// points sampled inside random boxes under random cameras, mirrored ones among them).
#include "assets/terrain.h"

#include <gtest/gtest.h>

#include <math.h>

#include <vector>

namespace {

struct Built {
    TTerrain *terrain = nullptr;
    ~Built()
    {
        o3DFreeTerrain(terrain);
    }
};

struct LayoutCase {
    int width, depth, step, cells;
    int across, down;
};

// Every cell of the grid lies in exactly one tile, and each tile's box is the smallest round the
// vertices of its cells' corners: their placement and heights worked out here from the samples.
TEST(TerrainTiles, CoverEveryCellOnceWithTheBoxOfTheirVertices)
{
    const LayoutCase cases[] = {
        {512, 512, 2, 16, 16, 16}, // 255 cells a side: the last tiles have 15
        {9, 9, 2, 3, 2, 2},        {9, 9, 2, 4, 1, 1},
        {9, 9, 2, 1000, 1, 1},     {9, 9, 1, 0, 8, 8}, // below 1 counts as 1
        {11, 5, 2, 2, 3, 1},       {5, 4, 2, 1, 2, 1},
        {1, 6, 2, 4, 0, 0}, // no cells across: no tiles at all
    };
    for (const LayoutCase &c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.width << " x " << c.depth << " step " << c.step << " cells " << c.cells);
        std::vector<unsigned char> bytes;
        for (int r = 0; r < c.depth; ++r)
            for (int k = 0; k < c.width; ++k)
                bytes.push_back((unsigned char)((r * 37 + k * 91 + r * k) % 256));
        const float cellSize = 1.5f, heightScale = 20.0f;
        Built b;
        b.terrain = terrainBuild(bytes.data(), c.width, c.depth, cellSize, heightScale, c.step);
        ASSERT_NE(b.terrain, nullptr);
        ASSERT_EQ(terrainLayoutTiles(b.terrain, c.cells), 1);
        const TerrainTiles *tiles = terrainTilesOf(b.terrain);
        EXPECT_EQ(tiles->across, c.across);
        EXPECT_EQ(tiles->down, c.down);
        const int cellsAcross = (c.width - 1) / c.step, cellsDown = (c.depth - 1) / c.step;
        std::vector<int> covered((size_t)cellsAcross * cellsDown, 0);
        const float halfW = (c.width - 1) * cellSize * 0.5f,
                    halfD = (c.depth - 1) * cellSize * 0.5f;
        for (int n = 0; n < tiles->across * tiles->down; ++n) {
            const TerrainTile &tile = tiles->tiles[n];
            SCOPED_TRACE(::testing::Message() << "tile " << n);
            EXPECT_GE(tile.rows, 1);
            EXPECT_GE(tile.columns, 1);
            float lo[3] = {INFINITY, INFINITY, INFINITY}, hi[3] = {-INFINITY, -INFINITY, -INFINITY};
            for (int i = tile.firstRow; i < tile.firstRow + tile.rows; ++i)
                for (int j = tile.firstColumn; j < tile.firstColumn + tile.columns; ++j) {
                    ASSERT_TRUE(i < cellsDown && j < cellsAcross);
                    ++covered[(size_t)i * cellsAcross + j];
                }
            for (int i = tile.firstRow; i <= tile.firstRow + tile.rows; ++i)
                for (int j = tile.firstColumn; j <= tile.firstColumn + tile.columns; ++j) {
                    const int r = i * c.step, k = j * c.step;
                    const float p[3] = {k * cellSize - halfW,
                                        bytes[(size_t)r * c.width + k] / 255.0f * heightScale,
                                        r * cellSize - halfD};
                    for (int a = 0; a < 3; ++a) {
                        lo[a] = fminf(lo[a], p[a]);
                        hi[a] = fmaxf(hi[a], p[a]);
                    }
                }
            for (int a = 0; a < 3; ++a) {
                EXPECT_FLOAT_EQ(tile.lo[a], lo[a]) << "axis " << a;
                EXPECT_FLOAT_EQ(tile.hi[a], hi[a]) << "axis " << a;
            }
        }
        for (size_t i = 0; i < covered.size(); ++i)
            EXPECT_EQ(covered[i], 1) << "cell " << i;
    }
}

// A tile's box comes from the indices it draws: one left pointing past the vertices is skipped
// as drawing skips it, a tile with nothing left has an empty box, and a coordinate that is not a
// number makes the box endless.
TEST(TerrainTiles, BoxesFollowTheIndicesThatAreDrawn)
{
    std::vector<unsigned char> bytes(9, 0);
    bytes[8] = 255; // the far corner, at height 10
    Built b;
    b.terrain = terrainBuild(bytes.data(), 3, 3, 1.0f, 10.0f, 1);
    ASSERT_NE(b.terrain, nullptr);
    TMesh *mesh = b.terrain->mesh;
    ASSERT_EQ(terrainLayoutTiles(b.terrain, 1), 1);
    EXPECT_FLOAT_EQ(terrainTilesOf(b.terrain)->tiles[3].hi[1], 10.0f);
    // Cell (1, 1) is the last tile, drawn from indices 18..23.
    for (int q = 18; q < 24; ++q)
        mesh->indices[q] = mesh->indices[q] == 8 ? 99u : mesh->indices[q];
    ASSERT_EQ(terrainLayoutTiles(b.terrain, 1), 1);
    EXPECT_FLOAT_EQ(terrainTilesOf(b.terrain)->tiles[3].hi[1], 0.0f);
    for (int q = 18; q < 24; ++q)
        mesh->indices[q] = 99u;
    ASSERT_EQ(terrainLayoutTiles(b.terrain, 1), 1);
    const TerrainTile &empty = terrainTilesOf(b.terrain)->tiles[3];
    EXPECT_GT(empty.lo[0], empty.hi[0]);
    // A height that is not a number makes the box endless, so the tile is never left out.
    mesh->vertices[1] = NAN;
    ASSERT_EQ(terrainLayoutTiles(b.terrain, 1), 1);
    const TerrainTile &endless = terrainTilesOf(b.terrain)->tiles[0];
    for (int a = 0; a < 3; ++a) {
        EXPECT_EQ(endless.lo[a], -INFINITY) << "axis " << a;
        EXPECT_EQ(endless.hi[a], INFINITY) << "axis " << a;
    }
    EXPECT_FLOAT_EQ(terrainTilesOf(b.terrain)->tiles[1].hi[0], 1.0f);
}

// Column-major matrices as GL keeps them.
struct Matrix {
    float m[16];
};

Matrix identity()
{
    Matrix r = {};
    r.m[0] = r.m[5] = r.m[10] = r.m[15] = 1.0f;
    return r;
}

Matrix multiply(const Matrix &a, const Matrix &b)
{
    Matrix r = {};
    for (int c = 0; c < 4; ++c)
        for (int row = 0; row < 4; ++row)
            for (int k = 0; k < 4; ++k)
                r.m[c * 4 + row] += a.m[k * 4 + row] * b.m[c * 4 + k];
    return r;
}

Matrix perspective(float fovDegrees, float aspect, float nearPlane, float farPlane)
{
    const float f = 1.0f / tanf(fovDegrees * 3.1415927f / 360.0f);
    Matrix r = {};
    r.m[0] = f / aspect;
    r.m[5] = f;
    r.m[10] = (farPlane + nearPlane) / (nearPlane - farPlane);
    r.m[11] = -1.0f;
    r.m[14] = 2.0f * farPlane * nearPlane / (nearPlane - farPlane);
    return r;
}

Matrix ortho(float l, float r, float b, float t, float n, float f)
{
    Matrix m = identity();
    m.m[0] = 2.0f / (r - l);
    m.m[5] = 2.0f / (t - b);
    m.m[10] = -2.0f / (f - n);
    m.m[12] = -(r + l) / (r - l);
    m.m[13] = -(t + b) / (t - b);
    m.m[14] = -(f + n) / (f - n);
    return m;
}

// A camera at the eye turned by yaw about y (0 looks along -z, 90 along -x) and then by pitch
// (positive up), as the inverse rotation and translation.
Matrix view(float yawDegrees, float pitchDegrees, const float eye[3])
{
    const float y = yawDegrees * 3.1415927f / 180.0f, p = pitchDegrees * 3.1415927f / 180.0f;
    Matrix yaw = identity(), pitch = identity(), move = identity();
    yaw.m[0] = cosf(y);
    yaw.m[8] = -sinf(y);
    yaw.m[2] = sinf(y);
    yaw.m[10] = cosf(y);
    pitch.m[5] = cosf(p);
    pitch.m[9] = sinf(p);
    pitch.m[6] = -sinf(p);
    pitch.m[10] = cosf(p);
    move.m[12] = -eye[0];
    move.m[13] = -eye[1];
    move.m[14] = -eye[2];
    return multiply(pitch, multiply(yaw, move));
}

Matrix scaled(float x, float y, float z)
{
    Matrix r = identity();
    r.m[0] = x;
    r.m[5] = y;
    r.m[10] = z;
    return r;
}

struct BoxCase {
    const char *what;
    Matrix projection, modelview;
    float lo[3], hi[3];
    int outside;
};

const float kOrigin[3] = {0, 0, 0};

TEST(TerrainFrustum, LeavesOutOnlyBoxesWhollyOutsideOnePlane)
{
    const Matrix persp = perspective(60.0f, 4.0f / 3.0f, 1.0f, 100.0f);
    const Matrix look = identity();                   // at the origin along -z
    const Matrix turned = view(90.0f, 0.0f, kOrigin); // along -x
    // Turned 30 degrees left, over a world mirrored in x: it sees what lies 30 degrees right.
    const Matrix mirrored = multiply(view(30.0f, 0.0f, kOrigin), scaled(-1, 1, 1));
    const Matrix flattened = multiply(look, scaled(1, 0.01f, 1)); // a shadow squashed flat
    const Matrix box = ortho(-2, 2, -1, 1, 1, 10);
    // The 60 degree view's side planes stand at x = +-7.70 and y = +-5.77 where z = -10, and at
    // x = +-6.93 and y = +-5.20 where z = -9.
    const BoxCase cases[] = {
        {"ahead", persp, look, {-1, -1, -20}, {1, 1, -10}, 0},
        {"behind the eye", persp, look, {-1, -1, 5}, {1, 1, 10}, 1},
        {"between the eye and the near plane", persp, look, {-1, -1, -0.9f}, {1, 1, -0.1f}, 1},
        {"across the near plane", persp, look, {-1, -1, -2}, {1, 1, 2}, 0},
        {"beyond the far plane", persp, look, {-1, -1, -130}, {1, 1, -101}, 1},
        {"across the far plane", persp, look, {-1, -1, -130}, {1, 1, -99}, 0},
        {"left of the view", persp, look, {-20, -1, -10}, {-8, 1, -9}, 1},
        {"reaching into the left side", persp, look, {-20, -1, -10}, {-7.5f, 1, -9}, 0},
        {"right of the view", persp, look, {8, -1, -10}, {20, 1, -9}, 1},
        {"above the view", persp, look, {-1, 6, -10}, {1, 9, -9}, 1},
        {"round the whole view", persp, look, {-500, -500, -500}, {500, 500, 500}, 0},
        {"the eye inside it", persp, look, {-1, -1, -1}, {1, 1, 1}, 0},
        {"flat and ahead", persp, look, {-5, 0, -50}, {5, 0, -40}, 0},
        {"ahead when turned", persp, turned, {-20, -1, -1}, {-10, 1, 1}, 0},
        {"where the unturned view looked", persp, turned, {-1, -1, -20}, {1, 1, -10}, 1},
        {"left, where the unmirrored view looks", persp, mirrored, {-11, -1, -18}, {-9, 1, -16}, 1},
        {"right, its mirror image", persp, mirrored, {9, -1, -18}, {11, 1, -16}, 0},
        {"high above, squashed into view", persp, flattened, {-1, 200, -10}, {1, 300, -9}, 0},
        {"far below, squashed still below", persp, flattened, {-1, -900, -10}, {1, -700, -9}, 1},
        {"inside the box view", box, look, {-1, -0.5f, -5}, {1, 0.5f, -4}, 0},
        {"right of the box view", box, look, {2.5f, -0.5f, -5}, {3, 0.5f, -4}, 1},
        {"before the box view's near plane", box, look, {-1, -0.5f, -0.9f}, {1, 0.5f, 0.5f}, 1},
    };
    for (const BoxCase &c : cases) {
        TerrainFrustum f;
        terrainFrustumOf(c.projection.m, c.modelview.m, &f);
        EXPECT_EQ(terrainBoxOutside(&f, c.lo, c.hi), c.outside) << c.what;
    }
}

// A box lying on a side plane, touching the view along it, is drawn; one a hair further out is
// within GL's rounding and is drawn too; clearly beyond, it is left out.
TEST(TerrainFrustum, BoxesAtTheEdgeAreDrawn)
{
    const Matrix projection = ortho(-2, 2, -1, 1, 1, 10), modelview = identity();
    TerrainFrustum f;
    terrainFrustumOf(projection.m, modelview.m, &f);
    const float edges[][2] = {{2.0f, 0}, {2.000001f, 0}, {2.01f, 1}};
    for (const auto &e : edges) {
        const float lo[3] = {e[0], -0.5f, -5}, hi[3] = {e[0] + 1, 0.5f, -4};
        EXPECT_EQ(terrainBoxOutside(&f, lo, hi), (int)e[1]) << "from x " << e[0];
    }
}

// A box reaching to infinity, and a view whose w row is not a number: nothing can be said, so
// nothing is left out.
TEST(TerrainFrustum, NotANumberNeverLeavesABoxOut)
{
    const Matrix persp = perspective(60.0f, 4.0f / 3.0f, 1.0f, 100.0f), look = identity();
    const float lo[3] = {-1, -1, 5}, hi[3] = {1, 1, 10}; // behind the eye
    TerrainFrustum f;
    terrainFrustumOf(persp.m, look.m, &f);
    ASSERT_EQ(terrainBoxOutside(&f, lo, hi), 1);
    // What a tile with a vertex whose height is not a number gets.
    const float tallLo[3] = {-1, -INFINITY, 5}, tallHi[3] = {1, INFINITY, 10};
    EXPECT_EQ(terrainBoxOutside(&f, tallLo, tallHi), 0);
    const float minusInfinite[3] = {-INFINITY, -INFINITY, -INFINITY};
    const float infinite[3] = {INFINITY, INFINITY, INFINITY};
    EXPECT_EQ(terrainBoxOutside(&f, minusInfinite, infinite), 0);
    Matrix broken = look;
    broken.m[14] = NAN; // the eye's distance, which every plane uses
    terrainFrustumOf(persp.m, broken.m, &f);
    EXPECT_EQ(terrainBoxOutside(&f, lo, hi), 0);
}

// Clip coordinates of a point.
void toClip(const Matrix &clip, const float p[3], float c[4])
{
    for (int r = 0; r < 4; ++r)
        c[r] = clip.m[r] * p[0] + clip.m[4 + r] * p[1] + clip.m[8 + r] * p[2] + clip.m[12 + r];
}

// The clip volume as GL defines it: -w <= x, y, z <= w.
bool insideClip(const float c[4])
{
    for (int a = 0; a < 3; ++a)
        if (!(c[a] <= c[3] && c[a] >= -c[3]))
            return false;
    return true;
}

// How far the point lies beyond each of the seven planes (negative: on the inside), in units of
// the sizes involved.
void beyondPlanes(const float c[4], float beyond[7])
{
    for (int a = 0; a < 3; ++a) {
        const float size = fabsf(c[a]) + fabsf(c[3]) + 1e-6f;
        beyond[2 * a] = (c[a] - c[3]) / size;
        beyond[2 * a + 1] = (-c[3] - c[a]) / size;
    }
    beyond[6] = -c[3] / (fabsf(c[3]) + 1e-6f);
}

// Random boxes under random cameras, mirrored and orthographic ones among them: no point of a box
// left out lies in the view, and a box whose corners all lie clearly beyond one plane is left out.
TEST(TerrainFrustum, AgreesWithPointsSampledInRandomBoxes)
{
    uint32_t seed = 2024u;
    auto next = [&seed](float lo, float hi) {
        seed = seed * 214013u + 2531011u;
        return lo + (hi - lo) * (float)((seed >> 16) & 0x7FFF) / 32767.0f;
    };
    int leftOut = 0, kept = 0;
    for (int n = 0; n < 3000; ++n) {
        SCOPED_TRACE(::testing::Message() << "case " << n);
        const float eye[3] = {next(-50, 50), next(0, 30), next(-50, 50)};
        Matrix modelview = view(next(-180, 180), next(-89, 89), eye);
        if (n % 3 == 0)
            modelview = multiply(modelview, scaled(-1, 1, 1));
        const Matrix projection =
            n % 5 == 0 ? ortho(-40, 40, -30, 30, 0.1f, 200)
                       : perspective(next(30, 100), 4.0f / 3.0f, 0.1f, next(20, 300));
        float lo[3], hi[3];
        for (int a = 0; a < 3; ++a) {
            lo[a] = next(-120, 120);
            hi[a] = lo[a] + next(0, 40);
        }
        TerrainFrustum f;
        terrainFrustumOf(projection.m, modelview.m, &f);
        const int outside = terrainBoxOutside(&f, lo, hi);
        const Matrix clip = multiply(projection, modelview);
        bool anyInside = false;
        for (int i = 0; i <= 4; ++i)
            for (int j = 0; j <= 4; ++j)
                for (int k = 0; k <= 4; ++k) {
                    const float p[3] = {lo[0] + (hi[0] - lo[0]) * i / 4,
                                        lo[1] + (hi[1] - lo[1]) * j / 4,
                                        lo[2] + (hi[2] - lo[2]) * k / 4};
                    float c[4];
                    toClip(clip, p, c);
                    anyInside = anyInside || insideClip(c);
                }
        float nearest[7] = {INFINITY, INFINITY, INFINITY, INFINITY, INFINITY, INFINITY, INFINITY};
        for (int corner = 0; corner < 8; ++corner) {
            const float p[3] = {corner & 1 ? hi[0] : lo[0], corner & 2 ? hi[1] : lo[1],
                                corner & 4 ? hi[2] : lo[2]};
            float c[4], beyond[7];
            toClip(clip, p, c);
            beyondPlanes(c, beyond);
            for (int i = 0; i < 7; ++i)
                nearest[i] = fminf(nearest[i], beyond[i]);
        }
        bool clearlyBeyondOne = false;
        for (float b : nearest)
            clearlyBeyondOne = clearlyBeyondOne || b > 1e-3f;
        ASSERT_FALSE(outside && anyInside);
        if (clearlyBeyondOne) {
            ASSERT_EQ(outside, 1);
        }
        leftOut += outside;
        kept += !outside && anyInside;
    }
    // Both kinds turn up often enough for the checks to mean something.
    EXPECT_GT(leftOut, 500);
    EXPECT_GT(kept, 300);
}

} // namespace
