#!/usr/bin/env python3
# A program on a pseudo-terminal that answers the start-up queries as a terminal with the kitty
# keyboard protocol, SGR pixel mouse and synchronized output would. Checks that the program takes
# up each, reads the kitty flags back, plays on kitty key events, and pops the keyboard
# enhancement before leaving the alternate screen on every way out tried: Ctrl+C as a kitty key,
# SIGTERM and Ctrl+D ending the settings dialogue's input, sending nothing it did not set; that
# a terminal without the protocol gets win32-input-mode, played and switched off on Ctrl+C as a
# record; and that an uncaught exception gives the terminal back too.
# Usage: e2e_kitty_pty.py PROGRAM THROWING_PROGRAM. Depends on: python3.
import fcntl
import os
import select
import signal
import struct
import subprocess
import sys
import termios
import time

QUERIES = b"\x1b[?u\x1b[?1016$p\x1b[?2026$p\x1b[14t\x1b[c"
REPLIES = b"\x1b[?0u\x1b[?1016;2$y\x1b[?2026;2$y\x1b[4;820;1200t\x1b[?62;22c"
PUSH, POP = b"\x1b[>11u", b"\x1b[<u"
READ_BACK, APPLIED = b"\x1b[?u\x1b[c", b"\x1b[?11u\x1b[?62;22c"
WIN32_ON, WIN32_OFF = b"\x1b[?9001h", b"\x1b[?9001l"
LEAVE_ALTERNATE = b"\x1b[?1049l"


class Failure(Exception):
    pass


class Terminal:
    def __init__(self, program, stderr=None):
        self.master, slave = os.openpty()
        # 120x41 cells of 10x20 pixels.
        fcntl.ioctl(slave, termios.TIOCSWINSZ, struct.pack("HHHH", 41, 120, 1200, 820))
        self.saved = termios.tcgetattr(slave)
        self.slave = slave
        self.process = subprocess.Popen([program], stdin=slave, stdout=slave,
                                        stderr=stderr or slave, start_new_session=True)
        self.output = b""
        self.kitty = True

    def read_until(self, what, expected, timeout=10.0):
        deadline = time.monotonic() + timeout
        while expected not in self.output:
            left = deadline - time.monotonic()
            if left <= 0:
                raise Failure(f"timed out waiting for {what}; last bytes: {self.output[-200:]!r}")
            ready, _, _ = select.select([self.master], [], [], left)
            if ready:
                try:
                    self.output += os.read(self.master, 65536)
                except OSError:
                    raise Failure(f"the terminal closed while waiting for {what}")

    def send(self, data):
        os.write(self.master, data)

    def finish(self, ending, expected_status):
        start = len(self.output)
        if ending == "exception":
            pass
        elif ending == "ctrl-c":
            self.send(b"\x1b[99;5u")
        elif ending == "ctrl-c record":
            self.send(b"\x1b[67;46;3;1;8;1_")
        elif ending == "ctrl-d":
            self.send(b"\x1b[100;5u")
        else:
            self.process.send_signal(getattr(signal, ending))
        try:
            status = self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            raise Failure(f"the program did not end after {ending}")
        self.read_until("the way back", LEAVE_ALTERNATE, 2)
        tail = self.output[start:]
        undo = POP if self.kitty else WIN32_OFF
        if undo not in tail or tail.index(undo) > tail.rindex(LEAVE_ALTERNATE):
            raise Failure(f"{ending}: the key protocol was not switched off on the way out")
        if b"\x18" in tail or (POP if not self.kitty else WIN32_OFF) in tail:
            raise Failure(f"{ending}: the way out undid what was never set: {tail!r}")
        missing = [m for m in (b"\x1b[?1003l", b"\x1b[?1006l", b"\x1b[?1016l", b"\x1b[?25h")
                   if m not in tail]
        if missing or status != expected_status or termios.tcgetattr(self.slave) != self.saved:
            raise Failure(f"{ending}: status {status}, modes {missing} not reset, or the terminal "
                          f"settings not restored")
        os.close(self.master)
        os.close(self.slave)


def start(program, stderr=None, kitty=True):
    terminal = Terminal(program, stderr)
    terminal.kitty = kitty
    terminal.read_until("the start-up queries", QUERIES)
    if kitty:
        terminal.send(REPLIES)
        terminal.read_until("the keyboard push and read-back", PUSH + READ_BACK)
        terminal.send(APPLIED)
    else:
        terminal.send(REPLIES.replace(b"\x1b[?0u", b""))
        terminal.read_until("win32-input-mode asked for", WIN32_ON)
    terminal.read_until("pixel mouse reporting", b"\x1b[?1016h")
    terminal.read_until("the menu", b"Run DEMO")
    return terminal


def play(program):
    terminal = start(program)
    terminal.send(b"\x1b[13u\x1b[13;1:3u")  # Enter pressed and released: Run DEMO
    terminal.read_until("the game's colours", b"97;46m")
    terminal.read_until("a synchronized update", b"\x1b[?2026h")
    terminal.send(b"\x1b[57441;2u\x1b[119;2u")  # Shift, then W, held
    time.sleep(0.3)
    terminal.send(b"\x1b[119;1:3u\x1b[57441;1:3u\x1b[<35;600;300M")
    return terminal


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: e2e_kitty_pty.py PROGRAM THROWING_PROGRAM")
    program, thrower = sys.argv[1:]
    try:
        play(program).finish("ctrl-c", -signal.SIGINT)
        play(program).finish("SIGTERM", -signal.SIGTERM)
        terminal = start(program, kitty=False)
        terminal.send(b"\x1b[13;28;13;1;0;1_\x1b[13;28;13;0;0;1_")  # Enter down and up
        terminal.read_until("the game's colours", b"97;46m")
        terminal.finish("ctrl-c record", -signal.SIGINT)
        terminal = start(program)
        terminal.send(b"\x1b[1;1:1B\x1b[1;1:3B")  # Down: Settings
        terminal.read_until("the arrow on Settings", b"\x1b[5H\x1b[10X\x1b[10C<--")
        terminal.send(b"\x1b[13u\x1b[13;1:3u")
        terminal.read_until("the width question", b"Width?")
        terminal.finish("ctrl-d", 0)
        with subprocess.Popen(["cat"], stdin=subprocess.PIPE, stdout=subprocess.PIPE) as errors:
            terminal = Terminal(thrower, errors.stdin)
            terminal.read_until("the start-up queries", QUERIES)
            terminal.send(REPLIES)
            terminal.finish("exception", -signal.SIGABRT)
            errors.stdin.close()
            message = errors.stdout.read()
        if b"the frame buffer ran out of memory" not in message:
            raise Failure(f"the uncaught exception's message is missing: {message!r}")
    except Failure as failure:
        print(f"FAILED: {failure}", file=sys.stderr)
        return 1
    print("kitty protocol read back and popped on Ctrl+C, SIGTERM, end of input and an exception;"
          " win32-input-mode played and switched off on Ctrl+C")
    return 0


if __name__ == "__main__":
    sys.exit(main())
