// Meshes and primitives on a real context: both mesh paths drawing the same pixels (also with
// indices past the vertices), blended drawing and the state it leaves, and the primitives'
// geometry counted in GL feedback mode.
#include "foundation_gl.h"

#include <stdint.h>

namespace {

::testing::AssertionResult near4(const std::vector<float> &seen, const std::vector<float> &expected)
{
    for (size_t i = 0; i < expected.size(); ++i)
        if (i >= seen.size() || fabsf(seen[i] - expected[i]) > 1e-3f)
            return ::testing::AssertionFailure()
                   << "value " << i << " differs from " << expected[i];
    return ::testing::AssertionSuccess();
}

// Coloured feedback: each vertex is x, y, z in window coordinates, then RGBA.
const int kFeedbackVertexFloats = 7;

struct Feedback {
    int points = 0, lines = 0;
    int triangles = 0; // polygons as triangle counts, so a quad counts 2 whether split or not
    std::vector<std::vector<float>> lineColours; // the first vertex's RGBA of each line
};

Feedback parseFeedback(const std::vector<GLfloat> &buffer, int used)
{
    Feedback fb;
    int i = 0;
    while (i < used) {
        int token = (int)buffer[(size_t)i++];
        switch (token) {
        case GL_POINT_TOKEN:
        case GL_BITMAP_TOKEN:
        case GL_DRAW_PIXEL_TOKEN:
        case GL_COPY_PIXEL_TOKEN:
            fb.points += token == GL_POINT_TOKEN;
            i += kFeedbackVertexFloats;
            break;
        case GL_LINE_TOKEN:
        case GL_LINE_RESET_TOKEN:
            fb.lines++;
            fb.lineColours.push_back(
                std::vector<float>(buffer.begin() + i + 3, buffer.begin() + i + 7));
            i += 2 * kFeedbackVertexFloats;
            break;
        case GL_POLYGON_TOKEN: {
            int n = (int)buffer[(size_t)i++];
            fb.triangles += n - 2;
            i += n * kFeedbackVertexFloats;
            break;
        }
        case GL_PASS_THROUGH_TOKEN:
            i += 1;
            break;
        default:
            ADD_FAILURE() << "unknown feedback token " << token;
            return fb;
        }
    }
    return fb;
}

// Runs `draw` in feedback mode and returns what reached the rasteriser.
template <typename Draw> Feedback feedbackOf(Draw draw)
{
    std::vector<GLfloat> buffer(1 << 18);
    glFeedbackBuffer((GLsizei)buffer.size(), GL_3D_COLOR, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    int used = glRenderMode(GL_RENDER);
    EXPECT_GE(used, 0) << "feedback buffer overflow";
    return parseFeedback(buffer, used);
}

// A unit quad of two triangles in the xy plane, wound counter-clockwise towards +z.
TMesh *makeQuad(float half)
{
    TMesh *mesh = o3DCreateMesh(4, 6);
    o3DSetMeshVertex(mesh, 0, -half, -half, 0);
    o3DSetMeshVertex(mesh, 1, half, -half, 0);
    o3DSetMeshVertex(mesh, 2, half, half, 0);
    o3DSetMeshVertex(mesh, 3, -half, half, 0);
    const uint32_t indices[] = {0, 1, 2, 0, 2, 3};
    for (int i = 0; i < 6; ++i)
        o3DSetMeshIndex(mesh, i, indices[i]);
    return mesh;
}

// Orthographic units of 100 pixels with the origin at the window's centre, looking along -z,
// tilted so planes in y = 0 and the torus show area; everything unlit, untextured, unblended.
class MeshGl : public ::testing::Test {
  protected:
    void SetUp() override
    {
        glViewport(0, 0, kWindowWidth, kWindowHeight);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-4, 4, -3, 3, -20, 20);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_BLEND);
        glDisable(GL_CULL_FACE);
        o3DDisableLighting();
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glColor4f(1, 1, 1, 1);
    }
    void tilt(void)
    {
        glRotatef(30, 1, 0, 0);
        glRotatef(20, 0, 1, 0);
    }
};

