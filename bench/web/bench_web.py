#!/usr/bin/python3
"""How heavy and how quick the web page is, in headless Chromium.

    /usr/bin/python3 bench/web/bench_web.py [site folder]      (default: build-web/site)

Prints three tables: the site's files gzip-compressed; the time from navigation to a usable calculator
(window.vornReady resolved) next to an empty page from the same server, median of ten loads each, with
the browser's cache off and on;
and each session action's time in WebAssembly, through the page's own module. Needs what the browser
tests need: Debian's chromium, chromium-driver and python3-selenium.
"""

import functools
import gzip
import http.server
import statistics
import sys
import threading
from pathlib import Path

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

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

    def do_GET(self):
        if self.path == "/empty.html":
            self.send_response(200)
            self.send_header("Content-Type", "text/html")
            self.send_header("Content-Length", str(len(EMPTY)))
            self.end_headers()
            self.wfile.write(EMPTY)
        else:
            super().do_GET()


def sizes(site):
    rows = []
    for path in sorted(p for p in site.rglob("*") if p.is_file()):
        data = path.read_bytes()
        rows.append((str(path.relative_to(site)), len(data), len(gzip.compress(data, 9))))
    return rows


def browser():
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for arg in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage", "--lang=en-US"):
        options.add_argument(arg)
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    driver.set_script_timeout(600)
    driver.execute_cdp_cmd("Network.enable", {})
    driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": READY_HOOK})
    return driver


def load_times(driver, base):
    """Median ms from navigation: the empty page's load event, the calculator's and its readiness, taken in turn."""
    empty, ready, loaded = [], [], []
    for _ in range(LOADS):
        driver.get(base + "/empty.html")
        empty.append(driver.execute_script(
            "return performance.getEntriesByType('navigation')[0].loadEventEnd;"))
        driver.get(base + "/index.html")
        at = driver.execute_async_script("""
            const done = arguments[arguments.length - 1];
            const wait = () => window.vornReadyAt !== undefined ? done(window.vornReadyAt) : setTimeout(wait, 1);
            wait();""")
        ready.append(at)
        loaded.append(driver.execute_script(
            "return performance.getEntriesByType('navigation')[0].loadEventEnd;"))
    return statistics.median(empty), statistics.median(loaded), statistics.median(ready)


def main():
    top = Path(__file__).resolve().parents[2]
    site = Path(sys.argv[1]) if len(sys.argv) > 1 else top / "build-web" / "site"
    if not (site / "index.html").is_file():
        sys.exit(f"no site at {site}: scripts/build-web.sh builds it")

    rows = sizes(site)
    print(f"{'file':<28}{'bytes':>10}{'gzip -9':>10}")
    for name, raw, packed in rows:
        print(f"{name:<28}{raw:>10}{packed:>10}")
    print(f"{'site, in all':<28}{sum(r[1] for r in rows):>10}{sum(r[2] for r in rows):>10}   target: gzip under 300 KB")

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Handler, directory=str(site)))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    base = f"http://127.0.0.1:{server.server_address[1]}"
    driver = browser()
    try:
        for cache in ("cold", "warm"):
            driver.execute_cdp_cmd("Network.setCacheDisabled", {"cacheDisabled": cache == "cold"})
            empty, loaded, ready = load_times(driver, base)
            print(f"\nfrom navigation, median of {LOADS} {cache} loads (ms; warm: from the browser's cache)")
            print(f"{'empty page, load event':<40}{empty:>8.1f}")
            print(f"{'calculator, load event':<40}{loaded:>8.1f}")
            print(f"{'calculator, usable (vornReady)':<40}{ready:>8.1f}")
            print(f"{'usable, beyond the empty page':<40}{ready - empty:>8.1f}   target: under 150 ms")

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
        driver.quit()
        server.shutdown()


if __name__ == "__main__":
    main()
