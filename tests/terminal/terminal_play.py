#!/usr/bin/env python3
# What a person does in a real terminal, for the checks of xterm, foot and GNOME Terminal: launch
# a program from a shell with Enter held (its menu must show and stay), start the game, walk with
# W+D together, tap and hold Right, and quit with Ctrl+C back to the prompt. Keys go through
# send(), which takes xdotool's words ("keydown Right sleep 0.05 keyup Right"); the screen is
# e2e_x11's, rebuilt from a log of what the terminal shows.
# Depends on: e2e_x11.py, Xvfb (for start_x), python3.
import os, subprocess, sys, time
from e2e_x11 import Screen, run, until

PROMPT = "ready> "
SHELL = "bash --norc --noprofile"  # with PS1 set to PROMPT in its environment
LIMITS = {"tap degrees": 15, "stop after release s": 0.1, "W+D short of the walls": 0.01}


def skip(reason):
    print(f"SKIPPED: {reason}")
    sys.exit(77)


def start_x():
    read, write = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-noreset", "-nolisten", "tcp"],
                            pass_fds=[write], stderr=subprocess.DEVNULL)
    os.environ["DISPLAY"] = ":" + os.read(read, 16).decode().strip()
    run("xset", "r", "rate", "660", "25")
    return xvfb


def end(pid):
    """Ends a process and all its descendants, each by its id."""
    family = [pid]
    for parent in family:
        try:
            family += map(int, open(f"/proc/{parent}/task/{parent}/children").read().split())
        except OSError:
            pass
    for member in family:
        try:
            os.kill(member, 9)
        except OSError:
            pass


def trace(send, probe, actions, seconds):
    """Sends the actions at their times while sampling probe(); returns both."""
    start, samples, sent = time.monotonic(), [], []
    while (now := time.monotonic() - start) < seconds:
        if len(sent) < len(actions) and now >= actions[len(sent)][0]:
            sent.append(now)
            send(actions[len(sent) - 1][1])
        samples.append((now, probe()))
        time.sleep(0.004)
    return samples, sent


class Shell:
    """A shell in a terminal, its screen read from the terminal's log."""

    def __init__(self, log, send):
        self.log, self.send, self.screen, self.prompts = log, send, Screen(log), 0

    def raw(self):
        return open(self.log, "rb").read() if os.path.exists(self.log) else b""

    def launch(self, program, hold):
        """Types the program's name and presses Enter for `hold` seconds; its menu must show
        within half a second and stay a second, the game not started."""
        self.prompts = until("the prompt", lambda: self.raw().count(PROMPT.encode()))
        self.send(f"type {program}")
        until(f"{program} typed", lambda: program.encode() in self.raw().rsplit(PROMPT.encode())[-1])
        self.screen.last = None
        samples, _ = trace(self.send, lambda: (self.screen.arrow(2)(), self.screen.status()),
                           [(0, f"keydown Return sleep {hold} keyup Return")], 1.5)
        shown = [t for t, (arrow, _) in samples if arrow] or [9]
        kept = all(arrow and not game for t, (arrow, game) in samples if t >= shown[0])
        return [] if shown[0] < 0.5 and kept else [f"{program}, Enter held {hold * 1000:.0f} ms: "
                                                   + ("the game started" if self.screen.last else
                                                      "the menu did not stay")]

    def quit(self):
        self.send("key ctrl+c")
        until("the prompt after Ctrl+C", lambda: self.raw().count(PROMPT.encode()) > self.prompts, 5)

    def tap(self):
        """Degrees turned by a 50 ms tap of Right, the fewer of two."""
        taps = [trace(self.send, self.screen.status, [(0, "keydown Right sleep 0.05 keyup Right")],
                      1.2)[0] for _ in range(2)]
        return min(abs(tap[-1][1][2] - tap[0][1][2]) for tap in taps)

    def stop(self):
        """Seconds the view turns on after Right, held 1.2 s, is let go."""
        samples, (_, up) = trace(self.send, self.screen.status,
                                 [(0, "keydown Right"), (1.2, "keyup Right")], 1.6)
        turns = [t for (t, s), (_, was) in zip(samples[1:], samples) if s != was]
        return turns[-1] - up if turns else 9

    def play(self, name):
        """From the menu of marbek: Enter starts the game, then W+D, taps, holds and Ctrl+C."""
        self.send("key Return")
        until("the first frame", self.screen.status)
        trace(self.send, self.screen.status, [(0, "keydown w keydown d"), (1, "keyup w keyup d")], 1.3)
        # Both axes walk until a wall stops each: x at row 1's wall, y at the level's top.
        figures = {"W+D short of the walls": abs(self.screen.status()[0] - 13.25) + self.screen.status()[1] - 1,
                   "tap degrees": self.tap(), "stop after release s": min(self.stop() for _ in range(3))}
        self.quit()
        print(name, figures)
        return [f"{name}: {key}" for key, limit in LIMITS.items() if figures[key] > limit]