// Draws the mesh from its arrays, then from a freshly built list, on cleared frames.
void drawBothPaths(TMesh *mesh, Frame *arrays, Frame *list)
{
    glClear(GL_COLOR_BUFFER_BIT);
    o3DDrawMesh(mesh);
    *arrays = readFrame();
    o3DBuildMeshList(mesh);
    ASSERT_EQ(mesh->hasDisplayList, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    o3DDrawMesh(mesh);
    *list = readFrame();
}

TEST_F(MeshGl, ListAndArrayPathsDrawTheSamePixels)
{
    struct Case {
        const char *name;
        int vertexCount;
        std::vector<uint32_t> indices;
        int expectedWhite; // 100 x 100 pixels per unit square
    } cases[] = {
        {"quad", 4, {0, 1, 2, 0, 2, 3}, 200 * 200},
        {"index equal to the vertex count left out", 4, {0, 1, 2, 4, 0, 2, 3}, 200 * 200},
        {"far index left out", 4, {0, 1, 0xFFFFFFF0u, 2, 0, 2, 3}, 200 * 200},
        {"every index out of range", 4, {4, 5, 1u << 31}, 0},
        {"no vertices", 0, {0, 1, 2}, 0},
        {"half a triangle left over", 4, {0, 1, 2, 0, 2}, 200 * 100 + 100},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TMesh *mesh = o3DCreateMesh(c.vertexCount, (int)c.indices.size());
        ASSERT_NE(mesh, nullptr);
        if (c.vertexCount == 4) {
            o3DSetMeshVertex(mesh, 0, -1, -1, 0);
            o3DSetMeshVertex(mesh, 1, 1, -1, 0);
            o3DSetMeshVertex(mesh, 2, 1, 1, 0);
            o3DSetMeshVertex(mesh, 3, -1, 1, 0);
        }
        for (size_t i = 0; i < c.indices.size(); ++i)
            o3DSetMeshIndex(mesh, (int)i, c.indices[i]);
        Frame arrays, list;
        drawBothPaths(mesh, &arrays, &list);
        EXPECT_EQ(arrays.rgb, list.rgb);
        EXPECT_NEAR(list.count(kWhite), c.expectedWhite, 200);
        EXPECT_EQ(list.count(kWhite) + list.count(kBlack), kWindowWidth * kWindowHeight);
        o3DFreeMesh(mesh);
    }
}

// Lit with normals and textured with coordinates, both paths still agree pixel for pixel.
TEST_F(MeshGl, NormalsAndTexCoordsReachBothPaths)
{
    TMesh *mesh = makeQuad(1.5f);
    for (int i = 0; i < 4; ++i) {
        float x = (i == 1 || i == 2) ? 1.0f : -1.0f;
        o3DSetMeshNormal(mesh, i, x * 0.7f, 0, 0.7f);
        o3DSetMeshTexCoord(mesh, i, x > 0 ? 2.0f : 0.0f, i >= 2 ? 2.0f : 0.0f);
    }
    const uint8_t checker[] = {255, 255, 255, 40, 40, 40, 40, 40, 40, 255, 255, 255};
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 2, 2, 0, GL_RGB, GL_UNSIGNED_BYTE, checker);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glEnable(GL_TEXTURE_2D);
    o3DInitRenderer(kWindowWidth, kWindowHeight);
    glDisable(GL_DEPTH_TEST);
    o3DSetDirectionalLight(0, 1, 0, -1, 1, 1, 1, 0, 0, 0);
    o3DEnableLight(0);
    o3DEnableLighting();
    o3DSetMaterialColors(0, 0, 0, 1, 1, 1, 0, 0, 0, 1);

    Frame arrays, list;
    drawBothPaths(mesh, &arrays, &list);
    EXPECT_EQ(arrays.rgb, list.rgb);
    // Lit from the left: the left half (normals towards the light) is brighter than the right,
    // and the checker shows both shades.
    EXPECT_GT(list.at(280, 250).r, list.at(520, 250).r);
    EXPECT_FALSE(list.at(280, 250) == list.at(280, 350));

    o3DDisableLight(0);
    o3DDisableLighting();
    glDisable(GL_TEXTURE_2D);
    glDeleteTextures(1, &texture);
    o3DFreeMesh(mesh);
}

