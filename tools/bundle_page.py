#!/usr/bin/env python3
"""Joins the page's script modules into one file, so that a browser fetches
one script instead of one per module.

  bundle_page.py ENTRY.js OUT.js

ENTRY.js and the modules it imports (`import { a, b } from './name.js';`, one
line each, from the same folder) are written in an order in which every
module comes after those it imports. Each module runs in a function of its
own, so its private names stay private; what it exports (`export function`,
`export const`, ...) is handed to the modules that import it.
"""
import os
import re
import sys

IMPORT = re.compile(r"^import\s*\{([^}]*)\}\s*from\s*'\./([\w.-]+)';[ \t]*$", re.M)
EXPORT = re.compile(r"^export\s+(?:async\s+)?(?:function\*?|const|let|var|class)\s+(\w+)", re.M)
ANY_IMPORT_OR_EXPORT = re.compile(r"^(import|export)\b", re.M)


def ordered_modules(entry):
    folder = os.path.dirname(entry)
    order, visiting = [], set()

    def visit(name):
        if name in order:
            return
        if name in visiting:
            sys.exit(f"bundle_page: modules import each other: {name}")
        visiting.add(name)
        with open(os.path.join(folder, name), encoding="utf-8") as source:
            text = source.read()
        for _, imported in IMPORT.findall(text):
            visit(imported)
        order.append(name)
        modules[name] = text

    modules = {}
    visit(os.path.basename(entry))
    return [(name, modules[name]) for name in order]


def wrapped(name, text):
    exports = EXPORT.findall(text)
    body = IMPORT.sub(lambda m: f"const {{{m.group(1)}}} = modules['{m.group(2)}'];", text)
    body = re.sub(r"^export\s+", "", body, flags=re.M)
    if ANY_IMPORT_OR_EXPORT.search(body):
        sys.exit(f"bundle_page: {name}: an import or export of a form this tool does not join")
    return f"modules['{name}'] = (() => {{\n{body}\nreturn {{ {', '.join(exports)} }};\n}})();\n"


def main(argv):
    if len(argv) != 3:
        sys.exit(__doc__)
    parts = ["// Generated from web/page/*.js by tools/bundle_page.py: do not edit.\n",
             "const modules = {};\n"]
    parts += [wrapped(name, text) for name, text in ordered_modules(argv[1])]
    content = "".join(parts)
    try:
        with open(argv[2], encoding="utf-8") as old:
            if old.read() == content:
                return
    except OSError:
        pass
    with open(argv[2], "w", encoding="utf-8", newline="\n") as out:
        out.write(content)


if __name__ == "__main__":
    main(sys.argv)
