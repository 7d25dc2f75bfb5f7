// The pictures of the world and the overlay: the height map (tellurix's rolling hills, flattened
// where the game stands things), the tiling snow, the six sky faces, the muzzle flash, the health
// icon and the title. The game draws the terrain, sky and models without lighting, so whatever
// shading they have is painted in here.
#include "assetgen.h"

#include "heightmap.h"

#include <math.h>

const GroundPoint kSpawnPoint = {50.0f, 50.0f}, kTreePoint = {55.0f, 50.0f},
                  kEnemyPoint = {30.0f, 30.0f};
const float kTerrainCellSize = 2.0f, kTerrainHeightScale = 40.0f;

static const uint32_t kHillSeed = 20261208u, kDetailSeed = 4242u;
// Ground within kFlatSamples of a point the game stands something on is levelled to the mean
// around it, blending back into the hills by kBlendSamples.
static const float kFlatSamples = 4.0f, kBlendSamples = 14.0f;
static const Rgb kMagenta = {255, 0, 255};
// The fog's colour, which the sky's horizon must match so far hills melt into it.
static const Rgb kHorizon = {0.70f * 255, 0.72f * 255, 0.75f * 255};

// ---- height map ------------------------------------------------------------------------------

static float sampleOf(float world)
{
    return ((kHeightmapSize - 1) * kTerrainCellSize * 0.5f + world) / kTerrainCellSize;
}

static void levelAround(std::vector<float> *h, GroundPoint p)
{
    const float col = sampleOf(p.x), row = sampleOf(p.z);
    float sum = 0.0f;
    int count = 0;
    auto inside = [](int r, int c) {
        return r >= 0 && c >= 0 && r < kHeightmapSize && c < kHeightmapSize;
    };
    for (int r = (int)(row - kFlatSamples); r <= (int)(row + kFlatSamples) + 1; ++r)
        for (int c = (int)(col - kFlatSamples); c <= (int)(col + kFlatSamples) + 1; ++c) {
            if (!inside(r, c))
                continue;
            sum += (*h)[(size_t)r * kHeightmapSize + c];
            ++count;
        }
    if (count == 0)
        return;
    const float level = sum / (float)count;
    const int reach = (int)kBlendSamples + 2;
    for (int r = (int)row - reach; r <= (int)row + reach; ++r)
        for (int c = (int)col - reach; c <= (int)col + reach; ++c) {
            if (!inside(r, c))
                continue;
            const float d = sqrtf((r - row) * (r - row) + (c - col) * (c - col));
            const float w = 1.0f - smoothstepf(kFlatSamples, kBlendSamples, d);
            float &v = (*h)[(size_t)r * kHeightmapSize + c];
            v = mixf(v, level, w);
        }
}

std::vector<uint8_t> heightmapBytes()
{
    const int n = kHeightmapSize;
    std::vector<uint8_t> hills((size_t)n * n);
    tellurixGenerate(hills.data(), n, n, 3, kHillSeed); // rolling hills
    TellurixPermutation detail;
    tellurixSeedPermutation(&detail, kDetailSeed);
    std::vector<float> h((size_t)n * n);
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c) {
            // Hills of a few hundred units from tellurix, and knolls and hollows of tens of
            // units on top, so there is relief within the fog's reach.
            const float knolls =
                tellurixFbm(&detail, (float)c / n * 18.0f, (float)r / n * 18.0f, 3, 0.45f);
            h[(size_t)r * n + c] =
                hills[(size_t)r * n + c] / 255.0f * 0.75f + (knolls - 0.5f) * 0.45f + 0.12f;
        }
    levelAround(&h, kEnemyPoint);
    levelAround(&h, {(kSpawnPoint.x + kTreePoint.x) * 0.5f, kSpawnPoint.z});
    std::vector<uint8_t> out((size_t)n * n);
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = (uint8_t)(int)(clampf(h[i], 0.0f, 1.0f) * 255.0f);
    return out;
}

float groundHeight(const std::vector<uint8_t> &heights, float x, float z)
{
    const float fx = sampleOf(x), fz = sampleOf(z);
    if (fx < 0 || fz < 0 || fx >= kHeightmapSize - 1 || fz >= kHeightmapSize - 1)
        return 0.0f;
    const int ix = (int)fx, iz = (int)fz;
    const float tx = fx - ix, tz = fz - iz;
    auto at = [&](int c, int r) { return heights[(size_t)r * kHeightmapSize + c] / 255.0f; };
    const float top = mixf(at(ix, iz), at(ix + 1, iz), tx);
    const float bottom = mixf(at(ix, iz + 1), at(ix + 1, iz + 1), tx);
    return mixf(top, bottom, tz) * kTerrainHeightScale;
}

void makeHeightmap(AssetList *out)
{
    const std::vector<uint8_t> heights = heightmapBytes();
    Image image(kHeightmapSize, kHeightmapSize);
    for (int r = 0; r < kHeightmapSize; ++r)
        for (int c = 0; c < kHeightmapSize; ++c) {
            const float v = heights[(size_t)r * kHeightmapSize + c];
            image.set(c, r, {v, v, v});
        }
    out->push_back({"heightmap.bmp", bmpBytes(image)});
}

