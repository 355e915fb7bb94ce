#!/usr/bin/python3
"""A random player: the real game under Xvfb, clicked, dragged and typed at with xdotool.

Usage: random_player.py GAME_BINARY OUTPUT_DIR [SAVED_GAME]

The game plays in a fresh folder like the launcher's (links to the archives and the manual
beside the binary), with HOME, TMPDIR and every XDG folder inside a temporary tree and a stub
xdg-open, so the manual opens nothing. It is started again whenever it quits. The run fails on
  - a sanitizer report or any exit status but 0,
  - a frozen game: its timer's heartbeat (REDHOLLOW_HEARTBEAT, see app/heartbeat.h) silent
    for 5 s,
  - a file written, changed or removed in the tree outside SAVES, or written beside the game
    binary or as a saved game in /tmp.
SAVED_GAME (a good saved game) is copied into SAVES with damaged and odd neighbours.

Each start passes the game a command line of its own now and then (--window, --window=WxH,
--fullscreen). While the game plays in a window, the window is resized now and then (below the
smallest size the game asks for, too: a desktop without a window manager does not hold to it),
and the pointer's places, chosen in fractions of the screen, are taken as fractions of the window.

The actions depend on the seed alone, never on what the game shows, so a seed replays them;
what is done on the title screen after each start comes from a generator of its own, so the
actions after it stay the same wherever the game happened to quit.
Environment:
  REDHOLLOW_RANDOM_PLAYER_SECONDS  how long to play (default 120)
  REDHOLLOW_RANDOM_PLAYER_SEED     the seed (default from the clock)
  REDHOLLOW_RANDOM_PLAYER_EXCLUDE  keys and buttons to leave out, e.g. "F10" (the key and the
                                   toolbar button it names); "resize" leaves out the resizes
  REDHOLLOW_RANDOM_PLAYER_SCREEN   the screen, default 1024x768
"""

import collections
import os
import random
import shutil
import stat
import subprocess
import sys
import tempfile
import threading
import time

FREEZE_SECONDS = 5.0
START_SECONDS = 60.0  # the sanitizer build on a loaded machine starts slowly
SANITIZER_MARKS = ("AddressSanitizer", "LeakSanitizer", "UndefinedBehaviorSanitizer",
                   "runtime error:", "SUMMARY: ")

# --- where things are: (name, weight, (left, top, width, height) in fractions of the screen) ---
TITLE = [("New Game", 5, (0.14, 0.40, 0.16, 0.15)), ("Load Game", 3, (0.32, 0.30, 0.16, 0.15)),
         ("Help", 1, (0.52, 0.30, 0.16, 0.15)), ("Credits", 1, (0.70, 0.40, 0.16, 0.15)),
         ("Quit", 0.15, (0.42, 0.60, 0.16, 0.15)), ("Options", 1, (0.42, 0.45, 0.16, 0.15))]
# The toolbar's buttons are named after their keys, so that excluding a key excludes its button.
TOOLBAR = [(key, 0.2 if key == "Escape" else 1, (0.5 + left, 0.06, 0.04, 0.052))
           for key, left in [("F1", 0.10), ("F2", 0.14), ("F3", 0.18), ("F4", 0.22), ("F5", 0.27),
                             ("F6", 0.31), ("F7", 0.35), ("F10", 0.40), ("Escape", 0.44)]]
PANELS = ([(f"tab {i}", 1, (0.008 + 0.042 * i, 0.088, 0.042, 0.032)) for i in range(8)] +
          [("Earth Comm", 1, (0.35, 0.088, 0.042, 0.032))] +
          [(f"item {i}", 1.5, (0.009 + 0.078 * i, 0.012, 0.07, 0.066)) for i in range(5)] +
          [("info area", 1, (0.008, 0.012, 0.392, 0.078)),
           ("minimap", 2, (0.4035, 0.004, 0.093, 0.112)),
           ("date and counters", 0.5, (0.5, 0.0, 0.2, 0.06))])
