#!/usr/bin/env python3
# marbek in xterm on a virtual X display, alone and in tmux, driven by real key events (XTEST)
# at X's default repeat (660 ms, 25/s): a short tap, a long hold, W+D together, keys typed
# into another window, Down held in the menu; then Ctrl+Z and fg in tmux. The screen is read
# from xterm's log through libvterm. Usage: e2e_x11.py MARBEK. Depends on: Xvfb, xterm,
# xdotool, xset, tmux, libvterm, python3.
import ctypes, os, re, subprocess, sys, tempfile, time

VT = ctypes.CDLL("libvterm.so.0")
VT.vterm_new.restype = VT.vterm_obtain_screen.restype = ctypes.c_void_p


class Rect(ctypes.Structure):
    _fields_ = [(name, ctypes.c_int) for name in ("top", "bottom", "left", "right")]


class Screen:
    """What the xterm shows, rebuilt from its log as the bytes come."""
    def __init__(self, log):
        self.log, self.offset = log, 0
        self.vt = ctypes.c_void_p(VT.vterm_new(41, 120))
        VT.vterm_set_utf8(self.vt, 1)
        self.screen = ctypes.c_void_p(VT.vterm_obtain_screen(self.vt))
        VT.vterm_screen_reset(self.screen, 1)

    def rows(self):
        with open(self.log, "rb") as log:
            log.seek(self.offset)
            data = log.read()
        self.offset += len(data)
        VT.vterm_input_write(self.vt, data, ctypes.c_size_t(len(data)))
        text = ctypes.create_string_buffer(200)
        rows = []
        for row in range(41):
            n = VT.vterm_screen_get_text(self.screen, text, 200, Rect(row, row + 1, 0, 120))
            rows.append(text.raw[:n].decode(errors="replace"))
        return rows

    def status(self):
        match = re.match(r"X:([-\d.]+) Y:([-\d.]+) A:([-\d.]+) ", self.rows()[0])
        return tuple(map(float, match.groups())) if match else None

    def wait(self, what, predicate, timeout=15):
        deadline = time.monotonic() + timeout
        while not predicate(self.rows()):
            if time.monotonic() > deadline:
                sys.exit(f"timed out waiting for {what}:\n" + "\n".join(self.rows()))
            time.sleep(0.02)


def x(*args, wait=True):
    run = subprocess.run if wait else subprocess.Popen
    return run(args, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)


def trace(probe, actions, seconds):
    """Runs xdotool key actions at their times while sampling probe(); returns both."""
    start, samples, launched = time.monotonic(), [], []
    while (now := time.monotonic() - start) < seconds:
        if len(launched) < len(actions) and now >= actions[len(launched)][0]:
            launched.append(now)
            x("xdotool", *actions[len(launched) - 1][1].split(), wait=False)
        samples.append((now, probe()))
        time.sleep(0.004)
    return samples, launched


def hold_right(screen):
    samples, (down, up) = trace(screen.status, [(0, "keydown Right"), (1.2, "keyup Right")], 1.6)
    moved = [t for (t, s), (_, was) in zip(samples[1:], samples) if s != was]
    stall = max([b - a for a, b in zip(moved, moved[1:]) if b < up] or [9])
    return stall, moved[-1] - up if moved else 9


def cpu_seconds(pid):
    fields = open(f"/proc/{pid}/stat").read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def play(screen, pid, other_window):
    figures = {}
    on = lambda row: lambda: screen.rows()[row][10:13] == "<--"
    screen.wait("the menu", lambda rows: on(2)())
    used = cpu_seconds(pid)
    samples, (down, _) = trace(on(4), [(0, "keydown Down"), (2, "keyup Down")], 2.05)
    figures["menu: CPU % with Down held 2 s"] = (cpu_seconds(pid) - used) / 0.02
    figures["menu: arrow moved after s"] = min([t for t, shown in samples if shown] or [9]) - down
    x("xdotool", "key", "Up")
    screen.wait("the arrow back", lambda rows: on(2)())
    x("xdotool", "key", "Return")
    screen.wait("the first frame", lambda rows: screen.status())
    trace(screen.status, [(0, "keydown w keydown d"), (1, "keyup w keyup d")], 1.3)
    figures["W+D held 1 s: x, y"] = screen.status()[:2]
    heading = screen.status()[2]
    trace(screen.status, [(0, "keydown Right sleep 0.05 keyup Right")], 1.2)
    figures["50 ms tap: degrees"] = abs(screen.status()[2] - heading)
    stalls = [hold_right(screen) for _ in range(3)]
    figures["hold: longest stall s"] = min(stall for stall, _ in stalls)
    figures["hold: stop after release s"] = min(stop for _, stop in stalls)
    x("xdotool", "windowfocus", "--sync", other_window)
    position = screen.status()
    trace(screen.status, [(0, "keydown w"), (0.5, "keyup w")], 0.8)
    figures["W in another window moves"] = screen.status() != position
    return figures


