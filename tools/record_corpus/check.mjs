#!/usr/bin/env node
// Builds a record corpus with tsshogi (random legal games from shogiops) and
// checks that nusari-tool reads and writes every file the way tsshogi does:
// the main line, and in what the tool writes the variations and comments.
//
//   node check.mjs [OUTDIR] [--tool PATH] [--seed N] [--keep] [--sample DIR]
//                  [--no-tool] [--all]

import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import iconv from 'iconv-lite';
import {
  Record, Position, Move, Square, Color, RecordMetadataKey, SpecialMoveType,
  specialMove, isKnownSpecialMove, isPromotable, isPromotableRank,
  importKIF, importKI2, importCSA, exportKIF, exportKI2, exportCSA,
} from 'tsshogi';
import { parseSfen } from 'shogiops/sfen';
import { makeUsi, parsePieceName } from 'shogiops/util';
import { pieceCanPromote, pieceForcePromote } from 'shogiops/variant/util';

// ---------------------------------------------------------------- options

function parseArgs(argv) {
  const opt = {
    out: '/tmp/nusari-corpus',
    tool: process.env.NUSARI_TOOL || fileURLToPath(new URL('../../build/tools/nusari-tool', import.meta.url)),
    seed: 20240501, keep: false, sample: null, noTool: false, all: false,
  };
  for (let i = 0; i < argv.length; ++i) {
    const a = argv[i];
    const value = () => {
      if (i + 1 >= argv.length) usage(`${a} needs a value`);
      return argv[++i];
    };
    if (a === '--tool') opt.tool = value();
    else if (a === '--seed') opt.seed = Number(value());
    else if (a === '--sample') opt.sample = path.resolve(value());
    else if (a === '--keep') opt.keep = true;
    else if (a === '--no-tool') opt.noTool = true;
    else if (a === '--all') opt.all = true;
    else if (a === '-h' || a === '--help') usage();
    else if (a.startsWith('-')) usage(`unknown option ${a}`);
    else opt.out = path.resolve(a);
  }
  if (!Number.isInteger(opt.seed)) usage('--seed takes an integer');
  return opt;
}

function usage(message) {
  if (message) console.error(message);
  console.error('usage: node check.mjs [OUTDIR] [--tool PATH] [--seed N] [--keep] [--sample DIR] [--no-tool] [--all]');
  process.exit(2);
}

// ---------------------------------------------------------------- random

