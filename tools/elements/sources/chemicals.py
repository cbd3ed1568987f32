"""chemicals (MIT): three of its tables of the CRC Handbook, 95th ed. (heat of
fusion, heat of vaporization, standard thermodynamic properties), copied whole
from the raw tables in ../shared/data-sources/. Heats in J/mol, per mole of the
formula the handbook gives."""

import os
import re

from ..fields import DIATOMIC
from ..units import shift_decimal
from .extracts import copy_shared, read_csv

FOLDER = "chemicals"
TABLES = ("heat-of-fusion", "heat-of-vaporization", "standard-thermodynamic-properties")
FILES = [f"crc-{name}.tsv" for name in TABLES] + ["LICENSE.txt"]


def read(sources):
    """The rows of each table, by the table's name."""
    folder = os.path.join(sources, FOLDER)
    return {name: read_csv(os.path.join(folder, f"crc-{name}.tsv"), "\t") for name in TABLES}


def by_element(chemicals, mendeleev):
    """chemicals' rows by Z: {table: [(form, row)]}. A row belongs to an element
    by its CAS number (mendeleev's, and graphite's 7782-42-5 for carbon); its
    form is the word in parentheses after the name ("Tin (white)")."""
    cas = {r["cas"]: z for z, r in mendeleev.items()}
    cas["7782-42-5"] = 6  # graphite
    names = {z: r["name"] for z, r in mendeleev.items()}
    rows = {}
    for table, entries in chemicals.items():
        for r in entries:
            z = cas.get(r["CAS"])
            if z is None:
                continue  # atomic forms (H, N, ... as atoms), P4 gas
            match = re.fullmatch(r"(.*?)\s*(?:\((.*)\))?", r["Chemical"])
            if match.group(1) != names[z]:
                raise ValueError(f"chemicals: {r['CAS']} is {r['Chemical']}, not {names[z]}")
            if "Formula" in r:
                diatomic = re.fullmatch(r"[A-Z][a-z]?2", r["Formula"]) is not None
                if diatomic != (z in DIATOMIC):
                    raise ValueError(f"chemicals: {r['Formula']} against the diatomic elements")
            rows.setdefault(z, {}).setdefault(table, []).append((match.group(2) or "", r))
    return rows


def standard_state_heat_capacity(row):
    """The heat capacity of the phase (s, l or g) whose heat of formation is
    0, the standard state, from a row of the CRC standard thermodynamic
    properties table; None when that phase has none."""
    for phase in ("s", "l", "g"):
        if row.get(f"Hf{phase}", "").strip() == "0":
            return row.get(f"Cp{phase}", "").strip() or None
    return None


def sublimation_heat(rows):
    """The heat of sublimation at 25 C in kJ/mol of an element whose standard
    state is the solid: the heat of formation of its gas, from its rows of the
    CRC standard thermodynamic properties table ([(form, row)]); None otherwise."""
    for _, r in rows:
        if r.get("Hfs", "").strip() == "0" and r.get("Hfg", "").strip():
            return shift_decimal(r["Hfg"].strip(), -3)
    return None


def solid_standard_state(rows):
    """Whether the handbook's standard state of the element is the solid, from
    its rows of the standard thermodynamic properties table."""
    return any(r.get("Hfs", "").strip() == "0" for _, r in rows)


def refresh(dest, inputs):
    return copy_shared(dest, inputs["shared"], "chemicals", "chemicals", FILES)
