#!/usr/bin/env python3
"""Gathers the element values of Orbitra Table into data/elements.csv.

    gather-elements.py [--output FILE]   regenerate the CSV from the installed sources
    gather-elements.py --self-test       check the unit conversions (standard library only)

Gathering reads four Debian packages, each under a permissive licence:
gelemental (its data table libelemental/data.cc, Expat), bodr (MIT),
python3-pymatgen (MIT) and python3-periodictable (public domain). Run it with
Debian's /usr/bin/python3 so that the two Python packages are importable;
gelemental needs an X display and is started under xvfb-run when there is none.

Rules, applied the same way to every element:
- A value that its source marks as approximate ("~", "about") is not taken
  from that source; the next source in order may supply the quantity.
- A value that a source marks as estimated or calculated (for temperatures,
  pymatgen's "about" too, which it uses only for unmeasured melting points)
  is never taken, and it also keeps out any other source's value for the same
  element and quantity that agrees with it within 3 %: that value is the same
  prediction without the mark.
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
import shutil
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
    """Moves the decimal point: W/(m*K) -> W/(cm*K) is -2, g/L -> g/ml is -3."""
    return _plain(_decimal(text).scaleb(places))


def resistivity_to_conductivity(text):
    """Resistivity in micro-ohm-cm -> conductivity in 10^6/(cm*ohm), with the
    significant digits of the source and at least two ("1.72" -> "0.581")."""
    return round_significant(Decimal(1) / _decimal(text), max(2, significant_digits(text)))


def molar_heat_to_specific(molar, atomic_weight):
    """Molar heat capacity in J/(mol*K) -> specific heat in J/(g*K), with the
    significant digits of the molar value and at least two."""
    return round_significant(_decimal(molar) / _decimal(atomic_weight),
                             max(2, significant_digits(molar)))


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


def compact_configuration(text, width):
    """An electron configuration made to fit `width`: first the blank after the
    noble-gas core goes, then the blank between the last s and p subshells."""
    if len(text) > width:
        text = re.sub(r"^(\[[A-Z][a-z]?\]) ", r"\1", text)
    if len(text) > width:
        text = re.sub(r"(\d+s\d+) (\d+p\d+)$", r"\1\2", text)
    return text


def oxidation_list(states):
    """Oxidation states as one text without blanks, in the source's order."""
    return ",".join(str(s).strip() for s in states)


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


def parse_gelemental_value(raw):
    """Splits one property value printed by `gelemental -p` into number/text,
    unit rest and mark. "[98 g/mol] (Value for most stable isotope)" gives
    ("98", "g/mol", "isotope")."""
    raw = raw.strip()
    flag = None
    if raw.endswith("(Estimated or calculated value)"):
        flag = ESTIMATE
        raw = raw[: -len("(Estimated or calculated value)")].strip()
        if raw.startswith("(") and raw.endswith(")"):
            raw = raw[1:-1]
    elif raw.endswith("(Approximate)"):
        flag = APPROXIMATE
        raw = raw[: -len("(Approximate)")].strip().lstrip("~")
    elif raw.endswith("(Value for most stable isotope)"):
        flag = "isotope"
        raw = raw[: -len("(Value for most stable isotope)")].strip()
        if raw.startswith("[") and raw.endswith("]"):
            raw = raw[1:-1]
    match = re.match(rf"({_NUMBER})\s*(.*)$", raw)
    if match:
        return match.group(1), match.group(2), flag
    return raw, "", flag


def parse_gelemental(output):
    """{Z: {property: raw value}} from the text that `gelemental -p Z...` prints."""
    elements = {}
    current = None
    for line in output.splitlines():
        match = re.match(r"^  ([A-Za-z][A-Za-z ,]*?):\s+(.*)$", line)
        if not match:
            continue
        key, value = match.group(1), match.group(2)
        if key == "Name":
            current = {}
        if current is None:
            continue
        current[key] = value
        if key == "Atomic number":
            elements[int(value)] = current
    return elements


