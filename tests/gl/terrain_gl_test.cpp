// The terrain in a real context: heightmaps read through the platform's loader (every depth it
// reads, the row order, refusals), pixels and depths seen from known cameras (texture placement
// and tiling, heights, the new scale), the list and the vertex arrays giving the same pixels, the
// texture the terrain owns, and the state drawing hands back.
#include "world_gl_support.h"

#include <math.h>
#include <stdio.h>

#include <string>

namespace {

const Rgb kClear = {10, 10, 10};
const Rgb kRed = {230, 20, 20}, kGreen = {20, 230, 20}, kBlue = {20, 20, 230},
          kWhite = {255, 255, 255};

// Looking straight down from y = 10 through an orthographic view 8/3 wide and 2 deep in world
// units: screen right is +x, screen up is -z, the centre is the origin. Depth runs linearly from
// y = 9.5 (0) to y = -10 (1).
const float kEyeHeight = 10.0f, kNear = 0.5f, kFar = 20.0f;

void beginTopDown(void)
{
    beginWorldFrame({0, kEyeHeight, 0}, {0, -1, 0}, {0, 0, -1}, 60.0f, kNear, kFar, kClear);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-4.0 / 3.0, 4.0 / 3.0, -1.0, 1.0, kNear, kFar);
    glMatrixMode(GL_MODELVIEW);
}

// The screen pixel over world point (x, z) in the top-down view.
void screenOf(float x, float z, int *px, int *py)
{
    *px = (int)floorf((x / (4.0f / 3.0f) + 1.0f) * 0.5f * kWindowWidth);
    *py = (int)floorf((z + 1.0f) * 0.5f * kWindowHeight);
}

Rgb pixelOver(float x, float z)
{
    int px, py;
    screenOf(x, z, &px, &py);
    return pixelAt(px, py);
}

float groundOver(float x, float z)
{
    int px, py;
    screenOf(x, z, &px, &py);
    float depth = 0;
    glReadPixels(px, kWindowHeight - 1 - py, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    return kEyeHeight - (kNear + depth * (kFar - kNear));
}

// Quadrants as a viewer shows the picture: red top-left, green top-right, blue bottom-left,
// white bottom-right.
Picture quadrants(void)
{
    return makePicture(2, 2, [](int x, int y) {
        return y == 0 ? (x == 0 ? kRed : kGreen) : (x == 0 ? kBlue : kWhite);
    });
}

class TerrainGl : public ::testing::Test {
  protected:
    ScratchFolder folder;
    TTerrain *terrain = nullptr;

    void TearDown() override
    {
        o3DFreeTerrain(terrain);
        o3DEnableLinearFiltering();
        o3DSetTerrainStep(2);
    }
    // A flat 9 x 9 map of cell 0.25: it covers x and z from -1 to 1.
    void makeFlat(unsigned char level, float heightScale)
    {
        std::vector<unsigned char> bytes(81, level);
        terrain = o3DCreateTerrainFromBytes(bytes.data(), 9, 9, 0.25f, heightScale);
        ASSERT_NE(terrain, nullptr);
    }
    void attachQuadrants(void)
    {
        ASSERT_TRUE(writeBmp24(folder.file("ground.bmp"), quadrants()));
        o3DDisableLinearFiltering();
        ASSERT_EQ(o3DLoadTerrainTexture(terrain, folder.file("ground.bmp").c_str()), 1);
    }
};

struct FileCase {
    const char *what;
    int bitsPerPixel;
    bool topDown;
};

// Heights come from the platform's loader at any depth it reads; row 0 is the picture's top row.
TEST_F(TerrainGl, ReadsHeightmapsOfEveryDepthTopRowFirst)
{
    Picture grey = makePicture(5, 3, [](int x, int y) {
        uint8_t level = (uint8_t)(10 * x + 50 * y);
        return Rgb{level, level, level};
    });
    const FileCase cases[] = {
        {"24-bit bottom-up", 24, false},
        {"24-bit top-down", 24, true},
        {"8-bit palette", 8, false},
        {"32-bit", 32, false},
    };
    for (const FileCase &c : cases) {
        SCOPED_TRACE(c.what);
        std::string path = folder.file("height.bmp");
        ASSERT_TRUE(writeBmp(path, grey, c.bitsPerPixel, c.topDown));
        TTerrain *t = o3DCreateTerrain(path.c_str(), 2.0f, 30.0f);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->width, 5);
        EXPECT_EQ(t->depth, 3);
        EXPECT_EQ(t->step, 2);
        for (int r = 0; r < 3; ++r)
            for (int k = 0; k < 5; ++k)
                EXPECT_FLOAT_EQ(t->heights[r * 5 + k], (10 * k + 50 * r) / 255.0f)
                    << "row " << r << " column " << k;
        EXPECT_EQ(t->mesh->hasDisplayList, 1);
        EXPECT_TRUE(glIsList(t->mesh->displayList));
        o3DFreeTerrain(t);
    }
}

