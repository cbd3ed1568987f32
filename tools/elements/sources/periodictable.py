"""python3-periodictable (Debian package, public domain): mass, density with its
caveat, and crystal symmetry of each element of the periodictable module."""

import os
import shutil
import sys

from ..fields import APPROXIMATE, ESTIMATE, LAST_ELEMENT
from .extracts import package_version, read_csv, write_csv

FOLDER = "periodictable"

# Its symmetry names spelt out.
SYMMETRY_NAMES = {
    "BCC": "Body-centred cubic", "fcc": "Face-centred cubic", "SC": "Simple cubic",
    "hcp": "Hexagonal close-packed", "Diamond": "Diamond cubic", "Cubic": "Cubic",
    "Tetragonal": "Tetragonal", "Orthorhombic": "Orthorhombic",
    "Rhombohedral": "Rhombohedral", "Monoclinic": "Monoclinic",
}
# Its "atom" and "diatom" describe the molecule, not a crystal.
MOLECULE_SYMMETRIES = {"atom", "diatom"}


def read(sources):
    """The rows by Z."""
    return {int(r["Z"]): r for r in read_csv(os.path.join(sources, FOLDER, "elements.csv"))}


def density_flag(caveat):
    """The mark that a density caveat puts on the density."""
    caveat = caveat.lower()
    return (ESTIMATE if "estimat" in caveat else
            APPROXIMATE if ("approx" in caveat or "unavailable" in caveat) else None)


def refresh(dest, inputs):
    try:
        import periodictable
    except ImportError:
        sys.exit("gather-elements: python3-periodictable is not importable (run with /usr/bin/python3)")
    rows = []
    for el in periodictable.elements:
        if 1 <= el.number <= LAST_ELEMENT:
            rows.append([el.number, el.symbol, "" if el.mass is None else repr(el.mass),
                         "" if el.density is None else repr(el.density),
                         el.density_caveat or "",
                         (getattr(el, "crystal_structure", None) or {}).get("symmetry", "")])
    write_csv(os.path.join(dest, "elements.csv"),
              ["Z", "symbol", "mass", "density", "density_caveat", "crystal_symmetry"], rows)
    shutil.copyfile("/usr/share/doc/python3-periodictable/copyright", os.path.join(dest, "copyright"))
    return package_version("python3-periodictable")
