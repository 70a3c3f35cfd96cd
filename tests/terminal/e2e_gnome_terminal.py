#!/usr/bin/env python3
# marbek in GNOME Terminal on a virtual X display, driven by real key events (XTEST) at X's
# default repeat. GNOME Terminal sets no WINDOWID, so the program reads the X server's key state
# while focus reports say the window has the focus. Launched with Enter, then played
# (terminal_play.py); then, measured and not judged, a tap in tmux inside it with tmux's
# focus-events off and on. The screen is read from a log that script writes around the shell.
# Usage: e2e_gnome_terminal.py MARBEK TOLVAN ZIRAVO (plays marbek). Depends on: gnome-terminal,
# dbus-launch (dbus-x11), Xvfb, xdotool, xset, script, tmux, terminal_play.py, python3.
import os, subprocess, sys, time
from terminal_play import PROMPT, SHELL, Shell, check, end, run, skip, start_x, until

SHELL = f"env 'PS1={PROMPT}' {SHELL}"  # the server starts shells in an environment of its own


def terminal(log, command, servers):
    """Opens a window of GNOME Terminal running command under script; gives its shell."""
    windows = lambda: set(run("xdotool", "search", "--onlyvisible", "--classname",
                              "gnome-terminal").stdout.split())
    known = windows()
    opened = subprocess.run(["gnome-terminal", "--geometry", "120x41", "--", "script", "-qf", log,
                             "-c", command], capture_output=True, text=True)
    if opened.returncode:
        skip(f"GNOME Terminal did not start: {opened.stderr[-300:]}")
    window = until("a window of GNOME Terminal", lambda: windows() - known, 10).pop()
    servers.add(int(run("xdotool", "getwindowpid", window).stdout))
    run("xdotool", "windowfocus", "--sync", window)
    return Shell(log)


def tap_in_tmux(focus_events, servers):
    """The launch and a tap in tmux, reported and not judged (a missed Enter is pressed again)."""
    open("tmux.conf", "w").write(f"set -g focus-events {focus_events}\n")
    tmux = ["tmux", "-S", f"tmux-{focus_events}", "-f", "tmux.conf"]
    shell = terminal(f"log-{focus_events}", " ".join(tmux + ["new-session", f'"{SHELL}"']), servers)
    try:
        menu = not shell.launch("marbek", 0.15)
        until("the first frame", lambda: [shell.send("key Return"), time.sleep(0.5)]
              and shell.screen.status())
        return {"launch keeps the menu": menu, "tap degrees": shell.tap()}
    finally:
        run(*tmux, "kill-server")


def gnome_terminal(workdir):
    os.environ.update(NO_AT_BRIDGE="1", GSETTINGS_BACKEND="memory")
    os.environ.pop("TMUX", None)
    xvfb, servers = start_x(), set()
    bus = dict(line.split("=", 1) for line in run("dbus-launch").stdout.split())
    os.environ.update(bus)
    try:
        shell = terminal("log", SHELL, servers)
        failures = shell.launch("marbek", 0.15) + shell.play("GNOME Terminal")
        for setting in ("off", "on"):
            print(f"GNOME Terminal, tmux, focus-events {setting}", tap_in_tmux(setting, servers))
        return failures
    finally:
        for pid in [*servers, int(bus.get("DBUS_SESSION_BUS_PID", 0)), xvfb.pid]:
            pid and end(pid)
        xvfb.wait()


if __name__ == "__main__":
    sys.exit(check(["gnome-terminal", "dbus-launch", "Xvfb", "xdotool", "script", "tmux"],
                   gnome_terminal))
