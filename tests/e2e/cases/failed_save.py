"""A save that cannot succeed, and the way out of the dialog: with a read-only settings file (the
read-only attribute under Wine, also when run by root) the dialog's close picture says why it could
not save and asks whether to close without saving; 取消 returns to the dialog, 确定 closes it. The file
stays byte for byte as it was, and the program goes on with the settings it had.
"""

import datetime
import os

from cases import first_start, first_start_windows
from cases.first_start import (CB_DSBJ, DIALOG_CLOSE, QUESTION_CAPTION, expected_settings, settings_dialogs,
                               viewable, wait_dialog, wait_question)
from cases.main_window import check
from runner import Suite
from xsession import wait_until

START = datetime.datetime(2026, 12, 9, 9, 0, 0)
FAKETIME = f"@{START:%Y-%m-%d %H:%M:%S}"

suite = Suite("e2e.", programs=("linux", "windows"), timeout=240)


def answer(d, box, key):
    """Return: 确定, Escape: 取消. The Qt program's box takes the keys; under Wine without a window manager
    keys reach a box only now and then, so its buttons are clicked: the two stand side by side around
    the middle of the box's bottom."""
    if d.program_kind.name != "windows":
        first_start.answer(d, box, key)
        return
    _, _, w, h = d.window_geometry(box)
    first_start_windows.click_button(d, box, (w // 2 - 37, h - 22) if key == "Return" else (w // 2 + 37, h - 22),
                                     key)


@suite.case
def failed_save_way_out(d):
    """On a first start the dialog cannot save into a read-only file: the message and the question come,
    取消 keeps the dialog open, 确定 closes it; the file is untouched and the clock runs."""
    settings = expected_settings("07:30:00").replace(b"NotFirstStart=1", b"NotFirstStart=0")
    d.ini_bytes = settings
    d.faketime = FAKETIME
    d.start_program()
    # The start-at-login question: no.
    if d.program_kind.name == "windows":
        first_start_windows.answer(d, wait_question(d), "Escape")
    else:
        first_start.answer(d, wait_question(d), "Escape")
    dialog = wait_dialog(d)
    os.chmod(d.ini_path, 0o444)
    d.click(dialog, *CB_DSBJ)  # a change that is never saved

    for key in ("Escape", "Return"):
        d.click(dialog, *DIALOG_CLOSE)
        box = wait_until("the question after the failed save", lambda: viewable(d, QUESTION_CAPTION), timeout=60)[0]
        message = d.dump().get("message", "")
        check(message.startswith("Unable to write to ") and "不保存" in message, f"the box says {message!r}")
        d.screenshot(f"question-{key}")
        answer(d, box, key)
        if key == "Escape":
            check(settings_dialogs(d) != [], "取消 closed the dialog")
    wait_until("the dialog to close", lambda: not settings_dialogs(d))

    with open(d.ini_path, "rb") as f:
        check(f.read() == settings, "the settings file changed")
    others = sorted(set(os.listdir(os.path.dirname(d.ini_path))) - {"Tovik.ini"})
    check(others == [], f"left in the Ini folder: {others}")
    wait_until("the clock to run", lambda: d.dump().get("lbl_2"), timeout=60)
    check(d.program_alive(), "the program ended")
    check(viewable(d, QUESTION_CAPTION) == [] and settings_dialogs(d) == [], "the dialog came back")