MAP = [("map near the landing", 12, (0.3, 0.35, 0.4, 0.4)), ("map", 5, (0.0, 0.12, 1.0, 0.88))]
DIALOGS = [("file name field", 4, (0.415, 0.34, 0.17, 0.024)),
           ("file list", 5, (0.415, 0.39, 0.17, 0.24)),
           ("file action button", 3, (0.415, 0.65, 0.078, 0.03)),
           ("file cancel button", 1.5, (0.507, 0.65, 0.078, 0.03)),
           ("file dialog close box", 0.5, (0.585, 0.265, 0.025, 0.03)),
           ("Yes / first button", 2, (0.417, 0.528, 0.075, 0.03)),
           ("No / second button", 2, (0.508, 0.528, 0.075, 0.03)),
           ("Ok button", 2, (0.4625, 0.528, 0.075, 0.03)),
           ("message buttons", 1, (0.38, 0.50, 0.24, 0.10)),
           ("credits Ok", 0.5, (0.461, 0.57, 0.078, 0.03)),
           ("Earth report Close", 0.5, (0.462, 0.69, 0.076, 0.03)),
           ("options rows", 3, (0.485, 0.395, 0.145, 0.165)),
           ("options Ok", 1, (0.414, 0.585, 0.078, 0.03)),
           ("options Cancel", 0.5, (0.508, 0.585, 0.078, 0.03))]
ANYWHERE = [("anywhere", 5, (0.0, 0.0, 1.0, 1.0))]
TARGETS = TITLE + TOOLBAR + PANELS + MAP + DIALOGS + ANYWHERE

# --- keys: every one the game or its dialogs handle, and some they do not ---
KEYS = ([(f"F{n}", 1) for n in range(1, 13)] +
        [("Escape", 0.3), ("Return", 2), ("KP_Enter", 0.3), ("space", 1), ("Tab", 1),
         ("shift+Tab", 0.5), ("BackSpace", 1), ("Delete", 1), ("Home", 1), ("End", 1),
         ("Prior", 0.5), ("Next", 0.5), ("Insert", 0.3), ("Left", 2), ("Right", 2), ("Up", 2),
         ("Down", 2), ("alt+F4", 0.2), ("alt+s", 0.5), ("ctrl+v", 0.3), ("Super_L", 0.1),
         ("alt+Return", 1), ("alt+KP_Enter", 0.2), ("plus", 0.5), ("minus", 0.5), ("equal", 0.5),
         ("KP_Add", 0.5), ("KP_Subtract", 0.5)] +
        [(c, 0.25) for c in "abcdefghijklmnopqrstuvwxyz0123456789"] +
        [(f"alt+{c}", 0.15) for c in "abcdefghijklmnopqrstuvwxyz"] +
        [(f"shift+{c}", 0.05) for c in "lcsyno"] +
        [(f"KP_{n}", 0.05) for n in range(10)])
# The letters that answer the dialogs (Load, Save, Cancel, Yes, No, Ok, Close).
ANSWERS = ["l", "s", "c", "y", "n", "o", "Return", "space"]

UTF8_PIECES = ["é", "ü", "ß", "Ж", "ñ", "日本", "колония", "שלום", "🚀", "e\u0301", "ﬁ", "Ω", "€"]
NAME_PIECES = [" ", ".", "..", "/", "\\", "-", "_", "~", "'", '"', "*", "?", "%", "$HOME", ":"]
PRESET_NAMES = ["colony", "Old colony", "ünïcödé 日本", "damaged", "empty", "folder", "big"]


def fraction_rect_to_pixels(rect, screen):
    left, top, width, height = rect
    w, h = screen
    x0, y0 = int(left * w), int(top * h)
    return x0, y0, max(x0, int((left + width) * w) - 1), max(y0, int((top + height) * h) - 1)


