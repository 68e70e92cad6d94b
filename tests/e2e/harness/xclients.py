"""Small X clients for the cases, on Xlib through ctypes (no toolkit, no package beyond libX11 and
libXrandr): a window that records the keys it receives, and the monitors of a two-monitor screen.
Each runs as a process of its own, started by the desktop (Desktop.start_key_recorder, .split_monitors):

    xclients.py keys FILE             a focusable window that appends each typed character to FILE;
                                      prints its window id once it is mapped
    xclients.py monitors NAME:W/MMW x H/MMH+X+Y[:primary] ...
                                      declares RandR monitors, prints "ready", and stays connected
                                      (the X server forgets them when their client goes)
"""

import ctypes
import ctypes.util
import signal
import sys

x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XCreateSimpleWindow.restype = ctypes.c_ulong
x11.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                    ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_ulong]
x11.XStoreName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_char_p]
x11.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
x11.XMapWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
x11.XLookupString.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p]
x11.XSetWMHints.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_void_p]
x11.XInternAtom.restype = ctypes.c_ulong
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XFlush.argtypes = [ctypes.c_void_p]

KEY_PRESS, MAP_NOTIFY = 2, 19
KEY_PRESS_MASK, STRUCTURE_NOTIFY_MASK = 1 << 0, 1 << 17


class XWMHints(ctypes.Structure):
    _fields_ = [("flags", ctypes.c_long), ("input", ctypes.c_int), ("initial_state", ctypes.c_int),
                ("icon_pixmap", ctypes.c_ulong), ("icon_window", ctypes.c_ulong), ("icon_x", ctypes.c_int),
                ("icon_y", ctypes.c_int), ("icon_mask", ctypes.c_ulong), ("window_group", ctypes.c_ulong)]


def open_display():
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("cannot open the display")
    return display


def record_keys(path):
    display = open_display()
    root = x11.XDefaultRootWindow(display)
    win = x11.XCreateSimpleWindow(display, root, 0, 0, 1280, 740, 0, 0, 0xffffff)
    x11.XStoreName(display, win, b"key recorder")
    hints = XWMHints(flags=1, input=1)  # InputHint: the window takes the keyboard when focused
    x11.XSetWMHints(display, win, ctypes.byref(hints))
    x11.XSelectInput(display, win, KEY_PRESS_MASK | STRUCTURE_NOTIFY_MASK)
    x11.XMapWindow(display, win)
    event = ctypes.create_string_buffer(192)  # XEvent: a union of 24 longs
    text = ctypes.create_string_buffer(16)
    with open(path, "ab", buffering=0) as out:
        while True:
            x11.XNextEvent(display, event)
            kind = ctypes.c_int.from_buffer(event).value
            if kind == MAP_NOTIFY:
                print(win, flush=True)
            elif kind == KEY_PRESS:
                n = x11.XLookupString(event, text, len(text), None, None)
                if n > 0:
                    out.write(text.raw[:n])


class XRRMonitorInfo(ctypes.Structure):
    _fields_ = [("name", ctypes.c_ulong), ("primary", ctypes.c_int), ("automatic", ctypes.c_int),
                ("noutput", ctypes.c_int), ("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int),
                ("height", ctypes.c_int), ("mwidth", ctypes.c_int), ("mheight", ctypes.c_int),
                ("outputs", ctypes.c_void_p)]


def declare_monitors(specs):
    """specs: "NAME:X,Y,W,H[:primary]" in pixels."""
    xrandr = ctypes.CDLL(ctypes.util.find_library("Xrandr") or "libXrandr.so.2")
    xrandr.XRRSetMonitor.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(XRRMonitorInfo)]
    display = open_display()
    root = x11.XDefaultRootWindow(display)
    for spec in specs:
        name, rect, *flags = spec.split(":")
        x, y, w, h = (int(v) for v in rect.split(","))
        info = XRRMonitorInfo(name=x11.XInternAtom(display, name.encode(), 0), primary=int("primary" in flags),
                              automatic=0, noutput=0, x=x, y=y, width=w, height=h,
                              mwidth=w * 254 // 960, mheight=h * 254 // 960, outputs=None)
        xrandr.XRRSetMonitor(display, root, ctypes.byref(info))
    x11.XFlush(display)
    # A round trip, so the server has taken the monitors before the case goes on.
    x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x11.XSync(display, 0)
    print("ready", flush=True)
    while True:
        signal.pause()  # stays connected until the desktop ends it


if __name__ == "__main__":
    if sys.argv[1] == "keys":
        record_keys(sys.argv[2])
    elif sys.argv[1] == "monitors":
        declare_monitors(sys.argv[2:])
