#!/usr/bin/env python3
"""Gathers the element values of Orbitra Table into data/elements.csv.

    gather-elements.py                     regenerate data/elements.csv, data/REVIEW.md and
                                           the counts in data/SOURCES.md from data/sources/
    gather-elements.py --refresh-extracts  re-create data/sources/ from the installed sources
    gather-elements.py --self-test         check the conversions, the cross-check rule, and
                                           that data/sources/ gives the committed files

The work is done by the package elements/ beside this script (its __init__.py
shows the pipeline); the self-test is tests/tst_gather_elements.py.

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
- Per field a stated order of preference (FIELD_ORDER in elements/choice.py),
  with the tables that cite the CRC Handbook of Chemistry and Physics first
  where they have the value. The first value not marked in its source is taken.
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
  physics check (elements/physics.py): melting point below boiling point, heat
  of fusion below heat of vaporization, a heat of vaporization of a solid below
  its heat of sublimation at 25 C less its heat of fusion, densities consistent
  with the molar mass, molar heat capacities of solid metals in the
  Dulong-Petit range. A value that fails is neither taken nor counted as a
  confirmation; the next source in order that passes supplies the quantity.
- pymatgen rounds its conductivities to two significant digits; where a source
  of another lineage has the same value to more digits, that one is shipped.
- A value picked by hand is an entry in OVERRIDES (elements/choice.py), which
  names its reference; it can only pick one source's value or none, never a
  value of our own.
- Conversions keep the source's precision (elements/units.py); a value that
  does not fit its field stops the run instead of being cut.
"""

import os
import sys

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from elements.command import main  # noqa: E402

if __name__ == "__main__":
    main()
