"""The gathering: for each element, one step per field, in an order that gives
each physics rule the fields it compares with (the boiling point before the
melting point, the heat of fusion before the heat of vaporization). A step
turns the sources' entries into Values in the unit of the main window, lets the
physics rules reject some (take) and chooses one (choice.decide)."""

from decimal import Decimal

from . import physics
from .choice import OVERRIDES, Gathering, choose, decide, put, put_text, warn
from .fields import (APPROXIMATE, DIATOMIC, ESTIMATE, FIELDS, LAST_ELEMENT, SHOWN_FORMS,
                     WIDTH, Value)
from .sources import chemicals, mendeleev, periodictable
from .sources.periodic_table_js import parse_value as ptjs_value
from .sources.pymatgen import parse_value as pymatgen_value
from .units import (compact_configuration, crystal_system, float_kelvin_to_celsius,
                    float_text, gas_density_25_to_0, ideal_gas_density, kelvin_to_celsius,
                    molar_to_specific_heat, oxidation_list, readable_configuration,
                    resistivity_to_conductivity, round_to_width, shift_decimal, weight_number)

# IUPAC spellings of the names that the sources may give in US spelling.
IUPAC_NAMES = {"Aluminum": "Aluminium", "Cesium": "Caesium", "Sulphur": "Sulfur"}


class Element:
    """One element: its entry in each source, its row as far as it is gathered,
    and what the physics rules read of it."""

    def __init__(self, z, s, chem):
        self.z = z
        self.bodr = s["bodr"].elements.get(z, {})
        self.space_groups = s["bodr"].space_groups
        self.half_lives = s["bodr"].half_lives.get(z, {})
        self.pymatgen = s["pymatgen"].get(z, {})
        self.periodictable = s["periodictable"].get(z, {})
        self.ptjs = s["periodic-table.js"].get(z, {})
        self.mendeleev = s["mendeleev"].elements.get(z, {})
        self.transitions = s["mendeleev"].transitions.get(z)
        self.theoretical = s["mendeleev"].theoretical
        self.chemicals = chem.get(z, {})
        self.thermo = self.chemicals.get("standard-thermodynamic-properties", [])
        self.row = {box: "" for box, _ in FIELDS}
        self.row["cAN"] = str(z)
        self.boiling_point = None   # the chosen Value
        self.molar_volumes = {}     # source -> ml/mol, of the sources of a density
        self.unchecked_isotope = None

    def is_gas(self):
        """Boils below 25 C."""
        return self.row["cBP"] != "" and Decimal(self.row["cBP"]) < 25

    def is_solid(self):
        """Solid at 25 C: the handbook's standard state is the solid, or it melts
        above 25 C."""
        return (chemicals.solid_standard_state(self.thermo)
                or (self.row["cMP"] != "" and Decimal(self.row["cMP"]) > 25))

    def formula_mass(self):
        """The molar mass of the formula the handbook gives (H2 ... I2 for the
        diatomic elements), in g/mol."""
        return weight_number(self.row["cAW"]) * (2 if self.z in DIATOMIC else 1)

    def sublimation_heat(self):
        """The handbook's heat of sublimation at 25 C, kJ/mol, of an element
        solid at 25 C; None for any other."""
        return chemicals.sublimation_heat(self.thermo)


def take(g, el, box, candidates, order=None):
    """The physics check of `candidates`, then the choice of one."""
    physics.check(g, el, box, candidates)
    return decide(g, el.row, box, candidates, order)


# ------------------------------------------------------------------- steps

def name(g, el):
    """Name in IUPAC spelling: bodr's, else pymatgen's."""
    names = [IUPAC_NAMES.get(n, n) for n in (el.bodr.get("name"), el.pymatgen.get("Name")) if n]
    if names:
        put_text(g, el.row, "cname", names[0], "bodr" if el.bodr.get("name") else "pymatgen")
        if len(set(names)) > 1:
            warn(f"Z={el.z} name bodr {names[0]!r} pymatgen {names[1]!r}")


