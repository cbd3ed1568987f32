#!/usr/bin/env python3
"""Gathers the element values of Orbitra Table into data/elements.csv.

    gather-elements.py [--output FILE]   regenerate the CSV from the installed sources
    gather-elements.py --self-test       check the conversions (standard library only)

Gathering reads three Debian packages, each under a permissive licence: bodr
(MIT), python3-pymatgen (MIT) and python3-periodictable (public domain). Run it
with Debian's /usr/bin/python3 so that the two Python packages are importable.

Rules, applied the same way to every element:
- A value that its source marks as approximate ("about", "approximate") is not
  taken from that source; the next source in order may supply the quantity.
- A value that a source marks as estimated or tentative (for temperatures,
  pymatgen's "about" too, which it uses only for unmeasured melting points) is
  never taken, and it also keeps out any other source's value for the same
  element and quantity that agrees with it: that value is the same prediction
  without the mark.
- Where pymatgen says "no data" for a melting or boiling point, the element's
  temperature has not been measured; bodr, which marks nothing as estimated,
  supplies a temperature only where pymatgen has no entry at all.
- Conversions keep the source's precision (see the functions below); a value
  that does not fit its field stops the run instead of being cut.
Cross-checks between the sources go to standard error.
"""

import argparse
import csv
import html
import io
import json
import os
import re
import subprocess
import sys
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

APPROXIMATE = "approximate"
ESTIMATE = "estimate"

# IUPAC spellings of the names that the sources may give in US spelling.
IUPAC_NAMES = {"Aluminum": "Aluminium", "Cesium": "Caesium", "Sulphur": "Sulfur"}

# periodictable's symmetry names spelt out.
SYMMETRY_NAMES = {
    "BCC": "Body-centred cubic", "fcc": "Face-centred cubic", "SC": "Simple cubic",
    "hcp": "Hexagonal close-packed", "Diamond": "Diamond cubic", "Cubic": "Cubic",
    "Tetragonal": "Tetragonal", "Orthorhombic": "Orthorhombic",
    "Rhombohedral": "Rhombohedral", "Monoclinic": "Monoclinic",
}
# periodictable's "atom" and "diatom" describe the molecule, not a crystal.
MOLECULE_SYMMETRIES = {"atom", "diatom"}


# ---------------------------------------------------------------- conversions

def _decimal(text):
    return Decimal(text.strip())


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


def shift_decimal(text, places):
    """Moves the decimal point: W/(m*K) -> W/(cm*K) is -2, kg/m3 -> g/ml is -3.
    The trailing zeros of a whole number are not significant and do not turn
    into decimals ("400" -> "4", "7140" -> "7.14"); written decimals are kept."""
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


# ----------------------------------------------------------- source readers

class Value:
    """One quantity as a source gives it: the number or text, and its mark."""

    def __init__(self, text, flag=None, source=""):
        self.text = text
        self.flag = flag
        self.source = source

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


def read_bodr_elements():
    import xml.etree.ElementTree as ET
    cml = "{http://www.xml-cml.org/schema}"
    elements = {}
    for atom in ET.parse("/usr/share/bodr/elements.xml").getroot().iter(cml + "atom"):
        values = {}
        for node in atom:
            values[node.get("dictRef")] = node.text if node.text is not None else node.get("value")
        if "bo:atomicNumber" in values:
            elements[int(values["bo:atomicNumber"])] = values
    return elements


def read_bodr_space_groups():
    """{symbol: space group number} for the elements in bodr's crystalstructures.xml."""
    import xml.etree.ElementTree as ET
    cml = "{http://www.xml-cml.org/schema}"
    groups = {}
    for molecule in ET.parse("/usr/share/bodr/crystalstructures.xml").getroot().iter(
            cml + "molecule"):
        symbols = {a.get("elementType") for a in molecule.iter(cml + "atom")}
        numbers = [s.get("spaceGroup") for s in molecule.iter(cml + "symmetry")]
        if len(symbols) == 1 and len(numbers) == 1:
            groups[symbols.pop()] = int(numbers[0])
    return groups


