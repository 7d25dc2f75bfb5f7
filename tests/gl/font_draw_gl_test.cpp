// Bitmap-font text on a real context: where each glyph quad lands and what part of the sheet it
// samples, the keyed background, how many times and in which colours the shadow and outline forms
// draw, opacity clamping, the formatted forms' 1023-character cut, and the GL state left behind.
// The font is a small sheet and metrics file written by the test.
#include "font_gl_support.h"

#include "font_fixture.h"

#include <math.h>

#include <string>

namespace {

const Rgb kSheetWhite = {255, 255, 255};
const Rgb kSheetBlack = {0, 0, 0};

// 64 x 16: 'A' a solid 8 x 8 block at 0..8; 'B' at 8..16 with its left half black (keyed out);
// the space at 16..20, all black; 'C' a 6 x 10 block at 20..26.
Picture sheetPicture(void)
{
    return makePicture(64, 16, [](int x, int y) {
        bool a = x < 8 && y < 8;
        bool bRight = x >= 12 && x < 16 && y < 8;
        bool c = x >= 20 && x < 26 && y < 10;
        return a || bRight || c ? kSheetWhite : kSheetBlack;
    });
}

const char *const kMetrics = "METRICS1\nsheet.bmp\n8\n"
                             "65 0 0 8 8\n66 8 0 16 8\n32 16 0 20 8\n67 20 0 26 10\n";

struct Draw {
    float x, y, r, g, b, a;
};

class BitmapText : public ::testing::Test {
  protected:
    ScratchFolder folder;
    TFont font = {};
    size_t polygonsPerGlyph = 0;

