#!/usr/bin/python3
"""imports_test.py PROGRAM: the 32-bit program as Windows XP's loader sees it.
Its header names XP (5.01) as the oldest Windows it runs on, and each function
it imports is exported by the XP-era system DLLs (the lists in exports/). Read
with pefile from the PE structures, so no tool's way of printing them matters.
"""
import pathlib
import sys

import pefile

EXPORTS = pathlib.Path(__file__).resolve().parent / "exports"
VERSION_FIELDS = ("MajorOperatingSystemVersion", "MinorOperatingSystemVersion",
                  "MajorSubsystemVersion", "MinorSubsystemVersion")
# The program imports some hundred functions: far fewer means the tables were not read.
FEWEST_IMPORTS = 50

failures = []
pe = pefile.PE(sys.argv[1], fast_load=True)
pe.parse_data_directories([pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_IMPORT"]])

for field, wanted in zip(VERSION_FIELDS, (5, 1, 5, 1)):
    value = getattr(pe.OPTIONAL_HEADER, field)
    if value != wanted:
        failures.append(f"{field} is {value}, not {wanted}")

count = 0
for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", []):
    dll = entry.dll.decode("ascii").lower().removesuffix(".dll")
    listed = EXPORTS / f"{dll}.txt"
    if not listed.is_file():
        failures.append(f"imports from {dll}.dll, for which there is no XP-era list")
        continue
    exported = set(listed.read_text().split())
    for function in entry.imports:
        count += 1
        if function.name is None:
            failures.append(f"imports ordinal {function.ordinal} of {dll}.dll, which names nothing")
        elif function.name.decode("ascii") not in exported:
            failures.append(f'{dll}.dll has no export "{function.name.decode("ascii")}" in the XP era')

if count <= FEWEST_IMPORTS:
    failures.append(f"only {count} imports found: the import tables were not read")

print(f"{count} imports checked against the XP-era lists")
for failure in failures:
    print(f"FAIL: {failure}")
if failures:
    sys.exit(f"{len(failures)} check(s) failed")
print("all checks passed")
