// The viewer's own model, written as an ordinary MD2 file so that it goes through the same loader
// as any other: a small snow beast of six boxes whose 198 key frames play every row of the
// engine's animation table (stand, run, attack, pain, jump, flip, waves, crouches, deaths), and
// its skin and a glow picture as 24-bit BMP files.
#include "demo_model.h"

#include "ostrel3d.h"

#include <math.h>
#include <stdio.h>
#include <string.h>

#include <vector>

static const int kFrames = 198, kSkin = 64, kCell = 16;
static const float kDeg = 3.14159265f / 180.0f;

// A box hanging from its joint: half sizes, joint position (x forward, y left, z up), the box's
// centre below the joint, its skin cell and the limb it is (0 none, 1..2 arms, 3..4 legs).
struct Part {
    float hx, hy, hz, jx, jy, jz, drop;
    int cell, limb;
};
static const int kPartCount = 8;
static const Part kParts[kPartCount] = {
    {0.32f, 0.5f, 0.5f, 0, 0, 1.6f, 0.5f, 0, 0},              // torso, hung from the neck
    {0.25f, 0.25f, 0.24f, 0.06f, 0, 1.6f, -0.24f, 1, 0},      // head, above the neck
    {0.14f, 0.14f, 0.48f, 0, 0.66f, 1.55f, 0.42f, 2, 1},      // left arm
    {0.14f, 0.14f, 0.48f, 0, -0.66f, 1.55f, 0.42f, 2, 2},     // right arm
    {0.16f, 0.16f, 0.33f, 0, 0.22f, 0.66f, 0.33f, 3, 3},      // left leg
    {0.16f, 0.16f, 0.33f, 0, -0.22f, 0.66f, 0.33f, 3, 4},     // right leg
    {0.05f, 0.05f, 0.13f, 0.06f, 0.18f, 1.98f, -0.08f, 5, 0}, // horns
    {0.05f, 0.05f, 0.13f, 0.06f, -0.18f, 1.98f, -0.08f, 5, 0}};

struct Pose {
    float lift, lean, fall, roll, legSwing, armSwing, armRaise, wave;
};

// The table row a frame belongs to (frames between rows stand) and its phase within the row.
static Pose poseFor(int frame)
{
    int row = 0, first = 0, last = 39, fps = 0;
    for (int r = 0; r < O3D_MD2_ANIMATION_ROWS; ++r) {
        o3DGetMD2AnimationInfo(r, &first, &last, &fps);
        if (frame >= first && frame <= last) {
            row = r;
            break;
        }
    }
    if (frame < first || frame > last)
        o3DGetMD2AnimationInfo(row = 0, &first, &last, &fps);
    float t = (float)(frame - first) / (float)(last - first + 1), s = sinf(t * 6.2831853f);
    float once = (float)(frame - first) / (float)(last > first ? last - first : 1);
    Pose p = {0.03f * s, 0, 0, 0, 0, 6 * s, 0, 0};
    if (row == 1)
        p = {0.08f * fabsf(s), 12, 0, 0, 40 * s, -35 * s, 0, 0};
    else if (row == 2)
        p = {0, 15 * once, 0, 0, 0, 0, 150 * sinf(once * 3.14159f), 0};
    else if (row >= 3 && row <= 5)
        p = {0, -25 * sinf(once * 3.14159f), 0, 0, 0, 20, 40, 0};
    else if (row == 6)
        p = {0.6f * sinf(once * 3.14159f), 0, 0, 0, 20, 0, 120, 0};
    else if (row == 7)
        p = {0.5f * sinf(once * 3.14159f), 0, 360 * once, 0, 0, 0, 60, 0};
    else if (row >= 8 && row <= 11)
        p = {0, 0, 0, 0, 0, 0, 0, 160 + 20 * s};
    else if (row >= 12 && row <= 14)
        p = {-0.3f, 20, 0, 0, 25 * s * (row == 13), 0, 30, 0};
    else if (row >= 15)
        p = {0, 0, row == 16 ? -90 * once : 90 * once, row == 17 ? 90 * once : 0, 0, 0, 60, 0};
    return p;
}

