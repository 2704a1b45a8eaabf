#!/usr/bin/env bash
# A stand-in USI engine for the tests. It answers every "go" with
# "bestmove WORD" for its one argument WORD, except: "crash" exits at the
# first "go", "silent" never answers a "go", "mute" never answers anything
# but exits on "quit", "options" announces one option of each type, and
# "garbage" sends raw bytes before a bestmove that is none, "chatty"
# sends 3000 info lines before "bestmove 7g7f", and "flood COUNT WORD"
# sends COUNT info lines with a long principal variation as fast as they
# are read, then "info depth 99 ..." and "bestmove WORD" (7g7f). "nul"
# answers a bestmove holding a NUL byte, "closeout" closes its output at
# the first "go" and runs on until "quit", and "once:FILE" exits at the
# first "go" and cannot start again (FILE marks its first start). Without
# an argument, "setoption name AikFile value WORD" chooses the WORD.
# "study" analyses: it announces MultiPV, answers "go" with one info line
# per line wanted (a pv legal for the side to move of the last position)
# and "stop" with a bestmove.
word="${1:-resign}"
multipv=1
side=b
black=("2g2f 8c8d" "7g7f 3c3d" "5g5f" "1g1f" "9g9f")
white=("8c8d 2g2f" "3c3d 7g7f" "5c5d" "1c1d" "9c9d")
while IFS= read -r line; do
  case "$line" in
    usi)
      [ "$word" = mute ] && continue
      echo "id name Fake $word"
      if [ "$word" = options ]; then
        echo "option name Threads type spin default 1 min 1 max 8"
        echo "option name USI_Ponder type check default false"
        echo "option name Style type combo default Normal var Solid var Normal var Risky"
        echo "option name Book File type string default book.db"
        echo "option name Clear Hash type button"
      fi
      [ "$word" = study ] && echo "option name MultiPV type spin default 1 min 1 max 5"

      echo "usiok" ;;
    "setoption name MultiPV value "*) multipv="${line##* }" ;;
    position*) case "$line" in *" w "*) side=w ;; *) side=b ;; esac ;;
    stop) [ "$word" = study ] && echo "bestmove 7g7f" ;;
    "setoption name AikFile value "*) [ $# -eq 0 ] && word="${line#setoption name AikFile value }" ;;
    isready)
      # A once: engine may start a single time: its first isready marks it.
      case "$word" in once:*) if [ -z "$marked" ]; then [ -e "${word#once:}" ] && exit 4; : > "${word#once:}"; marked=1; fi ;; esac
      [ "$word" = mute ] || echo "readyok" ;;
    go*)
      case "$word" in
        crash|once:*) exit 3 ;;
        nul) printf 'bestmove 7g\0007f\001\n' ;;
        closeout) exec 1>&- ;;
        silent|mute) ;;
        study) for k in $(seq 1 "$multipv"); do
                 if [ "$side" = b ]; then pv="${black[$((k - 1))]}"; else pv="${white[$((k - 1))]}"; fi
                 echo "info depth 10 seldepth 14 nodes 5000 nps 50000 hashfull 7 multipv $k score cp $((100 - 30 * k)) pv $pv"
               done ;;
        chatty) for i in $(seq 1 3000); do echo "info depth $i score cp $i nodes $i pv 7g7f 3c3d"; done
                echo "bestmove 7g7f" ;;
        flood) yes "info depth 12 seldepth 20 score cp 31 nodes 123456 nps 999999 pv 7g7f 3c3d 2g2f 8c8d 2f2e 8d8e 6i7h 4a3b 2e2d 2c2d 2h2d P*2c 2d2f 7a7b 3i3h 5a5b 9g9f 9c9d 1g1f 1c1d" 2>/dev/null |
                 head -n "${2:-100000}"
               echo "info depth 99 score cp 77 nodes 99 pv ${3:-7g7f}"
               echo "bestmove ${3:-7g7f}" ;;
        garbage) printf 'info \377\376 score cp\001\n'; printf 'bestmove \377\376@\n' ;;
        *) echo "info depth 1 score cp 42"; echo "bestmove $word" ;;
      esac ;;
    quit) exit 0 ;;
  esac
done