def read_bodr_half_lives():
    """{Z: {mass number: half-life in seconds}} from bodr's isotopes.xml."""
    import xml.etree.ElementTree as ET
    cml = "{http://www.xml-cml.org/schema}"
    seconds = {"siUnits:s": Decimal(1), "units:y": Decimal("31557600")}
    half_lives = {}
    for isotope in ET.parse("/usr/share/bodr/isotopes.xml").getroot().iter(cml + "isotope"):
        z = half_life = None
        for node in isotope:
            if node.get("dictRef") == "bo:atomicNumber":
                z = int(node.text)
            elif node.get("dictRef") == "bo:halfLife":
                half_life = Decimal(node.text) * seconds[node.get("units")]
        if z is not None and half_life is not None:
            half_lives.setdefault(z, {})[isotope.get("number")] = half_life
    return half_lives


def read_pymatgen():
    import importlib.util
    spec = importlib.util.find_spec("pymatgen")
    if spec is None:
        sys.exit("gather-elements: python3-pymatgen is not installed (run with /usr/bin/python3)")
    path = os.path.join(list(spec.submodule_search_locations)[0], "core", "periodic_table.json")
    with open(path, encoding="utf-8") as f:
        table = json.load(f)
    return {entry["Atomic no"]: entry for entry in table.values()}


def read_periodictable():
    import periodictable
    return {el.number: el for el in periodictable.elements if 1 <= el.number <= LAST_ELEMENT}


def package_version(name):
    try:
        return subprocess.run(["dpkg-query", "-W", "-f", "${Version}", name], check=True,
                              capture_output=True, text=True).stdout
    except (OSError, subprocess.CalledProcessError):
        return "unknown"


# ------------------------------------------------------------------ choosing

def agrees(a, b, tolerance=Decimal("0.03")):
    """True when two numbers differ by at most `tolerance` of the larger, or by
    at most half a unit in the last place of the less precise one."""
    x, y = Decimal(a), Decimal(b)
    half_unit = Decimal(5).scaleb(max(x.as_tuple().exponent, y.as_tuple().exponent) - 1)
    return abs(x - y) <= max(tolerance * max(abs(x), abs(y)), half_unit)


def choose(candidates, same=agrees):
    """The first unmarked value among `candidates` (in order of preference),
    unless a value marked as an estimate is the `same` as it."""
    candidates = [c for c in candidates if c is not None]
    estimates = [c.text for c in candidates if c.flag == ESTIMATE]
    for c in candidates:
        if c.flag in (ESTIMATE, APPROXIMATE):
            continue
        if any(same(c.text, e) for e in estimates):
            return None
        return c
    return None


def warn(message):
    print(f"cross-check: {message}", file=sys.stderr)


# Where the sources plainly err or give a prediction unmarked, a choice between
# their values, never a value of our own. (Z, field): (value to write or None
# for none, reason).
OVERRIDES = {
    (34, "cCS"): ("Hexagonal", "periodictable lists selenium under hcp (c/a 1.136); its hexagonal "
                               "lattice holds helical chains, not close-packed atoms"),
    (52, "cCS"): ("Hexagonal", "periodictable lists tellurium under hcp (c/a 1.33); its hexagonal "
                               "lattice holds helical chains, not close-packed atoms (bodr: "
                               "space group 152, trigonal)"),
    (104, "cEC"): (None, "bodr's configuration of rutherfordium is the calculated one; none has "
                         "been measured, and pymatgen marks even lawrencium's as tentative"),
    (105, "cEC"): (None, "bodr's configuration of dubnium is the calculated one; none has been "
                         "measured, and pymatgen marks even lawrencium's as tentative"),
}


