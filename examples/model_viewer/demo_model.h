// The model viewer's own files: a small animated MD2 model, its skin and a glow picture, written
// in code so the viewer runs out of the box.
#ifndef O3D_EXAMPLES_DEMO_MODEL_H
#define O3D_EXAMPLES_DEMO_MODEL_H

#include <stdint.h>

// 198 key frames, one pose per row of the engine's animation table; a 64 x 64 skin.
int writeDemoModel(const char *path);
// A 24-bit bitmap of width x height from pixel(x, y) = 0xRRGGBB, rows from the top.
int writeBmp24(const char *path, int width, int height, uint32_t (*pixel)(int x, int y));
uint32_t demoSkinPixel(int x, int y); // 64 x 64
uint32_t glowPixel(int x, int y);     // 64 x 64

#endif