def parse_pymatgen_value(raw, unit_pattern):
    """A pymatgen property text -> Value, or None for "no data". Only a plain
    number followed by its unit is a value; "about", "maybe" and "(estimate)"
    mark it, anything else ("&gt; 10<sup>12</sup>", "high") is no value."""
    if raw is None:
        return None
    text = html.unescape(re.sub(r"<sup>(.*?)</sup>", r"^\1", str(raw))).strip()
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


def read_gelemental():
    numbers = [str(z) for z in range(1, LAST_ELEMENT + 1)]
    command = ["gelemental"] + [arg for z in numbers for arg in ("-p", z)]
    if not os.environ.get("DISPLAY"):
        if not shutil.which("xvfb-run"):
            sys.exit("gather-elements: gelemental needs an X display or xvfb-run")
        command = ["xvfb-run", "-a"] + command
    output = subprocess.run(command, check=True, capture_output=True, text=True).stdout
    return parse_gelemental(output)


def read_bodr():
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


def choose(candidates):
    """The first unmarked value among `candidates` (in order of preference),
    unless a value marked as an estimate agrees with it."""
    candidates = [c for c in candidates if c is not None]
    estimates = [c.text for c in candidates if c.flag == ESTIMATE]
    for c in candidates:
        if c.flag in (ESTIMATE, APPROXIMATE):
            continue
        if any(agrees(c.text, e) for e in estimates):
            return None
        return c
    return None


def gel(element, key, source="gelemental"):
    """A gelemental property as a Value (number in the source's unit)."""
    raw = element.get(key) if element else None
    if raw is None:
        return None
    number, _, flag = parse_gelemental_value(raw)
    return Value(number, flag if flag in (ESTIMATE, APPROXIMATE) else None, source)


def warn(message):
    print(f"cross-check: {message}", file=sys.stderr)


# Where the permissive sources contradict each other or plainly err, a choice
# between their values, never a value of our own. (Z, field): (source to take
# or None for none, reason).
OVERRIDES = {
    (54, "cVE"): (None, "gelemental lists 7 alone; xenon's compounds show 2, 4, 6 and 8, "
                        "and no other permissive source lists xenon's states"),
    (87, "cVE"): ("pymatgen", "gelemental lists 2; francium is univalent, as pymatgen lists"),
}


