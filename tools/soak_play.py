#!/usr/bin/env python3
"""Plays the game with random keys for tools/soak.sh and watches it.

It follows which screen is current (and the level) in the trace the game writes when
ZQ_TRACE names a file, so the keys can follow the screens: Return where a screen waits for it,
steering and developer keys in play, the odd Escape everywhere. It fails on a
sanitizer report, a crash, an exit nobody asked for, and resident memory growth of
5% or more after the first level has been entered.
"""
import argparse
import collections
import glob
import os
import random
import re
import signal
import subprocess
import sys
import time

RSS_EVERY = 2.0          # seconds between VmRSS samples
RSS_SETTLE = 3.0         # the first level gets this long to finish setting up
RSS_WINDOW = 5           # samples per median
RSS_LIMIT = float(os.environ.get("ZQ_SOAK_RSS_LIMIT", "0.05"))  # growth allowed after that
# The soak judges the game by its progress, not by the clock, so a busy machine only
# makes it longer: its time counts from the first screen, it goes on until play has been
# reached, and it fails on a game that stops moving between screens.
WINDOW_TIMEOUT = 240.0   # start-up under the sanitizers with a 7 s loading screen
LOAD_TIMEOUT = 300.0     # from the start to the first screen (the images are loaded)
STUCK_TIMEOUT = 150.0    # no screen change for this long while keys keep coming: stuck
PLAY_GRACE = 300.0       # past the time, this long more to reach play at all
QUIT_TIMEOUT = 120.0     # time to find the way back to the main menu at the end

SCREEN_NAMES = ["TeamLogoScreen", "MainMenuScreen", "IntroScreen", "CreditsScreen",
                "PauseScreen", "DeathScreen", "LevelCompleteScreen", "CaveMapScreen",
                "ResultsScreen", "HighScoreScreen", "OptionsScreen"]
LETTERS = "abcehijlnoqrtuvxyz"
SANITIZER_MARKS = ("ERROR: AddressSanitizer", "runtime error:", "SUMMARY: AddressSanitizer",
                   "SUMMARY: UndefinedBehaviorSanitizer", "ERROR: LeakSanitizer")


