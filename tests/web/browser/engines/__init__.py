"""The browsers the page is tested in, each started and driven its own way behind one small interface
(Engine): `driver` is Selenium's WebDriver, whatever drives the browser underneath. What a browser cannot
be made to do raises Cannot, saying what it cannot do, so that a test can say so and check what it can.
"""

import os

from selenium.webdriver.common.keys import Keys


class Cannot(Exception):
    pass


class Engine:
    """What every browser offers; each browser's own class does what it can of the rest."""

    name = ""
    width = 0  # the page's width, in CSS pixels, as the browser could make it

    def page_loaded(self):
        pass

    def color_scheme(self, scheme):
        """True where the browser had to start again to show it: its page is blank."""
        raise Cannot(f"emulate prefers-color-scheme: {scheme}")

    def font_size(self, standard, fixed):
        """The browser's default text sizes in pixels, as a system's text size setting makes them."""
        raise Cannot("set the browser's default font size while running")

    def offline(self, offline):
        raise Cannot("take the browser offline")

    def repeat_key(self, key, times):
        raise Cannot("send a held key's repeats (WebDriver's key actions have no repeat)")

    def cdp(self, command, params):
        raise Cannot(f"run the Chrome DevTools command {command}")


_MODIFIERS = {Keys.SHIFT, Keys.CONTROL, Keys.ALT, Keys.META}


def release_on_null(text):
    """Keys for a driver that keeps a modifier held past the null key that should release it (Firefox's
    Marionette, WebKitWebDriver): pressing a held modifier again releases it."""
    held, out = [], ""
    for ch in text:
        if ch == Keys.NULL:
            out += "".join(held)
            held = []
            continue
        if ch in _MODIFIERS:
            held.remove(ch) if ch in held else held.append(ch)
        out += ch
    return out


ENGINES = ("chromium", "firefox", "webkit")


def engine_name():
    name = os.environ.get("VORN_ENGINE", "chromium")
    if name not in ENGINES:
        raise ValueError(f"VORN_ENGINE={name}: not one of {', '.join(ENGINES)}")
    return name


def launch(name, lang, window, phone):
    """A started browser; window and phone are (width, height), phone None for a desktop window."""
    if name == "chromium":
        from .chromium import Chromium as Engine
    elif name == "firefox":
        from .firefox import Firefox as Engine
    else:
        from .webkit import WebKit as Engine
    return Engine(lang, window, phone)
