#!/usr/bin/env python3
"""Gathers the element values of Orbitra Table into data/elements.csv.

    gather-elements.py                     regenerate data/elements.csv, data/REVIEW.md and
                                           the counts in data/SOURCES.md from data/sources/
    gather-elements.py --refresh-extracts  re-create data/sources/ from the installed sources
    gather-elements.py --self-test         check the conversions, the cross-check rule, and
                                           that data/sources/ gives the committed files

Gathering reads only the extracts in data/sources/ (standard library only, any
Python 3). Each extract is a cut of a raw table of a freely licensed source,
values as stored, beside its licence file:
- bodr (Debian package, MIT), python3-pymatgen (Debian, MIT),
  python3-periodictable (Debian, public domain);
- @exabyte-io/periodic-table.js 2.0.5 (npm registry, Apache-2.0);
- mendeleev 1.1.0 and chemicals (MIT), from the raw tables in
  ../shared/data-sources/.
The refresh step needs those: run it with Debian's /usr/bin/python3 (for
periodictable) after `apt-get install bodr python3-pymatgen python3-periodictable`;
it runs `npm pack` in a temporary folder unless given --npm-tarball.

Rules, applied the same way to every element:
- Per field a stated order of preference (FIELD_ORDER below), with the tables
  that cite the CRC Handbook of Chemistry and Physics first where they have the
  value. The first value not marked in its source is taken.
- A value that its source marks as approximate ("about", "~", a number in
  parentheses in periodic-table.js) is not taken from that source, nor counted
  as a confirmation; the next source in order may supply the quantity.
- A value that a source marks as estimated, tentative or theoretical is never
  taken, and it also keeps out any other source's value for the same element
  and quantity that agrees with it: that value is the same prediction without
  the mark.
- Every numeric value is compared with every other source that has it. It is
  confirmed when a source of another lineage agrees within 2 % of it (within
  5 C for temperatures). mendeleev's heats of fusion and evaporation and its
  thermal conductivities, which cite nothing, are verbatim copies of the table
  that periodic-table.js carries (with its marks): the script checks that and
  uses the marked copy only. Disagreements, unconfirmed values and values not
  taken go to data/REVIEW.md.
- Before any value is chosen, every value of every source goes through the
  physics check (the *_failure functions below): melting point below boiling
  point, heat of fusion below heat of vaporization, a heat of vaporization of a
  solid below its heat of sublimation at 25 C less its heat of fusion, densities
  consistent with the molar mass, molar heat capacities of solid metals in the
  Dulong-Petit range. A value that fails is neither taken nor counted as a
  confirmation; the next source in order that passes supplies the quantity.
- pymatgen rounds its conductivities to two significant digits; where a source
  of another lineage has the same value to more digits, that one is shipped.
- A value picked by hand is an entry in OVERRIDES, which names its reference;
  it can only pick one source's value or none, never a value of our own.
- Conversions keep the source's precision (see the functions below); a value
  that does not fit its field stops the run instead of being cut.
"""

import argparse
import contextlib
import csv
import html
import io
import json
import os
import re
import shutil
import subprocess
import sys
import tarfile
import tempfile
import unittest
from decimal import ROUND_HALF_UP, Decimal

# The fourteen fields of a record: box name and width in characters.
FIELDS = [
    ("cname", 13), ("cAN", 3), ("cAW", 9), ("cMP", 10), ("cBP", 10), ("cDen", 10),
    ("cEC", 20), ("cVE", 25), ("cCS", 25), ("cSH", 10), ("cTC", 10), ("EC", 10),
    ("cHV", 10), ("cHF", 10),
]
WIDTH = dict(FIELDS)
LAST_ELEMENT = 110

# The numeric fields that are cross-checked, with the words and unit of the
# main window.
NUMERIC = {
    "cAW": ("atomic weight", ""), "cMP": ("melting point", "C"), "cBP": ("boiling point", "C"),
    "cDen": ("density", "g/ml"), "cSH": ("specific heat", "J/g-K"),
    "cTC": ("thermal conductivity", "W/cm-K"), "EC": ("electrical conductivity", "10^6/cm-ohm"),
    "cHV": ("heat of vaporization", "kJ/mol"), "cHF": ("heat of fusion", "kJ/mol"),
}
TEMPERATURES = {"cMP", "cBP"}

# Per field, the sources in order of preference; the sources after "|" are
# compared only and never supply a value (see the notes in SOURCES.md).
FIELD_ORDER = {
    "cAW": ["bodr", "|", "pymatgen", "mendeleev", "periodictable", "periodic-table.js"],
    "cMP": ["mendeleev", "pymatgen", "|", "bodr", "periodic-table.js"],
    "cBP": ["mendeleev", "chemicals", "pymatgen", "|", "bodr", "periodic-table.js"],
    "cDen": ["mendeleev", "pymatgen", "periodictable", "periodic-table.js"],
    "cDen gas": ["ideal gas", "|", "mendeleev"],
    "cSH": ["mendeleev", "chemicals", "periodic-table.js"],
    "cTC": ["pymatgen", "periodic-table.js"],
    "EC": ["pymatgen"],
    "cHV": ["chemicals", "periodic-table.js"],
    "cHF": ["chemicals", "periodic-table.js"],
}

APPROXIMATE = "approximate"
ESTIMATE = "estimate"

# Where a source's table comes from, when that is another program's: the table
# of periodic-table.js is GPeriodic's, a periodic-table program (its README
# says so).
# mendeleev's uncited heats and thermal conductivities are the same table
# again (check_copied_columns). --without-gperiodic shows the data without it.
LINEAGES = {"periodic-table.js": "GPeriodic"}
EXCLUDED_LINEAGES = set()

TEMPERATURE_TOLERANCE = Decimal(5)      # C
RELATIVE_TOLERANCE = Decimal("0.02")    # of the chosen value
PHYSICS_TOLERANCE = Decimal("0.02")     # of the value a physics rule compares with

# Fields whose first source rounds its values (pymatgen keeps most conductivities
# to two significant digits): a value of another lineage that rounds to the same
# number and has more digits is shipped instead.
ROUNDED_FIRST_SOURCE = {"cTC": "pymatgen", "EC": "pymatgen"}

# The molar heat capacity of a solid metal at 25 C lies near 3R = 24.9 J/(mol K)
# (Dulong-Petit); a specific heat that gives one outside this range is no
# metal's, unless the element is a known exception.
DULONG_PETIT = (Decimal(20), Decimal(40))   # J/(mol K)
# Exceptions: Z -> (molar heat capacity at 25 C in J/(mol K), reference). A
# specific heat of these must give that value within PHYSICS_TOLERANCE.
MOLAR_HEAT_EXCEPTIONS = {
    4: (Decimal("16.4"), "beryllium's Debye temperature, 1440 K (Kittel, Introduction to Solid "
                         "State Physics, 8th ed., chapter 5, table 1), is far above 25 C, so its "
                         "lattice is not fully excited: CRC Handbook, 95th ed., standard "
                         "thermodynamic properties, Cp 16.4 J/(mol K) (chemicals' "
                         "crc-standard-thermodynamic-properties)"),
}
# The elements that are not metals: the nonmetals, the noble gases and the
# metalloids boron, silicon, germanium, arsenic, antimony, tellurium and astatine.
NOT_METALS = {1, 2, 5, 6, 7, 8, 9, 10, 14, 15, 16, 17, 18, 32, 33, 34, 35, 36, 51, 52, 53, 54,
              85, 86}

# Ideal-gas molar volume at 0 C and 101.325 kPa in ml: R T / p with
# R = 8.314462618 J/(mol K) (exact since 2019), T = 273.15 K, p = 101325 Pa.
MOLAR_VOLUME_ML = Decimal("8.314462618") * Decimal("273.15") / Decimal(101325) * Decimal(10) ** 6

# Elements whose standard state is a diatomic molecule: the CRC tables give
# their heats per mole of the molecule (H2 ... I2), and their gas density is
# that of the molecule. Checked against the formula column of chemicals' tables.
DIATOMIC = {1, 7, 8, 9, 17, 35, 53}

# IUPAC spellings of the names that the sources may give in US spelling.
IUPAC_NAMES = {"Aluminum": "Aluminium", "Cesium": "Caesium", "Sulphur": "Sulfur"}

# The form of an element with allotropes that the data file describes (the
# form of its density, melting and boiling point in the CRC table): a value
# that a source gives for another form is not taken. Sulfur melts as the
# monoclinic form (rhombic sulfur turns monoclinic at 95.2 C), so the
# handbook's heat of fusion of monoclinic sulfur belongs to its melting point.
SHOWN_FORMS = {
    6: {"graphite"}, 15: {"white"}, 16: {"rhombic", "monoclinic"}, 33: {"gray"},
    34: {"gray"}, 50: {"white"}, 51: {"gray"}, 97: {"β form"},
}

# periodictable's symmetry names spelt out.
SYMMETRY_NAMES = {
    "BCC": "Body-centred cubic", "fcc": "Face-centred cubic", "SC": "Simple cubic",
    "hcp": "Hexagonal close-packed", "Diamond": "Diamond cubic", "Cubic": "Cubic",
    "Tetragonal": "Tetragonal", "Orthorhombic": "Orthorhombic",
    "Rhombohedral": "Rhombohedral", "Monoclinic": "Monoclinic",
}
# periodictable's "atom" and "diatom" describe the molecule, not a crystal.
MOLECULE_SYMMETRIES = {"atom", "diatom"}

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
SOURCES_DIR = os.path.join(ROOT, "data", "sources")


# ---------------------------------------------------------------- conversions

def _decimal(text):
    return Decimal(str(text).strip())


def _plain(d):
    """Fixed-point text of a Decimal, never in exponent form."""
    text = format(d, "f")
    return "0" if text in ("-0", "-0.0") else text


def significant_digits(text):
    """Significant digits of a decimal number as written; trailing zeros of a
    whole number are not counted ("100" has 1, "6.0" has 2)."""
    digits = text.strip().lstrip("+-")
    if "." in digits:
        return len(digits.replace(".", "").lstrip("0")) or 1
    return len(digits.lstrip("0").rstrip("0")) or 1


def round_significant(value, digits):
    """`value` rounded half up to `digits` significant digits, as fixed-point text."""
    if value == 0:
        return "0"
    exponent = value.adjusted() - digits + 1
    return _plain(value.quantize(Decimal(1).scaleb(exponent), rounding=ROUND_HALF_UP))


