"""The first start: the start-at-login question, the settings dialog that opens by itself, what
closing it writes, and the starts after it.
"""

import datetime
import os

from cases.main_window import SECOND, check, expect_announced_once, wait_in_tray, wait_shown_in_place
from runner import Suite
from xsession import wait_until

QUESTION_CAPTION = "系统提示"
DIALOG_SIZE = (703, 341)
# Points of the settings dialog, in its own coordinates. The reminder page's group box starts at
# (149, 38): navigation 137 wide, title strip 22 high, page margins (4, 3 + 5), box at (8, 8).
CB_DSBJ = (149 + 16 + 20, 38 + 81 + 8)  # fixed-time reminder 1: its check box
EDT_ONTIME_HOUR = (149 + 151 + 12, 38 + 79 + 10)  # its time editor "HH:mm": the hour digits
EDT_ONTIME_MINUTE = (149 + 151 + 30, 38 + 79 + 10)  # and the minute digits
DIALOG_CLOSE = (676 + 12, 11)  # close picture of the title strip

START = datetime.datetime(2026, 12, 9, 11, 59, 40)
FAKETIME = f"@{START:%Y-%m-%d %H:%M:%S}"  # real speed; the case moves the clock near the due minute
TARGET = datetime.datetime(2026, 12, 9, 12, 2)  # the minute the case sets reminder 1 to
LUNCH = "该准备吃午饭了！"

suite = Suite("e2e.", timeout=180)


def autostart_entry(d):
    return os.path.join(d.env["XDG_CONFIG_HOME"], "autostart", "Tovik.desktop")


def expected_settings(on_time):
    """The file a first save writes when only fixed-time reminder 1 was switched on and set."""
    lines = ["[XHBX]", "startXHBJ=0", "xhzq=120", "startDSBJ=1", f"OnTime={on_time}", f"OnTimeTxnr={LUNCH}",
             "startDSBJ2=0", "OnTime2=17:00:00", "OnTimeTxnr2=该准备下班了！", "startDSBJ3=0",
             "OnTime3=21:00:00", "OnTimeTxnr3=该准备带领你的团队下副本了！",
             "txnr=主人，工作很长时间了，看一眼蓝天吧！", "startXHBJFlash=0", "XHBXFlashSetByUser=",
             "XHBXFlashWord=", "flashLonger=20", "[XTSZ]", "NotFirstStart=1", "BJTP="]
    return "".join(line + "\r\n" for line in lines).encode("gbk")


def viewable(d, name):
    out = d.run("xdotool", "search", "--onlyvisible", "--name", f"^{name}$", check=False)
    return [int(x) for x in out.split()]


def wait_question(d):
    return wait_until("the start-at-login question", lambda: viewable(d, QUESTION_CAPTION))[0]


def settings_dialogs(d):
    """Viewable windows of the settings dialog's size."""
    return [w for w in d.tree() if (w.w, w.h) == DIALOG_SIZE and d.map_state(w.wid) == "IsViewable"]


def wait_dialog(d):
    return int(wait_until("the settings dialog", lambda: settings_dialogs(d))[0].wid, 16)


def answer(d, box, key):
    d.run("xdotool", "windowfocus", "--sync", str(box), "key", key)
    wait_until("the question box to close", lambda: box not in viewable(d, QUESTION_CAPTION))


def set_time(d, dialog, hour_point, minute_point, hour, minute, target):
    """Steps a time editor that shows hour:minute from there to the target's with the arrow keys."""
    for point, now, wanted in ((hour_point, hour, target.hour), (minute_point, minute, target.minute)):
        d.click(dialog, *point)
        if wanted != now:
            d.run("xdotool", "windowfocus", "--sync", str(dialog), "key", "--repeat", str(abs(wanted - now)),
                  "Up" if wanted > now else "Down")


