#!/usr/bin/env python3
"""Writes the page's menu and dialog labels from the exe's resource script.

  make_page_labels.py RC RESOURCE_H DRAW_H CASES_H FIELDS_H TEXTS_JSON READER_H SCRIPTS_DIR OUT.json

RC is resources/tsweeper.rc (UTF-8): its menu 104 and dialog 103 give the
labels with their & mnemonics, their order and command IDs, and the dialog's
caption, font and controls with their places in dialog units. RESOURCE_H
gives the IDs' values, so the page runs the same commands as the exe; only
the IDs that the menu and the dialog name are carried. DRAW_H gives the tile
numbers of the strip by name (its enum TileNumber), so that the page can
tell what a square shows; CASES_H the mouse cases by name (its enum
MouseCase), so that the page hands the mouse layer the same cases as the
exe. FIELDS_H, the settings dialog's fields, names the texts that refuse
their values, which the page's module hands the script by name. TEXTS_JSON, the
program's texts as tools/make_texts.py writes them for the page, is carried
along, so that the page has everything it shows in one place. READER_H, the
reader's texts by number as tools/make_texts.py writes them (its enum
ReaderText), orders them: the module hands the page the number of what a
square or the end of a game says, and the page carries the reader's texts
as a list in the order of those numbers. Of the other texts and the tile
numbers, only those that the page's script (the .js files in SCRIPTS_DIR)
or FIELDS_H names are carried: the texts of the page's own HTML are put
into it at build time, and the exe's alone (its version resource's) stay out.

A statement inside the menu or the dialog that the page could not show as
the exe does stops the build instead of being left out.
"""
import json
import os
import re
import sys

from generated_file import write_if_changed

# Identifiers the resource script takes from windows.h.
WINDOWS_IDS = {"IDOK": 1, "IDCANCEL": 2}

# The control classes the page draws, and the button styles it draws as push buttons.
CONTROL_KINDS = ("EDIT", "BUTTON", "STATIC")
PUSH_BUTTON_STYLES = ("BS_PUSHBUTTON", "BS_DEFPUSHBUTTON")


class ResourceError(Exception):
    pass


def read_ids(path):
    ids = dict(WINDOWS_IDS)
    with open(path, encoding="utf-8") as header:
        for line in header:
            match = re.match(r"\s*#define\s+(ID\w+)\s+(-?\d+)\s*$", line)
            if match:
                ids[match.group(1)] = int(match.group(2))
    return ids


def read_enum(path, text, name, prefix):
    """The enumerators of `enum <name>` in a header, each written as
    `<prefix>Something = <number>,`."""
    match = re.search(r"enum " + name + r" \{(.*?)\};", text, re.S)
    if not match:
        raise ResourceError(f"{path}: no enum {name}")
    values = {}
    for line in match.group(1).splitlines():
        line = line.split("//")[0].strip()
        if not line:
            continue
        entry = re.fullmatch(r"(" + prefix + r"\w+)\s*=\s*(\d+),?", line)
        if not entry:
            raise ResourceError(f"{path}: a number of enum {name} this tool does not read: {line}")
        values[entry.group(1)] = int(entry.group(2))
    return values


def read_tiles(path, text):
    """The tile numbers of the strip: `enum TileNumber` in the drawing port."""
    return read_enum(path, text, "TileNumber", "Tile")


def read_mouse_cases(path, text):
    """The five mouse cases by number: `enum MouseCase` of the mouse layer."""
    return read_enum(path, text, "MouseCase", "MouseCase")


def reader_texts_by_number(path, header, texts):
    """The reader's texts as a list, each at its number in the `enum
    ReaderText` of `header`: the page looks the module's numbers up in it,
    so a number skipped or given twice would shift every text after it."""
    numbers = read_enum(path, header, "ReaderText", "Reader")
    count = numbers.pop("ReaderTextCount", None)
    names = sorted(numbers, key=numbers.get)
    if [numbers[name] for name in names] != list(range(len(names))) or count != len(names):
        raise ResourceError(f"{path}: enum ReaderText does not number its texts 0, 1, 2 and on up to ReaderTextCount")
    missing = [name for name in names if name not in texts]
    if missing:
        raise ResourceError(f"{path}: no text named {', '.join(missing)}")
    return [texts[name] for name in names]


class Reader:
    """The resource script's lines, and the IDs that the statements read name."""

    def __init__(self, path, lines, ids):
        self.path, self.lines, self.ids = path, lines, ids
        self.used = {}

    def fail(self, number, what):
        raise ResourceError(f"{self.path}:{number + 1}: {what}: {self.lines[number].strip()}")

    def value(self, number, token):
        token = token.strip()
        if re.fullmatch(r"-?\d+", token):
            return int(token)
        if token not in self.ids:
            self.fail(number, f"unknown resource ID {token}")
        self.used[token] = self.ids[token]
        return self.ids[token]

    def find(self, pattern):
        for number, line in enumerate(self.lines):
            match = re.match(pattern, line.strip())
            if match:
                return number, match
        raise ResourceError(f"{self.path}: no resource matching {pattern}")

    def block(self, start):
        """(number, statement) for each line between the BEGIN after `start`
        and its END, nested BEGIN and END included; no blank or comment lines."""
        depth = 0
        body = []
        for number in range(start + 1, len(self.lines)):
            word = self.lines[number].strip()
            if not word or word.startswith("//"):
                continue
            if word == "BEGIN":
                depth += 1
                if depth == 1:
                    continue
            elif word == "END":
                depth -= 1
                if depth == 0:
                    return body
            if depth >= 1:
                body.append((number, word))
        raise ResourceError(f"{self.path}:{start + 1}: resource block without END")