def kelvin_to_celsius(text):
    """K -> C, with as many decimals as the source ("1811" -> "1538")."""
    kelvin = _decimal(text)
    celsius = kelvin - Decimal("273.15")
    return _plain(celsius.quantize(Decimal(1).scaleb(kelvin.as_tuple().exponent),
                                   rounding=ROUND_HALF_UP))


def float_text(text):
    """A number stored as a binary float ("0.0034249999999999997", "6.0") as
    the decimal it was written as ("0.003425", "6"): rounded to 12 significant
    digits, without the ".0" that a float prints for a whole number."""
    value = _decimal(text)
    if value == 0:
        return "0"
    value = Decimal(round_significant(value, 12)).normalize()
    return _plain(value)


def float_kelvin_to_celsius(text):
    """A temperature that mendeleev stores as a float in K, converted from the
    handbook's C by adding 273.15, back to that C: at most four decimals, the
    float's noise and trailing zeros dropped ("302.91459999999995" -> "29.7646",
    "1560.15" -> "1287")."""
    celsius = (_decimal(text) - Decimal("273.15")).quantize(Decimal("0.0001"),
                                                             rounding=ROUND_HALF_UP)
    return _plain(celsius.normalize()) if celsius != 0 else "0"


def shift_decimal(text, places):
    """Moves the decimal point: W/(m*K) -> W/(cm*K) is -2, kg/m3 -> g/ml and
    J/mol -> kJ/mol are -3. The trailing zeros of a whole number are not
    significant and do not turn into decimals ("400" -> "4", "7140" -> "7.14");
    written decimals are kept."""
    value = _decimal(text).scaleb(places)
    if "." not in text and value != value.to_integral_value():
        value = value.normalize()
    elif "." not in text:
        value = value.quantize(Decimal(1))
    return _plain(value)


def resistivity_to_conductivity(text):
    """Resistivity in micro-ohm-cm -> conductivity in 10^6/(cm*ohm), with the
    significant digits of the source and at least two ("1.72" -> "0.581")."""
    return round_significant(Decimal(1) / _decimal(text), max(2, significant_digits(text)))


def molar_to_specific_heat(cp_text, molar_mass):
    """Heat capacity in J/(mol K) -> J/(g K) for a molar mass in g/mol, with the
    significant digits of the source and at least two ("25.1", 55.845 -> "0.449")."""
    return round_significant(_decimal(cp_text) / Decimal(molar_mass),
                             max(2, significant_digits(cp_text)))


def ideal_gas_density(molar_mass, digits=4):
    """Density in g/ml of an ideal gas of molar mass `molar_mass` g/mol at 0 C
    and 101.325 kPa, to `digits` significant digits (H2, 2.016 -> "0.00008994")."""
    return round_significant(Decimal(molar_mass) / MOLAR_VOLUME_ML, digits)


def gas_density_25_to_0(text):
    """An ideal-gas density at 25 C (mendeleev's convention) brought to 0 C at
    the same pressure: times 298.15/273.15, to the source's significant digits."""
    value = _decimal(text) * Decimal("298.15") / Decimal("273.15")
    return round_significant(value, max(2, significant_digits(float_text(text))))


def round_to_width(text, width):
    """A decimal number rounded half up to at most `width` characters
    ("22.98976928" -> "22.989769" for 9); a shorter one is kept as written."""
    if len(text) <= width:
        return text
    value = _decimal(text)
    decimals = max(0, -value.as_tuple().exponent)
    while decimals > 0:
        decimals -= 1
        rounded = _plain(value.quantize(Decimal(1).scaleb(-decimals), rounding=ROUND_HALF_UP))
        if len(rounded) <= width:
            return rounded
    raise ValueError(f"{text} does not fit {width} characters")


def readable_configuration(text):
    """An electron configuration from pymatgen ("[Ar].3d<sup>6</sup>.4s<sup>2</sup>")
    or bodr ("Ar 3d6 4s2") as "[Ar] 3d6 4s2"."""
    text = re.sub(r"<sup>(\d+)</sup>", r"\1", text.strip())
    parts = [p for p in re.split(r"[.\s]+", text) if p]
    if parts and re.fullmatch(r"[A-Z][a-z]?", parts[0]):
        parts[0] = f"[{parts[0]}]"
    return " ".join(parts)


def compact_configuration(text, width):
    """An electron configuration made to fit `width`: first the blank after the
    noble-gas core goes, then the blank between the last s and p subshells."""
    if len(text) > width:
        text = re.sub(r"^(\[[A-Z][a-z]?\]) ", r"\1", text)
    if len(text) > width:
        text = re.sub(r"(\d+s\d+) (\d+p\d+)$", r"\1\2", text)
    return text


def oxidation_list(states):
    """Oxidation states, highest first, as one text without blanks."""
    return ",".join(str(s) for s in sorted((int(s) for s in states), reverse=True))


def crystal_system(space_group):
    """The crystal system of a space group number (1 to 230)."""
    for last, name in ((2, "Triclinic"), (15, "Monoclinic"), (74, "Orthorhombic"),
                       (142, "Tetragonal"), (167, "Trigonal"), (194, "Hexagonal"),
                       (230, "Cubic")):
        if 1 <= space_group <= last:
            return name
    raise ValueError(f"no space group {space_group}")


def weight_number(text):
    """The number of an atomic weight, also of a mass number in brackets."""
    return _decimal(text.strip("[]"))


# ----------------------------------------------------------------- values

class Value:
    """One quantity as a source gives it, already in the unit of the main
    window: the text, its mark, the source, and the lineage (sources that copy
    one table share it), with an optional note on the form or condition."""

    def __init__(self, text, flag=None, source="", note="", lineage=None):
        self.text = text
        self.flag = flag
        self.source = source
        self.note = note
        self.lineage = lineage or LINEAGES.get(source, source)
        self.rejected = None  # why the physics check rejects it

    def __repr__(self):
        return f"{self.source}:{self.text}" + (f"({self.flag})" if self.flag else "")


_NUMBER = r"-?\d+(?:\.\d+)?"


def parse_pymatgen_value(raw, unit_pattern):
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
    match = re.match(rf"^(?:maybe\s+)?(?:about\s+)?({_NUMBER})\s*(?:\(estimate\))?\s*(?:{unit_pattern})$",
                     text)
    if not match:
        return None
    return Value(match.group(1), flag, "pymatgen")


def parse_ptjs_value(raw):
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
    match = re.fullmatch(rf"\(({_NUMBER})\)|~\s*({_NUMBER})", text)
    if match:
        return match.group(1) or match.group(2), APPROXIMATE, ""
    match = re.fullmatch(rf"({_NUMBER})\s*(?:\((.*)\))?", text)
    if match:
        return match.group(1), None, (match.group(2) or "").strip()
    return None


def choose(candidates, same=None):
    """The first unmarked value among `candidates` (in order of preference),
    unless a value marked as an estimate is the `same` as it."""
    same = same or agrees
    candidates = [c for c in candidates if c is not None]
    estimates = [c.text for c in candidates if c.flag == ESTIMATE]
    for c in candidates:
        if c.flag in (ESTIMATE, APPROXIMATE):
            continue
        if any(same(c.text, e) for e in estimates):
            return None
        return c
    return None


def agrees(a, b, tolerance=Decimal("0.03")):
    """True when two numbers differ by at most `tolerance` of the larger, or by
    at most half a unit in the last place of the less precise one. Used to tell
    whether an unmarked value repeats an estimate."""
    x, y = weight_number(a), weight_number(b)
    half_unit = Decimal(5).scaleb(max(x.as_tuple().exponent, y.as_tuple().exponent) - 1)
    return abs(x - y) <= max(tolerance * max(abs(x), abs(y)), half_unit)


def kelvin_agrees(a, b):
    """`agrees` for two temperatures in C, compared in K."""
    return agrees(_plain(_decimal(a) + Decimal("273.15")), _plain(_decimal(b) + Decimal("273.15")))


def confirms(box, chosen, other):
    """The cross-check rule: `other` confirms the `chosen` value of field `box`
    when it differs by at most 5 C for a temperature, else by at most 2 % of
    the chosen value."""
    x, y = weight_number(chosen), weight_number(other)
    if box in TEMPERATURES:
        return abs(x - y) <= TEMPERATURE_TOLERANCE
    return abs(x - y) <= RELATIVE_TOLERANCE * abs(x)


def rounds_to(precise, rounded):
    """True when `rounded` is `precise` rounded half up to the significant digits
    of `rounded` (at least two) and `precise` has more digits than that:
    "0.134" rounds to "0.13", "4.01" to "4" (pymatgen's 400 W/(m K))."""
    digits = max(2, significant_digits(rounded))
    return (significant_digits(precise) > digits
            and Decimal(round_significant(_decimal(precise), digits)) == _decimal(rounded))


def warn(message):
    print(f"cross-check: {message}", file=sys.stderr)


# ------------------------------------------------------------------ physics
# Each *_failure function returns why a value cannot be right, or None.

def _percent(value, reference):
    return f"{100 * (value - reference) / reference:+.1f} %"


def below_failure(value, limit, words):
    """`value` must lie below `limit`, the element's `words` ("boiling point")."""
    if _decimal(value) >= _decimal(limit):
        return f"not below the {words}, {limit}"
    return None


def above_failure(value, limit, words):
    """`value` must lie above `limit`, the element's `words` ("heat of fusion")."""
    if _decimal(value) <= _decimal(limit):
        return f"not above the {words}, {limit}"
    return None


def vaporization_failure(heat, sublimation, fusion=None):
    """A heat of vaporization at the boiling point of an element that is solid
    at 25 C, against its heat of sublimation at 25 C and its heat of fusion, in
    kJ/mol. Subliming at 25 C takes the heat of fusion, the heat of vaporization
    and what the solid and the liquid take to warm up to the boiling point beyond
    what the vapour takes; so the heat of vaporization lies below the heat of
    sublimation less the heat of fusion. One within 2 % of the heat of
    sublimation is that heat."""
    value, sublimation = _decimal(heat), _decimal(sublimation)
    if abs(value - sublimation) <= PHYSICS_TOLERANCE * sublimation:
        return (f"the heat of sublimation at 25 C ({_plain(sublimation)}, "
                f"{_percent(value, sublimation)}), not of vaporization")
    bound = sublimation - (_decimal(fusion) if fusion else 0)
    if value > bound * (1 + PHYSICS_TOLERANCE):
        return (f"above the heat of sublimation at 25 C less the heat of fusion "
                f"({_plain(sublimation)} - {fusion or 0} = {_plain(bound)}, "
                f"{_percent(value, bound)})")
    return None


