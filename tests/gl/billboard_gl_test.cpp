// Billboards on a real context: the quad each orientation mode sends to the rasteriser, additive
// blending that leaves black texels invisible and depth untouched, the state single draws and
// batches hand back, and which textures a freed billboard takes with it.
#include "model_gl_support.h"

#include <math.h>

#include <algorithm>

namespace {

const Rgb kGround = {100, 50, 25};

struct Box {
    float left = 1e9f, right = -1e9f, bottom = 1e9f, top = -1e9f;
    float width() const
    {
        return right - left;
    }
    float height() const
    {
        return top - bottom;
    }
};

Box windowBox(const Feedback &fb)
{
    Box box;
    for (const FeedbackShape &shape : fb.polygons) {
        for (const TVector3 &v : shape.vertices) {
            box.left = std::min(box.left, v.x);
            box.right = std::max(box.right, v.x);
            box.bottom = std::min(box.bottom, v.y);
            box.top = std::max(box.top, v.y);
        }
    }
    return box;
}

class BillboardGl : public ::testing::Test {
  protected:
    ScratchFolder folder;
    TCamera cam = {};
    TBillboard *bb = nullptr;
    std::string picturePath;

    void SetUp() override
    {
        pumpUntilMapped();
        // Left column black, right column white.
        picturePath = folder.file("glow.bmp");
        ASSERT_TRUE(writeBmp24(picturePath, makePicture(2, 2, [](int x, int) {
                                   return x == 0 ? Rgb{0, 0, 0} : Rgb{255, 255, 255};
                               })));
        bb = o3DCreateBillboard(2.0f, 2.0f);
        ASSERT_NE(bb, nullptr);
        ASSERT_EQ(o3DLoadBillboardTexture(bb, picturePath.c_str()), 1);
        lookFrom(0.0f, 0.0f, 5.0f);
    }
    void TearDown() override
    {
        o3DFreeBillboard(bb);
    }
    void lookFrom(float x, float y, float z)
    {
        beginWorldFrame({0, 0, 5}, {0, 0, -1}, {0, 1, 0}, 60.0f, 0.1f, 100.0f, kGround);
        o3DSetViewportSize(kWindowWidth, kWindowHeight);
        o3DSetCameraLookAt(&cam, x, y, z, 0.0f, 0.0f, 0.0f, 60.0f, 0.1f, 100.0f);
        o3DApplyCamera(&cam);
    }
};

TEST_F(BillboardGl, EachModeTurnsTheQuadAsItPromises)
{
    lookFrom(0.0f, 5.0f, 5.0f); // 45 degrees above the billboard
    Box facing = windowBox(feedbackOf([&] { o3DRenderBillboard(bb, &cam); }));
    EXPECT_GT(facing.width(), 20.0f);
    EXPECT_NEAR(facing.height() / facing.width(), 1.0f, 0.02f) << "mode 0 faces the camera";

    o3DSetBillboardMode(bb, 1); // upright about y: seen from 45 degrees above, foreshortened
    Box upright = windowBox(feedbackOf([&] { o3DRenderBillboard(bb, &cam); }));
    EXPECT_GT(upright.height() / upright.width(), 0.5f);
    EXPECT_LT(upright.height() / upright.width(), 0.8f);

    o3DSetBillboardMode(bb, 2); // parallel to the screen: edges along the window's axes
    Feedback fb = feedbackOf([&] { o3DRenderBillboard(bb, &cam); });
    Box screen = windowBox(fb);
    EXPECT_NEAR(screen.height() / screen.width(), 1.0f, 0.02f);
    for (const FeedbackShape &shape : fb.polygons)
        for (const TVector3 &v : shape.vertices)
            EXPECT_TRUE(fabsf(v.x - screen.left) < 0.5f || fabsf(v.x - screen.right) < 0.5f);
}

TEST_F(BillboardGl, AdditiveBlendingLeavesBlackTexelsInvisibleAndDepthAlone)
{
    GLfloat depthBefore = 0.0f;
    glReadPixels(160, 120, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depthBefore);
    o3DRenderBillboard(bb, &cam);
    EXPECT_TRUE(closeTo(pixelAt(125, 120), kGround)) << "black adds nothing";
    EXPECT_TRUE(closeTo(pixelAt(195, 120), {255, 255, 255}));
    GLfloat depthAfter = -1.0f;
    glReadPixels(160, 120, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depthAfter);
    EXPECT_EQ(depthAfter, depthBefore);
    EXPECT_EQ(textureWrap(bb->texture->id, GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);

    // The colour scales what is added.
    glClear(GL_COLOR_BUFFER_BIT);
    o3DSetBillboardColor(bb, 0.0f, 0.5f, 0.0f);
    o3DRenderBillboard(bb, &cam);
    EXPECT_TRUE(closeTo(pixelAt(195, 120), {100, 50 + 128, 25}));
}

TEST_F(BillboardGl, SingleDrawsAndBatchesHandTheStateBack)
{
    glEnable(GL_LIGHTING);
    glEnable(GL_ALPHA_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    glColor4f(0.2f, 0.3f, 0.4f, 0.5f);
    auto expectStateBack = [](const char *after) {
        SCOPED_TRACE(after);
        EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
        EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
        EXPECT_FALSE(glIsEnabled(GL_BLEND));
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
        EXPECT_EQ(glInteger(GL_BLEND_SRC), GL_SRC_ALPHA);
        EXPECT_EQ(glInteger(GL_BLEND_DST), GL_ONE_MINUS_SRC_ALPHA);
        EXPECT_EQ(currentColor(), (std::vector<float>{0.2f, 0.3f, 0.4f, 0.5f}));
        GLboolean depthMask = GL_FALSE;
        glGetBooleanv(GL_DEPTH_WRITEMASK, &depthMask);
        EXPECT_TRUE(depthMask) << "depth writes end on";
        glDepthMask(GL_FALSE);
        EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
    };
    o3DRenderBillboard(bb, &cam);
    expectStateBack("a single draw");
    o3DDrawBillboard(0.0f, 0.0f, 0.0f, 1.0f, 1.0f, bb->texture, &cam);
    expectStateBack("a temporary billboard");

    o3DBeginBillboards(&cam);
    o3DDrawBatchedBillboard(bb);
    o3DDrawBillboardBatchCamera(1.0f, 0.0f, 0.0f, 1.0f, 1.0f, bb->texture);
    o3DEndBillboards();
    expectStateBack("a batch");
    glDisable(GL_LIGHTING);
    glDisable(GL_ALPHA_TEST);
    glDepthMask(GL_TRUE);
    EXPECT_TRUE(closeTo(pixelAt(180, 120), {255, 255, 255})) << "the batch drew";

    o3DEndBillboards(); // an end without a begin pops nothing
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
    Feedback outside = feedbackOf([&] {
        o3DDrawBatchedBillboard(bb);
        o3DRenderBillboardBatchCamera(bb);
    });
    EXPECT_TRUE(outside.polygons.empty()) << "batch draws do nothing outside a batch";
}

TEST_F(BillboardGl, FreeingTakesOnlyTheTexturesTheBillboardLoaded)
{
    GLuint first = bb->texture->id;
    ASSERT_EQ(o3DLoadBillboardTexture(bb, picturePath.c_str()), 1);
    EXPECT_FALSE(glIsTexture(first)) << "a reload frees the texture loaded before";
    EXPECT_EQ(o3DLoadBillboardTexture(bb, folder.file("missing.bmp").c_str()), 0);
    EXPECT_EQ(bb->textureReady, 1) << "a failed load keeps the texture";
    GLuint plain = bb->texture->id;
    ASSERT_EQ(o3DLoadBillboardTextureKeyed(bb, picturePath.c_str(), 0, 0, 0), 1);
    EXPECT_EQ(bb->colorKeyed, 1);
    EXPECT_EQ(bb->texture->colorKeyOn, 1);
    EXPECT_FALSE(glIsTexture(plain));

    TTexture mine = {};
    ASSERT_EQ(o3DLoadImage(&mine, picturePath.c_str()), 1);
    GLuint owned = bb->texture->id;
    o3DSetBillboardTexture(bb, &mine);
    EXPECT_FALSE(glIsTexture(owned));
    o3DFreeBillboard(bb);
    bb = nullptr;
    EXPECT_TRUE(glIsTexture(mine.id)) << "a texture handed in stays the caller's";
    EXPECT_EQ(mine.loaded, 1);
    o3DFreeTexture(&mine);

    TBillboard *loaded = o3DCreateBillboard(1.0f, 1.0f);
    ASSERT_EQ(o3DLoadBillboardTexture(loaded, picturePath.c_str()), 1);
    GLuint id = loaded->texture->id;
    o3DFreeBillboard(loaded);
    EXPECT_FALSE(glIsTexture(id)) << "the billboard frees what it loaded";
}

} // namespace
