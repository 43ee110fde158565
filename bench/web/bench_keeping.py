#!/usr/bin/python3
"""The longest task on the page's main thread while it keeps a long character in the browser's storage.

    VORN_ENGINE=chromium|firefox|webkit /usr/bin/python3 bench/web/bench_keeping.py [site folder]

For each length (VORN_KEEP_STEPS, default "1000,10000,50000" steps) the page opens a file of that many
events, waits until it is kept, then for each run (VORN_RUNS, default 5) clicks Add Event and watches the
main thread for the next three seconds, in which the page keeps the change. A MessageChannel loop
ticks as often as the page lets it: the longest gap between two ticks is the longest task. Gaps that
begin within the first half second after the click are the Add Event itself, not the keeping, and are
left out. The last lines printed are one row per length, "| steps | median ms | longest ms | runs |".
"""

import functools
import http.server
import os
import statistics
import sys
import tempfile
import threading
import time
from pathlib import Path

import bench_paths
from bench_paths import Page, PathFailed, print_table
from vornpage import LONG_CHARACTER


WATCH = r"""
const [seconds, after] = arguments;
const done = arguments[arguments.length - 1];
const channel = new MessageChannel();
const start = performance.now();
let last = start, longest = 0;
channel.port1.onmessage = () => {
    const now = performance.now();
    if (last - start >= after)
        longest = Math.max(longest, now - last);
    last = now;
    if (now - start < seconds * 1000)
        channel.port2.postMessage(0);
    else
        done(longest);
};
channel.port2.postMessage(0);
"""


def longest_while_keeping(page, steps, folder, runs):
    page.fresh()
    text = page.driver.execute_async_script(LONG_CHARACTER, steps)
    if isinstance(text, dict):
        raise PathFailed("the module failed: " + text["error"])
    path = Path(folder) / f"Long{steps}.vornchar"
    path.write_text(text, encoding="utf-8")
    page.open_file(path)
    time.sleep(3)  # the file's character kept
    gaps = []
    for _ in range(runs):
        page.no_dialog("Add Event")
        page.driver.execute_script(
            "setTimeout(() => document.getElementById('cmdAddEvent').click(), 50);")
        gaps.append(page.driver.execute_async_script(WATCH, 3, 550))
        time.sleep(0.5)
    return gaps


def main():
    site = Path(sys.argv[1] if len(sys.argv) > 1 else os.environ.get("VORN_SITE", bench_paths.TOP / "build-web" / "site"))
    lengths = [int(n) for n in os.environ.get("VORN_KEEP_STEPS", "1000,10000,50000").split(",")]
    runs = int(os.environ.get("VORN_RUNS", "5"))
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0),
                                             functools.partial(bench_paths._Quiet, directory=str(site)))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    url = f"http://127.0.0.1:{server.server_address[1]}/index.html"
    name = bench_paths.engine_name()
    engine = bench_paths.launch(name, "en-US", (1280, 900), None)
    folder = tempfile.mkdtemp(prefix="vorn-bench-")
    rows = []
    try:
        page = Page(engine, url)
        page.driver.set_script_timeout(120)
        for steps in lengths:
            try:
                gaps = longest_while_keeping(page, steps, folder, runs)
                rows.append((str(steps), f"{statistics.median(gaps):.1f}", f"{max(gaps):.1f}", str(len(gaps))))
                print(f"  {steps} steps: {', '.join(f'{g:.1f}' for g in gaps)} ms", file=sys.stderr)
            except Exception as problem:  # noqa: BLE001 - a length that fails still lets the others run
                rows.append((str(steps), "failed", str(problem).strip().splitlines()[0][:120], "0"))
    finally:
        engine.quit()
        server.shutdown()
    print_table(f"{name}: longest main-thread task while keeping (ms)", ("steps", "median ms", "longest ms", "runs"), rows)


if __name__ == "__main__":
    main()