def gas_density_failure(density, molar_mass):
    """A gas density in g/ml at 0 C and 101.325 kPa against the ideal-gas law for
    a gas of `molar_mass` g/mol."""
    ideal = Decimal(molar_mass) / MOLAR_VOLUME_ML
    if abs(_decimal(density) - ideal) > PHYSICS_TOLERANCE * ideal:
        return (f"{_percent(_decimal(density), ideal)} from the ideal-gas density "
                f"{round_significant(ideal, 4)} of M = {molar_mass} g/mol")
    return None


def condensed_density_failure(density, molar_mass, molar_volume):
    """A solid's or liquid's density in g/ml against the molar mass (g/mol) over
    the molar volume (ml/mol) that the same source gives."""
    expected = Decimal(molar_mass) / _decimal(molar_volume)
    if abs(_decimal(density) - expected) > PHYSICS_TOLERANCE * expected:
        return (f"{_percent(_decimal(density), expected)} from the molar mass over the source's "
                f"molar volume, {molar_mass} / {molar_volume} = {round_significant(expected, 4)}")
    return None


def molar_heat_failure(specific_heat, molar_mass, exception=None):
    """A solid metal's specific heat in J/(g K) at 25 C: times the molar mass it
    must lie in the Dulong-Petit range, or, for an exception, within 2 % of the
    exception's molar heat capacity."""
    molar = _decimal(specific_heat) * Decimal(molar_mass)
    shown = round_significant(molar, 3)
    if exception is not None:
        if abs(molar - exception) > PHYSICS_TOLERANCE * exception:
            return f"molar heat capacity {shown} J/(mol K), not the handbook's {exception}"
        return None
    low, high = DULONG_PETIT
    if not low <= molar <= high:
        return (f"molar heat capacity {shown} J/(mol K), outside {low} to {high} of a solid "
                "metal at 25 C")
    return None


def reject(g, row, box, candidates, failure):
    """Runs `failure` (a Value -> reason or None) on every value of field `box`
    that a source has; one that fails is marked and listed."""
    for c in candidates:
        if c is None or c.rejected:
            continue
        c.rejected = failure(c)
        if c.rejected:
            g.rejected.append({"z": int(row["cAN"]), "name": row["cname"], "box": box,
                               "value": _describe(c), "why": c.rejected, "row": row})


# Values picked by hand: (Z, field): (source whose value is taken, or None for
# none, reason with its reference). Where the sources plainly err or give a
# prediction unmarked; a choice between their values, never a value of our own.
OVERRIDES = {
    (6, "cMP"): (None, "graphite does not melt at 101.325 kPa: it sublimes at 3825 C and melts "
                       "only above its triple point, 4489 C at 10.3 MPa (CRC Handbook of "
                       "Chemistry and Physics, 97th ed., 'Melting, Boiling, Triple, and Critical "
                       "Points of the Elements', as carried by mendeleev 1.1.0, whose note says "
                       "it leaves out carbon's melting points as not at standard pressure); "
                       "pymatgen's 3800 K lies below that sublimation point"),
    (15, "cHF"): (None, "the CRC Handbook's enthalpy of fusion (chemicals' crc-heat-of-fusion, "
                        "CRC 95th ed.) gives phosphorus only for the red form (18.54 kJ/mol), "
                        "not the white form whose melting point is shown; periodic-table.js' "
                        "2.51 names no form and no basis, and its heat of evaporation of "
                        "phosphorus (49.8) is four times the handbook's 12.4 kJ/mol per mole "
                        "of P (CRC enthalpy of vaporization, chemicals), so it counts per mole "
                        "of P4, unlike every other heat here"),
    (19, "cHV"): (None, "periodic-table.js swaps potassium's two heats: its heat of fusion 102.5 "
                        "against the CRC Handbook's 2.335 kJ/mol (CRC 95th ed., enthalpy of "
                        "fusion, chemicals' crc-heat-of-fusion), and its heat of evaporation "
                        "2.33 is that heat of fusion; no other source has the heat of "
                        "vaporization"),
    (87, "cHF"): (None, "no weighable amount of francium has ever been made; the CRC Handbook's "
                        "enthalpy of fusion table (chemicals' crc-heat-of-fusion, CRC 95th ed.) "
                        "has no francium, and pymatgen marks even its melting point as an "
                        "estimate, so periodic-table.js' unmarked 15 is no measurement"),
    (34, "cCS"): ("Hexagonal", "periodictable lists selenium under hcp (c/a 1.136); its "
                               "hexagonal lattice holds helical chains, not close-packed atoms"),
    (52, "cCS"): ("Hexagonal", "periodictable lists tellurium under hcp (c/a 1.33); its "
                               "hexagonal lattice holds helical chains, not close-packed atoms "
                               "(bodr: space group 152, trigonal)"),
    (104, "cEC"): (None, "bodr's configuration of rutherfordium is the calculated one; none has "
                         "been measured, and pymatgen marks even lawrencium's as tentative"),
    (105, "cEC"): (None, "bodr's configuration of dubnium is the calculated one; none has been "
                         "measured, and pymatgen marks even lawrencium's as tentative"),
}
# The text fields above take a value (not a source) as they always did.
TEXT_OVERRIDES = {"cCS", "cEC"}


# ----------------------------------------------------------- extract readers

def _path(sources, *parts):
    return os.path.join(sources, *parts)


def _read_csv(path, delimiter=","):
    with open(path, encoding="utf-8", newline="") as f:
        return list(csv.DictReader(f, delimiter=delimiter))


def read_versions(sources):
    versions = {}
    with open(_path(sources, "VERSIONS"), encoding="utf-8") as f:
        for line in f:
            if line.strip() and not line.startswith("#"):
                name, version = line.rstrip("\n").split("\t")[:2]
                versions[name] = version
    return versions


def read_bodr(sources):
    elements = {int(r["Z"]): r for r in _read_csv(_path(sources, "bodr", "elements.csv"))}
    groups = {r["symbol"]: int(r["spacegroup"])
              for r in _read_csv(_path(sources, "bodr", "spacegroups.csv"))}
    seconds = {"siUnits:s": Decimal(1), "units:y": Decimal("31557600")}
    half_lives = {}
    for r in _read_csv(_path(sources, "bodr", "halflives.csv")):
        half_lives.setdefault(int(r["Z"]), {})[r["mass"]] = (Decimal(r["halflife"])
                                                            * seconds[r["units"]])
    return elements, groups, half_lives


def read_pymatgen(sources):
    with open(_path(sources, "pymatgen", "periodic_table.json"), encoding="utf-8") as f:
        table = json.load(f)
    return {entry["Atomic no"]: entry for entry in table.values()}


def read_periodictable(sources):
    return {int(r["Z"]): r for r in _read_csv(_path(sources, "periodictable", "elements.csv"))}


def read_ptjs(sources):
    with open(_path(sources, "periodic-table.js", "periodic-table.json"), encoding="utf-8") as f:
        table = json.load(f)
    return {entry["atomic_number"]: entry for entry in table.values()}


def read_mendeleev(sources):
    """elements by Z, phase-transition rows by Z, and the names whose density
    mendeleev's metadata calls a theoretical estimate."""
    folder = _path(sources, "mendeleev")
    elements = {int(r["atomic_number"]): r for r in _read_csv(os.path.join(folder, "elements.csv"))}
    transitions = {}
    for r in _read_csv(os.path.join(folder, "phasetransitions.csv")):
        transitions.setdefault(int(r["atomic_number"]), []).append(r)
    theoretical = set()
    for r in _read_csv(os.path.join(folder, "propertymetadata.csv")):
        if r["table_name"] == "elements" and r["column_name"] == "density":
            notes = r["annotations"].split("theoretical estimates", 1)
            if len(notes) == 2:
                theoretical = set(re.findall(r"^- (\w+)\s*$", notes[1], re.M))
    if not theoretical:
        raise ValueError("mendeleev's density annotation names no theoretical estimates")
    return elements, transitions, theoretical


def read_chemicals(sources):
    folder = _path(sources, "chemicals")
    return {name: _read_csv(os.path.join(folder, f"crc-{name}.tsv"), "\t")
            for name in ("heat-of-fusion", "heat-of-vaporization",
                         "standard-thermodynamic-properties")}


def load_sources(sources=SOURCES_DIR):
    bodr, groups, half_lives = read_bodr(sources)
    mendeleev, transitions, theoretical = read_mendeleev(sources)
    return {
        "versions": read_versions(sources), "bodr": bodr, "space_groups": groups,
        "half_lives": half_lives, "pymatgen": read_pymatgen(sources),
        "periodictable": read_periodictable(sources), "ptjs": read_ptjs(sources),
        "mendeleev": mendeleev, "transitions": transitions, "theoretical": theoretical,
        "chemicals": read_chemicals(sources),
    }


# ------------------------------------------------------- reading the tables

def chemicals_by_element(chemicals, mendeleev):
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


def mendeleev_phase_row(z, rows):
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
            parsed = parse_ptjs_value(ptjs.get(z, {}).get(pkey))
            if not text:
                continue  # periodic-table.js alone has it (or neither)
            if not parsed or _decimal(float_text(text)) != _decimal(parsed[0]):
                raise ValueError(f"Z={z} mendeleev {mkey} {text!r} is not periodic-table.js' "
                                 f"{ptjs.get(z, {}).get(pkey)!r}")
            equal += 1
    return equal


# ------------------------------------------------------------------ choosing

class Gathering:
    """The rows of the CSV and what the cross-checks found."""

    def __init__(self):
        self.rows = []
        self.counts = {box: {} for box, _ in FIELDS}   # box -> source -> n
        self.confirmed = {box: 0 for box in NUMERIC}
        self.review = []      # dicts: z, name, box, chosen, source, rule, others, status
        self.not_taken = []   # dicts: z, name, box, candidates, why
        self.overrides = []   # (z, name, box, value, reason)
        self.rejected = []    # dicts: z, name, box, value, why, row: what the physics check rejects


