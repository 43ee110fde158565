"""What a screen reader hears after an action, read over AT-SPI as Orca reads it.

The program runs on a virtual X server with a session bus of its own (dbus-run-session starts the
accessibility bus on demand). After each action the control with the focus has the news as its
accessible description, said once through a description-change event, and gets its own description
back when the focus leaves it; with no control focused, a notification inside a status bar is shown
with the news as its name. Exit code 77 (skipped) where the tools are missing.

    screen_reader_news.py PROGRAM [ON_X_SERVER]

ON_X_SERVER runs a command on a virtual X server of its own (on_x_server.py); without it, the test is
skipped.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

SKIP = 77


def outer(program, on_x_server):
    missing = [tool for tool in ("dbus-run-session", "xdotool") if not shutil.which(tool)]
    if not on_x_server:
        missing.append("Xvfb")
    if missing:
        print("screen reader news skipped: no " + ", ".join(missing))
        return SKIP
    try:
        import pyatspi  # noqa: F401  (Debian's python3-pyatspi)
    except ImportError:
        print("screen reader news skipped: no pyatspi for " + sys.executable)
        return SKIP
    return subprocess.run(["dbus-run-session", "--", on_x_server,
                           sys.executable, __file__, "--inner", program]).returncode


def inner(program):
    import pyatspi
    from gi.repository import GLib

    heard = []  # (event type, role, name, description or name now)

    def on_event(event):
        source = event.source
        try:
            heard.append((event.type, source.getRoleName(), source.name, source.description,
                          source.parent.getRoleName() if source.parent else ""))
        except Exception as problem:  # an object gone by the time it is read
            heard.append((event.type, "gone", str(problem), "", ""))

    def pump(until, seconds=10):
        end = time.time() + seconds
        context = GLib.MainContext.default()
        while time.time() < end:
            while context.iteration(False):
                pass
            if until():
                return True
            time.sleep(0.02)
        return False

    def find(root, wanted):
        if wanted(root):
            return root
        for child in root:
            found = child and find(child, wanted)
            if found:
                return found
        return None

    def calculator():
        for app in pyatspi.Registry.getDesktop(0):
            if app and app.name == "VORN Build Calculator":
                return app
        return None

    def focused(app):
        return find(app, lambda o: o.getState().contains(pyatspi.STATE_FOCUSED) and o.getRoleName() != "frame")

    failures = []

    def expect(what, ok, detail):
        print(("ok   " if ok else "FAIL ") + what + ("" if ok else ": " + detail))
        if not ok:
            failures.append(what)

    def said(news, role, name):
        """Waits for the focused control's description to become the news, said in one event."""
        pump(lambda: any(h[0].endswith("accessible-description") and h[3] == news for h in heard))
        pump(lambda: False, 0.3)  # any second event for the same news
        told = [h for h in heard if h[0].endswith("accessible-description") and h[1:3] == (role, name)]
        return len(told) == 1 and told[0][3] == news, repr(heard)

    home = tempfile.mkdtemp()
    environment = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                       QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    # Listening before the program starts, as a screen reader does: Qt asks which events are wanted as
    # it starts, and a listener that registers in that moment may never be sent its events.
    pyatspi.Registry.registerEventListener(on_event, "object:property-change:accessible-description",
                                           "object:state-changed:showing")
    process = subprocess.Popen([program], env=environment)
    try:
        if not pump(lambda: calculator() is not None, 30):
            print("FAIL the calculator never showed itself over AT-SPI")
            return 1
        app = calculator()
        add_event = find(app, lambda o: o.getRoleName() == "push button" and o.name == "Add Event/Blanket")
        silver = find(app, lambda o: o.getRoleName() == "text" and o.name == "Silver for Training")
        silver_own = silver.description

        # No window has the keyboard: the news is a notification, shown, in a status bar.
        subprocess.run(["xdotool", "search", "--maxdepth", "0", "--name", ".*", "windowfocus", "--sync"],
                       stdout=subprocess.DEVNULL, check=False)
        pump(lambda: focused(app) is None, 5)
        heard.clear()
        add_event.queryAction().doAction(0)
        news = "Build 34, Level 2, Loose XP 2"
        pump(lambda: any(h[0].endswith("showing") and h[2] == news for h in heard))
        expect("without focus, a notification in a status bar says " + news,
               any(h[0] == "object:state-changed:showing" and h[1:3] == ("notification", news)
                   and h[4] == "status bar" for h in heard), repr(heard))

        # The calculator has the keyboard, in the silver box.
        subprocess.run(["xdotool", "search", "--name", "^VORN Build Calculator$", "windowfocus", "--sync"],
                       check=True)
        pump(lambda: focused(app) is not None and focused(app).name == "Silver for Training", 10)
        steps = [
            ("Add Event pressed", lambda: add_event.queryAction().doAction(0),
             "Build 37, Level 3, Loose XP 5", ("text", "Silver for Training")),
            ("Ctrl+Z", lambda: subprocess.run(["xdotool", "key", "ctrl+z"], check=True),
             "Build 34, Level 2, Loose XP 2", ("text", "Silver for Training")),
            ("Ctrl+Y", lambda: subprocess.run(["xdotool", "key", "ctrl+y"], check=True),
             "Build 37, Level 3, Loose XP 5", ("text", "Silver for Training")),
            ("Tab to Add Event, Space", lambda: subprocess.run(["xdotool", "key", "Tab", "space"], check=True),
             "Build 40, Level 3, Loose XP 6", ("push button", "Add Event/Blanket")),
            ("Ctrl+Z on the button", lambda: subprocess.run(["xdotool", "key", "ctrl+z"], check=True),
             "Build 37, Level 3, Loose XP 5", ("push button", "Add Event/Blanket")),
        ]
        for what, act, news, (role, name) in steps:
            heard.clear()
            act()
            ok, detail = said(news, role, name)
            expect(what + ": " + name + " says " + news, ok, detail)
        expect("the silver box has its own description back", silver.description == silver_own,
               repr(silver.description))
        return 1 if failures else 0
    finally:
        process.terminate()
        process.wait(10)
        shutil.rmtree(home, ignore_errors=True)


if __name__ == "__main__":
    if sys.argv[1] == "--inner":
        sys.exit(inner(sys.argv[2]))
    sys.exit(outer(sys.argv[1], sys.argv[2] if len(sys.argv) > 2 else ""))
