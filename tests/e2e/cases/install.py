"""Installs the built program into a temporary prefix (with a space in its path), checks the installed
tree and the desktop entry, then uninstalls and checks that exactly the installed files went and the
settings file stayed.
"""

import contextlib
import os
import shutil
import struct
import subprocess
import tempfile

from cases.first_start import wait_dialog, wait_question
from programs import LinuxProgram
from runner import Suite, no_fixture
from xsession import Desktop

ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)
SETTINGS = b"[XTSZ]\r\nNotFirstStart=1\r\n"


class CheckFailed(AssertionError):
    pass


def missing(args):
    return [] if shutil.which("desktop-file-validate") else ["desktop-file-validate"]


# Installing writes install_manifest.txt into the build folder; tests that do so run one at a time.
suite = Suite("install.", needs=("build", "source"), fixture=no_fixture, labels=("install",), timeout=120,
              failures=(CheckFailed,), missing=missing, properties={"RESOURCE_LOCK": "build_install"})


def check(condition, message):
    if not condition:
        raise CheckFailed(message)


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    check(head[:8] == b"\x89PNG\r\n\x1a\n", f"{path} is not a PNG file")
    return struct.unpack(">II", head[16:24])


def tree(root):
    """Every file and link below root, as paths relative to it."""
    found = set()
    for folder, dirs, files in os.walk(root):
        for name in files + [d for d in dirs if os.path.islink(os.path.join(folder, d))]:
            found.add(os.path.relpath(os.path.join(folder, name), root))
    return found


def desktop_entry(path):
    values = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            if "=" in line and not line.startswith("["):
                key, value = line.rstrip("\n").split("=", 1)
                values[key] = value
    return values


def run(*args):
    res = subprocess.run(list(args), capture_output=True, text=True)
    if res.returncode != 0:
        raise CheckFailed(f"{' '.join(args)} failed ({res.returncode}): {res.stdout}{res.stderr}")
    return res.stdout + res.stderr


@suite.case(name="tree")
def install_and_uninstall(args):
    """The installed tree, its desktop entry and icons; uninstalling removes exactly them."""
    uninstall_script = os.path.join(args.source, "cmake", "uninstall.cmake")
    work = tempfile.mkdtemp(prefix="chimewick-install-")
    try:
        prefix = os.path.join(work, "my home", ".local")
        # Something of the user's own beside the installed entry: uninstalling must leave it.
        apps = os.path.join(prefix, "share", "applications")
        os.makedirs(apps)
        with open(os.path.join(apps, "other.desktop"), "w") as f:
            f.write("[Desktop Entry]\nType=Application\nName=Other\nExec=true\n")

        run("cmake", "--install", args.build, "--prefix", prefix)
        program_dir = os.path.join(prefix, "lib", "chimewick")
        program = os.path.join(program_dir, "chimewick")
        launcher = os.path.join(prefix, "bin", "chimewick")
        entry = os.path.join(apps, "chimewick.desktop")

        check(os.path.isfile(program) and os.access(program, os.X_OK), "no installed program")
        check(os.access(program_dir, os.W_OK), "the program folder is not writable: the settings go there")
        check(os.path.islink(launcher), "the launcher is not a link")
        check(os.path.realpath(launcher) == os.path.realpath(program),
              f"the launcher leads to {os.path.realpath(launcher)}")
        hicolor = os.path.join(prefix, "share", "icons", "hicolor")
        for size in ICON_SIZES:
            icon = os.path.join(hicolor, f"{size}x{size}", "apps", "chimewick.png")
            check(os.path.isfile(icon), f"no {size}x{size} icon")
            check(png_size(icon) == (size, size), f"the {size}x{size} icon is {png_size(icon)}")
        check(os.path.isfile(os.path.join(hicolor, "scalable", "apps", "chimewick.svg")), "no scalable icon")

        run("desktop-file-validate", entry)
        values = desktop_entry(entry)
        check(values.get("Name") == "Chimewick", f"Name: {values.get('Name')}")
        check(values.get("Name[zh_CN]"), "no Chinese name")
        check(values.get("Categories") == "Utility;Clock;", f"Categories: {values.get('Categories')}")
        check(values.get("Icon") == "chimewick", f"Icon: {values.get('Icon')}")
        # The prefix has a space: Exec quotes the path, and the value escapes the quotes' backslashes.
        check(values.get("Exec") == f'"{program}"', f"Exec: {values.get('Exec')}")

        # Everything installed is listed for uninstalling, and everything listed was installed.
        with open(os.path.join(program_dir, "installed-files.txt")) as f:
            listed = {line.strip() for line in f if line.strip()}
        installed = tree(prefix) - {os.path.join("share", "applications", "other.desktop")}
        check(listed == installed, f"listed but not installed: {listed - installed}; "
                                   f"installed but not listed: {installed - listed}")

        # The user's settings, written beside the program while it ran.
        settings = os.path.join(program_dir, "Ini", "Tovik.ini")
        os.makedirs(os.path.dirname(settings))
        with open(settings, "wb") as f:
            f.write(SETTINGS)

        # Installing again over an install (an upgrade) works and keeps the settings.
        run("cmake", "--install", args.build, "--prefix", prefix)

        for _ in range(2):  # a second uninstall finds nothing to do and does not fail
            run("cmake", f"-DCHIMEWICK_PREFIX={prefix}", "-P", uninstall_script)
            left = tree(prefix)
            check(left == {os.path.join("share", "applications", "other.desktop"),
                           os.path.join("lib", "chimewick", "Ini", "Tovik.ini")},
                  f"left after uninstalling: {sorted(left)}")
            with open(settings, "rb") as f:
                check(f.read() == SETTINGS, "the settings file changed")
            check(os.listdir(hicolor) == [], f"icon folders left: {os.listdir(hicolor)}")

        # Without settings the program folder goes too.
        shutil.rmtree(os.path.join(program_dir, "Ini"))
        run("cmake", "--install", args.build, "--prefix", prefix)
        run("cmake", f"-DCHIMEWICK_PREFIX={prefix}", "-P", uninstall_script)
        check(not os.path.exists(program_dir), "the empty program folder stayed")
    finally:
        shutil.rmtree(work, ignore_errors=True)



