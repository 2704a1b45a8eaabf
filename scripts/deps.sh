#!/usr/bin/env bash
# Installs the Debian packages needed to build, run and test Nusari Shogi;
# clang, its libFuzzer runtime and llvm-symbolizer are for scripts/fuzz.sh.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends \
  build-essential cmake pkg-config \
  libgtest-dev libgmock-dev libbenchmark-dev \
  qt6-base-dev qt6-multimedia-dev qt6-charts-dev libqt6opengl6-dev qt6-translations-l10n fonts-ipafont-gothic \
  xvfb xauth \
  clang libclang-rt-14-dev llvm-14
