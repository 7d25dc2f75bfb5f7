// Loading textures and images into a real GL context and reading the uploaded texels back: the
// power-of-two resampling of surface textures, the platform loader's bit depths and row orders,
// the colour key and its mask, the texture parameters, refusals and freeing.
#include "texture_gl_support.h"

namespace {

class TextureLoad : public ::testing::Test {
  protected:
    ScratchFolder folder;
    TTexture tex = {};
    void TearDown() override
    {
        o3DFreeTexture(&tex);
        o3DEnableLinearFiltering();
    }
};

Picture gradient(int width, int height)
{
    return makePicture(width, height, [](int x, int y) {
        return Rgb{(uint8_t)(x * 2), (uint8_t)(y * 4), (uint8_t)(255 - x)};
    });
}

// Texture row r of a surface texture is picture row height - 1 - r (bottom row first), sampled
// by nearest neighbour.
void expectResampled(const TTexture &tex, const Picture &picture)
{
    std::vector<uint8_t> texels = textureRgba(tex.id, tex.width, tex.height);
    for (int row = 0; row < tex.height; ++row)
        for (int x = 0; x < tex.width; ++x) {
            int sx = (int)(x * ((float)picture.width / tex.width));
            int srow = (int)(row * ((float)picture.height / tex.height));
            Rgba expected = rgba(picture.at(sx, picture.height - 1 - srow));
            ASSERT_TRUE(closeTo(texel(texels, tex.width, x, row), expected, 0))
                << "texel " << x << ", " << row;
        }
}

TEST_F(TextureLoad, SurfaceTextureIsResampledToPowersOfTwo)
{
    Picture picture = gradient(100, 60);
    ASSERT_TRUE(writeBmp24(folder.file("a.bmp"), picture));
    ASSERT_EQ(o3DLoadTexture(&tex, folder.file("a.bmp").c_str()), 1);
    EXPECT_EQ(tex.loaded, 1);
    EXPECT_NE(tex.id, 0u);
    EXPECT_EQ(tex.width, 128);
    EXPECT_EQ(tex.height, 64);
    EXPECT_EQ(tex.texWidth, 0); // left to the image loaders
    expectResampled(tex, picture);
    EXPECT_EQ(textureParameter(tex.id, GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(textureParameter(tex.id, GL_TEXTURE_WRAP_T), GL_REPEAT);
    EXPECT_EQ(textureParameter(tex.id, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(textureParameter(tex.id, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
}

TEST_F(TextureLoad, SurfaceTexturesOfEverySizeClassLoadWithoutShear)
{
    // Width 30 has 2 bytes of padding per row; 1 and 2 give rows that are not 4-byte multiples.
    const int sizes[][4] = {{1, 1, 1, 1},     {2, 3, 2, 4},      {30, 16, 32, 16}, {30, 5, 32, 8},
                            {64, 64, 64, 64}, {65, 33, 128, 64}, {256, 1, 256, 1}};
    for (const auto &size : sizes) {
        SCOPED_TRACE(std::to_string(size[0]) + "x" + std::to_string(size[1]));
        Picture picture = gradient(size[0], size[1]);
        std::vector<uint8_t> bytes = bmpBytes(picture, 24);
        putLe32(bytes, kBmpImageSize, 0);
        putLe32(bytes, kBmpDataOffset, 0);
        ASSERT_TRUE(writeBytes(folder.file("s.bmp"), bytes));
        ASSERT_EQ(o3DLoadTexture(&tex, folder.file("s.bmp").c_str()), 1);
        EXPECT_EQ(tex.width, size[2]);
        EXPECT_EQ(tex.height, size[3]);
        expectResampled(tex, picture);
        o3DFreeTexture(&tex);
    }
}

TEST_F(TextureLoad, RefusedSurfaceTextureLeavesAClearedRecordAndNoTexture)
{
    Picture picture = gradient(8, 8);
    ASSERT_TRUE(writeBmp24(folder.file("down.bmp"), picture, true));
    ASSERT_TRUE(writeBmp(folder.file("eight.bmp"), solidPicture(8, 8, {1, 2, 3}), 8));
    for (const char *name : {"down.bmp", "eight.bmp", "absent.bmp"}) {
        tex.id = 99;
        tex.width = tex.height = 5;
        tex.loaded = 1;
        GLint boundBefore = glInteger(GL_TEXTURE_BINDING_2D);
        EXPECT_EQ(o3DLoadTexture(&tex, folder.file(name).c_str()), 0) << name;
        EXPECT_EQ(tex.id, 0u);
        EXPECT_EQ(tex.width + tex.height + tex.loaded, 0);
        EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), boundBefore);
    }
    EXPECT_EQ(std::remove(folder.file("down.bmp").c_str()), 0);
}

// Six colours for the indexed and true-colour files. A 16-bit file stores 5 bits per component
// and loaders widen them differently (bit replication or scaling), so it gets colours of 0 and
// 255 only, which every loader widens alike.
const Rgb kPalette[] = {{0xFF, 0x12, 0x00}, {0x00, 0x84, 0xFE}, {0x42, 0xFF, 0x85},
                        {0xFF, 0xFF, 0xFF}, {0x01, 0x00, 0x00}, {0x84, 0x9A, 0x33}};
const Rgb kPalette16[] = {{0xFF, 0x00, 0x00}, {0x00, 0xFF, 0xFF}, {0x00, 0xFF, 0x00},
                          {0xFF, 0xFF, 0xFF}, {0x00, 0x00, 0x00}, {0xFF, 0x00, 0xFF}};

Picture patterned(int width, int height, int bitsPerPixel)
{
    const Rgb *palette = bitsPerPixel == 16 ? kPalette16 : kPalette;
    int colours = bitsPerPixel == 1 ? 2 : 6;
    return makePicture(width, height,
                       [=](int x, int y) { return palette[(x + 2 * y + (x * y) % 3) % colours]; });
}

// The picture sits in the top-left corner, opaque; the rest of the texture is transparent black.
void expectImageTexels(const TTexture &img, const Picture &picture)
{
    ASSERT_EQ(img.width, picture.width);
    ASSERT_EQ(img.height, picture.height);
    std::vector<uint8_t> texels = textureRgba(img.id, img.texWidth, img.texHeight);
    for (int y = 0; y < img.texHeight; ++y)
        for (int x = 0; x < img.texWidth; ++x) {
            Rgba expected =
                x < picture.width && y < picture.height ? rgba(picture.at(x, y)) : Rgba{0, 0, 0, 0};
            Rgba actual = texel(texels, img.texWidth, x, y);
            ASSERT_TRUE(closeTo(actual, expected, 0) && actual.a == expected.a)
                << "texel " << x << ", " << y << ": " << actual;
        }
}

TEST_F(TextureLoad, ImagesOfEveryDepthAndRowOrderGiveThePicture)
{
    for (int bits : {1, 4, 8, 16, 24, 32})
        for (bool topDown : {false, true}) {
            SCOPED_TRACE(std::to_string(bits) + (topDown ? " bits top-down" : " bits bottom-up"));
            Picture picture = patterned(13, 7, bits);
            ASSERT_TRUE(writeBmp(folder.file("d.bmp"), picture, bits, topDown));
            ASSERT_EQ(o3DLoadImage(&tex, folder.file("d.bmp").c_str()), 1);
            EXPECT_EQ(tex.texWidth, 16);
            EXPECT_EQ(tex.texHeight, 8);
            expectImageTexels(tex, picture);
            o3DFreeTexture(&tex);
        }
}

TEST_F(TextureLoad, ImageLoaderRefusesFilesThatAreNotWholeBitmaps)
{
    std::vector<uint8_t> text = {'n', 'o', 't', ' ', 'a', ' ', 'b', 'm', 'p'};
    std::vector<uint8_t> bottomUp = bmpBytes(patterned(13, 7, 24), 24);
    std::vector<uint8_t> topDown = bmpBytes(patterned(13, 7, 24), 24, true);
    const std::pair<const char *, std::vector<uint8_t>> files[] = {
        {"text", text},
        {"header only", std::vector<uint8_t>(bottomUp.begin(), bottomUp.begin() + 54)},
        {"top-down, header only", std::vector<uint8_t>(topDown.begin(), topDown.begin() + 54)},
        {"top-down, half the rows", std::vector<uint8_t>(topDown.begin(), topDown.end() - 40 * 4)},
    };
    for (const auto &file : files) {
        ASSERT_TRUE(writeBytes(folder.file("bad.bmp"), file.second));
        EXPECT_EQ(o3DLoadImage(&tex, folder.file("bad.bmp").c_str()), 0) << file.first;
        EXPECT_EQ(tex.loaded, 0);
        EXPECT_EQ(tex.id, 0u);
        EXPECT_EQ(tex.mask, nullptr);
        EXPECT_EQ(std::remove(folder.file("bad.bmp").c_str()), 0);
        o3DFreeTexture(&tex);
    }
    EXPECT_EQ(o3DLoadImage(&tex, folder.file("absent.bmp").c_str()), 0);
}

TEST_F(TextureLoad, ImageReportsItsOwnSizeAndItsTextureSize)
{
    Picture picture = gradient(100, 60);
    ASSERT_TRUE(writeBmp24(folder.file("i.bmp"), picture));
    ASSERT_EQ(o3DLoadImage(&tex, folder.file("i.bmp").c_str()), 1);
    EXPECT_EQ(tex.width, 100);
    EXPECT_EQ(tex.height, 60);
    EXPECT_EQ(tex.texWidth, 128);
    EXPECT_EQ(tex.texHeight, 64);
    EXPECT_FLOAT_EQ((float)tex.width / tex.texWidth, 0.78125f);
    EXPECT_FLOAT_EQ((float)tex.height / tex.texHeight, 0.9375f);
    expectImageTexels(tex, picture);
    EXPECT_EQ(textureParameter(tex.id, GL_TEXTURE_WRAP_S), GL_CLAMP);
    EXPECT_EQ(textureParameter(tex.id, GL_TEXTURE_WRAP_T), GL_CLAMP);
    EXPECT_EQ(glInteger(GL_UNPACK_ALIGNMENT), 4);
    GLint envMode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &envMode);
    EXPECT_EQ(envMode, GL_MODULATE);
}

TEST_F(TextureLoad, KeyedPixelsLoadTransparentAndOutOfTheMask)
{
    const Rgb magenta = {255, 0, 255}, nearMagenta = {255, 1, 255}, red = {200, 0, 0};
    Picture picture = makePicture(
        5, 3, [&](int x, int y) { return x == y ? magenta : (x == 4 ? nearMagenta : red); });
    ASSERT_TRUE(writeBmp24(folder.file("k.bmp"), picture));
    ASSERT_EQ(o3DLoadImageKeyed(&tex, folder.file("k.bmp").c_str(), 255, 0, 255), 1);
    ASSERT_NE(tex.mask, nullptr);
    std::vector<uint8_t> texels = textureRgba(tex.id, tex.texWidth, tex.texHeight);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            bool keyed = picture.at(x, y) == magenta;
            EXPECT_EQ(texel(texels, tex.texWidth, x, y).a, keyed ? 0 : 255) << x << ", " << y;
            EXPECT_EQ(tex.mask[y * 5 + x], keyed ? 0 : 1) << x << ", " << y;
        }
    // The key stays on the record, so a plain reload keys again; clearing it loads opaque.
    o3DFreeTexture(&tex);
    ASSERT_EQ(o3DLoadImage(&tex, folder.file("k.bmp").c_str()), 1);
    EXPECT_EQ(tex.mask[0], 0);
    o3DFreeTexture(&tex);
    o3DClearImageColorKey(&tex);
    ASSERT_EQ(o3DLoadImage(&tex, folder.file("k.bmp").c_str()), 1);
    EXPECT_EQ(tex.mask[0], 1);
    EXPECT_EQ(texel(textureRgba(tex.id, tex.texWidth, tex.texHeight), tex.texWidth, 0, 0).a, 255);
}

TEST_F(TextureLoad, FilteringFlagAppliesToTexturesMadeAfterIt)
{
    ASSERT_TRUE(writeBmp24(folder.file("f.bmp"), gradient(4, 4)));
    o3DDisableLinearFiltering();
    ASSERT_EQ(o3DLoadImage(&tex, folder.file("f.bmp").c_str()), 1);
    TTexture surface = {};
    ASSERT_EQ(o3DLoadTexture(&surface, folder.file("f.bmp").c_str()), 1);
    o3DEnableLinearFiltering();
    for (unsigned id : {tex.id, surface.id}) {
        EXPECT_EQ(textureParameter(id, GL_TEXTURE_MIN_FILTER), GL_NEAREST);
        EXPECT_EQ(textureParameter(id, GL_TEXTURE_MAG_FILTER), GL_NEAREST);
    }
    // The setters act on the bound texture.
    o3DBindTexture(&surface);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    o3DSetTextureFilter(1, 0);
    o3DSetTextureWrap(1, 2);
    EXPECT_EQ(textureParameter(surface.id, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(textureParameter(surface.id, GL_TEXTURE_MAG_FILTER), GL_NEAREST);
    EXPECT_EQ(textureParameter(surface.id, GL_TEXTURE_WRAP_S), GL_CLAMP);
    EXPECT_EQ(textureParameter(surface.id, GL_TEXTURE_WRAP_T), GL_REPEAT);
    EXPECT_EQ(textureParameter(tex.id, GL_TEXTURE_MIN_FILTER), GL_NEAREST);
    o3DDisableTexture();
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    o3DFreeTexture(&surface);
}

TEST_F(TextureLoad, FreeDeletesTheTextureAndKeepsTheImageSettings)
{
    ASSERT_TRUE(writeBmp24(folder.file("g.bmp"), gradient(3, 3)));
    ASSERT_EQ(o3DLoadImageKeyed(&tex, folder.file("g.bmp").c_str(), 1, 2, 3), 1);
    o3DSetImageAdditive(&tex);
    o3DSetImageTint(&tex, 0.5f, 0.25f, 0.125f);
    GLuint id = tex.id;
    ASSERT_TRUE(glIsTexture(id));
    o3DFreeTexture(&tex);
    EXPECT_FALSE(glIsTexture(id));
    EXPECT_EQ(tex.id, 0u);
    EXPECT_EQ(tex.mask, nullptr);
    EXPECT_EQ(tex.width + tex.height + tex.texWidth + tex.texHeight + tex.loaded, 0);
    EXPECT_EQ(tex.colorKeyOn, 1);
    EXPECT_EQ(tex.keyB, 3);
    EXPECT_EQ(tex.additive, 1);
    EXPECT_EQ(tex.tintG, 0.25f);
    o3DFreeTexture(&tex); // twice is harmless
    // A reload resets tint and the additive flag.
    ASSERT_EQ(o3DLoadImage(&tex, folder.file("g.bmp").c_str()), 1);
    EXPECT_EQ(tex.additive, 0);
    EXPECT_EQ(tex.tintR + tex.tintG + tex.tintB + tex.tintA, 4.0f);
}

} // namespace
