#!/usr/bin/env python3
"""Runs the end-to-end cases of tests/e2e/cases/ (see harness/runner.py).

    tests/e2e/run.py list                                        the cases and what each checks
    tests/e2e/run.py --exe build/chimewick e2e.reminder_popup    one case (shell patterns work too)
    tests/e2e/run.py --exe build/chimewick all --out build/e2e   every case, screenshots into build/e2e
"""

import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [os.path.join(HERE, "harness"), HERE]

import cases  # noqa: E402,F401  (registers every case)
from runner import main  # noqa: E402

if __name__ == "__main__":
    sys.exit(main(sys.argv[1:], sys.executable, os.path.abspath(__file__)))
