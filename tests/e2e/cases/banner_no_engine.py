"""The Windows program's banner under Wine. Wine has the web browser control but no engine behind it:
the control is created and takes the program's pages, and never shows one (the page fails, or stays
loading until the host gives it up at its deadline). The window and the reminder work as ever, the
strip stays plain, no box opens, and the failed page is logged once. A loopback banner server offers
the pages, so only the missing engine keeps them from the strip.
"""

import contextlib
import datetime

from banner_server import BannerServer
from cases.banner import DEFAULT_PAGE, pixels, strip_point
from cases.main_window import (FINAL, IMG2, LUNCH, NOON, QUIET, check, expect_announced_once, program_time,
                               wait_in_tray, wait_shown_in_place)
from programs import PROGRAMS
from runner import Suite
from xsession import Desktop, wait_until


@contextlib.contextmanager
def server_desktop(args, case):
    """A desktop whose program asks a loopback banner server for its pages."""
    with BannerServer() as server:
        env = {"CHIMEWICK_AD_HOST": server.host}
        with Desktop(PROGRAMS[args.program](args.exe), program_env=env, out_dir=args.out,
                     name=case.name.split(".", 1)[-1]) as d:
            d.server = server
            yield d


suite = Suite("e2e.", programs=("windows",), fixture=server_desktop)

PAST_DEADLINE = datetime.timedelta(seconds=25)  # the host gives a page 20 s on the program's clock
FAILURES = (" could not be loaded", " gave no document", " was not complete after 20 s")


def banner_lines(d):
    """The lines the program has logged about its banner (its stderr)."""
    with open(d.program_log, "rb") as f:
        text = f.read().decode("utf-8", "replace")
    return [line.strip() for line in text.splitlines() if line.startswith("banner: ")]


def check_plain_strip(d):
    points = [strip_point(5, 5), strip_point(200, 40), strip_point(400, 80), strip_point(436, 86)]
    colours = pixels(d, points)
    check(len(set(colours)) == 1 and colours[0] != (255, 255, 255), f"strip colours {colours}")


def check_no_box(d):
    boxes = d.viewable_boxes()
    check(boxes == [], f"a box opened: {d.dump().get('error')!r} ({boxes})")


def past_the_deadline(d):
    """Moves the program's clock past the page's deadline and waits until the program has seen it."""
    moment = d.clock.now() + PAST_DEADLINE
    d.clock.set(moment)
    wait_until(f"the program's clock at {moment:%H:%M:%S}",
               lambda: (program_time(d) or datetime.datetime.min) >= moment + datetime.timedelta(seconds=2))


@suite.case
def banner_without_engine(d):
    """No browser engine: the reminder pops up with a plain strip and no box; the page that never
    comes is logged once, and the pages of later pop-ups not again."""
    d.ini_bytes = QUIET + ("[XHBX]\r\nstartDSBJ=1\r\nOnTime=12:00\r\nOnTimeTxnr=%s\r\n" % LUNCH).encode("gbk")
    d.start_program()
    wait_in_tray(d)
    wid = wait_shown_in_place(d)
    expect_announced_once(d, NOON, LUNCH)
    check(d.window_geometry(wid) == FINAL, "the window moved")
    check_plain_strip(d)
    check_no_box(d)
    d.screenshot("plain-strip")

    past_the_deadline(d)
    lines = wait_until("the failed page in the log", lambda: banner_lines(d), timeout=30)
    page = f"banner: http://{d.server.host}{DEFAULT_PAGE}"
    check(len(lines) == 1 and lines[0].startswith(page) and lines[0].endswith("; the strip stays plain") and
          any(f in lines[0] for f in FAILURES), f"banner log: {lines}")
    print(lines[0])
    check_plain_strip(d)
    check_no_box(d)

    # Down to the tray and up again: the next pages fail the same way, and silently.
    d.click(wid, *IMG2)
    wait_until("the window to be unmapped", lambda: d.map_state(wid) != "IsViewable")
    icon = wait_in_tray(d)
    d.click(int(icon.wid, 16), 11, 11)
    wait_shown_in_place(d)
    past_the_deadline(d)
    check_plain_strip(d)
    check_no_box(d)
    check(len(banner_lines(d)) == 1, f"banner log: {banner_lines(d)}")
    check(d.program_alive(), "the program ended")
