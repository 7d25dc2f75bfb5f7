// Shadows on a real context: the blob's fan in feedback mode, darkening of the ground without
// depth writes, the projected shadow's placement and flattening, a light at ground height, and
// the state the pass hands back.
#include "model_gl_support.h"

#include <cmath>

namespace {

const Rgb kGround = {200, 200, 200};

// Looks straight down on the ground plane y = 0 (world x to the right, world z down the window),
// 80 pixels per unit, with a ground quad drawn in kGround so the depth buffer holds it.
class ShadowGl : public ::testing::Test {
  protected:
    void SetUp() override
    {
        pumpUntilMapped();
        beginFlatWorld({0, 0, 0});
        glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
        glColor3ub(kGround.r, kGround.g, kGround.b);
        glBegin(GL_QUADS);
        glVertex3f(-3.0f, 0.0f, -3.0f);
        glVertex3f(-3.0f, 0.0f, 3.0f);
        glVertex3f(3.0f, 0.0f, 3.0f);
        glVertex3f(3.0f, 0.0f, -3.0f);
        glEnd();
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    }
    void TearDown() override
    {
        o3DBuildShadowCircle(16);
    }
};

int triangleCount(const Feedback &fb)
{
    int count = 0;
    for (const FeedbackShape &shape : fb.polygons)
        count += (int)shape.vertices.size() - 2;
    return count;
}

TEST_F(ShadowGl, BlobIsAFanOfTheCircleTable)
{
    auto blob = [] {
        o3DBeginShadow(0.0f, 1.0f, 0.0f, 0.0f, 1.0f, 1.0f, 25.0f, 0.5f, 1, 1.0f);
        o3DEndShadow();
    };
    // Centre, 16 rim points and the first rim point again: 18 vertices, 16 triangles.
    Feedback fb = feedbackOf(blob);
    EXPECT_EQ(triangleCount(fb), 16);
    for (const FeedbackShape &shape : fb.polygons) {
        bool hasCentre = false;
        for (const TVector3 &v : shape.vertices)
            hasCentre = hasCentre || (fabsf(v.x - 160.0f) < 0.01f && fabsf(v.y - 120.0f) < 0.01f);
        EXPECT_TRUE(hasCentre);
    }
    o3DBuildShadowCircle(8);
    EXPECT_EQ(triangleCount(feedbackOf(blob)), 8);
}

TEST_F(ShadowGl, HalfAlphaDarkensTheGroundByHalfWithoutWritingDepth)
{
    GLfloat depthBefore = 0.0f;
    glReadPixels(160, 120, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depthBefore);
    o3DBeginShadow(0.0f, 2.0f, 0.0f, 0.0f, 1.0f, 1.0f, 25.0f, 0.5f, 1, 1.0f);
    o3DEndShadow();
    EXPECT_TRUE(closeTo(pixelAt(160, 120), {100, 100, 100}, 2));
    EXPECT_TRUE(closeTo(pixelAt(160 + 60, 120), {100, 100, 100}, 2)) << "inside the radius";
    EXPECT_TRUE(closeTo(pixelAt(160 + 90, 120), kGround)) << "outside the radius";
    GLfloat depthAfter = -1.0f;
    glReadPixels(160, 120, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depthAfter);
    EXPECT_EQ(depthAfter, depthBefore);
}

TEST_F(ShadowGl, ProjectedShadowIsFlattenedAndSlidesAwayFromTheLight)
{
    glLoadIdentity();
    o3DBeginShadow(3.0f, 7.0f, -2.0f, 2.0f, 1.0f, 1.0f, 25.0f, 0.3f, 0, 0.8f);
    std::vector<float> m = glFloats(GL_MODELVIEW_MATRIX, 16);
    o3DEndShadow();
    // Five units above the ground with the light at (1, 25, 1): offset (-0.2, 0.1, -0.2).
    EXPECT_NEAR(m[12], 2.8f, 1e-5f);
    EXPECT_NEAR(m[13], 2.1f, 1e-5f);
    EXPECT_NEAR(m[14], -2.2f, 1e-5f);
    EXPECT_FLOAT_EQ(m[0], 1.0f);
    EXPECT_FLOAT_EQ(m[5], 0.01f);
    EXPECT_FLOAT_EQ(m[10], 1.0f);
    EXPECT_EQ(glFloats(GL_MODELVIEW_MATRIX, 16), glFloats(GL_MODELVIEW_MATRIX, 16));
}

TEST_F(ShadowGl, OverlappingPartsOfAProjectedShadowDarkenTheGroundOnce)
{
    o3DBeginShadow(0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 25.0f, 0.5f, 0, 0.0f);
    for (float lift : {0.0f, 20.0f, 40.0f}) { // three layers of one object, flattened together
        glBegin(GL_QUADS);
        glVertex3f(-1.0f, lift, -1.0f);
        glVertex3f(-1.0f, lift, 1.0f);
        glVertex3f(1.0f, lift, 1.0f);
        glVertex3f(1.0f, lift, -1.0f);
        glEnd();
    }
    o3DEndShadow();
    EXPECT_TRUE(closeTo(pixelAt(160, 120), {100, 100, 100}, 2));
    EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST));
}

