"""The generators of the page: labels, texts, the byte array, the site's
assembly, and the icon's PNGs.

Run by tools/test-tools.sh (TSWEEPER_MAKE_ICON names the built make_icon).
"""
import json
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
import zlib

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
TOOLS = os.path.join(ROOT, "tools")
sys.path.insert(0, TOOLS)

import assemble_site  # noqa: E402
import make_byte_array  # noqa: E402
import make_page_labels  # noqa: E402


def run_tool(name, *args):
    return subprocess.run([sys.executable, "-B", os.path.join(TOOLS, name), *args],
                          capture_output=True, text=True)


class Folder(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.dir)

    def write(self, name, content):
        path = os.path.join(self.dir, name)
        with open(path, "wb" if isinstance(content, bytes) else "w", **({} if isinstance(content, bytes) else {"encoding": "utf-8"})) as out:
            out.write(content)
        return path

    def read(self, name):
        with open(os.path.join(self.dir, name), "rb") as source:
            return source.read()


RC = """IDR_MAINMENU MENU
BEGIN
    POPUP "ゲーム(&G)"
    BEGIN
        MENUITEM "新規(&N)", IDM_NEWGAME
        MENUITEM SEPARATOR
    END
END

IDD_SETTINGS DIALOG 0, 0, 100, 50
STYLE WS_POPUP
CAPTION "設定"
FONT 9, "ＭＳ Ｐゴシック"
BEGIN
    CONTROL "", IDC_COLUMNS, "EDIT", WS_CHILD, 1, 2, 3, 4
    CONTROL "OK", IDOK, "BUTTON", WS_CHILD | BS_DEFPUSHBUTTON, 5, 6, 7, 8
END
"""
IDS = {"IDOK": 1, "IDCANCEL": 2, "IDM_NEWGAME": 1000, "IDC_COLUMNS": 2000, "IDB_TILES": 101, "IDD_SETTINGS": 103}


class PageLabels(unittest.TestCase):
    def test_carries_the_menu_the_dialog_with_its_font_and_only_the_ids_they_name(self):
        labels = make_page_labels.page_labels("t.rc", RC, IDS, {"A": "a"})
        self.assertEqual(labels["menu"], [{"text": "ゲーム(&G)", "items": [{"text": "新規(&N)", "id": 1000},
                                                                        {"separator": True}]}])
        self.assertEqual(labels["dialog"]["font"], {"points": 9, "face": "ＭＳ Ｐゴシック"})
        self.assertEqual(labels["dialog"]["caption"], "設定")
        self.assertEqual([c["kind"] for c in labels["dialog"]["controls"]], ["EDIT", "BUTTON"])
        self.assertTrue(labels["dialog"]["controls"][1]["default"])
        self.assertEqual(labels["ids"], {"IDC_COLUMNS": 2000, "IDM_NEWGAME": 1000, "IDOK": 1})

    def test_carries_the_texts_and_tiles_the_script_names_and_reads_the_tile_numbers(self):
        scripts = ["say(texts.PageWon);\nconst formats = { a: 'RangeFormat' };\n", "if (tile === tiles.TileFlag) x();\n"]
        texts = {"PageWon": "勝ち", "RangeFormat": "%d", "ProductName": "Tolu Sweeper", "PageNotice": "HTML only"}
        self.assertEqual(make_page_labels.named_in(texts, scripts), {"PageWon": "勝ち", "RangeFormat": "%d"})
        tiles = make_page_labels.read_tiles("d.h", "enum TileNumber {\n    TileCovered = 0,\n"
                                                   "    TileFlag = 1,  // the flag\n};\n")
        self.assertEqual(make_page_labels.named_in(tiles, scripts), {"TileFlag": 1})
        with self.assertRaises(make_page_labels.ResourceError):
            make_page_labels.read_tiles("d.h", "enum TileNumber {\n    TileFlag = TileCovered + 1,\n};\n")

    def test_reads_the_repo_headers_numbers(self):
        with open(os.path.join(ROOT, "input", "mouse_cases.h"), encoding="utf-8") as header:
            cases = make_page_labels.read_mouse_cases("mouse_cases.h", header.read())
        self.assertEqual(list(cases), ["MouseCaseMove", "MouseCaseLeftDown", "MouseCaseLeftUp",
                                       "MouseCaseRightDown", "MouseCaseRightUp", "MouseCaseCount"])
        self.assertEqual(list(cases.values()), list(range(6)))
        with open(os.path.join(ROOT, "core", "draw.h"), encoding="utf-8") as header:
            tiles = make_page_labels.read_tiles("draw.h", header.read())
        self.assertEqual((tiles["TileCovered"], tiles["TileCount"]), (0, 28))
        # Each field of the settings dialog names a control and a text that exist.
        with open(os.path.join(ROOT, "resources", "dialog_fields.h"), encoding="utf-8") as header:
            fields = re.findall(r"FIELD\((Field\w+), (\w+), (\w+)\)", header.read())
        with open(os.path.join(ROOT, "resources", "texts.txt"), encoding="utf-8") as texts:
            text_names = set(re.findall(r"^(\w+) =", texts.read(), re.M))
        ids = make_page_labels.read_ids(os.path.join(ROOT, "resources", "resource.h"))
        self.assertEqual([field for field, _, _ in fields], ["FieldColumns", "FieldRows", "FieldBombs"])
        for _, control, text in fields:
            self.assertIn(control, ids)
            self.assertIn(text, text_names)

    def test_refuses_a_statement_it_would_otherwise_drop(self):
        cases = [
            ('        MENUITEM SEPARATOR\n', '        MENUITEM "灰色", IDM_NEWGAME, GRAYED\n', "menu statement"),
            ('        MENUITEM SEPARATOR\n', '        MENUITEM "x", IDM_NOWHERE\n', "unknown resource ID"),
            ('    POPUP "ゲーム(&G)"\n', '    MENUITEM "外", IDM_NEWGAME\n    POPUP "ゲーム(&G)"\n', "menu statement"),
            ('STYLE WS_POPUP\n', 'STYLE WS_POPUP\nEXSTYLE WS_EX_TOPMOST\n', "dialog statement"),
            ('    CONTROL "", IDC_COLUMNS', '    LTEXT "x", -1, 1, 2, 3, 4\n    CONTROL "", IDC_COLUMNS', "dialog statement"),
            ('"EDIT", WS_CHILD', '"COMBOBOX", WS_CHILD', "class COMBOBOX"),
            ('WS_CHILD | BS_DEFPUSHBUTTON', 'WS_CHILD | BS_AUTOCHECKBOX', "not a push button"),
        ]
        for old, new, message in cases:
            with self.subTest(new=new):
                self.assertIn(old, RC)
                with self.assertRaises(make_page_labels.ResourceError) as caught:
                    make_page_labels.page_labels("t.rc", RC.replace(old, new, 1), IDS, {})
                self.assertIn(message, str(caught.exception))
                self.assertRegex(str(caught.exception), r"^t\.rc:\d+: ")


