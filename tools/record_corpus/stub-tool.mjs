#!/usr/bin/env node
// Stand-in for `nusari-tool record` built on tsshogi, to try check.mjs
// without the program:  NUSARI_TOOL=./stub-tool.mjs node check.mjs
//   stub-tool.mjs record FILE --summary
//   stub-tool.mjs record FILE -o OUT.csa|.kif|.kifu

import fs from 'node:fs';
import path from 'node:path';
import iconv from 'iconv-lite';
import { Move, importKIF, importKI2, importCSA, exportKIF, exportCSA } from 'tsshogi';

const [command, input, option, output] = process.argv.slice(2);
if (command !== 'record' || !input || !(option === '--summary' || (option === '-o' && output))) {
  console.error('usage: stub-tool.mjs record FILE (--summary | -o OUT)');
  process.exit(2);
}

const buf = fs.readFileSync(input);
const ext = path.extname(input).toLowerCase();
const bom = buf[0] === 0xef && buf[1] === 0xbb && buf[2] === 0xbf;
let text = bom ? buf.subarray(3).toString('utf8') : ext === '.kifu' ? buf.toString('utf8') : iconv.decode(buf, 'cp932');
if (ext !== '.csa' && ext !== '.ki2') text = text.replace(/^( *\d+ +[^(\r\n]*?)不成(\([1-9][1-9]\))/gm, '$1$2');
const record = ext === '.csa' ? importCSA(text) : ext === '.ki2' ? importKI2(text) : importKIF(text);
if (record instanceof Error) {
  console.error(record.message);
  process.exit(1);
}

if (option === '--summary') {
  const nodes = record.moves.slice(1);
  const moves = nodes.filter((n) => n.move instanceof Move);
  const last = nodes[nodes.length - 1];
  const ending = last && !(last.move instanceof Move) ? last.move.type ?? 'other' : 'none';
  console.log(`start: ${record.moves[0].sfen}`);
  console.log(`final: ${moves.length ? moves[moves.length - 1].sfen : record.moves[0].sfen}`);
  console.log(`plies: ${moves.length}`);
  console.log(`ending: ${ending}`);
} else {
  const out = path.extname(output).toLowerCase();
  const bytes = out === '.csa' ? iconv.encode(exportCSA(record, { returnCode: '\r\n' }), 'cp932')
    : out === '.kif' ? iconv.encode(exportKIF(record, { returnCode: '\r\n' }), 'cp932')
      : Buffer.from(exportKIF(record, { returnCode: '\r\n' }), 'utf8');
  fs.writeFileSync(output, bytes);
}
