// Inflate (RFC 1951) of a raw deflate stream. The page carries its
// WebAssembly module deflated inside its one file (tools/bundle_page.py
// --deflated), and expands it here at once, without the round trips through
// the event loop that the browser's DecompressionStream would cost.

const LengthBase = [3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 15, 17, 19, 23, 27, 31, 35, 43, 51, 59, 67, 83, 99, 115,
  131, 163, 195, 227, 258];
const LengthExtra = [0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0];
const DistanceBase = [1, 2, 3, 4, 5, 7, 9, 13, 17, 25, 33, 49, 65, 97, 129, 193, 257, 385, 513, 769, 1025,
  1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577];
// The order in which a dynamic block gives the lengths of its code-length code.
const CodeLengthOrder = [16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15];

class InflateError extends Error {}

// A canonical Huffman code from the code length of each symbol, as a table
// indexed by the next `max` bits of the stream (the first bit lowest): each
// entry is symbol << 4 | the code's length, 0 where no code begins so.
function huffman(lengths) {
  let max = 1;
  const counts = new Uint16Array(16);
  for (const length of lengths) {
    counts[length]++;
    if (length > max) max = length;
  }
  counts[0] = 0;
  const next = new Uint16Array(16);
  for (let length = 1, code = 0; length < 16; length++) {
    code = (code + counts[length - 1]) << 1;
    next[length] = code;
  }
  const table = new Int32Array(1 << max);
  lengths.forEach((length, symbol) => {
    if (!length) return;
    const code = next[length]++;
    if (code >= 1 << length) throw new InflateError('inflate: more codes than their lengths allow');
    let reversed = 0;
    for (let i = 0; i < length; i++) reversed |= ((code >> i) & 1) << (length - 1 - i);
    for (let i = reversed; i < table.length; i += 1 << length) table[i] = (symbol << 4) | length;
  });
  return { table, max };
}

const FixedLengths = huffman(Array.from({ length: 288 }, (_, s) => (s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8)));
const FixedDistances = huffman(new Array(30).fill(5));

export function inflate(input) {
  let position = 0;  // past the end only by the zero bytes read ahead for a last code
  let buffer = 0;  // bits not yet used, the next one lowest
  let count = 0;
  let out = new Uint8Array(Math.max(1024, input.length * 4));
  let length = 0;

  const fill = (wanted) => {
    while (count < wanted) {
      if (position >= input.length + 2) throw new InflateError('inflate: the stream ends early');
      buffer |= (position < input.length ? input[position] : 0) << count;
      position++;
      count += 8;
    }
  };
  const bits = (wanted) => {
    fill(wanted);
    const value = buffer & ((1 << wanted) - 1);
    buffer >>>= wanted;
    count -= wanted;
    return value;
  };
  const decode = ({ table, max }) => {
    fill(max);
    const entry = table[buffer & ((1 << max) - 1)];
    if (!entry) throw new InflateError('inflate: no such code');
    buffer >>>= entry & 15;
    count -= entry & 15;
    return entry >> 4;
  };
  const room = (more) => {
    if (length + more <= out.length) return;
    const larger = new Uint8Array(Math.max(out.length * 2, length + more));
    larger.set(out.subarray(0, length));
    out = larger;
  };

  const codes = (lengths, distances) => {
    for (;;) {
      const symbol = decode(lengths);
      if (symbol < 256) {
        room(1);
        out[length++] = symbol;
      } else if (symbol === 256) {
        return;
      } else {
        const which = symbol - 257;
        if (which >= 29) throw new InflateError('inflate: no such length');
        const size = LengthBase[which] + bits(LengthExtra[which]);
        const distanceCode = decode(distances);
        if (distanceCode >= 30) throw new InflateError('inflate: no such distance');
        const distance = DistanceBase[distanceCode] + bits(distanceCode < 4 ? 0 : (distanceCode >> 1) - 1);
        if (distance > length) throw new InflateError('inflate: a distance before the start');
        room(size);
        if (distance >= size) {
          out.copyWithin(length, length - distance, length - distance + size);
          length += size;
        } else {
          for (let i = 0; i < size; i++, length++) out[length] = out[length - distance];
        }
      }
    }
  };

  const dynamicCodes = () => {
    const lengthCount = bits(5) + 257;
    const distanceCount = bits(5) + 1;
    const codeLengthCount = bits(4) + 4;
    const codeLengths = new Array(19).fill(0);
    for (let i = 0; i < codeLengthCount; i++) codeLengths[CodeLengthOrder[i]] = bits(3);
    const codeLengthCode = huffman(codeLengths);
    const all = [];
    while (all.length < lengthCount + distanceCount) {
      const symbol = decode(codeLengthCode);
      if (symbol < 16) {
        all.push(symbol);
      } else {
        if (symbol === 16 && !all.length) throw new InflateError('inflate: a repeat with nothing before');
        const [value, repeat] = symbol === 16 ? [all[all.length - 1], 3 + bits(2)]
          : symbol === 17 ? [0, 3 + bits(3)] : [0, 11 + bits(7)];
        for (let i = 0; i < repeat; i++) all.push(value);
      }
    }
    if (all.length > lengthCount + distanceCount) throw new InflateError('inflate: too many code lengths');
    codes(huffman(all.slice(0, lengthCount)), huffman(all.slice(lengthCount)));
  };

  let last = 0;
  while (!last) {
    last = bits(1);
    const type = bits(2);
    if (type === 0) {
      // A stored block starts at the next byte: its length, its complement, the bytes.
      position -= count >> 3;
      buffer = 0;
      count = 0;
      if (position + 4 > input.length) throw new InflateError('inflate: the stream ends early');
      const size = input[position] | (input[position + 1] << 8);
      if ((size ^ (input[position + 2] | (input[position + 3] << 8))) !== 0xFFFF) {
        throw new InflateError('inflate: a stored block\'s length does not match its complement');
      }
      position += 4;
      if (position + size > input.length) throw new InflateError('inflate: the stream ends early');
      room(size);
      out.set(input.subarray(position, position + size), length);
      length += size;
      position += size;
    } else if (type === 1) {
      codes(FixedLengths, FixedDistances);
    } else if (type === 2) {
      dynamicCodes();
    } else {
      throw new InflateError('inflate: a block of type 3');
    }
  }
  if (position - (count >> 3) > input.length) throw new InflateError('inflate: the stream ends early');
  return out.subarray(0, length);
}