// Turns (x, z) about the y axis, or (y, z) about the x axis, by degrees around a pivot.
static void turnY(float *v, float deg, float px, float pz)
{
    float c = cosf(deg * kDeg), s = sinf(deg * kDeg), x = v[0] - px, z = v[2] - pz;
    v[0] = px + c * x + s * z;
    v[2] = pz - s * x + c * z;
}
static void turnX(float *v, float deg, float py, float pz)
{
    float c = cosf(deg * kDeg), s = sinf(deg * kDeg), y = v[1] - py, z = v[2] - pz;
    v[1] = py + c * y - s * z;
    v[2] = pz + s * y + c * z;
}

// Positions (24 per box: four per face) and face normals of one frame.
static void buildFrame(int frame, std::vector<float> &pos, std::vector<float> &nrm)
{
    static const int kFace[6][4][3] = {{{1, -1, -1}, {1, 1, -1}, {1, 1, 1}, {1, -1, 1}},
                                       {{-1, 1, -1}, {-1, -1, -1}, {-1, -1, 1}, {-1, 1, 1}},
                                       {{-1, 1, -1}, {1, 1, -1}, {1, 1, 1}, {-1, 1, 1}},
                                       {{1, -1, -1}, {-1, -1, -1}, {-1, -1, 1}, {1, -1, 1}},
                                       {{-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}},
                                       {{-1, 1, -1}, {1, 1, -1}, {1, -1, -1}, {-1, -1, -1}}};
    static const float kNormal[6][3] = {{1, 0, 0},  {-1, 0, 0}, {0, 1, 0},
                                        {0, -1, 0}, {0, 0, 1},  {0, 0, -1}};
    Pose p = poseFor(frame);
    pos.clear();
    nrm.clear();
    for (int b = 0; b < kPartCount; ++b) {
        const Part &part = kParts[b];
        int limb = part.limb;
        float swing = limb >= 3   ? (limb == 3 ? p.legSwing : -p.legSwing)
                      : limb >= 1 ? (limb == 1 ? p.armSwing : -p.armSwing) - p.armRaise
                                  : 0;
        float side = limb == 2 ? -p.wave : 0;
        for (int f = 0; f < 6; ++f) {
            for (int k = 0; k < 5; ++k) { // four corners, then the normal's tip from the origin
                float v[3];
                if (k < 4)
                    for (int a = 0; a < 3; ++a)
                        v[a] = kFace[f][k][a] * (&part.hx)[a] + (&part.jx)[a];
                else
                    for (int a = 0; a < 3; ++a)
                        v[a] = kNormal[f][a];
                float jx = k < 4 ? part.jx : 0, jy = k < 4 ? part.jy : 0, jz = k < 4 ? part.jz : 0;
                v[2] -= k < 4 ? part.drop : 0;
                turnY(v, swing, jx, jz);
                turnX(v, side, jy, jz);
                turnY(v, p.lean, 0, k < 4 ? 0.66f : 0);
                turnY(v, p.fall, 0, 0);
                turnX(v, p.roll, 0, 0);
                v[2] += k < 4 ? p.lift : 0;
                std::vector<float> &out = k < 4 ? pos : nrm;
                out.insert(out.end(), v, v + 3);
            }
        }
    }
}

static void put32(std::vector<unsigned char> &out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back((unsigned char)(v >> (8 * i)));
}
static void putFloat(std::vector<unsigned char> &out, float f)
{
    uint32_t bits;
    memcpy(&bits, &f, 4);
    put32(out, bits);
}
static void put16(std::vector<unsigned char> &out, int v)
{
    out.push_back((unsigned char)v);
    out.push_back((unsigned char)(v >> 8));
}

static int writeFile(const char *path, const std::vector<unsigned char> &bytes)
{
    FILE *file = fopen(path, "wb");
    if (!file)
        return 0;
    int ok = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && ok;
}

