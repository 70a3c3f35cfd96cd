#!/usr/bin/env python3
"""Golden replay runs: plays a recorded run with `replay --print all` and compares the SHA-256 of
everything printed, and the closing state line, with what was recorded. Any change to what a
player sees or to the game state after the same input shows up here.

    replay_golden.py REPLAY NAME        check one run of runs.txt
    replay_golden.py REPLAY --record    record every run of runs.txt into expected/
    replay_golden.py REPLAY refusals    check the calls of refusals.txt (bad arguments and
                                        scripts, and the edges of what is taken)
"""
import hashlib
import pathlib
import subprocess
import sys

HERE = pathlib.Path(__file__).resolve().parent


def runs():
    table = {}
    for line in (HERE / "runs.txt").read_text().splitlines():
        words = line.split()
        if words and not words[0].startswith("#"):
            name, variant, size, frames, script = words
            table[name] = (variant, size, frames, script)
    return table


def play(replay, run):
    variant, size, frames, script = run
    command = [replay, variant, "--size", size, "--frames", frames,
               "--script", str(HERE / script), "--print", "all"]
    digest = hashlib.sha256()
    printed_frames = 0
    last = b""
    # Streamed: a large run prints hundreds of megabytes.
    with subprocess.Popen(command, stdout=subprocess.PIPE) as process:
        for line in process.stdout:
            digest.update(line)
            if line.startswith(b"frame "):
                printed_frames += 1
            last = line
    if process.returncode != 0:
        sys.exit(f"replay_golden: {' '.join(command)} exited with {process.returncode}")
    return f"frames {printed_frames} sha256 {digest.hexdigest()}\n{last.decode()}"


# Each call of refusals.txt with its status, its message and a digest of its output; and the
# status when the output cannot be written.
def refusals(replay):
    told = ""
    for line in (HERE / "refusals.txt").read_text().splitlines():
        if line and not line.startswith("#"):
            words, _, script = line.partition(" < ")
            result = subprocess.run([replay, *words.split()[words == "-":]], capture_output=True,
                                    text=True, input=script.replace("\\n", "\n"))
            output = hashlib.sha256(result.stdout.encode()).hexdigest()[:16]
            told += f"{line}\n  status {result.returncode}: {result.stderr}  output {output}\n"
    with open("/dev/full", "w") as full:  # output that cannot be written
        status = subprocess.run([replay, "marbek", "--frames", "1"], stdout=full).returncode
    return told + f"output to a full device: status {status}\n"


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    replay, what = sys.argv[1], sys.argv[2]
    table = runs()
    if what == "--record":
        for name, run in table.items():
            (HERE / "expected" / f"{name}.txt").write_text(play(replay, run))
            print(f"recorded {name}")
        (HERE / "expected" / "refusals.txt").write_text(refusals(replay))
        return
    table["refusals"] = None
    if what not in table:
        sys.exit(f"replay_golden: no run named '{what}' in runs.txt")
    expected = (HERE / "expected" / f"{what}.txt").read_text()
    actual = refusals(replay) if what == "refusals" else play(replay, table[what])
    if actual != expected:
        sys.exit(f"replay_golden: run '{what}' differs from its recording\n"
                 f"expected:\n{expected}actual:\n{actual}")
    print(actual, end="")


main()
