// The first-person camera: yaw and pitch in degrees drive the forward, right and up vectors; the
// target always sits one unit ahead of the eye. Roll is stored but does not turn the view.
#include "ostrel3d.h"

#include "platform/gl_api.h"
#include "render/view.h"

#include <math.h>

static const float kPi = 3.1415927f;
static const float kPitchLimit = 89.9f;
static const float kFullTurn = 360.0f;
// Beyond this a yaw is reduced with fmod first, so wrapping never loops for long.
static const float kYawLoopLimit = 360.0f * 1024.0f;
static const float kDefaultFov = 60.0f;
static const float kDefaultNear = 0.1f;
static const float kDefaultFar = 1000.0f;

static float clampPitch(float pitch)
{
    if (pitch > kPitchLimit)
        return kPitchLimit;
    if (pitch < -kPitchLimit)
        return -kPitchLimit;
    return pitch;
}

static float wrapYaw(float yaw)
{
    if (!isfinite(yaw))
        return 0.0f;
    if (fabsf(yaw) > kYawLoopLimit)
        yaw = fmodf(yaw, kFullTurn);
    while (yaw >= kFullTurn)
        yaw -= kFullTurn;
    while (yaw < 0.0f)
        yaw += kFullTurn;
    // A tiny negative yaw plus a full turn rounds to exactly 360, which is 0.
    if (yaw >= kFullTurn)
        yaw = 0.0f;
    return yaw;
}

static TVector3 cameraPosition(const TCamera *cam)
{
    return o3DVector3(cam->posX, cam->posY, cam->posZ);
}

static void setPosition(TCamera *cam, float x, float y, float z)
{
    cam->posX = x;
    cam->posY = y;
    cam->posZ = z;
}

static void setTarget(TCamera *cam, float x, float y, float z)
{
    cam->targetX = x;
    cam->targetY = y;
    cam->targetZ = z;
}

static void setProjection(TCamera *cam, float fov, float nearPlane, float farPlane)
{
    cam->fov = fov;
    cam->nearPlane = nearPlane;
    cam->farPlane = farPlane;
}

// Yaw and pitch of the direction from the eye to the target; both 0 when they coincide.
static void anglesFromTarget(TCamera *cam)
{
    TVector3 d = o3DVectorNormalize(
        o3DVectorSub(o3DVector3(cam->targetX, cam->targetY, cam->targetZ), cameraPosition(cam)));
    double toDegrees = 180.0 / (double)kPi;
    cam->yaw = (float)(atan2((double)d.z, (double)d.x) * toDegrees);
    cam->pitch =
        (float)(atan2((double)d.y, sqrt((double)d.x * d.x + (double)d.z * d.z)) * toDegrees);
}

void o3DInitCamera(TCamera *cam)
{
    if (!cam)
        return;
    setPosition(cam, 0.0f, 0.0f, 5.0f);
    setTarget(cam, 0.0f, 0.0f, 0.0f);
    cam->upX = 0.0f;
    cam->upY = 1.0f;
    cam->upZ = 0.0f;
    setProjection(cam, kDefaultFov, kDefaultNear, kDefaultFar);
    cam->yaw = -90.0f;
    cam->pitch = 0.0f;
    cam->roll = 0.0f;
    o3DUpdateCamera(cam);
}

void o3DSetCamera(TCamera *cam, float x, float y, float z, float yaw, float pitch)
{
    if (!cam)
        return;
    setPosition(cam, x, y, z);
    cam->yaw = yaw;
    cam->pitch = pitch;
    cam->roll = 0.0f;
    setProjection(cam, kDefaultFov, kDefaultNear, kDefaultFar);
    o3DUpdateCamera(cam);
}

void o3DSetCameraLookAt(TCamera *cam, float px, float py, float pz, float tx, float ty, float tz,
                        float fov, float nearPlane, float farPlane)
{
    if (!cam)
        return;
    setPosition(cam, px, py, pz);
    setTarget(cam, tx, ty, tz);
    cam->upX = 0.0f;
    cam->upY = 1.0f;
    cam->upZ = 0.0f;
    setProjection(cam, fov, nearPlane, farPlane);
    anglesFromTarget(cam);
    cam->roll = 0.0f;
    o3DUpdateCamera(cam);
}

void o3DSetCameraVectors(TCamera *cam, float px, float py, float pz, float tx, float ty, float tz,
                         float ux, float uy, float uz)
{
    if (!cam)
        return;
    setPosition(cam, px, py, pz);
    setTarget(cam, tx, ty, tz);
    cam->upX = ux;
    cam->upY = uy;
    cam->upZ = uz;
    anglesFromTarget(cam);
    o3DUpdateCamera(cam);
}

void o3DSetCameraPosition(TCamera *cam, float x, float y, float z)
{
    if (!cam)
        return;
    setPosition(cam, x, y, z);
    o3DUpdateCamera(cam);
}

void o3DMoveCameraTo(TCamera *cam, float x, float y, float z)
{
    o3DSetCameraPosition(cam, x, y, z);
}

void o3DCameraLookAt(TCamera *cam, float x, float y, float z)
{
    if (!cam)
        return;
    setTarget(cam, x, y, z);
    anglesFromTarget(cam);
    o3DUpdateCamera(cam);
}

