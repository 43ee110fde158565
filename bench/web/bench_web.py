#!/usr/bin/python3
"""How heavy and how quick the web page is, in a headless browser.

    /usr/bin/python3 bench/web/bench_web.py [site folder]      (default: build-web/site)

Prints three tables: the site's files gzip-compressed, and the service worker's size; the time from
navigation to a usable calculator (window.vornReady resolved) next to an empty page from the same server,
median of ten loads each: cold (no cache, no worker), from the browser's HTTP cache, from the service
worker, and reloaded with no network (the worker alone); and each session action's time in WebAssembly,
through the page's own module. VORN_ENGINE names the browser: chromium (its DevTools protocol turns the
cache, the worker and the network off) or firefox (its preferences do, set from Marionette's chrome
context). Cold is the same for the page and the empty page: no HTTP cache (so no compiled code kept from
an earlier load either), no service worker, the same server. VORN_BENCH_LOADS_ONLY=1 stops after the loads.
Needs what the browser tests need:
Debian's chromium, chromium-driver, firefox-esr and python3-selenium.
"""

import functools
import gzip
import http.server
import os
import statistics
import sys
import threading
import time
from pathlib import Path

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tests" / "web" / "browser"))
from engines.firefox import Firefox as FirefoxEngine  # noqa: E402

LOADS = 10
EMPTY = b"<!doctype html><html lang=en><meta charset=utf-8><title>empty</title><p>empty</p></html>"

# Notes when window.vornReady settles, whenever the page sets it.
READY_HOOK = """
let ready;
Object.defineProperty(window, 'vornReady', {configurable: true, get: () => ready, set: p => {
    ready = p;
    Promise.resolve(p).then(() => { window.vornReadyAt = performance.now(); });
}});
"""

# Where the browser offers no way to run a script before the page's own (Firefox under Marionette), the
# server puts the hook into the page as its first script, and into the empty page alike.
HOOK_FILE = "vorn-bench-ready.js"
HOOK_TAG = f'<script src="{HOOK_FILE}"></script>'.encode()

