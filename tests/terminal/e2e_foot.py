#!/usr/bin/env python3
# marbek in foot (which speaks the kitty keyboard protocol) in a headless wlroots compositor,
# sway, run as an unprivileged user since it refuses root. Keys come from one virtual keyboard,
# fed through a pipe in xdotool's words; the repeat is foot's own at sway's
# 660 ms, 25/s; the screen is read from a log that script writes around foot's shell. Launched
# with Enter, then played (terminal_play.py). Usage: e2e_foot.py MARBEK [PROGRAM...] (plays
# marbek). Depends on: sway, foot, script, setpriv, virtual_keyboard.py, terminal_play.py, python3.
import os, pwd, re, shutil, subprocess, sys
from terminal_play import PROMPT, SHELL, Shell, check, end, skip, until

# foot floats at 120 x 41 cells, whatever its font's size.
CONFIG = f"""output HEADLESS-1 resolution 1280x800
for_window [app_id="foot"] floating enable
input * repeat_delay 660
input * repeat_rate 25
exec foot --window-size-chars=120x41 script -qf log -c '{SHELL}'
"""


def foot(workdir):
    root, user = os.geteuid() == 0, pwd.getpwnam("nobody")  # sway refuses to run as root
    as_user = ["setpriv", f"--reuid={user.pw_uid}", f"--regid={user.pw_gid}",
               "--clear-groups"] if root else []
    os.mkdir("run", 0o700)
    open("config", "w").write(CONFIG)
    shutil.copy(os.path.join(sys.path[0], "virtual_keyboard.py"), ".")
    for path in (".", "run") if root else ():
        os.chown(path, user.pw_uid, user.pw_gid)
    env = dict(PATH=os.environ["PATH"], PS1=PROMPT, LANG="C.UTF-8", HOME=workdir,
               XDG_RUNTIME_DIR=f"{workdir}/run", WLR_BACKENDS="headless", WLR_RENDERER="pixman",
               WLR_LIBINPUT_NO_DEVICES="1")
    started = [subprocess.Popen(as_user + ["sway", "-c", "config"], env=env,
                                stdout=subprocess.DEVNULL, stderr=open("sway.log", "w"))]
    try:
        shell = Shell("log")
        until("foot or sway", lambda: started[0].poll() is not None or shell.prompts()[0], 10,
              lambda why: None)
        if not shell.prompts()[0]:
            skip(f"sway or foot did not start: {open('sway.log').read()[-300:]}")
        env["WAYLAND_DISPLAY"] = next(filter(re.compile(r"wayland-\d+$").match, os.listdir("run")))
        keys, into = os.pipe()
        started.append(subprocess.Popen(as_user + ["/usr/bin/python3", "virtual_keyboard.py"],
                                        env=env, stdin=keys))
        # Written here, the keys keep their order, which processes started in turn may not.
        shell.send = lambda words: os.write(into, f"{words}\n".encode())
        return shell.launch("marbek", 0.15) + shell.play("foot")
    finally:
        for process in started:
            end(process.pid)
            process.wait()


if __name__ == "__main__":
    sys.exit(check(["sway", "foot", "script", "setpriv"], foot))
