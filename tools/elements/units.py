"""Conversions into the units of the main window. Each keeps the precision of
its source: a value that does not fit its field stops the run instead of being
cut."""

import re
from decimal import ROUND_HALF_UP, Decimal

# Ideal-gas molar volume at 0 C and 101.325 kPa in ml: R T / p with
# R = 8.314462618 J/(mol K) (exact since 2019), T = 273.15 K, p = 101325 Pa.
MOLAR_VOLUME_ML = Decimal("8.314462618") * Decimal("273.15") / Decimal(101325) * Decimal(10) ** 6


def to_decimal(text):
    return Decimal(str(text).strip())


def plain(d):
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
    return plain(value.quantize(Decimal(1).scaleb(exponent), rounding=ROUND_HALF_UP))


def kelvin_to_celsius(text):
    """K -> C, with as many decimals as the source ("1811" -> "1538")."""
    kelvin = to_decimal(text)
    celsius = kelvin - Decimal("273.15")
    return plain(celsius.quantize(Decimal(1).scaleb(kelvin.as_tuple().exponent),
                                  rounding=ROUND_HALF_UP))


def float_text(text):
    """A number stored as a binary float ("0.0034249999999999997", "6.0") as
    the decimal it was written as ("0.003425", "6"): rounded to 12 significant
    digits, without the ".0" that a float prints for a whole number."""
    value = to_decimal(text)
    if value == 0:
        return "0"
    value = Decimal(round_significant(value, 12)).normalize()
    return plain(value)


def float_kelvin_to_celsius(text):
    """A temperature that mendeleev stores as a float in K, converted from the
    handbook's C by adding 273.15, back to that C: at most four decimals, the
    float's noise and trailing zeros dropped ("302.91459999999995" -> "29.7646",
    "1560.15" -> "1287")."""
    celsius = (to_decimal(text) - Decimal("273.15")).quantize(Decimal("0.0001"),
                                                               rounding=ROUND_HALF_UP)
    return plain(celsius.normalize()) if celsius != 0 else "0"


def shift_decimal(text, places):
    """Moves the decimal point: W/(m*K) -> W/(cm*K) is -2, kg/m3 -> g/ml and
    J/mol -> kJ/mol are -3. The trailing zeros of a whole number are not
    significant and do not turn into decimals ("400" -> "4", "7140" -> "7.14");
    written decimals are kept."""
    value = to_decimal(text).scaleb(places)
    if "." not in text and value != value.to_integral_value():
        value = value.normalize()
    elif "." not in text:
        value = value.quantize(Decimal(1))
    return plain(value)


def resistivity_to_conductivity(text):
    """Resistivity in micro-ohm-cm -> conductivity in 10^6/(cm*ohm), with the
    significant digits of the source and at least two ("1.72" -> "0.581")."""
    return round_significant(Decimal(1) / to_decimal(text), max(2, significant_digits(text)))


def molar_to_specific_heat(cp_text, molar_mass):
    """Heat capacity in J/(mol K) -> J/(g K) for a molar mass in g/mol, with the
    significant digits of the source and at least two ("25.1", 55.845 -> "0.449")."""
    return round_significant(to_decimal(cp_text) / Decimal(molar_mass),
                             max(2, significant_digits(cp_text)))


def ideal_gas_density(molar_mass, digits=4):
    """Density in g/ml of an ideal gas of molar mass `molar_mass` g/mol at 0 C
    and 101.325 kPa, to `digits` significant digits (H2, 2.016 -> "0.00008994")."""
    return round_significant(Decimal(molar_mass) / MOLAR_VOLUME_ML, digits)


def gas_density_25_to_0(text):
    """An ideal-gas density at 25 C (mendeleev's convention) brought to 0 C at
    the same pressure: times 298.15/273.15, to the source's significant digits."""
    value = to_decimal(text) * Decimal("298.15") / Decimal("273.15")
    return round_significant(value, max(2, significant_digits(float_text(text))))


def round_to_width(text, width):
    """A decimal number rounded half up to at most `width` characters
    ("22.98976928" -> "22.989769" for 9); a shorter one is kept as written."""
    if len(text) <= width:
        return text
    value = to_decimal(text)
    decimals = max(0, -value.as_tuple().exponent)
    while decimals > 0:
        decimals -= 1
        rounded = plain(value.quantize(Decimal(1).scaleb(-decimals), rounding=ROUND_HALF_UP))
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
    return to_decimal(text.strip("[]"))
