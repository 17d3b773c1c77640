#!/usr/bin/env bash
# Runs a Windows program of the build under the project's Wine prefix:
#   wine-run.sh BUILD_DIR PROGRAM [ARGS...]
set -euo pipefail
build=$1
shift
# shellcheck source=wine-env.sh
source "$(dirname "$0")/wine-env.sh" "$build"
exec "$LINK14_WINE" "$@"
