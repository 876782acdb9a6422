#!/usr/bin/env bash
# What a move costs, measured under Wine on this machine, this build beside an earlier one:
# builds the 64-bit programs and the benchmark in build/bench-win64, the earlier build's
# programs (commit BENCH_EARLIER, by default the last one that read the picture file on
# every draw) from a worktree in build/bench-earlier, measures each in a run of its own in a
# Wine prefix of the benchmark's (on a virtual display when there is none), prints the table
# and writes bench/results.md.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
earlier=${BENCH_EARLIER:-80f8878}
build=$root/build/bench-win64
earlier_build=$root/build/bench-earlier/win64
prefix=$build/bench-prefix
table=$build/bench-table.md
table200=$build/bench-table-200.md

photos=$build/bench-photos

# Photo-like pictures (smooth gradients and a fine grain of noise) as JPEG and PNG, which only
# this build reads: 4000 x 3000 and 8000 x 6000, made once.
make_photos() {
  mkdir -p "$photos"
  /usr/bin/python3 - "$photos" <<'PHOTOS'
import sys
import numpy
from PIL import Image

rng = numpy.random.default_rng(16)
for width, height in (4000, 3000), (8000, 6000):
    x = numpy.arange(width)[None, :]
    y = numpy.arange(height)[:, None]
    pixels = rng.integers(0, 8, (height, width, 3), dtype=numpy.uint8)
    pixels[:, :, 0] += (x * 200 // width).astype(numpy.uint8)
    pixels[:, :, 1] += (y * 200 // height).astype(numpy.uint8)
    pixels[:, :, 2] += (x * 100 // width).astype(numpy.uint8)
    pixels[:, :, 2] += (y * 100 // height).astype(numpy.uint8)
    photo = Image.fromarray(pixels)
    photo.save(f"{sys.argv[1]}/{width}x{height}.jpg", quality=90)
    photo.save(f"{sys.argv[1]}/{width}x{height}.png", compress_level=1)
PHOTOS
}

# One build a run, each with a Wine server of its own.
bench() {
  sh tests/e2e/wine.sh run "$prefix" 1800 "$build/bench/bench.exe" --work="$build/bench-work" \
    --winmm="$build/tests/e2e/winmm/winmm.dll" "$@"
  sh tests/e2e/wine.sh cleanup "$prefix" >/dev/null
}
measure() {
  bench --game="$earlier_build/game/snowquill.exe" --pixelhem="$earlier_build/resizer/pixelhem.exe" \
    --keep="$build/bench-earlier.txt"
  bench --game="$build/game/snowquill.exe" --pixelhem="$build/resizer/pixelhem.exe" \
    --earlier="$build/bench-earlier.txt" --photos="$photos" --out="$table"
  bench --game="$build/game/snowquill.exe" --dpi=192 --photos="$photos" --out="$table200"
}
if [ "${1:-}" = --measure ]; then
  measure
  exit
fi

cmake --preset win64 -B "$build" >/dev/null
cmake --build "$build" -j2 --target snowquill pixelhem bench winmm_recorder
source=$root/build/bench-earlier/source
[ -d "$source" ] || git worktree add --detach "$source" "$earlier" >/dev/null
git -C "$source" checkout -q --detach "$earlier"
cmake --preset win64 -S "$source" -B "$earlier_build" >/dev/null
cmake --build "$earlier_build" -j2 --target snowquill pixelhem

[ -f "$photos/8000x6000.png" ] || make_photos
sh tests/e2e/wine.sh setup "$prefix" >/dev/null
trap 'sh "$root/tests/e2e/wine.sh" cleanup "$prefix" >/dev/null 2>&1 || true' EXIT
if [ -z "${DISPLAY:-}" ]; then
  xvfb-run -a -s "-screen 0 1600x1200x24" "$0" --measure
else
  measure
fi

{
  echo "# What a move costs"
  echo
  echo "Measured by \`bench/run.sh\` on $(date -u '+%Y-%m-%d') under $(/usr/lib/wine/wine64 --version 2>/dev/null || echo Wine)"
  echo "on $(nproc) cores ($(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')), a virtual"
  echo "1600 x 1200 x 24 display, the 64-bit programs. \"Earlier\" is commit $earlier, which read and"
  echo "decoded the picture file at every draw of a tile or the preview; \"now\" draws from forms made"
  echo "once per file. Each build is measured in a run of its own (a Wine server of its own), one"
  echo "after the other. Medians of several runs, timed from the benchmark's own process (see the top"
  echo "of bench/bench.cpp for what each column times). The programs run with the tests' recording"
  echo "stand-in for winmm.dll, which plays nothing, so that the figures are the drawing's."
  echo
  cat "$table"
  echo
  echo "At a display scale of 200 % (192 DPI), this build in a run of its own: tiles of 96 x 96 and a"
  echo "preview of 176 x 176 on the screen, made from the picture itself; the floor is the same read"
  echo "and the same stretches at those sizes:"
  echo
  cat "$table200"
} > bench/results.md
echo "bench: wrote bench/results.md"
