# bellwatch.py LOG: writes "ready" to LOG once it listens to the bell of the X display
# $DISPLAY, then "bell" when it rings (Wine sounds MessageBeep as an X bell), and ends then,
# or after 10 s.
import ctypes
import sys
import time

XKB_BELL_NOTIFY = 8
XKB_BELL_NOTIFY_MASK = 0x100
XKB_USE_CORE_KEYBOARD = 0x100


def log(line):
    with open(sys.argv[1], "a") as file:
        file.write(line + "\n")


x = ctypes.cdll.LoadLibrary("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
display = ctypes.c_void_p(x.XOpenDisplay(None))
event = ctypes.create_string_buffer(256)
# XkbQueryExtension's codes: opcode, event type, error, version in and out.
codes = [ctypes.c_int(1) for _ in range(4)] + [ctypes.c_int(0)]
x.XkbQueryExtension(display, *[ctypes.byref(code) for code in codes])
mask = ctypes.c_ulong(XKB_BELL_NOTIFY_MASK)
x.XkbSelectEvents(display, ctypes.c_uint(XKB_USE_CORE_KEYBOARD), mask, mask)
x.XFlush(display)
log("ready")
end = time.time() + 10
while time.time() < end:
    # An XkbBellNotify event: the extension's event type, then xkb_type at byte 40.
    while x.XPending(display):
        x.XNextEvent(display, event)
        if event.raw[0] == codes[1].value and event.raw[40] == XKB_BELL_NOTIFY:
            log("bell")
            sys.exit()
    time.sleep(0.01)
