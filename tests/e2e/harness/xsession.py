"""A virtual desktop for one end-to-end case: Xvfb on a free display, a D-Bus session bus of its own,
trayer as the tray host, openbox as window manager when the case asks for one, and the program copied
into a fresh folder with its own HOME, settings file and fake clock. Which program and
how it is started is the desktop's Program (programs.py).

Standard library only. Every wait polls with a timeout; nothing sleeps a fixed time to wait for the
program.
"""

import datetime
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from programs import LinuxProgram, Program

SCREEN_W, SCREEN_H = 1280, 800
FAKETIME_LIB = "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1"
NEEDED_TOOLS = ("Xvfb", "dbus-daemon", "trayer", "xdotool", "xwininfo", "xprop", "import")


class CaseFailed(AssertionError):
    pass


def missing_tools():
    missing = [t for t in NEEDED_TOOLS if shutil.which(t) is None]
    if not os.path.exists(FAKETIME_LIB):
        missing.append(FAKETIME_LIB)
    return missing


# How much longer than the Linux program the program of this run may take for anything (its
# Program.patience; set when a Desktop is made). The waits that use the default timeout scale with it.
PATIENCE = 1.0


def wait_until(what, probe, timeout=None, interval=0.02):
    """Polls probe() until it returns something truthy; returns it, or fails naming what was awaited.
    timeout: seconds; by default 30 times PATIENCE."""
    if timeout is None:
        timeout = 30.0 * PATIENCE
    deadline = time.monotonic() + timeout
    last = None
    while True:
        last = probe()
        if last:
            return last
        if time.monotonic() > deadline:
            raise CaseFailed(f"timed out after {timeout:.0f} s waiting for {what} (last: {last!r})")
        time.sleep(interval)


class FakeClock:
    """The program's clock: the real clock plus an offset that the harness sets and may move, which
    libfaketime reads from a file (again at most once a second). It runs at real speed, so a tick that
    comes late on a loaded machine is no later in the program's time than in real time, and the harness
    always knows the program's time (now()). set() moves it, e.g. to a few seconds before a due minute."""

    def __init__(self, path):
        self.path = path
        self.offset = 0.0

    def set(self, when):
        self.offset = when.timestamp() - time.time()
        with open(self.path + ".new", "w") as f:
            f.write(f"{self.offset:+.3f}\n")
        os.replace(self.path + ".new", self.path)

    def now(self):
        return datetime.datetime.fromtimestamp(time.time() + self.offset)

    def environment(self):
        return {"FAKETIME_TIMESTAMP_FILE": self.path, "FAKETIME_CACHE_DURATION": "1"}


def parse_faketime(spec):
    """(start, speed) of a libfaketime start spec "@YYYY-MM-DD HH:MM:SS [xN]"."""
    m = re.fullmatch(r"@(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)(?: x(\d+(?:\.\d+)?))?", spec.strip())
    if not m:
        raise ValueError(f"not a start time: {spec!r}")
    start = datetime.datetime.strptime(m.group(1), "%Y-%m-%d %H:%M:%S")
    return start, float(m.group(2)) if m.group(2) else 1.0


