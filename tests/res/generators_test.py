#!/usr/bin/env python3
"""The resource generators: output independent of build directory and hash
seed, and descriptions that would produce wrong resources refused.

  generators_test.py RES_DIR
"""
import os
import pathlib
import subprocess
import sys
import tempfile

RES = pathlib.Path(sys.argv[1]).resolve()
GEN = RES / "gen"
DIALOGS = sorted(str(p) for p in (RES / "dialogs").glob("*.dlg"))

# (generator, arguments with OUT for the output directory or file)
RUNS = [
    ("strings.py", ["rc", str(RES / "messages.txt"), "OUT/strings.rc"]),
    ("dialogs.py", ["OUT"] + DIALOGS),
    ("manifest.py", [str(RES / "manifest.txt"), "OUT/ONumra16LINK14.manifest"]),
    ("typelib.py", [str(RES / "typelib.txt"), "OUT/mainLib.tlb"]),
    ("icon.py", ["OUT/link14.ico"]),
]

failures = []
checks = 0


def run(script, args, out, seed):
    env = dict(os.environ, PYTHONHASHSEED=str(seed))
    cmd = [sys.executable, str(GEN / script)] + [a.replace("OUT", out) for a in args]
    return subprocess.run(cmd, cwd=out, env=env, capture_output=True, text=True)


def check(ok, what):
    global checks
    checks += 1
    print(("ok   " if ok else "FAIL ") + what)
    if not ok:
        failures.append(what)


with tempfile.TemporaryDirectory() as a, tempfile.TemporaryDirectory() as b:
    for script, args in RUNS:
        ra, rb = run(script, args, a, 1), run(script, args, b, 2)
        check(ra.returncode == 0 and rb.returncode == 0, f"{script} runs: {ra.stderr}{rb.stderr}")
    names = sorted(os.listdir(a))
    check(names == sorted(os.listdir(b)) and len(names) == 12, f"same outputs: {names}")
    for name in names:
        same = pathlib.Path(a, name).read_bytes() == pathlib.Path(b, name).read_bytes()
        check(same, f"{name} identical across directories and hash seeds")


def refused(script, args, text, expect):
    with tempfile.TemporaryDirectory() as d:
        source = pathlib.Path(d, "input")
        source.write_text(text, encoding="utf-8")
        r = run(script, [str(source) if x == "IN" else x for x in args], d, 0)
        check(r.returncode != 0 and expect in r.stderr, f"{script} refuses: {expect!r} ({r.stderr.strip()})")


dlg = (RES / "dialogs" / "20004.dlg").read_text(encoding="utf-8")
# Each case: a faulty description and the generator's complaint.
cases = [
    ("strings.py", ["rc", "IN", "OUT/s.rc"], '100 "a"\n100 "b"\n', "given twice"),
    ("strings.py", ["rc", "IN", "OUT/s.rc"], '100 "a\\r"\n', "unknown escape"),
    ("strings.py", ["rc", "IN", "OUT/s.rc"], '100 ""\n', "empty text"),
    ("dialogs.py", ["OUT", "IN"], dlg.replace('"OK"', '"OK!"'), "expected (506, 1068)"),
    ("dialogs.py", ["OUT", "IN"], dlg.replace("b=6 g=1", "b=6"), "missing values g"),
    ("dialogs.py", ["OUT", "IN"], dlg.replace("8573x3387 form=2", "8573x3387 form=2 a=1"), "'a' is not a value of a list"),
    ("dialogs.py", ["OUT", "IN"], dlg.replace('"キャンセル"', "-"), "needs caption"),
    ("manifest.py", ["IN", "OUT/m"], "identity a 1.0.0.0 X86 win32\nfile a.dll\nclass {00000000-0000-0000-0000-000000000001}\nclass {00000000-0000-0000-0000-000000000001}\nexecution asInvoker false\ndpiaware true\n", "declared twice"),
    ("manifest.py", ["IN", "OUT/m"], "identity a 1.0.0.0 X86 win32\nfile a.dll\nclass nonsense\n", "not a {GUID}"),
    ("typelib.py", ["IN", "OUT/t"], (RES / "typelib.txt").read_text(encoding="utf-8").replace("0x0409", "0x0411"), "English locales only"),
]
for script, args, text, expect in cases:
    refused(script, args, text, expect)

print(f"{checks - len(failures)} passed, {len(failures)} failed")
sys.exit(1 if failures else 0)