LIMITS = {"menu: CPU % with Down held 2 s": 30, "menu: arrow moved after s": 0.3,
          "50 ms tap: degrees": 12, "hold: longest stall s": 0.06,
          "hold: stop after release s": 0.1}


def check(name, figures):
    print(name, figures)
    failed = [key for key, limit in LIMITS.items() if figures[key] > limit]
    # Both axes walk until a wall stops each: x at row 1's wall, y at the level's top.
    failed += ["W+D"] if [round(v, 2) for v in figures["W+D held 1 s: x, y"]] != [13.25, 1] else []
    failed += ["focus"] if figures["W in another window moves"] else []
    return [f"{name}: {key}" for key in failed]


def xterm(workdir, name, command):
    log = os.path.join(workdir, name + ".log")
    terminal = x("xterm", "-geometry", "120x41", "-l", "-lf", log, "-e", *command, wait=False)
    for _ in range(200):
        windows = x("xdotool", "search", "--pid", str(terminal.pid)).stdout.split()
        if windows and os.path.exists(log):
            x("xdotool", "windowfocus", "--sync", windows[0])
            return terminal, Screen(log)
        time.sleep(0.05)
    sys.exit(f"xterm for {name} did not start")


def tmux(socket, *args):
    return x("tmux", "-S", socket, *args).stdout.strip()


def suspend_and_resume(socket, workdir):
    failures = []
    flags = lambda: tmux(socket, "display-message", "-p", "#{cursor_flag}#{alternate_on}"
                         "#{mouse_any_flag}#{mouse_sgr_flag}")
    x("xdotool", "key", "ctrl+z")
    time.sleep(0.5)
    tmux(socket, "send-keys", "stty -g > after", "Enter")
    time.sleep(0.5)
    if flags() != "1000" or open("before").read() != open("after").read():
        failures.append(f"Ctrl+Z: terminal not given back (flags {flags()})")
    tmux(socket, "send-keys", "fg", "Enter")
    time.sleep(1)
    rows = tmux(socket, "capture-pane", "-p").split("\n")
    if flags() != "0111" or not rows[0].startswith("X:") or len(rows) < 40 or not rows[39].strip():
        failures.append(f"fg: no full frame on the alternate screen (flags {flags()})")
    return failures


def main():
    marbek = os.path.abspath(sys.argv[1])
    with tempfile.TemporaryDirectory() as workdir:
        os.chdir(workdir)
        read, write = os.pipe()
        server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-nolisten", "tcp"],
                                  pass_fds=[write], stderr=subprocess.DEVNULL)
        os.environ["DISPLAY"] = ":" + os.read(read, 16).decode().strip()
        socket = os.path.join(workdir, "tmux")
        started = []
        try:
            x("xset", "r", "rate", "660", "25")
            started.append(xterm(workdir, "other", ["sleep", "300"])[0])
            other = x("xdotool", "getwindowfocus").stdout.strip()
            terminal, screen = xterm(workdir, "xterm", ["sh", "-c", f"echo $$ > pid; exec {marbek}"])
            started.append(terminal)
            screen.wait("the pid", lambda rows: os.path.exists("pid") and os.path.getsize("pid"))
            failures = check("xterm", play(screen, int(open("pid").read()), other))
            terminal.kill()
            terminal, screen = xterm(workdir, "tmux", ["tmux", "-S", socket, "-f", "/dev/null",
                                                       "new-session", "bash --norc --noprofile"])
            started.append(terminal)
            time.sleep(0.5)
            tmux(socket, "send-keys", f"stty -g > before; {marbek}", "Enter")
            screen.wait("the menu", lambda rows: rows[2][10:13] == "<--")
            pid = int(open(f"/proc/{tmux(socket, 'display', '-p', '#{pane_pid}')}/task/"
                           f"{tmux(socket, 'display', '-p', '#{pane_pid}')}/children").read())
            failures += check("tmux in xterm", play(screen, pid, other))
            x("xdotool", "windowfocus", "--sync", x("xdotool", "search", "--pid",
                                                      str(terminal.pid)).stdout.split()[0])
            failures += suspend_and_resume(socket, workdir)
        finally:
            x("tmux", "-S", socket, "kill-server")
            for process in started + [server]:
                process.kill()
    print("\n".join(failures) or "all checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
