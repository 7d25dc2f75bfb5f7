// Puts the live seam tables back to the backend's own. The tables themselves are defined beside
// the backend's constants, each a constant-initialised copy, so they hold the backend's entries
// before any code runs (a global constructor of the program may already call the engine).
#include "platform/seam.h"

void platformResetSeam(void)
{
    gWindowSeam = kNativeWindowSeam;
    gDisplaySeam = kNativeDisplaySeam;
    gInputSeam = kNativeInputSeam;
    gClockSeam = kNativeClockSeam;
    gDialogSeam = kNativeDialogSeam;
    gFontSeam = kNativeFontSeam;
    gImageSeam = kNativeImageSeam;
    gFileSeam = kNativeFileSeam;
}
