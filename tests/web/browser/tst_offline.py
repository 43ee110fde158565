"""The page as an app: installable, starting with no network once it has been served, and a new build
taking over whole, at the user's reload, never by itself."""

import functools
import http.server
import json
import re
import shutil
import tempfile
import threading
import unittest
from pathlib import Path

from selenium.common.exceptions import WebDriverException
from selenium.webdriver.support.ui import WebDriverWait

from tst_files import NO_PICKERS, downloaded
from vornpage import ENGINE, SITE, SOURCE, WAIT, PageTest, _QuietHandler

READY_NOTICE = "A new version is ready \u2014 reload to use it"
# The update notice's text and its buttons.
NOTICE = """const notice = document.getElementById('updateNotice');
return [notice.firstChild ? notice.firstChild.textContent.trim() : '',
        [...notice.querySelectorAll('button')].map(b => b.textContent)];"""


class _Handler(_QuietHandler):
    def do_GET(self):
        # A server that stops answering: the connection is closed with nothing said.
        if self.server.refusing:
            self.close_connection = True
            return
        super().do_GET()


# The type the desktop's package registers for character files, which the app's file handlers name too.
CHARACTER_TYPE = re.search(r'<mime-type type="([^"]+)"',
                           (SOURCE / "resources" / "vorn-build-calculator-mime.xml").read_text(encoding="utf-8")).group(1)

# Another app sharing a character file with the installed app, as Android's share sheet does: a form
# posted to the manifest's share target, from a page of no origin. arguments: the file's name, its text.
SHARE_FORM = ("data:text/html,<form method=post enctype=multipart/form-data action={action}>"
              "<input type=file name=character></form>")
SHARE = """
const [name, text] = arguments;
const form = document.forms[0];
const files = new DataTransfer();
files.items.add(new File([text], name, {type: 'application/octet-stream'}));
form.elements.character.files = files.files;
form.submit();
"""


