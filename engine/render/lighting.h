// What the renderer's start needs of the light slots.
#ifndef O3D_RENDER_LIGHTING_H
#define O3D_RENDER_LIGHTING_H

// Puts every slot back to its start values (off, a white point light at the origin).
void lightingResetSlots(void);

#endif
