// The terrain's tiles compiled at its first draw rather than at creation: whatever comes between
// (a new texture repeat or scale, the mesh drawn on its own, a list of the caller's being
// compiled) the frame is exactly the one of the mesh compiled whole with the same repeat and
// scale, and the tiles' contents are compiled once.
#include "world_gl_support.h"
#include "frame_compare.h"

#include "assets/terrain.h"

#include <math.h>

namespace {

const Rgb kClear = {40, 60, 90};
const int kMapSize = 65;
const float kCell = 0.25f, kHeightScale = 3.0f;
const float kRepeatU = 3.0f, kRepeatV = 5.0f;
const float kNewCell = 0.3f, kNewHeightScale = 4.0f;

std::vector<unsigned char> hills(void)
{
    std::vector<unsigned char> bytes;
    for (int r = 0; r < kMapSize; ++r)
        for (int k = 0; k < kMapSize; ++k)
            bytes.push_back((unsigned char)(127.5f + 120.0f * sinf(r * 0.17f) * cosf(k * 0.23f)));
    return bytes;
}

// From beyond a corner across the whole map, so every tile shows.
void beginView(void)
{
    beginWorldFrame({-12, 5, -12}, {1, -0.45f, 1}, {0, 1, 0}, 60, 0.1f, 100, kClear);
}

// How the terrain reaches the screen.
enum Way { kTerrain, kMesh };

void draw(TTerrain *t, Way way)
{
    if (way == kTerrain) {
        o3DDrawTerrain(t);
        return;
    }
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, t->texture->id);
    o3DDrawMesh(t->mesh);
    glDisable(GL_TEXTURE_2D);
}

class TerrainPendingGl : public ::testing::Test {
  protected:
    ScratchFolder folder;
    std::vector<TTerrain *> made;
    std::vector<uint8_t> reference;

    void SetUp() override
    {
        ASSERT_TRUE(writeBmp24(folder.file("checker.bmp"), makePicture(8, 8, [](int x, int y) {
                                   return (x + y) % 2 ? Rgb{230, 200, 40} : Rgb{30, 120, 200};
                               })));
        // The mesh compiled whole, the tiles set aside, after the repeat and scale are set.
        TTerrain *whole = create();
        ASSERT_NE(whole, nullptr);
        o3DSetTerrainTextureRepeat(whole, kRepeatU, kRepeatV);
        o3DSetTerrainScale(whole, kNewCell, kNewHeightScale);
        o3DBuildMeshList(whole->mesh);
        reference = frameOf(whole, kTerrain);
        ASSERT_EQ(terrainTilesOf(whole)->compiles, 0);
        ASSERT_GT(pixelsOtherThan(reference, kClear), 20000);
    }
    void TearDown() override
    {
        for (TTerrain *t : made)
            o3DFreeTerrain(t);
        EXPECT_EQ(terrainsPending(), 0);
        EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
    }
    TTerrain *create(void)
    {
        std::vector<unsigned char> bytes = hills();
        TTerrain *t =
            o3DCreateTerrainFromBytes(bytes.data(), kMapSize, kMapSize, kCell, kHeightScale);
        if (t) {
            made.push_back(t);
            EXPECT_EQ(o3DLoadTerrainTexture(t, folder.file("checker.bmp").c_str()), 1);
        }
        return t;
    }
    void forget(TTerrain *t)
    {
        made.erase(std::find(made.begin(), made.end(), t));
        o3DFreeTerrain(t);
    }
    std::vector<uint8_t> frameOf(TTerrain *t, Way way)
    {
        beginView();
        draw(t, way);
        return readBackRows(kWindowWidth, kWindowHeight);
    }
};