void o3DPointCameraAt(TCamera *cam, float x, float y, float z)
{
    o3DCameraLookAt(cam, x, y, z);
}

void o3DMoveCamera(TCamera *cam, float dx, float dy, float dz)
{
    if (!cam)
        return;
    setPosition(cam, cam->posX + dx, cam->posY + dy, cam->posZ + dz);
    o3DUpdateCamera(cam);
}

void o3DTranslateCamera(TCamera *cam, float dx, float dy, float dz)
{
    o3DMoveCamera(cam, dx, dy, dz);
}

void o3DMoveCameraForward(TCamera *cam, float distance)
{
    if (!cam)
        return;
    o3DMoveCamera(cam, cam->forwardX * distance, cam->forwardY * distance,
                  cam->forwardZ * distance);
}

void o3DStrafeCamera(TCamera *cam, float distance)
{
    if (!cam)
        return;
    o3DMoveCamera(cam, cam->rightX * distance, cam->rightY * distance, cam->rightZ * distance);
}

void o3DMoveCameraUp(TCamera *cam, float distance)
{
    o3DMoveCamera(cam, 0.0f, distance, 0.0f);
}

void o3DRotateCamera(TCamera *cam, float dyaw, float dpitch, float droll)
{
    if (!cam)
        return;
    cam->yaw = wrapYaw(cam->yaw + dyaw);
    cam->pitch = clampPitch(cam->pitch + dpitch);
    cam->roll += droll;
    o3DUpdateCamera(cam);
}

void o3DYawCamera(TCamera *cam, float angle)
{
    o3DRotateCamera(cam, angle, 0.0f, 0.0f);
}

void o3DPitchCamera(TCamera *cam, float angle)
{
    o3DRotateCamera(cam, 0.0f, angle, 0.0f);
}

void o3DRollCamera(TCamera *cam, float angle)
{
    o3DRotateCamera(cam, 0.0f, 0.0f, angle);
}

void o3DSetCameraRotation(TCamera *cam, float yaw, float pitch, float roll)
{
    if (!cam)
        return;
    cam->yaw = yaw;
    cam->pitch = clampPitch(pitch);
    cam->roll = roll;
    o3DUpdateCamera(cam);
}

void o3DSetCameraProjection(TCamera *cam, float fov, float nearPlane, float farPlane)
{
    if (!cam)
        return;
    setProjection(cam, fov, nearPlane, farPlane);
}

void o3DSetCameraFov(TCamera *cam, float fov)
{
    if (cam && fov > 0.0f && fov < 180.0f)
        cam->fov = fov;
}

void o3DSetCameraFar(TCamera *cam, float farPlane)
{
    if (cam && farPlane > cam->nearPlane)
        cam->farPlane = farPlane;
}

void o3DUpdateCamera(TCamera *cam)
{
    if (!cam)
        return;
    float yawRad = cam->yaw * kPi / 180.0f;
    float pitchRad = cam->pitch * kPi / 180.0f;
    TVector3 forward =
        o3DVectorNormalize(o3DVector3((float)(cos(pitchRad) * cos(yawRad)), (float)sin(pitchRad),
                                      (float)(cos(pitchRad) * sin(yawRad))));
    TVector3 right = o3DVectorNormalize(o3DVectorCross(forward, o3DVector3(0.0f, 1.0f, 0.0f)));
    TVector3 up = o3DVectorNormalize(o3DVectorCross(right, forward));
    cam->forwardX = forward.x;
    cam->forwardY = forward.y;
    cam->forwardZ = forward.z;
    cam->rightX = right.x;
    cam->rightY = right.y;
    cam->rightZ = right.z;
    cam->upX = up.x;
    cam->upY = up.y;
    cam->upZ = up.z;
    setTarget(cam, cam->posX + forward.x, cam->posY + forward.y, cam->posZ + forward.z);
}

void o3DApplyCamera(TCamera *cam)
{
    if (!cam)
        return;
    viewLoadPerspective(cam->fov, cam->nearPlane, cam->farPlane);
    glLoadIdentity();
    gluLookAt(cam->posX, cam->posY, cam->posZ, cam->targetX, cam->targetY, cam->targetZ, cam->upX,
              cam->upY, cam->upZ);
}

TVector3 o3DGetCameraPosition(TCamera *cam)
{
    return cam ? cameraPosition(cam) : o3DVector3(0.0f, 0.0f, 0.0f);
}

TVector3 o3DGetCameraTarget(TCamera *cam)
{
    return cam ? o3DVector3(cam->targetX, cam->targetY, cam->targetZ)
               : o3DVector3(0.0f, 0.0f, 0.0f);
}

TVector3 o3DGetCameraForward(TCamera *cam)
{
    return cam ? o3DVector3(cam->forwardX, cam->forwardY, cam->forwardZ)
               : o3DVector3(0.0f, 0.0f, -1.0f);
}

TVector3 o3DGetCameraRight(TCamera *cam)
{
    return cam ? o3DVector3(cam->rightX, cam->rightY, cam->rightZ) : o3DVector3(1.0f, 0.0f, 0.0f);
}

TVector3 o3DGetCameraUp(TCamera *cam)
{
    return cam ? o3DVector3(cam->upX, cam->upY, cam->upZ) : o3DVector3(0.0f, 1.0f, 0.0f);
}
