"""A toolkit page as a real layered window under Xvfb, driven with xdotool."""
import os
import subprocess
import tempfile
import time
import unittest

from winebed import Prefix, end_process, fixture, pixel, wait_until, winpath

TITLE = "Toolkit test window"


class ToolkitWindow(unittest.TestCase):
    def setUp(self):
        self.prefix = Prefix()
        self.log = os.path.join(self.prefix.scratch, "actions.log")
        self.shots = tempfile.mkdtemp(prefix="shots.", dir=self.prefix.scratch)
        self.process = self.prefix.start(fixture("toolkit_window.exe"), winpath(self.log))

    def tearDown(self):
        end_process(self.process)
        self.prefix.close()

    def xdotool(self, *args):
        return self.prefix.x("xdotool", *args)

    def screenshot(self, name):
        path = os.path.join(self.shots, name)
        self.prefix.x("import", "-window", "root", path)
        return path

    def window(self):
        """The page's window id and its top-left corner once it shows."""
        def search():
            return subprocess.run(["xdotool", "search", "--onlyvisible", "--name", TITLE],
                                  env=self.prefix.env(), stdout=subprocess.PIPE,
                                  text=True).stdout.split()
        found = wait_until(search, 60)
        if not found:
            self.fail("the toolkit window did not show")
        return found[0], self.position(found[0])

    def position(self, window_id):
        geometry = self.xdotool("getwindowgeometry", "--shell", window_id)
        values = dict(line.split("=") for line in geometry.split())
        return int(values["X"]), int(values["Y"])

    def logged(self):
        if not os.path.exists(self.log):
            return []
        with open(self.log) as f:
            return f.read().split()

    def test_alpha_drag_click_and_the_end_of_the_loop(self):
        before = self.screenshot("before.png")
        window_id, (x, y) = self.window()
        # The window maps before its first frame is presented: wait for the opaque panel.
        def first_frame():
            path = self.screenshot("shown.png")
            return path if pixel(path, x + 300, y + 400) == (255, 255, 255) else None
        shown = wait_until(first_frame)
        self.assertTrue(shown, "the page's first frame was never presented")
        # Per-pixel alpha: the margin corner shows what was below, the panel is opaque white.
        self.assertEqual(pixel(shown, x + 2, y + 2), pixel(before, x + 2, y + 2))
        self.assertEqual(pixel(shown, x + 300, y + 400), (255, 255, 255))
        # The blue primary button is drawn from the skin.
        r, g, b = pixel(shown, x + 316 - 60, y + 16 + 252 + 28)
        self.assertTrue(b > 200 and r < 120, (r, g, b))

        # A press on empty surface drags the window, keeping the grabbed point under the cursor.
        self.xdotool("mousemove", str(x + 300), str(y + 120))
        self.xdotool("mousedown", "1")
        for step in range(1, 5):
            # Paced like a hand, so the window sees each step as a move of its own.
            self.xdotool("mousemove", str(x + 300 + 20 * step), str(y + 120 + 10 * step))
            time.sleep(0.2)
        self.xdotool("mouseup", "1")
        wait_until(lambda: self.position(window_id) == (x + 80, y + 40), 10)
        moved = self.position(window_id)
        self.assertEqual(moved, (x + 80, y + 40))
        x, y = moved

        # The check box takes its click (no drag) and fires its action.
        self.xdotool("mousemove", str(x + 16 + 20 + 8), str(y + 432 - 16 - 20 - 8))
        self.xdotool("click", "1")
        wait_until(self.logged, 10)
        self.assertEqual(self.logged(), ["OnAgree"])
        self.assertEqual(self.position(window_id), (x, y))

        # A click on the button fires its action; the page closes and, being the last
        # visible window, ends the shared loop.
        self.xdotool("mousemove", str(x + 316), str(y + 16 + 252 + 28))
        self.xdotool("click", "1")
        self.assertEqual(self.process.wait(timeout=30), 0)
        self.assertEqual(self.logged(), ["OnAgree", "OnDone", "loop", "ended"])


if __name__ == "__main__":
    unittest.main()
