"""Which program a case drives and how it is started.

A case's desktop holds one Program. The program decides what is copied into the fresh program folder,
the command line that starts it, the environment it needs besides the desktop's, and what has to be
cleaned up after it. The runner picks the program with --program; a case says which programs it is
written for.

To drive another program (e.g. the Win32 exe under Wine), add a class with the same methods and name it
in PROGRAMS.
"""

import os
import shutil

import wine


class Program:
    """The interface; LinuxProgram below is the reference implementation."""

    name = ""
    file_name = ""  # the program's file name in its folder
    # How many times longer than the Linux program it may take to start, show a window or answer a click
    # (the harness's default waits and CTest's time limits scale with it).
    patience = 1.0

    def __init__(self, exe, companions=()):
        self.exe = os.path.abspath(exe)
        self.companions = list(companions)  # files copied beside the program (e.g. its banner helper)

    def missing(self):
        """Tools or files this program needs that are not here (empty when it can run)."""
        return [] if os.access(self.exe, os.X_OK) or os.path.isfile(self.exe) else [self.exe]

    def install(self, folder):
        """Copies the program and its companions into folder; returns the copy's path."""
        copy = os.path.join(folder, self.file_name or os.path.basename(self.exe))
        shutil.copy2(self.exe, copy)
        for companion in self.companions:
            shutil.copy2(companion, folder)
        return copy

    def command(self, copy):
        """The command line that starts the copy."""
        return [copy]

    def environment(self, desktop):
        """Environment variables for the program on top of the desktop's own (display, HOME, clock)."""
        return {}

    def stopped(self, desktop):
        """Called when the desktop closes, after its processes have ended."""

    def is_tray_icon(self, window):
        """Whether a window embedded in the tray host is this program's icon."""
        return window.name == "Chimewick"

    def answer_box(self, desktop, box, key):
        """Presses key in the message box whose X window id is box."""
        desktop.run("xdotool", "windowfocus", "--sync", str(box), "key", key)

    def main_window(self, desktop):
        """The X window id of the main window once it has been shown, else None."""
        wid = desktop.dump().get("winid")
        return int(wid) if wid else None


class LinuxProgram(Program):
    """The Qt program (build/chimewick), started directly as an X11 client of the desktop."""

    name = "linux"
    # A copy, not a link: the program finds its folder from /proc/self/exe, which resolves links.
    file_name = "chimewick"

    def environment(self, desktop):
        # CHIMEWICK_E2E_DUMP: the program writes its window's texts there (name=value lines).
        return {"QT_QPA_PLATFORM": "xcb", "CHIMEWICK_E2E_DUMP": desktop.dump_path}


class WindowsProgram(Program):
    """The Win32 program (build-windows/chimewick.exe) under Wine: a prefix of the case's own, copied
    from a template made once beside the exe (wine.py), a Chinese locale, and the 64-bit loader."""

    name = "windows"
    file_name = "chimewick.exe"
    # Every step goes through Wine's server and its explorer process: on a loaded 2-core machine the
    # start alone took 5-15 s where the Linux program takes well under one.
    patience = 3.0

    def __init__(self, exe, companions=()):
        super().__init__(exe, companions)
        self.cache = os.path.join(os.path.dirname(self.exe), "e2e-wine")

    def missing(self):
        return ([] if os.path.isfile(self.exe) else [self.exe]) + wine.missing()

    def command(self, copy):
        return [wine.wine64(), copy]

    def environment(self, desktop):
        prefix = os.path.join(desktop.root, "wineprefix")
        if not os.path.isdir(prefix):
            wine.copy_prefix(wine.template_prefix(self.cache), prefix)
        env = wine.base_environment(prefix, self.cache)
        # The window's texts, written as the Qt program writes them; the path in Windows form.
        env["CHIMEWICK_E2E_DUMP"] = wine.unix_to_windows(desktop.dump_path)
        if not getattr(self, "wine_env", None):
            self.wine_env = {**desktop.env, **env}
            # Wine's own start (its server, services and devices: seconds on a loaded machine) happens
            # before the program's, so the cases' waits measure the program.
            wine.warm_up(self.wine_env)
        return env

    def stopped(self, desktop):
        if getattr(self, "wine_env", None):
            wine.stop(self.wine_env)
            self.wine_env = None  # the next case (same run) has a prefix of its own

    def is_tray_icon(self, window):
        # Wine's shell docks each icon as an unnamed window of explorer.exe.
        return window.cls == "explorer.exe"

    def answer_box(self, desktop, box, key):
        # Without a window manager Wine does not activate a box that X focus alone reaches; a click on
        # the box's body (away from its buttons) does, as a user's would.
        desktop.click(box, 12, 12)
        desktop.run("xdotool", "key", key)

    def main_window(self, desktop):
        # The program reports its window handle once it has shown the window; its X window is the first
        # top-level window the program made (message boxes come later and get later ids). Wine hands a
        # window it activates to the window manager, which puts it in a frame of its own: deeper in the
        # tree.
        if not desktop.dump().get("hwnd"):
            return None
        tops = [w for w in desktop.tree() if w.depth >= 5 and w.name == "Chimewick" and w.cls == "chimewick.exe"]
        return min((int(w.wid, 16) for w in tops), default=None)


PROGRAMS = {cls.name: cls for cls in (LinuxProgram, WindowsProgram)}
