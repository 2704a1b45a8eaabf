#!/usr/bin/env python3
"""Scales the king-safety numbers of an engine file (.aik) in place.

Three groups are scaled, each by its own factor, and every other byte of the
file stays as it is (CP932, CR LF, comments and layout):
  - the danger map (the numbers of the `set koma[8]` block, not its closing
    progress coefficient);
  - the enemy pieces around one's own king (`add koma[N]` lines with N >= 30
    in the `find koma[0]` block);
  - one's own defenders beside the king (`add koma[N]` lines with N < 30 in
    that block).

    python3 tools/scale_king_safety.py FILE.aik DANGER ENEMY DEFENDERS [-o OUT.aik]
"""
import argparse
import re
import sys

NUMBER_ROW = re.compile(r"^\s*-?\d+,")
ADD_LINE = re.compile(r"^(\s*add koma\[(\d+)\]\[point\([^)]*\)\] )(-?\d+)$")


def scaled(value, factor):
    return str(int(round(int(value) * factor)))


def scale_lines(lines, danger, enemy, defenders):
    block = None
    for line in lines:
        text = line.strip()
        if text.startswith(("set koma[", "find koma[")):
            block = text
        elif text == "}":
            block = None
        if block == "set koma[8]" and NUMBER_ROW.match(line):
            line = re.sub(r"-?\d+", lambda m: scaled(m.group(), danger), line)
        elif block == "find koma[0]":
            m = ADD_LINE.match(line)
            if m:
                factor = enemy if int(m.group(2)) >= 30 else defenders
                line = m.group(1) + scaled(m.group(3), factor)
        yield line


def main():
    parser = argparse.ArgumentParser(description="Scale the king-safety numbers of an .aik file.")
    parser.add_argument("aik")
    parser.add_argument("danger", type=float, help="factor of the danger map")
    parser.add_argument("enemy", type=float, help="factor of enemy pieces near one's king")
    parser.add_argument("defenders", type=float, help="factor of one's own defenders")
    parser.add_argument("-o", "--out", help="output file (default: the input, rewritten)")
    args = parser.parse_args()
    try:
        text = open(args.aik, "rb").read().decode("cp932")
    except (OSError, UnicodeDecodeError) as error:
        sys.exit(f"scale_king_safety.py: {args.aik}: {error}")
    lines = text.split("\r\n")
    out = "\r\n".join(scale_lines(lines, args.danger, args.enemy, args.defenders))
    with open(args.out or args.aik, "wb") as f:
        f.write(out.encode("cp932"))


if __name__ == "__main__":
    main()
