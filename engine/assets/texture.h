// What the texture modules share: the filter that new textures get from the linear-filtering
// flag.
#ifndef O3D_ASSETS_TEXTURE_H
#define O3D_ASSETS_TEXTURE_H

#include "platform/gl_api.h"

// GL_LINEAR while linear filtering is on, else GL_NEAREST.
GLint textureNewFilter(void);

#endif
