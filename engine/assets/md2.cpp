// MD2 models: the reader, the skin and the animation state. The file is not trusted: the header's
// counts, sizes and offsets are checked against the file's length, and every triangle index and
// normal index against its array, before a pose is ever computed from them, so a damaged file
// gives null without reading outside the file or the arrays. Drawing lives in md2_draw.cpp.
#include "ostrel3d.h"

#include "assets/md2.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static const long kHeaderBytes = 68;
static const int32_t kIdent = 0x32504449; // "IDP2" read little-endian
static const int32_t kVersion = 8;
static const long kTexCoordBytes = 4;
static const long kTriangleBytes = 12;
static const long kFrameHeaderBytes = 40; // scale, translate, name
static const long kVertexBytes = 4;
// Bounds that keep a hostile header from asking for absurd memory: triangles index vertices and
// texture coordinates with 16 bits, so more of either could never be used.
static const int32_t kMaxVertices = 65536;
static const int32_t kMaxTexCoords = 65536;
static const int32_t kMaxTriangles = 1 << 20;
static const int32_t kMaxFrames = 1 << 16;
static const int32_t kMaxSkinSide = 1 << 16;
static const int kDefaultFps = 10;

// first frame, last frame, frames per second
static const TMD2Animation kAnimationTable[O3D_MD2_ANIMATION_ROWS] = {
    {0, 39, 9},    {40, 45, 10},  {46, 53, 10},  {54, 57, 7},   {66, 71, 7},    {72, 83, 7},
    {84, 94, 7},   {95, 111, 10}, {112, 122, 7}, {123, 134, 6}, {135, 153, 10}, {154, 159, 7},
    {160, 168, 7}, {169, 172, 7}, {173, 177, 5}, {178, 183, 7}, {184, 189, 7},  {190, 197, 7},
};

