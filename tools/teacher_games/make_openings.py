#!/usr/bin/env python3
"""Writes varied opening lines for teacher games: from the even start, 3 to 8
plies, the first of them from one of the common openings below, the rest
chosen at random among the moves Fairy-Stockfish rates within WINDOW
centipawns of its best (MultiPV at a fixed depth). Lines are
"startpos moves ..." as nusari-tool match reads them; no line repeats.

    python3 tools/teacher_games/make_openings.py COUNT SEED > openings.txt
"""
import random
import subprocess
import sys

ENGINE = "/usr/games/fairy-stockfish"
DEPTH = 7
MULTIPV = 6
WINDOW = 60

# Common openings, sente first.
OPENINGS = {
    "yagura": "7g7f 8c8d 6g6f 3c3d 6i7h 4a3b 5g5f 5a4b 3i4h 6a5b",
    "kakugawari": "7g7f 8c8d 2g2f 4a3b 6i7h 8d8e 8h7g 3c3d 7i8h 2b7g+ 8h7g",
    "aigakari": "2g2f 8c8d 2f2e 8d8e 6i7h 4a3b 2e2d 2c2d 2h2d",
    "yokofudori": "7g7f 3c3d 2g2f 8c8d 2f2e 8d8e 6i7h 4a3b 2e2d 2c2d 2h2d 8e8f 8g8f 8b8f 2d3d",
    "gangi": "7g7f 8c8d 6g6f 3c3d 6i7h 4a3b 7i6h 5a4b 5g5f 7a7b",
    "gote shikenbisha": "7g7f 3c3d 2g2f 4c4d 2f2e 2b3c 3i4h 8b4b 5i6h 5a6b",
    "gote sangenbisha": "7g7f 3c3d 2g2f 4c4d 2f2e 2b3c 3i4h 8b7b",
    "gote nakabisha": "7g7f 5c5d 2g2f 8b5b 2f2e 5d5e 5i6h 5a6b",
    "gote nakabisha 2": "2g2f 5c5d 7g7f 8b5b 3i4h 5d5e 5i6h 5a6b",
    "gote mukaibisha": "7g7f 3c3d 2g2f 4c4d 2f2e 2b3c 5i6h 8b2b",
    "bougin": "7g7f 3c3d 2g2f 4c4d 2f2e 2b3c 3i3h 8b4b 3h2g 5a6b",
    "anaguma": "7g7f 3c3d 2g2f 4c4d 5i6h 8b4b 6h7h 5a6b 5g5f 6b7b",
    "sente shikenbisha": "7g7f 3c3d 6g6f 8c8d 2h6h 8d8e 8h7g 7a6b",
    "sente nakabisha": "5g5f 8c8d 2h5h 8d8e 7g7f 6a5b 5i4h 5a4b",
    "sente sangenbisha": "7g7f 3c3d 2h7h 8c8d 5i4h 5a4b",
    "ishida": "7g7f 3c3d 7f7e 8c8d 2h7h 8d8e 8h7g 7a6b",
    "aifuribisha": "7g7f 3c3d 2h7h 8b3b 5i4h 5a6b",
    "ibisha": "2g2f 3c3d 7g7f 8c8d 2f2e 8d8e 8h7g 3a4b",
}


class Engine:
    def __init__(self):
        self.proc = subprocess.Popen([ENGINE], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     text=True, bufsize=1)
        self.send("usi")
        self.wait("usiok")
        self.send("setoption name Threads value 1")
        self.send(f"setoption name MultiPV value {MULTIPV}")
        self.send("isready")
        self.wait("readyok")
        self.cache = {}

    def send(self, line):
        self.proc.stdin.write(line + "\n")
        self.proc.stdin.flush()

    def wait(self, prefix):
        lines = []
        while True:
            line = self.proc.stdout.readline()
            if not line:
                sys.exit("make_openings: the engine exited")
            lines.append(line.split())
            if line.startswith(prefix):
                return lines

    def candidates(self, moves):
        """The moves within WINDOW of the best at the last full depth."""
        key = " ".join(moves)
        if key not in self.cache:
            self.send("position startpos" + (" moves " + key if moves else ""))
            self.send(f"go depth {DEPTH}")
            scores = {}
            for words in self.wait("bestmove"):
                if words[:1] != ["info"] or "multipv" not in words or "pv" not in words:
                    continue
                depth = int(words[words.index("depth") + 1])
                if depth != DEPTH or "cp" not in words:
                    continue
                move = words[words.index("pv") + 1]
                scores[move] = int(words[words.index("cp") + 1])
            best = max(scores.values()) if scores else 0
            self.cache[key] = sorted(m for m, s in scores.items() if s >= best - WINDOW)
        return self.cache[key]


def main():
    count, seed = int(sys.argv[1]), int(sys.argv[2])
    rng = random.Random(seed)
    engine = Engine()
    seen = set()
    print(f"# {count} opening lines of 3 to 8 plies: the first plies from a common opening")
    print(f"# ({', '.join(OPENINGS)}),")
    print(f"# the rest each a random choice among the moves Fairy-Stockfish rates within {WINDOW}")
    print(f"# centipawns of its best at depth {DEPTH} (MultiPV {MULTIPV}).")
    print(f"# Made by: python3 tools/teacher_games/make_openings.py {count} {seed}")
    names = sorted(OPENINGS)
    while len(seen) < count:
        length = rng.randint(3, 8)
        opening = OPENINGS[rng.choice(names)].split()
        moves = opening[:rng.randint(2, min(length, len(opening)))]
        while len(moves) < length:
            choices = engine.candidates(moves)
            if not choices:
                break
            moves.append(rng.choice(choices))
        line = "startpos moves " + " ".join(moves)
        if line not in seen:
            seen.add(line)
            print(line, flush=True)
    engine.send("quit")


if __name__ == "__main__":
    main()
