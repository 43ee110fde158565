#!/usr/bin/python3
"""How long the page's heavy paths take from the user's action to the frame that shows their result.

    VORN_ENGINE=chromium|firefox|webkit /usr/bin/python3 bench/web/bench_paths.py [site folder]

The site folder defaults to VORN_SITE, else build-web/site. VORN_RUNS sets the runs per path (the
median is printed). Each path is driven as a user drives it, through Selenium (tests/web/browser/engines
starts the browser), on the page served from a local web server:

- The clock starts at the user's event itself: a listener on the window, in the capture phase, takes the
  event's timeStamp (the moment the browser received the input, on the page's own performance.now()
  clock) before any of the page's handlers see it. The click (or a file handed to the file input, whose
  change event starts the clock) is a real one from WebDriver, not a script's element.click().
- From that event on, a requestAnimationFrame loop asks in each frame whether the result shows: the
  elements that change with the result have changed (a MutationObserver on each, so an answer written
  again with the same text counts) and whatever the path waits for holds (its dialog open with rows in
  its table). The first frame in which it does is the frame that paints the result; a message posted from
  that frame's callback runs once the frame's rendering is done, and stops the clock. So a path whose work
  takes no time still costs up to one frame (about 16.7 ms at 60 frames a second, 8 ms on average).
- "shown" is the same clock stopped at that frame's callback, before its layout and paint.
- Work the page defers past the painted frame (keeping the character after a quiet moment) is not
  counted; the runs of one path are a second and a half apart so that it does not fall into the next.

A path whose controls are missing, or whose result never shows within its time, fails with a message
saying which, and the other paths still run. Add X Blankets 2147483647 is timed as the session call alone,
in WebAssembly, through a module of the page's own (a mean of many calls: the browser's clock is coarse).

The last lines printed are one table row per path, "| path | median ms | shown ms | runs |", which
scripts/bench.sh reads.
"""

import functools
import http.server
import os
import signal
import statistics
import sys
import tempfile
import threading
import time
from pathlib import Path

from selenium.common.exceptions import NoSuchElementException, TimeoutException, WebDriverException
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.select import Select
from selenium.webdriver.support.ui import WebDriverWait

TOP = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(TOP / "tests" / "web" / "browser"))
from engines import engine_name, launch  # noqa: E402
from vornpage import CLEAR_ORIGIN, LONG_CHARACTER  # noqa: E402

RUNS = int(os.environ.get("VORN_RUNS", "7"))
QUIET = 1.5  # seconds between runs, for what the page does after a quiet moment
WAIT = 90  # seconds a step of the preparation may take (a page load on a busy machine)
RESULT = 60  # seconds the result of one measured action may take to show
PATH_TIME = 600  # seconds one path may take in all
STEPS = 10000
FAR_BUILD = "2000000"
TOTAL_XP_AFTER_PLAN = "13049281"

# Installed just before the measured action; window.vornProbe.done settles with the times.
PROBE = r"""
const [eventType, watched, expect, wanted] = arguments;
const probe = window.vornProbe = {changed: new Set()};
let settle;
probe.done = new Promise(resolve => { settle = resolve; });
const observers = watched.map(id => {
    const element = document.getElementById(id);
    if (!element) throw new Error('the page has no #' + id);
    const observer = new MutationObserver(() => probe.changed.add(id));
    observer.observe(element, {subtree: true, childList: true, characterData: true, attributes: true});
    return observer;
});
// What else the result needs: a table with rows in its body, or an element with text.
const holds = () => {
    const element = wanted && document.getElementById(wanted[1]);
    if (!wanted) return true;
    if (!element) return false;
    if (wanted[0] === 'rows') return !!element.tBodies[0] && element.tBodies[0].rows.length > 0;
    return element.textContent.trim() !== '';
};
const finish = result => {
    observers.forEach(o => o.disconnect());
    settle(result);
};
const after = new MessageChannel();
after.port1.onmessage = () => finish({start: probe.start, shown: probe.shown, painted: performance.now()});
const frame = () => {
    const open = document.querySelector('dialog[open]');
    if (open && open.id !== expect) {
        finish({problem: `${open.id} opened instead: ${open.innerText.trim().slice(0, 200)}`});
        return;
    }
    if (probe.changed.size === watched.length && (!expect || open) && holds()) {
        probe.shown = performance.now();
        after.port2.postMessage(0);
        return;
    }
    requestAnimationFrame(frame);
};
addEventListener(eventType, event => {
    const now = performance.now();
    // A trusted event's timeStamp is when the browser took the input; a browser that stamps it otherwise
    // is read at the listener.
    probe.start = event.timeStamp > 0 && event.timeStamp <= now && now - event.timeStamp < 1000 ? event.timeStamp : now;
    requestAnimationFrame(frame);
}, {capture: true, once: true});
"""

