"""Counts how often the files of one folder are opened while a command runs.

    drawwatch.py LOG FOLDER COMMAND [ARGS...]

The game reads its picture from the file for every tile and preview it draws, so the
number of opens of a picture file counts the draws that really happened, seen from
outside the program. FOLDER is created when missing and watched with inotify; LOG is
rewritten about five times a second with one line "NAME COUNT" per file opened so far.
Runs COMMAND and exits with its exit code. Only the standard library and libc are used.
"""
import ctypes
import ctypes.util
import os
import struct
import subprocess
import sys
import threading

IN_OPEN = 0x20
IN_CLOSE_NOWRITE = 0x10  # watched too, so that successive opens are not merged into one event


def watch(log, folder, stop):
    libc = ctypes.CDLL(ctypes.util.find_library('c') or 'libc.so.6', use_errno=True)
    fd = libc.inotify_init1(os.O_NONBLOCK)
    if fd < 0 or libc.inotify_add_watch(fd, folder.encode(), IN_OPEN | IN_CLOSE_NOWRITE) < 0:
        sys.stderr.write('drawwatch: cannot watch %s\n' % folder)
        return
    counts = {}
    import select
    while not stop.is_set():
        ready, _, _ = select.select([fd], [], [], 0.2)
        if ready:
            try:
                data = os.read(fd, 65536)
            except BlockingIOError:
                data = b''
            offset = 0
            while offset + 16 <= len(data):
                _, mask, _, length = struct.unpack_from('iIII', data, offset)
                name = data[offset + 16:offset + 16 + length].rstrip(b'\0').decode('utf-8', 'replace')
                offset += 16 + length
                if mask & IN_OPEN and name:
                    counts[name] = counts.get(name, 0) + 1
        tmp = log + '.tmp'
        with open(tmp, 'w') as f:
            for name in sorted(counts):
                f.write('%s %d\n' % (name, counts[name]))
        os.replace(tmp, log)
    os.close(fd)


def main():
    if len(sys.argv) < 4:
        sys.stderr.write('usage: drawwatch.py LOG FOLDER COMMAND [ARGS...]\n')
        return 2
    log, folder = sys.argv[1], sys.argv[2]
    os.makedirs(folder, exist_ok=True)
    os.makedirs(os.path.dirname(os.path.abspath(log)), exist_ok=True)
    stop = threading.Event()
    thread = threading.Thread(target=watch, args=(log, folder, stop), daemon=True)
    thread.start()
    try:
        status = subprocess.call(sys.argv[3:])
    finally:
        stop.set()
        thread.join(2)
    return status


if __name__ == '__main__':
    sys.exit(main())
