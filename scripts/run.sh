#!/usr/bin/env bash
# Set-up, build, and start the game under Wine.
# With a display ($DISPLAY set) the game's window opens. Without one, the game is played
# for a moment on a virtual display (New Game and a few moves) and a picture of its
# window is saved as out/snowquill.png.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/setup.sh
scripts/build.sh win32 win64
build="$root/build/win64"
# The 32-bit game (the one that ships) wherever 32-bit Wine runs, else the 64-bit build.
game="$build/game/snowquill.exe"
if /usr/lib/wine/wine --version >/dev/null 2>&1; then game="$root/build/win32/game/snowquill.exe"; fi

export WINELOADER=/usr/lib/wine/wine64
export WINEPREFIX="${WINEPREFIX:-$HOME/.wine-snowquill}"
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG=-all

if [ -n "${DISPLAY:-}" ]; then
  exec /usr/lib/wine/wine64 "$game"
fi

echo "run: no display here; playing a short game on a virtual display"
out="$root/out"
mkdir -p "$out"
rm -f "$out/snowquill.ppm" "$out/snowquill.png"
export SHOWCASE_EXE="$build/tests/e2e/snowquill_showcase.exe"
export SHOWCASE_GAME="$game"
export SHOWCASE_OUT="$out"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -eu
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "run: making the Wine prefix $WINEPREFIX (once, about 20 s)"
    timeout 300 "$WINELOADER" wineboot -i </dev/null >/dev/null 2>&1 || true
    timeout 120 /usr/lib/wine/wineserver -w
    # A crash must end the program instead of waiting in a dialog nobody sees.
    timeout 60 "$WINELOADER" reg add "HKCU\\Software\\Wine\\WineDbg" /v ShowCrashDialog /t REG_DWORD /d 0 /f \
      </dev/null >/dev/null 2>&1
  fi
  status=0
  timeout -k 5 120 "$WINELOADER" "$SHOWCASE_EXE" --game="$SHOWCASE_GAME" --work="$SHOWCASE_OUT/run" \
    --out="$SHOWCASE_OUT/snowquill.ppm" </dev/null 2>"$SHOWCASE_OUT/wine.log" || status=$?
  timeout 60 /usr/lib/wine/wineserver -w || true
  if [ "$status" -ne 0 ]; then
    echo "run: the scripted game failed (status $status); what Wine said:" >&2
    cat "$SHOWCASE_OUT/wine.log" >&2
  fi
  exit $status
'
/usr/bin/python3 -c '
import sys
from PIL import Image
Image.open(sys.argv[1]).save(sys.argv[2])
' "$out/snowquill.ppm" "$out/snowquill.png"
rm -f "$out/snowquill.ppm"
echo "run: a picture of the game window is in $out/snowquill.png"
