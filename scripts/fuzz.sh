#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang in build-fuzz, replays
# every file of fuzz/regressions/<target>, then runs each target for a short
# time over a fresh copy of its seeds. Fails when any target finds a crash,
# a leak, a timeout, an out-of-memory or a sanitizer report.
#
#   NUSARI_FUZZ_SECONDS  fuzzing time of each target (default 30, less on a
#                        machine too small to run them all in about four minutes)
#   NUSARI_FUZZ_TIMEOUT  seconds one input may take before it counts as a hang (default 5)
#   NUSARI_FUZZ_JOBS     targets run at the same time (default: the number of cores)
#   NUSARI_FUZZ_TARGETS  the targets to run, separated by spaces (default: all)
#
# Each run leaves its log, corpus and any crashing input (artifacts/) in
# build-fuzz/runs/<target>.
set -euo pipefail
cd "$(dirname "$0")/.."

FUZZ_TIMEOUT="${NUSARI_FUZZ_TIMEOUT:-5}"
JOBS="${NUSARI_FUZZ_JOBS:-$(nproc)}"
BUILD=build-fuzz
CXX_COMPILER="${NUSARI_FUZZ_CXX:-clang++}"

if ! command -v "$CXX_COMPILER" >/dev/null; then
  echo "fuzz.sh: $CXX_COMPILER not found (bash scripts/deps.sh installs clang)" >&2
  exit 1
fi

ALL_TARGETS="$(awk '/^[a-z]/ {print $1}' fuzz/targets.txt)"
TARGETS="${NUSARI_FUZZ_TARGETS:-$ALL_TARGETS}"
# 30 s a target, less on a machine with few cores: the runs take at most
# about four minutes in all.
COUNT=$(echo $TARGETS | wc -w)
DEFAULT_SECONDS=$(( 240 * JOBS / COUNT ))
[ "$DEFAULT_SECONDS" -gt 30 ] && DEFAULT_SECONDS=30
[ "$DEFAULT_SECONDS" -lt 5 ] && DEFAULT_SECONDS=5
FUZZ_SECONDS="${NUSARI_FUZZ_SECONDS:-$DEFAULT_SECONDS}"

cmake -S . -B "$BUILD" -DCMAKE_CXX_COMPILER="$CXX_COMPILER" -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DNUSARI_FUZZ=ON -DNUSARI_BUILD_TESTS=OFF -DNUSARI_BUILD_BENCH=OFF
targets=()
for t in $TARGETS; do targets+=(--target "${t}_fuzz"); done
cmake --build "$BUILD" -j "$(nproc)" "${targets[@]}"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
if [ -z "${ASAN_SYMBOLIZER_PATH:-}" ]; then
  for s in llvm-symbolizer llvm-symbolizer-14 /usr/lib/llvm-14/bin/llvm-symbolizer; do
    if command -v "$s" >/dev/null; then export ASAN_SYMBOLIZER_PATH="$(command -v "$s")"; break; fi
  done
fi

# The seed files of a target: fuzz/seeds/<target> and the globs of its line in
# fuzz/targets.txt.
seed_files() {
  local name="$1"
  local patterns
  patterns="$(awk -v n="$name" '$1 == n {for (i = 2; i <= NF; ++i) print $i}' fuzz/targets.txt)"
  shopt -s nullglob
  local f
  for f in fuzz/seeds/"$name"/*; do [ -f "$f" ] && printf '%s\n' "$f"; done
  for p in $patterns; do
    for f in $p; do [ -f "$f" ] && printf '%s\n' "$f"; done
  done
  shopt -u nullglob
}

# Replays the regressions, then fuzzes; the outcome goes to runs/<name>/result.
run_target() {
  local name="$1"
  local exe="$BUILD/fuzz/${name}_fuzz"
  local run="$BUILD/runs/$name"
  rm -rf "$run"
  mkdir -p "$run/corpus" "$run/artifacts" "$run/tmp"
  local options=(-timeout="$FUZZ_TIMEOUT" -rss_limit_mb=2048 -artifact_prefix="$run/artifacts/")

  local regressions=()
  shopt -s nullglob
  for f in fuzz/regressions/"$name"/*; do [ -f "$f" ] && regressions+=("$f"); done
  shopt -u nullglob
  if [ "${#regressions[@]}" -gt 0 ]; then
    if ! TMPDIR="$run/tmp" "$exe" "${options[@]}" "${regressions[@]}" >"$run/regressions.log" 2>&1; then
      echo "regression" >"$run/result"
      return
    fi
  fi

  local i=0
  while IFS= read -r f; do
    cp -- "$f" "$run/corpus/$i-$(basename -- "$f")"
    i=$((i + 1))
  done < <(seed_files "$name")

  local status=0
  TMPDIR="$run/tmp" "$exe" "${options[@]}" -max_total_time="$FUZZ_SECONDS" -print_final_stats=1 \
    "$run/corpus" >"$run/fuzz.log" 2>&1 || status=$?
  if [ "$status" -ne 0 ] || [ -n "$(ls -A "$run/artifacts")" ]; then
    echo "finding" >"$run/result"
  else
    echo "ok" >"$run/result"
  fi
}

start=$(date +%s)
running=0
for t in $TARGETS; do
  run_target "$t" &
  running=$((running + 1))
  if [ "$running" -ge "$JOBS" ]; then
    wait -n || true
    running=$((running - 1))
  fi
done
wait

failed=0
for t in $TARGETS; do
  run="$BUILD/runs/$t"
  result="$(cat "$run/result" 2>/dev/null || echo "no result")"
  execs="$(grep -ho 'stat::number_of_executed_units: [0-9]*' "$run/fuzz.log" 2>/dev/null | awk '{print $2}' || true)"
  cov="$(grep -o 'cov: [0-9]*' "$run/fuzz.log" 2>/dev/null | tail -1 | awk '{print $2}' || true)"
  printf '%-8s %-10s runs %-10s coverage %s\n' "$t" "$result" "${execs:--}" "${cov:--}"
  if [ "$result" != "ok" ]; then
    failed=1
    log="$run/fuzz.log"
    [ "$result" = "regression" ] && log="$run/regressions.log"
    echo "---- $log (last lines)"
    tail -n 60 "$log" || true
    ls -l "$run/artifacts" || true
  fi
done
echo "Fuzzing took $(( $(date +%s) - start )) s for $COUNT targets, $FUZZ_SECONDS s each."
if [ "$failed" -ne 0 ]; then
  echo "Fuzzing found a problem. Once it is fixed, keep the input (build-fuzz/runs/<target>/artifacts) in fuzz/regressions/<target>/." >&2
  exit 1
fi
echo "Fuzzing found nothing."
