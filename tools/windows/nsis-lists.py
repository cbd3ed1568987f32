#!/usr/bin/env python3
"""Writes the installer's file lists for the folder STAGE:

    nsis-lists.py STAGE INSTALL.nsh UNINSTALL.nsh

INSTALL.nsh puts every file of STAGE but the data file and its backup into the
same place under $INSTDIR; UNINSTALL.nsh removes those files one by one and
then each of their folders below $INSTDIR that this leaves empty."""
import os
import sys

DATA = {"period.bio", "period.bak"}


def main():
    stage, install, uninstall = sys.argv[1:4]
    files = []
    for folder, _, names in os.walk(stage):
        relative = os.path.relpath(folder, stage)
        for name in names:
            if relative == "." and name in DATA:
                continue
            files.append(("" if relative == "." else relative.replace(os.sep, "\\"), name))
    files.sort()
    folders = sorted({folder for folder, _ in files})

    def windows(folder, name=None):
        parts = ["$INSTDIR"] + ([folder] if folder else []) + ([name] if name else [])
        return "\\".join(parts)

    with open(install, "w") as out:
        for folder in folders:
            out.write(f'SetOutPath "{windows(folder)}"\n')
            for name in (n for f, n in files if f == folder):
                source = os.path.join(stage, folder.replace("\\", "/"), name)
                out.write(f'File "{os.path.abspath(source)}"\n')
    with open(uninstall, "w") as out:
        for folder, name in files:
            out.write(f'Delete "{windows(folder, name)}"\n')
        for folder in sorted(folders, key=lambda f: f.count("\\"), reverse=True):
            if folder:
                out.write(f'RMDir "{windows(folder)}"\n')


if __name__ == "__main__":
    main()
