#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian 12 machine.
# Idempotent: when every package is present it changes nothing.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ clang libclang-rt-14-dev
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  # dependencies, as sources or static libraries
  libz-mingw-w64-dev zlib1g-dev libstb-dev googletest lzma-dev
  # running and testing the Windows programs
  wine wine64 wine32:i386 xvfb xauth x11-utils xdotool
  fonts-wqy-microhei fonts-noto-cjk fonts-liberation
  # archives, images and tools used by tests, assets and benchmarks
  7zip zip unzip libarchive-tools imagemagick python3 python3-pil python3-fonttools time locales
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

sudo=
[ "$(id -u)" -eq 0 ] || sudo=sudo

# Wine runs the installer under our users' Chinese locale; it needs the host locale to exist.
ensure_locale() {
  locale -a 2>/dev/null | grep -qix 'zh_CN.utf8' && return 0
  echo "bootstrap: generating the zh_CN.UTF-8 locale"
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null || echo 'zh_CN.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen >/dev/null
}

if [ ${#missing[@]} -eq 0 ]; then
  echo "bootstrap: all ${#packages[@]} packages present"
  ensure_locale
  exit 0
fi

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
echo "bootstrap: installing ${missing[*]}"
# A mirror in the middle of a sync fails one index now and then: the install below still finds
# the packages in the others, and is tried again after a fresh update.
for attempt in 1 2 3; do
  $sudo apt-get update -q || echo "bootstrap: apt-get update reported errors (attempt $attempt)"
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}" && break
  [ "$attempt" -lt 3 ] || exit 1
  sleep 10
done
ensure_locale
