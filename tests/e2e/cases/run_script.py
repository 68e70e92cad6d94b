"""scripts/run, which make run uses to start the program: where it starts it when the display it is given
does not answer.
"""

import os
import shutil
import subprocess
import tempfile

from runner import Suite, no_fixture


class CheckFailed(AssertionError):
    pass


def check(condition, message):
    if not condition:
        raise CheckFailed(message)


def missing(args):
    return [tool for tool in ("Xvfb", "trayer", "xdpyinfo") if not shutil.which(tool)]


suite = Suite("e2e.run_script.", needs=("source",), fixture=no_fixture, failures=(CheckFailed,), missing=missing)

# Stands in for the program: reports the display it was given and whether that display answers.
PROGRAM = """#!/bin/sh
echo "display=$DISPLAY"
if xdpyinfo >/dev/null 2>&1; then echo "answers=yes"; else echo "answers=no"; fi
"""


def unused_display():
    for number in range(4242, 4342):
        if not os.path.exists(f"/tmp/.X{number}-lock") and not os.path.exists(f"/tmp/.X11-unix/X{number}"):
            return f":{number}"
    raise CheckFailed("no unused display number")


@suite.case(name="display_not_answering")
def display_not_answering(args):
    """DISPLAY set to a display that does not answer: the script says so and starts the program on a
    virtual display of its own, which answers, instead of leaving it to abort."""
    work = tempfile.mkdtemp(prefix="chimewick-run-")
    try:
        program = os.path.join(work, "chimewick")
        with open(program, "w") as f:
            f.write(PROGRAM)
        os.chmod(program, 0o755)
        dead = unused_display()
        env = {k: v for k, v in os.environ.items() if k not in ("WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        env["DISPLAY"] = dead
        res = subprocess.run([os.path.join(args.source, "scripts", "run"), program], env=env,
                             capture_output=True, text=True, timeout=90)
        said = res.stdout + res.stderr
        check(res.returncode == 0, f"scripts/run ended with {res.returncode}: {said}")
        check(f"the display {dead} (DISPLAY) cannot be opened" in res.stderr, f"nothing said of {dead}: {said}")
        check("started a virtual display" in res.stdout, f"no virtual display: {said}")
        check(f"display={dead}\n" not in res.stdout, f"the program was started on {dead}: {said}")
        check("answers=yes" in res.stdout, f"the program's display does not answer: {said}")
    finally:
        shutil.rmtree(work, ignore_errors=True)
