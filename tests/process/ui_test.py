"""A toolkit page as a real layered window under Xvfb, driven with xdotool."""
import os
import re
import subprocess
import tempfile
import time
import unittest

from winebed import Prefix, fixture, winpath

TITLE = "Toolkit test window"


def xdotool(*args):
    return subprocess.run(["xdotool", *args], check=True, stdout=subprocess.PIPE,
                          text=True).stdout


def screenshot(path):
    subprocess.run(["import", "-window", "root", path], check=True)


def pixel(path, x, y):
    """(r, g, b) of one screen pixel of a screenshot."""
    out = subprocess.run(["convert", path, "-crop", "1x1+%d+%d" % (x, y), "+repage",
                          "-depth", "8", "txt:-"], check=True, stdout=subprocess.PIPE,
                         text=True).stdout
    found = re.search(r"\((\d+),(\d+),(\d+)", out.splitlines()[-1])
    return tuple(int(v) for v in found.groups())


class ToolkitWindow(unittest.TestCase):
    def setUp(self):
        self.prefix = Prefix()
        self.log = os.path.join(self.prefix.scratch, "actions.log")
        self.shots = tempfile.mkdtemp(prefix="shots.", dir=self.prefix.scratch)
        self.process = self.prefix.start(fixture("toolkit_window.exe"), winpath(self.log))

    def tearDown(self):
        if self.process.poll() is None:
            self.process.kill()
        self.prefix.close()

    def window(self):
        """The page's window id and its top-left corner once it shows."""
        deadline = time.time() + 60
        while time.time() < deadline:
            found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", TITLE],
                                   stdout=subprocess.PIPE, text=True).stdout.split()
            if found:
                return found[0], self.position(found[0])
            time.sleep(0.5)
        self.fail("the toolkit window did not show")

    def position(self, window_id):
        geometry = xdotool("getwindowgeometry", "--shell", window_id)
        values = dict(line.split("=") for line in geometry.split())
        return int(values["X"]), int(values["Y"])

    def logged(self):
        if not os.path.exists(self.log):
            return []
        with open(self.log) as f:
            return f.read().split()

    def test_alpha_drag_click_and_the_end_of_the_loop(self):
        before = os.path.join(self.shots, "before.png")
        screenshot(before)
        window_id, (x, y) = self.window()
        time.sleep(1.5)  # a few timer ticks: the first frames are presented
        shown = os.path.join(self.shots, "shown.png")
        screenshot(shown)
        # Per-pixel alpha: the margin corner shows what was below, the panel is opaque white.
        self.assertEqual(pixel(shown, x + 2, y + 2), pixel(before, x + 2, y + 2))
        self.assertEqual(pixel(shown, x + 300, y + 400), (255, 255, 255))
        # The blue primary button is drawn from the skin.
        r, g, b = pixel(shown, x + 316 - 60, y + 16 + 252 + 28)
        self.assertTrue(b > 200 and r < 120, (r, g, b))

        # A press on empty surface drags the window, keeping the grabbed point under the cursor.
        xdotool("mousemove", str(x + 300), str(y + 120))
        xdotool("mousedown", "1")
        for step in range(1, 5):
            xdotool("mousemove", str(x + 300 + 20 * step), str(y + 120 + 10 * step))
            time.sleep(0.2)
        xdotool("mouseup", "1")
        time.sleep(0.5)
        moved = self.position(window_id)
        self.assertEqual(moved, (x + 80, y + 40))
        x, y = moved

        # The check box takes its click (no drag) and fires its action.
        xdotool("mousemove", str(x + 16 + 20 + 8), str(y + 432 - 16 - 20 - 8))
        xdotool("click", "1")
        time.sleep(0.5)
        self.assertEqual(self.position(window_id), (x, y))
        self.assertEqual(self.logged(), ["OnAgree"])

        # A click on the button fires its action; the page closes and, being the last
        # visible window, ends the shared loop.
        xdotool("mousemove", str(x + 316), str(y + 16 + 252 + 28))
        xdotool("click", "1")
        self.assertEqual(self.process.wait(timeout=30), 0)
        self.assertEqual(self.logged(), ["OnAgree", "OnDone", "loop", "ended"])


if __name__ == "__main__":
    unittest.main()
