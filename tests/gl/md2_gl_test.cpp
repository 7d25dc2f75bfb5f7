// MD2 drawing on a real context: the pixels a model covers under a known view, interpolated poses
// between their frames, the skin's orientation, the pose computed once however often it is
// drawn, translucency and its state, the silhouette inside a shadow, and the wireframe.
#include "model_gl_support.h"

#include "md2_writer.h"

namespace {

const Rgb kBlack = {0, 0, 0};
const Rgb kRed = {255, 0, 0};

// Window pixel of model point (x, y) under beginFlatWorld.
int px(float x)
{
    return (int)(160 + 80 * x);
}
int py(float y)
{
    return (int)(120 - 80 * y);
}

class Md2Gl : public ::testing::Test {
  protected:
    ScratchFolder folder;
    TMD2Model *model = nullptr;

    void SetUp() override
    {
        pumpUntilMapped();
        std::string path = folder.file("square.md2");
        ASSERT_TRUE(writeBytes(path, md2Bytes(squareModel(3))));
        model = o3DLoadMD2(path.c_str());
        ASSERT_NE(model, nullptr);
        beginFlatWorld(kBlack);
        glColor3f(1.0f, 0.0f, 0.0f);
    }
    void TearDown() override
    {
        o3DFreeMD2Skin(model);
        o3DFreeMD2(model);
    }
    // Clears and draws the model once more as a new frame would.
    void redraw(void)
    {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        model->poseCurrent = 0;
        passPoseInterval();
        o3DDrawMD2(model);
    }
};

TEST_F(Md2Gl, ModelCoversThePixelsOfItsFrame)
{
    o3DDrawMD2(model);
    // Frame 0 covers -1..1 in x and y.
    EXPECT_TRUE(closeTo(pixelAt(px(0), py(0)), kRed));
    EXPECT_TRUE(closeTo(pixelAt(px(-0.9f), py(0.9f)), kRed));
    EXPECT_TRUE(closeTo(pixelAt(px(-1.1f), py(0)), kBlack));
    EXPECT_TRUE(closeTo(pixelAt(px(0), py(1.1f)), kBlack));
    EXPECT_TRUE(closeTo(pixelAt(px(1.5f), py(0)), kBlack));

    glClear(GL_COLOR_BUFFER_BIT);
    passPoseInterval();
    model->poseCurrent = 0;
    o3DDrawMD2Frame(model, 2); // frame 2 lies two units further along x
    EXPECT_TRUE(closeTo(pixelAt(px(1.5f), py(0)), kRed));
    EXPECT_TRUE(closeTo(pixelAt(px(0.5f), py(0)), kBlack));
}

TEST_F(Md2Gl, InterpolatedPoseLiesBetweenItsFrames)
{
    // Frame 0 covers -1..1 in x, frame 1 covers 0..2; halfway the square covers -0.5..1.5.
    model->nextFrame = 1;
    model->interpolation = 0.5f;
    o3DDrawMD2(model);
    EXPECT_TRUE(closeTo(pixelAt(px(-0.75f), py(0)), kBlack)) << "frame 0 alone would cover it";
    EXPECT_TRUE(closeTo(pixelAt(px(-0.4f), py(0)), kRed));
    EXPECT_TRUE(closeTo(pixelAt(px(1.4f), py(0)), kRed));
    EXPECT_TRUE(closeTo(pixelAt(px(1.75f), py(0)), kBlack)) << "frame 1 alone would cover it";
}

TEST_F(Md2Gl, PoseIsComputedOnceUntilItsOwnerAsksAgain)
{
    o3DDrawMD2(model);
    model->interpolation = 0.5f;
    model->nextFrame = 2;
    passPoseInterval();
    o3DDrawMD2(model); // the second draw of the frame reuses the pose
    EXPECT_EQ(model->cachedInterpolation, 0.0f);
    EXPECT_TRUE(closeTo(pixelAt(px(-0.5f), py(0)), kRed));
    redraw();
    EXPECT_EQ(model->cachedInterpolation, 0.5f);
    EXPECT_TRUE(closeTo(pixelAt(px(-0.5f), py(0)), kBlack));
}

TEST_F(Md2Gl, SkinIsMappedWithItsTopRowAtTextureCoordinateTZero)
{
    // Quadrants: red top-left, green top-right, blue bottom-left, white bottom-right.
    Picture picture = makePicture(2, 2, [](int x, int y) {
        const Rgb colours[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
        return colours[y * 2 + x];
    });
    std::string path = folder.file("skin.bmp");
    ASSERT_TRUE(writeBmp24(path, picture));
    o3DDisableLinearFiltering();
    ASSERT_EQ(o3DLoadMD2Skin(model, path.c_str()), 1);
    o3DEnableLinearFiltering();
    EXPECT_EQ(o3DLoadMD2Skin(model, folder.file("missing.bmp").c_str()), 0);
    ASSERT_NE(model->skin, nullptr);
    glColor3f(1.0f, 1.0f, 1.0f);
    o3DDrawMD2(model);
    EXPECT_TRUE(closeTo(pixelAt(px(-0.5f), py(0.5f)), {255, 0, 0}));
    EXPECT_TRUE(closeTo(pixelAt(px(0.5f), py(0.5f)), {0, 255, 0}));
    EXPECT_TRUE(closeTo(pixelAt(px(-0.5f), py(-0.5f)), {0, 0, 255}));
    EXPECT_TRUE(closeTo(pixelAt(px(0.5f), py(-0.5f)), {255, 255, 255}));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D)) << "texturing ends as it was";

