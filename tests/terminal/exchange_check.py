#!/usr/bin/env python3
# marbek on a pseudo-terminal, byte for byte: what it sends at start-up for each TERMINAL_KEYS
# value and whether it opens the X display; the modes it switches on as the terminal answers; a
# resize; what Ctrl+Z and fg send with each mode on, alone and together, and the way out by
# Ctrl+C, SIGTERM, SIGHUP or Ctrl+D in the settings dialogue, with the terminal's settings given
# back. In a session of its own, where nothing can stop it, Ctrl+Z must send nothing. A value
# TERMINAL_KEYS cannot mean is refused before the terminal is touched, and an exception nobody
# catches gives the terminal back and tells its message, 0.2 s after its query where the terminal
# answers nothing. With Xvfb and libXtst at hand, keys pressed on a virtual X display count only
# while the terminal's window has the focus.
# Usage: exchange_check.py MARBEK UNCAUGHT_EXCEPTION. Depends on: python3, POSIX ptys,
# terminal_play.py (libvterm), and for the X keys Xvfb and libXtst.
import contextlib, ctypes.util, fcntl, math, os, select, signal, socket, struct, subprocess, sys, \
    termios, time
from terminal_play import cpu_ticks

ENTER = "\x1b[?1049h\x1b[?1003h\x1b[?1006h\x1b[?1004h"
LEAVE = "\x1b[?1004l\x1b[?1006l\x1b[?1003l\x1b[0m\x1b[?25h\x1b[?1049l"
QUERIES = "\x1b[?1016$p\x1b[?2026$p\x1b[14t\x1b[c"
ANSWER = "\x1b[?62;90c"  # the answer to a device-attributes query (every digit's edge)
CLEAR, SYNC = "\x1b[m\x1b[2J", "\x1b[?2026h"  # a screen drawn afresh; a synchronized one
KITTY, WIN32, PIXEL = ("\x1b[>11u", "\x1b[<u"), ("\x1b[?9001h", "\x1b[?9001l"), \
    ("\x1b[?1016h", "\x1b[?1016l")  # each mode on and off, in the order they go on after a stop
ASK_WIN32 = WIN32[0] + "\x1b[?9001$p"
# TERMINAL_KEYS (None: unset); the terminal's replies, each with what the program must answer
# (None: nothing to wait for), the screen drawn after the last answer; the modes then on; whether
# it opens the X display; how it ends.
RUNS = [(None, [("\x1b[?1u" + ANSWER, KITTY[0] + "\x1b[?u\x1b[c"), ("\x1b[?11u" + ANSWER, "")],
         [KITTY], False, "\x03"),
        ("", [(ANSWER, ASK_WIN32), ("\x1b[?9001;1$y", None)], [WIN32], True, signal.SIGTERM),
        ("kitty", [("\x1b[?0u\x1b[?1016;2$y\x1b[?2026;2$y" + ANSWER,
                    KITTY[0] + "\x1b[?u\x1b[c" + PIXEL[0]), ("\x1b[?3u" + ANSWER, SYNC)],
         [KITTY, PIXEL], False, "\x03"),
        ("win32", [("\x1b[?1016;1$y" + ANSWER, PIXEL[0] + ASK_WIN32), ("\x1b[?9001;3$y", None)],
         [WIN32, PIXEL], False, signal.SIGHUP),
        ("x11", [(ANSWER, "")], [], True, "\x04"),
        ("linger", [("\x1b[?1016;2$y\x1b[?2026;2$y" + ANSWER, PIXEL[0] + SYNC)], [PIXEL], False,
         "\x03")]
X11 = ctypes.util.find_library("X11") is not None
WAITS = []  # from each answer to a way out's query to the program's stop or end
PR_SET_PDEATHSIG = 1


# In a child just forked: killed with its parent, so that a program that cannot end (a fault, or
# a check killed for its time) never outlives the check.
def die_with_parent():
    ctypes.CDLL(None).prctl(PR_SET_PDEATHSIG, signal.SIGKILL)


def fail(why):
    sys.exit(f"FAILED: {why}")


