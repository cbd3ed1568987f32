"""bodr, the Blue Obelisk Data Repository (Debian package, MIT): names, atomic
weights, melting and boiling points in K, electron configurations, the space
groups of the elements' crystal structures and the half-lives of the isotopes of
the elements without a stable one."""

import os
import shutil
import xml.etree.ElementTree as ET
from collections import namedtuple
from decimal import Decimal

from ..fields import LAST_ELEMENT
from .extracts import package_version, read_csv, write_csv

FOLDER = "bodr"
CML = "{http://www.xml-cml.org/schema}"

Tables = namedtuple("Tables", "elements space_groups half_lives")


def read(sources):
    """Tables: elements by Z, space groups by symbol, and half-lives in seconds
    by Z and mass number."""
    folder = os.path.join(sources, FOLDER)
    elements = {int(r["Z"]): r for r in read_csv(os.path.join(folder, "elements.csv"))}
    groups = {r["symbol"]: int(r["spacegroup"])
              for r in read_csv(os.path.join(folder, "spacegroups.csv"))}
    seconds = {"siUnits:s": Decimal(1), "units:y": Decimal("31557600")}
    half_lives = {}
    for r in read_csv(os.path.join(folder, "halflives.csv")):
        half_lives.setdefault(int(r["Z"]), {})[r["mass"]] = (Decimal(r["halflife"])
                                                            * seconds[r["units"]])
    return Tables(elements, groups, half_lives)


def refresh(dest, inputs):
    rows = _refresh_elements(dest)
    _refresh_space_groups(dest)
    _refresh_half_lives(dest, {int(r[0]) for r in rows if r[3] and "." not in r[3]})
    shutil.copyfile("/usr/share/doc/bodr/copyright", os.path.join(dest, "copyright"))
    return package_version("bodr")


def _refresh_elements(dest):
    rows = []
    for atom in ET.parse("/usr/share/bodr/elements.xml").getroot().iter(CML + "atom"):
        v = {n.get("dictRef"): (n.text if n.text is not None else n.get("value")) for n in atom}
        if "bo:atomicNumber" in v and 1 <= int(v["bo:atomicNumber"]) <= LAST_ELEMENT:
            rows.append([v["bo:atomicNumber"], v.get("bo:symbol", ""), v.get("bo:name", ""),
                         v.get("bo:mass", ""), v.get("bo:meltingpoint", ""),
                         v.get("bo:boilingpoint", ""), v.get("bo:electronicConfiguration", "")])
    rows.sort(key=lambda r: int(r[0]))
    write_csv(os.path.join(dest, "elements.csv"), ["Z", "symbol", "name", "mass", "meltingpoint",
                                                   "boilingpoint", "electronicConfiguration"], rows)
    return rows


def _refresh_space_groups(dest):
    groups = []
    for molecule in ET.parse("/usr/share/bodr/crystalstructures.xml").getroot().iter(
            CML + "molecule"):
        symbols = {a.get("elementType") for a in molecule.iter(CML + "atom")}
        numbers = [x.get("spaceGroup") for x in molecule.iter(CML + "symmetry")]
        if len(symbols) == 1 and len(numbers) == 1:
            groups.append([symbols.pop(), numbers[0]])
    write_csv(os.path.join(dest, "spacegroups.csv"), ["symbol", "spacegroup"], sorted(groups))


def _refresh_half_lives(dest, radioactive):
    """The half-lives of the isotopes of the elements in `radioactive` (Z), those
    whose weight is a mass number."""
    lives = []
    for isotope in ET.parse("/usr/share/bodr/isotopes.xml").getroot().iter(CML + "isotope"):
        z = life = None
        for node in isotope:
            if node.get("dictRef") == "bo:atomicNumber":
                z = int(node.text)
            elif node.get("dictRef") == "bo:halfLife":
                life = (node.text.strip(), node.get("units"))
        if z in radioactive and life is not None:
            lives.append([z, isotope.get("number"), life[0], life[1]])
    write_csv(os.path.join(dest, "halflives.csv"), ["Z", "mass", "halflife", "units"],
              sorted(lives, key=lambda r: (r[0], int(r[1]))))
