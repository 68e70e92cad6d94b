#!/usr/bin/env python3
"""scripts/install-deps's package sets and the make targets that install them: `make run` and
`make install` install the run set, which is part of the full set and holds no Windows, Wine, clang or
test package; `make test` installs the full set, which has the end-to-end tests' session bus and window
manager.

Usage: install_deps.py --source <source folder>
Exit status 0 when everything checks out, 1 otherwise.
"""

import argparse
import os
import re
import subprocess
import sys
import tempfile

# Packages (regular expressions) that building and running the Linux program does not need.
NOT_FOR_RUNNING = [r"^wine", r"mingw", r"^clang", r"^libclang", r"fuzzer", r"gtest|gmock|googletest",
                   r"^libbenchmark", r"^xdotool$", r"faketime", r"^imagemagick$", r"^openbox$", r"^dbus-x11$"]
# Packages the end-to-end tests need besides the program's.
FOR_TESTS = ["dbus-x11", "openbox", "xdotool", "libfaketime", "googletest"]


def packages(source, *set_name):
    res = subprocess.run([os.path.join(source, "scripts", "install-deps"), "--list", *set_name],
                         capture_output=True, text=True, check=True)
    return res.stdout.split()


def install_deps_calls(source, target):
    """The install-deps commands `make <target>` would run (make -n prints, runs nothing)."""
    with tempfile.TemporaryDirectory() as work:
        res = subprocess.run(["make", "-n", "-C", source, target, f"BUILD={work}/build", f"PREFIX={work}/prefix"],
                             capture_output=True, text=True,
                             env={k: v for k, v in os.environ.items() if k not in ("MAKEFLAGS", "MFLAGS")})
    if res.returncode != 0:
        raise RuntimeError(f"make -n {target} failed: {res.stderr}")
    return sorted(set(m.strip() for m in re.findall(r"scripts/install-deps([^\n;&|]*)", res.stdout)))


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--source", required=True)
    args = parser.parse_args()
    problems = []
    run, full, default = packages(args.source, "run"), packages(args.source, "test"), packages(args.source)
    if default != full:
        problems.append("install-deps without a set does not install the full set")
    if not set(run) < set(full):
        problems.append(f"the run set is not part of the full set: {sorted(set(run) - set(full))}")
    for pattern in NOT_FOR_RUNNING:
        extra = [p for p in run if re.search(pattern, p)]
        if extra:
            problems.append(f"the run set holds {', '.join(extra)}")
    lacking = [p for p in FOR_TESTS if p not in full]
    if lacking:
        problems.append(f"the full set lacks {', '.join(lacking)}")
    for target, expected in [("run", ["run"]), ("install", ["run"]), ("test", ["test"]), ("check", ["test"]),
                             ("test-windows", ["test"])]:
        calls = install_deps_calls(args.source, target)
        if calls != expected:
            problems.append(f"make {target} runs install-deps with {calls}, not {expected}")
    for problem in problems:
        print(f"FAIL {problem}")
    if not problems:
        print(f"ok   run set: {len(run)} packages, full set: {len(full)}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
