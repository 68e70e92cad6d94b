"""Hostile settings files: malformed values, garbage, a huge file, odd line ends, an `Ini` that is no
folder, a FIFO in the file's place and a file the program may not read. The program must start, say what is wrong in the words of
its conversions, keep its clock running, and leave the file exactly as it was.

Several files run one after the other on one virtual desktop, each in a fresh program folder.
"""

import os
import pwd
import random
import shutil
import stat

from cases.first_start import DIALOG_CLOSE, answer, settings_dialogs, wait_dialog, wait_question
from cases.main_window import check, wait_in_tray, wait_shown_in_place
from runner import CaseSkipped, Suite
from xsession import FAKETIME_LIB, CaseFailed, wait_until

QUIET = b"[XTSZ]\r\nNotFirstStart=1\r\n"

suite = Suite("e2e.", timeout=240)


def not_integer(text):
    return f"'{text}' is not a valid integer value"


def not_time(text):
    return f"'{text}' is not a valid time"


def garbage(size, seed):
    return random.Random(seed).randbytes(size)


# Files that say the program has been set up before: it starts into the tray and shows one box per
# value that does not convert, in the order the settings are read.
RUNNING_FILES = [
    ("huge number", QUIET + b"[XHBX]\r\nxhzq=99999999999\r\n", [not_integer("99999999999")]),
    ("letters for a number", QUIET + b"[XHBX]\r\nxhzq=abc\r\n", [not_integer("abc")]),
    ("empty number", QUIET + b"[XHBX]\r\nflashLonger=\r\n", [not_integer("")]),
    ("hour 24", QUIET + b"[XHBX]\r\nOnTime=24:00\r\n", [not_time("24:00")]),
    ("minute 60", QUIET + b"[XHBX]\r\nOnTime2=12:60\r\n", [not_time("12:60")]),
    ("several at once", QUIET + b"[XHBX]\r\nflashLonger=1x\r\nOnTime3=7:5:99\r\nxhzq=12abc\r\n",
     [not_integer("12abc"), not_time("7:5:99"), not_integer("1x")]),
    ("CR line ends", b"[XTSZ]\rNotFirstStart=1\r[XHBX]\rxhzq=abc\rOnTime=24:00\r",
     [not_integer("abc"), not_time("24:00")]),
    ("binary garbage after the keys", QUIET + garbage(64 * 1024, 1), []),
    ("garbage around the keys", garbage(3000, 2) + b"\r\n" + QUIET + garbage(3000, 3) + b"\r\n[XHBX]\r\n"
     b"xhzq=" + "长".encode("gbk") + b"\r\n", [not_integer("长")]),
]


def prepare_folder(d, setup):
    """A fresh program folder; setup(folder) puts whatever settings files it wants there."""
    folder = os.path.join(d.root, "program")
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    d.exe_copy = d.program_kind.install(folder)
    setup(folder)


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


def acknowledge_errors(d, messages, what):
    """Waits for each message box in turn, checks its text and closes it with Return."""
    for message in messages:
        def box_with_text():
            boxes = d.viewable_boxes()
            return boxes if boxes and d.dump().get("error") == message else None
        box = wait_until(f"the box {message!r} for {what}", box_with_text)[0]
        d.run("xdotool", "windowfocus", "--sync", str(box), "key", "Return")
        wait_until("the box to close", lambda: box not in d.viewable_boxes())


def check_ticking(d, what):
    first = wait_until(f"the clock label ({what})", lambda: d.dump().get("lbl_2"))
    wait_until(f"the clock to tick ({what})", lambda: d.dump().get("lbl_2") not in (None, first))
    check(d.program_alive(), f"the program ended ({what})")


@suite.case
def hostile_values(d):
    """Malformed values: one box per value in reading order, the clock runs, the file stays."""
    for what, content, messages in RUNNING_FILES:
        d.ini_bytes = content
        d.start_program()
        acknowledge_errors(d, messages, what)
        check_ticking(d, what)
        wait_in_tray(d)
        check(d.viewable_boxes() == [], f"a box is still open ({what}): {d.dump()}")
        check(d.dump().get("error") == (messages[-1] if messages else None),
              f"an unexpected message ({what}): {d.dump()}")
        d.stop_program()
        check(read_bytes(d.ini_path) == content, f"the settings file was changed ({what})")


@suite.case
def hostile_text(d):
    """Text that is no valid GBK reaches the window without harm: the rest of it is shown."""
    content = QUIET + b"[XHBX]\r\nstartDSBJ=1\r\nOnTime=12:00\r\nOnTimeTxnr=\x81 ok \xff\x80\xfe\r\n"
    d.ini_bytes = content
    d.start_program()
    wait_shown_in_place(d)
    check(" ok " in d.dump().get("lbl_1", ""), f"reminder text: {d.dump()}")
    check("error" not in d.dump(), f"a message: {d.dump()}")
    check_ticking(d, "invalid GBK")
    d.stop_program()
    check(read_bytes(d.ini_path) == content, "the settings file was changed")


