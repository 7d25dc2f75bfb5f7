// The files the world example makes for itself at start, each written to the path given.
#ifndef O3D_EXAMPLES_WORLD_FILES_H
#define O3D_EXAMPLES_WORLD_FILES_H

// A 512 x 512 tellurix heightmap: type 1 (gentle hills), a fixed seed.
int writeHeightmap(const char *path);
// A seamlessly tiling 128 x 128 snow texture.
int writeSnowTexture(const char *path);
// One 64 x 64 face of an overcast winter sky, face numbers as in TSkybox (4 top, 5 bottom).
int writeSkyFace(const char *path, int face);
// A low spruce: a trunk and three stacked eight-sided cones, 4 units tall, textured by the
// picture below (bark on its left quarter, needles turning to snow towards the top).
int writeSpruceObj(const char *path);
int writeSpruceTexture(const char *path);

#endif
