"""Running a Win32 program under Wine for the end-to-end cases.

What a case needs, and what this module sets up once and shares:
- a locale for Chinese Windows: zh_CN.UTF-8, so that Wine's ANSI code page is 936 (GBK). When the
  system has not generated it, it is compiled once into a cache folder and found through LOCPATH;
- a Wine prefix made under that locale (a prefix made under the C locale draws the Chinese texts of
  message boxes and menus as empty boxes). Making one takes Wine 10-40 s, so a template is made once
  per cache folder and each case gets a copy whose program files are hard links (under a second);
- the 64-bit loader called directly (plain "wine" would start the 32-bit one when it is installed);
- an environment without Wine's debug chatter, the Mono and Gecko installers, or faked file times
  (libfaketime's stat faking makes Wine think its prefix changed and rebuild it on every start);
- wineserver -k for the prefix when the case ends.

Standard library only.
"""

import fcntl
import os
import shutil
import subprocess

WINE64 = "/usr/lib/wine/wine64"
LOCALE = "zh_CN.UTF-8"


def wine64():
    """The 64-bit loader, or None when Wine is not installed."""
    if os.access(WINE64, os.X_OK):
        return WINE64
    return shutil.which("wine64")


def wineserver():
    return shutil.which("wineserver") or "/usr/lib/wine/wineserver64"


def missing():
    absent = [] if wine64() else ["wine64"]
    if not shutil.which("localedef") and not system_has_locale():
        absent.append("localedef (package locales)")
    return absent


def system_has_locale():
    out = subprocess.run(["locale", "-a"], capture_output=True, text=True).stdout.lower().split()
    return "zh_cn.utf8" in out


class _Lock:
    """An exclusive lock on a file of the cache folder, so parallel cases make each thing once."""

    def __init__(self, path):
        self.path = path

    def __enter__(self):
        self.f = open(self.path, "w")
        fcntl.flock(self.f, fcntl.LOCK_EX)
        return self

    def __exit__(self, *exc):
        fcntl.flock(self.f, fcntl.LOCK_UN)
        self.f.close()


def locale_environment(cache):
    """LC_ALL (and LOCPATH when the locale had to be compiled here) for a Chinese Windows."""
    env = {"LC_ALL": LOCALE, "LANG": LOCALE}
    if system_has_locale():
        return env
    folder = os.path.join(cache, "locale")
    os.makedirs(cache, exist_ok=True)
    with _Lock(os.path.join(cache, "locale.lock")):
        if not os.path.isdir(os.path.join(folder, LOCALE)):
            os.makedirs(folder, exist_ok=True)
            # localedef warns about the definitions' own oddities and may exit 1 while writing a usable
            # locale; what counts is that the locale is there afterwards.
            subprocess.run(["localedef", "-i", "zh_CN", "-f", "UTF-8", os.path.join(folder, LOCALE)],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            if not os.path.isdir(os.path.join(folder, LOCALE)):
                raise RuntimeError("localedef could not compile zh_CN.UTF-8")
    env["LOCPATH"] = folder
    return env


def base_environment(prefix, cache):
    """What every Wine process of a case needs besides the display and the clock."""
    env = {
        "WINEPREFIX": prefix,
        "WINEARCH": "win64",
        "WINEDEBUG": "-all",
        "WINEDLLOVERRIDES": "mscoree,mshtml=",  # no Mono or Gecko installer dialogs
        "NO_FAKE_STAT": "1",  # libfaketime: real file times, else Wine rebuilds the prefix each start
    }
    env.update(locale_environment(cache))
    return env


def _stop_server(env):
    subprocess.run([wineserver(), "-k"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def template_prefix(cache):
    """The shared, ready prefix of this cache folder (made on first use)."""
    template = os.path.join(cache, "prefix")
    os.makedirs(cache, exist_ok=True)
    with _Lock(os.path.join(cache, "prefix.lock")):
        if os.path.isfile(os.path.join(template, ".chimewick-ready")):
            return template
        shutil.rmtree(template, ignore_errors=True)
        env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": os.environ.get("HOME", "/root")}
        env.update(base_environment(template, cache))
        # No display: wineboot makes the prefix without showing anything.
        subprocess.run([wine64(), "wineboot", "-i"], env=env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=300)
        subprocess.run([wineserver(), "-w"], env=env, timeout=120)
        if not os.path.isfile(os.path.join(template, "system.reg")):
            raise RuntimeError(f"wineboot did not make a prefix in {template}")
        open(os.path.join(template, ".chimewick-ready"), "w").close()
        return template


_LINKED = (".dll", ".exe", ".drv", ".sys", ".ocx", ".acm", ".cpl", ".tlb", ".ax", ".ds", ".ttf", ".ttc",
           ".nls", ".mui", ".com", ".vxd", ".msstyles", ".fon")


def copy_prefix(template, target):
    """A prefix of the case's own. The program files (DLLs, programs, fonts, code pages), which Wine
    only reads, are hard links to the template's; every other file (the registry, ini files) is a copy,
    so a case never writes into the template."""
    for folder, dirs, files in os.walk(template):
        dest = os.path.join(target, os.path.relpath(folder, template))
        os.makedirs(dest, exist_ok=True)
        for name in dirs + files:
            src, dst = os.path.join(folder, name), os.path.join(dest, name)
            if os.path.islink(src):
                os.symlink(os.readlink(src), dst)
                if name in dirs:
                    dirs.remove(name)  # not followed (dosdevices/z: is the whole file system)
            elif name in files:
                if name.lower().endswith(_LINKED):
                    os.link(src, dst)
                else:
                    shutil.copy2(src, dst)


def unix_to_windows(path):
    """The Windows name of a Unix path (through Wine's Z: drive)."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def warm_up(env):
    """Starts the prefix's server for good (until stop) and Wine's services, and waits for them."""
    subprocess.run([wineserver(), "-p"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    subprocess.run([wine64(), "wineboot"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   timeout=300)


def stop(env):
    """Ends every process of the prefix (wineserver -k)."""
    _stop_server(env)
