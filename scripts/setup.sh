#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Snowquill needs,
# and only those that are missing. Runs as root (or through sudo when it is available).
# The i386 architecture is never enabled: 32-bit Wine can't run on these machines, so
# the tests run the 64-bit build of the same sources.
set -euo pipefail

packages=(
  cmake make g++ libgtest-dev                          # native build and unit tests
  g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32  # the 32-bit and 64-bit Windows builds
  wine64 xvfb xauth                                    # running the programs, also with no display
  python3 python3-pil python3-numpy fonts-dejavu-core  # the artwork, sound and icon generators
  fp-utils                                             # chmcmd, the help file compiler
  zip unzip                                            # the release package
  clang-format clang-tidy                              # scripts/lint.sh
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: every package is installed"
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "setup: installing ${missing[*]}"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
