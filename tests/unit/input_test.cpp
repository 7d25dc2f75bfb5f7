// Keyboard and mouse sampling over a scripted platform: edges, bounds, the wheel, capture.
#include "ostrel3d.h"

#include "fake_platform.h"

#include <gtest/gtest.h>

#include <limits.h>

class Input : public ::testing::Test {
  protected:
    void SetUp() override
    {
        installFakePlatform();
        gFake.haveWindow = 1;
        o3DInitKeyboard();
        o3DInitMouse();
    }
    void TearDown() override
    {
        o3DReleaseMouse();
        platformResetSeam();
    }
    void frame()
    {
        o3DUpdateMouse();
        o3DUpdateKeyboard();
    }
};

TEST_F(Input, AHeldKeyIsPressedOnceDownThroughoutAndReleasedAfter)
{
    gFake.keys['W'] = 1;
    frame();
    EXPECT_EQ(o3DKeyPressed('W'), 1);
    EXPECT_EQ(o3DKeyDown('W'), 1);
    EXPECT_EQ(o3DAnyKeyPressed(), 1);
    frame();
    EXPECT_EQ(o3DKeyPressed('W'), 0);
    EXPECT_EQ(o3DKeyDown('W'), 1);
    EXPECT_EQ(o3DAnyKeyPressed(), 0);
    gFake.keys['W'] = 0;
    frame();
    EXPECT_EQ(o3DKeyReleased('W'), 1);
    EXPECT_EQ(o3DKeyDown('W'), 0);
    frame();
    EXPECT_EQ(o3DKeyReleased('W'), 0);
}

TEST_F(Input, AKeyTappedBetweenSamplesIsNotSeen)
{
    frame();
    gFake.keys[13] = 1;
    gFake.keys[13] = 0;
    frame();
    EXPECT_EQ(o3DKeyPressed(13), 0);
    EXPECT_EQ(o3DAnyKeyPressed(), 0);
}

TEST_F(Input, CodesAndButtonsOutOfRangeReadAsZero)
{
    for (int code = 0; code < 256; ++code)
        gFake.keys[code] = 1;
    frame();
    for (int code : {-1, 256, 1000}) {
        EXPECT_EQ(o3DKeyDown(code), 0);
        EXPECT_EQ(o3DKeyPressed(code), 0);
        EXPECT_EQ(o3DKeyReleased(code), 0);
    }
    EXPECT_EQ(o3DMouseButtonDown(3), 0);
    EXPECT_EQ(o3DMouseButtonPressed(3), 0);
    EXPECT_EQ(o3DMouseButtonDown(-1), 0);
    EXPECT_EQ(o3DKeyDown(255), 1);
}

TEST_F(Input, MouseButtonsAreTheKeyCodesOneTwoAndFour)
{
    gFake.keys[1] = 1;
    gFake.keys[4] = 1;
    frame();
    EXPECT_EQ(o3DMouseButtonPressed(0), 1);
    EXPECT_EQ(o3DMouseButtonDown(1), 0);
    EXPECT_EQ(o3DMouseButtonPressed(2), 1);
    EXPECT_EQ(o3DKeyDown(1), 1);
    gFake.keys[1] = 0;
    frame();
    EXPECT_EQ(o3DMouseButtonReleased(0), 1);
    EXPECT_EQ(o3DMouseButtonDown(2), 1);
    EXPECT_EQ(o3DMouseButtonPressed(2), 0);
}

TEST_F(Input, FreeMouseReportsPositionAndMovement)
{
    gFake.cursorX = 100;
    gFake.cursorY = 50;
    frame();
    gFake.cursorX = 90;
    gFake.cursorY = 70;
    frame();
    EXPECT_EQ(o3DGetMouseX(), 90);
    EXPECT_EQ(o3DGetMouseDX(), -10);
    EXPECT_EQ(o3DGetMouseDY(), 20);
    int x = 0, y = 0;
    o3DGetMousePos(&x, nullptr);
    o3DGetMousePos(nullptr, &y);
    EXPECT_EQ(x, 90);
    EXPECT_EQ(y, 70);
}

TEST_F(Input, WithoutAWindowThePositionStaysButButtonsAndWheelAreSampled)
{
    gFake.cursorX = 100;
    frame();
    gFake.haveWindow = 0;
    gFake.cursorX = 300;
    gFake.keys[2] = 1;
    o3DAddMouseWheel(3);
    frame();
    EXPECT_EQ(o3DGetMouseX(), 100);
    EXPECT_EQ(o3DGetMouseDX(), 0);
    EXPECT_EQ(o3DMouseButtonPressed(1), 1);
    EXPECT_EQ(o3DGetMouseWheelDelta(), 3);
}

