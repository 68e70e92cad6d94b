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


class Program:
    """The interface; LinuxProgram below is the reference implementation."""

    name = ""
    file_name = ""  # the program's file name in its folder

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


class LinuxProgram(Program):
    """The Qt program (build/chimewick), started directly as an X11 client of the desktop."""

    name = "linux"
    # A copy, not a link: the program finds its folder from /proc/self/exe, which resolves links.
    file_name = "chimewick"

    def environment(self, desktop):
        # CHIMEWICK_E2E_DUMP: the program writes its window's texts there (name=value lines).
        return {"QT_QPA_PLATFORM": "xcb", "CHIMEWICK_E2E_DUMP": desktop.dump_path}


PROGRAMS = {cls.name: cls for cls in (LinuxProgram,)}