# ---- make install builds the program only --------------------------------------------------------

# Stands in for the compiler and the linker: notes what it was asked to make, and makes it from an empty
# source (an object) or an empty main (an executable), so a whole build takes seconds.
STAND_IN = r'''#!/usr/bin/env python3
import os, subprocess, sys
log, kind, command = LOG, KIND, sys.argv[1:]
output = command[command.index("-o") + 1]
with open(log, "a") as f:
    f.write(f"{kind} {os.path.abspath(output)}\n")
if kind == "compile":
    source = command.index("-c") + 1
    command[source] = os.path.join(os.path.dirname(log), "empty.cpp")
    sys.exit(subprocess.call(command))
sys.exit(subprocess.run([command[0], "-x", "c++", "-", "-o", output], input=b"int main() {}\n").returncode)
'''


def elf_executables(root):
    """ELF executables below root, outside CMake's own folders (its compiler checks leave some there)."""
    found = []
    for folder, dirs, files in os.walk(root):
        dirs[:] = [d for d in dirs if d != "CMakeFiles"]
        for name in files:
            path = os.path.join(folder, name)
            if os.access(path, os.X_OK) and not os.path.islink(path):
                with open(path, "rb") as f:
                    if f.read(4) == b"\x7fELF":
                        found.append(os.path.relpath(path, root))
    return sorted(found)


program_suite = Suite("install.", needs=("source",), fixture=no_fixture, labels=("install",), timeout=600,
                      failures=(CheckFailed,))


