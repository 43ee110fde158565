"""Firefox (Debian's firefox-esr) driven through Marionette, the remote protocol built into every Firefox.

Debian ships no geckodriver, and geckodriver does little more than pass the W3C WebDriver commands on to
Marionette. Marionette takes the same commands under its own names over a socket of length-prefixed
JSON, so a connection object that renames them lets Selenium's own WebDriver drive Firefox: the suites
keep their WebElement, Select, Keys and WebDriverWait. What WebDriver has no command for (downloads, the
colour scheme, a phone's screen) is set through Firefox's preferences from Marionette's chrome context.
"""

import json
import os
import re
import shutil
import socket
import subprocess
import tempfile
import time
from pathlib import Path

from selenium.webdriver.remote.command import Command
from selenium.webdriver.remote.webdriver import WebDriver

from . import Engine, release_on_null

FIREFOX = "/usr/bin/firefox-esr"

# Selenium's command -> Marionette's, with the parameters Marionette expects.
_COMMANDS = {
    Command.NEW_SESSION: "WebDriver:NewSession",
    Command.QUIT: "Marionette:Quit",
    Command.GET: "WebDriver:Navigate",
    Command.REFRESH: "WebDriver:Refresh",
    Command.GO_BACK: "WebDriver:Back",
    Command.GET_TITLE: "WebDriver:GetTitle",
    Command.GET_CURRENT_URL: "WebDriver:GetCurrentURL",
    Command.W3C_GET_CURRENT_WINDOW_HANDLE: "WebDriver:GetWindowHandle",
    Command.W3C_GET_WINDOW_HANDLES: "WebDriver:GetWindowHandles",
    Command.NEW_WINDOW: "WebDriver:NewWindow",
    Command.SWITCH_TO_WINDOW: "WebDriver:SwitchToWindow",
    Command.CLOSE: "WebDriver:CloseWindow",
    Command.SET_WINDOW_RECT: "WebDriver:SetWindowRect",
    Command.GET_WINDOW_RECT: "WebDriver:GetWindowRect",
    Command.SET_TIMEOUTS: "WebDriver:SetTimeouts",
    Command.W3C_EXECUTE_SCRIPT: "WebDriver:ExecuteScript",
    Command.W3C_EXECUTE_SCRIPT_ASYNC: "WebDriver:ExecuteAsyncScript",
    Command.FIND_ELEMENT: "WebDriver:FindElement",
    Command.FIND_ELEMENTS: "WebDriver:FindElements",
    Command.FIND_CHILD_ELEMENT: "WebDriver:FindElement",
    Command.FIND_CHILD_ELEMENTS: "WebDriver:FindElements",
    Command.W3C_GET_ACTIVE_ELEMENT: "WebDriver:GetActiveElement",
    Command.CLICK_ELEMENT: "WebDriver:ElementClick",
    Command.CLEAR_ELEMENT: "WebDriver:ElementClear",
    Command.SEND_KEYS_TO_ELEMENT: "WebDriver:ElementSendKeys",
    Command.GET_ELEMENT_TEXT: "WebDriver:GetElementText",
    Command.GET_ELEMENT_TAG_NAME: "WebDriver:GetElementTagName",
    Command.GET_ELEMENT_RECT: "WebDriver:GetElementRect",
    Command.GET_ELEMENT_ATTRIBUTE: "WebDriver:GetElementAttribute",
    Command.GET_ELEMENT_PROPERTY: "WebDriver:GetElementProperty",
    Command.GET_ELEMENT_VALUE_OF_CSS_PROPERTY: "WebDriver:GetElementCSSValue",
    Command.IS_ELEMENT_SELECTED: "WebDriver:IsElementSelected",
    Command.IS_ELEMENT_ENABLED: "WebDriver:IsElementEnabled",
    Command.GET_ELEMENT_ARIA_LABEL: "WebDriver:GetComputedLabel",
    Command.GET_ELEMENT_ARIA_ROLE: "WebDriver:GetComputedRole",
    Command.W3C_ACTIONS: "WebDriver:PerformActions",
    Command.W3C_CLEAR_ACTIONS: "WebDriver:ReleaseActions",
    Command.W3C_DISMISS_ALERT: "WebDriver:DismissAlert",
    Command.W3C_ACCEPT_ALERT: "WebDriver:AcceptAlert",
    Command.W3C_GET_ALERT_TEXT: "WebDriver:GetAlertText",
    Command.SCREENSHOT: "WebDriver:TakeScreenshot",
    Command.GET_PAGE_SOURCE: "WebDriver:GetPageSource",
}


