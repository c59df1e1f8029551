// The page's inflate against Node's deflate: every kind of block, and
// damaged streams refused rather than expanded into something else.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { deflateRawSync } from 'node:zlib';
import { inflate } from '../page/inflate.js';

let seed = 7;
const random = () => {
  seed = (seed * 1103515245 + 12345) % 2147483648;
  return seed >> 16;
};
const inputs = {
  empty: new Uint8Array(0),
  'one byte': Uint8Array.of(42),
  'random bytes': Uint8Array.from({ length: 70000 }, () => random() & 255),
  'long runs': Uint8Array.from({ length: 100000 }, (_, i) => (i >> 12) & 3),
  text: new TextEncoder().encode('ゲームを読み込めませんでした。'.repeat(300)),
  'few symbols': Uint8Array.from({ length: 5000 }, () => random() % 3),
};

test('inflate gives back what deflate packed, at every level and strategy', () => {
  for (const [name, data] of Object.entries(inputs)) {
    // Level 0 gives stored blocks, the fixed strategy fixed codes, the others dynamic ones.
    for (const options of [{ level: 0 }, { level: 1 }, { level: 9 }, { level: 9, strategy: 4 }]) {
      const packed = deflateRawSync(data, options);
      assert.ok(Buffer.from(inflate(packed)).equals(Buffer.from(data)), `${name}, ${JSON.stringify(options)}`);
    }
  }
});

test('a damaged stream is refused', () => {
  const packed = deflateRawSync(inputs.text, { level: 9 });
  const stored = deflateRawSync(inputs['one byte'], { level: 0 });
  const damaged = {
    'cut short': packed.subarray(0, packed.length >> 1),
    'a block of type 3': Uint8Array.of(0x07, 0, 0),
    'a stored length against its complement': Uint8Array.from(stored, (b, i) => (i === 3 ? b ^ 1 : b)),
    'a distance before the start': Uint8Array.of(0x03, 0x02, 0x00, 0x00),
  };
  for (const [name, bytes] of Object.entries(damaged)) assert.throws(() => inflate(bytes), /inflate:/, name);
});
