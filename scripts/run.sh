#!/usr/bin/env bash
# Set-up, build, and start the game under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh win32 win64
export WINELOADER=/usr/lib/wine/wine64
export WINEPREFIX="${WINEPREFIX:-$HOME/.wine-snowquill}"
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG=-all
exec /usr/lib/wine/wine64 build/win64/game/snowquill.exe
