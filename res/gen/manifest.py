#!/usr/bin/env python3
"""Manifest table -> application manifest.

  manifest.py TABLE OUT.manifest

UTF-8 with a byte-order mark; the declaration ends with CR LF and the rest is
one line without white space between elements. Empty elements are written as
a start and an end tag.
"""
import re
import sys
from xml.sax.saxutils import quoteattr

ASM_V1 = "urn:schemas-microsoft-com:asm.v1"
ASM_V3 = "urn:schemas-microsoft-com:asm.v3"
WINDOWS_SETTINGS_2005 = "http://schemas.microsoft.com/SMI/2005/WindowsSettings"
COMPATIBILITY_V1 = "urn:schemas-microsoft-com:compatibility.v1"
GUID = re.compile(r"^\{[0-9A-Fa-f]{8}(-[0-9A-Fa-f]{4}){3}-[0-9A-Fa-f]{12}\}$")


def element(name, attrs=(), content=""):
    a = "".join(f" {k}={quoteattr(v)}" for k, v in attrs)
    return f"<{name}{a}>{content}</{name}>"


def guid(text, where):
    if not GUID.match(text):
        raise SystemExit(f"{where}: not a {{GUID}}: {text!r}")
    return text


def parse(path):
    t = {"files": [], "supportedos": []}
    seen = set()
    with open(path, encoding="utf-8") as f:
        for n, raw in enumerate(f, 1):
            words = raw.split("#", 1)[0].split()
            if not words:
                continue
            where = f"{path}:{n}"
            key, args = words[0], words[1:]
            if key == "identity" and len(args) == 4:
                t["identity"] = args
            elif key == "file" and len(args) in (1, 2):
                tlbid = guid(args[1], where) if len(args) == 2 else None
                t["files"].append({"name": args[0], "tlbid": tlbid, "classes": []})
            elif key == "class" and len(args) in (1, 2) and t["files"]:
                clsid = guid(args[0], where)
                if clsid.upper() in seen:
                    raise SystemExit(f"{where}: class {clsid} declared twice")
                seen.add(clsid.upper())
                progid = args[1] if len(args) == 2 and args[1] != "-" else None
                t["files"][-1]["classes"].append((clsid, progid))
            elif key == "execution" and len(args) == 2:
                t["execution"] = args
            elif key == "dpiaware" and len(args) == 1:
                t["dpiaware"] = args[0]
            elif key == "supportedos" and len(args) == 1:
                t["supportedos"].append(guid(args[0], where))
            else:
                raise SystemExit(f"{where}: malformed {key!r} line")
    for key in ("identity", "execution", "dpiaware"):
        if key not in t:
            raise SystemExit(f"{path}: no {key!r} line")
    for f in t["files"]:
        if not f["classes"]:
            raise SystemExit(f"{path}: file {f['name']} declares no class")
    return t


def manifest(t):
    version, arch, name, kind = t["identity"][1], t["identity"][2], t["identity"][0], t["identity"][3]
    body = element(
        "assemblyIdentity",
        [("version", version), ("processorArchitecture", arch), ("name", name), ("type", kind)],
    )
    for f in t["files"]:
        content = ""
        for clsid, progid in f["classes"]:
            attrs = [("clsid", clsid)]
            if f["tlbid"]:
                attrs.append(("tlbid", f["tlbid"]))
            if progid:
                attrs.append(("progid", progid))
            content += element("comClass", attrs)
        if f["tlbid"]:
            content += element("typelib", [("tlbid", f["tlbid"]), ("version", "1.0"), ("helpdir", "")])
        body += element("file", [("name", f["name"])], content)
    level, ui_access = t["execution"]
    body += element(
        "trustInfo",
        [("xmlns", ASM_V3)],
        element(
            "security",
            (),
            element(
                "requestedPrivileges",
                (),
                element("requestedExecutionLevel", [("level", level), ("uiAccess", ui_access)]),
            ),
        ),
    )
    settings = [("xmlns", WINDOWS_SETTINGS_2005)]
    body += element(
        "asmv3:application",
        settings,
        element("asmv3:windowsSettings", settings, element("dpiAware", (), t["dpiaware"])),
    )
    body += element(
        "compatibility",
        [("xmlns", COMPATIBILITY_V1)],
        element("application", (), "".join(element("supportedOS", [("Id", i)]) for i in t["supportedos"])),
    )
    root = element(
        "assembly",
        [("xmlns", ASM_V1), ("manifestVersion", "1.0"), ("xmlns:asmv3", ASM_V3)],
        body,
    )
    decl = '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\r\n'
    return b"\xef\xbb\xbf" + (decl + root).encode("utf-8")


def main(argv):
    if len(argv) != 3:
        raise SystemExit(__doc__)
    data = manifest(parse(argv[1]))
    with open(argv[2], "wb") as out:
        out.write(data)


if __name__ == "__main__":
    main(sys.argv)