// ---- snow --------------------------------------------------------------------------------------

void makeSnowTexture(AssetList *out)
{
    // Repeated 120 times across the terrain: only mid and fine detail, so no tile-sized blotch
    // repeats into a visible grid; every noise tiles on the texture's edge.
    const int n = 256;
    Image image(n, n);
    Lcg sparkle = {77u};
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const float u = (float)x / n, v = (float)y / n;
            // Drifts a few units across, wind ripples and grain: enough relief for the eye to
            // read distance and movement on the unlit ground.
            const float drift = fractalNoise(u * 4, v * 4, 4, 4, 0.55f, 11u);
            const float warp = fractalNoise(u * 8, v * 8, 8, 2, 0.5f, 14u);
            const float ripple = 0.5f + 0.5f * sinf((v * 10.0f + warp * 2.5f) * 6.2831853f);
            const float grain = valueNoise(u * 128, v * 128, 128, 128, 13u);
            float light =
                0.74f + (drift - 0.5f) * 0.55f + (ripple - 0.5f) * 0.10f + (grain - 0.5f) * 0.10f;
            Rgb shadow = {178, 192, 216}, lit = {252, 253, 255};
            Rgb c = mixRgb(shadow, lit, clampf(light, 0.0f, 1.0f));
            if (sparkle.draw() < 90)
                c = {255, 255, 255};
            image.set(x, y, c);
        }
    out->push_back({"terrain.bmp", bmpBytes(image)});
}

// ---- sky ---------------------------------------------------------------------------------------

Rgb skyColour(float dx, float dy, float dz)
{
    const float len = sqrtf(dx * dx + dy * dy + dz * dz);
    dx /= len, dy /= len, dz /= len;
    const Rgb zenith = {150, 160, 178};
    const Rgb haze = kHorizon;
    if (dy <= 0.0f)
        return mixRgb(haze, scaleRgb(haze, 0.93f), smoothstepf(0.0f, -0.3f, dy));
    const float up = smoothstepf(0.0f, 0.9f, dy);
    Rgb base = mixRgb(haze, zenith, up);
    // The cloud deck is a plane overhead: looking at it by direction keeps the faces seamless
    // and makes clouds shrink towards the horizon.
    const float k = 1.0f / (dy + 0.12f);
    const float px = dx * k * 1.6f, pz = dz * k * 1.6f;
    const float warp = fractalNoise3(px * 0.7f, 3.0f, pz * 0.7f, 3, 0.5f, 31u);
    const float cloud = fractalNoise3(px + warp * 1.5f, 0.5f, pz - warp * 1.5f, 5, 0.55f, 32u);
    const float density = smoothstepf(0.38f, 0.72f, cloud);
    const float shade = fractalNoise3(px * 2.0f, 7.0f, pz * 2.0f, 3, 0.5f, 33u);
    const Rgb bright = {222, 225, 231}, dark = {132, 139, 152};
    Rgb cloudColour = mixRgb(bright, dark, clampf(shade * 1.2f - 0.1f + density * 0.25f, 0, 1));
    // Near the horizon the clouds thin into the haze that matches the fog.
    const float visible = smoothstepf(0.02f, 0.35f, dy);
    return mixRgb(base, cloudColour, density * visible * 0.9f);
}

void makeSkyFaces(AssetList *out)
{
    // Corners 0, 1 and 3 of each face as the skybox lays them: texture (0, 0) at corner 0, u
    // along corner 1, v along corner 3; v = 0 is the bottom row of the bitmap.
    static const float kCorners[6][3][3] = {
        {{-1, -1, 1}, {1, -1, 1}, {-1, 1, 1}},     // front, z = +h
        {{1, -1, -1}, {-1, -1, -1}, {1, 1, -1}},   // back, z = -h
        {{-1, -1, -1}, {-1, -1, 1}, {-1, 1, -1}},  // left, x = -h
        {{1, -1, 1}, {1, -1, -1}, {1, 1, 1}},      // right, x = +h
        {{-1, 1, 1}, {1, 1, 1}, {-1, 1, -1}},      // top, y = +h
        {{-1, -1, -1}, {1, -1, -1}, {-1, -1, 1}}}; // bottom, y = -h
    static const char *const kNames[6] = {"front", "back", "left", "right", "top", "bottom"};
    const int n = 256;
    for (int f = 0; f < 6; ++f) {
        const float(*c)[3] = kCorners[f];
        Image image(n, n);
        for (int row = 0; row < n; ++row)
            for (int col = 0; col < n; ++col) {
                // Edge pixels sample the edge itself, so neighbouring faces share them.
                const float u = (float)col / (n - 1), v = 1.0f - (float)row / (n - 1);
                float d[3];
                for (int a = 0; a < 3; ++a)
                    d[a] = c[0][a] + u * (c[1][a] - c[0][a]) + v * (c[2][a] - c[0][a]);
                image.set(col, row, skyColour(d[0], d[1], d[2]));
            }
        out->push_back({std::string("skybox_") + kNames[f] + ".bmp", bmpBytes(image)});
    }
}

