"""Desktop integration: one running copy per settings folder, and the windows' sizes and places at a
scale factor of 2.
"""

import os
import signal
import subprocess
import time

from cases.first_start import answer, wait_dialog
from runner import Suite
from xsession import CaseFailed, wait_until

W, H = 442, 259          # the main window's design size
DIALOG = (703, 341)      # the settings dialog's design size
IMG_SET = (369, 11)      # the settings picture, window coordinates at scale 1
DIALOG_CLOSE = (688, 11)  # the settings dialog's close picture
QUIET = b"[XTSZ]\r\nNotFirstStart=1\r\n"
NOON = QUIET + "[XHBX]\r\nstartDSBJ=1\r\nOnTime=12:00\r\nOnTimeTxnr=该吃午饭了\r\n".encode("gbk")

suite = Suite("e2e.desktop.", failures=(subprocess.TimeoutExpired,))


def check(condition, message):
    if not condition:
        raise CaseFailed(message)


def final_place(screen, scale=1):
    """Where the slide-up ends, in device pixels: 2 logical pixels from the right, 36 from the bottom."""
    sw, sh = screen[0] // scale, screen[1] // scale
    return ((sw - W - 2) * scale, (sh - 36 - H) * scale, W * scale, H * scale)


def wait_in_tray(d, count=1):
    return wait_until(f"{count} tray icon(s)", lambda: len(d.tray_icons()) == count and d.tray_icons())


def wait_shown_at(d, want):
    def probe():
        wid = d.main_window()
        if wid and d.map_state(wid) == "IsViewable" and d.window_geometry(wid) == want:
            return wid
        return None
    return wait_until(f"the main window viewable at {want}", probe)


def start_another(d, exe=None):
    """Starts one more copy with the running copy's environment; exe defaults to the same program."""
    log = open(os.path.join(d.root, f"another-{time.monotonic_ns()}.log"), "wb")
    return d._spawn(d.program_kind.command(exe or d.exe_copy), env=d.program_environment, stdout=log, stderr=log, cwd=d.root)


@suite.case(programs=("linux", "windows"))
def second_start_shows(d):
    """Starting the program again while it runs brings the running copy's window up, as a click on the
    tray icon does, and the second copy ends at once; a copy in another folder runs on its own."""
    d.ini_bytes = QUIET
    d.start_program()
    wait_in_tray(d)
    check(d.main_window() is None, "the window is up before the second start")
    second = start_another(d)
    check(second.wait(timeout=15) == 0, f"the second start ended with status {second.returncode}")
    wait_shown_at(d, final_place(d.screen))
    wait_until("the tray icon to go", lambda: d.tray_icons() == [])
    check(d.program_alive(), "the running copy ended")
    d.screenshot("shown")

    # Another settings folder: another copy, with its own icon.
    other_dir = os.path.join(d.root, "other")
    os.makedirs(os.path.join(other_dir, "Ini"))
    with open(os.path.join(other_dir, "Ini", "Tovik.ini"), "wb") as f:
        f.write(QUIET)
    other = start_another(d, d.program_kind.install(other_dir))
    wait_in_tray(d, 1)
    check(other.poll() is None, f"the copy in another folder ended with status {other.returncode}")


@suite.case
def second_start_during_first_start(d):
    """A second start while the first start's question is still open: the request is kept, and the
    window comes up once the first start's dialogs are done."""
    d.start_program()
    question = wait_until("the question box", lambda: d.run(
        "xdotool", "search", "--onlyvisible", "--name", "^系统提示$", check=False).split())[0]
    second = start_another(d)
    check(second.wait(timeout=15) == 0, f"the second start ended with status {second.returncode}")
    answer(d, int(question), "Return")
    # The dialog's window exists before it is mapped in its place; a click before that lands elsewhere.
    d.click(wait_dialog(d), *DIALOG_CLOSE)
    wait_shown_at(d, final_place(d.screen))


@suite.case
def stale_lock(d):
    """A copy that was killed leaves its lock and socket behind; the next start runs all the same, and
    a start after that finds the new copy."""
    d.ini_bytes = QUIET
    d.start_program()
    wait_in_tray(d)
    d.program.send_signal(signal.SIGKILL)
    d.program.wait(timeout=5)
    wait_until("the killed copy's icon to go", lambda: d.tray_icons() == [])
    d.start_program(fresh=False)
    wait_in_tray(d)
    check(d.program_alive(), "the start after the killed copy did not run")
    second = start_another(d)
    check(second.wait(timeout=15) == 0, f"the third start ended with status {second.returncode}")
    wait_shown_at(d, final_place(d.screen))


@suite.case(screen=(2560, 1600), program_env={"QT_SCALE_FACTOR": "2"})
def hidpi(d):
    """At a scale factor of 2 the window, the slide-up and the settings dialog keep their design sizes
    in device-independent pixels, and the window ends 2 and 36 of them from the right and bottom."""
    d.ini_bytes = NOON
    d.start_program()
    want = final_place(d.screen, scale=2)
    wid = wait_shown_at(d, want)
    d.screenshot("popup")
    d.click(wid, IMG_SET[0] * 2, IMG_SET[1] * 2)
    dialog = wait_until("the settings dialog", lambda: [w for w in d.tree() if w.name == "设置"])[0]
    check((dialog.w, dialog.h) == (DIALOG[0] * 2, DIALOG[1] * 2), f"dialog: {dialog}")
    d.screenshot("dialog")
