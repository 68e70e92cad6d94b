"""The banner: the real program and its banner helper under Xvfb with a tray host, banner pages from a
loopback server started here.
"""

import contextlib
import datetime
import os
import re
import shutil
import time

from banner_server import COLOURS, BannerServer
from cases.banner_helper import TEST_ENV
from cases.main_window import FINAL, IMG2, QUIET, check, wait_in_tray, wait_shown_in_place
from programs import PROGRAMS
from runner import Suite
from xsession import Desktop, wait_until

PANEL2_Y = 169  # the banner strip's top in the window
PANEL1_COLOUR = (198, 216, 242)  # the content panel above it
DEFAULT_PAGE = "/ssh/TG/tbtg_gd_468_60.html"
# How long the browser engine may take to start and paint a page: a second or two on an idle machine,
# near 40 s when other builds keep both cores busy (load average above 20).
ENGINE = 90


def hex_rgb(colour):
    return tuple(int(colour[i:i + 2], 16) for i in (1, 3, 5))


def pixels(d, points):
    """Colours (r, g, b) at screen points, from one screenshot."""
    path = os.path.join(d.root, "probe.png")
    d.run("import", "-display", d.display, "-window", "root", path)
    fmt = ";".join(f"%[pixel:p{{{x},{y}}}]" for x, y in points)
    out = d.run("convert", path, "-colorspace", "sRGB", "-format", fmt, "info:").strip()
    result = []
    for item in out.split(";"):
        m = re.search(r"\((\d+),(\d+),(\d+)", item)
        if m:
            result.append(tuple(int(v) for v in m.groups()))
        elif "black" in item:
            result.append((0, 0, 0))
        elif "white" in item:
            result.append((255, 255, 255))
        else:
            result.append(item)
    return result


def strip_point(x, y):
    """A point of the banner strip (Panel2 coordinates) on the screen, with the window in place."""
    return (FINAL[0] + x, FINAL[1] + PANEL2_Y + y)


def banner_shows(d, n):
    """True when page n of the chain is painted in the strip at the designed offset: the page's point
    (16, 16) at the strip's top-left corner, so its black mark is there and its red frame is not, and
    nothing of the page spills over the content panel above the strip."""
    mark, beside, below, far, above = pixels(d, [strip_point(5, 5), strip_point(13, 3), strip_point(3, 13),
                                                 strip_point(400, 80), strip_point(436, -3)])
    colour = hex_rgb(COLOURS[n % len(COLOURS)])
    return (mark == (0, 0, 0) and beside == colour and below == colour and far == colour and
            above == PANEL1_COLOUR)


def helper_processes(d):
    """Live processes started by this case's program: its banner helper and the engine's processes."""
    return d.program_descendants()


def pss_mb(pids):
    total = 0
    for pid in pids:
        try:
            with open(f"/proc/{pid}/smaps_rollup") as f:
                total += sum(int(line.split()[1]) for line in f if line.startswith("Pss:"))
        except OSError:
            pass
    return total / 1024


def private_dirty_mb(pid):
    with open(f"/proc/{pid}/smaps_rollup") as f:
        return sum(int(line.split()[1]) for line in f if line.startswith("Private_Dirty:")) / 1024


def viewable_top_levels(d):
    out = d.run("xwininfo", "-root", "-children")
    ids = re.findall(r"^\s+(0x[0-9a-f]+)", out, re.M)
    return {wid for wid in ids if d.map_state(int(wid, 16)) == "IsViewable"}


class BannerDesktop(Desktop):
    def __init__(self, program, server, ad_host, **kw):
        env = dict(TEST_ENV, CHIMEWICK_AD_HOST=ad_host)
        super().__init__(program, program_env=env, **kw)
        self.server = server
        self.ad_host = ad_host


def pop_up(d):
    icon = wait_in_tray(d)
    d.click(int(icon.wid, 16), 11, 11)
    wid = wait_shown_in_place(d)
    return wid, time.monotonic()


def back_to_tray(d, wid):
    d.click(wid, *IMG2)
    wait_until("the window to be unmapped", lambda: d.map_state(wid) != "IsViewable")
    wait_in_tray(d)
    wait_until("no helper process left", lambda: helper_processes(d) == [], timeout=30)


def missing(args):
    return [] if shutil.which("convert") else ["convert"]


@contextlib.contextmanager
def banner_desktop(args, case):
    """A loopback banner server and a desktop whose program asks it for pages (server_down: an
    address where nothing listens). The program's helper is copied beside it (--helper)."""
    name = case.name.split(".")[-1]
    with BannerServer() as server:
        host = server.host if name != "server_down" else "127.0.0.1:9"
        program = PROGRAMS[args.program](args.exe, companions=[args.helper])
        with BannerDesktop(program, server, host, out_dir=args.out, name=f"banner-{name}") as d:
            yield d


# The browser engine's start takes both cores of a small machine for seconds: one at a time.
suite = Suite("e2e.banner.", timeout=480, needs=("helper",), fixture=banner_desktop, missing=missing,
              properties={"RUN_SERIAL": "ON"})