// ---- overlay pictures --------------------------------------------------------------------------

static void makeFire(AssetList *out)
{
    // Drawn additively on a 0.7-unit billboard: black adds nothing, so the glow fades to black.
    const int n = 128;
    Image image(n, n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const float dx = (x + 0.5f) / n * 2 - 1, dy = (y + 0.5f) / n * 2 - 1;
            const float r = sqrtf(dx * dx + dy * dy), a = atan2f(dy, dx);
            const float rays = powf(fabsf(cosf(a * 3.0f + 0.3f)), 12.0f) * 0.55f +
                               powf(fabsf(cosf(a * 4.0f + 1.1f)), 20.0f) * 0.35f;
            const float jag = valueNoise(a * 5.0f + 20.0f, r * 6.0f, 0, 0, 51u);
            const float reach = 0.35f + rays * (0.45f + 0.25f * jag);
            float glow = clampf(1.0f - r / reach, 0.0f, 1.0f);
            glow = glow * glow;
            const float core = clampf(1.0f - r / 0.22f, 0.0f, 1.0f);
            Rgb c = {255 * clampf(glow * 1.6f, 0, 1), 200 * clampf(glow * 1.3f, 0, 1) * glow,
                     60 * glow * glow};
            c = mixRgb(c, {255, 250, 225}, core * core);
            image.set(x, y, c);
        }
    out->push_back({"fire.bmp", bmpBytes(image)});
}

static void makeHealth(AssetList *out)
{
    // A red cross, drawn additively with magenta keyed away; edges are hard so no pink fringe
    // survives the key.
    const int n = 64;
    Image image(n, n, kMagenta);
    const float arm = 10.0f, reach = 27.0f, round = 4.0f;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const float px = fabsf(x + 0.5f - n / 2.0f), py = fabsf(y + 0.5f - n / 2.0f);
            // Distance outside a rounded plus: the nearer of its two bars.
            auto bar = [&](float hx, float hy) {
                const float qx = fmaxf(px - (hx - round), 0.0f),
                            qy = fmaxf(py - (hy - round), 0.0f);
                return sqrtf(qx * qx + qy * qy) - round;
            };
            const float d = fminf(bar(arm, reach), bar(reach, arm));
            if (d > 0.0f)
                continue;
            const float rim = clampf(-d / 4.0f, 0.0f, 1.0f);
            const float light = 1.0f - (y + 0.5f) / n * 0.45f;
            Rgb c = mixRgb({120, 10, 16}, {235, 40, 40}, rim);
            c = scaleRgb(c, light);
            if (rim > 0.9f && x < n / 2 && y < n / 2 && px + py > 18)
                c = mixRgb(c, {255, 170, 160}, 0.5f);
            image.set(x, y, c);
        }
    out->push_back({"health.bmp", bmpBytes(image)});
}

static void makeTitle(AssetList *out, TextFace *face)
{
    // "Ostrel3D" in icy lettering with snow on the letters' tops and a faint blue glow; drawn
    // additively over the menu with magenta keyed away.
    const int w = 512, h = 128, size = 88;
    const char *text = "Ostrel3D";
    std::vector<uint8_t> mask((size_t)w * h, 0);
    const int textWidth = measureText(face, size, text);
    drawTextMask(face, size, text, (w - textWidth) / 2, 96, &mask, w, h);
    auto cover = [&](int x, int y) {
        return (x < 0 || y < 0 || x >= w || y >= h) ? 0.0f : mask[(size_t)y * w + x] / 255.0f;
    };
    Image image(w, h, kMagenta);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float c = cover(x, y);
            if (c >= 0.5f) {
                // Snow where the letter's top edge is a few pixels above.
                const float snow =
                    (1.0f - cover(x, y - 5)) * 0.8f + (1.0f - cover(x, y - 3)) * 0.2f;
                const float t = clampf((y - 20.0f) / 80.0f, 0.0f, 1.0f);
                Rgb ice = mixRgb({200, 232, 255}, {60, 120, 200}, t);
                const float streak = valueNoise(x * 0.15f, y * 0.6f, 0, 0, 61u);
                ice = scaleRgb(ice, 0.85f + 0.25f * streak);
                image.set(x, y, mixRgb(ice, {255, 255, 255}, clampf(snow, 0, 1)));
                continue;
            }
            float glow = 0.0f;
            for (int dy = -6; dy <= 6; dy += 2)
                for (int dx = -6; dx <= 6; dx += 2)
                    glow += cover(x + dx, y + dy);
            glow /= 49.0f;
            if (glow > 0.02f)
                image.set(x, y, scaleRgb({30, 80, 160}, clampf(glow * 1.5f, 0, 1)));
        }
    out->push_back({"title.bmp", bmpBytes(image)});
}

void makeOverlayImages(AssetList *out, TextFace *face)
{
    makeFire(out);
    makeHealth(out);
    makeTitle(out, face);
}
