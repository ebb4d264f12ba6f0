"""What a blind person hears of the program: the real Orca screen reader, over a real accessibility bus.

Run by run-orca-tests inside a D-Bus session of its own. Starts an X server (Xvfb), the accessibility bus,
a speech-dispatcher that writes every utterance to a file (speech.py), Orca, and then the program (Qt
hears of a screen reader's interest only from programs started after it). Keys go in through xdotool as
a person would press them; after each step, what Orca said is checked. Prints one line per check and a
final "N passed, N failed" line; exits non-zero on any failure.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "atspi"))
sys.path.insert(0, here)

from atspi_checks import Program, Results, wait_for  # noqa: E402
from speech import Speech  # noqa: E402

TWIPS_PER_PIXEL = 15  # Xvfb runs at 96 DPI


def percent(position, lowest, highest):
    """Where a position lies in a drag's range, as Orca reads it out: in percent, one decimal place."""
    return f"{(position - lowest) / (highest - lowest) * 100:.1f}"


# One bar per window, reached by pressing F8 that many times: its name in words, and its position and
# drag range in twips at the window's defined size (the first layout of the window definitions; the
# upper end is 100 twips short of the client size along the bar's axis).
FIRST_BARS = [
    ("SplitterForm", 1, "Divider between the left and right panes", 2340, 100, 5045),
    ("Splitter3", 1, "Divider between the left group of panes and the right pane", 3360, 100, 6920),
    ("Splitter4", 1, "Divider between the left and right groups of panes", 3360, 100, 7430),
    ("Splitter5", 2, "Divider between the upper group of panes and the lower pane on the left", 4020, 100, 8270),
]

# The menu entries of the main window: the caption, as speech-dispatcher passes it on (its full-width
# digit as a plain one), and what it opens.
MENU = [("3分割", "Opens the window with three panes"),
        ("4分割", "Opens the window with four panes"),
        ("5分割", "Opens the window with five panes")]


class Listener:
    """Orca on the test's own buses, speaking through the test's speech-dispatcher."""

    def __init__(self, workdir, speech_address):
        self.workdir = workdir
        home = os.path.join(workdir, "home")
        os.makedirs(home, exist_ok=True)
        self.environment = dict(os.environ, SPEECHD_ADDRESS=speech_address, HOME=home,
                                XDG_CONFIG_HOME=os.path.join(home, ".config"),
                                XDG_DATA_HOME=os.path.join(home, ".local", "share"),
                                XDG_CACHE_HOME=os.path.join(home, ".cache"), LANG="C.UTF-8", LC_ALL="C.UTF-8")
        self.process = None

    def start(self):
        self.log = open(os.path.join(self.workdir, "orca.log"), "w")
        self.process = subprocess.Popen(["orca", "--replace", "--debug-file", os.path.join(self.workdir, "orca.debug")],
                                        env=self.environment, stdout=self.log, stderr=subprocess.STDOUT)

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
        if self.process:
            self.log.close()


class Session:
    def __init__(self, program, speech, results):
        self.program = program
        self.speech = speech
        self.results = results

    def step(self, window, *keys):
        """Presses the keys in the window and returns what Orca said, one utterance a line."""
        self.program.keys(window, *keys)
        heard = self.speech.heard_since_last()
        print(f"  {window} {' '.join(keys)}: {' | '.join(heard)}")
        return "\n".join(heard)

    def expect(self, heard, wanted, what, seconds=10):
        """Checks that all of `wanted` was said; Orca may still be speaking, so waits a while for it."""
        end = time.monotonic() + seconds
        missing = [w for w in wanted if w not in heard]
        while missing and time.monotonic() < end:
            more = self.speech.heard_since_last(quiet=0.5, longest=1.0)
            if more:
                print(f"    then: {' | '.join(more)}")
                heard += "\n" + "\n".join(more)
            missing = [w for w in wanted if w not in heard]
        return self.results.check(not missing, what, f"missing {missing} in {heard!r}")


def check_menu(session):
    """Alt in the main window, then along the entries: each caption and what it opens. (Orca speaks no
    role for a menu item; the AT-SPI checks see the roles.)"""
    heard = session.step("SplitterForm", "alt")
    session.expect(heard, [MENU[0][0], MENU[0][1]], "Alt: the first menu entry and what it opens")
    for caption, opens in MENU[1:]:
        heard = session.step("SplitterForm", "Right")
        session.expect(heard, [caption, opens], f"Right: menu entry {caption} and what it opens")
    session.step("SplitterForm", "Escape")


