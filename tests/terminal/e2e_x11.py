#!/usr/bin/env python3
# marbek in xterm on a virtual X display, alone and in tmux, driven by real key events (XTEST)
# at X's default repeat (660 ms, 25/s): Down held in the menu, W+D together, a short tap, a long
# hold, W typed into another window; then Ctrl+Z and fg in tmux. The screen is read from
# xterm's log through libvterm. Prints what it measured. Usage: e2e_x11.py MARBEK.
# Depends on: Xvfb, xterm, xdotool, xset, tmux, libvterm, python3.
import ctypes, os, re, subprocess, sys, tempfile, time

VT = ctypes.CDLL("libvterm.so.0")
VT.vterm_new.restype = VT.vterm_obtain_screen.restype = ctypes.c_void_p
LIMITS = {"menu CPU %": 10, "menu arrow s": 0.3, "tap degrees": 12, "hold stall s": 0.06,
          "stop after release s": 0.1, "W+D short of the walls": 0.01, "W elsewhere moves": 0}


Rect = type("Rect", (ctypes.Structure,), {"_fields_": [(side, ctypes.c_int) for side in "tblr"]})
Pos = type("Pos", (ctypes.Structure,), {"_fields_": [("row", ctypes.c_int), ("col", ctypes.c_int)]})


def until(what, predicate, timeout=15):
    deadline = time.monotonic() + timeout
    while not (result := predicate()):
        if time.monotonic() > deadline:
            sys.exit(f"FAILED: timed out waiting for {what}")
        time.sleep(0.02)
    return result


class Screen:
    """What an xterm shows, rebuilt from its log as the bytes come."""
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


def run(*args, wait=True):
    run = subprocess.run if wait else subprocess.Popen
    return run(args, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)


def trace(probe, actions, seconds):
    """Runs xdotool actions at their times while sampling probe(); returns both."""
    start, samples, launched = time.monotonic(), [], []
    while (now := time.monotonic() - start) < seconds:
        if len(launched) < len(actions) and now >= actions[len(launched)][0]:
            launched.append(now)
            run("xdotool", *actions[len(launched) - 1][1].split(), wait=False)
        samples.append((now, probe()))
        time.sleep(0.004)
    return samples, launched


def hold_right(screen):
    samples, (_, up) = trace(screen.status, [(0, "keydown Right"), (1.2, "keyup Right")], 1.6)
    turns = [t for (t, s), (_, was) in zip(samples[1:], samples) if s != was]
    stall = max([b - a for a, b in zip(turns, turns[1:]) if b < up] or [9])
    return stall, turns[-1] - up if turns else 9


def cpu_seconds(pid):  # user and system time
    return sum(map(int, open(f"/proc/{pid}/stat").read().rsplit(")", 1)[1].split()[11:13]))


def play(name, screen, pid, other_window):
    until("the menu", screen.arrow(2))
    used, figures = cpu_seconds(pid), {}
    samples, (down, _) = trace(screen.arrow(4), [(0, "keydown Down"), (2, "keyup Down")], 2.05)
    figures["menu CPU %"] = (cpu_seconds(pid) - used) / os.sysconf("SC_CLK_TCK") / 0.02
    figures["menu arrow s"] = min([t for t, shown in samples if shown] or [9]) - down
    run("xdotool", "key", "Up")
    until("the arrow back", screen.arrow(2))
    run("xdotool", "key", "Return")
    until("the first frame", screen.status)
    trace(screen.status, [(0, "keydown w keydown d"), (1, "keyup w keyup d")], 1.3)
    # Both axes walk until a wall stops each: x at row 1's wall, y at the level's top.
    figures["W+D short of the walls"] = abs(screen.status()[0] - 13.25) + screen.status()[1] - 1
    taps = [trace(screen.status, [(0, "keydown Right sleep 0.05 keyup Right")], 1.2)[0]
            for _ in range(2)]
    figures["tap degrees"] = min(abs(tap[-1][1][2] - tap[0][1][2]) for tap in taps)
    # A frame can be late on a loaded machine; a fault in the key state shows every time.
    holds = [hold_right(screen) for _ in range(3)]
    figures["hold stall s"], figures["stop after release s"] = min(holds)[0], min(holds)[1]
    run("xdotool", "windowfocus", "--sync", other_window)
    x_before = screen.status()[0]
    trace(screen.status, [(0, "keydown w"), (0.5, "keyup w")], 0.8)
    figures["W elsewhere moves"] = abs(screen.status()[0] - x_before)
    print(name, figures)
    return [f"{name}: {key}" for key, limit in LIMITS.items() if figures[key] > limit]


def xterm(name, *command):
    terminal = run("xterm", "-geometry", "120x41", "-l", "-lf", name, "-e", *command, wait=False)
    window = until(f"xterm {name}", lambda: os.path.exists(name) and run(
        "xdotool", "search", "--pid", str(terminal.pid)).stdout.split())[0]
    run("xdotool", "windowfocus", "--sync", window)
    return terminal, Screen(name), window


def suspend_and_resume(tmux, screen):
    flags = lambda: tmux("display", "-p", "#{cursor_flag}#{alternate_on}#{mouse_any_flag}")
    run("xdotool", "key", "ctrl+z")
    until("the shell after Ctrl+Z", lambda: flags() == "100")
    tmux("send-keys", "stty -g > after", "Enter")
    until("stty", lambda: os.path.exists("after") and os.path.getsize("after"))
    failures = [] if open("before").read() == open("after").read() else ["Ctrl+Z: stty"]
    tmux("send-keys", "fg", "Enter")
    until("the game after fg", lambda: flags() == "011")
    return failures + ([] if until("a full frame", lambda: screen.blocks(39), 2) else ["fg: frame"])


def main():
    marbek = os.path.abspath(sys.argv[1])
    os.environ.pop("TMUX", None)
    with tempfile.TemporaryDirectory() as workdir:
        os.chdir(workdir)
        read, write = os.pipe()
        started = [subprocess.Popen(["Xvfb", "-displayfd", str(write), "-noreset", "-nolisten", "tcp"],
                                    pass_fds=[write], stderr=subprocess.DEVNULL)]
        os.environ["DISPLAY"] = ":" + os.read(read, 16).decode().strip()
        tmux = lambda *args: run("tmux", "-S", "socket", "-f", "/dev/null", *args).stdout.strip()
        try:
            run("xset", "r", "rate", "660", "25")
            other = xterm("other", "sleep", "300")
            started += [other[0], xterm("direct", "sh", "-c", f"echo $$ > pid; exec {marbek}")[0]]
            pid = until("the pid", lambda: os.path.exists("pid") and open("pid").read())
            failures = play("xterm", Screen("direct"), int(pid), other[2])
            started[-1].kill()
            terminal, screen, window = xterm("tmux", "tmux", "-S", "socket", "-f", "/dev/null",
                                             "new-session", "bash --norc --noprofile")
            started.append(terminal)
            until("the shell", lambda: tmux("display", "-p", "#{pane_pid}"))
            tmux("send-keys", f"stty -g > before; {marbek}", "Enter")
            until("the menu", screen.arrow(2))  # stty has come and gone by then
            shell = tmux("display", "-p", "#{pane_pid}")
            pid = until("marbek", lambda: open(f"/proc/{shell}/task/{shell}/children").read())
            failures += play("tmux in xterm", screen, int(pid), other[2])
            run("xdotool", "windowfocus", "--sync", window)
            failures += suspend_and_resume(tmux, screen)
        finally:
            tmux("kill-server")
            for process in started:
                process.kill()
                process.wait()
    print("\n".join(failures) or "all checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
