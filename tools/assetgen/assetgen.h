// assetgen's core: every asset of the game's default data, made in memory from code alone. The
// same call gives the same bytes on every run (fixed seeds, no clock). The program (main.cpp),
// the tests and the benchmark call it in-process; it needs tellurix's core and FreeType, nothing
// of the engine.
#ifndef ASSETGEN_H
#define ASSETGEN_H

#include <stdint.h>

#include <string>
#include <vector>

typedef std::vector<uint8_t> Bytes;

// One output file: its name (also its pack entry name) and contents.
struct Asset {
    std::string name;
    Bytes bytes;
};
typedef std::vector<Asset> AssetList;

// Where the game puts things, in world units; the heightmap is shaped for these.
struct GroundPoint {
    float x, z;
};
extern const GroundPoint kSpawnPoint, kTreePoint, kEnemyPoint;
// The game's terrain: a 512 x 512 map, 2 units a sample, 40 units for a byte of 255.
enum { kHeightmapSize = 512 };
extern const float kTerrainCellSize, kTerrainHeightScale;

// ---- pictures ------------------------------------------------------------------------------

struct Rgb {
    float r, g, b; // 0..255, clamped when stored
};

// An RGB picture, rows from the top.
struct Image {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;

    Image() = default;
    Image(int w, int h, Rgb fill = {0, 0, 0});
    void set(int x, int y, Rgb c);
    Rgb get(int x, int y) const;
    // Mixes c over the pixel by `amount` 0..1; pixels outside are left alone.
    void blend(int x, int y, Rgb c, float amount);
};

// A 24-bit uncompressed bottom-up Windows bitmap.
Bytes bmpBytes(const Image &image);
// Reads back what bmpBytes writes (24-bit, uncompressed, either row order); 0 if it is not that.
int readBmp(const Bytes &bytes, Image *out);

// ---- shared helpers ------------------------------------------------------------------------

// The game's generator, seeded: state * 214013 + 2531011, draws 0..32767.
struct Lcg {
    uint32_t state;
    int draw();
    float unit(); // 0..1
};

float clampf(float v, float lo, float hi);
float mixf(float a, float b, float t);
float smoothstepf(float edge0, float edge1, float v);
Rgb mixRgb(Rgb a, Rgb b, float t);
Rgb scaleRgb(Rgb c, float k);

// Value noise 0..1 on an integer lattice; with periods > 0 it tiles with those periods.
float valueNoise(float x, float y, int periodX, int periodY, uint32_t seed);
// Fractal sum of valueNoise, about 0..1; period counts base cells (0: no tiling), doubling per
// octave so every octave tiles too.
float fractalNoise(float x, float y, int period, int octaves, float persistence, uint32_t seed);
// Value noise 0..1 in space, and its fractal sum (for the sky, looked up by direction).
float valueNoise3(float x, float y, float z, uint32_t seed);
float fractalNoise3(float x, float y, float z, int octaves, float persistence, uint32_t seed);

// ---- text ----------------------------------------------------------------------------------

// A FreeType face for the fonts, the title and the film; the path is a TrueType file.
struct TextFace;
TextFace *openTextFace(const char *fontPath);
void closeTextFace(TextFace *face);
// Coverage (0..255) of `text` rendered at `pixelSize` into a w x h mask, rows from the top; the
// text's left edge at x, its baseline at y. Returns the advance in pixels.
int drawTextMask(TextFace *face, int pixelSize, const char *text, int x, int y,
                 std::vector<uint8_t> *mask, int w, int h);
// The width in pixels of `text` at `pixelSize`.
int measureText(TextFace *face, int pixelSize, const char *text);

// ---- the assets, each appended to `out` -----------------------------------------------------

void makeHeightmap(AssetList *out);
void makeSnowTexture(AssetList *out);
void makeSkyFaces(AssetList *out);
void makeOverlayImages(AssetList *out, TextFace *face); // fire, health, title
void makeFonts(AssetList *out, TextFace *face);         // BankGothic16/24 .met + .bmp
void makeTree(AssetList *out);
void makeGun(AssetList *out);
void makeBeast(AssetList *out); // tris.md2 + skin.bmp
void makeSounds(AssetList *out);
void makeFilm(AssetList *out, TextFace *face); // intro.avi

// The sky colour of a view direction (need not be unit length), shared with the film.
Rgb skyColour(float dx, float dy, float dz);
// The height map's bytes, row 0 first (what heightmap.bmp holds).
std::vector<uint8_t> heightmapBytes();
// Ground height in world units at (x, z) from those bytes, bilinear as the engine's query.
float groundHeight(const std::vector<uint8_t> &heights, float x, float z);

// Everything, in the order above; 0 if the font cannot be opened.
int makeAllAssets(AssetList *out, const char *fontPath);

// The game's MD2 animation rows the enemy plays: stand, run, attack, pain, death.
struct AnimationRow {
    int first, last;
};
extern const AnimationRow kPlayedRows[5];
enum { kBeastFrameCount = 198 };

// A contact sheet of every .bmp asset with its name, for looking at them all at once.
Image contactSheet(const AssetList &assets, TextFace *face);

#endif
