"""The command line shared by the end-to-end case files: each case gets its own virtual desktop.

Usage: <cases file> --exe build/chimewick [--out build/e2e] CASE...   (or "all")
Exit status 0 when every case passed, 1 on a failure, 77 when a needed tool is missing or every case
named was skipped.
"""

import argparse
import time

from xsession import CaseFailed, Desktop, missing_tools


class CaseSkipped(Exception):
    """Raised by a case that cannot run here; the message says why."""


def run_cases(cases, doc):
    parser = argparse.ArgumentParser(description=doc)
    parser.add_argument("--exe", required=True)
    parser.add_argument("--out", default=None, help="folder for screenshots")
    parser.add_argument("cases", nargs="+", choices=sorted(cases) + ["all"])
    args = parser.parse_args()
    missing = missing_tools()
    if missing:
        print("skipped: missing " + ", ".join(missing))
        return 77
    names = sorted(cases) if "all" in args.cases else args.cases
    failed = skipped = 0
    for name in names:
        t0 = time.monotonic()
        try:
            with Desktop(args.exe, out_dir=args.out, name=name) as d:
                cases[name](d)
            print(f"PASS {name} ({time.monotonic() - t0:.1f} s)")
        except CaseSkipped as e:
            skipped += 1
            print(f"SKIP {name}: {e}")
        except CaseFailed as e:
            failed += 1
            print(f"FAIL {name}: {e}")
    if failed:
        return 1
    return 77 if skipped == len(names) else 0
