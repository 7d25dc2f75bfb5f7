// System-font text on a real context with the platform's own fonts: a known and an unknown face
// both draw visible text where asked and measure what they draw; weight and size reach the
// platform; alignment, the formatted form's cut, the colour left current, and freeing. Lists made
// by hand (each moving the raster position one pixel) make positions exact.
#include "font_gl_support.h"

#include "font_fixture.h"
#include "platform/seam.h"

#include <string>

namespace {

const char *const kKnownFace = "DejaVu Sans";
const char *const kUnknownFace = "No Such Face 4711";
const int kSize = 24;
// An empty bitmap still needs a pointer: Mesa takes null for a failed allocation.
const GLubyte kNoPixels[1] = {0};

bool isGreen(Rgb c)
{
    return c.g > 128 && c.r < 64 && c.b < 64;
}

class SystemText : public ::testing::Test {
  protected:
    TFont font = {};

    void SetUp() override
    {
        beginFlatFrame(0.0f, 0.0f, 0.0f);
    }
    void TearDown() override
    {
        o3DFreeFont(&font);
        platformResetSeam();
        o3DSetTextColor(1.0f, 1.0f, 1.0f);
    }
    // A system font whose 256 lists draw nothing and move the raster position one pixel right.
    void makeOnePixelFont(int size)
    {
        installFakeFontSeam(); // 7 pixels per byte, and a handle it can release
        font = TFont();
        font.kind = 0;
        font.size = size;
        font.listBase = glGenLists(256);
        for (GLuint i = 0; i < 256; ++i) {
            glNewList(font.listBase + i, GL_COMPILE);
            glBitmap(0, 0, 0, 0, 1, 0, kNoPixels);
            glEndList();
        }
        font.deviceContext = &gFakeFontToken;
        font.loaded = 1;
    }
};

// Draws "Hello" in green at (40, 40) and checks that it shows up inside its line and nowhere else.
void expectVisibleText(TFont *font)
{
    beginFlatFrame(0.0f, 0.0f, 0.0f);
    o3DSetTextColor(0.0f, 1.0f, 0.0f);
    o3DPrintSystem(font, 40, 40, "Hello");
    int width = o3DMeasureSystemText(font, "Hello");
    EXPECT_GT(width, kSize);
    EXPECT_LT(width, kSize * 5);
    Screen screen = readScreen();
    int inside = screen.count(isGreen, 38, 40, 42 + width, 40 + kSize + 4);
    EXPECT_GT(inside, kSize * 4) << "text pixels in the line";
    EXPECT_EQ(screen.count(isGreen), inside) << "text pixels outside the line";
    EXPECT_GT(screen.count(isGreen, 38, 40 + kSize - 4, 42 + width, 40 + kSize), 4)
        << "the letters stand on a baseline size pixels below the top";
}

TEST_F(SystemText, KnownFaceDrawsVisibleTextWhereAsked)
{
    ASSERT_EQ(o3DCreateSystemFont(&font, kKnownFace, kSize, 400, 0), 1);
    EXPECT_EQ(font.loaded, 1);
    EXPECT_EQ(font.kind, 0);
    EXPECT_NE(font.listBase, 0u);
    EXPECT_NE(font.deviceContext, nullptr);
    EXPECT_EQ(o3DGetFontHeight(&font), kSize);
    EXPECT_STREQ(font.faceName, kKnownFace);
    expectVisibleText(&font);
}

TEST_F(SystemText, UnknownFaceFallsBackToAFontThatDraws)
{
    ASSERT_EQ(o3DCreateSystemFont(&font, kUnknownFace, kSize, 400, 0), 1);
    expectVisibleText(&font);
    EXPECT_EQ(o3DGetTextWidth(&font, ""), 0);
}

// Measuring must use this font, not whatever the device context holds: the width the platform
// reports is how far the lists move the raster position.
TEST_F(SystemText, MeasuredWidthIsHowFarTheTextMoves)
{
    for (int weight : {400, 700}) {
        ASSERT_EQ(o3DCreateSystemFont(&font, kKnownFace, kSize, weight, 0), 1);
        const char *text = "Wide text, 0123 MMM";
        o3DPrintSystem(&font, 10, 100, text);
        RasterPos end = rasterPos();
        ASSERT_TRUE(end.valid);
        // GDI's extents and its glyph bitmaps' advances may round apart by a pixel.
        EXPECT_NEAR(end.x - 10.0f, (float)o3DMeasureSystemText(&font, text), 2.0f)
            << "weight " << weight;
        EXPECT_EQ(o3DGetTextWidth(&font, text), o3DMeasureSystemText(&font, text));
        o3DFreeFont(&font);
    }
}

TEST_F(SystemText, WeightAndSizeReachThePlatform)
{
    const char *text = "Measured words";
    ASSERT_EQ(o3DCreateSystemFont(&font, kKnownFace, kSize, 400, 0), 1);
    int regular = o3DGetTextWidth(&font, text);
    o3DFreeFont(&font);
    ASSERT_EQ(o3DCreateSystemFont(&font, kKnownFace, kSize, 700, 0), 1);
    int bold = o3DGetTextWidth(&font, text);
    o3DFreeFont(&font);
    ASSERT_EQ(o3DCreateSystemFont(&font, kKnownFace, kSize * 2, 400, 0), 1);
    int large = o3DGetTextWidth(&font, text);
    EXPECT_GT(bold, regular);
    EXPECT_GT(large, regular * 3 / 2);
    EXPECT_LT(large, regular * 5 / 2);
}

TEST_F(SystemText, PrintingLeavesTheTextColourCurrent)
{
    ASSERT_EQ(o3DCreateSystemFont(&font, kKnownFace, kSize, 400, 0), 1);
    o3DSetColor(1.0f, 0.0f, 0.0f);
    o3DSetTextColor(0.25f, 0.5f, 0.75f);
    EXPECT_EQ(currentColor(), (std::vector<float>{1, 0, 0, 1})) << "setting it draws nothing";
    o3DPrint(&font, 10, 10, "x");
    EXPECT_EQ(currentColor(), (std::vector<float>{0.25f, 0.5f, 0.75f, 1}));
}

TEST_F(SystemText, AlignmentMovesTheStartByTheMeasuredWidthAndTheHeight)
{
    makeOnePixelFont(20);
    struct Case {
        int flags;
        float x, baseline;
    };
    // "abcd" is 28 pixels wide; the baseline lies size (20) below the top of the line.
    const Case cases[] = {{0, 400, 320},  {1, 386, 320}, {2, 372, 320},  {3, 386, 320},
                          {4, 400, 310},  {8, 400, 300}, {12, 400, 310}, {15, 386, 310},
                          {16, 400, 320}, {10, 372, 300}};
    for (const Case &c : cases) {
        o3DPrintSystemAligned(&font, 400, 300, c.flags, "abcd");
        RasterPos end = rasterPos();
        EXPECT_FLOAT_EQ(end.x, c.x + 4.0f) << "flags " << c.flags;
        EXPECT_FLOAT_EQ(end.y, c.baseline) << "flags " << c.flags;
    }
    // A bitmap font draws nothing here.
    TFont bitmap = font;
    bitmap.kind = 1;
    glRasterPos2f(5, 5);
    o3DPrintSystemAligned(&bitmap, 400, 300, 0, "abcd");
    o3DPrintSystem(&bitmap, 400, 300, "abcd");
    EXPECT_FLOAT_EQ(rasterPos().x, 5.0f);
}

TEST_F(SystemText, FormattedPrintIsCutAt1023Characters)
{
    makeOnePixelFont(0);
    std::string longText(2000, 'x');
    o3DPrintSystemf(&font, 0, 10, "%s", longText.c_str());
    EXPECT_FLOAT_EQ(rasterPos().x, 1023.0f);
    o3DPrintSystemf(&font, 0, 10, "%d-%s", 42, "ab");
    EXPECT_FLOAT_EQ(rasterPos().x, 5.0f);
}

// A line that starts left of the window or whose baseline lies below it is drawn clipped: the
// pixels inside the window are exactly those of the same line drawn whole elsewhere, shifted.
TEST_F(SystemText, ALineStartingOutsideTheWindowShowsItsVisiblePart)
{
    ASSERT_EQ(o3DCreateSystemFont(&font, kKnownFace, kSize, 400, 0), 1);
    const char *text = "Hello";
    const int width = o3DMeasureSystemText(&font, text);
    const int refX = 200, refY = 200;
    beginFlatFrame(0.0f, 0.0f, 0.0f);
    o3DSetTextColor(0.0f, 1.0f, 0.0f);
    o3DPrintSystem(&font, refX, refY, text);
    Screen whole = readScreen();
    const int wholeCount = whole.count(isGreen);
    ASSERT_GT(wholeCount, kSize * 4);

    struct Case {
        int x, y;
    } cases[] = {
        {-width / 2, 100},                       // left half outside
        {-width + kSize / 2, 100},               // only part of the last letter inside
        {100, kWindowHeight - kSize / 2},        // baseline below the window
        {-width / 2, kWindowHeight - kSize / 3}, // both
        {kWindowWidth - width / 2, 100},         // right half outside
        {100, -kSize / 2},                       // top half above the window
        {-width / 2, -kSize / 2},                // left and above
    };
    for (const Case &c : cases) {
        beginFlatFrame(0.0f, 0.0f, 0.0f);
        o3DSetTextColor(0.0f, 1.0f, 0.0f);
        o3DPrintSystem(&font, (float)c.x, (float)c.y, text);
        Screen cut = readScreen();
        int shown = 0, wrong = 0;
        for (int y = 0; y < kWindowHeight; ++y) {
            for (int x = 0; x < kWindowWidth; ++x) {
                int wholeX = x - c.x + refX, wholeY = y - c.y + refY;
                bool inWhole = wholeX >= 0 && wholeX < kWindowWidth && wholeY >= 0 &&
                               wholeY < kWindowHeight && isGreen(whole.at(wholeX, wholeY));
                bool green = isGreen(cut.at(x, y));
                shown += green;
                wrong += green != inWhole;
            }
        }
        EXPECT_GT(shown, 0) << "at " << c.x << ", " << c.y;
        EXPECT_LT(shown, wholeCount) << "at " << c.x << ", " << c.y;
        EXPECT_EQ(wrong, 0) << "at " << c.x << ", " << c.y;
    }
}

TEST_F(SystemText, FreeingTwiceIsHarmlessAndLeavesNoLists)
{
    ASSERT_EQ(o3DCreateSystemFont(&font, kKnownFace, kSize, 400, 1), 1);
    // Wine's list building leaves a spurious out-of-memory error behind; start clean.
    while (glGetError() != GL_NO_ERROR) {
    }
    GLuint lists = font.listBase;
    EXPECT_TRUE(glIsList(lists));
    EXPECT_TRUE(glIsList(lists + 255));
    o3DFreeFont(&font);
    EXPECT_EQ(font.loaded, 0);
    EXPECT_EQ(font.listBase, 0u);
    EXPECT_EQ(font.deviceContext, nullptr);
    EXPECT_FALSE(glIsList(lists));
    o3DFreeFont(&font);
    EXPECT_EQ(font.loaded, 0);
    EXPECT_EQ(o3DGetTextWidth(&font, "x"), 0);
    o3DPrintSystem(&font, 10, 10, "drawn with nothing");
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
}

TEST_F(SystemText, FailedCreationLeavesNoLists)
{
    installFakeFontSeam();
    gFakeFont.createSucceeds = 0;
    EXPECT_EQ(o3DCreateSystemFont(&font, kKnownFace, 30, 700, 1), 0);
    EXPECT_EQ(gFakeFont.createCalls, 1);
    EXPECT_EQ(gFakeFont.lastSize, 30);
    EXPECT_EQ(gFakeFont.lastWeight, 700);
    EXPECT_EQ(gFakeFont.lastItalic, 1);
    EXPECT_EQ(gFakeFont.lastFace, kKnownFace);
    EXPECT_NE(gFakeFont.lastListBase, 0u);
    EXPECT_FALSE(glIsList(gFakeFont.lastListBase));
    EXPECT_EQ(font.loaded, 0);
    EXPECT_EQ(font.listBase, 0u);
    EXPECT_EQ(font.size, 30);
}

} // namespace
