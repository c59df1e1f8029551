#!/usr/bin/env python3
"""Joins the page's script modules into one script, so that the page carries
its whole script inside itself.

  bundle_page.py ENTRY.js OUT.js [--json NAME.js=FILE.json]... [--deflated NAME.js=FILE]...

ENTRY.js and the modules it imports (`import { a, b } from './name.js';`, one
line each, from the same folder) are written in an order in which every
module comes after those it imports. Each module runs in a function of its
own, so its private names stay private; what it exports (`export function`,
`export const`, ...) is handed to the modules that import it. Comments and
indentation are left out (tools/strip_source.py).

A module may also import data made by the build: --json gives a module
NAME.js that exports `NAME`, the value in FILE.json; --deflated one that
exports `NAME`, FILE's bytes compressed with deflate (no zlib header) as
base64 text, which the page's own inflate (web/page/inflate.js) expands.
"""
import base64
import json
import os
import re
import sys
import zlib

from generated_file import write_if_changed
from strip_source import StripError, strip_script

IMPORT = re.compile(r"^import\s*\{([^}]*)\}\s*from\s*'\./([\w.-]+)';[ \t]*$", re.M)
EXPORT = re.compile(r"^export\s+(?:async\s+)?(?:function\*?|const|let|var|class)\s+(\w+)", re.M)
ANY_IMPORT_OR_EXPORT = re.compile(r"^(import|export)\b", re.M)


class BundleError(Exception):
    pass


def deflated(data):
    packer = zlib.compressobj(9, zlib.DEFLATED, -15, 9)
    return packer.compress(data) + packer.flush()


def data_module(kind, path):
    """The source of a module of build data, and its name."""
    name, sep, file = path.partition("=")
    stem = name[:-3] if name.endswith(".js") else ""
    if not sep or not stem.isidentifier():
        raise BundleError(f"--{kind} needs NAME.js=FILE, not {path}")
    try:
        if kind == "json":
            with open(file, encoding="utf-8") as source:
                value = json.dumps(json.load(source), ensure_ascii=False, separators=(",", ":"))
        else:
            with open(file, "rb") as source:
                value = "'" + base64.b64encode(deflated(source.read())).decode("ascii") + "'"
    except OSError as error:
        raise BundleError(f"{file}: {error.strerror}") from error
    return name, f"export const {stem} = {value};\n"


def ordered_modules(entry, generated):
    folder = os.path.dirname(entry)
    order, visiting, modules = [], set(), {}

    def visit(name):
        if name in order:
            return
        if name in visiting:
            raise BundleError(f"modules import each other: {name}")
        visiting.add(name)
        if name in generated:
            text = generated[name]
        else:
            try:
                with open(os.path.join(folder, name), encoding="utf-8") as source:
                    text = source.read()
            except OSError as error:
                raise BundleError(f"{name}: {error.strerror}") from error
        for _, imported in IMPORT.findall(text):
            visit(imported)
        order.append(name)
        modules[name] = text

    visit(os.path.basename(entry))
    return [(name, modules[name]) for name in order]


def wrapped(name, text):
    exports = EXPORT.findall(text)
    body = IMPORT.sub(lambda m: f"const {{{m.group(1)}}} = modules['{m.group(2)}'];", text)
    body = re.sub(r"^export\s+", "", body, flags=re.M)
    if ANY_IMPORT_OR_EXPORT.search(body):
        raise BundleError(f"{name}: an import or export of a form this tool does not join")
    try:
        body = strip_script(body)
    except StripError as error:
        raise BundleError(f"{name}: {error}") from error
    return f"modules['{name}'] = (() => {{\n{body}return {{ {', '.join(exports)} }};\n}})();\n"


def bundle(entry, generated):
    parts = ["// Generated from web/page/*.js by tools/bundle_page.py: do not edit.\n",
             "const modules = {};\n"]
    parts += [wrapped(name, text) for name, text in ordered_modules(entry, generated)]
    return "".join(parts)


def main(argv):
    args = argv[1:]
    positional, data = [], []
    while args:
        arg = args.pop(0)
        if arg in ("--json", "--deflated") and args:
            data.append((arg[2:], args.pop(0)))
        else:
            positional.append(arg)
    if len(positional) != 2:
        sys.exit(__doc__)
    try:
        generated = dict(data_module(kind, path) for kind, path in data)
        write_if_changed(positional[1], bundle(positional[0], generated))
    except BundleError as error:
        sys.exit(f"bundle_page: {error}")


if __name__ == "__main__":
    main(sys.argv)