class Offline(PageTest):
    """Each test on its own server (its own origin, so its own worker) over its own copy of the site."""

    def setUp(self):
        super().setUp()
        self.site = Path(tempfile.mkdtemp(prefix="vorn-site-"))
        self.addCleanup(shutil.rmtree, self.site, True)
        shutil.copytree(SITE, self.site, dirs_exist_ok=True)
        self.server = http.server.ThreadingHTTPServer(
            ("127.0.0.1", 0), functools.partial(_Handler, directory=str(self.site)))
        self.server.refusing = False
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        self.addCleanup(self.server.server_close)
        self.addCleanup(self.server.shutdown)
        self.url = f"http://127.0.0.1:{self.server.server_address[1]}/index.html"
        self.open_page(fresh=True)

    def wait_controlled(self):
        """Waits until the worker the first load registered has kept the site, and opens the page again,
        which the worker then answers (a reload might pass it by: Firefox's is a hard reload)."""
        self.driver.execute_async_script("""
            const done = arguments[arguments.length - 1];
            navigator.serviceWorker.ready.then((registration) => {
                const worker = registration.active;
                const check = () => worker.state === "activated" && done();
                worker.addEventListener("statechange", check);
                check();
            });""")
        self.open_page()
        self.assertTrue(self.js("return !!navigator.serviceWorker.controller;"))

    def manifest(self):
        """The app's manifest as the page names it."""
        return json.loads(self.driver.execute_async_script("""
            const done = arguments[arguments.length - 1];
            fetch(document.querySelector('link[rel=manifest]').href).then(r => r.text()).then(done);"""))

    def go_offline(self):
        # The server stops answering, and the browser itself goes offline where it can be told to.
        if self.engine_can(self.engine.offline, True):
            self.addCleanup(self.engine.offline, False)
        self.server.refusing = True
        self.addCleanup(setattr, self.server, "refusing", False)

    def reload_through_takeover(self, reload=None):
        """Reloads (with the browser's reload, or by calling reload()); a new build that takes over
        answers first with a page that loads again at once."""
        # A click returns before the page it asks for has begun to load, and the page that loads again by
        # itself is waited for by nobody: the old page, marked, is not taken for the new one, nor the new
        # one before its style sheets are in.
        self.js("window.beforeReload = true;")
        (reload or self.driver.refresh)()
        WebDriverWait(self.driver, WAIT, ignored_exceptions=(WebDriverException,)).until(
            lambda d: d.execute_script("return !window.beforeReload && !!window.vornReady"
                                       " && document.readyState === 'complete';"))
        self.wait_ready()

    def test_served_page_fetches_the_module_itself_not_its_copy_for_disk(self):
        fetched = self.js("return performance.getEntriesByType('resource').map(r => r.name.split('/').pop());")
        for name, expected in (("the module", True), ("its copy as a script", False)):
            with self.subTest(name):
                file = "vorn.wasm" if expected else "vorn-wasm.js"
                self.assertEqual(file in fetched, expected, fetched)

    def test_chromium_finds_the_page_installable(self):
        self.wait_controlled()
        found = self.cdp("Page.getInstallabilityErrors", {})
        self.assertEqual(found["installabilityErrors"], [])

    def test_the_installed_app_opens_character_files_and_takes_shared_ones(self):
        self.wait_controlled()
        found = self.cdp("Page.getAppManifest", {})
        self.assertEqual(found["errors"], [])
        manifest = self.manifest()
        self.assertEqual(manifest["file_handlers"], [{"action": "index.html", "accept": {CHARACTER_TYPE: [".vornchar"]},
                                                      "launch_type": "single-client"}])
        share = manifest["share_target"]
        self.assertEqual((share["method"], share["enctype"]), ("POST", "multipart/form-data"))
        [files] = share["params"]["files"]
        self.assertLessEqual({".vornchar", CHARACTER_TYPE}, set(files["accept"]))
        self.assertEqual(share["action"], "share-character")

    def test_a_character_shared_with_the_app_opens_after_the_save_question(self):
        self.wait_controlled()
        self.js(NO_PICKERS)
        for _ in range(2):
            self.click("cmdAddEvent")
        self.command("mnuFile", "mnuSave")
        self.assertEqual(self.messages(), [])
        text = downloaded(self).read_text(encoding="utf-8")
        shared = self.character()
        self.command("mnuFile", "mnuNew")
        self.click("cmdAddEvent")
        self.assertNotEqual(self.character(), shared)

        share_target = self.url.rsplit("/", 1)[0] + "/" + self.manifest()["share_target"]["action"]
        self.driver.get(SHARE_FORM.format(action=share_target))
        self.js(SHARE, "Brenna.vornchar", text)
        WebDriverWait(self.driver, WAIT, ignored_exceptions=(WebDriverException,)).until(
            lambda d: d.execute_script("return !!window.vornReady;"))
        self.wait_ready()
        WebDriverWait(self.driver, WAIT).until(lambda d: self.open_dialog() == "dlgSaveChanges")
        self.assertEqual(self.el("dlgSaveChangesText").text, "Save this character?")
        self.el("dlgSaveChangesDiscard").click()
        self.assertIsNone(self.settle())
        WebDriverWait(self.driver, WAIT).until(lambda d: self.character() == shared)
        self.assertEqual(self.driver.title, "Brenna.vornchar - VORN Build Calculator")
        self.assertEqual(self.js("return location.search;"), "")
        # Taken once: a reload opens the character the page keeps, with no question.
        self.click("cmdAddEvent")
        kept = self.character()
        self.reload()
        self.assertIsNone(self.settle())
        self.assertEqual(self.character(), kept)

    def test_reload_with_no_network_starts_with_the_kept_character(self):
        self.wait_controlled()
        self.click("cmdAddEvent")
        kept = self.character()
        self.assertNotEqual(kept, "30/0")
        self.go_offline()
        self.reload()
        self.assertEqual(self.character(), kept)
        self.click("cmdAddEvent")
        self.assertEqual(self.messages(), [])

    def test_a_new_build_waits_for_the_users_reload_and_then_replaces_the_old_whole(self):
        self.wait_controlled()
        self.click("cmdAddEvent")
        kept = self.character()
        self.js("window.firstLoad = true;")
        # The next build: one file changed, and so the worker's name of the build.
        with open(self.site / "calculator.css", "a", encoding="utf-8") as css:
            css.write("\n:root { --build: next; }\n")
        worker = self.site / "service-worker.js"
        worker.write_text(re.sub(r'"[0-9a-f]{16}"', '"0123456789abcdef"', worker.read_text(encoding="utf-8")),
                          encoding="utf-8")

        self.driver.execute_async_script("""
            const done = arguments[arguments.length - 1];
            navigator.serviceWorker.getRegistration().then(r => r.update()).then(() => done(), () => done());""")
        WebDriverWait(self.driver, WAIT).until(lambda d: self.js(NOTICE)[0] == READY_NOTICE)
        self.assertEqual(self.js(NOTICE), [READY_NOTICE, ["Reload"]])
        self.assertEqual(self.el("updateNotice").get_attribute("role"), "status")
        self.assertIs(self.js("return window.firstLoad;"), True, "the page reloaded by itself")
        self.assertEqual(self.character(), kept)

        # The notice's own button reloads: an installed app has no reload button of the browser's.
        self.reload_through_takeover(lambda: self.click("cmdReloadUpdate"))
        self.assertEqual(self.js(NOTICE), ["", []])
        self.assertEqual(self.character(), kept)
        # Firefox may keep a style sheet in memory through a reload that a page asks for; the browser's
        # own reload asks the worker, which now has the new build alone.
        if ENGINE == "firefox":
            self.reload()
        self.assertEqual(self.js("return getComputedStyle(document.documentElement).getPropertyValue('--build');"),
                         "next")
        kept_builds = self.driver.execute_async_script(
            "caches.keys().then(arguments[arguments.length - 1]);")
        self.assertEqual(kept_builds, ["vorn-build-calculator-0123456789abcdef"])

if __name__ == "__main__":
    unittest.main()
