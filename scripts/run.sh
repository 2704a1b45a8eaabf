#!/usr/bin/env bash
# Installs what is needed, builds, and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$(nproc)"
# The program runs from the build folder, beside its aik, oto and output
# folders. Without a display, run it under a virtual one: xvfb-run bash scripts/run.sh
exec ./build/nusari