TEST_F(ShadowGl, ALightAtGroundHeightCastsNothing)
{
    std::vector<float> before = glFloats(GL_MODELVIEW_MATRIX, 16);
    o3DBeginShadow(0.0f, 1.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f, 1.0f, 0, 0.8f);
    for (float v : glFloats(GL_MODELVIEW_MATRIX, 16))
        EXPECT_TRUE(std::isfinite(v)) << "no offset divided by the light's height of 0";
    glBegin(GL_QUADS);
    glVertex3f(-1.0f, 0.0f, -1.0f);
    glVertex3f(-1.0f, 0.0f, 1.0f);
    glVertex3f(1.0f, 0.0f, 1.0f);
    glVertex3f(1.0f, 0.0f, -1.0f);
    glEnd();
    o3DEndShadow();
    EXPECT_TRUE(closeTo(pixelAt(160, 120), kGround));
    EXPECT_TRUE(closeTo(pixelAt(170, 110), kGround));
    EXPECT_EQ(glFloats(GL_MODELVIEW_MATRIX, 16), before);
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
}

TEST_F(ShadowGl, ThePassHandsEveryStateBack)
{
    struct Kind {
        const char *what;
        int blob;
    } kinds[] = {{"blob", 1}, {"projected", 0}};
    for (const Kind &kind : kinds) {
        SCOPED_TRACE(kind.what);
        glEnable(GL_LIGHTING);
        glEnable(GL_TEXTURE_2D);
        glDisable(GL_BLEND);
        glDisable(GL_POLYGON_OFFSET_FILL);
        glPolygonOffset(0.0f, 0.0f);
        glBlendFunc(GL_ONE, GL_ZERO);
        glDepthMask(GL_TRUE);
        glColor4f(0.1f, 0.2f, 0.3f, 0.4f);
        std::vector<float> modelview = glFloats(GL_MODELVIEW_MATRIX, 16);
        o3DBeginShadow(1.0f, 3.0f, 1.0f, 0.0f, 1.0f, 1.0f, 25.0f, 0.3f, kind.blob, 0.8f);
        EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
        EXPECT_TRUE(glIsEnabled(GL_POLYGON_OFFSET_FILL));
        o3DEndShadow();
        EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
        EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
        EXPECT_FALSE(glIsEnabled(GL_BLEND));
        EXPECT_FALSE(glIsEnabled(GL_POLYGON_OFFSET_FILL));
        EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST));
        EXPECT_EQ(glFloats(GL_POLYGON_OFFSET_FACTOR, 1)[0], 0.0f);
        EXPECT_EQ(glInteger(GL_BLEND_SRC), GL_ONE);
        EXPECT_EQ(glInteger(GL_BLEND_DST), GL_ZERO);
        GLboolean depthMask = GL_FALSE;
        glGetBooleanv(GL_DEPTH_WRITEMASK, &depthMask);
        EXPECT_TRUE(depthMask);
        EXPECT_EQ(currentColor(), (std::vector<float>{0.1f, 0.2f, 0.3f, 0.4f}));
        EXPECT_EQ(glFloats(GL_MODELVIEW_MATRIX, 16), modelview);
    }
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    o3DEndShadow(); // an end without a begin pops nothing
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
}

} // namespace
