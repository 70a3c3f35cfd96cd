#!/usr/bin/env python3
# Each program launched from a shell in xterm on a virtual X display as a person does it: its
# name typed, then Enter held 40 ms and, the second time, 150 ms, so that the X server still
# holds Enter down as the program starts. Its menu must show and stay; Ctrl+C goes back to the
# shell. Usage: e2e_launch.py MARBEK TOLVAN ZIRAVO.
# Depends on: terminal_play.py, e2e_x11.py, Xvfb, xterm, xdotool, xset, bash, python3.
import os, sys
from e2e_x11 import xterm
from terminal_play import SHELL, Shell, check, end, start_x


def launches(workdir):
    started = [start_x()]
    try:
        started.append(xterm("shell", *SHELL.split())[0])
        shell, failures = Shell("shell"), []
        for program in map(os.path.basename, sys.argv[1:]):
            for hold in (0.04, 0.15):
                failures += shell.launch(program, hold)
                shell.quit()
        return failures
    finally:
        for process in started:
            end(process.pid)
            process.wait()


if __name__ == "__main__":
    sys.exit(check(["Xvfb", "xterm", "xdotool"], launches))
