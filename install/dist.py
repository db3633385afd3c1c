#!/usr/bin/python3
"""The distribution of the install folder: the stage of the installer and the portable zip.

dist.py stage INSTALL_FOLDER STAGE_FOLDER LISTS_FOLDER STRIP
    Copies the install folder to STAGE_FOLDER with the programs stripped of their debugging
    information (STRIP is the cross tree's strip), and writes the installer's file lists into
    LISTS_FOLDER: install_files.nsh (the program files) and uninstall_files.nsh (removing
    exactly those, and the skin folders only when nothing else is left in them, so a skin the
    user added stays). The user's files (config.bin, str.ini, record.ini) are in neither list:
    the installer puts them in place only where they are missing.
dist.py zip STAGE_FOLDER README ZIP_FILE
    The portable zip: the stage as the folder "Ombrisk", with README as "Ombrisk/README.txt"
    (CRLF line ends, for Notepad).
"""
import os
import shutil
import subprocess
import sys
import zipfile

USER_FILES = {"config.bin", "str.ini", "record.ini"}


def program_files(stage):
    """The files of the stage that are the program's, relative, folders before their files."""
    found = []
    for folder, dirs, files in os.walk(stage):
        dirs.sort()
        relative = os.path.relpath(folder, stage)
        for name in sorted(files):
            path = name if relative == "." else os.path.join(relative, name)
            if path not in USER_FILES:
                found.append(path)
    return found


def nsis_path(relative):
    return relative.replace("/", "\\")


def stage(install_folder, stage_folder, lists_folder, strip):
    shutil.rmtree(stage_folder, ignore_errors=True)
    shutil.copytree(install_folder, stage_folder)
    for name in os.listdir(stage_folder):
        if name.lower().endswith(".exe"):
            subprocess.run([strip, "--strip-debug", os.path.join(stage_folder, name)], check=True)
    files = program_files(stage_folder)
    os.makedirs(lists_folder, exist_ok=True)
    with open(os.path.join(lists_folder, "install_files.nsh"), "w", encoding="utf-8") as out:
        out.write("; Written by install/dist.py: the program files of the stage.\n")
        current = None
        for relative in files:
            folder = os.path.dirname(relative)
            if folder != current:
                out.write(f'SetOutPath "$INSTDIR{"" if not folder else chr(92) + nsis_path(folder)}"\n')
                current = folder
            out.write(f'File "{os.path.abspath(os.path.join(stage_folder, relative))}"\n')
        out.write('SetOutPath "$INSTDIR"\n')
    with open(os.path.join(lists_folder, "uninstall_files.nsh"), "w", encoding="utf-8") as out:
        out.write("; Written by install/dist.py: removes the program files of the stage.\n")
        folders = set()
        for relative in files:
            out.write(f'Delete "$INSTDIR\\{nsis_path(relative)}"\n')
            folder = os.path.dirname(relative)
            while folder:
                folders.add(folder)
                folder = os.path.dirname(folder)
        for folder in sorted(folders, key=lambda f: (-f.count("/"), f)):
            out.write(f'RMDir "$INSTDIR\\{nsis_path(folder)}"\n')


def make_zip(stage_folder, readme, zip_file):
    with open(readme, encoding="utf-8") as source:
        text = source.read().replace("\r\n", "\n").replace("\n", "\r\n")
    partial = zip_file + ".part"
    with zipfile.ZipFile(partial, "w", zipfile.ZIP_DEFLATED) as archive:
        for folder, dirs, files in os.walk(stage_folder):
            dirs.sort()
            for name in sorted(files):
                path = os.path.join(folder, name)
                archive.write(path, os.path.join("Ombrisk", os.path.relpath(path, stage_folder)))
        archive.writestr("Ombrisk/README.txt", text)
    os.replace(partial, zip_file)


if __name__ == "__main__":
    if len(sys.argv) == 6 and sys.argv[1] == "stage":
        stage(*sys.argv[2:])
    elif len(sys.argv) == 5 and sys.argv[1] == "zip":
        make_zip(*sys.argv[2:])
    else:
        sys.exit(__doc__)
