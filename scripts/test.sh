#!/usr/bin/env bash
# Sets up, builds and runs every test: the host build (sanitizers, fuzzing,
# the real log4cxx), the Windows tests under Wine, and the checks of the
# shipped 32-bit executable.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup.sh

status=0
run_preset() {
  local preset=$1
  shift
  echo "=== $preset ==="
  cmake --preset "$preset" "$@"
  cmake --build --preset "$preset"
  ctest --preset "$preset" || status=1
}

# The shipped executable first, so that the 64-bit test build can also read
# its resources back.
run_preset windows-x86
run_preset windows-x64 -DLINK14_PE32_EXECUTABLE="$root/build/windows-x86/launcher/ONumra16LINK14.exe"
run_preset host

if [ "$status" -ne 0 ]; then
  echo "some tests failed"
fi
exit "$status"