def _describe(c):
    mark = {ESTIMATE: " (estimate)", APPROXIMATE: " (approximate)"}.get(c.flag, "")
    note = f" [{c.note}]" if c.note else ""
    return f"{c.source} {c.text}{mark}{note}"


def decide(g, row, box, candidates, order=None):
    """Takes the value of `box` for the element of `row` from `candidates` (in
    the order of FIELD_ORDER), cross-checks it and records what review needs."""
    z = int(row["cAN"])
    order = FIELD_ORDER[order or box]
    takers = order[:order.index("|")] if "|" in order else order
    candidates = sorted((c for c in candidates
                         if c is not None and c.lineage not in EXCLUDED_LINEAGES),
                        key=lambda c: order.index(c.source))
    for c in candidates:
        if c.source not in order:
            raise ValueError(f"{c.source} is not in the order of {box}")
    same = kelvin_agrees if box in TEMPERATURES else agrees
    chosen = choose([c for c in candidates if c.source in takers and not c.rejected], same)
    rule = f"first unmarked of {', '.join(takers)}" if chosen else ""
    if chosen and chosen.source == takers[0]:
        rule = f"{chosen.source}, first in order"
    elif chosen:
        skipped = [c for c in candidates if c.source in takers[:takers.index(chosen.source)]]
        rule = (f"{chosen.source}: " + ("; ".join(
            f"{c.source}'s is " + ("rejected" if c.rejected else "marked") for c in skipped)
            if skipped else "the sources before it have none"))
    rounded = None
    if chosen and ROUNDED_FIRST_SOURCE.get(box) == chosen.source:
        finer = [c for c in candidates if c.flag is None and not c.rejected
                 and c.lineage != chosen.lineage and rounds_to(c.text, chosen.text)]
        if finer:
            rounded, chosen = chosen, finer[0]
            rule = f"{chosen.source}: {rounded.source}'s {rounded.text} to more digits"
    override = OVERRIDES.get((z, box))
    if override is not None:
        source, reason = override
        picked = [c for c in candidates if c.source == source]
        if source is not None and not picked:
            raise ValueError(f"override of Z={z} {box}: {source} has no value")
        chosen = picked[0] if picked else None
        rule = f"override: {reason}"
        g.overrides.append((z, row["cname"], box, chosen.text if chosen else "(empty)", reason))
    if chosen is None:
        if candidates:
            why = rule or _why_not_taken(candidates, takers)
            g.not_taken.append({"z": z, "name": row["cname"], "box": box,
                                "candidates": "; ".join(_describe(c) + (" rejected" if c.rejected
                                                                        else "")
                                                        for c in candidates),
                                "why": why})
        return None
    put(g, row, box, chosen.text, chosen.source)
    others = [c for c in candidates if c is not chosen]
    comparable = [c for c in others
                  if c.flag is None and not c.rejected and c.lineage != chosen.lineage]
    agreeing = [c for c in comparable if c is rounded or confirms(box, chosen.text, c.text)]
    differing = [c for c in comparable if c not in agreeing]
    if agreeing:
        g.confirmed[box] += 1
    if not agreeing or differing or override is not None:
        status = ("confirmed" if agreeing else "unconfirmed") + (
            f"; {len(differing)} differ" if differing else "")
        g.review.append({"z": z, "name": row["cname"], "box": box, "chosen": chosen.text,
                         "source": chosen.source, "rule": rule, "status": status,
                         "others": "; ".join(
                             _describe(c) + (" agrees" if c in agreeing else
                                             " differs" if c in differing else
                                             " rejected" if c.rejected else "")
                             for c in others) or "none"})
    return chosen


def _why_not_taken(candidates, takers):
    rejected = [c.source for c in candidates if c.source in takers and c.rejected]
    if rejected:
        marked = any(c.flag for c in candidates if c.source in takers and not c.rejected)
        return ("the physics check rejects the value of " + " and ".join(rejected)
                + ("; the others are marked" if marked else ""))
    estimates = [c for c in candidates if c.flag == ESTIMATE]
    if estimates:
        return (f"{', '.join(c.source for c in estimates)} marks it as an estimate; the other "
                "values agree with that estimate or are marked")
    if all(c.flag == APPROXIMATE for c in candidates if c.source in takers):
        unmarked = [c for c in candidates if c.flag is None]
        return "the value is marked as approximate" + (
            "; the sources without a mark are compared, never taken" if unmarked else "")
    return "only sources that are compared, never taken, have a value"


def put(g, row, box, value, source):
    if value is None or value == "":
        return
    if len(value) > WIDTH[box]:
        raise ValueError(f"Z={row['cAN']} {box}: {value!r} is longer than {WIDTH[box]}")
    row[box] = value
    g.counts[box][source] = g.counts[box].get(source, 0) + 1


def put_text(g, row, box, value, source):
    """A text field, with the overrides of TEXT_OVERRIDES."""
    override = OVERRIDES.get((int(row["cAN"]), box))
    if override is not None:
        value, reason = override
        warn(f"Z={row['cAN']} {box} set to {value!r}: {reason}")
        g.overrides.append((int(row["cAN"]), row["cname"], box, value or "(empty)", reason))
        source = f"{source} (override)"
    put(g, row, box, value, source)


