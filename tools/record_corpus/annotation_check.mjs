#!/usr/bin/env node
// Reads the records nusari-tool annotate wrote with tsshogi, an independent
// KIF reader, and counts the moves whose comment holds an analysis score
// ("#評価値=N"), the lines ("#読み筋=") and the labels (【悪手】 …). Fails when a
// file cannot be read or holds no score.
//
//   node annotation_check.mjs DIR
import fs from 'node:fs';
import path from 'node:path';
import { importKIF, Move } from 'tsshogi';

const dir = process.argv[2];
if (!dir) {
  console.error('usage: node annotation_check.mjs DIR');
  process.exit(2);
}
let failures = 0;
let total = 0;
for (const name of fs.readdirSync(dir).filter((n) => n.endsWith('.kifu')).sort()) {
  const record = importKIF(fs.readFileSync(path.join(dir, name), 'utf8'));
  if (record instanceof Error) {
    console.error(`${name}: ${record.message}`);
    ++failures;
    continue;
  }
  const moves = record.moves.filter((node) => node.move instanceof Move).length;
  let scores = 0;
  let lines = 0;
  const labels = {};
  for (const node of record.moves) {
    const comment = node.comment || '';
    if (/^#評価値=-?\d+$/m.test(comment)) ++scores;
    if (/^#読み筋=\S+/m.test(comment)) ++lines;
    const label = comment.match(/^【(緩手|疑問手|悪手|大悪手)】$/m);
    if (label) labels[label[1]] = (labels[label[1]] || 0) + 1;
  }
  total += scores;
  console.log(`${name}: ${moves} moves, ${scores} scores, ${lines} lines, ` +
              `labels ${JSON.stringify(labels)}`);
  if (scores === 0) ++failures;
}
console.log(`scores read: ${total}`);
process.exit(failures === 0 ? 0 : 1);