TEST_F(TerrainGl, AColourPixelReadsAsTheMeanOfItsChannels)
{
    std::string path = folder.file("colour.bmp");
    ASSERT_TRUE(writeBmp24(path, solidPicture(2, 2, Rgb{31, 20, 10})));
    terrain = o3DCreateTerrain(path.c_str(), 1.0f, 255.0f);
    ASSERT_NE(terrain, nullptr);
    EXPECT_FLOAT_EQ(terrain->heights[3] * 255.0f, 20.0f);
}

TEST_F(TerrainGl, UnreadableHeightmapsGiveNull)
{
    std::vector<uint8_t> good = bmpBytes(solidPicture(4, 4, kWhite), 24);
    std::vector<uint8_t> cut(good.begin(), good.begin() + 30);
    std::vector<uint8_t> text = {'n', 'o', 't', ' ', 'a', ' ', 'b', 'm', 'p'};
    std::vector<uint8_t> empty;
    const std::pair<const char *, std::vector<uint8_t>> cases[] = {
        {"header cut short", cut}, {"text", text}, {"empty", empty}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.first);
        std::string path = folder.file("bad.bmp");
        FILE *file = fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        if (!c.second.empty())
            fwrite(c.second.data(), 1, c.second.size(), file);
        fclose(file);
        EXPECT_EQ(o3DCreateTerrain(path.c_str(), 1.0f, 1.0f), nullptr);
    }
    EXPECT_EQ(o3DCreateTerrain(folder.file("missing.bmp").c_str(), 1.0f, 1.0f), nullptr);
}

struct QuadrantCase {
    float x, z;
    Rgb colour;
};

// Texture coordinates run from (0, 0) at row 0, column 0 (smallest x and z) to (1, 1); the
// texture's row 0 is the picture's bottom row, so from above the picture shows upside down.
TEST_F(TerrainGl, TextureSpansTheTerrainAndTilesWithTheRepeat)
{
    makeFlat(0, 1.0f);
    attachQuadrants();
    ASSERT_EQ(o3DHasTerrainTexture(terrain), 1);
    const QuadrantCase once[] = {
        {-0.5f, -0.5f, kBlue}, {0.5f, -0.5f, kWhite}, {-0.5f, 0.5f, kRed},
        {0.5f, 0.5f, kGreen},  {-1.2f, 0.0f, kClear}, {1.2f, 0.3f, kClear},
    };
    beginTopDown();
    o3DDrawTerrain(terrain);
    for (const QuadrantCase &c : once)
        EXPECT_TRUE(closeTo(pixelOver(c.x, c.z), c.colour)) << "at " << c.x << ", " << c.z;

    o3DSetTerrainTextureRepeat(terrain, 2.0f, 2.0f);
    const QuadrantCase twice[] = {
        {-0.75f, -0.75f, kBlue}, {-0.25f, -0.75f, kWhite}, {-0.75f, -0.25f, kRed},
        {0.25f, 0.25f, kBlue},   {0.75f, 0.75f, kGreen},
    };
    beginTopDown();
    o3DDrawTerrain(terrain);
    for (const QuadrantCase &c : twice)
        EXPECT_TRUE(closeTo(pixelOver(c.x, c.z), c.colour)) << "at " << c.x << ", " << c.z;
}

