#!/usr/bin/env python3
# marbek on a pseudo-terminal, byte for byte: what it sends at start-up for each TERMINAL_KEYS
# value and whether it opens the X display; the modes it switches on as the terminal answers;
# what Ctrl+Z, fg and Ctrl+C send with each of those modes on, alone and together, and the
# terminal settings while stopped and after. In a session of its own, where nothing can stop it,
# Ctrl+Z must send nothing at all. A value TERMINAL_KEYS cannot mean is refused before the
# terminal is touched. Usage: exchange_check.py MARBEK. Depends on: python3, POSIX ptys.
import ctypes.util, fcntl, os, select, signal, socket, struct, sys, termios, time

ENTER = "\x1b[?1049h\x1b[?1003h\x1b[?1006h\x1b[?1004h"
LEAVE = "\x1b[?1004l\x1b[?1006l\x1b[?1003l\x1b[0m\x1b[?25h\x1b[?1049l"
QUERIES = "\x1b[?1016$p\x1b[?2026$p\x1b[14t\x1b[c"
ATTRIBUTES = "\x1b[?62c"  # the answer to a device-attributes query
CLEAR = "\x1b[m\x1b[2J"   # a frame drawn afresh
SYNC = "\x1b[?2026h"
# Each mode as switched on and off, in the order they are switched on after a stop.
KITTY, WIN32, PIXEL = ("\x1b[>11u", "\x1b[<u"), ("\x1b[?9001h", "\x1b[?9001l"), \
    ("\x1b[?1016h", "\x1b[?1016l")
ASK_WIN32 = WIN32[0] + "\x1b[?9001$p"
# TERMINAL_KEYS (None: unset), the terminal's answers to what the program sent, each with what
# the program must send back before it draws, the modes then on and whether it opens the display.
RUNS = [
    (None, [("\x1b[?1u" + ATTRIBUTES, KITTY[0] + "\x1b[?u\x1b[c"), ("\x1b[?11u" + ATTRIBUTES, "")],
     [KITTY], True),
    ("", [(ATTRIBUTES, ASK_WIN32), ("\x1b[?9001;1$y", None)], [WIN32], True),
    ("kitty", [("\x1b[?0u\x1b[?1016;2$y\x1b[?2026;2$y" + ATTRIBUTES,
                KITTY[0] + "\x1b[?u\x1b[c" + PIXEL[0]), ("\x1b[?3u" + ATTRIBUTES, SYNC)],
     [KITTY, PIXEL], False),
    ("win32", [("\x1b[?1016;1$y" + ATTRIBUTES, PIXEL[0] + ASK_WIN32), ("\x1b[?9001;3$y", None)],
     [WIN32, PIXEL], False),
    ("x11", [(ATTRIBUTES, "")], [], True),
    ("linger", [("\x1b[?1016;2$y\x1b[?2026;2$y" + ATTRIBUTES, PIXEL[0] + SYNC)], [PIXEL], False),
]
X11 = ctypes.util.find_library("X11") is not None
failures = []


def fail(why):
    failures.append(why)
    raise RuntimeError(why)


