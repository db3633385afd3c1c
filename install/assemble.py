#!/usr/bin/python3
"""Assembles the install folder: assemble.py DESTINATION SKINS_SOURCE STR_INI_SOURCE PROGRAM...

Copies the programs (Ombrisk.exe, ombriskctl.exe) and every skin folder's PNG files, writes
config.bin as 1986 zero bytes, str.ini as UTF-16LE with a byte-order mark and CRLF line ends
(the system's profile functions keep non-ASCII texts only in that form) and an empty
record.ini. Existing user files in the destination are replaced: the folder is what a fresh
install holds.
"""
import os
import shutil
import sys

CONFIG_SIZE = 1986


def main(destination, skins_source, str_ini_source, *programs):
    if not programs:
        sys.exit(__doc__)
    os.makedirs(destination, exist_ok=True)
    for program in programs:
        shutil.copy2(program, os.path.join(destination, os.path.basename(program)))
    skins = os.path.join(destination, "Skins")
    shutil.rmtree(skins, ignore_errors=True)
    for name in sorted(os.listdir(skins_source)):
        source = os.path.join(skins_source, name)
        if not os.path.isdir(source):
            continue
        os.makedirs(os.path.join(skins, name))
        for file in sorted(os.listdir(source)):
            if file.endswith(".png"):
                shutil.copy2(os.path.join(source, file), os.path.join(skins, name, file))
    with open(os.path.join(destination, "config.bin"), "wb") as out:
        out.write(bytes(CONFIG_SIZE))
    with open(str_ini_source, encoding="utf-8") as source:
        text = source.read().replace("\r\n", "\n").replace("\n", "\r\n")
    with open(os.path.join(destination, "str.ini"), "wb") as out:
        out.write(b"\xff\xfe" + text.encode("utf-16-le"))
    open(os.path.join(destination, "record.ini"), "wb").close()


if __name__ == "__main__":
    if len(sys.argv) < 5:
        sys.exit(__doc__)
    main(*sys.argv[1:])
