#!/usr/bin/python3
"""The real program killed with unsaved work and started again, in a home folder of its own, on an X
server (run by on_x_server.py), driven with xdotool as a user drives it.

Calculator A records a step (Extras -> Add X Blankets, 3) and keeps it in its recovery file. Calculator B,
started meanwhile, offers nothing (A is running) and keeps a step of its own (5 blankets) in a file of
its own. A is
killed (SIGKILL: nothing of it runs again). Calculator C, started then, asks to recover A's character
alone; Recover (Enter, the default) puts it in C, which keeps it in its own file before A's goes. B's file
is never touched.

    recovery_after_kill.py PROGRAM XDOTOOL
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

PROGRAM, XDOTOOL = sys.argv[1], sys.argv[2]
TITLE = "^VORN Build Calculator$"


def fail(message):
    print("FAIL: " + message, flush=True)
    sys.exit(1)


def wait_for(what, test, seconds=30):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        result = test()
        if result:
            return result
        time.sleep(0.1)
    fail("waited in vain for " + what)


def xdotool(*args):
    return subprocess.run([XDOTOOL, *args], capture_output=True, text=True).stdout.split()


def windows(process):
    """The program's visible windows titled as the calculator and its boxes are, oldest first (X gives a
    program's windows ids in the order it makes them)."""
    if process.poll() is not None:
        fail("calculator %d ended (%s)%s" % (process.pid, process.returncode, said_by(process)))
    found = xdotool("search", "--all", "--onlyvisible", "--pid", str(process.pid), "--name", TITLE)
    return sorted(found, key=int)


def press(window, *keys):
    xdotool("windowfocus", "--sync", window)
    xdotool("key", "--clearmodifiers", *keys)


def type_text(window, text):
    xdotool("windowfocus", "--sync", window)
    xdotool("type", text)


home = tempfile.mkdtemp(prefix="vorn-home-")
env = dict(os.environ)
env.update({
    "HOME": home,
    "XDG_DATA_HOME": os.path.join(home, "data"),
    "XDG_CONFIG_HOME": os.path.join(home, "config"),
    "XDG_CACHE_HOME": os.path.join(home, "cache"),
    "XDG_STATE_HOME": os.path.join(home, "state"),
    "QT_QPA_PLATFORM": "xcb",
    # X's keyboard library trips a sanitizer's strict string check, as in the other tests on X.
    "ASAN_OPTIONS": ":".join(filter(None, [os.environ.get("ASAN_OPTIONS"), "strict_string_checks=0"])),
})
runtime = os.path.join(home, "runtime")
os.mkdir(runtime, 0o700)
env["XDG_RUNTIME_DIR"] = runtime
folder = os.path.join(home, "data", "vorncalc", "VORN Build Calculator", "recovery")
started = []


def said_by(process):
    """What a calculator wrote to its error output, so that a failure says why it ended."""
    try:
        with open(process.log_name, errors="replace") as log:
            said = log.read()[-4000:]
    except OSError:
        return ""
    return (":\n" + said) if said.strip() else ""


def start():
    log_name = os.path.join(home, "calculator-%d.log" % len(started))
    with open(log_name, "wb") as log:
        process = subprocess.Popen([PROGRAM], env=env, stdout=subprocess.DEVNULL, stderr=log)
    process.log_name = log_name
    started.append(process)
    # A question at start may come up as soon as the window does.
    wait_for("the calculator's window", lambda: windows(process))
    return process


def recovery_files():
    if not os.path.isdir(folder):
        return {}
    files = {}
    for name in sorted(os.listdir(folder)):
        if name.endswith(".vornrecover"):
            with open(os.path.join(folder, name), "rb") as f:
                files[name] = f.read()
    return files


def character_of(content):
    """The character file under the recovery file's first line."""
    return content.split(b"\n", 1)[1]


def add_blankets(process, count):
    calculator = windows(process)[0]
    press(calculator, "ctrl+a")
    box = wait_for("the Add X Blankets box", lambda: (windows(process) + [None, None])[1])
    type_text(box, str(count))
    press(box, "Return")
    wait_for("the box to close", lambda: len(windows(process)) == 1)


def kept_by(process, before):
    """Waits for a new recovery file, complete, and returns its name and content."""
    def new_file():
        for name, content in recovery_files().items():
            if name not in before and content.startswith(b'{"format": "VORN recovery"') and \
                    content.rstrip().endswith(b"}"):
                return name, content
        return None
    return wait_for("calculator %d's recovery file" % process.pid, new_file)


try:
    if recovery_files():
        fail("the new home folder already holds recovery files")

    a = start()
    add_blankets(a, 3)
    a_name, a_content = kept_by(a, {})
    if str(a.pid) not in a_name:
        fail("A's recovery file is not named by its process: " + a_name)

    b = start()
    time.sleep(1)
    if len(windows(b)) != 1:
        fail("B offered the recovery file of A, which is still running")
    add_blankets(b, 5)
    b_name, b_content = kept_by(b, {a_name})
    if character_of(b_content) == character_of(a_content):
        fail("B's recovery file holds A's character")

    a.send_signal(signal.SIGKILL)
    a.wait()
    if a_name not in recovery_files():
        fail("A's recovery file went with A")

    c = start()
    box = wait_for("C's question", lambda: (windows(c) + [None, None])[1])
    time.sleep(0.5)
    if len(windows(c)) != 2:
        fail("C asked more than once")
    press(box, "Return")
    wait_for("the question to close", lambda: len(windows(c)) == 1)
    c_name, c_content = kept_by(c, {a_name, b_name})
    if character_of(c_content) != character_of(a_content):
        fail("C's recovery file does not hold A's character")
    wait_for("A's recovery file to go", lambda: a_name not in recovery_files())
    if recovery_files().get(b_name) != b_content:
        fail("B's recovery file was touched")
    print("A's unsaved character, killed with it, was recovered by C; B's was left alone")
finally:
    for process in started:
        if process.poll() is None:
            process.kill()
            process.wait()
    shutil.rmtree(home, ignore_errors=True)
