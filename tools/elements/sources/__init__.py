"""The sources, each read from its extract in data/sources/ (a cut of its raw
table, values as stored, beside its licence file).

Each source is a module here with
    FOLDER             its folder in data/sources/ and its name in VERSIONS
    read(sources)      its tables from the extract in folder `sources`
    refresh(dest, inputs)
                       re-creates the extract in folder `dest` from the installed
                       source; `inputs` holds "tarball" (periodic-table.js' npm
                       tarball, or None) and "shared" (the folder of the raw tables
                       of mendeleev and chemicals); returns the source's version
and is named in EXTRACTS."""

import os
import shutil

from .. import ROOT, SOURCES_DIR
from . import bodr, chemicals, mendeleev, periodic_table_js, periodictable, pymatgen

# In the order of the VERSIONS file.
EXTRACTS = [bodr, pymatgen, periodictable, periodic_table_js, mendeleev, chemicals]


def read_versions(sources):
    versions = {}
    with open(os.path.join(sources, "VERSIONS"), encoding="utf-8") as f:
        for line in f:
            if line.strip() and not line.startswith("#"):
                name, version = line.rstrip("\n").split("\t")[:2]
                versions[name] = version
    return versions


def load_sources(sources=SOURCES_DIR):
    """What read() gives of each extract in folder `sources`, by its FOLDER, and
    the versions of VERSIONS under "versions"."""
    tables = {source.FOLDER: source.read(sources) for source in EXTRACTS}
    tables["versions"] = read_versions(sources)
    return tables


def refresh_extracts(dest, tarball=None, shared=None):
    """Re-creates every extract in `dest` and its VERSIONS file; returns the
    versions by source."""
    shared = shared or os.path.join(ROOT, "..", "shared", "data-sources")
    inputs = {"tarball": tarball, "shared": shared}
    versions = {}
    for source in EXTRACTS:
        folder = os.path.join(dest, source.FOLDER)
        os.makedirs(folder, exist_ok=True)
        versions[source.FOLDER] = source.refresh(folder, inputs)
    shutil.copyfile(os.path.join(shared, "README.md"),
                    os.path.join(dest, "mendeleev-chemicals-README.md"))
    with open(os.path.join(dest, "VERSIONS"), "w", encoding="utf-8") as f:
        f.write("# source\tversion (written by tools/gather-elements.py --refresh-extracts)\n")
        for name, version in versions.items():
            f.write(f"{name}\t{version.strip()}\n")
    return versions