# The program on a new 120 x 41 pseudo-terminal in a session of its own; with job_control, in a
# process group of its own under a session leader that reports its stop and end and, told to,
# continues it as a shell's fg does. A display that only counts connections stands by.
class Run:
    def __init__(self, program, keys, job_control, size=(41, 120), controlling=True, more_env=None):
        self.master, slave = os.openpty()
        fcntl.ioctl(slave, termios.TIOCSWINSZ, struct.pack("HHHH", *size, 0, 0))
        self.settings, self.got, self.x_opened = termios.tcgetattr(slave), b"", 0
        self.job_control, self.x = job_control, socket.socket(socket.AF_UNIX)
        for display in range(4000 + os.getpid() % 1000, 6000):  # the first free number
            with contextlib.suppress(OSError):
                self.x.bind("\0/tmp/.X11-unix/X%d" % display)
                break
        self.x.listen()
        env = {"PATH": "/usr/bin:/bin", "TERM": "xterm-256color", "DISPLAY": f":{display}",
               **({"TERMINAL_KEYS": keys} if keys is not None else {}), **(more_env or {})}
        (self.errors, errors), self.reports, self.go = os.pipe(), os.pipe(), os.pipe()
        self.pid = os.fork()
        if self.pid == 0:
            die_with_parent()
            os.close(self.master)  # so that a check that fails hangs the terminal up
            os.setsid()
            fcntl.ioctl(slave, termios.TIOCSCTTY, 0) if controlling else None
            os.dup2(slave, 0), os.dup2(slave, 1), os.dup2(errors, 2)
            if job_control and (child := self.lead()):
                while os.WIFSTOPPED(status := os.waitpid(child, os.WUNTRACED)[1]):
                    os.write(self.reports[1], b"stop")
                    os.read(self.go[0], 1)
                    os.tcsetpgrp(0, child)
                    os.killpg(child, signal.SIGCONT)
                os.write(self.reports[1], struct.pack("i", status))
                os._exit(0)
            os.execve(program, [program], env)
        os.close(slave), os.close(errors)

    # In the session leader: a child in a group of its own, made the foreground (by both, whichever
    # comes first); 0 in that child.
    def lead(self):
        signal.signal(signal.SIGTTOU, signal.SIG_IGN)
        child = os.fork()
        if not child:
            die_with_parent()
        try:
            os.setpgid(child, child)
        except PermissionError:  # the child has set it and started the program already
            pass
        os.tcsetpgrp(0, child or os.getpid())
        signal.signal(signal.SIGTTOU, signal.SIG_IGN if child else signal.SIG_DFL)
        return child

    # What the program sends within `seconds`, until enough(), and then nothing for `quiet` seconds
    # if given; an X connection is counted and closed at once.
    def read(self, seconds, enough=lambda got: False, quiet=None):
        start = last = time.monotonic()
        while time.monotonic() - start < seconds and not (
                enough(self.got) and (quiet is None or time.monotonic() - last > quiet)):
            ready = select.select([self.master, self.x], [], [], 0.01)[0]
            if self.x in ready:
                self.x.accept()[0].close()
                self.x_opened += 1
            if self.master in ready:
                try:
                    self.got += os.read(self.master, 65536)
                except OSError:  # the program has gone, and the terminal with it
                    break
                last = time.monotonic()
        got, self.got = self.got.decode(errors="replace"), b""
        return got

    def send(self, text):
        os.write(self.master, text.encode())

    # The program must send `want` next: all it sends, or with `more` what it begins with (the rest
    # read until it has sent nothing for a while).
    def expect(self, what, want, more=False):
        # A screen drawn in reply comes at once, not at the 0.5 s a terminal's replies may take.
        got = self.read(0.45 if more else 5, lambda g: len(g) >= len(want), 0.05 if more else None)
        if got[:len(want)] != want or (not more and got != want):
            fail(f"{what}: sent {got[:len(want) + 20]!r}, expected {want!r}")

    def expect_settings(self, what):
        if termios.tcgetattr(self.master) != self.settings:
            fail(f"{what}: the terminal's settings are not given back")

    def status(self):  # the program's end, as its session leader or this process saw it
        return (struct.unpack("i", os.read(self.reports[0], 4))[0] if self.job_control
                else os.waitpid(self.pid, 0)[1])


# Every mode off, last on first off; then, where keys were reported, a query whose answer marks the
# end of the key reports still coming.
def leave(run, what, modes):
    drain = "\x1b[c" if KITTY in modes or WIN32 in modes else ""
    run.expect(what, "".join(off for _, off in reversed(modes)) + LEAVE + drain)
    for part in ("w[?c", ANSWER[:3]) if drain else ():  # typing that only looks like the
        run.send(part)  # answer, and then its beginning alone, must not end the reading
        if select.select([run.reports[0]], [], [], 0.02)[0]:
            fail(f"{what}: did not wait for the answer")
    run.send(ANSWER[3:] if drain else "")
    return time.monotonic() if drain else -math.inf  # when the answer went (no query: never)


