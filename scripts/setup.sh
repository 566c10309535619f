#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12. Quick when all is there.
set -euo pipefail

packages=(
  cmake make ninja-build g++ clang zlib1g-dev googletest
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 libz-mingw-w64-dev
  wine wine64 xvfb xauth fonts-wine xdotool imagemagick
  vice cbmconvert cc65 lhasa jlha-utils default-jre-headless zip unzip gzip dpkg-dev time python3
  tesseract-ocr valgrind
  # make install-desktop's test: xdg-mime reads shared-mime-info through File::MimeInfo; gio is GLib's view
  shared-mime-info desktop-file-utils xdg-utils libfile-mimeinfo-perl libglib2.0-bin
)

# libFuzzer's runtime comes in clang's runtime package; its name carries the clang version.
if command -v clang >/dev/null; then
  packages+=("libclang-rt-$(clang --version | sed -n 's/.*clang version \([0-9]*\).*/\1/p' | head -1)-dev")
fi
# One dpkg-query for all (it fails when one was never installed): what it does not list as installed is missing.
installed=" $({ dpkg-query -W -f='${Package} ${Status}\n' "${packages[@]}" 2>/dev/null || true; } | sed -n 's/ install ok installed$//p' | tr '\n' ' ')"
missing=()
for p in "${packages[@]}"; do [[ "$installed" == *" $p "* ]] || missing+=("$p"); done

# vice lives in contrib; the lhasa test corpus comes from its source package. Debian lists its sources
# in the one-line sources.list (installer, debootstrap), in deb822 debian.sources (containers), or both.
one_line=/etc/apt/sources.list deb822=/etc/apt/sources.list.d/debian.sources
sources_lack() {
  { [ -f "$one_line" ] && grep -q '^deb ' "$one_line" &&
    { grep '^deb ' "$one_line" | grep -qvw contrib || ! grep -q '^deb-src ' "$one_line"; }; } ||
    { [ -f "$deb822" ] && { grep '^Components:' "$deb822" | grep -qvw contrib || ! grep -q '^Types: deb deb-src' "$deb822"; }; }
}
add_components() {
  if [ -f "$one_line" ]; then
    $sudo sed -i '/^deb\(-src\)\? /{/\bcontrib\b/!s/$/ contrib/}' "$one_line"
    grep -q '^deb-src ' "$one_line" || $sudo sed -i '/^deb cdrom:/!s/^deb \(.*\)/&\ndeb-src \1/' "$one_line"
  fi
  if [ -f "$deb822" ]; then
    $sudo sed -i '/^Components:/{/\bcontrib\b/!s/$/ contrib/}' "$deb822"
    grep -q '^Types: deb deb-src' "$deb822" || $sudo sed -i '0,/^Types: deb$/s//Types: deb deb-src/' "$deb822"
  fi
}

if [ ${#missing[@]} -gt 0 ] || sources_lack; then
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "setup: apt-get needs root: run this as root, or install sudo" >&2; exit 1; }
    echo "setup: apt-get needs root: running it with sudo, which may ask for your password"
    sudo="sudo"
  fi
  ! sources_lack || { echo "setup: adding contrib and the source lines to apt's sources"; add_components; }
  [ ${#missing[@]} -eq 0 ] || echo "setup: installing ${missing[*]}"
  apt() { $sudo env DEBIAN_FRONTEND=noninteractive apt-get -qq "$@"; }
  apt update
  [ ${#missing[@]} -eq 0 ] || apt install -y --no-install-recommends "${missing[@]}" >/dev/null
  # clang's runtime may only be known after the first install
  if command -v clang >/dev/null; then
    ver=$(clang --version | sed -n 's/.*clang version \([0-9]*\).*/\1/p' | head -1)
    apt install -y --no-install-recommends "libclang-rt-${ver}-dev" >/dev/null || true
  fi
fi
