#!/usr/bin/env python3
"""Checks that Windows programs import only the DLLs allowed to appear in an import table.

usage: check_imports.py OBJDUMP "dll1;dll2;..." PROGRAM...

The loader resolves an import table before the program runs, searching the program's own
folder first for every DLL that is not a KnownDLL; so the allowed list holds KnownDLLs only
and everything else is delay-loaded (cmake/system_dlls.cmake). Prints each program's table
and fails naming any other DLL.
"""
import re
import subprocess
import sys


def imported_dlls(objdump, program):
    listing = subprocess.run([objdump, "-p", program], check=True, capture_output=True, text=True).stdout
    return sorted({name.lower() for name in re.findall(r"DLL Name: (\S+)", listing)})


def main(arguments):
    if len(arguments) < 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    objdump, allowed_list, programs = arguments[0], arguments[1], arguments[2:]
    allowed = {name.lower() + ".dll" for name in allowed_list.split(";") if name}
    failed = False
    for program in programs:
        dlls = imported_dlls(objdump, program)
        print(f"{program}: {' '.join(dlls)}")
        others = [dll for dll in dlls if dll not in allowed]
        if others:
            print(f"{program} imports DLLs that are not KnownDLLs: {' '.join(others)}", file=sys.stderr)
            failed = True
        if not dlls:
            print(f"{program}: no import table found", file=sys.stderr)
            failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
