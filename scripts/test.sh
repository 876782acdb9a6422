#!/usr/bin/env bash
# The whole test suite: set-up, the three builds, the native unit tests, then the
# end-to-end tests under Wine on a virtual display, of the 32-bit programs that ship where
# 32-bit Wine runs (else of the 64-bit build); so win32 is built before they run. The lint
# runs beside them.
set -euo pipefail
cd "$(dirname "$0")/.."
start=$(date +%s)

scripts/setup.sh
scripts/build.sh native win32 win64

ctest --preset native
ctest --preset win32   # checks of the 32-bit programs that ship and of the release zip (no Wine needed)
# The lint (layout with clang-format, clang-tidy over all our C++, the Python style) runs beside
# the Wine tests, which mostly wait on the programs; its report follows theirs.
lint_log=$(mktemp)
trap 'rm -f "$lint_log"' EXIT
scripts/lint.sh >"$lint_log" 2>&1 &
lint=$!
xvfb-run -a -s "-screen 0 1600x1200x24" ctest --preset win64 || { wait "$lint" || true; exit 1; }
lint_status=0
wait "$lint" || lint_status=$?
cat "$lint_log"
[ "$lint_status" -eq 0 ]

echo "test.sh: all tests passed in $(( $(date +%s) - start )) s"
