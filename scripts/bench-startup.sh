#!/usr/bin/env bash
# Start-up benchmark under Wine: the launcher against the baseline launcher
# (the same hand-off without the logging bootstrap), started alternately as
# whole processes with the runner's test double beside them; then the
# bootstrap's own time measured inside a process.
#   scripts/bench-startup.sh [BUILD_DIR] [RUNS]
# BUILD_DIR is a windows-x64 build (default build/windows-x64), RUNS the
# starts of each program (default 40). Uses a prefix of its own in
# BUILD_DIR/bench-startup, so that the test prefix is left alone.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=$(cd "${1:-$root/build/windows-x64}" && pwd)
runs=${2:-40}

cmake --build "$build" -j2 --target ONumra16LINK14 link14_baseline_launcher link14_startup_bench \
  link14_apprun_double >/dev/null

state="$build/bench-startup"
mkdir -p "$state/wine"
cp "$build/wine/arch" "$state/wine/arch"
bash "$root/tests/wine/prefix.sh" setup "$state" >/dev/null
trap 'bash "$root/tests/wine/prefix.sh" cleanup "$state" >/dev/null 2>&1 || true' EXIT
# shellcheck source=../tests/wine/wine-env.sh
source "$root/tests/wine/wine-env.sh" "$state"

install="$state/install"
rm -rf "$install"
mkdir -p "$install"
cp "$build/launcher/ONumra16LINK14.exe" "$build/bench/startup/OBaseline16LINK14.exe" \
  "$build/bench/startup/startup_bench.exe" "$build/doubles/ZRShotokuzeiUI.dll" "$install/"
winpath() { echo "Z:${1//\//\\}"; }
# The double records into a file rather than printing.
export LINK14_APPRUN_RECORD
LINK14_APPRUN_RECORD=$(winpath "$install/record.bin")

# Wine's helper processes outlive the program and would hold a pipe open:
# the output goes through a file.
bench() {
  "$LINK14_WINE" "$(winpath "$install/startup_bench.exe")" "$@" >"$state/out.txt" 2>&1 </dev/null
  tr -d '\r' <"$state/out.txt"
}
median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Warm-up: the first starts in a new prefix pay for its caches.
bench spawn 3 "$(winpath "$install/ONumra16LINK14.exe")" "$(winpath "$install/OBaseline16LINK14.exe")" >/dev/null

out="$state/spawn.txt"
bench spawn "$runs" "$(winpath "$install/ONumra16LINK14.exe")" \
  "$(winpath "$install/OBaseline16LINK14.exe")" >"$out"
launcher=$(awk '$1 == "launcher" { print $2 }' "$out" | median)
baseline=$(awk '$1 == "baseline" { print $2 }' "$out" | median)
echo "whole process under Wine, $runs starts each, alternated:"
echo "  launcher  median ${launcher} us"
echo "  baseline  median ${baseline} us"
awk -v a="$launcher" -v b="$baseline" 'BEGIN { printf "  ratio     %.3f (launcher / baseline)\n", a / b }'

# In-process: five fresh processes, each timing the bootstrap 20 times.
boot="$state/bootstrap.txt"
: >"$boot"
for _ in 1 2 3 4 5; do bench bootstrap 20 >>"$boot"; done
echo "logging bootstrap inside the process (InitLogging, per-program file written):"
echo "  first call of a process  median $(awk '$1 == "bootstrap-first" { print $2 }' "$boot" | median) us"
echo "  later calls              median $(awk '$1 == "bootstrap" { print $2 }' "$boot" | median) us"
