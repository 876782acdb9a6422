#!/usr/bin/env bash
# Checks our C++ (.cpp and .h under game/, resizer/, common/, tests/ and bench/): fails when a
# file is not laid out as .clang-format says, or when clang-tidy (.clang-tidy) warns; clang's
# -Wcomma is one of its checks. Checks every tracked Python file with pycodestyle (120
# columns), and that no file silences a linter (noqa, NOLINT).
#
#   scripts/lint.sh          check everything (scripts/test.sh runs this)
#   scripts/lint.sh --fix    reformat every file in place first, then check
#
# clang-tidy reads the compile databases of two builds: the native one for the platform-free
# sources and the unit tests, the 64-bit MinGW one for the Windows programs and the
# end-to-end test programs. Those are parsed by clang as x86_64-w64-mingw32 against the MinGW
# headers and g++'s MinGW C++ library headers. Both build folders are configured here (no
# build is needed) unless they are already; LINT_NATIVE_BUILD and LINT_WINDOWS_BUILD choose other
# folders.
set -euo pipefail
cd "$(dirname "$0")/.."
start=$(date +%s)

native_build=${LINT_NATIVE_BUILD:-build/native}
windows_build=${LINT_WINDOWS_BUILD:-build/win64}
jobs=${LINT_JOBS:-2}

mapfile -t files < <(git ls-files --cached --others --exclude-standard -- \
  'game/*.cpp' 'game/*.h' 'resizer/*.cpp' 'resizer/*.h' 'common/*.cpp' 'common/*.h' \
  'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h' | sort -u)
existing=()
for file in "${files[@]}"; do [ -f "$file" ] && existing+=("$file"); done
files=("${existing[@]}")

# ---- Python ----
mapfile -t python_files < <(git ls-files '*.py')
pycodestyle --max-line-length=120 --ignore=W503 "${python_files[@]}"
echo "lint: ${#python_files[@]} Python files laid out as pycodestyle wants"
if git grep -n -E 'noqa|NOLINT' -- "${python_files[@]}" "${files[@]}"; then
  echo "lint: the lines above silence a linter" >&2
  exit 1
fi

# ---- Layout ----
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
fi
if ! clang-format --dry-run --Werror "${files[@]}"; then
  echo "lint: some files are not formatted; 'scripts/lint.sh --fix' reformats them" >&2
  exit 1
fi
echo "lint: ${#files[@]} files formatted as .clang-format says"

# ---- clang-tidy ----
# A build folder already configured is left as it is: scripts/test.sh runs this beside the tests
# of that very build.
[ -f "$native_build/compile_commands.json" ] || cmake --preset native -B "$native_build" >/dev/null
[ -f "$windows_build/compile_commands.json" ] || cmake --preset win64 -B "$windows_build" >/dev/null

# The MinGW C++ library and C headers, in g++'s own order, without g++'s compiler-internal
# headers: clang brings its own (stddef.h, the intrinsics), found beside clang-tidy itself.
cxx_dirs=()
c_dirs=()
while read -r dir; do
  dir=$(realpath -m "$dir")
  case "$dir" in
    */c++*) cxx_dirs+=("--extra-arg=-isystem$dir") ;;
    */lib/gcc/*) ;;
    *) c_dirs+=("--extra-arg=-isystem$dir") ;;
  esac
done < <(x86_64-w64-mingw32-g++ -E -v -x c++ /dev/null 2>&1 |
         sed -n '/#include <...> search starts here:/,/End of search list./p' | sed '1d;$d')
llvm_dir=$(dirname "$(dirname "$(realpath "$(command -v clang-tidy)")")")
clang_headers=$(find "$llvm_dir/lib/clang" -mindepth 2 -maxdepth 2 -name include | sort | tail -n 1)
windows_args=(--extra-arg-before=--target=x86_64-w64-mingw32 --extra-arg=-nostdinc "${cxx_dirs[@]}"
              "--extra-arg=-isystem$clang_headers" "${c_dirs[@]}")

# Which build compiles each source: the native one when it does (the platform-free files are
# the same in both), otherwise the Windows one.
compiled_in() {
  /usr/bin/python3 -c '
import json, os, sys
for entry in json.load(open(sys.argv[1])):
    print(os.path.relpath(os.path.join(entry["directory"], entry["file"]), sys.argv[2]))
' "$1/compile_commands.json" "$PWD" | sort -u
}
mapfile -t native_sources < <(compiled_in "$native_build")
mapfile -t windows_sources < <(compiled_in "$windows_build")

jobs_file=$(mktemp)
results=$(mktemp -d)
trap 'rm -rf "$jobs_file" "$results"' EXIT
uncompiled=()
for file in "${files[@]}"; do
  [[ "$file" == *.cpp ]] || continue
  if printf '%s\n' "${native_sources[@]}" | grep -qxF "$file"; then
    echo "native $file" >>"$jobs_file"
  elif printf '%s\n' "${windows_sources[@]}" | grep -qxF "$file"; then
    echo "windows $file" >>"$jobs_file"
  else
    uncompiled+=("$file")
  fi
done
if [ ${#uncompiled[@]} -gt 0 ]; then
  echo "lint: no build compiles ${uncompiled[*]}, so clang-tidy can't check it" >&2
  exit 1
fi

export native_build windows_build results
export windows_args_line="${windows_args[*]}"
# Each source's findings go to a file of its own, shown together at the end.
run_one() {
  local kind=$1 file=$2 out
  out="$results/$(echo "$file" | tr '/' '_').txt"
  if [ "$kind" = native ]; then
    clang-tidy --quiet -p "$native_build" "$file" >"$out" 2>&1 || touch "$out.failed"
  else
    # shellcheck disable=SC2086 # the arguments hold no spaces
    clang-tidy --quiet -p "$windows_build" $windows_args_line "$file" >"$out" 2>&1 || touch "$out.failed"
  fi
}
export -f run_one
xargs -P "$jobs" -L 1 bash -c 'run_one "$0" "$1"' <"$jobs_file"

checked=$(wc -l <"$jobs_file")
if compgen -G "$results/*.failed" >/dev/null; then
  for failed in "$results"/*.failed; do
    grep -v ' warnings\? generated\.$' "${failed%.failed}"
  done
  echo "lint: clang-tidy found problems (see above)" >&2
  exit 1
fi
echo "lint: clang-tidy is content with $checked sources ($(( $(date +%s) - start )) s)"