class Run:
    """The program on a new pseudo-terminal of 120 x 41 cells, in a session of its own; with
    job_control, in a process group of its own under a session leader that reports each stop
    and continues it, as a shell's fg does."""

    def __init__(self, program, keys, job_control):
        self.master, slave = os.openpty()
        fcntl.ioctl(slave, termios.TIOCSWINSZ, struct.pack("HHHH", 41, 120, 0, 0))
        self.settings = termios.tcgetattr(slave)
        # A display that only counts the connections made to it (each is closed at once).
        self.x = socket.socket(socket.AF_UNIX)
        display = next(n for n in range(4000 + os.getpid() % 1000, 6000) if self.bind_x(n))
        self.x.listen()
        self.x_connections = 0
        env = {"PATH": "/usr/bin:/bin", "TERM": "xterm-256color", "DISPLAY": f":{display}"}
        if keys is not None:
            env["TERMINAL_KEYS"] = keys
        errors, self.stops, self.go = os.pipe(), os.pipe(), os.pipe()
        self.job_control = job_control
        self.pid = os.fork()
        if self.pid == 0:
            os.setsid()
            fcntl.ioctl(slave, termios.TIOCSCTTY, 0)
            os.dup2(slave, 0), os.dup2(slave, 1), os.dup2(errors[1], 2)
            if job_control:
                self.lead(program, env)
            os.execve(program, [program], env)
        os.close(slave), os.close(errors[1])
        self.errors = errors[0]
        self.got = b""

    def bind_x(self, number):
        try:
            self.x.bind(f"\0/tmp/.X11-unix/X{number}")
            return True
        except OSError:
            return False

    def lead(self, program, env):
        signal.signal(signal.SIGTTOU, signal.SIG_IGN)
        child = os.fork()
        if child == 0:
            os.setpgid(0, 0)
            os.tcsetpgrp(0, os.getpid())
            signal.signal(signal.SIGTTOU, signal.SIG_DFL)
            os.execve(program, [program], env)
        os.setpgid(child, child)
        os.tcsetpgrp(0, child)
        while True:
            status = os.waitpid(child, os.WUNTRACED)[1]
            if not os.WIFSTOPPED(status):
                os.write(self.stops[1], struct.pack("i", status))
                os._exit(0)
            os.write(self.stops[1], b"stop")
            os.read(self.go[0], 1)
            os.tcsetpgrp(0, child)
            os.killpg(child, signal.SIGCONT)

    def read(self, seconds, enough=lambda got: False, quiet=None):
        """Reads what the program sends for at most `seconds`, until enough() says so and, given
        `quiet`, nothing more has come for that long; accepts and closes any X connection."""
        start = last = time.monotonic()
        while time.monotonic() - start < seconds:
            if enough(self.got) and (quiet is None or time.monotonic() - last > quiet):
                break
            ready = select.select([self.master, self.x], [], [], 0.01)[0]
            if self.x in ready:
                self.x.accept()[0].close()
                self.x_connections += 1
            if self.master in ready:
                try:
                    self.got += os.read(self.master, 65536)
                except OSError:  # the program has gone, and with it the terminal
                    break
                last = time.monotonic()
        got, self.got = self.got.decode(errors="replace"), b""
        return got

    def send(self, text):
        os.write(self.master, text.encode())

    def expect(self, what, expected, frame=False, sent=None):
        """What the program sends next must be `expected`, then a whole frame if `frame` (read
        until it goes quiet)."""
        want = expected + (CLEAR if frame else "")
        got = self.read(5, lambda got: len(got) >= len(want), 0.05 if frame else None)
        if got[:len(want)] != want or (not frame and got != want):
            fail(f"{what}: sent {got[:len(want) + 20]!r}, expected {want!r}")

    def expect_settings(self, what):
        if termios.tcgetattr(self.master) != self.settings:
            fail(f"{what}: the terminal settings are not given back")

    def status(self):
        """The program's end as the session leader saw it, or its own."""
        if self.job_control:
            return struct.unpack("i", os.read(self.stops[0], 4))[0]
        return os.waitpid(self.pid, 0)[1]

    def close(self):
        os.close(self.master), self.x.close()
        try:  # a program still running after a failure is ended
            os.kill(self.pid, signal.SIGKILL)
            os.waitpid(self.pid, 0)
        except ProcessLookupError:
            pass


def way_out(modes):
    """Every mode switched off, last on first off; then a query whose answer marks the end of
    the key reports still coming, where keys were reported."""
    drain = "\x1b[c" if KITTY in modes or WIN32 in modes else ""
    return "".join(off for _, off in reversed(modes)) + LEAVE + drain


def leave(run, what, modes):
    run.expect(what, way_out(modes))
    if way_out(modes).endswith("\x1b[c"):
        run.send(ATTRIBUTES)


def play(program, keys, replies, modes, x_used, job_control=True):
    run = Run(program, keys, job_control)
    name = f"TERMINAL_KEYS={keys}"
    try:
        run.expect(f"{name}: start-up", ENTER + ("\x1b[?u" if keys in (None, "", "kitty") else "")
                   + QUERIES)
        # The frame comes after the last answer.
        last = max(i for i, (_, answer) in enumerate(replies) if answer is not None)
        for i, (reply, answer) in enumerate(replies):
            run.send(reply)
            if answer is not None:
                run.expect(f"{name}: after {reply!r}", answer, frame=i == last)
        if job_control:
            run.send("\x1a")
            leave(run, f"{name}: Ctrl+Z", modes)
            if os.read(run.stops[0], 4) != b"stop":
                fail(f"{name}: Ctrl+Z did not stop the program")
            run.expect_settings(f"{name}: Ctrl+Z")
            os.write(run.go[1], b"c")
            sync = SYNC if SYNC in "".join(answer or "" for _, answer in replies) else ""
            run.expect(f"{name}: fg", ENTER + "".join(on for on, _ in modes) + sync, frame=True)
        else:
            run.send("\x1a")
            if run.read(0.3):
                fail(f"{name}: Ctrl+Z where nothing can stop the program shows something")
        run.send("\x03")
        leave(run, f"{name}: Ctrl+C", modes)
        if (status := run.status()) != signal.SIGINT:
            fail(f"{name}: ended with status {status:#x}, not by Ctrl+C's SIGINT")
        run.expect_settings(f"{name}: Ctrl+C")
        if run.x_connections != (x_used and X11):
            fail(f"{name}: the X display was {'' if run.x_connections else 'not '}opened")
    except RuntimeError:
        pass
    finally:
        run.close()


def main():
    program = os.path.abspath(sys.argv[1])
    for keys, replies, modes, x_used in RUNS:
        play(program, keys, replies, modes, x_used)
    # In a session of its own the program cannot be stopped: Ctrl+Z does nothing at all.
    play(program, *RUNS[2][:4], job_control=False)
    refused = Run(program, "X11", job_control=False)
    message = os.read(refused.errors, 4096).decode()
    if refused.read(1) or refused.status() != 2 << 8 or "TERMINAL_KEYS" not in message:
        failures.append(f"TERMINAL_KEYS=X11: not refused plainly ({message!r})")
    refused.close()
    print("\n".join(failures) or "all exchanges as expected")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
