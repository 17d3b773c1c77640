#!/usr/bin/env python3
"""Dialog descriptions -> dialog templates (type 5) and their initialisation
data (type 240), as raw resource files.

  dialogs.py OUTDIR DESCRIPTION...

Writes OUTDIR/dialog<ID>.bin and OUTDIR/dlginit<ID>.bin for each description.
Both files of a dialog come from the same item list, so a control's template
entry and its persisted properties cannot drift apart.
"""
import os
import shlex
import struct
import sys

# Sizes the runtime's copies of these resources have; a description that
# does not reproduce them is wrong.
EXPECTED_SIZES = {
    20001: (1262, 2844),
    20002: (826, 1854),
    20003: (1370, 3214),
    20004: (506, 1068),
}

I2, I4, S, B, U4 = 2, 3, 8, 11, 19  # variant type codes

class Ref(str):
    """A tail value that differs between controls, named by a letter."""


# kind: (class identifier, has caption, value letters, tail)
# A tail item is (type, value): a constant or a Ref to the item's values.
KINDS = {
    "static": ("{4004166A-8584-4845-A43A-1D738905A21D}", True, "acd", [
        (I4, 0), (I4, 6), (B, 0), (I2, 0), (I4, Ref("a")), (B, -1), (B, -1), (B, 1), (U4, 0),
        (B, 0), (I4, 0), (I4, 0), (I4, 1), (I4, 0), (I4, 0), (U4, Ref("c")), (U4, 0x8000000F),
        (U4, Ref("d"))]),
    "radio": ("{157FB3DF-0B65-4848-ACAD-60E309E09275}", True, "", [
        (I4, 0), (I4, 6), (B, 0), (I2, 0), (I4, 0), (B, -1), (B, -1), (B, 1), (U4, 0),
        (B, 0), (I4, 0), (I4, 0), (I4, 0), (I4, 2), (U4, 0x8000000F)]),
    "combo": ("{15E8AAED-F466-42AC-AB1E-DE31C9E1C8D5}", False, "bef", [
        (I4, 0), (I4, Ref("b")), (S, ""), (I4, Ref("e")), (B, 0), (I2, 0), (I4, 0), (B, -1), (B, -1),
        (B, 1), (U4, 0), (B, 0), (I4, 1), (I4, Ref("f")), (I2, 3), (I4, 0), (B, 0)]),
    "button": ("{C2BC989C-2770-41D9-B462-4BDE4E7C0328}", True, "bgh", [
        (I4, 0), (I4, Ref("b")), (I4, Ref("g")), (I4, 0), (B, 0), (I2, 0), (I4, 0), (B, -1), (B, -1),
        (B, 1), (U4, Ref("h")), (B, 0), (I4, 0), (I4, 0), (I4, 2), (I4, 2)]),
    "group": ("{FA0E7D7B-10F8-4EB5-9963-5ECD08AB36B1}", True, "", [
        (I4, 0), (I4, 6), (B, 0), (I2, 0), (I4, 0), (B, -1), (B, -1), (B, 1), (U4, 0),
        (B, 0), (I4, 0)]),
    "edit": ("{0796C5F2-ADF0-41F3-949C-670AD7FE9048}", False, "bp", [
        (I4, 0), (I4, Ref("b")), (I4, 0), (I4, 0), (B, -1), (I2, 1), (I4, 0), (B, -1), (B, -1),
        (B, 1), (U4, 0), (B, 0), (I4, 0), (I4, Ref("p")), (I4, 0), (I4, 0), (I4, 0), (I4, 1),
        (I4, 0), (I4, 0), (I4, 0), (I4, 0)]),
    "check": ("{4A5344DD-2407-48D6-A35F-052CD3C662D8}", True, "", [
        (I4, 0), (I4, 6), (I4, 0), (B, 0), (I2, 0), (I4, 0), (B, -1), (B, -1), (B, 1),
        (U4, 0), (B, 0), (I4, 0), (I4, 0), (I4, 0), (I4, 0), (I4, 0), (U4, 0x8000000F)]),
    "list": ("{D89E1537-6279-4910-8ADD-3988DBC10272}", False, "", [
        (I4, 0), (I4, 6), (I4, 0), (B, 0), (I2, 1), (I4, 0), (B, -1), (B, -1), (B, 1),
        (U4, 0), (B, 0), (I4, 0), (I4, 0), (I4, 1), (I4, 0)]),
}

# The two forms of the head's margins and table names.
HEAD_FORMS = {
    1: ([0, 100, 0, 100, 0, 100, 0, 100], ["", "", "", ""]),
    2: ([0, 0, 1, 100, 0, 0, 1, 100], ["", "", "", "TableSonota"]),
}
STREAM_HEADER = (0, 0x20, 0x0710)
DLGINIT_LOAD_STREAM = 0x0376


class DescriptionError(Exception):
    pass


def number(text, what):
    try:
        return int(text, 0)
    except ValueError:
        raise DescriptionError(f"{what}: not a number: {text!r}") from None


