// The 2D primitives on a real context: the pixel projection of o3DBegin2D puts each shape on the
// pixels its coordinates name, with the origin at the top-left corner and y downwards.
#include "foundation_gl.h"

#include <math.h>

static ::testing::Environment *const kWindow =
    ::testing::AddGlobalTestEnvironment(new GlWindowEnvironment("Ostrel3D draw2d GL test"));

namespace {

class Draw2DGl : public ::testing::Test {
  protected:
    void SetUp() override
    {
        o3DBegin2D();
        o3DClearScreen(0.0f, 0.0f, 0.0f);
        o3DSetColor(1.0f, 0.0f, 0.0f);
    }
};

// Outlines, points and lines are checked pixel by pixel, so they are drawn aliased: the engine's
// smoothing would only soften their ends. Coordinates sit on pixel centres (n + 0.5).
class Draw2DOutlineGl : public Draw2DGl {
  protected:
    void SetUp() override
    {
        Draw2DGl::SetUp();
        glDisable(GL_LINE_SMOOTH);
        glDisable(GL_POINT_SMOOTH);
    }
    void TearDown() override
    {
        glEnable(GL_LINE_SMOOTH);
        glEnable(GL_POINT_SMOOTH);
    }
};

bool lit(const Frame &frame, int x, int y)
{
    return frame.at(x, y) == kRed;
}

TEST_F(Draw2DGl, PixelProjectionPutsOriginTopLeftAndYDownwards)
{
    o3DFillRect(0, 0, 1, 1);
    o3DSetColor(0.0f, 1.0f, 0.0f);
    o3DFillRect(799, 599, 1, 1);
    Frame frame = readFrame();
    EXPECT_EQ(frame.at(0, 0), kRed);
    EXPECT_EQ(frame.at(799, 599), kGreen);
    EXPECT_EQ(frame.at(0, 599), kBlack);
    EXPECT_EQ(frame.at(799, 0), kBlack);
    EXPECT_EQ(frame.count(kRed), 1);
    EXPECT_EQ(frame.count(kGreen), 1);
}

TEST_F(Draw2DGl, FillRectCoversExactlyItsPixels)
{
    o3DFillRect(10, 20, 30, 40);
    Frame frame = readFrame();
    EXPECT_EQ(frame.count(kRed, 10, 20, 40, 60), 30 * 40);
    EXPECT_EQ(frame.count(kRed), 30 * 40);

    o3DClearScreen(0.0f, 0.0f, 0.0f);
    o3DFillRect(0, 0, 800, 600);
    EXPECT_EQ(readFrame().count(kRed), 800 * 600);
}

TEST_F(Draw2DGl, ClearScreenFillsColourAndLeavesDepthAlone)
{
    glClearDepth(0.25);
    glClear(GL_DEPTH_BUFFER_BIT);
    glClearDepth(1.0);

    o3DClearScreen(0.2f, 0.4f, 0.6f);
    Frame frame = readFrame();
    EXPECT_EQ(frame.count({51, 102, 153}), 800 * 600);
    EXPECT_NEAR(readDepth(0, 0), 0.25f, 0.001f);
    EXPECT_NEAR(readDepth(400, 300), 0.25f, 0.001f);
}

TEST_F(Draw2DGl, FilledCircleFollowsItsRadius)
{
    const float cx = 400, cy = 300, r = 50;
    o3DFillCircle(cx, cy, r, 64);
    Frame frame = readFrame();
    for (int i = 0; i < 16; ++i) {
        float a = i * 3.14159265f / 8;
        SCOPED_TRACE(i);
        EXPECT_TRUE(lit(frame, (int)(cx + (r - 3) * cosf(a)), (int)(cy + (r - 3) * sinf(a))));
        EXPECT_FALSE(lit(frame, (int)(cx + (r + 3) * cosf(a)), (int)(cy + (r + 3) * sinf(a))));
    }
    EXPECT_NEAR(frame.count(kRed), 3.14159265 * r * r, 0.02 * 3.14159265 * r * r);
}

TEST_F(Draw2DGl, FilledCircleHasAsManyRimPointsAsSegments)
{
    // Four segments make a diamond with its corners on the axes.
    o3DFillCircle(400, 300, 100, 4);
    Frame frame = readFrame();
    EXPECT_TRUE(lit(frame, 400 + 40, 300 + 40));
    EXPECT_FALSE(lit(frame, 400 + 60, 300 + 60));
    EXPECT_TRUE(lit(frame, 400 + 97, 300));
    EXPECT_TRUE(lit(frame, 400, 300 - 97));
    EXPECT_NEAR(frame.count(kRed), 2 * 100 * 100, 400);

    o3DClearScreen(0.0f, 0.0f, 0.0f);
    o3DFillCircle(400, 300, 100, 0);
    o3DFillCircle(400, 300, 100, -3);
    o3DDrawCircle(400, 300, 100, 0);
    EXPECT_EQ(readFrame().count(kRed), 0);
}

TEST_F(Draw2DGl, FilledTriangleCoversItsInsideOnly)
{
    o3DFillTriangle(100, 100, 300, 100, 100, 300);
    Frame frame = readFrame();
    EXPECT_TRUE(lit(frame, 110, 110));
    EXPECT_TRUE(lit(frame, 290, 105));
    EXPECT_TRUE(lit(frame, 105, 290));
    EXPECT_FALSE(lit(frame, 210, 210));
    EXPECT_FALSE(lit(frame, 99, 150));
    EXPECT_NEAR(frame.count(kRed), 200 * 200 / 2, 250);
}

TEST_F(Draw2DGl, FilledPolygonUsesOnlyTheFirstCountPoints)
{
    // A square and then a point left of it: four points fill the square, five add the tip.
    const float house[] = {300, 300, 400, 300, 400, 400, 300, 400, 250, 350};
    o3DFillPolygon(house, 4);
    Frame frame = readFrame();
    EXPECT_TRUE(lit(frame, 350, 350));
    EXPECT_FALSE(lit(frame, 270, 350));
    EXPECT_NEAR(frame.count(kRed), 100 * 100, 250);

    o3DFillPolygon(house, 5);
    frame = readFrame();
    EXPECT_TRUE(lit(frame, 270, 350));
    EXPECT_FALSE(lit(frame, 260, 310));
    EXPECT_NEAR(frame.count(kRed), 100 * 100 + 100 * 50 / 2, 250);
}

TEST_F(Draw2DOutlineGl, RectOutlineRunsAlongItsFourEdges)
{
    o3DDrawRect(100.5f, 200.5f, 40, 30);
    Frame frame = readFrame();
    for (int x = 101; x < 140; ++x) {
        EXPECT_TRUE(lit(frame, x, 200)) << x;
        EXPECT_TRUE(lit(frame, x, 230)) << x;
    }
    for (int y = 201; y < 230; ++y) {
        EXPECT_TRUE(lit(frame, 100, y)) << y;
        EXPECT_TRUE(lit(frame, 140, y)) << y;
    }
    EXPECT_EQ(frame.count(kRed, 101, 201, 140, 230), 0); // hollow
    EXPECT_EQ(frame.count(kRed), frame.count(kRed, 100, 200, 141, 231));
}

TEST_F(Draw2DOutlineGl, CircleOutlineLiesOnItsRadius)
{
    const float cx = 400.5f, cy = 300.5f, r = 60;
    o3DDrawCircle(cx, cy, r, 64);
    Frame frame = readFrame();
    EXPECT_TRUE(lit(frame, 460, 300));
    EXPECT_TRUE(lit(frame, 340, 300));
    EXPECT_TRUE(lit(frame, 400, 240));
    EXPECT_TRUE(lit(frame, 400, 360));
    EXPECT_EQ(frame.count(kRed, 360, 260, 441, 341), 0); // the inscribed square is empty
    int n = frame.count(kRed);
    EXPECT_GT(n, 300); // about 2 pi r = 377 pixels
    EXPECT_LT(n, 460);
    EXPECT_EQ(n, frame.count(kRed, 338, 238, 463, 363));
}

TEST_F(Draw2DOutlineGl, TriangleAndPolygonOutlinesAreClosed)
{
    o3DDrawTriangle(100.5f, 100.5f, 200.5f, 100.5f, 100.5f, 200.5f);
    Frame frame = readFrame();
    EXPECT_TRUE(lit(frame, 150, 100));  // top edge
    EXPECT_TRUE(lit(frame, 100, 150));  // left edge
    EXPECT_TRUE(lit(frame, 150, 150));  // the closing diagonal
    EXPECT_FALSE(lit(frame, 120, 120)); // hollow

    o3DClearScreen(0.0f, 0.0f, 0.0f);
    const float square[] = {300.5f, 300.5f, 350.5f, 300.5f, 350.5f, 350.5f, 300.5f, 350.5f};
    o3DDrawPolygon(square, 4);
    frame = readFrame();
    EXPECT_TRUE(lit(frame, 320, 300));
    EXPECT_TRUE(lit(frame, 350, 320));
    EXPECT_TRUE(lit(frame, 320, 350));
    EXPECT_TRUE(lit(frame, 300, 320)); // closing edge back to the first point
    EXPECT_FALSE(lit(frame, 325, 325));

    o3DClearScreen(0.0f, 0.0f, 0.0f);
    o3DDrawPolygon(square, 0);
    o3DFillPolygon(square, 0);
    o3DDrawPolygon(nullptr, 4);
    EXPECT_EQ(readFrame().count(kRed), 0);
}

TEST_F(Draw2DOutlineGl, PointsAndLinesLandOnTheirPixels)
{
    o3DDrawPoint(200.5f, 500.5f);
    o3DDrawLine(50.5f, 550.5f, 150.5f, 550.5f);
    o3DDrawLine(700.5f, 20.5f, 700.5f, 80.5f);
    Frame frame = readFrame();
    EXPECT_TRUE(lit(frame, 200, 500));
    EXPECT_EQ(frame.count(kRed, 190, 490, 211, 511), 1);
    // Which end pixel a line keeps is the rasterizer's choice; the pixels between are not.
    EXPECT_EQ(frame.count(kRed, 51, 550, 150, 551), 99);
    EXPECT_NEAR(frame.count(kRed, 0, 550, 800, 551), 100, 1);
    EXPECT_EQ(frame.count(kRed, 700, 21, 701, 80), 59);
    EXPECT_NEAR(frame.count(kRed, 700, 0, 701, 600), 60, 1);
    EXPECT_EQ(frame.count(kRed),
              1 + frame.count(kRed, 0, 550, 800, 551) + frame.count(kRed, 700, 0, 701, 600));
}

TEST_F(Draw2DGl, SetColorIsTheColourShapesAreDrawnIn)
{
    o3DSetColor(0.0f, 0.0f, 1.0f);
    GLfloat current[4];
    glGetFloatv(GL_CURRENT_COLOR, current);
    EXPECT_FLOAT_EQ(current[0], 0.0f);
    EXPECT_FLOAT_EQ(current[1], 0.0f);
    EXPECT_FLOAT_EQ(current[2], 1.0f);
    EXPECT_FLOAT_EQ(current[3], 1.0f);
    o3DFillRect(5, 5, 10, 10);
    EXPECT_EQ(readFrame().count(kBlue), 100);
}

} // namespace