WAIT_PROBE = """
const [limit] = arguments;
const done = arguments[arguments.length - 1];
const probe = window.vornProbe;
const timer = setTimeout(() => done({problem: probe.start === undefined
    ? 'the action never reached the page'
    : `no result showed within ${limit} ms` + (document.querySelector('dialog[open]')
        ? ' (' + document.querySelector('dialog[open]').id + ' open)' : '')}), limit);
probe.done.then(result => { clearTimeout(timer); done(result); });
"""


# The session call alone, each on a new character as File > New makes it (one session, as the page
# has): [mean ms, slowest ms].
BLANKETS = """
const [count, calls] = arguments;
const done = arguments[arguments.length - 1];
createVornModule().then(M => {
    const boxes = {silver: '0', startingBuild: '30', startingLooseXP: '0', eventLength: '2'};
    const s = new M.Session();
    let total = 0, slowest = 0;
    for (let i = 0; i < calls; ++i) {
        s.newCharacter(boxes);
        const t0 = performance.now();
        s.addBlankets(count, boxes);
        const t = performance.now() - t0;
        total += t;
        slowest = Math.max(slowest, t);
    }
    done([total / calls, slowest]);
}, e => done({error: String(e)}));
"""


class PathFailed(Exception):
    pass


class _Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def _on_alarm(signum, frame):
    raise PathFailed(f"the path ran longer than {PATH_TIME} s")


class Page:
    def __init__(self, engine, url):
        self.engine = engine
        self.driver = engine.driver
        self.url = url
        self.driver.set_page_load_timeout(WAIT)
        self.driver.set_script_timeout(RESULT + 10)

    def fresh(self):
        """The page loaded anew with nothing kept from before."""
        self.driver.get(self.url.rsplit("/", 1)[0] + "/vorn-build-calculator-192.png")
        self.driver.execute_async_script(CLEAR_ORIGIN)
        self.driver.get(self.url)
        problem = self.driver.execute_async_script("""
            const done = arguments[arguments.length - 1];
            const wait = () => window.vornReady
                ? Promise.resolve(window.vornReady).then(() => done(null), e => done(String(e)))
                : setTimeout(wait, 5);
            wait();""")
        if problem:
            raise PathFailed("the calculator did not start: " + problem)
        self.engine.page_loaded()

    def el(self, element_id):
        try:
            return self.driver.find_element(By.ID, element_id)
        except NoSuchElementException:
            raise PathFailed(f"the page has no #{element_id}") from None

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def open_dialog(self):
        return self.js("const d = document.querySelector('dialog[open]'); return d ? d.id : null;")

    def until(self, what, test):
        try:
            WebDriverWait(self.driver, WAIT).until(lambda d: test())
        except TimeoutException:
            raise PathFailed(f"waited {WAIT} s for {what}" + (f" ({self.open_dialog()} open)" if self.open_dialog()
                                                              else "")) from None

    def no_dialog(self, doing):
        shown = self.open_dialog()
        if shown:
            text = self.js("return document.getElementById(arguments[0]).innerText;", shown)
            raise PathFailed(f"{shown} was open before {doing}: {text.strip()[:200]!r}")

    def type(self, element_id, text):
        self.el(element_id).send_keys(Keys.END + Keys.SHIFT + Keys.HOME + Keys.NULL + Keys.DELETE + text)

    def menu_command(self, menu_id, command_id):
        """The command's element, its menu opened: the click on it is what is measured."""
        command = self.el(command_id)
        if not command.is_displayed():
            self.el(menu_id).click()
            self.until(f"the menu {menu_id} to show {command_id}", command.is_displayed)
        return command

    def measure(self, act, watched, event="click", expect=None, wanted=None):
        """(ms to the painted frame, ms to the frame's start) of act(): watched are the ids of the elements
        the result changes, expect the dialog open with it, wanted ("rows" or "text", id) what else it needs."""
        self.js(PROBE, event, watched, expect, list(wanted) if wanted else None)
        act()
        result = self.driver.execute_async_script(WAIT_PROBE, RESULT * 1000)
        if "problem" in result:
            raise PathFailed(result["problem"])
        return result["painted"] - result["start"], result["shown"] - result["start"]

    def figure(self, element_id):
        return self.el(element_id).text.strip()

    def open_file(self, path):
        before = self.figure("lblTotalXP")
        self.el("filOpen").send_keys(str(path))
        self.until("the file's character to show", lambda: self.figure("lblTotalXP") != before)


