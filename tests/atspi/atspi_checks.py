"""What a real assistive-technology client sees of the program, over a real accessibility bus.

Run by run-atspi-tests inside a D-Bus session of its own. Starts an X server (Xvfb), the accessibility bus
and the program, then, as a screen reader would, through AT-SPI: opens the three other windows from the
menu, finds the ten bars, reads each one's value, minimum and maximum at the window's defined size, asks
for all properties of an object at once (D-Bus GetAll) and with missing arguments and sees the program
answer and live on, sets one bar per window and sees the panes move, and presses F8 (with xdotool) and sees
the bar take the focus.
Prints one line per check and a final "N passed, N failed" line; exits non-zero on any failure.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Gio, GLib  # noqa: E402
import pyatspi  # noqa: E402

TWIPS_PER_PIXEL = 15  # Xvfb runs at 96 DPI

# Each bar at its window's defined size: position, lowest and highest position a drag can give it, and
# the name in words. Positions are the definitions' after the first layout; the highest is 100 twips short
# of the client size along the bar's axis (of Picture5's outer width for Image4).
BARS = {
    ("SplitterForm", "Image1"): (2340, 100, 5045, "Divider between the left and right panes"),
    ("Splitter3", "Image1"): (3360, 100, 6920, "Divider between the left group of panes and the right pane"),
    ("Splitter3", "Image2"): (2700, 100, 6260, "Divider between the upper and lower panes on the left"),
    ("Splitter4", "Image1"): (3360, 100, 7430, "Divider between the left and right groups of panes"),
    ("Splitter4", "Image2"): (2700, 100, 6260, "Divider between the upper and lower panes on the left"),
    ("Splitter4", "Image3"): (2760, 100, 6260, "Divider between the upper and lower panes on the right"),
    ("Splitter5", "Image1"): (4560, 100, 8810, "Divider between the left and right groups of panes"),
    ("Splitter5", "Image2"): (4020, 100, 8270,
                              "Divider between the upper group of panes and the lower pane on the left"),
    ("Splitter5", "Image3"): (3960, 100, 8270, "Divider between the upper and lower panes on the right"),
    ("Splitter5", "Image4"): (1620, 100, 4460, "Divider between the left and right panes on the upper left"),
}

# One bar set per window: the bar, the pane left of or above it (named in words), whether it moves left
# and right, and the position to set.
SETS = [
    ("SplitterForm", "Image1", "left pane", True, 3000),
    ("Splitter3", "Image2", "upper pane on the left", False, 2000),
    ("Splitter4", "Image3", "upper pane on the right", False, 4000),
    ("Splitter5", "Image4", "left pane on the upper left", True, 2500),
]

# What each menu entry of the main window opens, in words.
MENU_DESCRIPTIONS = ["Opens the window with three panes", "Opens the window with four panes",
                     "Opens the window with five panes"]

WINDOWS = ["SplitterForm", "Splitter3", "Splitter4", "Splitter5"]


class Results:
    def __init__(self):
        self.passed = 0
        self.failed = 0

    def check(self, ok, what, detail=""):
        if ok:
            self.passed += 1
            print(f"PASS {what}")
        else:
            self.failed += 1
            print(f"FAIL {what}" + (f": {detail}" if detail else ""))
        sys.stdout.flush()
        return ok


def pump(seconds):
    """Lets the accessibility events queued for this process be dispatched."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if not context.iteration(False):
            time.sleep(0.01)


def wait_for(condition, seconds):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        try:
            value = condition()
        except GLib.Error:
            value = None
        if value:
            return value
        pump(0.05)
    return None


def fresh(accessible):
    """The object with nothing cached, so that states and values are read from the program."""
    try:
        accessible.clear_cache()
    except (AttributeError, GLib.Error):
        pass
    return accessible


def descendants(root, predicate):
    return pyatspi.findAllDescendants(root, predicate)


