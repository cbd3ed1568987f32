"""python3-pymatgen (Debian package, MIT): its periodic_table.json, whose
values are texts with their unit ("1811 K") and their marks ("about",
"(estimate)")."""

import html
import importlib.util
import os
import re
import shutil

from ..fields import APPROXIMATE, ESTIMATE, LAST_ELEMENT, Value
from .extracts import NUMBER, package_version, read_json, write_json

FOLDER = "pymatgen"
KEYS = ["Atomic no", "Name", "Atomic mass", "Melting point", "Boiling point",
        "Density of solid", "Molar volume", "Electronic structure", "Oxidation states",
        "Common oxidation states", "Thermal conductivity", "Electrical resistivity"]


def read(sources):
    """The entries by Z."""
    table = read_json(os.path.join(sources, FOLDER, "periodic_table.json"))
    return {entry["Atomic no"]: entry for entry in table.values()}


def parse_value(raw, unit_pattern):
    """A pymatgen property text -> Value, or None for "no data". Only a plain
    number followed by its unit is a value, after an optional note on the form
    ("(white P) 317.3 K"); "about", "maybe" and "(estimate)" mark it, anything
    else ("&gt; 10<sup>12</sup>", "high") is no value."""
    if raw is None:
        return None
    text = html.unescape(re.sub(r"<sup>(.*?)</sup>", r"^\1", str(raw))).strip()
    text = re.sub(r"^\([^)]*\)\s*", "", text)
    flag = None
    if re.search(r"\bestimate\b|\bmaybe\b", text):
        flag = ESTIMATE
    elif re.search(r"\babout\b", text):
        flag = APPROXIMATE
    match = re.match(rf"^(?:maybe\s+)?(?:about\s+)?({NUMBER})\s*(?:\(estimate\))?\s*(?:{unit_pattern})$",
                     text)
    if not match:
        return None
    return Value(match.group(1), flag, "pymatgen")


def refresh(dest, inputs):
    spec = importlib.util.find_spec("pymatgen")
    folder = (list(spec.submodule_search_locations)[0] if spec else
              "/usr/lib/python3/dist-packages/pymatgen")
    table = read_json(os.path.join(folder, "core", "periodic_table.json"))
    cut = {symbol: {k: entry[k] for k in KEYS if k in entry}
           for symbol, entry in sorted(table.items(), key=lambda i: i[1]["Atomic no"])
           if 1 <= entry["Atomic no"] <= LAST_ELEMENT}
    write_json(os.path.join(dest, "periodic_table.json"), cut)
    shutil.copyfile("/usr/share/doc/python3-pymatgen/copyright", os.path.join(dest, "copyright"))
    return package_version("python3-pymatgen")
