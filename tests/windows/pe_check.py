#!/usr/bin/env python3
# Checks one cross-built Windows deliverable: a 32-bit x86 console program with the shared icon
# (16, 32, 48 and 256 pixels), a version resource naming it, a manifest asking for the caller's
# execution level without UI access, and no DLL imports beyond the system's own (the runtime is
# linked in statically). Exits 77, which the test suite reports as skipped, when the Windows
# build is absent. Usage: pe_check.py PROGRAM.exe PROGRAM. Depends on: pefile (python3-pefile).
import os
import re
import struct
import sys

import pefile

SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll",
               "msvcrt.dll", "ucrtbase.dll", "ntdll.dll", "bcrypt.dll", "ws2_32.dll"}


def resources(pe, kind):
    # The data of every resource of a type, first language of each, by resource id.
    found = {}
    types = pe.DIRECTORY_ENTRY_RESOURCE.entries if hasattr(pe, "DIRECTORY_ENTRY_RESOURCE") else []
    for type_entry in types:
        if type_entry.id == pefile.RESOURCE_TYPE[kind]:
            for entry in type_entry.directory.entries:
                data = entry.directory.entries[0].data.struct
                found[entry.id] = pe.get_data(data.OffsetToData, data.Size)
    return found


def problems_of(pe, program):
    if pe.FILE_HEADER.Machine != pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"]:
        yield f"machine is {pe.FILE_HEADER.Machine:#x}, expected i386"
    if pe.OPTIONAL_HEADER.Subsystem != pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_CUI"]:
        yield f"subsystem is {pe.OPTIONAL_HEADER.Subsystem}, expected console"
    groups = list(resources(pe, "RT_GROUP_ICON").values())
    images = resources(pe, "RT_ICON")
    entries = [struct.unpack("<BBBBHHIH", groups[0][6 + 14 * i:20 + 14 * i])
               for i in range(struct.unpack("<H", groups[0][4:6])[0])] if len(groups) == 1 else []
    sides = sorted((width or 256) for width, height, *_ in entries if width == height)
    if sides != [16, 32, 48, 256] or any(len(images.get(e[7], b"")) != e[6] for e in entries):
        yield f"icon group holds {sides} (square images of the stated sizes), not 16, 32, 48, 256"
    strings = {}
    for info in (i for infos in getattr(pe, "FileInfo", []) for i in infos):
        for table in getattr(info, "StringTable", []):
            strings.update({k.decode(): v.decode() for k, v in table.entries.items()})
    for key in ("ProductName", "FileDescription", "InternalName", "OriginalFilename"):
        expected = program + ".exe" if key == "OriginalFilename" else program
        if strings.get(key) != expected:
            yield f"version string {key} is {strings.get(key)!r}, expected {expected!r}"
    manifests = b"".join(resources(pe, "RT_MANIFEST").values()).decode(errors="replace")
    levels = re.findall(r"<requestedExecutionLevel\s+([^>]*)>", manifests)
    if len(levels) != 1 or not re.search(r'level="asInvoker"', levels[0]) or not re.search(
            r'uiAccess="false"', levels[0]):
        yield f"the manifest requests {levels}, not asInvoker without UI access"
    for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", []):
        name = entry.dll.decode().lower()
        if name not in SYSTEM_DLLS and not name.startswith(("api-ms-win-", "ext-ms-win-")):
            yield f"imports {name}, which Windows does not provide"


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: pe_check.py PROGRAM.exe PROGRAM")
    path, program = sys.argv[1:]
    if not os.path.isfile(path):
        print(f"skipped: {path} is missing; tools/windows_build.sh builds the Windows programs")
        sys.exit(77)
    problems = list(problems_of(pefile.PE(path), program))
    for problem in problems:
        print(f"FAIL {program}: {problem}")
    print(f"{path}: {'FAILED' if problems else 'a console deliverable as shipped'}")
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
