#!/usr/bin/env python3
# What a person does in a real terminal, for the checks of xterm, foot and GNOME Terminal: launch
# a program from a shell with Enter held (its menu must show and stay), start the game, walk with
# W+D together, tap and hold Right, and quit with Ctrl+C back to the prompt. Keys are xdotool's
# (or, in a Wayland compositor, its words sent to a virtual keyboard) at the default repeat (660
# ms, 25/s); the screen is rebuilt through libvterm from a log of what the terminal shows.
# Depends on: libvterm, Xvfb and xset (for start_x), python3.
import ctypes, os, re, shutil, subprocess, sys, tempfile, time

VT = ctypes.CDLL("libvterm.so.0")
VT.vterm_new.restype = VT.vterm_obtain_screen.restype = ctypes.c_void_p
PROMPT = "ready> "
SHELL = "bash --norc --noprofile"  # with PS1 set to PROMPT in its environment
LIMITS = {"tap degrees": 15, "stop after release s": 0.1, "W+D short of the walls": 0.01}
Rect = type("Rect", (ctypes.Structure,), {"_fields_": [(side, ctypes.c_int) for side in "tblr"]})
Pos = type("Pos", (ctypes.Structure,), {"_fields_": [("row", ctypes.c_int), ("col", ctypes.c_int)]})


def until(what, predicate, timeout=15, give_up=lambda why: sys.exit(f"FAILED: {why}")):
    deadline = time.monotonic() + timeout
    while not (result := predicate()):
        if time.monotonic() > deadline:
            give_up(f"timed out waiting for {what}")
        time.sleep(0.02)
    return result


class Screen:
    """What a terminal shows, rebuilt from its log as the bytes come."""
    def __init__(self, log):
        self.log, self.offset, self.last = log, 0, None
        self.vt = ctypes.c_void_p(VT.vterm_new(41, 120))
        VT.vterm_set_utf8(self.vt, 1)
        self.screen = ctypes.c_void_p(VT.vterm_obtain_screen(self.vt))
        VT.vterm_screen_reset(self.screen, 1)

    def row(self, number):
        with open(self.log, "rb") as log:
            log.seek(self.offset)
            data = log.read()
        self.offset += len(data)
        VT.vterm_input_write(self.vt, data, ctypes.c_size_t(len(data)))
        text = ctypes.create_string_buffer(400)
        n = VT.vterm_screen_get_text(self.screen, text, 400, Rect(number, number + 1, 0, 120))
        return text.raw[:n].decode(errors="replace")

    def blocks(self, number):
        """The row's cells showing a block: its glyph, or a space painted white (or grey, as tmux
        draws bright white for a terminal of 8 colours)."""
        self.row(number)  # takes in what has come
        # A VTermScreenCell: 6 characters, width, attributes, then the colours (background at 36).
        cell, shown = ctypes.create_string_buffer(40), 0
        for column in range(120):
            VT.vterm_screen_get_cell(self.screen, Pos(number, column), cell)
            shown += cell.raw[:4] == b"\x88\x25\0\0" or cell.raw[36:38] in (b"\1\7", b"\1\x0f")
        return shown

    def status(self):
        # A row read halfway through a frame's update keeps the last whole status line.
        match = re.match(r"X:([-\d.]+) Y:([-\d.]+) A:([-\d.]+) ", self.row(0))
        self.last = tuple(map(float, match.groups())) if match else self.last
        return self.last

    def arrow(self, row):
        return lambda: self.row(row)[10:13] == "<--"


def cpu_ticks(pid):
    """The clock ticks a process has run, in user and system time."""
    return sum(map(int, open(f"/proc/{pid}/stat").read().rsplit(")", 1)[1].split()[11:13]))


def run(*args, wait=True):
    run = subprocess.run if wait else subprocess.Popen
    return run(args, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)


def trace(probe, actions, seconds, send=lambda words: run("xdotool", *words.split(), wait=False)):
    """Sends keys at their times while sampling probe(); returns both."""
    start, samples, launched = time.monotonic(), [], []
    while (now := time.monotonic() - start) < seconds:
        if len(launched) < len(actions) and now >= actions[len(launched)][0]:
            launched.append(now)
            send(actions[len(launched) - 1][1])
        samples.append((now, probe()))
        time.sleep(0.004)
    return samples, launched


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
    # A compositor or terminal ending as the check does may still be writing in the folder.
    with tempfile.TemporaryDirectory(ignore_cleanup_errors=True) as workdir:
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
    os.close(write)  # so that the read ends if the server does
    os.environ["DISPLAY"] = ":" + os.read(read, 16).decode().strip()
    if os.environ["DISPLAY"] == ":":
        xvfb.wait()
        skip("the X server did not start")
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

    def trace(self, actions, seconds):
        return trace(self.screen.status, actions, seconds, self.send)

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
                        [(0, f"keydown Return sleep {hold} keyup Return")], 1.2, self.send)[0]
        shown = [t for t, (arrow, _) in samples if arrow] or [9]
        if shown[0] < 0.5 and all(arrow and not game for t, (arrow, game) in samples
                                  if t >= shown[0]):
            return []
        return [f"{program}, Enter held {hold * 1000:.0f} ms: "
                + ("the game started" if self.screen.last else "no menu")]

    def quit(self):
        self.send("key ctrl+c")
        until("the prompt after Ctrl+C", lambda: self.prompts()[0] > self.shown, 5)

    def hold_right(self):
        """The longest pause in the turn while Right is held 1.2 s, and the turn after release."""
        samples, (_, up) = self.trace([(0, "keydown Right"), (1.2, "keyup Right")], 1.6)
        turns = [t for (t, s), (_, was) in zip(samples[1:], samples) if s != was]
        stall = max([b - a for a, b in zip(turns, turns[1:]) if b < up] or [9])
        return stall, turns[-1] - up if turns else 9

    def play(self, name, figures=None, limits=LIMITS):
        """From marbek's menu: Enter starts the game, then W+D, taps, holds, Ctrl+C."""
        self.send("key Return")
        until("the first frame", self.screen.status)
        self.trace([(0, "keydown w keydown d"), (1, "keyup w keyup d")], 1.3)
        x, y, _ = self.screen.status()  # both axes walk to a wall: x to row 1's, y to the top
        taps = [self.trace([(0, "keydown Right sleep 0.05 keyup Right")], 1.2)[0] for _ in "ab"]
        # A frame can be late on a loaded machine; a fault in the key state shows every time.
        holds = [self.hold_right() for _ in "abc"]
        turned = min(abs(tap[-1][1][2] - tap[0][1][2]) for tap in taps)
        figures = dict(figures or {}, **{"W+D short of the walls": abs(x - 13.25) + y - 1,
                                         "tap degrees": turned,
                                         "hold stall s": min(hold[0] for hold in holds),
                                         "stop after release s": min(hold[1] for hold in holds)})
        self.quit()
        print(name, figures)
        return [f"{name}: {key}" for key, limit in limits.items() if figures[key] > limit]
