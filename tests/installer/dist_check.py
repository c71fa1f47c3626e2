#!/usr/bin/python3
"""dist_check.py KPV.scr DIST_DIR: the setup program and the archive are named after the screen saver's
version and carry it; the archive holds exactly the built KPV.scr and a read-me Notepad shows right."""
import os
import sys
import zipfile

import pefile


def version(pe):
    fixed = pe.VS_FIXEDFILEINFO[0]
    texts = {k: v.decode() for info in pe.FileInfo[0] if info.Key == b"StringFileInfo"
             for table in info.StringTable for k, v in table.entries.items()}
    return (fixed.FileVersionMS, fixed.FileVersionLS), texts[b"ProductVersion"], texts[b"FileVersion"]


scr_path, dist = sys.argv[1], sys.argv[2]
scr = pefile.PE(scr_path)
scr_version = version(scr)
base = os.path.join(dist, "KPV-" + scr_version[1])
problems = []

setup = pefile.PE(base + "-setup.exe")
if version(setup) != scr_version:
    problems.append("setup version %s, screen saver %s" % (version(setup), scr_version))
if setup.FILE_HEADER.Machine != pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_AMD64"]:
    problems.append("setup program is not 64-bit")

with zipfile.ZipFile(base + ".zip") as archive:
    names = sorted(archive.namelist())
    if names != ["KPV.scr", "readme.txt"]:
        problems.append("archive holds %s" % names)
    else:
        with open(scr_path, "rb") as f:
            if archive.read("KPV.scr") != f.read():
                problems.append("archived KPV.scr differs from the built one")
        readme = archive.read("readme.txt")
        text = readme[3:].decode("utf-8")
        if not readme.startswith(b"\xef\xbb\xbf"):
            problems.append("read-me has no UTF-8 byte-order mark")
        bare_line_end = "\n" in text.replace("\r\n", "")
        if "KPV 画像スライドショー " + scr_version[1] not in text or "@" in text or bare_line_end:
            problems.append("read-me lacks the name and version, keeps a placeholder or has bare line ends")

print("\n".join(problems) or "setup and archive of %s match the screen saver" % scr_version[1])
sys.exit(1 if problems else 0)
