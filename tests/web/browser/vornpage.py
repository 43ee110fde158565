"""The calculator page in a browser, driven the way a user drives it.

VORN_ENGINE picks the browser: chromium (the default), firefox or webkit (see engines/). The site folder
comes from VORN_SITE (CTest sets it), axe-core's script from VORN_AXE. Every test class gets its own
browser; every test starts from a fresh page with empty browser storage. A test fails, rather than hangs,
when a dialog it did not expect is open, when the browser console reports an error, or when it runs past
its time. What the browser cannot be made to do, the test says (engine_cannot) and checks what it can.
"""

import functools
import http.server
import json
import os
import re
import shutil
import signal
import sys
import tempfile
import threading
import unittest
from pathlib import Path

from selenium.webdriver.common.by import By
from selenium.webdriver.remote.remote_connection import RemoteConnection
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.select import Select
from selenium.webdriver.support.ui import WebDriverWait

from engines import Cannot, engine_name, launch

SOURCE = Path(__file__).resolve().parents[3]
SITE = Path(os.environ.get("VORN_SITE", SOURCE / "build-web" / "site"))
AXE = Path(os.environ.get("VORN_AXE", SOURCE / "src" / "web" / "node_modules" / "axe-core" / "axe.min.js"))
ENGINE = engine_name()

WAIT = 20  # seconds an explicit wait may take before the test fails
TEST_TIME = 150  # seconds one test may take in all
# A driver that stops answering fails the command, and with it the test, rather than holding the run
# until CTest ends it: no command waits longer than a page load or a script may take.
RemoteConnection.set_timeout(4 * WAIT)

# Whether leaving the page now would make the browser ask first (a leaving that is not yet done).
WARNS_ON_LEAVING = """const leaving = new Event('beforeunload', {cancelable: true});
window.dispatchEvent(leaving);
return leaving.defaultPrevented;"""
# The player answers the browser's question on leaving with Leave: WebDriver would answer Stay.
LEAVE_UNASKED = """BeforeUnloadEvent.prototype.preventDefault = function () {};
Object.defineProperty(BeforeUnloadEvent.prototype, 'returnValue', {configurable: true, get: () => '', set() {}});"""

# The origin's storage refuses every write, as a full one does; ACCEPT takes writes again.
REFUSE = """window.keeps ??= [Storage.prototype.setItem, IDBObjectStore.prototype.put];
Storage.prototype.setItem = () => { throw new DOMException('full', 'QuotaExceededError'); };
IDBObjectStore.prototype.put = () => { throw new DOMException('full', 'QuotaExceededError'); };"""
ACCEPT = "[Storage.prototype.setItem, IDBObjectStore.prototype.put] = window.keeps;"
# The character file the page keeps, as the next visit finds it (null for none): the copy written as a
# page was left while it is the latest, else the database's record and its blocks of steps.
KEPT_TEXT = """
const done = arguments[arguments.length - 1];
const left = JSON.parse(localStorage.getItem('vorn-build-calculator.leftCharacter') || 'null');
const earlier = localStorage.getItem('vorn-build-calculator.character');
const latest = (localStorage.getItem('vorn-build-calculator.revision') || '').split(' ')[0];
if (left && left.revision === latest)
    return done(left.text);
if (earlier !== null)
    return done(earlier);
const opening = indexedDB.open('vorn-build-calculator', 1);
opening.onupgradeneeded = () => {
    opening.result.createObjectStore('character');
    opening.result.createObjectStore('steps');
};
opening.onerror = () => done(null);
opening.onsuccess = () => {
    const db = opening.result;
    const transaction = db.transaction(['character', 'steps'], 'readonly');
    const found = transaction.objectStore('character').get('shared');
    let blocks = null;
    found.onsuccess = () => {
        if (found.result && found.result.blockCount > 0)
            blocks = transaction.objectStore('steps').getAll(IDBKeyRange.bound(0, found.result.blockCount - 1));
    };
    transaction.oncomplete = () => {
        db.close();
        const held = found.result;
        done(held ? held.head + (blocks ? blocks.result : []).join('') + held.tail : null);
    };
};"""
# The kept character replaced by a text of the page's earlier keeping, before it had a database.
PUT_KEPT = """
const [text] = arguments;
const done = arguments[arguments.length - 1];
localStorage.removeItem('vorn-build-calculator.leftCharacter');
localStorage.setItem('vorn-build-calculator.character', text);
localStorage.setItem('vorn-build-calculator.revision', 'earlier ');
done(null);"""
# A character of `steps` events of one to three days, as the page's own module writes its file.
LONG_CHARACTER = """
const [steps] = arguments;
const done = arguments[arguments.length - 1];
createVornModule().then(M => {
    const boxes = (o = {}) =>
        Object.assign({silver: '0', startingBuild: '30', startingLooseXP: '0', eventLength: '2'}, o);
    const s = new M.Session();
    s.selectEventLength(-1, boxes());
    for (let i = 0; i < steps; ++i) s.addEvent(boxes({eventLength: String(1 + i % 3)}));
    done(s.save(boxes()));
}, e => done({error: String(e)}));
"""
# Everything the origin keeps goes: its storages and its database.
CLEAR_ORIGIN = """
const done = arguments[arguments.length - 1];
localStorage.clear();
sessionStorage.clear();
const deleting = indexedDB.deleteDatabase('vorn-build-calculator');
deleting.onsuccess = deleting.onerror = () => done(null);
deleting.onblocked = () => setTimeout(() => done('blocked'), 5000);"""

