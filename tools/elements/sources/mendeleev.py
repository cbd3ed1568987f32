"""mendeleev 1.1.0 (MIT): its elements, phase-transition and property-metadata
tables, copied whole from the raw tables in ../shared/data-sources/. Floats as
stored; temperatures in K."""

import os
import re
from collections import namedtuple

from ..fields import LAST_ELEMENT, SHOWN_FORMS
from ..units import float_text, to_decimal
from . import periodic_table_js
from .extracts import copy_shared, read_csv

FOLDER = "mendeleev"
FILES = ["elements.csv", "phasetransitions.csv", "propertymetadata.csv", "LICENSE"]

Tables = namedtuple("Tables", "elements transitions theoretical")


def read(sources):
    """Tables: elements by Z, phase-transition rows by Z, and the names whose
    density mendeleev's metadata calls a theoretical estimate."""
    folder = os.path.join(sources, FOLDER)
    elements = {int(r["atomic_number"]): r for r in read_csv(os.path.join(folder, "elements.csv"))}
    transitions = {}
    for r in read_csv(os.path.join(folder, "phasetransitions.csv")):
        transitions.setdefault(int(r["atomic_number"]), []).append(r)
    theoretical = set()
    for r in read_csv(os.path.join(folder, "propertymetadata.csv")):
        if r["table_name"] == "elements" and r["column_name"] == "density":
            notes = r["annotations"].split("theoretical estimates", 1)
            if len(notes) == 2:
                theoretical = set(re.findall(r"^- (\w+)\s*$", notes[1], re.M))
    if not theoretical:
        raise ValueError("mendeleev's density annotation names no theoretical estimates")
    return Tables(elements, transitions, theoretical)


def phase_row(z, rows):
    """The phase-transition row of element z that describes it: the rows whose
    melting point is a transition between solid forms are left out, and of
    several forms the one of SHOWN_FORMS is taken."""
    rows = [r for r in rows if r["is_transition"] != "1"]
    if len(rows) > 1:
        rows = [r for r in rows if r["allotrope"] in SHOWN_FORMS.get(z, ())]
    if len(rows) != 1:
        raise ValueError(f"Z={z}: no single phase-transition row in mendeleev")
    return rows[0]


def check_copied_columns(mendeleev, ptjs):
    """mendeleev's uncited heats and thermal conductivities are periodic-table.js'
    numbers without its marks: every one of them is there. Returns how many,
    and fails on one that is not, so that a refresh that breaks this is noticed."""
    pairs = {"evaporation_heat": "evaporation_heat_kJ_mol", "fusion_heat": "fusion_heat_kJ_mol",
             "thermal_conductivity": "thermal_conductivity_25C_W_m_K"}
    equal = 0
    for z in range(1, LAST_ELEMENT + 1):
        for mkey, pkey in pairs.items():
            text = mendeleev.get(z, {}).get(mkey, "")
            parsed = periodic_table_js.parse_value(ptjs.get(z, {}).get(pkey))
            if not text:
                continue  # periodic-table.js alone has it (or neither)
            if not parsed or to_decimal(float_text(text)) != to_decimal(parsed[0]):
                raise ValueError(f"Z={z} mendeleev {mkey} {text!r} is not periodic-table.js' "
                                 f"{ptjs.get(z, {}).get(pkey)!r}")
            equal += 1
    return equal


def refresh(dest, inputs):
    return copy_shared(dest, inputs["shared"], "mendeleev", "mendeleev-1.1.0", FILES)
