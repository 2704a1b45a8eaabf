#!/usr/bin/env bash
# Installs the Debian shogi engines that nusari-tool match plays against and
# that tools/teacher_games/make.sh takes its teacher games from:
# Fairy-Stockfish, gpsshogi (gpsusi) and GNU Shogi, all in /usr/games. They
# are opponents for the tools, not dependencies of the program.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends fairy-stockfish gpsshogi gnushogi
