#!/usr/bin/env python3
"""Writes the untuned base of the default engine-definition files
data/aik/標準.aik and 攻め.aik (the shipped files are this base after
nusari-tool tune, as the README's engine section says).

Both files are CP932 with CR LF line ends. Every table is written from the
lower side's view (it moves toward rank 1); the loader derives the upper
side's tables by a half turn. Run from anywhere: python3 tools/make_default_aik.py
"""
from pathlib import Path

OUT = Path(__file__).resolve().parent.parent / "data" / "aik"

NAMES = {0: "玉 king", 1: "飛 rook", 2: "角 bishop", 3: "金 gold", 4: "銀 silver",
         5: "桂 knight", 6: "香 lance", 7: "歩 pawn", 8: "danger map", 9: "龍 dragon",
         10: "馬 horse", 11: "unused", 12: "成銀 promoted silver", 13: "成桂 promoted knight",
         14: "成香 promoted lance", 15: "と tokin"}

# Pieces a side may hold in hand: kind -> (value of the first piece, decay of
# each further one). Values are cumulative: slot 100 + n holds n pieces.
HAND = {1: (1000, 0.95), 2: (900, 0.95), 3: (660, 0.93), 4: (600, 0.93),
        5: (430, 0.92), 6: (400, 0.92), 7: (115, 0.90)}


def by_rank(base, ranks, files=None):
    """A square table: base + ranks[rank] + files[file]."""
    files = files or {}
    return lambda f, r: base + ranks.get(r, 0) + files.get(f, 0)


def square_tables(style):
    """Raw values of every code on every square, for one style."""
    attack = style == "attack"
    camp = 1.5 if attack else 1.0     # weight of squares in the enemy camp
    safe = 0.6 if attack else 1.0     # weight of a well-placed king
    edge = {1: -20, 9: -20}
    king_rank = {1: -20, 2: -30, 3: -50, 4: -70, 5: -50, 6: -20, 7: 10, 8: 30, 9: 40}
    king_file = {1: 30, 2: 30, 3: 20, 4: 5, 5: 0, 6: 5, 7: 20, 8: 30, 9: 30}
    tables = {
        0: lambda f, r: int(safe * (king_rank[r] + king_file[f])),
        1: by_rank(900, {1: int(60 * camp), 2: int(60 * camp), 3: int(50 * camp), 4: 10, 8: 5}),
        2: by_rank(800, {1: int(40 * camp), 2: int(40 * camp), 3: int(30 * camp), 7: 10}),
        3: by_rank(600, {2: 10, 3: 5, 4: -10, 6: 10, 7: 25, 8: 20}, edge),
        4: by_rank(550, {2: 10, 3: int(20 * camp), 4: int(20 * camp), 5: 30, 6: 25, 7: 15, 8: 5,
                         9: -10}, {1: -15, 9: -15}),
        5: by_rank(400, {3: int(40 * camp), 4: 30, 5: 20, 6: 10, 8: -10, 9: -5}),
        6: by_rank(380, {2: 10, 3: 20, 9: 10}),
        7: by_rank(100, {2: int(40 * camp), 3: int(30 * camp), 4: 15, 5: 5, 8: -5, 9: -10}),
        # Weight of an attacked square around the enemy king (ranks 1..3 for
        # the lower side's view) and of the enemy's attacked pieces there.
        8: by_rank(2, {1: int(10 * camp), 2: int(12 * camp), 3: int(9 * camp), 4: 5, 5: 3}),
        9: by_rank(1150, {1: int(40 * camp), 2: int(40 * camp), 3: int(40 * camp)}),
        10: by_rank(1050, {1: 20, 2: 20, 3: 20, 7: 30, 8: 30}),
        11: lambda f, r: 0,
        12: by_rank(620, {1: int(30 * camp), 2: int(30 * camp), 3: int(30 * camp)}),
        13: by_rank(620, {1: int(30 * camp), 2: int(30 * camp), 3: int(30 * camp)}),
        14: by_rank(620, {1: int(30 * camp), 2: int(30 * camp), 3: int(30 * camp)}),
        15: by_rank(650, {1: int(40 * camp), 2: int(40 * camp), 3: int(40 * camp), 4: 20}),
    }
    return tables


