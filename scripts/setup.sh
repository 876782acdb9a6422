#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Snowquill needs,
# and only those that are missing. Runs as root (or through sudo when it is available).
# Where the kernel runs 32-bit code, 32-bit Wine is added too, so that the tests run the
# 32-bit programs that ship; elsewhere they run the 64-bit build of the same sources.
set -euo pipefail

packages=(
  cmake make g++ libgtest-dev                          # native build and unit tests
  g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32  # the 32-bit and 64-bit Windows builds
  wine64 xvfb xauth                                    # running the programs, also with no display
  python3 python3-pil python3-numpy fonts-dejavu-core  # the artwork, sound and icon generators
  python3-pefile                                       # the build checks read the programs
  fp-utils                                             # chmcmd, the help file compiler
  zip unzip                                            # the release package
  clang-format clang-tidy pycodestyle                  # scripts/lint.sh
)

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
missing=()
for package in "${packages[@]}"; do
  installed "$package" || missing+=("$package")
done

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
install() {
  echo "setup: installing $*"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "$@" </dev/null
}

# Does this kernel run 32-bit code? A tiny 32-bit program (binutils comes with g++) tells.
runs32() {
  local dir status
  dir=$(mktemp -d)
  printf '.globl _start\n_start: movl $1, %%eax\nxorl %%ebx, %%ebx\nint $0x80\n' >"$dir/t.s"
  as --32 -o "$dir/t.o" "$dir/t.s" 2>/dev/null && ld -m elf_i386 -o "$dir/t" "$dir/t.o" 2>/dev/null &&
    "$dir/t" 2>/dev/null
  status=$?
  rm -rf "$dir"
  return $status
}

if [ ${#missing[@]} -gt 0 ]; then install "${missing[@]}"; fi
if runs32 && ! installed wine32:i386; then
  # 32-bit Wine, for the 32-bit programs that ship; where the kernel can't run it, it is left out.
  dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
  missing+=(wine32:i386)
  install wine32:i386
fi
if [ ${#missing[@]} -eq 0 ]; then echo "setup: every package is installed"; fi
