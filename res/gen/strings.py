#!/usr/bin/env python3
"""Message catalogue -> string table.

  strings.py rc     CATALOGUE OUT.rc   STRINGTABLE for windres (UTF-8, LANGUAGE 0x11,0x01)
  strings.py header CATALOGUE OUT.h    expected texts as UTF-16 literals, for the tests
"""
import re
import sys

LINE = re.compile(r'^(\d+)[ \t]+"((?:[^"\\]|\\.)*)"[ \t]*$')
ESCAPES = {"n": "\n", "t": "\t", '"': '"', "\\": "\\"}


def unescape(text, where):
    out = []
    i = 0
    while i < len(text):
        c = text[i]
        if c == "\\":
            e = text[i + 1 : i + 2]
            if e not in ESCAPES:
                raise SystemExit(f"{where}: unknown escape \\{e}")
            out.append(ESCAPES[e])
            i += 2
        else:
            out.append(c)
            i += 1
    return "".join(out)


def parse(path):
    entries = {}
    with open(path, encoding="utf-8") as f:
        for n, raw in enumerate(f, 1):
            line = raw.rstrip("\n")
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            where = f"{path}:{n}"
            m = LINE.match(line)
            if not m:
                raise SystemExit(f"{where}: expected: ID \"TEXT\"")
            ident = int(m.group(1))
            text = unescape(m.group(2), where)
            if not 0 < ident <= 0xFFFF:
                raise SystemExit(f"{where}: identifier out of range")
            if ident in entries:
                raise SystemExit(f"{where}: identifier {ident} given twice")
            # An empty entry would read as absent; a CR has no place in these texts.
            if not text or "\r" in text:
                raise SystemExit(f"{where}: empty text or carriage return")
            if len(text.encode("utf-16-le")) // 2 > 0xFFFF:
                raise SystemExit(f"{where}: text too long for a string table slot")
            entries[ident] = text
    return dict(sorted(entries.items()))


def rc_literal(text):
    # windres: "" is a quote; \n and \t become LF and TAB.
    out = []
    for c in text:
        if c == '"':
            out.append('""')
        elif c == "\\":
            out.append("\\\\")
        elif c == "\n":
            out.append("\\n")
        elif c == "\t":
            out.append("\\t")
        elif ord(c) < 0x20 or ord(c) == 0x7F:
            raise SystemExit(f"control character U+{ord(c):04X} in a text")
        else:
            out.append(c)
    return '"' + "".join(out) + '"'


def write_rc(entries, out):
    lines = [
        "// Generated from messages.txt. Do not edit.",
        "#pragma code_page(65001)",
        "LANGUAGE 0x11, 0x01",
        "STRINGTABLE",
        "BEGIN",
    ]
    lines += [f"    {i} {rc_literal(t)}" for i, t in entries.items()]
    lines += ["END", ""]
    out.write("\n".join(lines))


def cxx_literal(text):
    out = []
    for c in text:
        o = ord(c)
        if c == "\n":
            out.append("\\n")
        elif c == "\t":
            out.append("\\t")
        elif c in '"\\':
            out.append("\\" + c)
        elif 0x20 <= o < 0x7F:
            out.append(c)
        elif o <= 0xFFFF:
            out.append(f"\\u{o:04x}")
        else:
            out.append(f"\\U{o:08x}")
    return 'u"' + "".join(out) + '"'


def write_header(entries, out):
    lines = [
        "// Generated from messages.txt. Do not edit.",
        "#pragma once",
        "#include <cstdint>",
        "",
        "struct CatalogueEntry {",
        "    std::uint16_t id;",
        "    const char16_t* text;",
        "};",
        "",
        "inline constexpr CatalogueEntry kCatalogue[] = {",
    ]
    lines += [f"    {{{i}, {cxx_literal(t)}}}," for i, t in entries.items()]
    lines += ["};", ""]
    out.write("\n".join(lines))


def main(argv):
    if len(argv) != 4 or argv[1] not in ("rc", "header"):
        raise SystemExit(__doc__)
    entries = parse(argv[2])
    with open(argv[3], "w", encoding="utf-8", newline="\n") as out:
        (write_rc if argv[1] == "rc" else write_header)(entries, out)


if __name__ == "__main__":
    main(sys.argv)
