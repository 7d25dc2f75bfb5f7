// What the terrain modules share with each other and with tests: building a terrain from height
// bytes without touching GL (the caller compiles the mesh), turning the platform loader's pixels
// into height bytes, and the square tiles the terrain is compiled and drawn in.
#ifndef O3D_ASSETS_TERRAIN_H
#define O3D_ASSETS_TERRAIN_H

#include "ostrel3d.h"

#include <stdint.h>

// Grid cells along a drawing tile's side. Measured on play frames of the game's 256 x 256 grid
// under llvmpipe (world_bench's BM_GameTerrainFrame), 32 spent the least time in the drawing
// thread: smaller tiles cost more in list calls than they cull, larger ones cull too little.
extern const int kTerrainTileCells;

// A square block of whole grid cells (fewer at the far edges), compiled into a list of its own.
struct TerrainTile {
    int firstRow, rows;       // grid cell rows i = firstRow .. firstRow + rows - 1
    int firstColumn, columns; // grid cell columns likewise
    float lo[3], hi[3];       // the box round every vertex its triangles use; lo > hi for none
};

struct TerrainTiles {
    int cells;          // grid cells along a tile's side
    int across, down;   // tiles along x and along z
    TerrainTile *tiles; // across x down, row by row from the smallest z
    uint32_t firstList; // the tiles' lists firstList .. firstList + across x down - 1; 0 for none
    uint32_t callList;  // the mesh's own list while it is the one that calls every tile
    int drawn;          // tiles called by the last draw
    int pending;        // the tiles' lists are named but their contents not yet compiled
    int compiles;       // times the tiles' contents were compiled
    TTerrain *nextPending; // the next terrain whose tiles are pending
};

// The record a terrain is allocated as: the public part first, so that a TTerrain* is one.
struct TerrainRecord {
    TTerrain terrain;
    TerrainTiles tiles;
};

// The clip volume's seven bounding planes (x, y and z each within +-w, and w >= 0) carried back
// through a projection and modelview matrix into the drawn coordinates, each with the size of
// the products that make it up, which bounds the rounding in GL's own transform.
struct TerrainFrustum {
    double plane[7][4];
    double scale[7][4];
};

// The terrain of width x depth height bytes (row 0 first) with its mesh filled (positions,
// texture coordinates, normals) but not compiled; the step counts as 1 below 1. Null for missing
// bytes, a size below 1 or when memory runs out, with nothing left allocated.
TTerrain *terrainBuild(const unsigned char *bytes, int width, int depth, float cellSize,
                       float heightScale, int step);

// Height bytes from 24-bit top-down B, G, R rows padded to 4 bytes: (B + G + R) / 3 per pixel.
// A new width x height buffer the caller frees, or null.
unsigned char *terrainHeightBytes(const unsigned char *bgrRows, int width, int height);

TerrainTiles *terrainTilesOf(TTerrain *t);

// Lays out tiles of `cells` x `cells` grid cells (at least 1) with their boxes from the mesh as it
// is, for a terrain whose tiles are not compiled; no GL. 0 when memory runs out or the mesh's
// indices are not the terrain's own count, leaving no tiles.
int terrainLayoutTiles(TTerrain *t, int cells);
// Lays out the tiles, names their lists and makes the mesh's list one that calls them all, so
// drawing the mesh alone still draws the whole terrain. The tiles' contents are left pending and
// compiled, all at once and from the mesh as it is then, when the terrain or its mesh is first
// drawn. A tile as large as the grid gives one list of every triangle in the mesh's order.
// Without lists to be had (no context) the mesh is compiled on its own, as any mesh is.
void terrainCompile(TTerrain *t, int cells);
// Compiles pending tile contents now; nothing for a terrain with none pending.
void terrainCompilePending(TTerrain *t);
// How many terrains have tiles pending.
int terrainsPending(void);
// Deletes the tiles' lists and frees the layout; the mesh's list is the mesh's.
void terrainReleaseTiles(TTerrain *t);

// The frustum of the two matrices, column-major as GL keeps them.
void terrainFrustumOf(const float projection[16], const float modelview[16], TerrainFrustum *f);
// 1 only when the box lies wholly outside one of the planes by more than GL's rounding could
// move it, so nothing of it can be drawn.
int terrainBoxOutside(const TerrainFrustum *f, const float lo[3], const float hi[3]);
// Calls the lists of the tiles that the current projection and modelview matrices may show; a
// terrain not drawn from its tiles (its mesh uncompiled or compiled again on its own) is drawn as
// its mesh. Pending tiles are compiled first, unless a list of the caller's is being compiled:
// then every tile's triangles go into that list and the tiles stay pending.
void terrainDrawTiles(TTerrain *t);

#endif
