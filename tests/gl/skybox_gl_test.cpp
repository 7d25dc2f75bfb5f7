// The skybox in a real context: loading faces in order with missing and damaged files, the colour
// seen in each direction (straight and turned), the cube's size, its corners and inset texture
// coordinates in feedback mode, the list and the face-by-face path giving the same pixels, the
// state a draw hands back, and a skybox that is not ready drawing nothing at all.
#include "world_gl_support.h"

#include <math.h>
#include <stdio.h>

#include <string>

namespace {

const Rgb kFaceColours[6] = {
    {220, 30, 30},  // front
    {30, 200, 30},  // back
    {30, 30, 220},  // left
    {220, 220, 30}, // right
    {220, 30, 220}, // top
    {30, 220, 220}, // bottom
};
const char *const kFaceNames[6] = {"front", "back", "left", "right", "top", "bottom"};
const Rgb kClear = {10, 10, 10};

class SkyboxGl : public ::testing::Test {
  protected:
    ScratchFolder folder;
    TSkybox *sky = nullptr;

    void SetUp() override
    {
        for (int face = 0; face < 6; ++face)
            ASSERT_TRUE(writeBmp24(facePath(face), solidPicture(8, 8, kFaceColours[face])));
        sky = o3DCreateSkybox(900.0f);
        ASSERT_NE(sky, nullptr);
    }
    void TearDown() override
    {
        o3DFreeSkybox(sky);
    }
    std::string facePath(int face)
    {
        return folder.file(std::string("sky_") + kFaceNames[face] + ".bmp");
    }
    std::string prefix()
    {
        return folder.file("sky_");
    }
    void loadAll()
    {
        ASSERT_EQ(o3DLoadSkybox(sky, prefix().c_str(), "bmp"), 1);
        ASSERT_EQ(o3DIsSkyboxReady(sky), 1);
    }
};

TEST_F(SkyboxGl, CreatesEmptyAndNotReady)
{
    EXPECT_EQ(sky->size, 900.0f);
    EXPECT_EQ(sky->ready, 0);
    EXPECT_EQ(sky->hasList, 0);
    EXPECT_EQ(sky->listId, 0u);
    for (int face = 0; face < 6; ++face)
        EXPECT_EQ(sky->faces[face], nullptr);
}

struct MissingCase {
    const char *what;
    std::vector<int> spoiled; // faces whose file is missing or damaged
    bool damage;              // damaged (a cut header) rather than missing
    int result;
    std::vector<int> installed;
};

// Faces load in the order front, back, left, right, top, bottom and stop at the first failure;
// the ones before it stay installed and the skybox stays not ready.
TEST_F(SkyboxGl, LoadsFacesInOrderAndStopsAtTheFirstFailure)
{
    const MissingCase cases[] = {
        {"all present", {}, false, 1, {0, 1, 2, 3, 4, 5}},
        {"left missing", {2}, false, 0, {0, 1}},
        {"front missing", {0}, false, 0, {}},
        {"bottom missing", {5}, false, 0, {0, 1, 2, 3, 4}},
        {"top and back missing", {1, 4}, false, 0, {0}},
        {"right damaged", {3}, true, 0, {0, 1, 2}},
    };
    for (const MissingCase &c : cases) {
        SCOPED_TRACE(c.what);
        for (int face = 0; face < 6; ++face)
            ASSERT_TRUE(writeBmp24(facePath(face), solidPicture(8, 8, kFaceColours[face])));
        for (int face : c.spoiled) {
            if (c.damage) {
                std::vector<uint8_t> cut = bmpBytes(solidPicture(8, 8, kFaceColours[face]), 24);
                cut.resize(40);
                ASSERT_TRUE(writeBytes(facePath(face), cut));
            } else {
                ASSERT_EQ(std::remove(facePath(face).c_str()), 0);
            }
        }
        TSkybox *fresh = o3DCreateSkybox(10.0f);
        ASSERT_NE(fresh, nullptr);
        EXPECT_EQ(o3DLoadSkybox(fresh, prefix().c_str(), "bmp"), c.result);
        EXPECT_EQ(o3DIsSkyboxReady(fresh), c.result);
        for (int face = 0; face < 6; ++face) {
            bool want =
                std::find(c.installed.begin(), c.installed.end(), face) != c.installed.end();
            EXPECT_EQ(fresh->faces[face] != nullptr, want) << kFaceNames[face];
            if (fresh->faces[face]) {
                EXPECT_EQ(fresh->faces[face]->loaded, 1);
                EXPECT_EQ(textureWrap(fresh->faces[face]->id, GL_TEXTURE_WRAP_S), GL_REPEAT);
            }
        }
        o3DFreeSkybox(fresh);
    }
}

TEST_F(SkyboxGl, ReadyOnlyOnceAllSixFacesAreLoaded)
{
    for (int face = 5; face >= 0; --face) {
        EXPECT_EQ(o3DIsSkyboxReady(sky), 0);
        ASSERT_EQ(o3DLoadSkyboxFace(sky, face, facePath(face).c_str()), 1);
    }
    EXPECT_EQ(o3DIsSkyboxReady(sky), 1);

    // A failed reload keeps the old face and the skybox stays complete.
    GLuint frontId = sky->faces[0]->id;
    EXPECT_EQ(o3DLoadSkyboxFace(sky, 0, folder.file("gone.bmp").c_str()), 0);
    EXPECT_EQ(sky->faces[0]->id, frontId);
    EXPECT_EQ(o3DIsSkyboxReady(sky), 1);

    // A successful reload replaces the face and deletes the old texture.
    ASSERT_EQ(o3DLoadSkyboxFace(sky, 0, facePath(1).c_str()), 1);
    EXPECT_FALSE(glIsTexture(frontId));
    EXPECT_EQ(o3DIsSkyboxReady(sky), 1);

    // Installing an unloaded record leaves ready as it is, and loading another face then sees
    // the gap.
    TTexture *empty = (TTexture *)calloc(1, sizeof(TTexture));
    o3DSetSkyboxFace(sky, 2, empty);
    EXPECT_EQ(sky->faces[2], empty);
    EXPECT_EQ(o3DIsSkyboxReady(sky), 1);
    ASSERT_EQ(o3DLoadSkyboxFace(sky, 3, facePath(3).c_str()), 1);
    EXPECT_EQ(o3DIsSkyboxReady(sky), 0);
}

TEST_F(SkyboxGl, RefusesBadArguments)
{
    std::string path = facePath(0);
    EXPECT_EQ(o3DLoadSkyboxFace(sky, -1, path.c_str()), 0);
    EXPECT_EQ(o3DLoadSkyboxFace(sky, 6, path.c_str()), 0);
    EXPECT_EQ(o3DLoadSkyboxFace(sky, 0, nullptr), 0);
    EXPECT_EQ(o3DLoadSkyboxFace(nullptr, 0, path.c_str()), 0);
    EXPECT_EQ(o3DLoadSkybox(sky, nullptr, "bmp"), 0);
    EXPECT_EQ(o3DLoadSkybox(sky, prefix().c_str(), nullptr), 0);
    EXPECT_EQ(o3DLoadSkyboxFaces(sky, path.c_str(), nullptr, path.c_str(), path.c_str(),
                                 path.c_str(), path.c_str()),
              0);
    EXPECT_EQ(sky->faces[1], nullptr);
    TTexture stray = {};
    o3DSetSkyboxFace(sky, 6, &stray);
    o3DSetSkyboxFace(sky, 0, nullptr);
    EXPECT_EQ(o3DIsSkyboxReady(nullptr), 0);
    o3DFreeSkybox(nullptr);
    o3DBuildSkybox(nullptr);
    o3DDrawSkybox(nullptr, nullptr);
    o3DSetSkyboxSize(nullptr, 3.0f);
}

TEST_F(SkyboxGl, FreeingDeletesEveryFaceTextureAndTheList)
{
    loadAll();
    o3DBuildSkybox(sky);
    ASSERT_EQ(sky->hasList, 1);
    GLuint list = sky->listId;
    std::vector<GLuint> ids;
    for (int face = 0; face < 6; ++face)
        ids.push_back(sky->faces[face]->id);
    o3DFreeSkybox(sky);
    sky = nullptr;
    EXPECT_FALSE(glIsList(list));
    for (GLuint id : ids)
        EXPECT_FALSE(glIsTexture(id));
}

struct DirectionCase {
    const char *what;
    TVector3 dir, up;
    float angle; // the turn of the rotated draw; NAN draws unturned
    int face;
};

const TVector3 kUp = {0, 1, 0};
const TVector3 kNorth = {0, 0, -1};

const DirectionCase kDirections[] = {
    {"+z sees the front", {0, 0, 1}, kUp, NAN, 0},
    {"-z sees the back", {0, 0, -1}, kUp, NAN, 1},
    {"-x sees the left", {-1, 0, 0}, kUp, NAN, 2},
    {"+x sees the right", {1, 0, 0}, kUp, NAN, 3},
    {"+y sees the top", {0, 1, 0}, kNorth, NAN, 4},
    {"-y sees the bottom", {0, -1, 0}, kNorth, NAN, 5},
    // Turned by 90 degrees about y: the right face moves to -z and the front to +x.
    {"turned: -z sees the right", {0, 0, -1}, kUp, 90, 3},
    {"turned: +x sees the front", {1, 0, 0}, kUp, 90, 0},
    {"turned: +y still sees the top", {0, 1, 0}, kNorth, 90, 4},
};

// The sky follows the camera: drawn at the eye, far from the origin.
const float kEye[3] = {100.0f, 5.0f, -30.0f};
const TVector3 kEyeVector = {100.0f, 5.0f, -30.0f};

void drawLooking(TSkybox *sky, const DirectionCase &c)
{
    beginWorldFrame(kEyeVector, c.dir, c.up, 90.0f, 1.0f, 2000.0f, kClear);
    if (isnan(c.angle))
        o3DDrawSkybox(sky, kEye);
    else
        o3DDrawSkyboxRotated(sky, kEye, c.angle);
}

TEST_F(SkyboxGl, EachDirectionShowsItsFaceAndTheListDrawsTheSamePixels)
{
    loadAll();
    std::vector<std::vector<uint8_t>> direct;
    for (const DirectionCase &c : kDirections) {
        SCOPED_TRACE(c.what);
        drawLooking(sky, c);
        EXPECT_TRUE(closeTo(centrePixel(), kFaceColours[c.face]));
        EXPECT_TRUE(closeTo(pixelAt(200, 150), kFaceColours[c.face]));
        direct.push_back(readBackRows(kWindowWidth, kWindowHeight));
    }
    o3DBuildSkybox(sky);
    ASSERT_EQ(sky->hasList, 1);
    ASSERT_TRUE(glIsList(sky->listId));
    for (size_t i = 0; i < std::size(kDirections); ++i) {
        SCOPED_TRACE(kDirections[i].what);
        drawLooking(sky, kDirections[i]);
        EXPECT_TRUE(readBackRows(kWindowWidth, kWindowHeight) == direct[i]);
    }
}

TEST_F(SkyboxGl, DrawingAtTheOriginCentresTheCubeThere)
{
    loadAll();
    beginWorldFrame({0, 0, 0}, {0, 0, 1}, kUp, 90.0f, 1.0f, 2000.0f, kClear);
    o3DDrawSkyboxAtOrigin(sky);
    EXPECT_TRUE(closeTo(centrePixel(), kFaceColours[0]));
    // Drawn at the origin but seen from 400 units along -z: the back face is only 50 away.
    beginWorldFrame({0, 0, -400}, {0, 0, -1}, kUp, 90.0f, 1.0f, 60.0f, kClear);
    o3DDrawSkybox(sky, nullptr);
    EXPECT_TRUE(closeTo(centrePixel(), kFaceColours[1]));
}

struct SizeCase {
    const char *what;
    float farPlane;
    bool visible;
};

// With size 900 the faces lie 450 units from the centre: a far plane short of them clips the sky.
TEST_F(SkyboxGl, FacesLieHalfTheSizeAwayAndANewSizeDrawsAtOnce)
{
    loadAll();
    o3DBuildSkybox(sky);
    const SizeCase at900[] = {{"far 449", 449.0f, false}, {"far 451", 451.0f, true}};
    for (const SizeCase &c : at900) {
        SCOPED_TRACE(c.what);
        beginWorldFrame({0, 0, 0}, {1, 0, 0}, kUp, 10.0f, 1.0f, c.farPlane, kClear);
        o3DDrawSkyboxAtOrigin(sky);
        EXPECT_TRUE(closeTo(centrePixel(), c.visible ? kFaceColours[3] : kClear));
    }
    o3DSetSkyboxSize(sky, 200.0f);
    EXPECT_EQ(sky->size, 200.0f);
    EXPECT_EQ(sky->hasList, 0);
    EXPECT_EQ(sky->listId, 0u);
    const SizeCase at200[] = {{"far 99", 99.0f, false}, {"far 101", 101.0f, true}};
    for (const SizeCase &c : at200) {
        SCOPED_TRACE(c.what);
        beginWorldFrame({0, 0, 0}, {1, 0, 0}, kUp, 10.0f, 1.0f, c.farPlane, kClear);
        o3DDrawSkyboxAtOrigin(sky);
        EXPECT_TRUE(closeTo(centrePixel(), c.visible ? kFaceColours[3] : kClear));
    }
}

// Every vertex the draw emits, read back in feedback mode under a projection that holds the whole
// cube, so no face is clipped and each corner keeps its own texture coordinate. The cube is turned
// so that no face is seen edge-on (GL drops polygons of no area), and the corners turned back.
struct FedVertex {
    float x, y, z, s, t;
};

std::vector<FedVertex> feedbackOf(TSkybox *sky, float h)
{
    std::vector<GLfloat> buffer(4096);
    glViewport(0, 0, kWindowWidth, kWindowHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-2 * h, 2 * h, -2 * h, 2 * h, -2 * h, 2 * h);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(30.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(40.0f, 0.0f, 1.0f, 0.0f);
    std::vector<float> m = glFloats(GL_MODELVIEW_MATRIX, 16);
    glFeedbackBuffer((GLsizei)buffer.size(), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    o3DDrawSkyboxAtOrigin(sky);
    GLint used = glRenderMode(GL_RENDER);
    std::vector<FedVertex> vertices;
    for (GLint i = 0; i < used;) {
        GLint token = (GLint)buffer[i++];
        if (token != GL_POLYGON_TOKEN) {
            ADD_FAILURE() << "unexpected feedback token " << token;
            break;
        }
        GLint count = (GLint)buffer[i++];
        for (GLint v = 0; v < count; ++v, i += 11) {
            // Window coordinates back to eye units: x, y over the viewport, z over the depth
            // range (the ortho's depth runs from +2h at 0 to -2h at 1); then the rotation undone.
            float ex = (buffer[i] / kWindowWidth * 2 - 1) * 2 * h;
            float ey = (buffer[i + 1] / kWindowHeight * 2 - 1) * 2 * h;
            float ez = -(buffer[i + 2] * 2 - 1) * 2 * h;
            vertices.push_back({m[0] * ex + m[1] * ey + m[2] * ez,
                                m[4] * ex + m[5] * ey + m[6] * ez,
                                m[8] * ex + m[9] * ey + m[10] * ez, buffer[i + 7], buffer[i + 8]});
        }
    }
    return vertices;
}

TEST_F(SkyboxGl, FaceCornersCarryTheInsetTextureCoordinates)
{
    const float e = 0.0009765625f, f = 0.9990234375f;
    const FedVertex expected[24] = {
        {-1, -1, 1, e, e},  {1, -1, 1, f, e},   {1, 1, 1, f, f},   {-1, 1, 1, e, f},  // front
        {1, -1, -1, e, e},  {-1, -1, -1, f, e}, {-1, 1, -1, f, f}, {1, 1, -1, e, f},  // back
        {-1, -1, -1, e, e}, {-1, -1, 1, f, e},  {-1, 1, 1, f, f},  {-1, 1, -1, e, f}, // left
        {1, -1, 1, e, e},   {1, -1, -1, f, e},  {1, 1, -1, f, f},  {1, 1, 1, e, f},   // right
        {-1, 1, 1, e, e},   {1, 1, 1, f, e},    {1, 1, -1, f, f},  {-1, 1, -1, e, f}, // top
        {-1, -1, -1, e, e}, {1, -1, -1, f, e},  {1, -1, 1, f, f},  {-1, -1, 1, e, f}, // bottom
    };
    loadAll();
    const float h = 2.0f;
    o3DSetSkyboxSize(sky, 2 * h);
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass == 0 ? "face by face" : "from the list");
        if (pass == 1)
            o3DBuildSkybox(sky);
        std::vector<FedVertex> fed = feedbackOf(sky, h);
        ASSERT_GE(fed.size(), 24u);
        std::vector<bool> seen(24, false);
        // Faces share corners, and some share a corner's texture coordinate too: a vertex marks
        // every entry it matches.
        for (const FedVertex &v : fed) {
            bool matched = false;
            for (int i = 0; i < 24; ++i) {
                const FedVertex &x = expected[i];
                if (fabsf(v.x - x.x * h) < 0.05f && fabsf(v.y - x.y * h) < 0.05f &&
                    fabsf(v.z - x.z * h) < 0.05f && fabsf(v.s - x.s) < 1e-6f &&
                    fabsf(v.t - x.t) < 1e-6f)
                    seen[i] = matched = true;
            }
            EXPECT_TRUE(matched) << "vertex (" << v.x << ", " << v.y << ", " << v.z << ") at ("
                                 << v.s << ", " << v.t << ")";
        }
        for (int i = 0; i < 24; ++i)
            EXPECT_TRUE(seen[i]) << "face " << i / 4 << " corner " << i % 4;
    }
    // Drawing leaves every face clamped to its edges.
    for (int face = 0; face < 6; ++face) {
        EXPECT_EQ(textureWrap(sky->faces[face]->id, GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
        EXPECT_EQ(textureWrap(sky->faces[face]->id, GL_TEXTURE_WRAP_T), GL_CLAMP_TO_EDGE);
    }
}

struct StateCase {
    const char *what;
    bool lighting, depthMask;
    GLenum matrixMode;
};

// Lighting, depth writes, the matrix and its mode come back as they were; texturing ends on and
// the colour white.
TEST_F(SkyboxGl, DrawingHandsBackLightingDepthWritesAndTheMatrix)
{
    loadAll();
    const StateCase cases[] = {
        {"lit, depth writes on", true, true, GL_MODELVIEW},
        {"unlit, depth writes off", false, false, GL_MODELVIEW},
        {"projection selected", true, true, GL_PROJECTION},
    };
    for (int pass = 0; pass < 2; ++pass) {
        if (pass == 1)
            o3DBuildSkybox(sky);
        for (const StateCase &c : cases) {
            SCOPED_TRACE(::testing::Message() << c.what << (pass ? ", list" : ", direct"));
            beginWorldFrame({1, 2, 3}, {0, 0, 1}, kUp, 60.0f, 1.0f, 2000.0f, kClear);
            glTranslatef(4.0f, 5.0f, 6.0f);
            c.lighting ? glEnable(GL_LIGHTING) : glDisable(GL_LIGHTING);
            glDepthMask(c.depthMask ? GL_TRUE : GL_FALSE);
            glColor3f(0.2f, 0.4f, 0.6f);
            glMatrixMode(c.matrixMode);
            HeldState before = HeldState::capture();
            o3DDrawSkyboxRotated(sky, kEye, 33.0f);
            HeldState after = HeldState::capture();
            EXPECT_EQ(after.lighting, before.lighting);
            EXPECT_EQ(after.depthMask, before.depthMask);
            EXPECT_EQ(after.matrixMode, before.matrixMode);
            EXPECT_EQ(after.modelview, before.modelview);
            EXPECT_EQ(after.projection, before.projection);
            EXPECT_TRUE(after.texturing);
            EXPECT_EQ(after.colour, (std::vector<float>{1, 1, 1, 1}));
            EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
            glMatrixMode(GL_MODELVIEW);
        }
    }
    glDisable(GL_LIGHTING);
}

// Without depth writes the sky never hides what is drawn after it, even beyond its faces.
TEST_F(SkyboxGl, TheSceneDrawnAfterwardsCoversTheSky)
{
    loadAll();
    beginWorldFrame({0, 0, 0}, {0, 0, 1}, kUp, 60.0f, 1.0f, 2000.0f, kClear);
    o3DDrawSkyboxAtOrigin(sky);
    glDisable(GL_TEXTURE_2D);
    glColor3f(1.0f, 1.0f, 1.0f);
    glBegin(GL_QUADS);
    glVertex3f(-100, -100, 1000);
    glVertex3f(100, -100, 1000);
    glVertex3f(100, 100, 1000);
    glVertex3f(-100, 100, 1000);
    glEnd();
    EXPECT_TRUE(closeTo(centrePixel(), {255, 255, 255}));
}

TEST_F(SkyboxGl, ASkyboxThatIsNotReadyDrawsNothingAndChangesNoState)
{
    for (int face = 0; face < 5; ++face)
        ASSERT_EQ(o3DLoadSkyboxFace(sky, face, facePath(face).c_str()), 1);
    ASSERT_EQ(o3DIsSkyboxReady(sky), 0);
    o3DBuildSkybox(sky);
    EXPECT_EQ(sky->hasList, 0);

    beginWorldFrame({0, 0, 0}, {0, 0, 1}, kUp, 90.0f, 1.0f, 2000.0f, kClear);
    glEnable(GL_LIGHTING);
    glColor3f(0.2f, 0.4f, 0.6f);
    glBindTexture(GL_TEXTURE_2D, 0);
    HeldState before = HeldState::capture();
    std::vector<uint8_t> frame = readBackRows(kWindowWidth, kWindowHeight);
    o3DDrawSkybox(sky, kEye);
    o3DDrawSkyboxAtOrigin(sky);
    o3DDrawSkyboxRotated(sky, nullptr, 45.0f);
    HeldState after = HeldState::capture();
    EXPECT_TRUE(readBackRows(kWindowWidth, kWindowHeight) == frame);
    EXPECT_EQ(after.lighting, before.lighting);
    EXPECT_EQ(after.texturing, before.texturing);
    EXPECT_EQ(after.depthMask, before.depthMask);
    EXPECT_EQ(after.boundTexture, before.boundTexture);
    EXPECT_EQ(after.modelview, before.modelview);
    EXPECT_EQ(after.colour, before.colour);
    glDisable(GL_LIGHTING);
}

} // namespace
