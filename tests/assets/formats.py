"""Small readers of the BMP, WAVE and ICO layouts that the checks look into."""
import struct

import numpy as np


def read_dib(dib):
    """Header fields and pixels (rows top-down, RGB) of a device-independent bitmap."""
    (size, width, height, planes, bits, compression, image_size, xres, yres, used,
     important) = struct.unpack_from("<IiiHHIIiiII", dib, 0)
    info = dict(header_size=size, width=width, height=height, planes=planes, bits=bits, compression=compression,
                image_size=image_size, xres=xres, yres=yres, used=used, important=important)
    pixels = None
    if size == 40 and bits == 24 and compression == 0 and width > 0 and height > 0:
        stride = (width * 3 + 3) // 4 * 4
        raw = np.frombuffer(dib, dtype=np.uint8, count=stride * height, offset=40).reshape(height, stride)
        bgr = raw[:, :width * 3].reshape(height, width, 3)
        pixels = bgr[::-1, :, ::-1].copy()  # bottom-up rows, blue-green-red order
    return info, pixels


def read_bmp(data):
    """(file header dict, info dict, pixels) of a whole .bmp file."""
    magic, file_size, r1, r2, offset = struct.unpack_from("<2sIHHI", data, 0)
    head = dict(magic=magic, file_size=file_size, reserved1=r1, reserved2=r2, offset=offset)
    info, pixels = read_dib(data[14:])
    return head, info, pixels


def read_wav(data):
    """Format fields and samples (floats in -1 .. 1) of a RIFF WAVE file."""
    if data[:4] != b"RIFF" or data[8:12] != b"WAVE":
        raise ValueError("not a RIFF WAVE file")
    riff_size = struct.unpack_from("<I", data, 4)[0]
    pos = 12
    fmt = None
    samples = None
    data_size = None
    while pos + 8 <= len(data):
        tag, size = struct.unpack_from("<4sI", data, pos)
        body = data[pos + 8:pos + 8 + size]
        if tag == b"fmt ":
            tag_format, channels, rate, byte_rate, block, bits = struct.unpack_from("<HHIIHH", body, 0)
            fmt = dict(format=tag_format, channels=channels, rate=rate, byte_rate=byte_rate, block=block, bits=bits)
        elif tag == b"data":
            data_size = size
            if fmt["bits"] == 16:
                samples = np.frombuffer(body, dtype="<i2").astype(float) / 32768
            else:
                samples = (np.frombuffer(body, dtype=np.uint8).astype(float) - 128) / 128
        pos += 8 + size + (size & 1)
    return dict(fmt=fmt, samples=samples, data_size=data_size, riff_size=riff_size, file_size=len(data))


def read_ico(data):
    """The icon directory entries of an .ico file and the image bytes of each."""
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    images = []
    for i in range(count):
        w, h, colours, res, planes, bits, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        images.append(dict(width=w, height=h, colours=colours, planes=planes, bits=bits, size=size,
                           image=data[offset:offset + size]))
    return dict(reserved=reserved, kind=kind, images=images)


def read_icon_group(data):
    """Entries of an icon group resource: like an .ico directory, but ending in the image's id."""
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    entries = []
    for i in range(count):
        w, h, colours, res, planes, bits, size, ident = struct.unpack_from("<BBBBHHIH", data, 6 + 14 * i)
        entries.append(dict(width=w, height=h, colours=colours, planes=planes, bits=bits, size=size, id=ident))
    return dict(reserved=reserved, kind=kind, entries=entries)