def gather(s):
    g = Gathering()
    bodr, pymatgen, ptable, ptjs = s["bodr"], s["pymatgen"], s["periodictable"], s["ptjs"]
    mendeleev, transitions = s["mendeleev"], s["transitions"]
    chem = chemicals_by_element(s["chemicals"], mendeleev)
    unchecked = []

    for z in range(1, LAST_ELEMENT + 1):
        b = bodr.get(z, {})
        p = pymatgen.get(z, {})
        t = ptable.get(z, {})
        e = ptjs.get(z, {})
        m = mendeleev.get(z, {})
        c = chem.get(z, {})
        row = {box: "" for box, _ in FIELDS}
        row["cAN"] = str(z)
        g.counts["cAN"]["Z"] = g.counts["cAN"].get("Z", 0) + 1

        # Name in IUPAC spelling: bodr's, else pymatgen's.
        names = [IUPAC_NAMES.get(n, n) for n in (b.get("name"), p.get("Name")) if n]
        if names:
            put_text(g, row, "cname", names[0], "bodr" if b.get("name") else "pymatgen")
            if len(set(names)) > 1:
                warn(f"Z={z} name bodr {names[0]!r} pymatgen {names[1]!r}")

        # Atomic weight: bodr's IUPAC values; a whole number there is the mass
        # number of the longest-lived isotope of an element with no stable one.
        mass = b.get("mass")
        weights = []
        if mass:
            if "." in mass:
                weights.append(Value(round_to_width(mass, WIDTH["cAW"]), None, "bodr"))
            else:
                weights.append(Value(f"[{mass}]", None, "bodr"))
                known = s["half_lives"].get(z, {})
                if mass not in known:
                    unchecked.append(f"{b.get('symbol')}-{mass}")
                elif max(known.values()) > known[mass]:
                    warn(f"Z={z} weight [{mass}] but bodr's isotopes.xml gives a longer "
                         f"half-life to mass {max(known, key=known.get)}")
        pm = parse_pymatgen_value(p.get("Atomic mass"), "")
        if pm:
            weights.append(Value(pm.text, None, "pymatgen"))
        if m.get("atomic_weight"):
            weights.append(Value(float_text(m["atomic_weight"]), None, "mendeleev"))
        if t.get("mass"):
            weights.append(Value(float_text(t["mass"]), None, "periodictable"))
        parsed = parse_ptjs_value(e.get("atomic_weight"))
        if parsed:
            weights.append(Value(parsed[0], parsed[1], "periodic-table.js"))
        decide(g, row, "cAW", weights)

        # Melting and boiling points, C.
        phase = mendeleev_phase_row(z, transitions[z]) if z in transitions else {}
        # The boiling point comes first: each melting point must lie below it,
        # and where it is a sublimation point the element does not melt at
        # 101.325 kPa (carbon, arsenic: they melt only under pressure).
        boiling_point = None
        for box, mkey, pkey, bkey, ekey in (
                ("cBP", "boiling_point", "Boiling point", "boilingpoint", "boiling_point_K"),
                ("cMP", "melting_point", "Melting point", "meltingpoint", "melting_point_K")):
            cands = []
            if phase.get(mkey):
                note = "sublimation point" if box == "cBP" and phase["is_sublimation_point"] == "1" else ""
                cands.append(Value(float_kelvin_to_celsius(phase[mkey]), None, "mendeleev", note))
            if box == "cBP":
                for form, r in c.get("heat-of-vaporization", []):
                    cands.append(Value(float_kelvin_to_celsius(r["Tb"]), None, "chemicals",
                                       form))
            pv = parse_pymatgen_value(p.get(pkey), "K")
            if pv is not None:
                if pv.flag == APPROXIMATE:
                    pv.flag = ESTIMATE  # pymatgen says "about" only of unmeasured temperatures
                cands.append(Value(kelvin_to_celsius(pv.text), pv.flag, "pymatgen"))
            if b.get(bkey):
                cands.append(Value(kelvin_to_celsius(b[bkey]), None, "bodr"))
            parsed = parse_ptjs_value(e.get(ekey))
            if parsed:
                cands.append(Value(kelvin_to_celsius(parsed[0]), parsed[1], "periodic-table.js",
                                   parsed[2]))
            if box == "cMP" and boiling_point is not None:
                reject(g, row, box, cands, lambda v: (
                    f"the boiling point, {boiling_point.text}, is a sublimation point: the "
                    "element does not melt at 101.325 kPa"
                    if boiling_point.note == "sublimation point"
                    else below_failure(v.text, boiling_point.text, "boiling point")))
            chosen = decide(g, row, box, cands)
            if box == "cBP":
                boiling_point = chosen

        # Density, g/ml: of the solid or liquid near room temperature; of a gas
        # (boiling point below 25 C) at 0 C and 101.325 kPa, which no source
        # gives: computed from the molar mass with the ideal-gas law and
        # compared with mendeleev's ideal-gas density at 25 C brought to 0 C.
        # The sources' liquid densities of the gases are not gas densities and
        # are left out. Each gas density must agree with the ideal-gas law, each
        # other one with the molar mass over the molar volume where its source
        # gives both.
        boiling = row["cBP"]
        gas = boiling != "" and Decimal(boiling) < 25
        if gas:
            molar_mass = weight_number(row["cAW"]) * (2 if z in DIATOMIC else 1)
            cands = [Value(ideal_gas_density(molar_mass), None, "ideal gas",
                           f"M = {molar_mass} g/mol")]
            if m.get("density"):
                cands.append(Value(gas_density_25_to_0(m["density"]), None, "mendeleev",
                                   "ideal gas at 25 C, brought to 0 C"))
            reject(g, row, "cDen", cands, lambda v: gas_density_failure(v.text, molar_mass))
            decide(g, row, "cDen", cands, "cDen gas")
        else:
            cands = []
            if m.get("density"):
                flag = ESTIMATE if m["name"] in s["theoretical"] else None
                cands.append(Value(float_text(m["density"]), flag, "mendeleev"))
            pd = parse_pymatgen_value(p.get("Density of solid"), r"kg m\^-3")
            if pd is not None:
                cands.append(Value(shift_decimal(pd.text, -3), pd.flag, "pymatgen"))
            if t.get("density"):
                caveat = t["density_caveat"].lower()
                flag = (ESTIMATE if "estimat" in caveat else
                        APPROXIMATE if ("approx" in caveat or "unavailable" in caveat) else None)
                cands.append(Value(float_text(t["density"]), flag, "periodictable",
                                   t["density_caveat"]))
            parsed = parse_ptjs_value(e.get("density_g_per_cm3"))
            if parsed:
                cands.append(Value(parsed[0], parsed[1], "periodic-table.js", parsed[2]))
            volumes = {}
            pv = parse_pymatgen_value(p.get("Molar volume"), r"cm\^3")
            if pv is not None:
                volumes["pymatgen"] = pv.text
            parsed = parse_ptjs_value(e.get("atomic_volume_cm3_per_mol"))
            if parsed:
                volumes["periodic-table.js"] = parsed[0]
            if row["cAW"]:
                molar_mass = weight_number(row["cAW"])
                reject(g, row, "cDen", cands, lambda v: condensed_density_failure(
                    v.text, molar_mass, volumes[v.source]) if v.source in volumes else None)
            decide(g, row, "cDen", cands)

        # Electron configuration: pymatgen's, else bodr's; each cross-checks
        # the other.
        pc = bc = None
        if p.get("Electronic structure"):
            raw = p["Electronic structure"]
            flag = ESTIMATE if "tentative" in raw else None
            pc = Value(readable_configuration(raw.replace("(tentative)", "")), flag, "pymatgen")
        if b.get("electronicConfiguration"):
            bc = Value(readable_configuration(b["electronicConfiguration"]), None, "bodr")
        chosen = choose([pc, bc], same=lambda x, y: x == y)
        if chosen:
            put_text(g, row, "cEC", compact_configuration(chosen.text, WIDTH["cEC"]),
                     chosen.source)
        elif (z, "cEC") in OVERRIDES:
            warn(f"Z={z} cEC override not needed")
        if pc and bc and pc.text != bc.text:
            warn(f"Z={z} configuration {pc!r} vs {bc!r}")

        # Oxidation states: pymatgen's full list, highest first; its common
        # ones where the full list does not fit.
        for key in ("Oxidation states", "Common oxidation states"):
            if p.get(key) and len(oxidation_list(p[key])) <= WIDTH["cVE"]:
                put(g, row, "cVE", oxidation_list(p[key]), f"pymatgen {key.lower()}")
                break

        # Crystal structure: periodictable's symmetry spelt out; where it
        # describes only the molecule, the crystal system of bodr's space group.
        symmetry = t.get("crystal_symmetry")
        group = s["space_groups"].get(b.get("symbol") or t.get("symbol", ""))
        if symmetry and symmetry not in MOLECULE_SYMMETRIES:
            put_text(g, row, "cCS", SYMMETRY_NAMES[symmetry], "periodictable")
        elif group:
            put_text(g, row, "cCS", crystal_system(group), "bodr")
        if symmetry and group and symmetry not in MOLECULE_SYMMETRIES:
            system = crystal_system(group)
            expected = {"Body-centred cubic": "Cubic", "Face-centred cubic": "Cubic",
                        "Simple cubic": "Cubic", "Diamond cubic": "Cubic",
                        "Hexagonal close-packed": "Hexagonal",
                        "Rhombohedral": "Trigonal"}.get(SYMMETRY_NAMES[symmetry],
                                                        SYMMETRY_NAMES[symmetry])
            if system != expected:
                warn(f"Z={z} crystal periodictable {symmetry} vs bodr space group {group} "
                     f"({system})")

        # Specific heat, J/(g K) at 25 C: mendeleev's (CRC), the handbook's
        # molar heat capacity of the standard state divided by the molar mass
        # of its formula (chemicals), periodic-table.js'.
        cands = []
        if m.get("specific_heat_capacity"):
            cands.append(Value(float_text(m["specific_heat_capacity"]), None, "mendeleev"))
        for form, r in c.get("standard-thermodynamic-properties", []):
            cp = standard_state_heat_capacity(r)
            if cp and row["cAW"]:
                molar_mass = weight_number(row["cAW"]) * (2 if z in DIATOMIC else 1)
                cands.append(Value(molar_to_specific_heat(cp, molar_mass), None, "chemicals",
                                   form))
        parsed = parse_ptjs_value(e.get("specific_heat_J_g_mol"))
        if parsed:
            cands.append(Value(parsed[0], parsed[1], "periodic-table.js", parsed[2]))
        # Solid at 25 C: the handbook's standard state is the solid, or it
        # melts above 25 C.
        thermo = c.get("standard-thermodynamic-properties", [])
        solid = (any(r.get("Hfs", "").strip() == "0" for _, r in thermo)
                 or (row["cMP"] != "" and Decimal(row["cMP"]) > 25))
        if solid and z not in NOT_METALS and row["cAW"]:
            exception = MOLAR_HEAT_EXCEPTIONS.get(z, (None,))[0]
            reject(g, row, "cSH", cands, lambda v: molar_heat_failure(
                v.text, weight_number(row["cAW"]), exception))
        decide(g, row, "cSH", cands)

        # Thermal conductivity, W/(m*K) -> W/(cm*K).
        cands = []
        ptc = parse_pymatgen_value(p.get("Thermal conductivity"), r"W m\^-1 K\^-1")
        if ptc is not None:
            cands.append(Value(shift_decimal(ptc.text, -2), ptc.flag, "pymatgen"))
        parsed = parse_ptjs_value(e.get("thermal_conductivity_25C_W_m_K"))
        if parsed:
            cands.append(Value(shift_decimal(parsed[0], -2), parsed[1], "periodic-table.js",
                               parsed[2]))
        decide(g, row, "cTC", cands)

        # Electrical conductivity from pymatgen's resistivity in 10^-8 ohm m,
        # which is the same number in micro-ohm-cm. No other source has it.
        rho = parse_pymatgen_value(p.get("Electrical resistivity"), r"10\^-8 Ω m")
        if rho is not None and Decimal(rho.text) > 0:
            decide(g, row, "EC", [Value(resistivity_to_conductivity(rho.text), rho.flag,
                                        "pymatgen")])

        # Heats of vaporization (at the boiling point) and of fusion, kJ/mol,
        # per mole of the formula the handbook gives (H2 ... I2 for the
        # diatomic elements): chemicals' CRC tables in J/mol, periodic-table.js.
        # The heat of fusion comes first: each heat of vaporization must lie
        # above it and, for a solid, below the heat of sublimation less it.
        sublimation = sublimation_heat(thermo)
        for box, table, ckey, ekey in (
                ("cHF", "heat-of-fusion", "Hfus", "fusion_heat_kJ_mol"),
                ("cHV", "heat-of-vaporization", "HvapTb", "evaporation_heat_kJ_mol")):
            cands = []
            for form, r in c.get(table, []):
                # The liquid boils whatever the solid's form; a heat of fusion
                # belongs to the form whose melting point is shown.
                if box == "cHF" and form and form not in SHOWN_FORMS.get(z, ()):
                    g.not_taken.append({"z": z, "name": row["cname"], "box": box,
                                        "candidates": f"chemicals {shift_decimal(r[ckey], -3)} "
                                                      f"[{form}]",
                                        "why": f"the handbook's value is for the {form} form, "
                                               "not the form of the shown melting point"})
                    continue
                if r[ckey].strip():
                    cands.append(Value(shift_decimal(r[ckey].strip(), -3), None, "chemicals",
                                       form))
            parsed = parse_ptjs_value(e.get(ekey))
            if parsed:
                cands.append(Value(parsed[0], parsed[1], "periodic-table.js", parsed[2]))
            if box == "cHV":
                fusion = row["cHF"] or None
                reject(g, row, box, cands, lambda v: (
                    fusion and above_failure(v.text, fusion, "heat of fusion")
                    or sublimation and vaporization_failure(v.text, sublimation, fusion)
                    or None))
            decide(g, row, box, cands)

        g.rows.append(row)
    if unchecked:
        warn("bodr's isotopes.xml has no half-life for " + ", ".join(unchecked)
             + ": their mass numbers stay bodr's elements.xml ones unchecked")
    return g


# ------------------------------------------------------------------- output

def write_csv(rows, out):
    writer = csv.writer(out, lineterminator="\n")
    writer.writerow([box for box, _ in FIELDS])
    for row in rows:
        writer.writerow([row[box] for box, _ in FIELDS])


def check_encodable(rows):
    for row in rows:
        for box, _ in FIELDS:
            row[box].encode("cp1252")


def _cell(text):
    return str(text).replace("|", "\\|").replace("\n", " ")


def totals(g):
    values = {box: sum(g.counts[box].values()) for box in NUMERIC}
    return values, sum(values.values()), sum(g.confirmed.values())


def counts_table(g):
    """The per-field counts, as a Markdown table."""
    values, total, confirmed = totals(g)
    lines = ["| field | values (of 110) | confirmed by a second source | by source |",
             "|---|---|---|---|"]
    for box, _ in FIELDS:
        n = sum(g.counts[box].values())
        by = ", ".join(f"{s} {k}" for s, k in sorted(g.counts[box].items(), key=lambda i: -i[1]))
        share = (f"{g.confirmed[box]} ({100 * g.confirmed[box] / n:.0f} %)"
                 if box in NUMERIC and n else "" if box not in NUMERIC else "0")
        lines.append(f"| `{box}` | {n} | {share} | {by} |")
    lines.append(f"| all numeric fields | {total} | {confirmed} ({100 * confirmed / total:.1f} %) | |")
    return "\n".join(lines)


