#!/usr/bin/env python3
"""Reads the version record, the manifest and the icon back from built
Windows executables, or only the version record from the setup program.

usage: check_version_record.py VERSION NUMBERS PROGRAM.exe...
       check_version_record.py --setup VERSION NUMBERS SETUP.exe
e.g.   check_version_record.py 1.00 1,0,0,0 tamrivel.exe tamrivel-cli.exe tamrivel-check.exe
"""
import os
import sys
import xml.etree.ElementTree as ElementTree

import pefile

ASM_V1 = "{urn:schemas-microsoft-com:asm.v1}"
ASM_V3 = "{urn:schemas-microsoft-com:asm.v3}"
COMPATIBILITY = "{urn:schemas-microsoft-com:compatibility.v1}"
SETTINGS_2005 = "{http://schemas.microsoft.com/SMI/2005/WindowsSettings}"
SETTINGS_2016 = "{http://schemas.microsoft.com/SMI/2016/WindowsSettings}"


def version_record(path):
    pe = pefile.PE(path, fast_load=True)
    pe.parse_data_directories([pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
    fixed = pe.VS_FIXEDFILEINFO[0]
    numbers = lambda ms, ls: ",".join(str(n) for n in (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF))
    record = {
        "FILEVERSION": numbers(fixed.FileVersionMS, fixed.FileVersionLS),
        "PRODUCTVERSION": numbers(fixed.ProductVersionMS, fixed.ProductVersionLS),
    }
    for info in pe.FileInfo[0]:
        if info.Key == b"StringFileInfo":
            for table in info.StringTable:
                for key, value in table.entries.items():
                    record[f"{table.LangID.decode().upper()}/{key.decode()}"] = value.decode()
        elif info.Key == b"VarFileInfo":
            for var in info.Var:
                record.update({key.decode(): value for key, value in var.entry.items()})
    return record, pe


def resources(pe, kind):
    entries = [e for e in pe.DIRECTORY_ENTRY_RESOURCE.entries if e.id == pefile.RESOURCE_TYPE[kind]]
    return [pe.get_data(lang.data.struct.OffsetToData, lang.data.struct.Size)
            for e in entries for name in e.directory.entries for lang in name.directory.entries]


def icon_group_names(pe):
    """The names Qt for Windows and Explorer look icons up by."""
    return [str(name.name) if name.name is not None else f"#{name.id}"
            for e in pe.DIRECTORY_ENTRY_RESOURCE.entries if e.id == pefile.RESOURCE_TYPE["RT_GROUP_ICON"]
            for name in e.directory.entries]


def manifest_facts(pe):
    """What Windows reads from the manifest, and how many icons Explorer finds."""
    texts = resources(pe, "RT_MANIFEST")
    if len(texts) != 1:
        return {"manifests": len(texts)}
    root = ElementTree.fromstring(texts[0])
    settings = f"{ASM_V3}application/{ASM_V3}windowsSettings/"
    return {
        "supportedOS": " ".join(e.get("Id") for e in root.iter(f"{COMPATIBILITY}supportedOS")),
        "dpiAware": root.findtext(f"{settings}{SETTINGS_2005}dpiAware"),
        "dpiAwareness": root.findtext(f"{settings}{SETTINGS_2016}dpiAwareness"),
        "longPathAware": root.findtext(f"{settings}{SETTINGS_2016}longPathAware"),
        "dependency": " ".join(f"{a.get('name')} {a.get('version')}" for a in root.iter(f"{ASM_V1}assemblyIdentity")),
        "icon groups": " ".join(icon_group_names(pe)),
    }


def expected_record(version, numbers, table):
    """The record every executable shares, in the string table named by
    language and code page, which Translation points Windows to."""
    strings = {
        "FileVersion": version,
        "ProductVersion": version,
        "ProductName": "Tamrivel",
        "CompanyName": "Tamrivel",
        "LegalCopyright": "© 2026 Tamrivel",
    }
    record = {f"{table}/{key}": value for key, value in strings.items()}
    record.update({
        "FILEVERSION": numbers,
        "PRODUCTVERSION": numbers,
        "Translation": f"0x{table[:4].lower()} 0x{table[4:].lower()}",
    })
    return record


# Each program is known by its own internal name; the setup program and the
# window and the companion by the product's.
INTERNAL_NAMES = {"tamrivel-check.exe": "TamrivelCheck"}


# What Windows reads from a program's manifest, and the name of its icon.
PROGRAM_FACTS = {
    # Windows 10 and 11 share one identifier.
    "supportedOS": "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",
    "dpiAware": "true/pm",
    "dpiAwareness": "PerMonitorV2",
    "longPathAware": "true",
    "dependency": "Microsoft.Windows.Common-Controls 6.0.0.0",
    # Qt takes a window's own icon from this name alone.
    "icon groups": "IDI_ICON1",
}


def main():
    arguments = sys.argv[1:]
    setup = arguments[0] == "--setup"
    version, numbers, *programs = arguments[setup:]
    # The programs' strings are Japanese in Unicode; NSIS labels the setup
    # program's with Japanese Windows' ANSI code page, 932, though it stores
    # them in UTF-16 as any version record. NSIS gives the uninstaller the
    # setup program's record, so that names no file.
    table = "041103A4" if setup else "041104B0"
    failed = False
    for program in programs:
        record, pe = version_record(program)
        expected = expected_record(version, numbers, table)
        if not setup:
            record.update(manifest_facts(pe))
            expected.update(PROGRAM_FACTS)
            expected[f"{table}/OriginalFilename"] = os.path.basename(program)
        expected[f"{table}/InternalName"] = INTERNAL_NAMES.get(os.path.basename(program), "Tamrivel")
        print(program)
        for key, value in sorted(record.items()):
            print(f"  {key} = {value}")
        for key, value in expected.items():
            if record.get(key) != value:
                print(f"  wrong: {key} is {record.get(key)!r}, not {value!r}")
                failed = True
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
