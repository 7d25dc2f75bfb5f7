// Holds the live seam tables, initialised from the backend that the build links.
#include "platform/seam.h"

PlatformWindowSeam gWindowSeam = kNativeWindowSeam;
PlatformDisplaySeam gDisplaySeam = kNativeDisplaySeam;
PlatformInputSeam gInputSeam = kNativeInputSeam;
PlatformClockSeam gClockSeam = kNativeClockSeam;
PlatformDialogSeam gDialogSeam = kNativeDialogSeam;
PlatformFontSeam gFontSeam = kNativeFontSeam;
PlatformImageSeam gImageSeam = kNativeImageSeam;

void platformResetSeam(void)
{
    gWindowSeam = kNativeWindowSeam;
    gDisplaySeam = kNativeDisplaySeam;
    gInputSeam = kNativeInputSeam;
    gClockSeam = kNativeClockSeam;
    gDialogSeam = kNativeDialogSeam;
    gFontSeam = kNativeFontSeam;
    gImageSeam = kNativeImageSeam;
}
