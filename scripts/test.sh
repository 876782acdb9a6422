#!/usr/bin/env bash
# The whole test suite: set-up, the three builds, the native unit tests, then the
# end-to-end tests under Wine on a virtual display, of the 32-bit programs that ship where
# 32-bit Wine runs (else of the 64-bit build); so win32 is built before they run.
set -euo pipefail
cd "$(dirname "$0")/.."
start=$(date +%s)

scripts/setup.sh
scripts/build.sh native win32 win64

ctest --preset native
ctest --preset win32   # checks of the 32-bit programs that ship and of the release zip (no Wine needed)
xvfb-run -a -s "-screen 0 1600x1200x24" ctest --preset win64
scripts/lint.sh         # layout (clang-format) and clang-tidy over all our C++

echo "test.sh: all tests passed in $(( $(date +%s) - start )) s"
