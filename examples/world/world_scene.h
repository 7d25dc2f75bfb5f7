// The world example's scene, shared with its frame benchmark: loading it from generated files,
// keeping a camera on the ground, and drawing one frame of it.
#ifndef O3D_EXAMPLES_WORLD_SCENE_H
#define O3D_EXAMPLES_WORLD_SCENE_H

#include "ostrel3d.h"

struct World {
    TTerrain *terrain;
    TSkybox *sky;
    TMesh *model;
    TTexture modelTexture; // the written spruce's; none for a model named on the command line
};

// Needs the window. Makes and loads everything (the model from `modelPath` when not null) and
// sets up the light; 0 if a part is missing (free the world all the same).
int loadWorld(World *w, const char *modelPath);
void freeWorld(World *w);
// Puts the camera at eye height above the ground under it.
void standOnGround(const World *w, TCamera *cam);
// The 3D half of a frame: sky, fogged and lit terrain, spruces, and the primitives if asked.
// Lighting and fog end off.
void drawWorld(World *w, TCamera *cam, int fog, int primitives);

#endif
