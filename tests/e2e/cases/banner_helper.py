"""The banner helper (chimewick-banner) on its own, against the loopback banner server: the protocol's
greeting, navigation and its events, the steps on the document, refused addresses, pages that fail,
and the end of the helper when its input closes.
"""

import os
import queue
import subprocess
import threading
import time
import urllib.parse

from banner_server import BannerServer, cases
from runner import Suite, no_fixture

# Only for running the engine in this sandbox (root, no network); the program never sets these.
TEST_ENV = {
    "QTWEBENGINE_DISABLE_SANDBOX": "1",
    "QTWEBENGINE_CHROMIUM_FLAGS": "--disable-background-networking --disable-component-update "
                                  "--disable-sync --no-first-run --disable-gpu",
}


class Failed(AssertionError):
    pass


suite = Suite("banner.", needs=("helper",), fixture=no_fixture, timeout=120, failures=(Failed,))


def encode(text):
    return urllib.parse.quote(text, safe="") if text else "%"


def decode(field):
    return "" if field == "%" else urllib.parse.unquote(field)


class Helper:
    def __init__(self, exe, env, *arguments):
        self.proc = subprocess.Popen([exe, *arguments], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     stderr=subprocess.DEVNULL, env=env)
        self.lines = queue.Queue()
        self.navigating = []  # the addresses of NAVIGATING lines, which the other methods pass over
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for raw in self.proc.stdout:
            self.lines.put(raw.decode("utf-8").rstrip("\n").split(" "))
        self.lines.put(None)

    def send(self, *words):
        self.proc.stdin.write((" ".join(words) + "\n").encode("utf-8"))
        self.proc.stdin.flush()

    def next_line(self, timeout):
        """The next line that is not a NAVIGATING one (None: the helper ended)."""
        while True:
            line = self.lines.get(timeout=timeout)
            if line is None or line[0] != "NAVIGATING":
                return line
            self.navigating.append(decode(line[1]))

    def expect(self, word, timeout=20):
        """The next line, which must start with word."""
        try:
            line = self.next_line(timeout)
        except queue.Empty:
            raise Failed(f"no {word} line within {timeout} s")
        if line is None or line[0] != word:
            raise Failed(f"expected {word}, got {line}")
        return line

    def load(self, url):
        """Navigates and returns the final event (COMPLETE or FAILED) with its address."""
        self.send("NAVIGATE", encode(url))
        self.expect("DOWNLOAD")
        line = self.next_line(20)
        if line is None or line[0] not in ("COMPLETE", "FAILED"):
            raise Failed(f"after DOWNLOAD: {line}")
        return line[0], decode(line[1])

    def steps(self, serial, kind):
        self.send("STEPS", str(serial), kind)
        line = self.expect("STEPS")
        if line[1] != str(serial):
            raise Failed(f"answer to the wrong request: {line}")
        return tuple([line[2]] + [decode(f) for f in line[3:]])

    def close(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()


def wait_until(what, probe, timeout=10.0):
    deadline = time.monotonic() + timeout
    while not probe():
        if time.monotonic() > deadline:
            raise Failed(f"timed out waiting for {what}")
        time.sleep(0.02)


def check(condition, message):
    if not condition:
        raise Failed(message)


def run_checks(exe, env):
    with BannerServer() as server:
        helper = Helper(exe, env)
        try:
            hello = helper.expect("HELLO", timeout=30)
            check(hello[1] == "2" and hello[2].isdigit(), f"greeting: {hello}")

            # The document's steps on each kind of "nextUrl" field; the helper reports the raw value and
            # leaves acceptance to the program.
            serial = 1
            for name, (_, answer, _) in cases(server.host).items():
                url = server.url(f"/ssh/t/{name}.html")
                check(helper.load(url) == ("COMPLETE", url), f"{name}: not completed")
                check(helper.navigating[-1:] == [url], f"{name}: navigations {helper.navigating}")
                got = helper.steps(serial, "READ")
                serial += 1
                check(got == answer, f"{name}: steps answered {got}, expected {answer}")
                print(f"ok   steps on {name}: {got[0]}")

            # The styles reach the page's own DOM (its observer reports them back).
            url = server.url("/ssh/chain/1.html")
            check(helper.load(url)[0] == "COMPLETE", "chain page not completed")
            check(helper.steps(serial, "STYLE") == ("STYLED",), "STYLE answer")
            serial += 1
            wait_until("the page to see its styles",
                       lambda: "/styled?overflow=hidden&scroll=no" in server.requests)
            print("ok   styles set in the page")

            # Addresses other than web pages are refused without being loaded.
            for refused in ("file:///etc/passwd", "javascript:alert(1)", "data:text/html,<p>x</p>"):
                check(helper.load(refused) == ("FAILED", refused), f"{refused} was not refused")
            print("ok   non-web addresses refused")

            # A page that cannot be loaded fails (no error page is shown as a document).
            closed = "http://127.0.0.1:9/ssh/x.html"
            got = helper.load(closed)
            check(got == ("FAILED", closed), f"unreachable page: {got}")
            check(helper.load("about:blank") == ("COMPLETE", "about:blank"), "blank page")
            check(helper.steps(serial, "READ") == ("NONE",), "blank page has no next address")
            print("ok   unreachable page fails; blank page completes")

            # The helper ends on its own when its input closes.
            helper.proc.stdin.close()
            try:
                status = helper.proc.wait(timeout=15)
            except subprocess.TimeoutExpired:
                raise Failed("the helper did not end after its input closed")
            check(status == 0, f"exit status {status}")
            print("ok   ends when its input closes")
        finally:
            helper.close()


def quiet_for(count, seconds):
    """A probe that is true once count() has not changed for the given seconds."""
    state = {"count": count(), "since": time.monotonic()}

    def probe():
        now, value = time.monotonic(), count()
        if value != state["count"]:
            state.update(count=value, since=now)
        return now - state["since"] >= seconds
    return probe


def check_freeze(exe, env):
    with BannerServer() as server:
        helper = Helper(exe, env, "--freeze-after-ms=1000")
        try:
            helper.expect("HELLO", timeout=30)

            def ticks():
                with server.lock:
                    return sum(1 for p in server.requests if p.startswith("/tick"))
            url = server.url("/ssh/ticks.html")
            check(helper.load(url) == ("COMPLETE", url), "the ticking page did not complete")
            wait_until("the page's timer to run", lambda: ticks() >= 1, timeout=30)
            # Left alone, the page is frozen: its timer stops.
            wait_until("the page to be frozen", quiet_for(ticks, 2.0), timeout=60)
            print(f"ok   frozen after {ticks()} ticks")
            # A command wakes it (the steps run on a live page), and it is frozen again afterwards.
            check(helper.steps(1, "STYLE") == ("STYLED",), "STYLE answer on a frozen page")
            before = ticks()
            wait_until("the timer to run again", lambda: ticks() > before, timeout=30)
            wait_until("the page to be frozen again", quiet_for(ticks, 2.0), timeout=60)
            print("ok   woken by a command, frozen again")
        finally:
            helper.close()


@suite.case(name="helper_freeze")
def helper_freeze(args):
    """A page left alone is frozen (its timers stop) and woken by the program's commands."""
    check_freeze(args.helper, dict(os.environ, QT_QPA_PLATFORM="offscreen", **TEST_ENV))


@suite.case(name="helper")
def helper_alone(args):
    """The helper's protocol against the loopback server, without the program."""
    run_checks(args.helper, dict(os.environ, QT_QPA_PLATFORM="offscreen", **TEST_ENV))
