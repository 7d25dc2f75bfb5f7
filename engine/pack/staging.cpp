// Asset staging: connects the file loaders to resource packs. Each operation reads one entry,
// writes it whole to a temporary file in the current directory, calls the file loader on that
// name and deletes the file again, whatever the loader made of it, so no failure leaves a file
// behind once one was created. Sound effects alone are built from the bytes in memory. Fonts
// stage two files (the metrics, with their second line rewritten to name the staged glyph sheet,
// and the sheet); skybox faces get clamped edges. Leftover files of a crashed run are swept by
// pattern through the platform's file seam.

#include "pack/staging.h"

#include "ostrel3d.h"
#include "platform/gl_api.h"
#include "platform/seam.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static const char *const kDefaultFontSheet = "font.bmp";
static const size_t kMaxSheetNameChars = 254;
static const int kSkyboxFaceCount = 6;

static const char *const kStartUpSweep[] = {"temp_sound_*.wav"};
static const char *const kShutdownSweep[] = {
    "temp_sound_*.wav", "temp_bitmap_*.bmp", "temp_font_*.bmp", "temp_md2_*.md2", "temp_obj_*.obj",
};

// How a temporary name is made: prefix, unique part, extension. The unique part is the target
// record's address printed as a pointer, or, without a target (loaders that return a new object),
// the address of the entry's bytes in memory as a 32-bit signed number.
struct TempName {
    const char *prefix;
    const char *extension;
    const void *target;
};

// A file loader behind staging: loads from `path` into what `context` says; 1 on success.
typedef int (*StagedLoader)(const char *path, void *context);

static void formatTempName(char out[kStagingNameChars], const TempName &name, const void *bytes)
{
    if (name.target != nullptr) {
        snprintf(out, kStagingNameChars, "%s%p%s", name.prefix, name.target, name.extension);
    } else {
        snprintf(out, kStagingNameChars, "%s%d%s", name.prefix, (int)stagingAddressNumber(bytes),
                 name.extension);
    }
}

// Creates the file and writes the bytes; 0 if it can't be created. A short write is left to the
// loader to find, like a damaged file.
static int writeTempFile(const char *path, const void *bytes, size_t size)
{
    FILE *file = fopen(path, "wb");
    if (file == nullptr) {
        return 0;
    }
    size_t written = fwrite(bytes, 1, size, file);
    (void)written;
    fclose(file);
    return 1;
}

// Read the entry, write it to its temporary file, free the bytes, load, delete the file.
static int stageEntry(TPack *pack, const char *entry, const TempName &name, StagedLoader load,
                      void *context)
{
    uint32_t size = 0;
    unsigned char *bytes = o3DReadPackEntry(pack, entry, &size);
    if (bytes == nullptr) {
        return 0;
    }
    char path[kStagingNameChars];
    formatTempName(path, name, bytes);
    int written = writeTempFile(path, bytes, size);
    o3DFreePackData(bytes);
    if (!written) {
        return 0;
    }
    int result = load(path, context);
    remove(path);
    return result;
}

static void sweep(const char *const *patterns, size_t count)
{
    for (size_t i = 0; i < count; i++) {
        gFileSeam.deleteMatching(patterns[i]);
    }
}

// Loaders behind the table's rows, each with the record and key colour it needs.
struct KeyedTarget {
    void *target;
    uint8_t r, g, b;
};

static int loadImage(const char *path, void *context)
{
    return o3DLoadImage((TTexture *)context, path);
}

static int loadImageKeyed(const char *path, void *context)
{
    const KeyedTarget *keyed = (const KeyedTarget *)context;
    return o3DLoadImageKeyed((TTexture *)keyed->target, path, keyed->r, keyed->g, keyed->b);
}

static int loadTexture(const char *path, void *context)
{
    return o3DLoadTexture((TTexture *)context, path);
}

static int loadBackground(const char *path, void *context)
{
    return o3DLoadBackground((TBackground *)context, path);
}

static int loadBackgroundKeyed(const char *path, void *context)
{
    const KeyedTarget *keyed = (const KeyedTarget *)context;
    return o3DLoadBackgroundKeyed((TBackground *)keyed->target, path, keyed->r, keyed->g, keyed->b);
}

static int loadFontKeyed(const char *path, void *context)
{
    const KeyedTarget *keyed = (const KeyedTarget *)context;
    return o3DLoadFontKeyed((TFont *)keyed->target, path, keyed->r, keyed->g, keyed->b);
}

static int loadFontDefault(const char *path, void *context)
{
    return o3DLoadFont((TFont *)context, path);
}

static int loadMesh(const char *path, void *context)
{
    TMesh **mesh = (TMesh **)context;
    *mesh = o3DLoadOBJ(path);
    return *mesh != nullptr;
}

static int loadModel(const char *path, void *context)
{
    TMD2Model **model = (TMD2Model **)context;
    *model = o3DLoadMD2(path);
    return *model != nullptr;
}

