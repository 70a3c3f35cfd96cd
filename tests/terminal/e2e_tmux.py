#!/usr/bin/env python3
# The three programs end to end in a real terminal (tmux, which has no kitty keyboard protocol,
# so the repeat-linger path is what runs): menu, Settings with "80 25", a game moved and turned
# with the keys, then Ctrl+C, SIGTERM or SIGHUP, after which tmux's own flags must show the
# terminal given back. Usage: e2e_tmux.py MARBEK TOLVAN ZIRAVO. Depends on: tmux, python3.
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

TITLES = {"marbek": "=== Brumvoke ===", "tolvan": "=== Skarnfell ===", "ziravo": "=== Zorvel's Map ==="}
WIDTH, HEIGHT = 120, 41
SOCKET = None  # a private server's socket inside the run's temporary directory
ENV = dict(os.environ, TERM="xterm-256color", LANG="C.UTF-8", LC_ALL="C.UTF-8")
ENV.pop("TMUX", None)


class Failure(Exception):
    pass


def tmux(*args, check=True):
    result = subprocess.run(["tmux", "-S", SOCKET, "-f", "/dev/null", *args], env=ENV,
                            capture_output=True, text=True, timeout=10)
    if check and result.returncode != 0:
        raise Failure(f"tmux {' '.join(args)}: {result.stderr.strip()}")
    return result.stdout


def screen():
    return tmux("capture-pane", "-p", "-t", "game").split("\n")[:HEIGHT]


def flags():
    return tmux("display-message", "-p", "-t", "game",
                "#{cursor_flag} #{alternate_on} #{mouse_any_flag} #{mouse_sgr_flag} "
                "#{mouse_standard_flag} #{mouse_button_flag}").split()


def wait_for(what, predicate, timeout=15.0):
    deadline = time.monotonic() + timeout
    while True:
        lines = screen()
        if predicate(lines):
            return lines
        if time.monotonic() > deadline:
            raise Failure(f"timed out waiting for {what}; the screen was:\n" + "\n".join(lines))
        time.sleep(0.05)


def keys(*names):
    tmux("send-keys", "-t", "game", *names)


def status_line(lines):
    match = re.match(r"X:(\S+) Y:(\S+) A:(\S+)", lines[0])
    return match.groups() if match else None


def arrow_row(lines):
    rows = [y for y, line in enumerate(lines) if line[10:13] == "<--"]
    return rows[0] if len(rows) == 1 else None


def child_of(parent):
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open(f"/proc/{entry}/stat") as stat:
                    fields = stat.read().rsplit(")", 1)[1].split()
            except OSError:
                continue
            if int(fields[1]) == parent:
                return int(entry)
    raise Failure(f"no program runs under the pane's shell {parent}")


def play(name, path, workdir, ending):
    log = os.path.join(workdir, f"{name}.status")
    saved = os.path.join(workdir, f"{name}.stty")
    # The wrapper records the terminal settings before and after, and the program's status.
    command = (f"stty -g > {saved}.before; {path}; echo $? > {log}; "
               f"stty -g > {saved}.after; sleep 30")
    tmux("new-session", "-d", "-s", "game", "-x", str(WIDTH), "-y", str(HEIGHT), command)
    title = TITLES[name]
    wait_for("the menu", lambda s: s[0].startswith(title) and arrow_row(s) == 2)
    if flags()[:3] != ["0", "1", "1"]:
        raise Failure(f"{name}: in play the cursor should be hidden, the alternate screen and "
                      f"mouse reporting on; flags are {flags()}")

    keys("Down")
    wait_for("the arrow on Settings", lambda s: arrow_row(s) == 4)
    keys("Up")
    wait_for("the arrow on Run DEMO", lambda s: arrow_row(s) == 2)
    keys("Down")
    wait_for("the arrow on Settings", lambda s: arrow_row(s) == 4)
    keys("Enter")
    wait_for("the width question", lambda s: s[2].rstrip() == "Width?")
    keys("8", "0", "x", "BSpace", " ", "2", "5")
    wait_for("the echo", lambda s: s[2] == "Width? 80 25")
    keys("Enter")
    wait_for("the resolution message", lambda s: "Set resolution: 80x25" in s[4])
    wait_for("the menu after Settings", lambda s: s[0].startswith(title) and arrow_row(s) == 4)
    keys("Up")
    wait_for("the arrow on Run DEMO", lambda s: arrow_row(s) == 2)
    keys("Enter")
    first = wait_for("the first frame", lambda s: status_line(s) is not None and "█" in "".join(s))
    if any(line[80:].strip() for line in first) or any(line.strip() for line in first[25:]):
        raise Failure(f"{name}: an 80x25 frame drew outside its 80 columns and 25 rows")

    start = status_line(first)
    keys("w")
    wait_for("a step", lambda s: status_line(s) and status_line(s)[:2] != start[:2], 5)
    keys("Right")
    wait_for("a turn", lambda s: status_line(s) and status_line(s)[2] != start[2], 5)

    if ending == "ctrl-c":
        keys("C-c")
        expected_status = "130"
    else:
        pid = int(tmux("display-message", "-p", "-t", "game", "#{pane_pid}"))
        program = child_of(pid)
        os.kill(program, getattr(signal, ending))
        expected_status = str(128 + getattr(signal, ending))
    deadline = time.monotonic() + 10
    while not os.path.exists(log) or not open(log).read().strip():
        if time.monotonic() > deadline:
            raise Failure(f"{name}: did not end after {ending}")
        time.sleep(0.05)
    time.sleep(0.2)
    status = open(log).read().strip()
    if status != expected_status:
        raise Failure(f"{name}: exit status {status} after {ending}, expected {expected_status}")
    if flags() != ["1", "0", "0", "0", "0", "0"]:
        raise Failure(f"{name}: terminal not given back after {ending}: cursor, alternate screen, "
                      f"mouse flags are {flags()}")
    if open(saved + ".before").read() != open(saved + ".after").read():
        raise Failure(f"{name}: the terminal settings differ after {ending}")
    tmux("kill-session", "-t", "game")
    print(f"{name}: menu, Settings 80 25, walk and turn, {ending}: terminal given back")


def main():
    if len(sys.argv) != 4:
        print("usage: e2e_tmux.py MARBEK TOLVAN ZIRAVO", file=sys.stderr)
        return 2
    if shutil.which("tmux") is None:
        print("e2e_tmux.py: tmux is not installed", file=sys.stderr)
        return 1
    programs = dict(zip(["marbek", "tolvan", "ziravo"], sys.argv[1:]))
    endings = {"marbek": "ctrl-c", "tolvan": "SIGTERM", "ziravo": "SIGHUP"}
    global SOCKET
    with tempfile.TemporaryDirectory() as workdir:
        SOCKET = os.path.join(workdir, "tmux")
        try:
            for name, path in programs.items():
                play(name, path, workdir, endings[name])
        except Failure as failure:
            print(f"FAILED: {failure}", file=sys.stderr)
            return 1
        finally:
            tmux("kill-server", check=False)
    return 0


if __name__ == "__main__":
    sys.exit(main())
