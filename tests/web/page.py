#!/usr/bin/python3
# The web tour's window into the page, over Chromium's DevTools socket:
#   page.py PORT open URL    loads URL, counting the page's long tasks from its start
#   page.py PORT eval EXPR   prints what the expression gives (JSON for all but strings)
#   page.py PORT ax          the accessibility tree: ROLE|NAME|DESCRIPTION|VALUE a line
# The tour clicks with the real pointer; this only reads what the page shows.
import json
import sys
import urllib.request

import websocket

port, command, *args = sys.argv[1:]
try:
    page = next(t for t in json.load(urllib.request.urlopen(f"http://127.0.0.1:{port}/json")) if t["type"] == "page")
except (OSError, StopIteration):
    sys.exit(1)  # no browser yet, or no page in it
socket = websocket.create_connection(page["webSocketDebuggerUrl"], timeout=30)
serial = 0


def call(method, **params):
    global serial
    serial += 1
    socket.send(json.dumps({"id": serial, "method": method, "params": params}))
    while True:
        answer = json.loads(socket.recv())
        if answer.get("id") == serial:
            if "error" in answer:
                sys.exit(f"page.py: {method}: {answer['error']}")
            return answer["result"]


if command == "open":
    call("Page.enable")
    call("Page.addScriptToEvaluateOnNewDocument", source="""
        window.longTasks = [];
        new PerformanceObserver(l => l.getEntries().forEach(e => longTasks.push(Math.round(e.duration))))
            .observe({type: 'longtask', buffered: true});""")
    call("Page.navigate", url=args[0])
elif command == "eval":
    got = call("Runtime.evaluate", expression=args[0], returnByValue=True, awaitPromise=True)["result"]
    value = got.get("value")
    print(value if isinstance(value, str) else json.dumps(value))
elif command == "ax":
    def text(node, key):
        return str(node.get(key, {}).get("value", "")).replace("\n", "\\n")
    for node in call("Accessibility.getFullAXTree")["nodes"]:
        if not node.get("ignored"):
            print("|".join(text(node, k) for k in ("role", "name", "description", "value")))
