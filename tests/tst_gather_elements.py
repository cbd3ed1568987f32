"""Tests of the element gathering (tools/elements/), run by
`python3 tools/gather-elements.py --self-test` (CTest: gather_elements_selftest)."""

import contextlib
import csv
import io
import os
import sys
import unittest
from decimal import Decimal
from types import SimpleNamespace

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))

from elements import DATA_DIR  # noqa: E402
from elements.choice import Gathering, choose, confirms, decide, rounds_to  # noqa: E402
from elements.fields import APPROXIMATE, ESTIMATE, FIELDS, WIDTH, Value  # noqa: E402
from elements.outputs import generate  # noqa: E402
from elements.physics import (above_failure, below_failure, check,  # noqa: E402
                              condensed_density_failure, gas_density_failure,
                              molar_heat_failure, reject, vaporization_failure)
from elements.sources.chemicals import standard_state_heat_capacity  # noqa: E402
from elements.sources.mendeleev import phase_row  # noqa: E402
from elements.sources.periodic_table_js import parse_value as ptjs_value  # noqa: E402
from elements.sources.pymatgen import parse_value as pymatgen_value  # noqa: E402
from elements.units import (compact_configuration, crystal_system,  # noqa: E402
                            float_kelvin_to_celsius, float_text, gas_density_25_to_0,
                            ideal_gas_density, kelvin_to_celsius, molar_to_specific_heat,
                            oxidation_list, readable_configuration,
                            resistivity_to_conductivity, round_to_width, shift_decimal)


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

    def test_decimal_point_moved_for_w_per_cm_k_g_per_ml_and_kj_per_mol(self):
        for wmk, wcmk in (("401", "4.01"), ("80.4", "0.804"), ("0.1805", "0.001805"),
                          ("0.00943", "0.0000943"), ("8.8", "0.088"), ("430", "4.3"),
                          ("400", "4"), ("100", "1"), ("2", "0.02")):
            self.assertEqual(shift_decimal(wmk, -2), wcmk, wmk)
        for kgm3, gml in (("7874", "7.874"), ("7140", "7.14"), ("19300", "19.3"),
                          ("5000", "5"), ("22610", "22.61"), ("535", "0.535"),
                          ("10000", "10")):
            self.assertEqual(shift_decimal(kgm3, -3), gml, kgm3)
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
        v = pymatgen_value("1.72 10<sup>-8</sup> &Omega; m", ohm)
        self.assertEqual((v.text, v.flag), ("1.72", None))
        self.assertEqual(pymatgen_value("about  14 10<sup>-8</sup> &Omega; m", ohm).flag,
                         APPROXIMATE)
        self.assertIsNone(pymatgen_value("&gt; 10<sup>12</sup>10<sup>-8</sup> &Omega; m",
                                               ohm))
        self.assertIsNone(pymatgen_value("no data 10<sup>-8</sup> &Omega; m", ohm))
        self.assertEqual(pymatgen_value("maybe about 300 K", "K").flag, ESTIMATE)
        self.assertEqual(pymatgen_value("2 (estimate)W m<sup>-1</sup> K<sup>-1</sup>",
                                              r"W m\^-1 K\^-1").flag, ESTIMATE)
        v = pymatgen_value("(white P) 317.3 K", "K")
        self.assertEqual((v.text, v.flag), ("317.3", None))

    def test_periodic_table_js_notation(self):
        self.assertEqual(ptjs_value(13.8), ("13.8", None, ""))
        self.assertEqual(ptjs_value(401), ("401", None, ""))
        self.assertEqual(ptjs_value([261]), ("261", None, "mass number"))
        self.assertEqual(ptjs_value("~340"), ("340", APPROXIMATE, ""))
        self.assertEqual(ptjs_value("(102.9)"), ("102.9", APPROXIMATE, ""))
        self.assertEqual(ptjs_value("0.904 (H-H)"), ("0.904", None, "H-H"))
        self.assertEqual(ptjs_value("0.0708 (@ -253°C)"), ("0.0708", None, "@ -253°C"))
        self.assertEqual(ptjs_value("2.25 (graphite)"), ("2.25", None, "graphite"))
        for none in ("-", "n/a", "", None):
            self.assertIsNone(ptjs_value(none))

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
        self.assertEqual(phase_row(16, rows)["allotrope"], "monoclinic")
        rows = [{"allotrope": "white", "is_transition": ""},
                {"allotrope": "red", "is_transition": ""}]
        self.assertEqual(phase_row(15, rows)["allotrope"], "white")

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

    def _row(self, **fields):
        return {**{b: "" for b, _ in FIELDS}, "cAN": "120", "cname": "Test", **fields}

    def _decide(self, box, candidates, order=None):
        g = Gathering()
        return g, decide(g, self._row(), box, candidates, order)

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
        # The sources after the bar never supply.
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

    def test_a_field_runs_each_of_its_rules(self):
        el = SimpleNamespace(row=self._row(cHF="9.21"), sublimation_heat=lambda: "175.3",
                             boiling_point=Value("616", None, "bodr", "sublimation point"))
        heats = [Value(v, None, "chemicals") for v in ("9.2", "176", "143.5")]
        check(Gathering(), el, "cHV", heats)
        self.assertRegex(heats[0].rejected, "^not above the heat of fusion")
        self.assertRegex(heats[1].rejected, "^the heat of sublimation")
        self.assertIsNone(heats[2].rejected)
        melting = [Value("400", None, "mendeleev")]
        check(Gathering(), el, "cMP", melting)
        self.assertIn("is a sublimation point", melting[0].rejected)

    def test_a_rejected_value_gives_way_and_confirms_nothing(self):
        g = Gathering()
        row = self._row()
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

    def test_the_extracts_give_the_committed_files(self):
        with contextlib.redirect_stderr(io.StringIO()):
            g, csv_text, review, sources_md = generate()
        for name, text in (("elements.csv", csv_text), ("REVIEW.md", review),
                           ("SOURCES.md", sources_md)):
            with open(os.path.join(DATA_DIR, name), encoding="utf-8") as f:
                self.assertEqual(f.read(), text, f"data/{name} is not what the gathering writes")

    def test_the_table_holds_the_handbooks_values(self):
        # Values as the CRC Handbook gives them, in the main window's units, with
        # the tolerance each is held to: one or more per numeric field, among them
        # boiling points that an earlier single source had wrong.
        with open(os.path.join(DATA_DIR, "elements.csv"), encoding="utf-8") as f:
            rows = {int(row["cAN"]): row for row in csv.DictReader(f)}
        for z, field, expected, tolerance in (
                (26, "cAW", 55.845, 0.001), (90, "cMP", 1750, 5), (29, "cBP", 2562, 5),
                (92, "cBP", 4131, 5), (89, "cBP", 3200, 5), (6, "cBP", 3825, 5),
                (5, "cDen", 2.34, 0.01), (1, "cDen", 8.988e-5, 0.01e-5), (26, "cSH", 0.449, 0.002),
                (29, "cTC", 4.01, 0.05), (57, "cTC", 0.134, 0.0005), (29, "EC", 0.580, 0.01),
                (13, "cHV", 294, 1), (26, "cHF", 13.81, 0.05)):
            value = float(rows[z][field].strip("[]"))
            self.assertLessEqual(abs(value - expected), tolerance, (rows[z]["cname"], field))


if __name__ == "__main__":
    unittest.main()
