#!/usr/bin/python3
# The web build against its yardsticks, side by side in one headless
# Chromium, the pages served by a plain static server:
#  - the download: WebAssembly + script, as served and gzipped; and the
#    page around them: index.html, its service worker and manifest, gzipped;
#  - the disclaimer's first contentful paint, against the same disclaimer
#    as plain HTML (disclaimer.html), cache off, the median of RUNS loads;
#  - the powered-on dashboard idling, against a blank page (blank.html);
#  - the voice box playing, against the same GIF in an <img> (voicebox.html);
#  - then, as on a phone (the CPU slowed 4x, a slow mobile network, cache
#    off): the first paint and the voice box again, and "I Agree" answered:
#    from a click at the button, once the program has loaded, to the end of
#    the frame that first paints the dashboard, as the page's clock says;
# CPU being the whole browser's (every process of its session), over PHASE
# seconds each, the median of RUNS. Each ratio is the medians' ratio, with
# the spread of the runs' own ratios, each run against the yardstick's run
# beside it.
# Usage: bench/web/run.py BUILD-WEB   (make bench-web). Environment: RUNS
# (default 5), PHASE (seconds, default 8).
import gzip, json, os, socket, statistics, subprocess, sys, tempfile, time, urllib.request

import websocket

build = os.path.realpath(sys.argv[1])
here = os.path.dirname(os.path.realpath(__file__))
RUNS, PHASE = int(os.environ.get("RUNS", 5)), float(os.environ.get("PHASE", 8))
work = tempfile.mkdtemp(prefix="velk-bench-web.")
site = os.path.join(work, "site")
os.mkdir(site)
for folder, names in ((build, os.listdir(build)), (here, ["disclaimer.html", "voicebox.html", "blank.html"])):
    for name in names:
        if os.path.isfile(os.path.join(folder, name)):
            os.symlink(os.path.join(folder, name), os.path.join(site, name))


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


