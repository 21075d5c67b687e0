#!/usr/bin/env python3
"""Prints which screen the running game shows: the name of the Game_State screen
function that is current ("MainMenuScreen", ...), or "none" while no screen is current
(loading, or play once a screen has been seen). Read from /proc/PID/mem at gGameState,
so the end-to-end scripts can follow the game's own progress instead of guessing times.
Usage: screen_of.py GAME_BINARY PID"""
import os
import re
import subprocess
import sys


def main():
    game, pid = os.path.realpath(sys.argv[1]), int(sys.argv[2])
    nm = subprocess.run(["nm", "-C", game], capture_output=True, text=True, check=True).stdout
    state, screens = None, {}
    for line in nm.splitlines():
        parts = line.split(None, 2)
        if len(parts) != 3:
            continue
        if parts[2] == "gGameState":
            state = int(parts[0], 16)
        m = re.fullmatch(r"Game_State::(\w+Screen)\(\)", parts[2])
        if m:
            screens[int(parts[0], 16)] = m.group(1)
    if state is None:
        sys.exit("screen_of: no gGameState in " + game)
    base = None
    with open("/proc/%d/maps" % pid) as maps:
        for line in maps:
            f = line.split()
            if len(f) >= 6 and f[5] == game and int(f[2], 16) == 0:
                base = int(f[0].split("-")[0], 16)
                break
    if base is None:
        sys.exit("screen_of: %s is not mapped in process %d" % (game, pid))
    with open("/proc/%d/mem" % pid, "rb", buffering=0) as mem:
        mem.seek(base + state)
        fn = int.from_bytes(mem.read(8), "little")
    print("none" if fn == 0 else screens.get(fn - base, "unknown"))


if __name__ == "__main__":
    main()
