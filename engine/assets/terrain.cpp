// Heightmap terrain: the build from height bytes (placement, texture coordinates, normals, the
// sampled mesh grid), the height and normal queries over the full-resolution samples, the texture
// the terrain may own, and drawing (in tiles, terrain_tiles.cpp). Reading the heightmap goes
// through the platform's bitmap loader; building and querying need no GL, compiling and drawing
// need the context.
#include "assets/terrain.h"

#include "platform/gl_api.h"
#include "platform/seam.h"

#include <stdint.h>
#include <stdlib.h>

static const int kDefaultSamplingStep = 2;
static const float kHeightByteScale = 1.0f / 255.0f;
// The vertical part of every normal before normalising: it fixes how steep a slope looks.
static const float kNormalUp = 2.0f;
// The normal query compares heights this far either side of the point.
static const float kNormalProbeDistance = 1.0f;

struct TerrainState {
    int step;
};

static TerrainState sTerrain = {kDefaultSamplingStep};

static int clampStep(int step)
{
    return step < 1 ? 1 : step;
}

static int gridWidth(const TTerrain *t)
{
    return (t->width - 1) / t->step + 1;
}

static int gridDepth(const TTerrain *t)
{
    return (t->depth - 1) / t->step + 1;
}

static float sampleAt(const TTerrain *t, int r, int k)
{
    return t->heights[(size_t)r * t->width + k];
}

// k / (size - 1), and 0 along an axis of one sample, which has no span to divide.
static float fraction(int k, int size)
{
    return size > 1 ? (float)k / (float)(size - 1) : 0.0f;
}

static void placeVertices(TTerrain *t)
{
    float halfW = (float)(t->width - 1) * t->cellSize * 0.5f;
    float halfD = (float)(t->depth - 1) * t->cellSize * 0.5f;
    float *v = t->mesh->vertices;
    for (int r = 0; r < t->depth; r += t->step)
        for (int k = 0; k < t->width; k += t->step) {
            *v++ = (float)k * t->cellSize - halfW;
            *v++ = sampleAt(t, r, k) * t->heightScale;
            *v++ = (float)r * t->cellSize - halfD;
        }
}

static void placeTexCoords(TTerrain *t)
{
    float *uv = t->mesh->texCoords;
    for (int r = 0; r < t->depth; r += t->step)
        for (int k = 0; k < t->width; k += t->step) {
            *uv++ = fraction(k, t->width) * t->repeatU;
            *uv++ = fraction(r, t->depth) * t->repeatV;
        }
    t->mesh->hasTexCoords = 1;
}

// From the neighbours one step away on the full-resolution samples; an edge uses its own height.
static void computeNormals(TTerrain *t)
{
    int s = t->step;
    float slope = t->heightScale / t->cellSize;
    float *n = t->mesh->normals;
    for (int r = 0; r < t->depth; r += s)
        for (int k = 0; k < t->width; k += s) {
            float hC = sampleAt(t, r, k);
            float hL = k > 0 ? sampleAt(t, r, k - s) : hC;
            float hR = k < t->width - s ? sampleAt(t, r, k + s) : hC;
            float hU = r > 0 ? sampleAt(t, r - s, k) : hC;
            float hD = r < t->depth - s ? sampleAt(t, r + s, k) : hC;
            TVector3 normal =
                o3DVectorNormalize(o3DVector3((hL - hR) * slope, kNormalUp, (hU - hD) * slope));
            *n++ = normal.x;
            *n++ = normal.y;
            *n++ = normal.z;
        }
    t->mesh->hasNormals = 1;
}

// Two triangles per grid cell; seen from above they run clockwise.
static void fillIndices(TTerrain *t)
{
    int gw = gridWidth(t), gd = gridDepth(t);
    uint32_t *p = t->mesh->indices;
    for (int i = 0; i + 1 < gd; ++i)
        for (int j = 0; j + 1 < gw; ++j) {
            uint32_t a = (uint32_t)(i * gw + j), b = a + 1;
            uint32_t d1 = (uint32_t)((i + 1) * gw + j + 1), d0 = d1 - 1;
            *p++ = a;
            *p++ = b;
            *p++ = d1;
            *p++ = a;
            *p++ = d1;
            *p++ = d0;
        }
}

