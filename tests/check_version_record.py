#!/usr/bin/env python3
"""Reads the version record back from built Windows executables.

usage: check_version_record.py VERSION NUMBERS PROGRAM.exe...
e.g.   check_version_record.py 1.00 1,0,0,0 tamrivel.exe tamrivel-cli.exe
"""
import sys

import pefile


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
    return record


def main():
    version, numbers, *programs = sys.argv[1:]
    expected = {
        "FILEVERSION": numbers,
        "PRODUCTVERSION": numbers,
        "041104B0/FileVersion": version,
        "041104B0/ProductVersion": version,
        "041104B0/ProductName": "Tamrivel",
        "041104B0/InternalName": "Tamrivel",
        "Translation": "0x0411 0x04b0",
    }
    failed = False
    for program in programs:
        record = version_record(program)
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