TEST_F(MeshGl, ListShowsArrayChangesOnlyAfterARebuild)
{
    TMesh *mesh = makeQuad(1.0f);
    o3DBuildMeshList(mesh);
    GLuint first = mesh->displayList;
    ASSERT_TRUE(glIsList(first));
    o3DSetMeshVertex(mesh, 2, 3, 2, 0);
    o3DDrawMesh(mesh);
    EXPECT_NEAR(readFrame().count(kWhite), 200 * 200, 200);

    o3DBuildMeshList(mesh);
    EXPECT_FALSE(glIsList(first) && first != mesh->displayList);
    glClear(GL_COLOR_BUFFER_BIT);
    o3DDrawMesh(mesh);
    EXPECT_GT(readFrame().count(kWhite), 200 * 200 + 10000);

    GLuint last = mesh->displayList;
    o3DFreeMesh(mesh);
    EXPECT_FALSE(glIsList(last));
}

TEST_F(MeshGl, OpaqueMeshDrawsInTheCurrentColour)
{
    TMesh *mesh = makeQuad(1.0f);
    glColor3f(0, 0, 1);
    o3DDrawMesh(mesh);
    EXPECT_NEAR(readFrame().count(kBlue), 200 * 200, 200);
    EXPECT_TRUE(near4(currentColor(), {0, 0, 1, 1}));
    o3DFreeMesh(mesh);
}

// Over a grey background (0.2): with blending off before, the mesh blends with the standard
// function at its alpha and leaves blending off; with the caller's own additive function on, it
// keeps that function and leaves blending on. Either way the colour ends white and opaque.
TEST_F(MeshGl, BlendedDrawKeepsTheCallersBlending)
{
    struct {
        const char *name;
        bool blendOn;
        GLenum src, dst;
        int expectedRed;
    } cases[] = {
        {"blending off", false, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, 153},
        {"caller's additive blending", true, GL_ONE, GL_ONE, 255},
        {"caller's standard blending", true, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, 153},
    };
    TMesh *mesh = makeQuad(1.0f);
    o3DSetMeshBlended(mesh);
    o3DSetMeshAlpha(mesh, 0.5f);
    for (int path = 0; path < 2; ++path) {
        if (path == 1)
            o3DBuildMeshList(mesh);
        for (const auto &c : cases) {
            SCOPED_TRACE(c.name);
            SCOPED_TRACE(path ? "list" : "arrays");
            glClearColor(0.2f, 0.2f, 0.2f, 1);
            glClear(GL_COLOR_BUFFER_BIT);
            glBlendFunc(c.src, c.dst);
            if (c.blendOn)
                glEnable(GL_BLEND);
            else
                glDisable(GL_BLEND);
            glColor4f(1, 0, 0, 1);
            o3DDrawMesh(mesh);
            EXPECT_NEAR(readFrame().at(400, 300).r, c.expectedRed, 2);
            EXPECT_EQ((bool)glIsEnabled(GL_BLEND), c.blendOn);
            EXPECT_EQ(glInteger(GL_BLEND_SRC), (GLint)c.src);
            EXPECT_EQ(glInteger(GL_BLEND_DST), (GLint)c.dst);
            EXPECT_TRUE(near4(currentColor(), {1, 1, 1, 1}));
        }
    }
    glDisable(GL_BLEND);
    glClearColor(0, 0, 0, 1);
    o3DFreeMesh(mesh);
}

TEST_F(MeshGl, ArrayPathLeavesNoClientArrayEnabled)
{
    TMesh *mesh = makeQuad(1.0f);
    o3DSetMeshNormal(mesh, 0, 0, 0, 1);
    o3DSetMeshTexCoord(mesh, 0, 0, 0);
    o3DDrawMesh(mesh);
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_NORMAL_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
    o3DFreeMesh(mesh);
}

