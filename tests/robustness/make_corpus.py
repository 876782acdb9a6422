"""Writes the corpus of hostile and unusual pictures for the robustness tests.

    make_corpus.py OUTPUT_FOLDER

Every file is built byte by byte here, from the published BMP layout. Besides the
pictures, OUTPUT_FOLDER receives:

  manifest.tsv   one line per entry: name, path relative to OUTPUT_FOLDER (with '/'),
                 kind, reference picture (or '-'), and what the entry is.
  refs/NAME.bmp  for pictures whose content is known: the picture as a plain 24-bit
                 bottom-up BMP, which is what a tile or the preview must show.

Kinds:
  valid   a well-formed picture that any reader should take; refs/ holds its look.
  tiny    well-formed, but narrower or lower than 4 pixels: its pieces have no size.
  broken  damaged or not a picture at all: must never reach the platform's loader.
  either  well-formed enough to be drawn or refused; the platform decides, and the
          programs must stay sound either way.
  folder  a folder whose name ends in .bmp.
  toolong a picture whose full path is longer than the open-file dialog takes.

Only the standard library is used, so any Python 3 runs it.
"""
import os
import shutil
import struct
import sys
import zlib

WIDTH = 64
HEIGHT = 48


def colour(x, y, w, h):
    """The look of the corpus's pictures: a gradient with a checker of 8-pixel squares,
    far from black, white and the light grey of a lettered tile."""
    r = 40 + (x * 180) // max(w - 1, 1)
    g = 30 + (y * 160) // max(h - 1, 1)
    b = 60 if ((x // 8) + (y // 8)) % 2 else 150
    return (r, g, b)


def rgb_picture(w, h):
    return [[colour(x, y, w, h) for x in range(w)] for y in range(h)]


def le16(v):
    return struct.pack('<H', v & 0xFFFF)


def le32(v):
    return struct.pack('<I', v & 0xFFFFFFFF)


def s32(v):
    return struct.pack('<i', v)


def file_header(total, offset):
    return b'BM' + le32(total) + le16(0) + le16(0) + le32(offset)


def info_header(w, h, bits, compression=0, image_size=0, colours=0, size=40):
    return (le32(size) + s32(w) + s32(h) + le16(1) + le16(bits) + le32(compression) +
            le32(image_size) + le32(2835) + le32(2835) + le32(colours) + le32(0))


def stride(w, bits):
    return ((w * bits + 31) // 32) * 4


def rows_24(pixels):
    """Bottom-up rows of blue, green, red bytes padded to 4 bytes."""
    h = len(pixels)
    w = len(pixels[0])
    out = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for (r, g, b) in pixels[y]:
            row += bytes((b, g, r))
        row += b'\0' * (stride(w, 24) - len(row))
        out += row
    return bytes(out)


def bmp24(pixels, top_down=False):
    h = len(pixels)
    w = len(pixels[0])
    data = rows_24(pixels)
    if top_down:
        s = stride(w, 24)
        rows = [data[i:i + s] for i in range(0, len(data), s)]
        data = b''.join(reversed(rows))
    head = info_header(w, -h if top_down else h, 24, 0, len(data))
    return file_header(14 + 40 + len(data), 54) + head + data


# ---- palette pictures ----

def palette_picture(w, h, count):
    """A picture of count colours: blocks of the gradient, each block one palette entry."""
    cols = 4 if count >= 4 else 2
    rows = max(count // cols, 1)
    palette = []
    for i in range(count):
        cx = i % cols
        cy = (i // cols) % rows
        palette.append(colour(cx * (w // cols) + 2, cy * (h // rows) + 2, w, h))
    index = [[((y * rows) // h) * cols + (x * cols) // w for x in range(w)] for y in range(h)]
    if count == 2:
        index = [[((x // 8) + (y // 8)) % 2 for x in range(w)] for y in range(h)]
    pixels = [[palette[index[y][x]] for x in range(w)] for y in range(h)]
    return palette, index, pixels


def pack_rows(index, bits):
    h = len(index)
    w = len(index[0])
    out = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        acc = 0
        n = 0
        for x in range(w):
            acc = (acc << bits) | index[y][x]
            n += bits
            if n == 8:
                row.append(acc)
                acc = 0
                n = 0
        if n:
            row.append(acc << (8 - n))
        row += b'\0' * (stride(w, bits) - len(row))
        out += row
    return bytes(out)


def palette_bytes(palette, entry=4):
    out = bytearray()
    for (r, g, b) in palette:
        out += bytes((b, g, r)) + (b'\0' if entry == 4 else b'')
    return bytes(out)


def bmp_indexed(bits, w=WIDTH, h=HEIGHT):
    palette, index, pixels = palette_picture(w, h, 1 << bits)
    table = palette_bytes(palette)
    data = pack_rows(index, bits)
    offset = 54 + len(table)
    return file_header(offset + len(data), offset) + info_header(w, h, bits, 0, len(data), len(palette)) + \
        table + data, pixels


def bmp16_555(pixels):
    h = len(pixels)
    w = len(pixels[0])
    out = bytearray()
    q = []
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for (r, g, b) in pixels[y]:
            row += le16(((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3))
        row += b'\0' * (stride(w, 16) - len(row))
        out += row
    for y in range(h):
        q.append([(((r >> 3) * 255) // 31, ((g >> 3) * 255) // 31, ((b >> 3) * 255) // 31)
                  for (r, g, b) in pixels[y]])
    return file_header(54 + len(out), 54) + info_header(w, h, 16, 0, len(out)) + bytes(out), q


def bmp_bitfields(pixels, bits, masks, header_size=40):
    """A BI_BITFIELDS picture with the given red, green and blue masks, each channel
    written into its mask's bits from the top down (extra mask bits get the channel's
    low bits again)."""
    h = len(pixels)
    w = len(pixels[0])

    def put(value8, mask):
        if mask == 0:
            return 0
        positions = [i for i in range(32) if mask >> i & 1]
        out = 0
        for k, pos in enumerate(reversed(positions)):
            if value8 >> (7 - (k % 8)) & 1:
                out |= 1 << pos
        return out

    data = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for (r, g, b) in pixels[y]:
            v = put(r, masks[0]) | put(g, masks[1]) | put(b, masks[2])
            row += le16(v) if bits == 16 else le32(v)
        row += b'\0' * (stride(w, bits) - len(row))
        data += row
    if header_size == 40:
        head = info_header(w, h, bits, 3, len(data)) + le32(masks[0]) + le32(masks[1]) + le32(masks[2])
    else:
        head = info_header(w, h, bits, 3, len(data), 0, header_size)
        extra = le32(masks[0]) + le32(masks[1]) + le32(masks[2]) + le32(0)  # no alpha
        extra += le32(0x73524742)  # 'sRGB'
        head += extra + b'\0' * (header_size - 40 - len(extra))
    offset = 14 + len(head)
    return file_header(offset + len(data), offset) + head + bytes(data)


# ---- run-length pictures ----

def rle8_stream(index):
    h = len(index)
    w = len(index[0])
    out = bytearray()
    for y in range(h - 1, -1, -1):
        row = index[y]
        x = 0
        while x < w:
            run = 1
            while x + run < w and run < 255 and row[x + run] == row[x]:
                run += 1
            out += bytes((run, row[x]))
            x += run
        out += b'\0\0'  # end of line
    out += b'\0\1'  # end of picture
    return bytes(out)


def rle4_stream(index):
    h = len(index)
    w = len(index[0])
    out = bytearray()
    for y in range(h - 1, -1, -1):
        row = index[y]
        x = 0
        while x < w:
            run = 1
            while x + run < w and run < 255 and row[x + run] == row[x]:
                run += 1
            out += bytes((run, (row[x] << 4) | row[x]))
            x += run
        out += b'\0\0'
    out += b'\0\1'
    return bytes(out)


def bmp_rle(bits, stream, palette, w=WIDTH, h=HEIGHT, image_size=None):
    table = palette_bytes(palette)
    offset = 54 + len(table)
    compression = 1 if bits == 8 else 2
    size = len(stream) if image_size is None else image_size
    return file_header(offset + len(stream), offset) + info_header(w, h, bits, compression, size, len(palette)) + \
        table + stream


# ---- other files ----

def png_file(pixels):
    h = len(pixels)
    w = len(pixels[0])
    raw = bytearray()
    for row in pixels:
        raw.append(0)
        for (r, g, b) in row:
            raw += bytes((r, g, b))

    def chunk(kind, data):
        return le32be(len(data)) + kind + data + le32be(zlib.crc32(kind + data))

    def le32be(v):
        return struct.pack('>I', v)

    return b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 2, 0, 0, 0)) + \
        chunk(b'IDAT', zlib.compress(bytes(raw))) + chunk(b'IEND', b'')


class Corpus:
    def __init__(self, root):
        self.root = root
        self.lines = []
        os.makedirs(os.path.join(root, 'refs'), exist_ok=True)

    def add(self, name, data, kind, about, reference=None, relative=None):
        relative = relative or name
        path = os.path.join(self.root, *relative.split('/'))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, 'wb') as f:
            f.write(data)
        ref = '-'
        if reference is not None:
            ref = 'refs/' + name
            with open(os.path.join(self.root, 'refs', name), 'wb') as f:
                f.write(bmp24(reference))
        self.lines.append((name, relative, kind, ref, about))

    def add_folder(self, name, about):
        os.makedirs(os.path.join(self.root, name), exist_ok=True)
        self.lines.append((name, name, 'folder', '-', about))

    def write_manifest(self):
        with open(os.path.join(self.root, 'manifest.tsv'), 'w', encoding='utf-8') as f:
            for line in self.lines:
                f.write('\t'.join(line) + '\n')


def windows_length(host_path):
    """Length of a host path as the programs see it under Wine: Z: and the same path."""
    return len('Z:' + os.path.abspath(host_path))


def nested_relative(root, top, total, file_name):
    """A relative path top/dd.../dd.../file_name whose Windows form is total characters."""
    base = windows_length(os.path.join(root, top))
    room = total - base - 1 - len(file_name)  # the backslash before the file name
    if room < 3:
        raise SystemExit('corpus folder too deep for the long-path files: ' + root)
    parts = []
    while room > 0:
        take = min(room - 1, 60)  # one for the backslash before each part
        if take <= 0:
            parts[-1] += 'd'
            room -= 1
            continue
        parts.append('d' * take)
        room -= take + 1
    return '/'.join([top] + parts + [file_name])


def build(root):
    if os.path.isdir(root):
        shutil.rmtree(root)
    c = Corpus(root)
    pic = rgb_picture(WIDTH, HEIGHT)
    good24 = bmp24(pic)

    # Well-formed pictures of every depth.
    c.add('depth24.bmp', good24, 'valid', '24 bits per pixel, bottom-up, 64 x 48', pic)
    c.add('topdown24.bmp', bmp24(pic, top_down=True), 'either', 'negative height: rows stored top-down')
    for bits in (1, 4, 8):
        data, pixels = bmp_indexed(bits)
        c.add('depth%d.bmp' % bits, data, 'valid', '%d bits per pixel with a colour table' % bits, pixels)
    data, q = bmp16_555(pic)
    c.add('depth16.bmp', data, 'valid', '16 bits per pixel, 5-5-5', q)
    data32 = bytearray()
    for y in range(HEIGHT - 1, -1, -1):
        for (r, g, b) in pic[y]:
            data32 += bytes((b, g, r, 0))
    c.add('depth32.bmp', file_header(54 + len(data32), 54) + info_header(WIDTH, HEIGHT, 32, 0, len(data32)) +
          bytes(data32), 'valid', '32 bits per pixel, no masks', pic)
    c.add('odd_width.bmp', bmp24(rgb_picture(67, 45)), 'valid', '67 x 45: padded rows, uneven pieces',
          rgb_picture(67, 45))
    c.add('lying_file_size.bmp', good24[:2] + le32(999999999) + good24[6:], 'valid',
          'the file size field claims 1 GB; everything else is right', pic)

    # Run-length pictures.
    palette8, index8, pixels8 = palette_picture(WIDTH, HEIGHT, 256)
    c.add('rle8.bmp', bmp_rle(8, rle8_stream(index8), palette8), 'valid', 'RLE8, every run inside its row', pixels8)
    palette4, index4, pixels4 = palette_picture(WIDTH, HEIGHT, 16)
    c.add('rle4.bmp', bmp_rle(4, rle4_stream(index4), palette4), 'valid', 'RLE4, every run inside its row', pixels4)
    past = bytes((255, 3)) * 4 + b'\0\0'  # runs of 255 in a 64-pixel row
    past += b'\0\2' + bytes((200, 200))  # a delta far below the last row
    past += bytes((255, 5)) * 40  # and more runs, with no end mark
    c.add('rle8_past_edge.bmp', bmp_rle(8, past, palette8), 'either',
          'RLE8: runs longer than the row, a delta past the bottom, no end mark')
    past4 = bytes((255, 0x12)) * 4 + b'\0\0' + b'\0\2' + bytes((250, 250)) + bytes((255, 0x34)) * 40
    c.add('rle4_past_edge.bmp', bmp_rle(4, past4, palette4), 'either',
          'RLE4: runs longer than the row, a delta past the bottom, no end mark')
    absolute = b'\0' + bytes((250,)) + bytes(range(250)) + b'\0\1'  # a literal run of 250 bytes
    c.add('rle8_literal_past_end.bmp', bmp_rle(8, absolute[:120], palette8, image_size=len(absolute[:120])),
          'either', 'RLE8: a literal run that says 250 bytes where the file ends after 118')
    c.add('rle8_zero_size.bmp', bmp_rle(8, rle8_stream(index8), palette8, image_size=0), 'either',
          'RLE8 with an image size of 0 in its header')

    # Bit fields.
    c.add('bitfields16_565.bmp', bmp_bitfields(pic, 16, (0xF800, 0x07E0, 0x001F)), 'valid',
          'BI_BITFIELDS 16-bit 5-6-5',
          [[(((r >> 3) * 255) // 31, ((g >> 2) * 255) // 63, ((b >> 3) * 255) // 31) for (r, g, b) in row]
           for row in pic])
    c.add('bitfields32_swapped.bmp', bmp_bitfields(pic, 32, (0x000000FF, 0x0000FF00, 0x00FF0000)), 'either',
          'BI_BITFIELDS 32-bit with red and blue masks swapped')
    c.add('bitfields32_scattered.bmp', bmp_bitfields(pic, 32, (0x0F0F0000, 0x0000F0F0, 0xF000000F)), 'either',
          'BI_BITFIELDS 32-bit with non-contiguous, interleaved masks')
    c.add('bitfields32_overlapping.bmp', bmp_bitfields(pic, 32, (0xFFFFFFFF, 0x00FFFF00, 0)), 'either',
          'BI_BITFIELDS 32-bit: a mask of every bit, an overlapping one and an empty one')
    c.add('bitfields16_v5_header.bmp', bmp_bitfields(pic, 16, (0x7C00, 0x03E0, 0x001F), 124), 'either',
          'BI_BITFIELDS 16-bit with the masks inside a 124-byte header')
    bf24 = bytearray(bmp24(pic))
    bf24[30:34] = le32(3)
    c.add('bitfields24.bmp', bytes(bf24), 'broken', 'BI_BITFIELDS declared for 24 bits per pixel')

    # The OS/2 core header.
    core = le32(12) + le16(WIDTH) + le16(HEIGHT) + le16(1) + le16(24)
    data = rows_24(pic)
    c.add('os2_core24.bmp', file_header(26 + len(data), 26) + core + data, 'valid',
          'OS/2 12-byte core header, 24 bits per pixel', pic)
    pal, idx, px = palette_picture(WIDTH, HEIGHT, 256)
    table = palette_bytes(pal, 3)
    data = pack_rows(idx, 8)
    core8 = le32(12) + le16(WIDTH) + le16(HEIGHT) + le16(1) + le16(8)
    c.add('os2_core8.bmp', file_header(26 + len(table) + len(data), 26 + len(table)) + core8 + table + data,
          'valid', 'OS/2 core header, 8 bits with a table of 3-byte colours', px)

    # Truncated files.
    c.add('empty.bmp', b'', 'broken', 'an empty file')
    c.add('magic_only.bmp', b'BM', 'broken', 'the two letters BM and nothing else')
    c.add('trunc_file_header.bmp', good24[:10], 'broken', 'cut inside the 14-byte file header')
    c.add('trunc_info_header.bmp', good24[:30], 'broken', 'cut inside the info header')
    c.add('header_only.bmp', good24[:54], 'broken', 'both headers, no pixels at all')
    c.add('trunc_pixels.bmp', good24[:54 + len(good24[54:]) // 2], 'broken', 'pixel rows cut off halfway')
    c.add('trunc_one_byte.bmp', good24[:-1], 'broken', 'one byte short of the last row')
    c.add('offset_past_end.bmp', good24[:10] + le32(1 << 20) + good24[14:], 'broken',
          'the pixel offset points 1 MB past the end')
    c.add('offset_inside_header.bmp', good24[:10] + le32(20) + good24[14:], 'broken',
          'the pixel offset points into the info header')
    data8, _ = bmp_indexed(8)
    c.add('trunc_palette.bmp', data8[:54 + 300], 'broken', 'cut inside the colour table')

    # Sizes.
    zero_w = bytearray(good24)
    zero_w[18:22] = s32(0)
    c.add('zero_width.bmp', bytes(zero_w), 'broken', 'width 0')
    zero_h = bytearray(good24)
    zero_h[22:26] = s32(0)
    c.add('zero_height.bmp', bytes(zero_h), 'broken', 'height 0')
    neg_w = bytearray(good24)
    neg_w[18:22] = s32(-WIDTH)
    c.add('negative_width.bmp', bytes(neg_w), 'broken', 'negative width')
    absurd = file_header(1024, 54) + info_header(100000, 100000, 24, 0, 0)
    c.add('absurd_100000.bmp', absurd + bytes(1024 - len(absurd)), 'broken',
          '100000 x 100000 declared in a 1 KB file')
    big = file_header(1024, 54) + info_header(60000, 60000, 24, 0, 0)
    c.add('absurd_60000.bmp', big + bytes(1024 - len(big)), 'broken',
          '60000 x 60000 (within the loader\'s limit) declared in a 1 KB file')
    wide = file_header(1024, 54) + info_header(65535, 1, 32, 0, 0)
    c.add('wide_65535.bmp', wide + bytes(1024 - len(wide)), 'broken', '65535 x 1 at 32 bits in a 1 KB file')
    min_h = bytearray(good24)
    min_h[22:26] = s32(-2147483648)
    c.add('height_int_min.bmp', bytes(min_h), 'broken', 'height -2147483648')
    c.add('one_by_one.bmp', bmp24([[(200, 40, 40)]]), 'tiny', '1 x 1 picture', [[(200, 40, 40)]])
    small = [[(200, 40, 40), (40, 160, 40), (40, 40, 200)], [(200, 200, 40), (40, 200, 200), (150, 40, 150)]]
    c.add('three_by_two.bmp', bmp24(small), 'tiny', '3 x 2 picture', small)

    # Header fields out of range.
    for name, offset, value, about in (
            ('planes0.bmp', 26, le16(0), 'planes 0'),
            ('depth0.bmp', 28, le16(0), '0 bits per pixel'),
            ('depth2.bmp', 28, le16(2), '2 bits per pixel'),
            ('depth64.bmp', 28, le16(64), '64 bits per pixel'),
            ('compression_jpeg.bmp', 30, le32(4), 'compression 4 (an embedded JPEG)'),
            ('compression_png.bmp', 30, le32(5), 'compression 5 (an embedded PNG)'),
            ('compression_junk.bmp', 30, le32(0x7777), 'an unknown compression'),
            ('header_size_66.bmp', 14, le32(66), 'an info header size of 66'),
            ('header_size_huge.bmp', 14, le32(0x7FFFFFF0), 'an info header size of 2 GB')):
        bad = bytearray(good24)
        bad[offset:offset + len(value)] = value
        c.add(name, bytes(bad), 'broken', about)
    rle_wrong_depth = bytearray(good24)
    rle_wrong_depth[30:34] = le32(1)
    c.add('rle8_on_24bit.bmp', bytes(rle_wrong_depth), 'broken', 'RLE8 declared for 24 bits per pixel')

    # Colour tables.
    huge_table = bytearray(data8)
    huge_table[46:50] = le32(0x7FFFFFFF)
    c.add('palette_count_huge.bmp', bytes(huge_table), 'broken', 'colours used 2147483647 in a 3 KB file')
    over_depth = bytearray(bmp_indexed(4)[0])
    over_depth[46:50] = le32(256)
    c.add('palette_over_depth.bmp', bytes(over_depth), 'broken',
          '4 bits per pixel with 256 colours declared: the table runs into the pixels')
    short_table = bytearray(data8)
    short_table[46:50] = le32(4)  # four colours, but the pixels index up to 255
    c.add('palette_short.bmp', bytes(short_table), 'either',
          '8 bits per pixel with a 4-colour table and pixels indexing past it')

    # Not pictures at all.
    c.add('png_renamed.bmp', png_file(pic), 'broken', 'a PNG file renamed to .bmp')
    c.add('text.bmp', b'This is not a picture.\r\n' * 10, 'broken', 'a text file named .bmp')
    c.add_folder('x.bmp', 'a folder named x.bmp')

    # Names and paths.
    c.add('winter scene \u00e9l\u00e8ve \u00fc\u00f1\u00e5.bmp', good24, 'valid',
          'a name with spaces and accented letters', pic)
    long_name = 'long_path.bmp'
    rel = nested_relative(root, 'long', 255, long_name)
    c.add('long_path.bmp', good24, 'valid', 'a full path of 255 characters', pic, relative=rel)
    rel = nested_relative(root, 'toolong', 275, 'too_long_path.bmp')
    c.add('too_long_path.bmp', good24, 'toolong', 'a full path of 275 characters, past the dialog\'s 260',
          pic, relative=rel)
    c.write_manifest()
    return c


def main():
    if len(sys.argv) != 2:
        sys.stderr.write('usage: make_corpus.py OUTPUT_FOLDER\n')
        return 2
    corpus = build(sys.argv[1])
    print('corpus: %d entries in %s' % (len(corpus.lines), sys.argv[1]))
    return 0


if __name__ == '__main__':
    sys.exit(main())