# --- the paths -------------------------------------------------------------------------------------

def add_events(page, runs, long_file):
    page.fresh()
    if long_file:
        page.open_file(long_file)
    times = []
    for _ in range(runs):
        time.sleep(QUIET)
        page.no_dialog("Add Event")
        button = page.el("cmdAddEvent")
        times.append(page.measure(button.click, ["lblTotalXP"]))
    return times


def dialog_runs(page, runs, menu_id, command_id, dialog, wanted, close_id, check=None):
    """Times a command of the menus that answers with a dialog, closed again after each run."""
    times = []
    for _ in range(runs):
        time.sleep(QUIET)
        page.no_dialog(command_id)
        command = page.menu_command(menu_id, command_id)
        times.append(page.measure(command.click, [dialog], expect=dialog, wanted=wanted))
        if check:
            check()
        page.el(close_id).click()
        page.until(f"{dialog} to close", lambda: page.open_dialog() is None)
    return times


def history(page, runs, long_file):
    page.fresh()
    page.open_file(long_file)

    def every_step_listed():
        rows = page.js("const t = document.getElementById('tblHistory');"
                       "return t.getAttribute('aria-rowcount') || t.tBodies[0].rows.length;")
        if int(rows) < STEPS:
            raise PathFailed(f"the History showed {rows} rows of {STEPS + 1}")
    return dialog_runs(page, runs, "mnuEdit", "mnuHistory", "dlgHistory", ("rows", "tblHistory"), "dlgHistoryClose",
                       every_step_listed)


def open_plan(page):
    page.menu_command("mnuExtras", "mnuPlan").click()
    page.until("the Plan dialog", lambda: page.open_dialog() == "dlgPlan")


def ask_plan(page, goal="build", value=FAR_BUILD):
    """Fills the Plan dialog for the goal with no training; the Plan button is then to be clicked."""
    Select(page.el("cboPlanGoal")).select_by_value(goal)
    Select(page.el("cboPlanCoin")).select_by_value("none")
    page.type("txtPlanBlankets", "0")
    page.type("txtPlanGoal", value)
    return page.el("cmdPlan")


def plan(page, runs, _):
    page.fresh()
    open_plan(page)
    times = []
    for _ in range(runs):
        time.sleep(QUIET)
        button = ask_plan(page)
        times.append(page.measure(button.click, ["lblPlanAnswer", "tblPlan"], expect="dlgPlan",
                                  wanted=("rows", "tblPlan")))
    print(f"  the plan has {planned_events(page)} events: {page.figure('lblPlanAnswer')}", file=sys.stderr)
    return times


def planned_events(page):
    # aria-rowcount counts the header row as well; the table's own rows are only those drawn.
    return int(page.js("const t = document.getElementById('tblPlan');"
                       "const n = t.getAttribute('aria-rowcount');"
                       "return n ? Number(n) - 1 : t.tBodies[0].rows.length;"))


def apply_plan(page, runs, _):
    times = []
    for _ in range(runs):
        page.fresh()
        open_plan(page)
        # Build 2,000,000 can't be reached; the Total XP a new character has after 10,000 Normal Events
        # with no training can, by the last of them.
        button = ask_plan(page, "totalXP", TOTAL_XP_AFTER_PLAN)
        button.click()
        page.until("the plan's answer", lambda: page.figure("lblPlanAnswer") != "")
        apply = page.el("cmdApplyPlan")
        if not apply.is_enabled():
            raise PathFailed("the plan cannot be applied: " + page.figure("lblPlanAnswer"))
        if planned_events(page) < STEPS:
            raise PathFailed(f"the plan has {planned_events(page)} events, not {STEPS}: "
                             + page.figure("lblPlanAnswer"))
        time.sleep(QUIET)
        times.append(page.measure(apply.click, ["lblTotalXP"], expect="dlgPlan"))
    return times


