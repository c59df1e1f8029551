#!/usr/bin/env python3
"""Turns resources/texts.txt into the program's texts.

  make_texts.py TEXTS VERSION --cpp OUT.cpp   Shift-JIS byte strings for the exe
  make_texts.py TEXTS VERSION --json OUT.json UTF-8 strings for the page
  make_texts.py TEXTS VERSION --rc OUT.h      UTF-8 macros for the resource script
  make_texts.py TEXTS VERSION --reader OUT.h  enum ReaderText: the reader's texts by number
  make_texts.py TEXTS VERSION --wide OUT.cpp  the reader's texts as UTF-16 for the exe

Each line of TEXTS is `Name = text`; `#` starts a comment line. In the text,
`\\n` is a line break (CRLF for the exe, LF for the page), @VERSION@ the
version number and @Name@ a text defined above. A text that code page 932
cannot hold stops the build, whichever output is written: the exe and the
page show the same texts. Texts named Page... are the page's alone: the
exe's outputs leave them out. Texts named Reader... are what a screen reader
hears of the board in both front ends: they are numbered in their order
here (enum ReaderText, platform-free, for the rule that chooses them), and
the exe holds them as UTF-16 for its accessible object rather than as
Shift-JIS.
"""
import json
import sys

from generated_file import write_if_changed


def read_texts(path, version):
    texts = {}
    with open(path, encoding="utf-8") as source:
        for number, line in enumerate(source, 1):
            line = line.rstrip("\r\n")
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            name, sep, text = line.partition(" = ")
            if not sep or not name.isidentifier() or name in texts:
                sys.exit(f"{path}:{number}: expected a new `Name = text`")
            text = text.replace("@VERSION@", version)
            for earlier, value in texts.items():
                text = text.replace(f"@{earlier}@", value)
            if "@" in text:
                sys.exit(f"{path}:{number}: unknown @name@ in the text")
            try:
                text.encode("cp932")
            except UnicodeEncodeError as error:
                sys.exit(f"{path}:{number}: not in code page 932: {text[error.start:error.end]}")
            texts[name] = text
    return texts


def exe_texts(texts):
    """The texts the exe carries as Shift-JIS: all but the page's own and the reader's."""
    return {name: text for name, text in texts.items() if not name.startswith(("Page", "Reader"))}


def reader_texts(texts):
    """The reader's texts, in the file's order."""
    return {name: text for name, text in texts.items() if name.startswith("Reader")}


def write_reader_header(texts, path):
    lines = ["// Generated from resources/texts.txt by tools/make_texts.py: do not edit.",
             "// What a screen reader hears of the board, by number; each front end",
             "// holds the texts themselves.",
             "#pragma once", "", "enum ReaderText {"]
    for number, (name, text) in enumerate(reader_texts(texts).items()):
        lines.append(f"    {name} = {number},  // {text}")
    lines += [f"    ReaderTextCount = {len(reader_texts(texts))},", "};"]
    write_if_changed(path, "\n".join(lines) + "\n")


def wide_literal(text):
    """A UTF-16 C++ literal, every character past ASCII as a universal name
    and a quote, a backslash or a control character as an octal escape,
    which cannot run on into the digits after it."""
    out = []
    for char in text:
        if char in '"\\' or ord(char) < 0x20:
            out.append(f"\\{ord(char):03o}")
        elif ord(char) < 0x80:
            out.append(char)
        else:
            out.append(f"\\u{ord(char):04x}")
    return 'L"' + "".join(out) + '"'


def write_wide(texts, path):
    lines = ["// Generated from resources/texts.txt by tools/make_texts.py: do not edit.",
             '#include "app/reader_texts_wide.h"', "",
             "const wchar_t* const ReaderTexts[ReaderTextCount] = {"]
    for name, text in reader_texts(texts).items():
        lines.append(f"    {wide_literal(text)},  // {name}: {text}")
    lines.append("};")
    write_if_changed(path, "\n".join(lines) + "\n")


def cpp_literal(data):
    """A C++ string literal of the bytes; an escape is closed before a hex digit."""
    out = []
    escaped = False
    for byte in data:
        char = chr(byte)
        if byte >= 0x80 or byte < 0x20 or char in '"\\':
            out.append(f"\\x{byte:02x}")
            escaped = True
            continue
        if escaped and char in "0123456789abcdefABCDEF":
            out.append('" "')
        out.append(char)
        escaped = False
    return '"' + "".join(out) + '"'


def write_cpp(texts, path):
    lines = ["// Generated from resources/texts.txt by tools/make_texts.py: do not edit.",
             '#include "app/texts.h"', ""]
    for name, text in exe_texts(texts).items():
        data = text.replace("\\n", "\r\n").encode("cp932")
        lines.append(f"// {text}")
        lines.append(f"const char {name}[] = {cpp_literal(data)};")
    write_if_changed(path, "\n".join(lines) + "\n")


def write_json(texts, path):
    page = {name: text.replace("\\n", "\n") for name, text in texts.items()}
    write_if_changed(path, json.dumps(page, ensure_ascii=False, indent=1, sort_keys=True) + "\n")


def write_rc(texts, version, path):
    numbers = (version.split(".") + ["0"] * 4)[:4]
    lines = ["// Generated from resources/texts.txt by tools/make_texts.py: do not edit.",
             "#pragma once",
             f"#define VERSION_NUMBERS {','.join(numbers)}",
             f'#define VERSION_TEXT "{version}"']
    for name, text in exe_texts(texts).items():
        # The resource script is read as UTF-8; only quotes need doubling.
        value = text.replace("\\n", " ").replace('"', '""')
        lines.append(f'#define TEXT_{name} "{value}"')
    write_if_changed(path, "\n".join(lines) + "\n")


def main(argv):
    if len(argv) != 5 or argv[3] not in ("--cpp", "--json", "--rc", "--reader", "--wide"):
        sys.exit(__doc__)
    texts = read_texts(argv[1], argv[2])
    try:
        if argv[3] == "--cpp":
            write_cpp(texts, argv[4])
        elif argv[3] == "--json":
            write_json(texts, argv[4])
        elif argv[3] == "--reader":
            write_reader_header(texts, argv[4])
        elif argv[3] == "--wide":
            write_wide(texts, argv[4])
        else:
            write_rc(texts, argv[2], argv[4])
    except UnicodeEncodeError as error:
        sys.exit(f"{argv[1]}: not in code page 932: {error}")


if __name__ == "__main__":
    main(sys.argv)
