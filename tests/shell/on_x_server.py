#!/usr/bin/python3
"""Runs a command on a virtual X server of its own and returns the command's exit status.

    on_x_server.py COMMAND [ARGUMENT...]

Xvfb itself takes a display number no other server holds and says it only once it accepts connections
(-displayfd), and the server is ended and waited for before this returns, so that the next test's
server never meets it. It never resets (-noreset): a server that resets as its last client leaves
drops a client connecting in that moment, and the tests' programs connect while xdotool comes and goes.
"""
import os
import subprocess
import sys
import tempfile

arguments = sys.argv[1:]
if not arguments:
    sys.exit(__doc__)

read_end, write_end = os.pipe()
# What the server says is shown when the command fails.
said = tempfile.TemporaryFile()
server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                           "-noreset"],
                          pass_fds=(write_end,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=said)
os.close(write_end)
with os.fdopen(read_end) as told:
    display = told.readline().strip()
try:
    if not display:
        print("Xvfb did not start (exit status %s)" % server.wait(), file=sys.stderr)
        sys.exit(1)
    env = dict(os.environ, DISPLAY=":" + display)
    # The server has no cookie to ask for; an authority file of another server's would only be in the way.
    env.pop("XAUTHORITY", None)
    status = subprocess.run(arguments, env=env).returncode
    if status != 0:
        said.seek(0)
        print("Xvfb on :%s said:\n%s" % (display, said.read().decode(errors="replace")), file=sys.stderr)
    sys.exit(status)
finally:
    server.terminate()
    server.wait()
