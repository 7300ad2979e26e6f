"""The question about a running copy of the application during a silent install over an
existing installation, answered with the mouse on a real window under Xvfb or beforehand with
"/closeapps"."""
import os
import subprocess
import time
import unittest

from archives import tree
from collector import Collector
from installers import UNINSTALL_KEY, demo_package, pack, uidata
from silent_install_test import SUCCESS_STEPS, InstallBed
from winebed import REG_VIEW, end_process, exit_code_of, wait_until, winpath

TITLE = "岚文看图"
# The question window at 96 DPI, and the centres of its buttons in client pixels (as the
# message box lays them out): the right one terminates, the left one cancels.
BOX_SIZE = (432, 242)
TERMINATE = (346, 190)
CANCEL = (236, 190)
CLOSE = (389, 44)


class RunningAppQuestion(InstallBed):
    """One machine with the demo application installed; each case starts the stand-in from
    the installation (unless it still runs from the case before) and installs again."""

    def setUp(self):
        super().setUp()
        self.package = demo_package(os.path.join(self.work, "lwpic64.7z"))
        self.installer = pack(self.prefix, self.work, self.package,
                              uidata(os.path.join(self.work, "uidata.xml"),
                                     Report_Url=self.collector.url))
        self.assertEqual(self.install(self.installer), 0)
        self.assertStartedOnce()
        self.app = None
        self.addCleanup(lambda: end_process(self.app))

    def start_app(self):
        """The stand-in, running from the installation until it is ended (two minutes)."""
        if self.app and self.app.poll() is None:
            return
        before = len(self.starts())
        self.app = self.prefix.start(winpath(os.path.join(self.install_dir, "lwpic.exe")),
                                     "/stay", stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        # It writes its arguments first, then stays.
        self.assertTrue(wait_until(lambda: len(self.starts()) > before, 60),
                        "the stand-in did not start")
        self.assertEqual(self.starts()[-1], "/stay")
        self.assertIsNone(self.app.poll())

    def boxes(self):
        return subprocess.run(["xdotool", "search", "--onlyvisible", "--name", TITLE],
                              env=self.prefix.env(), stdout=subprocess.PIPE,
                              text=True).stdout.split()

    def click(self, window, point):
        geometry = self.prefix.x("xdotool", "getwindowgeometry", "--shell", window)
        values = dict(line.split("=") for line in geometry.split())
        width, height = int(values["WIDTH"]), int(values["HEIGHT"])
        # Whatever the DPI, the box keeps its proportions; the buttons scale with it.
        scale = width / BOX_SIZE[0]
        self.assertAlmostEqual(height / scale, BOX_SIZE[1], delta=2)
        x = int(values["X"]) + int(point[0] * scale)
        y = int(values["Y"]) + int(point[1] * scale)
        self.prefix.x("xdotool", "mousemove", str(x), str(y))
        # A click before the box takes input is lost: click again until it goes. Every click
        # hits the same button, so a late one cannot change the answer.
        for _ in range(30):
            self.prefix.x("xdotool", "click", "1")
            if wait_until(lambda: not self.boxes(), 2):
                return
        self.fail("the question stayed after the clicks")

    def machine_state(self):
        """What a declined run must leave as it was: the installation's files (their
        bytes), the Uninstall entry and the reports."""
        return tree(self.parent), self.prefix.reg_query(UNINSTALL_KEY, REG_VIEW), \
            self.collector.steps()

    def run_installer(self, extra, button):
        """Runs the installer again; clicks button on the question, or, with no button,
        checks that no question shows during the whole run. Its exit code."""
        process = self.prefix.start_for_exit_code(self.installer, "/s",
                                                  "d=" + winpath(self.parent), *extra)
        try:
            if button is None:
                shown = []
                while process.poll() is None:
                    shown += self.boxes()
                    time.sleep(0.1)
                self.assertEqual(shown, [], "a question showed")
            else:
                found = wait_until(self.boxes, 60)
                self.assertTrue(found, "the question did not show")
                self.click(found[0], button)
            return exit_code_of(process, 300)
        finally:
            end_process(process)

    def test_answers_to_the_running_application(self):
        # Case, switches after "d=", the button clicked (None: no question expected), the
        # exit code, whether the stand-in is ended and the installation done again.
        cases = [("cancel", [], CANCEL, 1602, False),
                 ("close", [], CLOSE, 1602, False),
                 ("terminate", [], TERMINATE, 0, True),
                 ("closeapps", ["/closeapps"], None, 0, True)]
        for name, extra, button, code, ends in cases:
            with self.subTest(name):
                self.start_app()
                before = self.machine_state()
                reports = len(self.collector.steps())
                earlier = len(self.starts())
                self.assertEqual(self.run_installer(extra, button), code)
                if not ends:
                    self.assertIsNone(self.app.poll(), "the stand-in was ended")
                    self.assertEqual(self.machine_state(), before)
                    continue
                try:
                    self.app.wait(timeout=30)
                except subprocess.TimeoutExpired:
                    self.fail("the stand-in still runs")
                self.assertEqual(self.boxes(), [])
                # Installed again into the directory "d=" names, and started once more.
                self.assertEqual(os.listdir(self.parent), [os.path.basename(self.install_dir)])
                # "d=...\Apps /closeapps" would have made "Apps " beside it.
                self.assertEqual([n for n in os.listdir(self.prefix.scratch)
                                  if n.startswith("Apps")], ["Apps"])
                # The shell-extension stand-ins of the earlier installation were unregistered
                # before their files were replaced.
                for name in ("lwpicshellext.dll", "lwpicshellext64.dll"):
                    mark = os.path.join(self.install_dir, name + ".unregistered")
                    self.assertTrue(os.path.exists(mark), mark)
                    os.remove(mark)
                self.assertInstalledFrom(self.package)
                self.assertStartedOnce(earlier)
                self.assertEqual(self.collector.steps()[reports:], SUCCESS_STEPS)


if __name__ == "__main__":
    unittest.main()
