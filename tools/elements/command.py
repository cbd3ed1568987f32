"""Gathers the element values of Orbitra Table into data/elements.csv.

The options of tools/gather-elements.py: gather (the default), --self-test,
--refresh-extracts and --without-gperiodic."""

import argparse
import importlib.util
import os
import sys
import unittest

from . import DATA_DIR, ROOT, SOURCES_DIR
from .choice import EXCLUDED_LINEAGES
from .outputs import counts_table, generate
from .sources import refresh_extracts

SELF_TEST = os.path.join(ROOT, "tests", "tst_gather_elements.py")


def arguments():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--sources", default=SOURCES_DIR, help="folder of the extracts")
    parser.add_argument("--self-test", action="store_true")
    parser.add_argument("--refresh-extracts", action="store_true",
                        help="re-create the extracts from the installed packages, the npm "
                             "tarball and the shared raw tables")
    parser.add_argument("--without-gperiodic", action="store_true",
                        help="print the counts without periodic-table.js (GPeriodic's table); "
                             "writes nothing")
    parser.add_argument("--npm-tarball", help="periodic-table.js tarball (else npm pack)")
    parser.add_argument("--shared", help="folder of the mendeleev and chemicals raw tables "
                                         "(default ../shared/data-sources)")
    return parser.parse_args()


def self_test():
    """Runs the tests of the gathering (tests/tst_gather_elements.py); True when all pass."""
    spec = importlib.util.spec_from_file_location("tst_gather_elements", SELF_TEST)
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    suite = unittest.defaultTestLoader.loadTestsFromModule(module)
    return unittest.TextTestRunner(verbosity=1).run(suite).wasSuccessful()


def main():
    args = arguments()
    if args.self_test:
        sys.exit(0 if self_test() else 1)
    if args.refresh_extracts:
        for name, version in refresh_extracts(args.sources, args.npm_tarball,
                                              args.shared).items():
            print(f"{name} {version}", file=sys.stderr)
        return
    if args.without_gperiodic:
        EXCLUDED_LINEAGES.add("GPeriodic")
        print(counts_table(generate(args.sources)[0]))
        return
    g, csv_text, review, sources_md = generate(args.sources)
    for name, text in (("elements.csv", csv_text), ("REVIEW.md", review),
                       ("SOURCES.md", sources_md)):
        with open(os.path.join(DATA_DIR, name), "w", encoding="utf-8", newline="") as f:
            f.write(text)
    print(counts_table(g), file=sys.stderr)