def play(program, keys, replies, modes, x_used, ending, job_control=True):
    # Two windows that tell only part of their size, taken as 80 x 24.
    size = {"": (41, 0), "win32": (0, 120)}.get(keys, (41, 120))
    # Unset, in a Wayland session: with no X window named, the X display is none of its business.
    wayland = {"WAYLAND_DISPLAY": "wayland-0"} if keys is None else None
    run, name = Run(program, keys, job_control, size, more_env=wayland), f"TERMINAL_KEYS={keys}"
    run.expect(f"{name}: start-up",
               ENTER + ("\x1b[?u" if keys in (None, "", "kitty") else "") + QUERIES)
    last = max(i for i, (_, answer) in enumerate(replies) if answer is not None)
    for i, (reply, answer) in enumerate(replies):
        run.send(reply)
        if answer is not None:
            run.expect(f"{name}: after {reply!r}", answer + (CLEAR if i == last else ""), i == last)
    sync = SYNC if SYNC in replies[last][1] else ""
    if keys == "x11":  # the held Enter that started it, seen only through the terminal's repeats
        for _ in range(2):
            run.send("\r")
            time.sleep(0.04)
        if run.read(0.3):
            fail(f"{name}: the Enter that started the program chose a menu entry")
    run.send("\x1a")
    if not job_control:
        if run.read(0.3):
            fail(f"{name}: Ctrl+Z where nothing can stop the program shows something")
    else:
        answered = leave(run, f"{name}: Ctrl+Z", modes)
        if os.read(run.reports[0], 4) != b"stop":
            fail(f"{name}: Ctrl+Z did not stop the program")
        WAITS.append(time.monotonic() - answered)
        run.expect_settings(f"{name}: Ctrl+Z")
        os.write(run.go[1], b"c")
        run.expect(f"{name}: fg", ENTER + "".join(on for on, _ in modes) + sync + CLEAR, True)
    if ending == "\x04":  # Settings chosen, a digit typed and erased twice (the second echo is
        # one byte), the width answered with a digit typed ahead into the height, which is erased,
        # then Ctrl+D on the empty line of the height
        erase = ("\x7f", "\x1b[K")
        typing = (("8", "8"), erase) * 2 + (("80\r2", "Height? 2"), erase)
        run.send("\x1b")  # the arrow cut in two, as a slow link may deliver it
        time.sleep(0.025)
        for key, shown in (("[B", "<--"), ("\r", "Width?")) + typing:
            sent = time.monotonic()
            run.send(key)
            if shown not in (got := run.read(5, lambda got: shown.encode() in got, 0.05)):
                fail(f"{name}: {key!r} in the menu did not show {shown!r}: {got!r}")
            if key == "[B" and time.monotonic() - sent < 0.12:  # the arrow pauses 120 ms
                fail(f"{name}: the arrow moved without its pause")
    elif keys == "linger":  # a window of 1 x 1 is drawn afresh at once: what fits of the title
        fcntl.ioctl(run.master, termios.TIOCSWINSZ, struct.pack("HHHH", 1, 1, 0, 0))
        end = "\x1b[?2026l" if sync else ""
        run.expect(f"{name}: resize", sync + CLEAR + "\x1b[H=\x1b[?25l" + end, True)
        before = cpu_ticks(pid := os.tcgetpgrp(run.master))  # then it idles, as before the resize
        time.sleep(0.3)
        if cpu_ticks(pid) - before > 10:
            fail(f"{name}: busy after a resize")
    run.send(ending) if isinstance(ending, str) else os.killpg(os.tcgetpgrp(run.master), ending)
    answered = leave(run, f"{name}: the way out by {ending!r}", modes)
    if (status := run.status()) != {"\x03": signal.SIGINT, "\x04": 0}.get(ending, ending):
        fail(f"{name}: ended with status {status:#x} after {ending!r}")
    WAITS.append(time.monotonic() - answered)
    run.expect_settings(f"{name}: the way out")
    if run.x_opened != (x_used and X11):
        fail(f"{name}: the X display was {'' if run.x_opened else 'not '}opened")