def gather(gelemental, bodr, pymatgen, ptable):
    rows = []
    counts = {box: {} for box, _ in FIELDS}

    def put(row, box, value, source):
        if value is None or value == "":
            return
        if len(value) > WIDTH[box]:
            raise ValueError(f"Z={row['cAN']} {box}: {value!r} is longer than {WIDTH[box]}")
        row[box] = value
        counts[box][source] = counts[box].get(source, 0) + 1

    for z in range(1, LAST_ELEMENT + 1):
        g = gelemental.get(z, {})
        b = bodr.get(z, {})
        p = pymatgen.get(z, {})
        t = ptable.get(z)
        row = {box: "" for box, _ in FIELDS}
        row["cAN"] = str(z)
        counts["cAN"]["Z"] = counts["cAN"].get("Z", 0) + 1

        # Name: gelemental spells the IUPAC names (Aluminium, Caesium, Sulfur).
        put(row, "cname", g.get("Name", ""), "gelemental")
        if b.get("bo:name") and b["bo:name"] != g.get("Name"):
            warn(f"Z={z} name gelemental {g.get('Name')!r} bodr {b['bo:name']!r}")

        # Atomic weight: bodr's newer IUPAC values; a whole number there is the
        # mass number of the longest-lived isotope of an element with no stable one.
        mass = b.get("bo:mass")
        gmass, _, gflag = parse_gelemental_value(g.get("Atomic mass", ""))
        if mass:
            if "." in mass:
                put(row, "cAW", round_to_width(mass, WIDTH["cAW"]), "bodr")
            else:
                put(row, "cAW", f"[{mass}]", "bodr")
            if (gflag == "isotope") != ("." not in mass):
                warn(f"Z={z} weight bodr {mass} gelemental {g.get('Atomic mass')}")
            elif gmass and not agrees(gmass, mass, Decimal("0.0005")):
                warn(f"Z={z} weight bodr {mass} gelemental {gmass}")

        # Melting and boiling points in K.
        for box, gkey, pkey, bkey in (("cMP", "Melting point", "Melting point", "bo:meltingpoint"),
                                      ("cBP", "Boiling point", "Boiling point", "bo:boilingpoint")):
            pm = parse_pymatgen_value(p.get(pkey), "K")
            if pm is not None and pm.flag == APPROXIMATE:
                pm.flag = ESTIMATE  # pymatgen says "about" only of unmeasured temperatures
            chosen = choose([gel(g, gkey), pm])
            if chosen:
                put(row, box, kelvin_to_celsius(chosen.text), chosen.source)
                others = [v for v in (pm, Value(b.get(bkey), None, "bodr")) if v and v.text]
                for other in others:
                    if other is not chosen and not agrees(other.text, chosen.text, Decimal("0.05")):
                        warn(f"Z={z} {box} {chosen!r} vs {other!r}")

        # Density: the phase at 0 C chooses solid, liquid or gas (g/L) density.
        phase = g.get("Phase", "")
        density = None
        if phase.startswith("Gas"):
            gas = gel(g, "Density, gas")
            if gas and gas.flag is None:
                density = (shift_decimal(gas.text, -3), "gelemental")
        elif phase.startswith("Liquid"):
            liquid = gel(g, "Density, liquid")
            if liquid and liquid.flag is None:
                density = (liquid.text, "gelemental")
        else:
            tv = None
            if t is not None and t.density is not None:
                caveat = (t.density_caveat or "").lower()
                flag = (ESTIMATE if "estimat" in caveat else
                        APPROXIMATE if ("approx" in caveat or "unavailable" in caveat) else None)
                tv = Value(str(t.density), flag, "periodictable")
            pd = parse_pymatgen_value(p.get("Density of solid"), r"kg m\^-3")
            if pd is not None:
                pd = Value(shift_decimal(pd.text, -3), pd.flag, "pymatgen")
            chosen = choose([gel(g, "Density, solid"), tv, pd])
            if chosen:
                density = (chosen.text, chosen.source)
                for other in (tv, pd):
                    if other and other is not chosen and other.flag is None and not agrees(
                            other.text, chosen.text, Decimal("0.05")):
                        warn(f"Z={z} density {chosen!r} vs {other!r}")
        if density:
            put(row, "cDen", density[0], density[1])

        # Electron configuration: gelemental's; bodr's only cross-checks it
        # (beyond nobelium both give the same calculated configurations).
        config = gel(g, "Electron configuration")
        if config and config.flag is None:
            text = g["Electron configuration"].strip()
            put(row, "cEC", compact_configuration(text, WIDTH["cEC"]), "gelemental")
            bconf = b.get("bo:electronicConfiguration")
            if bconf and re.sub(r"[\[\]]", "", text) != bconf:
                warn(f"Z={z} configuration gelemental {text!r} bodr {bconf!r}")

        # Oxidation states: gelemental's list, else pymatgen's (highest first).
        states = None
        if g.get("Oxidation states"):
            states = ([s.strip() for s in g["Oxidation states"].split(",")], "gelemental")
        elif p.get("Oxidation states"):
            states = ([str(s) for s in sorted(p["Oxidation states"], reverse=True)], "pymatgen")
        if states and p.get("Oxidation states") and states[1] == "gelemental":
            pstates = {str(s) for s in p["Oxidation states"]}
            if not pstates & set(states[0]):
                warn(f"Z={z} oxidation states gelemental {states[0]} pymatgen {sorted(pstates)}")
        override = OVERRIDES.get((z, "cVE"))
        if override:
            source, reason = override
            warn(f"Z={z} cVE taken from {source or 'no source'}: {reason}")
            states = None
            if source == "pymatgen":
                states = ([str(s) for s in sorted(p["Oxidation states"], reverse=True)], "pymatgen")
        if states:
            put(row, "cVE", oxidation_list(states[0]), states[1])

        # Crystal structure: gelemental's lattice type.
        if g.get("Lattice type"):
            put(row, "cCS", g["Lattice type"].strip(), "gelemental")

        # Specific heat, J/(g*K) at 25 C.
        chosen = choose([gel(g, "Specific heat capacity")])
        if chosen:
            put(row, "cSH", chosen.text, chosen.source)

        # Thermal conductivity, W/(m*K) -> W/(cm*K).
        ptc = parse_pymatgen_value(p.get("Thermal conductivity"), r"W m\^-1 K\^-1")
        chosen = choose([gel(g, "Thermal conductivity"), ptc])
        if chosen:
            put(row, "cTC", shift_decimal(chosen.text, -2), chosen.source)
            if ptc and ptc is not chosen and ptc.flag is None and not agrees(
                    ptc.text, chosen.text, Decimal("0.15")):
                warn(f"Z={z} thermal conductivity {chosen!r} vs {ptc!r}")

        # Electrical conductivity from pymatgen's resistivity in 10^-8 ohm m,
        # which is the same number in micro-ohm-cm.
        rho = parse_pymatgen_value(p.get("Electrical resistivity"), r"10\^-8 Ω m")
        chosen = choose([rho])
        if chosen and Decimal(chosen.text) > 0:
            put(row, "EC", resistivity_to_conductivity(chosen.text), "pymatgen")

        # Heats of vaporization and fusion, kJ/mol.
        for box, key in (("cHV", "Heat of vaporization"), ("cHF", "Heat of fusion")):
            chosen = choose([gel(g, key)])
            if chosen:
                put(row, box, chosen.text, chosen.source)

        rows.append(row)
    return rows, counts


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

    rows, counts = gather(read_gelemental(), read_bodr(), read_pymatgen(), read_periodictable())
    check_encodable(rows)
    text = io.StringIO()
    write_csv(rows, text)
    with open(args.output, "w", encoding="utf-8", newline="") as f:
        f.write(text.getvalue())
    for name in ("gelemental", "libelemental0", "bodr", "python3-pymatgen",
                 "python3-periodictable"):
        print(f"{name} {package_version(name)}", file=sys.stderr)
    report_counts(counts)


