// What the terrain modules share with each other and with tests: building a terrain from height
// bytes without touching GL (the caller compiles the mesh), and turning the platform loader's
// pixels into height bytes.
#ifndef O3D_ASSETS_TERRAIN_H
#define O3D_ASSETS_TERRAIN_H

#include "ostrel3d.h"

// The terrain of width x depth height bytes (row 0 first) with its mesh filled (positions,
// texture coordinates, normals) but not compiled; the step counts as 1 below 1. Null for missing
// bytes, a size below 1 or when memory runs out, with nothing left allocated.
TTerrain *terrainBuild(const unsigned char *bytes, int width, int depth, float cellSize,
                       float heightScale, int step);

// Height bytes from 24-bit top-down B, G, R rows padded to 4 bytes: (B + G + R) / 3 per pixel.
// A new width x height buffer the caller frees, or null.
unsigned char *terrainHeightBytes(const unsigned char *bgrRows, int width, int height);

#endif
