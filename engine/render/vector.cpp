// The engine's three-float vector: values in, values out, every result rounded to float.
#include "ostrel3d.h"

#include <math.h>

TVector3 o3DVector3(float x, float y, float z)
{
    TVector3 v = {x, y, z};
    return v;
}

TColor o3DColor(float r, float g, float b)
{
    TColor c = {r, g, b};
    return c;
}

TVector3 o3DVectorAdd(TVector3 a, TVector3 b)
{
    return o3DVector3(a.x + b.x, a.y + b.y, a.z + b.z);
}

TVector3 o3DVectorSub(TVector3 a, TVector3 b)
{
    return o3DVector3(a.x - b.x, a.y - b.y, a.z - b.z);
}

TVector3 o3DVectorScale(TVector3 a, float s)
{
    return o3DVector3(a.x * s, a.y * s, a.z * s);
}

float o3DVectorDot(TVector3 a, TVector3 b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

TVector3 o3DVectorCross(TVector3 a, TVector3 b)
{
    return o3DVector3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

float o3DVectorLength(TVector3 a)
{
    return (float)sqrt((double)a.x * a.x + (double)a.y * a.y + (double)a.z * a.z);
}

TVector3 o3DVectorNormalize(TVector3 a)
{
    float length = o3DVectorLength(a);
    if (!(length > 0.0f))
        return o3DVector3(0.0f, 0.0f, 0.0f);
    return o3DVector3(a.x / length, a.y / length, a.z / length);
}
