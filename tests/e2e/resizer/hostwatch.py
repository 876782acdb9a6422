"""Records the beeps of an X display while a command runs.

    bellwatch.py LOG COMMAND [ARGS...]

Watches the display named by $DISPLAY for bell notifications (the X keyboard extension
reports every XBell, which is how Wine sounds MessageBeep), appends one line "bell" per
beep to LOG, runs COMMAND, and exits with the command's exit code once it has ended.
Only the standard library and the display's libX11 are used.
"""
import ctypes
import ctypes.util
import os
import subprocess
import sys
import threading

XKB_USE_CORE_KBD = 0x0100
XKB_BELL_NOTIFY = 8
XKB_BELL_NOTIFY_MASK = 1 << XKB_BELL_NOTIFY
# In the XkbAnyEvent of a 64-bit Xlib: type, serial, send_event, display, time, xkb_type.
XKB_TYPE_OFFSET = 40


def open_display():
    name = ctypes.util.find_library("X11") or "libX11.so.6"
    x = ctypes.cdll.LoadLibrary(name)
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x.XkbQueryExtension.argtypes = [ctypes.c_void_p] + [ctypes.POINTER(ctypes.c_int)] * 5
    x.XkbSelectEvents.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_ulong, ctypes.c_ulong]
    x.XPending.argtypes = [ctypes.c_void_p]
    x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
    x.XFlush.argtypes = [ctypes.c_void_p]
    x.XConnectionNumber.argtypes = [ctypes.c_void_p]
    display = x.XOpenDisplay(None)
    if not display:
        return None, None, None
    opcode, event_base, error_base = ctypes.c_int(), ctypes.c_int(), ctypes.c_int()
    major, minor = ctypes.c_int(1), ctypes.c_int(0)
    if not x.XkbQueryExtension(display, ctypes.byref(opcode), ctypes.byref(event_base),
                               ctypes.byref(error_base), ctypes.byref(major), ctypes.byref(minor)):
        return None, None, None
    x.XkbSelectEvents(display, XKB_USE_CORE_KBD, XKB_BELL_NOTIFY_MASK, XKB_BELL_NOTIFY_MASK)
    x.XFlush(display)
    return x, display, event_base.value


def watch(x, display, event_base, log, stop):
    import select
    event = ctypes.create_string_buffer(256)
    fd = x.XConnectionNumber(display)
    while not stop.is_set():
        select.select([fd], [], [], 0.05)
        while x.XPending(display):
            x.XNextEvent(display, event)
            kind = int.from_bytes(event.raw[0:4], "little")
            xkb_type = int.from_bytes(event.raw[XKB_TYPE_OFFSET:XKB_TYPE_OFFSET + 4], "little")
            if kind == event_base and xkb_type == XKB_BELL_NOTIFY:
                with open(log, "a") as out:
                    out.write("bell\n")


def main():
    if len(sys.argv) < 3:
        sys.exit("usage: bellwatch.py LOG COMMAND [ARGS...]")
    log, command = sys.argv[1], sys.argv[2:]
    os.makedirs(os.path.dirname(os.path.abspath(log)), exist_ok=True)
    open(log, "w").close()
    x, display, event_base = open_display()
    stop = threading.Event()
    watcher = None
    if x is None:
        print("bellwatch: no display with the keyboard extension; beeps are not recorded", flush=True)
        os.remove(log)
    else:
        watcher = threading.Thread(target=watch, args=(x, display, event_base, log, stop), daemon=True)
        watcher.start()
    code = subprocess.call(command)
    stop.set()
    if watcher is not None:
        watcher.join(2)
    sys.exit(code)


if __name__ == "__main__":
    main()
