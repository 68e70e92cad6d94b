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

