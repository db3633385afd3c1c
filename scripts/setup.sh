#!/usr/bin/env bash
# Installs what the project needs from Debian's packages. Idempotent, and quick when all is
# present: apt runs only for packages that are missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ libgtest-dev googletest         # native tree and unit tests
  g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev       # the Win32 tree
  wine64 xvfb xauth x11-utils                           # running it here
  imagemagick python3 python3-pil                       # screenshots, drawing the skins
  nsis                                                  # the Windows installer
  fonts-liberation fonts-wqy-zenhei fonts-wqy-microhei  # legible English and Chinese under Wine
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' || missing+=("$package")
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
