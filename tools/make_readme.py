#!/usr/bin/env python3
"""Writes a release readme from its UTF-8 source in docs/release/.

  make_readme.py SOURCE VERSION LICENSE ENCODING OUT

@VERSION@ becomes the version number and @LICENSE@ the licence text,
indented. The result has CRLF line ends, as Notepad expects, and is written
in ENCODING (cp932 for the Japanese readme); a text that does not come back
the same after encoding and decoding stops the build.
"""
import sys


def main(argv):
    if len(argv) != 6:
        sys.exit(__doc__)
    source, version, licence_path, encoding, out = argv[1:]
    with open(source, encoding="utf-8") as f:
        text = f.read()
    with open(licence_path, encoding="utf-8") as f:
        licence = "".join("  " + line if line.strip() else line for line in f)
    text = text.replace("@VERSION@", version).replace("@LICENSE@", licence.rstrip("\n"))
    text = text.rstrip("\n").replace("\r\n", "\n").replace("\n", "\r\n") + "\r\n"
    try:
        data = text.encode(encoding)
    except UnicodeEncodeError as error:
        sys.exit(f"{source}: not in {encoding}: {error}")
    if data.decode(encoding) != text:
        sys.exit(f"{source}: does not survive {encoding} unchanged")
    with open(out, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main(sys.argv)
