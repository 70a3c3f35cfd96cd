#!/usr/bin/env python3
# What a person does in a real terminal, for the checks of xterm, foot and GNOME Terminal: launch
# a program from a shell with Enter held (its menu must show and stay), start the game, walk with
# W+D together, tap and hold Right, and quit with Ctrl+C back to the prompt. Keys are xdotool's
# (or, in a Wayland compositor, what stands in for it on the PATH); the screen is e2e_x11's,
# rebuilt from a log of what the terminal shows.
# Depends on: e2e_x11.py, Xvfb and xset (for start_x), python3.
import os, shutil, subprocess, sys, tempfile, time
from e2e_x11 import Screen, hold_right, run, trace, until

PROMPT = "ready> "
SHELL = "bash --norc --noprofile"  # with PS1 set to PROMPT in its environment
LIMITS = {"tap degrees": 15, "stop after release s": 0.1, "W+D short of the walls": 0.01}


def skip(reason):
    print(f"SKIPPED: {reason}")
    sys.exit(77)


def check(tools, body):
    """Runs body() in a new directory, on the PATH, holding copies of the programs named on the
    command line (any user may run them there); prints the failures it returns and gives the exit
    status."""
    if missing := [tool for tool in tools if not shutil.which(tool)]:
        skip(f"not installed: {' '.join(missing)}")
    programs = list(map(os.path.abspath, sys.argv[1:]))
    with tempfile.TemporaryDirectory() as workdir:
        os.chdir(workdir)
        for program in programs:
            shutil.copy(program, ".")
        os.environ.update(PATH=f"{workdir}:{os.environ['PATH']}", PS1=PROMPT, LANG="C.UTF-8")
        failures = body(workdir)
    print("\n".join(failures) or "all checks passed")
    return 1 if failures else 0


def start_x():
    read, write = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-noreset", "-nolisten", "tcp"],
                            pass_fds=[write], stderr=subprocess.DEVNULL)
    os.environ["DISPLAY"] = ":" + os.read(read, 16).decode().strip()
    run("xset", "r", "rate", "660", "25")
    return xvfb


def end(pid):
    """Kills a process and all its descendants, each by its id."""
    family = [pid]
    for parent in family:
        if os.path.exists(children := f"/proc/{parent}/task/{parent}/children"):
            family += map(int, open(children).read().split())
    subprocess.run(["kill", "-9", *map(str, family)], stderr=subprocess.DEVNULL)


class Shell:
    """A shell in a terminal, its screen read from the terminal's log."""

    def __init__(self, log):
        self.log, self.screen, self.shown = log, Screen(log), 0

    send = staticmethod(lambda words: run("xdotool", *words.split(), wait=False))

    def prompts(self):
        """The prompts shown so far, then the line typed after the last."""
        log = open(self.log, "rb").read() if os.path.exists(self.log) else b""
        return log.count(PROMPT.encode()), log.rsplit(PROMPT.encode())[-1]

    def launch(self, program, hold):
        """Types the program's name and holds Enter; the menu must show within half a second and
        stay over a second."""
        self.shown = until("the prompt", lambda: self.prompts()[0])
        # Typed anew until it shows: a terminal just started (foot, tmux) can drop the first keys.
        until(f"{program} typed", lambda: [self.send(f"key ctrl+u type {program}"), time.sleep(0.3)]
              and self.prompts()[1].endswith(program.encode()))
        self.screen.last = None
        samples = trace(lambda: (self.screen.arrow(2)(), self.screen.status()),
                        [(0, f"keydown Return sleep {hold} keyup Return")], 1.2)[0]
        shown = [t for t, (arrow, _) in samples if arrow] or [9]
        if shown[0] < 0.5 and all(arrow and not game for t, (arrow, game) in samples
                                  if t >= shown[0]):
            return []
        return [f"{program}, Enter held {hold * 1000:.0f} ms: "
                + ("the game started" if self.screen.last else "no menu")]

    def quit(self):
        self.send("key ctrl+c")
        until("the prompt after Ctrl+C", lambda: self.prompts()[0] > self.shown, 5)

    def tap(self):
        """Degrees turned by a 50 ms tap of Right, the fewer of two."""
        taps = [trace(self.screen.status, [(0, "keydown Right sleep 0.05 keyup Right")],
                      1.2)[0] for _ in range(2)]
        return min(abs(tap[-1][1][2] - tap[0][1][2]) for tap in taps)

    def play(self, name):
        """From marbek's menu: Enter starts the game, then W+D, taps, holds and Ctrl+C."""
        self.send("key Return")
        until("the first frame", self.screen.status)
        trace(self.screen.status, [(0, "keydown w keydown d"), (1, "keyup w keyup d")], 1.3)
        x, y, _ = self.screen.status()  # both axes walk to a wall: x to row 1's, y to the top
        figures = {"W+D short of the walls": abs(x - 13.25) + y - 1, "tap degrees": self.tap(),
                   "stop after release s": min(hold_right(self.screen)[1] for _ in range(3))}
        self.quit()
        print(name, figures)
        return [f"{name}: {key}" for key, limit in LIMITS.items() if figures[key] > limit]