# The X server's keys on a virtual display: Down held there and then Enter choose "Settings" in a
# program reading them while the terminal's window has the focus; nothing moves while another
# window has it or the kitty protocol is in force. Skipped where Xvfb or libXtst is missing.
def server_keys(program):
    try:
        X, xtest, (ready, told) = ctypes.CDLL("libX11.so.6"), ctypes.CDLL("libXtst.so.6"), os.pipe()
        subprocess.Popen(["Xvfb", "-displayfd", str(told), "-nolisten", "tcp"], pass_fds=(told,),
                         stderr=subprocess.DEVNULL, preexec_fn=die_with_parent)
    except OSError:
        return print("the X server's keys not checked: no Xvfb or libXtst")
    os.close(told)
    display = ":" + os.read(ready, 16).decode().strip()
    X.XOpenDisplay.restype = ctypes.c_void_p  # each call below: the display, then whole numbers
    for call, numbers in ((X.XDefaultRootWindow, 0), (X.XCreateSimpleWindow, 8), (X.XMapWindow, 1),
                          (X.XSync, 1), (X.XSetInputFocus, 3), (X.XKeysymToKeycode, 1),
                          (xtest.XTestFakeKeyEvent, 3)):
        call.argtypes, call.restype = [ctypes.c_void_p] + [ctypes.c_ulong] * numbers, ctypes.c_ulong
    x = X.XOpenDisplay(display.encode())
    ours, other = (X.XCreateSimpleWindow(x, X.XDefaultRootWindow(x), 0, 0, 9, 9, 0, 0, 0)
                   for _ in range(2))

    def hold(symbol, seconds):
        for press, wait in (1, seconds), (0, 0.05):
            xtest.XTestFakeKeyEvent(x, X.XKeysymToKeycode(x, symbol), press, 0)
            X.XSync(x, 0)
            time.sleep(wait)
    for keys, replies, focus in (("x11", [ANSWER], ours), ("x11", [ANSWER], other),
                                 (None, ["\x1b[?1u" + ANSWER, "\x1b[?11u" + ANSWER], ours)):
        run = Run(program, keys, False, more_env={"DISPLAY": display, "WINDOWID": str(ours)})
        for reply in replies:
            run.read(5, lambda got: got, 0.1)
            run.send(reply)
        run.read(5, lambda got: CLEAR.encode() in got, 0.1)
        X.XMapWindow(x, focus)
        X.XSetInputFocus(x, focus, 2, 0)
        hold(0xFF54, 0.3)  # Down, for less than the server's repeat delay
        hold(0xFF0D, 0.05)  # Enter
        chosen, wanted = "Width?" in run.read(0.3), keys == "x11" and focus == ours
        if chosen != wanted:
            fail(f"TERMINAL_KEYS={keys}, focus on {focus}: Down and Enter on the X server "
                 f"{'missed' if wanted else 'chose'} Settings")
        os.kill(run.pid, signal.SIGKILL)
        run.status()


def main():
    program = os.path.abspath(sys.argv[1])
    for keys, replies, modes, x_used, ending in RUNS:
        play(program, keys, replies, modes, x_used, ending)
    play(program, *RUNS[2], job_control=False)
    server_keys(program)
    refused = Run(program, "X11", job_control=False)
    message = os.read(refused.errors, 4096).decode()
    if refused.read(1) or refused.status() != 2 << 8 or "TERMINAL_KEYS" not in message:
        fail(f"TERMINAL_KEYS=X11: not refused plainly ({message!r})")
    # Where the terminal is no controlling one, its input ending ends the program; a redraw due
    # as it goes (the program stopped meanwhile) finds it gone, and ends the program with status 1.
    for redraw in False, True:
        orphan = Run(program, "linger", job_control=False, controlling=False)
        orphan.expect("no controlling terminal: start-up", ENTER + QUERIES)
        orphan.send(ANSWER)
        orphan.read(5, lambda got: CLEAR.encode() in got, 0.05)
        # Stopped, or resized first: the input's end is then no wait that a signal cut short.
        os.kill(orphan.pid, signal.SIGSTOP if redraw else signal.SIGWINCH)
        os.waitpid(orphan.pid, os.WUNTRACED) if redraw else orphan.read(0.2)
        os.close(orphan.master)
        os.kill(orphan.pid, signal.SIGCONT if redraw else 0)
        if not select.select([os.pidfd_open(orphan.pid)], [], [], 2)[0] or \
                orphan.status() != redraw << 8:
            fail(f"the terminal gone{' with a redraw due' if redraw else ''}: no end as expected")
    thrown = Run(os.path.abspath(sys.argv[2]), None, job_control=False)
    thrown.expect("exception: start-up", ENTER + "\x1b[?u" + QUERIES)
    thrown.send(ANSWER)
    got = thrown.read(5, lambda got: got.endswith((WIN32[1] + LEAVE + "\x1b[c").encode()))
    asked = time.monotonic()
    time.sleep(0.15)  # typing, and no answer: the reading ends all the same 0.2 s after the query
    thrown.send("w")
    message = os.read(thrown.errors, 4096).decode()
    if not got.startswith(ASK_WIN32 + CLEAR) or not got.endswith(WIN32[1] + LEAVE + "\x1b[c") \
            or thrown.status() != signal.SIGABRT or "ran out of memory" not in message \
            or time.monotonic() - asked > 0.35:
        fail(f"exception: sent {got!r}, said {message!r}")
    # A way out ends at the answer to its query, not at its time limit of 0.2 s (at least once:
    # a busy machine may hold up the others).
    if min(WAITS) > 0.1:
        fail(f"the way out waited {min(WAITS):.2f} s or more after the answer")
    print("all exchanges as expected")


if __name__ == "__main__":
    main()