class Program:
    def __init__(self, binary, workdir):
        self.binary = binary
        self.workdir = workdir
        self.processes = []
        self.display = None

    def start(self):
        self.start_session()
        self.start_program()

    def start_session(self):
        """The X server and the accessibility bus, without the program."""
        # -displayfd: the server picks a display number nobody uses and writes it once it takes connections.
        # -noreset: it does not start itself over when its last client leaves (the bus launcher and the
        # program's own display check each connect and leave before the program stays); each such reset
        # reloads the keymap through a child xkbcomp, which on a loaded machine can fail and end the server.
        read_end, write_end = os.pipe()
        self.xvfb_log = os.path.join(self.workdir, "xvfb.log")
        with open(self.xvfb_log, "w") as log:
            self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-noreset", "-screen", "0",
                                          "1280x1024x24", "-nolisten", "tcp"], pass_fds=(write_end,),
                                         stdout=subprocess.DEVNULL, stderr=log)
        self.processes.append(self.xvfb)
        os.close(write_end)
        with os.fdopen(read_end) as displays:
            number = displays.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start: " + self.server_log())
        self.display = ":" + number
        os.environ["DISPLAY"] = self.display
        launcher = shutil.which("at-spi-bus-launcher") or "/usr/libexec/at-spi-bus-launcher"
        self.processes.append(subprocess.Popen([launcher, "--launch-immediately"], stdout=subprocess.DEVNULL,
                                               stderr=subprocess.DEVNULL))

    def start_program(self):
        # Qt joins the accessibility bus without waiting for a screen reader to ask for it.
        environment = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        environment.pop("QT_SCALE_FACTOR", None)
        self.log = open(os.path.join(self.workdir, "program.log"), "w")
        self.program = subprocess.Popen([self.binary], env=environment, stdout=self.log, stderr=subprocess.STDOUT)
        self.processes.append(self.program)

    def server_log(self):
        with open(self.xvfb_log) as log:
            return log.read().strip()

    def server_ended(self):
        return self.xvfb.poll() is not None

    def stop(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()

    def application(self):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "splitter":
                return app
        return None

    def frame(self, name):
        app = self.application()
        if app is None:
            return None
        for child in app:
            if child is not None and child.name == name:
                return child
        return None

    def xwindow(self, name):
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{name}$"], capture_output=True,
                             text=True).stdout.split()
        return out[0] if out else None

    def keys(self, window, *keys):
        xid = self.xwindow(window)
        if xid is None:
            return False
        subprocess.run(["xdotool", "windowfocus", xid], check=False)
        time.sleep(0.2)
        subprocess.run(["xdotool", "key", "--delay", "60", *keys], check=False)
        return True


def bars_of(frame):
    """The window's separators by control, found by their names in words."""
    window = frame.name
    names = {name: control for (w, control), (_, _, _, name) in BARS.items() if w == window}
    found = {}
    for bar in descendants(frame, lambda a: a.getRole() == pyatspi.ROLE_SEPARATOR):
        found[names.get(bar.name, bar.name)] = bar
    return found


def open_windows(program, results):
    main = wait_for(lambda: program.frame("SplitterForm"), 20)
    if not results.check(main is not None, "the program's main window is on the accessibility bus"):
        return False
    entries = descendants(main, lambda a: a.getRole() == pyatspi.ROLE_MENU_ITEM)
    results.check(len(entries) == 3, "its menu bar has three entries", f"found {len(entries)}")
    results.check(all(e.parent.getRole() == pyatspi.ROLE_MENU_BAR for e in entries), "they lie in a menu bar")
    results.check([e.name for e in entries] == ["３分割", "４分割", "５分割"], "the entries keep their captions",
                  f"{[e.name for e in entries]}")
    results.check([e.description for e in entries] == MENU_DESCRIPTIONS, "each entry says what it opens",
                  f"{[e.description for e in entries]}")
    for index, entry in enumerate(entries):
        wanted = WINDOWS[index + 1]
        try:
            entry.queryAction().doAction(0)
        except (NotImplementedError, GLib.Error):
            pass
        how = "its action"
        if wait_for(lambda: program.frame(wanted), 3) is None:
            # Through the keyboard instead: Alt, then Right to the entry, then Return.
            how = "the keyboard"
            program.keys("SplitterForm", "alt", *(["Right"] * index), "Return")
        results.check(wait_for(lambda: program.frame(wanted), 10) is not None,
                      f"menu entry {entry.name} opens {wanted} through {how}")
    return True


def check_bars(program, results):
    seen = 0
    for window in WINDOWS:
        frame = program.frame(window)
        if frame is None:
            continue
        bars = bars_of(frame)
        for (bar_window, control), (position, lowest, highest, name) in BARS.items():
            if bar_window != window:
                continue
            bar = bars.get(control)
            if not results.check(bar is not None, f"{window}.{control} is a separator on the bus"):
                continue
            seen += 1
            value = fresh(bar).queryValue()
            results.check(bar.name == name, f"{window}.{control} is named in words", repr(bar.name))
            results.check((value.currentValue, value.minimumValue, value.maximumValue) == (position, lowest, highest),
                          f"{window}.{control} value {position} in {lowest}..{highest}",
                          f"read {value.currentValue} in {value.minimumValue}..{value.maximumValue}")
        results.check(len(bars) == sum(1 for w, _ in BARS if w == window), f"{window} has no other separators",
                      f"found {sorted(bars)}")
    results.check(seen == 10, "all ten bars found", f"found {seen}")


