"""The command line shared by the end-to-end case files: each case gets its own virtual desktop.

Usage: <cases file> --exe build/chimewick [--out build/e2e] [file's own options] CASE...   (or "all")
Exit status 0 when every case passed, 1 on a failure, 77 when a needed tool is missing or every case
named was skipped.
"""

import argparse
import time

from xsession import CaseFailed, Desktop, missing_tools


class CaseSkipped(Exception):
    """Raised by a case that cannot run here; the message says why."""


def run_cases(cases, doc, *, options=None, add_arguments=None, missing=None, open_desktop=None, failures=()):
    """Parses the command line and runs the cases named on it, one desktop each.

    cases          name -> function taking the desktop
    options        name -> keyword arguments for that case's Desktop (e.g. {"tray": False})
    add_arguments  called with the parser to add the file's own options
    missing        called with the parsed arguments; returns what else is missing (skips the run)
    open_desktop   called with (args, name); returns the context manager that yields the case's desktop,
                   in place of a plain Desktop
    failures       exception types besides CaseFailed that count as a failed case
    """
    parser = argparse.ArgumentParser(description=doc)
    parser.add_argument("--exe", required=True)
    parser.add_argument("--out", default=None, help="folder for screenshots")
    if add_arguments:
        add_arguments(parser)
    parser.add_argument("cases", nargs="+", choices=sorted(cases) + ["all"])
    args = parser.parse_args()
    absent = missing_tools() + (missing(args) if missing else [])
    if absent:
        print("skipped: missing " + ", ".join(absent))
        return 77
    options = options or {}
    if open_desktop is None:
        def open_desktop(args, name):
            return Desktop(args.exe, out_dir=args.out, name=name, **options.get(name, {}))
    names = sorted(cases) if "all" in args.cases else args.cases
    failed = skipped = 0
    for name in names:
        t0 = time.monotonic()
        try:
            with open_desktop(args, name) as d:
                cases[name](d)
            print(f"PASS {name} ({time.monotonic() - t0:.1f} s)")
        except CaseSkipped as e:
            skipped += 1
            print(f"SKIP {name}: {e}")
        except (CaseFailed, *failures) as e:
            failed += 1
            print(f"FAIL {name}: {e}")
    if failed:
        return 1
    return 77 if skipped == len(names) else 0