# ---------------------------------------------------------------- self-test

class ConversionTest(unittest.TestCase):
    def test_kelvin_to_celsius_keeps_the_source_precision(self):
        for kelvin, celsius in (("1811", "1538"), ("14.01", "-259.14"), ("0.95", "-272.20"),
                                ("302.9146", "29.7646"), ("273.15", "0.00"), ("717.8", "444.7"),
                                ("3695", "3422")):
            self.assertEqual(kelvin_to_celsius(kelvin), celsius, kelvin)

    def test_per_metre_to_per_centimetre(self):
        for wmk, wcmk in (("401", "4.01"), ("80.4", "0.804"), ("0.1805", "0.001805"),
                          ("0.00943", "0.0000943"), ("1.7", "0.017")):
            self.assertEqual(shift_decimal(wmk, -2), wcmk, wmk)

    def test_gas_density_grams_per_litre_to_per_millilitre(self):
        for gl, gml in (("0.08988", "0.00008988"), ("9.73", "0.00973"), ("1.429", "0.001429")):
            self.assertEqual(shift_decimal(gl, -3), gml, gl)

    def test_resistivity_to_conductivity(self):
        for rho, sigma in (("1.72", "0.581"), ("1.63", "0.613"), ("10", "0.10"),
                           ("6", "0.17"), ("144", "0.00694"), ("2.7", "0.37"), ("100", "0.010")):
            self.assertEqual(resistivity_to_conductivity(rho), sigma, rho)

    def test_molar_heat_to_specific(self):
        self.assertEqual(molar_heat_to_specific("25.10", "55.845"), "0.4495")
        self.assertEqual(molar_heat_to_specific("24.44", "63.546"), "0.3846")
        self.assertEqual(molar_heat_to_specific("28", "207.2"), "0.14")

    def test_atomic_weight_rounded_to_nine_characters(self):
        for text, rounded in (("22.98976928", "22.989769"), ("132.9054519", "132.90545"),
                              ("26.9815386", "26.981539"), ("102.90550", "102.90550"),
                              ("1.008", "1.008"), ("196.966569", "196.96657")):
            self.assertEqual(round_to_width(text, 9), rounded, text)
        with self.assertRaises(ValueError):
            round_to_width("1234567890", 9)

    def test_compact_configuration(self):
        self.assertEqual(compact_configuration("[Xe] 4f14 5d10 6s2 6p1", 20),
                         "[Xe]4f14 5d10 6s26p1")
        self.assertEqual(compact_configuration("[Xe] 4f14 5d10 6s2", 20), "[Xe] 4f14 5d10 6s2")
        self.assertEqual(compact_configuration("[Rn] 5f14 6d1 7s2 x", 20), "[Rn] 5f14 6d1 7s2 x")

    def test_oxidation_list_has_no_blanks(self):
        self.assertEqual(oxidation_list("6, 3, 2, 0, -2".split(",")), "6,3,2,0,-2")

    def test_gelemental_marks(self):
        self.assertEqual(parse_gelemental_value("1811 K"), ("1811", "K", None))
        self.assertEqual(parse_gelemental_value("~1323 K (Approximate)"),
                         ("1323", "K", APPROXIMATE))
        self.assertEqual(parse_gelemental_value("(610 K) (Estimated or calculated value)"),
                         ("610", "K", ESTIMATE))
        self.assertEqual(parse_gelemental_value("[98 g/mol] (Value for most stable isotope)"),
                         ("98", "g/mol", "isotope"))

    def test_pymatgen_values(self):
        ohm = r"10\^-8 Ω m"
        v = parse_pymatgen_value("1.72 10<sup>-8</sup> &Omega; m", ohm)
        self.assertEqual((v.text, v.flag), ("1.72", None))
        self.assertEqual(parse_pymatgen_value("about 55 10<sup>-8</sup> &Omega; m", ohm).flag,
                         APPROXIMATE)
        self.assertIsNone(parse_pymatgen_value("&gt; 10<sup>12</sup>10<sup>-8</sup> &Omega; m",
                                               ohm))
        self.assertIsNone(parse_pymatgen_value("no data 10<sup>-8</sup> &Omega; m", ohm))
        self.assertEqual(parse_pymatgen_value("maybe about 300 K", "K").flag, ESTIMATE)
        self.assertEqual(parse_pymatgen_value("2 (estimate)W m<sup>-1</sup> K<sup>-1</sup>",
                                              r"W m\^-1 K\^-1").flag, ESTIMATE)

    def test_an_estimate_keeps_out_the_same_value_from_another_source(self):
        chosen = choose([Value("1800", None, "a"), Value("1800", ESTIMATE, "b")])
        self.assertIsNone(chosen)
        chosen = choose([Value("13.25", None, "a"), Value("14", ESTIMATE, "b")])
        self.assertEqual(chosen.text, "13.25")
        self.assertIsNone(choose([Value("1.7", None, "a"), Value("2", ESTIMATE, "b")]))
        chosen = choose([Value("1323", APPROXIMATE, "a"), Value("1323", None, "b")])
        self.assertEqual(chosen.source, "b")


if __name__ == "__main__":
    main()
