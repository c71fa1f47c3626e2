#!/usr/bin/env python3
"""The screen saver must import only DLLs that ship with Windows and carry the hardened image flags."""
import sys

import pefile

SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll", "comdlg32.dll",
    "comctl32.dll", "ole32.dll", "oleaut32.dll", "windowscodecs.dll", "version.dll", "shlwapi.dll",
    "msvcrt.dll", "ntdll.dll", "ws2_32.dll", "bcrypt.dll", "crypt32.dll",
}
HARDENED = 0x0020 | 0x0040 | 0x0100  # high-entropy VA, dynamic base, NX compatible

pe = pefile.PE(sys.argv[1])
imports = sorted({entry.dll.decode().lower() for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", [])})
foreign = [dll for dll in imports if dll not in SYSTEM_DLLS and not dll.startswith("api-ms-win-")]
flags = pe.OPTIONAL_HEADER.DllCharacteristics
print("imports:", ", ".join(imports))
print("DllCharacteristics: 0x%04x" % flags)
ok = True
# Every Windows program imports kernel32: a list without it means the import table was not read at all.
if "kernel32.dll" not in imports:
    print("no import table read (kernel32.dll missing)")
    ok = False
if foreign:
    print("non-system DLLs imported:", ", ".join(foreign))
    ok = False
if flags & HARDENED != HARDENED:
    print("missing hardening flags 0x%04x" % (HARDENED & ~flags))
    ok = False
if pe.OPTIONAL_HEADER.Subsystem != 2:
    print("not a GUI subsystem executable")
    ok = False
sys.exit(0 if ok else 1)
