#!/usr/bin/env bash
# The share of the suite's mates an engine finds: it thinks MS milliseconds
# (default 2000) on every position of suite.tsv, and shogiops checks that
# the move it plays starts a mate within the position's length.
#   bash tools/mate_suite/run.sh build/tools/nusari-tool data/aik/標準.aik [MS]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
tool="$1"
aik="$2"
ms="${3:-2000}"
[ -d "$here/../record_corpus/node_modules/shogiops" ] || bash "$here/../record_corpus/setup.sh" >&2
moves="$(mktemp)"
trap 'rm -f "$moves"' EXIT
while IFS=$'\t' read -r sfen plies _; do
  case "$sfen" in ''|'#'*) continue ;; esac
  move="$("$tool" think --aik "$aik" --sfen "$sfen" --ms "$ms" | sed -n 's/^move: [^ ]* \([^ ]*\)$/\1/p')"
  printf '%s\t%s\t%s\n' "$sfen" "$plies" "$move" >> "$moves"
done < "$here/suite.tsv"
node "$here/verify.mjs" moves "$moves"
