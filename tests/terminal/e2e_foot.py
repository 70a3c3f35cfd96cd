#!/usr/bin/env python3
# marbek in foot (which speaks the kitty keyboard protocol) in a headless wlroots compositor,
# sway, run as an unprivileged user since it refuses root. Keys come from one virtual keyboard;
# the repeat is foot's own at sway's 660 ms, 25/s; the screen is read from a log that script
# writes around foot's shell. Launched with Enter, then played (terminal_play.py).
# Usage: e2e_foot.py MARBEK. Depends on: sway, foot, script, setpriv, virtual_keyboard.py,
# terminal_play.py, python3.
import os, pwd, shutil, subprocess, sys, tempfile, time
from e2e_x11 import until
from terminal_play import PROMPT, SHELL, Shell, end, skip

CONFIG = """output HEADLESS-1 resolution 846x662
default_border none
input * repeat_delay 660
input * repeat_rate 25
exec foot script -qf log -c '{}'
"""


def main():
    marbek = os.path.abspath(sys.argv[1])
    missing = [tool for tool in ("sway", "foot", "script", "setpriv") if not shutil.which(tool)]
    if missing:
        skip(f"not installed: {' '.join(missing)}")
    user = pwd.getpwnam("nobody") if os.geteuid() == 0 else pwd.getpwuid(os.geteuid())
    as_user = ["setpriv", f"--reuid={user.pw_uid}", f"--regid={user.pw_gid}", "--clear-groups"]
    with tempfile.TemporaryDirectory() as workdir:
        os.chdir(workdir)
        os.mkdir("run", 0o700)
        os.symlink(marbek, "marbek")
        open("config", "w").write(CONFIG.format(SHELL))
        for path in (".", "run", "config"):
            os.chown(path, user.pw_uid, user.pw_gid)
        env = {"PATH": f"{workdir}:/usr/bin:/bin", "HOME": workdir, "XDG_RUNTIME_DIR": f"{workdir}/run",
               "WLR_BACKENDS": "headless", "WLR_RENDERER": "pixman", "WLR_LIBINPUT_NO_DEVICES": "1",
               "LANG": "C.UTF-8", "PS1": PROMPT}
        sway = subprocess.Popen(as_user + ["sway", "-c", "config"], env=env, stdout=subprocess.DEVNULL,
                                stderr=open("sway.log", "w"))
        try:
            failures = play(sway, as_user, env)
        finally:
            end(sway.pid)
    print("\n".join(failures) or "all checks passed")
    return 1 if failures else 0


def play(sway, as_user, env):
    shell = Shell("log", None)
    until("foot's shell", lambda: sway.poll() is not None or shell.raw().count(b"ready"), 10)
    if sway.poll() is not None:
        skip(f"sway did not start: {open('sway.log').read().strip()[-300:]}")
    socket = next(name for name in os.listdir("run") if name.startswith("wayland-") and "." not in name)
    keyboard = subprocess.Popen(as_user + ["/usr/bin/python3", os.path.join(sys.path[0], "virtual_keyboard.py")],
                                env=dict(env, WAYLAND_DISPLAY=socket), stdin=subprocess.PIPE, text=True)
    shell.send = lambda words: (keyboard.stdin.write(words + "\n"), keyboard.stdin.flush())
    try:
        # foot takes keys only once it has the focus and its size: a key echoed tells.
        until("a key echoed", lambda: shell.send("type x") or time.sleep(0.3) or shell.raw().endswith(b"x"))
        shell.send("key ctrl+u")
        return shell.launch("marbek", 0.15) + shell.play("foot")
    finally:
        keyboard.kill()


if __name__ == "__main__":
    sys.exit(main())
