// The sdl backend's message boxes. The caption and text also go to standard error, so a message
// is never lost where the desktop cannot show a box.
#include "platform/seam.h"
#include "platform/sdl/sdl_state.h"

#include <stdio.h>

static Uint32 boxFlags(PlatformBoxIcon icon)
{
    switch (icon) {
    case kBoxError:
        return SDL_MESSAGEBOX_ERROR;
    case kBoxWarning:
        return SDL_MESSAGEBOX_WARNING;
    case kBoxInformation:
        return SDL_MESSAGEBOX_INFORMATION;
    case kBoxNoIcon:
    default:
        return 0;
    }
}

static void messageBox(const char *text, const char *caption, PlatformBoxIcon icon, int owned)
{
    fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
    fflush(stderr);
    SDL_ShowSimpleMessageBox(boxFlags(icon), caption, text, owned ? gSdl.window : nullptr);
}

constexpr PlatformDialogSeam kNativeDialogSeam = {messageBox};
PlatformDialogSeam gDialogSeam = kNativeDialogSeam;
