#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test twice: a plain
# Release build and a build under AddressSanitizer and UndefinedBehaviorSanitizer.
# Then runs the fuzz targets briefly (scripts/fuzz.sh) when clang is there.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
JOBS="$(nproc)"

# Each run of the suites gets an empty temporary folder (TMPDIR) and a
# runtime folder for Qt (XDG_RUNTIME_DIR) of its own. A test writes only
# into folders it makes and removes itself, so anything left in TMPDIR
# afterwards is a fault: it could make a later test pass on a leftover.
scratch="$(mktemp -d)"
trap 'chmod -R u+rwx "$scratch" 2>/dev/null; rm -rf "$scratch"' EXIT

# run_suites NAME BUILD_DIR [VAR=VALUE...]: ctest in BUILD_DIR with the
# variables set, then the check that TMPDIR is empty again.
run_suites() {
  local name="$1" dir="$2"
  shift 2
  local tmp="$scratch/$name-tmp" runtime="$scratch/$name-runtime"
  mkdir -m 700 "$tmp" "$runtime"
  local status=0
  env TMPDIR="$tmp" XDG_RUNTIME_DIR="$runtime" "$@" \
    ctest --test-dir "$dir" --output-on-failure -j "$JOBS" || status=$?
  if [ -n "$(ls -A "$tmp")" ]; then
    echo "The $name tests left files behind in their temporary folder (TMPDIR):" >&2
    (cd "$tmp" && find . -mindepth 1 -maxdepth 3 | sed 's|^\./|  |' | sort | head -n 50) >&2 || true
    echo "Each test must write into a folder of its own (tests/support/temp_folder.h) and remove it." >&2
    status=1
  fi
  return "$status"
}

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$JOBS"
run_suites release build

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DNUSARI_SANITIZE=ON -DNUSARI_BUILD_BENCH=OFF
cmake --build build-sanitize -j "$JOBS"
run_suites sanitizer build-sanitize \
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# The fuzz targets for a short time each, where clang is installed.
if command -v clang++ >/dev/null; then
  bash scripts/fuzz.sh
else
  echo "clang++ not found: fuzzing skipped."
fi
echo "All tests passed."
