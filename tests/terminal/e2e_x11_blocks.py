#!/usr/bin/env python3
# marbek's first frame as three terminals draw it on a virtual X display, read from screenshots:
# st with its own font, xterm with an outline font, and xterm drawing ambiguous-width characters
# two columns wide. In each, every wall block of the replay's first frame must be solid (not one
# pixel nearer the background's colour than the block's, so neighbouring blocks join without a
# seam) and every row must end where the replay's row ends. Usage: e2e_x11_blocks.py MARBEK
# PROGRAM... (replay among the programs). Exits 77 when a tool or font is missing or the X
# server or a terminal does not start.
# Depends on: terminal_play.py, Xvfb, st (stterm), xterm, xdotool, imagemagick's import, DejaVu
# fonts, python3.
import os, shutil, subprocess, sys
from terminal_play import check, end, skip, start_x, until

COLUMNS, ROWS = 120, 41
ST = shutil.which("st") or shutil.which("stterm") or "st"
XTERM = ["xterm", "-geometry", f"{COLUMNS}x{ROWS}"]
TERMINALS = {"st": [ST, "-g", f"{COLUMNS}x{ROWS}"],
             "xterm-dejavu": XTERM + ["-fa", "DejaVu Sans Mono"],
             "xterm-cjkwidth": XTERM + ["-xrm", "*cjkWidth: true"]}


def output(*args):
    try:
        return subprocess.run(args, capture_output=True, timeout=5).stdout
    except subprocess.TimeoutExpired:  # import waits for ever on a window that went away
        return b""


class Shot:
    """A window's pixels (from imagemagick's PPM) and the grid of cells on them."""
    def __init__(self, window):
        shoot = lambda: output("import", "-window", window, "-depth", "8", "ppm:-")
        picture = until("a screenshot", shoot, 8)
        _, size, _, self.pixels = picture.split(b"\n", 3)
        self.width, self.height = map(int, size.split())
        # The cells fill the window but for an equal border on each side.
        w, h = self.cell = self.width // COLUMNS, self.height // ROWS
        self.border = (self.width - COLUMNS * w) // 2, (self.height - ROWS * h) // 2

    def pixel(self, x, y):
        at = 3 * (y * self.width + x)
        return self.pixels[at:at + 3]

    def cell_pixels(self, column, row):
        (w, h), (left, top) = self.cell, self.border
        x, y = left + column * w, top + row * h
        return [self.pixel(x + i, y + j) for j in range(h) for i in range(w)]

    def centre(self, column, row):
        (w, h), (left, top) = self.cell, self.border
        return self.pixel(left + column * w + w // 2, top + row * h + h // 2)

    def sky(self):  # the frame's second row is open sky, aqua in every palette
        red, green, blue = self.centre(0, 1)
        return red < 100 < green and 100 < blue


def nearer(pixel, one, other):
    distance = lambda colour: sum((a - b) ** 2 for a, b in zip(pixel, colour))
    return distance(one) < distance(other)


def judge(name, shot, frame):
    blank = shot.centre(0, 1)
    block = next(shot.centre(x, y) for y, row in enumerate(frame) for x, c in enumerate(row) if c == "#")
    failures = []
    for y, row in enumerate(frame[1:] + [""] * (ROWS - len(frame)), 1):
        seams = sum(nearer(pixel, blank, block) for x, c in enumerate(row) if c == "#"
                    for pixel in shot.cell_pixels(x, y))
        shown = [x for x in range(COLUMNS) if nearer(shot.centre(x, y), block, blank)]
        end = shown[-1] if shown else -1
        if seams or end != row.rfind("#"):
            failures.append(f"{name} row {y}: {seams} background pixels in blocks, ends at {end} "
                            f"not {row.rfind('#')}")
    return failures


def first_frame(name, command):
    started = subprocess.Popen(command + ["-e", "sh", "-c", f"echo $WINDOWID > {name}; exec marbek"],
                               stderr=subprocess.DEVNULL)
    try:
        window = until(f"{name} to start", lambda: os.path.exists(name) and open(name).read().strip(),
                       8, skip)
        output("xdotool", "windowfocus", "--sync", window)
        shots = [Shot(window)]

        # Enter starts the game once the menu takes keys: until the sky shows, press it again.
        def steady_frame():
            if not shots[-1].sky():
                output("xdotool", "key", "Return")
            shots.append(Shot(window))
            return shots[-1].pixels == shots[-2].pixels and shots[-1].sky()
        until(f"{name}'s first frame", steady_frame, 8)
        return shots[-1]
    finally:
        end(started.pid)
        started.wait()


def blocks(workdir):
    if not output("fc-list", "DejaVu Sans Mono"):
        skip("missing the DejaVu Sans Mono font")
    frame = output("./replay", "marbek", "--frames", "1", "--print", "last").decode()
    frame = frame.split("\n")[1:41]
    os.environ.update(LC_ALL="C.UTF-8")
    server, failures = start_x(), []
    try:
        for name, command in TERMINALS.items():
            found = judge(name, first_frame(name, command), frame)
            print(f"{name}: {len(found)} rows with seams or torn")
            failures += found
        return failures
    finally:
        end(server.pid)
        server.wait()


if __name__ == "__main__":
    sys.exit(check(["Xvfb", ST, "xterm", "xdotool", "import", "fc-list"], blocks))
