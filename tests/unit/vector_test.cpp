// Vector math, including the degenerate cases callers rely on.
#include "ostrel3d.h"

#include <gtest/gtest.h>

static void expectVector(TVector3 v, float x, float y, float z)
{
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
}

TEST(VectorMath, SumsScalingAndProducts)
{
    TVector3 a = o3DVector3(1, 2, 3), b = o3DVector3(-4, 5, 0.5f);
    expectVector(o3DVectorAdd(a, b), -3, 7, 3.5f);
    expectVector(o3DVectorSub(a, b), 5, -3, 2.5f);
    expectVector(o3DVectorScale(a, -2), -2, -4, -6);
    EXPECT_FLOAT_EQ(o3DVectorDot(a, b), -4 + 10 + 1.5f);
    EXPECT_FLOAT_EQ(o3DVectorLength(o3DVector3(1, 2, 2)), 3.0f);
    TColor c = o3DColor(0.25f, 0.5f, 1);
    EXPECT_FLOAT_EQ(c.g, 0.5f);
}

TEST(VectorMath, CrossProductFollowsTheRightHand)
{
    expectVector(o3DVectorCross(o3DVector3(0, 0, -1), o3DVector3(0, 1, 0)), 1, 0, 0);
    expectVector(o3DVectorCross(o3DVector3(1, 0, 0), o3DVector3(0, 0, -1)), 0, 1, 0);
    expectVector(o3DVectorCross(o3DVector3(2, 3, 4), o3DVector3(2, 3, 4)), 0, 0, 0);
}

TEST(VectorMath, NormalizeScalesToUnitLengthAndLeavesZeroAlone)
{
    expectVector(o3DVectorNormalize(o3DVector3(3, 0, 4)), 0.6f, 0, 0.8f);
    expectVector(o3DVectorNormalize(o3DVector3(0, 0, 0)), 0, 0, 0);
    TVector3 tiny = o3DVectorNormalize(o3DVector3(1e-20f, 0, 0));
    EXPECT_FLOAT_EQ(tiny.x, 1.0f);
}
