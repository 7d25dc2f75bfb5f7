// images_and_text: pictures and text on screen with Ostrel3D.
//
//   Left/Right  turn the camera faster or the other way     Esc  quit
//
// Top row: one image drawn plain, sized, rotated, faded, tinted (additive) and additive. Middle:
// a sprite with a magenta colour key over a checker pattern, and the same sprite loaded without
// the key. Behind everything a panorama scrolls with the turning camera over a textured ground.
// The lower part of the window belongs to the text samples (drawTextSamples).
//
// The pictures are made at start-up: written as small BMP files, loaded, and deleted again.
#include "ostrel3d.h"

#include <GL/gl.h>
#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

static const float kTurnDegreesPerSecond = 12.0f;
static const float kSpinDegreesPerSecond = 90.0f;

// Writes a 24-bit BMP whose pixel (x, y from the top) is colour(x, y) as 0xRRGGBB.
static void writeBmp(const char *path, int width, int height, uint32_t (*colour)(int, int))
{
    int stride = (width * 3 + 3) & ~3;
    uint32_t dataSize = (uint32_t)(stride * height);
    uint8_t header[54] = {'B', 'M'};
    uint32_t fields[][2] = {
        {2, 54 + dataSize},     {10, 54},           {14, 40},      {18, (uint32_t)width},
        {22, (uint32_t)height}, {26, 1 | 24 << 16}, {34, dataSize}};
    for (auto &f : fields)
        for (int i = 0; i < 4; ++i)
            header[f[0] + i] = (uint8_t)(f[1] >> (8 * i));
    uint8_t *pixels = (uint8_t *)calloc(dataSize, 1);
    for (int y = 0; y < height; ++y) // BMP rows run from the bottom up
        for (int x = 0; x < width; ++x) {
            uint32_t c = colour(x, y);
            uint8_t *p = pixels + (height - 1 - y) * stride + x * 3;
            p[0] = (uint8_t)c, p[1] = (uint8_t)(c >> 8), p[2] = (uint8_t)(c >> 16);
        }
    FILE *file = fopen(path, "wb");
    if (file) {
        fwrite(header, 1, sizeof header, file);
        fwrite(pixels, 1, dataSize, file);
        fclose(file);
    }
    free(pixels);
}

static uint32_t rgb(float r, float g, float b) // components 0..1
{
    return (uint32_t)(r * 255) << 16 | (uint32_t)(g * 255) << 8 | (uint32_t)(b * 255);
}

// A round badge: colour rings on a dark square, with a notch that shows the rotation.
static uint32_t badgePixel(int x, int y)
{
    float dx = x - 31.5f, dy = y - 31.5f, d = sqrtf(dx * dx + dy * dy);
    if (d > 30 || (x > 28 && x < 35 && y < 14))
        return rgb(0.1f, 0.1f, 0.2f);
    return rgb(0.5f + 0.5f * sinf(d * 0.4f), 0.6f - d / 80, 0.3f + d / 60);
}

// A yellow diamond on magenta, the key colour that becomes transparent.
static uint32_t spritePixel(int x, int y)
{
    int d = abs(x - 16) + abs(y - 16);
    return d < 14 ? (d < 6 ? 0xFFFFFF : 0xFFC020) : 0xFF00FF;
}

// The panorama, 256 x 128: sky over hills whose outline repeats every 256 pixels, so the picture
// wraps seamlessly as it scrolls.
static uint32_t panoramaPixel(int x, int y)
{
    float t = x * 6.2831853f / 256;
    float hill = 44 - 9 * sinf(t * 2) - 6 * sinf(t * 5 + 1) - 3 * sinf(t * 11);
    if (y > hill)
        return rgb(0.15f, 0.3f + 0.1f * sinf(t * 3), 0.2f);
    return rgb(0.3f + y / 300.0f, 0.5f + y / 300.0f, 0.9f);
}

static uint32_t groundPixel(int x, int y)
{
    return ((x / 8 + y / 8) % 2) ? rgb(0.45f, 0.4f, 0.3f) : rgb(0.35f, 0.3f, 0.22f);
}

// Makes one picture file, loads it with `load` and deletes the file again.
static int makeImage(TTexture *img, const char *path, int w, int h, uint32_t (*colour)(int, int),
                     int (*load)(TTexture *, const char *))
{
    writeBmp(path, w, h, colour);
    int ok = load(img, path);
    remove(path);
    if (!ok)
        fprintf(stderr, "images_and_text: could not load %s\n", path);
    return ok;
}

static int loadKeyedMagenta(TTexture *img, const char *path)
{
    return o3DLoadImageKeyed(img, path, 255, 0, 255);
}

// The ground: one large quad with the repeating surface texture.
static void drawGround(TTexture *ground)
{
    o3DBindTexture(ground);
    glColor3f(1, 1, 1);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0), glVertex3f(-50, 0, -50);
    glTexCoord2f(0, 25), glVertex3f(-50, 0, 50);
    glTexCoord2f(25, 25), glVertex3f(50, 0, 50);
    glTexCoord2f(25, 0), glVertex3f(50, 0, -50);
    glEnd();
    o3DDisableTexture();
}

