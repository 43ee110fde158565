"""WebKit (Debian's webkit2gtk-driver): WebKitWebDriver drives WebKitGTK's MiniBrowser, a window on an
X server of its own (Xvfb), as WebKitGTK has no headless mode.

WebKitWebDriver hands out no console log, and MiniBrowser writes none for the pages it opens for
automation, so the page's errors are gathered by the page itself: a listener put in after it loads.
Downloads go where GTK's user folders say (HOME's user-dirs.dirs), a link that each test points at a
folder of its own.
"""

import os
import shutil
import subprocess
import tempfile
import warnings
from pathlib import Path

from selenium import webdriver
from selenium.webdriver.remote.command import Command
from selenium.webdriver.webkitgtk.options import Options

from . import Engine, release_on_null

WEBKITDRIVER = "/usr/bin/WebKitWebDriver"
MINIBROWSERS = [Path(f"/usr/lib/x86_64-linux-gnu/webkit2gtk-{v}/MiniBrowser") for v in ("4.1", "4.0", "6.0")]
NARROWEST = 447  # MiniBrowser's window is no narrower

ERRORS = """
if (!window.vornErrors) {
    const errors = window.vornErrors = [];
    addEventListener('error', e => errors.push(`JavaScript error: ${e.filename}:${e.lineno}: ${e.message}`));
    addEventListener('unhandledrejection', e => errors.push(`Unhandled rejection: ${e.reason}`));
    const error = console.error;
    console.error = (...args) => { errors.push(`console.error: ${args.join(' ')}`); error(...args); };
}"""


class WebKit(Engine):
    name = "webkit"

    def __init__(self, lang, window, phone):
        browser = next((b for b in MINIBROWSERS if os.access(b, os.X_OK)), None)
        for tool in (WEBKITDRIVER, browser, shutil.which("Xvfb")):
            if not tool:
                raise FileNotFoundError("WebKitWebDriver, MiniBrowser or Xvfb is missing: scripts/test.sh installs "
                                        "webkit2gtk-driver and xvfb")
        self._home = Path(tempfile.mkdtemp(prefix="vorn-webkit-"))
        self._downloads = self._home / "Downloads"
        (self._home / ".config").mkdir()
        (self._home / ".config" / "user-dirs.dirs").write_text(f'XDG_DOWNLOAD_DIR="{self._downloads}"\n')
        self._xvfb = subprocess.Popen(["Xvfb", "-displayfd", "1", "-screen", "0", "1600x1200x24", "-nolisten", "tcp",
                                       "-noreset"],
                                      stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        display = self._xvfb.stdout.readline().decode().strip()
        self._xvfb.stdout.close()
        # The driver and its browser take these from the environment they start in; WebKitGTK's language
        # is the C library's locale, which must be installed (scripts/test.sh makes de_DE.UTF-8).
        os.environ.update({"DISPLAY": f":{display}", "HOME": str(self._home),
                           "LC_ALL": lang.replace("-", "_") + ".UTF-8", "XDG_CONFIG_HOME": str(self._home / ".config")})
        self._browser = browser
        self._dark = False
        width, height = phone or window
        self.width = max(width, NARROWEST)
        self._height = height
        self._start()

    def _start(self):
        options = Options()
        options.binary_location = str(self._browser)
        options.add_argument("--automation")
        if self._dark:
            options.add_argument("--dark-mode")
        options.set_capability("unhandledPromptBehavior", "dismiss and notify")
        with warnings.catch_warnings():
            # Selenium's WebKitGTK driver starts itself with arguments Selenium has since deprecated.
            warnings.simplefilter("ignore", DeprecationWarning)
            self.driver = webdriver.WebKitGTK(executable_path=WEBKITDRIVER, options=options,
                                              service_log_path=str(self._home / "driver.log"))
        send = self.driver.command_executor.execute

        def execute(command, params):
            if command == Command.SEND_KEYS_TO_ELEMENT:
                params = dict(params, text=release_on_null(params["text"]), value=list(release_on_null(params["text"])))
            return send(command, params)
        self.driver.command_executor.execute = execute
        self.driver.set_window_rect(width=self.width, height=self._height)
        inner = self.driver.execute_script("return [window.innerWidth, window.innerHeight];")
        rect = self.driver.get_window_rect()
        self.driver.set_window_rect(width=rect["width"] + self.width - inner[0],
                                    height=rect["height"] + self._height - inner[1])

    def page_loaded(self):
        self.driver.execute_script(ERRORS)

    def console_errors(self):
        return self.driver.execute_script("return window.vornErrors ? window.vornErrors.splice(0) : [];")

    def set_downloads(self, folder):
        if self._downloads.is_symlink():
            self._downloads.unlink()
        self._downloads.symlink_to(folder)

    def color_scheme(self, scheme):
        # MiniBrowser takes dark mode only as it starts: it starts again, with a blank page.
        if (scheme == "dark") != self._dark:
            self.driver.quit()
            self._dark = scheme == "dark"
            self._start()
            return True
        return False

    def font_size(self, standard, fixed):
        if (standard, fixed) != (16, 13):  # WebKit's own, which MiniBrowser keeps
            super().font_size(standard, fixed)

    def quit(self):
        try:
            self.driver.quit()
        finally:
            self._xvfb.terminate()
            self._xvfb.wait()
            shutil.rmtree(self._home, True)
