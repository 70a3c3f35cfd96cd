#!/usr/bin/env python3
"""Checks one cross-built Windows deliverable and prints what it found.
Depends on: pefile (python3-pefile).

usage: pe_check.py PROGRAM.exe PROGRAM

A deliverable is a 32-bit x86 console program with the shared icon (16, 32, 48 and 256 pixels),
a version resource naming it, a manifest asking for the caller's execution level without UI
access, and no DLL imports beyond the system's own (the runtime is linked in statically).
"""
import os
import struct
import sys
import xml.etree.ElementTree as ElementTree

import pefile

ICON_SIZES = {16, 32, 48, 256}
SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll", "ole32.dll",
    "oleaut32.dll", "ws2_32.dll", "ntdll.dll", "msvcrt.dll", "ucrtbase.dll", "bcrypt.dll",
}
PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def resources(pe, type_id):
    """{resource id: data} for every resource of the given type, first language of each."""
    found = {}
    if not hasattr(pe, "DIRECTORY_ENTRY_RESOURCE"):
        return found
    for type_entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if type_entry.id != type_id:
            continue
        for name_entry in type_entry.directory.entries:
            language = name_entry.directory.entries[0]
            found[name_entry.id] = pe.get_data(language.data.struct.OffsetToData,
                                               language.data.struct.Size)
    return found


def image_side(data):
    """The pixel width and height stored in one icon image (PNG or a doubled-height DIB)."""
    if data.startswith(PNG_SIGNATURE):
        return struct.unpack(">II", data[16:24])
    width, doubled_height = struct.unpack("<ii", data[4:12])
    return width, doubled_height // 2


def check_icons(pe, problems):
    groups = resources(pe, pefile.RESOURCE_TYPE["RT_GROUP_ICON"])
    images = resources(pe, pefile.RESOURCE_TYPE["RT_ICON"])
    if len(groups) != 1:
        problems.append(f"expected one icon group, found {len(groups)}")
        return []
    group = next(iter(groups.values()))
    _, kind, count = struct.unpack("<HHH", group[:6])
    sides = []
    for index in range(count):
        width, height, _, _, _, _, size, image_id = struct.unpack(
            "<BBBBHHIH", group[6 + 14 * index:20 + 14 * index])
        side = width or 256
        sides.append(side)
        if (height or 256) != side:
            problems.append(f"icon entry {index} is not square")
        image = images.get(image_id)
        if image is None or len(image) != size:
            problems.append(f"icon entry {index} ({side} px) has no image of the stated size")
        elif image_side(image) != (side, side):
            problems.append(f"icon entry {index} claims {side} px, its image is "
                            f"{image_side(image)}")
    if kind != 1 or set(sides) != ICON_SIZES or len(sides) != len(ICON_SIZES):
        problems.append(f"icon group holds {sorted(sides)}, expected {sorted(ICON_SIZES)}")
    return sorted(sides)


def check_version(pe, program, problems):
    strings = {}
    for info_list in getattr(pe, "FileInfo", []):
        for info in info_list:
            if getattr(info, "Key", b"") == b"StringFileInfo":
                for table in info.StringTable:
                    strings.update({k.decode(): v.decode() for k, v in table.entries.items()})
    expected = {"ProductName": program, "FileDescription": program, "InternalName": program,
                "OriginalFilename": program + ".exe"}
    for key, value in expected.items():
        if strings.get(key) != value:
            problems.append(f"version string {key} is {strings.get(key)!r}, expected {value!r}")
    return {key: strings.get(key) for key in expected}


def check_manifest(pe, problems):
    manifests = resources(pe, pefile.RESOURCE_TYPE["RT_MANIFEST"])
    if len(manifests) != 1:
        problems.append(f"expected one manifest, found {len(manifests)}")
        return None
    root = ElementTree.fromstring(next(iter(manifests.values())))
    levels = [e for e in root.iter() if e.tag.endswith("}requestedExecutionLevel")]
    if len(levels) != 1:
        problems.append("the manifest requests no single execution level")
        return None
    level, ui_access = levels[0].get("level"), levels[0].get("uiAccess")
    if (level, ui_access) != ("asInvoker", "false"):
        problems.append(f"manifest requests level={level!r} uiAccess={ui_access!r}")
    return level, ui_access


def check_imports(pe, problems):
    names = [entry.dll.decode() for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", [])]
    for name in names:
        lower = name.lower()
        if lower not in SYSTEM_DLLS and not lower.startswith(("api-ms-win-", "ext-ms-win-")):
            problems.append(f"imports {name}, which Windows does not provide")
    return names


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: pe_check.py PROGRAM.exe PROGRAM")
    path, program = sys.argv[1], sys.argv[2]
    if not os.path.isfile(path):
        sys.exit(f"{path} is missing: tools/windows_build.sh builds the Windows programs")
    pe = pefile.PE(path)
    problems = []
    if pe.FILE_HEADER.Machine != pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"]:
        problems.append(f"machine is {pe.FILE_HEADER.Machine:#x}, expected i386")
    if pe.OPTIONAL_HEADER.Subsystem != pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_CUI"]:
        problems.append(f"subsystem is {pe.OPTIONAL_HEADER.Subsystem}, expected console")
    icons = check_icons(pe, problems)
    version = check_version(pe, program, problems)
    manifest = check_manifest(pe, problems)
    imports = check_imports(pe, problems)
    print(f"{path}: machine {pe.FILE_HEADER.Machine:#x}, subsystem "
          f"{pe.OPTIONAL_HEADER.Subsystem}, icons {icons}, version {version}, "
          f"manifest {manifest}, imports {imports}")
    for problem in problems:
        print(f"FAIL {program}: {problem}")
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