@suite.case
def first_start_saved(d):
    """OK to the question writes the login entry; the dialog opens on the reminder page, a fixed-time
    reminder set there is written with every other setting and fires at its minute; the next start asks
    nothing and opens nothing."""
    d.faketime = FAKETIME
    d.start_program()
    answer(d, wait_question(d), "Return")
    with open(autostart_entry(d), encoding="utf-8") as f:
        entry = f.read()
    check(f'Exec="{d.exe_copy}"' in entry or f"Exec={d.exe_copy}\n" in entry, f"login entry: {entry!r}")
    dialog = wait_dialog(d)
    check(d.dump().get("lbl_2") == "", "the clock runs while the first settings dialog is open")
    d.screenshot("dialog")

    target = TARGET
    # The check box and the time editor are on the page the dialog opened on: clicking them works only
    # when it is the reminder page.
    d.click(dialog, *CB_DSBJ)
    set_time(d, dialog, EDT_ONTIME_HOUR, EDT_ONTIME_MINUTE, 12, 0, target)
    d.screenshot("filled")
    d.click(dialog, *DIALOG_CLOSE)
    wait_until("the dialog to close", lambda: not settings_dialogs(d))
    closed_at = d.clock.now()
    check(closed_at < target - 5 * SECOND, f"too slow: the dialog closed at {closed_at:%H:%M:%S}")

    with open(d.ini_path, "rb") as f:
        saved = f.read()
    check(saved == expected_settings(f"{target:%H:%M}:00"), f"settings file: {saved!r}")
    # The clock runs now; nothing is due before the minute set.
    wait_until("the clock to run", lambda: d.dump().get("lbl_2"))
    check(d.dump().get("lbl_1") == "", f"a reminder fired before {target:%H:%M}: {d.dump()}")
    d.clock.set(target - 3 * SECOND)
    wait_shown_in_place(d)
    expect_announced_once(d, target, LUNCH)
    d.screenshot("fired")

    # Second start in the same folder: no question, no dialog; the clock starts at once.
    d.stop_program()
    d.start_program(fresh=False)
    wait_until("the clock label", lambda: d.dump().get("lbl_2"))
    wait_in_tray(d)
    check(viewable(d, QUESTION_CAPTION) == [] and settings_dialogs(d) == [], "the second start asked again")
    with open(d.ini_path, "rb") as f:
        check(f.read() == saved, "the second start changed the settings file")
    with open(autostart_entry(d), encoding="utf-8") as f:
        check(f.read() == entry, "the second start changed the login entry")


@suite.case
def first_start_cancelled(d):
    """Cancel to the question writes nothing and is not remembered: a start that ends before the dialog
    is saved leaves the next start asking again."""
    d.faketime = FAKETIME
    d.start_program()
    answer(d, wait_question(d), "Escape")
    wait_dialog(d)
    check(not os.path.exists(autostart_entry(d)), "a login entry was written after Cancel")
    ini_dir = os.path.dirname(d.ini_path)
    check(not os.path.exists(ini_dir), "the open dialog already wrote settings")
    d.stop_program()

    d.start_program(fresh=False)
    answer(d, wait_question(d), "Return")
    wait_dialog(d)
    check(os.path.isfile(autostart_entry(d)), "no login entry after OK at the second start")


@suite.case
def time_typed(d):
    """The dialog opens with the focus on the first control of its tab order, the first time editor,
    its hour ready to be typed over; a click on the minute and digits change the minute."""
    d.faketime = FAKETIME
    d.start_program()
    answer(d, wait_question(d), "Escape")
    dialog = wait_dialog(d)
    d.run("xdotool", "windowfocus", "--sync", str(dialog), "type", "07")
    d.click(dialog, *EDT_ONTIME_MINUTE)
    d.run("xdotool", "type", "45")
    d.screenshot("typed")
    d.click(dialog, *DIALOG_CLOSE)
    wait_until("the dialog to close", lambda: not settings_dialogs(d))
    with open(d.ini_path, "rb") as f:
        saved = f.read()
    check(saved == expected_settings("07:45:00").replace(b"startDSBJ=1", b"startDSBJ=0"),
          f"settings file: {saved!r}")