http, cdp = free_port(), free_port()
quiet = dict(stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
server = subprocess.Popen(["/usr/bin/python3", "-m", "http.server", str(http), "--bind", "127.0.0.1"], cwd=site, **quiet)
browser = subprocess.Popen(["chromium", "--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run",
                            "--disable-background-networking", "--disable-component-update", "--user-data-dir=" + work + "/profile",
                            "--remote-debugging-port=%d" % cdp, "about:blank"], start_new_session=True, **quiet)
try:
    for _ in range(100):
        try:
            target = next(t for t in json.load(urllib.request.urlopen("http://127.0.0.1:%d/json" % cdp)) if t["type"] == "page")
            break
        except (OSError, StopIteration):
            time.sleep(0.2)
    ws = websocket.create_connection(target["webSocketDebuggerUrl"], timeout=60)
    serial = 0

    def call(method, **params):
        global serial
        serial += 1
        ws.send(json.dumps({"id": serial, "method": method, "params": params}))
        while True:
            answer = json.loads(ws.recv())
            if answer.get("id") == serial:
                return answer.get("result", {})

    def evaluate(expression):
        return call("Runtime.evaluate", expression=expression, returnByValue=True, awaitPromise=True)["result"].get("value")

    def until(expression, seconds=20):
        end = time.time() + seconds
        while time.time() < end:
            value = evaluate(expression)
            if value:
                return value
            time.sleep(0.05)
        sys.exit("bench-web: gave up waiting for " + expression)

    def load(page):
        call("Page.navigate", url="about:blank")
        time.sleep(0.3)
        call("Page.navigate", url="http://127.0.0.1:%d/%s" % (http, page))
        until("document.readyState == 'complete'")

    def cpu_seconds():  # every process of the browser's session
        total = 0
        for pid in filter(str.isdigit, os.listdir("/proc")):
            try:
                fields = open("/proc/%s/stat" % pid).read().rsplit(")", 1)[1].split()
            except OSError:
                continue
            if int(fields[3]) == browser.pid:
                total += int(fields[11]) + int(fields[12])
        return total / os.sysconf("SC_CLK_TCK")

    def cpu_while_shown():
        time.sleep(2)
        start = cpu_seconds()
        time.sleep(PHASE)
        return (cpu_seconds() - start) / PHASE * 100

    def click(selector):
        evaluate("document.querySelector(%s).click()" % json.dumps(selector))

    # The program's own window, not the page's copy of it from before it loaded.
    agree = "[...document.querySelectorAll('.window.shown button')].find(b => b.textContent == 'I Agree')"

    def dashboard(voice_box):
        load("index.html")
        until("!!" + agree)
        evaluate(agree + ".click()")
        click("[aria-label=Power]")
        if voice_box:
            click('[aria-label="Voice box"]')
        return cpu_while_shown()

    def yardstick(page):
        load(page)
        return cpu_while_shown()

    def agree_answered():
        load("index.html")
        until("!!" + agree)
        x, y = evaluate("(r => [r.x + r.width / 2, r.y + r.height / 2])(%s.getBoundingClientRect())" % agree)
        # Stamped from the press's own time, so that a busy page's delay in
        # taking the press counts; looked for in every frame, and read after the
        # frame that first has it.
        evaluate("""addEventListener('mousedown', e => { const tap = e.timeStamp; (function look() {
            if (!document.querySelector('.window.shown [aria-label=Power]')) return requestAnimationFrame(look);
            setTimeout(() => window.answered = performance.now() - tap); })(); },
            {capture: true, once: true})""")
        for kind in ("mousePressed", "mouseReleased"):
            call("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left", clickCount=1)
        return until("window.answered")

    def first_paint(page):
        load(page)
        return until("(performance.getEntriesByName('first-contentful-paint')[0] || {}).startTime")

    call("Page.enable")
    call("Network.enable")
    call("Network.setCacheDisabled", cacheDisabled=True)
    sizes = [os.path.getsize(os.path.join(build, f)) for f in ("velk-simulator.wasm", "velk-simulator.js")]
    zipped = [len(gzip.compress(open(os.path.join(build, f), "rb").read(), 9)) for f in ("velk-simulator.wasm", "velk-simulator.js")]
    rows = [("WebAssembly + script (KB)", sum(sizes) / 1024, None, "%.1f, %.1f gzipped (goal 150, 60)" % (sum(sizes) / 1024, sum(zipped) / 1024))]
    around = [f for f in ("index.html", "sw.js", "manifest.webmanifest") if os.path.isfile(os.path.join(build, f))]
    page = sum(len(gzip.compress(open(os.path.join(build, f), "rb").read(), 9)) for f in around)
    rows.append(("page, service worker, manifest (KB gzipped)", page / 1024, None, "of " + ", ".join(around)))
    # Each pass: its prefix, the CPU's slowdown, the network (latency ms,
    # down and up in bit/s; None: unthrottled) and its figures, each
    # (name, ours, yardstick or None for a figure of its own, goal, unit of the goal).
    paint = ("disclaimer's first contentful paint (ms)", lambda: first_paint("index.html"), lambda: first_paint("disclaimer.html"), 1.3, "x")
    # The GIF's frames a second, from its delays as the program clamps
    # them (under 20 ms taken as unset: 100), to give the voice box's CPU a frame.
    gif = open(os.path.join(build, "velk voicebox.gif"), "rb").read()
    delays = [int.from_bytes(gif[i + 4:i + 6], "little") * 10 for i in range(len(gif)) if gif[i:i + 3] == b"\x21\xf9\x04"]
    fps = len(delays) * 1000 / sum(d if d >= 20 else 100 for d in delays)
    voice = ("voice box playing (CPU %)", lambda: dashboard(True), lambda: yardstick("voicebox.html"), 1.2, "x")
    for prefix, slowdown, network, figures in (
            ("", 1, None, (paint, ("dashboard idling (CPU %)", lambda: dashboard(False), lambda: yardstick("blank.html"), 1.5, "x"), voice)),
            ("phone: ", 4, (150, 1.6e6, 750e3), (paint, ('"I Agree" answered (ms)', agree_answered, None, 100, " ms"), voice))):
        call("Emulation.setCPUThrottlingRate", rate=slowdown)
        latency, down, up = network or (0, -8, -8)  # -1 byte/s: not throttled
        call("Network.emulateNetworkConditions", offline=False, latency=latency, downloadThroughput=down / 8, uploadThroughput=up / 8)
        for name, ours, theirs, goal, unit in figures:
            a, b = [], []
            for _ in range(RUNS):  # alternated, so that a busy moment falls on both
                a.append(ours())
                b.append(theirs() if theirs else 0)
            if not theirs:
                rows.append((prefix + name, statistics.median(a), None, "[%.1f-%.1f] (goal at most %g%s)" % (min(a), max(a), goal, unit)))
                continue
            ratio = statistics.median(a) / max(statistics.median(b), 1e-9)
            pairs = sorted(x / max(y, 1e-9) for x, y in zip(a, b))  # each run against its neighbour
            rows.append((prefix + name, statistics.median(a), statistics.median(b), "ratio %.2f [%.2f-%.2f] (goal at most %.1f%s)"
                         % (ratio, pairs[0], pairs[-1], goal, unit)))
            if name == voice[0]:  # % of a core over frames a second: ms a frame
                rows.append((prefix + "voice box CPU a frame (ms)", statistics.median(a) * 10 / fps,
                             statistics.median(b) * 10 / fps, "at %.1f frames a second, the GIF's" % fps))
    for name, a, b, words in rows:
        print("%-49s %8.1f %8s   %s" % (name, a, "" if b is None else "%.1f" % b, words))
finally:
    browser.terminate()
    server.terminate()
    browser.wait()
    server.wait()
    subprocess.run(["rm", "-rf", work])
