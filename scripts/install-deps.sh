#!/usr/bin/env bash
# Installs, from Debian's archive only, what building, testing and the demo need.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive

pkgs=(cmake ninja-build g++ googletest zlib1g-dev clang libclang-rt-14-dev
      g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 libz-mingw-w64-dev
      wine wine64 fonts-wine locales
      firebird3.0-utils firebird3.0-server firebird-dev libfbclient2
      xvfb imagemagick xdotool python3 chromium unzip)

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
fi

# Wine follows the Linux locale for its code pages: 1250/852 need hu_HU generated.
if ! locale -a 2>/dev/null | grep -qi '^hu_HU.utf8$'; then
  grep -q '^hu_HU.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null || echo 'hu_HU.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen
fi
