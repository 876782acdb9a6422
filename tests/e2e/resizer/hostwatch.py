"""Runs an end-to-end test command and watches, from the host side, what Wine can't show.

    hostwatch.py BELL_LOG REQUESTS COMMAND [ARGS...]

- Beeps: every bell of the X display named by $DISPLAY (Wine sounds MessageBeep as an X
  bell) appends a line "bell" to BELL_LOG.
- File-size limits: when the test writes the file REQUESTS with the line
  "fsize BYTES NEEDLE", every process whose command line contains NEEDLE gets a file-size
  limit of BYTES, so that its writes beyond that size come back short; the answer
  "fsize N" (N processes limited) is written to REQUESTS + ".done". The command runs with
  SIGXFSZ ignored, so a write past the limit is cut short instead of ending the process.

Exits with the command's exit code. Only the standard library and the display's libX11.
"""
import ctypes
import ctypes.util
import os
import resource
import select
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


def watch_bells(x, display, event_base, log, stop):
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


def processes_matching(needle):
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit() or int(entry) == os.getpid():
            continue
        try:
            with open("/proc/%s/cmdline" % entry, "rb") as source:
                command_line = source.read().replace(b"\0", b" ").decode("utf-8", "replace")
        except OSError:
            continue
        if needle.lower() in command_line.lower():
            found.append(int(entry))
    return found


def serve_requests(path, stop):
    while not stop.wait(0.05):
        try:
            with open(path) as source:
                request = source.read().split()
        except OSError:
            continue
        answer = "unknown request\n"
        if len(request) == 3 and request[0] == "fsize":
            limit = int(request[1])
            limited = 0
            for pid in processes_matching(request[2]):
                try:
                    resource.prlimit(pid, resource.RLIMIT_FSIZE, (limit, limit))
                    limited += 1
                except OSError:
                    pass
            answer = "fsize %d\n" % limited
        os.remove(path)
        with open(path + ".done", "w") as out:
            out.write(answer)


def main():
    if len(sys.argv) < 4:
        sys.exit("usage: hostwatch.py BELL_LOG REQUESTS COMMAND [ARGS...]")
    log, requests, command = sys.argv[1], sys.argv[2], sys.argv[3:]
    for path in (log, requests):
        os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    for stale in (requests, requests + ".done"):
        if os.path.exists(stale):
            os.remove(stale)
    open(log, "w").close()
    stop = threading.Event()
    threads = [threading.Thread(target=serve_requests, args=(requests, stop), daemon=True)]
    x, display, event_base = open_display()
    if x is None:
        print("hostwatch: no display with the keyboard extension; beeps are not recorded", flush=True)
        os.remove(log)
    else:
        threads.append(threading.Thread(target=watch_bells, args=(x, display, event_base, log, stop), daemon=True))
    for thread in threads:
        thread.start()
    # Python ignores SIGXFSZ; keeping that for the command lets a limited write come back short.
    code = subprocess.call(command, restore_signals=False)
    stop.set()
    for thread in threads:
        thread.join(2)
    sys.exit(code)


if __name__ == "__main__":
    main()
