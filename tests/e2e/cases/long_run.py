"""A long run: the program in the tray with a one-minute cyclic reminder through half an hour of a fast
fake clock. Every firing must come one period after the previous one (plus at most two ticks), the
memory must stay flat and no error may be shown.
"""

import datetime
import re
import time

from cases.main_window import FINAL, check, wait_in_tray
from runner import Suite
from xsession import wait_until

START = datetime.datetime(2026, 12, 9, 9, 0, 0)
# 20 fake seconds per one-second tick: each firing comes at the first tick more than the period after
# the previous one, three or four ticks (60 or 80 s) after it. A tick that comes up to a real second
# late on a loaded machine adds at most one more tick (100 s); a firing a minute late (120 s or more)
# or a second firing (less than 60 s) falls outside that.
SPEED = 20
FAKE_MINUTES = 24
PERIOD = 60
TICK = SPEED  # fake seconds between two ticks of the one-second check timer
TEXT = "站起来走一走"
SETTINGS = ("[XTSZ]\r\nNotFirstStart=1\r\n[XHBX]\r\nstartXHBJ=1\r\nxhzq=1\r\ntxnr=%s\r\n"
            % TEXT).encode("gbk")
# What the heap may gain between the first firings and the end: caches filled by the first pop-ups
# settle early, and a leak of a few kilobytes per pop-up over some twenty of them shows above this.
MEMORY_MARGIN_KB = 1024

# Its fast fake clock measures gaps between firings: it runs alone, so other cases' load on a small
# machine cannot stretch a tick.
suite = Suite("e2e.", timeout=150, labels=("e2e", "long"), properties={"RUN_SERIAL": "ON"})


def memory_kb(pid):
    """(VmRSS, private dirty) of the process in kB. Written private pages (the heap among them) are its
    own alone; Pss and clean pages are not used, as they move whenever another process that maps the
    same libraries starts or ends."""
    with open(f"/proc/{pid}/status") as f:
        rss = int(re.search(r"^VmRSS:\s+(\d+) kB", f.read(), re.M).group(1))
    try:
        with open(f"/proc/{pid}/smaps_rollup") as f:
            rollup = f.read()
        private = int(re.search(r"^Private_Dirty:\s+(\d+) kB", rollup, re.M).group(1))
    except FileNotFoundError:
        private = rss
    return rss, private


@suite.case
def long_run(d):
    """Half an hour of a fast clock: every cyclic firing one period after the last, flat memory."""
    d.ini_bytes = SETTINGS
    d.faketime = f"@{START:%Y-%m-%d %H:%M:%S} x{SPEED}"
    d.start_program()
    wait_in_tray(d)
    end_real = d.started + FAKE_MINUTES * 60 / SPEED

    firings = []  # announcement times, in fake seconds since START
    seen = None
    baseline = None
    while time.monotonic() < end_real:
        texts = d.dump()
        check("error" not in texts, f"an error was shown: {texts}")
        check(d.program_alive(), "the program ended")
        stamp = texts.get("lbl_BBSJ")
        if stamp and stamp != seen:
            seen = stamp
            check(texts.get("lbl_1") == TEXT, f"reminder text: {texts}")
            m = re.fullmatch(r"播报时间：(\d\d):(\d\d):(\d\d)", stamp)
            check(m, f"announcement time: {stamp!r}")
            h, mi, s = (int(g) for g in m.groups())
            firings.append((h - START.hour) * 3600 + (mi - START.minute) * 60 + s - START.second)
            if len(firings) == 3:
                baseline = memory_kb(d.program.pid)
        time.sleep(0.05)

    wid = wait_until("the main window", d.main_window)
    wait_until(f"the window up at {FINAL}",
               lambda: d.map_state(wid) == "IsViewable" and d.window_geometry(wid) == FINAL)
    check(d.viewable_boxes() == [], "a box is open")
    final = memory_kb(d.program.pid)

    gaps = [b - a for a, b in zip(firings, firings[1:])]
    print(f"{len(firings)} firings, gaps {sorted(set(gaps))} s; memory (VmRSS, private dirty) kB "
          f"after the third {baseline}, at the end {final}")
    expected = (FAKE_MINUTES * 60) // (PERIOD + 2 * TICK)
    check(len(firings) >= expected - 1,
          f"only {len(firings)} firings in {FAKE_MINUTES} fake minutes: {firings}")
    # Seconds are cut off in the announcement, so a gap just over the period reads as the period.
    check(firings[0] >= PERIOD, f"the first firing came {firings[0]} s after start")
    bad = [g for g in gaps if not PERIOD <= g <= PERIOD + 2 * TICK + 1]
    check(not bad, f"gaps outside one period plus two ticks: {bad} (all: {gaps})")
    check(baseline is not None, "no memory baseline")
    check(final[0] - baseline[0] <= MEMORY_MARGIN_KB and final[1] - baseline[1] <= MEMORY_MARGIN_KB,
          f"memory grew from {baseline} to {final} kB")