# Progress coefficients: defenders and promoted pieces gain with the
# opponent's progress.
COEFFICIENT = {3: 3, 4: 2, 9: 2, 10: 2, 12: 1, 13: 1, 14: 1, 15: 2}


def hand_values(kind):
    first, decay = HAND[kind]
    values, total, step = [], 0, float(first)
    for _ in range(18):
        total += int(step)
        values.append(total)
        step *= decay
    return values


def row(values):
    return ",".join(f"{v:5d}" for v in values)


def set_block(code, table):
    lines = [f"' {NAMES[code]} (code {code})"]
    if 1 <= code <= 7:
        lines.append("'   two rows: the value of holding 1..9 and 10..18 in hand")
    lines.append("'   nine rows: files 1..9, each from rank 1 (enemy side) to rank 9")
    lines.append("'   last number: progress coefficient")
    lines.append(f"set koma[{code}]")
    if 1 <= code <= 7:
        hand = hand_values(code)
        lines += [row(hand[:9]), row(hand[9:])]
    for f in range(1, 10):
        lines.append(row([table(f, r) for r in range(1, 10)]))
    lines.append(str(COEFFICIENT.get(code, 0)))
    lines.append("}")
    return lines


def king_rules(style):
    """Rules around the lower king: its own golds and silvers beside it, and
    the upper side's attackers near it (their mirror covers the upper king)."""
    defend = 0.6 if style == "attack" else 1.0
    hit = 1.6 if style == "attack" else 1.0
    lines = ["' Around one's own king (玉): defenders beside it and enemy attackers",
             "' near it. x is the file offset, y the rank offset (-1 = in front).",
             "find koma[0]", "  ' own golds and silvers"]
    gold = {(0, -1): 30, (1, -1): 35, (-1, -1): 35, (1, 0): 30, (-1, 0): 30, (1, 1): 20,
            (-1, 1): 20, (0, 1): 10, (2, 0): 10, (-2, 0): 10, (2, -1): 15, (-2, -1): 15}
    silver = {(0, -1): 20, (1, -1): 25, (-1, -1): 25, (1, 0): 15, (-1, 0): 15, (1, 1): 15,
              (-1, 1): 15, (2, -1): 10, (-2, -1): 10}
    for (x, y), v in gold.items():
        lines.append(f"  add koma[3][point({x},{y})] {int(v * defend)}")
    for (x, y), v in silver.items():
        lines.append(f"  add koma[4][point({x},{y})] {int(v * defend)}")
    lines.append("  ' enemy gold-like pieces on the squares from which they check")
    gold_checks = {(0, -1): 40, (1, -1): 35, (-1, -1): 35, (1, 0): 25, (-1, 0): 25, (0, 1): 15}
    for code in (35, 44, 45, 46, 47):
        for (x, y), v in gold_checks.items():
            lines.append(f"  add koma[{code}][point({x},{y})] {int(v * hit)}")
    lines.append("  ' enemy silvers and knights on their checking squares")
    for (x, y), v in {(0, -1): 30, (1, -1): 30, (-1, -1): 30, (1, 1): 20, (-1, 1): 20}.items():
        lines.append(f"  add koma[36][point({x},{y})] {int(v * hit)}")
    for x in (1, -1):
        lines.append(f"  add koma[37][point({x},-2)] {int(30 * hit)}")
    lines.append("  ' enemy dragon and horse close by matter more as the game goes on")
    for (x, y) in ((0, -1), (0, -2), (1, -1), (-1, -1), (1, -2), (-1, -2)):
        lines.append(f"  multiply koma[41][point({x},{y})] {2 if style == 'attack' else 1}")
        lines.append(f"  multiply koma[42][point({x},{y})] {2 if style == 'attack' else 1}")
    lines.append("  ' an enemy pawn pushed to the king's head")
    lines.append(f"  add koma[39][point(0,-2)] {int(15 * hit)}")
    lines.append("}")
    return lines


def rook_rules(style):
    """A silver climbing in front of its own rook (棒銀)."""
    v = 30 if style == "attack" else 15
    return ["' In front of one's own rook (飛): a climbing silver.",
            "find koma[1]",
            f"  add koma[4][point(0,-1)] {v}",
            f"  add koma[4][point(0,-2)] {v // 2}",
            "}"]


