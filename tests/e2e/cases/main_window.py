"""The main window and the tray: the real program on a virtual display with a tray host, driven with
xdotool. The helpers at the top are shared by the other case files.
"""

import datetime
import os
import re
import time

from runner import Suite
from xsession import SCREEN_H, SCREEN_W, CaseFailed, wait_until

W, H = 442, 259
FINAL = (SCREEN_W - W - 2, SCREEN_H - 36 - H, W, H)  # 36 above the bottom, 2 from the right
IMG2 = (394, 11)  # minimise picture, window coordinates
IMG3 = (420, 11)  # close picture
STRIP = (200, 11)  # a point of the title strip's drag area

QUIET = b"[XTSZ]\r\nNotFirstStart=1\r\n"
LUNCH = "该吃午饭了"
NOON = datetime.datetime(2026, 12, 9, 12, 0)  # the cases' clock starts 3 s before (Desktop's default)

suite = Suite("e2e.")
BOTH = ("linux", "windows")  # cases that hold for the Qt program and the Win32 one alike


def check(condition, message):
    if not condition:
        raise CaseFailed(message)


def wait_shown_in_place(d):
    """Waits for the main window to be viewable at its final place; returns its id."""
    def probe():
        wid = d.main_window()
        if wid and d.map_state(wid) == "IsViewable" and d.window_geometry(wid) == FINAL:
            return wid
        return None
    return wait_until(f"the main window viewable at {FINAL}", probe)


def wait_in_tray(d):
    return wait_until("exactly one tray icon", lambda: len(d.tray_icons()) == 1 and d.tray_icons())[0]


SECOND = datetime.timedelta(seconds=1)
MINUTE = datetime.timedelta(minutes=1)


def label_time(d, text, pattern=r"(\d\d):(\d\d):(\d\d)"):
    """The time of day a label's text shows, on the fake clock's day; None when it shows none."""
    m = re.search(pattern, text or "")
    if not m:
        return None
    h, mi, sec = (int(g) for g in m.groups())
    return d.clock.now().replace(hour=h, minute=mi, second=sec, microsecond=0)


def program_time(d):
    """The program's own time: its clock label, written at each tick before the reminders are tested."""
    return label_time(d, d.dump().get("lbl_2"))


def announced_at(d):
    return label_time(d, d.dump().get("lbl_BBSJ"))


def expect_announced_once(d, due, text):
    """The reminder due at the whole minute `due` is announced once, in that minute.

    What the program must do: announce at a tick within the due minute, not in the minute before it
    (early) nor after it (late), and not again. Its tick comes once a second and may come seconds late on
    a loaded machine; the minute is the margin it really has, so the seconds are not checked. The fake
    clock runs at real speed, and is moved to the minute's last seconds to see the minute through
    without waiting for it. Call it with the clock before `due`.
    """
    end = due + MINUTE

    def announcement():
        if d.dump().get("lbl_BBSJ"):
            return announced_at(d)
        now = program_time(d)
        if now and now >= end + 2 * SECOND:
            raise CaseFailed(f"nothing announced in the minute {due:%H:%M}; the program's clock reads "
                             f"{now:%H:%M:%S}")
        return None
    first = wait_until(f"the announcement of {due:%H:%M}", announcement,
                       timeout=(end - d.clock.now()).total_seconds() + 30)
    check(due <= first < end, f"the reminder due at {due:%H:%M} was announced at {first:%H:%M:%S}")
    check(d.dump().get("lbl_1") == text, f"reminder text: {d.dump()}")

    def quiet_until(moment):
        def probe():
            again = announced_at(d)
            check(again == first, f"announced at {first:%H:%M:%S} and again at {again:%H:%M:%S}")
            now = program_time(d)
            return now is not None and now >= moment
        wait_until(f"the program's clock to reach {moment:%H:%M:%S}", probe)
    # The next ticks, then the end of the minute and the first two ticks of the next one (a tick writes
    # the clock label first, so at +2 s the tick at +1 s has tested its reminders).
    quiet_until(first + 2 * SECOND)
    d.clock.set(max(d.clock.now(), end - 3 * SECOND))
    quiet_until(end + 2 * SECOND)
    return first


