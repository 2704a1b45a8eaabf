#!/usr/bin/env bash
# A stand-in USI engine for the match tests. It answers every "go" with
# "bestmove WORD" for its one argument WORD, except: "crash" exits at the
# first "go", "silent" never answers.
word="${1:-resign}"
while IFS= read -r line; do
  case "$line" in
    usi) echo "id name Fake $word"; echo "usiok" ;;
    isready) echo "readyok" ;;
    go*)
      case "$word" in
        crash) exit 3 ;;
        silent) ;;
        *) echo "info depth 1 score cp 42"; echo "bestmove $word" ;;
      esac ;;
    quit) exit 0 ;;
  esac
done