class Texts(Folder):
    def test_a_text_outside_code_page_932_stops_every_output(self):
        source = self.write("texts.txt", "Good = 表示倍率\nBad = Ω is fine but \u2603 is not\n")
        for kind in ("--json", "--cpp", "--rc"):
            with self.subTest(kind=kind):
                result = run_tool("make_texts.py", source, "1.0.0", kind, os.path.join(self.dir, "out"))
                self.assertNotEqual(result.returncode, 0)
                self.assertIn("texts.txt:2: not in code page 932: \u2603", result.stderr)

    def make(self, source, kind):
        result = run_tool("make_texts.py", source, "1.0.0", kind, os.path.join(self.dir, kind[2:]))
        self.assertEqual(result.returncode, 0, result.stderr)
        return self.read(kind[2:]).decode("utf-8")

    def test_the_page_has_each_reader_text_at_its_number_in_the_enum(self):
        # Between other texts and out of the alphabet's order, as texts.txt may have them.
        sample = self.write("sample.txt", "ReaderZ = ゼット\nPageA = a\nReaderB = %d 個\nOther = o\nReaderA = あ\n")
        repo = os.path.join(ROOT, "resources", "texts.txt")
        for source in (sample, repo):
            with self.subTest(source=source):
                header, texts = self.make(source, "--reader"), json.loads(self.make(source, "--json"))
                listed = make_page_labels.reader_texts_by_number("r.h", header, texts)
                numbered = {int(number): name for name, number in re.findall(r"^ +(Reader\w+) = (\d+),", header, re.M)
                            if name != "ReaderTextCount"}
                self.assertEqual(len(listed), len(numbered))
                self.assertEqual([texts[numbered[number]] for number in range(len(listed))], listed)
                if source == sample:
                    self.assertEqual(listed, ["ゼット", "%d 個", "あ"], "in the file's order, the others left out")

    def test_refuses_reader_numbers_that_would_shift_the_pages_texts(self):
        texts = {"ReaderA": "a", "ReaderB": "b"}
        cases = [
            ("ReaderA = 0,\n    ReaderB = 2,\n    ReaderTextCount = 3,", "does not number"),
            ("ReaderA = 0,\n    ReaderB = 0,\n    ReaderTextCount = 2,", "does not number"),
            ("ReaderA = 0,\n    ReaderB = 1,\n    ReaderTextCount = 3,", "does not number"),
            ("ReaderA = 0,\n    ReaderB = 1,", "does not number"),
            ("ReaderA = 0,\n    ReaderC = 1,\n    ReaderTextCount = 2,", "no text named ReaderC"),
        ]
        for body, message in cases:
            with self.subTest(body=body):
                with self.assertRaisesRegex(make_page_labels.ResourceError, message):
                    make_page_labels.reader_texts_by_number("r.h", f"enum ReaderText {{\n    {body}\n}};\n", texts)