class Marionette:
    """Selenium's command executor, speaking Marionette: one request at a time, answered in order."""

    def __init__(self, port):
        self._socket = socket.create_connection(("127.0.0.1", port))
        self._reader = self._socket.makefile("rb")
        self._next = 0
        self._read()  # the greeting: application and protocol

    def _read(self):
        length = b""
        while (ch := self._reader.read(1)) != b":":
            if not ch:
                raise ConnectionError("Firefox closed the Marionette connection")
            length += ch
        return json.loads(self._reader.read(int(length)))

    def send(self, name, params=None):
        self._next += 1
        data = json.dumps([0, self._next, name, params or {}]).encode()
        self._socket.sendall(str(len(data)).encode() + b":" + data)
        while True:
            _, reply_id, error, result = self._read()
            if reply_id == self._next:
                return error, result

    def execute(self, command, params):
        if command == Command.NEW_SESSION:
            params = params["capabilities"]["alwaysMatch"]
        elif command == Command.SCREENSHOT:
            params = {"full": False, "hash": False}
        elif command == Command.SWITCH_TO_WINDOW:
            params = {"handle": params["handle"], "focus": True}
        elif command in (Command.FIND_CHILD_ELEMENT, Command.FIND_CHILD_ELEMENTS):
            params = {"using": params["using"], "value": params["value"], "element": params["id"]}
        elif command == Command.SEND_KEYS_TO_ELEMENT:
            params = {"id": params["id"], "text": release_on_null(params["text"])}
        elif command == Command.QUIT:
            params = {"flags": ["eForceQuit"]}
        elif "sessionId" in params:
            params = {k: v for k, v in params.items() if k != "sessionId"}
        if command not in _COMMANDS:
            return {"status": "unsupported operation", "message": f"{command} is not mapped to Marionette"}
        error, result = self.send(_COMMANDS[command], params)
        if error:
            # As a WebDriver server answers an error, for Selenium's error handler.
            return {"status": 500, "value": json.dumps({"value": error})}
        if isinstance(result, dict) and list(result) == ["value"]:
            result = result["value"]
        return {"value": result}

    def close(self):
        self._socket.close()


class Console:
    """The page's console errors, which Firefox writes to its standard output (devtools.console.stdout.content):
    console.error() calls and uncaught errors of the page's own scripts."""

    _ERROR = re.compile(r"^(console\.error: .*|JavaScript error: (?:https?|file)://.*)$")
    # Firefox's own studies loader, which finds no server here; it logs as the page's console does.
    _FIREFOX_OWN = re.compile(r"^console\.error: RSLoader: ")

    def __init__(self, path):
        self._path = path
        self._offset = 0

    def take(self):
        with open(self._path, "rb") as f:
            f.seek(self._offset)
            text = f.read()
        self._offset += len(text)
        lines = text.decode("utf-8", "replace").splitlines()
        return [line for line in lines if self._ERROR.match(line) and not self._FIREFOX_OWN.match(line)]


