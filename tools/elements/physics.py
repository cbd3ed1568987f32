"""The physics check. Before any value is chosen, every value of every source
for a field goes through the rules of that field (RULES); a value that fails
one is marked rejected, listed in REVIEW.md, and neither taken nor counted as a
confirmation.

A rule has two parts: a *_failure function, which says why a value cannot be
right (or returns None), and a function of the element, in RULES under its
field, which applies it to the element's values as far as the element allows
(None where the rule does not apply). What a rule may read of the element
(gather.Element): z, row (the fields gathered so far: the steps of gather.py run
in the order the rules need), boiling_point (the chosen Value), molar_volumes
(by source), is_gas(), is_solid(), formula_mass() and sublimation_heat()."""

from decimal import Decimal

from .units import MOLAR_VOLUME_ML, plain, round_significant, to_decimal, weight_number

PHYSICS_TOLERANCE = Decimal("0.02")     # of the value a rule compares with

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


# ------------------------------------------------------------------ failures
# Each *_failure function returns why a value cannot be right, or None.

def _percent(value, reference):
    return f"{100 * (value - reference) / reference:+.1f} %"


def below_failure(value, limit, words):
    """`value` must lie below `limit`, the element's `words` ("boiling point")."""
    if to_decimal(value) >= to_decimal(limit):
        return f"not below the {words}, {limit}"
    return None


def above_failure(value, limit, words):
    """`value` must lie above `limit`, the element's `words` ("heat of fusion")."""
    if to_decimal(value) <= to_decimal(limit):
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
    value, sublimation = to_decimal(heat), to_decimal(sublimation)
    if abs(value - sublimation) <= PHYSICS_TOLERANCE * sublimation:
        return (f"the heat of sublimation at 25 C ({plain(sublimation)}, "
                f"{_percent(value, sublimation)}), not of vaporization")
    bound = sublimation - (to_decimal(fusion) if fusion else 0)
    if value > bound * (1 + PHYSICS_TOLERANCE):
        return (f"above the heat of sublimation at 25 C less the heat of fusion "
                f"({plain(sublimation)} - {fusion or 0} = {plain(bound)}, "
                f"{_percent(value, bound)})")
    return None


def gas_density_failure(density, molar_mass):
    """A gas density in g/ml at 0 C and 101.325 kPa against the ideal-gas law for
    a gas of `molar_mass` g/mol."""
    ideal = Decimal(molar_mass) / MOLAR_VOLUME_ML
    if abs(to_decimal(density) - ideal) > PHYSICS_TOLERANCE * ideal:
        return (f"{_percent(to_decimal(density), ideal)} from the ideal-gas density "
                f"{round_significant(ideal, 4)} of M = {molar_mass} g/mol")
    return None


def condensed_density_failure(density, molar_mass, molar_volume):
    """A solid's or liquid's density in g/ml against the molar mass (g/mol) over
    the molar volume (ml/mol) that the same source gives."""
    expected = Decimal(molar_mass) / to_decimal(molar_volume)
    if abs(to_decimal(density) - expected) > PHYSICS_TOLERANCE * expected:
        return (f"{_percent(to_decimal(density), expected)} from the molar mass over the source's "
                f"molar volume, {molar_mass} / {molar_volume} = {round_significant(expected, 4)}")
    return None


def molar_heat_failure(specific_heat, molar_mass, exception=None):
    """A solid metal's specific heat in J/(g K) at 25 C: times the molar mass it
    must lie in the Dulong-Petit range, or, for an exception, within 2 % of the
    exception's molar heat capacity."""
    molar = to_decimal(specific_heat) * Decimal(molar_mass)
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


# ------------------------------------------------------------------- rules
# Each rule: an element -> a function (a Value -> why it fails, or None), or
# None where the rule does not apply to that element.

def melting_below_boiling(el):
    """A melting point lies below the boiling point; there is none where the
    boiling point is a sublimation point (carbon, arsenic: they melt only under
    pressure)."""
    boiling = el.boiling_point
    if boiling is None:
        return None
    if boiling.note == "sublimation point":
        return lambda v: (f"the boiling point, {boiling.text}, is a sublimation point: the "
                          "element does not melt at 101.325 kPa")
    return lambda v: below_failure(v.text, boiling.text, "boiling point")


def gas_density(el):
    """A gas's density follows the ideal-gas law."""
    if not el.is_gas():
        return None
    molar_mass = el.formula_mass()
    return lambda v: gas_density_failure(v.text, molar_mass)


def condensed_density(el):
    """A solid's or liquid's density is the molar mass over the molar volume,
    where the density's source gives a molar volume."""
    if el.is_gas() or not el.row["cAW"]:
        return None
    molar_mass, volumes = weight_number(el.row["cAW"]), el.molar_volumes
    return lambda v: (condensed_density_failure(v.text, molar_mass, volumes[v.source])
                      if v.source in volumes else None)


def metal_heat_capacity(el):
    """A solid metal's specific heat gives a molar heat capacity in the
    Dulong-Petit range, or that of its named exception."""
    if not el.is_solid() or el.z in NOT_METALS or not el.row["cAW"]:
        return None
    molar_mass = weight_number(el.row["cAW"])
    exception = MOLAR_HEAT_EXCEPTIONS.get(el.z, (None,))[0]
    return lambda v: molar_heat_failure(v.text, molar_mass, exception)


def vaporization_above_fusion(el):
    """A heat of vaporization lies above the heat of fusion."""
    fusion = el.row["cHF"]
    if not fusion:
        return None
    return lambda v: above_failure(v.text, fusion, "heat of fusion")


def vaporization_below_sublimation(el):
    """A solid's heat of vaporization lies below its heat of sublimation less its
    heat of fusion."""
    sublimation = el.sublimation_heat()
    if not sublimation:
        return None
    fusion = el.row["cHF"] or None
    return lambda v: vaporization_failure(v.text, sublimation, fusion)


# Per field, its rules; a value is rejected by the first that it fails.
RULES = [
    ("cMP", melting_below_boiling),
    ("cDen", gas_density),
    ("cDen", condensed_density),
    ("cSH", metal_heat_capacity),
    ("cHV", vaporization_above_fusion),
    ("cHV", vaporization_below_sublimation),
]


def check(g, el, box, candidates):
    """Runs the rules of field `box` that apply to the element on `candidates`."""
    failures = [f for b, rule in RULES if b == box for f in [rule(el)] if f is not None]
    if failures:
        reject(g, el.row, box, candidates,
               lambda v: next((why for why in (f(v) for f in failures) if why), None))


def reject(g, row, box, candidates, failure):
    """Runs `failure` (a Value -> reason or None) on every value of field `box`
    that a source has; one that fails is marked and listed."""
    for c in candidates:
        if c is None or c.rejected:
            continue
        c.rejected = failure(c)
        if c.rejected:
            g.rejected.append({"z": int(row["cAN"]), "name": row["cname"], "box": box,
                               "value": c.describe(), "why": c.rejected, "row": row})