// Depth read back under the top-down camera gives the ground's height: byte 30 k + 20 r on a
// 5 x 5 map of cell 0.5 and scale 2.55 (a hundredth of the byte) rises along both axes.
TEST_F(TerrainGl, DrawnHeightsMatchTheHeightQuery)
{
    for (int step = 1; step <= 2; ++step) {
        SCOPED_TRACE(::testing::Message() << "step " << step);
        o3DSetTerrainStep(step);
        std::vector<unsigned char> bytes;
        for (int r = 0; r < 5; ++r)
            for (int k = 0; k < 5; ++k)
                bytes.push_back((unsigned char)(30 * k + 20 * r));
        TTerrain *t = o3DCreateTerrainFromBytes(bytes.data(), 5, 5, 0.5f, 2.55f);
        ASSERT_NE(t, nullptr);
        beginTopDown();
        o3DDrawTerrain(t);
        const float points[][2] = {{-0.9f, -0.9f}, {0.0f, 0.0f}, {0.6f, -0.3f}, {-0.4f, 0.8f}};
        for (const auto &p : points) {
            float want = 0.3f * (p[0] / 0.5f + 2) + 0.2f * (p[1] / 0.5f + 2);
            EXPECT_NEAR(o3DGetTerrainHeight(t, p[0], p[1]), want, 1e-4f);
            EXPECT_NEAR(groundOver(p[0], p[1]), want, 0.03f) << "at " << p[0] << ", " << p[1];
        }
        o3DFreeTerrain(t);
    }
}

struct EyeCase {
    const char *what;
    float eyeHeight;
    Rgb above, below; // the pixels a quarter of the screen above and below the centre
};

// A flat ground at byte 128 of scale 10 (height 5.02) seen level from inside it: from above the
// ground fills the lower half, from below (the terrain is drawn without culling) the upper half.
TEST_F(TerrainGl, LevelViewShowsTheGroundAtItsHeight)
{
    makeFlat(128, 10.0f);
    const EyeCase cases[] = {
        {"standing on it", 5.5f, kClear, kRed},
        {"under it", 4.5f, kRed, kClear},
    };
    for (const EyeCase &c : cases) {
        SCOPED_TRACE(c.what);
        beginWorldFrame({0, c.eyeHeight, -0.9f}, {0, 0, 1}, {0, 1, 0}, 90.0f, 0.01f, 100.0f,
                        kClear);
        glColor3f(kRed.r / 255.0f, kRed.g / 255.0f, kRed.b / 255.0f);
        o3DDrawTerrain(terrain);
        EXPECT_TRUE(closeTo(pixelAt(kWindowWidth / 2, kWindowHeight / 4), c.above));
        EXPECT_TRUE(closeTo(pixelAt(kWindowWidth / 2, kWindowHeight * 3 / 4), c.below));
    }
}

TEST_F(TerrainGl, NewScaleMovesTheDrawnGround)
{
    makeFlat(0, 1.0f);
    beginTopDown();
    glColor3f(1, 1, 1);
    o3DDrawTerrain(terrain);
    EXPECT_TRUE(closeTo(pixelOver(-1.2f, 0.0f), kClear));
    o3DSetTerrainScale(terrain, 0.5f, 1.0f); // now x and z from -2 to 2
    beginTopDown();
    glColor3f(1, 1, 1);
    o3DDrawTerrain(terrain);
    EXPECT_TRUE(closeTo(pixelOver(-1.2f, 0.0f), kWhite));
}

TEST_F(TerrainGl, ListAndVertexArraysDrawTheSamePixels)
{
    std::vector<unsigned char> bytes;
    for (int i = 0; i < 81; ++i)
        bytes.push_back((unsigned char)((i * 37) % 256));
    terrain = o3DCreateTerrainFromBytes(bytes.data(), 9, 9, 0.25f, 3.0f);
    ASSERT_NE(terrain, nullptr);
    attachQuadrants();
    o3DSetTerrainTextureRepeat(terrain, 3.0f, 2.0f);
    beginWorldFrame({-1.5f, 4.0f, -2.0f}, {0.4f, -0.8f, 0.5f}, {0, 1, 0}, 60.0f, 0.1f, 50.0f,
                    kClear);
    o3DDrawTerrain(terrain);
    std::vector<uint8_t> fromList = readBackRows(kWindowWidth, kWindowHeight);

    terrain->mesh->hasDisplayList = 0;
    beginWorldFrame({-1.5f, 4.0f, -2.0f}, {0.4f, -0.8f, 0.5f}, {0, 1, 0}, 60.0f, 0.1f, 50.0f,
                    kClear);
    o3DDrawTerrain(terrain);
    terrain->mesh->hasDisplayList = 1;
    EXPECT_TRUE(readBackRows(kWindowWidth, kWindowHeight) == fromList);
    EXPECT_NE(std::count(fromList.begin(), fromList.end(), kClear.r), (long)fromList.size());
}

