#!/usr/bin/env bash
# Rebuilds the opening book of the default engine 標準 (data/aik/hyoujun.jsk)
# from the records in data/openings, taken in name order: record k carries
# message k of data/aik/hyoujun.txk. The argument is the nusari-tool to use.
set -euo pipefail
cd "$(dirname "$0")/.."
TOOL="${1:-build/tools/nusari-tool}"
export LC_ALL=C
"$TOOL" book build data/aik/hyoujun.jsk data/openings/*.csa --plies 40