def engine(name, style, params, summary):
    lines = [f"' {name}: {summary}",
             "' Default engine of Nusari Shogi, written by tools/make_default_aik.py.",
             "ver=0.0.2",
             f"namae={name}",
             "",
             "' Search: hukasa is the last iteration (10 units = one ply), haba the width",
             "' of every candidate list."]
    for key in ("hukasa", "haba"):
        lines.append(f"{key}={params[key]}")
    lines += ["", "' Bonus of book-induced moves 1..4 (used when a book is named). Array",
              "' elements are separated by a comma and a space: the reader moves three",
              "' bytes on from each number's first digit.",
              "yudou_kati[]=" + ", ".join(str(v) for v in params["yudou_kati"])]
    if params.get("zyouseki"):
        stem = params["zyouseki"]
        lines += ["", f"' Opening book {stem}.jsk with its messages {stem}.txk, built from the",
                  "' records in data/openings by scripts/make_book.sh.",
                  f"zyouseki={stem}"]
    lines += ["", "' Evaluation bonuses: pass counter, check, recapture on the last two",
              "' destinations."]
    lines.append(f"pasu_kati={params['pasu_kati']}")
    lines.append(f"oute_kati={params['oute_kati']}")
    lines.append("doute_kati[]=" + ", ".join(str(v) for v in params["doute_kati"]))
    lines += ["", "' Depth cost of a move: a good move costs less (divisor hitu_hukasa); checks,",
              "' recaptures and moves onto attacked squares scale the cost in tenths."]
    lines.append(f"hitu_hukasa={params['hitu_hukasa']}")
    lines.append(f"oute_hukasa={params['oute_hukasa']}")
    lines.append("doute_hukasa[]=" + ", ".join(str(v) for v in params["doute_hukasa"]))
    lines.append(f"sute_hukasa={params['sute_hukasa']}")
    lines += ["", "' Game progress: start value and cap of each side's count; book randomness."]
    for key in ("zyoukyou_pl", "zyoukyou_pl_max", "ransuu_ti"):
        lines.append(f"{key}={params[key]}")
    lines += ["", "' Pruning: depth taken off behind a pass, per edakari_hyouka points below",
              "' alpha, and for every candidate after the first."]
    for key in ("edakari_pasu", "edakari_hyouka", "edakari_hiyuusen"):
        lines.append(f"{key}={params[key]}")
    lines += ["", "' Mate search over checks of up to tume_hukasa plies (own mates, and the",
              "' opponent's after each root candidate); a new iteration starts while the",
              "' time used is at most zikan_wariai per cent of the move's limit."]
    for key in ("tume_hukasa", "zikan_wariai"):
        lines.append(f"{key}={params[key]}")
    lines += ["", "' Piece-square tables. Numbers are read freely across lines: no comment",
              "' may stand between the set koma line and the closing brace.", ""]
    tables = square_tables(style)
    for code in range(16):
        lines += set_block(code, tables[code]) + [""]
    lines += king_rules(style) + [""] + rook_rules(style)
    return "\r\n".join(lines) + "\r\n"


STANDARD = dict(hukasa=60, haba=24, yudou_kati=(40, 30, 20, 10), pasu_kati=10, oute_kati=10,
                doute_kati=(20, 10), hitu_hukasa=30, oute_hukasa=6, doute_hukasa=(5, 8),
                sute_hukasa=12, zyoukyou_pl=0, zyoukyou_pl_max=20, ransuu_ti=10,
                edakari_pasu=10, edakari_hyouka=32, edakari_hiyuusen=5, zyouseki="hyoujun",
                tume_hukasa=5, zikan_wariai=75)

ATTACK = dict(STANDARD, haba=20, oute_kati=30, doute_kati=(15, 5), hitu_hukasa=25,
              oute_hukasa=4, sute_hukasa=10, zyoukyou_pl=2, zyoukyou_pl_max=24,
              edakari_hiyuusen=4, zyouseki=None)


def main():
    OUT.mkdir(parents=True, exist_ok=True)
    for file, name, style, params, summary in (
            ("標準.aik", "標準", "balanced", STANDARD, "balanced play, a safe king first"),
            ("攻め.aik", "攻め", "attack", ATTACK, "attacking play, checks searched deeper")):
        (OUT / file).write_bytes(engine(name, style, params, summary).encode("cp932"))


if __name__ == "__main__":
    main()
