"""Installs the built program into a temporary prefix (with a space in its path), checks the installed
tree and the desktop entry, then uninstalls and checks that exactly the installed files went and the
settings file stayed.
"""

import os
import shutil
import struct
import subprocess
import tempfile

from runner import Suite, no_fixture

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