class Firefox(Engine):
    name = "firefox"

    def __init__(self, lang, window, phone):
        if not os.access(FIREFOX, os.X_OK):
            raise FileNotFoundError(f"{FIREFOX} is missing: scripts/test.sh installs firefox-esr")
        self._profile = Path(tempfile.mkdtemp(prefix="vorn-firefox-"))
        prefs = {
            "marionette.port": 0,  # any free port, written to the profile's MarionetteActivePort
            "devtools.console.stdout.content": True,
            "intl.accept_languages": lang,
            "intl.regional_prefs.use_os_locales": False,
            "browser.download.folderList": 2,
            "browser.download.useDownloadDir": True,
            "browser.download.always_ask_before_handling_new_types": False,
            "browser.download.start_downloads_in_tmp_dir": False,
            "browser.download.alwaysOpenPanel": False,
            "browser.download.panel.shown": True,
            "browser.helperApps.deleteTempFileOnExit": False,
            "browser.shell.checkDefaultBrowser": False,
            "toolkit.telemetry.reporting.policy.firstRunURL": "",
            "browser.aboutwelcome.enabled": False,
            # Firefox's own studies, which reach for a server unreachable here and log that as an error.
            "messaging-system.rsexperimentloader.enabled": False,
            "app.normandy.enabled": False,
        }
        if phone:
            # A phone's screen: the page's viewport tag obeyed, touch events offered and scroll bars laid
            # over the page rather than taking its width.
            prefs.update({"dom.meta-viewport.enabled": True, "dom.w3c_touch_events.enabled": 1,
                          "ui.useOverlayScrollbars": 1})
        (self._profile / "user.js").write_text(
            "".join(f"user_pref({json.dumps(k)}, {json.dumps(v)});\n" for k, v in prefs.items()), encoding="utf-8")
        self._output = self._profile / "output.log"
        with open(self._output, "wb") as out:
            self._process = subprocess.Popen(
                [FIREFOX, "--headless", "--marionette", "--remote-allow-system-access", "--no-remote",
                 "--profile", str(self._profile)],
                stdout=out, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
        port_file = self._profile / "MarionetteActivePort"
        deadline = time.monotonic() + 60
        while not port_file.is_file() or not port_file.read_text().strip():
            if self._process.poll() is not None or time.monotonic() > deadline:
                raise RuntimeError(f"Firefox did not start: {self._output.read_text(errors='replace')[-2000:]}")
            time.sleep(0.1)
        self._console = Console(self._output)
        self._marionette = Marionette(int(port_file.read_text()))
        self.driver = WebDriver(command_executor=self._marionette, options=_Options(),)
        # The page's files are on this machine: a file input is given their paths as they are.
        self.driver._is_remote = False
        width, height = phone or window
        self.width = width
        if phone:
            self._phone(width, height)
        else:
            self.driver.set_window_rect(width=width, height=height)
            self._fit_viewport(width, height)

    def _fit_viewport(self, width, height):
        # The window's size includes no browser bars when headless, yet may differ from the viewport by
        # a scroll bar or rounding: grow it by what is missing.
        inner = self.driver.execute_script("return [window.innerWidth, window.innerHeight];")
        if inner != [width, height]:
            rect = self.driver.get_window_rect()
            self.driver.set_window_rect(width=rect["width"] + width - inner[0],
                                        height=rect["height"] + height - inner[1])

    def _phone(self, width, height):
        # No window is this narrow: the tab's own frame is made the phone's size inside a larger window,
        # with twice as many device pixels as CSS pixels, as Firefox's responsive design mode does.
        self._chrome("""
            const browser = gBrowser.selectedBrowser;
            for (const [name, value] of [['width', arguments[0]], ['height', arguments[1]]])
                for (const property of [name, 'min-' + name, 'max-' + name])
                    browser.style.setProperty(property, value + 'px');
            browser.browsingContext.overrideDPPX = 2;
            browser.browsingContext.touchEventsOverride = 'enabled';""", width, height)

    def _chrome(self, script, *args):
        self._marionette.send("Marionette:SetContext", {"value": "chrome"})
        try:
            error, result = self._marionette.send("WebDriver:ExecuteScript", {"script": script, "args": list(args)})
        finally:
            self._marionette.send("Marionette:SetContext", {"value": "content"})
        if error:
            raise RuntimeError(error["message"])
        return result

    def console_errors(self):
        return self._console.take()

    def set_downloads(self, folder):
        self._chrome("Services.prefs.setStringPref('browser.download.dir', arguments[0]);", str(folder))

    def color_scheme(self, scheme):
        self._chrome("Services.prefs.setIntPref('layout.css.prefers-color-scheme.content-override', arguments[0]);",
                     {"dark": 0, "light": 1}[scheme])

    def font_size(self, standard, fixed):
        self._chrome("""Services.prefs.setIntPref('font.size.variable.x-western', arguments[0]);
                        Services.prefs.setIntPref('font.size.monospace.x-western', arguments[1]);""", standard, fixed)

    def offline(self, offline):
        self._chrome("Services.io.offline = arguments[0]; Services.io.manageOfflineStatus = !arguments[0];",
                     offline)

    def quit(self):
        try:
            self.driver.quit()
        except (ConnectionError, OSError):
            pass
        finally:
            self._marionette.close()
            try:
                self._process.wait(timeout=30)
            except subprocess.TimeoutExpired:
                self._process.kill()
            shutil.rmtree(self._profile, True)


class _Options:
    """The capabilities Marionette starts its session with."""

    def to_capabilities(self):
        # An alert() or prompt() the page should never use ends the command with an error at once.
        return {"unhandledPromptBehavior": "dismiss and notify", "pageLoadStrategy": "normal"}

    def __getattr__(self, name):
        return None
