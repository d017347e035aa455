#!/usr/bin/python3
# The web tour's window into the page, over Chromium's DevTools socket:
#   page.py PORT open URL [JS]  loads URL, counting the page's long tasks from its
#                            start; JS, if given, runs before the page's own scripts
#   page.py PORT hold URL    loads URL with the program's script held back until killed
#   page.py PORT front       brings the page to the front, with the keyboard
#   page.py PORT eval EXPR   prints what the expression gives (JSON for all but strings)
#   page.py PORT ax          the accessibility tree: ROLE|NAME|DESCRIPTION|VALUE a line
#   page.py PORT axof EXPR   the tree at the element EXPR gives: ROLE|NAME|DESCRIPTION|VALUE|READONLY
#   page.py PORT watch FILE  until killed: then writes to FILE the most time the
#                            page's thread itself spent in one task, in ms
#   page.py PORT call|keep METHOD JSON...  DevTools calls, their results; keep: the
#                            session, and so what the calls set, kept until killed
#   page.py PORT shot FILE   the page as the browser draws it, a PNG
# The tour clicks with the real pointer; this only reads what the page shows.
import base64
import json
import signal
import sys
import time
import urllib.request

import websocket

port, command, *args = sys.argv[1:]
try:
    page = next(t for t in json.load(urllib.request.urlopen(f"http://127.0.0.1:{port}/json")) if t["type"] == "page")
except (OSError, StopIteration):
    sys.exit(1)  # no browser yet, or no page in it
# A trace is the browser's, and outlives the page's navigations.
if command == "watch":
    page = json.load(urllib.request.urlopen(f"http://127.0.0.1:{port}/json/version"))
socket = websocket.create_connection(page["webSocketDebuggerUrl"], timeout=30)
serial = 0
events = []


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
        events.append(answer)


if command == "open":
    call("Page.enable")
    call("Page.addScriptToEvaluateOnNewDocument", source="""
        window.longTasks = [];
        new PerformanceObserver(l => l.getEntries().forEach(e => longTasks.push(Math.round(e.duration))))
            .observe({type: 'longtask', buffered: true});""" + "".join(args[1:]))
    call("Page.navigate", url=args[0])
elif command == "hold":
    stopped = []
    signal.signal(signal.SIGTERM, lambda *_: stopped.append(True))
    call("Network.enable")
    call("Network.setCacheDisabled", cacheDisabled=True)  # a cached script is not held,
    call("Network.setBypassServiceWorker", bypass=True)  # nor one its service worker fetches
    call("Fetch.enable", patterns=[{"urlPattern": "*/velk-simulator.js"}])
    call("Page.navigate", url=args[0])
    while not any(e.get("method") == "Fetch.requestPaused" for e in events):
        events.append(json.loads(socket.recv()))
    while not stopped:
        time.sleep(0.05)
    held = next(e for e in events if e.get("method") == "Fetch.requestPaused")
    call("Fetch.continueRequest", requestId=held["params"]["requestId"])
elif command in ("call", "keep"):
    for method, params in zip(args[::2], args[1::2]):
        print(json.dumps(call(method, **json.loads(params))), flush=True)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    while command == "keep":
        time.sleep(1)
elif command == "shot":
    open(args[0], "wb").write(base64.b64decode(call("Page.captureScreenshot")["data"]))
elif command == "front":  # the page's window raised and given the keyboard, as a user's click on it would
    call("Page.bringToFront")
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
elif command == "axof":  # the browser's tree at one element: ROLE|NAME|DESCRIPTION|VALUE|READONLY
    element = call("Runtime.evaluate", expression=args[0])["result"]["objectId"]
    node = call("Accessibility.getPartialAXTree", objectId=element, fetchRelatives=False)["nodes"][0]
    readonly = any(p["name"] == "readonly" and p["value"].get("value") for p in node.get("properties", []))
    print("|".join(str(node.get(k, {}).get("value", "")) for k in ("role", "name", "description", "value"))
          + "|" + ("readonly" if readonly else ""))
elif command == "watch":
    # A task's length on the clock counts the time other processes had the
    # core; the thread's own time, as Chromium's trace has it, does not.
    stopped = []
    signal.signal(signal.SIGTERM, lambda *_: stopped.append(True))
    call("Tracing.start", categories="disabled-by-default-devtools.timeline", transferMode="ReportEvents")
    while not stopped:
        time.sleep(0.05)
    # What the trace holds comes before its end is answered: read it all.
    socket.send(json.dumps({"id": serial + 1, "method": "Tracing.end"}))
    events = []
    while True:
        message = json.loads(socket.recv())
        if message.get("method") == "Tracing.dataCollected":
            events += message["params"]["value"]
        elif message.get("method") == "Tracing.tracingComplete":
            break
    main = {(e["pid"], e["tid"]) for e in events
            if e.get("ph") == "M" and e.get("name") == "thread_name" and e["args"].get("name") == "CrRendererMain"}
    longest = max([e.get("tdur", e.get("dur", 0)) for e in events
                   if e.get("name") == "RunTask" and (e.get("pid"), e.get("tid")) in main] or [0])
    open(args[0], "w").write("%d\n" % round(longest / 1000))
