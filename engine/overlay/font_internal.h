// What the font modules share: the two kinds of TFont and the one text colour that both kinds
// draw with (o3DSetTextColor sets it; bitmap text reads it).
#ifndef O3D_OVERLAY_FONT_INTERNAL_H
#define O3D_OVERLAY_FONT_INTERNAL_H

#include "ostrel3d.h"

static const int kFontKindSystem = 0;
static const int kFontKindBitmap = 1;

TColor fontTextColor(void);

#endif