static void recompile(TTerrain *t)
{
    if (t->mesh->hasDisplayList)
        terrainCompile(t, terrainTilesOf(t)->cells);
}

TTerrain *terrainBuild(const unsigned char *bytes, int width, int depth, float cellSize,
                       float heightScale, int step)
{
    if (!bytes || width < 1 || depth < 1)
        return nullptr;
    step = clampStep(step);
    TerrainRecord *record = (TerrainRecord *)calloc(1, sizeof(TerrainRecord));
    if (!record)
        return nullptr;
    TTerrain *t = &record->terrain;
    terrainTilesOf(t)->cells = kTerrainTileCells;
    t->width = width;
    t->depth = depth;
    t->cellSize = cellSize;
    t->heightScale = heightScale;
    t->repeatU = t->repeatV = 1.0f;
    t->step = step;
    size_t samples = (size_t)width * (size_t)depth;
    int64_t gw = gridWidth(t), gd = gridDepth(t);
    int64_t indexCount = (gw - 1) * (gd - 1) * 6;
    // The mesh counts are ints; a heightmap too large for them fails like a failed allocation.
    int fits =
        gw * gd <= INT32_MAX && indexCount <= INT32_MAX && samples <= SIZE_MAX / sizeof(float);
    t->heights = fits ? (float *)malloc(samples * sizeof(float)) : nullptr;
    if (!t->heights) {
        free(record);
        return nullptr;
    }
    for (size_t i = 0; i < samples; ++i)
        t->heights[i] = (float)bytes[i] * kHeightByteScale;
    t->mesh = o3DCreateMesh((int)(gw * gd), (int)indexCount);
    if (!t->mesh) {
        free(t->heights);
        free(record);
        return nullptr;
    }
    placeVertices(t);
    placeTexCoords(t);
    fillIndices(t);
    computeNormals(t);
    return t;
}

unsigned char *terrainHeightBytes(const unsigned char *bgrRows, int width, int height)
{
    if (!bgrRows || width < 1 || height < 1)
        return nullptr;
    size_t rowBytes = (((size_t)width * 3 + 3) / 4) * 4;
    unsigned char *bytes = (unsigned char *)malloc((size_t)width * (size_t)height);
    if (!bytes)
        return nullptr;
    for (int y = 0; y < height; ++y) {
        const unsigned char *px = bgrRows + (size_t)y * rowBytes;
        unsigned char *out = bytes + (size_t)y * width;
        for (int x = 0; x < width; ++x, px += 3)
            out[x] = (unsigned char)(((unsigned)px[0] + px[1] + px[2]) / 3);
    }
    return bytes;
}

void o3DSetTerrainStep(int step)
{
    sTerrain.step = step;
}

int o3DGetTerrainStep(void)
{
    return clampStep(sTerrain.step);
}

TTerrain *o3DCreateTerrain(const char *path, float cellSize, float heightScale)
{
    if (!path)
        return nullptr;
    int width = 0, height = 0;
    unsigned char *pixels = gImageSeam.readBitmap(path, &width, &height);
    if (!pixels)
        return nullptr;
    unsigned char *bytes = terrainHeightBytes(pixels, width, height);
    free(pixels);
    if (!bytes)
        return nullptr;
    TTerrain *t = o3DCreateTerrainFromBytes(bytes, width, height, cellSize, heightScale);
    free(bytes);
    return t;
}

TTerrain *o3DCreateTerrainFromBytes(const unsigned char *bytes, int width, int depth,
                                    float cellSize, float heightScale)
{
    TTerrain *t = terrainBuild(bytes, width, depth, cellSize, heightScale, o3DGetTerrainStep());
    if (t)
        terrainCompile(t, kTerrainTileCells);
    return t;
}

void o3DFreeTerrain(TTerrain *terrain)
{
    if (!terrain)
        return;
    terrainReleaseTiles(terrain);
    o3DFreeMesh(terrain->mesh);
    free(terrain->heights);
    o3DFreeTerrainTexture(terrain);
    free(reinterpret_cast<TerrainRecord *>(terrain));
}

