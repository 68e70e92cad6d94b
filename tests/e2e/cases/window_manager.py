"""The windows under a real window manager (openbox): a reminder comes up on top without taking the
keyboard from the window the user types in, the pop-up stays out of taskbars and pagers, and the
settings dialog belongs to the main window and opens on the right monitor.
"""

import datetime
import re

from cases.banner import PANEL1_COLOUR, pixels
from cases.desktop import DIALOG, DIALOG_CLOSE, IMG_SET, wait_shown_at
from cases.main_window import BOTH, FINAL, H, IMG2, LUNCH, NOON, QUIET, STRIP, W, check, wait_in_tray
from runner import Suite
from xsession import CaseFailed, wait_until

suite = Suite("e2e.wm.")

REMINDER = QUIET + ("[XHBX]\r\nstartDSBJ=1\r\nOnTime=12:00\r\nOnTimeTxnr=%s\r\n" % LUNCH).encode("gbk")


def click_tray_icon(d):
    """A click on the tray icon once the tray host shows it whole: the icon is docked into a panel
    that grows to hold it a moment later, and a click before that lands beside the panel."""
    def shown_whole():
        icon = wait_in_tray(d)
        panel = [p for p in d.find("panel") if p.x <= icon.x and icon.x + icon.w <= p.x + p.w]
        return icon if panel and d.map_state(int(icon.wid, 16)) == "IsViewable" else None
    icon = wait_until("the tray icon shown whole in its panel", shown_whole)
    d.click(int(icon.wid, 16), 11, 11)


def active_window(d):
    out = d.run("xprop", "-root", "_NET_ACTIVE_WINDOW", check=False)
    m = re.search(r"window id # (0x[0-9a-f]+)", out)
    return int(m.group(1), 16) if m else None


def focused_window(d):
    out = d.run("xdotool", "getwindowfocus", check=False).strip()
    return int(out) if out.isdigit() else None


def net_wm_state(d, wid):
    return d.run("xprop", "-id", str(wid), "_NET_WM_STATE", check=False)


def on_top_in_place(d, final):
    """The pop-up is drawn at its place over the window beneath it: its content panel's colour shows
    just above the banner strip, near its right edge."""
    x, y = final[0] + 436, final[1] + 166
    return pixels(d, [(x, y)])[0] == PANEL1_COLOUR


def keyboard_case(d):
    """Shared by the Linux and the Windows program: a focused window is typed into before, while and
    after the noon reminder comes up; returns the main window's id."""
    d.ini_bytes = REMINDER
    d.faketime = "@2026-12-09 11:58:00"
    d.start_program()
    wait_in_tray(d)
    keys = d.root + "/keys.txt"
    recorder = d.start_key_recorder(keys)
    wait_until("the key recorder to be the active window",
               lambda: active_window(d) == recorder and focused_window(d) == recorder)
    typed = []

    def type_text(text):
        d.run("xdotool", "type", "--delay", "5", text)
        typed.append(text)

    def still_typing_into_recorder(what):
        check(active_window(d) == recorder, f"{what}: the active window is {active_window(d)}, not the "
                                            f"key recorder {recorder}")
        check(focused_window(d) == recorder, f"{what}: the keyboard focus is on {focused_window(d)}")

    type_text("before ")
    still_typing_into_recorder("before the reminder")
    d.clock.set(NOON - datetime.timedelta(seconds=2))
    # Typing goes on while the reminder comes up and slides.
    count = [0]

    def shown_while_typing():
        count[0] += 1
        type_text(f"k{count[0]} ")
        still_typing_into_recorder("while the reminder comes up")
        wid = d.main_window()
        return wid if wid and d.map_state(wid) == "IsViewable" and d.window_geometry(wid) == FINAL else None
    wid = wait_until(f"the main window viewable at {FINAL}", shown_while_typing, interval=0)
    check(d.dump().get("lbl_1") == LUNCH, f"reminder text: {d.dump()}")
    if d.program_kind.name == "windows":
        # Wine gives the keyboard to no pop-up window of its own; it hands a pop-up that is activated to
        # the window manager (which could then focus it) and leaves one that is not to nobody.
        check("Override Redirect State: yes" in d.run("xwininfo", "-id", str(wid)),
              "the pop-up was activated: Wine handed it to the window manager")
    for n in range(3):
        type_text(f"after{n} ")
        still_typing_into_recorder("after the reminder came up")
    want = "".join(typed)
    try:
        wait_until("every typed key in the key recorder", lambda: open(keys).read() == want, timeout=15)
    except CaseFailed:
        raise CaseFailed(f"the key recorder got {open(keys).read()!r}, typed {want!r}")
    wait_until("the pop-up on top at its place", lambda: on_top_in_place(d, FINAL))
    d.screenshot("reminder-over-typing")
    return wid


@suite.case(programs=BOTH, wm=True, timeout=180)
def reminder_keeps_keyboard(d):
    """A reminder comes up on top and in place while the user types in another window: every key
    arrives there and that window stays the active one."""
    keyboard_case(d)


