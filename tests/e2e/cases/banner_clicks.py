"""Clicks on the banner: the real program and its banner helper under Xvfb, a loopback banner server,
and a stand-in web browser (an xdg-open first on the program's PATH, which the desktop's handler for web
addresses runs) that records each address it is given.
"""

import contextlib
import os
import stat

from banner_server import LINK_COLOUR, LINKS, BannerServer
from cases.banner import ENGINE, BannerDesktop, hex_rgb, missing, pixels, pop_up, strip_point
from cases.main_window import IMG2, QUIET, check, wait_in_tray
from programs import PROGRAMS
from runner import Suite
from xsession import wait_until


def link_point(name):
    """The middle of a link's block in the strip, on the screen."""
    left = LINKS[name][0]
    return strip_point(left - 16 + 40, 40)


class Browser:
    """The stand-in browser: a script named xdg-open that appends its arguments to a file."""

    def __init__(self, root):
        self.bin = os.path.join(root, "browser-bin")
        self.log = os.path.join(root, "opened.txt")
        os.makedirs(self.bin)
        script = os.path.join(self.bin, "xdg-open")
        with open(script, "w") as f:
            f.write(f"#!/bin/sh\nprintf '%s\\n' \"$*\" >> '{self.log}'\n")
        os.chmod(script, os.stat(script).st_mode | stat.S_IXUSR | stat.S_IXGRP | stat.S_IXOTH)

    def opened(self):
        try:
            with open(self.log) as f:
                return f.read().splitlines()
        except FileNotFoundError:
            return []


def helpers(d):
    """The program's banner helpers: its own children of that name (found by process tree)."""
    found = []
    for pid in d.program_descendants():
        try:
            with open(f"/proc/{pid}/stat") as f:
                name, rest = f.read().rsplit(")", 1)
            if int(rest.split()[1]) == d.program.pid and name.endswith("(chimewick-banne"):
                found.append(pid)
        except (OSError, ValueError, IndexError):
            continue  # gone meanwhile
    return found


@contextlib.contextmanager
def clicks_desktop(args, case):
    """A banner server whose default page is the links page, and a desktop whose program finds the
    stand-in browser first on its PATH."""
    with BannerServer(links_default=True) as server:
        program = PROGRAMS[args.program](args.exe, companions=[args.helper])
        with BannerDesktop(program, server, server.host, out_dir=args.out, name="banner-clicks") as d:
            d.browser = Browser(d.root)
            d.program_env["PATH"] = d.browser.bin + os.pathsep + d.env["PATH"]
            try:
                yield d
            except BaseException:
                print(f"requests: {server.requests}\nopened: {d.browser.opened()}")
                raise


suite = Suite("e2e.banner.", timeout=480, needs=("helper",), fixture=clicks_desktop, missing=missing,
              properties={"RUN_SERIAL": "ON"})


def click_at(d, point, button=1):
    d.run("xdotool", "mousemove", "--sync", str(point[0]), str(point[1]))
    d.run("xdotool", "click", str(button))


@suite.case
def clicks(d):
    """A left click on a link with a target and on a plain link to another site each open that address in
    the user's browser once; a script's windows, a timed location change, a file link and a right click
    open nothing; the strip keeps its page."""
    d.ini_bytes = QUIET
    d.start_program()
    wait_in_tray(d)
    wait_until("the start-up page", lambda: d.server.pages_served(), timeout=ENGINE)
    wait_until("the start-up helper to go", lambda: not helpers(d), timeout=ENGINE)
    before = len(d.server.requests)
    wid, _ = pop_up(d)
    other = d.server.other

    # The links page opens a window at once and, 1.5 s later, another one and then loads itself again
    # from another site: none of it is the user's doing, so nothing opens; the location change stays in
    # the strip, where the page now is.
    def loaded_again():
        shown = [p for p in d.server.requests[before:] if p.startswith("/shown?")]
        return "/shown?" in shown and "/shown?again" in shown[shown.index("/shown?"):]
    wait_until("the page to load itself again", loaded_again, timeout=ENGINE)
    wait_until("the links painted", lambda: pixels(d, [link_point("blank")])[0] == hex_rgb(LINK_COLOUR),
               timeout=ENGINE, interval=0.05)
    check(d.browser.opened() == [], f"opened without a click: {d.browser.opened()}")

    presses = len(d.server.clicks())
    click_at(d, link_point("blank"))
    wait_until("the browser for the link with a target", lambda: d.browser.opened(), timeout=ENGINE)
    check(d.browser.opened() == [f"{other}/ad/blank.html"], f"opened: {d.browser.opened()}")

    click_at(d, link_point("file"))
    wait_until("the page to see the click on the file link", lambda: len(d.server.clicks()) >= presses + 2)
    click_at(d, link_point("right"), button=3)
    click_at(d, link_point("plain"))
    wait_until("the browser for the plain link", lambda: len(d.browser.opened()) >= 2, timeout=ENGINE)

    # One more click on no link, seen by the page: whatever the clicks before might still have opened
    # would have come by then.
    click_at(d, strip_point(430, 80))
    wait_until("the page to see the last click", lambda: len(d.server.clicks()) >= presses + 4)
    check(d.browser.opened() == [f"{other}/ad/blank.html", f"{other}/ad/plain.html"],
          f"opened: {d.browser.opened()}")
    check(d.server.clicks()[presses:] == ["/clicked?button=0"] * 4, f"the page saw: {d.server.clicks()}")
    served = d.server.pages_served()
    check(not any(p.startswith("/ad/") for p in d.server.requests), f"loaded: {d.server.requests}")
    check(served[-1] == "/ssh/links.html?again", f"pages: {served}")
    # The strip still shows its page.
    check(pixels(d, [link_point("plain")])[0] == hex_rgb(LINK_COLOUR), "the strip lost its page")
    d.screenshot("after-clicks")
    d.click(wid, *IMG2)
    wait_in_tray(d)
    wait_until("the helper to go in the tray", lambda: not helpers(d), timeout=ENGINE)
    check(len(d.browser.opened()) == 2, f"opened: {d.browser.opened()}")