def gather(bodr, space_groups, half_lives, pymatgen, ptable):
    rows = []
    unchecked = []
    counts = {box: {} for box, _ in FIELDS}

    def put(row, box, value, source):
        override = OVERRIDES.get((int(row["cAN"]), box))
        if override is not None:
            value, reason = override
            warn(f"Z={row['cAN']} {box} set to {value!r}: {reason}")
            source = f"{source} (see choices)"
        if value is None or value == "":
            return
        if len(value) > WIDTH[box]:
            raise ValueError(f"Z={row['cAN']} {box}: {value!r} is longer than {WIDTH[box]}")
        row[box] = value
        counts[box][source] = counts[box].get(source, 0) + 1

    for z in range(1, LAST_ELEMENT + 1):
        b = bodr.get(z, {})
        p = pymatgen.get(z, {})
        t = ptable.get(z)
        row = {box: "" for box, _ in FIELDS}
        row["cAN"] = str(z)
        counts["cAN"]["Z"] = counts["cAN"].get("Z", 0) + 1

        # Name in IUPAC spelling: bodr's, else pymatgen's.
        names = [IUPAC_NAMES.get(n, n) for n in (b.get("bo:name"), p.get("Name")) if n]
        if names:
            put(row, "cname", names[0], "bodr" if b.get("bo:name") else "pymatgen")
            if len(set(names)) > 1:
                warn(f"Z={z} name bodr {names[0]!r} pymatgen {names[1]!r}")

        # Atomic weight: bodr's IUPAC values; a whole number there is the mass
        # number of the longest-lived isotope of an element with no stable one.
        mass = b.get("bo:mass")
        if mass:
            if "." in mass:
                put(row, "cAW", round_to_width(mass, WIDTH["cAW"]), "bodr")
            else:
                put(row, "cAW", f"[{mass}]", "bodr")
                known = half_lives.get(z, {})
                if mass not in known:
                    unchecked.append(f"{b.get('bo:symbol')}-{mass}")
                elif max(known.values()) > known[mass]:
                    warn(f"Z={z} weight [{mass}] but bodr's isotopes.xml gives a longer "
                         f"half-life to mass {max(known, key=known.get)}")

        # Melting and boiling points in K.
        for box, pkey, bkey in (("cMP", "Melting point", "bo:meltingpoint"),
                                ("cBP", "Boiling point", "bo:boilingpoint")):
            pm = parse_pymatgen_value(p.get(pkey), "K")
            if pm is not None and pm.flag == APPROXIMATE:
                pm.flag = ESTIMATE  # pymatgen says "about" only of unmeasured temperatures
            bv = Value(b[bkey], None, "bodr") if b.get(bkey) else None
            candidates = [pm] + ([bv] if p.get(pkey) is None else [])
            chosen = choose(candidates)
            if chosen:
                put(row, box, kelvin_to_celsius(chosen.text), chosen.source)
                if bv and bv is not chosen and not agrees(bv.text, chosen.text, Decimal("0.05")):
                    warn(f"Z={z} {box} {chosen!r} vs {bv!r}")
            elif bv and not (pm and pm.flag == ESTIMATE):
                warn(f"Z={z} {box} none taken; pymatgen {p.get(pkey)!r}, bodr {bv.text} K")

        # Density of the substance at room temperature in g/cm3 (= g/ml): of the
        # solid from pymatgen, else periodictable's. periodictable gives the
        # gases' densities as liquids at their boiling points (caveat "T=...")
        # and no source here has the density of a gas, so gases stay empty.
        tv = None
        if t is not None and t.density is not None:
            caveat = (t.density_caveat or "").lower()
            flag = (ESTIMATE if "estimat" in caveat else
                    APPROXIMATE if ("approx" in caveat or "unavailable" in caveat) else None)
            tv = Value(str(t.density), flag, "periodictable")
        gas = (t is not None and t.density_caveat and t.density_caveat.startswith("T=")
               and pm_number(p.get("Boiling point")) is not None
               and Decimal(pm_number(p.get("Boiling point"))) < Decimal("298.15"))
        pd = parse_pymatgen_value(p.get("Density of solid"), r"kg m\^-3")
        if pd is not None:
            pd = Value(shift_decimal(pd.text, -3), pd.flag, "pymatgen")
        chosen = choose([pd] + ([] if gas else [tv]))
        if chosen:
            put(row, "cDen", chosen.text, chosen.source)
            if tv and tv is not chosen and tv.flag is None and not agrees(
                    tv.text, chosen.text, Decimal("0.05")):
                warn(f"Z={z} density {chosen!r} vs {tv!r}")

        # Electron configuration: pymatgen's, else bodr's; each cross-checks
        # the other.
        pc = bc = None
        if p.get("Electronic structure"):
            raw = p["Electronic structure"]
            flag = ESTIMATE if "tentative" in raw else None
            pc = Value(readable_configuration(raw.replace("(tentative)", "")), flag, "pymatgen")
        if b.get("bo:electronicConfiguration"):
            bc = Value(readable_configuration(b["bo:electronicConfiguration"]), None, "bodr")
        chosen = choose([pc, bc], same=lambda a, b: a == b)
        if chosen:
            put(row, "cEC", compact_configuration(chosen.text, WIDTH["cEC"]), chosen.source)
        if pc and bc and pc.text != bc.text:
            warn(f"Z={z} configuration {pc!r} vs {bc!r}")

        # Oxidation states: pymatgen's full list, highest first; its common
        # ones where the full list does not fit.
        for key in ("Oxidation states", "Common oxidation states"):
            if p.get(key) and len(oxidation_list(p[key])) <= WIDTH["cVE"]:
                put(row, "cVE", oxidation_list(p[key]), f"pymatgen {key.lower()}")
                break

        # Crystal structure: periodictable's symmetry spelt out; where it
        # describes only the molecule, the crystal system of bodr's space group.
        symmetry = (getattr(t, "crystal_structure", None) or {}).get("symmetry")
        group = space_groups.get(b.get("bo:symbol") or (t.symbol if t is not None else ""))
        if symmetry and symmetry not in MOLECULE_SYMMETRIES:
            put(row, "cCS", SYMMETRY_NAMES[symmetry], "periodictable")
        elif group:
            put(row, "cCS", crystal_system(group), "bodr")
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

        # Thermal conductivity, W/(m*K) -> W/(cm*K).
        ptc = parse_pymatgen_value(p.get("Thermal conductivity"), r"W m\^-1 K\^-1")
        chosen = choose([ptc])
        if chosen:
            put(row, "cTC", shift_decimal(chosen.text, -2), chosen.source)

        # Electrical conductivity from pymatgen's resistivity in 10^-8 ohm m,
        # which is the same number in micro-ohm-cm.
        rho = parse_pymatgen_value(p.get("Electrical resistivity"), r"10\^-8 Ω m")
        chosen = choose([rho])
        if chosen and Decimal(chosen.text) > 0:
            put(row, "EC", resistivity_to_conductivity(chosen.text), "pymatgen")

        # Specific heat and the heats of vaporization and fusion: none of the
        # three sources has them, so cSH, cHV and cHF stay empty.

        rows.append(row)
    if unchecked:
        warn("bodr's isotopes.xml has no half-life for " + ", ".join(unchecked)
             + ": their mass numbers stay bodr's elements.xml ones unchecked")
    return rows, counts


