#!/usr/bin/env bash
# Plays the teacher games of data/kif with nusari-tool match, one game at a
# time (one core): Fairy-Stockfish against itself, gpsshogi against itself
# and the two against each other, from the opening lines of openings.txt.
# Only games that end in mate, resignation or a declaration are kept, each
# move sequence once, renumbered as <pairing>-NNN.csa.
#
#   bash tools/teacher_games/make.sh [GAMES]    GAMES per pairing (default 100)
#
#   NUSARI_TOOL          nusari-tool (default build/tools/nusari-tool)
#   NUSARI_KIF_OUT       the records' folder (default data/kif)
#   NUSARI_TEACHER_WORK  every game played (default build/teacher_games); a
#                        run that was stopped goes on from the games there
#   PAIRINGS             the pairings to play (default "fsf-fsf fsf-gps gps-gps")
#
# The engines come from Debian (bash scripts/engines.sh installs them).
# Fairy-Stockfish thinks 200 ms a move (byoyomi), gpsshogi searches to its
# LimitDepth 5, a fraction of a second; the margin lets that depth finish.
set -euo pipefail
cd "$(dirname "$0")/../.."

GAMES="${1:-100}"
TOOL="${NUSARI_TOOL:-build/tools/nusari-tool}"
OUT="${NUSARI_KIF_OUT:-data/kif}"
PAIRINGS="${PAIRINGS:-fsf-fsf fsf-gps gps-gps}"
OPENINGS=tools/teacher_games/openings.txt

# Program, name, then options.
FSF=(/usr/games/fairy-stockfish "Fairy-Stockfish 11.1" Threads=1 Hash=64)
GPS=("/usr/games/gpsusi -N 1" "gpsshogi 0.7.0" Thread=1 LimitDepth=5)

for program in "$TOOL" /usr/games/fairy-stockfish /usr/games/gpsusi; do
  if [ ! -x "$program" ]; then
    echo "make.sh: $program is missing (build nusari-tool; bash scripts/engines.sh)" >&2
    exit 1
  fi
done

WORK="${NUSARI_TEACHER_WORK:-build/teacher_games}"
mkdir -p "$OUT" "$WORK"

# The opening lines FIRST.. of openings.txt, without comments.
openings_from() {
  grep -v '^#' "$OPENINGS" | grep -v '^[[:space:]]*$' | tail -n +"$1" > "$WORK/openings-$1.txt"
  echo "$WORK/openings-$1.txt"
}

# Engine N's arguments for nusari-tool match from one of the arrays above.
engine_args() {
  local n="$1"
  printf '%s\0' "--engine$n" "$2" "--name$n" "$3"
  shift 3
  for option in "$@"; do printf '%s\0' "--option$n" "$option"; done
}

play() {
  local pairing="$1"
  local -a args=()
  case "$pairing" in
    fsf-fsf) mapfile -d '' args < <(engine_args 1 "${FSF[@]}"; engine_args 2 "${FSF[@]}")
             args+=(--openings "$(openings_from 1)" --once --games "$GAMES" --byoyomi 200) ;;
    gps-gps) mapfile -d '' args < <(engine_args 1 "${GPS[@]}"; engine_args 2 "${GPS[@]}")
             args+=(--openings "$(openings_from $((GAMES + 1)))" --once --games "$GAMES" --byoyomi 200 --margin 3000) ;;
    fsf-gps) mapfile -d '' args < <(engine_args 1 "${FSF[@]}"; engine_args 2 "${GPS[@]}")
             args+=(--openings "$(openings_from $((2 * GAMES + 1)))" --games "$GAMES" --byoyomi 200 --margin 3000) ;;
    *) echo "make.sh: unknown pairing $pairing" >&2; exit 2 ;;
  esac
  # Games already played are not played again.
  mkdir -p "$WORK/$pairing"
  rm -f "$WORK/$pairing"/*.part
  local played
  played="$(find "$WORK/$pairing" -name 'game-*.csa' | wc -l)"
  echo "== $pairing: $(date -u '+%F %T') UTC, $played games played before"
  echo "== $TOOL match ${args[*]} --skip $played"
  "$TOOL" match "${args[@]}" --skip "$played" --out "$WORK/$pairing" --prefix game || true
  echo "== $pairing: $(date -u '+%F %T') UTC"
}

# Keeps the decided games of a pairing, each move sequence once.
keep() {
  local pairing="$1"
  local n=0 f
  rm -f "$OUT/$pairing"-*.csa
  declare -A seen=()
  for f in "$WORK/$pairing"/game-*.csa; do
    [ -e "$f" ] || continue
    grep -qE '^%(TORYO|TSUMI|KACHI)' "$f" || continue
    local moves
    moves="$(grep -E '^[+-][0-9]' "$f" | md5sum | cut -d' ' -f1)"
    [ -z "${seen[$moves]:-}" ] || continue
    seen[$moves]=1
    n=$((n + 1))
    cp "$f" "$OUT/$(printf '%s-%03d.csa' "$pairing" "$n")"
  done
  echo "== $pairing: kept $n of $(ls "$WORK/$pairing" | wc -l) games"
}

for pairing in $PAIRINGS; do
  play "$pairing"
  keep "$pairing"
done
