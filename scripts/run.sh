#!/usr/bin/env bash
# The main job: set up, build, and start the launcher under Wine beside the
# project's sample runtime (an in-process server of the runner class that
# prints what it received and returns 0). Reports the exit code.
#   scripts/run.sh [ARGUMENTS FOR THE LAUNCHER...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup.sh >/dev/null

# The shipped executable is always built.
cmake --preset windows-x86 >/dev/null
cmake --build --preset windows-x86 >/dev/null
echo "built: $root/build/windows-x86/launcher/ONumra16LINK14.exe"

# Run it where this machine can; a kernel without 32-bit execution runs the
# 64-bit build of the same sources instead.
if /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
  preset=windows-x86
else
  preset=windows-x64
  echo "note: this machine cannot execute 32-bit code; running the 64-bit build of the same sources"
  cmake --preset windows-x64 >/dev/null
fi
cmake --build --preset "$preset" --target ONumra16LINK14 link14_apprun_double >/dev/null
build="$root/build/$preset"
trap 'bash "$root/tests/wine/prefix.sh" cleanup "$build" >/dev/null 2>&1 || true' EXIT
bash tests/wine/prefix.sh setup "$build" >/dev/null

app="$build/run"
rm -rf "$app"
mkdir -p "$app"
cp "$build/launcher/ONumra16LINK14.exe" "$build/doubles/ZRShotokuzeiUI.dll" "$app/"

echo "starting ONumra16LINK14.exe under Wine (code page 932)"
set +e
(cd "$app" && bash "$root/tests/wine/wine-run.sh" "$build" ONumra16LINK14.exe "$@")
rc=$?
set -e
echo "ONumra16LINK14.exe exited with code $rc"
exit "$rc"