struct TexturingCase {
    const char *what;
    bool textured, texturingBefore;
};

// Texturing ends as it was; colour, lighting and the matrices are the caller's and stay.
TEST_F(TerrainGl, DrawingHandsBackTexturingAndLeavesTheRestAlone)
{
    makeFlat(0, 1.0f);
    ASSERT_TRUE(writeBmp24(folder.file("ground.bmp"), quadrants()));
    const TexturingCase cases[] = {
        {"textured, texturing off", true, false},
        {"textured, texturing on", true, true},
        {"untextured, texturing off", false, false},
        {"untextured, texturing on", false, true},
    };
    for (const TexturingCase &c : cases) {
        SCOPED_TRACE(c.what);
        if (c.textured)
            ASSERT_EQ(o3DLoadTerrainTexture(terrain, folder.file("ground.bmp").c_str()), 1);
        else
            o3DFreeTerrainTexture(terrain);
        beginTopDown();
        if (c.texturingBefore)
            glEnable(GL_TEXTURE_2D);
        glEnable(GL_LIGHTING);
        glColor3f(0.5f, 0.25f, 1.0f);
        HeldState before = HeldState::capture();
        o3DDrawTerrain(terrain);
        HeldState after = HeldState::capture();
        glDisable(GL_LIGHTING);
        EXPECT_EQ(after.texturing, before.texturing);
        EXPECT_EQ(after.lighting, before.lighting);
        EXPECT_EQ(after.colour, before.colour);
        EXPECT_EQ(after.modelview, before.modelview);
        EXPECT_EQ(after.polygonMode[0], GL_FILL);
        if (c.textured) {
            EXPECT_EQ((GLuint)after.boundTexture, terrain->texture->id);
        }
        EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
    }
}

TEST_F(TerrainGl, WireframeDrawsLinesAndRestoresThePolygonMode)
{
    makeFlat(0, 1.0f);
    attachQuadrants();
    beginTopDown();
    glColor3f(1, 1, 1);
    o3DDrawTerrain(terrain);
    std::vector<uint8_t> filled = readBackRows(kWindowWidth, kWindowHeight);

    beginTopDown();
    glColor3f(1, 1, 1);
    HeldState before = HeldState::capture();
    o3DDrawTerrainWireframe(terrain);
    HeldState after = HeldState::capture();
    EXPECT_EQ(after.polygonMode[0], before.polygonMode[0]);
    EXPECT_EQ(after.polygonMode[1], before.polygonMode[1]);
    EXPECT_EQ(after.texturing, GL_FALSE);
    std::vector<uint8_t> lines = readBackRows(kWindowWidth, kWindowHeight);
    // Untextured white lines over the cleared frame: some pixels, far fewer than the fill.
    long white = 0, covered = 0;
    for (size_t i = 0; i < lines.size(); i += 3) {
        white += lines[i] == 255 && lines[i + 1] == 255 && lines[i + 2] == 255;
        covered += filled[i] != kClear.r || filled[i + 1] != kClear.g;
    }
    EXPECT_GT(white, 100);
    EXPECT_LT(white, covered / 2);
}

TEST_F(TerrainGl, TheTerrainOwnsItsTextureAndFreesIt)
{
    makeFlat(0, 1.0f);
    attachQuadrants();
    GLuint first = terrain->texture->id;
    ASSERT_TRUE(glIsTexture(first));
    attachQuadrants(); // loading again frees the first
    EXPECT_FALSE(glIsTexture(first));
    GLuint second = terrain->texture->id;

    EXPECT_EQ(o3DLoadTerrainTexture(terrain, folder.file("missing.bmp").c_str()), 0);
    EXPECT_FALSE(glIsTexture(second));
    EXPECT_EQ(terrain->texture, nullptr);
    EXPECT_EQ(o3DHasTerrainTexture(terrain), 0);

    attachQuadrants();
    GLuint third = terrain->texture->id;
    o3DFreeTerrain(terrain);
    terrain = nullptr;
    EXPECT_FALSE(glIsTexture(third));
}

} // namespace
