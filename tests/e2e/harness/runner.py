"""The end-to-end cases' registry and their runner.

A case is a small function registered with a Suite's decorator; the registry is the one list of cases.
CTest's tests are generated from it (`run.py ctest ...`, read by tests/e2e/CMakeLists.txt when CTest
starts), so a new case needs no second entry anywhere.

    suite = Suite("e2e.")                      # name prefix, defaults for its cases
    @suite.case(timeout=90)
    def reminder_popup(d): ...                 # d: what the suite's fixture made (a Desktop by default)

Exit status of a run: 0 when every case passed, 1 on a failure, 77 when a needed tool is missing or every
case named was skipped.
"""

import argparse
import contextlib
import fnmatch
import time
from dataclasses import dataclass, field

from programs import PROGRAMS
from xsession import CaseFailed, Desktop, missing_tools


class CaseSkipped(Exception):
    """Raised by a case that cannot run here; the message says why."""


@dataclass
class Case:
    name: str  # the CTest name, e.g. "e2e.reminder_popup"
    run: object  # function taking what the fixture yields
    fixture: object  # (args, case) -> context manager yielding the case's desktop (or other fixture)
    programs: tuple  # the programs (PROGRAMS keys) this case is written for
    timeout: int
    labels: tuple
    needs: tuple  # runner options the case cannot do without, e.g. ("helper",)
    properties: dict  # further CTest properties, e.g. {"RUN_SERIAL": "ON"}
    options: dict  # keyword arguments for the case's Desktop
    failures: tuple = ()  # exception types besides CaseFailed that count as a failure
    missing: object = None  # (args) -> what else this case needs that is not here
    doc: str = ""


CASES = {}  # name -> Case, in the order the cases were registered


def desktop_fixture(args, case):
    """A plain desktop with the program of the run."""
    return Desktop(args.program_obj, out_dir=args.out, name=case.name.split(".", 1)[-1], **case.options)


def no_fixture(args, case):
    """For checks that start what they need themselves: the case gets the runner's arguments."""
    return contextlib.nullcontext(args)


@dataclass
class Suite:
    """Defaults shared by the cases of one file."""

    prefix: str = "e2e."
    programs: tuple = ("linux",)
    # CTest's limit for one case: it bounds how long a hung case takes, and is far above what a case
    # needs on an idle machine (a few seconds) to hold when other builds load both cores.
    timeout: int = 120
    labels: tuple = ("e2e",)
    needs: tuple = ()
    properties: dict = field(default_factory=dict)
    fixture: object = desktop_fixture
    failures: tuple = ()
    missing: object = None

    def case(self, fn=None, *, name=None, timeout=None, labels=None, properties=None, **options):
        """Registers fn as the case prefix + (name or the function's name); options go to its Desktop."""
        def register(fn):
            full = self.prefix + (name or fn.__name__)
            if full in CASES:
                raise ValueError(f"two cases named {full}")
            CASES[full] = Case(full, fn, self.fixture, self.programs, timeout or self.timeout,
                               tuple(labels or self.labels), self.needs,
                               {**self.properties, **(properties or {})}, options, self.failures,
                               self.missing, (fn.__doc__ or "").strip())
            return fn
        return register(fn) if fn else register


def add_arguments(parser):
    parser.add_argument("--program", default="linux", choices=sorted(PROGRAMS),
                        help="which program the cases drive (default: linux)")
    parser.add_argument("--exe", help="the program's executable")
    parser.add_argument("--helper", help="the banner helper, copied beside the program")
    parser.add_argument("--build", help="the build folder (install checks)")
    parser.add_argument("--source", help="the source folder (install checks)")
    parser.add_argument("--out", default=None, help="folder for screenshots")


def given_options(args, case):
    """The options of this run that the case uses, as a command line (for the command CTest runs)."""
    words = ["--program", args.program]
    for option in ("exe", "out", *case.needs):
        value = getattr(args, option)
        if value:
            words += [f"--{option}", value]
    return words


def runnable(case, args):
    return args.program in case.programs and all(getattr(args, need) for need in case.needs)


def cmake_quote(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"').replace("$", "\\$").replace(";", "\\;") + '"'


def print_ctest(args, python, script):
    """CTest commands for every case this program and these options can run."""
    for case in CASES.values():
        if not runnable(case, args):
            continue
        command = [python, script, *given_options(args, case), case.name]
        print(f"add_test({cmake_quote(case.name)} {' '.join(cmake_quote(w) for w in command)})")
        props = {"LABELS": ";".join(case.labels), "TIMEOUT": str(case.timeout), "SKIP_RETURN_CODE": "77",
                 **case.properties}
        print(f"set_tests_properties({cmake_quote(case.name)} PROPERTIES "
              + " ".join(f"{k} {cmake_quote(v)}" for k, v in props.items()) + ")")


def run(names, args):
    program_cls = PROGRAMS[args.program]
    args.program_obj = program_cls(args.exe) if args.exe else None
    failed = skipped = 0
    for name in names:
        case = CASES[name]
        absent = [] if case.fixture is no_fixture else missing_tools() + (
            args.program_obj.missing() if args.program_obj else ["--exe"])
        absent += [f"--{need}" for need in case.needs if not getattr(args, need)]
        absent += case.missing(args) if case.missing else []
        if args.program not in case.programs:
            absent.append(f"a case for {'/'.join(case.programs)}, not {args.program}")
        if absent:
            skipped += 1
            print(f"SKIP {name}: missing " + ", ".join(absent))
            continue
        t0 = time.monotonic()
        try:
            with case.fixture(args, case) as fixture:
                case.run(fixture)
            print(f"PASS {name} ({time.monotonic() - t0:.1f} s)")
        except CaseSkipped as e:
            skipped += 1
            print(f"SKIP {name}: {e}")
        except (CaseFailed, *case.failures) as e:
            failed += 1
            print(f"FAIL {name} after {time.monotonic() - t0:.1f} s: {e}")
    if failed:
        return 1
    return 77 if skipped == len(names) else 0


def main(argv, python, script):
    parser = argparse.ArgumentParser(
        description="Runs end-to-end cases, lists them, or prints them as CTest tests.",
        epilog="examples:  run.py --exe build/chimewick e2e.reminder_popup\n"
               "           run.py --exe build/chimewick 'e2e.desktop.*'\n"
               "           run.py list",
        formatter_class=argparse.RawDescriptionHelpFormatter)
    add_arguments(parser)
    parser.add_argument("cases", nargs="*", metavar="CASE",
                        help="case names or shell patterns ('all' for every case of the program); "
                             "'list' lists them, 'ctest' prints CTest commands")
    args = parser.parse_args(argv)
    if args.cases == ["list"]:
        for case in CASES.values():
            if args.program in case.programs:
                print(f"{case.name:40} {case.doc.splitlines()[0] if case.doc else ''}")
        return 0
    if args.cases == ["ctest"]:
        print_ctest(args, python, script)
        return 0
    if not args.cases:
        parser.error("name the cases to run ('list' shows them)")
    names = []
    for pattern in args.cases:
        if pattern == "all":
            matched = [n for n, c in CASES.items() if args.program in c.programs]
        else:
            matched = [n for n in CASES if fnmatch.fnmatchcase(n, pattern)]
        if not matched:
            parser.error(f"no case matches {pattern!r} ('list' shows them)")
        names += [n for n in matched if n not in names]
    return run(names, args)
