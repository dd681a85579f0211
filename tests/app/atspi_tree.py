#!/usr/bin/env python3
"""What a screen reader sees of Velarix: starts the real application under Xvfb on a private D-Bus
session with the accessibility bus, walks its tree over AT-SPI and checks the names and roles of the
controls that matter in both windows. Exits 77 (skipped) only when the accessibility bus or the X
server cannot be started here.

Usage: atspi_tree.py VELARIX_BINARY
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

SKIP = 77


def skip(reason):
    print(f"SKIPPED: {reason}")
    sys.exit(SKIP)


def run_inside_session():
    # A bus of our own: the desktop's (if any) must not see the test, nor the test the desktop.
    if os.environ.get("VELARIX_ATSPI_SESSION") == "1":
        return
    if not shutil.which("dbus-run-session"):
        skip("dbus-run-session is not installed (package dbus-daemon)")
    env = dict(os.environ, VELARIX_ATSPI_SESSION="1")
    sys.exit(subprocess.call(["dbus-run-session", "--", sys.executable] + sys.argv, env=env))


run_inside_session()

try:
    import gi

    gi.require_version("Atspi", "2.0")
    import pyatspi
except (ImportError, ValueError) as error:
    skip(f"pyatspi cannot be loaded ({error}); install python3-pyatspi")


def start_xvfb():
    if not shutil.which("Xvfb"):
        skip("Xvfb is not installed")
    read, write = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1400x900x24", "-nolisten", "tcp"],
                              pass_fds=[write], stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as pipe:
        number = pipe.readline().strip()
    if not number:
        server.kill()
        skip("Xvfb did not start")
    return server, ":" + number


def start_accessibility_bus(env):
    launcher = "/usr/libexec/at-spi-bus-launcher"
    if not os.path.exists(launcher):
        skip("at-spi-bus-launcher is not installed (package at-spi2-core)")
    bus = subprocess.Popen([launcher, "--launch-immediately"], env=env, stderr=subprocess.DEVNULL)
    deadline = time.time() + 10
    while time.time() < deadline:
        result = subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
                                 "org.a11y.Bus.GetAddress"], env=env, capture_output=True, text=True)
        if result.returncode == 0 and "unix:" in result.stdout:
            return bus
        time.sleep(0.2)
    bus.kill()
    skip("the accessibility bus (org.a11y.Bus) did not start")


def make_card(home):
    card = os.path.join(home, "volumes", "GOPRO", "DCIM", "100GOPRO")
    os.makedirs(card)
    clip = os.path.join(card, "GX010001.MP4")
    subprocess.run(["ffmpeg", "-loglevel", "error", "-f", "lavfi", "-i", "testsrc2=duration=4:size=320x180:rate=25",
                    "-f", "lavfi", "-i", "sine=duration=4", "-c:v", "libx264", "-c:a", "aac", "-shortest", clip],
                   check=True)
    loose = os.path.join(home, "loose.mp4")
    shutil.copy(clip, loose)
    return loose


def walk(node, depth=0):
    if node is None or depth > 40:
        return
    yield node
    try:
        count = node.childCount
        # Tables list every cell; a few rows say enough.
        if node.getRoleName() == "table":
            count = min(count, 40)
    except Exception:
        return
    for i in range(count):
        try:
            child = node.getChildAtIndex(i)
        except Exception:
            continue
        yield from walk(child, depth + 1)


def application(name):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and name in (app.name or "").lower():
            return app
    return None


def wait_for(what, find, timeout=30):
    deadline = time.time() + timeout
    while time.time() < deadline:
        try:
            found = find()
        except Exception as error:
            # A busy application may not answer in time (AT-SPI's own timeout): ask again.
            print(f"retrying: {error}")
            found = None
        if found:
            return found
        time.sleep(0.3)
    raise AssertionError(f"not found within {timeout} s: {what}")


def nodes(app, role=None, name=None, prefix=None):
    found = []
    for node in walk(app):
        try:
            node_role, node_name = node.getRoleName(), node.name or ""
        except Exception:
            continue
        if role and node_role not in (role if isinstance(role, tuple) else (role,)):
            continue
        if name is not None and node_name != name:
            continue
        if prefix is not None and not node_name.startswith(prefix):
            continue
        found.append(node)
    return found


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def expect(app, role, name=None, prefix=None, visible=True):
    what = f"{role if isinstance(role, str) else role[0]} {name or prefix or ''}".strip()

    def find():
        found = [n for n in nodes(app, role, name, prefix) if not visible or showing(n)]
        return found[0] if found else None

    node = wait_for(what, find)
    print(f"ok: {what}")
    return node


def press(node):
    action = node.queryAction()
    index = 0
    for i in range(action.nActions):
        if action.getName(i) in ("Press", "press", "click", "Toggle", "toggle"):
            index = i
            break
    try:
        action.doAction(index)
    except Exception as error:
        # A button that opens a window answers only once that is shown; what follows checks it.
        print(f"no answer to the press yet: {error}")


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    binary = sys.argv[1]
    processes = []
    home = tempfile.mkdtemp(prefix="velarix-atspi-")
    try:
        xvfb, display = start_xvfb()
        processes.append(xvfb)
        env = dict(os.environ, DISPLAY=display, HOME=home, XDG_CONFIG_HOME=os.path.join(home, "config"),
                   XDG_DATA_HOME=os.path.join(home, "data"), XDG_RUNTIME_DIR=os.path.join(home, "run"),
                   VELARIX_VOLUMES_DIR=os.path.join(home, "volumes"), QT_QPA_PLATFORM="xcb",
                   QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1", NO_AT_BRIDGE="0")
        os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)
        processes.append(start_accessibility_bus(env))
        loose = make_card(home)
        app_process = subprocess.Popen([binary], env=env)
        processes.append(app_process)

        app = wait_for("Velarix on the accessibility bus", lambda: application("velarix"))
        print(f"ok: application {app.name}")

        # The import window: the toolbar's actions, the table of the card's videos read as sentences,
        # the form's fields by their labels.
        expect(app, "frame", prefix="Velarix")
        for button in ("Eject", "Select All New", "Import"):
            expect(app, "push button", button)
        expect(app, "table", "Videos")
        # A card never imported from marks nothing: the row reads name, size, duration and moment.
        cell = expect(app, "table cell", prefix="GX010001.MP4, ", visible=False)
        wait_for("the row read with its duration", lambda: ", 4 seconds, today " in cell.name)
        print(f"ok: row read as \"{cell.name}\"")
        expect(app, "spin button", "Jump Number")
        for box in ("Open imported folder", "Trim after import", "Auto increment jump number", "Join chapters"):
            expect(app, "check box", box)
        expect(app, "text", "Filename pattern")
        expect(app, "text", "SD Card Name")
        # Buttons that open a menu may be told apart by the bridge.
        menu_button = ("push button", "push button menu", "menu button")
        expect(app, menu_button, "Insert Placeholder")
        expect(app, menu_button, "SD card actions")

        # The trimming window, opened from the menu as a screen reader user would.
        press(expect(app, "menu item", "Video Trimming", visible=False))
        expect(app, "frame", "Video Trimming")
        expect(app, "push button", "Choose Videos…")
        # A second start hands the file to the running one, which adds it to the trimming window.
        subprocess.run([binary, loose], env=env, timeout=30, check=True)
        row = expect(app, "filler", "loose.mp4")
        adjust = wait_for("Adjust… enabled after the analysis",
                          lambda: [n for n in nodes(app, "push button", "Adjust…")
                                   if n.getState().contains(pyatspi.STATE_ENABLED)])
        print(f"ok: row {row.name}: {row.description}")
        expect(app, "push button", "Remove from List", visible=False)

        # The range editor: two sliders that say their times.
        press(adjust[0])
        expect(app, "dialog", "Adjust Trim Range")
        expect(app, "panel", "Trim range")
        start = expect(app, "slider", prefix="Start of the kept range, ")
        end = expect(app, "slider", prefix="End of the kept range, ")
        value = start.queryValue()
        assert value.maximumValue > 3.5, f"the handles span the clip, not {value.maximumValue} s"
        assert end.queryValue().currentValue > value.currentValue
        # Moved through AT-SPI's value, the name follows.
        value.currentValue = 1.0
        wait_for("the start handle at 1 second", lambda: start.name == "Start of the kept range, 1 second")
        print("ok: the start handle moved to 1 second and says so")
        expect(app, "push button", "Done")
        print("PASS")
        return 0
    finally:
        for process in reversed(processes):
            process.terminate()
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                process.kill()
        shutil.rmtree(home, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