class ByteArray(Folder):
    def test_the_array_holds_the_file_byte_for_byte(self):
        data = bytes(range(256)) * 3 + b"\x00"
        source = make_byte_array.array_source("tileStripFile", data, "tiles.bmp")
        body = source[source.index("= {") + 3:source.index("};")]
        self.assertEqual(bytes(int(v) for v in body.replace(",", " ").split()), data)
        self.assertIn(f"const int tileStripFileSize = {len(data)};", source)


class AssembleSite(Folder):
    def recipe(self, page='<html data-build="@build@"><title>@ProductName@</title>'
                    '<link href="@file:icon-32.png@"><style>@inline:tsweeper.css@</style>'
                    '<script>@inline:tsweeper.js@</script><p>@Say@</p><script type="text/plain">@hex:m.bin@</script>\n'
                    '<!-- how the page is made -->\n  <script>\n  go(1);\n  </script>\n'):
        png = b"\x89PNG\r\n\x1a\n\x00\x00\x00\x0dIHDR" + struct.pack(">II", 32, 32) + b"\x08\x03\x00\x00\x00"
        return {
            "version": "1.2.3",
            "page": self.write("index.html", page),
            # The style as esbuild minifies it: the last declaration without its semicolon.
            "inline": {"tsweeper.css": self.write("s.css", ":root{--desk: #123456;--caption: #abcdef}\n"),
                       "tsweeper.js": self.write("s.js", "let a=1;\n")},
            "hex": {"m.bin": self.write("m.bin", b"\x00asm\xff")},
            "worker": self.write("sw.js", "self.x=build.id;\n"),
            "texts": self.write("t.json", json.dumps({"ProductName": "T & S", "DescriptionJapanese": "説明",
                                                      "Say": "<b>"})),
            "files": {"icon-32.png": self.write("i.png", png)},
        }

    def test_the_page_the_worker_and_the_manifest_of_one_build(self):
        out = assemble_site.assemble(self.recipe(), "1.2.3")
        build = json.loads(out["sw.js"].decode().split("\n", 1)[0][len("const build = "):-1])
        ident = build["id"]
        digest = ident.split("-")[1]
        self.assertTrue(ident.startswith("1.2.3-"))
        self.assertEqual(sorted(out), sorted([f"icon-32.{digest}.png", "index.html", "sw.js",
                                              f"tsweeper.{digest}.webmanifest"]))
        self.assertEqual(build["files"][0], "index.html")
        self.assertEqual(sorted(build["files"]), sorted(name for name in out if name != "sw.js"))
        page = out["index.html"].decode()
        self.assertIn(f'data-build="{ident}"', page)
        self.assertIn("<title>T &amp; S</title>", page)
        self.assertIn("<p>&lt;b&gt;</p>", page)
        self.assertIn(f'href="icon-32.{digest}.png"', page)
        self.assertIn("<script>let a=1;</script>", page)
        self.assertIn('<script type="text/plain">0061736dff</script>', page)
        self.assertIn("<style>:root{--desk: #123456;--caption: #abcdef}</style>", page)
        # The template's own comments and indentation go.
        self.assertNotIn("how the page is made", page)
        self.assertIn("\n<script>\ngo(1);\n</script>\n", page)
        self.assertTrue(out["sw.js"].decode().endswith("\nself.x=build.id;\n"))
        manifest = json.loads(out[f"tsweeper.{digest}.webmanifest"])
        self.assertEqual((manifest["name"], manifest["background_color"], manifest["theme_color"]),
                         ("T & S", "#123456", "#abcdef"))
        self.assertEqual(manifest["icons"], [{"src": f"icon-32.{digest}.png", "sizes": "32x32", "type": "image/png"}])

    def test_another_version_or_input_is_another_build(self):
        recipe = self.recipe()
        first = assemble_site.assemble(recipe, "1.2.3")["index.html"]
        self.assertEqual(assemble_site.assemble(recipe, "1.2.3")["index.html"], first, "the same build twice")
        self.assertNotEqual(assemble_site.assemble(recipe, "1.2.4")["index.html"], first)
        for name, other in (("s.js", "let a=2;\n"), ("m.bin", b"\x00asm\xfe")):
            with self.subTest(changed=name):
                recipe = self.recipe()
                self.write(name, other)
                self.assertNotEqual(assemble_site.assemble(recipe, "1.2.3")["index.html"], first)

    def test_refuses_an_unknown_placeholder_and_a_script_that_ends_its_element(self):
        with self.assertRaisesRegex(assemble_site.SiteError, "@Nothing@"):
            assemble_site.assemble(self.recipe(page="<p>@Nothing@</p>"), "1")
        recipe = self.recipe()
        for name, text in (("s.js", "let a='</script>';\n"), ("s.css", ":root{--desk:#123456;--caption:#abcdef}</STYLE>")):
            with self.subTest(name=name):
                self.write(name, text)
                with self.assertRaisesRegex(assemble_site.SiteError, "end of its own element"):
                    assemble_site.assemble(recipe, "1")
                recipe = self.recipe()


