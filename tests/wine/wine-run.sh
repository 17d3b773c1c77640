#!/usr/bin/env bash
# Runs a Windows program of the build under the project's Wine prefix:
#   wine-run.sh BUILD_DIR PROGRAM [ARGS...]
set -uo pipefail
build=$(cd "$1" && pwd)
shift
# shellcheck source=wine-env.sh
source "$(dirname "$0")/wine-env.sh" "$build"
# Wine starts helpers (the desktop process, the debugger) that outlive the
# program and inherit its output; give them a file rather than the caller's
# pipe, so that a test runner waiting for end of output is not held up.
mkdir -p "$build/wine/output"
out=$(mktemp "$build/wine/output/run.XXXXXX")
"$LINK14_WINE" "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"
rm -f "$out"
exit $rc