def review_text(g, versions):
    values, total, confirmed = totals(g)
    out = [
        "# Values to review",
        "",
        "Generated by `tools/gather-elements.py` from the extracts in `data/sources/`; do not",
        "edit it by hand, re-run the script. `data/SOURCES.md` says what each source is.",
        "Sources: " + "; ".join(f"{k} {v}" for k, v in sorted(versions.items())) + ".",
        "",
        "A value is **confirmed** when a source of another lineage agrees within 2 % of it",
        "(within 5 C for temperatures). Marked values (estimates, approximations) neither",
        "supply nor confirm a value. The table of periodic-table.js is GPeriodic's;",
        "mendeleev's uncited heats and thermal conductivities are the same table without its",
        "marks and are not counted again. Listed below: every value that is unconfirmed or",
        "that a source contradicts, every value picked by hand, and every value a source has",
        "that was not taken. Values are shown converted to the field's unit.",
        "",
        "Before any value is chosen, every value of every source goes through a physics check:",
        "melting point below the boiling point (none where the boiling point is a sublimation",
        "point); heat of vaporization above the heat of fusion and, for an element solid at",
        "25 C, neither within 2 % of its heat of sublimation at 25 C nor more than 2 % above",
        "that heat less the heat of fusion (CRC, chemicals' `Hfg`); a gas density within 2 % of",
        "the ideal-gas law, a solid's or liquid's within 2 % of the molar mass over its source's",
        "molar volume; a solid metal's specific heat times its molar mass within 20 to 40",
        "J/(mol K), or within 2 % of the handbook's value for a named exception. A value that",
        "fails is neither taken nor counted as a confirmation.",
        "",
        f"Confirmed: {confirmed} of {total} numeric values ({100 * confirmed / total:.1f} %).",
        "",
        counts_table(g),
        "",
        "## Overrides",
        "",
        "| element | field | value | reason and reference |",
        "|---|---|---|---|",
    ]
    for z, name, box, value, reason in g.overrides:
        out.append(f"| {z} {name} | `{box}` | {value} | {_cell(reason)} |")
    out += ["", "## Values the physics check rejects", "",
            "| element | field | value | why it cannot be right | shipped instead |",
            "|---|---|---|---|---|"]
    for r in g.rejected:
        out.append(f"| {r['z']} {r['name']} | `{r['box']}` | {_cell(r['value'])} | "
                   f"{_cell(r['why'])} | {r['row'][r['box']] or '(empty)'} |")
    out += ["", "Molar heat capacity outside the Dulong-Petit range, accepted as named:", ""]
    for z, (molar, reference) in MOLAR_HEAT_EXCEPTIONS.items():
        out.append(f"- {z} {g.rows[z - 1]['cname']}: {molar} J/(mol K); {reference}.")
    for box in NUMERIC:
        entries = [r for r in g.review if r["box"] == box]
        words, unit = NUMERIC[box]
        out += ["", f"## {words[0].upper() + words[1:]} (`{box}`{', ' + unit if unit else ''})",
                ""]
        if not entries:
            out.append("Every value is confirmed and no source differs.")
            continue
        out += ["| element | chosen | rule | other sources | status |", "|---|---|---|---|---|"]
        for r in entries:
            out.append(f"| {r['z']} {r['name']} | {r['chosen']} ({r['source']}) | "
                       f"{_cell(r['rule'])} | {_cell(r['others'])} | {r['status']} |")
    out += ["", "## Values not taken", "",
            "| element | field | values in the sources | why none is taken |", "|---|---|---|---|"]
    for r in g.not_taken:
        out.append(f"| {r['z']} {r['name']} | `{r['box']}` | {_cell(r['candidates'])} | "
                   f"{_cell(r['why'])} |")
    return "\n".join(out) + "\n"


COUNTS_BEGIN = "<!-- counts: written by tools/gather-elements.py -->"
COUNTS_END = "<!-- end of counts -->"


def sources_md_with_counts(text, g):
    begin, end = text.find(COUNTS_BEGIN), text.find(COUNTS_END)
    if begin < 0 or end < begin:
        raise ValueError("data/SOURCES.md has no counts markers")
    return text[:begin + len(COUNTS_BEGIN)] + "\n\n" + counts_table(g) + "\n\n" + text[end:]


def outputs(sources=SOURCES_DIR):
    """The three generated texts: elements.csv, REVIEW.md and SOURCES.md."""
    s = load_sources(sources)
    check_copied_columns(s["mendeleev"], s["ptjs"])
    g = gather(s)
    check_encodable(g.rows)
    text = io.StringIO()
    write_csv(g.rows, text)
    with open(os.path.join(ROOT, "data", "SOURCES.md"), encoding="utf-8") as f:
        sources_md = sources_md_with_counts(f.read(), g)
    return g, text.getvalue(), review_text(g, s["versions"]), sources_md


# ------------------------------------------------------------------ refresh

PTJS_PACKAGE = "@exabyte-io/periodic-table.js"
PTJS_VERSION = "2.0.5"
PTJS_KEYS = ["atomic_number", "symbol", "atomic_weight", "melting_point_K", "boiling_point_K",
             "density_g_per_cm3", "atomic_volume_cm3_per_mol", "specific_heat_J_g_mol",
             "evaporation_heat_kJ_mol", "fusion_heat_kJ_mol", "thermal_conductivity_25C_W_m_K"]
PYMATGEN_KEYS = ["Atomic no", "Name", "Atomic mass", "Melting point", "Boiling point",
                 "Density of solid", "Molar volume", "Electronic structure", "Oxidation states",
                 "Common oxidation states", "Thermal conductivity", "Electrical resistivity"]


def package_version(name):
    try:
        return subprocess.run(["dpkg-query", "-W", "-f", "${Version}", name], check=True,
                              capture_output=True, text=True).stdout
    except (OSError, subprocess.CalledProcessError):
        sys.exit(f"gather-elements: the Debian package {name} is not installed")


def _write_csv(path, header, rows):
    with open(path, "w", encoding="utf-8", newline="") as f:
        writer = csv.writer(f, lineterminator="\n")
        writer.writerow(header)
        writer.writerows(rows)


def _write_json(path, table):
    with open(path, "w", encoding="utf-8") as f:
        json.dump(table, f, ensure_ascii=False, indent=1)
        f.write("\n")


def refresh_bodr(dest):
    import xml.etree.ElementTree as ET
    cml = "{http://www.xml-cml.org/schema}"
    rows = []
    for atom in ET.parse("/usr/share/bodr/elements.xml").getroot().iter(cml + "atom"):
        v = {n.get("dictRef"): (n.text if n.text is not None else n.get("value")) for n in atom}
        if "bo:atomicNumber" in v and 1 <= int(v["bo:atomicNumber"]) <= LAST_ELEMENT:
            rows.append([v["bo:atomicNumber"], v.get("bo:symbol", ""), v.get("bo:name", ""),
                         v.get("bo:mass", ""), v.get("bo:meltingpoint", ""),
                         v.get("bo:boilingpoint", ""), v.get("bo:electronicConfiguration", "")])
    rows.sort(key=lambda r: int(r[0]))
    _write_csv(os.path.join(dest, "elements.csv"), ["Z", "symbol", "name", "mass", "meltingpoint",
                                                    "boilingpoint", "electronicConfiguration"], rows)
    radioactive = {int(r[0]) for r in rows if r[3] and "." not in r[3]}
    groups = []
    for molecule in ET.parse("/usr/share/bodr/crystalstructures.xml").getroot().iter(
            cml + "molecule"):
        symbols = {a.get("elementType") for a in molecule.iter(cml + "atom")}
        numbers = [x.get("spaceGroup") for x in molecule.iter(cml + "symmetry")]
        if len(symbols) == 1 and len(numbers) == 1:
            groups.append([symbols.pop(), numbers[0]])
    _write_csv(os.path.join(dest, "spacegroups.csv"), ["symbol", "spacegroup"], sorted(groups))
    lives = []
    for isotope in ET.parse("/usr/share/bodr/isotopes.xml").getroot().iter(cml + "isotope"):
        z = life = None
        for node in isotope:
            if node.get("dictRef") == "bo:atomicNumber":
                z = int(node.text)
            elif node.get("dictRef") == "bo:halfLife":
                life = (node.text.strip(), node.get("units"))
        if z in radioactive and life is not None:
            lives.append([z, isotope.get("number"), life[0], life[1]])
    _write_csv(os.path.join(dest, "halflives.csv"), ["Z", "mass", "halflife", "units"],
               sorted(lives, key=lambda r: (r[0], int(r[1]))))
    shutil.copyfile("/usr/share/doc/bodr/copyright", os.path.join(dest, "copyright"))
    return package_version("bodr")


def refresh_pymatgen(dest):
    import importlib.util
    spec = importlib.util.find_spec("pymatgen")
    folder = (list(spec.submodule_search_locations)[0] if spec else
              "/usr/lib/python3/dist-packages/pymatgen")
    with open(os.path.join(folder, "core", "periodic_table.json"), encoding="utf-8") as f:
        table = json.load(f)
    cut = {symbol: {k: entry[k] for k in PYMATGEN_KEYS if k in entry}
           for symbol, entry in sorted(table.items(), key=lambda i: i[1]["Atomic no"])
           if 1 <= entry["Atomic no"] <= LAST_ELEMENT}
    _write_json(os.path.join(dest, "periodic_table.json"), cut)
    shutil.copyfile("/usr/share/doc/python3-pymatgen/copyright", os.path.join(dest, "copyright"))
    return package_version("python3-pymatgen")


def refresh_periodictable(dest):
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
    _write_csv(os.path.join(dest, "elements.csv"),
               ["Z", "symbol", "mass", "density", "density_caveat", "crystal_symmetry"], rows)
    shutil.copyfile("/usr/share/doc/python3-periodictable/copyright", os.path.join(dest, "copyright"))
    return package_version("python3-periodictable")


