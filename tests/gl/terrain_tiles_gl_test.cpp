// The terrain drawn in tiles in a real context: under every kind of view (perspective from
// inside, above, beside and outside the map, looking away and straight up, a rolled camera, a
// short far plane, an orthographic view, a mirrored and a flattened pass, wireframe) the tiles
// that are drawn give exactly the frame of one tile as large as the map (the single list of every
// triangle in the mesh's order), and the tiles outside the view are left out; the lists are made,
// recompiled, set aside for a mesh list of the mesh's own and freed with the terrain.
#include "world_gl_support.h"
#include "frame_compare.h"

#include "assets/terrain.h"

#include <math.h>

#include <string>

namespace {

const Rgb kClear = {40, 60, 90};
const int kMapSize = 65; // 33 x 33 grid vertices at step 2, 32 x 32 cells
const float kCell = 0.25f, kHeightScale = 3.0f;
const int kTileCells = 4; // 8 x 8 tiles
const int kTiles = 64;

struct ViewCase {
    const char *what;
    TVector3 eye, dir, up;
    float fov, nearPlane, farPlane;
    // Applied after the look-at: 0 none, 1 the world mirrored in x, 2 the world flattened to a
    // hundredth of its height, 3 an orthographic top-down view of one corner instead.
    int extra;
    bool wireframe;
    int fewestDrawn, mostDrawn;
};

// A perspective view with y up, near 0.1 and far 100, nothing else applied.
ViewCase plainView(TVector3 eye, TVector3 dir, float fov)
{
    return {"plain", eye, dir, {0, 1, 0}, fov, 0.1f, 100, 0, false, 0, 0};
}

// Rolling hills over the 16 x 16 units the map covers, from height 0 to 3.
std::vector<unsigned char> hills(void)
{
    std::vector<unsigned char> bytes;
    for (int r = 0; r < kMapSize; ++r)
        for (int k = 0; k < kMapSize; ++k)
            bytes.push_back((unsigned char)(127.5f + 120.0f * sinf(r * 0.21f) * cosf(k * 0.13f)));
    return bytes;
}

Picture checker(void)
{
    return makePicture(8, 8, [](int x, int y) {
        return (x + y) % 2 ? Rgb{230, 200, 40} : Rgb{30, 120, 200};
    });
}

void beginView(const ViewCase &v)
{
    beginWorldFrame(v.eye, v.dir, v.up, v.fov, v.nearPlane, v.farPlane, kClear);
    if (v.extra == 1)
        glScalef(-1.0f, 1.0f, 1.0f);
    if (v.extra == 2)
        glScalef(1.0f, 0.01f, 1.0f);
    if (v.extra == 3) {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-3.0, 1.0, -1.5, 1.5, 0.5, 20.0);
        glMatrixMode(GL_MODELVIEW);
    }
    const GLfloat fog[4] = {kClear.r / 255.0f, kClear.g / 255.0f, kClear.b / 255.0f, 1.0f};
    glEnable(GL_FOG);
    glFogi(GL_FOG_MODE, GL_EXP2);
    glFogf(GL_FOG_DENSITY, 0.08f);
    glFogfv(GL_FOG_COLOR, fog);
    glHint(GL_FOG_HINT, GL_NICEST);
}

class TerrainTilesGl : public ::testing::Test {
  protected:
    ScratchFolder folder;
    TTerrain *terrain = nullptr;

    void SetUp() override
    {
        std::vector<unsigned char> bytes = hills();
        terrain = o3DCreateTerrainFromBytes(bytes.data(), kMapSize, kMapSize, kCell, kHeightScale);
        ASSERT_NE(terrain, nullptr);
        ASSERT_TRUE(writeBmp24(folder.file("checker.bmp"), checker()));
        ASSERT_EQ(o3DLoadTerrainTexture(terrain, folder.file("checker.bmp").c_str()), 1);
        o3DSetTerrainTextureRepeat(terrain, 4.0f, 4.0f);
    }
    void TearDown() override
    {
        o3DFreeTerrain(terrain);
        glDisable(GL_FOG);
    }
    // One frame of the terrain under the view, textured and fogged.
    std::vector<uint8_t> frameOf(const ViewCase &v)
    {
        beginView(v);
        if (v.wireframe)
            o3DDrawTerrainWireframe(terrain);
        else
            o3DDrawTerrain(terrain);
        glDisable(GL_FOG);
        return readBackRows(kWindowWidth, kWindowHeight);
    }
};