@program_suite.case(name="program_only")
def install_builds_the_program_only(args):
    """make install on a fresh build folder compiles the program and its banner helper and no test: no test
    executable appears in the build tree, and the program is installed."""
    work = tempfile.mkdtemp(prefix="chimewick-install-")
    try:
        log = os.path.join(work, "made.txt")
        for kind in ("compile", "link"):
            with open(os.path.join(work, kind), "w") as f:
                f.write(STAND_IN.replace("LOG", repr(log)).replace("KIND", repr(kind)))
            os.chmod(os.path.join(work, kind), 0o755)
        open(os.path.join(work, "empty.cpp"), "w").close()
        build, prefix = os.path.join(work, "build"), os.path.join(work, "prefix")
        launchers = (f"-DCMAKE_CXX_COMPILER_LAUNCHER={os.path.join(work, 'compile')} "
                     f"-DCMAKE_CXX_LINKER_LAUNCHER={os.path.join(work, 'link')}")
        # The make that runs this test (make test) must not hand its job slots down.
        env = {k: v for k, v in os.environ.items() if k not in ("MAKEFLAGS", "MFLAGS", "MAKELEVEL")}
        res = subprocess.run(["make", "-C", args.source, "install", f"BUILD={build}", f"PREFIX={prefix}",
                              "JOBS=2", f"CMAKE_ARGS={launchers}"],
                             capture_output=True, text=True, env=env, timeout=540)
        check(res.returncode == 0, f"make install failed ({res.returncode}): {res.stdout[-3000:]}{res.stderr[-3000:]}")

        with open(log) as f:
            made = [line.split(" ", 1) for line in f.read().splitlines()]
        linked = sorted(os.path.relpath(path, build) for kind, path in made if kind == "link")
        check(linked == ["chimewick", "chimewick-banner"], f"linked: {linked}")
        compiled = [os.path.relpath(path, build) for kind, path in made if kind == "compile"]
        check(compiled, "nothing compiled: the stand-in compiler was not used")
        tests = [path for path in compiled if "test" in path.lower() or "fuzz" in path.lower()]
        check(not tests, f"compiled for tests: {tests}")
        executables = elf_executables(build)
        check(executables == ["chimewick", "chimewick-banner"], f"executables in the build tree: {executables}")
        for name in ("chimewick", "chimewick-banner"):
            check(os.path.isfile(os.path.join(prefix, "lib", "chimewick", name)), f"{name} was not installed")
    finally:
        shutil.rmtree(work, ignore_errors=True)


# ---- make uninstall and the start-at-login entry ---------------------------------------------------

def exec_value(path):
    """A program path as the Exec value of a desktop entry: quoted, " ` $ and \\ escaped, then the
    value's own escaping (backslashes doubled)."""
    quoted = '"' + "".join("\\" + c if c in '"`$\\' else c for c in path) + '"'
    return quoted.replace("\\", "\\\\")


def fake_install(prefix):
    """What make install lists for uninstalling, enough for it: the program, its launcher, the list."""
    program_dir = os.path.join(prefix, "lib", "chimewick")
    os.makedirs(program_dir, exist_ok=True)
    os.makedirs(os.path.join(prefix, "bin"), exist_ok=True)
    for name in ("chimewick", "chimewick-banner"):
        with open(os.path.join(program_dir, name), "w") as f:
            f.write("#!/bin/sh\n")
    launcher = os.path.join(prefix, "bin", "chimewick")
    if not os.path.lexists(launcher):
        os.symlink("../lib/chimewick/chimewick", launcher)
    with open(os.path.join(program_dir, "installed-files.txt"), "w") as f:
        f.write("lib/chimewick/chimewick\nlib/chimewick/chimewick-banner\nbin/chimewick\n"
                "lib/chimewick/installed-files.txt\n")


def uninstall(source, prefix, env):
    res = subprocess.run(["cmake", f"-DCHIMEWICK_PREFIX={prefix}", "-P",
                          os.path.join(source, "cmake", "uninstall.cmake")],
                         capture_output=True, text=True, env=env)
    if res.returncode != 0:
        raise CheckFailed(f"uninstall failed ({res.returncode}): {res.stdout}{res.stderr}")
    return res.stdout + res.stderr


entry_suite = Suite("install.", needs=("source",), fixture=no_fixture, labels=("install",), timeout=120,
                    failures=(CheckFailed,))


