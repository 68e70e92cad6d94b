"""A loopback banner server for tests: serves banner pages on 127.0.0.1 at a free port, in a thread,
and records every request. Standard library only.

Pages under /ssh/:
  TG/tbtg_gd_468_60.html   the default page; names chain/1.html as the next page
  chain/<n>.html           page n of an endless chain, each naming the next; a coloured background
                           (COLOURS[n % len]) with a red 16-pixel frame at the top and left and a black
                           10x10 mark at (16, 16); mouse presses and context menus are reported back as
                           requests to /clicked?button=<n> and /clicked?menu
  t/<name>.html            the cases in CASES: a "nextUrl" field of each kind
  links.html               links to other hosts (LINKS: with a target, plain, a file, with a target
                           again), each a coloured block; mouse presses are reported as /clicked?button=<n>
                           and each load as /shown?<query>. Its script also opens a window at once and,
                           1.5 s later, another window and the page itself again from another host
                           (links.html?again, which has no such script).
  ticks.html               a page whose timer asks for /tick every 100 ms while it runs
With links_default, the default page is links.html.
"""

import html
import http.server
import threading
import urllib.parse

COLOURS = ["#2060c0", "#20a040", "#c08020", "#8040a0"]  # page n uses COLOURS[n % 4]

_PAGE = """<!DOCTYPE html><html><head><meta charset="utf-8"><title>{title}</title>
<style>body{{margin:0;background:{colour};height:1000px;width:1200px}}
#top{{position:absolute;left:0;top:0;width:1200px;height:16px;background:#ff0000}}
#left{{position:absolute;left:0;top:0;width:16px;height:1000px;background:#ff0000}}
#mark{{position:absolute;left:16px;top:16px;width:10px;height:10px;background:#000000}}</style>
<script>
document.addEventListener('mousedown', function (e) {{ new Image().src = '/clicked?button=' + e.button; }});
document.addEventListener('contextmenu', function () {{ new Image().src = '/clicked?menu'; }});
new MutationObserver(function () {{
  new Image().src = '/styled?overflow=' + document.documentElement.style.overflow +
                    '&scroll=' + (document.body ? document.body.getAttribute('scroll') : '');
}}).observe(document.documentElement, {{attributes: true, subtree: true}});
window.onload = function () {{ alert('an alert must not show'); undefinedFunction(); }};
</script></head>
<body><div id="top"></div><div id="left"></div><div id="mark"></div>{fields}</body></html>"""


# The links of links.html: name -> (left edge of the block in the page, target, address on OTHER_HOST
# or a full address); each block is 80x60 pixels at y 26, so the strip (which shows the page from
# (16, 16) on) has its middle at (left - 16 + 40, 40).
LINKS = {
    "blank": (26, "_blank", "/ad/blank.html"),
    "plain": (126, "", "/ad/plain.html"),
    "file": (226, "", "file:///etc/passwd"),
    "right": (326, "_blank", "/ad/right.html"),
}
LINK_COLOUR = "#00c0c0"

_LINKS_PAGE = """<!DOCTYPE html><html><head><meta charset="utf-8"><title>links</title>
<style>body{{margin:0;background:#ffffff;height:1000px;width:1200px}}
a{{position:absolute;top:26px;width:80px;height:60px;display:block;background:{colour}}}</style>
<script>
document.addEventListener('mousedown', function (e) {{ new Image().src = '/clicked?button=' + e.button; }});
window.addEventListener('load', function () {{ new Image().src = '/shown?' + location.search.slice(1); }});
{script}
</script></head><body>{links}</body></html>"""

_LINKS_SCRIPT = """window.open('{other}/ad/script-window.html');
setTimeout(function () {{
  window.open('{other}/ad/timer-window.html');
  location.href = '{other}/ssh/links.html?again';
}}, 1500);"""


def input_field(value, attr="name"):
    return f'<input type="hidden" {attr}="nextUrl" value="{html.escape(value, quote=True)}">'


