#!/usr/bin/env python3
# marbek in GNOME Terminal on a virtual X display, driven by real key events (XTEST) at X's
# default repeat. GNOME Terminal sets no WINDOWID, so the program reads the X server's key state
# while focus reports say the window has the focus. Launched with Enter, then played
# (terminal_play.py). The screen is read from a log that script writes around the shell.
# Usage: e2e_gnome_terminal.py MARBEK [PROGRAM...] (plays marbek). Depends on: gnome-terminal,
# dbus-launch (dbus-x11), Xvfb, xdotool, xset, script, terminal_play.py, python3.
import os, subprocess, sys
from terminal_play import PROMPT, SHELL, Shell, check, end, run, skip, start_x, until


def gnome_terminal(workdir):
    os.environ.update(NO_AT_BRIDGE="1", GSETTINGS_BACKEND="memory")
    xvfb = start_x()
    bus = dict(line.split("=", 1) for line in run("dbus-launch").stdout.split())
    os.environ.update(bus)
    servers = [int(bus.get("DBUS_SESSION_BUS_PID", 0)), xvfb.pid]
    try:
        # The server starts shells in an environment of its own.
        opened = subprocess.run(["gnome-terminal", "--geometry", "120x41", "--", "script", "-qf",
                                 "log", "-c", f"env 'PS1={PROMPT}' {SHELL}"],
                                capture_output=True, text=True)
        if opened.returncode:
            skip(f"GNOME Terminal did not start: {opened.stderr[-300:]}")
        window = until("a window of GNOME Terminal", lambda: run(
            "xdotool", "search", "--onlyvisible", "--classname", "gnome-terminal").stdout.split(),
            10)[0]
        servers.append(int(run("xdotool", "getwindowpid", window).stdout))
        run("xdotool", "windowfocus", "--sync", window)
        shell = Shell("log")
        return shell.launch("marbek", 0.15) + shell.play("GNOME Terminal")
    finally:
        for pid in filter(None, servers):
            end(pid)
        xvfb.wait()


if __name__ == "__main__":
    sys.exit(check(["gnome-terminal", "dbus-launch", "Xvfb", "xdotool", "script"], gnome_terminal))