int o3DLoadTerrainTexture(TTerrain *terrain, const char *path)
{
    if (!terrain || !path)
        return 0;
    o3DFreeTerrainTexture(terrain);
    TTexture *tex = (TTexture *)calloc(1, sizeof(TTexture));
    if (!tex)
        return 0;
    if (!o3DLoadTexture(tex, path)) {
        free(tex);
        return 0;
    }
    terrain->texture = tex;
    terrain->hasTexture = 1;
    return 1;
}

void o3DSetTerrainTexture(TTerrain *terrain, TTexture *tex)
{
    if (!terrain)
        return;
    terrain->texture = tex;
    terrain->hasTexture = tex && tex->loaded ? 1 : 0;
}

void o3DDetachTerrainTexture(TTerrain *terrain)
{
    if (!terrain)
        return;
    terrain->texture = nullptr;
    terrain->hasTexture = 0;
}

void o3DFreeTerrainTexture(TTerrain *terrain)
{
    if (!terrain)
        return;
    if (terrain->texture) {
        if (terrain->texture->loaded && terrain->texture->id != 0)
            o3DFreeTexture(terrain->texture);
        free(terrain->texture);
        terrain->texture = nullptr;
    }
    terrain->hasTexture = 0;
}

int o3DHasTerrainTexture(TTerrain *terrain)
{
    return terrain && terrain->hasTexture && terrain->texture && terrain->texture->loaded;
}

void o3DSetTerrainTextureRepeat(TTerrain *terrain, float repeatU, float repeatV)
{
    if (!terrain || !terrain->mesh)
        return;
    terrain->repeatU = repeatU;
    terrain->repeatV = repeatV;
    placeTexCoords(terrain);
    recompile(terrain);
}

void o3DSetTerrainScale(TTerrain *terrain, float cellSize, float heightScale)
{
    if (!terrain || !terrain->mesh)
        return;
    terrain->cellSize = cellSize;
    terrain->heightScale = heightScale;
    placeVertices(terrain);
    computeNormals(terrain);
    recompile(terrain);
}

void o3DDrawTerrain(TTerrain *terrain)
{
    if (!terrain || !terrain->mesh)
        return;
    GLboolean texturing = glIsEnabled(GL_TEXTURE_2D);
    int textured = o3DHasTerrainTexture(terrain);
    if (textured) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, terrain->texture->id);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    }
    terrainDrawTiles(terrain);
    if (textured && !texturing)
        glDisable(GL_TEXTURE_2D);
}

void o3DDrawTerrainWireframe(TTerrain *terrain)
{
    if (!terrain || !terrain->mesh)
        return;
    glPushAttrib(GL_POLYGON_BIT);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    terrainDrawTiles(terrain);
    glPopAttrib();
}

float o3DGetTerrainHeight(TTerrain *terrain, float x, float z)
{
    if (!terrain)
        return 0.0f;
    const TTerrain *t = terrain;
    float fx = ((float)(t->width - 1) * t->cellSize * 0.5f + x) / t->cellSize;
    float fz = ((float)(t->depth - 1) * t->cellSize * 0.5f + z) / t->cellSize;
    // Written so that not-a-number falls outside too; the far row and column count as outside,
    // which keeps the +1 neighbours below inside the array.
    if (!(fx >= 0.0f && fx < (float)(t->width - 1) && fz >= 0.0f && fz < (float)(t->depth - 1)))
        return 0.0f;
    int ix = (int)fx, iz = (int)fz;
    float tx = fx - (float)ix, tz = fz - (float)iz;
    const float *row0 = t->heights + (size_t)iz * t->width + ix;
    const float *row1 = row0 + t->width;
    float top = row0[0] + (row0[1] - row0[0]) * tx;
    float bottom = row1[0] + (row1[1] - row1[0]) * tx;
    return (top + (bottom - top) * tz) * t->heightScale;
}

TVector3 o3DGetTerrainNormal(TTerrain *terrain, float x, float z)
{
    if (!terrain)
        return o3DVector3(0.0f, 1.0f, 0.0f);
    const float d = kNormalProbeDistance;
    float dx = o3DGetTerrainHeight(terrain, x - d, z) - o3DGetTerrainHeight(terrain, x + d, z);
    float dz = o3DGetTerrainHeight(terrain, x, z - d) - o3DGetTerrainHeight(terrain, x, z + d);
    return o3DVectorNormalize(o3DVector3(dx, 2.0f * d, dz));
}