def unprivileged_launcher(d):
    """Makes the desktop's files the property of an ordinary user and returns the command that runs the
    program as that user, so that file modes apply to it. Empty when we are no superuser already."""
    if os.geteuid() != 0:
        return ()
    if shutil.which("setpriv") is None:
        raise CaseSkipped("running as root without setpriv: a file of mode 000 stays readable to root")
    try:
        user = pwd.getpwnam("nobody")
    except KeyError:
        raise CaseSkipped("running as root and there is no user 'nobody' to drop to") from None
    # The settings file itself stays root's, so only its mode decides.
    for folder, dirs, files in os.walk(d.root):
        for name in [folder] + [os.path.join(folder, n) for n in dirs + files]:
            if name != d.ini_path:
                os.chown(name, user.pw_uid, user.pw_gid, follow_symlinks=False)
    # The fake clock's library leaves the name of a shared memory segment of root's in the environment;
    # the program must set up its own, so it is loaded afresh behind the change of user.
    return ("env", "-u", "LD_PRELOAD", "setpriv", f"--reuid={user.pw_uid}", f"--regid={user.pw_gid}",
            "--clear-groups", "--", "env", "-u", "FAKETIME_SHARED", f"LD_PRELOAD={FAKETIME_LIB}")


def first_start_that_cannot_save(d, launcher, message, what):
    """Nothing readable: the program asks and opens the dialog like on a first start; closing the
    dialog cannot save, says why and asks whether to close without saving; 取消 leaves the dialog open
    with the user's input."""
    d.start_program(fresh=False, launcher=launcher)
    answer(d, wait_question(d), "Escape")
    dialog = wait_dialog(d)
    d.click(dialog, *DIALOG_CLOSE)
    # The dump writes a line break as a backslash and an n.
    box = wait_until(f"the question after {message!r} ({what})",
                     lambda: wait_question(d) if d.dump().get("message", "").startswith(message + "\\n") else None)
    answer(d, box, "Escape")
    check(settings_dialogs(d), f"the dialog closed although nothing was saved ({what})")
    check(d.program_alive(), f"the program ended ({what})")
    d.stop_program()


@suite.case
def hostile_files(d):
    """Garbage, a file named Ini, a huge file, a FIFO and an unreadable file: a first start that cannot save
    says so."""
    # Garbage without a single line of INI: read as nothing at all, so this is a first start.
    junk = garbage(256 * 1024, 4).replace(b"\r", b"").replace(b"\n", b"")
    d.ini_bytes = junk
    d.start_program()
    answer(d, wait_question(d), "Escape")
    wait_dialog(d)
    d.stop_program()
    check(read_bytes(d.ini_path) == junk, "the settings file was changed (garbage)")

    # A plain file where the settings folder belongs.
    def plain_file(folder):
        with open(os.path.join(folder, "Ini"), "wb") as f:
            f.write(QUIET)
    prepare_folder(d, plain_file)
    first_start_that_cannot_save(d, (), "File exists", "Ini is a file")
    check(read_bytes(os.path.dirname(d.ini_path)) == QUIET, "the file named Ini was changed")

    # Far larger than a settings file: not read (reading it for every value would freeze the program),
    # so this is a first start, and not replaced either.
    huge = QUIET + b"[XHBX]\r\ntxnr=" + "长".encode("gbk") * (5 * 1024 * 1024) + b"\r\nxhzq=abc\r\n"

    def huge_file(folder):
        os.makedirs(os.path.join(folder, "Ini"))
        with open(d.ini_path, "wb") as f:
            f.write(huge)
    prepare_folder(d, huge_file)
    first_start_that_cannot_save(d, (), f"Unable to write to {d.ini_path}", "10 MB file")
    check(read_bytes(d.ini_path) == huge, "the 10 MB file was changed")

    # A FIFO where the file belongs: opening it would wait for a writer for ever.
    def fifo(folder):
        os.makedirs(os.path.join(folder, "Ini"))
        os.mkfifo(d.ini_path)
    prepare_folder(d, fifo)
    first_start_that_cannot_save(d, (), f"Unable to write to {d.ini_path}", "FIFO")
    check(stat.S_ISFIFO(os.lstat(d.ini_path).st_mode), "the FIFO was replaced")

    # A settings file the program may not read: it must not be replaced by a fresh one.
    def unreadable(folder):
        os.makedirs(os.path.join(folder, "Ini"))
        with open(d.ini_path, "wb") as f:
            f.write(QUIET + b"[XHBX]\r\nstartXHBJ=1\r\n")
    prepare_folder(d, unreadable)
    launcher = unprivileged_launcher(d)
    os.chmod(d.ini_path, 0)
    try:
        first_start_that_cannot_save(d, launcher, f"Unable to write to {d.ini_path}", "unreadable file")
    except CaseFailed:
        os.chmod(d.ini_path, 0o600)
        raise
    os.chmod(d.ini_path, 0o600)
    check(read_bytes(d.ini_path) == QUIET + b"[XHBX]\r\nstartXHBJ=1\r\n", "the unreadable file was changed")
