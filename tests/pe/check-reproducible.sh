#!/usr/bin/env bash
# Two clean builds of the same sources, in different folders, must give the
# same executable byte for byte:
#   check-reproducible.sh SOURCE_DIR WORK_DIR
set -euo pipefail
src=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
for n in 1 2; do
  cmake -S "$src" -B "$work/build-$n" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$src/cmake/toolchain-mingw-i686.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DLINK14_WITHOUT_LOG4CXX=ON -DLINK14_PRODUCT_ONLY=ON >/dev/null
  cmake --build "$work/build-$n" --target ONumra16LINK14 -j2 >/dev/null
done
a="$work/build-1/launcher/ONumra16LINK14.exe"
b="$work/build-2/launcher/ONumra16LINK14.exe"
if cmp "$a" "$b"; then
  echo "ok: identical executables ($(stat -c %s "$a") bytes, sha256 $(sha256sum "$a" | cut -c1-16)...)"
  rm -rf "$work"
else
  echo "FAIL: the two builds differ"
  exit 1
fi