TEST_F(Input, WheelDeltaCoversTheStepsAddedSinceTheLastSample)
{
    o3DAddMouseWheel(2);
    o3DAddMouseWheel(-5);
    frame();
    EXPECT_EQ(o3DGetMouseWheel(), -3);
    EXPECT_EQ(o3DGetMouseWheelDelta(), -3);
    frame();
    EXPECT_EQ(o3DGetMouseWheelDelta(), 0);
    EXPECT_EQ(o3DGetMouseWheel(), -3);
}

TEST_F(Input, CaptureMeasuresFromTheCentreAndRecentresEveryFrame)
{
    gFake.clientWidth = 801;
    gFake.clientHeight = 601;
    gFake.cursorX = 10;
    gFake.cursorY = 20;
    o3DCaptureMouse();
    o3DCaptureMouse();
    EXPECT_EQ(gFake.hideCalls, 1);
    EXPECT_EQ(o3DIsMouseCaptured(), 1);

    frame();
    EXPECT_EQ(o3DGetMouseDX(), 10 - 400); // from wherever the cursor was
    EXPECT_EQ(o3DGetMouseDY(), 20 - 300);
    EXPECT_EQ(o3DGetMouseX(), 400);
    ASSERT_FALSE(gFake.cursorMoves.empty());
    EXPECT_EQ(gFake.cursorMoves.back(), std::make_pair(400, 300));

    gFake.cursorX += 7;
    frame();
    EXPECT_EQ(o3DGetMouseDX(), 7);
    EXPECT_EQ(o3DGetMouseDY(), 0);

    o3DReleaseMouse();
    o3DReleaseMouse();
    EXPECT_EQ(gFake.showCalls, 1);
    EXPECT_EQ(gFake.cursorCount, 0);
}

TEST_F(Input, ReleasingAFreeMouseShowsNothing)
{
    o3DReleaseMouse();
    EXPECT_EQ(gFake.showCalls, 0);
    o3DHideCursor();
    o3DShowCursor();
    EXPECT_EQ(gFake.hideCalls, 1);
    EXPECT_EQ(gFake.showCalls, 1);
}

TEST_F(Input, RectAndCircleTestsCountTheirEdgesAsInside)
{
    gFake.cursorX = 10;
    gFake.cursorY = 10;
    frame();
    EXPECT_EQ(o3DMouseInRect(10, 10, 0, 0), 1);
    EXPECT_EQ(o3DMouseInRect(11, 10, 0, 0), 0);
    EXPECT_EQ(o3DMouseInRect(0, 0, 10, 10), 1);
    EXPECT_EQ(o3DMouseInRect(0, 0, 9, 10), 0);
    EXPECT_EQ(o3DMouseInCircle(13, 14, 5), 1); // 9 + 16 = 25
    EXPECT_EQ(o3DMouseInCircle(13, 14, 4), 0);
    EXPECT_EQ(o3DMouseInCircle(10, 10, 0), 1);
}

// Edges far out of range: the far edge is x + width as a number, not wrapped round to negative.
TEST_F(Input, RectEdgesBeyondTheIntRangeCompareAsNumbers)
{
    gFake.cursorX = 10;
    gFake.cursorY = -10;
    frame();
    const int kMax = INT_MAX, kMin = INT_MIN;
    struct Case {
        int x, y, width, height, inside;
    } cases[] = {
        {0, -20, kMax, kMax, 1},          {10, -10, kMax, kMax, 1}, {kMin, kMin, kMax, kMax, 0},
        {kMin, kMin, kMax, kMax - 1, 0},  {kMin, -10, -1, 0, 0},    {10, kMin, 0, kMax, 1},
        {kMax, kMax, kMax, kMax, 0},      {kMin, kMin, kMax, 0, 0}, {-kMax, -kMax, kMax, kMax, 0},
        {kMin + 20, kMin, kMax, kMax, 1}, {10, -10, kMin, kMin, 0}, {11, -10, kMin, 0, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(o3DMouseInRect(c.x, c.y, c.width, c.height), c.inside)
            << c.x << ", " << c.y << ", " << c.width << " x " << c.height;
}