def cases(host):
    """name -> (body fields, what the helper reports for them, what the program then keeps as the next
    address: None keeps the previous one, "" empties it)."""
    base = f"http://{host}/ssh"
    return {
        "input": (input_field(f"{base}/chain/7.html"), ("NEXT", f"{base}/chain/7.html"), f"{base}/chain/7.html"),
        "by_id": (input_field(f"{base}/chain/8.html", attr="id"), ("NEXT", f"{base}/chain/8.html"),
                  f"{base}/chain/8.html"),
        "none": ('<input type="hidden" name="other" value="x">', ("NONE",), None),
        "not_input": (f'<div id="nextUrl">{base}/chain/9.html</div>', ("NOTINPUT",), None),
        "two": (input_field(f"{base}/chain/5.html") + input_field(f"{base}/chain/6.html"),
                ("NEXT", f"{base}/chain/5.html"), f"{base}/chain/5.html"),
        "unacceptable": (input_field("http://elsewhere.invalid/ssh/x.html"),
                         ("NEXT", "http://elsewhere.invalid/ssh/x.html"), ""),
        "empty": (input_field(""), ("NEXT", ""), ""),
        "query": (input_field(f"http://elsewhere.invalid/go?to={host}/ssh/x"),
                  ("NEXT", f"http://elsewhere.invalid/go?to={host}/ssh/x"),
                  f"http://elsewhere.invalid/go?to={host}/ssh/x"),
        "file": (input_field(f"file:///{host}/ssh/../../etc/passwd"),
                 ("NEXT", f"file:///{host}/ssh/../../etc/passwd"), ""),
        "javascript": (input_field(f"javascript:alert('{host}/ssh')"), ("NEXT", f"javascript:alert('{host}/ssh')"),
                       ""),
    }


class BannerServer:
    def __init__(self, links_default=False):
        self.links_default = links_default
        self.requests = []
        self.lock = threading.Lock()
        server = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):
                with server.lock:
                    server.requests.append(self.path)
                address = urllib.parse.urlsplit(self.path)
                body = server.page(address.path, address.query)
                if body is None:
                    self.send_response(404)
                    self.send_header("Content-Length", "0")
                    self.end_headers()
                    return
                data = body.encode("utf-8")
                self.send_response(200)
                self.send_header("Content-Type", "text/html; charset=utf-8")
                self.send_header("Content-Length", str(len(data)))
                self.send_header("Cache-Control", "no-store")
                self.end_headers()
                self.wfile.write(data)

            def log_message(self, *args):
                pass

        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.host = f"127.0.0.1:{self.httpd.server_address[1]}"
        # The same server under another name: no banner page's address holds it.
        self.other = f"http://localhost:{self.httpd.server_address[1]}"
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)

    def __enter__(self):
        self.thread.start()
        return self

    def __exit__(self, *exc):
        self.httpd.shutdown()
        self.httpd.server_close()
        return False

    def url(self, path):
        return f"http://{self.host}{path}"

    def page(self, path, query=""):
        if path == "/ssh/TG/tbtg_gd_468_60.html":
            return self.links_page(again=False) if self.links_default else self.chain_page(0)
        if path.startswith("/ssh/chain/") and path.endswith(".html"):
            number = path[len("/ssh/chain/"):-len(".html")]
            return self.chain_page(int(number)) if number.isdigit() else None
        if path == "/ssh/ticks.html":
            return ("<!DOCTYPE html><html><body><script>setInterval(function () "
                    "{ new Image().src = '/tick?' + Math.random(); }, 100);</script></body></html>")
        if path == "/ssh/links.html":
            return self.links_page(again=query == "again")
        if path.startswith("/ssh/t/") and path.endswith(".html"):
            case = cases(self.host).get(path[len("/ssh/t/"):-len(".html")])
            return _PAGE.format(title="case", colour="#ffffff", fields=case[0]) if case else None
        return None

    def chain_page(self, n):
        return _PAGE.format(title=f"banner {n}", colour=COLOURS[n % len(COLOURS)],
                            fields=input_field(self.url(f"/ssh/chain/{n + 1}.html")))

    def links_page(self, again):
        links = "".join(
            f'<a id="{name}" href="{address if ":" in address else self.other + address}"'
            f'{f" target={target}" if target else ""} style="left:{left}px"></a>'
            for name, (left, target, address) in LINKS.items())
        return _LINKS_PAGE.format(colour=LINK_COLOUR, links=links,
                                  script="" if again else _LINKS_SCRIPT.format(other=self.other))

    def pages_served(self):
        """The banner pages requested so far, in order (clicks and other requests left out)."""
        with self.lock:
            return [p for p in self.requests if p.startswith("/ssh/")]

    def clicks(self):
        with self.lock:
            return [p for p in self.requests if p.startswith("/clicked")]
