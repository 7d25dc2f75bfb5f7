// The enemy: a hulking snow beast as an MD2 model (198 key frames in the layout of the engine's
// animation table) with its skin. The body is a small skeleton of rigid fur-covered ellipsoids;
// each frame poses the skeleton and stores every vertex compressed to bytes.
//
// Model space is the usual MD2 one: x forward, y left, z up. The game draws the model turned so
// z is up and +x faces its direction of travel, scaled by 0.06, with its origin 1.3 above the
// ground; the beast is designed in world metres around that origin and converted at the end.
#include "assetgen.h"

#include "assets/md2.h"

#include <math.h>
#include <stdio.h>
#include <string.h>

const AnimationRow kPlayedRows[5] = {{0, 39}, {40, 45}, {46, 53}, {54, 57}, {178, 183}};

namespace {

const float kPi = 3.14159265f;
const float kOriginAboveGround = 1.3f, kDrawScale = 0.06f;
const float kBodyScale = 1.25f; // grows the designed body about the ground point: about 3 m tall
const int kSkinSize = 256;

struct Vec3 {
    float x, y, z;
};

Vec3 add(Vec3 a, Vec3 b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

// A rigid transform: p' = rows * p + t.
struct Frame {
    float m[3][3];
    Vec3 t;
};

Frame identity()
{
    return {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {0, 0, 0}};
}

Vec3 rotate(const Frame &f, Vec3 p)
{
    return {f.m[0][0] * p.x + f.m[0][1] * p.y + f.m[0][2] * p.z,
            f.m[1][0] * p.x + f.m[1][1] * p.y + f.m[1][2] * p.z,
            f.m[2][0] * p.x + f.m[2][1] * p.y + f.m[2][2] * p.z};
}

Vec3 apply(const Frame &f, Vec3 p)
{
    return add(rotate(f, p), f.t);
}

// a then b in a's frame: the child frame b expressed in a's parent.
Frame compose(const Frame &a, const Frame &b)
{
    Frame r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j];
    r.t = apply(a, b.t);
    return r;
}

Frame axisRotation(int axis, float angle)
{
    Frame f = identity();
    const float c = cosf(angle), s = sinf(angle);
    const int a = (axis + 1) % 3, b = (axis + 2) % 3;
    f.m[a][a] = c;
    f.m[a][b] = -s;
    f.m[b][a] = s;
    f.m[b][b] = c;
    return f;
}

Frame at(Vec3 offset)
{
    Frame f = identity();
    f.t = offset;
    return f;
}

// Turning about y by a positive angle tips +z towards +x (leans forward) and swings a limb
// hanging along -z backwards; `forward` swings a hanging limb forwards.
Frame tipForward(float angle)
{
    return axisRotation(1, angle);
}

Frame forward(float angle)
{
    return axisRotation(1, -angle);
}

Frame rollLeft(float angle)
{
    return axisRotation(0, angle);
}

Frame turn(float angle)
{
    return axisRotation(2, angle);
}

// ---- pose --------------------------------------------------------------------------------------

struct Pose {
    Vec3 shift;     // whole body, metres
    float fall;     // whole body tipped backwards about the feet (negative: forwards)
    float fallSide; // tipped towards its left
    float lean, twist, breathe;
    float headNod, headTurn, jaw;
    float armForward[2], armOut[2], elbow[2]; // 0 left, 1 right
    float legForward[2], knee[2];
    float crouch; // 0 standing .. 1 crouched
    float settle; // 0 .. 1: how far the lowest point is brought onto the ground (falling)
};

const float kBaseLean = 0.35f; // the beast stoops

enum Bone {
    kRoot,
    kSpine,
    kHead,
    kJaw,
    kShoulderL,
    kElbowL,
    kHandL,
    kShoulderR,
    kElbowR,
    kHandR,
    kHipL,
    kKneeL,
    kAnkleL,
    kHipR,
    kKneeR,
    kAnkleR,
    kBoneCount
};

void poseSkeleton(const Pose &p, Frame *bones)
{
    const float crouchDrop = 0.32f * p.crouch;
    // Falling turns the body about a point at hip height behind the feet, so a fallen body lies
    // on the ground instead of in it.
    Frame root = at({p.shift.x, p.shift.y, p.shift.z - crouchDrop});
    const Vec3 pivot = {-0.1f, 0.0f, -0.75f};
    root = compose(root, at(pivot));
    root = compose(root, tipForward(-p.fall));
    root = compose(root, rollLeft(-p.fallSide));
    root = compose(root, at({-pivot.x, -pivot.y, -pivot.z - 0.26f}));
    bones[kRoot] = root;

    const float lean = kBaseLean + p.lean + 0.3f * p.crouch;
    bones[kSpine] =
        compose(root, compose(at({-0.05f, 0, 0.10f}), compose(tipForward(lean), turn(p.twist))));
    bones[kHead] = compose(
        bones[kSpine], compose(at({0.35f, 0, 0.85f}),
                               compose(tipForward(-lean * 0.8f + p.headNod), turn(p.headTurn))));
    bones[kJaw] = compose(bones[kHead], compose(at({0.12f, 0, -0.08f}), tipForward(p.jaw)));
    for (int side = 0; side < 2; ++side) {
        const float y = side == 0 ? 1.0f : -1.0f;
        const Frame shoulder =
            compose(at({0.12f, 0.62f * y, 0.72f}),
                    compose(tipForward(-lean), compose(forward(0.2f + p.armForward[side]),
                                                       rollLeft((0.15f + p.armOut[side]) * y))));
        const int s = side == 0 ? kShoulderL : kShoulderR;
        bones[s] = compose(bones[kSpine], shoulder);
        bones[s + 1] =
            compose(bones[s], compose(at({0, 0, -0.70f}), forward(0.2f + p.elbow[side])));
        bones[s + 2] = compose(bones[s + 1], at({0, 0, -0.72f}));

        const float legForward = p.legForward[side] + 0.9f * p.crouch;
        const float knee = p.knee[side] + 1.6f * p.crouch;
        const int h = side == 0 ? kHipL : kHipR;
        bones[h] = compose(root, compose(at({0, 0.30f * y, -0.05f}),
                                         compose(forward(legForward), rollLeft(0.06f * y))));
        bones[h + 1] = compose(bones[h], compose(at({0, 0, -0.45f}), tipForward(knee)));
        bones[h + 2] =
            compose(bones[h + 1], compose(at({0, 0, -0.40f}), tipForward(legForward - knee)));
    }
}

// ---- body parts --------------------------------------------------------------------------------

enum Region { kFur, kHeadFur, kDarkSkin, kHorn };

struct Part {
    Bone bone;
    Vec3 centre, radii;
    float tiltOut; // rolled outwards (horns, claws), mirrored by the side of y
    Region region;
    float breathes; // 1 for the chest, which swells with breathing
};

const Part kParts[] = {
    {kRoot, {0, 0, 0.02f}, {0.36f, 0.46f, 0.30f}, 0, kFur, 0},
    {kSpine, {0.02f, 0, 0.50f}, {0.50f, 0.60f, 0.58f}, 0, kFur, 1},
    {kSpine, {-0.08f, 0, 0.84f}, {0.42f, 0.56f, 0.34f}, 0, kFur, 1},
    {kSpine, {0.24f, 0, 0.24f}, {0.34f, 0.46f, 0.38f}, 0, kFur, 0.5f},
    {kHead, {0.14f, 0, 0.06f}, {0.27f, 0.25f, 0.25f}, 0, kHeadFur, 0},
    {kHead, {0.34f, 0, -0.03f}, {0.14f, 0.16f, 0.11f}, 0, kDarkSkin, 0},
    {kHead, {0.04f, 0.20f, 0.26f}, {0.05f, 0.05f, 0.17f}, -0.7f, kHorn, 0},
    {kHead, {0.04f, -0.20f, 0.26f}, {0.05f, 0.05f, 0.17f}, 0.7f, kHorn, 0},
    {kJaw, {0.17f, 0, -0.04f}, {0.18f, 0.15f, 0.07f}, 0, kDarkSkin, 0},
    {kShoulderL, {0, 0, -0.36f}, {0.22f, 0.22f, 0.43f}, 0, kFur, 0},
    {kElbowL, {0, 0, -0.34f}, {0.19f, 0.19f, 0.41f}, 0, kFur, 0},
    {kHandL, {0.04f, 0, -0.08f}, {0.20f, 0.16f, 0.16f}, 0, kDarkSkin, 0},
    {kHandL, {0.16f, 0.07f, -0.20f}, {0.03f, 0.03f, 0.11f}, 0, kHorn, 0},
    {kHandL, {0.18f, -0.03f, -0.21f}, {0.03f, 0.03f, 0.11f}, 0, kHorn, 0},
    {kShoulderR, {0, 0, -0.36f}, {0.22f, 0.22f, 0.43f}, 0, kFur, 0},
    {kElbowR, {0, 0, -0.34f}, {0.19f, 0.19f, 0.41f}, 0, kFur, 0},
    {kHandR, {0.04f, 0, -0.08f}, {0.20f, 0.16f, 0.16f}, 0, kDarkSkin, 0},
    {kHandR, {0.16f, -0.07f, -0.20f}, {0.03f, 0.03f, 0.11f}, 0, kHorn, 0},
    {kHandR, {0.18f, 0.03f, -0.21f}, {0.03f, 0.03f, 0.11f}, 0, kHorn, 0},
    {kHipL, {0, 0, -0.22f}, {0.25f, 0.25f, 0.33f}, 0, kFur, 0},
    {kKneeL, {0, 0, -0.20f}, {0.18f, 0.18f, 0.29f}, 0, kFur, 0},
    {kAnkleL, {0.12f, 0, -0.06f}, {0.27f, 0.16f, 0.09f}, 0, kDarkSkin, 0},
    {kHipR, {0, 0, -0.22f}, {0.25f, 0.25f, 0.33f}, 0, kFur, 0},
    {kKneeR, {0, 0, -0.20f}, {0.18f, 0.18f, 0.29f}, 0, kFur, 0},
    {kAnkleR, {0.12f, 0, -0.06f}, {0.27f, 0.16f, 0.09f}, 0, kDarkSkin, 0},
};
const int kPartCount = (int)(sizeof kParts / sizeof kParts[0]);
const int kSides = 10, kRings = 7; // per ellipsoid: kSides * (kRings - 1) + 2 vertices

// The skin's rectangle (pixels) of each region.
void regionRect(Region r, int *x0, int *y0, int *w, int *h)
{
    static const int kRects[4][4] = {
        {0, 0, 128, 128}, {128, 0, 128, 128}, {0, 128, 128, 128}, {128, 128, 128, 128}};
    *x0 = kRects[r][0], *y0 = kRects[r][1], *w = kRects[r][2], *h = kRects[r][3];
}

// Where ring `ring`, side `side` of an ellipsoid lies before posing: angle 0 (the front, +x)
// sits in the middle of the texture's width.
Vec3 ellipsoidPoint(const Part &part, int ring, int side, float breathe)
{
    const float polar = (float)ring / kRings * kPi;
    const float angle = kPi + (float)side / kSides * 2.0f * kPi;
    const float swell = 1.0f + part.breathes * breathe;
    Vec3 p = {sinf(polar) * cosf(angle) * part.radii.x * swell,
              sinf(polar) * sinf(angle) * part.radii.y * swell, cosf(polar) * part.radii.z};
    if (part.tiltOut != 0.0f)
        p = rotate(rollLeft(part.tiltOut), p);
    return add(p, part.centre);
}

struct Mesh {
    int vertexCount = 0;
    std::vector<int16_t> texCoords;  // s, t pairs
    std::vector<uint16_t> triangles; // 3 vertex indices, 3 texture-coordinate indices
};

// Vertex order per part: the top pole, rings 1 .. kRings - 1 of kSides each, the bottom pole.
Mesh buildMesh()
{
    Mesh m;
    for (int p = 0; p < kPartCount; ++p) {
        const int base = m.vertexCount, tcBase = (int)m.texCoords.size() / 2;
        int x0, y0, w, h;
        regionRect(kParts[p].region, &x0, &y0, &w, &h);
        for (int ring = 0; ring <= kRings; ++ring)
            for (int side = 0; side <= kSides; ++side) {
                m.texCoords.push_back((int16_t)(x0 + 1 + (w - 2) * side / kSides));
                m.texCoords.push_back((int16_t)(y0 + 1 + (h - 2) * ring / kRings));
            }
        auto vertex = [&](int ring, int side) {
            if (ring == 0)
                return base;
            if (ring == kRings)
                return base + 1 + kSides * (kRings - 1);
            return base + 1 + (ring - 1) * kSides + side % kSides;
        };
        auto tc = [&](int ring, int side) { return tcBase + ring * (kSides + 1) + side; };
        auto tri = [&](int r0, int s0, int r1, int s1, int r2, int s2) {
            const uint16_t t[6] = {(uint16_t)vertex(r0, s0), (uint16_t)vertex(r1, s1),
                                   (uint16_t)vertex(r2, s2), (uint16_t)tc(r0, s0),
                                   (uint16_t)tc(r1, s1),     (uint16_t)tc(r2, s2)};
            m.triangles.insert(m.triangles.end(), t, t + 6);
        };
        for (int ring = 0; ring < kRings; ++ring)
            for (int side = 0; side < kSides; ++side) {
                if (ring > 0)
                    tri(ring, side, ring + 1, side, ring, side + 1);
                if (ring < kRings - 1)
                    tri(ring, side + 1, ring + 1, side, ring + 1, side + 1);
            }
        m.vertexCount = base + 2 + kSides * (kRings - 1);
    }
    return m;
}

// Every vertex of the body in one pose, in model units, with its normal: the direction from its
// part's centre, which is close enough for rounded parts.
void posedVertices(const Pose &pose, std::vector<Vec3> *points, std::vector<Vec3> *normals)
{
    Frame bones[kBoneCount];
    poseSkeleton(pose, bones);
    points->clear();
    normals->clear();
    for (int p = 0; p < kPartCount; ++p) {
        const Part &part = kParts[p];
        const Frame &f = bones[part.bone];
        const Vec3 centre = apply(f, part.centre);
        auto put = [&](int ring, int side) {
            Vec3 v = apply(f, ellipsoidPoint(part, ring, side, pose.breathe));
            Vec3 n = {v.x - centre.x, v.y - centre.y, v.z - centre.z};
            const float len = sqrtf(n.x * n.x + n.y * n.y + n.z * n.z);
            normals->push_back(len > 0 ? Vec3{n.x / len, n.y / len, n.z / len} : Vec3{0, 0, 1});
            v.z = (v.z + kOriginAboveGround) * kBodyScale - kOriginAboveGround;
            v.x *= kBodyScale, v.y *= kBodyScale;
            points->push_back({v.x / kDrawScale, v.y / kDrawScale, v.z / kDrawScale});
        };
        put(0, 0);
        for (int ring = 1; ring < kRings; ++ring)
            for (int side = 0; side < kSides; ++side)
                put(ring, side);
        put(kRings, 0);
    }
    // A falling body comes to rest on the ground, neither floating nor sunk into it.
    if (pose.settle > 0.0f) {
        float lowest = (*points)[0].z;
        for (const Vec3 &v : *points)
            lowest = fminf(lowest, v.z);
        const float ground = -kOriginAboveGround / kDrawScale;
        for (Vec3 &v : *points)
            v.z -= (lowest - ground) * pose.settle;
    }
}

// ---- animations ----------------------------------------------------------------------------

float wave(float t)
{
    return sinf(t * 2.0f * kPi);
}

float ease(float t)
{
    t = clampf(t, 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

Pose standing(float t)
{
    Pose p = {};
    p.breathe = 0.04f * wave(t);
    p.shift.z = 0.03f * wave(t);
    p.headTurn = 0.35f * wave(t + 0.1f);
    p.headNod = 0.08f * wave(2 * t);
    p.jaw = 0.08f + 0.06f * wave(2 * t);
    for (int s = 0; s < 2; ++s) {
        p.armForward[s] = 0.08f * wave(t + s * 0.5f);
        p.armOut[s] = 0.05f;
        p.elbow[s] = 0.15f + 0.05f * wave(t);
        p.knee[s] = 0.1f;
    }
    return p;
}

Pose running(float t, float crouch)
{
    Pose p = standing(0);
    const float s = wave(t), c = cosf(t * 2.0f * kPi);
    p.crouch = crouch;
    p.lean = 0.25f;
    p.shift.z = 0.10f * fabsf(c) - 0.05f;
    p.twist = 0.12f * s;
    p.jaw = 0.3f;
    p.headTurn = 0;
    for (int side = 0; side < 2; ++side) {
        const float k = side == 0 ? 1.0f : -1.0f;
        p.legForward[side] = 0.75f * s * k;
        p.knee[side] = 0.25f + 0.7f * clampf(-c * k, 0.0f, 1.0f);
        p.armForward[side] = -0.7f * s * k;
        p.elbow[side] = 0.5f;
    }
    return p;
}

// Both fists raised over the head, then brought down, then back to the stance.
Pose attacking(float t, float crouch)
{
    Pose p = standing(0);
    p.crouch = crouch;
    const float raise = t < 0.45f ? ease(t / 0.45f) : 1.0f - ease((t - 0.45f) / 0.2f);
    const float smash =
        t < 0.45f ? 0.0f : (t < 0.7f ? ease((t - 0.45f) / 0.2f) : 1.0f - ease((t - 0.7f) / 0.3f));
    p.lean = -0.25f * raise + 0.45f * smash;
    p.jaw = 0.1f + 0.5f * raise + 0.2f * smash;
    p.headNod = -0.3f * raise + 0.2f * smash;
    for (int s = 0; s < 2; ++s) {
        p.armForward[s] = 2.7f * raise + 0.9f * smash;
        p.armOut[s] = 0.25f * raise;
        p.elbow[s] = 0.5f * raise + 0.05f;
        p.knee[s] = 0.1f + 0.35f * smash;
    }
    return p;
}

// Thrown back by a hit, then recovering; `variant` sends the blow to another side.
Pose hurt(float t, int variant, float crouch)
{
    Pose p = standing(0);
    p.crouch = crouch;
    const float hit = t < 0.34f ? ease(t / 0.34f) : 1.0f - ease((t - 0.34f) / 0.66f) * 0.85f;
    p.lean = -0.45f * hit;
    p.twist = (variant == 1 ? 0.4f : variant == 2 ? -0.4f : 0.0f) * hit;
    p.shift.x = -0.15f * hit;
    p.headNod = -0.5f * hit;
    p.jaw = 0.1f + 0.45f * hit;
    for (int s = 0; s < 2; ++s) {
        p.armOut[s] = 0.8f * hit;
        p.armForward[s] = 0.6f * hit;
        p.elbow[s] = 0.2f + 0.6f * hit;
        p.knee[s] = 0.1f + 0.2f * hit;
    }
    return p;
}

// Collapsing: backwards (0), forwards (1) or onto its side (2), arms thrown up, then still.
Pose dying(float t, int way, float crouch)
{
    Pose p = standing(0);
    p.crouch = crouch * (1.0f - ease(t));
    const float fall = ease(t);
    p.settle = fall;
    const float flail = sinf(clampf(t * 1.4f, 0, 1) * kPi);
    if (way == 0)
        p.fall = 1.45f * fall;
    else if (way == 1)
        p.fall = -1.35f * fall;
    else
        p.fallSide = 1.35f * fall;
    p.shift.x = (way == 0 ? -0.3f : way == 1 ? 0.3f : 0.0f) * fall;
    p.lean = -kBaseLean * fall;
    p.headNod = (way == 1 ? 0.4f : -0.5f) * fall;
    p.jaw = 0.5f * flail + 0.3f * fall;
    for (int s = 0; s < 2; ++s) {
        p.armForward[s] = 1.8f * flail + 0.2f * fall;
        p.armOut[s] = (way == 0 ? 1.1f : 0.3f) * fall;
        p.elbow[s] = 0.4f * fall;
        p.knee[s] = 0.9f * flail * (1.0f - fall) + 0.2f * fall;
        p.legForward[s] = (way == 0 ? 0.3f : -0.2f) * fall;
    }
    return p;
}

// The rows the game never plays, still moving in keeping with their names.
Pose gesture(float t, int kind)
{
    Pose p = standing(t);
    const float w = wave(t), up = sinf(t * kPi);
    switch (kind) {
    case 0: // jump: crouch, spring, land
        p.crouch = 0.6f * (1.0f - up);
        p.shift.z = 0.6f * up;
        p.armForward[0] = p.armForward[1] = 1.2f * up;
        break;
    case 1: // flip: arms whirling overhead
        p.armForward[0] = 2.5f * up + 0.3f * w;
        p.armForward[1] = 2.5f * up - 0.3f * w;
        p.lean = -0.3f * up;
        break;
    case 2: // salute: the right fist to the brow
        p.armForward[1] = 2.2f * up;
        p.elbow[1] = 1.8f * up;
        break;
    case 3: // taunt: beating its chest
        p.armForward[0] = 1.2f + 0.3f * w;
        p.armForward[1] = 1.2f - 0.3f * w;
        p.elbow[0] = p.elbow[1] = 1.6f;
        p.jaw = 0.5f * up;
        p.headNod = -0.3f * up;
        break;
    case 4: // wave: the left arm up and swinging
        p.armForward[0] = 2.6f * up;
        p.armOut[0] = 0.5f * up + 0.3f * w * up;
        break;
    default: // point: the right arm straight out
        p.armForward[1] = 1.5f * up;
        p.elbow[1] = 0.0f;
        break;
    }
    return p;
}

struct Segment {
    const char *name;
    int first, count;
};
// The 198 frames in the order of the animation table (frames 58..65 sit between its rows).
const Segment kSegments[] = {
    {"stand", 0, 40},    {"run", 40, 6},     {"attack", 46, 8},   {"pain", 54, 4},
    {"painb", 58, 4},    {"painc", 62, 4},   {"jump", 66, 6},     {"flip", 72, 12},
    {"salute", 84, 11},  {"taunt", 95, 17},  {"wave", 112, 11},   {"point", 123, 12},
    {"crstnd", 135, 19}, {"crwalk", 154, 6}, {"crattak", 160, 9}, {"crpain", 169, 4},
    {"crdeath", 173, 5}, {"death", 178, 6},  {"deathb", 184, 6},  {"deathc", 190, 8},
};

Pose poseOfFrame(int segment, int i, int count)
{
    const float loop = (float)i / count;       // looping rows end where they began
    const float once = (float)i / (count - 1); // rows played once end on their last pose
    switch (segment) {
    case 0:
        return standing(loop);
    case 1:
        return running(loop, 0);
    case 2:
        return attacking(loop, 0);
    case 3:
    case 4:
    case 5:
        return hurt(loop, segment - 3, 0);
    case 12: {
        Pose p = standing(loop);
        p.crouch = 1.0f;
        return p;
    }
    case 13:
        return running(loop, 1.0f);
    case 14:
        return attacking(loop, 1.0f);
    case 15:
        return hurt(loop, 0, 1.0f);
    case 16:
        return dying(once, 1, 1.0f);
    case 17:
    case 18:
    case 19:
        return dying(once, segment - 17, 0);
    default:
        return gesture(loop, segment - 6);
    }
}

// ---- file --------------------------------------------------------------------------------------

int nearestNormal(Vec3 n)
{
    int best = 0;
    float bestDot = -2.0f;
    for (int i = 0; i < kMd2NormalCount; ++i) {
        const float d = n.x * kMd2Normals[i][0] + n.y * kMd2Normals[i][1] + n.z * kMd2Normals[i][2];
        if (d > bestDot)
            bestDot = d, best = i;
    }
    return best;
}

void put32(Bytes *b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        (*b)[at + i] = (uint8_t)(v >> (8 * i));
}

void append32(Bytes *b, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b->push_back((uint8_t)(v >> (8 * i)));
}

void appendFloat(Bytes *b, float f)
{
    uint32_t v;
    memcpy(&v, &f, 4);
    append32(b, v);
}

void append16(Bytes *b, uint16_t v)
{
    b->push_back((uint8_t)v);
    b->push_back((uint8_t)(v >> 8));
}

Bytes md2Bytes(const Mesh &m)
{
    const int numTexCoords = (int)m.texCoords.size() / 2, numTris = (int)m.triangles.size() / 6;
    const int frameSize = 40 + 4 * m.vertexCount;
    const int offsetTexCoords = 68, offsetTris = offsetTexCoords + 4 * numTexCoords;
    const int offsetFrames = offsetTris + 12 * numTris;
    const int offsetEnd = offsetFrames + frameSize * kBeastFrameCount;
    Bytes b;
    const int32_t header[17] = {0x32504449,      8,          kSkinSize,        kSkinSize,
                                frameSize,       0,          m.vertexCount,    numTexCoords,
                                numTris,         0,          kBeastFrameCount, 68,
                                offsetTexCoords, offsetTris, offsetFrames,     offsetEnd,
                                offsetEnd};
    for (int32_t v : header)
        append32(&b, (uint32_t)v);
    for (int16_t v : m.texCoords)
        append16(&b, (uint16_t)v);
    for (uint16_t v : m.triangles)
        append16(&b, v);
    for (const Segment &seg : kSegments)
        for (int i = 0; i < seg.count; ++i) {
            const int segment = (int)(&seg - kSegments);
            std::vector<Vec3> v, normals;
            posedVertices(poseOfFrame(segment, i, seg.count), &v, &normals);
            Vec3 lo = v[0], hi = v[0];
            for (const Vec3 &p : v) {
                lo = {fminf(lo.x, p.x), fminf(lo.y, p.y), fminf(lo.z, p.z)};
                hi = {fmaxf(hi.x, p.x), fmaxf(hi.y, p.y), fmaxf(hi.z, p.z)};
            }
            // A flat axis still needs a step to divide by.
            const Vec3 scale = {fmaxf((hi.x - lo.x) / 255.0f, 1e-4f),
                                fmaxf((hi.y - lo.y) / 255.0f, 1e-4f),
                                fmaxf((hi.z - lo.z) / 255.0f, 1e-4f)};
            appendFloat(&b, scale.x), appendFloat(&b, scale.y), appendFloat(&b, scale.z);
            appendFloat(&b, lo.x), appendFloat(&b, lo.y), appendFloat(&b, lo.z);
            char name[16] = {};
            snprintf(name, sizeof name, "%s%02d", seg.name, i + 1);
            b.insert(b.end(), name, name + 16);
            for (size_t k = 0; k < v.size(); ++k) {
                b.push_back((uint8_t)(int)((v[k].x - lo.x) / scale.x + 0.5f));
                b.push_back((uint8_t)(int)((v[k].y - lo.y) / scale.y + 0.5f));
                b.push_back((uint8_t)(int)((v[k].z - lo.z) / scale.z + 0.5f));
                b.push_back((uint8_t)nearestNormal(normals[k]));
            }
        }
    put32(&b, 64, (uint32_t)b.size());
    return b;
}

// ---- skin ----------------------------------------------------------------------------------

Image skin()
{
    Image image(kSkinSize, kSkinSize);
    const Rgb furLight = {238, 241, 247}, furShadow = {150, 164, 190}, skinDark = {62, 70, 88},
              skinLight = {104, 112, 130}, hornTip = {90, 80, 66}, hornBase = {226, 216, 190};
    for (int y = 0; y < kSkinSize; ++y)
        for (int x = 0; x < kSkinSize; ++x) {
            const int region = (y / 128) * 2 + x / 128;
            const float u = (float)(x % 128) / 127.0f, v = (float)(y % 128) / 127.0f;
            Rgb c;
            if (region <= kHeadFur) {
                // Shaggy fur in long strands, lit from above: each part's texture runs from
                // its top (v = 0) to its underside (v = 1).
                const float strand = fractalNoise(u * 40.0f, v * 5.0f, 0, 3, 0.5f, 91u + region);
                const float clump = valueNoise(u * 10.0f, v * 3.0f, 0, 0, 93u);
                const float light =
                    1.0f - 0.65f * ease(v * 1.1f) + 0.25f * (strand - 0.5f) + 0.1f * (clump - 0.5f);
                c = mixRgb(furShadow, furLight, clampf(light, 0, 1));
                if (region == kHeadFur) {
                    // The face looks forward, in the middle of the texture's width.
                    const float fx = (u - 0.5f) / 0.14f, fy = (v - 0.52f) / 0.22f;
                    const float face = fx * fx + fy * fy;
                    if (face < 1.0f)
                        c = mixRgb(c, mixRgb(skinLight, skinDark, v), ease((1.0f - face) * 3.0f));
                    const float brow = fabsf(v - 0.40f) < 0.035f && fabsf(u - 0.5f) < 0.12f;
                    if (brow)
                        c = scaleRgb(skinDark, 0.6f);
                    for (int eye = -1; eye <= 1; eye += 2) {
                        const float ex = (u - 0.5f - eye * 0.05f) / 0.028f,
                                    ey = (v - 0.46f) / 0.04f;
                        const float e = ex * ex + ey * ey;
                        if (e < 1.0f)
                            c = mixRgb({255, 90, 20}, {255, 230, 120}, 1.0f - e);
                    }
                }
            } else if (region == kDarkSkin) {
                const float wrinkle = fractalNoise(u * 16.0f, v * 16.0f, 0, 3, 0.5f, 95u);
                c = mixRgb(skinDark, skinLight,
                           clampf(0.8f - v * 0.6f + (wrinkle - 0.5f) * 0.5f, 0, 1));
            } else {
                c = mixRgb(hornBase, hornTip, ease(v));
            }
            image.set(x, y, c);
        }
    return image;
}

} // namespace

void makeBeast(AssetList *out)
{
    const Mesh mesh = buildMesh();
    out->push_back({"tris.md2", md2Bytes(mesh)});
    out->push_back({"skin.bmp", bmpBytes(skin())});
}