@entry_suite.case(name="autostart_entry")
def uninstall_and_the_autostart_entry(args):
    """Uninstalling removes the start-at-login entry when it starts the program removed (however its
    path is written) and says so; an entry that starts anything else stays."""
    work = tempfile.mkdtemp(prefix="chimewick-install-")
    try:
        # Characters the entry's quoting has to carry: blank, quote, backquote, dollar, backslash, CJK.
        prefix = os.path.join(work, 'my "home" `$x\\y 中文', ".local")
        program = os.path.join(prefix, "lib", "chimewick", "chimewick")
        linked = os.path.join(work, "linked")  # another path to the same prefix
        os.symlink(prefix, linked)
        other = os.path.join(work, "other", "chimewick")  # another copy, which stays
        os.makedirs(os.path.dirname(other))
        with open(other, "w") as f:
            f.write("#!/bin/sh\n")
        config, home = os.path.join(work, "config"), os.path.join(work, "home")
        env = {**os.environ, "XDG_CONFIG_HOME": config, "HOME": home}
        entry = os.path.join(config, "autostart", "Tovik.desktop")
        os.makedirs(os.path.dirname(entry))

        removed, kept = True, False
        cases = [  # the Exec line, whether uninstalling removes the entry
            (exec_value(program), removed),                                    # as the program writes it
            (exec_value(os.path.join(prefix, "bin", "chimewick")) + " --x", removed),  # the launcher
            (os.path.join(linked, "lib", "chimewick", "chimewick"), removed),  # unquoted, through a link
            (exec_value(other), kept),                                         # another copy
            (exec_value(program + "-banner"), kept),                           # another file beside it
            (f"sh -c {exec_value(program)}", kept),                            # another program first
            (exec_value(program)[:-1], kept),                                  # the quote never closes
            (exec_value(program)[:-1] + '%f"', kept),                          # a field code in the path
        ]
        for exec_line, remove in cases:
            fake_install(prefix)
            text = f"[Desktop Entry]\r\nType=Application\r\nName=Chimewick\r\nExec = {exec_line}\r\n"
            with open(entry, "w", encoding="utf-8") as f:
                f.write(text)
            said = uninstall(args.source, prefix, env)
            check(os.path.exists(entry) != remove,
                  f"Exec={exec_line}: the entry {'stayed' if remove else 'was removed'}; uninstall said: {said}")
            if remove:
                check(f"removed the start-at-login entry {entry}" in said, f"Exec={exec_line}: said: {said}")
            else:
                check(f"kept the start-at-login entry {entry}" in said, f"Exec={exec_line}: said: {said}")
                with open(entry, encoding="utf-8", newline="") as f:
                    check(f.read() == text, f"Exec={exec_line}: the entry changed")
            check(not os.path.exists(program), "the program stayed")

        # A disabled entry for the program goes too; Exec in another group does not count.
        for text, remove in [
            (f"[Desktop Entry]\nExec={exec_value(program)}\nHidden=true\n", removed),
            (f"[Other]\nExec={exec_value(program)}\n[Desktop Entry]\nExec={exec_value(other)}\n", kept),
        ]:
            fake_install(prefix)
            with open(entry, "w", encoding="utf-8") as f:
                f.write(text)
            uninstall(args.source, prefix, env)
            check(os.path.exists(entry) != remove, f"{text!r}: the entry {'stayed' if remove else 'went'}")

        # Nothing installed: an entry for this prefix's program, which is gone, is removed all the same
        # (an older uninstall left it); one for a program that is there stays.
        with open(entry, "w", encoding="utf-8") as f:
            f.write(f"[Desktop Entry]\nExec={exec_value(program)}\n")
        said = uninstall(args.source, prefix, env)
        check(not os.path.exists(entry), f"the entry for the missing program stayed: {said}")
        fake_install(prefix)
        os.remove(os.path.join(prefix, "lib", "chimewick", "installed-files.txt"))
        with open(entry, "w", encoding="utf-8") as f:
            f.write(f"[Desktop Entry]\nExec={exec_value(program)}\n")
        uninstall(args.source, prefix, env)
        check(os.path.exists(entry), "an entry for a program that is there was removed")
        os.remove(entry)

        # The folder follows XDG_CONFIG_HOME; unset or relative, it is ~/.config/autostart.
        home_entry = os.path.join(home, ".config", "autostart", "Tovik.desktop")
        os.makedirs(os.path.dirname(home_entry))
        for xdg in (config, None, "relative"):
            fake_install(prefix)
            with open(home_entry, "w", encoding="utf-8") as f:
                f.write(f"[Desktop Entry]\nExec={exec_value(program)}\n")
            case_env = {k: v for k, v in env.items() if k != "XDG_CONFIG_HOME"}
            if xdg:
                case_env["XDG_CONFIG_HOME"] = xdg
            uninstall(args.source, prefix, case_env)
            check(os.path.exists(home_entry) == (xdg == config), f"XDG_CONFIG_HOME={xdg}: ~/.config's entry")
    finally:
        shutil.rmtree(work, ignore_errors=True)