def read_menu(reader):
    start, _ = reader.find(r"(IDR_MAINMENU)\s+MENU$")
    menus = []
    depth = 0
    for number, line in reader.block(start):
        popup = re.fullmatch(r'POPUP\s+"([^"]*)"', line)
        item = re.fullmatch(r'MENUITEM\s+"([^"]*)"\s*,\s*(\w+)', line)
        if line == "BEGIN":
            depth += 1
        elif line == "END":
            depth -= 1
        elif popup and depth == 0:
            menus.append({"text": popup.group(1), "items": []})
        elif (item or line == "MENUITEM SEPARATOR") and depth == 1 and menus:
            menus[-1]["items"].append({"text": item.group(1), "id": reader.value(number, item.group(2))}
                                      if item else {"separator": True})
        else:
            reader.fail(number, "a menu statement the page does not show")
    return menus


def read_dialog(reader):
    start, match = reader.find(r"(IDD_SETTINGS)\s+DIALOG\s+(.*)$")
    x, y, width, height = (int(part) for part in match.group(2).split(","))
    dialog = {"width": width, "height": height, "controls": []}
    for number in range(start + 1, len(reader.lines)):
        line = reader.lines[number].strip()
        caption = re.fullmatch(r'CAPTION\s+"([^"]*)"', line)
        font = re.fullmatch(r'FONT\s+(\d+)\s*,\s*"([^"]*)"', line)
        if line == "BEGIN":
            break
        if caption:
            dialog["caption"] = caption.group(1)
        elif font:
            dialog["font"] = {"points": int(font.group(1)), "face": font.group(2)}
        elif not (line.startswith("STYLE ") or not line or line.startswith("//")):
            reader.fail(number, "a dialog statement the page does not show")
    for number, line in reader.block(start):
        control = re.fullmatch(r'CONTROL\s+"([^"]*)"\s*,\s*([-\w]+)\s*,\s*"(\w+)"\s*,\s*([^,]*),'
                               r'\s*(\d+)\s*,\s*(\d+)\s*,\s*(\d+)\s*,\s*(\d+)', line)
        if not control:
            reader.fail(number, "a dialog statement the page does not show")
        text, ident, kind, styles = control.group(1), control.group(2), control.group(3).upper(), control.group(4)
        if kind not in CONTROL_KINDS:
            reader.fail(number, f"a control of class {kind}, which the page does not draw")
        if kind == "BUTTON" and not any(style in styles.split() for style in PUSH_BUTTON_STYLES):
            reader.fail(number, "a button that is not a push button")
        dialog["controls"].append({
            "text": text,
            "id": reader.value(number, ident),
            "kind": kind,
            "default": "BS_DEFPUSHBUTTON" in styles,
            "x": int(control.group(5)), "y": int(control.group(6)),
            "width": int(control.group(7)), "height": int(control.group(8)),
        })
    return dialog


def named_in(names, scripts):
    """Those of `names` (a dict) that appear as a word in the script texts."""
    words = set(re.findall(r"[A-Za-z_$][\w$]*", "\n".join(scripts)))
    return {name: value for name, value in names.items() if name in words}


def page_labels(rc_path, rc_text, ids, texts):
    reader = Reader(rc_path, rc_text.splitlines(), ids)
    labels = {"menu": read_menu(reader), "dialog": read_dialog(reader)}
    labels["ids"] = dict(sorted(reader.used.items()))
    labels["texts"] = texts
    return labels


def main(argv):
    if len(argv) != 10:
        sys.exit(__doc__)
    with open(argv[1], encoding="utf-8") as script:
        rc_text = script.read()
    with open(argv[3], encoding="utf-8") as header:
        draw_text = header.read()
    with open(argv[4], encoding="utf-8") as header:
        cases_text = header.read()
    with open(argv[5], encoding="utf-8") as header:
        fields_text = header.read()
    with open(argv[6], encoding="utf-8") as texts:
        texts = json.load(texts)
    with open(argv[7], encoding="utf-8") as header:
        reader_text = header.read()
    scripts = []
    for name in sorted(os.listdir(argv[8])):
        if name.endswith(".js"):
            with open(os.path.join(argv[8], name), encoding="utf-8") as script:
                scripts.append(script.read())
    try:
        labels = page_labels(argv[1], rc_text, read_ids(argv[2]), named_in(texts, scripts + [fields_text]))
        labels["readerTexts"] = reader_texts_by_number(argv[7], reader_text, texts)
        labels["tiles"] = named_in(read_tiles(argv[3], draw_text), scripts)
        labels["mouseCases"] = named_in(read_mouse_cases(argv[4], cases_text), scripts)
    except ResourceError as error:
        sys.exit(f"make_page_labels: {error}")
    write_if_changed(argv[9], json.dumps(labels, ensure_ascii=False, separators=(",", ":")) + "\n")


if __name__ == "__main__":
    main(sys.argv)