def _parent_and_state(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return int(fields[1]), fields[0]


def descendants(root):
    """The live (not zombie) processes below pid root in the process tree, root itself left out."""
    children = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            parent, state = _parent_and_state(entry)
        except (OSError, IndexError, ValueError):
            continue  # gone meanwhile
        if state != "Z":
            children.setdefault(parent, []).append(int(entry))
    found, todo = [], [root]
    while todo:
        for child in children.get(todo.pop(), []):
            found.append(child)
            todo.append(child)
    return found


class Window:
    def __init__(self, wid, name, x, y, w, h, depth, cls=None):
        self.wid, self.name, self.x, self.y, self.w, self.h, self.depth = wid, name, x, y, w, h, depth
        self.cls = cls  # the resource name of WM_CLASS, when the window has one

    @property
    def geometry(self):
        return (self.x, self.y, self.w, self.h)

    def __repr__(self):
        return f"Window({self.wid}, {self.name!r}, {self.geometry})"


_TREE_LINE = re.compile(r'^(\s*)(0x[0-9a-f]+) (?:"(.*)"|\(has no name\)):\s*(?:\("([^"]*)"[^)]*\))?.*?\s(\d+)x(\d+)'
                        r'\+-?\d+\+-?\d+\s+\+(-?\d+)\+(-?\d+)')


class Desktop:
    """Xvfb + a session bus + (openbox) + trayer + the program, cleaned up on exit."""

    def __init__(self, program, ini_bytes=None, faketime="@2026-12-09 11:59:57", tray=True, out_dir=None,
                 name="case", screen=(SCREEN_W, SCREEN_H), program_env=None, wm=False, monitors=()):
        """program: the Program to start, or the path of the Linux program. wm: run openbox as the
        window manager (the other cases run on a bare display, where nothing manages or focuses a
        window). monitors: the screen split into RandR monitors (split_monitors) before anything
        else starts."""
        self.program_kind = program if isinstance(program, Program) else LinuxProgram(program)
        global PATIENCE
        PATIENCE = self.program_kind.patience
        self.exe = self.program_kind.exe
        self.screen = screen  # the virtual screen's size in pixels
        self.program_env = dict(program_env or {})  # extra environment for the program
        self.ini_bytes = ini_bytes
        # "@start": the clock starts there with each fresh program folder and runs at real speed (the
        # harness may move it: self.clock). "@start xN": N times as fast, and it cannot be moved.
        self.faketime = faketime
        self.clock = None
        self.tray = tray
        self.wm = wm
        self.monitors = monitors
        self.out_dir = out_dir
        self.name = name
        self.procs = []
        self.program = None
        self.program_log = None
        self.display = None

    # --- lifetime -------------------------------------------------------------------------------
    def __enter__(self):
        try:
            self.root = tempfile.mkdtemp(prefix="chimewick-e2e-")
            self._start_x()
            self._start_bus()
            if self.monitors:
                self.split_monitors(*self.monitors)
            # The tray host first: openbox then takes its mapped panel over as it starts (a panel that
            # trayer maps while openbox starts stays unmapped now and then).
            if self.tray:
                self.start_tray()
            if self.wm:
                self.start_wm()
            return self
        except BaseException:
            self.close()
            raise

    def __exit__(self, exc_type, exc, tb):
        if exc_type is not None and self.display:
            try:
                self.screenshot("failed")
                print(f"display {self.display}; texts: {self.dump()}")
                print("windows:\n" + "\n".join(repr(w) for w in self.tree() if w.name))
                with open(self.program_log, errors="replace") as f:
                    print("program output:\n" + f.read()[-2000:])
            except Exception:
                pass
        self.close()
        return False

    def close(self):
        for proc in reversed(self.procs):
            if proc.poll() is None:
                proc.send_signal(signal.SIGTERM)
                try:
                    proc.wait(timeout=3)
                except subprocess.TimeoutExpired:
                    proc.kill()
                    proc.wait()
        self.procs.clear()
        self.program_kind.stopped(self)
        if getattr(self, "root", None):
            shutil.rmtree(self.root, ignore_errors=True)

    def _spawn(self, args, **kw):
        proc = subprocess.Popen(args, stdin=subprocess.DEVNULL, **kw)
        self.procs.append(proc)
        return proc

    def _start_x(self):
        # Xvfb picks a free display itself and reports its number, so cases can run side by side.
        read_fd, write_fd = os.pipe()
        log = open(os.path.join(self.root, "xvfb.log"), "wb")
        screen = f"{self.screen[0]}x{self.screen[1]}x24"
        self._spawn(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", screen,
                     "-nolisten", "tcp"],
                    pass_fds=(write_fd,), stdout=log, stderr=log)
        os.close(write_fd)
        with os.fdopen(read_fd) as r:
            number = r.readline().strip()
        if not number:
            raise CaseFailed("Xvfb did not start")
        self.display = ":" + number
        self.xvfb = self.procs[-1]
        self.env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "DISPLAY": self.display,
            "HOME": os.path.join(self.root, "home"),
            "XDG_CONFIG_HOME": os.path.join(self.root, "config"),
            "XDG_RUNTIME_DIR": os.path.join(self.root, "runtime"),
            "LANG": "C.UTF-8",
        }
        if "TZ" in os.environ:
            self.env["TZ"] = os.environ["TZ"]  # the harness works out the program's time in its own zone
        for d in ("home", "config", "runtime"):
            os.makedirs(os.path.join(self.root, d), mode=0o700)

        def answers():
            if self.xvfb.poll() is not None:
                with open(os.path.join(self.root, "xvfb.log"), errors="replace") as f:
                    raise CaseFailed(f"Xvfb ended with status {self.xvfb.returncode}: {f.read()[-800:]}")
            return self.run("xwininfo", "-root", check=False) != ""
        wait_until(f"the display {self.display} to answer", answers, timeout=5)

    def _start_bus(self):
        """A session bus of the case's own, ended with it. Without one a Qt program autolaunches a bus
        (dbus-launch, where dbus-x11 is installed) that outlives the case."""
        read_fd, write_fd = os.pipe()
        log = open(os.path.join(self.root, "dbus.log"), "wb")
        bus = self._spawn(["dbus-daemon", "--session", "--nofork", "--nopidfile", f"--print-address={write_fd}"],
                          pass_fds=(write_fd,), stdout=log, stderr=log, env=self.env)
        os.close(write_fd)
        with os.fdopen(read_fd) as r:
            address = r.readline().strip()
        if not address:
            with open(os.path.join(self.root, "dbus.log"), errors="replace") as f:
                raise CaseFailed(f"dbus-daemon did not start (status {bus.poll()}): {f.read()[-500:]}")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address

    def start_wm(self, tries=3):
        """Starts openbox with its stock settings and waits until it manages the screen. Now and then,
        on a loaded machine, openbox ends at once saying it cannot open the display that answers the
        harness; that is the tool failing, so it is started again."""
        for attempt in range(1, tries + 1):
            log_path = os.path.join(self.root, f"openbox-{attempt}.log")
            log = open(log_path, "wb")
            wm = self._spawn(["openbox", "--sm-disable"], env=self.env, stdout=log, stderr=log)

            def managing():
                return wm.poll() is not None or "window id #" in self.run(
                    "xprop", "-root", "_NET_SUPPORTING_WM_CHECK", check=False)
            wait_until("openbox to manage the screen", managing)
            if wm.poll() is None:
                return
            with open(log_path, errors="replace") as f:
                ended = f"openbox ended with status {wm.returncode}: {f.read()[-500:]}"
            print(f"{ended} (try {attempt} of {tries})")
        raise CaseFailed(ended)

    def _start_client(self, what, *args):
        """Starts one of xclients.py's clients; returns it and the first line it printed."""
        script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "xclients.py")
        log = open(os.path.join(self.root, f"{what}.log"), "wb")
        proc = self._spawn([sys.executable, script, what, *args], env=self.env, stdout=subprocess.PIPE, stderr=log)
        line = proc.stdout.readline().decode().strip()
        if not line:
            with open(os.path.join(self.root, f"{what}.log"), errors="replace") as f:
                raise CaseFailed(f"the {what} client ended with status {proc.wait()}: {f.read()[-500:]}")
        return proc, line

    def start_key_recorder(self, path):
        """A window the size of the screen that takes the keyboard when focused and appends each character
        typed into it to path; returns its X window id once it is mapped."""
        proc, line = self._start_client("keys", path)
        return int(line)

    def split_monitors(self, *monitors):
        """Declares RandR monitors on the screen, each (name, (x, y, w, h), primary), and keeps them for
        the whole case (their client stays connected). The Desktop's monitors option calls it before
        the window manager and the tray host start."""
        specs = [f"{name}:{x},{y},{w},{h}" + (":primary" if primary else "")
                 for name, (x, y, w, h), primary in monitors]
        self._start_client("monitors", *specs)

    def start_tray(self, tries=3):
        """Starts trayer and waits for its panel. Now and then trayer ends at once with status 1 and no
        word on a loaded machine; that is the harness's tool failing, so it is started again. Under
        openbox the panel now and then stays unmapped for good (its map request meets the window
        manager's start): then trayer is started again as well."""
        for attempt in range(1, tries + 1):
            log_path = os.path.join(self.root, f"trayer-{attempt}.log")
            log = open(log_path, "wb")
            tray = self._spawn(["trayer", "--edge", "bottom", "--align", "right", "--height", "24",
                                "--widthtype", "request", "--transparent", "false"],
                               env=self.env, stdout=log, stderr=log)

            def ready():
                panels = self.find(name="panel")
                if self.wm:
                    panels = [p for p in panels if self.map_state(int(p.wid, 16)) == "IsViewable"]
                return tray.poll() is not None or panels
            try:
                wait_until("the tray host", ready, timeout=(10 if self.wm else 30) * PATIENCE)
            except CaseFailed as e:
                if not self.wm or attempt == tries:
                    raise
                ended = str(e)
                print(f"{ended} (try {attempt} of {tries})")
                tray.terminate()
                tray.wait()
                continue
            if tray.poll() is None:
                return
            with open(log_path, errors="replace") as f:
                ended = f"trayer ended with status {tray.returncode}: {f.read()[-500:]}"
            print(f"{ended} (try {attempt} of {tries})")
        raise CaseFailed(ended)

    def start_program(self, fresh=True, launcher=()):
        """fresh: in a new folder holding ini_bytes (a previous run's folder goes); otherwise once more in
        the previous run's folder, with what that run left there. launcher: a command put before the
        program, e.g. one that drops privileges."""
        prog_dir = self.program_dir
        if fresh:
            shutil.rmtree(prog_dir, ignore_errors=True)
            os.makedirs(prog_dir)
            self.exe_copy = self.program_kind.install(prog_dir)
            if self.ini_bytes is not None:
                os.makedirs(os.path.join(prog_dir, "Ini"))
                with open(self.ini_path, "wb") as f:
                    f.write(self.ini_bytes)
        self.dump_path = os.path.join(self.root, "dump.txt")
        if os.path.exists(self.dump_path):
            os.remove(self.dump_path)  # a previous run's texts
        env = dict(self.env)
        env.update(self.program_kind.environment(self))
        # Timers run on the real monotonic clock: one tick a second whatever the fake clock does.
        env.update({"LD_PRELOAD": FAKETIME_LIB, "FAKETIME_DONT_FAKE_MONOTONIC": "1"})
        start, speed = parse_faketime(self.faketime)
        if speed != 1.0:
            env["FAKETIME"] = self.faketime
        else:
            if self.clock is None:
                self.clock = FakeClock(os.path.join(self.root, "faketime"))
            if fresh or not os.path.exists(self.clock.path):
                self.clock.set(start)
            env.update(self.clock.environment())
        env.update(self.program_env)
        self.program_environment = env  # for starting another copy the same way
        self.program_log = os.path.join(self.root, "program.log")
        log = open(self.program_log, "wb")
        self.started = time.monotonic()
        self.program = self._spawn([*launcher, *self.program_kind.command(self.exe_copy)], env=env,
                                   stdout=log, stderr=log, cwd=self.root)
        return self.program

    def stop_program(self):
        """Ends the running program at once (SIGTERM: nothing is saved) and waits for it."""
        if self.program_alive():
            self.program.send_signal(signal.SIGTERM)
            self.program.wait(timeout=5)

    @property
    def program_dir(self):
        return os.path.join(self.root, "program")

    @property
    def companions(self):
        """Files copied beside the program (e.g. its banner helper)."""
        return self.program_kind.companions

    @property
    def ini_path(self):
        return os.path.join(self.program_dir, "Ini", "Tovik.ini")

    # --- looking ------------------------------------------------------------------------------
    def run(self, *args, check=True):
        res = subprocess.run(list(args), env=self.env, capture_output=True, text=True, timeout=20)
        if check and res.returncode != 0:
            raise CaseFailed(f"{' '.join(args)} failed: {res.stderr.strip()}")
        return res.stdout

    def tree(self):
        """Every window with its depth in the tree and its absolute geometry."""
        windows = []
        # A window that goes away while xwininfo walks the tree makes it fail; a second walk sees the
        # tree without it.
        for attempt in range(5):
            res = subprocess.run(["xwininfo", "-root", "-tree"], env=self.env, capture_output=True, text=True,
                                 timeout=20)
            if res.returncode == 0:
                break
        else:
            raise CaseFailed(f"xwininfo -root -tree failed: {res.stderr.strip()}")
        for line in res.stdout.splitlines():
            m = _TREE_LINE.match(line)
            if m:
                indent, wid, name, cls, w, h, ax, ay = m.groups()
                windows.append(Window(wid, name, int(ax), int(ay), int(w), int(h), len(indent), cls))
        return windows

    def find(self, name):
        return [w for w in self.tree() if w.name == name]

    def tray_icons(self):
        """The program's windows embedded in the tray host (below trayer's "panel" window)."""
        icons, panel_depth = [], None
        for w in self.tree():
            if panel_depth is not None and w.depth <= panel_depth:
                panel_depth = None
            if w.name == "panel":
                panel_depth = w.depth
            elif panel_depth is not None and self.program_kind.is_tray_icon(w):
                icons.append(w)
        return icons

    def map_state(self, wid):
        out = self.run("xwininfo", "-id", str(wid), check=False)
        m = re.search(r"Map State:\s+(\w+)", out)
        return m.group(1) if m else "Gone"

    def window_geometry(self, wid):
        out = self.run("xwininfo", "-id", str(wid))
        val = {k: int(re.search(k + r":\s+(-?\d+)", out).group(1))
               for k in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")}
        return (val["Absolute upper-left X"], val["Absolute upper-left Y"], val["Width"], val["Height"])

    def dump(self):
        """The texts the program reports through CHIMEWICK_E2E_DUMP."""
        try:
            with open(self.dump_path, encoding="utf-8") as f:
                return dict(line.rstrip("\n").split("=", 1) for line in f if "=" in line)
        except FileNotFoundError:
            return {}

    def main_window(self):
        return self.program_kind.main_window(self)

    def viewable_boxes(self):
        """Viewable top-level windows named Chimewick other than the main window and the tray icon."""
        main = self.main_window()
        out = self.run("xdotool", "search", "--onlyvisible", "--name", "^Chimewick$", check=False)
        icons = {int(w.wid, 16) for w in self.tray_icons()}
        return [int(x) for x in out.split() if int(x) != main and int(x) not in icons]

    def screenshot(self, label):
        if not self.out_dir:
            return None
        os.makedirs(self.out_dir, exist_ok=True)
        path = os.path.join(self.out_dir, f"{self.name}-{label}.png")
        self.run("import", "-display", self.display, "-window", "root", path, check=False)
        return path

    # --- acting -------------------------------------------------------------------------------
    def click(self, wid, x, y, button=1):
        # No --sync: it waits for the pointer to move and so hangs about 15 s when the pointer already
        # stands there (two clicks at one point). The server takes the move and the click in order.
        self.run("xdotool", "mousemove", "--window", str(wid), str(x), str(y), "click", str(button))

    def program_descendants(self):
        """The live processes the running program started, and those they started in turn (read from
        /proc: a process belongs to the case by its parent, not by a name or an environment variable
        that other processes may share)."""
        if not self.program_alive():
            return []
        return descendants(self.program.pid)

    def program_alive(self):
        return self.program is not None and self.program.poll() is None
