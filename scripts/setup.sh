#!/usr/bin/env bash
# Installs everything a fresh Debian 12 machine needs to build, run and test the
# launcher. Safe to run again: every step checks before it changes anything.
set -euo pipefail

if [ "$(id -u)" -ne 0 ]; then
  SUDO=sudo
else
  SUDO=
fi
export DEBIAN_FRONTEND=noninteractive

# wine32 lives in the i386 architecture.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
  NEED_UPDATE=1
fi

PACKAGES=(
  # build
  cmake ninja-build pkg-config git python3 clang-format
  # target toolchain (posix thread model), resources, type libraries
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
  mingw-w64-i686-dev mingw-w64-tools
  # the same sources as 64-bit Windows programs, for machines whose kernel
  # cannot execute 32-bit code (and so cannot run 32-bit Wine)
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  mingw-w64-x86-64-dev
  # tests on the target: wine (32- and 64-bit), a virtual display, fonts
  wine wine32:i386 wine64 xvfb xauth x11-utils fonts-ipafont-gothic locales
  # host build: tests, fuzzing, benchmarks and the real logging library
  g++ clang libclang-rt-14-dev googletest libgtest-dev libgmock-dev
  libbenchmark-dev liblog4cxx-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
elif [ -n "${NEED_UPDATE:-}" ]; then
  $SUDO apt-get update
fi

# The posix thread model is the one the product is built with.
for tool in i686-w64-mingw32-gcc i686-w64-mingw32-g++ x86_64-w64-mingw32-gcc x86_64-w64-mingw32-g++; do
  if [ -e "/usr/bin/$tool-posix" ]; then
    cur=$(readlink -f "/etc/alternatives/$tool" 2>/dev/null || true)
    if [ "$cur" != "/usr/bin/$tool-posix" ]; then
      $SUDO update-alternatives --set "$tool" "/usr/bin/$tool-posix" >/dev/null
    fi
  fi
done

# Code page 932 under wine comes from the Japanese locale.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  if ! grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  fi
  $SUDO locale-gen
fi

echo "setup: all build and test dependencies are installed"
