#!/usr/bin/env python3
"""Puts the page's static folder together.

  assemble_site.py RECIPE.json OUT_DIR [--version VERSION]

RECIPE.json (written by web/CMakeLists.txt) names the inputs: `version`, the
page template `page`, `inline`, the files that the page carries inside
itself by name (its style `tsweeper.css` and its scripts, bundled and
minified by esbuild), `hex`, those that it carries as hexadecimal text (the
module: it compresses better so than as base64, whose groups of three bytes
cut across the module's own repeats), the service worker `worker` (minified too), the program's texts `texts` (JSON, from tools/make_texts.py), and `files`, the
other files of the site by name (the icons). --version stands in for the
recipe's version.

OUT_DIR is made anew and holds:
  index.html           the page: the template with its texts, the style
                       and the script inside it, everything its first
                       board needs
  sw.js                the service worker, its first line naming the build
  NAME.ID.EXT          every other file, the build's ID in its name, and
                       tsweeper.ID.webmanifest, the web app manifest
The ID is a hash of the version and every input, so that two builds never
share a file name or a cache.
"""
import hashlib
import html
import json
import os
import re
import shutil
import struct
import sys

PLACEHOLDER = re.compile(r"@([\w:.-]+)@")


class SiteError(Exception):
    pass


def read(path, binary=False):
    try:
        with open(path, "rb" if binary else "r", **({} if binary else {"encoding": "utf-8"})) as source:
            return source.read()
    except OSError as error:
        raise SiteError(f"{path}: {error.strerror}") from error


def versioned(name, hash_part):
    stem, ext = os.path.splitext(name)
    return f"{stem}.{hash_part}{ext}"


def style_colour(style, name):
    match = re.search(rf"--{name}:\s*(#[0-9a-fA-F]{{3,8}})\s*[;}}]", style)
    if not match:
        raise SiteError(f"the style has no colour --{name}")
    return match.group(1)


def png_size(data, name):
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        raise SiteError(f"{name} is not a PNG file")
    return struct.unpack(">II", data[16:24])


def build_id(version, inputs):
    digest = hashlib.sha256(version.encode("utf-8"))
    for name, data in inputs:
        data = data if isinstance(data, bytes) else data.encode("utf-8")
        digest.update(f"\0{name}\0{len(data)}\0".encode("utf-8"))
        digest.update(data)
    return digest.hexdigest()[:12]


def fill_page(template, values, names, inline, hex_files):
    def substitute(match):
        key = match.group(1)
        kind, _, name = key.partition(":")
        if kind == "file" and name in names:
            return names[name]
        if kind == "inline" and name in inline:
            return inline[name]
        if kind == "hex" and name in hex_files:
            return hex_files[name].hex()
        if key in values:
            return values[key]
        raise SiteError(f"the page names @{key}@, which is not a text, a file or a value of the build")
    return PLACEHOLDER.sub(substitute, template)


def compact_page(template):
    """The page template without its comments and the indentation of its lines."""
    template = re.sub(r"<!--.*?-->\n?", "", template, flags=re.S)
    return "".join(line.lstrip(" ") for line in template.splitlines(keepends=True))


def assemble(recipe, version):
    texts = json.loads(read(recipe["texts"]))
    inline = {name: read(path).rstrip("\n") for name, path in sorted(recipe["inline"].items())}
    hex_files = {name: read(path, binary=True) for name, path in sorted(recipe.get("hex", {}).items())}
    worker = read(recipe["worker"])
    template = compact_page(read(recipe["page"]))
    files = {name: read(path, binary=True) for name, path in sorted(recipe["files"].items())}
    for name, text in inline.items():
        if re.search(r"</(script|style)", text, re.I):
            raise SiteError(f"{name} holds the end of its own element")

    hash_part = build_id(version, [("page", template), ("worker", worker), ("texts", json.dumps(texts, sort_keys=True))]
                         + [("inline " + name, text) for name, text in inline.items()]
                         + [("hex " + name, data) for name, data in hex_files.items()]
                         + list(files.items()))
    ident = f"{version}-{hash_part}"
    names = {name: versioned(name, hash_part) for name in files}
    names["tsweeper.webmanifest"] = versioned("tsweeper.webmanifest", hash_part)
    style = inline.get("tsweeper.css", "")
    desk, caption = style_colour(style, "desk"), style_colour(style, "caption")

    icons = []
    for name, data in files.items():
        if name.endswith(".png"):
            width, height = png_size(data, name)
            icons.append({"src": names[name], "sizes": f"{width}x{height}", "type": "image/png"})
    manifest = {
        "name": texts["ProductName"],
        "short_name": texts["ProductName"],
        "description": texts["DescriptionJapanese"],
        "lang": "ja",
        "start_url": "./",
        "scope": "./",
        "display": "standalone",
        "background_color": desk,
        "theme_color": caption,
        "icons": icons,
    }

    values = {name: html.escape(text) for name, text in texts.items()}
    values.update({"build": ident, "theme-colour": caption})
    page = fill_page(template, values, names, inline, hex_files)

    out = {"index.html": page.encode("utf-8"),
           names["tsweeper.webmanifest"]: (json.dumps(manifest, ensure_ascii=False, indent=1) + "\n").encode("utf-8")}
    out.update({names[name]: data for name, data in files.items()})
    build = {"id": ident, "page": "index.html", "files": list(out)}
    out["sw.js"] = (f"const build = {json.dumps(build)};\n" + worker).encode("utf-8")
    return out


def main(argv):
    args = argv[1:]
    version = None
    if "--version" in args:
        at = args.index("--version")
        version = args[at + 1] if at + 1 < len(args) else None
        del args[at:at + 2]
        if not version:
            sys.exit(__doc__)
    if len(args) != 2:
        sys.exit(__doc__)
    try:
        recipe = json.loads(read(args[0]))
        out = assemble(recipe, version or recipe["version"])
    except SiteError as error:
        sys.exit(f"assemble_site: {error}")
    shutil.rmtree(args[1], ignore_errors=True)
    os.makedirs(args[1])
    for name, data in out.items():
        with open(os.path.join(args[1], name), "wb") as target:
            target.write(data)


if __name__ == "__main__":
    main(sys.argv)
