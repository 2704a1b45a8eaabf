// Checks mates with shogiops, a rules library independent of ours.
//   node verify.mjs suite SUITE.tsv
//     every line "SFEN<TAB>PLIES[<TAB>note]": the side to move mates in
//     exactly PLIES plies (a mate within PLIES, none shorter).
//   node verify.mjs moves MOVES.tsv
//     every line "SFEN<TAB>PLIES<TAB>USI-MOVE": after the move the opponent
//     is mated within PLIES-1 plies; prints "found" or "missed" per line and
//     the share found per length.
import { readFileSync } from 'node:fs';
import { parseSfen, makeSfen } from '../record_corpus/node_modules/shogiops/dist/sfen.js';
import { parseUsi, parsePieceName } from '../record_corpus/node_modules/shogiops/dist/util.js';

function legalMoves(pos) {
  const moves = [];
  for (const [from, dests] of pos.allMoveDests()) {
    const piece = pos.board.get(from);
    for (const to of dests) {
      const captured = pos.board.get(to);
      // Both choices where the piece may promote; only promotion where it must.
      for (const promotion of [false, true]) {
        const md = { from, to, promotion };
        if (pos.isLegal(md)) moves.push(md);
      }
      void piece; void captured;
    }
  }
  for (const [name, dests] of pos.allDropDests()) {
    const { role } = parsePieceName(name);
    for (const to of dests) moves.push({ role, to });
  }
  return moves;
}

const known = new Map();

// The side to move mates within `plies` plies, every move of it a check.
function attackerMates(pos, plies) {
  if (plies < 1) return false;
  const key = `${makeSfen(pos)}|${plies}`;
  if (known.has(key)) return known.get(key);
  let mates = false;
  for (const md of legalMoves(pos)) {
    const child = pos.clone();
    child.play(md);
    if (child.isCheck() && defenderIsMated(child, plies - 1)) {
      mates = true;
      break;
    }
  }
  known.set(key, mates);
  return mates;
}

function defenderIsMated(pos, plies) {
  const moves = legalMoves(pos);
  if (moves.length === 0) return pos.isCheck();
  if (plies < 2) return false;
  for (const md of moves) {
    const child = pos.clone();
    child.play(md);
    if (!attackerMates(child, plies - 1)) return false;
  }
  return true;
}

function position(sfen) {
  return parseSfen('standard', sfen.trim()).unwrap();
}

function lines(file) {
  return readFileSync(file, 'utf8').split('\n').filter((l) => l.trim() && !l.startsWith('#')).map((l) => l.split('\t'));
}

const [mode, file] = process.argv.slice(2);
let failures = 0;
if (mode === 'suite') {
  for (const [sfen, pliesText] of lines(file)) {
    const plies = Number(pliesText);
    const pos = position(sfen);
    const within = attackerMates(pos, plies);
    const shorter = plies > 1 && attackerMates(pos, plies - 2);
    if (!within || shorter) {
      failures++;
      console.log(`not a mate in exactly ${plies}: ${sfen}`);
    }
  }
  console.log(`${lines(file).length} positions, ${failures} wrong`);
} else if (mode === 'moves') {
  const tally = new Map();
  for (const [sfen, pliesText, usi] of lines(file)) {
    const plies = Number(pliesText);
    const pos = position(sfen);
    const md = usi ? parseUsi(usi.trim()) : undefined;
    let found = false;
    if (md && pos.isLegal(md)) {
      const child = pos.clone();
      child.play(md);
      found = child.isCheck() && defenderIsMated(child, plies - 1);
    }
    console.log(`${found ? 'found ' : 'missed'}\t${plies}\t${usi}\t${sfen}`);
    const t = tally.get(plies) ?? { found: 0, all: 0 };
    t.all++;
    if (found) t.found++;
    tally.set(plies, t);
  }
  for (const [plies, t] of [...tally].sort((a, b) => a[0] - b[0])) {
    console.log(`mate in ${plies}: ${t.found}/${t.all} found (${((100 * t.found) / t.all).toFixed(0)} %)`);
  }
} else {
  console.error('usage: node verify.mjs suite SUITE.tsv | moves MOVES.tsv');
  process.exit(2);
}
process.exit(failures ? 1 : 0);
