// Inside the engine: whether a shadow is open between o3DBeginShadow and o3DEndShadow, for
// drawers that must then leave their own skin and blending out (the MD2 model).
#ifndef O3D_ASSETS_SHADOW_H
#define O3D_ASSETS_SHADOW_H

int shadowIsOpen(void);

#endif