def refresh_ptjs(dest, tarball):
    with tempfile.TemporaryDirectory() as tmp:
        if tarball is None:
            subprocess.run(["npm", "pack", f"{PTJS_PACKAGE}@{PTJS_VERSION}"], cwd=tmp, check=True,
                           stdout=subprocess.DEVNULL)
            tarball = os.path.join(tmp, [n for n in os.listdir(tmp) if n.endswith(".tgz")][0])
        with tarfile.open(tarball) as tar:
            def member(name):
                return tar.extractfile(f"package/{name}").read().decode("utf-8")
            meta = json.loads(member("package.json"))
            if meta["version"] != PTJS_VERSION or meta["license"] != "Apache-2.0":
                sys.exit(f"gather-elements: {tarball} is {meta['version']}, {meta['license']}")
            table = json.loads(member("periodic-table.json"))
            for name in ("LICENSE.md", "README.md"):
                with open(os.path.join(dest, name), "w", encoding="utf-8") as f:
                    f.write(member(name))
    cut = {name: {k: entry[k] for k in PTJS_KEYS if k in entry}
           for name, entry in sorted(table.items(), key=lambda i: i[1]["atomic_number"])
           if 1 <= entry["atomic_number"] <= LAST_ELEMENT}
    _write_json(os.path.join(dest, "periodic-table.json"), cut)
    # The package points to the Apache License 2.0 without its text and has no
    # NOTICE file; the licence text is Debian's copy.
    shutil.copyfile("/usr/share/common-licenses/Apache-2.0", os.path.join(dest, "LICENSE-2.0.txt"))
    return PTJS_VERSION


def refresh_extracts(dest, tarball=None, shared=None):
    shared = shared or os.path.join(ROOT, "..", "shared", "data-sources")
    versions = {}
    for name, refresh in (("bodr", refresh_bodr), ("pymatgen", refresh_pymatgen),
                          ("periodictable", refresh_periodictable)):
        os.makedirs(os.path.join(dest, name), exist_ok=True)
        versions[name] = refresh(os.path.join(dest, name))
    os.makedirs(os.path.join(dest, "periodic-table.js"), exist_ok=True)
    versions["periodic-table.js"] = refresh_ptjs(os.path.join(dest, "periodic-table.js"), tarball)
    with open(os.path.join(shared, "README.md"), encoding="utf-8") as f:
        readme = f.read()
    for name, folder, files in (
            ("mendeleev", "mendeleev-1.1.0",
             ["elements.csv", "phasetransitions.csv", "propertymetadata.csv", "LICENSE"]),
            ("chemicals", "chemicals",
             ["crc-heat-of-fusion.tsv", "crc-heat-of-vaporization.tsv",
              "crc-standard-thermodynamic-properties.tsv", "LICENSE.txt"])):
        os.makedirs(os.path.join(dest, name), exist_ok=True)
        for file in files:
            shutil.copyfile(os.path.join(shared, folder, file), os.path.join(dest, name, file))
        commit = re.search(rf"`{name}`(?:(?!`).)*?git commit (\w+)", readme, re.S)
        versions[name] = (folder.split("-", 1)[1] + " " if "-" in folder else "") + (
            f"(commit {commit.group(1)})" if commit else "")
    shutil.copyfile(os.path.join(shared, "README.md"), os.path.join(dest, "mendeleev-chemicals-README.md"))
    with open(os.path.join(dest, "VERSIONS"), "w", encoding="utf-8") as f:
        f.write("# source\tversion (written by tools/gather-elements.py --refresh-extracts)\n")
        for name, version in versions.items():
            f.write(f"{name}\t{version.strip()}\n")
    return versions


# --------------------------------------------------------------------- main

def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--sources", default=SOURCES_DIR, help="folder of the extracts")
    parser.add_argument("--self-test", action="store_true")
    parser.add_argument("--refresh-extracts", action="store_true",
                        help="re-create the extracts from the installed packages, the npm "
                             "tarball and the shared raw tables")
    parser.add_argument("--without-gperiodic", action="store_true",
                        help="print the counts without periodic-table.js (GPeriodic's table); "
                             "writes nothing")
    parser.add_argument("--npm-tarball", help="periodic-table.js tarball (else npm pack)")
    parser.add_argument("--shared", help="folder of the mendeleev and chemicals raw tables "
                                         "(default ../shared/data-sources)")
    args = parser.parse_args()
    if args.self_test:
        suite = unittest.defaultTestLoader.loadTestsFromTestCase(GatheringTest)
        result = unittest.TextTestRunner(verbosity=1).run(suite)
        sys.exit(0 if result.wasSuccessful() else 1)
    if args.refresh_extracts:
        for name, version in refresh_extracts(args.sources, args.npm_tarball,
                                              args.shared).items():
            print(f"{name} {version}", file=sys.stderr)
        return

    if args.without_gperiodic:
        EXCLUDED_LINEAGES.add("GPeriodic")
        print(counts_table(outputs(args.sources)[0]))
        return
    g, csv_text, review, sources_md = outputs(args.sources)
    for name, text in (("elements.csv", csv_text), ("REVIEW.md", review),
                       ("SOURCES.md", sources_md)):
        with open(os.path.join(ROOT, "data", name), "w", encoding="utf-8", newline="") as f:
            f.write(text)
    print(counts_table(g), file=sys.stderr)


# ---------------------------------------------------------------- self-test