static uint32_t readLe32(const unsigned char *p)
{
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

static uint16_t readLe16(const unsigned char *p)
{
    return (uint16_t)(p[0] | p[1] << 8);
}

static float readLeFloat(const unsigned char *p)
{
    uint32_t bits = readLe32(p);
    float value;
    memcpy(&value, &bits, sizeof value);
    return value;
}

// calloc that also hands out a block for zero elements, so an empty array is not a failure.
static void *allocZeroed(int32_t count, size_t size)
{
    return calloc(count > 0 ? (size_t)count : 1, size);
}

static long fileLength(FILE *file)
{
    if (fseek(file, 0, SEEK_END) != 0)
        return -1;
    return ftell(file);
}

static int countIn(int32_t value, int32_t low, int32_t high)
{
    return value >= low && value <= high;
}

// A section of `count` items of `itemBytes` at `offset` lies after the header and inside the file.
static int sectionFits(int32_t offset, int32_t count, long itemBytes, long length)
{
    int64_t bytes = (int64_t)count * itemBytes;
    if (bytes == 0)
        return 1;
    return offset >= kHeaderBytes && (int64_t)offset + bytes <= (int64_t)length;
}

static int headerIsSane(const TMD2Header *h, long length)
{
    if (h->ident != kIdent || h->version != kVersion)
        return 0;
    if (!countIn(h->skinWidth, 1, kMaxSkinSide) || !countIn(h->skinHeight, 1, kMaxSkinSide))
        return 0;
    if (!countIn(h->numVertices, 0, kMaxVertices) || !countIn(h->numTexCoords, 0, kMaxTexCoords) ||
        !countIn(h->numTriangles, 0, kMaxTriangles) || !countIn(h->numFrames, 1, kMaxFrames))
        return 0;
    if ((int64_t)h->frameSize < kFrameHeaderBytes + (int64_t)h->numVertices * kVertexBytes)
        return 0;
    return sectionFits(h->offsetTexCoords, h->numTexCoords, kTexCoordBytes, length) &&
           sectionFits(h->offsetTriangles, h->numTriangles, kTriangleBytes, length) &&
           sectionFits(h->offsetFrames, h->numFrames, h->frameSize, length);
}

static void decodeHeader(const unsigned char *raw, TMD2Header *h)
{
    int32_t *fields[] = {
        &h->ident,           &h->version,         &h->skinWidth,    &h->skinHeight,
        &h->frameSize,       &h->numSkins,        &h->numVertices,  &h->numTexCoords,
        &h->numTriangles,    &h->numGLCommands,   &h->numFrames,    &h->offsetSkins,
        &h->offsetTexCoords, &h->offsetTriangles, &h->offsetFrames, &h->offsetGLCommands,
        &h->offsetEnd};
    for (size_t i = 0; i < sizeof fields / sizeof fields[0]; ++i)
        *fields[i] = (int32_t)readLe32(raw + 4 * i);
}

// Reads `bytes` at `offset` into a new buffer; null on failure. Zero bytes give an empty block.
static unsigned char *readSection(FILE *file, int32_t offset, int64_t bytes)
{
    unsigned char *data = (unsigned char *)malloc(bytes > 0 ? (size_t)bytes : 1);
    if (!data || bytes == 0)
        return data;
    if (fseek(file, offset, SEEK_SET) != 0 ||
        fread(data, 1, (size_t)bytes, file) != (size_t)bytes) {
        free(data);
        return nullptr;
    }
    return data;
}

static int readTexCoords(FILE *file, TMD2Model *model)
{
    const TMD2Header *h = &model->header;
    unsigned char *raw =
        readSection(file, h->offsetTexCoords, (int64_t)h->numTexCoords * kTexCoordBytes);
    if (!raw)
        return 0;
    for (int32_t i = 0; i < h->numTexCoords; ++i) {
        model->texCoords[i].s = (int16_t)readLe16(raw + i * kTexCoordBytes);
        model->texCoords[i].t = (int16_t)readLe16(raw + i * kTexCoordBytes + 2);
    }
    free(raw);
    return 1;
}

// Refuses a triangle that names a vertex or texture coordinate the file does not have.
static int readTriangles(FILE *file, TMD2Model *model)
{
    const TMD2Header *h = &model->header;
    unsigned char *raw =
        readSection(file, h->offsetTriangles, (int64_t)h->numTriangles * kTriangleBytes);
    if (!raw)
        return 0;
    int ok = 1;
    for (int32_t i = 0; i < h->numTriangles && ok; ++i) {
        TMD2Triangle *tri = &model->triangles[i];
        const unsigned char *p = raw + (size_t)i * kTriangleBytes;
        for (int k = 0; k < 3; ++k) {
            tri->vertexIndex[k] = readLe16(p + 2 * k);
            tri->texCoordIndex[k] = readLe16(p + 6 + 2 * k);
            ok = ok && tri->vertexIndex[k] < h->numVertices &&
                 tri->texCoordIndex[k] < h->numTexCoords;
        }
    }
    free(raw);
    return ok;
}

// Copies each frame out of one reused block; refuses a normal index beyond the table.
static int readFrames(FILE *file, TMD2Model *model)
{
    const TMD2Header *h = &model->header;
    size_t vertexBytes = (size_t)h->numVertices * kVertexBytes;
    unsigned char *block = (unsigned char *)malloc((size_t)h->frameSize);
    if (!block || fseek(file, h->offsetFrames, SEEK_SET) != 0) {
        free(block);
        return 0;
    }
    int ok = 1;
    for (int32_t f = 0; f < h->numFrames && ok; ++f) {
        TMD2Frame *frame = &model->frames[f];
        frame->vertices = (uint8_t *)malloc(vertexBytes > 0 ? vertexBytes : 1);
        ok = frame->vertices && fread(block, 1, (size_t)h->frameSize, file) == (size_t)h->frameSize;
        if (!ok)
            break;
        for (int k = 0; k < 3; ++k) {
            frame->scale[k] = readLeFloat(block + 4 * k);
            frame->translate[k] = readLeFloat(block + 12 + 4 * k);
        }
        memcpy(frame->name, block + 24, sizeof frame->name);
        frame->name[sizeof frame->name - 1] = '\0';
        memcpy(frame->vertices, block + kFrameHeaderBytes, vertexBytes);
        for (size_t v = 3; v < vertexBytes && ok; v += kVertexBytes)
            ok = frame->vertices[v] < kMd2NormalCount;
    }
    free(block);
    return ok;
}

static int allocateArrays(TMD2Model *model)
{
    const TMD2Header *h = &model->header;
    int32_t corners = h->numTriangles * 3;
    model->frames = (TMD2Frame *)allocZeroed(h->numFrames, sizeof(TMD2Frame));
    model->triangles = (TMD2Triangle *)allocZeroed(h->numTriangles, sizeof(TMD2Triangle));
    model->texCoords = (TMD2TexCoord *)allocZeroed(h->numTexCoords, sizeof(TMD2TexCoord));
    model->cornerPositions = (float *)allocZeroed(corners, 3 * sizeof(float));
    model->cornerNormals = (float *)allocZeroed(corners, 3 * sizeof(float));
    model->cornerTexCoords = (float *)allocZeroed(corners, 2 * sizeof(float));
    model->vertexPositions = (float *)allocZeroed(h->numVertices, 3 * sizeof(float));
    model->vertexNormals = (float *)allocZeroed(h->numVertices, 3 * sizeof(float));
    return model->frames && model->triangles && model->texCoords && model->cornerPositions &&
           model->cornerNormals && model->cornerTexCoords && model->vertexPositions &&
           model->vertexNormals;
}

static void computeCornerTexCoords(TMD2Model *model)
{
    const TMD2Header *h = &model->header;
    for (int32_t i = 0; i < h->numTriangles; ++i) {
        for (int k = 0; k < 3; ++k) {
            const TMD2TexCoord *tc = &model->texCoords[model->triangles[i].texCoordIndex[k]];
            float *uv = model->cornerTexCoords + ((size_t)i * 3 + k) * 2;
            uv[0] = (float)tc->s / (float)h->skinWidth;
            uv[1] = 1.0f - (float)tc->t / (float)h->skinHeight;
        }
    }
}

// Frees whatever a model holds, also a model whose load stopped half-way.
static void freeModel(TMD2Model *model)
{
    if (model->frames) {
        for (int32_t f = 0; f < model->header.numFrames; ++f)
            free(model->frames[f].vertices);
    }
    free(model->frames);
    free(model->triangles);
    free(model->texCoords);
    free(model->cornerPositions);
    free(model->cornerNormals);
    free(model->cornerTexCoords);
    free(model->vertexPositions);
    free(model->vertexNormals);
    free(model->animation);
    free(model);
}

static int usable(const TMD2Model *model)
{
    return model && model->valid;
}

static void holdFrame(TMD2Model *model, int frame)
{
    model->currentFrame = frame;
    model->nextFrame = frame;
    model->interpolation = 0.0f;
    model->frameTime = 0.0f;
}

static const TMD2Animation *tableRow(int row)
{
    return &kAnimationTable[row >= 0 && row < O3D_MD2_ANIMATION_ROWS ? row : 0];
}

TMD2Model *o3DLoadMD2(const char *path)
{
    if (!path)
        return nullptr;
    FILE *file = fopen(path, "rb");
    if (!file)
        return nullptr;
    TMD2Model *model = (TMD2Model *)calloc(1, sizeof(TMD2Model));
    unsigned char raw[kHeaderBytes];
    long length = fileLength(file);
    int ok = model && length >= kHeaderBytes && fseek(file, 0, SEEK_SET) == 0 &&
             fread(raw, 1, sizeof raw, file) == sizeof raw;
    if (ok) {
        decodeHeader(raw, &model->header);
        ok = headerIsSane(&model->header, length) && allocateArrays(model) &&
             readTexCoords(file, model) && readTriangles(file, model) && readFrames(file, model);
    }
    fclose(file);
    if (!ok) {
        if (model)
            freeModel(model);
        return nullptr;
    }
    computeCornerTexCoords(model);
    model->cachedFrame = -1;
    model->cachedInterpolation = -1.0f;
    model->alpha = 1.0f;
    model->valid = 1;
    return model;
}

void o3DFreeMD2(TMD2Model *model)
{
    if (model)
        freeModel(model);
}

int o3DLoadMD2Skin(TMD2Model *model, const char *path)
{
    if (!usable(model))
        return 0;
    TTexture *tex = (TTexture *)calloc(1, sizeof(TTexture));
    if (!tex)
        return 0;
    if (!o3DLoadTexture(tex, path)) {
        free(tex);
        return 0;
    }
    model->skin = tex;
    return 1;
}

void o3DSetMD2Skin(TMD2Model *model, TTexture *skin)
{
    if (usable(model))
        model->skin = skin;
}

void o3DFreeMD2Skin(TMD2Model *model)
{
    if (!usable(model) || !model->skin)
        return;
    o3DFreeTexture(model->skin);
    free(model->skin);
    model->skin = nullptr;
}

void o3DSetMD2FrameRange(TMD2Model *model, int first, int last, int fps)
{
    if (!usable(model))
        return;
    int lastFrame = model->header.numFrames - 1;
    if (first < 0 || first > lastFrame)
        first = 0;
    if (last < 0 || last > lastFrame)
        last = lastFrame;
    if (last < first)
        last = first;
    if (fps < 1)
        fps = kDefaultFps;
    if (!model->animation) {
        model->animation = (TMD2Animation *)malloc(sizeof(TMD2Animation));
        if (!model->animation)
            return;
    }
    model->animation->first = first;
    model->animation->last = last;
    model->animation->fps = fps;
    holdFrame(model, first);
    model->nextFrame = first + 1 > last ? first : first + 1;
}

void o3DSetMD2Animation(TMD2Model *model, int row)
{
    const TMD2Animation *a = tableRow(row);
    o3DSetMD2FrameRange(model, a->first, a->last, a->fps);
}

void o3DGetMD2AnimationInfo(int row, int *first, int *last, int *fps)
{
    const TMD2Animation *a = tableRow(row);
    if (first)
        *first = a->first;
    if (last)
        *last = a->last;
    if (fps)
        *fps = a->fps;
}

void o3DAnimateMD2(TMD2Model *model, float dt)
{
    if (!usable(model) || !model->animation || !(dt >= 0.0f) || !isfinite(dt))
        return;
    const TMD2Animation *a = model->animation;
    float step = 1.0f / (float)a->fps;
    model->frameTime += dt;
    model->interpolation = model->frameTime / step;
    // After the first step the frames repeat every range length, so a long pause (or a huge dt)
    // drops whole laps instead of stepping through each of them.
    int32_t length = a->last - a->first + 1;
    if (model->interpolation >= 1.0f + (float)length) {
        float laps = floorf((model->interpolation - 1.0f) / (float)length);
        model->frameTime -= laps * (float)length * step;
        model->interpolation = model->frameTime / step;
    }
    while (model->interpolation >= 1.0f) {
        model->interpolation -= 1.0f;
        model->frameTime -= step;
        model->currentFrame = model->nextFrame;
        model->nextFrame += 1;
        if (model->nextFrame > a->last)
            model->nextFrame = a->first;
    }
}

void o3DSetMD2Frame(TMD2Model *model, int frame)
{
    if (usable(model) && frame >= 0 && frame < model->header.numFrames)
        holdFrame(model, frame);
}

int o3DGetMD2FrameCount(TMD2Model *model)
{
    return usable(model) ? model->header.numFrames : 0;
}

int o3DGetMD2CurrentFrame(TMD2Model *model)
{
    return usable(model) ? model->currentFrame : 0;
}

const char *o3DGetMD2FrameName(TMD2Model *model, int frame)
{
    if (!usable(model) || frame < 0 || frame >= model->header.numFrames)
        return nullptr;
    return model->frames[frame].name;
}

void o3DSetMD2Alpha(TMD2Model *model, float alpha)
{
    if (!usable(model))
        return;
    if (!(alpha >= 0.0f))
        alpha = 0.0f;
    if (alpha > 1.0f)
        alpha = 1.0f;
    model->alpha = alpha;
    model->translucent = alpha < 1.0f;
}