function mulberry32(seed) {
  let a = seed >>> 0;
  const next = () => {
    a = (a + 0x6d2b79f5) >>> 0;
    let t = a;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
  next.int = (lo, hi) => lo + Math.floor(next() * (hi - lo + 1));
  next.pick = (list) => list[Math.floor(next() * list.length)];
  return next;
}

// ---------------------------------------------------------------- positions

const BLACK_CAMP = 'ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1';
const EVEN_SFEN = 'lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1';

// The giver's left is the 1-file side. 五枚落ち takes the left knight as
// well, 左五枚落ち the right one (the left one stays); 左七枚落ち takes the
// right silver, 右七枚落ち the left one. tsshogi knows only the names marked
// `known`; for the others it writes a board diagram, and we add the name.
const HANDICAPS = [
  { code: 'kyo', name: '香落ち', top: 'lnsgkgsn1/1r5b1', known: true },
  { code: 'migi-kyo', name: '右香落ち', top: '1nsgkgsnl/1r5b1', known: true },
  { code: 'kaku', name: '角落ち', top: 'lnsgkgsnl/1r7', known: true },
  { code: 'hisha', name: '飛車落ち', top: 'lnsgkgsnl/7b1', known: true },
  { code: 'hikyo', name: '飛香落ち', top: 'lnsgkgsn1/7b1', known: true },
  { code: 'nimai', name: '二枚落ち', top: 'lnsgkgsnl/9', known: true },
  { code: 'sanmai', name: '三枚落ち', top: 'lnsgkgsn1/9', known: false },
  { code: 'yonmai', name: '四枚落ち', top: '1nsgkgsn1/9', known: true },
  { code: 'gomai', name: '五枚落ち', top: '1nsgkgs2/9', known: false },
  { code: 'hidari-gomai', name: '左五枚落ち', top: '2sgkgsn1/9', known: false },
  { code: 'rokumai', name: '六枚落ち', top: '2sgkgs2/9', known: true },
  { code: 'hidari-nanamai', name: '左七枚落ち', top: '3gkgs2/9', known: false },
  { code: 'migi-nanamai', name: '右七枚落ち', top: '2sgkg3/9', known: false },
  { code: 'hachimai', name: '八枚落ち', top: '3gkg3/9', known: true },
  { code: 'jumai', name: '十枚落ち', top: '4k4/9', known: true },
].map((h) => ({ ...h, sfen: `${h.top}/${BLACK_CAMP}` }));

// Legal moves from shogiops, tagged so the picker can favour the notations
// we want to see: captures, drops, promotions and declined promotions.
function legalMoves(sfen) {
  const pos = parseSfen('standard', sfen).unwrap();
  const canPromote = pieceCanPromote('standard');
  const mustPromote = pieceForcePromote('standard');
  const moves = [];
  for (const [from, dests] of pos.allMoveDests()) {
    const piece = pos.board.get(from);
    for (const to of dests) {
      const capture = pos.board.get(to) !== undefined;
      const can = canPromote(piece, from, to, pos.board.get(to));
      if (!mustPromote(piece, to)) moves.push({ usi: makeUsi({ from, to }), capture, declined: can });
      if (can) moves.push({ usi: makeUsi({ from, to, promotion: true }), capture, promote: true });
    }
  }
  for (const [name, dests] of pos.allDropDests()) {
    const { role } = parsePieceName(name);
    for (const to of dests) moves.push({ usi: makeUsi({ role, to }), drop: true });
  }
  return moves;
}

function weight(m) {
  return 1 + (m.capture ? 6 : 0) + (m.drop ? 2 : 0) + (m.promote ? 3 : 0) + (m.declined ? 1 : 0);
}

function pickMove(rng, moves, avoid) {
  const pool = moves.filter((m) => m.usi !== avoid);
  let total = 0;
  for (const m of pool) total += weight(m);
  let r = rng() * total;
  for (const m of pool) {
    r -= weight(m);
    if (r < 0) return m;
  }
  return pool[pool.length - 1];
}

// Appends up to n random legal moves at the record's current node; returns
// how many were played (fewer when the side to move is mated).
function playRandom(record, rng, n, avoid) {
  let played = 0;
  while (played < n) {
    const moves = legalMoves(record.position.sfen);
    const m = pickMove(rng, moves, played === 0 ? avoid : undefined);
    if (!m) break;
    const move = record.position.createMoveByUSI(m.usi);
    if (!move || !record.append(move)) throw new Error(`tsshogi refused ${m.usi} at ${record.position.sfen}`);
    record.current.setElapsedMs(rng.int(0, 90) * 1000);
    ++played;
  }
  return played;
}

// ---------------------------------------------------------------- texts

const PHRASES = [
  'ここで先手は角道を開けて駒組みを急ぐ方針に切り替えた。',
  '後手の飛車先の歩交換を許すと、玉形の差がそのまま形勢に響いてくる。',
  '本譜の銀の繰り出しは一見指しにくそうだが、実は駒得を確実にする好手である。',
  '桂馬を跳ねる手も有力で、その場合は端攻めとの組み合わせが楽しみになる。',
  '持ち駒の歩を垂らしておけば、と金作りが間に合うかどうかの勝負になる。',
  '上手は金銀の連結を保ったまま、下手の攻めを受け流す構えを見せている。',
  '評価値は互角に近いが、実戦的には玉の堅い側を持ちたい局面だろう。',
  'ここで成らずに引いたのは、次の王手を防ぐための細かい工夫である。',
  '角を打ち込んで馬を作れば、自陣にも利いて攻守に働く駒になる。',
  '終盤は駒の損得より速度が大事という格言どおりの展開になった。',
];

function longComment(rng) {
  let text = '';
  while (Buffer.byteLength(iconv.encode(text, 'cp932')) <= 360) text += rng.pick(PHRASES);
  return text;
}

const NAMES = ['山田太郎', '佐藤花子', '鈴木一郎', '高橋桂', '田中飛鳥', '伊藤歩', '渡辺銀次', '中村香織'];

// ---------------------------------------------------------------- corpus

const FORMATS = ['kif', 'kifu', 'kifu-bom', 'ki2', 'csa'];
const OUT_FORMATS = ['csa', 'kif', 'kifu', 'ki2'];

function fileName(game, format) {
  if (format === 'kifu-bom') return `${game.name}-bom.kifu`;
  return `${game.name}.${format}`;
}

function gamePlan(rng) {
  const plan = [];
  for (let i = 0; i < 12; ++i) plan.push({ kind: 'even', code: 'even', sfen: EVEN_SFEN });
  for (const h of HANDICAPS) {
    for (let i = 0; i < 3; ++i) plan.push({ kind: 'handicap', code: `${h.code}-ochi`, sfen: h.sfen, handicap: h });
  }
  for (let i = 0; i < 6; ++i) plan.push({ kind: 'diagram', code: 'gote-ban', sfen: diagramStart(rng) });
  return plan.map((g, i) => ({ ...g, name: `${String(i + 1).padStart(2, '0')}-${g.code}` }));
}

// A middle-game position with white to move: 31 random plies from the start.
function diagramStart(rng) {
  for (;;) {
    const r = new Record(Position.newBySFEN(EVEN_SFEN));
    if (playRandom(r, rng, 31) === 31 && r.position.color === Color.WHITE && !r.position.checked) {
      return r.position.sfen;
    }
  }
}

function buildRecord(game, rng) {
  for (let attempt = 0; ; ++attempt) {
    const record = new Record(Position.newBySFEN(game.sfen));
    const a = rng.pick(NAMES);
    const b = rng.pick(NAMES.filter((n) => n !== a));
    const md = record.metadata;
    if (game.kind === 'handicap') {
      md.setStandardMetadata(RecordMetadataKey.SHITATE_NAME, a);
      md.setStandardMetadata(RecordMetadataKey.UWATE_NAME, b);
    } else {
      md.setStandardMetadata(RecordMetadataKey.BLACK_NAME, a);
      md.setStandardMetadata(RecordMetadataKey.WHITE_NAME, b);
    }
    md.setStandardMetadata(RecordMetadataKey.START_DATETIME, `2024/05/${String(rng.int(1, 28)).padStart(2, '0')} 10:00:00`);
    md.setStandardMetadata(RecordMetadataKey.TOURNAMENT, '練習対局');

    const target = rng.int(20, 150);
    const plies = playRandom(record, rng, target);
    if (plies < 20 && attempt < 10) continue;

    const roll = rng();
    const ending = roll < 0.75 ? SpecialMoveType.RESIGN : roll < 0.92 ? SpecialMoveType.INTERRUPT : null;
    if (ending) record.append(specialMove(ending));

    if (rng() < 0.5) {
      record.goto(0);
      record.current.comment = '対局開始前のコメント\n二行目もある';
    }
    record.goto(rng.int(1, plies));
    record.current.comment = longComment(rng);

    // A side line a few plies in, different from the main line's move there.
    let branchMoves = 0;
    for (let at = Math.min(plies, rng.int(2, 6)); at >= 1 && branchMoves === 0; --at) {
      record.goto(at - 1);
      branchMoves = playRandom(record, rng, rng.int(3, 6), record.current.next.move.usi);
    }
    if (branchMoves === 0) throw new Error(`${game.name}: no side line possible`);
    if (rng() < 0.3) record.append(specialMove(SpecialMoveType.RESIGN));
    record.current.comment = '変化の手順はこちらが本筋かもしれない。';

    record.resetAllBranchSelection();
    record.goto(0);
    return record;
  }
}

// What a correct reader must see in the main line.
function summarize(record) {
  record.resetAllBranchSelection();
  const nodes = record.moves;
  let plies = 0;
  let final = nodes[0].sfen;
  let ending = null;
  for (const node of nodes.slice(1)) {
    if (node.move instanceof Move) {
      ++plies;
      final = node.sfen;
    } else {
      ending = isKnownSpecialMove(node.move) ? node.move.type : `any:${node.move.name}`;
    }
  }
  return { start: normalizeSfen(nodes[0].sfen), final: normalizeSfen(final), plies, ending };
}

// Board, side and hands, with the hands in one order; move number dropped.
function normalizeSfen(sfen) {
  const [board, side, hands] = String(sfen).trim().split(/\s+/);
  const counts = new Map();
  if (hands && hands !== '-') {
    for (const [, n, p] of hands.matchAll(/(\d*)([A-Za-z])/g)) counts.set(p, (counts.get(p) || 0) + (n ? Number(n) : 1));
  }
  let h = '';
  for (const p of 'RBGSNLPrbgsnlp') {
    const n = counts.get(p) || 0;
    if (n) h += (n > 1 ? String(n) : '') + p;
  }
  return `${board} ${side} ${h || '-'}`;
}

// The tree of a record: each node by its path of moves from the start (USI
// moves, a special move as "#type"), with its comment (without trailing line
// ends) and its children's paths, the main line first.
function treeOf(record) {
  const nodes = new Map();
  const walk = [[record.first, '']];
  while (walk.length) {
    const [node, key] = walk.pop();
    const children = [];
    for (let c = node.next; c; c = c.branch) {
      const step = c.move instanceof Move ? c.move.usi
        : `#${isKnownSpecialMove(c.move) ? c.move.type : c.move.name}`;
      const childKey = key ? `${key} ${step}` : step;
      children.push(childKey);
      walk.push([c, childKey]);
    }
    nodes.set(key, { comment: node.comment.replace(/\n+$/, ''), children });
  }
  return nodes;
}

const isSpecialKey = (key) => /(^| )#[^ ]*$/.test(key);
const parentKey = (key) => key.slice(0, Math.max(0, key.lastIndexOf(' ')));

// The tree as our record keeps it: an ending is no node of its own, so a
// comment on a special move belongs to the move before it. Returns the tree
// and how many comments moved.
function foldEndingComments(tree) {
  const out = new Map([...tree].map(([k, v]) => [k, { ...v }]));
  let moved = 0;
  for (const [key, node] of out) {
    if (!isSpecialKey(key) || !node.comment) continue;
    const parent = out.get(parentKey(key));
    parent.comment = parent.comment ? `${parent.comment}\n${node.comment}` : node.comment;
    node.comment = '';
    ++moved;
  }
  return { tree: out, moved };
}

// The main line alone: what CSA keeps.
function mainLineOf(tree) {
  const out = new Map();
  for (let key = ''; ;) {
    const node = tree.get(key);
    const next = node.children[0];
    out.set(key, { comment: node.comment, children: next === undefined ? [] : [next] });
    if (next === undefined) return out;
    key = next;
  }
}

function shortKey(key) {
  const steps = key ? key.split(' ') : [];
  return steps.length ? `ply ${steps.length} (${steps[steps.length - 1]})` : 'the start';
}

// What differs between tsshogi's tree of the input and its tree of our
// output: missing and extra lines, the order of branches, comments.
function treeDifferences(ref, got) {
  const out = [];
  for (const [key, node] of ref) {
    const other = got.get(key);
    if (!other) {
      if (got.has(parentKey(key)) || key === '') out.push(`line from ${shortKey(key)} missing`);
      continue;
    }
    if (node.comment !== other.comment) {
      out.push(other.comment ? `comment at ${shortKey(key)} differs` : `comment at ${shortKey(key)} missing`);
    }
    const order = node.children.filter((c) => other.children.includes(c));
    const otherOrder = other.children.filter((c) => node.children.includes(c));
    if (order.join('|') !== otherOrder.join('|')) out.push(`branch order at ${shortKey(key)} differs`);
  }
  for (const key of got.keys()) {
    if (!ref.has(key) && ref.has(parentKey(key))) out.push(`extra line from ${shortKey(key)}`);
  }
  return out;
}

// tsshogi writes declined promotions without 不成; half the KIF files get it
// spelled out, as most editors do.
function addFunari(kif, record, nl) {
  const nodes = [];
  record.forEach((node) => { if (node.ply !== 0) nodes.push(node); });
  const lines = kif.split(nl);
  let k = 0;
  for (let i = 0; i < lines.length; ++i) {
    if (!/^ *\d+ /.test(lines[i])) continue;
    const move = nodes[k++].move;
    if (move instanceof Move && !move.promote && move.from instanceof Square && isPromotable(move.pieceType)
      && (isPromotableRank(move.color, move.from.rank) || isPromotableRank(move.color, move.to.rank))) {
      lines[i] = lines[i].replace(/\((\d\d)\)/, '不成($1)');
    }
  }
  if (k !== nodes.length) throw new Error('KIF move lines do not match the record');
  return lines.join(nl);
}

// tsshogi has no name for some handicaps and writes only the diagram.
function addHandicapName(text, game, nl) {
  if (game.kind !== 'handicap' || game.handicap.known) return text;
  return text.replace(`後手の持駒：`, `手合割：${game.handicap.name}${nl}後手の持駒：`);
}

// tsshogi keeps only the time of day in $START_TIME; put the date back.
function fixStartTime(csa, record) {
  const when = record.metadata.getStandardMetadata(RecordMetadataKey.START_DATETIME);
  return csa.replace(/^\$START_TIME:.*$/m, `$START_TIME:${when}`);
}

function encode(text, encoding) {
  if (encoding === 'utf8') return Buffer.from(text, 'utf8');
  const bytes = iconv.encode(text, 'cp932');
  if (iconv.decode(bytes, 'cp932') !== text) throw new Error('text does not fit CP932');
  return bytes;
}

function writeGame(dir, game, record, index) {
  const kifCrlf = addHandicapName(exportKIF(record, { returnCode: '\r\n' }), game, '\r\n');
  const kifLf = addHandicapName(exportKIF(record, { returnCode: '\n' }), game, '\n');
  const kif = index % 2 ? addFunari(kifCrlf, record, '\r\n') : kifCrlf;
  const kifu = index % 2 ? kifLf : addFunari(kifLf, record, '\n');
  const texts = {
    kif: encode(kif, 'cp932'),
    kifu: encode(kifu, 'utf8'),
    'kifu-bom': Buffer.concat([Buffer.from([0xef, 0xbb, 0xbf]), encode(addFunari(kifCrlf, record, '\r\n'), 'utf8')]),
    ki2: encode(addHandicapName(exportKI2(record, { returnCode: '\r\n' }), game, '\r\n'), 'cp932'),
    csa: encode(fixStartTime(exportCSA(record, { returnCode: '\n' }), record), 'cp932'),
  };
  for (const f of FORMATS) fs.writeFileSync(path.join(dir, fileName(game, f)), texts[f]);
}

// ---------------------------------------------------------------- reading

function decodeFile(file) {
  const buf = fs.readFileSync(file);
  if (buf.length >= 3 && buf[0] === 0xef && buf[1] === 0xbb && buf[2] === 0xbf) return buf.subarray(3).toString('utf8');
  if (path.extname(file).toLowerCase() === '.kifu') return buf.toString('utf8');
  return iconv.decode(buf, 'cp932');
}

// A handicap tsshogi cannot name, given by name alone, becomes a diagram.
function spellOutHandicap(text) {
  const m = /^手合割[：:]\s*(\S+)\s*$/m.exec(text);
  const h = m && HANDICAPS.find((x) => !x.known && x.name === m[1]);
  if (!h || /^後手の持駒|^\|/m.test(text)) return { text };
  const kif = exportKIF(new Record(Position.newBySFEN(h.sfen)));
  const diagram = kif.slice(kif.indexOf('後手の持駒'), kif.indexOf('手数----')).trimEnd();
  return { text: text.replace(m[0], diagram), note: `手合割：${h.name} taken as ${normalizeSfen(h.sfen)}` };
}

// tsshogi's KIF reader takes "９三飛不成(96)" for an unknown special move;
// the explicit 不成 is common KIF, so drop it before tsshogi sees the line.
function readWithTsshogi(file) {
  const ext = path.extname(file).toLowerCase();
  let text = decodeFile(file);
  if (ext !== '.csa' && ext !== '.ki2') text = text.replace(/^( *\d+ +[^(\r\n]*?)不成(\([1-9][1-9]\))/gm, '$1$2');
  let note;
  if (ext !== '.csa') ({ text, note } = spellOutHandicap(text));
  const record = ext === '.csa' ? importCSA(text) : ext === '.ki2' ? importKI2(text) : importKIF(text);
  const why = note ? ` (${note})` : '';
  if (record instanceof Error) throw new Error(`tsshogi cannot read ${path.basename(file)}: ${record.message.trim()}${why}`);
  return { ...summarize(record), why, tree: treeOf(record) };
}

function runTool(tool, args) {
  const r = spawnSync(tool, args, { timeout: 30000, maxBuffer: 16 << 20 });
  const stderr = r.stderr ? r.stderr.toString('utf8').trim() : '';
  if (r.error) return { ok: false, why: `cannot run: ${r.error.message}` };
  if (r.status !== 0) return { ok: false, why: `exit ${r.status ?? r.signal}${stderr ? `: ${stderr.split('\n')[0]}` : ''}` };
  return { ok: true, stdout: r.stdout.toString('utf8') };
}

function parseSummary(stdout) {
  const fields = {};
  for (const line of stdout.split(/\r?\n/)) {
    const m = /^(start|final|plies|ending):\s*(.*?)\s*$/.exec(line);
    if (m) fields[m[1]] = m[2];
  }
  const missing = ['start', 'final', 'plies', 'ending'].filter((k) => !(k in fields));
  if (missing.length) return { error: `summary lacks ${missing.join(', ')}` };
  return { start: normalizeSfen(fields.start), final: normalizeSfen(fields.final), plies: Number(fields.plies), ending: fields.ending };
}

function differences(expected, got) {
  const out = [];
  if (expected.start !== got.start) out.push(`start ${got.start} (want ${expected.start})`);
  if (expected.final !== got.final) out.push(`final ${got.final} (want ${expected.final})`);
  if (expected.plies !== got.plies) out.push(`plies ${got.plies} (want ${expected.plies})`);
  return out;
}

// ---------------------------------------------------------------- main

function main() {
  const opt = parseArgs(process.argv.slice(2));
  if (!opt.noTool && !fs.existsSync(opt.tool)) usage(`no tool at ${opt.tool} (set NUSARI_TOOL or --tool, or use --no-tool)`);
  const rng = mulberry32(opt.seed);

  fs.rmSync(opt.out, { recursive: true, force: true });
  const outDir = path.join(opt.out, 'written');
  fs.mkdirSync(outDir, { recursive: true });

  const games = gamePlan(rng);
  const problems = [];   // { section, file, what }
  const warnings = [];
  const readTally = Object.fromEntries(FORMATS.map((f) => [f, [0, 0]]));
  const writeTally = Object.fromEntries(OUT_FORMATS.map((f) => [f, [0, 0]]));
  // Variations and comments of what the tool wrote, against tsshogi's tree
  // of the input (CSA: the main line's comments).
  const treeTally = Object.fromEntries(OUT_FORMATS.map((f) => [f, [0, 0]]));
  const treeStats = { nodes: 0, branches: 0, comments: 0, movedComments: 0 };
  const endings = new Map();

  games.forEach((game, i) => {
    game.record = buildRecord(game, rng);
    game.truth = summarize(game.record);
    writeGame(opt.out, game, game.record, i);
  });

  for (const game of games) {
    for (const format of FORMATS) {
      const name = fileName(game, format);
      const file = path.join(opt.out, name);

      // The corpus itself: tsshogi must read back what it wrote.
      let ref;
      try {
        ref = readWithTsshogi(file);
      } catch (e) {
        problems.push({ section: 'corpus', file: name, what: e.message });
        continue;
      }
      const own = differences(game.truth, ref);
      if (ref.ending !== game.truth.ending) own.push(`ending ${ref.ending} (want ${game.truth.ending})`);
      for (const what of own) problems.push({ section: 'corpus', file: name, what: `tsshogi: ${what}` });
      if (opt.noTool) continue;

      // Reading.
      ++readTally[format][1];
      const run = runTool(opt.tool, ['record', file, '--summary']);
      const summary = run.ok ? parseSummary(run.stdout) : { error: run.why };
      if (summary.error) {
        problems.push({ section: 'read', file: name, what: summary.error });
      } else {
        const diff = differences(ref, summary);
        for (const what of diff) problems.push({ section: 'read', file: name, what });
        if (!diff.length) ++readTally[format][0];
        const key = ref.ending ?? 'none';
        if (!endings.has(key)) endings.set(key, new Set());
        endings.get(key).add(summary.ending);
        if ((summary.ending === 'none') !== (ref.ending === null)) {
          warnings.push({ file: name, what: `ending "${summary.ending}" where tsshogi sees ${ref.ending ?? 'none'}` });
        }
      }

      // Writing back.
      for (const outFormat of OUT_FORMATS) {
        ++writeTally[outFormat][1];
        const outName = `${name.replace(/\./g, '_')}.${outFormat}`;
        const outFile = path.join(outDir, outName);
        const label = `${name} -> ${outFormat}`;
        const w = runTool(opt.tool, ['record', file, '-o', outFile]);
        if (!w.ok) { problems.push({ section: 'write', file: label, what: w.why }); continue; }
        if (!fs.existsSync(outFile)) { problems.push({ section: 'write', file: label, what: 'no output file' }); continue; }
        let back;
        try {
          back = readWithTsshogi(outFile);
        } catch (e) {
          problems.push({ section: 'write', file: label, what: e.message });
          continue;
        }
        const diff = differences(ref, back);
        if (outFormat === 'csa' && /(^|[^\r])\n/.test(fs.readFileSync(outFile, 'latin1'))) diff.push('line ends are not CR LF');
        if (back.ending !== null && back.ending !== ref.ending) diff.push(`ending ${back.ending} (want ${ref.ending ?? 'none'})`);
        for (const what of diff) problems.push({ section: 'write', file: label, what: what + back.why });
        if (!diff.length) ++writeTally[outFormat][0];
        if (back.ending === null && ref.ending !== null) warnings.push({ file: label, what: `ending ${ref.ending} not written` });

        // Variations and comments.
        ++treeTally[outFormat][1];
        const folded = foldEndingComments(ref.tree);
        const want = outFormat === 'csa' ? mainLineOf(folded.tree) : folded.tree;
        const got = outFormat === 'csa' ? mainLineOf(back.tree) : back.tree;
        const treeDiff = treeDifferences(want, got);
        for (const what of treeDiff) problems.push({ section: 'tree', file: label, what });
        if (!treeDiff.length) ++treeTally[outFormat][0];
        if (outFormat === 'kif') {
          treeStats.movedComments += folded.moved;
          treeStats.nodes += want.size;
          treeStats.branches += [...want.values()].reduce((n, v) => n + Math.max(0, v.children.length - 1), 0);
          treeStats.comments += [...want.values()].filter((v) => v.comment).length;
        }
      }
    }
  }

  report(opt, games, readTally, writeTally, treeTally, treeStats, problems, warnings, endings);
  if (opt.sample) copySample(opt, games);
  if (!opt.keep) fs.rmSync(opt.out, { recursive: true, force: true });
  else console.log(`\ncorpus kept in ${opt.out} (tool output in ${outDir})`);
  process.exit(problems.length ? 1 : 0);
}

function report(opt, games, readTally, writeTally, treeTally, treeStats, problems, warnings, endings) {
  const files = games.length * FORMATS.length;
  console.log(`corpus: ${games.length} games, ${files} files, seed ${opt.seed}`);
  if (!opt.noTool) {
    console.log(`\nreading (${path.basename(opt.tool)} record FILE --summary, against tsshogi)`);
    for (const f of FORMATS) console.log(`  ${f.padEnd(9)} ${readTally[f][0]}/${readTally[f][1]}`);
    console.log('\nwriting back (record FILE -o OUT, read again by tsshogi)');
    for (const f of OUT_FORMATS) console.log(`  ${f.padEnd(9)} ${writeTally[f][0]}/${writeTally[f][1]}`);
    console.log('\nvariations and comments of what was written (CSA: the main line), against tsshogi\'s tree of the input');
    for (const f of OUT_FORMATS) console.log(`  ${f.padEnd(9)} ${treeTally[f][0]}/${treeTally[f][1]}`);
    console.log(`  (the inputs hold ${treeStats.nodes} nodes, special moves included, ${treeStats.branches} branches and`
      + ` ${treeStats.comments} comments, ${treeStats.movedComments} of them on an ending, which our record keeps on the move before it)`);
    if (endings.size) {
      console.log('\nending words the tool printed, by tsshogi ending');
      for (const [k, v] of endings) console.log(`  ${k.padEnd(9)} ${[...v].join(', ')}`);
    }
  }
  printList('disagreements', problems.map((p) => `${p.section}: ${p.file}: ${p.what}`), opt.all);
  printList('warnings (not failures)', warnings.map((w) => `${w.file}: ${w.what}`), opt.all);
  console.log(problems.length ? `\n${problems.length} disagreement(s)` : '\nall agree');
}

// Lists every line, but folds a message repeated many times unless --all.
function printList(title, lines, all) {
  if (!lines.length) return;
  console.log(`\n${title}: ${lines.length}`);
  const seen = new Map();
  let folded = 0;
  for (const line of lines) {
    const message = line.replace(/^[^:]+: [^:]+: /, '').replace(/\d+/g, '#');
    const n = (seen.get(message) || 0) + 1;
    seen.set(message, n);
    if (all || n <= 5) console.log(`  ${line}`);
    else ++folded;
  }
  if (folded) console.log(`  ... ${folded} more like the above (--all lists them)`);
}

// Twelve small fixtures: an even game, a 飛車落ち game and a 後手番 diagram,
// each as KIF, KI2 and CSA, plus one UTF-8 KIF apiece (one with a BOM).
function copySample(opt, games) {
  const picks = [
    ['even', (g) => g.kind === 'even', 'kifu'],
    ['rook-handicap', (g) => g.code === 'hisha-ochi', 'kifu-bom'],
    ['white-to-move', (g) => g.kind === 'diagram', 'kifu'],
  ];
  fs.mkdirSync(opt.sample, { recursive: true });
  console.log(`\nsample in ${opt.sample}`);
  for (const [label, test, utf8] of picks) {
    const formats = ['kif', 'ki2', 'csa', utf8];
    const size = (g) => Math.max(...formats.map((f) => fs.statSync(path.join(opt.out, fileName(g, f))).size));
    const game = games.filter(test).sort((a, b) => size(a) - size(b))[0];
    for (const f of formats) {
      const target = f === 'kifu-bom' ? `${label}-bom.kifu` : `${label}.${f}`;
      fs.copyFileSync(path.join(opt.out, fileName(game, f)), path.join(opt.sample, target));
    }
    const t = game.truth;
    console.log(`  ${label} (from ${game.name}, largest file ${size(game)} bytes)`);
    console.log(`    start: ${t.start}\n    final: ${t.final}\n    plies: ${t.plies}\n    ending: ${t.ending ?? 'none'}`);
    if (size(game) >= 8192) console.log('    (over 8 KB: try another --seed)');
  }
}

main();