TEST_F(TerrainTilesGl, TilesDrawExactlyTheSingleListsPixelsAndLeaveOutWhatIsUnseen)
{
    const TVector3 up = {0, 1, 0}, north = {0, 0, -1};
    // The counts of tiles drawn are those that meet the view give or take a few at its edges.
    const ViewCase cases[] = {
        {"across from a corner", {-9, 4, -9}, {1, -0.4f, 1}, up, 60, 0.1f, 100, 0, false, 56, 64},
        {"down from above, part of the map",
         {2, 6, 2},
         {0, -1, 0},
         north,
         60,
         0.1f,
         100,
         0,
         false,
         12,
         30},
        {"along the west edge", {-8, 3, 10}, {0, -0.25f, -1}, up, 50, 0.1f, 100, 0, false, 20, 44},
        {"from outside, looking in",
         {0, 5, 20},
         {0, -0.3f, -1},
         up,
         45,
         0.1f,
         100,
         0,
         false,
         48,
         64},
        {"from outside, looking away",
         {0, 5, 20},
         {0, -0.3f, 1},
         up,
         45,
         0.1f,
         100,
         0,
         false,
         0,
         0},
        {"straight up from above the hills",
         {1, 4, 1},
         {0, 1, 0},
         north,
         60,
         0.1f,
         100,
         0,
         false,
         0,
         0},
        {"low in a valley, the near plane cutting hills",
         {0.3f, 1.2f, 0.2f},
         {0.2f, 0, -1},
         up,
         70,
         0.5f,
         100,
         0,
         false,
         12,
         36},
        {"rolled", {-6, 3, 6}, {0.7f, -0.3f, -0.7f}, {0.5f, 1, 0}, 60, 0.1f, 100, 0, false, 36, 60},
        {"short far plane", {-9, 4, -9}, {1, -0.4f, 1}, up, 60, 0.1f, 9, 0, false, 12, 32},
        {"mirrored", {-9, 4, -9}, {1, -0.4f, 0.3f}, up, 60, 0.1f, 100, 1, false, 36, 60},
        {"flattened", {-9, 1, -9}, {1, -0.05f, 1}, up, 40, 0.1f, 100, 2, false, 40, 62},
        {"orthographic, one corner",
         {-5, 10, -5},
         {0, -1, 0},
         north,
         60,
         0.5f,
         20,
         3,
         false,
         4,
         16},
        {"wireframe across", {-9, 4, -9}, {1, -0.4f, 1}, up, 60, 0.1f, 100, 0, true, 56, 64},
    };
    TerrainTiles *tiles = terrainTilesOf(terrain);
    int leftOutSomewhere = 0;
    for (const ViewCase &v : cases) {
        SCOPED_TRACE(v.what);
        // A tile as large as the map is the single list of every triangle in the mesh's order.
        terrainCompile(terrain, 1000);
        const std::vector<uint8_t> whole = frameOf(v);
        EXPECT_EQ(tiles->drawn, v.mostDrawn > 0 ? 1 : 0);
        terrainCompile(terrain, kTileCells);
        ASSERT_EQ(tiles->across * tiles->down, kTiles);
        const std::vector<uint8_t> tiled = frameOf(v);
        EXPECT_EQ(differingPixels(whole, tiled), 0);
        EXPECT_GE(tiles->drawn, v.fewestDrawn);
        EXPECT_LE(tiles->drawn, v.mostDrawn);
        leftOutSomewhere += tiles->drawn < kTiles;
        if (v.mostDrawn > 0) {
            EXPECT_GT(pixelsOtherThan(tiled, kClear), 2000);
        } else {
            EXPECT_EQ(pixelsOtherThan(tiled, kClear), 0);
        }
    }
    EXPECT_GE(leftOutSomewhere, 10);
}

// The lists: one per tile, called in order by the mesh's own list, so drawing the mesh alone still
// draws the whole terrain; compiled again with the new texture repeat and scale; set aside when
// the mesh is compiled again on its own; deleted with the terrain.
TEST_F(TerrainTilesGl, TileListsAreCalledByTheMeshListAndLiveAsLongAsTheTerrain)
{
    const ViewCase across = plainView({-9, 4, -9}, {1, -0.4f, 1}, 60);
    TerrainTiles *tiles = terrainTilesOf(terrain);
    const int count = tiles->across * tiles->down;
    ASSERT_GT(count, 0);
    for (int k = 0; k < count; ++k)
        EXPECT_TRUE(glIsList(tiles->firstList + k)) << "tile " << k;
    EXPECT_EQ(terrain->mesh->displayList, tiles->callList);
    EXPECT_TRUE(glIsList(terrain->mesh->displayList));

    // A new repeat and a new scale are compiled into the tiles, whose boxes follow the ground.
    o3DSetTerrainTextureRepeat(terrain, 2.0f, 3.0f);
    o3DSetTerrainScale(terrain, 0.4f, 5.0f);
    EXPECT_EQ(terrain->mesh->displayList, tiles->callList);
    EXPECT_FLOAT_EQ(tiles->tiles[count - 1].hi[0], 64 * 0.4f * 0.5f);
    const ViewCase farCorner = plainView({9, 6, 9}, {1, -1, 1}, 50);
    std::vector<uint8_t> tiled[2] = {frameOf(across), frameOf(farCorner)};
    EXPECT_GT(tiles->drawn, 0);
    // The mesh compiled the mesh's own way draws as any mesh does: its one list, whole.
    o3DBuildMeshList(terrain->mesh);
    EXPECT_EQ(differingPixels(frameOf(across), tiled[0]), 0);
    EXPECT_EQ(tiles->drawn, 0);
    EXPECT_EQ(differingPixels(frameOf(farCorner), tiled[1]), 0);
    EXPECT_NE(std::count(tiled[1].begin(), tiled[1].end(), kClear.r), (long)tiled[1].size());

    // The mesh's list alone draws every tile.
    terrainCompile(terrain, kTileCells);
    beginView(across);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, terrain->texture->id);
    o3DDrawMesh(terrain->mesh);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_FOG);
    EXPECT_EQ(differingPixels(readBackRows(kWindowWidth, kWindowHeight), tiled[0]), 0);

    const GLuint first = tiles->firstList, call = tiles->callList;
    o3DFreeTerrain(terrain);
    terrain = nullptr;
    for (int k = 0; k < count; ++k)
        EXPECT_FALSE(glIsList(first + k)) << "tile " << k;
    EXPECT_FALSE(glIsList(call));
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
}

} // namespace
