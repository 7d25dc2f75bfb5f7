// The two static models and their atlases: the snow-laden spruce the game stands at (55, 50)
// scaled by 3, and the player's gun, drawn scaled by 0.01 in the camera's frame with front faces
// culled. Both textures are loaded as images: v = 0 is the picture's top row, and the picture
// fills a power-of-two texture exactly, so coordinates map one to one.
#include "assetgen.h"

#include <math.h>
#include <stdio.h>

namespace {

struct Vec3 {
    float x, y, z;
};

Vec3 sub(Vec3 a, Vec3 b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

Vec3 cross(Vec3 a, Vec3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float dot(Vec3 a, Vec3 b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

Vec3 normalised(Vec3 a)
{
    const float len = sqrtf(dot(a, a));
    return len > 0 ? Vec3{a.x / len, a.y / len, a.z / len} : Vec3{0, 1, 0};
}

struct Corner {
    Vec3 p;
    float u, v;
};

// A triangle soup written as an OBJ file: one normal per triangle (flat), one texture
// coordinate per corner.
struct ObjMesh {
    std::vector<Corner> corners; // three per triangle
    // Adds a triangle whose winding faces `outward` when `outwardFront`, else away from it.
    void triangle(Corner a, Corner b, Corner c, Vec3 outward, bool outwardFront = true)
    {
        const bool front = dot(cross(sub(b.p, a.p), sub(c.p, a.p)), outward) > 0.0f;
        if (front != outwardFront)
            std::swap(b, c);
        corners.push_back(a);
        corners.push_back(b);
        corners.push_back(c);
    }
    Bytes objBytes(const char *comment) const
    {
        std::string s = std::string("# ") + comment + "\n";
        char line[128];
        for (const Corner &c : corners) {
            snprintf(line, sizeof line, "v %.4f %.4f %.4f\n", c.p.x, c.p.y, c.p.z);
            s += line;
        }
        for (const Corner &c : corners) {
            snprintf(line, sizeof line, "vt %.4f %.4f\n", c.u, c.v);
            s += line;
        }
        for (size_t t = 0; t < corners.size(); t += 3) {
            const Vec3 n = normalised(
                cross(sub(corners[t + 1].p, corners[t].p), sub(corners[t + 2].p, corners[t].p)));
            snprintf(line, sizeof line, "vn %.4f %.4f %.4f\n", n.x, n.y, n.z);
            s += line;
        }
        for (size_t t = 0; t < corners.size(); t += 3) {
            const int i = (int)t + 1, n = (int)(t / 3) + 1;
            snprintf(line, sizeof line, "f %d/%d/%d %d/%d/%d %d/%d/%d\n", i, i, n, i + 1, i + 1, n,
                     i + 2, i + 2, n);
            s += line;
        }
        return Bytes(s.begin(), s.end());
    }
};

// ---- spruce ----------------------------------------------------------------------------------

// Atlas columns (u): snowy tops, needle undersides, bark.
const float kTopsU0 = 0.01f, kTopsU1 = 0.49f, kUnderU0 = 0.51f, kUnderU1 = 0.74f;
const float kBarkU0 = 0.76f, kBarkU1 = 0.99f;

struct Tier {
    float baseY, radius, rise, droop;
};
// Six drooping tiers from the broad base to the top, model units (the game scales by 3).
const Tier kTiers[] = {{0.60f, 1.02f, 0.95f, 0.20f}, {1.12f, 0.88f, 0.85f, 0.18f},
                       {1.60f, 0.74f, 0.75f, 0.16f}, {2.04f, 0.58f, 0.65f, 0.13f},
                       {2.43f, 0.44f, 0.60f, 0.10f}, {2.78f, 0.30f, 0.85f, 0.08f}};
const int kTierSides = 14;

void addTier(ObjMesh *m, const Tier &t, int index)
{
    const Vec3 tip = {0, t.baseY + t.rise, 0};
    const float twist = (float)index * 0.9f;
    for (int s = 0; s < kTierSides; ++s) {
        Vec3 rim[2];
        float uAt[2];
        for (int k = 0; k < 2; ++k) {
            const int i = s + k;
            const float a = twist + (float)i / kTierSides * 6.2831853f;
            const float r = t.radius * ((i % 2) ? 0.78f : 1.0f); // jagged bough ends
            const float y = t.baseY - t.droop * ((i % 2) ? 0.5f : 1.0f);
            rim[k] = {cosf(a) * r, y, sinf(a) * r};
            uAt[k] = (float)i / kTierSides;
        }
        const Vec3 out = {rim[0].x + rim[1].x, 0.3f, rim[0].z + rim[1].z};
        const float u0 = mixf(kTopsU0, kTopsU1, uAt[0]), u1 = mixf(kTopsU0, kTopsU1, uAt[1]);
        m->triangle({tip, (u0 + u1) * 0.5f, 0.02f}, {rim[0], u0, 0.98f}, {rim[1], u1, 0.98f}, out);
        // The underside: from the rim up to the trunk, dark needles in the shade.
        const Vec3 hub = {0, t.baseY + t.rise * 0.15f, 0};
        const float w0 = mixf(kUnderU0, kUnderU1, uAt[0]), w1 = mixf(kUnderU0, kUnderU1, uAt[1]);
        m->triangle({hub, (w0 + w1) * 0.5f, 0.02f}, {rim[0], w0, 0.98f}, {rim[1], w1, 0.98f},
                    {0, -1, 0});
    }
}

void addTrunk(ObjMesh *m)
{
    const int sides = 8;
    const float r0 = 0.13f, r1 = 0.07f, y0 = -0.3f, y1 = 2.6f;
    for (int s = 0; s < sides; ++s) {
        const float a0 = (float)s / sides * 6.2831853f, a1 = (float)(s + 1) / sides * 6.2831853f;
        const float u0 = mixf(kBarkU0, kBarkU1, (float)s / sides);
        const float u1 = mixf(kBarkU0, kBarkU1, (float)(s + 1) / sides);
        const Vec3 b0 = {cosf(a0) * r0, y0, sinf(a0) * r0}, b1 = {cosf(a1) * r0, y0, sinf(a1) * r0};
        const Vec3 t0 = {cosf(a0) * r1, y1, sinf(a0) * r1}, t1 = {cosf(a1) * r1, y1, sinf(a1) * r1};
        const Vec3 out = {cosf(a0) + cosf(a1), 0, sinf(a0) + sinf(a1)};
        m->triangle({b0, u0, 0.99f}, {b1, u1, 0.99f}, {t1, u1, 0.01f}, out);
        m->triangle({b0, u0, 0.99f}, {t1, u1, 0.01f}, {t0, u0, 0.01f}, out);
    }
}

Image spruceAtlas()
{
    const int n = 256;
    Image image(n, n);
    const Rgb needles = {34, 66, 50}, deep = {16, 34, 30}, snow = {246, 248, 252},
              snowShade = {196, 208, 228}, bark = {84, 60, 44}, barkDark = {46, 32, 26};
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const float u = (x + 0.5f) / n, v = (y + 0.5f) / n;
            Rgb c;
            if (u < 0.5f) {
                // Tops: snow lies thick on the boughs; needles show in clumps where it broke
                // away and along the bough ends (v near 1), with a bluish shade under the rims.
                const float clump = fractalNoise(u * 28, v * 14, 0, 3, 0.5f, 71u);
                const float needle = valueNoise(u * 160, v * 60, 0, 0, 72u);
                const float bough = 0.5f + 0.5f * cosf(u * 2 * 14 * 6.2831853f);
                const float bare =
                    smoothstepf(0.55f, 0.7f, clump) * 0.8f +
                    smoothstepf(0.72f, 0.95f, v + 0.15f * (clump - 0.5f)) * (0.5f + 0.5f * bough);
                Rgb green = mixRgb(deep, needles, 0.3f + 0.7f * needle);
                Rgb white =
                    mixRgb(snowShade, snow, clampf(1.05f - v * 0.45f - bough * 0.15f, 0, 1));
                c = mixRgb(white, green, clampf(bare, 0, 1));
            } else if (u < 0.75f) {
                const float needle = valueNoise(u * 200, v * 50, 0, 0, 73u);
                const float fleck = valueNoise(u * 60, v * 60, 0, 0, 74u);
                c = mixRgb(deep, needles, 0.2f + 0.5f * needle);
                if (fleck > 0.78f)
                    c = mixRgb(c, snowShade, 0.6f);
            } else {
                const float streak = fractalNoise(u * 40, v * 4, 0, 3, 0.5f, 75u);
                c = mixRgb(barkDark, bark, streak);
            }
            image.set(x, y, c);
        }
    return image;
}

// ---- gun -----------------------------------------------------------------------------------

// The game draws the gun at eye + right * 0.45 - up * 1.3 + forward * 0.5, scaled by 0.01 and
// turned so that model -x runs forward, +y up and -z right. Parts are placed in the eye's frame
// (right, up, forward in world units) and converted here.
Vec3 gunModelPoint(float right, float up, float forward)
{
    return {(0.5f - forward) / 0.01f, (up + 1.3f) / 0.01f, (0.45f - right) / 0.01f};
}

// Atlas cells: four materials (rows) by four shades (columns: top, side, end, bottom), with the
// light painted in because the game draws the gun unlit.
enum { kSteel, kPolymer, kGrip, kBarrel };
enum { kShadeTop, kShadeSide, kShadeEnd, kShadeBottom };

void cellUv(int material, int shade, float s, float t, float *u, float *v)
{
    *u = (shade + 0.1f + 0.8f * s) / 4.0f;
    *v = (material + 0.1f + 0.8f * t) / 4.0f;
}

// A box in the eye's frame; faces wound clockwise seen from outside, as the front-face culling
// the game draws the gun with needs.
void addGunBox(ObjMesh *m, int material, float r0, float r1, float u0, float u1, float f0, float f1)
{
    const float rs[2] = {r0, r1}, us[2] = {u0, u1}, fs[2] = {f0, f1};
    const Vec3 centre = gunModelPoint((r0 + r1) / 2, (u0 + u1) / 2, (f0 + f1) / 2);
    // Each face: the axis it faces along (0 right, 1 up, 2 forward) and which end.
    for (int axis = 0; axis < 3; ++axis)
        for (int end = 0; end < 2; ++end) {
            const int a1 = (axis + 1) % 3, a2 = (axis + 2) % 3;
            Corner q[4];
            for (int k = 0; k < 4; ++k) {
                const int i1 = (k == 1 || k == 2), i2 = (k >= 2);
                float c[3];
                c[axis] = (axis == 0 ? rs : axis == 1 ? us : fs)[end];
                c[a1] = (a1 == 0 ? rs : a1 == 1 ? us : fs)[i1];
                c[a2] = (a2 == 0 ? rs : a2 == 1 ? us : fs)[i2];
                q[k].p = gunModelPoint(c[0], c[1], c[2]);
                const int shade = axis == 1 ? (end ? kShadeTop : kShadeBottom)
                                            : (axis == 0 ? kShadeSide : kShadeEnd);
                cellUv(material, shade, (float)i1, (float)i2, &q[k].u, &q[k].v);
            }
            const Vec3 mid = {(q[0].p.x + q[2].p.x) / 2, (q[0].p.y + q[2].p.y) / 2,
                              (q[0].p.z + q[2].p.z) / 2};
            const Vec3 faceOut = sub(mid, centre);
            m->triangle(q[0], q[1], q[2], faceOut, false);
            m->triangle(q[0], q[2], q[3], faceOut, false);
        }
}

void addGunBarrel(ObjMesh *m, float right, float up, float f0, float f1, float radius)
{
    const int sides = 10;
    for (int s = 0; s < sides; ++s) {
        const float a0 = (float)s / sides * 6.2831853f, a1 = (float)(s + 1) / sides * 6.2831853f;
        const float mid = (a0 + a1) / 2;
        const int shade =
            sinf(mid) > 0.5f ? kShadeTop : (sinf(mid) < -0.5f ? kShadeBottom : kShadeSide);
        float u0, v0, u1, v1;
        cellUv(kBarrel, shade, 0, 0, &u0, &v0);
        cellUv(kBarrel, shade, 1, 1, &u1, &v1);
        const Vec3 p00 = gunModelPoint(right + cosf(a0) * radius, up + sinf(a0) * radius, f0);
        const Vec3 p01 = gunModelPoint(right + cosf(a1) * radius, up + sinf(a1) * radius, f0);
        const Vec3 p10 = gunModelPoint(right + cosf(a0) * radius, up + sinf(a0) * radius, f1);
        const Vec3 p11 = gunModelPoint(right + cosf(a1) * radius, up + sinf(a1) * radius, f1);
        const Vec3 axis = gunModelPoint(right, up, (f0 + f1) / 2);
        const Vec3 out =
            sub(gunModelPoint(right + cosf(mid) * radius, up + sinf(mid) * radius, (f0 + f1) / 2),
                axis);
        m->triangle({p00, u0, v0}, {p01, u1, v0}, {p11, u1, v1}, out, false);
        m->triangle({p00, u0, v0}, {p11, u1, v1}, {p10, u0, v1}, out, false);
        // The muzzle: a dark disc at the far end.
        float mu, mv;
        cellUv(kPolymer, kShadeBottom, 0.5f, 0.5f, &mu, &mv);
        const Vec3 tip = gunModelPoint(right, up, f1);
        m->triangle({tip, mu, mv}, {p10, mu, mv}, {p11, mu, mv},
                    sub(tip, gunModelPoint(right, up, f0)), false);
    }
}

Image gunAtlas()
{
    const int n = 128;
    Image image(n, n);
    const Rgb base[4] = {{78, 84, 94}, {42, 44, 49}, {88, 68, 50}, {104, 110, 120}};
    const float light[4] = {1.25f, 0.9f, 0.7f, 0.5f};
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const int material = y * 4 / n, shade = x * 4 / n;
            const float s = (float)(x % (n / 4)) / (n / 4), t = (float)(y % (n / 4)) / (n / 4);
            const float grain = valueNoise(x * 0.7f, y * (material == kGrip ? 0.1f : 0.7f), 0, 0,
                                           81u + (uint32_t)material);
            // Darker rims on every cell so box edges read as edges.
            const float rim = fminf(fminf(s, 1 - s), fminf(t, 1 - t));
            float k =
                light[shade] * (0.9f + 0.2f * grain) * (0.75f + 0.25f * smoothstepf(0, 0.15f, rim));
            if (material == kBarrel && shade == kShadeTop && fabsf(s - 0.5f) < 0.12f)
                k *= 1.35f; // a highlight along the barrel
            image.set(x, y, scaleRgb(base[material], k));
        }
    return image;
}

} // namespace

void makeTree(AssetList *out)
{
    ObjMesh m;
    addTrunk(&m);
    for (int i = 0; i < (int)(sizeof kTiers / sizeof kTiers[0]); ++i)
        addTier(&m, kTiers[i], i);
    out->push_back(
        {"tree_winter.obj", m.objBytes("snow-laden spruce, 3.6 units tall and 1 unit in radius")});
    out->push_back({"tree_winter.bmp", bmpBytes(spruceAtlas())});
}

void makeGun(AssetList *out)
{
    ObjMesh m;
    addGunBox(&m, kSteel, 0.30f, 0.40f, -0.37f, -0.25f, 0.42f, 0.86f);       // receiver
    addGunBox(&m, kPolymer, 0.33f, 0.37f, -0.25f, -0.232f, 0.45f, 0.84f);    // top rail
    addGunBox(&m, kPolymer, 0.335f, 0.365f, -0.232f, -0.205f, 0.47f, 0.51f); // rear sight
    addGunBox(&m, kPolymer, 0.318f, 0.382f, -0.33f, -0.245f, 0.86f, 1.12f);  // handguard
    addGunBox(&m, kPolymer, 0.342f, 0.358f, -0.262f, -0.225f, 1.20f, 1.23f); // front sight
    addGunBox(&m, kPolymer, 0.325f, 0.375f, -0.52f, -0.37f, 0.62f, 0.70f);   // magazine
    addGunBox(&m, kGrip, 0.325f, 0.375f, -0.56f, -0.37f, 0.44f, 0.52f);      // grip
    addGunBox(&m, kGrip, 0.32f, 0.38f, -0.36f, -0.27f, 0.20f, 0.42f);        // stock
    addGunBox(&m, kPolymer, 0.296f, 0.301f, -0.335f, -0.285f, 0.56f, 0.72f); // ejection port
    addGunBarrel(&m, 0.35f, -0.28f, 0.86f, 1.24f, 0.022f);
    addGunBarrel(&m, 0.35f, -0.28f, 1.24f, 1.31f, 0.030f); // muzzle brake
    out->push_back({"gun.obj", m.objBytes("player's gun, in the frame the game draws it in")});
    out->push_back({"gun.bmp", bmpBytes(gunAtlas())});
}