int writeDemoModel(const char *path)
{
    const int verts = kPartCount * 6 * 4, tris = kPartCount * 6 * 2, frameSize = 40 + 4 * verts;
    const int offTex = 68, offTri = offTex + 4 * verts, offFrames = offTri + 12 * tris;
    const int end = offFrames + frameSize * kFrames;
    std::vector<unsigned char> out;
    const int header[17] = {0x32504449, 8,  kSkin,  kSkin,  frameSize, 0,   verts, verts, tris, 0,
                            kFrames,    68, offTex, offTri, offFrames, end, end};
    for (int v : header)
        put32(out, (uint32_t)v);
    for (int i = 0; i < verts; ++i) { // each face spans its part's skin cell
        int cell = i / 24 == 1 && i % 24 / 4 == 0 ? 4 : kParts[i / 24].cell, k = i % 4;
        put16(out, cell % 4 * kCell + (k == 1 || k == 2 ? kCell - 1 : 1));
        put16(out, cell / 4 * kCell + (k >= 2 ? 1 : kCell - 1));
    }
    for (int i = 0; i < tris; ++i) {
        int q = i / 2 * 4, c[3] = {q, q + 1 + i % 2, q + 2 + i % 2};
        for (int r = 0; r < 2; ++r)
            for (int k = 0; k < 3; ++k)
                put16(out, c[k]);
    }
    std::vector<float> pos, nrm;
    for (int f = 0; f < kFrames; ++f) {
        buildFrame(f, pos, nrm);
        float lo[3] = {1e9f, 1e9f, 1e9f}, hi[3] = {-1e9f, -1e9f, -1e9f};
        for (size_t i = 0; i < pos.size(); ++i) {
            lo[i % 3] = fminf(lo[i % 3], pos[i]);
            hi[i % 3] = fmaxf(hi[i % 3], pos[i]);
        }
        for (int a = 0; a < 3; ++a)
            putFloat(out, (hi[a] - lo[a]) / 255.0f + 1e-6f);
        for (int a = 0; a < 3; ++a)
            putFloat(out, lo[a]);
        char name[16] = {};
        snprintf(name, sizeof name, "beast%03d", f);
        out.insert(out.end(), name, name + 16);
        for (int v = 0; v < verts; ++v) {
            for (int a = 0; a < 3; ++a)
                out.push_back((unsigned char)lrintf((pos[v * 3 + a] - lo[a]) /
                                                    ((hi[a] - lo[a]) / 255.0f + 1e-6f)));
            const float *n = &nrm[(size_t)(v / 4) * 3];
            out.push_back((unsigned char)o3DGetMD2NormalIndex(n[0], n[1], n[2]));
        }
    }
    return writeFile(path, out);
}

int writeBmp24(const char *path, int width, int height, uint32_t (*pixel)(int x, int y))
{
    int stride = (width * 3 + 3) & ~3;
    std::vector<unsigned char> out = {'B', 'M'};
    const uint32_t fields[] = {
        (uint32_t)(54 + stride * height), 0, 54, 40, (uint32_t)width, (uint32_t)height};
    for (uint32_t v : fields)
        put32(out, v);
    put16(out, 1);
    put16(out, 24);
    for (int i = 0; i < 6; ++i)
        put32(out, 0);
    for (int y = height - 1; y >= 0; --y) { // bottom row first
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c)
                out.push_back((unsigned char)(pixel(x, y) >> (8 * c)));
        out.resize(out.size() + (size_t)(stride - width * 3));
    }
    return writeFile(path, out);
}

// Fur in four cells (torso, head, arms, legs), the head's front face with a face, and horn.
uint32_t demoSkinPixel(int x, int y)
{
    static const uint32_t kCells[6] = {0xF2F6FC, 0xFAFCFF, 0xDDE6F2, 0xC4D0E2, 0xFAFCFF, 0x8C7A66};
    int cell = y / kCell * 4 + x / kCell;
    uint32_t base = kCells[cell < 6 ? cell : 0];
    int grain = ((x * 7 + y * 13) ^ (x * y)) % 9 * 3; // a little fur
    int u = x % kCell, v = y % kCell;
    if (cell == 4 && v >= 5 && v <= 8 && (u == 4 || u == 5 || u == 10 || u == 11))
        return 0xC02018; // eyes
    if (cell == 4 && v >= 11 && v <= 12 && u >= 4 && u <= 11)
        return 0x402830; // mouth
    uint32_t c = 0;
    for (int i = 0; i < 3; ++i)
        c |= (uint32_t)((int)(base >> (8 * i) & 0xFF) - grain) << (8 * i);
    return c;
}

// A warm glow on black: black adds nothing under additive blending.
uint32_t glowPixel(int x, int y)
{
    float dx = (x - 31.5f) / 32.0f, dy = (y - 31.5f) / 32.0f;
    float a = fmaxf(0.0f, 1.0f - sqrtf(dx * dx + dy * dy));
    a = a * a;
    return (uint32_t)(a * 255) << 16 | (uint32_t)(a * 170) << 8 | (uint32_t)(a * 90);
}