def open_long_file(page, runs, long_file):
    times = []
    for _ in range(runs):
        page.fresh()
        time.sleep(QUIET)
        box = page.el("filOpen")
        times.append(page.measure(lambda: box.send_keys(str(long_file)), ["lblTotalXP"], event="change"))
    return times


def reverse_calculate(page, runs, _):
    page.fresh()
    page.type("txtStartingBuild", "10866")
    page.el("cmdSetStartingBuild").click()
    page.until("Build 10866", lambda: page.figure("lblBuild").replace(",", "").replace(".", "") == "10866")
    return dialog_runs(page, runs, "mnuExtras", "mnuCalculateBlankets", "dlgMessage", ("text", "dlgMessageText"),
                       "dlgMessageOK")


def blankets(page, _runs, _):
    page.fresh()
    answer = page.driver.execute_async_script(BLANKETS, "2147483647", 200)
    if isinstance(answer, dict):
        raise PathFailed("the module failed: " + answer["error"])
    return [(answer[0], answer[0])]


# (label, the function, runs, whether it needs the long file)
PATHS = [
    ("Add Event, no steps kept", add_events, RUNS, False),
    ("Add Event, 10,000 steps kept", add_events, RUNS, True),
    ("History dialog, 10,000 steps", history, max(3, RUNS // 2 + 1), True),
    ("Plan to Build 2,000,000", plan, max(3, RUNS // 2 + 1), False),
    ("Apply a 10,000-event plan", apply_plan, max(3, RUNS // 2 + 1), False),
    ("Open a 10,000-step file", open_long_file, RUNS, True),
    ("Reverse Calculate at Build 10866", reverse_calculate, RUNS, False),
    ("Add X Blankets 2147483647 (WebAssembly call)", blankets, 1, False),
]


def make_long_file(page, folder):
    page.fresh()
    text = page.driver.execute_async_script(LONG_CHARACTER, STEPS)
    if isinstance(text, dict):
        raise PathFailed("the module failed: " + text["error"])
    path = Path(folder) / "Long.vornchar"
    path.write_text(text, encoding="utf-8")
    return path


def main():
    site = Path(sys.argv[1] if len(sys.argv) > 1 else os.environ.get("VORN_SITE", TOP / "build-web" / "site"))
    if not (site / "index.html").is_file():
        sys.exit(f"no site at {site}: scripts/build-web.sh builds it")
    only = os.environ.get("VORN_PATHS")  # a part of a label: only the paths whose label has it
    name = engine_name()
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(_Quiet, directory=str(site)))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    url = f"http://127.0.0.1:{server.server_address[1]}/index.html"
    engine = launch(name, "en-US", (1280, 900), None)
    folder = tempfile.mkdtemp(prefix="vorn-bench-")
    signal.signal(signal.SIGALRM, _on_alarm)
    rows = []
    try:
        engine.set_downloads(Path(folder))
        page = Page(engine, url)
        long_file = make_long_file(page, folder)
        print(f"{name}: the {STEPS}-step file has {long_file.stat().st_size} bytes", file=sys.stderr)
        for label, path, runs, needs_file in PATHS:
            if only and only.lower() not in label.lower():
                continue
            signal.alarm(PATH_TIME)
            try:
                times = path(page, runs, long_file if needs_file else None)
                painted = statistics.median(t[0] for t in times)
                shown = statistics.median(t[1] for t in times)
                rows.append((label, f"{painted:.2f}", f"{shown:.2f}", str(len(times))))
                print(f"  {label}: {', '.join(f'{t[0]:.1f}' for t in times)} ms", file=sys.stderr)
            except (PathFailed, WebDriverException) as problem:
                message = str(problem).strip().splitlines()[0] if str(problem).strip() else type(problem).__name__
                rows.append((label, "failed", message, "0"))
                print(f"  {label}: failed: {message}", file=sys.stderr)
            finally:
                signal.alarm(0)
    finally:
        engine.quit()
        server.shutdown()
    print_table(f"{name}: from the user's action to the painted frame, median (ms)",
                ("path", "median ms", "shown ms", "runs"), rows)


def print_table(title, header, rows):
    """The title, then a Markdown table, which scripts/bench.sh reads."""
    print(f"\n{title}")
    print("| " + " | ".join(header) + " |")
    print("|" + "---|" * len(header))
    for row in rows:
        print("| " + " | ".join(row) + " |")


if __name__ == "__main__":
    main()