@suite.case(programs=BOTH)
def start_in_tray(d):
    """A set-up program starts into the tray: one icon, no window, the clock running."""
    d.ini_bytes = QUIET
    d.start_program()
    wait_in_tray(d)
    elapsed = time.monotonic() - d.started
    check(d.main_window() is None, "the main window was shown at start")
    check(d.viewable_boxes() == [], "a window other than the tray icon is viewable")
    # The program runs: its clock label is written once a second.
    wait_until("the clock label", lambda: d.dump().get("lbl_2"))
    check(len(d.tray_icons()) == 1, f"tray icons: {d.tray_icons()}")
    d.screenshot("tray")
    print(f"start to tray: {elapsed * 1000:.0f} ms")


@suite.case(programs=BOTH)
def reminder_popup(d):
    """A noon reminder slides the window up in place with its text, announcement and date; minimising
    leaves one icon."""
    d.ini_bytes = QUIET + ("[XHBX]\r\nstartDSBJ=1\r\nOnTime=12:00\r\nOnTimeTxnr= %s \r\n" % LUNCH).encode("gbk")
    d.start_program()
    wait_in_tray(d)
    wid = wait_shown_in_place(d)
    check(d.dump().get("lbl_3") == "2026年12月09日 星期三", f"date line: {d.dump()}")
    d.screenshot("popup")
    expect_announced_once(d, NOON, LUNCH)
    # A reminder leaves the icon in the tray; minimising must still leave exactly one.
    d.click(wid, *IMG2)
    wait_until("the window to be unmapped", lambda: d.map_state(wid) != "IsViewable")
    wait_in_tray(d)
    d.screenshot("minimised")


@suite.case(programs=BOTH)
def tray_click(d):
    """A click on the tray icon brings the window up in place and takes the icon away."""
    d.ini_bytes = QUIET
    d.start_program()
    icon = wait_in_tray(d)
    d.click(int(icon.wid, 16), 11, 11)
    wait_shown_in_place(d)
    wait_until("the tray icon to go", lambda: d.tray_icons() == [])
    d.screenshot("shown")


@suite.case(programs=BOTH)
def drag(d):
    """Dragging the title strip moves the window with the pointer."""
    d.ini_bytes = QUIET
    d.start_program()
    icon = wait_in_tray(d)
    d.click(int(icon.wid, 16), 11, 11)
    wid = wait_shown_in_place(d)
    start_x, start_y = FINAL[0] + STRIP[0], FINAL[1] + STRIP[1]
    d.run("xdotool", "mousemove", "--sync", str(start_x), str(start_y), "mousedown", "1")
    # Off the strip and back in steps; the window follows while the left button is held.
    for dx, dy in ((-40, -10), (-150, -120), (-300, -200)):
        d.run("xdotool", "mousemove", "--sync", str(start_x + dx), str(start_y + dy))
    d.run("xdotool", "mouseup", "1")
    want = (FINAL[0] - 300, FINAL[1] - 200, W, H)
    wait_until(f"the window at {want}", lambda: d.window_geometry(wid) == want)
    d.screenshot("dragged")


@suite.case
def drag_right_button(d):
    """With the right button the window follows only while the pointer is over the title strip: it
    stops where the pointer left the strip, and does not follow it off the strip."""
    d.ini_bytes = QUIET
    d.start_program()
    icon = wait_in_tray(d)
    d.click(int(icon.wid, 16), 11, 11)
    wid = wait_shown_in_place(d)
    start_x, start_y = FINAL[0] + STRIP[0], FINAL[1] + STRIP[1]
    d.run("xdotool", "mousemove", "--sync", str(start_x), str(start_y), "mousedown", "3")
    # Along the strip: the window follows and the pointer stays over the strip.
    d.run("xdotool", "mousemove", "--sync", str(start_x - 60), str(start_y))
    followed = (FINAL[0] - 60, FINAL[1], W, H)
    wait_until(f"the window at {followed}", lambda: d.window_geometry(wid) == followed)
    # Off the strip, far up and left: the window stays.
    for dx, dy in ((-150, -120), (-300, -200)):
        d.run("xdotool", "mousemove", "--sync", str(start_x + dx), str(start_y + dy))
    d.run("xdotool", "mouseup", "3")
    # Then a short left drag from where the strip should still be. Events are handled in order, so once
    # the window has followed it, the moves off the strip have been handled too; had the window followed
    # them, the press would miss the strip and the window would not end here.
    fx, fy = followed[0] + STRIP[0], followed[1] + STRIP[1]
    d.run("xdotool", "mousemove", "--sync", str(fx), str(fy), "mousedown", "1")
    d.run("xdotool", "mousemove", "--sync", str(fx + 20), str(fy), "mouseup", "1")
    want = (followed[0] + 20, followed[1], W, H)
    wait_until(f"the window at {want} (it was at {d.window_geometry(wid)})", lambda: d.window_geometry(wid) == want)
    d.screenshot("right-dragged")


