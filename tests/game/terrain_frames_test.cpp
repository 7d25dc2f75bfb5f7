// The play view of the default data with the terrain drawn in tiles against the same frames
// drawn from one list: the real scene (sky, the game's fog, the textured terrain, tree, enemy,
// gun and HUD) from fixed cameras looking every way, on and beside and outside the map, compared
// pixel for pixel.
#include "game_gl_support.h"
#include "frame_compare.h"

#include "assets/terrain.h"
#include "platform/gl_api.h"

#include <vector>

namespace {

struct View {
    const char *what;
    float x, z, aboveGround, yaw, pitch; // the eye stands aboveGround over the terrain at x, z
    float fov, drawDistance;
    int fewestDrawn, mostDrawn; // of the 8 x 8 tiles of the 256 x 256 grid
    long fewestShown;           // pixels that the terrain changes at least; 0: none at all
};

class TerrainFrames : public GameRun {
  protected:
    void SetUp() override
    {
        GameRun::SetUp();
        startPlaying();
        ASSERT_FALSE(HasFatalFailure());
        ASSERT_NE(terrainHandle, nullptr);
        ASSERT_EQ(terrainHandle->width, 512);
        ASSERT_EQ(o3DHasTerrainTexture(terrainHandle), 1);
        ASSERT_TRUE(skyboxHandle && skyboxHandle->ready);
    }
    void TearDown() override
    {
        gameShutdown();
        GameRun::TearDown();
    }
    static void placeCamera(const View &v)
    {
        const float ground = o3DGetTerrainHeight(terrainHandle, v.x, v.z);
        o3DSetCamera(&gameCamera, v.x, ground + v.aboveGround, v.z, v.yaw, v.pitch);
        o3DSetCameraFov(&gameCamera, v.fov);
        o3DSetCameraFar(&gameCamera, v.drawDistance);
    }
    static std::vector<unsigned char> frame()
    {
        gameRender();
        return backBuffer();
    }
};

TEST_F(TerrainFrames, TiledTerrainDrawsTheSingleListsFramesExactly)
{
    // The map spans x and z from -511 to 509; the spawn is at (50, 50), facing yaw 45.
    // Beyond about 72 units the fog turns the ground to the fog's colour, which still hides the
    // unfogged sky behind it.
    const View views[] = {
        {"at the spawn, as a game starts", 50, 50, 1.8f, 45, 0, 60, 1000, 8, 28, 100000},
        {"at the spawn, turned to the enemy", 50, 50, 1.8f, 225, -3, 60, 1000, 12, 36, 100000},
        {"looking down", 50, 50, 30, 45, -89.9f, 60, 1000, 1, 4, 300000},
        {"straight up", 50, 50, 1.8f, 45, 89.9f, 60, 1000, 0, 4, 0},
        {"along the west edge", -505, 0, 3, 90, -5, 60, 1000, 6, 20, 100000},
        {"along the north edge, looking out", 0, -505, 3, -120, 0, 60, 1000, 0, 6, 20000},
        {"from outside, looking in", -620, -620, 60, 45, -8, 60, 1000, 36, 63, 30000},
        {"from outside, looking away", -620, -620, 60, -135, -8, 60, 1000, 0, 0, 0},
        {"short draw distance, wide view", 50, 50, 1.8f, 160, -10, 120, 50, 2, 12, 100000},
        {"high above the middle", 0, 0, 200, 10, -25, 90, 1000, 16, 44, 100000},
    };
    TerrainTiles *tiles = terrainTilesOf(terrainHandle);
    int leftOut = 0;
    for (const View &v : views) {
        SCOPED_TRACE(v.what);
        placeCamera(v);
        // The mesh's own single list, as the terrain was drawn before it was tiled.
        o3DBuildMeshList(terrainHandle->mesh);
        const std::vector<unsigned char> single = frame();
        EXPECT_EQ(tiles->drawn, 0);
        // One tile as large as the map: the same list, called through the tiles.
        terrainCompile(terrainHandle, 1 << 20);
        EXPECT_EQ(differingPixels(single, frame()), 0) << "one tile";
        terrainCompile(terrainHandle, kTerrainTileCells);
        ASSERT_EQ(tiles->across * tiles->down, 64);
        const std::vector<unsigned char> tiled = frame();
        EXPECT_EQ(differingPixels(single, tiled), 0);
        EXPECT_GE(tiles->drawn, v.fewestDrawn);
        EXPECT_LE(tiles->drawn, v.mostDrawn);
        leftOut += tiles->drawn < 64;
        // So that the views test something: what the terrain adds to each.
        TTerrain *terrain = terrainHandle;
        terrainHandle = nullptr;
        const long shown = differingPixels(frame(), tiled);
        terrainHandle = terrain;
        if (v.fewestShown > 0) {
            EXPECT_GE(shown, v.fewestShown);
        } else {
            EXPECT_EQ(shown, 0);
        }
    }
    EXPECT_EQ(leftOut, (int)(sizeof views / sizeof views[0]));
}

} // namespace
