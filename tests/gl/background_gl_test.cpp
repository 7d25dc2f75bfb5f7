// Full-screen backgrounds in a real context with the pixels read back: stretched and repeated
// pictures, offsets from the record and from the camera, colour and alpha, and the state the
// drawing hands back.
#include "texture_gl_support.h"

namespace {

const Rgb kRed = {230, 0, 0}, kBlue = {0, 0, 230}, kGreen = {0, 230, 0}, kWhite = {255, 255, 255};

// Quadrants: red top-left, blue top-right, green bottom-left, white bottom-right.
Picture quadrants(int width, int height)
{
    return makePicture(width, height, [=](int x, int y) {
        bool right = x >= width / 2, bottom = y >= height / 2;
        return bottom ? (right ? kWhite : kGreen) : (right ? kBlue : kRed);
    });
}

class BackgroundDraw : public ::testing::Test {
  protected:
    ScratchFolder folder;
    TBackground bg;
    void SetUp() override
    {
        beginFlatFrame(0.0f, 0.0f, 0.0f);
        o3DInitBackground(&bg);
    }
    void TearDown() override
    {
        o3DFreeBackground(&bg);
        glViewport(0, 0, kWindowWidth, kWindowHeight);
    }
    void load(const Picture &picture)
    {
        ASSERT_TRUE(writeBmp24(folder.file("bg.bmp"), picture));
        ASSERT_EQ(o3DLoadBackground(&bg, folder.file("bg.bmp").c_str()), 1);
        ASSERT_EQ(o3DIsBackgroundLoaded(&bg), 1);
    }
};

TEST_F(BackgroundDraw, StretchedPictureCoversTheViewportOnce)
{
    load(quadrants(64, 32));
    o3DDrawBackgroundStatic(&bg);
    EXPECT_TRUE(closeTo(screenPixel(160, 120), rgba(kRed)));
    EXPECT_TRUE(closeTo(screenPixel(480, 120), rgba(kBlue)));
    EXPECT_TRUE(closeTo(screenPixel(160, 360), rgba(kGreen)));
    EXPECT_TRUE(closeTo(screenPixel(480, 360), rgba(kWhite)));
    EXPECT_TRUE(closeTo(screenPixel(300, 100), rgba(kRed)));
    EXPECT_TRUE(closeTo(screenPixel(340, 100), rgba(kBlue)));
}

TEST_F(BackgroundDraw, OffsetsScrollInPicturePixelsAndWrapAround)
{
    load(quadrants(64, 32));
    o3DSetBackgroundOffset(&bg, 16.0f, 8.0f); // a quarter of the picture each way
    o3DDrawBackground(&bg);
    // Across: a quarter of red, half of blue, a quarter of red again; down likewise.
    EXPECT_TRUE(closeTo(screenPixel(80, 60), rgba(kRed)));
    EXPECT_TRUE(closeTo(screenPixel(320, 60), rgba(kBlue)));
    EXPECT_TRUE(closeTo(screenPixel(560, 60), rgba(kRed)));
    EXPECT_TRUE(closeTo(screenPixel(80, 240), rgba(kGreen)));
    EXPECT_TRUE(closeTo(screenPixel(320, 240), rgba(kWhite)));
    EXPECT_TRUE(closeTo(screenPixel(560, 420), rgba(kRed)));
}

TEST_F(BackgroundDraw, CameraYawScrollsAQuarterPictureForAQuarterTurn)
{
    load(quadrants(64, 32));
    TCamera cam;
    o3DInitCamera(&cam);
    o3DSetCameraRotation(&cam, 90.0f, 0.0f, 0.0f);
    o3DSetBackgroundScrollY(&bg, 0);
    o3DDrawBackgroundForCamera(&bg, &cam);
    EXPECT_FLOAT_EQ(bg.offsetX, 16.0f);
    EXPECT_TRUE(closeTo(screenPixel(80, 120), rgba(kRed)));
    EXPECT_TRUE(closeTo(screenPixel(320, 120), rgba(kBlue)));
    EXPECT_TRUE(closeTo(screenPixel(560, 120), rgba(kRed)));
    // The static form draws unscrolled and leaves the offsets at zero.
    o3DDrawBackgroundStatic(&bg);
    EXPECT_EQ(bg.offsetX, 0.0f);
    EXPECT_EQ(bg.offsetY, 0.0f);
    EXPECT_TRUE(closeTo(screenPixel(560, 120), rgba(kBlue)));
}

TEST_F(BackgroundDraw, UnstretchedPictureRepeatsAtOneTexelPerPixel)
{
    Picture picture = makePicture(64, 64, [](int x, int y) {
        return Rgb{(uint8_t)(x * 4), (uint8_t)(y * 4), (uint8_t)(x ^ y)};
    });
    load(picture);
    o3DSetBackgroundStretch(&bg, 0);
    o3DDrawBackground(&bg);
    const int samples[][2] = {{5, 5}, {581, 453}, {630, 470}, {64, 64}, {127, 0}, {639, 479}};
    for (const auto &s : samples)
        EXPECT_TRUE(closeTo(screenPixel(s[0], s[1]), rgba(picture.at(s[0] % 64, s[1] % 64))))
            << s[0] << ", " << s[1];
}

TEST_F(BackgroundDraw, CoversTheGlViewportOnly)
{
    load(quadrants(64, 32));
    o3DClearScreen(0.0f, 0.0f, 0.0f);
    glViewport(0, 0, 320, 240); // the bottom-left quarter of the window
    o3DDrawBackgroundStatic(&bg);
    glViewport(0, 0, kWindowWidth, kWindowHeight);
    EXPECT_TRUE(closeTo(screenPixel(80, 300), rgba(kRed)));
    EXPECT_TRUE(closeTo(screenPixel(240, 420), rgba(kWhite)));
    EXPECT_TRUE(closeTo(screenPixel(400, 300), {0, 0, 0, 255}));
    EXPECT_TRUE(closeTo(screenPixel(80, 200), {0, 0, 0, 255}));
}

TEST_F(BackgroundDraw, ColourTintsAndAlphaBlendsOnlyWithBlendOn)
{
    load(solidPicture(8, 8, kWhite));
    o3DClearScreen(0.0f, 0.0f, 1.0f);
    o3DSetBackgroundColor(&bg, 1.0f, 0.0f, 0.0f);
    o3DSetBackgroundAlpha(&bg, 0.5f);
    o3DDrawBackground(&bg);
    EXPECT_TRUE(closeTo(screenPixel(320, 240), {128, 0, 127, 255}, 3));
    o3DSetBackgroundBlend(&bg, 0);
    o3DDrawBackground(&bg);
    EXPECT_TRUE(closeTo(screenPixel(320, 240), {255, 0, 0, 255}));
}

TEST_F(BackgroundDraw, DrawingHandsBackTheCallersState)
{
    load(quadrants(64, 32));
    o3DBegin3D(); // perspective projection, depth test on
    glEnable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glColor4f(0.1f, 0.2f, 0.3f, 0.4f);
    GLfloat projectionBefore[16], projectionAfter[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projectionBefore);
    o3DDrawBackground(&bg);
    glGetFloatv(GL_PROJECTION_MATRIX, projectionAfter);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(glInteger(GL_MATRIX_MODE), GL_MODELVIEW);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(projectionAfter[i], projectionBefore[i]) << i;
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[2], 0.3f);
    EXPECT_FLOAT_EQ(colour[3], 0.4f);
    // Despite the depth test, the picture was drawn; its texture stays bound and repeating.
    EXPECT_TRUE(closeTo(screenPixel(160, 120), rgba(kRed)));
    EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), (GLint)bg.image.id);
    EXPECT_EQ(textureParameter(bg.image.id, GL_TEXTURE_WRAP_S), GL_REPEAT);
    glDisable(GL_LIGHTING);
}

TEST_F(BackgroundDraw, UnloadedBackgroundChangesNoState)
{
    o3DClearScreen(0.0f, 0.0f, 0.0f);
    glBindTexture(GL_TEXTURE_2D, 0);
    glBlendFunc(GL_ONE, GL_ONE);
    glColor4f(0.5f, 0.5f, 0.5f, 0.5f);
    o3DDrawBackground(&bg);
    o3DDrawBackgroundStatic(&bg);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(glInteger(GL_BLEND_DST), GL_ONE);
    EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), 0);
    EXPECT_TRUE(closeTo(screenPixel(320, 240), {0, 0, 0, 255}));
}

} // namespace