// A 3 x 5 pixel font: one octal digit per row from the top, the highest bit the left column.
static const char kFontChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 .,:!?-%";
static const uint16_t kFontRows[] = {
    025755, 065656, 034443, 065556, 074647, 074644, 034553, 055755, 072227, 011152, 055655,
    044447, 057755, 065555, 025552, 065644, 025563, 065655, 034216, 072222, 055557, 055552,
    055775, 055255, 055222, 071247, 075557, 026227, 061247, 061216, 055711, 074616, 034757,
    071222, 075757, 075716, 0,      000002, 000024, 002020, 022202, 061202, 000700, 051245};
// On the sheet every font pixel is 2 x 2, and each character owns an 8 x 10 cell (2 pixels of
// spacing on its right).
static const int kFontScale = 2, kCellWidth = 8, kCellHeight = 10;

// White characters on black: black is the key colour that a bitmap font makes transparent.
static uint32_t fontSheetPixel(int x, int y)
{
    int rows = kFontRows[x / kCellWidth], column = x % kCellWidth / kFontScale;
    return column < 3 && (rows >> (3 * (4 - y / kFontScale) + 2 - column) & 1) ? 0xFFFFFF : 0;
}

// Writes the sheet and its metrics file ("METRICS1", the sheet's name, a number, then one
// "code x0 y0 x1 y1" line per character), loads the font and deletes both files. Lower-case
// letters share the capitals' rectangles.
static int makePixelFont(TFont *font)
{
    int count = (int)sizeof kFontChars - 1;
    writeBmp("iat_font.bmp", count * kCellWidth, kCellHeight, fontSheetPixel);
    FILE *metrics = fopen("iat_font.met", "w");
    if (metrics) {
        fprintf(metrics, "METRICS1\niat_font.bmp\n%d\n", kCellHeight);
        for (int i = 0; i < count; ++i) {
            int code = kFontChars[i], x0 = i * kCellWidth, x1 = x0 + kCellWidth;
            fprintf(metrics, "%d %d 0 %d %d\n", code, x0, x1, kCellHeight);
            if (code >= 'A' && code <= 'Z')
                fprintf(metrics, "%d %d 0 %d %d\n", code + 32, x0, x1, kCellHeight);
        }
        fclose(metrics);
    }
    int ok = o3DLoadFont(font, "iat_font.met");
    remove("iat_font.met");
    remove("iat_font.bmp");
    if (!ok)
        fprintf(stderr, "images_and_text: could not load the pixel font\n");
    return ok;
}

// The text samples: bitmap-font text in every style and system-font text aligned left, centred
// and right, in the lower part of the window (y from 330 down). Text has its own colour.
static void drawTextSamples(TFont *pixel, TFont *system, float seconds)
{
    float pulse = 0.5f + 0.5f * sinf(seconds * 2);
    o3DSetTextColor(1, 1, 1);
    o3DDrawText(pixel, 40, 330, "Plain bitmap text: 0123456789 .,:!?-%");
    o3DSetTextColor(1, 0.8f, 0.2f);
    o3DDrawTextScaled(pixel, 40, 348, 2, "Scaled twice");
    // The styled forms take the text colour and the shadow or outline colour; they leave the
    // text colour set to the first.
    o3DDrawTextShadow(pixel, 40, 382, "Shadow", 2, 2, 1, 1, 1, 0, 0, 0);
    o3DDrawTextOutline(pixel, 160, 382, "Outline", 1, 1, 0.9f, 0.2f, 0.5f, 0, 0);
    o3DDrawTextOutlineShadow(pixel, 290, 382, "Outline and shadow", 1, 3, 3, 1, 1, 1, 0, 0, 0.6f, 0,
                             0, 0);
    o3DDrawTextAlpha(pixel, 500, 382, "Fading in and out", pulse);
    o3DDrawTextShadowScaledAlpha(pixel, 40, 404, 3, "Big, see-through", 3, 3, 0.4f, 1, 0.4f, 0, 0,
                                 0, 0.7f);
    o3DDrawTextf(pixel, 40, 446, "Formatted: %.1f seconds, %d fps", seconds, (int)o3DGetFPS());

    // System-font text, each line placed by its top-left corner, centre or right end.
    o3DSetColor(0.4f, 0.4f, 0.5f);
    for (int i = 0; i < 3; ++i)
        o3DDrawLine(40.0f + i * 360, 480, 40.0f + i * 360, 580);
    o3DSetColor(1, 1, 1);
    o3DSetTextColor(0.7f, 0.9f, 1);
    o3DPrintSystemAligned(system, 40, 490, 0, "System font, left");
    o3DPrintSystemAligned(system, 400, 520, O3D_ALIGN_CENTER_X, "centred");
    o3DPrintSystemAligned(system, 760, 550, O3D_ALIGN_RIGHT, "and right");
    o3DSetTextColor(1, 1, 0.6f);
    o3DPrintSystemf(system, 430, 490, "%d pixels wide", o3DGetTextWidth(system, "centred"));
}