class GatheringTest(unittest.TestCase):
    def test_kelvin_to_celsius_keeps_the_source_precision(self):
        for kelvin, celsius in (("1811", "1538"), ("14.01", "-259.14"), ("0.95", "-272.20"),
                                ("302.91", "29.76"), ("273.15", "0.00"), ("717.87", "444.72"),
                                ("3695", "3422"), ("1000", "727")):
            self.assertEqual(kelvin_to_celsius(kelvin), celsius, kelvin)

    def test_float_kelvin_back_to_the_handbooks_celsius(self):
        for kelvin, celsius in (("302.91459999999995", "29.7646"), ("1560.15", "1287"),
                                ("20.270999999999987", "-252.879"), ("2833.15", "2560"),
                                ("234.32099999999997", "-38.829"), ("273.15", "0"),
                                ("1357.77", "1084.62"), ("4098.15", "3825")):
            self.assertEqual(float_kelvin_to_celsius(kelvin), celsius, kelvin)

    def test_float_noise_and_whole_numbers(self):
        for text, clean in (("0.0034249999999999997", "0.003425"), ("6.0", "6"),
                            ("22.5872", "22.5872"), ("0.0013080000000000001", "0.001308"),
                            ("8.2e-05", "0.000082"), ("14.304", "14.304"), ("10.0", "10")):
            self.assertEqual(float_text(text), clean, text)

    def test_per_metre_to_per_centimetre(self):
        for wmk, wcmk in (("401", "4.01"), ("80.4", "0.804"), ("0.1805", "0.001805"),
                          ("0.00943", "0.0000943"), ("8.8", "0.088"), ("430", "4.3"),
                          ("400", "4"), ("100", "1"), ("2", "0.02")):
            self.assertEqual(shift_decimal(wmk, -2), wcmk, wmk)

    def test_kilograms_per_cubic_metre_to_grams_per_millilitre(self):
        for kgm3, gml in (("7874", "7.874"), ("7140", "7.14"), ("19300", "19.3"),
                          ("5000", "5"), ("22610", "22.61"), ("535", "0.535"),
                          ("10000", "10")):
            self.assertEqual(shift_decimal(kgm3, -3), gml, kgm3)

    def test_joules_to_kilojoules_per_mole(self):
        for jmol, kjmol in (("13810", "13.81"), ("120", "0.12"), ("80", "0.08"),
                            ("22175", "22.175"), ("10000", "10"), ("900", "0.9"),
                            ("294000", "294")):
            self.assertEqual(shift_decimal(jmol, -3), kjmol, jmol)

    def test_resistivity_to_conductivity(self):
        for rho, sigma in (("1.72", "0.581"), ("1.63", "0.613"), ("10", "0.10"),
                           ("6", "0.17"), ("144", "0.00694"), ("2.7", "0.37"), ("100", "0.010")):
            self.assertEqual(resistivity_to_conductivity(rho), sigma, rho)

    def test_molar_to_specific_heat(self):
        self.assertEqual(molar_to_specific_heat("25.1", "55.845"), "0.449")
        self.assertEqual(molar_to_specific_heat("28.8", Decimal("1.008") * 2), "14.3")
        self.assertEqual(molar_to_specific_heat("24.4", "63.546"), "0.384")
        self.assertEqual(molar_to_specific_heat("8.5", "12.011"), "0.71")

    def test_gas_densities_at_0_C(self):
        self.assertEqual(ideal_gas_density(Decimal("1.008") * 2), "0.00008994")
        self.assertEqual(ideal_gas_density(Decimal("4.002602")), "0.0001786")
        self.assertEqual(ideal_gas_density(Decimal("14.007") * 2), "0.001250")
        self.assertEqual(ideal_gas_density(Decimal("222")), "0.009905")
        self.assertEqual(gas_density_25_to_0("8.2e-05"), "0.000090")
        self.assertEqual(gas_density_25_to_0("0.002898"), "0.003163")
        self.assertTrue(all(len(ideal_gas_density(m)) <= WIDTH["cDen"]
                            for m in (Decimal("2.016"), Decimal("300"))))

    def test_atomic_weight_rounded_to_nine_characters(self):
        for text, rounded in (("22.98976928", "22.989769"), ("132.9054519", "132.90545"),
                              ("26.9815386", "26.981539"), ("102.90550", "102.90550"),
                              ("1.008", "1.008"), ("196.966569", "196.96657")):
            self.assertEqual(round_to_width(text, 9), rounded, text)
        with self.assertRaises(ValueError):
            round_to_width("1234567890", 9)

    def test_configurations_read_and_compacted(self):
        self.assertEqual(readable_configuration("[Ar].3d<sup>6</sup>.4s<sup>2</sup>"),
                         "[Ar] 3d6 4s2")
        self.assertEqual(readable_configuration("1s<sup>1</sup>"), "1s1")
        self.assertEqual(readable_configuration("Ar 3d6 4s2"), "[Ar] 3d6 4s2")
        self.assertEqual(compact_configuration("[Xe] 4f14 5d10 6s2 6p1", 20),
                         "[Xe]4f14 5d10 6s26p1")
        self.assertEqual(compact_configuration("[Xe] 4f14 5d10 6s2", 20), "[Xe] 4f14 5d10 6s2")

    def test_oxidation_list_and_crystal_system(self):
        self.assertEqual(oxidation_list([-2, -1, 1, 2, 3, 4, 5, 6]), "6,5,4,3,2,1,-1,-2")
        for group, system in ((2, "Triclinic"), (12, "Monoclinic"), (64, "Orthorhombic"),
                              (139, "Tetragonal"), (166, "Trigonal"), (194, "Hexagonal"),
                              (229, "Cubic")):
            self.assertEqual(crystal_system(group), system, group)
        with self.assertRaises(ValueError):
            crystal_system(231)

    def test_pymatgen_values(self):
        ohm = r"10\^-8 Ω m"
        v = parse_pymatgen_value("1.72 10<sup>-8</sup> &Omega; m", ohm)
        self.assertEqual((v.text, v.flag), ("1.72", None))
        self.assertEqual(parse_pymatgen_value("about  14 10<sup>-8</sup> &Omega; m", ohm).flag,
                         APPROXIMATE)
        self.assertIsNone(parse_pymatgen_value("&gt; 10<sup>12</sup>10<sup>-8</sup> &Omega; m",
                                               ohm))
        self.assertIsNone(parse_pymatgen_value("no data 10<sup>-8</sup> &Omega; m", ohm))
        self.assertEqual(parse_pymatgen_value("maybe about 300 K", "K").flag, ESTIMATE)
        self.assertEqual(parse_pymatgen_value("2 (estimate)W m<sup>-1</sup> K<sup>-1</sup>",
                                              r"W m\^-1 K\^-1").flag, ESTIMATE)
        v = parse_pymatgen_value("(white P) 317.3 K", "K")
        self.assertEqual((v.text, v.flag), ("317.3", None))

    def test_periodic_table_js_notation(self):
        self.assertEqual(parse_ptjs_value(13.8), ("13.8", None, ""))
        self.assertEqual(parse_ptjs_value(401), ("401", None, ""))
        self.assertEqual(parse_ptjs_value([261]), ("261", None, "mass number"))
        self.assertEqual(parse_ptjs_value("~340"), ("340", APPROXIMATE, ""))
        self.assertEqual(parse_ptjs_value("(102.9)"), ("102.9", APPROXIMATE, ""))
        self.assertEqual(parse_ptjs_value("0.904 (H-H)"), ("0.904", None, "H-H"))
        self.assertEqual(parse_ptjs_value("0.0708 (@ -253°C)"), ("0.0708", None, "@ -253°C"))
        self.assertEqual(parse_ptjs_value("2.25 (graphite)"), ("2.25", None, "graphite"))
        for none in ("-", "n/a", "", None):
            self.assertIsNone(parse_ptjs_value(none))

    def test_chemicals_standard_state_and_forms(self):
        self.assertEqual(standard_state_heat_capacity(
            {"Hfs": "0", "Cps": "25.1", "Hfg": "416300", "Cpg": "25.7"}), "25.1")
        self.assertEqual(standard_state_heat_capacity(
            {"Hfs": "", "Hfl": "0", "Cpl": "28", "Hfg": "61400", "Cpg": "20.8"}), "28")
        self.assertEqual(standard_state_heat_capacity(
            {"Hfs": "", "Hfg": "0", "Cpg": "28.8"}), "28.8")
        self.assertIsNone(standard_state_heat_capacity({"Hfs": "-2100", "Cps": "25.8"}))
        rows = [{"allotrope": "rhombic", "is_transition": "1"},
                {"allotrope": "monoclinic", "is_transition": ""}]
        self.assertEqual(mendeleev_phase_row(16, rows)["allotrope"], "monoclinic")
        rows = [{"allotrope": "white", "is_transition": ""},
                {"allotrope": "red", "is_transition": ""}]
        self.assertEqual(mendeleev_phase_row(15, rows)["allotrope"], "white")

    def test_cross_check_rule(self):
        self.assertTrue(confirms("cBP", "2560", "2565"))
        self.assertFalse(confirms("cBP", "2560", "2565.1"))
        self.assertFalse(confirms("cBP", "2560", "2927"))
        self.assertTrue(confirms("cMP", "-259.16", "-259.14"))
        self.assertTrue(confirms("cDen", "7.87", "7.874"))
        self.assertTrue(confirms("cHF", "13.81", "13.8"))
        self.assertTrue(confirms("cHF", "10", "10.2"))
        self.assertFalse(confirms("cHF", "10", "10.21"))
        self.assertFalse(confirms("cHF", "0.12", "0.117"))
        self.assertTrue(confirms("cAW", "[97]", "97.90721"))

    def _decide(self, box, candidates, order=None):
        g = Gathering()
        row = {b: "" for b, _ in FIELDS}
        row.update(cAN="120", cname="Test")
        chosen = decide(g, row, box, candidates, order)
        return g, chosen

    def test_decide_confirms_only_across_lineages(self):
        g, chosen = self._decide("cHV", [Value("340", None, "periodic-table.js"),
                                         Value("341", None, "chemicals")])
        self.assertEqual(chosen.source, "chemicals")
        self.assertEqual(g.confirmed["cHV"], 1)
        self.assertEqual(g.review, [])
        g, chosen = self._decide("cHV", [Value("340", None, "chemicals", lineage="x"),
                                         Value("340", None, "periodic-table.js", lineage="x")])
        self.assertEqual(g.confirmed["cHV"], 0)
        self.assertEqual(g.review[0]["status"], "unconfirmed")

    def test_decide_lists_disagreements_and_marked_values(self):
        g, chosen = self._decide("cBP", [Value("2560", None, "mendeleev"),
                                         Value("2927", None, "pymatgen"),
                                         Value("2563", None, "periodic-table.js")])
        self.assertEqual(chosen.text, "2560")
        self.assertEqual(g.review[0]["status"], "confirmed; 1 differ")
        g, chosen = self._decide("cHV", [Value("340", APPROXIMATE, "periodic-table.js")])
        self.assertIsNone(chosen)
        self.assertEqual(len(g.not_taken), 1)
        g, chosen = self._decide("cMP", [Value("1527", None, "mendeleev"),
                                         Value("1527", ESTIMATE, "pymatgen")])
        self.assertIsNone(chosen)

    def test_sources_after_the_bar_never_supply(self):
        g, chosen = self._decide("cBP", [Value("337", None, "periodic-table.js")])
        self.assertIsNone(chosen)
        self.assertIn("never taken", g.not_taken[0]["why"])

    def test_an_estimate_keeps_out_the_same_value_from_another_source(self):
        self.assertIsNone(choose([Value("1800", None, "a"), Value("1800", ESTIMATE, "b")]))
        self.assertEqual(choose([Value("13.25", None, "a"), Value("14", ESTIMATE, "b")]).text,
                         "13.25")
        self.assertEqual(choose([Value("1323", APPROXIMATE, "a"), Value("1323", None, "b")]).source,
                         "b")

    def test_physics_rules(self):
        # Per rule, a value that breaks it and one that passes.
        for rule, failure, bad, good in (
                ("melting below boiling", lambda v: below_failure(v, "616", "boiling point"),
                 "817", "615.9"),
                ("vaporization above fusion", lambda v: above_failure(v, "2.335", "heat of fusion"),
                 "2.33", "76.9"),
                ("vaporization is no sublimation",
                 lambda v: vaporization_failure(v, "175.3", "9.21"), "176", "143.5"),
                ("vaporization below sublimation less fusion",
                 lambda v: vaporization_failure(v, "849.4", "52.31"), "813.1", "813"),
                ("ideal gas within 2 %", lambda v: gas_density_failure(v, Decimal("70.90")),
                 "0.00323", "0.003163"),
                ("molar mass over molar volume", lambda v: condensed_density_failure(
                    v, Decimal("55.845"), "7.09"), "8.04", "7.874"),
                ("Dulong-Petit, low", lambda v: molar_heat_failure(v, Decimal("55.845")),
                 "0.358", "0.449"),
                ("Dulong-Petit, high", lambda v: molar_heat_failure(v, Decimal("157.25")),
                 "0.255", "0.236"),
                ("named exception", lambda v: molar_heat_failure(v, Decimal("9.012182"),
                                                                 Decimal("16.4")),
                 "2.5", "1.825")):
            with self.subTest(rule):
                self.assertTrue(failure(bad), bad)
                self.assertIsNone(failure(good), good)

    def test_a_rejected_value_gives_way_and_confirms_nothing(self):
        g = Gathering()
        row = {b: "" for b, _ in FIELDS}
        row.update(cAN="120", cname="Test")
        cands = [Value("143.6", None, "chemicals"), Value("143.5", None, "periodic-table.js")]
        reject(g, row, "cHV", cands, lambda v: "wrong" if v.source == "chemicals" else None)
        self.assertEqual([(r["value"], r["why"]) for r in g.rejected],
                         [("chemicals 143.6", "wrong")])
        self.assertEqual(decide(g, row, "cHV", cands).text, "143.5")
        self.assertEqual(g.confirmed["cHV"], 0)
        g, chosen = self._decide("cHV", [cands[0]])
        self.assertIsNone(chosen)
        self.assertIn("physics check", g.not_taken[0]["why"])

    def test_conductivities_take_the_digits_another_lineage_has(self):
        for precise, rounded, same in (("0.134", "0.13", True), ("4.01", "4", True),
                                       ("0.125", "0.13", True), ("0.135", "0.13", False),
                                       ("2.01", "1.9", False), ("0.13", "0.13", False)):
            self.assertEqual(rounds_to(precise, rounded), same, (precise, rounded))
        g, chosen = self._decide("cTC", [Value("0.13", None, "pymatgen"),
                                         Value("0.134", None, "periodic-table.js")])
        self.assertEqual((chosen.text, g.confirmed["cTC"]), ("0.134", 1))
        g, chosen = self._decide("cTC", [Value("0.13", None, "pymatgen"),
                                         Value("0.134", APPROXIMATE, "periodic-table.js")])
        self.assertEqual(chosen.text, "0.13")

    def test_overrides_pick_a_source_or_none(self):
        for (z, box), (source, reason) in OVERRIDES.items():
            self.assertTrue(reason)
            if box not in TEXT_OVERRIDES:
                self.assertTrue(source is None or source in FIELD_ORDER[box], (z, box))

    def test_the_extracts_give_the_committed_files(self):
        with contextlib.redirect_stderr(io.StringIO()):
            g, csv_text, review, sources_md = outputs()
        for name, text in (("elements.csv", csv_text), ("REVIEW.md", review),
                           ("SOURCES.md", sources_md)):
            with open(os.path.join(ROOT, "data", name), encoding="utf-8") as f:
                self.assertEqual(f.read(), text, f"data/{name} is not what the gathering writes")


if __name__ == "__main__":
    main()
