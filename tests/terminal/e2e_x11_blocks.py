#!/usr/bin/env python3
# marbek's first frame as three terminals draw it on a virtual X display, read from screenshots:
# st with its own font, xterm with an outline font, and xterm drawing ambiguous-width characters
# two columns wide. In each, every wall block of the replay's first frame must be solid (not one
# pixel nearer the background's colour than the block's, so neighbouring blocks join without a
# seam) and every row must end where the replay's row ends. Usage: e2e_x11_blocks.py MARBEK
# REPLAY [DIR] (DIR keeps the screenshots as PNG). Exits 77 when a tool or font is missing or the
# X server or a terminal does not start.
# Depends on: Xvfb, st (stterm), xterm, xdotool, imagemagick's import, DejaVu fonts, python3.
import os, shutil, subprocess, sys, tempfile, time

COLUMNS, ROWS = 120, 41
ST = shutil.which("st") or shutil.which("stterm") or "st"
XTERM = ["xterm", "-geometry", f"{COLUMNS}x{ROWS}"]
TERMINALS = {"st": [ST, "-g", f"{COLUMNS}x{ROWS}"],
             "xterm-dejavu": XTERM + ["-fa", "DejaVu Sans Mono"],
             "xterm-cjkwidth": XTERM + ["-xrm", "*cjkWidth: true"]}


class Skip(Exception):
    pass


def output(*args):
    try:
        return subprocess.run(args, capture_output=True, timeout=5).stdout
    except subprocess.TimeoutExpired:  # import waits for ever on a window that went away
        return b""


def until(what, predicate, timeout=8, failure=TimeoutError):
    deadline = time.monotonic() + timeout
    while not (result := predicate()):
        if time.monotonic() > deadline:
            raise failure(f"timed out waiting for {what}")
        time.sleep(0.05)
    return result


class Shot:
    """A window's pixels (from imagemagick's PPM) and the grid of cells on them."""
    def __init__(self, window):
        shoot = lambda: output("import", "-window", window, "-depth", "8", "ppm:-")
        picture = until("a screenshot", shoot)
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


def check(name, shot, frame):
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


def first_frame(name, command, marbek, keep):
    started = subprocess.Popen(command + ["-e", "sh", "-c", f"echo $WINDOWID > {name}; exec {marbek}"],
                               stderr=subprocess.DEVNULL)
    try:
        window = until(f"{name} to start", lambda: os.path.exists(name) and open(name).read().strip(),
                       failure=Skip)
        output("xdotool", "windowfocus", "--sync", window)
        shots = [Shot(window)]

        # Enter starts the game once the menu takes keys: until the sky shows, press it again.
        def steady_frame():
            if not shots[-1].sky():
                output("xdotool", "key", "Return")
            shots.append(Shot(window))
            return shots[-1].pixels == shots[-2].pixels and shots[-1].sky()
        until(f"{name}'s first frame", steady_frame)
        if keep:
            output("import", "-window", window, os.path.join(keep, f"{name}.png"))
        return shots[-1]
    finally:
        started.kill()
        started.wait()


def main():
    marbek, replay = map(os.path.abspath, sys.argv[1:3])
    keep = os.path.abspath(sys.argv[3]) if len(sys.argv) > 3 else None
    tools = ("Xvfb", ST, "xterm", "xdotool", "import", "fc-list")
    missing = [tool for tool in tools if not shutil.which(tool)]
    if missing or not output("fc-list", "DejaVu Sans Mono"):
        print("SKIPPED: missing " + (" ".join(missing) or "the DejaVu Sans Mono font"))
        return 77
    frame = output(replay, "marbek", "--frames", "1", "--print", "last").decode().split("\n")[1:41]
    os.environ.update(LANG="C.UTF-8", LC_ALL="C.UTF-8")
    with tempfile.TemporaryDirectory() as workdir:
        os.chdir(workdir)
        read, write = os.pipe()
        server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-noreset", "-nolisten", "tcp",
                                   "-screen", "0", "1280x1024x24"], pass_fds=[write],
                                  stderr=subprocess.DEVNULL)
        os.close(write)
        os.environ["DISPLAY"] = ":" + os.read(read, 16).decode().strip()
        failures = []
        try:
            if os.environ["DISPLAY"] == ":":
                raise Skip("the X server did not start")
            for name, command in TERMINALS.items():
                found = check(name, first_frame(name, command, marbek, keep), frame)
                print(f"{name}: {len(found)} rows with seams or torn")
                failures += found
        except Skip as reason:
            print(f"SKIPPED: {reason}")
            return 77
        except TimeoutError as error:
            failures.append(str(error))
        finally:
            server.kill()
            server.wait()
    print("\n".join(failures) or "all checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