MAKE_ICON = os.environ.get("TSWEEPER_MAKE_ICON", os.path.join(ROOT, "build", "native", "make_icon"))


def png_chunks(data):
    at, chunks = 8, {}
    while at < len(data):
        size, kind = struct.unpack(">I4s", data[at:at + 8])
        chunks.setdefault(kind.decode(), b"")
        chunks[kind.decode()] += data[at + 8:at + 8 + size]
        at += 12 + size
    return chunks


@unittest.skipUnless(os.path.exists(MAKE_ICON), "make_icon is not built")
class IconPngs(Folder):
    def test_each_png_is_the_icons_pixels_scaled_by_a_whole_step(self):
        ico = os.path.join(self.dir, "i.ico")
        args = [MAKE_ICON, os.path.join(ROOT, "resources", "icon.txt"), ico]
        for size in (32, 192, 512):
            args += ["--png", str(size), os.path.join(self.dir, f"{size}.png")]
        subprocess.run(args, check=True)
        first = {size: self.read(f"{size}.png") for size in (32, 192, 512)}
        subprocess.run(args, check=True)
        self.assertEqual({size: self.read(f"{size}.png") for size in (32, 192, 512)}, first, "the same bytes every run")
        icon = self.read("i.ico")
        palette = [icon[62 + 4 * i:62 + 4 * i + 3][::-1] for i in range(16)]  # BGR0 entries

        def ico_pixel(x, y):  # 4-bit colour rows bottom-up after the palette; then the 1-bit mask
            row = 31 - y
            byte = icon[126 + row * 16 + x // 2]
            mask = icon[126 + 512 + row * 4 + x // 8] >> (7 - x % 8) & 1
            return None if mask else palette[byte >> 4 if x % 2 == 0 else byte & 15]

        for size in (32, 192, 512):
            with self.subTest(size=size):
                chunks = png_chunks(first[size])
                width, height, depth, kind = struct.unpack(">IIBB", chunks["IHDR"][:10])
                self.assertEqual((width, height, depth, kind), (size, size, 8, 3))
                rows = zlib.decompress(chunks["IDAT"])
                plte, alpha = chunks["PLTE"], chunks.get("tRNS", b"")
                scale = size // 32
                for y in range(size):
                    self.assertEqual(rows[y * (size + 1)], 0, "filter None")
                    for x in range(size):
                        index = rows[y * (size + 1) + 1 + x]
                        opaque = index >= len(alpha) or alpha[index] == 255
                        expected = ico_pixel(x // scale, y // scale)
                        self.assertEqual(plte[3 * index:3 * index + 3] if opaque else None, expected, (x, y))

    def test_refuses_a_size_that_is_not_a_whole_step(self):
        for size in ("100", "16", "x"):
            with self.subTest(size=size):
                result = subprocess.run([MAKE_ICON, os.path.join(ROOT, "resources", "icon.txt"),
                                         os.path.join(self.dir, "i.ico"), "--png", size,
                                         os.path.join(self.dir, "p.png")], capture_output=True)
                self.assertEqual(result.returncode, 2)


if __name__ == "__main__":
    unittest.main()