int main(void)
{
    if (!o3DInit(nullptr, 800, 600, "Ostrel3D - images and text")) {
        fprintf(stderr, "images_and_text: no window\n");
        return 1;
    }
    // Records are zeroed by their holder before the first load.
    TTexture badge = {}, sprite = {}, spriteUnkeyed = {}, ground = {};
    TBackground sky;
    o3DInitBackground(&sky);
    makeImage(&badge, "iat_badge.bmp", 64, 64, badgePixel, o3DLoadImage);
    makeImage(&spriteUnkeyed, "iat_sprite.bmp", 32, 32, spritePixel, o3DLoadImage);
    makeImage(&sprite, "iat_sprite.bmp", 32, 32, spritePixel, loadKeyedMagenta);
    makeImage(&ground, "iat_ground.bmp", 64, 64, groundPixel, o3DLoadTexture);
    writeBmp("iat_sky.bmp", 256, 128, panoramaPixel); // powers of two: the picture repeats
    o3DLoadBackground(&sky, "iat_sky.bmp");
    remove("iat_sky.bmp");
    o3DSetBackgroundScrollY(&sky, 0); // a panorama: only turning scrolls it
    TFont pixelFont = {}, systemFont = {};
    makePixelFont(&pixelFont);
    // A face the system does not have gets its own choice instead.
    if (!o3DCreateSystemFont(&systemFont, "Arial", 20, 700, 0))
        fprintf(stderr, "images_and_text: no system font\n");

    TCamera camera;
    o3DInitCamera(&camera);
    o3DSetCamera(&camera, 0.0f, 1.7f, 0.0f, -90.0f, -4.0f);
    float seconds = 0.0f;

    while (o3DIsRunning()) {
        o3DProcessMessages();
        o3DUpdateTimer();
        o3DUpdateKeyboard();
        float dt = (float)o3DGetDeltaTime();
        if (dt > 0.1f)
            dt = 0.1f;
        seconds += dt;
        float turn = o3DKeyDown(O3D_KEY_RIGHT) ? 5.0f : (o3DKeyDown(O3D_KEY_LEFT) ? -5.0f : 1.0f);
        o3DYawCamera(&camera, turn * kTurnDegreesPerSecond * dt);
        if (o3DKeyPressed(O3D_KEY_ESCAPE))
            o3DQuit();

        o3DClearScreen(0, 0, 0);
        o3DBegin3D();
        o3DDrawBackgroundForCamera(&sky, &camera); // first: it ignores depth
        o3DApplyCamera(&camera);
        drawGround(&ground);

        o3DBegin2D();
        float pulse = 0.5f + 0.5f * sinf(seconds * 2);
        o3DDrawImage(&badge, 40, 40);
        o3DDrawImageSized(&badge, 130, 40, 128, 64);
        o3DDrawImageRotated(&badge, 290, 40, 64, 64, seconds * kSpinDegreesPerSecond, 1.0f);
        o3DDrawImageRotated(&badge, 380, 40, 64, 64, 0.0f, pulse); // faded
        o3DSetImageAdditive(&badge);
        o3DSetImageTint(&badge, pulse, 1.0f - pulse, 1.0f);
        o3DDrawImage(&badge, 470, 40); // tinted: the tint shows in additive mode
        o3DSetImageTint(&badge, 1, 1, 1);
        o3DDrawImage(&badge, 560, 40); // additive, untinted
        o3DClearImageAdditive(&badge);

        for (int i = 0; i < 12 * 6; ++i) { // a checker pattern under the keyed sprite
            o3DSetColor((i + i / 12) % 2 ? 0.9f : 0.2f, 0.3f, (i + i / 12) % 2 ? 0.3f : 0.8f);
            o3DFillRect(40.0f + (i % 12) * 16, 150.0f + (i / 12) * 16, 16, 16);
        }
        o3DSetColor(1, 1, 1);
        o3DDrawImageSized(&sprite, 56, 150, 96, 96);
        o3DDrawImageRotated(&sprite, 150, 174, 48, 48, -seconds * kSpinDegreesPerSecond, 1.0f);
        o3DDrawImageSized(&spriteUnkeyed, 260, 150, 96, 96);

        drawTextSamples(&pixelFont, &systemFont, seconds);
        o3DSwapBuffers();
    }

    o3DFreeFont(&systemFont);
    o3DFreeFont(&pixelFont);
    o3DFreeBackground(&sky);
    o3DFreeTexture(&ground);
    o3DFreeTexture(&spriteUnkeyed);
    o3DFreeTexture(&sprite);
    o3DFreeTexture(&badge);
    o3DShutdown();
    return 0;
}