TEST_F(MeshGl, PrimitivesSendTheirGeometry)
{
    tilt();
    struct Case {
        const char *name;
        void (*draw)(void);
        int points, lines, triangles;
    } cases[] = {
        {"grid of 4", [] { o3DDrawGrid(4, 4); }, 0, 10, 0},
        {"grid of 1", [] { o3DDrawGrid(4, 1); }, 0, 4, 0},
        {"grid of 0", [] { o3DDrawGrid(4, 0); }, 0, 0, 0},
        {"axes", [] { o3DDrawAxes(2); }, 0, 3, 0},
        {"line", [] { o3DDrawLine3D(0, 0, 0, 1, 1, 1); }, 0, 1, 0},
        {"point", [] { o3DDrawPoint3D(0.5f, 0.5f, 0.5f, 4); }, 1, 0, 0},
        {"box", [] { o3DDrawBox(1, 2, 3); }, 0, 0, 12},
        {"cube", [] { o3DDrawCube(1); }, 0, 0, 12},
        {"plane 3 x 2", [] { o3DDrawPlane(4, 2, 3, 2); }, 0, 0, 12},
        {"plane of no divisions", [] { o3DDrawPlane(4, 2, 0, 2); }, 0, 0, 0},
        {"torus 4 sides 3 rings", [] { o3DDrawTorus(0.3f, 1, 4, 3); }, 0, 0, 24},
        {"torus of no sides", [] { o3DDrawTorus(0.3f, 1, 0, 3); }, 0, 0, 0},
        {"cylinder of 8 slices", [] { o3DDrawCylinder(1, 2, 8); }, 0, 0, 16},
        {"sphere of no slices", [] { o3DDrawSphere(1, 0, 4); }, 0, 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Feedback fb = feedbackOf(c.draw);
        EXPECT_EQ(fb.points, c.points);
        EXPECT_EQ(fb.lines, c.lines);
        EXPECT_EQ(fb.triangles, c.triangles);
    }
    EXPECT_GT(feedbackOf([] { o3DDrawSphere(1, 8, 6); }).triangles, 8 * 4);
    EXPECT_GT(feedbackOf([] { o3DDrawCone(1, 2, 8); }).triangles, 0);
}

TEST_F(MeshGl, DebugLinesDrawUnlitInTheirColoursAndEndWhite)
{
    tilt();
    for (int lightingFlag = 0; lightingFlag < 2; ++lightingFlag) {
        SCOPED_TRACE(lightingFlag);
        if (lightingFlag)
            o3DEnableLighting();
        else
            o3DDisableLighting();
        glColor3f(0, 1, 1);
        Feedback axes = feedbackOf([] { o3DDrawAxes(2); });
        ASSERT_EQ(axes.lineColours.size(), 3u);
        EXPECT_TRUE(near4(axes.lineColours[0], {1, 0, 0, 1}));
        EXPECT_TRUE(near4(axes.lineColours[1], {0, 1, 0, 1}));
        EXPECT_TRUE(near4(axes.lineColours[2], {0, 0, 1, 1}));
        EXPECT_TRUE(near4(currentColor(), {1, 1, 1, 1}));
        EXPECT_EQ((bool)glIsEnabled(GL_LIGHTING), lightingFlag == 1);

        Feedback grid = feedbackOf([] { o3DDrawGrid(2, 2); });
        ASSERT_EQ(grid.lineColours.size(), 6u);
        for (const auto &colour : grid.lineColours)
            EXPECT_TRUE(near4(colour, {0.5f, 0.5f, 0.5f, 1}));
        EXPECT_TRUE(near4(currentColor(), {1, 1, 1, 1}));
        EXPECT_EQ((bool)glIsEnabled(GL_LIGHTING), lightingFlag == 1);
    }
    // Lighting switched on behind the engine's back is not the engine's to restore.
    o3DDisableLighting();
    glEnable(GL_LIGHTING);
    o3DDrawGrid(2, 2);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
}

TEST_F(MeshGl, PointKeepsTheCallersPointSize)
{
    glDisable(GL_POINT_SMOOTH);
    glPointSize(3);
    o3DDrawPoint3D(0, 0, 0, 9);
    EXPECT_EQ(glFloats(GL_POINT_SIZE, 1)[0], 3.0f);
    // The point itself was drawn at its own size: 9 pixels across at the centre.
    Frame frame = readFrame();
    EXPECT_EQ(frame.count(kWhite, 380, 280, 420, 320), 81);
    glPointSize(1);
    glEnable(GL_POINT_SMOOTH);
}

} // namespace
