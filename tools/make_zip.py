#!/usr/bin/env python3
"""Writes a zip archive that is the same bytes every time for the same files.

  make_zip.py OUT.zip EPOCH PREFIX FOLDER

Every file below FOLDER goes in, under PREFIX/, in sorted order, stamped with
EPOCH (seconds, the commit's time) and with fixed attributes, so that no
build time, file order or owner reaches the archive.
"""
import os
import sys
import time
import zipfile


def main(argv):
    if len(argv) != 5:
        sys.exit(__doc__)
    out, epoch, prefix, folder = argv[1], int(argv[2]), argv[3], argv[4]
    # Zip times start in 1980 and have two-second steps.
    stamp = time.gmtime(max(epoch, 315532800))
    date_time = stamp[:5] + (stamp[5] // 2 * 2,)
    names = []
    for where, dirs, files in os.walk(folder):
        dirs.sort()
        for name in files:
            names.append(os.path.relpath(os.path.join(where, name), folder))
    with zipfile.ZipFile(out, "w") as archive:
        for name in sorted(n.replace(os.sep, "/") for n in names):
            entry = zipfile.ZipInfo(f"{prefix}/{name}", date_time)
            entry.compress_type = zipfile.ZIP_DEFLATED
            entry.create_system = 0  # MS-DOS: no Unix owner or mode bits
            entry.external_attr = 0x20  # the archive attribute, as Windows sets it
            with open(os.path.join(folder, name), "rb") as f:
                archive.writestr(entry, f.read(), compresslevel=9)


if __name__ == "__main__":
    main(sys.argv)