    void SetUp() override
    {
        ASSERT_TRUE(writeBmp24(folder.file("sheet.bmp"), sheetPicture()));
        ASSERT_TRUE(writeTextFile(folder.file("font.met"), kMetrics));
        ASSERT_EQ(o3DLoadFont(&font, folder.file("font.met").c_str()), 1);
        beginFlatFrame(0.0f, 0.0f, 0.0f);
        polygonsPerGlyph = capturePolygons([&] { o3DDrawText(&font, 0, 0, "A"); }).size();
        ASSERT_GE(polygonsPerGlyph, 1u);
    }
    void TearDown() override
    {
        o3DFreeFont(&font);
        o3DSetTextColor(1.0f, 1.0f, 1.0f);
    }
    // The glyph quads `draw` produced, each as its top-left corner and colour.
    std::vector<Draw> draws(const std::function<void()> &draw)
    {
        std::vector<DrawnPolygon> polygons = capturePolygons(draw, 1 << 22);
        EXPECT_EQ(polygons.size() % polygonsPerGlyph, 0u);
        std::vector<Draw> quads;
        for (size_t i = 0; i + polygonsPerGlyph <= polygons.size(); i += polygonsPerGlyph) {
            float x = polygons[i].x0, y = polygons[i].y0;
            for (size_t k = i; k < i + polygonsPerGlyph; ++k)
                x = std::min(x, polygons[k].x0), y = std::min(y, polygons[k].y0);
            const DrawnPolygon &p = polygons[i];
            quads.push_back({x, y, p.r, p.g, p.b, p.a});
        }
        return quads;
    }
};

::testing::AssertionResult drawnAt(const Draw &d, float x, float y, float r, float g, float b)
{
    if (fabsf(d.x - x) < 0.01f && fabsf(d.y - y) < 0.01f && fabsf(d.r - r) < 0.01f &&
        fabsf(d.g - g) < 0.01f && fabsf(d.b - b) < 0.01f)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "drawn at " << d.x << ", " << d.y << " in " << d.r << ", " << d.g << ", " << d.b
           << "; expected " << x << ", " << y << " in " << r << ", " << g << ", " << b;
}

TEST_F(BitmapText, LoadsTheSheetWithTheRealImageLoader)
{
    EXPECT_EQ(font.sheet.width, 64);
    EXPECT_EQ(font.sheet.texHeight, 16);
    EXPECT_EQ(font.sheet.colorKeyOn, 1);
    EXPECT_EQ(font.lineHeight, 10);
    EXPECT_EQ(font.headerNumber, 8);
    EXPECT_EQ(o3DGetTextWidth(&font, "AB C"), 8 + 8 + 4 + 6);
}

TEST_F(BitmapText, GlyphQuadsCoverTheirScaledRectanglesAndSampleTheirPartOfTheSheet)
{
    std::vector<DrawnPolygon> polygons =
        capturePolygons([&] { o3DDrawTextScaled(&font, 10, 20, 2.0f, "AB"); });
    ASSERT_EQ(polygons.size(), 2 * polygonsPerGlyph);
    const DrawnPolygon &a = polygons.front();
    const DrawnPolygon &b = polygons.back();
    EXPECT_FLOAT_EQ(a.x0, 10);
    EXPECT_FLOAT_EQ(a.y0, 20);
    EXPECT_FLOAT_EQ(b.x1, 42);
    EXPECT_FLOAT_EQ(b.y1, 36);
    EXPECT_FLOAT_EQ(a.s0, 0.0f);
    EXPECT_FLOAT_EQ(a.t0, 0.0f);
    EXPECT_FLOAT_EQ(b.s1, 16.0f / 64.0f);
    EXPECT_FLOAT_EQ(b.t1, 8.0f / 16.0f);
    // A character without a glyph draws nothing and moves on by the space's 4 pixels.
    std::vector<Draw> quads = draws([&] {
        o3DDrawText(&font, 10, 20,
                    "A\x01"
                    "A");
    });
    ASSERT_EQ(quads.size(), 2u);
    EXPECT_TRUE(drawnAt(quads[1], 22, 20, 1, 1, 1));
}

TEST_F(BitmapText, KeyedPixelsStayTransparentAndTheTextColourStaysCurrent)
{
    beginFlatFrame(1.0f, 0.0f, 0.0f);
    o3DSetColor(0.0f, 0.0f, 1.0f);
    o3DSetTextColor(0.0f, 1.0f, 0.0f);
    glEnable(GL_BLEND);
    o3DDrawText(&font, 10, 10, "AB A");
    Screen screen = readScreen();
    EXPECT_EQ(screen.at(13, 13), (Rgb{0, 255, 0}));
    EXPECT_EQ(screen.at(19, 13), (Rgb{255, 0, 0})) << "B's keyed half";
    EXPECT_EQ(screen.at(24, 13), (Rgb{0, 255, 0}));
    EXPECT_EQ(screen.at(28, 13), (Rgb{255, 0, 0})) << "the keyed space";
    EXPECT_EQ(screen.at(33, 13), (Rgb{0, 255, 0}));
    EXPECT_EQ(screen.at(13, 19), (Rgb{255, 0, 0}));
    EXPECT_FALSE(glIsEnabled(GL_BLEND)) << "a keyed sheet ends with blending off";
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(currentColor(), (std::vector<float>{0, 1, 0, 1}));
}

TEST_F(BitmapText, OutlineDrawsEveryOffsetInTheOutlineColourThenTheText)
{
    std::vector<Draw> quads =
        draws([&] { o3DDrawTextOutline(&font, 100, 100, "A", 1, 0, 1, 0, 0, 0, 1); });
    ASSERT_EQ(quads.size(), 9u);
    const int offsets[8][2] = {{-1, -1}, {-1, 0}, {-1, 1}, {0, -1},
                               {0, 1},   {1, -1}, {1, 0},  {1, 1}};
    for (int k = 0; k < 8; ++k)
        EXPECT_TRUE(drawnAt(quads[k], 100.0f + offsets[k][0], 100.0f + offsets[k][1], 0, 0, 1))
            << "copy " << k;
    EXPECT_TRUE(drawnAt(quads[8], 100, 100, 0, 1, 0));
    EXPECT_EQ(currentColor(), (std::vector<float>{0, 1, 0, 1}));

    quads = draws([&] { o3DDrawTextOutline(&font, 100, 100, "A", 0, 1, 1, 0, 0, 0, 1); });
    ASSERT_EQ(quads.size(), 1u);
    EXPECT_TRUE(drawnAt(quads[0], 100, 100, 1, 1, 0));
    EXPECT_EQ(draws([&] { o3DDrawTextOutline(&font, 50, 50, "AB", 2, 1, 1, 1, 0, 0, 0); }).size(),
              2u * 25u);
    EXPECT_EQ(draws([&] {
                  o3DDrawTextOutlineScaled(&font, 50, 50, 3.0f, "A", 1, 1, 1, 1, 0, 0, 0);
              }).size(),
              9u);
}

TEST_F(BitmapText, ShadowIsDrawnFirstAndOffset)
{
    std::vector<Draw> quads =
        draws([&] { o3DDrawTextShadow(&font, 50, 60, "AA", 3, 2, 1, 1, 1, 0.5f, 0, 0); });
    ASSERT_EQ(quads.size(), 4u);
    EXPECT_TRUE(drawnAt(quads[0], 53, 62, 0.5f, 0, 0));
    EXPECT_TRUE(drawnAt(quads[1], 61, 62, 0.5f, 0, 0));
    EXPECT_TRUE(drawnAt(quads[2], 50, 60, 1, 1, 1));
    EXPECT_TRUE(drawnAt(quads[3], 58, 60, 1, 1, 1));

    quads =
        draws([&] { o3DDrawTextShadowScaled(&font, 50, 60, 2.0f, "AA", 3, 2, 0, 0, 1, 0, 1, 0); });
    ASSERT_EQ(quads.size(), 4u);
    EXPECT_TRUE(drawnAt(quads[1], 69, 62, 0, 1, 0)) << "only the pen scales, not the offset";
    EXPECT_TRUE(drawnAt(quads[3], 66, 60, 0, 0, 1));
    EXPECT_EQ(currentColor(), (std::vector<float>{0, 0, 1, 1}));
}

TEST_F(BitmapText, OutlineShadowFillsTheWholeSquareBehindTheOutline)
{
    std::vector<Draw> quads = draws([&] {
        o3DDrawTextOutlineShadow(&font, 100, 100, "A", 1, 4, 4, 0, 1, 0, 0, 0, 1, 1, 0, 0);
    });
    ASSERT_EQ(quads.size(), 18u);
    for (int k = 0; k < 9; ++k)
        EXPECT_TRUE(drawnAt(quads[k], 103.0f + k / 3, 103.0f + k % 3, 1, 0, 0)) << "shadow " << k;
    for (int k = 9; k < 17; ++k)
        EXPECT_FLOAT_EQ(quads[k].b, 1.0f) << "outline " << k;
    EXPECT_TRUE(drawnAt(quads[17], 100, 100, 0, 1, 0));
}

TEST_F(BitmapText, OpacityIsClampedAndBlendingEndsOff)
{
    beginFlatFrame(1.0f, 0.0f, 0.0f);
    o3DDrawTextAlpha(&font, 10, 10, "A", 1.7f);
    o3DDrawTextAlpha(&font, 30, 10, "A", -0.5f);
    o3DDrawTextAlpha(&font, 50, 10, "A", NAN);
    o3DDrawTextScaledAlpha(&font, 70, 10, 2.0f, "A", 0.5f);
    Screen screen = readScreen();
    EXPECT_EQ(screen.at(13, 13), (Rgb{255, 255, 255}));
    EXPECT_EQ(screen.at(33, 13), (Rgb{255, 0, 0}));
    EXPECT_EQ(screen.at(53, 13), (Rgb{255, 0, 0}));
    Rgb half = screen.at(84, 24);
    EXPECT_EQ(half.r, 255);
    EXPECT_NEAR(half.g, 128, 2);
    EXPECT_NEAR(half.b, 128, 2);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(currentColor(), (std::vector<float>{1, 1, 1, 1}));

    std::vector<Draw> quads =
        draws([&] { o3DDrawTextShadowAlpha(&font, 10, 10, "A", 1, 1, 0, 1, 0, 0, 0, 1, 0.25f); });
    ASSERT_EQ(quads.size(), 2u);
    EXPECT_FLOAT_EQ(quads[0].a, 0.25f);
    EXPECT_TRUE(drawnAt(quads[0], 11, 11, 0, 0, 1));
    EXPECT_TRUE(drawnAt(quads[1], 10, 10, 0, 1, 0));
    EXPECT_EQ(currentColor(), (std::vector<float>{0, 1, 0, 1}));
    quads = draws([&] {
        o3DDrawTextShadowScaledAlpha(&font, 10, 10, 2.0f, "AA", 1, 1, 1, 1, 1, 0, 0, 0, 9.0f);
    });
    ASSERT_EQ(quads.size(), 4u);
    EXPECT_FLOAT_EQ(quads[3].a, 1.0f);
    EXPECT_FLOAT_EQ(quads[3].x, 26.0f);
}

// A wide projection keeps a thousand glyphs inside the view, so none is clipped away.
const float kWideViewPixels = 16384.0f;

TEST_F(BitmapText, FormattedFormsCutTheirTextAt1023Characters)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, kWideViewPixels, kWindowHeight, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    std::string longText(2000, 'A');
    std::vector<Draw> quads = draws([&] { o3DDrawTextf(&font, 0, 0, "%s", longText.c_str()); });
    ASSERT_EQ(quads.size(), 1023u);
    EXPECT_FLOAT_EQ(quads.back().x, 1022.0f * 8.0f * kWindowWidth / kWideViewPixels);
    EXPECT_EQ(draws([&] {
                  o3DDrawTextShadowf(&font, 0, 0, 1, 1, 1, 1, 1, 0, 0, 0, "%s", longText.c_str());
              }).size(),
              2u * 1023u);
    EXPECT_EQ(draws([&] {
                  o3DDrawTextOutlinef(&font, 0, 0, 0, 1, 1, 1, 0, 0, 0, "%s", longText.c_str());
              }).size(),
              1023u);
    EXPECT_EQ(draws([&] { o3DDrawTextf(&font, 0, 0, "%d%c", 7, 'A'); }).size(), 1u);
}

