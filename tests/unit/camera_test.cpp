// The camera's yaw/pitch model, its clamps and wraps, and the global projection parameters.
#include "ostrel3d.h"

#include <gtest/gtest.h>

#include <math.h>

static void expectNear(TVector3 v, float x, float y, float z)
{
    EXPECT_NEAR(v.x, x, 1e-5f);
    EXPECT_NEAR(v.y, y, 1e-5f);
    EXPECT_NEAR(v.z, z, 1e-5f);
}

TEST(Camera, InitLooksDownNegativeZFromFiveUnitsBack)
{
    TCamera cam;
    o3DInitCamera(&cam);
    expectNear(o3DGetCameraForward(&cam), 0, 0, -1);
    expectNear(o3DGetCameraRight(&cam), 1, 0, 0);
    expectNear(o3DGetCameraUp(&cam), 0, 1, 0);
    expectNear(o3DGetCameraTarget(&cam), 0, 0, 4); // position + forward, not the origin
    EXPECT_FLOAT_EQ(cam.fov, 60.0f);
    EXPECT_FLOAT_EQ(cam.nearPlane, 0.1f);
    EXPECT_FLOAT_EQ(cam.farPlane, 1000.0f);
}

TEST(Camera, YawZeroLooksAlongXAndNinetyAlongZ)
{
    TCamera cam;
    o3DSetCamera(&cam, 1, 2, 3, 0, 0);
    expectNear(o3DGetCameraForward(&cam), 1, 0, 0);
    o3DSetCamera(&cam, 1, 2, 3, 90, 0);
    expectNear(o3DGetCameraForward(&cam), 0, 0, 1);
    expectNear(o3DGetCameraRight(&cam), -1, 0, 0);
    o3DMoveCameraForward(&cam, 2);
    expectNear(o3DGetCameraPosition(&cam), 1, 2, 5);
    o3DStrafeCamera(&cam, 1);
    expectNear(o3DGetCameraPosition(&cam), 0, 2, 5);
    o3DMoveCameraUp(&cam, -2);
    o3DTranslateCamera(&cam, 1, 1, 1);
    expectNear(o3DGetCameraPosition(&cam), 1, 1, 6);
    expectNear(o3DGetCameraTarget(&cam), 1, 1, 7);
}

TEST(Camera, RotationClampsPitchAndWrapsYaw)
{
    TCamera cam;
    o3DSetCamera(&cam, 0, 0, 0, 10, 0);
    o3DRotateCamera(&cam, -30, 200, 5);
    EXPECT_FLOAT_EQ(cam.pitch, 89.9f);
    EXPECT_FLOAT_EQ(cam.yaw, 340.0f);
    EXPECT_FLOAT_EQ(cam.roll, 5.0f);
    o3DSetCamera(&cam, 0, 0, 0, 0, 0);
    o3DYawCamera(&cam, 725);
    EXPECT_FLOAT_EQ(cam.yaw, 5.0f);
    o3DPitchCamera(&cam, -500);
    EXPECT_FLOAT_EQ(cam.pitch, -89.9f);
    TVector3 upBefore = o3DGetCameraUp(&cam);
    o3DRollCamera(&cam, 30); // stored only: the view does not turn
    EXPECT_FLOAT_EQ(cam.roll, 30.0f);
    expectNear(o3DGetCameraUp(&cam), upBefore.x, upBefore.y, upBefore.z);
}

TEST(Camera, HugeOrInfiniteYawWrapsWithoutHanging)
{
    TCamera cam;
    o3DSetCamera(&cam, 0, 0, 0, 0, 0);
    o3DRotateCamera(&cam, 3.0e30f, 0, 0);
    EXPECT_GE(cam.yaw, 0.0f);
    EXPECT_LT(cam.yaw, 360.0f);
    o3DRotateCamera(&cam, INFINITY, 0, 0);
    EXPECT_GE(cam.yaw, 0.0f);
    EXPECT_LT(cam.yaw, 360.0f);
}

// Turns that end a hair below a whole number of turns: the sum rounds to exactly 360 in float.
TEST(Camera, RotatedYawStaysBelow360)
{
    struct Case {
        float start, turn, expected;
    } cases[] = {
        {0.0f, -1.0e-6f, 0.0f},     {0.0f, -1.0e-5f, 0.0f},   {720.0f, -1.0e-6f, 0.0f},
        {10.0f, -10.000001f, 0.0f}, {359.0f, 0.99999f, 0.0f}, {0.0f, -3.0e-5f, 359.99997f},
        {0.0f, -1.0e-30f, 0.0f},    {180.0f, -540.0f, 0.0f},  {0.0f, -1.0e7f - 1.0e-3f, 80.0f},
    };
    for (const Case &c : cases) {
        TCamera cam;
        o3DSetCamera(&cam, 0, 0, 0, 0, 0);
        o3DSetCameraRotation(&cam, c.start, 0, 0);
        o3DRotateCamera(&cam, c.turn, 0, 0);
        EXPECT_GE(cam.yaw, 0.0f) << c.start << " turned by " << c.turn;
        EXPECT_LT(cam.yaw, 360.0f) << c.start << " turned by " << c.turn;
        EXPECT_NEAR(cam.yaw, c.expected, 1e-3f) << c.start << " turned by " << c.turn;
    }
}

