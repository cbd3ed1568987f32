"""Reading and writing the files of an extract, for the modules of the sources."""

import csv
import json
import os
import re
import shutil
import subprocess
import sys


def read_csv(path, delimiter=","):
    with open(path, encoding="utf-8", newline="") as f:
        return list(csv.DictReader(f, delimiter=delimiter))


def read_json(path):
    with open(path, encoding="utf-8") as f:
        return json.load(f)


def write_csv(path, header, rows):
    with open(path, "w", encoding="utf-8", newline="") as f:
        writer = csv.writer(f, lineterminator="\n")
        writer.writerow(header)
        writer.writerows(rows)


def write_json(path, table):
    with open(path, "w", encoding="utf-8") as f:
        json.dump(table, f, ensure_ascii=False, indent=1)
        f.write("\n")


def package_version(name):
    """The version of an installed Debian package; stops the run if there is none."""
    try:
        return subprocess.run(["dpkg-query", "-W", "-f", "${Version}", name], check=True,
                              capture_output=True, text=True).stdout
    except (OSError, subprocess.CalledProcessError):
        sys.exit(f"gather-elements: the Debian package {name} is not installed")


def copy_shared(dest, shared, name, folder, files):
    """Copies `files` of the raw tables in `shared`/`folder` whole into `dest`;
    returns the version: the one in the folder's name, and the git commit that
    the shared README gives for `name`."""
    for file in files:
        shutil.copyfile(os.path.join(shared, folder, file), os.path.join(dest, file))
    with open(os.path.join(shared, "README.md"), encoding="utf-8") as f:
        readme = f.read()
    commit = re.search(rf"`{name}`(?:(?!`).)*?git commit (\w+)", readme, re.S)
    return (folder.split("-", 1)[1] + " " if "-" in folder else "") + (
        f"(commit {commit.group(1)})" if commit else "")


# A decimal number as the sources write it.
NUMBER = r"-?\d+(?:\.\d+)?"