def atomic_weight(g, el):
    """Atomic weight: bodr's IUPAC values; a whole number there is the mass
    number of the longest-lived isotope of an element with no stable one."""
    mass = el.bodr.get("mass")
    weights = []
    if mass and "." in mass:
        weights.append(Value(round_to_width(mass, WIDTH["cAW"]), None, "bodr"))
    elif mass:
        weights.append(Value(f"[{mass}]", None, "bodr"))
        if mass not in el.half_lives:
            el.unchecked_isotope = f"{el.bodr.get('symbol')}-{mass}"
        elif max(el.half_lives.values()) > el.half_lives[mass]:
            warn(f"Z={el.z} weight [{mass}] but bodr's isotopes.xml gives a longer "
                 f"half-life to mass {max(el.half_lives, key=el.half_lives.get)}")
    pm = pymatgen_value(el.pymatgen.get("Atomic mass"), "")
    if pm:
        weights.append(Value(pm.text, None, "pymatgen"))
    if el.mendeleev.get("atomic_weight"):
        weights.append(Value(float_text(el.mendeleev["atomic_weight"]), None, "mendeleev"))
    if el.periodictable.get("mass"):
        weights.append(Value(float_text(el.periodictable["mass"]), None, "periodictable"))
    parsed = ptjs_value(el.ptjs.get("atomic_weight"))
    if parsed:
        weights.append(Value(parsed[0], parsed[1], "periodic-table.js"))
    take(g, el, "cAW", weights)


def temperatures(g, el):
    """Melting and boiling points, C. The boiling point comes first: each
    melting point must lie below it, and where it is a sublimation point the
    element does not melt at 101.325 kPa (carbon, arsenic: they melt only under
    pressure)."""
    phase = mendeleev.phase_row(el.z, el.transitions) if el.transitions else {}
    el.boiling_point = take(g, el, "cBP", _temperature_values(
        el, phase, "cBP", "boiling_point", "Boiling point", "boilingpoint", "boiling_point_K"))
    take(g, el, "cMP", _temperature_values(
        el, phase, "cMP", "melting_point", "Melting point", "meltingpoint", "melting_point_K"))


def _temperature_values(el, phase, box, mkey, pkey, bkey, ekey):
    """The melting or boiling point of each source, under the keys of mendeleev,
    pymatgen, bodr and periodic-table.js; chemicals has boiling points."""
    cands = []
    if phase.get(mkey):
        note = ("sublimation point" if box == "cBP" and phase["is_sublimation_point"] == "1"
                else "")
        cands.append(Value(float_kelvin_to_celsius(phase[mkey]), None, "mendeleev", note))
    if box == "cBP":
        for form, r in el.chemicals.get("heat-of-vaporization", []):
            cands.append(Value(float_kelvin_to_celsius(r["Tb"]), None, "chemicals", form))
    pv = pymatgen_value(el.pymatgen.get(pkey), "K")
    if pv is not None:
        if pv.flag == APPROXIMATE:
            pv.flag = ESTIMATE  # pymatgen says "about" only of unmeasured temperatures
        cands.append(Value(kelvin_to_celsius(pv.text), pv.flag, "pymatgen"))
    if el.bodr.get(bkey):
        cands.append(Value(kelvin_to_celsius(el.bodr[bkey]), None, "bodr"))
    parsed = ptjs_value(el.ptjs.get(ekey))
    if parsed:
        cands.append(Value(kelvin_to_celsius(parsed[0]), parsed[1], "periodic-table.js",
                           parsed[2]))
    return cands


def density(g, el):
    """Density, g/ml: of the solid or liquid near room temperature; of a gas
    (boiling point below 25 C) at 0 C and 101.325 kPa, which no source gives:
    computed from the molar mass with the ideal-gas law and compared with
    mendeleev's ideal-gas density at 25 C brought to 0 C. The sources' liquid
    densities of the gases are not gas densities and are left out."""
    if el.is_gas():
        molar_mass = el.formula_mass()
        cands = [Value(ideal_gas_density(molar_mass), None, "ideal gas",
                       f"M = {molar_mass} g/mol")]
        if el.mendeleev.get("density"):
            cands.append(Value(gas_density_25_to_0(el.mendeleev["density"]), None, "mendeleev",
                               "ideal gas at 25 C, brought to 0 C"))
        take(g, el, "cDen", cands, "cDen gas")
    else:
        take(g, el, "cDen", _condensed_densities(el))


