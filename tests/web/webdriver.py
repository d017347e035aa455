#!/usr/bin/python3
# The web tour's window into the page in the engines other than Chromium,
# over WebDriver: the commands of page.py that the tour needs there, so
# that page.sh's functions work unchanged (tests/web/engines.sh). ADDRESS
# says which protocol:
#   ws://HOST:PORT/session     WebDriver BiDi (Firefox's --remote-debugging-port);
#                              each command is a session of its own, as
#                              Firefox holds one session at a time
#   http://HOST:PORT           WebDriver classic (WebKitWebDriver); "new
#                              BINARY ARGS..." opens the browser and prints
#                              the session's address, which the other
#                              commands are given, "quit" closes it
# Commands:
#   webdriver.py ADDRESS open URL [JS]  loads URL; JS, if given, runs before the
#                              page's own scripts (BiDi), or once the page is
#                              parsed (classic has no earlier hook: what the
#                              page's scripts did by then goes unseen)
#   webdriver.py ADDRESS front       the page given the keyboard
#   webdriver.py ADDRESS eval EXPR   prints what the expression gives (JSON
#                              for all but strings), a promise awaited
#   webdriver.py ADDRESS viewport W H DPR   a phone's viewport, kept after
#                              the session (BiDi)
#   webdriver.py ADDRESS tap X Y     a finger's tap at the viewport's X Y (BiDi)
#   webdriver.py ADDRESS shot FILE   the page as the browser draws it, a PNG
# The tour clicks with the real pointer; this only reads what the page shows.
import base64
import json
import sys
import time
import urllib.error
import urllib.request

import websocket

# Evaluated in the page's global scope, as a console or DevTools would, and
# answered as page.py prints it: a string as it is, anything else as JSON.
EVAL = """async function(expression) {
    const value = await (0, eval)(expression);
    return typeof value == 'string' ? value : JSON.stringify(value === undefined ? null : value);
}"""


class Bidi:
    def __init__(self, address):
        self.socket = websocket.create_connection(address, timeout=60, suppress_origin=True)
        self.serial = 0
        self.call("session.new", capabilities={})
        self.context = self.call("browsingContext.getTree", maxDepth=0)["contexts"][0]["context"]

    def call(self, method, **params):
        self.serial += 1
        self.socket.send(json.dumps({"id": self.serial, "method": method, "params": params}))
        while True:
            answer = json.loads(self.socket.recv())
            if answer.get("id") == self.serial:
                if answer.get("type") == "error":
                    sys.exit(f"webdriver.py: {method}: {answer['error']}: {answer.get('message')}")
                return answer["result"]

    def open(self, url, js=""):
        if js:  # the page's own global scope, as Chromium's page.py runs it
            self.call("script.addPreloadScript", functionDeclaration=f"() => (0, eval)({json.dumps(js)})")
        # Until the new document has begun: the preload script goes with the session.
        self.call("browsingContext.navigate", context=self.context, url=url, wait="interactive")

    def front(self):
        self.call("browsingContext.activate", context=self.context)

    def eval(self, expression):
        got = self.call("script.callFunction", functionDeclaration=EVAL, awaitPromise=True,
                        arguments=[{"type": "string", "value": expression}], target={"context": self.context})
        if got["type"] == "exception":
            sys.exit(f"webdriver.py: eval: {got['exceptionDetails']['text']}")
        return got["result"]["value"]

    def viewport(self, width, height, ratio):
        self.call("browsingContext.setViewport", context=self.context,
                  viewport={"width": int(width), "height": int(height)}, devicePixelRatio=float(ratio))

    def tap(self, x, y):
        self.call("input.performActions", context=self.context, actions=[{
            "type": "pointer", "id": "finger", "parameters": {"pointerType": "touch"}, "actions": [
                {"type": "pointerMove", "x": int(x), "y": int(y)},
                {"type": "pointerDown", "button": 0}, {"type": "pointerUp", "button": 0}]}])

    def shot(self, file):
        open(file, "wb").write(base64.b64decode(self.call("browsingContext.captureScreenshot", context=self.context)["data"]))

    def close(self):
        self.call("session.end")


class Classic:
    def __init__(self, address):
        self.address = address

    def call(self, method, path, body=None, allowed=()):
        data = None if body is None else json.dumps(body).encode()
        request = urllib.request.Request(self.address + path, data, {"Content-Type": "application/json"}, method=method)
        try:
            return json.load(urllib.request.urlopen(request, timeout=60))["value"]
        except urllib.error.HTTPError as e:
            error = json.load(e)["value"]
            if error["error"] in allowed:
                return None
            sys.exit(f"webdriver.py: {method} {path}: {error['error']}: {error['message']}")

    def new(self, binary, *args):
        # "eager": a load returns once the page is parsed, the soonest that
        # open's JS can run.
        # A navigation that hears no end of its load within 20 s returns
        # (open): on a loaded machine the driver has been seen to miss the
        # end of a page that had loaded, and hang there for good.
        session = self.call("POST", "/session", {"capabilities": {"alwaysMatch": {
            "pageLoadStrategy": "eager", "timeouts": {"pageLoad": 20000},
            "webkitgtk:browserOptions": {"binary": binary, "args": list(args)}}}})
        print(f"{self.address}/session/{session['sessionId']}")

    def open(self, url, js=""):
        # Whether the page came is the tour's to see (what it shows), not
        # the driver's. After a navigation it did not hear end, its scripts
        # time out at once for a while; the page's own is there all along.
        self.call("POST", "/url", {"url": url}, allowed=("timeout",))
        for _ in range(40):
            if not js or self.eval(js, allowed=("timeout",)) is not None:
                return
            time.sleep(0.5)
        self.eval(js)

    def front(self):
        self.call("POST", "/window", {"handle": self.call("GET", "/window")})

    def eval(self, expression, allowed=()):
        return self.call("POST", "/execute/sync", {"script": f"return ({EVAL})(arguments[0])", "args": [expression]},
                         allowed)

    def shot(self, file):
        open(file, "wb").write(base64.b64decode(self.call("GET", "/screenshot")))

    def quit(self):
        self.call("DELETE", "")

    def close(self):
        pass


address, command, *args = sys.argv[1:]
try:
    driver = Bidi(address) if address.startswith("ws:") else Classic(address)
except OSError:
    sys.exit(1)  # no browser yet
try:
    if command in ("open", "front", "new", "quit", "viewport", "tap", "shot") and hasattr(driver, command):
        getattr(driver, command)(*args)
    elif command == "eval":
        print(driver.eval(args[0]))
    else:  # hold, ax, watch: DevTools' own; a check asking them is skipped (77)
        print(f"webdriver.py: {command}: not over WebDriver", file=sys.stderr)
        sys.exit(77)
except OSError:
    sys.exit(1)  # the browser went away
finally:
    try:
        driver.close()
    except OSError:
        pass
