#!/usr/bin/env bash
# What a move costs, measured under Wine on this machine: builds the 64-bit game and the
# benchmark in build/bench-win64, runs it in a Wine prefix of its own (on a virtual display
# when there is none), prints the table and writes it to bench/results.md.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build/bench-win64
cmake --preset win64 -B "$build" >/dev/null
cmake --build "$build" -j2 --target snowquill bench winmm_recorder

prefix=$build/bench-prefix
sh tests/e2e/wine.sh setup "$prefix" >/dev/null
trap 'sh "$root/tests/e2e/wine.sh" cleanup "$prefix" >/dev/null 2>&1 || true' EXIT

table=$build/bench-table.md
command=(sh tests/e2e/wine.sh run "$prefix" 1800 "$build/bench/bench.exe" --game="$build/game/snowquill.exe"
         --work="$build/bench-work" --winmm="$build/tests/e2e/winmm/winmm.dll" --out="$table")
if [ -z "${DISPLAY:-}" ]; then
  xvfb-run -a -s "-screen 0 1024x768x24" "${command[@]}"
else
  "${command[@]}"
fi

{
  echo "# What a move costs"
  echo
  echo "Measured by \`bench/run.sh\` on $(date -u '+%Y-%m-%d') under $(/usr/lib/wine/wine64 --version 2>/dev/null || echo Wine)"
  echo "on $(nproc) cores ($(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')), a virtual"
  echo "1024 x 768 x 24 display. Medians; the floor is one LoadImageA of the picture file plus one"
  echo "StretchBlt of a piece onto 48 x 48, timed in the benchmark's own process. The game runs"
  echo "with the tests' recording stand-in for winmm.dll, which takes each sound call and plays"
  echo "nothing, so that the figures are the drawing's. A move is a real click (BM_CLICK): the"
  echo "game draws the clicked tile when it is pressed and when it is released (and once more when"
  echo "it takes the focus from another control), each time reading the picture file; the moved"
  echo "window keeps its pixels. One tile, the preview and the board are drawn by BM_SETSTATE,"
  echo "which makes a button draw itself at once, exactly once."
  echo
  cat "$table"
} > bench/results.md
echo "bench: wrote bench/results.md"
