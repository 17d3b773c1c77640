#!/usr/bin/env python3
"""Writes a type library in the platform's compiled (MSFT) format.

  typelib.py DESCRIPTION OUT.tlb

Only what the module needs: a library with name, help string, identifier,
version and locale, and no type descriptions. No time stamp or custom data
goes into the file, so the output depends on the description alone.
"""
import struct
import sys
import uuid

SYSKINDS = {"win16": 0, "win32": 1, "mac": 2, "win64": 3}
SEGMENTS = 15  # typeinfo, impinfo, impfiles, ref, guidhash, guid, namehash,
#               name, string, typdesc, arraydesc, custdata, cdguids, res0e, res0f
GUID_HASH_BUCKETS = 32
NAME_HASH_BUCKETS = 128


def read_description(path):
    d = {}
    with open(path, encoding="utf-8") as f:
        for n, raw in enumerate(f, 1):
            line = raw.strip()
            if not line or line.startswith("#"):
                continue
            key, _, value = line.partition(" ")
            if key in d:
                raise SystemExit(f"{path}:{n}: {key} given twice")
            d[key] = value.strip()
    need = {"name", "helpstring", "libid", "version", "lcid", "syskind", "codepage"}
    if set(d) != need:
        raise SystemExit(f"{path}: keys must be exactly {sorted(need)}")
    return d


def name_hash(syskind, name):
    """The platform's LHashValOfNameSys for English locales, ASCII names."""
    # Letters fold to upper case; 'W' counts as 'V', 'Y' as 'U' and '/' as 0
    # in the platform's table for these locales.
    def weight(c):
        if c == "/":
            return 0
        c = c.upper()
        return ord({"W": "V", "Y": "U"}.get(c, c))

    if not name.isascii() or not name.isprintable():
        raise SystemExit(f"name {name!r}: only printable ASCII names are supported")
    h = 0x0DEADBEE
    for c in name:
        h = (37 * h + weight(c)) & 0xFFFFFFFF
    low = (h % 65599) & 0xFFFF
    high = 0x10 | (1 if syskind == SYSKINDS["mac"] else 0)
    return (high << 16) | low


def guid_hash(guid_bytes):
    h = 0
    for (s,) in struct.iter_unpack("<h", guid_bytes):
        h ^= s
    return h & (GUID_HASH_BUCKETS - 1)


def pad_w(data):
    # Entries of the name and string tables are padded with 'W' to 4 bytes.
    return data + b"W" * (-len(data) % 4)


def build(d):
    syskind = SYSKINDS[d["syskind"]]
    lcid = int(d["lcid"], 0)
    major, minor = (int(p) for p in d["version"].split("."))
    libid = uuid.UUID(d["libid"]).bytes_le
    name = d["name"]
    helpstring = d["helpstring"].encode(f"cp{d['codepage']}")
    if lcid & 0x3FF != 0x09:
        raise SystemExit("name hashing is implemented for English locales only")

    guid_table = libid + struct.pack("<ii", -2, -1)  # hreftype: the library itself
    guid_hashes = [-1] * GUID_HASH_BUCKETS
    guid_hashes[guid_hash(libid)] = 0

    h = name_hash(syskind, name)
    name_bytes = name.encode("ascii")
    namelen = len(name_bytes) | ((h & 0xFFFF) << 16)
    name_table = pad_w(struct.pack("<iii", -1, -1, namelen) + name_bytes)
    name_hashes = [-1] * NAME_HASH_BUCKETS
    name_hashes[h & (NAME_HASH_BUCKETS - 1)] = 0

    string_table = pad_w(struct.pack("<H", len(helpstring)) + helpstring)

    header_size = 0x54
    start = header_size + SEGMENTS * 16
    bodies = {
        4: struct.pack(f"<{GUID_HASH_BUCKETS}i", *guid_hashes),
        5: guid_table,
        6: struct.pack(f"<{NAME_HASH_BUCKETS}i", *name_hashes),
        7: name_table,
        8: string_table,
    }
    segdir = b""
    body = b""
    for seg in range(SEGMENTS):
        data = bodies.get(seg, b"")
        offset = start + len(body) if data else -1
        segdir += struct.pack("<iiii", offset, len(data), -1, 0x0F)
        body += data

    header = struct.pack(
        "<IIiIIiIIiiiiiiiiiiiii",
        0x5446534D,  # "MSFT"
        0x00010002,
        0,  # offset of the library's guid
        lcid,
        lcid,
        0x40 | syskind,
        major | (minor << 16),
        0,  # library flags
        0,  # type descriptions
        0,  # help string: offset in the string table
        0,  # help string context
        0,  # help context
        1,  # names
        len(name_bytes),  # characters in all names
        0,  # library name: offset in the name table
        -1,  # no help file
        -1,  # no custom data
        0x20,
        0x80,
        -1,  # no IDispatch
        0,  # no imported libraries
    )
    assert len(header) == header_size
    return header + segdir + body


def main(argv):
    if len(argv) != 3:
        raise SystemExit(__doc__)
    data = build(read_description(argv[1]))
    with open(argv[2], "wb") as out:
        out.write(data)


if __name__ == "__main__":
    main(sys.argv)
