// Fades on a real context: the quad's colour and strength over the whole drawable area, the
// blending it leaves on, and the 2D drawing colour it gives back.
#include "foundation_gl.h"

#include <math.h>
#include <stdlib.h>

static ::testing::Environment *const kWindow =
    ::testing::AddGlobalTestEnvironment(new GlWindowEnvironment("Ostrel3D fade GL test"));

namespace {

// One 8-bit step either way for the blend's rounding.
::testing::AssertionResult nearColour(Rgb seen, Rgb expected)
{
    if (abs(seen.r - expected.r) > 1 || abs(seen.g - expected.g) > 1 ||
        abs(seen.b - expected.b) > 1)
        return ::testing::AssertionFailure() << seen << " is not " << expected;
    return ::testing::AssertionSuccess();
}

// Every pixel of the frame within one step of the colour.
::testing::AssertionResult wholeFrameIs(const Frame &frame, Rgb expected)
{
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x)
            if (!nearColour(frame.at(x, y), expected))
                return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is "
                                                     << frame.at(x, y) << ", expected " << expected;
    return ::testing::AssertionSuccess();
}

class FadeGl : public ::testing::Test {
  protected:
    void SetUp() override
    {
        o3DBegin2D();
        o3DSetColor(1.0f, 1.0f, 1.0f);
    }
    void TearDown() override
    {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
};

TEST_F(FadeGl, ColourFadeTintsTheWholeScreenAndLeavesBlendingOn)
{
    o3DClearScreen(0.0f, 0.0f, 0.0f);
    glDisable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ZERO);
    o3DDrawFade(1.0f, 0.0f, 0.0f, 0.3f);
    EXPECT_TRUE(wholeFrameIs(readFrame(), {77, 0, 0})); // 30 % of 255 over black
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    GLint src = 0, dst = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    EXPECT_EQ(src, GL_SRC_ALPHA);
    EXPECT_EQ(dst, GL_ONE_MINUS_SRC_ALPHA);
}

TEST_F(FadeGl, FadeStrengthIsClampedToZeroAndOne)
{
    o3DClearScreen(1.0f, 1.0f, 1.0f);
    o3DDrawFadeIn(-0.5f);
    EXPECT_TRUE(wholeFrameIs(readFrame(), kBlack));

    o3DClearScreen(1.0f, 1.0f, 1.0f);
    o3DDrawFadeIn(1.5f);
    EXPECT_TRUE(wholeFrameIs(readFrame(), kWhite));

    o3DClearScreen(1.0f, 1.0f, 1.0f);
    o3DDrawFadeIn(nanf(""));
    EXPECT_TRUE(wholeFrameIs(readFrame(), kBlack));

    o3DClearScreen(1.0f, 1.0f, 1.0f);
    o3DDrawFade(0.0f, 0.0f, 1.0f, 7.0f);
    EXPECT_TRUE(wholeFrameIs(readFrame(), kBlue));
}

TEST_F(FadeGl, FadeInAndOutRunInOppositeDirections)
{
    o3DClearScreen(1.0f, 1.0f, 1.0f);
    o3DDrawFadeOut(0.25f);
    EXPECT_TRUE(nearColour(readFrame().at(400, 300), {191, 191, 191}));

    o3DClearScreen(1.0f, 1.0f, 1.0f);
    o3DDrawFadeIn(0.25f);
    EXPECT_TRUE(nearColour(readFrame().at(400, 300), {64, 64, 64}));

    o3DClearScreen(1.0f, 1.0f, 1.0f);
    o3DDrawFadeInAlias(0.25f);
    EXPECT_TRUE(nearColour(readFrame().at(400, 300), {64, 64, 64}));
}

TEST_F(FadeGl, TheRememberedDrawingColourComesBackAfterAFade)
{
    o3DClearScreen(0.0f, 0.0f, 0.0f);
    o3DSetColor(0.0f, 1.0f, 0.0f);
    o3DDrawFade(1.0f, 0.0f, 1.0f, 0.5f);
    GLfloat current[4];
    glGetFloatv(GL_CURRENT_COLOR, current);
    EXPECT_FLOAT_EQ(current[0], 0.0f);
    EXPECT_FLOAT_EQ(current[1], 1.0f);
    EXPECT_FLOAT_EQ(current[2], 0.0f);
    EXPECT_FLOAT_EQ(current[3], 1.0f);

    // Colour set straight through GL is not the remembered one: the fade replaces it.
    glColor3f(0.0f, 0.0f, 1.0f);
    o3DDrawFadeOut(0.0f);
    o3DFillRect(10, 10, 20, 20);
    EXPECT_EQ(readFrame().at(15, 15), kGreen);
}

TEST_F(FadeGl, CurrentFadeDrawsOnlyOnceAFadeHasStarted)
{
    o3DClearScreen(1.0f, 1.0f, 1.0f);
    o3DDrawCurrentFade();
    EXPECT_TRUE(wholeFrameIs(readFrame(), kWhite));

    // Without timer updates no time passes, so each fade shows its starting picture.
    o3DStartFadeIn(5.0f);
    o3DUpdateFade();
    o3DDrawCurrentFade();
    EXPECT_TRUE(wholeFrameIs(readFrame(), kBlack));

    o3DClearScreen(1.0f, 1.0f, 1.0f);
    o3DStartFadeOut(5.0f);
    o3DDrawCurrentFade();
    EXPECT_TRUE(wholeFrameIs(readFrame(), kWhite));

    // A fade of no duration is already complete.
    o3DClearScreen(1.0f, 1.0f, 1.0f);
    o3DStartFadeToColor(0.0f, 0.0f, 1.0f, 0.0f);
    o3DDrawCurrentFade();
    EXPECT_TRUE(wholeFrameIs(readFrame(), kBlue));
}

} // namespace
