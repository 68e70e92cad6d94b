#!/usr/bin/env python3
"""Stands in for chimewick-banner in widget tests: speaks its line protocol without a browser engine.

Usage: fake_banner_helper.py LOG MODE
Every command received is appended to LOG. MODE:
  speak        HELLO 2 0; each NAVIGATE completes at once; STEPS READ answers with the next address
               http://$CHIMEWICK_AD_HOST/ssh/<k+1>.html after page <k>.html and .../1.html after any other
               page but the blank one, on which there is none; STEPS STYLE answers STYLED
  late         each NAVIGATE is answered only once the program sends STOP (a page that comes after its
               deadline): then COMPLETE, then DOWNLOAD
  open         as speak, and each completed page asks to open in the browser (OPEN) the addresses
               http://shop.test/offer.html, file:///etc/passwd, http://$CHIMEWICK_AD_HOST/ssh/2.html,
               javascript:alert(1) and shop-app://buy, then says DOWNLOAD
  gone         as speak, but STEPS READ answers GONE (the page navigated away while the steps ran)
  crash        HELLO, then exits with status 3 at the first NAVIGATE
  hang         never answers anything (and ignores its input closing)
  old          greets with protocol version 0
"""

import os
import re
import signal
import sys
import urllib.parse

log_path, mode = sys.argv[1], sys.argv[2]
host = os.environ.get("CHIMEWICK_AD_HOST", "banner.test")


def log(text):
    with open(log_path, "a") as f:
        f.write(text + "\n")


def say(line):
    sys.stdout.write(line + "\n")
    sys.stdout.flush()


log(f"START {os.getpid()}")
if mode == "hang":
    signal.signal(signal.SIGTERM, signal.SIG_IGN)
    signal.pause()
say("HELLO 0 0" if mode == "old" else "HELLO 2 0")
following = 1
last = ""
for line in sys.stdin:
    words = line.split()
    log(" ".join(words))
    if words[0] == "NAVIGATE":
        if mode == "crash":
            sys.exit(3)
        last = words[1]
        # Page <k>.html names page <k+1>; any other page names page 1.
        m = re.search(r"/ssh/(\d+)\.html$", urllib.parse.unquote(last))
        following = int(m.group(1)) + 1 if m else 1
        if mode == "late":
            continue
        say("DOWNLOAD")
        say("COMPLETE " + words[1])
        if mode == "open":
            for address in ("http://shop.test/offer.html", "file:///etc/passwd", f"http://{host}/ssh/2.html",
                            "javascript:alert(1)", "shop-app://buy"):
                say("OPEN " + urllib.parse.quote(address, safe=""))
            say("DOWNLOAD")
    elif words[0] == "STOP" and mode == "late":
        say("COMPLETE " + last)
        say("DOWNLOAD")
    elif words[0] == "STEPS":
        if words[2] == "READ" and mode == "gone":
            say(f"STEPS {words[1]} GONE")
        elif words[2] == "READ" and last == "about%3Ablank":
            say(f"STEPS {words[1]} NONE")
        elif words[2] == "READ":
            say(f"STEPS {words[1]} NEXT " + urllib.parse.quote(f"http://{host}/ssh/{following}.html", safe=""))
        else:
            say(f"STEPS {words[1]} STYLED")
log("END")