@suite.case(wm=True, timeout=180)
def popup_out_of_taskbar(d):
    """The pop-up carries the skip-taskbar and skip-pager states whether a reminder or a tray click
    brought it up. After a reminder its pictures and strip drag work: the settings picture opens the
    dialog, transient for the main window and with the program's icon; a tray click brings it back in
    place as the active window."""
    wid = keyboard_case(d)
    for state in ("_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER", "_NET_WM_STATE_ABOVE"):
        check(state in net_wm_state(d, wid), f"after a reminder: {net_wm_state(d, wid)}")
    # The settings picture of a window that did not take the keyboard opens the dialog, which belongs
    # to the main window.
    d.click(wid, *IMG_SET)
    dialog = int(wait_until("the settings dialog", lambda: d.run(
        "xdotool", "search", "--onlyvisible", "--name", "^设置$", check=False).split())[0])
    transient = d.run("xprop", "-id", str(dialog), "WM_TRANSIENT_FOR", check=False)
    m = re.search(r"window id # (0x[0-9a-f]+)", transient)
    check(m and int(m.group(1), 16) == wid, f"dialog {transient.strip()}; main window {wid:#x}")
    check("_NET_WM_ICON(CARDINAL)" in d.run("xprop", "-id", str(dialog), "_NET_WM_ICON", check=False),
          "the dialog has no icon of its own")
    d.screenshot("dialog")
    d.click(dialog, *DIALOG_CLOSE)
    wait_until("the dialog to close", lambda: d.map_state(dialog) != "IsViewable")
    # The strip drag.
    start_x, start_y = FINAL[0] + STRIP[0], FINAL[1] + STRIP[1]
    d.run("xdotool", "mousemove", "--sync", str(start_x), str(start_y), "mousedown", "1")
    for dx, dy in ((-40, -10), (-150, -120), (-300, -200)):
        d.run("xdotool", "mousemove", "--sync", str(start_x + dx), str(start_y + dy))
    d.run("xdotool", "mouseup", "1")
    dragged = (FINAL[0] - 300, FINAL[1] - 200, W, H)
    wait_until(f"the window dragged to {dragged}", lambda: d.window_geometry(wid) == dragged)
    # The reminder left the icon in the tray: a click on it brings the window back in place, now as the
    # active window (the user asked for it).
    click_tray_icon(d)
    wid = wait_shown_at(d, FINAL)
    wait_until("the pop-up to be the active window", lambda: active_window(d) == wid)
    # The minimise picture: to the tray; a tray click: up again, in place, out of the taskbar.
    d.click(wid, *IMG2)
    wait_until("the window to be unmapped", lambda: d.map_state(wid) != "IsViewable")
    click_tray_icon(d)
    wid = wait_shown_at(d, FINAL)
    for state in ("_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"):
        check(state in net_wm_state(d, wid), f"after a tray click: {net_wm_state(d, wid)}")
    check(d.program_alive(), "the program ended")


# One wide screen split into two monitors, the primary on the right.
WIDE = (2560, 800)
LEFT = ("left", (0, 0, 1280, 800), False)
RIGHT = ("right", (1280, 0, 1280, 800), True)


def centred(monitor):
    x, y, w, h = monitor[1]
    return (x + (w - DIALOG[0]) // 2, y + (h - DIALOG[1]) // 2, *DIALOG)


@suite.case(wm=True, screen=WIDE, monitors=(LEFT, RIGHT), timeout=180)
def dialog_on_monitor(d):
    """Two monitors, the primary on the right: the pop-up comes up at the primary's bottom right and
    the settings dialog opens centred on the primary; with the main window dragged onto the left
    monitor, the dialog opens centred there."""
    d.ini_bytes = QUIET
    d.start_program()
    click_tray_icon(d)
    x, y, w, h = RIGHT[1]
    final = (x + w - W - 2, y + h - 36 - H, W, H)
    wid = wait_shown_at(d, final)

    def open_dialog(main):
        d.click(main, *IMG_SET)
        dialog = int(wait_until("the settings dialog", lambda: d.run(
            "xdotool", "search", "--onlyvisible", "--name", "^设置$", check=False).split())[0])
        return dialog

    for monitor in (RIGHT, LEFT):
        dialog = open_dialog(wid)
        want = centred(monitor)
        wait_until(f"the dialog centred on the {monitor[0]} monitor at {want} (it is at "
                   f"{d.window_geometry(dialog)})", lambda: d.window_geometry(dialog) == want)
        d.screenshot(f"dialog-{monitor[0]}")
        d.click(dialog, *DIALOG_CLOSE)
        wait_until("the dialog to close", lambda: d.map_state(dialog) != "IsViewable")
        if monitor is RIGHT:
            # Drag the main window by its strip onto the left monitor.
            start_x, start_y = final[0] + STRIP[0], final[1] + STRIP[1]
            d.run("xdotool", "mousemove", "--sync", str(start_x), str(start_y), "mousedown", "1")
            for dx in (-300, -900, -1400):
                d.run("xdotool", "mousemove", "--sync", str(start_x + dx), str(start_y - 100))
            d.run("xdotool", "mouseup", "1")
            moved = (final[0] - 1400, final[1] - 100, W, H)
            wait_until(f"the window dragged to {moved}", lambda: d.window_geometry(wid) == moved)