class Bus:
    """Plain D-Bus calls on the accessibility bus to the program's objects, as any client may make them."""

    def __init__(self):
        session = Gio.bus_get_sync(Gio.BusType.SESSION, None)
        address = session.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None,
                                    GLib.VariantType("(s)"), Gio.DBusCallFlags.NONE, 5000, None).unpack()[0]
        flags = Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION
        self.connection = Gio.DBusConnection.new_for_address_sync(address, flags, None, None)

    def call(self, accessible, interface, method, signature, *arguments):
        """The reply unpacked, or the error's text."""
        parameters = GLib.Variant(f"({signature})", arguments) if signature else None
        try:
            reply = self.connection.call_sync(accessible.app.bus_name, accessible.path, interface, method, parameters,
                                              None, Gio.DBusCallFlags.NONE, 5000, None)
        except GLib.Error as error:
            return None, error.message
        return reply.unpack(), None

    def get_all(self, accessible, interface):
        reply, error = self.call(accessible, "org.freedesktop.DBus.Properties", "GetAll", "s", interface)
        return (reply[0] if reply else None), error


def check_get_all(program, results):
    """All properties at once and calls missing arguments: each answered, and the program lives on."""
    bus = Bus()
    alive = lambda: program.program.poll() is None  # noqa: E731
    frame = program.frame("Splitter3")
    bar = bars_of(frame).get("Image1") if frame else None
    pane_name = "upper pane on the left"  # Picture5
    panes = descendants(frame, lambda a: a.name == pane_name) if frame else []
    app = program.application()
    if not results.check(bar is not None and len(panes) == 1 and app is not None,
                         f"Splitter3's Image1, its {pane_name} and the application found for GetAll"):
        return
    position, lowest, highest, name = BARS[("Splitter3", "Image1")]
    value, error = bus.get_all(bar, "org.a11y.atspi.Value")
    results.check(value == {"CurrentValue": position, "MinimumValue": lowest, "MaximumValue": highest,
                            "MinimumIncrement": TWIPS_PER_PIXEL} and alive(),
                  "GetAll of a bar's value gives its position, range and step", f"{value} {error}")
    accessible, error = bus.get_all(bar, "org.a11y.atspi.Accessible")
    results.check(accessible is not None and accessible.get("Name") == name and accessible.get("ChildCount") == 0
                  and accessible.get("Description") == fresh(bar).description and alive(),
                  "GetAll of a bar's accessible properties gives its name, and the description a Get gives",
                  f"{accessible} {error}")
    accessible, error = bus.get_all(panes[0], "org.a11y.atspi.Accessible")
    results.check(accessible is not None and accessible.get("Name") == pane_name and alive(),
                  "GetAll of a pane's accessible properties gives its name", f"{accessible} {error}")
    value, error = bus.get_all(panes[0], "org.a11y.atspi.Value")
    results.check(value is None and "UnknownInterface" in (error or "") and alive(),
                  "GetAll of a pane's value is refused: a pane has none", f"{value} {error}")
    accessible, error = bus.get_all(frame, "org.a11y.atspi.Accessible")
    parent = accessible.get("Parent") if accessible else None
    results.check(accessible is not None and accessible.get("Name") == "Splitter3"
                  and accessible.get("ChildCount", 0) >= 1 and parent is not None
                  and parent[1] == "/org/a11y/atspi/accessible/root" and alive(),
                  "GetAll of a window's accessible properties names it, with the application as parent",
                  f"{accessible} {error}")
    accessible, error = bus.get_all(app, "org.a11y.atspi.Accessible")
    results.check(accessible is not None and accessible.get("Name") == "splitter" and alive(),
                  "GetAll of the application's accessible properties names the program", f"{accessible} {error}")
    application, error = bus.get_all(app, "org.a11y.atspi.Application")
    results.check(application is not None and application.get("ToolkitName") == "Qt" and alive(),
                  "GetAll of the application's own properties names its toolkit", f"{application} {error}")
    check_missing_arguments(program, results, bus, bar, position)