def pm_number(raw):
    """The number of an unmarked pymatgen temperature in K, or None."""
    value = parse_pymatgen_value(raw, "K")
    return value.text if value is not None and value.flag is None else None


def write_csv(rows, out):
    writer = csv.writer(out, lineterminator="\n")
    writer.writerow([box for box, _ in FIELDS])
    for row in rows:
        writer.writerow([row[box] for box, _ in FIELDS])


def check_encodable(rows):
    for row in rows:
        for box, _ in FIELDS:
            row[box].encode("cp1252")


def report_counts(counts):
    print("| field | values | by source |", file=sys.stderr)
    print("|---|---|---|", file=sys.stderr)
    for box, _ in FIELDS:
        total = sum(counts[box].values())
        parts = ", ".join(f"{s} {n}" for s, n in sorted(counts[box].items()))
        print(f"| {box} | {total} | {parts} |", file=sys.stderr)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--output", default=os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "data", "elements.csv"))
    parser.add_argument("--self-test", action="store_true")
    args = parser.parse_args()
    if args.self_test:
        suite = unittest.defaultTestLoader.loadTestsFromTestCase(ConversionTest)
        result = unittest.TextTestRunner(verbosity=1).run(suite)
        sys.exit(0 if result.wasSuccessful() else 1)

    rows, counts = gather(read_bodr_elements(), read_bodr_space_groups(),
                          read_bodr_half_lives(), read_pymatgen(), read_periodictable())
    check_encodable(rows)
    text = io.StringIO()
    write_csv(rows, text)
    with open(args.output, "w", encoding="utf-8", newline="") as f:
        f.write(text.getvalue())
    for name in ("bodr", "python3-pymatgen", "python3-periodictable"):
        print(f"{name} {package_version(name)}", file=sys.stderr)
    report_counts(counts)


