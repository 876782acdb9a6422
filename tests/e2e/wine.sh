#!/bin/sh
# Wine for the end-to-end tests: one private 64-bit prefix per test run, its server kept alive.
#   wine.sh setup   PREFIX                          make the prefix, start its server
#   wine.sh cleanup PREFIX                          stop its server
#   wine.sh run     PREFIX SECONDS PROGRAM [ARGS]   run a 64-bit test program on $DISPLAY
# With E2E_WIN64 and E2E_WIN32 set (build folders), run hands the programs under test
# (--game, --pixelhem, --winmm) from the 32-bit build when 32-bit Wine runs here.
# Without the mscoree/mshtml override the Mono and Gecko installers wait for an answer.
set -eu
mode=$1
export WINEPREFIX="$2" WINELOADER=/usr/lib/wine/wine64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winmm=n,b"
shift 2
server=/usr/lib/wine/wineserver
case $mode in
setup)
  timeout 30 $server -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
  timeout 180 $WINELOADER wineboot -i </dev/null
  # A crashing program must exit instead of waiting in Wine's crash dialog.
  timeout 60 $WINELOADER reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null
  timeout 120 $server -w
  $server -p </dev/null >/dev/null 2>&1 ;;
cleanup)
  timeout 30 $server -k || true ;;
run)
  seconds=$1
  shift
  if [ -n "${E2E_WIN32:-}" ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo "programs under test: 32-bit, from $E2E_WIN32"
    for argument; do
      case $argument in --game=* | --pixelhem=* | --winmm=*) argument=$(echo "$argument" | sed "s|=$E2E_WIN64/|=$E2E_WIN32/|") ;; esac
      set -- "$@" "$argument"
      shift
    done
  else echo "programs under test: 64-bit"; fi
  # Through a file: Wine's helpers outlive the program and would hold the runner's pipe open.
  output=$(mktemp)
  status=0
  timeout -k 5 "$seconds" $WINELOADER "$@" </dev/null >"$output" 2>&1 || status=$?
  cat "$output"
  rm -f "$output"
  exit $status ;;
esac
