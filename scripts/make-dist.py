#!/usr/bin/python3
"""make-dist.py KPV.scr OUT_DIR: builds OUT_DIR/KPV-<version>-setup.exe and OUT_DIR/KPV-<version>.zip.

The version, the display name (string resource 1), the publisher and the icon are read from the built
screen saver itself, so each is written down in one place only and the setup program always carries the
version of the file it installs.
"""
import os
import struct
import subprocess
import sys
import tempfile
import zipfile

import pefile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
INSTALLER = os.path.join(ROOT, "installer")
RT_ICON, RT_STRING, RT_GROUP_ICON = 3, 6, 14
VERSION_BLOCK = b"041104b0"


def resource_data(pe, type_id, res_id):
    for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if kind.id != type_id:
            continue
        for entry in kind.directory.entries:
            if entry.id == res_id:
                data = entry.directory.entries[0].data.struct
                return pe.get_data(data.OffsetToData, data.Size)
    raise SystemExit("resource %d/%d missing" % (type_id, res_id))


def string_resource(pe, string_id):
    # String tables hold 16 counted UTF-16 strings per block; block n holds ids 16(n-1) .. 16n-1.
    block = resource_data(pe, RT_STRING, string_id // 16 + 1)
    pos = 0
    for _ in range(string_id % 16):
        pos += 2 + 2 * struct.unpack_from("<H", block, pos)[0]
    length = struct.unpack_from("<H", block, pos)[0]
    return block[pos + 2:pos + 2 + 2 * length].decode("utf-16-le")


def icon_file(pe):
    # An .ico is the group directory with each entry's resource id replaced by its offset in the file.
    group = resource_data(pe, RT_GROUP_ICON, 1)
    count = struct.unpack_from("<H", group, 4)[0]
    header = bytearray(group[:6])
    images = []
    offset = 6 + 16 * count
    for i in range(count):
        fields = struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i)
        image = resource_data(pe, RT_ICON, fields[7])
        header += struct.pack("<BBBBHHII", *fields[:6], len(image), offset)
        images.append(image)
        offset += len(image)
    return bytes(header) + b"".join(images)


def product_facts(scr_path):
    pe = pefile.PE(scr_path)
    strings = {}
    for info in pe.FileInfo[0]:
        if info.Key == b"StringFileInfo":
            for table in info.StringTable:
                if table.LangID == VERSION_BLOCK:
                    strings = {k.decode(): v.decode("utf-8") for k, v in table.entries.items()}
    fixed = pe.VS_FIXEDFILEINFO[0]
    return {
        "PRODUCT_NAME": string_resource(pe, 1),
        "PRODUCT_VERSION": strings["ProductVersion"],
        "FILE_VERSION": "%d.%d.%d.%d" % (fixed.FileVersionMS >> 16, fixed.FileVersionMS & 0xFFFF,
                                         fixed.FileVersionLS >> 16, fixed.FileVersionLS & 0xFFFF),
        "PUBLISHER": strings["CompanyName"],
        "COPYRIGHT": strings["LegalCopyright"],
    }, icon_file(pe)


def nsis_quoted(text):
    return '"%s"' % text.replace("$", "$$").replace('"', '$\\"')


def build_setup(scr_path, facts, icon, setup_path):
    with tempfile.TemporaryDirectory() as work:
        icon_path = os.path.join(work, "kpv.ico")
        with open(icon_path, "wb") as f:
            f.write(icon)
        defines = dict(facts, SCR_FILE=os.path.abspath(scr_path), ICON_FILE=icon_path, OUT_FILE=setup_path,
                       CHOOSER_OUT=os.path.join(work, "ChooseKPV.exe"))
        product_nsh = os.path.join(work, "product.nsh")
        with open(product_nsh, "w", encoding="utf-8-sig") as f:
            for name, value in defines.items():
                f.write("!define %s %s\n" % (name, nsis_quoted(value)))
        # The chooser first: the setup carries it.
        for script in ("choose.nsi", "KPV.nsi"):
            subprocess.run(["makensis", "-V2", "-WX", "-INPUTCHARSET", "UTF8", "-DPRODUCT_NSH=" + product_nsh,
                            os.path.join(INSTALLER, script)], check=True)


def build_zip(scr_path, facts, zip_path):
    with open(os.path.join(INSTALLER, "readme.txt"), encoding="utf-8") as f:
        readme = f.read()
    for name in ("PRODUCT_NAME", "PRODUCT_VERSION", "PUBLISHER"):
        readme = readme.replace("@%s@" % name, facts[name])
    # Notepad reads UTF-8 as such only with the byte-order mark; Windows line ends keep it tidy everywhere.
    readme_bytes = b"\xef\xbb\xbf" + readme.replace("\n", "\r\n").encode("utf-8")
    partial = zip_path + ".part"
    with zipfile.ZipFile(partial, "w", zipfile.ZIP_DEFLATED) as z:
        z.write(scr_path, "KPV.scr")
        z.writestr(zipfile.ZipInfo("readme.txt", date_time=z.getinfo("KPV.scr").date_time), readme_bytes,
                   zipfile.ZIP_DEFLATED)
    os.replace(partial, zip_path)


def main():
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    scr_path, out_dir = sys.argv[1], os.path.abspath(sys.argv[2])
    facts, icon = product_facts(scr_path)
    os.makedirs(out_dir, exist_ok=True)
    base = os.path.join(out_dir, "KPV-" + facts["PRODUCT_VERSION"])
    build_setup(scr_path, facts, icon, base + "-setup.exe")
    build_zip(scr_path, facts, base + ".zip")
    print("built %s-setup.exe and %s.zip" % (base, base))


if __name__ == "__main__":
    main()
