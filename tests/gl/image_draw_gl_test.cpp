// Drawing 2D images in a real context with the pixels read back: placement, the drawn texture
// range, rotation about the centre, the colour key, alpha and additive tint, and the blend,
// texture and colour state each draw leaves behind.
#include "texture_gl_support.h"

namespace {

const Rgb kImageGrey = {200, 200, 200};
const Rgba kBackdrop = {51, 51, 51, 255}; // 0.2 grey

class ImageDraw : public ::testing::Test {
  protected:
    ScratchFolder folder;
    TTexture img = {};

    void SetUp() override
    {
        beginFlatFrame(0.2f, 0.2f, 0.2f);
    }
    void TearDown() override
    {
        o3DFreeTexture(&img);
        o3DEnableLinearFiltering();
        glDisable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    // Loads with nearest filtering, so scaled and rotated drawings have crisp edges.
    void load(const Picture &picture, bool keyed = false)
    {
        ASSERT_TRUE(writeBmp24(folder.file("img.bmp"), picture));
        o3DDisableLinearFiltering();
        int ok = keyed ? o3DLoadImageKeyed(&img, folder.file("img.bmp").c_str(), 255, 0, 255)
                       : o3DLoadImage(&img, folder.file("img.bmp").c_str());
        o3DEnableLinearFiltering();
        ASSERT_EQ(ok, 1);
    }
};

GLint blendFunction(GLenum which)
{
    return glInteger(which);
}

TEST_F(ImageDraw, SizedQuadCoversExactlyItsRectangle)
{
    const Rgb colour = {200, 40, 40};
    load(solidPicture(20, 10, colour));
    o3DDrawImageSized(&img, 50, 60, 40, 30);
    for (auto p : {std::pair{50, 60}, {89, 60}, {50, 89}, {89, 89}})
        EXPECT_TRUE(closeTo(screenPixel(p.first, p.second), rgba(colour)))
            << p.first << "," << p.second;
    for (auto p : {std::pair{49, 60}, {90, 60}, {50, 59}, {50, 90}, {89, 90}})
        EXPECT_TRUE(closeTo(screenPixel(p.first, p.second), kBackdrop))
            << p.first << "," << p.second;
}

TEST_F(ImageDraw, PlainDrawShowsThePictureAndNotTheTexturePadding)
{
    Picture picture = makePicture(100, 60, [](int x, int y) {
        return Rgb{(uint8_t)(x * 2 + 20), (uint8_t)(y * 4),
                   (uint8_t)(x == 99 || y == 59 ? 250 : 0)};
    });
    ASSERT_TRUE(writeBmp24(folder.file("p.bmp"), picture));
    ASSERT_EQ(o3DLoadImage(&img, folder.file("p.bmp").c_str()), 1); // linear filtering
    o3DDrawImage(&img, 10, 20);
    const int samples[][2] = {{0, 0}, {99, 0}, {0, 59}, {99, 59}, {50, 30}, {98, 58}, {37, 11}};
    for (const auto &s : samples)
        EXPECT_TRUE(closeTo(screenPixel(10 + s[0], 20 + s[1]), rgba(picture.at(s[0], s[1]))))
            << s[0] << ", " << s[1];
    EXPECT_TRUE(closeTo(screenPixel(110, 20), kBackdrop));
    EXPECT_TRUE(closeTo(screenPixel(10, 80), kBackdrop));
}

TEST_F(ImageDraw, RotationTurnsThePictureAboutItsCentre)
{
    const Rgb red = {220, 0, 0}, blue = {0, 0, 220};
    load(makePicture(40, 10, [&](int, int y) { return y < 5 ? red : blue; }));
    // Centre (120, 105); a quarter turn stands the bar up with its top half on the right.
    o3DDrawImageRotated(&img, 100, 100, 40, 10, 90.0f, 1.0f);
    EXPECT_TRUE(closeTo(screenPixel(122, 88), rgba(red)));
    EXPECT_TRUE(closeTo(screenPixel(117, 122), rgba(blue)));
    EXPECT_TRUE(closeTo(screenPixel(102, 105), kBackdrop));
    EXPECT_TRUE(closeTo(screenPixel(138, 105), kBackdrop));
    EXPECT_TRUE(closeTo(screenPixel(120, 83), kBackdrop));
    // A half turn puts the top half at the bottom, in place.
    o3DDrawImageRotated(&img, 200, 100, 40, 10, 180.0f, 1.0f);
    EXPECT_TRUE(closeTo(screenPixel(205, 108), rgba(red)));
    EXPECT_TRUE(closeTo(screenPixel(235, 101), rgba(blue)));
}

TEST_F(ImageDraw, KeyedPixelsLeaveWhatIsBehindVisible)
{
    const Rgb magenta = {255, 0, 255}, red = {200, 0, 0};
    load(makePicture(8, 8, [&](int x, int) { return x < 4 ? magenta : red; }), true);
    o3DClearScreen(0.0f, 1.0f, 0.0f);
    glBlendFunc(GL_ONE, GL_ONE); // the caller's, with blending off
    o3DDrawImageSized(&img, 0, 0, 80, 80);
    EXPECT_TRUE(closeTo(screenPixel(10, 10), {0, 255, 0, 255}));
    EXPECT_TRUE(closeTo(screenPixel(70, 70), rgba(red)));
    // The key switched blending on for the draw only, and left the standard function.
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(blendFunction(GL_BLEND_SRC), GL_SRC_ALPHA);
    EXPECT_EQ(blendFunction(GL_BLEND_DST), GL_ONE_MINUS_SRC_ALPHA);
}

TEST_F(ImageDraw, TintAndItsIntensityColourOnlyAdditiveImages)
{
    load(solidPicture(4, 4, kImageGrey));
    o3DSetImageTint(&img, 1.0f, 0.5f, 0.0f);
    o3DSetImageAlpha(&img, 0.5f);
    o3DDrawImageSized(&img, 0, 0, 40, 40);
    EXPECT_TRUE(closeTo(screenPixel(20, 20), rgba(kImageGrey)));
    o3DSetImageAdditive(&img);
    o3DDrawImageSized(&img, 100, 0, 40, 40);
    // 200 x tint x 0.5 added to the 51 behind.
    EXPECT_TRUE(closeTo(screenPixel(120, 20), {151, 101, 51, 255}, 3));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

TEST_F(ImageDraw, AlphaAndColourArgumentsModulateThePicture)
{
    load(solidPicture(4, 4, kImageGrey));
    o3DDrawImageRotated(&img, 0, 0, 40, 40, 0.0f, 0.5f);
    EXPECT_TRUE(closeTo(screenPixel(20, 20), {126, 126, 126, 255}, 3));
    o3DDrawImageEx(&img, 100, 0, 40, 40, 0.0f, 1.0f, 1.0f, 0.5f, 0.25f);
    EXPECT_TRUE(closeTo(screenPixel(120, 20), {200, 100, 50, 255}, 3));
}

TEST_F(ImageDraw, OpaqueImageKeepsTheCallersBlendStateAndRestoresTheDrawingColour)
{
    load(solidPicture(4, 4, kImageGrey));
    o3DSetColor(0.25f, 0.5f, 0.75f);
    glEnable(GL_TEXTURE_2D);
    glBlendFunc(GL_ONE, GL_ONE);
    o3DDrawImageSized(&img, 0, 0, 40, 40);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(blendFunction(GL_BLEND_SRC), GL_ONE);
    EXPECT_EQ(blendFunction(GL_BLEND_DST), GL_ONE);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLfloat colour[4] = {0, 0, 0, 0};
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[0], 0.25f);
    EXPECT_FLOAT_EQ(colour[1], 0.5f);
    EXPECT_FLOAT_EQ(colour[2], 0.75f);
    EXPECT_FLOAT_EQ(colour[3], 1.0f);

    // With blending already on, an opaque image draws with the caller's function and hands the
    // standard one back.
    glEnable(GL_BLEND);
    o3DDrawImageSized(&img, 100, 0, 40, 40);
    EXPECT_TRUE(closeTo(screenPixel(120, 20), {251, 251, 251, 255}, 3));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(blendFunction(GL_BLEND_SRC), GL_SRC_ALPHA);
    EXPECT_EQ(blendFunction(GL_BLEND_DST), GL_ONE_MINUS_SRC_ALPHA);
}

TEST_F(ImageDraw, TranslucentImageLeavesBlendingOnWhenItWasOn)
{
    load(solidPicture(4, 4, kImageGrey));
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ZERO);
    o3DDrawImageRotated(&img, 0, 0, 40, 40, 30.0f, 0.5f);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(blendFunction(GL_BLEND_DST), GL_ONE_MINUS_SRC_ALPHA);
    GLfloat modelview[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(modelview[i], i % 5 == 0 ? 1.0f : 0.0f) << i;
}

} // namespace
