"""The gathering of the element values of Orbitra Table, as a pipeline:

    sources/   one module per source: reads its extract in data/sources/ and
               re-creates it (--refresh-extracts)
    gather     per element one step per field: the sources' values in the unit of
               the main window (units), checked by the physics rules (physics), one
               of them chosen and cross-checked (choice)
    outputs    data/elements.csv, data/REVIEW.md and the counts in data/SOURCES.md
    command    the options of tools/gather-elements.py

To add a source: a module in sources/ (FOLDER, read, refresh; see sources/__init__.py)
named in sources.EXTRACTS, which then reads and refreshes it. The gathering uses it
where gather.Element takes its entry of an element and the step of each field it has
(gather.py) turns that into Values; FIELD_ORDER (choice.py) says whether and when it
supplies a field's value.

To add a physics rule: physics.py alone, a *_failure function (a value -> why it
cannot be right, or None) and, in RULES under its field, a function of the element
that applies it.
"""

import os

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
DATA_DIR = os.path.join(ROOT, "data")
SOURCES_DIR = os.path.join(DATA_DIR, "sources")
