// x11_close WINDOW_ID: presses a window's close button the way a window manager does, by sending
// it the WM_DELETE_WINDOW client message (the window stays alive; the program decides what to do).
// Fails if the window does not take part in that protocol, as a real close button would then
// have nothing to send. Needs DISPLAY; the id may be decimal or 0x-hex, as xdotool and xwininfo
// print it.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <stdio.h>
#include <stdlib.h>

static int acceptsDelete(Display *display, Window window, Atom deleteWindow)
{
    Atom *protocols = nullptr;
    int count = 0;
    if (!XGetWMProtocols(display, window, &protocols, &count))
        return 0;
    int found = 0;
    for (int i = 0; i < count; ++i)
        found |= protocols[i] == deleteWindow;
    XFree(protocols);
    return found;
}

int main(int argc, char **argv)
{
    char *end = nullptr;
    unsigned long window = argc == 2 ? strtoul(argv[1], &end, 0) : 0;
    if (window == 0 || !end || *end != '\0') {
        fprintf(stderr, "usage: x11_close WINDOW_ID\n");
        return 2;
    }
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        fprintf(stderr, "x11_close: cannot open the display\n");
        return 1;
    }
    Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    if (!acceptsDelete(display, window, deleteWindow)) {
        fprintf(stderr, "x11_close: window 0x%lx does not list WM_DELETE_WINDOW\n", window);
        XCloseDisplay(display);
        return 1;
    }

    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = protocols;
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long)deleteWindow;
    event.xclient.data.l[1] = CurrentTime;
    Status sent = XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    XCloseDisplay(display);
    if (!sent) {
        fprintf(stderr, "x11_close: the message could not be sent\n");
        return 1;
    }
    return 0;
}
