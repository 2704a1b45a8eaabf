#!/usr/bin/env python3
"""Writes a teacher engine's score after every move of CSA records.

    python3 tools/teacher_games/score_games.py OUT DIR [DIR...] [--nodes N]
        [--engine PROGRAM] [--part K --parts N]

Every record of the folders that starts from the standard position and ends
with a "%" word is read once (records with the same moves are one, and games of
fewer than 20 plies are left out); from the
tenth ply on, the engine searches the position after each move to N nodes
(default 10000, a few hundredths of a second) and its score goes after the
move as a CSA "'**" line from 先手's side, which `nusari-tool tune --method
fit` reads as the teacher's score. The players' own "'**" lines are dropped;
positions the engine scores as a mate get no line. Each record is written to
OUT under a name made from its path, so a stopped run goes on where it was,
and --part/--parts split the records among several runs (one per core).

The engine is a USI program (default Debian's Fairy-Stockfish, one thread).
"""
import argparse
import hashlib
import os
import re
import subprocess
import sys

MOVE = re.compile(r'^[+-]\d{4}[A-Z]{2}$')
PROMOTED = {'TO', 'NY', 'NK', 'NG', 'UM', 'RY'}
DROP_LETTER = {'FU': 'P', 'KY': 'L', 'KE': 'N', 'GI': 'S', 'KI': 'G', 'KA': 'B', 'HI': 'R'}
FIRST_SCORED_PLY = 10
MIN_PLIES = 20


def read_lines(path):
    with open(path, 'rb') as f:
        return f.read().decode('cp932', 'replace').replace('\r\n', '\n').split('\n')


def records(folders):
    """The records to score in the order of their paths, each move sequence once."""
    seen = set()
    paths = sorted(os.path.join(d, name) for d in folders for name in os.listdir(d) if name.endswith('.csa'))
    for path in paths:
        lines = read_lines(path)
        moves = [l for l in lines if MOVE.match(l)]
        key = ' '.join(moves)
        if len(moves) < MIN_PLIES or not any(l.startswith('%') for l in lines) or key in seen:
            continue
        seen.add(key)
        yield path, lines


def start_board(lines):
    """The pieces of the "P1".."P9" lines by (file, rank)."""
    board = {}
    for row in (l for l in lines if re.match(r'^P[1-9]', l)):
        rank = int(row[1])
        for i in range(9):
            cell = row[2 + 3 * i:5 + 3 * i].strip()
            if cell not in ('', '*'):
                board[(9 - i, rank)] = cell[1:]
    return board


def usi_move(line, board):
    """The USI form of a CSA move; `board` follows it."""
    ff, fr, tf, tr, piece = int(line[1]), int(line[2]), int(line[3]), int(line[4]), line[5:]
    rank = 'abcdefghi'
    if ff == 0:
        text = f'{DROP_LETTER[piece]}*{tf}{rank[tr - 1]}'
    else:
        text = f'{ff}{rank[fr - 1]}{tf}{rank[tr - 1]}'
        if piece in PROMOTED and board.get((ff, fr)) not in PROMOTED:
            text += '+'
        board.pop((ff, fr), None)
    board[(tf, tr)] = piece
    return text


class Engine:
    def __init__(self, program):
        self.p = subprocess.Popen([program], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                  text=True, bufsize=1)
        self.send('usi')
        self.wait('usiok')
        self.send('setoption name Threads value 1')
        self.send('setoption name Hash value 16')
        self.send('isready')
        self.wait('readyok')

    def send(self, text):
        self.p.stdin.write(text + '\n')

    def wait(self, word):
        while True:
            line = self.p.stdout.readline()
            if not line:
                sys.exit('score_games.py: the engine ended')
            if line.startswith(word):
                return line

    def score(self, moves, nodes):
        """The score for the side to move after `moves`, or None for a mate."""
        self.send('position startpos moves ' + ' '.join(moves))
        self.send(f'go nodes {nodes}')
        score = None
        while True:
            line = self.p.stdout.readline()
            if not line:
                sys.exit('score_games.py: the engine ended')
            if line.startswith('bestmove'):
                return score
            m = re.search(r' score (cp|mate) (-?\d+)', line)
            if m:
                score = int(m.group(2)) if m.group(1) == 'cp' else None


def main():
    ap = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    ap.add_argument('out')
    ap.add_argument('folders', nargs='+')
    ap.add_argument('--nodes', type=int, default=10000)
    ap.add_argument('--engine', default='/usr/games/fairy-stockfish')
    ap.add_argument('--part', type=int, default=0)
    ap.add_argument('--parts', type=int, default=1)
    args = ap.parse_args()
    os.makedirs(args.out, exist_ok=True)
    engine = Engine(args.engine)
    for n, (path, lines) in enumerate(records(args.folders)):
        if n % args.parts != args.part:
            continue
        target = os.path.join(args.out, hashlib.md5(path.encode()).hexdigest()[:10] + '.csa')
        if os.path.exists(target):
            continue
        board, moves, out = start_board(lines), [], []
        for line in lines:
            if line.startswith("'**"):
                continue
            out.append(line)
            if not MOVE.match(line):
                continue
            moves.append(usi_move(line, board))
            if len(moves) < FIRST_SCORED_PLY:
                continue
            score = engine.score(moves, args.nodes)
            if score is not None:
                # After an even number of plies 先手 is to move.
                out.append("'** %d" % (score if len(moves) % 2 == 0 else -score))
        with open(target + '.part', 'wb') as f:
            f.write('\r\n'.join(out).encode('cp932', 'replace'))
        os.rename(target + '.part', target)
        print(target, path, flush=True)
    engine.send('quit')


if __name__ == '__main__':
    main()
