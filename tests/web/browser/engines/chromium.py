"""Chromium (Debian's chromium and chromium-driver), driven by Selenium, with what WebDriver has no command
for done through the Chrome DevTools Protocol."""

import os

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

from . import Engine

CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"


class Chromium(Engine):
    name = "chromium"

    def __init__(self, lang, window, phone):
        for tool in (CHROMIUM, CHROMEDRIVER):
            if not os.access(tool, os.X_OK):
                raise FileNotFoundError(f"{tool} is missing: scripts/test.sh installs chromium and chromium-driver")
        options = webdriver.ChromeOptions()
        options.binary_location = CHROMIUM
        for arg in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                    f"--lang={lang}", f"--window-size={window[0]},{window[1]}",
                    "--no-first-run", "--disable-extensions", "--allow-file-access-from-files"):
            options.add_argument(arg)
        options.add_experimental_option("prefs", {
            "intl.accept_languages": lang,
            "download.prompt_for_download": False,
            # A page that saves more than once is not asked whether it may download several files.
            "profile.default_content_setting_values.automatic_downloads": 1,
        })
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        # An alert() or prompt() the page should never use ends the command with an error at once.
        options.set_capability("unhandledPromptBehavior", "dismiss and notify")
        self.driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)
        self.width = (phone or window)[0]
        if phone:
            # A window can't be made this narrow; the phone's screen is emulated instead.
            self.cdp("Emulation.setDeviceMetricsOverride", {
                "width": phone[0], "height": phone[1], "deviceScaleFactor": 2, "mobile": True})

    def cdp(self, command, params):
        return self.driver.execute_cdp_cmd(command, params)

    def console_errors(self):
        return [e["message"] for e in self.driver.get_log("browser") if e["level"] == "SEVERE"]

    def set_downloads(self, folder):
        self.cdp("Browser.setDownloadBehavior", {"behavior": "allow", "downloadPath": str(folder)})

    def color_scheme(self, scheme):
        self.cdp("Emulation.setEmulatedMedia", {"features": [{"name": "prefers-color-scheme", "value": scheme}]})

    def font_size(self, standard, fixed):
        self.cdp("Page.setFontSizes", {"fontSizes": {"standard": standard, "fixed": fixed}})

    def offline(self, offline):
        self.cdp("Network.enable", {})
        self.cdp("Network.emulateNetworkConditions", {
            "offline": offline, "latency": 0, "downloadThroughput": -1, "uploadThroughput": -1})

    def repeat_key(self, key, times):
        event = {"key": key, "code": key, "windowsVirtualKeyCode": {"Enter": 13}[key]}
        for _ in range(times):
            self.cdp("Input.dispatchKeyEvent", dict(event, type="keyDown", text="\r", autoRepeat=True))
        self.cdp("Input.dispatchKeyEvent", dict(event, type="keyUp"))

    def quit(self):
        self.driver.quit()