def parse(path):
    dlg = {"items": []}
    with open(path, encoding="utf-8") as f:
        for n, raw in enumerate(f, 1):
            where = f"{path}:{n}"
            try:
                words = shlex.split(raw, comments=True)
            except ValueError as e:
                raise DescriptionError(f"{where}: {e}") from None
            if not words:
                continue
            key = words[0]
            try:
                if key == "dialog":
                    dlg["id"] = number(words[1], where)
                elif key == "title":
                    (dlg["title"],) = words[1:]
                elif key == "size":
                    dlg["size"] = [number(w, where) for w in words[1:]]
                    if len(dlg["size"]) != 2:
                        raise DescriptionError(f"{where}: size WIDTH HEIGHT")
                elif key == "style":
                    dlg["style"] = number(words[1], where)
                elif key == "font":
                    face, *nums = words[1:]
                    point, weight, italic, charset = (number(w, where) for w in nums)
                    dlg["font"] = (face, point, weight, italic, charset)
                elif key in KINDS:
                    dlg["items"].append(parse_item(words, where))
                else:
                    raise DescriptionError(f"{where}: unknown line {key!r}")
            except (IndexError, ValueError):
                raise DescriptionError(f"{where}: malformed {key!r} line") from None
    for key in ("id", "title", "size", "style", "font"):
        if key not in dlg:
            raise DescriptionError(f"{path}: no {key!r} line")
    ids = [item["id"] for item in dlg["items"]]
    if len(set(ids)) != len(ids):
        raise DescriptionError(f"{path}: control identifiers must be unique")
    return dlg


def parse_item(words, where):
    kind, ident, x, y, w, h, style, caption, name, extent, *rest = words
    class_id, has_caption, letters, _ = KINDS[kind]
    item = {
        "kind": kind,
        "id": number(ident, where),
        "rect": [number(v, where) for v in (x, y, w, h)],
        "style": number(style, where),
        "name": name,
        "form": 1,
        "values": {},
    }
    if has_caption == (caption == "-"):
        raise DescriptionError(f"{where}: a {kind} {'needs' if has_caption else 'has no'} caption")
    item["caption"] = caption if has_caption else None
    ew, sep, eh = extent.partition("x")
    if not sep:
        raise DescriptionError(f"{where}: extent is WIDTHxHEIGHT")
    item["extent"] = (number(ew, where), number(eh, where))
    for word in rest:
        key, sep, value = word.partition("=")
        if not sep:
            raise DescriptionError(f"{where}: expected key=value, got {word!r}")
        if key == "form":
            item["form"] = number(value, where)
            if item["form"] not in HEAD_FORMS:
                raise DescriptionError(f"{where}: form is 1 or 2")
        elif key in letters and key not in item["values"]:
            item["values"][key] = number(value, where)
        else:
            raise DescriptionError(f"{where}: {key!r} is not a value of a {kind}")
    missing = set(letters) - set(item["values"])
    if missing:
        raise DescriptionError(f"{where}: missing values {''.join(sorted(missing))}")
    return item


def sz(text):
    return text.encode("utf-16-le") + b"\0\0"


def align4(data):
    return data + b"\0" * (-len(data) % 4)


def template(dlg):
    """DIALOGEX: version 1, signature 0xFFFF, no menu, no class."""
    face, point, weight, italic, charset = dlg["font"]
    out = struct.pack("<HHIIIH", 1, 0xFFFF, 0, 0, dlg["style"], len(dlg["items"]))
    out += struct.pack("<hhhh", 0, 0, *dlg["size"])
    out += b"\0\0" + b"\0\0" + sz(dlg["title"])
    out += struct.pack("<HHBB", point, weight, italic, charset) + sz(face)
    for i, item in enumerate(dlg["items"]):
        out = align4(out)
        out += struct.pack("<III", 0, 0, item["style"])
        out += struct.pack("<hhhh", *item["rect"])
        out += struct.pack("<I", item["id"])
        out += sz(KINDS[item["kind"]][0])  # class as a string
        out += b"\0\0"  # empty title
        out += struct.pack("<H", 0)  # no creation data
    return out


def value(vtype, v):
    if vtype == S:
        data = sz(v)
        return struct.pack("<HI", S, len(data)) + data
    fmt = {I2: "<Hh", B: "<Hh", I4: "<Hi", U4: "<HI"}[vtype]
    return struct.pack(fmt, vtype, v)


def property_stream(item):
    _, has_caption, _, tail = KINDS[item["kind"]]
    margins, tables = HEAD_FORMS[item["form"]]
    out = struct.pack("<5I", *STREAM_HEADER, *item["extent"])
    if has_caption:
        out += value(S, item["caption"])
    out += b"".join(value(I2, m) for m in margins)
    out += b"".join(value(S, t) for t in tables)
    out += b"".join(value(I4, 1) for _ in range(4))
    out += value(S, item["name"]) + value(S, "")
    for vtype, v in tail:
        out += value(vtype, item["values"][v] if isinstance(v, Ref) else v)
    return out


def init_data(dlg):
    out = b""
    for item in dlg["items"]:
        data = property_stream(item)
        out += struct.pack("<HHI", item["id"], DLGINIT_LOAD_STREAM, len(data)) + data
    return out + struct.pack("<H", 0)


def main(argv):
    if len(argv) < 3:
        raise SystemExit(__doc__)
    outdir = argv[1]
    try:
        for path in argv[2:]:
            dlg = parse(path)
            tpl, init = template(dlg), init_data(dlg)
            expected = EXPECTED_SIZES.get(dlg["id"])
            if expected != (len(tpl), len(init)):
                raise DescriptionError(
                    f"{path}: dialog {dlg['id']} comes out {len(tpl)} + {len(init)} bytes,"
                    f" expected {expected}")
            for prefix, data in (("dialog", tpl), ("dlginit", init)):
                with open(os.path.join(outdir, f"{prefix}{dlg['id']}.bin"), "wb") as out:
                    out.write(data)
    except DescriptionError as e:
        raise SystemExit(f"dialogs.py: {e}")


if __name__ == "__main__":
    main(sys.argv)