static int loadMusic(const char *path, void *context)
{
    return o3DLoadMusic((TMusic *)context, path);
}

// A skybox face goes into a record of its own, installed only once it has loaded.
static int loadSkyboxFace(const char *path, void *context)
{
    TTexture **face = (TTexture **)context;
    TTexture *tex = (TTexture *)calloc(1, sizeof(TTexture));
    if (tex == nullptr) {
        return 0;
    }
    if (!o3DLoadTexture(tex, path)) {
        free(tex);
        return 0;
    }
    *face = tex;
    return 1;
}

static void installSkyboxFace(TSkybox *sky, int face, TTexture *tex)
{
    glBindTexture(GL_TEXTURE_2D, tex->id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    if (sky->faces[face] != nullptr) {
        o3DFreeTexture(sky->faces[face]);
        free(sky->faces[face]);
    }
    sky->faces[face] = tex;
}

// Stages a font: the sheet entry its metrics name, then the metrics rewritten to name the staged
// sheet, so the font loader finds the sheet beside them in the current directory.
static int stageFont(TPack *pack, TFont *font, const char *entry, StagedLoader load, void *context)
{
    if (pack == nullptr || font == nullptr || entry == nullptr) {
        return 0;
    }
    uint32_t metricsSize = 0;
    unsigned char *metrics = o3DReadPackEntry(pack, entry, &metricsSize);
    if (metrics == nullptr) {
        return 0;
    }
    char sheetEntry[kStagingNameChars];
    stagingFontSheetName(metrics, metricsSize, sheetEntry);
    uint32_t sheetSize = 0;
    unsigned char *sheet = o3DReadPackEntry(pack, sheetEntry, &sheetSize);
    if (sheet == nullptr) {
        o3DFreePackData(metrics);
        return 0;
    }
    char sheetPath[kStagingNameChars];
    char metricsPath[kStagingNameChars];
    formatTempName(sheetPath, {"temp_font_", ".bmp", font}, nullptr);
    formatTempName(metricsPath, {"temp_font_", ".met", font}, nullptr);
    int sheetWritten = writeTempFile(sheetPath, sheet, sheetSize);
    o3DFreePackData(sheet);
    if (!sheetWritten) {
        o3DFreePackData(metrics);
        return 0;
    }
    size_t rewrittenSize = 0;
    unsigned char *rewritten =
        stagingRewriteMetrics(metrics, metricsSize, sheetPath, &rewrittenSize);
    o3DFreePackData(metrics);
    int metricsWritten =
        rewritten != nullptr && writeTempFile(metricsPath, rewritten, rewrittenSize);
    free(rewritten);
    if (!metricsWritten) {
        remove(sheetPath);
        return 0;
    }
    int result = load(metricsPath, context);
    remove(metricsPath);
    remove(sheetPath);
    return result;
}

void stagingSweepAtStartUp(void)
{
    sweep(kStartUpSweep, sizeof kStartUpSweep / sizeof kStartUpSweep[0]);
}

void stagingSweepAtShutdown(void)
{
    sweep(kShutdownSweep, sizeof kShutdownSweep / sizeof kShutdownSweep[0]);
}

int32_t stagingAddressNumber(const void *address)
{
    uint32_t low = (uint32_t)(uintptr_t)address;
    // Two's complement spelled out: converting a value above INT32_MAX is implementation-defined.
    return low <= 0x7FFFFFFFu ? (int32_t)low : -(int32_t)~low - 1;
}

void stagingFontSheetName(const unsigned char *metrics, uint32_t size, char name[kStagingNameChars])
{
    const unsigned char *end = metrics + size;
    const unsigned char *lineFeed = (const unsigned char *)memchr(metrics, '\n', size);
    const unsigned char *start = lineFeed != nullptr ? lineFeed + 1 : end;
    const unsigned char *stop = start;
    while (stop < end && *stop != '\r' && *stop != '\n') {
        stop++;
    }
    size_t length = (size_t)(stop - start);
    if (length < 1 || length > kMaxSheetNameChars) {
        snprintf(name, kStagingNameChars, "%s", kDefaultFontSheet);
        return;
    }
    memcpy(name, start, length);
    name[length] = '\0';
}

unsigned char *stagingRewriteMetrics(const unsigned char *metrics, uint32_t size,
                                     const char *sheetName, size_t *outSize)
{
    const unsigned char *end = metrics + size;
    const unsigned char *firstFeed = (const unsigned char *)memchr(metrics, '\n', size);
    size_t firstLength = firstFeed != nullptr ? (size_t)(firstFeed - metrics) : size;
    const unsigned char *rest = end;
    if (firstFeed != nullptr) {
        const unsigned char *secondFeed =
            (const unsigned char *)memchr(firstFeed + 1, '\n', (size_t)(end - firstFeed - 1));
        rest = secondFeed != nullptr ? secondFeed + 1 : end;
    }
    size_t nameLength = strlen(sheetName);
    size_t restLength = (size_t)(end - rest);
    size_t total = firstLength + 1 + nameLength + 1 + restLength;
    unsigned char *out = (unsigned char *)malloc(total);
    if (out == nullptr) {
        return nullptr;
    }
    unsigned char *at = out;
    memcpy(at, metrics, firstLength);
    at += firstLength;
    *at++ = '\n';
    memcpy(at, sheetName, nameLength);
    at += nameLength;
    *at++ = '\n';
    memcpy(at, rest, restLength);
    *outSize = total;
    return out;
}

int o3DLoadTextureFromPack(TPack *pack, TTexture *img, const char *name)
{
    if (pack == nullptr || img == nullptr || name == nullptr) {
        return 0;
    }
    return stageEntry(pack, name, {"temp_bitmap_", ".bmp", img}, loadImage, img);
}

int o3DLoadImageFromPack(TPack *pack, TTexture *img, const char *name, uint8_t r, uint8_t g,
                         uint8_t b)
{
    if (pack == nullptr || img == nullptr || name == nullptr) {
        return 0;
    }
    KeyedTarget keyed = {img, r, g, b};
    return stageEntry(pack, name, {"temp_bitmap_", ".bmp", img}, loadImageKeyed, &keyed);
}

int o3DLoadTextureImageFromPack(TPack *pack, TTexture *tex, const char *name)
{
    if (pack == nullptr || tex == nullptr || name == nullptr) {
        return 0;
    }
    return stageEntry(pack, name, {"temp_texture3d_", ".bmp", tex}, loadTexture, tex);
}

int o3DLoadSkyboxFaceFromPack(TPack *pack, TSkybox *sky, int face, const char *name)
{
    if (pack == nullptr || sky == nullptr || name == nullptr || face < 0 ||
        face >= kSkyboxFaceCount) {
        return 0;
    }
    char prefix[32];
    snprintf(prefix, sizeof prefix, "temp_skybox_%d_", face);
    TTexture *tex = nullptr;
    if (!stageEntry(pack, name, {prefix, ".bmp", sky}, loadSkyboxFace, &tex)) {
        return 0;
    }
    installSkyboxFace(sky, face, tex);
    return 1;
}

int o3DLoadFontFromPackDefault(TPack *pack, TFont *font, const char *name)
{
    return stageFont(pack, font, name, loadFontDefault, font);
}

int o3DLoadFontFromPack(TPack *pack, TFont *font, const char *name, uint8_t r, uint8_t g, uint8_t b)
{
    KeyedTarget keyed = {font, r, g, b};
    return stageFont(pack, font, name, loadFontKeyed, &keyed);
}

TMesh *o3DLoadOBJFromPack(TPack *pack, const char *name)
{
    if (pack == nullptr || name == nullptr) {
        return nullptr;
    }
    TMesh *mesh = nullptr;
    stageEntry(pack, name, {"temp_obj_", ".obj", nullptr}, loadMesh, &mesh);
    return mesh;
}

TMD2Model *o3DLoadMD2FromPack(TPack *pack, const char *name)
{
    if (pack == nullptr || name == nullptr) {
        return nullptr;
    }
    TMD2Model *model = nullptr;
    stageEntry(pack, name, {"temp_md2_", ".md2", nullptr}, loadModel, &model);
    return model;
}

int o3DLoadSoundFromPack(TPack *pack, TSound *sound, const char *name)
{
    if (pack == nullptr || sound == nullptr || name == nullptr) {
        return 0;
    }
    uint32_t size = 0;
    unsigned char *bytes = o3DReadPackEntry(pack, name, &size);
    if (bytes == nullptr) {
        return 0;
    }
    // The builder counts in int; no sound is that large, and a wrapped size must not reach it.
    int result = size <= (uint32_t)INT32_MAX ? o3DLoadSoundFromMemory(sound, bytes, (int)size) : 0;
    o3DFreePackData(bytes);
    return result;
}

int o3DLoadMusicFromPack(TPack *pack, TMusic *music, const char *name)
{
    if (pack == nullptr || music == nullptr || name == nullptr) {
        return 0;
    }
    return stageEntry(pack, name, {"temp_music_", ".wav", music}, loadMusic, music);
}

int o3DLoadBackgroundFromPack(TPack *pack, TBackground *bg, const char *name)
{
    if (pack == nullptr || bg == nullptr || name == nullptr) {
        return 0;
    }
    return stageEntry(pack, name, {"temp_bg_", ".bmp", nullptr}, loadBackground, bg);
}

int o3DLoadBackgroundKeyedFromPack(TPack *pack, TBackground *bg, const char *name, uint8_t r,
                                   uint8_t g, uint8_t b)
{
    if (pack == nullptr || bg == nullptr || name == nullptr) {
        return 0;
    }
    KeyedTarget keyed = {bg, r, g, b};
    return stageEntry(pack, name, {"temp_bg_", ".bmp", nullptr}, loadBackgroundKeyed, &keyed);
}
