"""The first start of the Windows program under Wine: the start-at-login question, the Run value in the
registry, the settings dialog that opens by itself, the bytes its closing writes (the same as the Qt
program's), the reminder set there, the starts after it, and the range message of the dialog.
"""

import datetime
import os
import subprocess

import wine
from cases.first_start import (CB_DSBJ, DIALOG_CLOSE, EDT_ONTIME_HOUR, EDT_ONTIME_MINUTE, LUNCH, QUESTION_CAPTION,
                               expected_settings, settings_dialogs, viewable, wait_dialog, wait_question)
from cases.main_window import SECOND, check, expect_announced_once, wait_in_tray, wait_shown_in_place
from runner import Suite
from xsession import CaseFailed, wait_until

RUN_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Run"
# Wine takes a while to start on a loaded machine; the case has minutes before noon.
START = datetime.datetime(2026, 12, 9, 11, 58, 0)
FAKETIME = f"@{START:%Y-%m-%d %H:%M:%S}"
TARGET = datetime.datetime(2026, 12, 9, 12, 1)  # typed into fixed-time reminder 1
NAV_XTSZ = (137 // 2, 22 + 41 + 20)  # the navigation entry "系统设置"
NAV_XHBX = (137 // 2, 22 + 20)  # the navigation entry "提醒设置"
RANGE_TEXT = "输入范围: 0-45 之间的一个值"

suite = Suite("e2e.windows.", programs=("windows",), timeout=180)


def run_value(d):
    """The Run value "Tovik" as Wine's reg.exe reads it back (None when there is none). Its output is
    GBK under a Chinese locale; it goes to a file, since Wine's helpers keep a pipe open. Now and then
    reg.exe ends at once with an error status and no word on a loaded machine; that is the tool failing,
    so it is asked again."""
    out_path = os.path.join(d.root, "reg-query.txt")
    env = {**d.env, **wine.base_environment(os.path.join(d.root, "wineprefix"), d.program_kind.cache)}
    for attempt in range(3):
        with open(out_path, "wb") as out:
            res = subprocess.run([wine.wine64(), "reg", "query", RUN_KEY], env=env,
                                 stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.STDOUT, timeout=120)
        with open(out_path, "rb") as f:
            text = f.read().decode("gbk", errors="replace")
        if res.returncode == 0:
            break
        print(f"reg query ended with status {res.returncode}: {text!r} (try {attempt + 1} of 3)")
    else:
        raise CaseFailed(f"reg query {RUN_KEY} failed: {text!r}")
    for line in text.splitlines():
        words = line.split(None, 2)
        if len(words) == 3 and words[0] == "Tovik" and words[1] == "REG_SZ":
            return words[2].rstrip("\r\n")
    return None


def answer(d, box, key):
    """Return: a click on OK, Escape: a click on Cancel, the left and right of the two buttons along the
    box's bottom (under Wine without a window manager, keys reach a box only now and then)."""
    _, _, w, h = d.window_geometry(box)
    click_button(d, box, (w // 4, h - 22) if key == "Return" else (w * 3 // 4, h - 22), key)


def click_button(d, box, button, key):
    """Clicks a question box's button at the point button until the box closes (Return: OK, Escape:
    Cancel, for the message)."""
    d.click(box, 12, 12)  # activates the box, as in answer_box
    # A click that reaches the box while it is being activated only focuses the button; then click again.
    for _ in range(3):
        d.click(box, *button)
        try:
            wait_until("the question box to close", lambda: box not in viewable(d, QUESTION_CAPTION), timeout=5)
            return
        except CaseFailed:
            pass
    raise CaseFailed(f"the question box did not take the click on its {'OK' if key == 'Return' else 'Cancel'} button")


def show_page(d, dialog, entry, page):
    """Clicks a navigation entry and waits for its page to be in front."""
    d.click(dialog, *entry)
    wait_until(f"the page {page}", lambda: d.dump().get("setpage") == page)


def capture(d, wid):
    return subprocess.run(["import", "-display", d.display, "-window", str(wid), "rgb:-"], env=d.env,
                          capture_output=True, timeout=30).stdout


def save_window(d, wid, label):
    """A picture of one window (the dialog's pages), beside the case's other screenshots, once it has
    finished painting (two captures in a row agree)."""
    if not d.out_dir:
        return
    os.makedirs(d.out_dir, exist_ok=True)
    wait_until(f"window {wid} to settle", lambda: capture(d, wid) == capture(d, wid))
    path = os.path.join(d.out_dir, f"{d.name}-{label}.png")
    d.run("import", "-display", d.display, "-window", str(wid), "-strip", path, check=False)
    print(f"saved {path}")


def exe_windows_path(d):
    return wine.unix_to_windows(d.exe_copy)


@suite.case
def first_start_saved(d):
    """OK writes the Run value with the exe's path; the dialog opens on the reminder page; 12:01 typed
    into the first fixed-time reminder is saved with every other setting, byte for byte as the Qt program
    writes them, and fires at 12:01; the next start asks nothing and opens nothing."""
    d.faketime = FAKETIME
    d.start_program()
    answer(d, wait_question(d), "Return")
    value = wait_until("the Run value", lambda: run_value(d), timeout=60)
    check(value == exe_windows_path(d), f"Run value {value!r}, the program is {exe_windows_path(d)!r}")
    dialog = wait_dialog(d)
    check(d.dump().get("setpage") == "tsxhbx", f"the dialog opened on {d.dump().get('setpage')}")
    check(d.dump().get("chk_KJQD") == "1", f"the start-at-login box is clear: {d.dump()}")
    save_window(d, dialog, "page-reminders")

    # The check box and the time editor are on the page the dialog opened on: clicking them works only
    # when it is the reminder page.
    d.click(dialog, *CB_DSBJ)
    d.click(dialog, *EDT_ONTIME_HOUR)
    d.run("xdotool", "type", "--delay", "80", f"{TARGET:%H}")
    d.click(dialog, *EDT_ONTIME_MINUTE)
    d.run("xdotool", "type", "--delay", "80", f"{TARGET:%M}")
    # The system page shows the start-at-login box ticked: the value names this program.
    show_page(d, dialog, NAV_XTSZ, "tsxtsz")
    save_window(d, dialog, "page-system")
    show_page(d, dialog, NAV_XHBX, "tsxhbx")
    d.click(dialog, *DIALOG_CLOSE)
    wait_until("the dialog to close", lambda: not settings_dialogs(d))
    closed_at = d.clock.now()
    check(closed_at < TARGET - 5 * SECOND, f"too slow: the dialog closed at {closed_at:%H:%M:%S}")

    with open(d.ini_path, "rb") as f:
        saved = f.read()
    check(saved == expected_settings(f"{TARGET:%H:%M}:00"), f"settings file: {saved!r}")
    check(run_value(d) == exe_windows_path(d), "closing with the box ticked lost the Run value")
    wait_until("the clock to run", lambda: d.dump().get("lbl_2"))
    check(not d.dump().get("lbl_1"), f"a reminder fired before {TARGET:%H:%M}: {d.dump()}")
    d.clock.set(TARGET - 3 * SECOND)
    wait_shown_in_place(d)
    expect_announced_once(d, TARGET, LUNCH)
    d.screenshot("fired")

    # Second start in the same folder: no question, no dialog; the clock starts at once.
    d.stop_program()
    d.start_program(fresh=False)
    wait_until("the clock label", lambda: d.dump().get("lbl_2"), timeout=60)
    wait_in_tray(d)
    check(viewable(d, QUESTION_CAPTION) == [] and settings_dialogs(d) == [], "the second start asked again")
    with open(d.ini_path, "rb") as f:
        check(f.read() == saved, "the second start changed the settings file")
    check(run_value(d) == value, "the second start changed the Run value")


@suite.case
def first_start_cancelled(d):
    """Cancel writes nothing and is not remembered: the dialog opens with the start-at-login box clear,
    and a start that ends before the dialog is saved leaves the next start asking again."""
    d.faketime = FAKETIME
    d.start_program()
    answer(d, wait_question(d), "Escape")
    dialog = wait_dialog(d)
    check(run_value(d) is None, "a Run value was written after Cancel")
    check(d.dump().get("chk_KJQD") == "0", f"the start-at-login box is ticked: {d.dump()}")
    check(not os.path.exists(os.path.dirname(d.ini_path)), "the open dialog already wrote settings")
    show_page(d, dialog, NAV_XTSZ, "tsxtsz")
    save_window(d, dialog, "page-system-cancelled")
    d.stop_program()

    d.start_program(fresh=False)
    answer(d, wait_question(d), "Return")
    wait_dialog(d)
    # The restarted program's dialog reads the value that start wrote.
    check(d.dump().get("chk_KJQD") == "1", f"the start-at-login box is clear: {d.dump()}")
    value = run_value(d)
    check(value == exe_windows_path(d), f"Run value after OK at the second start: {value!r}")


@suite.case
def range_message(d):
    """An animation length outside 0 to 45 in the settings file shows the range message while the dialog
    is prepared; the dialog then opens with the file's settings, and closing it writes 20."""
    settings = expected_settings("07:30:00").replace(b"flashLonger=20", b"flashLonger=60")
    d.ini_bytes = settings.replace(b"NotFirstStart=1", b"NotFirstStart=0")
    d.faketime = FAKETIME
    d.start_program()
    answer(d, wait_question(d), "Escape")
    box = wait_until("the range message", lambda: d.viewable_boxes(), timeout=60)[0]
    check(d.dump().get("message") == RANGE_TEXT, f"message box: {d.dump()}")
    check(settings_dialogs(d) == [], "the dialog was shown before its range message")
    d.program_kind.answer_box(d, box, "Return")
    dialog = wait_dialog(d)
    d.click(dialog, *DIALOG_CLOSE)
    wait_until("the dialog to close", lambda: not settings_dialogs(d))
    with open(d.ini_path, "rb") as f:
        saved = f.read()
    check(saved == expected_settings("07:30:00"), f"settings file: {saved!r}")
    check(run_value(d) is None, "closing with the box clear wrote a Run value")


@suite.case
def dialog_drag(d):
    """The borderless dialog follows the pointer dragged along its title strip; a press on the caption
    "参数设置" drags nothing."""
    d.faketime = FAKETIME
    d.start_program()
    answer(d, wait_question(d), "Escape")
    dialog = wait_dialog(d)
    x0, y0, w, h = d.window_geometry(dialog)
    check((x0, y0) == ((d.screen[0] - w) // 2, (d.screen[1] - h) // 2), f"not centred: {(x0, y0, w, h)}")

    def drag(start, by):
        sx, sy = x0 + start[0], y0 + start[1]
        d.run("xdotool", "mousemove", str(sx), str(sy), "mousedown", "1")
        for step in range(1, 5):
            d.run("xdotool", "mousemove", str(sx + by[0] * step // 4), str(sy + by[1] * step // 4))
        d.run("xdotool", "mouseup", "1")

    drag((300, 11), (-120, 60))
    moved = wait_until("the dialog to follow the pointer",
                       lambda: d.window_geometry(dialog)[:2] == (x0 - 120, y0 + 60) or None, timeout=10)
    check(moved, "the dialog did not move")
    x0, y0 = x0 - 120, y0 + 60
    drag((30, 12), (80, 40))  # on the caption
    # A drag on the strip after it shows where the dialog is: moved by this drag alone.
    drag((400, 11), (10, 10))
    wait_until("the dialog moved by the strip's drag alone",
               lambda: d.window_geometry(dialog)[:2] == (x0 + 10, y0 + 10), timeout=10)
