#!/usr/bin/env python3
# Each program launched from a shell in xterm on a virtual X display as a person does it: its
# name typed, then Enter held 40 ms and, the second time, 150 ms, so that the X server still
# holds Enter down as the program starts. Its menu must show and stay; Ctrl+C goes back to the
# shell. Usage: e2e_launch.py MARBEK TOLVAN ZIRAVO.
# Depends on: terminal_play.py, e2e_x11.py, Xvfb, xterm, xdotool, xset, bash, python3.
import os, sys, tempfile
from e2e_x11 import run, xterm
from terminal_play import PROMPT, SHELL, Shell, end, start_x


def main():
    programs = [os.path.abspath(program) for program in sys.argv[1:]]
    with tempfile.TemporaryDirectory() as workdir:
        os.chdir(workdir)
        for program in programs:
            os.symlink(program, os.path.basename(program))
        os.environ.update(PATH=f"{workdir}:{os.environ['PATH']}", PS1=PROMPT)
        started = [start_x().pid]
        try:
            started.append(xterm("shell", *SHELL.split())[0].pid)
            shell = Shell("shell", lambda words: run("xdotool", *words.split(), wait=False))
            failures = []
            for program in map(os.path.basename, programs):
                for hold in (0.04, 0.15):
                    failures += shell.launch(program, hold)
                    shell.quit()
        finally:
            for pid in reversed(started):
                end(pid)
    print("\n".join(failures) or "all launches showed the menu")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
