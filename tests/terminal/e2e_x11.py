#!/usr/bin/env python3
# The programs in xterm on a virtual X display, driven by real key events (XTEST), from a shell as
# a person launches them: each program's name typed, then Enter held 40 ms and, the second time,
# 150 ms, so that the X server still holds Enter down as the program starts (its menu must show
# and stay; Ctrl+C goes back to the shell). Then marbek, alone and in tmux there: Down held in the
# menu, then played (terminal_play.py). Prints what it measured (the exchange check holds the
# focus elsewhere and Ctrl+Z byte for byte). Usage: e2e_x11.py MARBEK TOLVAN ZIRAVO...
# Depends on: terminal_play.py, Xvfb, xterm, xdotool, xset, tmux, bash, libvterm, python3.
import os, sys
from terminal_play import LIMITS, SHELL, Shell, check, cpu_ticks, end, run, start_x, trace, until

LIMITS = dict(LIMITS, **{"menu CPU %": 10, "menu arrow s": 0.3, "tap degrees": 12,
                         "hold stall s": 0.06})
TMUX = ["tmux", "-S", "socket", "-f", "tmux.conf"]


def child(pid):
    return int(until(f"a child of {pid}", lambda: open(f"/proc/{pid}/task/{pid}/children").read()))


def menu(screen, pid):
    """CPU used and the arrow's delay while Down is held 2 s in the menu."""
    used = cpu_ticks(pid)
    samples, (down, _) = trace(screen.arrow(4), [(0, "keydown Down"), (2, "keyup Down")], 2.05)
    figures = {"menu CPU %": (cpu_ticks(pid) - used) / os.sysconf("SC_CLK_TCK") / 0.02,
               "menu arrow s": min([t for t, shown in samples if shown] or [9]) - down}
    run("xdotool", "key", "Up")
    until("the arrow back", screen.arrow(2))
    return figures


def xterm(started, name, *command):
    terminal = run("xterm", "-geometry", "120x41", "-l", "-lf", name, "-e", *command, wait=False)
    started.append(terminal)
    window = until(f"xterm {name}", lambda: os.path.exists(name) and run(
        "xdotool", "search", "--pid", str(terminal.pid)).stdout.split())[0]
    run("xdotool", "windowfocus", "--sync", window)


def x11(workdir):
    os.environ.pop("TMUX", None)
    open("tmux.conf", "w").write(f"set -g default-command '{SHELL}'\n")
    started = [start_x()]
    try:
        xterm(started, "shell", *SHELL.split())
        shell, failures = Shell("shell"), []
        for program in ("tolvan", "ziravo", "marbek"):
            for hold in (0.04, 0.15):
                shell.shown and shell.quit()
                failures += shell.launch(program, hold)
        if failures:  # the game may be running where the menu should be
            return failures
        figures = menu(shell.screen, child(child(started[1].pid)))
        failures += shell.play("xterm", figures, LIMITS)
        run("xdotool", "type", " ".join(TMUX))
        run("xdotool", "key", "Return")
        until("the shell in tmux", lambda: run(*TMUX, "display", "-p", "#{pane_pid}").stdout)
        run(*TMUX, "send-keys", "marbek", "Enter")
        until("the menu", shell.screen.arrow(2))
        pane = int(run(*TMUX, "display", "-p", "#{pane_pid}").stdout)
        figures = menu(shell.screen, child(pane))
        failures += shell.play("tmux in xterm", figures, LIMITS)
        return failures
    finally:
        run(*TMUX, "kill-server")
        for process in started:
            end(process.pid)
            process.wait()


if __name__ == "__main__":
    sys.exit(check(["Xvfb", "xterm", "xdotool", "xset", "tmux"], x11))