def _condensed_densities(el):
    """The densities of the solid or liquid, and the molar volumes of their
    sources (pymatgen, periodic-table.js) for the physics check."""
    m, t = el.mendeleev, el.periodictable
    cands = []
    if m.get("density"):
        flag = ESTIMATE if m["name"] in el.theoretical else None
        cands.append(Value(float_text(m["density"]), flag, "mendeleev"))
    pd = pymatgen_value(el.pymatgen.get("Density of solid"), r"kg m\^-3")
    if pd is not None:
        cands.append(Value(shift_decimal(pd.text, -3), pd.flag, "pymatgen"))
    if t.get("density"):
        cands.append(Value(float_text(t["density"]), periodictable.density_flag(
            t["density_caveat"]), "periodictable", t["density_caveat"]))
    parsed = ptjs_value(el.ptjs.get("density_g_per_cm3"))
    if parsed:
        cands.append(Value(parsed[0], parsed[1], "periodic-table.js", parsed[2]))
    pv = pymatgen_value(el.pymatgen.get("Molar volume"), r"cm\^3")
    if pv is not None:
        el.molar_volumes["pymatgen"] = pv.text
    parsed = ptjs_value(el.ptjs.get("atomic_volume_cm3_per_mol"))
    if parsed:
        el.molar_volumes["periodic-table.js"] = parsed[0]
    return cands


def configuration(g, el):
    """Electron configuration: pymatgen's, else bodr's; each cross-checks the other."""
    pc = bc = None
    if el.pymatgen.get("Electronic structure"):
        raw = el.pymatgen["Electronic structure"]
        flag = ESTIMATE if "tentative" in raw else None
        pc = Value(readable_configuration(raw.replace("(tentative)", "")), flag, "pymatgen")
    if el.bodr.get("electronicConfiguration"):
        bc = Value(readable_configuration(el.bodr["electronicConfiguration"]), None, "bodr")
    chosen = choose([pc, bc], same=lambda x, y: x == y)
    if chosen:
        put_text(g, el.row, "cEC", compact_configuration(chosen.text, WIDTH["cEC"]),
                 chosen.source)
    elif (el.z, "cEC") in OVERRIDES:
        warn(f"Z={el.z} cEC override not needed")
    if pc and bc and pc.text != bc.text:
        warn(f"Z={el.z} configuration {pc!r} vs {bc!r}")


def oxidation_states(g, el):
    """Oxidation states: pymatgen's full list, highest first; its common ones
    where the full list does not fit."""
    for key in ("Oxidation states", "Common oxidation states"):
        if el.pymatgen.get(key) and len(oxidation_list(el.pymatgen[key])) <= WIDTH["cVE"]:
            put(g, el.row, "cVE", oxidation_list(el.pymatgen[key]), f"pymatgen {key.lower()}")
            break


def crystal_structure(g, el):
    """Crystal structure: periodictable's symmetry spelt out; where it describes
    only the molecule, the crystal system of bodr's space group. Where both
    have one, they are compared."""
    symmetry = el.periodictable.get("crystal_symmetry")
    if symmetry in periodictable.MOLECULE_SYMMETRIES:
        symmetry = None
    group = el.space_groups.get(el.bodr.get("symbol") or el.periodictable.get("symbol", ""))
    if symmetry:
        put_text(g, el.row, "cCS", periodictable.SYMMETRY_NAMES[symmetry], "periodictable")
    elif group:
        put_text(g, el.row, "cCS", crystal_system(group), "bodr")
    if symmetry and group:
        system = crystal_system(group)
        spelt = periodictable.SYMMETRY_NAMES[symmetry]
        expected = {"Body-centred cubic": "Cubic", "Face-centred cubic": "Cubic",
                    "Simple cubic": "Cubic", "Diamond cubic": "Cubic",
                    "Hexagonal close-packed": "Hexagonal",
                    "Rhombohedral": "Trigonal"}.get(spelt, spelt)
        if system != expected:
            warn(f"Z={el.z} crystal periodictable {symmetry} vs bodr space group {group} "
                 f"({system})")