def median(values):
    v = sorted(values)
    return v[len(v) // 2]


class Fault(Exception):
    pass


def log(msg):
    print("soak: " + msg, flush=True)


class Game:
    def __init__(self, args, index):
        self.index = index
        self.out = open(os.path.join(args.out, "game-%d.out" % index), "wb")
        self.err = open(os.path.join(args.out, "game-%d.err" % index), "wb")
        self.trace_path = os.path.join(args.out, "game-%d.trace" % index)
        if os.path.exists(self.trace_path):
            os.remove(self.trace_path)
        env = dict(os.environ, ZQ_TRACE=self.trace_path)
        self.proc = subprocess.Popen([args.game], cwd=args.work, stdin=subprocess.DEVNULL,
                                     stdout=self.out, stderr=self.err, env=env)
        self.trace = None           # opened once the game has written its first line
        self.partial = ""           # a line the game has not finished writing
        self.pid = self.proc.pid
        self.started = time.monotonic()
        self.window = None
        self.ready = False          # the first screen has been seen: images are loaded
        self.play_since = None      # when the first level was entered
        self.baseline = None        # median VmRSS (kB) once the first level is under way
        self.after = []             # samples from then on
        self.peak = 0
        self.rss = []               # (seconds since start, kB)
        self.next_rss = 0.0

    def alive(self):
        return self.proc.poll() is None

    def trace_lines(self):
        """The whole lines the game added to its trace since the last call."""
        if self.trace is None:
            try:
                self.trace = open(self.trace_path)
            except OSError:
                return []
        self.partial += self.trace.read()
        *lines, self.partial = self.partial.split("\n")
        return lines

    def rss_kb(self):
        try:
            with open("/proc/%d/status" % self.pid) as status:
                for line in status:
                    if line.startswith("VmRSS:"):
                        return int(line.split()[1])
        except OSError:
            pass
        return None

    def close(self):
        if self.trace:
            self.trace.close()
            self.trace = None
        if self.alive():
            self.proc.kill()
            self.proc.wait()
        self.out.close()
        self.err.close()


class Soak:
    def __init__(self, args):
        self.args = args
        self.rng = random.Random(args.seed)
        # On the way out: the pause menu's cursor, known to be on Continue once a Return
        # has been pressed there (every choice puts it back), None while unknown.
        self.pause_cursor = None
        self.quit_key = (-1, 0.0)   # (screen changes seen, time) at the last key on the way out
        self.keys = collections.Counter()
        self.screen_samples = collections.Counter()
        self.screen_first = {}
        self.levels_played = set()
        self.last_escape = -100.0
        self.games = []
        self.game = None
        self.state = None           # screen name, "Play", or None while loading
        self.level = 0              # the game starts on level 0 until its trace names one
        self.play_entered = None    # when the current stretch of play began
        self.play_budget = 0.0
        self.quitting = False
        self.normal_quits = 0
        self.transitions = []       # (seconds, screen, level)
        self.t0 = time.monotonic()
        self.last_change = self.t0  # the last screen change (or game start)

    # --- the game process
    def start_game(self):
        index = len(self.games) + 1
        self.game = Game(self.args, index)
        self.games.append(self.game)
        self.state = None
        self.level = 0
        log("game %d started (pid %d)" % (index, self.game.pid))
        deadline = time.monotonic() + WINDOW_TIMEOUT
        while time.monotonic() < deadline:
            self.check_exit()
            r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Zoomquest!$"],
                               capture_output=True, text=True)
            if r.stdout.split():
                self.game.window = r.stdout.split()[0]
                break
            time.sleep(0.5)
        if not self.game.window:
            raise Fault("game %d opened no window named Zoomquest! within %d s"
                        % (index, WINDOW_TIMEOUT))
        subprocess.run(["xdotool", "windowfocus", "--sync", self.game.window],
                       capture_output=True, timeout=10)
        subprocess.run(["xdotool", "mousemove", "--window", self.game.window, "400", "300"],
                       capture_output=True, timeout=10)

    def sanitizer_reports(self):
        found = []
        for path in sorted(glob.glob(os.path.join(self.args.out, "sanitizer.*"))):
            with open(path, errors="replace") as f:
                found.append((path, f.read()))
        for g in self.games:
            if not g.err.closed:
                g.err.flush()
            with open(g.err.name, errors="replace") as f:
                text = f.read()
            if any(mark in text for mark in SANITIZER_MARKS):
                found.append((g.err.name, text))
        return found

    def check_sanitizers(self):
        reports = self.sanitizer_reports()
        if reports:
            path, text = reports[0]
            lines = text.strip().splitlines()
            raise Fault("sanitizer report in %s:\n%s" % (path, "\n".join(lines[:60])))

    def check_exit(self):
        g = self.game
        if g is None or g.alive():
            return
        rc = g.proc.returncode
        time.sleep(0.5)          # let a sanitizer finish its log
        self.check_sanitizers()
        with open(g.out.name, errors="replace") as f:
            out = f.read()
        if "Level file could not be found or loaded" in out:
            raise Fault("game %d could not load a level (level %s)" % (g.index, self.level))
        recent_escape = time.monotonic() - self.last_escape < 5.0
        if rc == 0 and (recent_escape or self.quitting):
            self.normal_quits += 1
            self.finish_game(g, "quit from the main menu")
            self.game = None
            return
        if rc < 0:
            raise Fault("game %d died of signal %s on %s" % (g.index, signal.Signals(-rc).name, self.state))
        raise Fault("game %d ended with status %d on %s without being asked to" % (g.index, rc, self.state))

    def finish_game(self, g, how):
        log("game %d ended after %.0f s: %s" % (g.index, time.monotonic() - g.started, how))
        g.close()

    # --- what the game shows
    def poll_state(self):
        g = self.game
        now = time.monotonic()
        state, level = self.state, self.level
        for line in g.trace_lines():
            words = line.split()
            if len(words) >= 2 and words[0] == "screen":
                state = "Play" if words[1] == "play" else words[1]
                g.ready = True
            elif len(words) >= 2 and words[0] == "level" and words[1].isdigit():
                level = int(words[1])
        if state is None:
            return
        if state != self.state:
            self.transitions.append((now - self.t0, state, level))
            self.last_change = now
        if state == "Play":
            self.levels_played.add(level)
            if self.state != "Play":
                self.play_entered = now
                # Each stretch of play lasts a while before the end of level or the dragon.
                longest = min(40.0, max(4.0, self.args.seconds / 12.0))
                self.play_budget = self.rng.uniform(2.0, longest)
                if g.play_since is None:
                    g.play_since = now
        if state not in self.screen_first:
            self.screen_first[state] = now - self.t0
            log("%5.0f s: first %s%s" % (now - self.t0, state,
                                         " (level %d)" % level if state == "Play" else ""))
        self.screen_samples[state] += 1
        self.state, self.level = state, level

    def sample_rss(self):
        """VmRSS every few seconds. Single samples swing by a few MB as levels load and
        screens come and go, so the check compares medians of five samples (10 s): the
        first five once the first level is under way, and the latest five."""
        g = self.game
        now = time.monotonic()
        if now < g.next_rss:
            return
        g.next_rss = now + RSS_EVERY
        kb = g.rss_kb()
        if kb is None:
            return
        g.rss.append((now - g.started, kb))
        if g.play_since is None or now - g.play_since < RSS_SETTLE:
            return
        g.after.append(kb)
        if len(g.after) < RSS_WINDOW:
            return
        current = median(g.after[-RSS_WINDOW:])
        if g.baseline is None:
            g.baseline = current
            log("game %d: resident memory %.1f MB once the first level is under way"
                % (g.index, current / 1024.0))
            return
        g.peak = max(g.peak, current)
        growth = (current - g.baseline) / g.baseline
        if growth >= RSS_LIMIT:
            raise Fault("game %d: resident memory grew %.1f%% since the first level "
                        "(median %d kB -> %d kB)" % (g.index, growth * 100, g.baseline, current))

    # --- keys
    def xdo(self, *cmd):
        subprocess.run(["xdotool"] + list(cmd), capture_output=True, timeout=10)

    def tap(self, key):
        self.keys[key] += 1
        if key == "Escape":
            self.last_escape = time.monotonic()
        self.xdo("key", key)

    def hold(self, key, seconds):
        self.keys[key] += 1
        self.xdo("keydown", key)
        time.sleep(seconds)
        self.xdo("keyup", key)

    def chord(self, held, keys):
        """Developer fog keys: f held (with s or e), then g or the keypad."""
        for k in held:
            self.keys[k] += 1
            self.xdo("keydown", k)
        time.sleep(0.05)
        for k in keys:
            self.tap(k)
            time.sleep(0.03)
        for k in reversed(held):
            self.xdo("keyup", k)

    def pick(self, table):
        total = sum(w for w, _ in table)
        r = self.rng.uniform(0, total)
        for w, action in table:
            r -= w
            if r <= 0:
                return action
        return table[-1][1]

    def letter(self):
        self.tap(self.rng.choice(LETTERS))

    def play_action(self):
        rng = self.rng
        now = time.monotonic()
        if self.play_entered is not None and now - self.play_entered > self.play_budget:
            # Time to leave: to the end of the level, sometimes into the dragon's mouth.
            self.play_entered = now
            self.play_budget = 3.0
            self.tap("d" if rng.random() < 0.15 else "w")
            return
        action = self.pick([
            (30, lambda: self.hold(rng.choice(["Left", "Right"]), rng.uniform(0.05, 0.7))),
            (15, lambda: self.tap("space")),
            (4, lambda: self.tap(rng.choice(["Up", "Down"]))),
            (4, lambda: self.tap("p")),
            (3, lambda: self.tap("Escape")),
            (3, lambda: self.tap(rng.choice(["k", "m"]))),
            (4, lambda: self.xdo("mousemove", "--window", self.game.window,
                                 str(rng.randrange(0, 800)), str(rng.randrange(0, 600)))),
            (2, lambda: self.xdo("click", "1")),
            (5, lambda: self.chord(["f"] + rng.choice([[], ["s"], ["e"]]),
                                   [rng.choice(["g", "KP_Add", "KP_Subtract", "space"])
                                    for _ in range(rng.randrange(1, 4))])),
            (8, self.letter),
            (3, lambda: self.tap(rng.choice(["Return", "o", "b"]))),
            (1, lambda: self.tap("d")),
            (1, lambda: self.tap("w")),
        ])
        action()

    def screen_action(self):
        rng = self.rng
        s = self.state
        arrows = lambda: self.tap(rng.choice(["Up", "Down", "Left", "Right"]))
        enter = lambda: self.tap("Return")
        if s == "MainMenuScreen":
            table = [(30, lambda: self.tap(rng.choice(["Left", "Left", "Right"]))),
                     (45, enter), (10, self.letter), (5, lambda: self.tap("space"))]
            if self.args.seconds >= 120:
                table.append((0.7, lambda: self.tap("Escape")))   # quits: the game is restarted
        elif s == "PauseScreen":
            table = [(15, lambda: self.tap("p")), (12, lambda: self.tap("Escape")),
                     (30, lambda: self.tap(rng.choice(["Up", "Down"]))),
                     (12, lambda: self.tap(rng.choice(["Left", "Right"]))),
                     (12, enter), (8, self.letter)]
        elif s == "DeathScreen":
            table = [(35, enter), (35, lambda: self.tap(rng.choice(["Up", "Down"]))),
                     (5, lambda: self.tap("Escape")), (10, self.letter), (5, arrows)]
        elif s in ("TeamLogoScreen", "IntroScreen", "LevelCompleteScreen", "CaveMapScreen",
                   "ResultsScreen", "HighScoreScreen"):
            table = [(65, enter), (10, arrows), (8, self.letter), (4, lambda: self.tap("Escape")),
                     (5, lambda: self.tap(rng.choice(["p", "space", "k", "w", "d"]))),
                     (3, lambda: self.xdo("click", "1"))]
        else:
            table = [(50, enter), (20, arrows), (10, self.letter)]
        self.pick(table)()

    def quit_action(self):
        """The way out at the end: pause, quit to the main menu, Escape. Each key waits
        for the screen change it makes (5 s at most, for a key that went astray)."""
        now = time.monotonic()
        if self.quit_key[0] == len(self.transitions) and now - self.quit_key[1] < 5.0:
            return
        self.quit_key = (len(self.transitions), now)
        s = self.state
        if s == "MainMenuScreen":
            self.tap("Escape")
        elif s == "Play":
            self.tap("p")
        elif s == "PauseScreen" and self.pause_cursor == 0:
            # Up from Continue wraps round to Quit.
            self.tap("Up")
            self.tap("Return")
            self.pause_cursor = None
        elif s == "PauseScreen":
            # Any choice leaves the menu and puts its cursor back on Continue.
            self.tap("Return")
            self.pause_cursor = 0
        else:
            self.tap("Return")

    # --- the run
    def check_progress(self):
        g = self.game
        if g is None:
            return
        now = time.monotonic()
        if not g.ready:
            if now - g.started > LOAD_TIMEOUT:
                raise Fault("game %d showed no screen within %d s of its start" % (g.index, LOAD_TIMEOUT))
            return
        if now - max(self.last_change, g.started) > STUCK_TIMEOUT:
            raise Fault("game %d stuck: no screen change for %d s (on %s)" % (g.index, STUCK_TIMEOUT, self.state))

    def step(self, action):
        self.poll_state()
        self.check_progress()
        self.sample_rss()
        if self.state is not None:
            action()
        time.sleep(self.rng.uniform(0.05, 0.25))
        self.check_exit()
        self.check_sanitizers()

    def run(self):
        end = None
        while True:
            now = time.monotonic()
            if end is None and self.game is not None and self.game.ready:
                end = now + self.args.seconds
            if end is not None and now >= end:
                # Past the time: done once play has been seen, or when it never comes.
                if "Play" in self.screen_first or now >= end + PLAY_GRACE:
                    break
            if self.game is None:
                self.start_game()
            self.step(self.play_action if self.state == "Play" else self.screen_action)
            # A game that quit normally is restarted while there is time left.
            if self.game is None and end is not None and end - time.monotonic() < 20:
                break
        # Leave the way a player does, so the shutdown runs under the sanitizers too.
        if self.game is not None:
            self.quitting = True
            quit_end = time.monotonic() + QUIT_TIMEOUT
            while self.game is not None and time.monotonic() < quit_end:
                self.step(self.quit_action)
            if self.game is not None:
                g = self.game
                g.proc.send_signal(signal.SIGTERM)
                try:
                    g.proc.wait(10)
                except subprocess.TimeoutExpired:
                    pass
                self.check_sanitizers()
                raise Fault("game %d did not reach the main menu and quit within %d s (on %s)"
                            % (g.index, QUIT_TIMEOUT, self.state))
        self.check_sanitizers()

    def report(self, ok):
        elapsed = time.monotonic() - self.t0
        log("played %.0f s in %d game(s); quit from the main menu %d time(s), restarted %d"
            % (elapsed, len(self.games), self.normal_quits, max(0, len(self.games) - 1)))
        log("keys sent: %d (%s)" % (sum(self.keys.values()),
                                    ", ".join("%s %d" % kv for kv in self.keys.most_common())))
        seen = sorted(self.screen_first.items(), key=lambda kv: kv[1])
        log("screens reached: " + ", ".join("%s" % (n,) for n, _ in seen))
        missing = [n for n in SCREEN_NAMES if n not in self.screen_first and n != "CreditsScreen"]
        if missing:
            log("screens not seen: " + ", ".join(missing))
        log("levels played: " + (", ".join(str(l) for l in sorted(self.levels_played)) or "none"))
        with open(os.path.join(self.args.out, "screens.txt"), "w") as f:
            for t, state, level in self.transitions:
                f.write("%.1f %s %d\n" % (t, state, level))
        for g in self.games:
            path = os.path.join(self.args.out, "rss-%d.txt" % g.index)
            with open(path, "w") as f:
                for t, kb in g.rss:
                    f.write("%.1f %d\n" % (t, kb))
            if not g.rss:
                continue
            series = " ".join("%.0f" % (kb / 1024.0) for _, kb in g.rss[:: max(1, len(g.rss) // 12)])
            if g.baseline is not None:
                log("game %d RSS (MB, every %.0f s): %s; after the first level: median %.1f -> "
                    "highest median %.1f (%+.2f%%), single samples %.1f..%.1f"
                    % (g.index, RSS_EVERY * max(1, len(g.rss) // 12), series, g.baseline / 1024.0,
                       max(g.peak, g.baseline) / 1024.0,
                       (max(g.peak, g.baseline) - g.baseline) * 100.0 / g.baseline,
                       min(g.after) / 1024.0, max(g.after) / 1024.0))
            else:
                log("game %d RSS (MB): %s; no level reached" % (g.index, series))
        if ok:
            log("ok: no sanitizer report, no crash, memory growth under %.0f%%" % (RSS_LIMIT * 100))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--game", required=True)
    ap.add_argument("--work", required=True)
    ap.add_argument("--out", required=True)
    ap.add_argument("--seconds", type=int, default=600)
    ap.add_argument("--seed", default="")
    args = ap.parse_args()
    args.seed = int(args.seed) if args.seed else int(time.time()) % 100000
    log("seed %d (ZQ_SOAK_SEED=%d repeats the key choices)" % (args.seed, args.seed))
    soak = Soak(args)
    ok = False
    try:
        soak.run()
        ok = True
    except Fault as fault:
        print("soak: FAIL: %s" % fault, file=sys.stderr, flush=True)
    finally:
        for g in soak.games:
            g.close()
        soak.report(ok)
    if ok and not any(l == "Play" for l in soak.screen_first):
        print("soak: FAIL: the game never reached play", file=sys.stderr)
        ok = False
    sys.exit(0 if ok else 1)


if __name__ == "__main__":
    main()
