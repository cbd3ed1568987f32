"""@exabyte-io/periodic-table.js 2.0.5 (npm registry, Apache-2.0): GPeriodic's
table, with its own notation of marked values."""

import json
import os
import re
import shutil
import subprocess
import sys
import tarfile
import tempfile

from ..fields import APPROXIMATE, LAST_ELEMENT
from ..units import float_text
from .extracts import NUMBER, read_json, write_json

FOLDER = "periodic-table.js"
PACKAGE = "@exabyte-io/periodic-table.js"
VERSION = "2.0.5"
KEYS = ["atomic_number", "symbol", "atomic_weight", "melting_point_K", "boiling_point_K",
        "density_g_per_cm3", "atomic_volume_cm3_per_mol", "specific_heat_J_g_mol",
        "evaporation_heat_kJ_mol", "fusion_heat_kJ_mol", "thermal_conductivity_25C_W_m_K"]


def read(sources):
    """The entries by Z."""
    table = read_json(os.path.join(sources, FOLDER, "periodic-table.json"))
    return {entry["atomic_number"]: entry for entry in table.values()}


def parse_value(raw):
    """A value of periodic-table.js -> (number text, flag, note), or None.
    Its notation: "-", "n/a" or "" is no value; a number in parentheses
    ("(102.9)") or after "~" ("~340") is an estimate or approximation; a note
    in parentheses after the number tells the form ("2.25 (graphite)"), the
    molecule the value is per mole of ("0.904 (H-H)") or, starting with "@",
    the temperature of a density ("0.0708 (@ -253°C)": the liquid's)."""
    if raw is None or isinstance(raw, bool):
        return None
    if isinstance(raw, (int, float)):
        return float_text(repr(raw)), None, ""
    if isinstance(raw, list) and len(raw) == 1 and isinstance(raw[0], int):
        return str(raw[0]), None, "mass number"  # an atomic weight written [261]
    if not isinstance(raw, str):
        return None
    text = raw.strip()
    match = re.fullmatch(rf"\(({NUMBER})\)|~\s*({NUMBER})", text)
    if match:
        return match.group(1) or match.group(2), APPROXIMATE, ""
    match = re.fullmatch(rf"({NUMBER})\s*(?:\((.*)\))?", text)
    if match:
        return match.group(1), None, (match.group(2) or "").strip()
    return None


def refresh(dest, inputs):
    """Cuts the table of the package's tarball: `inputs["tarball"]`, else the one
    that npm pack makes in a temporary folder."""
    tarball = inputs["tarball"]
    with tempfile.TemporaryDirectory() as tmp:
        if tarball is None:
            subprocess.run(["npm", "pack", f"{PACKAGE}@{VERSION}"], cwd=tmp, check=True,
                           stdout=subprocess.DEVNULL)
            tarball = os.path.join(tmp, [n for n in os.listdir(tmp) if n.endswith(".tgz")][0])
        with tarfile.open(tarball) as tar:
            def member(name):
                return tar.extractfile(f"package/{name}").read().decode("utf-8")
            meta = json.loads(member("package.json"))
            if meta["version"] != VERSION or meta["license"] != "Apache-2.0":
                sys.exit(f"gather-elements: {tarball} is {meta['version']}, {meta['license']}")
            table = json.loads(member("periodic-table.json"))
            for name in ("LICENSE.md", "README.md"):
                with open(os.path.join(dest, name), "w", encoding="utf-8") as f:
                    f.write(member(name))
    cut = {name: {k: entry[k] for k in KEYS if k in entry}
           for name, entry in sorted(table.items(), key=lambda i: i[1]["atomic_number"])
           if 1 <= entry["atomic_number"] <= LAST_ELEMENT}
    write_json(os.path.join(dest, "periodic-table.json"), cut)
    # The package points to the Apache License 2.0 without its text and has no
    # NOTICE file; the licence text is Debian's copy.
    shutil.copyfile("/usr/share/common-licenses/Apache-2.0", os.path.join(dest, "LICENSE-2.0.txt"))
    return VERSION
