/* A hostile neighbour on the X display: another client sending a window
 * and all its descendants synthetic events (XSendEvent) with data no
 * server or window manager would send: WM_PROTOCOLS with odd data, the
 * window manager's messages with odd data in every format, a drag from
 * nowhere that never drops, keys that exist on no keyboard, buttons past
 * the pointer's, and a left press and release far outside the window;
 * and last, context help, which the window never listed.
 * The end-to-end tour runs it at the powered-on dashboard: the program
 * must run on, change nothing, and still take a real click.
 * Usage: xneighbour WINDOW-ID */
#include <X11/Xlib.h>
#include <X11/XKBlib.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>

static Display *display;
static long sent;

static void deliver(Window w, XEvent e, long mask)
{
    e.xany.window = w;
    sent += XSendEvent(display, w, False, mask, &e) != 0;
}

static void message(Window w, const char *type, int format, const long data[5])
{
    XEvent e = {.xclient = {.type = ClientMessage, .format = format}};
    e.xclient.message_type = XInternAtom(display, type, False);
    for (int i = 0; i < 5; ++i) e.xclient.data.l[i] = data[i];
    deliver(w, e, NoEventMask);
}

static void neighbour(Window w)
{
    Window root = DefaultRootWindow(display), parent, *children = NULL;
    unsigned int count = 0;
    const long odd[] = {0, -1, LONG_MIN, LONG_MAX, 0x7FFFFFFF, (long)w, 0x1FFFFFFF};
    /* Every protocol a window may be asked about but closing and context
     * help. (Types and protocols no one defined, Qt only names on the
     * error stream.) */
    const char *protocols[] = {"_NET_WM_PING", "_NET_WM_SYNC_REQUEST", "WM_TAKE_FOCUS"};
    const char *types[] = {"_NET_WM_STATE", "_XEMBED", "WM_CHANGE_STATE"};
    for (size_t p = 0; p < sizeof protocols / sizeof *protocols; ++p)
        for (size_t i = 0; i < sizeof odd / sizeof *odd; ++i)
            message(w, "WM_PROTOCOLS", 32,
                    (long[5]){(long)XInternAtom(display, protocols[p], False), odd[i], odd[i], odd[i], odd[i]});
    for (int format = 8; format <= 32; format *= 2)
        for (size_t t = 0; t < sizeof types / sizeof *types; ++t)
            for (size_t i = 0; i < sizeof odd / sizeof *odd; ++i)
                message(w, types[t], format, (long[5]){odd[i], odd[i], odd[i], odd[i], odd[i]});
    /* A drag from the root window, of no type anyone has, left again. */
    message(w, "XdndEnter", 32, (long[5]){(long)root, 5L << 24, 1, 2, 3});
    for (size_t i = 0; i < sizeof odd / sizeof *odd; ++i)
        message(w, "XdndPosition", 32, (long[5]){(long)root, 0, odd[i], CurrentTime, odd[i]});
    message(w, "XdndLeave", 32, (long[5]){(long)root, 0, 0, 0, 0});

    /* Keys no keyboard has: keycodes outside the server's range, and those
     * in it with no symbol, with every modifier bit set and none. */
    int low, high;
    XDisplayKeycodes(display, &low, &high);
    for (int code = 0; code < 256; ++code) {
        if (code >= low && code <= high && XkbKeycodeToKeysym(display, (KeyCode)code, 0, 0) != NoSymbol) continue;
        for (unsigned state = 0; state <= 0xFFFF; state += 0xFFFF) {
            XEvent e = {.xkey = {.type = KeyPress, .root = root, .keycode = (unsigned)code, .state = state,
                                 .same_screen = True}};
            deliver(w, e, KeyPressMask);
            e.type = KeyRelease;
            deliver(w, e, KeyReleaseMask);
        }
    }
    /* Buttons past the pointer's, at odd places; a left press and release
     * far outside the window; motion there. */
    const int places[][2] = {{-32768, -32768}, {32767, 32767}, {-1, -1}, {0, 32767}, {32767, 0}};
    for (size_t i = 0; i < sizeof places / sizeof *places; ++i) {
        XEvent e = {.xbutton = {.type = ButtonPress, .root = root, .x = places[i][0], .y = places[i][1],
                                .x_root = places[i][0], .y_root = places[i][1], .same_screen = True}};
        for (unsigned button = 0; button < 256; button = button ? button + 1 : 6) {
            e.xbutton.type = ButtonPress, e.xbutton.button = button, e.xbutton.state = 0;
            deliver(w, e, ButtonPressMask);
            e.xbutton.type = ButtonRelease, e.xbutton.state = 0xFFFF;
            deliver(w, e, ButtonReleaseMask);
        }
        e.xbutton.type = ButtonPress, e.xbutton.button = Button1, e.xbutton.state = 0;
        deliver(w, e, ButtonPressMask);
        e.xmotion.type = MotionNotify, e.xmotion.state = Button1Mask;
        deliver(w, e, PointerMotionMask);
        e.xbutton.type = ButtonRelease, e.xbutton.button = Button1, e.xbutton.state = Button1Mask;
        deliver(w, e, ButtonReleaseMask);
    }
    if (XQueryTree(display, w, &root, &parent, &children, &count)) {
        for (unsigned i = 0; i < count; ++i) neighbour(children[i]);
        XFree(children);
    }
}

/* Sent after every key of the burst, any of which would end the help
 * mode it might start before the user's next click. */
static void contextHelp(Window w)
{
    const long odd[] = {0, -1, LONG_MIN, LONG_MAX, 0x7FFFFFFF, (long)w, 0x1FFFFFFF};
    for (size_t i = 0; i < sizeof odd / sizeof *odd; ++i)
        message(w, "WM_PROTOCOLS", 32,
                (long[5]){(long)XInternAtom(display, "_NET_WM_CONTEXT_HELP", False), odd[i], odd[i], odd[i], odd[i]});
}

int main(int argc, char **argv)
{
    if (argc != 2 || !(display = XOpenDisplay(NULL))) return fprintf(stderr, "usage: xneighbour WINDOW-ID (on $DISPLAY)\n"), 2;
    neighbour((Window)strtoul(argv[1], NULL, 0));
    contextHelp((Window)strtoul(argv[1], NULL, 0));
    XSync(display, False);
    printf("# sent %ld synthetic events\n", sent);
    XCloseDisplay(display);
    return sent > 0 ? 0 : 1;
}
