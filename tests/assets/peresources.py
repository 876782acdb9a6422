"""Reads the resource tree of a Windows executable (32- or 64-bit PE file).

    resources(path) -> {(type, name, language): bytes}

`type` and `name` are ints for numbered entries and str for named ones ("WAVE").
"""
import struct

RT_ICON = 3
RT_BITMAP = 2
RT_GROUP_ICON = 14
RT_VERSION = 16


class PeError(Exception):
    pass


def _sections(data):
    if data[:2] != b"MZ":
        raise PeError("no MZ header")
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise PeError("no PE signature")
    count, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    if magic == 0x10B:
        directories = optional + 96
    elif magic == 0x20B:
        directories = optional + 112
    else:
        raise PeError("unknown optional header magic %#x" % magic)
    resource_rva, resource_size = struct.unpack_from("<II", data, directories + 2 * 8)
    table = optional + optional_size
    sections = []
    for i in range(count):
        _, vsize, vaddr, rawsize, rawptr = struct.unpack_from("<8sIIII", data, table + 40 * i)
        sections.append((vaddr, max(vsize, rawsize), rawptr))
    return sections, resource_rva, resource_size


def _offset(sections, rva):
    for vaddr, size, rawptr in sections:
        if vaddr <= rva < vaddr + size:
            return rawptr + rva - vaddr
    raise PeError("address %#x lies in no section" % rva)


def resources(path):
    with open(path, "rb") as f:
        data = f.read()
    sections, root_rva, root_size = _sections(data)
    if root_rva == 0 or root_size == 0:
        return {}
    base = _offset(sections, root_rva)

    def name_of(field):
        if field & 0x80000000:
            at = base + (field & 0x7FFFFFFF)
            length = struct.unpack_from("<H", data, at)[0]
            return data[at + 2:at + 2 + 2 * length].decode("utf-16-le")
        return field

    def entries(offset):
        named, numbered = struct.unpack_from("<12xHH", data, base + offset)
        for i in range(named + numbered):
            field, target = struct.unpack_from("<II", data, base + offset + 16 + 8 * i)
            yield name_of(field), target

    found = {}
    for rtype, type_dir in entries(0):
        if not type_dir & 0x80000000:
            raise PeError("type entry is not a directory")
        for name, name_dir in entries(type_dir & 0x7FFFFFFF):
            for language, leaf in entries(name_dir & 0x7FFFFFFF):
                if leaf & 0x80000000:
                    raise PeError("language entry is a directory")
                rva, size = struct.unpack_from("<II", data, base + leaf)
                start = _offset(sections, rva)
                found[(rtype, name, language)] = data[start:start + size]
    return found


def version_tree(block):
    """Parses a VS_VERSIONINFO block into nested (key, value, children) tuples.

    `value` is the raw value bytes for binary nodes and the decoded text for text nodes.
    """
    def node(at, end):
        length, value_length, kind = struct.unpack_from("<HHH", block, at)
        stop = at + length
        if length < 6 or stop > end:
            raise PeError("bad version node length %d" % length)
        pos = at + 6
        key_end = pos
        while block[key_end:key_end + 2] != b"\0\0":
            key_end += 2
        key = block[pos:key_end].decode("utf-16-le")
        pos = (key_end + 2 + 3) & ~3
        if kind == 1:  # text: the value length counts UTF-16 characters, with the final zero
            raw = block[pos:pos + 2 * value_length]
            value = raw.decode("utf-16-le").rstrip("\0")
            pos += 2 * value_length
        else:
            value = block[pos:pos + value_length]
            pos += value_length
        pos = (pos + 3) & ~3
        children = []
        while pos < stop:
            child, pos = node(pos, stop)
            children.append(child)
            pos = (pos + 3) & ~3
        return (key, value, children), stop

    tree, _ = node(0, len(block))
    return tree