def check_missing_arguments(program, results, bus, bar, position):
    for interface, method, what in [("org.freedesktop.DBus.Properties", "GetAll", "GetAll without an interface"),
                                    ("org.freedesktop.DBus.Properties", "Get", "Get without a property name"),
                                    ("org.a11y.atspi.Accessible", "GetChildAtIndex", "GetChildAtIndex without one"),
                                    ("org.a11y.atspi.Component", "GetExtents", "GetExtents without coordinates")]:
        arguments = ("s", "org.a11y.atspi.Value") if method == "Get" else ("",)
        reply, error = bus.call(bar, interface, method, *arguments)
        results.check(reply is None and "InvalidArgs" in (error or "") and program.program.poll() is None,
                      f"{what} is refused and the program lives on", f"{reply} {error}")
    # The method form of setting the value moves the bar, as setting the property does.
    target = position - 300
    reply, error = bus.call(bar, "org.a11y.atspi.Value", "SetCurrentValue", "d", float(target))
    moved = program.program.poll() is None and wait_for(lambda: fresh(bar).queryValue().currentValue == target, 5)
    results.check(error is None and moved,
                  "Value.SetCurrentValue called as a method moves the bar", f"{reply} {error}")
    if moved:
        bus.call(bar, "org.a11y.atspi.Value", "SetCurrentValue", "d", float(position))
        wait_for(lambda: fresh(bar).queryValue().currentValue == position, 5)


def extent(accessible, horizontal):
    box = fresh(accessible).queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.width if horizontal else box.height


def check_setting(program, results):
    for window, control, side, horizontal, target in SETS:
        frame = program.frame(window)
        bar = bars_of(frame).get(control) if frame else None
        panes = descendants(frame, lambda a: a.name == side) if frame else []
        if not results.check(bar is not None and len(panes) == 1, f"{window}: {control} and {side} found"):
            continue
        before = extent(panes[0], horizontal)
        old = fresh(bar).queryValue().currentValue
        fresh(bar).queryValue().currentValue = float(target)
        now = wait_for(lambda: fresh(bar).queryValue().currentValue == target, 5)
        results.check(now, f"{window}.{control} set to {target}",
                      f"reads {fresh(bar).queryValue().currentValue}")
        expected = before + (target - old) / TWIPS_PER_PIXEL
        moved = wait_for(lambda: abs(extent(panes[0], horizontal) - expected) <= 1, 5)
        results.check(moved, f"{window}: {side} follows, {before} to about {expected:.0f} pixels",
                      f"is {extent(panes[0], horizontal)}")


def sliders_of(frame):
    return descendants(frame, lambda a: a.getRole() == pyatspi.ROLE_SLIDER)


def check_focus(program, results):
    """F8 gives the focus to the taken bar's indicator, a slider named after the bar and valued in percent
    of the drag's range; a commit gives it back to the window and moves the bar."""
    events = []

    def heard(event):
        if event.detail1 == 1 and event.source is not None:
            events.append((event.source.getRole(), event.source.name))

    pyatspi.Registry.registerEventListener(heard, "object:state-changed:focused")
    try:
        for window, presses, control in [("SplitterForm", 1, "Image1"), ("Splitter5", 2, "Image2")]:
            frame = program.frame(window)
            bars = bars_of(frame) if frame else {}
            if not results.check(control in bars and not sliders_of(frame),
                                 f"{window}.{control} found, and no indicator stands in the way before F8"):
                continue
            bar = bars[control]
            _, lowest, highest, name = BARS[(window, control)]
            position = fresh(bar).queryValue().currentValue  # set by the checks before
            program.keys(window, *(["F8"] * presses))
            sliders = wait_for(lambda: sliders_of(frame), 5) or []
            if not results.check(len(sliders) == 1 and sliders[0].name == name,
                                 f"F8 x{presses} in {window} shows the indicator of {control}, named as the bar",
                                 f"{[x.name for x in sliders]}"):
                continue
            indicator = sliders[0]
            results.check(wait_for(lambda: fresh(indicator).getState().contains(pyatspi.STATE_FOCUSED), 5),
                          f"the indicator of {window}.{control} has the focus")
            results.check(wait_for(lambda: (pyatspi.ROLE_SLIDER, name) in events, 5),
                          f"a focus event names the indicator of {control}", f"heard {events}")
            value = fresh(indicator).queryValue()
            share = (position - lowest) / (highest - lowest) * 100
            results.check(abs(value.currentValue - share) < 0.01 and (value.minimumValue, value.maximumValue) == (0, 100),
                          f"its value is {share:.1f} percent of the drag's range",
                          f"read {value.currentValue} in {value.minimumValue}..{value.maximumValue}")
            # The keyboard moves it by a pixel: the bar's value follows at once, and stays after Return.
            vertical = control in ("Image1", "Image4")
            program.keys(window, "Right" if vertical else "Down")
            results.check(wait_for(lambda: fresh(bar).queryValue().currentValue == position + TWIPS_PER_PIXEL, 5),
                          f"while taken, {window}.{control}'s value is its indicator's position",
                          f"reads {fresh(bar).queryValue().currentValue}")
            program.keys(window, "Return")
            results.check(wait_for(lambda: fresh(bar).queryValue().currentValue == position + TWIPS_PER_PIXEL, 5),
                          f"an arrow and Return move {window}.{control} one pixel",
                          f"reads {fresh(bar).queryValue().currentValue}")
            results.check(wait_for(lambda: not sliders_of(frame), 5), f"after the commit the indicator is gone")
            results.check(wait_for(lambda: (pyatspi.ROLE_FILLER, window) in events[-1:], 5),
                          f"after the commit the focus is back on {window}", f"heard {events[-3:]}")
    finally:
        pyatspi.Registry.deregisterEventListener(heard, "object:state-changed:focused")