def specific_heat(g, el):
    """Specific heat, J/(g K) at 25 C: mendeleev's (CRC), the handbook's molar
    heat capacity of the standard state divided by the molar mass of its
    formula (chemicals), periodic-table.js'."""
    cands = []
    if el.mendeleev.get("specific_heat_capacity"):
        cands.append(Value(float_text(el.mendeleev["specific_heat_capacity"]), None,
                           "mendeleev"))
    for form, r in el.thermo:
        cp = chemicals.standard_state_heat_capacity(r)
        if cp and el.row["cAW"]:
            cands.append(Value(molar_to_specific_heat(cp, el.formula_mass()), None, "chemicals",
                               form))
    parsed = ptjs_value(el.ptjs.get("specific_heat_J_g_mol"))
    if parsed:
        cands.append(Value(parsed[0], parsed[1], "periodic-table.js", parsed[2]))
    take(g, el, "cSH", cands)


def thermal_conductivity(g, el):
    """Thermal conductivity, W/(m*K) -> W/(cm*K)."""
    cands = []
    ptc = pymatgen_value(el.pymatgen.get("Thermal conductivity"), r"W m\^-1 K\^-1")
    if ptc is not None:
        cands.append(Value(shift_decimal(ptc.text, -2), ptc.flag, "pymatgen"))
    parsed = ptjs_value(el.ptjs.get("thermal_conductivity_25C_W_m_K"))
    if parsed:
        cands.append(Value(shift_decimal(parsed[0], -2), parsed[1], "periodic-table.js",
                           parsed[2]))
    take(g, el, "cTC", cands)


def electrical_conductivity(g, el):
    """Electrical conductivity from pymatgen's resistivity in 10^-8 ohm m, which
    is the same number in micro-ohm-cm. No other source has it."""
    rho = pymatgen_value(el.pymatgen.get("Electrical resistivity"), r"10\^-8 Ω m")
    if rho is not None and Decimal(rho.text) > 0:
        take(g, el, "EC", [Value(resistivity_to_conductivity(rho.text), rho.flag, "pymatgen")])


def heats(g, el):
    """Heats of fusion and of vaporization (at the boiling point), kJ/mol, per
    mole of the formula the handbook gives (H2 ... I2 for the diatomic
    elements): chemicals' CRC tables in J/mol, periodic-table.js. The heat of
    fusion comes first: each heat of vaporization must lie above it and, for a
    solid, below the heat of sublimation less it."""
    for box, table, ckey, ekey in (
            ("cHF", "heat-of-fusion", "Hfus", "fusion_heat_kJ_mol"),
            ("cHV", "heat-of-vaporization", "HvapTb", "evaporation_heat_kJ_mol")):
        cands = []
        for form, r in el.chemicals.get(table, []):
            # The liquid boils whatever the solid's form; a heat of fusion
            # belongs to the form whose melting point is shown.
            if box == "cHF" and form and form not in SHOWN_FORMS.get(el.z, ()):
                g.not_taken.append({"z": el.z, "name": el.row["cname"], "box": box,
                                    "candidates": f"chemicals {shift_decimal(r[ckey], -3)} "
                                                  f"[{form}]",
                                    "why": f"the handbook's value is for the {form} form, "
                                           "not the form of the shown melting point"})
            elif r[ckey].strip():
                cands.append(Value(shift_decimal(r[ckey].strip(), -3), None, "chemicals", form))
        parsed = ptjs_value(el.ptjs.get(ekey))
        if parsed:
            cands.append(Value(parsed[0], parsed[1], "periodic-table.js", parsed[2]))
        take(g, el, box, cands)


# The steps, in the order they run for each element.
STEPS = [name, atomic_weight, temperatures, density, configuration, oxidation_states,
         crystal_structure, specific_heat, thermal_conductivity, electrical_conductivity, heats]


def gather(s):
    """The rows of every element and what the cross-checks found, from the
    tables of sources.load_sources()."""
    g = Gathering()
    chem = chemicals.by_element(s["chemicals"], s["mendeleev"].elements)
    unchecked = []
    for z in range(1, LAST_ELEMENT + 1):
        el = Element(z, s, chem)
        g.counts["cAN"]["Z"] = g.counts["cAN"].get("Z", 0) + 1
        for step in STEPS:
            step(g, el)
        g.rows.append(el.row)
        if el.unchecked_isotope:
            unchecked.append(el.unchecked_isotope)
    if unchecked:
        warn("bodr's isotopes.xml has no half-life for " + ", ".join(unchecked)
             + ": their mass numbers stay bodr's elements.xml ones unchecked")
    return g
