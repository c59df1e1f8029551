#!/usr/bin/env python3
"""Writes a file's bytes as a C++ array, so that a program carries the file
inside itself as the exe carries a resource.

  make_byte_array.py NAME IN OUT.cpp

OUT.cpp defines `extern const unsigned char NAME[]` holding the bytes of IN
and `extern const int NAMESize`, their count.
"""
import os
import sys

from generated_file import write_if_changed

BYTES_PER_LINE = 16


def array_source(name, data, source_name):
    lines = [f"// Generated from {source_name} by tools/make_byte_array.py: do not edit.",
             f"extern const unsigned char {name}[];",
             f"extern const int {name}Size;",
             f"const unsigned char {name}[] = {{"]
    for start in range(0, len(data), BYTES_PER_LINE):
        lines.append("    " + ", ".join(str(byte) for byte in data[start:start + BYTES_PER_LINE]) + ",")
    lines.append("};")
    lines.append(f"const int {name}Size = {len(data)};")
    return "\n".join(lines) + "\n"


def main(argv):
    if len(argv) != 4 or not argv[1].isidentifier():
        sys.exit(__doc__)
    with open(argv[2], "rb") as source:
        data = source.read()
    if not data:
        sys.exit(f"make_byte_array: {argv[2]} is empty")
    write_if_changed(argv[3], array_source(argv[1], data, os.path.basename(argv[2])))


if __name__ == "__main__":
    main(sys.argv)
