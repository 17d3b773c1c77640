# Sourced with the build directory as $1: the environment every Wine run of
# this project uses. A private prefix in the build tree, the Japanese
# locale (ANSI code page 932) and the virtual display of the fixture.
_link14_build=$(cd "$1" && pwd)
export WINEPREFIX="$_link14_build/wine/prefix"
# The build says which Windows it targets: win32 (i686) or win64 (x86_64).
WINEARCH=$(cat "$_link14_build/wine/arch" 2>/dev/null || echo win32)
export WINEARCH
if [ "$WINEARCH" = win64 ]; then
  LINK14_WINE=/usr/lib/wine/wine64
else
  LINK14_WINE=/usr/lib/wine/wine
fi
if [ -x /usr/lib/wine/wineserver64 ]; then
  LINK14_WINESERVER=/usr/lib/wine/wineserver64
else
  LINK14_WINESERVER=/usr/lib/wine/wineserver32
fi
export WINEDEBUG=-all
export LANG=ja_JP.UTF-8
export LC_ALL=ja_JP.UTF-8
# No Mono or Gecko installers, no file associations into $HOME.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}mscoree,mshtml,winemenubuilder.exe=d"
if [ -f "$_link14_build/wine/display" ]; then
  DISPLAY=$(cat "$_link14_build/wine/display")
  export DISPLAY
fi
unset _link14_build
