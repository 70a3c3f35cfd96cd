#!/usr/bin/env python3
# The programs in xterm on a virtual X display, driven by real key events (XTEST), from a shell as
# a person launches them: each program's name typed, then Enter held 40 ms and, the second time,
# 150 ms, so that the X server still holds Enter down as the program starts (its menu must show
# and stay; Ctrl+C goes back to the shell). Then marbek, alone and in tmux there: Down held in the
# menu, then played (terminal_play.py), and W typed into another window; then Ctrl+Z and fg in
# tmux. Prints what it measured. Usage: e2e_x11.py MARBEK TOLVAN ZIRAVO...
# Depends on: terminal_play.py, Xvfb, xterm, xdotool, xset, tmux, bash, libvterm, python3.
import os, sys
from terminal_play import LIMITS, SHELL, Shell, check, end, run, start_x, trace, until

LIMITS = dict(LIMITS, **{"menu CPU %": 10, "menu arrow s": 0.3, "tap degrees": 12,
                         "hold stall s": 0.06, "W elsewhere moves": 0})
TMUX = ["tmux", "-S", "socket", "-f", "tmux.conf"]


def cpu_seconds(pid):  # user and system time
    return sum(map(int, open(f"/proc/{pid}/stat").read().rsplit(")", 1)[1].split()[11:13]))


def child(pid):
    return int(until(f"a child of {pid}", lambda: open(f"/proc/{pid}/task/{pid}/children").read()))


def menu(screen, pid):
    """CPU used and the arrow's delay while Down is held 2 s in the menu."""
    used = cpu_seconds(pid)
    samples, (down, _) = trace(screen.arrow(4), [(0, "keydown Down"), (2, "keyup Down")], 2.05)
    figures = {"menu CPU %": (cpu_seconds(pid) - used) / os.sysconf("SC_CLK_TCK") / 0.02,
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
    return window


def elsewhere(screen, window, other, figures):
    """W typed into another window must not move."""
    run("xdotool", "windowfocus", "--sync", other)
    x_before = screen.status()[0]
    trace(screen.status, [(0, "keydown w"), (0.5, "keyup w")], 0.8)
    figures["W elsewhere moves"] = abs(screen.status()[0] - x_before)
    run("xdotool", "windowfocus", "--sync", window)
    return []


def suspend_and_resume(screen):
    tmux = lambda *args: run(*TMUX, *args).stdout.strip()
    flags = lambda: tmux("display", "-p", "#{cursor_flag}#{alternate_on}#{mouse_any_flag}")
    run("xdotool", "key", "ctrl+z")
    until("the shell after Ctrl+Z", lambda: flags() == "100")
    tmux("send-keys", "stty -g > after", "Enter")
    until("stty", lambda: os.path.exists("after") and os.path.getsize("after"))
    failures = [] if open("before").read() == open("after").read() else ["Ctrl+Z: stty"]
    tmux("send-keys", "fg", "Enter")
    until("the game after fg", lambda: flags() == "011")
    until("a full frame after fg", lambda: screen.blocks(39), 2)
    return failures


def x11(workdir):
    os.environ.pop("TMUX", None)
    open("tmux.conf", "w").write(f"set -g default-command '{SHELL}'\n")
    started = [start_x()]
    try:
        other = xterm(started, "other", "sleep", "300")
        window = xterm(started, "shell", *SHELL.split())
        shell, failures = Shell("shell"), []
        for program in ("tolvan", "ziravo", "marbek"):
            for hold in (0.04, 0.15):
                shell.shown and shell.quit()
                failures += shell.launch(program, hold)
        if failures:  # the game may be running where the menu should be
            return failures
        figures = menu(shell.screen, child(child(started[2].pid)))
        then = lambda figures: elsewhere(shell.screen, window, other, figures)
        failures += shell.play("xterm", figures, LIMITS, then)
        run("xdotool", "type", " ".join(TMUX))
        run("xdotool", "key", "Return")
        until("the shell in tmux", lambda: run(*TMUX, "display", "-p", "#{pane_pid}").stdout)
        run(*TMUX, "send-keys", "stty -g > before; marbek", "Enter")
        until("the menu", shell.screen.arrow(2))  # stty has come and gone by then
        pane = int(run(*TMUX, "display", "-p", "#{pane_pid}").stdout)
        figures = menu(shell.screen, child(pane))
        failures += shell.play("tmux in xterm", figures, LIMITS,
                               lambda figures: then(figures) + suspend_and_resume(shell.screen))
        return failures
    finally:
        run(*TMUX, "kill-server")
        for process in started:
            end(process.pid)
            process.wait()


if __name__ == "__main__":
    sys.exit(check(["Xvfb", "xterm", "xdotool", "xset", "tmux"], x11))