@suite.case(programs=BOTH)
def bad_setting(d):
    """A value that does not convert is shown in a box; the program carries on and leaves the file
    alone."""
    d.ini_bytes = QUIET + b"[XHBX]\r\nxhzq=abc\r\n"
    d.start_program()
    box = wait_until("the error box", d.viewable_boxes)[0]
    check(d.dump().get("error") == "'abc' is not a valid integer value", f"error text: {d.dump()}")
    d.screenshot("error-box")
    d.program_kind.answer_box(d, box, "Return")
    wait_until("the error box to close", lambda: box not in d.viewable_boxes())
    check(d.program_alive(), "the program ended after the error")
    first = wait_until("the clock label", lambda: d.dump().get("lbl_2"))
    wait_until("the clock to tick", lambda: d.dump().get("lbl_2") not in (None, first))
    wait_in_tray(d)
    with open(d.ini_path, "rb") as f:
        check(f.read() == d.ini_bytes, "the settings file was changed")


# The tray host of this one case starts only after the program.
@suite.case(tray=False)
def tray_appears_later(d):
    """Without a tray the window is minimised where it stays reachable; once a tray host appears, the
    next minimise goes to the tray."""
    d.ini_bytes = QUIET
    d.start_program()
    wid = wait_until("the main window to be mapped", d.main_window)
    check(d.tray_icons() == [], "a tray icon without a tray host")
    d.start_tray()
    # Without a window manager the minimised window stays mapped, so its button can be clicked.
    wait_until("the main window viewable", lambda: d.map_state(wid) == "IsViewable")
    d.click(wid, *IMG2)
    wait_in_tray(d)
    # Hiding may give the window a new id (the taskbar entry goes), so look at every window.
    wait_until("no viewable window but the icon",
               lambda: d.viewable_boxes() == [] and d.map_state(wid) != "IsViewable")


@suite.case
def first_start(d):
    """No settings file: the start-at-login question comes first, OK registers the program, then the
    settings dialog opens while the clock has not started yet."""
    d.start_program()
    question = wait_until("the question box", lambda: d.run(
        "xdotool", "search", "--onlyvisible", "--name", "^系统提示$", check=False).split())[0]
    d.screenshot("question")
    d.run("xdotool", "windowfocus", "--sync", question, "key", "Return")
    dialog = wait_until("the settings dialog", lambda: [w for w in d.tree() if w.name and w.w > W])
    check(len(dialog) == 1, f"windows: {dialog}")
    entry = os.path.join(d.env["XDG_CONFIG_HOME"], "autostart", "Tovik.desktop")
    check(os.path.isfile(entry), "no start-at-login entry after OK")
    check(d.dump().get("lbl_2") == "", f"the clock runs while the first settings dialog is open: {d.dump()}")
    d.screenshot("dialog")


@suite.case(programs=BOTH)
def close(d):
    """The close picture ends the program with status 0."""
    d.ini_bytes = QUIET
    d.start_program()
    icon = wait_in_tray(d)
    d.click(int(icon.wid, 16), 11, 11)
    wid = wait_shown_in_place(d)
    d.click(wid, *IMG3)
    wait_until("the program to end", lambda: not d.program_alive())
    check(d.program.returncode == 0, f"exit status {d.program.returncode}")
