#!/usr/bin/env python3
"""Writes the page's menu and dialog labels from the exe's resource script.

  make_page_labels.py RC RESOURCE_H DRAW_H TEXTS_JSON OUT.json

RC is resources/tsweeper.rc (UTF-8): its menu 104 and dialog 103 give the
labels with their & mnemonics, their order and command IDs, and the dialog's
controls with their places in dialog units. RESOURCE_H gives the IDs' values,
so the page runs the same commands as the exe. DRAW_H gives the tile numbers
of the strip by name (its enum TileNumber), so the page can tell what a
square shows. TEXTS_JSON, the program's
texts as tools/make_texts.py writes them for the page, is carried along, so
that the page has everything it shows in one file.
"""
import json
import re
import sys

from generated_file import write_if_changed

# Identifiers the resource script takes from windows.h.
WINDOWS_IDS = {"IDOK": 1, "IDCANCEL": 2}


def read_ids(path):
    ids = dict(WINDOWS_IDS)
    with open(path, encoding="utf-8") as header:
        for line in header:
            match = re.match(r"\s*#define\s+(ID\w+)\s+(-?\d+)\s*$", line)
            if match:
                ids[match.group(1)] = int(match.group(2))
    return ids


def read_tiles(path):
    """The enumerators of `enum TileNumber` in the drawing header."""
    with open(path, encoding="utf-8") as header:
        text = header.read()
    match = re.search(r"enum TileNumber \{(.*?)\};", text, re.S)
    if not match:
        sys.exit(f"{path}: no enum TileNumber")
    tiles = {}
    for line in match.group(1).splitlines():
        line = line.split("//")[0].strip()
        if not line:
            continue
        entry = re.fullmatch(r"(Tile\w+)\s*=\s*(\d+),?", line)
        if not entry:
            sys.exit(f"{path}: a tile number this tool does not read: {line}")
        tiles[entry.group(1)] = int(entry.group(2))
    return tiles


def value(token, ids):
    token = token.strip()
    if re.fullmatch(r"-?\d+", token):
        return int(token)
    if token not in ids:
        sys.exit(f"unknown resource ID {token}")
    return ids[token]


def block(lines, start):
    """The lines between the BEGIN after `start` and its END."""
    depth = 0
    body = []
    for line in lines[start + 1:]:
        word = line.strip()
        if word == "BEGIN":
            depth += 1
            if depth == 1:
                continue
        elif word == "END":
            depth -= 1
            if depth == 0:
                return body
        if depth >= 1:
            body.append(line)
    sys.exit("resource block without END")


def find(lines, pattern, ids):
    for number, line in enumerate(lines):
        match = re.match(pattern, line.strip())
        if match:
            return number, match
    sys.exit(f"no resource matching {pattern}")


def read_menu(lines, ids):
    start, _ = find(lines, r"(IDR_MAINMENU)\s+MENU$", ids)
    menus = []
    for line in block(lines, start):
        line = line.strip()
        popup = re.fullmatch(r'POPUP\s+"([^"]*)"', line)
        item = re.fullmatch(r'MENUITEM\s+"([^"]*)"\s*,\s*(\w+)', line)
        if popup:
            menus.append({"text": popup.group(1), "items": []})
        elif item:
            menus[-1]["items"].append({"text": item.group(1), "id": value(item.group(2), ids)})
        elif line == "MENUITEM SEPARATOR":
            menus[-1]["items"].append({"separator": True})
    return menus


def read_dialog(lines, ids):
    start, match = find(lines, r"(IDD_SETTINGS)\s+DIALOG\s+(.*)$", ids)
    x, y, width, height = (int(part) for part in match.group(2).split(","))
    dialog = {"width": width, "height": height, "controls": []}
    for line in lines[start + 1:]:
        caption = re.fullmatch(r'CAPTION\s+"([^"]*)"', line.strip())
        font = re.fullmatch(r'FONT\s+(\d+)\s*,\s*"([^"]*)"', line.strip())
        if caption:
            dialog["caption"] = caption.group(1)
        if font:
            dialog["font"] = {"points": int(font.group(1)), "face": font.group(2)}
        if line.strip() == "BEGIN":
            break
    for line in block(lines, start):
        control = re.fullmatch(r'CONTROL\s+"([^"]*)"\s*,\s*([-\w]+)\s*,\s*"(\w+)"\s*,\s*([^,]*),'
                               r'\s*(\d+)\s*,\s*(\d+)\s*,\s*(\d+)\s*,\s*(\d+)', line.strip())
        if not control:
            continue
        text, ident, kind, styles = control.group(1), control.group(2), control.group(3), control.group(4)
        dialog["controls"].append({
            "text": text,
            "id": value(ident, ids),
            "kind": kind.upper(),
            "default": "BS_DEFPUSHBUTTON" in styles,
            "x": int(control.group(5)), "y": int(control.group(6)),
            "width": int(control.group(7)), "height": int(control.group(8)),
        })
    return dialog


def main(argv):
    if len(argv) != 6:
        sys.exit(__doc__)
    ids = read_ids(argv[2])
    with open(argv[1], encoding="utf-8") as script:
        lines = script.read().splitlines()
    labels = {
        "menu": read_menu(lines, ids),
        "dialog": read_dialog(lines, ids),
        "ids": ids,
        "tiles": read_tiles(argv[3]),
    }
    with open(argv[4], encoding="utf-8") as texts:
        labels["texts"] = json.load(texts)
    write_if_changed(argv[5], json.dumps(labels, ensure_ascii=False, separators=(",", ":")) + "\n")


if __name__ == "__main__":
    main(sys.argv)
