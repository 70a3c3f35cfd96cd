#!/usr/bin/env python3
# A shell on a pseudo-terminal of 120x41 cells whose bytes go through this process's standard
# input and output, so that a terminal emulator with no pty of its own (xterm.js in a page) can
# be the shell's terminal. The shell starts in DIR with no X display; when standard input ends,
# the shell's session is ended. Usage: pty_bridge.py DIR. Depends on: python3, bash.
import fcntl, os, pty, select, signal, struct, sys, termios

pid, master = pty.fork()
if pid == 0:
    os.chdir(sys.argv[1])
    for name in ("DISPLAY", "WAYLAND_DISPLAY", "WINDOWID", "TMUX", "TERMINAL_KEYS"):
        os.environ.pop(name, None)
    os.environ.update(TERM="xterm-256color", PS1="ready> ")
    os.execvp("bash", ["bash", "--norc", "--noprofile"])
fcntl.ioctl(master, termios.TIOCSWINSZ, struct.pack("HHHH", 41, 120, 0, 0))
try:
    while True:
        ready, _, _ = select.select([0, master], [], [])
        if 0 in ready:
            data = os.read(0, 65536)
            if not data:
                break
            os.write(master, data)
        if master in ready:
            os.write(1, os.read(master, 65536))  # EIO once the shell has gone
except OSError:
    pass
finally:  # the session ends with this process, whatever it runs
    for entry in filter(str.isdigit, os.listdir("/proc")):
        try:
            if int(open(f"/proc/{entry}/stat").read().rsplit(")", 1)[1].split()[3]) == pid:
                os.kill(int(entry), signal.SIGKILL)
        except OSError:
            pass
