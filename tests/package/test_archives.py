"""The release archives hold exactly what a player needs, readable as written.

Run by tools/test-package.sh with TSWEEPER_DIST (the folder of the archives)
and TSWEEPER_VERSION set.
"""
import hashlib
import os
import unittest
import zipfile

DIST = os.environ.get("TSWEEPER_DIST", "")
VERSION = os.environ.get("TSWEEPER_VERSION", "")
WEB_BUILT = os.environ.get("TSWEEPER_WEB_FOLDER", "")


def archive(kind):
    return zipfile.ZipFile(os.path.join(DIST, f"tsweeper-{VERSION}-{kind}.zip"))


class Win64Archive(unittest.TestCase):
    def setUp(self):
        self.zip = archive("win64")
        self.top = f"tsweeper-{VERSION}/"

    def tearDown(self):
        self.zip.close()

    def test_holds_exactly_the_program_and_its_two_readmes(self):
        self.assertEqual(sorted(self.zip.namelist()),
                         [self.top + name for name in ("README-en.txt", "readme.txt", "tsweeper.exe")])
        self.assertIsNone(self.zip.testzip())

    def test_japanese_readme_is_shift_jis_with_crlf_and_round_trips(self):
        data = self.zip.read(self.top + "readme.txt")
        text = data.decode("cp932")  # raises on anything that is not code page 932
        self.assertEqual(text.encode("cp932"), data)
        self.assertNotIn(b"\n", data.replace(b"\r\n", b""))
        self.assertFalse(data.startswith(b"\xef\xbb\xbf"))
        self.assertIn(f"バージョン {VERSION}", text)
        for needed in ("tsweeper.ini", "[Set]", "WinX", "WinY", "Bom", "PanelBMP",
                       "アンインストール", "MIT License", "新規スタート"):
            self.assertIn(needed, text)

    def test_english_readme_is_utf8_with_crlf(self):
        data = self.zip.read(self.top + "README-en.txt")
        self.assertTrue(data.startswith(b"\xef\xbb\xbf"))
        text = data.decode("utf-8-sig")
        self.assertNotIn(b"\n", data.replace(b"\r\n", b""))
        self.assertIn(f"version {VERSION}", text)
        self.assertIn("MIT License", text)

    def test_exe_is_a_windows_program(self):
        exe = self.zip.read(self.top + "tsweeper.exe")
        self.assertEqual(exe[:2], b"MZ")
        self.assertIn(VERSION.encode("utf-16-le"), exe)


class Sums(unittest.TestCase):
    """SHA256SUMS beside the archives: a line each for the archives and for
    the exe as it lies once unpacked, in the format `sha256sum -c` reads."""

    def test_every_archive_and_the_unpacked_exe_have_their_sum(self):
        with open(os.path.join(DIST, "SHA256SUMS"), encoding="ascii") as sums:
            lines = sums.read().splitlines()
        listed = {}
        for line in lines:
            digest, name = line.split("  ", 1)
            self.assertRegex(digest, "^[0-9a-f]{64}$")
            listed[name] = digest
        archives = sorted(name for name in os.listdir(DIST) if name.endswith(".zip"))
        exe = f"tsweeper-{VERSION}/tsweeper.exe"
        self.assertEqual(sorted(listed), sorted(archives + [exe]))
        for name in archives:
            with open(os.path.join(DIST, name), "rb") as data:
                self.assertEqual(listed[name], hashlib.sha256(data.read()).hexdigest(), name)
        with archive("win64") as win64:
            self.assertEqual(listed[exe], hashlib.sha256(win64.read(exe)).hexdigest())


@unittest.skipUnless(WEB_BUILT, "the web edition is not part of this tree")
class WebArchive(unittest.TestCase):
    def test_holds_the_static_folder_and_nothing_else(self):
        with archive("web") as web:
            top = f"tsweeper-{VERSION}-web/"
            names = sorted(web.namelist())
            built = sorted(top + os.path.relpath(os.path.join(where, name), WEB_BUILT).replace(os.sep, "/")
                           for where, _, files in os.walk(WEB_BUILT) for name in files)
            self.assertEqual(names, built)
            self.assertIn(top + "index.html", names)
            self.assertIsNone(web.testzip())


if __name__ == "__main__":
    unittest.main()