@entry_suite.case(name="odd_prefix")
def uninstall_from_an_odd_prefix(args):
    """Uninstalling from a prefix whose path holds pattern characters ([ ] * ?) keeps the settings and
    removes only the folders it left empty."""
    work = tempfile.mkdtemp(prefix="chimewick-install-")
    try:
        prefix = os.path.join(work, "my [ab] *? home", ".local")
        fake_install(prefix)
        icon = os.path.join("share", "icons", "hicolor", "16x16", "apps", "chimewick.png")
        os.makedirs(os.path.dirname(os.path.join(prefix, icon)))
        open(os.path.join(prefix, icon), "w").close()
        with open(os.path.join(prefix, "lib", "chimewick", "installed-files.txt"), "a") as f:
            f.write(icon + "\n")
        settings = os.path.join(prefix, "lib", "chimewick", "Ini", "Tovik.ini")
        os.makedirs(os.path.dirname(settings))
        with open(settings, "wb") as f:
            f.write(SETTINGS)
        uninstall(args.source, prefix, {**os.environ, "XDG_CONFIG_HOME": os.path.join(work, "config")})
        check(tree(prefix) == {os.path.join("lib", "chimewick", "Ini", "Tovik.ini")},
              f"left after uninstalling: {sorted(tree(prefix))}")
        with open(settings, "rb") as f:
            check(f.read() == SETTINGS, "the settings file changed")
        check(not os.path.exists(os.path.join(prefix, "share", "icons", "hicolor", "16x16")),
              "the emptied icon folder stayed")
    finally:
        shutil.rmtree(work, ignore_errors=True)


# ---- start at login in the installed copy, then uninstalling ------------------------------------

class InstalledProgram(LinuxProgram):
    """The program where make install put it: started there, not copied into the case's folder."""

    def install(self, folder):
        return self.exe


@contextlib.contextmanager
def installed_desktop(args, case):
    """Installs the build into a prefix of the case's own and gives a desktop that starts that copy."""
    work = tempfile.mkdtemp(prefix="chimewick-install-")
    try:
        prefix = os.path.join(work, "my home", ".local")
        run("cmake", "--install", args.build, "--prefix", prefix)
        # The banner plays no part here: without its helper the program starts no browser engine.
        os.remove(os.path.join(prefix, "lib", "chimewick", "chimewick-banner"))
        program = InstalledProgram(os.path.join(prefix, "lib", "chimewick", "chimewick"))
        with Desktop(program, out_dir=args.out, name=case.name.split(".", 1)[-1]) as d:
            d.prefix, d.source = prefix, args.source
            yield d
    finally:
        shutil.rmtree(work, ignore_errors=True)


login_suite = Suite("e2e.install.", needs=("build", "source"), fixture=installed_desktop, timeout=180,
                    failures=(CheckFailed,), properties={"RESOURCE_LOCK": "build_install"})


@login_suite.case(name="start_at_login")
def start_at_login_then_uninstall(d):
    """Start at login switched on in the installed copy writes an entry that shows the program and starts
    that copy; uninstalling removes the entry and says so, so no entry points at a missing program."""
    entry = os.path.join(d.env["XDG_CONFIG_HOME"], "autostart", "Tovik.desktop")
    d.start_program()
    d.program_kind.answer_box(d, wait_question(d), "Return")  # 是否开机启动? OK
    wait_dialog(d)  # the entry is written before the settings dialog opens
    d.stop_program()
    values = desktop_entry(entry)
    check(values.get("Exec") == exec_value(d.exe_copy), f"the entry starts {values.get('Exec')}")
    check((values.get("Name"), values.get("Icon")) == ("Chimewick", "chimewick"),
          f"the entry shows as {values.get('Name')} with the icon {values.get('Icon')}")

    said = uninstall(d.source, d.prefix, {**os.environ, **d.env})
    check(not os.path.exists(d.exe_copy), "the program stayed")
    check(f"removed the start-at-login entry {entry}" in said, f"uninstall said: {said}")
    autostart = os.path.dirname(entry)
    left = [name for name in os.listdir(autostart) if name.endswith(".desktop")]
    check(not left, f"entries left in {autostart}: {left}")