TEST_F(BitmapText, NothingIsDrawnWithoutALoadedBitmapFont)
{
    TFont unloaded = font;
    unloaded.loaded = 0;
    TFont system = font;
    system.kind = 0;
    EXPECT_TRUE(capturePolygons([&] {
                    o3DDrawText(&unloaded, 0, 0, "AAA");
                    o3DDrawText(&system, 0, 0, "AAA");
                    o3DDrawText(&font, 0, 0, nullptr);
                    o3DDrawText(nullptr, 0, 0, "AAA");
                    o3DDrawTextAlpha(&unloaded, 0, 0, "AAA", 1.0f);
                    o3DDrawTextOutline(&system, 0, 0, "AAA", 1, 1, 1, 1, 0, 0, 0);
                    o3DDrawTextShadow(&font, 0, 0, nullptr, 1, 1, 1, 1, 1, 0, 0, 0);
                    o3DPrint(&unloaded, 0, 0, "AAA");
                }).empty());
    EXPECT_EQ(draws([&] { o3DPrint(&font, 0, 0, "AB"); }).size(), 2u);
}

// A 40 x 12 white sheet lies in a 64 x 16 texture whose padding is transparent. Rectangles that
// reach past the sheet keep their size on screen and sample only the sheet.
TEST(BitmapTextSheetEdges, RectanglesPastTheSheetAreDrawnWithClampedTextureCoordinates)
{
    ScratchFolder folder;
    ASSERT_TRUE(writeBmp24(folder.file("edge.bmp"), solidPicture(40, 12, kSheetWhite)));
    ASSERT_TRUE(writeTextFile(folder.file("edge.met"),
                              "METRICS1\nedge.bmp\n12\n82 32 0 48 8\n76 -8 4 8 12\n"
                              "68 0 8 8 20\n"));
    TFont font = {};
    ASSERT_EQ(o3DLoadFont(&font, folder.file("edge.met").c_str()), 1);
    EXPECT_EQ(font.lineHeight, 12);
    beginFlatFrame(0.0f, 0.0f, 0.0f);
    struct Case {
        const char *text;
        float width, height, s0, t0, s1, t1;
    } cases[] = {
        {"R", 16, 8, 32.0f / 64, 0.0f, 40.0f / 64, 8.0f / 16},
        {"L", 16, 8, 0.0f, 4.0f / 16, 8.0f / 64, 12.0f / 16},
        {"D", 8, 12, 0.0f, 8.0f / 16, 8.0f / 64, 12.0f / 16},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<DrawnPolygon> polygons =
            capturePolygons([&] { o3DDrawText(&font, 100, 100, c.text); });
        ASSERT_FALSE(polygons.empty()) << "the glyph was dropped";
        DrawnPolygon box = polygons.front();
        for (const DrawnPolygon &p : polygons) {
            box.x0 = std::min(box.x0, p.x0), box.x1 = std::max(box.x1, p.x1);
            box.y0 = std::min(box.y0, p.y0), box.y1 = std::max(box.y1, p.y1);
            box.s0 = std::min(box.s0, p.s0), box.s1 = std::max(box.s1, p.s1);
            box.t0 = std::min(box.t0, p.t0), box.t1 = std::max(box.t1, p.t1);
        }
        EXPECT_NEAR(box.x1 - box.x0, c.width, 0.01f);
        EXPECT_NEAR(box.y1 - box.y0, c.height, 0.01f);
        EXPECT_NEAR(box.s0, c.s0, 0.01f);
        EXPECT_NEAR(box.t0, c.t0, 0.01f);
        EXPECT_NEAR(box.s1, c.s1, 0.01f);
        EXPECT_NEAR(box.t1, c.t1, 0.01f);
    }
    // The 16 x 8 quad of R shows white throughout, none of the texture's transparent padding.
    o3DDrawText(&font, 100, 100, "R");
    auto lit = [](Rgb c) { return c.r > 127; };
    EXPECT_EQ(readScreen().count(lit, 100, 100, 116, 108), 16 * 8);
    o3DFreeFont(&font);
}

} // namespace