def check_set_while_taken(program, results):
    """A value set by a tool while the keyboard holds that bar puts the bar there, ends keyboard mode,
    and tells the tool that the focus is back on the window; F8 then takes a bar again."""
    events = []

    def heard(event):
        if event.detail1 == 1 and event.source is not None:
            events.append((event.source.getRole(), event.source.name))

    window, control = "Splitter3", "Image1"
    frame = program.frame(window)
    bar = bars_of(frame).get(control) if frame else None
    if not results.check(bar is not None, f"{window}.{control} found for a value set while taken"):
        return
    pyatspi.Registry.registerEventListener(heard, "object:state-changed:focused")
    try:
        program.keys(window, "F8")
        wait_for(lambda: sliders_of(frame), 5)
        del events[:]
        fresh(bar).queryValue().currentValue = 3000.0
        results.check(wait_for(lambda: fresh(bar).queryValue().currentValue == 3000, 5),
                      f"{window}.{control} set to 3000 while taken")
        results.check(wait_for(lambda: (pyatspi.ROLE_FILLER, window) in events, 5),
                      "a focus event puts the focus back on the window", f"heard {events}")
        results.check(not sliders_of(frame), "the indicator is gone")
        program.keys(window, "F8")
        results.check(wait_for(lambda: len(sliders_of(frame)) == 1, 5), "F8 takes a bar again afterwards")
        program.keys(window, "Escape")
    finally:
        pyatspi.Registry.deregisterEventListener(heard, "object:state-changed:focused")


def main():
    if len(sys.argv) != 2:
        print("usage: atspi_checks.py PROGRAM", file=sys.stderr)
        return 2
    results = Results()
    workdir = tempfile.mkdtemp(prefix="splitter-atspi-")
    program = Program(sys.argv[1], workdir)
    started = time.monotonic()
    try:
        try:
            program.start()
        except RuntimeError as error:
            results.check(False, "the X server starts", str(error))
        if results.failed == 0 and open_windows(program, results):
            check_bars(program, results)
            check_get_all(program, results)
            # A program that a query killed has nothing more to check: the last check below says so.
            if program.program.poll() is None:
                check_setting(program, results)
                check_focus(program, results)
                check_set_while_taken(program, results)
        if getattr(program, "program", None) and program.program.poll() is not None:
            results.check(False, "the program is still running", f"exit status {program.program.returncode}")
        if getattr(program, "xvfb", None) and program.server_ended():
            results.check(False, "the X server is still running", program.server_log())
    finally:
        program.stop()
        output = ""
        if getattr(program, "log", None):
            program.log.close()
            with open(os.path.join(workdir, "program.log")) as log:
                output = log.read().strip()
        if output and results.failed:
            print("program output:\n" + output)
        shutil.rmtree(workdir, ignore_errors=True)
    print(f"({time.monotonic() - started:.1f} s)")
    print(f"{results.passed} passed, {results.failed} failed")
    return 1 if results.failed else 0


if __name__ == "__main__":
    sys.exit(main())
