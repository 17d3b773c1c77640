#!/usr/bin/env bash
# The Wine test fixture:
#   prefix.sh setup BUILD_DIR    fresh prefix, virtual display, wineserver kept alive
#   prefix.sh cleanup BUILD_DIR  stops the wineserver and the display
# Nothing is written outside BUILD_DIR.
set -euo pipefail
action=$1
build=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
state="$build/wine"
mkdir -p "$state"

stop_display() {
  if [ -f "$state/xvfb.pid" ]; then
    kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
    rm -f "$state/xvfb.pid" "$state/display"
  fi
}

start_display() {
  # Use the caller's display when there is one, else our own Xvfb.
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    echo "$DISPLAY" > "$state/display"
    return
  fi
  # Xvfb picks a free display itself, so that runs side by side never collide.
  rm -f "$state/display.num"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$state/display.num" \
    >/dev/null 2>&1 </dev/null &
  echo $! > "$state/xvfb.pid"
  local i n
  for i in $(seq 1 100); do
    n=$(tr -dc '0-9' < "$state/display.num" 2>/dev/null || true)
    if [ -n "$n" ] && DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
      echo ":$n" > "$state/display"
      return
    fi
    sleep 0.1
  done
  kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
  echo "prefix.sh: could not start Xvfb" >&2
  exit 1
}

case "$action" in
  setup)
    if [ -d "$state/prefix" ]; then
      ( source "$here/wine-env.sh" "$build"; "$LINK14_WINESERVER" -k >/dev/null 2>&1 </dev/null || true )
    fi
    stop_display
    rm -rf "$state/prefix"
    start_display
    # shellcheck source=wine-env.sh
    source "$here/wine-env.sh" "$build"
    "$LINK14_WINE" wineboot -i >/dev/null 2>&1 </dev/null
    "$LINK14_WINESERVER" -w >/dev/null 2>&1 </dev/null
    # A new prefix links the user's folders to $HOME; give it folders of its own.
    user_dir=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -n 1)
    for link in "$user_dir"/*; do
      if [ -L "$link" ]; then
        rm -f "$link"
        mkdir -p "$link"
      fi
    done
    # Keep one wineserver for the whole run so that each start is cheap. It and
    # everything Wine starts must not hold the caller's output open, or a
    # test runner waiting for end of output would wait for the whole run.
    "$LINK14_WINESERVER" -p >/dev/null 2>&1 </dev/null
    echo "wine prefix ready: $WINEPREFIX (display $DISPLAY)"
    ;;
  cleanup)
    if [ -d "$state/prefix" ]; then
      ( source "$here/wine-env.sh" "$build"; "$LINK14_WINESERVER" -k >/dev/null 2>&1 </dev/null || true )
    fi
    stop_display
    ;;
  *)
    echo "usage: prefix.sh setup|cleanup BUILD_DIR" >&2
    exit 2
    ;;
esac
