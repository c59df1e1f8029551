// A site folder's size as hosts send it: each file raw, gzip -9 and brotli
// (quality 11), summed over the files the first board needs and over the
// whole folder.
import { readdirSync, readFileSync } from 'node:fs';
import { join } from 'node:path';
import { gzipSync, brotliCompressSync, constants } from 'node:zlib';

function fileSizes(path) {
  const data = readFileSync(path);
  return {
    raw: data.length,
    gzip: gzipSync(data, { level: 9 }).length,
    brotli: brotliCompressSync(data, { params: { [constants.BROTLI_PARAM_QUALITY]: 11 } }).length,
  };
}

const sum = (sizes) => sizes.reduce((a, b) => ({ raw: a.raw + b.raw, gzip: a.gzip + b.gzip, brotli: a.brotli + b.brotli }),
  { raw: 0, gzip: 0, brotli: 0 });

export function siteSizes(dir, firstBoardFiles) {
  const files = readdirSync(dir);
  const each = Object.fromEntries(files.map((name) => [name, fileSizes(join(dir, name))]));
  return {
    files: files.length,
    firstBoard: sum(firstBoardFiles.map((name) => each[name])),
    folder: sum(Object.values(each)),
  };
}

export const shownSizes = ({ raw, gzip, brotli }) => `${raw} raw, ${gzip} gzip -9, ${brotli} brotli`;