VALUE_LABELS = ["lblLevel", "lblBody", "lblBuild", "lblLooseXP", "lblTotalXP", "lblXPBPRatio",
                "lblNextEventBuild", "lblNextEventXP"]
BOXES = ["txtSilverSubmitted", "txtStartingBuild", "txtStartingLooseXP", "txtEventLength"]


# The window's layout table, read from the desktop program's source: the page must show the same
# controls, so the table is the oracle. The parser knows the table's shape, nothing of its contents.

def _c_string(token):
    token = token.strip()
    if token in ("nullptr", "kNoTip"):
        return None
    if token.startswith('"'):
        return json.loads(token)
    return token


def _split_fields(entry):
    fields, current, quoted, escaped = [], "", False, False
    for ch in entry:
        if quoted:
            current += ch
            if escaped:
                escaped = False
            elif ch == "\\":
                escaped = True
            elif ch == '"':
                quoted = False
        elif ch == '"':
            quoted = True
            current += ch
        elif ch == ",":
            fields.append(current.strip())
            current = ""
        else:
            current += ch
    if current.strip():
        fields.append(current.strip())
    return fields


def _table(source, name):
    start = source.index(name + "[] = {")
    body = source[start + len(name) + 6: source.index("};", start)]
    body = re.sub(r"//[^\n]*", "", body)
    return [_split_fields(entry) for entry in re.findall(r"\{([^{}]*)\}", body)]


@functools.lru_cache(maxsize=None)
def layout():
    """{'controls': [...], 'lists': {name: [texts]}, 'spoken': {name: spoken name}}."""
    source = (SOURCE / "src" / "session" / "CalculatorLayout.cpp").read_text(encoding="utf-8")
    controls = []
    for f in _table(source, "kControls"):
        controls.append({
            "name": _c_string(f[0]), "kind": f[1].split("::")[1], "frame": _c_string(f[2]),
            "left": int(f[3]), "top": int(f[4]), "width": int(f[5]), "height": int(f[6]),
            "tab": int(f[7]), "text": _c_string(f[8]), "tooltip": _c_string(f[9]),
            "flags": set(re.findall(r"\w+", f[10])) - {"None"},
        })
    lists = {}
    for f in _table(source, "kListEntries"):
        lists.setdefault(_c_string(f[0]), []).append(_c_string(f[1]))
    spoken = {_c_string(f[0]): _c_string(f[1]) for f in _table(source, "kSpokenNames")}
    return {"controls": controls, "lists": lists, "spoken": spoken}


def project_identity():
    """The version the About window shows (major.minor.revision of project()) and the homepage."""
    text = (SOURCE / "CMakeLists.txt").read_text(encoding="utf-8")
    major, minor, _, revision = re.search(r"VERSION\s+(\d+)\.(\d+)\.(\d+)\.(\d+)", text).groups()
    homepage = re.search(r'HOMEPAGE_URL\s+"([^"]+)"', text).group(1)
    return f"{major}.{minor}.{revision}", homepage


# The site on a local web server, one per test run.

class _QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass

    # A document without an icon of its own (the app's icon, which a test loads to clear the origin's
    # storage) makes the browser ask for the site's: it has none, and says so without an error.
    def do_GET(self):
        if self.path == "/favicon.ico":
            self.send_response(204)
            self.end_headers()
            return
        super().do_GET()


class SiteServer:
    _shared = None

    @classmethod
    def url(cls):
        if cls._shared is None:
            handler = functools.partial(_QuietHandler, directory=str(SITE))
            server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
            threading.Thread(target=server.serve_forever, daemon=True).start()
            cls._shared = server
        return f"http://127.0.0.1:{cls._shared.server_address[1]}/index.html"


class PageFault(AssertionError):
    pass


def _on_alarm(signum, frame):
    raise TimeoutError(f"the test ran longer than {TEST_TIME} s")