def open_windows(session):
    """Each entry through the keyboard: Alt, Right to the entry, Return."""
    for index, window in enumerate(["Splitter3", "Splitter4", "Splitter5"]):
        session.program.keys("SplitterForm", "alt", *(["Right"] * index), "Return")
        session.results.check(wait_for(lambda: session.program.xwindow(window), 10) is not None,
                              f"the menu opens {window}")
    session.speech.heard_since_last()


def check_taking(session):
    """F8 in every window: the bar's name and where it stands."""
    for window, presses, name, position, lowest, highest in FIRST_BARS:
        heard = session.step(window, *(["F8"] * presses))
        session.expect(heard, [name, "slider", percent(position, lowest, highest)],
                       f"F8 x{presses} in {window}: the bar's name and its position")
        session.step(window, "Escape")


def check_moves(session):
    """In the main window: an arrow, Page Down, Home, End, Return, then a move cancelled with Escape."""
    _, _, name, position, lowest, highest = FIRST_BARS[0]
    heard = session.step("SplitterForm", "F8")
    session.expect(heard, [name, percent(position, lowest, highest)], "F8 in SplitterForm again")
    heard = session.step("SplitterForm", "Right")
    session.expect(heard, [percent(position + TWIPS_PER_PIXEL, lowest, highest)], "Right: the new position")
    heard = session.step("SplitterForm", "Next")
    session.expect(heard, [percent(position + 11 * TWIPS_PER_PIXEL, lowest, highest)],
                   "Page Down: ten pixels further")
    heard = session.step("SplitterForm", "Home")
    session.expect(heard, ["0.0"], "Home: the left limit")
    heard = session.step("SplitterForm", "End")
    session.expect(heard, ["100.0"], "End: the right limit")
    heard = session.step("SplitterForm", "Return")
    session.expect(heard, [name + " placed, at the right limit"], "Return: the bar placed, and where")
    heard = session.step("SplitterForm", "F8")
    session.expect(heard, [name, "100.0"], "F8 after the commit: the bar where it was placed")
    session.step("SplitterForm", "Home")
    heard = session.step("SplitterForm", "Escape")
    session.expect(heard, ["Move cancelled", name + " back, at the right limit"],
                   "Escape: the move cancelled, and the bar back where it was")
    everything = "\n".join(session.speech.lines())
    session.results.check("Image" not in everything and "Picture" not in everything, "no control name was spoken")


def main():
    if len(sys.argv) != 2:
        print("usage: orca_checks.py PROGRAM", file=sys.stderr)
        return 2
    results = Results()
    workdir = tempfile.mkdtemp(prefix="splitter-orca-")
    program = Program(sys.argv[1], workdir)
    speech = Speech(workdir)
    listener = None
    started = time.monotonic()
    try:
        program.start_session()
        listener = Listener(workdir, speech.start())
        listener.start()
        results.check(wait_for(lambda: "Screen reader on." in speech.lines(), 30), "Orca speaks through the test's speech")
        program.start_program()
        if results.check(wait_for(lambda: program.frame("SplitterForm"), 20) is not None,
                         "the program's main window is on the accessibility bus"):
            session = Session(program, speech, results)
            program.keys("SplitterForm")
            told = wait_for(lambda: any("press F8" in line for line in speech.lines()), 20)
            heard = "\n".join(speech.heard_since_last())
            results.check(told, "the main window tells how to move the dividers", heard)
            check_menu(session)
            open_windows(session)
            check_taking(session)
            check_moves(session)
        if program.program.poll() is not None:
            results.check(False, "the program is still running", f"exit status {program.program.returncode}")
    finally:
        if listener:
            listener.stop()
        speech.stop()
        program.stop()
        if results.failed:
            print("everything Orca said:\n  " + "\n  ".join(speech.lines()))
        if os.environ.get("SPLITTER_ORCA_KEEP"):
            print(f"kept in {workdir}")
        else:
            shutil.rmtree(workdir, ignore_errors=True)
    print(f"({time.monotonic() - started:.1f} s)")
    print(f"{results.passed} passed, {results.failed} failed")
    return 1 if results.failed else 0


if __name__ == "__main__":
    sys.exit(main())
