#!/bin/sh
# Wine for the end-to-end tests: one private prefix per test run, kept alive between
# program starts.
#   wine.sh setup   PREFIX                  create the prefix, keep its server running
#   wine.sh cleanup PREFIX                  stop the prefix's server
#   wine.sh run     PREFIX SECONDS PROGRAM [ARGS...]
#                                           run a test program in it, on $DISPLAY
# Only 64-bit Windows programs run here: wine64 is called directly, with WINELOADER set.
set -eu
mode=$1
prefix=$2
shift 2

export WINELOADER=/usr/lib/wine/wine64
export WINEPREFIX="$prefix"
export WINEDEBUG=-all
server=/usr/lib/wine/wineserver

case "$mode" in
setup)
  if [ -d "$prefix" ]; then
    timeout 30 "$server" -k 2>/dev/null || true
    timeout 30 "$server" -w 2>/dev/null || true
    rm -rf "$prefix"
  fi
  mkdir -p "$(dirname "$prefix")"
  # Without the mscoree/mshtml override, the Mono and Gecko installers would wait for an answer.
  WINEDLLOVERRIDES="mscoree,mshtml=" timeout 180 "$WINELOADER" wineboot -i </dev/null
  timeout 120 "$server" -w
  # A crashing program must exit instead of waiting in Wine's crash dialog.
  WINEDLLOVERRIDES="mscoree,mshtml=" timeout 60 "$WINELOADER" reg add 'HKCU\Software\Wine\WineDbg' \
    /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null
  timeout 60 "$server" -w
  # Persistent server: each program start then takes about half a second instead of three.
  # Its output is closed, so that it does not hold the test runner's pipes open.
  "$server" -p </dev/null >/dev/null 2>&1
  echo "wine prefix ready: $prefix"
  ;;
cleanup)
  if [ -d "$prefix" ]; then
    timeout 30 "$server" -k 2>/dev/null || true
    timeout 30 "$server" -w 2>/dev/null || true
  fi
  echo "wine server of $prefix stopped"
  ;;
run)
  seconds=$1
  shift
  if [ -z "${DISPLAY:-}" ]; then
    echo "no display: run the end-to-end tests under xvfb-run (scripts/test.sh does)" >&2
    exit 1
  fi
  if [ ! -f "$prefix/system.reg" ]; then
    echo "no Wine prefix at $prefix: the e2e_wine_prefix_setup test makes it" >&2
    exit 1
  fi
  # The programs pick up the recording winmm.dll placed beside them.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winmm=n,b"
  # The output goes through a file: Wine's helper processes, which outlive the test
  # program while the server persists, would otherwise hold the runner's pipe open.
  output=$(mktemp)
  status=0
  timeout -k 5 "$seconds" "$WINELOADER" "$@" </dev/null >"$output" 2>&1 || status=$?
  cat "$output"
  rm -f "$output"
  [ "$status" -ne 124 ] || echo "timed out after $seconds s"
  exit "$status"
  ;;
*)
  echo "usage: wine.sh setup|cleanup|run PREFIX ..." >&2
  exit 2
  ;;
esac
