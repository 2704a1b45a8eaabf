#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test twice: a plain
# Release build and a build under AddressSanitizer and UndefinedBehaviorSanitizer.
# Then runs the fuzz targets briefly (scripts/fuzz.sh) when clang is there.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
JOBS="$(nproc)"

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$JOBS"
ctest --test-dir build --output-on-failure -j "$JOBS"

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DNUSARI_SANITIZE=ON -DNUSARI_BUILD_BENCH=OFF
cmake --build build-sanitize -j "$JOBS"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-sanitize --output-on-failure -j "$JOBS"

# The fuzz targets for a short time each, where clang is installed.
if command -v clang++ >/dev/null; then
  bash scripts/fuzz.sh
else
  echo "clang++ not found: fuzzing skipped."
fi
echo "All tests passed."