# Each action timed in batches through a module of the page's own: [name, calls, mean ms, slowest ms].
ACTIONS = r"""
const done = arguments[arguments.length - 1];
(async () => {
    const M = await createVornModule();
    const boxes = (o = {}) => Object.assign({silver: '0', startingBuild: '30', startingLooseXP: '0', eventLength: '2'}, o);
    const fresh = (start) => {
        const s = new M.Session();
        if (start) s.setStartingValues(boxes({startingBuild: start[0], startingLooseXP: start[1]}));
        return s;
    };
    const results = [];
    // `after` brings the session back between calls, outside the timing.
    const time = (name, calls, prepare, act, after) => {
        const s = prepare();
        let slowest = 0, total = 0;
        for (let i = 0; i < calls; ++i) {
            const t0 = performance.now();
            act(s, i);
            const t = performance.now() - t0;
            total += t;
            slowest = Math.max(slowest, t);
            if (after) after(s);
        }
        results.push([name, calls, total / calls, slowest]);
    };
    // A character of 10,000 recorded steps, as its file.
    const long = fresh();
    long.selectEventLength(-1, boxes());
    for (let i = 0; i < 10000; ++i) long.addEvent(boxes({eventLength: String(1 + i % 3)}));
    const file = new TextEncoder().encode(long.save(boxes()));
    // Years of play: a character of 100 steps.
    const usual = fresh();
    for (let i = 0; i < 100; ++i) usual.addEventWithTraining(boxes({silver: String(i % 40)}));
    const usualFile = new TextEncoder().encode(usual.save(boxes()));
    const farGoal = {goal: M.PlanGoal.build, goalValue: '2000000', eventLengthEntry: 1, manualLength: '',
                     coin: M.PlanCoin.none, silver: '0', blanketsBetween: '0'};

    time('Add Event, Build 10000', 500, () => fresh(['10000', '0']), s => s.addEvent(boxes()));
    time('Add Event with Training, Build 10000', 500, () => fresh(['10000', '0']),
         s => s.addEventWithTraining(boxes({silver: '1.5'})));
    time('Add Max Out/NPC, 32767 days (too large)', 500, () => {
        const s = fresh(['10000', '0']); s.selectEventLength(-1, boxes()); return s; },
         s => s.addMaxOut(boxes({eventLength: '32767'})));
    time('Set 10866 / 2147483647 (too large)', 500, () => fresh(),
         s => s.setStartingValues(boxes({startingBuild: '10866', startingLooseXP: '2147483647'})));
    time('Add X Blankets 100000', 100, () => fresh(), s => s.addBlankets('100000', boxes()),
         s => s.undo(boxes()));
    time('Add X Blankets 2147483647', 100, () => fresh(), s => s.addBlankets('2147483647', boxes()));
    time('Reverse Calculate, Build 10000', 100, () => fresh(['10000', '0']), s => s.reverseCalculateBlankets());
    time('Reverse Calculate, Build 10000 / 473336137', 100, () => fresh(['10000', '473336137']),
         s => s.reverseCalculateBlankets());
    time('Undo, 10,000 steps', 5000, () => { const s = fresh(); s.open(file, 'Long.vornchar'); return s; },
         s => s.undo(boxes()));
    time('Redo, 10,000 steps', 5000, () => {
        const s = fresh(); s.open(file, 'Long.vornchar');
        for (let i = 0; i < 10000; ++i) s.undo(boxes());
        return s; }, s => s.redo(boxes()));
    time('Save, 10,000 steps', 20, () => { const s = fresh(); s.open(file, 'Long.vornchar'); return s; },
         s => s.save(boxes()));
    time('Open, 10,000 steps', 20, () => fresh(), s => s.open(file, 'Long.vornchar'));
    time('Save, 100 steps', 200, () => { const s = fresh(); s.open(usualFile, 'Usual.vornchar'); return s; },
         s => s.save(boxes()));
    time('Open, 100 steps', 200, () => fresh(), s => s.open(usualFile, 'Usual.vornchar'));
    time('Plan Ahead, 10,000 events (not within)', 20, () => fresh(), s => s.plan(farGoal));
    return {results, fileBytes: file.length};
})().then(done, e => done({error: String(e)}));
"""


class Handler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def handle(self):
        # A browser may drop a request it no longer needs (Firefox, the empty page's icon).
        try:
            super().handle()
        except (BrokenPipeError, ConnectionResetError):
            pass

    def do_GET(self):
        if self.server.refusing:
            # No network: the connection closes with nothing said.
            self.close_connection = True
        elif self.path == "/empty.html":
            self.send_page(EMPTY)
        elif self.path == "/" + HOOK_FILE and self.server.hooked:
            self.send_page(READY_HOOK.encode(), "text/javascript")
        elif self.path == "/index.html" and self.server.hooked:
            self.send_page((Path(self.directory) / "index.html").read_bytes())
        else:
            super().do_GET()

    def send_page(self, data, kind="text/html"):
        if kind == "text/html" and self.server.hooked:
            data = data.replace(b"<head>", b"<head>" + HOOK_TAG, 1) if b"<head>" in data \
                else data.replace(b"<meta", HOOK_TAG + b"<meta", 1)
        self.send_response(200)
        self.send_header("Content-Type", kind)
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)


def sizes(site):
    rows = []
    for path in sorted(p for p in site.rglob("*") if p.is_file()):
        data = path.read_bytes()
        rows.append((str(path.relative_to(site)), len(data), len(gzip.compress(data, 9))))
    return rows


