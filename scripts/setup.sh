#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12. Quick when all is there.
set -euo pipefail

packages=(
  cmake make ninja-build g++ clang zlib1g-dev googletest
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 libz-mingw-w64-dev
  wine wine64 xvfb xauth fonts-wine xdotool imagemagick
  vice cbmconvert cc65 lhasa jlha-utils default-jre-headless zip unzip gzip dpkg-dev time python3
  tesseract-ocr
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
# libFuzzer's runtime comes in clang's runtime package; its name carries the clang version.
if command -v clang >/dev/null; then
  ver=$(clang --version | sed -n 's/.*clang version \([0-9]*\).*/\1/p' | head -1)
  rt="libclang-rt-${ver}-dev"
  dpkg-query -W -f='${Status}' "$rt" 2>/dev/null | grep -q 'install ok installed' || missing+=("$rt")
fi

add_components() {
  # vice lives in contrib; the lhasa test corpus comes from its source package.
  local f=/etc/apt/sources.list.d/debian.sources
  [ -f "$f" ] || return 0
  if ! grep -q 'contrib' "$f"; then
    sed -i 's/^Components: main$/Components: main contrib/' "$f"
  fi
  if ! grep -q '^Types: deb deb-src' "$f"; then
    sed -i '0,/^Types: deb$/s//Types: deb deb-src/' "$f"
  fi
}

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  add_components
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  # clang's runtime may only be known after the first install
  if command -v clang >/dev/null; then
    ver=$(clang --version | sed -n 's/.*clang version \([0-9]*\).*/\1/p' | head -1)
    apt-get install -y -qq --no-install-recommends "libclang-rt-${ver}-dev" >/dev/null || true
  fi
fi