    GLuint id = model->skin->id;
    o3DFreeMD2Skin(model);
    EXPECT_EQ(model->skin, nullptr);
    EXPECT_FALSE(glIsTexture(id));
}

TEST_F(Md2Gl, TranslucentModelBlendsWithoutDepthWritesAndRestoresState)
{
    glEnable(GL_CULL_FACE);
    glBlendFunc(GL_ONE, GL_ZERO);
    o3DSetMD2Alpha(model, 0.5f);
    GLfloat depthBefore = 0.0f;
    glReadPixels(px(0), 240 - 1 - py(0), 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depthBefore);
    o3DDrawMD2(model);
    EXPECT_TRUE(closeTo(pixelAt(px(0), py(0)), {128, 128, 128}, 2)) << "white at half alpha";
    GLfloat depthAfter = -1.0f;
    glReadPixels(px(0), 240 - 1 - py(0), 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depthAfter);
    EXPECT_EQ(depthAfter, depthBefore);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    GLboolean depthMask = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthMask);
    EXPECT_TRUE(depthMask);
    EXPECT_EQ(currentColor(), (std::vector<float>{1, 1, 1, 1}));
    glDisable(GL_CULL_FACE);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

TEST_F(Md2Gl, InsideAShadowTheModelIsASilhouetteInTheShadowsColour)
{
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    o3DSetMD2Alpha(model, 0.25f); // its own translucency must stay out of the shadow
    // Look down on the ground plane y = 0 (world z runs down the window); the model is turned
    // from its z-up axes into the ground plane as the game turns it.
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    o3DBeginShadow(0.0f, -0.1f, 0.0f, -0.1f, 0.0f, 0.0f, 25.0f, 0.5f, 0, 0.0f);
    o3DRotate(-90.0f, 1.0f, 0.0f, 0.0f);
    o3DDrawMD2(model);
    o3DEndShadow();
    EXPECT_TRUE(closeTo(pixelAt(px(0.5f), py(0.5f)), {128, 128, 128}, 2))
        << "black at the shadow's alpha, not the model's";
    EXPECT_TRUE(closeTo(pixelAt(px(1.5f), py(0)), {255, 255, 255}));
}

TEST_F(Md2Gl, WireframeDrawsEachTriangleEdgeUnlit)
{
    o3DEnableLighting();
    Feedback fb = feedbackOf([&] { o3DDrawMD2Wireframe(model); });
    EXPECT_EQ(fb.lines.size(), 6u);
    EXPECT_EQ(fb.polygons.size(), 0u);
    EXPECT_FALSE(o3DIsLightingEnabled());
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));

    fb = feedbackOf([&] { o3DDrawMD2(model); });
    EXPECT_EQ(fb.polygons.size(), 2u);
}

} // namespace