class Chromium:
    """The browser, with what the loads turn on and off through its DevTools protocol."""

    worker_measured = True

    def __init__(self):
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for arg in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage", "--lang=en-US"):
            options.add_argument(arg)
        self.driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        self.driver.set_script_timeout(600)
        self.driver.execute_cdp_cmd("Network.enable", {})
        self.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": READY_HOOK})

    def use(self, http_cache, worker, network=True):
        self.driver.execute_cdp_cmd("Network.setCacheDisabled", {"cacheDisabled": not http_cache})
        self.driver.execute_cdp_cmd("Network.setBypassServiceWorker", {"bypass": not worker})
        self.driver.execute_cdp_cmd("Network.emulateNetworkConditions", {
            "offline": not network, "latency": 0, "downloadThroughput": -1, "uploadThroughput": -1})

    def quit(self):
        self.driver.quit()


class Firefox:
    """Firefox under Marionette, the cache, the worker and the network turned off through its preferences;
    the server hooks the pages (hooked)."""

    hooked = True
    worker_measured = False

    def __init__(self):
        self.engine = FirefoxEngine("en-US", (1280, 800), None)
        self.driver = self.engine.driver
        self.driver.set_script_timeout(600)

    def use(self, http_cache, worker, network=True):
        self.engine._chrome("""
            Services.prefs.setBoolPref('browser.cache.disk.enable', arguments[0]);
            Services.prefs.setBoolPref('browser.cache.memory.enable', arguments[0]);
            Services.prefs.setBoolPref('dom.serviceWorkers.enabled', arguments[1]);""", http_cache, worker)
        self.engine.offline(not network)

    def quit(self):
        self.engine.quit()


ENGINES = {"chromium": Chromium, "firefox": Firefox}


def usable_at(driver):
    """ms from navigation to the calculator's readiness, and whether a service worker answered the page."""
    return driver.execute_async_script("""
        const done = arguments[arguments.length - 1];
        const wait = () => window.vornReadyAt !== undefined
            ? done([window.vornReadyAt, performance.getEntriesByType('navigation')[0].workerStart > 0])
            : setTimeout(wait, 1);
        wait();""")


def loaded_at(driver):
    return driver.execute_script("return performance.getEntriesByType('navigation')[0].loadEventEnd;")


def load_times(driver, base, worker):
    """Median ms from navigation: the empty page's load event, the calculator's and its readiness, taken in turn."""
    empty, ready, loaded = [], [], []
    for _ in range(LOADS):
        driver.get(base + "/empty.html")
        empty.append(loaded_at(driver))
        driver.get(base + "/index.html")
        at, answered = usable_at(driver)
        if answered != worker:
            sys.exit(f"the page was {'not ' if worker else ''}answered by the service worker")
        ready.append(at)
        loaded.append(loaded_at(driver))
    return statistics.median(empty), statistics.median(loaded), statistics.median(ready)


def reload_times(engine, server, base, network):
    """Median ms to a usable calculator, reloaded from the service worker, with or without the network."""
    driver = engine.driver
    engine.use(http_cache=True, worker=True)
    driver.get(base + "/index.html")
    usable_at(driver)
    engine.use(http_cache=True, worker=True, network=network)
    server.refusing = not network
    ready = []
    try:
        for _ in range(LOADS):
            driver.refresh()
            at, answered = usable_at(driver)
            if not answered:
                sys.exit("the reloaded page was not answered by the service worker")
            ready.append(at)
    finally:
        server.refusing = False
        engine.use(http_cache=True, worker=True)
    return statistics.median(ready)


def worker_ready(driver, base):
    """Opens the page and waits until the service worker it registers has kept the site: it answers the
    page's next loads."""
    driver.get(base + "/index.html")
    usable_at(driver)
    while not driver.execute_async_script(
            "navigator.serviceWorker.getRegistration().then(r => r && r.active && r.active.state === 'activated')"
            ".then(arguments[arguments.length - 1]);"):
        time.sleep(0.05)