TEST_F(TerrainPendingGl, NewRepeatAndScaleBeforeTheFirstDrawGiveTheWholeMeshsPixels)
{
    struct Case {
        const char *what;
        bool compiledAtCreation; // as before: the tiles compiled before the repeat and scale
        Way way;
        int compiles;
    } cases[] = {
        {"compiled at the first draw, drawn as the terrain", false, kTerrain, 1},
        {"compiled at the first draw, drawn as its mesh", false, kMesh, 1},
        {"compiled at creation and again, drawn as the terrain", true, kTerrain, 2},
        {"compiled at creation and again, drawn as its mesh", true, kMesh, 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        TTerrain *t = create();
        ASSERT_NE(t, nullptr);
        TerrainTiles *tiles = terrainTilesOf(t);
        EXPECT_EQ(tiles->pending, 1);
        if (c.compiledAtCreation)
            terrainCompilePending(t);
        o3DSetTerrainTextureRepeat(t, kRepeatU, kRepeatV);
        o3DSetTerrainScale(t, kNewCell, kNewHeightScale);
        EXPECT_EQ(tiles->pending, 1);
        EXPECT_EQ(differingPixels(frameOf(t, c.way), reference), 0);
        EXPECT_EQ(tiles->pending, 0);
        EXPECT_EQ(tiles->compiles, c.compiles);
        // Drawn again either way, nothing more is compiled and nothing moves.
        EXPECT_EQ(differingPixels(frameOf(t, c.way == kMesh ? kTerrain : kMesh), reference), 0);
        EXPECT_EQ(tiles->compiles, c.compiles);
        forget(t);
    }
}

// Lists do not nest: drawn while the caller compiles a list, the terrain's triangles go into that
// list, which then draws the whole terrain, and the tiles wait for a draw of their own. Tiles
// already compiled are all called from the caller's list: the view it will be called with is not
// known while it is compiled.
TEST_F(TerrainPendingGl, DrawnWhileTheCallerCompilesAListItGoesIntoThatList)
{
    const struct {
        const char *what;
        Way way;
        bool compiledBefore;
    } cases[] = {{"as the terrain", kTerrain, false},
                 {"as its mesh", kMesh, false},
                 {"as the terrain, its tiles compiled before", kTerrain, true},
                 {"as its mesh, its tiles compiled before", kMesh, true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        TTerrain *t = create();
        ASSERT_NE(t, nullptr);
        o3DSetTerrainTextureRepeat(t, kRepeatU, kRepeatV);
        o3DSetTerrainScale(t, kNewCell, kNewHeightScale);
        TerrainTiles *tiles = terrainTilesOf(t);
        if (c.compiledBefore) {
            // Small tiles, so that a view taken while compiling would leave some out.
            terrainCompile(t, 4);
            terrainCompilePending(t);
        }
        const int compiled = c.compiledBefore ? 1 : 0;
        GLuint own = glGenLists(1);
        ASSERT_NE(own, 0u);
        // The view is set only for the call, so a culling draw would have left tiles out.
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glNewList(own, GL_COMPILE);
        draw(t, c.way);
        glEndList();
        EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
        EXPECT_EQ(tiles->pending, 1 - compiled);
        EXPECT_EQ(tiles->compiles, compiled);
        beginView();
        glCallList(own);
        EXPECT_EQ(differingPixels(readBackRows(kWindowWidth, kWindowHeight), reference), 0);
        glDeleteLists(own, 1);
        EXPECT_EQ(differingPixels(frameOf(t, c.way), reference), 0);
        EXPECT_EQ(tiles->pending, 0);
        EXPECT_EQ(tiles->compiles, 1);
        forget(t);
    }
}

// The tiles' contents are compiled at the first draw and when a change lays them out again,
// never otherwise; freeing a terrain takes it off the pending ones, whichever it was.
TEST_F(TerrainPendingGl, TilesAreCompiledOnceForEachLayoutAndFreedTerrainsLeaveNothingPending)
{
    TTerrain *t = create(), *other = create(), *last = create();
    ASSERT_TRUE(t && other && last);
    const int before = terrainsPending();
    TerrainTiles *tiles = terrainTilesOf(t);
    const struct {
        const char *step;
        int pending, compiles;
    } steps[] = {
        {"repeat", 1, 0},    {"scale", 1, 0},  {"draw", 0, 1},      {"draw mesh", 0, 1},
        {"draw", 0, 1},      {"repeat", 1, 1}, {"repeat", 1, 1},    {"draw mesh", 0, 2},
        {"wireframe", 0, 2}, {"scale", 1, 2},  {"wireframe", 0, 3},
    };
    for (const auto &s : steps) {
        SCOPED_TRACE(s.step);
        const std::string step = s.step;
        if (step == "repeat")
            o3DSetTerrainTextureRepeat(t, kRepeatU, kRepeatV);
        if (step == "scale")
            o3DSetTerrainScale(t, kNewCell, kNewHeightScale);
        beginView();
        if (step == "draw")
            draw(t, kTerrain);
        if (step == "draw mesh")
            draw(t, kMesh);
        if (step == "wireframe")
            o3DDrawTerrainWireframe(t);
        EXPECT_EQ(tiles->pending, s.pending);
        EXPECT_EQ(tiles->compiles, s.compiles);
        EXPECT_EQ(terrainsPending(), before - 1 + s.pending);
    }
    EXPECT_EQ(differingPixels(frameOf(t, kTerrain), reference), 0);
    // Freed from the middle and from the head of those pending, the rest still draw.
    forget(other);
    EXPECT_EQ(terrainsPending(), before - 2);
    forget(last);
    EXPECT_EQ(terrainsPending(), before - 3);
    EXPECT_EQ(differingPixels(frameOf(t, kMesh), reference), 0);
}

} // namespace
