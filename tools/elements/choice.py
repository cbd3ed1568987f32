"""The choice of a value: per field the sources in order of preference, the
marks that keep a value out, the cross-check against the sources of another
lineage, and the values picked by hand. Gathering holds what was chosen and
what review needs to see."""

import sys
from decimal import Decimal

from .fields import APPROXIMATE, ESTIMATE, FIELDS, NUMERIC, TEMPERATURES, WIDTH
from .units import plain, round_significant, significant_digits, to_decimal, weight_number

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

# Lineages left out of the choice (--without-gperiodic).
EXCLUDED_LINEAGES = set()

TEMPERATURE_TOLERANCE = Decimal(5)      # C
RELATIVE_TOLERANCE = Decimal("0.02")    # of the chosen value

# Fields whose first source rounds its values (pymatgen keeps most conductivities
# to two significant digits): a value of another lineage that rounds to the same
# number and has more digits is shipped instead.
ROUNDED_FIRST_SOURCE = {"cTC": "pymatgen", "EC": "pymatgen"}


# Values picked by hand: (Z, field): (source whose value is taken, or None for
# none, reason with its reference); a text field (cCS, cEC) takes the value
# itself, as it always did. Where the sources plainly err or give a prediction
# unmarked; a choice between their values, never a value of our own.
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
    return agrees(plain(to_decimal(a) + Decimal("273.15")),
                  plain(to_decimal(b) + Decimal("273.15")))


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
            and Decimal(round_significant(to_decimal(precise), digits)) == to_decimal(rounded))


def warn(message):
    print(f"cross-check: {message}", file=sys.stderr)


# ------------------------------------------------------------------ deciding

def decide(g, row, box, candidates, order=None):
    """Takes the value of `box` for the element of `row` from `candidates` (in
    the order of FIELD_ORDER, or of the entry `order` of it), cross-checks it
    and records what review needs."""
    candidates, takers = _in_order(box, candidates, FIELD_ORDER[order or box])
    chosen, rule = _first_choice(box, candidates, takers)
    chosen, rounded, rule = _with_more_digits(box, chosen, candidates, rule)
    override = OVERRIDES.get((int(row["cAN"]), box))
    if override is not None:
        chosen, rule = _overridden(g, row, box, candidates, override)
    if chosen is None:
        if candidates:
            _not_taken(g, row, box, candidates, rule or _why_not_taken(candidates, takers))
        return None
    put(g, row, box, chosen.text, chosen.source)
    _cross_check(g, row, box, chosen, candidates, rounded, rule, override is not None)
    return chosen


def _in_order(box, candidates, order):
    """The candidates of sources not left out, in `order`, and the sources of it
    that may supply the value (those before "|")."""
    takers = order[:order.index("|")] if "|" in order else order
    candidates = sorted((c for c in candidates
                         if c is not None and c.lineage not in EXCLUDED_LINEAGES),
                        key=lambda c: order.index(c.source))
    for c in candidates:
        if c.source not in order:
            raise ValueError(f"{c.source} is not in the order of {box}")
    return candidates, takers


def _first_choice(box, candidates, takers):
    """The first unmarked value that passed the physics check, and why it is that one."""
    same = kelvin_agrees if box in TEMPERATURES else agrees
    chosen = choose([c for c in candidates if c.source in takers and not c.rejected], same)
    if chosen is None:
        return None, ""
    if chosen.source == takers[0]:
        return chosen, f"{chosen.source}, first in order"
    skipped = [c for c in candidates if c.source in takers[:takers.index(chosen.source)]]
    return chosen, (f"{chosen.source}: " + ("; ".join(
        f"{c.source}'s is " + ("rejected" if c.rejected else "marked") for c in skipped)
        if skipped else "the sources before it have none"))


def _with_more_digits(box, chosen, candidates, rule):
    """Where the chosen value's source rounds it (ROUNDED_FIRST_SOURCE), the same
    value to more digits from another lineage: (chosen, the rounded one or None, rule)."""
    if chosen and ROUNDED_FIRST_SOURCE.get(box) == chosen.source:
        finer = [c for c in candidates if c.flag is None and not c.rejected
                 and c.lineage != chosen.lineage and rounds_to(c.text, chosen.text)]
        if finer:
            rule = f"{finer[0].source}: {chosen.source}'s {chosen.text} to more digits"
            return finer[0], chosen, rule
    return chosen, None, rule


def _overridden(g, row, box, candidates, override):
    """The value that an entry of OVERRIDES picks (None for none), and the rule."""
    source, reason = override
    z = int(row["cAN"])
    picked = [c for c in candidates if c.source == source]
    if source is not None and not picked:
        raise ValueError(f"override of Z={z} {box}: {source} has no value")
    chosen = picked[0] if picked else None
    g.overrides.append((z, row["cname"], box, chosen.text if chosen else "(empty)", reason))
    return chosen, f"override: {reason}"


def _not_taken(g, row, box, candidates, why):
    g.not_taken.append({"z": int(row["cAN"]), "name": row["cname"], "box": box,
                        "candidates": "; ".join(c.describe() + (" rejected" if c.rejected else "")
                                                for c in candidates),
                        "why": why})


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


def _cross_check(g, row, box, chosen, candidates, rounded, rule, overridden):
    """Counts the chosen value as confirmed when an unmarked value of another
    lineage agrees with it (`rounded`, the value it gives more digits of, does);
    lists it for review when none does, when one differs, or when it was picked
    by hand."""
    others = [c for c in candidates if c is not chosen]
    comparable = [c for c in others
                  if c.flag is None and not c.rejected and c.lineage != chosen.lineage]
    agreeing = [c for c in comparable if c is rounded or confirms(box, chosen.text, c.text)]
    differing = [c for c in comparable if c not in agreeing]
    if agreeing:
        g.confirmed[box] += 1
    if agreeing and not differing and not overridden:
        return
    status = ("confirmed" if agreeing else "unconfirmed") + (
        f"; {len(differing)} differ" if differing else "")
    g.review.append({"z": int(row["cAN"]), "name": row["cname"], "box": box,
                     "chosen": chosen.text, "source": chosen.source, "rule": rule,
                     "status": status,
                     "others": "; ".join(
                         c.describe() + (" agrees" if c in agreeing else
                                         " differs" if c in differing else
                                         " rejected" if c.rejected else "")
                         for c in others) or "none"})


def put(g, row, box, value, source):
    if value is None or value == "":
        return
    if len(value) > WIDTH[box]:
        raise ValueError(f"Z={row['cAN']} {box}: {value!r} is longer than {WIDTH[box]}")
    row[box] = value
    g.counts[box][source] = g.counts[box].get(source, 0) + 1


def put_text(g, row, box, value, source):
    """A text field, with its override, which gives the value itself."""
    override = OVERRIDES.get((int(row["cAN"]), box))
    if override is not None:
        value, reason = override
        warn(f"Z={row['cAN']} {box} set to {value!r}: {reason}")
        g.overrides.append((int(row["cAN"]), row["cname"], box, value or "(empty)", reason))
        source = f"{source} (override)"
    put(g, row, box, value, source)