class Player:
    """Makes the actions from the seed: what to do and the pauses between, as text and steps."""

    def __init__(self, seed, screen, excluded):
        self.rng = random.Random(seed)
        self.screen = screen
        self.excluded = {word.lower() for word in excluded}
        self.targets = [t for t in TARGETS if t[0].lower() not in self.excluded]
        self.keys = [k for k in KEYS if k[0].lower() not in self.excluded]
        self.forbidden = [fraction_rect_to_pixels(r, screen) for name, _, r in TARGETS
                          if name.lower() in self.excluded]
        self.names = list(PRESET_NAMES)  # names saved so far, or there from the start

    def weighted(self, table):
        return self.rng.choices(table, weights=[row[1] for row in table])[0]

    def point(self, target=None):
        """A point in a target, never on an excluded button."""
        name, _, rect = target or self.weighted(self.targets)
        x0, y0, x1, y1 = fraction_rect_to_pixels(rect, self.screen)
        for _ in range(100):
            x, y = self.rng.randint(x0, x1), self.rng.randint(y0, y1)
            if not any(a <= x <= c and b <= y <= d for a, b, c, d in self.forbidden):
                return name, x, y
        return "the middle", self.screen[0] // 2, self.screen[1] // 2

    def named_target(self, name):
        return next(t for t in TARGETS if t[0] == name)

    def name(self):
        """A name to type into the file dialog."""
        rng = self.rng
        kind = rng.choice(["known", "known", "plain", "plain", "odd", "utf8", "long"])
        if kind == "known":
            return rng.choice(self.names)
        if kind == "plain":
            letters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 "
            return "".join(rng.choice(letters) for _ in range(rng.randint(1, 16)))
        if kind == "odd":
            return "".join(rng.choice(NAME_PIECES + ["colony", "x", "SAVES"])
                           for _ in range(rng.randint(1, 5)))
        if kind == "utf8":
            pieces = UTF8_PIECES + ["colony ", "a"]
            return "".join(rng.choice(pieces) for _ in range(rng.randint(1, 6)))
        length = rng.choice([199, 200, 201, 255, 300])
        return "L" * (length - 2) + rng.choice(["é", "xy", "日"])

    # --- the actions ---

    def click(self):
        name, x, y = self.point()
        button = self.rng.choices([1, 3, 2], weights=[70, 20, 10])[0]
        label = {1: "left", 2: "middle", 3: "right"}[button]
        return f"{label} click at {x},{y} ({name})", [["mousemove", x, y, "click", button]]

    def double_click(self):
        name, x, y = self.point()
        return (f"double click at {x},{y} ({name})",
                [["mousemove", x, y, "click", "--repeat", 2, "--delay", 60, 1]])

    def drag(self):
        name, x, y = self.point()
        button = self.rng.choices([1, 3, 2], weights=[80, 15, 5])[0]
        steps = [["mousemove", x, y, "mousedown", button]]
        text = f"drag with button {button} from {x},{y} ({name})"
        for _ in range(self.rng.randint(1, 5)):
            name, x, y = self.point()
            steps += [["mousemove", x, y], self.rng.uniform(0.02, 0.15)]
            text += f" to {x},{y}"
        steps.append(["mouseup", button])
        return text, steps

    def wheel(self):
        name, x, y = self.point()
        button = self.rng.choice([4, 5])
        count = self.rng.randint(1, 6)
        return (f"wheel {'up' if button == 4 else 'down'} {count} at {x},{y} ({name})",
                [["mousemove", x, y, "click", "--repeat", count, "--delay", 30, button]])

    def build(self):
        """A category, a structure of it and a few cells near the landing module."""
        tab, item = self.rng.randrange(8), self.rng.randrange(5)
        steps = self.press("click", f"tab {tab}") + [0.1] + self.press("click", f"item {item}")
        cells = []
        for _ in range(self.rng.randint(1, 4)):
            _, x, y = self.point(self.named_target("map near the landing"))
            steps += [0.1, ["mousemove", x, y, "click", 1]]
            cells.append(f"{x},{y}")
        return f"builds item {item} of tab {tab} at {' '.join(cells)}", steps

    def dismiss(self):
        """The buttons that close a dialog without doing anything: keys would only type into
        the file dialog's name field."""
        target = self.rng.choice(["file cancel button", "file dialog close box",
                                  "No / second button", "Ok button", "credits Ok",
                                  "Earth report Close", "options Cancel"])
        return f"dismisses with {target}", self.press("click", target)

    def rest_on_edge(self):
        w, h = self.screen
        x, y = self.rng.choice([(0, self.rng.randrange(h)), (w - 1, self.rng.randrange(h)),
                                (self.rng.randrange(w), 0), (self.rng.randrange(w), h - 1),
                                (0, 0), (w - 1, h - 1)])
        pause = self.rng.uniform(0.2, 1.5)
        return f"pointer rests on the edge at {x},{y} for {pause:.1f} s", [["mousemove", x, y],
                                                                         pause]

    def key(self):
        key = self.weighted(self.keys)[0]
        return f"key {key}", [["key", key]]

    def held_key(self):
        key = self.rng.choice([k for k in ["Return", "Left", "Down", "BackSpace", "F7", "l", "y",
                                           "space", "Delete"] if k.lower() not in self.excluded])
        pause = self.rng.uniform(0.3, 1.2)
        return f"key {key} held {pause:.1f} s", [["keydown", key], pause, ["keyup", key]]

    def type_text(self):
        text = self.name()
        return f"types {text!r}", [["type", "--delay", 12, "--", text]]

    def press(self, how, target):
        """A key, or with "click ..." a left click on the target."""
        if how.startswith("click"):
            _, x, y = self.point(self.named_target(target))
            return [["mousemove", x, y, "click", 1]]
        return [["key", how]]

    def answered(self, text, steps):
        """An action that ends with whatever answers the question it may have raised."""
        answer = self.rng.choice(ANSWERS)
        return f"{text}, then {answer}", steps + [0.4, ["key", answer]]

    def open_file_dialog(self, saving):
        how = "F3" if saving else self.rng.choice(["F2", "F2", "click Load Game"])
        return how, self.press(how, "Load Game") + [0.4]

    def save_or_load_by_name(self):
        saving = self.rng.random() < 0.5
        opener, steps = self.open_file_dialog(saving)
        name = self.name()
        if saving and name not in self.names:
            self.names.append(name)
        steps += self.press("click", "file name field")
        steps += [0.1, ["type", "--delay", 12, "--", name], 0.1]
        finish = self.rng.choice(["Return", "alt+s" if saving else "alt+l", "click Save/Load"])
        steps += self.press(finish, "file action button")
        return self.answered(f"{opener}, name {name!r}, {finish}", steps)

    def load_from_list(self):
        opener, steps = self.open_file_dialog(False)
        _, x, y = self.point(self.named_target("file list"))
        steps += [["mousemove", x, y, "click", 1], 0.1]
        how = self.rng.choice(["l", "Return", "double click", "click Load"])
        if how == "double click":
            steps.append(["click", "--repeat", 2, "--delay", 60, 1])
        else:
            steps += self.press(how, "file action button")
        return self.answered(f"{opener}, the list at {x},{y}, {how}", steps)

    def quit_and_confirm(self):
        how = self.rng.choice(["Escape", "alt+F4"])
        answer = self.rng.choice(["Return", "y", "click Yes"])
        steps = [["key", how], 0.4] + self.press(answer, "Yes / first button")
        return f"{how} then {answer}", steps

    def resize(self):
        """A new size for the window, when the game plays in one: mostly from the smallest the
        game asks for to the screen's, now and then smaller or larger."""
        w, h = self.screen
        kind = self.rng.choices(["fits", "small", "large"], weights=[80, 10, 10])[0]
        if kind == "fits":
            size = self.rng.randint(800, max(800, w)), self.rng.randint(600, max(600, h))
        elif kind == "small":
            size = self.rng.randint(1, 799), self.rng.randint(1, 599)
        else:
            size = self.rng.randint(w, 2 * w), self.rng.randint(h, 2 * h)
        return f"resizes a window to {size[0]}x{size[1]}", [["resize", *size]]

    def command_line(self):
        """The arguments of a start."""
        kind = self.rng.choices(["none", "window", "window size", "full screen"],
                                weights=[50, 25, 15, 10])[0]
        if kind == "window size":
            return [f"--window={self.rng.randint(800, 1600)}x{self.rng.randint(600, 1000)}"]
        return {"none": [], "window": ["--window"], "full screen": ["--fullscreen"]}[kind]

    def wait(self):
        pause = self.rng.uniform(0.3, 3.0)
        return f"waits {pause:.1f} s", [pause]

    def opening(self):
        """Right after a start, on the title screen: mostly a new colony, sometimes a saved one.
        Without it the title screen's Quit, under the dialogs' buttons, ends most games early."""
        choice = self.rng.choices(["New Game", "Load Game", "nothing"], weights=[75, 15, 10])[0]
        if choice == "New Game":
            return "opens with New Game", self.press("click", "New Game") + [0.5]
        if choice == "Load Game":
            _, x, y = self.point(self.named_target("file list"))
            steps = self.press("click", "Load Game") + [0.4, ["mousemove", x, y, "click", 1], 0.1]
            return self.answered(f"opens with Load Game, the list at {x},{y}, l",
                                 steps + [["key", "l"], 0.5])
        return "opens with nothing", []

    def next_action(self):
        kinds = [(self.click, 40), (self.double_click, 6), (self.drag, 6), (self.wheel, 3),
                 (self.rest_on_edge, 3), (self.key, 25), (self.held_key, 1.5),
                 (self.type_text, 3), (self.save_or_load_by_name, 5), (self.load_from_list, 3),
                 (self.build, 4), (self.dismiss, 4),
                 (self.quit_and_confirm, 0.3), (self.wait, 2), (self.resize, 1.5)]
        # An excluded kind still draws its share, so the other actions stay as they were.
        make = self.rng.choices([k for k, _ in kinds], weights=[w for _, w in kinds])[0]
        if make == self.resize and "resize" in self.excluded:
            make = self.wait
        text, steps = make()
        return text, steps + [self.rng.uniform(0.0, 0.12)]