TEST(Camera, SetRotationClampsPitchButKeepsYaw)
{
    TCamera cam;
    o3DInitCamera(&cam);
    o3DSetCameraRotation(&cam, 400, 95, 1);
    EXPECT_FLOAT_EQ(cam.yaw, 400.0f);
    EXPECT_FLOAT_EQ(cam.pitch, 89.9f);
}

TEST(Camera, AnglesFollowTheLookDirection)
{
    TCamera cam;
    o3DInitCamera(&cam);
    o3DCameraLookAt(&cam, 0, 10, 5); // straight above
    EXPECT_FLOAT_EQ(cam.pitch, 90.0f);
    EXPECT_FLOAT_EQ(cam.yaw, 0.0f);

    o3DSetCameraLookAt(&cam, 0, 0, 0, -1, 0, -1, 70, 0.5f, 50);
    EXPECT_NEAR(cam.yaw, -135.0f, 1e-4f);
    EXPECT_NEAR(cam.pitch, 0.0f, 1e-5f);
    EXPECT_FLOAT_EQ(cam.fov, 70.0f);
    expectNear(o3DGetCameraForward(&cam), -0.70710677f, 0, -0.70710677f);

    o3DPointCameraAt(&cam, 0, 0, 0); // the eye itself: no direction
    EXPECT_EQ(cam.yaw, 0.0f);
    EXPECT_EQ(cam.pitch, 0.0f);

    o3DSetCameraVectors(&cam, 0, 0, 0, 0, -1, 0, 5, 5, 5); // the given up is recomputed
    EXPECT_FLOAT_EQ(cam.pitch, -90.0f);
    EXPECT_NEAR(o3DVectorLength(o3DGetCameraUp(&cam)), 1.0f, 1e-5f);
}

TEST(Camera, ProjectionSettersRejectOutOfRangeValues)
{
    TCamera cam;
    o3DInitCamera(&cam);
    o3DSetCameraFov(&cam, 180);
    o3DSetCameraFov(&cam, 0);
    EXPECT_FLOAT_EQ(cam.fov, 60.0f);
    o3DSetCameraFov(&cam, 179.9f);
    EXPECT_FLOAT_EQ(cam.fov, 179.9f);
    o3DSetCameraFar(&cam, 0.1f);
    EXPECT_FLOAT_EQ(cam.farPlane, 1000.0f);
    o3DSetCameraFar(&cam, 250);
    EXPECT_FLOAT_EQ(cam.farPlane, 250.0f);
    o3DSetCameraProjection(&cam, -1, 5, 2); // stored unchecked
    EXPECT_FLOAT_EQ(cam.fov, -1.0f);
}

TEST(Camera, NullCamerasAreIgnoredAndGettersGiveDefaults)
{
    o3DInitCamera(nullptr);
    o3DRotateCamera(nullptr, 1, 1, 1);
    o3DApplyCamera(nullptr);
    expectNear(o3DGetCameraPosition(nullptr), 0, 0, 0);
    expectNear(o3DGetCameraTarget(nullptr), 0, 0, 0);
    expectNear(o3DGetCameraForward(nullptr), 0, 0, -1);
    expectNear(o3DGetCameraRight(nullptr), 1, 0, 0);
    expectNear(o3DGetCameraUp(nullptr), 0, 1, 0);
}

TEST(GlobalProjection, SettersKeepTheirRanges)
{
    o3DSetFov(180);
    o3DSetFov(0);
    EXPECT_FLOAT_EQ(o3DGetFov(), 45.0f);
    o3DSetFov(179.9f);
    EXPECT_FLOAT_EQ(o3DGetFov(), 179.9f);
    o3DSetNearPlane(o3DGetFarPlane());
    EXPECT_FLOAT_EQ(o3DGetNearPlane(), 0.1f);
    o3DSetFarPlane(o3DGetNearPlane());
    EXPECT_FLOAT_EQ(o3DGetFarPlane(), 1000.0f);
    o3DSetNearPlane(2);
    o3DSetFarPlane(3);
    EXPECT_FLOAT_EQ(o3DGetNearPlane(), 2.0f);
    EXPECT_FLOAT_EQ(o3DGetFarPlane(), 3.0f);
}
