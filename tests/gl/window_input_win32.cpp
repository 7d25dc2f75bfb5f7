// What a user does to the window, on the win32 backend: WM_CLOSE as its close button sends, and
// the space bar through the system's input queue, which the asynchronous key state follows.
#include "video_support.h"

#include <windows.h>

void requestWindowClose(void *window)
{
    PostMessageA((HWND)window, WM_CLOSE, 0, 0);
}

void pressSpace(void *, int down)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = VK_SPACE;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof input);
}