class PageTest(unittest.TestCase):
    """A browser for the class, a fresh page for each test."""

    LANG = "en-US"
    WINDOW = (1280, 900)
    PHONE = None  # (width, height): the page as a phone shows it, its viewport tag obeyed
    FILE_URL = False  # True: the page straight from disk instead of the web server

    @classmethod
    def setUpClass(cls):
        if not (SITE / "index.html").is_file():
            raise FileNotFoundError(f"no site at {SITE}: scripts/build-web.sh builds it")
        cls.engine = launch(ENGINE, cls.LANG, cls.WINDOW, cls.PHONE)
        cls._timeouts(cls.engine.driver)

    @staticmethod
    def _timeouts(driver):
        driver.set_page_load_timeout(WAIT)
        driver.set_script_timeout(WAIT)

    @classmethod
    def tearDownClass(cls):
        cls.engine.quit()

    def setUp(self):
        signal.signal(signal.SIGALRM, _on_alarm)
        signal.alarm(TEST_TIME)
        self.addCleanup(signal.alarm, 0)
        # Each test's downloads in a folder of its own.
        self.downloads = Path(tempfile.mkdtemp(prefix="vorn-browser-"))
        self.addCleanup(shutil.rmtree, self.downloads, True)
        self.engine.set_downloads(self.downloads)
        if self.PHONE and self.phone_width != self.PHONE[0]:
            self.engine_cannot(f"show the page {self.PHONE[0]} px wide; the test checks it at {self.phone_width} px")
        self.url = (SITE / "index.html").resolve().as_uri() if self.FILE_URL else SiteServer.url()
        self.open_page(fresh=True)

    def tearDown(self):
        # Asked even after a failure: a console error often tells why the test failed.
        self.assertEqual(self.console_errors(), [], "the browser console reported errors")
        self.assertIsNone(self.open_dialog(), "a dialog was left open")

    # --- what the browser cannot do ----------------------------------------------------------------

    def engine_cannot(self, what):
        """Says, in the test's output, that this browser cannot be made to do what the test wanted; the
        test then checks what it can."""
        print(f"\n  {self.id()}: {ENGINE} cannot {what}", file=sys.stderr)

    def engine_can(self, doing, *args):
        """Does doing(*args) (one of the engine's methods); False, said as engine_cannot, where it can't."""
        try:
            doing(*args)
            return True
        except Cannot as reason:
            self.engine_cannot(str(reason))
            return False

    def require_engine(self, doing, *args):
        """Does doing(*args), or skips the test, saying why, where this browser can't."""
        try:
            doing(*args)
        except Cannot as reason:
            self.skipTest(f"{ENGINE} cannot {reason}")

    def cdp(self, command, params):
        """A Chrome DevTools command's answer; the test is skipped, saying why, in another browser."""
        try:
            return self.engine.cdp(command, params)
        except Cannot as reason:
            self.skipTest(f"{ENGINE} cannot {reason}")

    @property
    def driver(self):
        # The engine's, which may start its browser again (see color_scheme).
        return self.engine.driver

    @property
    def phone_width(self):
        """The width the page has on the emulated phone: PHONE's, where the browser can be that narrow."""
        return self.engine.width

    # --- the page ----------------------------------------------------------------------------------

    def open_page(self, fresh=False):
        d = self.driver
        if fresh:
            # The page keeps its character when it is left, so its storage is emptied from another
            # document of the same origin that runs nothing: the app's icon.
            d.get(self.url.rsplit("/", 1)[0] + "/vorn-build-calculator-192.png")
            d.execute_async_script(CLEAR_ORIGIN)
        d.get(self.url)
        self.wait_ready()

    def reload(self):
        self.driver.refresh()
        self.wait_ready()

    def wait_ready(self):
        problem = self.driver.execute_async_script("""
            const done = arguments[arguments.length - 1];
            const wait = () => window.vornReady
                ? Promise.resolve(window.vornReady).then(() => done(null), e => done(String(e)))
                : setTimeout(wait, 5);
            wait();""")
        self.assertIsNone(problem, "the calculator did not start")
        self.engine.page_loaded()

    def kept_text(self):
        return self.driver.execute_async_script(KEPT_TEXT)

    def console_errors(self):
        return [message[:300] for message in self.engine.console_errors()]

    def settle(self):
        """Lets the page finish what the last input started (two rounds of its task queue); then the id
        of its open dialog, or None."""
        return self.driver.execute_async_script("""
            const done = arguments[arguments.length - 1];
            setTimeout(() => setTimeout(() => {
                const d = document.querySelector('dialog[open]');
                done(d ? d.id : null);
            }, 0), 0);""")

    def el(self, element_id):
        return self.driver.find_element(By.ID, element_id)

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    # --- what the page shows -----------------------------------------------------------------------

    def labels(self):
        return self.js("return arguments[0].map(id => document.getElementById(id).textContent.trim());",
                       VALUE_LABELS)

    def character(self):
        build, loose = self.js("return ['lblBuild', 'lblLooseXP'].map(id => "
                               "document.getElementById(id).textContent.trim());")
        return f"{build}/{loose}"

    def value(self, element_id):
        return self.el(element_id).get_attribute("value")

    def focus(self):
        """The focused element's id, and whether a text box has all its text selected."""
        return tuple(self.js("""
            const e = document.activeElement;
            const all = e && 'selectionStart' in e && e.value !== undefined && e.value.length > 0 &&
                e.selectionStart === 0 && e.selectionEnd === e.value.length;
            return [e ? e.id : '', !!all];"""))

    def open_dialog(self):
        """The id of the page's open dialog, or None."""
        return self.js("const d = document.querySelector('dialog[open]'); return d ? d.id : null;")

    def require_no_dialog(self, doing):
        shown = self.settle()
        if shown:
            text = self.js("return document.getElementById(arguments[0]).innerText;", shown)
            raise PageFault(f"{shown} was open when the test wanted to {doing}: {text!r}")

    # --- what the user does ------------------------------------------------------------------------

    def click(self, element_id):
        self.require_no_dialog(f"click {element_id}")
        self.el(element_id).click()

    def type(self, element_id, text):
        """Goes into a box (the focus moves there as with a click), selects what is in it and types over it."""
        self.require_no_dialog(f"type into {element_id}")
        self.el(element_id).send_keys(Keys.END + Keys.SHIFT + Keys.HOME + Keys.NULL + Keys.DELETE + text)

    def choose(self, list_id, entry):
        self.require_no_dialog(f"choose {entry!r} in {list_id}")
        Select(self.el(list_id)).select_by_visible_text(entry)

    def command(self, menu_id, command_id):
        """A menu command, chosen the way a mouse user does: the menu, then the command."""
        self.require_no_dialog(f"choose {command_id}")
        command = self.el(command_id)
        if not command.is_displayed():
            self.el(menu_id).click()
            WebDriverWait(self.driver, WAIT).until(lambda d: command.is_displayed())
        command.click()

    def messages(self):
        """Every message the page shows now, each answered with OK, in order."""
        shown = []
        while True:
            dialog = self.settle()
            if dialog is None:
                return shown
            if dialog != "dlgMessage":
                raise PageFault(f"expected a message or nothing, found {dialog} open")
            self.assertEqual(self.el("dlgMessage").accessible_name, "VORN Build Calculator")
            shown.append(self.el("dlgMessageText").text)
            self.el("dlgMessageOK").click()
            WebDriverWait(self.driver, WAIT).until(
                lambda d: not self.js("return document.getElementById('dlgMessage').open;"))

    def answer_input(self, answer):
        """Answers the open input dialog: the text and OK, or None for Cancel. Returns its question."""
        WebDriverWait(self.driver, WAIT).until(lambda d: self.open_dialog() == "dlgInput")
        field = self.driver.find_element(By.CSS_SELECTOR, "#dlgInput input")
        question = field.accessible_name
        if answer is None:
            self.el("dlgInputCancel").click()
        else:
            field.send_keys(Keys.END + Keys.SHIFT + Keys.HOME + Keys.NULL + Keys.DELETE + answer)
            self.el("dlgInputOK").click()
        WebDriverWait(self.driver, WAIT).until(lambda d: self.open_dialog() != "dlgInput")
        return question

    # --- accessibility -----------------------------------------------------------------------------

    def axe_violations(self):
        if not AXE.is_file():
            raise FileNotFoundError(f"no axe-core at {AXE}: the web build installs it (npm ci in src/web)")
        if not self.js("return typeof window.axe === 'object';"):
            self.js(AXE.read_text(encoding="utf-8"))
        found = self.driver.execute_async_script("""
            const done = arguments[arguments.length - 1];
            axe.run(document).then(r => done(r.violations.map(v =>
                v.id + ': ' + v.help + ' at ' + v.nodes.map(n => n.target.join(' ')).join(', '))),
                e => done(['axe failed: ' + e]));""")
        return found

    def color_scheme(self, scheme):
        """Whether the page now sees the user's preferred colour scheme as scheme. A browser that has to
        start again for it opens the page afresh."""
        try:
            if self.engine.color_scheme(scheme):
                self._timeouts(self.driver)
                self.open_page(fresh=True)
            return True
        except Cannot as reason:
            self.engine_cannot(str(reason))
            return False

    # --- the system's text size --------------------------------------------------------------------

    def large_text(self, percent):
        """The browser's text as large as a phone's system setting makes it: percent of the usual size.
        Skips the test where the browser can't be told."""
        try:
            self.engine.font_size(round(16 * percent / 100), round(13 * percent / 100))
        except Cannot as reason:
            self.skipTest(f"{ENGINE} cannot {reason}")
        if percent != 100:
            self.addCleanup(self.large_text, 100)
