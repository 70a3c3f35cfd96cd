#!/usr/bin/env python3
# The three programs end to end in a real terminal (tmux, which has no kitty keyboard protocol,
# so the repeat-linger path is what runs): the menu's arrow, a game moved and turned with the
# keys (marbek's first frame cell for cell as the replay prints it, a block being a space painted
# white, each row as far as tmux's capture reaches: it leaves out cells erased after a row's last
# written one), then Ctrl+C, after which tmux's own flags and stty must show the terminal given
# back. (The way out by every other road is checked byte for byte on a pseudo-terminal.)
# Usage: e2e_tmux.py MARBEK TOLVAN ZIRAVO REPLAY.
# Depends on: terminal_play.py, tmux, python3.
import os, re, subprocess, sys, time
from terminal_play import check, until

TITLES = {"marbek": "=== Brumvoke ===", "tolvan": "=== Skarnfell ===", "ziravo": "=== Zorvel's Map ==="}
ENV = dict(os.environ, TERM="xterm-256color", LANG="C.UTF-8", LC_ALL="C.UTF-8")
ENV.pop("TMUX", None)
FLAGS = "#{cursor_flag} #{alternate_on} #{mouse_any_flag} #{mouse_sgr_flag} #{mouse_standard_flag}"


def fail(why):
    sys.exit(f"FAILED: {why}")


def tmux(*args):
    result = subprocess.run(["tmux", "-S", SOCKET, "-f", "/dev/null", *args], env=ENV,
                            capture_output=True, text=True, timeout=10)
    if result.returncode != 0:
        fail(f"tmux {' '.join(args)}: {result.stderr.strip()}")
    return result.stdout


def screen():
    """The pane's rows as the replay prints a frame: a block's glyph or white space is '#'."""
    rows, white = [], False
    for line in tmux("capture-pane", "-p", "-e", "-N", "-t", SESSION).split("\n")[:41]:
        rows.append("")
        for parameters, char in re.findall(r"\x1b\[([\d;]*)m|(.)", line):
            for parameter in [] if char else parameters.split(";"):
                if re.fullmatch(r"0?|4\d|10\d", parameter):
                    white = parameter == "107"
            rows[-1] += "#" if char == "█" or char == " " and white else char
    return [row.rstrip() for row in rows]


def wait_for(what, predicate, timeout=15.0, look=screen):
    return until(what, lambda: (found := look()) and predicate(found) and found, timeout,
                 lambda why: fail(f"{why}; the screen was:\n" + "\n".join(screen())))


def keys(*names):
    tmux("send-keys", "-t", SESSION, *names)


def status(lines):
    match = re.match(r"X:(\S+) Y:(\S+) A:(\S+)", lines[0])
    return match.groups() if match else None


def arrow_on(row):
    return lambda lines: [y for y, line in enumerate(lines) if line[10:13] == "<--"] == [row]


def run(name, workdir):
    # Each run in a session of its own: the server stays up from the first to the last.
    global SESSION
    SESSION = name
    log = os.path.join(workdir, SESSION)
    # The wrapper records the terminal settings before and after, and the program's status.
    tmux("new-session", "-d", "-s", SESSION, "-x", "120", "-y", "41", f"stty -g > {log}.before;"
         f" {workdir}/{name}; echo $? > {log}; stty -g > {log}.after; sleep 30")
    wait_for("the menu", lambda s: s[0].startswith(TITLES[name]) and arrow_on(2)(s))
    if tmux("display-message", "-p", "-t", SESSION, FLAGS).split()[:3] != ["0", "1", "1"]:
        fail(f"{name}: the cursor should be hidden, the alternate screen and mouse on")
    for key, row in ("Down", 4), ("Up", 2):
        keys(key)
        wait_for(f"the arrow on row {row}", arrow_on(row))
    keys("Enter")
    first = lambda s: status(s) and "#" in "".join(s) and (
        name != "marbek" or all(row.startswith(shown) for shown, row in zip(s, FIRST_FRAME)))
    start = status(wait_for("the first frame", first, 5))
    keys("w")
    wait_for("a step", lambda s: status(s) and status(s)[:2] != start[:2], 5)
    keys("Right")
    wait_for("a turn", lambda s: status(s) and status(s)[2] != start[2], 5)
    keys("C-c")
    ended = wait_for("the end by Ctrl+C", lambda s: s.strip(), 10, lambda: open(log).read()
                     if os.path.exists(log) and os.path.exists(log + ".after") else "")
    time.sleep(0.2)
    if ended.strip() != "130":  # 128 + SIGINT
        fail(f"{name}: exit status {ended.strip()} after Ctrl+C")
    if tmux("display-message", "-p", "-t", SESSION, FLAGS).split() != ["1", "0", "0", "0", "0"]:
        fail(f"{name}: terminal not given back after Ctrl+C")
    if open(log + ".before").read() != open(log + ".after").read():
        fail(f"{name}: the terminal settings differ after Ctrl+C")
    print(f"{name}: Ctrl+C: terminal given back")


def e2e(workdir):
    global SOCKET, FIRST_FRAME
    SOCKET = os.path.join(workdir, "tmux")
    FIRST_FRAME = subprocess.run(["./replay", "marbek", "--frames", "1", "--print", "last"],
                                 capture_output=True, text=True).stdout.split("\n")[1:41] + [""]
    try:
        for name in TITLES:
            run(name, workdir)
    finally:
        subprocess.run(["tmux", "-S", SOCKET, "kill-server"], capture_output=True)
    return []


if __name__ == "__main__":
    sys.exit(check(["tmux"], e2e))