@suite.case
def rotation(d):
    """Start-up loads the default page while hidden, then lets the helper go; three pop-ups show the
    pages in the order the pages name them, each in the strip at its offset; right clicks never reach
    the page nor open a menu, left clicks do reach it."""
    d.ini_bytes = QUIET
    d.start_program()
    wait_in_tray(d)
    wait_until("the default page", lambda: d.server.pages_served() == [DEFAULT_PAGE], timeout=ENGINE)
    wait_until("the helper to go in the tray", lambda: helper_processes(d) == [], timeout=ENGINE)
    # Proportional memory depends on who else maps the same Qt libraries, so the check is on what
    # the program holds of its own, and that the engine's libraries never enter it.
    pid = d.program.pid
    own = private_dirty_mb(pid)
    print(f"in the tray after the start-up page: no helper; program PSS {pss_mb([pid]):.1f} MB "
          f"(own dirty memory {own:.1f} MB)")
    check(own < 10, f"the program holds {own:.1f} MB of its own in the tray")
    with open(f"/proc/{pid}/maps") as f:
        check("WebEngine" not in f.read(), "the program maps a WebEngine library")

    for n in (1, 2, 3):
        wid, slide_end = pop_up(d)
        wait_until(f"banner page {n} painted", lambda: banner_shows(d, n), timeout=ENGINE, interval=0.05)
        painted = time.monotonic() - slide_end
        check(d.server.pages_served()[-1] == f"/ssh/chain/{n}.html", f"pages: {d.server.pages_served()}")
        helpers = helper_processes(d)
        print(f"pop-up {n}: page painted {painted * 1000:.0f} ms after the slide; PSS of the program "
              f"{pss_mb([d.program.pid]):.1f} MB + helper ({len(helpers)} processes) {pss_mb(helpers):.1f} MB")
        d.screenshot(f"banner-{n}")
        if n == 1:
            before = viewable_top_levels(d)
            x, y = strip_point(200, 40)
            d.run("xdotool", "mousemove", "--sync", str(x), str(y), "click", "3")
            # The pointer stands there already: a second "mousemove --sync" would wait for a motion that
            # never comes (about 15 s, longer on a loaded machine).
            d.run("xdotool", "click", "1")
            wait_until("the left click to reach the page", lambda: "/clicked?button=0" in d.server.clicks())
            check(viewable_top_levels(d) == before, "a right click opened a window")
            check(d.server.clicks() == ["/clicked?button=0"], f"the page saw: {d.server.clicks()}")
            d.screenshot("after-clicks")
        back_to_tray(d, wid)
    want = [DEFAULT_PAGE] + [f"/ssh/chain/{n}.html" for n in (1, 2, 3)]
    check(d.server.pages_served() == want, f"pages: {d.server.pages_served()}")


@suite.case
def ready_ahead(d):
    """A foreseen reminder: far from it no helper runs in the tray; within the lead the next page loads
    out of sight, and the pop-up shows it painted by the end of the slide, neither loaded again nor
    blanked first; back in the tray the helper goes."""
    noon = datetime.datetime(2026, 12, 9, 12, 0, 0)
    second = datetime.timedelta(seconds=1)
    d.faketime = "@2026-12-09 11:57:00"
    d.ini_bytes = QUIET + b"[XHBX]\r\nstartDSBJ=1\r\nOnTime=12:00\r\nOnTimeTxnr=ahead\r\n"
    d.start_program()
    wait_in_tray(d)
    wait_until("the default page", lambda: d.server.pages_served() == [DEFAULT_PAGE], timeout=30)
    wait_until("the helper to go in the tray", lambda: helper_processes(d) == [], timeout=30)

    # Ticks more than the lead (20 s) before the reminder start no helper.
    d.clock.set(noon - 40 * second)

    def quiet_until(moment):
        check(helper_processes(d) == [], f"a helper runs {noon - d.clock.now()} before the reminder")
        return d.clock.now() >= moment
    wait_until("ticks far from the reminder", lambda: quiet_until(noon - 33 * second))

    # Within the lead the next page loads out of sight; its steps (the styles) mean it has completed. The
    # clock is held within the lead until then, however long a loaded machine takes.
    d.clock.set(noon - 15 * second)

    def ready():
        if d.clock.now() > noon - 6 * second:
            d.clock.set(noon - 15 * second)
        with d.server.lock:
            served = list(d.server.requests)
        return "/ssh/chain/1.html" in served and "/styled?overflow=hidden&scroll=no" in served
    wait_until("the next page loaded ahead", ready, timeout=90, interval=0.1)
    helpers = helper_processes(d)
    check(helpers and d.main_window() is None, f"helper {helpers}, window {d.main_window()}")

    d.clock.set(noon - 2 * second)
    wid = wait_shown_in_place(d)
    slide_end = time.monotonic()
    # The first screenshot after the slide: a page that only starts loading then needs seconds more.
    painted = banner_shows(d, 1)
    print(f"page painted in the first screenshot after the slide: {painted} "
          f"({(time.monotonic() - slide_end) * 1000:.0f} ms after it ended)")
    check(painted, "the page made ready ahead was not painted when the slide ended")
    d.screenshot("ready-ahead")
    check(d.server.pages_served() == [DEFAULT_PAGE, "/ssh/chain/1.html"], f"pages: {d.server.pages_served()}")
    check(set(helpers) <= set(helper_processes(d)), "the helper was started again for the pop-up")
    back_to_tray(d, wid)
    # The next reminder is tomorrow: the helper stays away.
    later = d.clock.now() + 3 * second
    wait_until("a few ticks in the tray", lambda: quiet_until(later))


@suite.case
def server_down(d):
    """No banner server: the pop-up works as ever, the strip stays plain, and the helper goes in the
    tray."""
    d.ini_bytes = QUIET
    d.start_program()
    wait_in_tray(d)
    wid, _ = pop_up(d)
    wait_until("a helper for the pop-up", lambda: helper_processes(d), timeout=ENGINE)
    corner, middle, far = pixels(d, [strip_point(5, 5), strip_point(200, 40), strip_point(400, 80)])
    check(corner == middle == far and corner != (255, 255, 255), f"strip colours {corner} {middle} {far}")
    d.screenshot("plain-strip")
    back_to_tray(d, wid)
    check(d.program_alive(), "the program ended")