def events_in(step):
    """How many input events an xdotool step sends."""
    if step[0] == "type":
        return len(step[-1])
    return sum(1 for word in step if word in ("mousemove", "click", "mousedown", "mouseup", "key",
                                              "keydown", "keyup", "resize"))


def in_window(step, geometry, screen):
    """The step with its pointer's places moved from the screen into the window (x, y, width,
    height), as the same fractions of it."""
    x0, y0, w, h = geometry
    moved = list(step)
    for i, word in enumerate(step):
        if word == "mousemove":
            moved[i + 1] = x0 + step[i + 1] * w // screen[0]
            moved[i + 2] = y0 + step[i + 2] * h // screen[1]
    return moved


def shown(text):
    """A path or line printable whatever bytes it holds."""
    return os.fsencode(text).decode("utf-8", "replace") if isinstance(text, str) else str(text)


class Game:
    """One run of the game: its stderr read on a thread for heartbeats and sanitizer reports."""

    def __init__(self, binary, folder, env, arguments=()):
        self.process = subprocess.Popen([binary, *arguments], cwd=folder, env=env, stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        self.started = time.monotonic()
        self.last_beat = None
        self.lines = []  # what it said besides heartbeats
        self.failure = None
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()

    def _read(self):
        for raw in self.process.stderr:
            line = raw.decode("utf-8", "replace").rstrip("\n")
            if line.startswith("redhollow heartbeat "):
                self.last_beat = time.monotonic()
            else:
                self.lines.append(line)

    def sanitizer_report(self):
        return any(mark in line for line in self.lines for mark in SANITIZER_MARKS)

    def problem(self):
        """Why this run has failed so far, or None; once failed, always the same reason."""
        if self.failure is None:
            self.failure = self._judge()
        return self.failure

    def _judge(self):
        status = self.process.poll()
        if status is not None:
            self.reader.join(10)  # the last words may still be on their way
        if self.sanitizer_report():
            return "a sanitizer report"
        if status is not None:
            return f"the game ended with status {status}" if status != 0 else None
        now = time.monotonic()
        if self.last_beat is None and now - self.started > START_SECONDS:
            return f"the game did not tick within {START_SECONDS:.0f} s of starting"
        if self.last_beat is not None and now - self.last_beat > FREEZE_SECONDS:
            silent = now - self.last_beat
            try:
                self.process.wait(10)  # a game on its way out stops ticking too
            except subprocess.TimeoutExpired:
                return f"the game froze: its timer has not ticked for {silent:.1f} s"
            return self._judge()
        return None

    def running(self):
        return self.process.poll() is None

    def wait_for_first_tick(self):
        while self.last_beat is None and self.running() and self.problem() is None:
            time.sleep(0.05)

    def finish(self, timeout):
        try:
            self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            return False
        self.reader.join(10)
        return True

    def stack(self):
        """Every thread's stack, from gdb, when gdb is there."""
        if shutil.which("gdb") is None:
            return "(no gdb for a stack)"
        result = subprocess.run(["gdb", "-p", str(self.process.pid), "-batch", "-nx",
                                 "-ex", "thread apply all bt"], capture_output=True, text=True,
                                errors="replace", timeout=120)
        return "\n".join(line for line in result.stdout.splitlines()
                         if line.startswith(("#", "Thread")))

    def kill(self):
        if self.running():
            self.process.kill()
            self.process.wait()


def snapshot(root, skip=()):
    """Every entry under root: its kind, and for files and links what they hold."""
    entries = {}
    for folder, dirs, files in os.walk(root):
        dirs[:] = [d for d in dirs if os.path.relpath(os.path.join(folder, d), root) not in skip]
        for name in dirs + files:
            path = os.path.join(folder, name)
            info = os.lstat(path)
            if stat.S_ISDIR(info.st_mode):
                entry = ("folder",)
            elif stat.S_ISLNK(info.st_mode):
                entry = ("link", os.readlink(path))
            else:
                entry = ("file", info.st_size, info.st_mtime_ns)
            entries[os.path.relpath(path, root)] = entry
    return entries


def changed(before, after):
    return sorted(p for p in set(before) | set(after) if before.get(p) != after.get(p))


def make_sandbox(root, binary, saved_game, seed):
    """The tree the game may touch, and the harness's own folder beside it; the game's folder
    and its environment."""
    tree, own = os.path.join(root, "tree"), os.path.join(root, "harness")
    home = os.path.join(tree, "home")
    xdg = {"XDG_DATA_HOME": ".local/share", "XDG_CONFIG_HOME": ".config",
           "XDG_CACHE_HOME": ".cache", "XDG_STATE_HOME": ".local/state",
           "XDG_DESKTOP_DIR": "Desktop", "XDG_DOCUMENTS_DIR": "Documents",
           "XDG_DOWNLOAD_DIR": "Downloads", "XDG_MUSIC_DIR": "Music",
           "XDG_PICTURES_DIR": "Pictures", "XDG_PUBLICSHARE_DIR": "Public",
           "XDG_TEMPLATES_DIR": "Templates", "XDG_VIDEOS_DIR": "Videos"}
    env = {k: v for k, v in os.environ.items()
           if not k.startswith("XDG_") and k not in ("SDL_VIDEODRIVER", "WAYLAND_DISPLAY")}
    for variable, place in xdg.items():
        env[variable] = os.path.join(home, place)
        os.makedirs(env[variable])
    env["XDG_DATA_DIRS"] = os.path.join(tree, "share")
    env["XDG_CONFIG_DIRS"] = os.path.join(tree, "etc")
    env["XDG_RUNTIME_DIR"] = os.path.join(tree, "run")
    env["TMPDIR"] = os.path.join(tree, "tmp")
    for folder in ("share", "etc", "tmp"):
        os.makedirs(os.path.join(tree, folder))
    os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)
    env["HOME"] = home

    # The manual opens nowhere: xdg-open and the browser write their URL beside the harness.
    stubs = os.path.join(own, "bin")
    os.makedirs(stubs)
    for stub in ("xdg-open", "www-browser", "x-www-browser", "sensible-browser", "browser"):
        with open(os.path.join(stubs, stub), "w") as f:
            f.write(f'#!/bin/sh\necho "$@" >> "{own}/opened.log"\n')
        os.chmod(os.path.join(stubs, stub), 0o755)
    env["PATH"] = stubs + os.pathsep + env.get("PATH", "/usr/bin:/bin")
    env["BROWSER"] = os.path.join(stubs, "browser")

    # The game's folder as the launcher makes it: links to the installed files.
    game = os.path.join(env["XDG_DATA_HOME"], "redhollow")
    saves = os.path.join(game, "SAVES")
    os.makedirs(saves)
    installed = os.path.dirname(os.path.abspath(binary))
    for item in ("res00.dat", "res01.dat", "res02.dat", "Pell.html", "manual"):
        if os.path.exists(os.path.join(installed, item)):
            os.symlink(os.path.join(installed, item), os.path.join(game, item))
    # Saved games to load: a good one under three names, and damaged, empty and odd neighbours.
    good = open(saved_game, "rb").read() if saved_game else b""
    rng = random.Random(seed)
    files = {"colony.sav": good, "Old colony.sav": good, "ünïcödé 日本.sav": good,
             "damaged.sav": good[:len(good) // 3], "empty.sav": b"", ".hidden.sav": good,
             "UPPER.SAV": good, "notes.txt": b"not a saved game\n",
             "big.sav": good[:64] + rng.randbytes(1 << 20),
             b"\xff\xfe not utf-8.sav".decode("utf-8", "surrogateescape"): good}
    for name, data in files.items():
        with open(os.path.join(saves, name), "wb") as f:
            f.write(data)
    os.makedirs(os.path.join(saves, "folder.sav"))

    env.update(SDL_AUDIODRIVER="dummy", REDHOLLOW_HEARTBEAT="1",
               ASAN_OPTIONS="detect_leaks=1:abort_on_error=1",
               UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1")
    return tree, own, game, saves, env


def start_xvfb(screen):
    reader, writer = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(writer), "-screen", "0",
                               f"{screen[0]}x{screen[1]}x24", "-nolisten", "tcp"],
                              pass_fds=[writer], stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
    os.close(writer)
    with os.fdopen(reader) as f:
        number = f.readline().strip()
    if not number:
        raise SystemExit("random player: Xvfb did not start")
    return server, f":{number}"


def main():
    if len(sys.argv) not in (3, 4):
        raise SystemExit(__doc__)
    binary, output = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    saved_game = sys.argv[3] if len(sys.argv) == 4 else None
    seconds = float(os.environ.get("REDHOLLOW_RANDOM_PLAYER_SECONDS", "120"))
    seed = int(os.environ.get("REDHOLLOW_RANDOM_PLAYER_SEED") or time.time_ns() % 1_000_000_007)
    excluded = os.environ.get("REDHOLLOW_RANDOM_PLAYER_EXCLUDE", "").replace(",", " ").split()
    screen = tuple(int(n) for n in
                   os.environ.get("REDHOLLOW_RANDOM_PLAYER_SCREEN", "1024x768").split("x"))
    print(f"random player: seed {seed}, {seconds:.0f} s, screen {screen[0]}x{screen[1]}"
          f"{', without ' + ' '.join(excluded) if excluded else ''}", flush=True)
    os.makedirs(output, exist_ok=True)

    root = tempfile.mkdtemp(prefix="redhollow-player-")
    tree, own, folder, saves, env = make_sandbox(root, binary, saved_game, seed)
    # F8 writes the sound switch to the settings; the folder is made with the file.
    settings_folder = os.path.join(env["XDG_CONFIG_HOME"], "redhollow")
    settings_file = os.path.join(settings_folder, "settings.ini")
    settings_files = {settings_folder, settings_file}
    start_mode = [None, True]  # the settings file's stamp at the start, and full screen or not
    installed = os.path.dirname(binary)
    beside_binary = snapshot(installed, skip={"Testing", "test-output"})
    in_tmp = set(os.listdir(tempfile.gettempdir()))
    in_tree = snapshot(tree)
    server, display = start_xvfb(screen)
    env["DISPLAY"] = display
    player = Player(seed, screen, excluded)
    recent = collections.deque(maxlen=30)
    log = open(os.path.join(output, "random_player_actions.log"), "w")
    counts = collections.Counter()
    game = None
    failure = None

    def xdotool(args):
        result = subprocess.run(["xdotool"] + [str(a) for a in args], env=env, timeout=60,
                                stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                                errors="replace")
        if result.returncode != 0:
            note(f"(xdotool {shown(' '.join(map(str, args)))} failed: {result.stderr.strip()})")

    def note(text):
        stamp = f"{time.monotonic() - begin:7.2f} s  {text}"
        recent.append(stamp)
        log.write(stamp + "\n")

    def game_window():
        """The game's window and its place and size, or None."""
        result = subprocess.run(["xdotool", "search", "--all", "--pid", str(game.process.pid),
                                 "--name", "^Redhollow$", "getwindowgeometry", "--shell"],
                                env=env, timeout=60, capture_output=True, text=True)
        values = dict(line.split("=", 1) for line in result.stdout.splitlines() if "=" in line)
        try:
            return values["WINDOW"], tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))
        except (KeyError, ValueError):
            return None

    def settings_state():
        """When the settings file was last written, and whether it says full screen."""
        try:
            stamp = os.stat(settings_file).st_mtime_ns
            with open(settings_file, encoding="utf-8", errors="replace") as f:
                lines = [line.replace(" ", "").strip() for line in f]
        except OSError:
            return None, None
        said = {"full-screen=yes": True, "full-screen=no": False}
        return stamp, next((said[line] for line in lines if line in said), None)

    def full_screen():
        """Whether the game plays on the whole screen. A window of the screen's size looks the
        same from outside, so this follows the game's word: the command line and the settings
        until the game writes them again, which it does on every switch."""
        stamp, said = settings_state()
        if stamp != start_mode[0] and said is not None:
            return said
        return start_mode[1]

    def perform(text, steps):
        counts["actions"] += 1
        note(text)
        # The places are the window's, as the same fractions of it.
        window = game_window() if game.running() else None
        geometry = window[1] if window else (0, 0, *screen)
        whole_screen = geometry == (0, 0, *screen)
        for step in steps:
            if game.problem() is not None:
                break
            if isinstance(step, float):
                time.sleep(step)
            elif not game.running():
                continue
            elif step[0] == "resize":
                if window and not full_screen():
                    xdotool(["windowsize", window[0], *step[1:]])
                    counts["events"] += 1
                    counts["resizes"] += 1
                else:
                    note("(full screen: no resize)")
            else:
                xdotool(step if whole_screen else in_window(step, geometry, screen))
                counts["events"] += events_in(step)

    def start_game():
        nonlocal game
        # The starts have a generator of their own, so the actions after them stay the same.
        opener = Player(seed * 1_000_003 + counts["starts"], screen, excluded)
        arguments = opener.command_line()
        stamp, said = settings_state()
        start_mode[:] = [stamp, "--fullscreen" in arguments or (
            not any(a.startswith("--window") for a in arguments) and said is not False)]
        game = Game(binary, folder, env, arguments)
        game.wait_for_first_tick()
        time.sleep(0.3)
        note(f"(the game is started, pid {game.process.pid}{', ' if arguments else ''}"
             f"{' '.join(arguments)})")
        counts["starts"] += 1
        perform(*opener.opening())

    begin = time.monotonic()
    try:
        start_game()
        while failure is None and time.monotonic() - begin < seconds:
            if not game.running():
                failure = game.problem()
                if failure is None:
                    counts["quits"] += 1
                    note("(the game has ended with status 0)")
                    start_game()
                continue
            failure = game.problem()
            if failure is not None:
                break
            perform(*player.next_action())
        played = time.monotonic() - begin

        # The end: Alt+F4 closes the dialog on top or asks to exit, and y says Yes.
        if failure is None and game.running():
            for _ in range(15):
                for key in ("alt+F4", "y"):
                    if game.running():
                        xdotool(["key", key])
                        time.sleep(0.6)
            if game.running():
                failure = "the game could not be quit with Alt+F4 and Yes"
        if failure is None:
            if not game.finish(60):
                failure = "the game did not end within 60 s of Yes"
            else:
                failure = game.problem()
        if failure is None:
            strays = []
            # F12 writes screenshots into the pictures folder's Redhollow folder.
            shots = os.path.join(env["XDG_PICTURES_DIR"], "Redhollow")
            for path in changed(in_tree, snapshot(tree)):
                if os.path.commonpath([os.path.join(tree, path), saves]) == saves:
                    counts["saved games written"] += 1
                elif os.path.join(tree, path) in settings_files:
                    counts["settings written"] += path.endswith("settings.ini")
                elif os.path.commonpath([os.path.join(tree, path), shots]) == shots:
                    counts["screenshots written"] += 1
                else:
                    strays.append(path)
            strays += [os.path.join(installed, p) for p in
                       changed(beside_binary, snapshot(installed, skip={"Testing", "test-output"}))]
            strays += [os.path.join(tempfile.gettempdir(), name) for name in
                       set(os.listdir(tempfile.gettempdir())) - in_tmp
                       if name.lower().endswith(".sav") or name == "SAVES"]
            if strays:
                failure = "files written outside SAVES:\n  " + "\n  ".join(map(shown, strays))
    finally:
        if failure is not None:
            print(f"random player: FAILED: {failure}")
            print(f"seed {seed}; replay with REDHOLLOW_RANDOM_PLAYER_SEED={seed}"
                  f"{' REDHOLLOW_RANDOM_PLAYER_EXCLUDE=' + ','.join(excluded) if excluded else ''}")
            print("the last actions:\n  " + "\n  ".join(recent))
            if game is not None:
                if game.running() and "froze" in failure:
                    print("the game's stack:\n" + game.stack())
                subprocess.run(["import", "-window", "root",
                                os.path.join(output, "random_player_failure.png")],
                               env=env, timeout=60, capture_output=True)
        if game is not None:
            game.kill()
            game.reader.join(10)
            if failure is not None and game.lines:
                print("the game's last words:\n  " + "\n  ".join(map(shown, game.lines[-80:])))
        server.terminate()
        server.wait()
        log.close()
        opened = os.path.join(own, "opened.log")
        counts["manual opened"] = len(open(opened).readlines()) if os.path.exists(opened) else 0
        shutil.rmtree(root, ignore_errors=True)
    if failure is not None:
        sys.exit(1)
    minutes = played / 60
    print(f"random player: ok: {counts['actions']} actions, {counts['events']} input events in "
          f"{played:.0f} s ({counts['actions'] / minutes:.0f} actions and "
          f"{counts['events'] / minutes:.0f} events a minute); the game started "
          f"{counts['starts']} times and quit {counts['quits']} times, opened the manual "
          f"{counts['manual opened']} times, resized its window {counts['resizes']} times, wrote "
          f"{counts['screenshots written']} screenshots and {counts['saved games written']} saved "
          "games"
          f"{' and its settings' if counts['settings written'] else ''}")


if __name__ == "__main__":
    main()