def main():
    top = Path(__file__).resolve().parents[2]
    site = Path(sys.argv[1]) if len(sys.argv) > 1 else top / "build-web" / "site"
    if not (site / "index.html").is_file():
        sys.exit(f"no site at {site}: scripts/build-web.sh builds it")

    rows = sizes(site)
    print(f"{'file':<36}{'bytes':>10}{'gzip -9':>10}")
    for name, raw, packed in rows:
        print(f"{name:<36}{raw:>10}{packed:>10}")
    print(f"{'site, in all':<36}{sum(r[1] for r in rows):>10}{sum(r[2] for r in rows):>10}   target: gzip under 300 KB")
    # The module's copy as a script is only for the page opened from disk.
    served = [r for r in rows if r[0] != "vorn-wasm.js"]
    if len(served) < len(rows):
        print(f"{'served (no vorn-wasm.js)':<36}{sum(r[1] for r in served):>10}{sum(r[2] for r in served):>10}")
    worker = [r for r in rows if r[0] == "service-worker.js"]
    if worker:
        print(f"{'the service worker':<36}{worker[0][1]:>10}{worker[0][2]:>10}")

    engine_name = os.environ.get("VORN_ENGINE", "chromium")
    if engine_name not in ENGINES:
        sys.exit(f"{engine_name} cannot be measured yet: the loads need a way to turn its cache, its service worker "
                 "and its network off")
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Handler, directory=str(site)))
    server.refusing = False
    server.hooked = getattr(ENGINES[engine_name], "hooked", False)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    base = f"http://127.0.0.1:{server.server_address[1]}"
    engine = ENGINES[engine_name]()
    driver = engine.driver
    try:
        print(f"\n{engine_name}: from navigation, median of {LOADS} loads (ms)")
        print(f"{'':<34}{'empty page':>11}{'load event':>11}{'usable':>9}{'beyond empty':>14}")
        # Cold and from the HTTP cache first, with the worker passed by; it registers on the first load.
        phases = [("cold", False, False), ("from the browser's cache", True, False)]
        if engine.worker_measured:
            phases.append(("from the service worker", True, True))
        for label, http_cache, worker in phases:
            if worker:
                engine.use(http_cache, worker)
                worker_ready(driver, base)
            engine.use(http_cache, worker)
            empty, loaded, ready = load_times(driver, base, worker)
            print(f"{label:<34}{empty:>11.1f}{loaded:>11.1f}{ready:>9.1f}{ready - empty:>14.1f}")
        print("target: usable within 100 ms of the empty page, cold")
        if engine.worker_measured:
            online = reload_times(engine, server, base, network=True)
            offline = reload_times(engine, server, base, network=False)
            print(f"\nreloaded, median of {LOADS} (ms to usable)")
            print(f"{'from the service worker, online':<34}{online:>9.1f}")
            print(f"{'from the service worker, offline':<34}{offline:>9.1f}   target: no slower than online")
        else:
            print("(the service worker's loads are not measured here: the hook the server adds is no file of the"
                  " site, so the worker would not answer it offline)")
        if os.environ.get("VORN_BENCH_LOADS_ONLY"):
            return

        driver.get(base + "/index.html")
        answer = driver.execute_async_script(ACTIONS)
        if "error" in answer:
            sys.exit("the action timing failed: " + answer["error"])
        print(f"\nsession actions in WebAssembly (ms; the browser's clock is coarse, so the mean counts;"
              f" the 10,000-step file has {answer['fileBytes']} bytes)")
        print(f"{'action':<44}{'calls':>7}{'mean':>9}{'slowest':>9}")
        for name, calls, mean, slowest in answer["results"]:
            print(f"{name:<44}{calls:>7}{mean:>9.3f}{slowest:>9.3f}")
        worst = max(answer["results"], key=lambda r: r[2])
        print(f"slowest action: {worst[0]}, {worst[2]:.3f} ms on average   target: under 2 ms")
    finally:
        engine.quit()
        server.shutdown()


if __name__ == "__main__":
    main()
