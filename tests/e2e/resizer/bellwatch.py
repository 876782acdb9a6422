# bellwatch.py LOG: writes "ready" to LOG once it listens to the bell of the X display
# $DISPLAY, then "bell" when it rings (Wine sounds MessageBeep as an X bell), and ends then,
# or after 10 s. XkbQueryExtension's codes: opcode, event type, error, version in and out.
import ctypes, sys, time

x = ctypes.cdll.LoadLibrary("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
display, event, codes = ctypes.c_void_p(x.XOpenDisplay(None)), ctypes.create_string_buffer(256), [ctypes.c_int(1) for _ in range(4)] + [ctypes.c_int(0)]
x.XkbQueryExtension(display, *[ctypes.byref(code) for code in codes])
x.XkbSelectEvents(display, ctypes.c_uint(0x100), ctypes.c_ulong(256), ctypes.c_ulong(256))  # XkbBellNotify
x.XFlush(display)
open(sys.argv[1], "w").write("ready\n")
end = time.time() + 10
# Until an XkbBellNotify event: the extension's event type, then xkb_type 8 at byte 40.
while time.time() < end and not (x.XPending(display) and x.XNextEvent(display, event) == 0 and event.raw[0] == codes[1].value and event.raw[40] == 8):
    time.sleep(0.01)
if time.time() < end: open(sys.argv[1], "a").write("bell\n")
