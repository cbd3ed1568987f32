"""The fields of a record, and a value of one as a source gives it."""

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

# Elements whose standard state is a diatomic molecule: the CRC tables give
# their heats per mole of the molecule (H2 ... I2), and their gas density is
# that of the molecule. Checked against the formula column of chemicals' tables.
DIATOMIC = {1, 7, 8, 9, 17, 35, 53}

# The form of an element with allotropes that the data file describes (the
# form of its density, melting and boiling point in the CRC table): a value
# that a source gives for another form is not taken. Sulfur melts as the
# monoclinic form (rhombic sulfur turns monoclinic at 95.2 C), so the
# handbook's heat of fusion of monoclinic sulfur belongs to its melting point.
SHOWN_FORMS = {
    6: {"graphite"}, 15: {"white"}, 16: {"rhombic", "monoclinic"}, 33: {"gray"},
    34: {"gray"}, 50: {"white"}, 51: {"gray"}, 97: {"β form"},
}

# The marks a source puts on a value.
APPROXIMATE = "approximate"
ESTIMATE = "estimate"

# Where a source's table comes from, when that is another program's: the table
# of periodic-table.js is GPeriodic's, a periodic-table program (its README
# says so).
# mendeleev's uncited heats and thermal conductivities are the same table
# again (sources.mendeleev.check_copied_columns). --without-gperiodic shows the
# data without it (choice.EXCLUDED_LINEAGES).
LINEAGES = {"periodic-table.js": "GPeriodic"}


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

    def describe(self):
        """The value as REVIEW.md lists it: source, text, mark and note."""
        mark = {ESTIMATE: " (estimate)", APPROXIMATE: " (approximate)"}.get(self.flag, "")
        note = f" [{self.note}]" if self.note else ""
        return f"{self.source} {self.text}{mark}{note}"
