#!/usr/bin/env python3
"""The real game program's start-up and level load, over several runs, on the X display the caller
provides (tests/support/with_xvfb.sh, or the target game_startup_xvfb).

    game_startup.py path/to/game path/to/data-folder [runs]

Each run starts the program in a scratch folder holding only game.dat, so there is no intro film
to play: start-up goes from the film system's start straight to the menu, as after a player's key
at the film's first frame, less opening the film. O3D_GAME_TIMING makes the program print the
steady clock (CLOCK_MONOTONIC) when its first main-menu frame is shown, when the frame that takes
"Nowa gra" starts and when the first play frame is shown, each with the process's processor time
so far (all its threads). Start-up is the menu frame less the moment just before this script
starts the process; the level load is the play frame less the start of the frame that took the
key (Return, sent by xdotool to the menu's first item). The processor times beside them are the
program's own work over the same spans, which other programs on a busy machine do not inflate (the
X server's work for the program is not in them). The program is then ended with SIGTERM, which it
takes as a closed window.
"""
import os
import statistics
import subprocess
import sys
import tempfile
import threading
import time


def xdotool(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True, timeout=30).stdout


def read_marks(stream, wanted, marks, deadline):
    """Reads "o3d-timing EVENT NS CPU" lines into marks until every wanted event is there."""
    while not all(w in marks for w in wanted):
        if time.monotonic() > deadline:
            raise RuntimeError("no %s mark in time" % ", ".join(w for w in wanted if w not in marks))
        line = stream.readline()
        if not line:
            late = " (ended at the deadline)" if time.monotonic() > deadline else ""
            raise RuntimeError("the program ended before its %s mark%s" % (wanted[-1], late))
        parts = line.split()
        if len(parts) == 4 and parts[0] == "o3d-timing":
            marks[parts[1]] = (int(parts[2]), int(parts[3]))


def peak_resident_mb(pid):
    """The process's peak resident memory so far (VmHWM), in MB."""
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1]) / 1024.0
    raise RuntimeError("no VmHWM for the program")


def one_run(program, data):
    with tempfile.TemporaryDirectory(prefix="o3d-game-startup.") as folder:
        os.symlink(os.path.join(data, "game.dat"), os.path.join(folder, "game.dat"))
        env = dict(os.environ, O3D_GAME_TIMING="1", SDL_AUDIODRIVER="dummy")
        start = time.monotonic_ns()
        game = subprocess.Popen([program], cwd=folder, env=env, stdout=subprocess.PIPE,
                                stderr=subprocess.DEVNULL, text=True)
        # A mark that never comes would leave readline waiting for ever: the program is ended at
        # the deadline, which ends the read.
        watchdog = threading.Timer(30, game.kill)
        watchdog.start()
        try:
            marks = {}
            deadline = time.monotonic() + 30
            read_marks(game.stdout, ["menu-frame"], marks, deadline)
            window = xdotool("search", "--sync", "--onlyvisible", "--name", "^Ostrel3D$").split()
            if not window:
                raise RuntimeError("no game window")
            xdotool("mousemove", "--window", window[0], "400", "300")
            xdotool("windowfocus", "--sync", window[0])
            xdotool("keydown", "Return")
            time.sleep(0.1)
            xdotool("keyup", "Return")
            read_marks(game.stdout, ["new-game", "play-frame"], marks, deadline)
            peak = peak_resident_mb(game.pid)
        finally:
            watchdog.cancel()
            game.terminate()
            try:
                game.wait(timeout=10)
            except subprocess.TimeoutExpired:
                game.kill()
                game.wait()
        menu, new_game, play = marks["menu-frame"], marks["new-game"], marks["play-frame"]
        return {
            "start-up to the menu frame": (menu[0] - start) / 1e6,
            "start-up, processor time": menu[1] / 1e6,
            "level load (Nowa gra)": (play[0] - new_game[0]) / 1e6,
            "level load, processor time": (play[1] - new_game[1]) / 1e6,
            "peak resident memory (MB)": peak,
        }


def summary(name, values):
    unit = "" if name.endswith("(MB)") else " ms"
    return "%-28s median %7.1f%s  min %7.1f  max %7.1f  (%d runs)" % (
        name, statistics.median(values), unit, min(values), max(values), len(values))


def main():
    if len(sys.argv) < 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    program, data = os.path.realpath(sys.argv[1]), os.path.realpath(sys.argv[2])
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 7
    if not os.path.exists(os.path.join(data, "game.dat")):
        print("game_startup: no game.dat in %s" % data, file=sys.stderr)
        return 1
    load_before = os.getloadavg()[0]
    figures = {}
    for _ in range(runs):
        try:
            run = one_run(program, data)
        except RuntimeError as error:
            print("game_startup: %s" % error, file=sys.stderr)
            return 1
        for name, value in run.items():
            figures.setdefault(name, []).append(value)
    print("game_startup: load average %.2f before, %.2f after" % (load_before, os.getloadavg()[0]))
    for name, values in figures.items():
        print("  " + summary(name, values))
    return 0


if __name__ == "__main__":
    sys.exit(main())