# ---------------------------------------------------------------- self-test

class ConversionTest(unittest.TestCase):
    def test_kelvin_to_celsius_keeps_the_source_precision(self):
        for kelvin, celsius in (("1811", "1538"), ("14.01", "-259.14"), ("0.95", "-272.20"),
                                ("302.91", "29.76"), ("273.15", "0.00"), ("717.87", "444.72"),
                                ("3695", "3422"), ("1000", "727")):
            self.assertEqual(kelvin_to_celsius(kelvin), celsius, kelvin)

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

    def test_resistivity_to_conductivity(self):
        for rho, sigma in (("1.72", "0.581"), ("1.63", "0.613"), ("10", "0.10"),
                           ("6", "0.17"), ("144", "0.00694"), ("2.7", "0.37"), ("100", "0.010")):
            self.assertEqual(resistivity_to_conductivity(rho), sigma, rho)

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
        self.assertEqual(readable_configuration("1s2"), "1s2")
        self.assertEqual(compact_configuration("[Xe] 4f14 5d10 6s2 6p1", 20),
                         "[Xe]4f14 5d10 6s26p1")
        self.assertEqual(compact_configuration("[Xe] 4f14 5d10 6s2", 20), "[Xe] 4f14 5d10 6s2")
        self.assertEqual(compact_configuration("[Rn] 5f14 6d1 7s2 x", 20), "[Rn] 5f14 6d1 7s2 x")

    def test_oxidation_list_highest_first_without_blanks(self):
        self.assertEqual(oxidation_list([-2, -1, 1, 2, 3, 4, 5, 6]), "6,5,4,3,2,1,-1,-2")
        self.assertEqual(oxidation_list([1]), "1")

    def test_crystal_system_of_space_group(self):
        for group, system in ((2, "Triclinic"), (12, "Monoclinic"), (64, "Orthorhombic"),
                              (139, "Tetragonal"), (166, "Trigonal"), (194, "Hexagonal"),
                              (225, "Cubic"), (229, "Cubic")):
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
        self.assertIsNone(parse_pymatgen_value("high 10<sup>-8</sup> &Omega; m", ohm))
        self.assertEqual(parse_pymatgen_value("maybe about 300 K", "K").flag, ESTIMATE)
        self.assertEqual(parse_pymatgen_value("2 (estimate)W m<sup>-1</sup> K<sup>-1</sup>",
                                              r"W m\^-1 K\^-1").flag, ESTIMATE)
        v = parse_pymatgen_value("(white P) 317.3 K", "K")
        self.assertEqual((v.text, v.flag), ("317.3", None))
        v = parse_pymatgen_value("7874 kg m<sup>-3</sup>", r"kg m\^-3")
        self.assertEqual((v.text, v.flag), ("7874", None))

    def test_an_estimate_keeps_out_the_same_value_from_another_source(self):
        chosen = choose([Value("1800", None, "a"), Value("1800", ESTIMATE, "b")])
        self.assertIsNone(chosen)
        chosen = choose([Value("13.25", None, "a"), Value("14", ESTIMATE, "b")])
        self.assertEqual(chosen.text, "13.25")
        self.assertIsNone(choose([Value("1.7", None, "a"), Value("2", ESTIMATE, "b")]))
        chosen = choose([Value("1323", APPROXIMATE, "a"), Value("1323", None, "b")])
        self.assertEqual(chosen.source, "b")
        same = lambda a, b: a == b
        self.assertIsNone(choose([Value("[Rn] 7s2 7p1", ESTIMATE, "a"),
                                  Value("[Rn] 7s2 7p1", None, "b")], same))


if __name__ == "__main__":
    main()
