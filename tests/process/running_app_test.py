"""The question about a running copy of the application during a silent install over an
existing installation and during a silent uninstall, answered with the mouse on a real window
under Xvfb or beforehand with "/closeapps"; and the end of an uninstall, which ends every
program named like the companion process wherever it runs."""
import glob
import os
import shutil
import subprocess
import time
import unittest

from archives import tree
from collector import Collector, MachinePerClass
from deployment_test import UNINSTALL_SCHEMA
from installers import (INSTALL_DIR_NAME, UNINSTALL_KEY, demo_package, pack, provide_timeout,
                        uidata)
from silent_install_test import SUCCESS_STEPS, InstallBed
from winebed import (REG_VIEW, end_process, exit_code_of, fixture, settled, wait_until,
                     winpath)

TITLE = "岚文看图"
# The question window at 96 DPI, and the centres of its buttons in client pixels (as the
# message box lays them out): the right one terminates, the left one cancels.
BOX_SIZE = (432, 242)
TERMINATE = (346, 190)
CANCEL = (236, 190)
CLOSE = (389, 44)


class QuestionBox:
    """The running-application question on the display of self.prefix, found by its title
    and answered with the mouse."""

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

    def run_answering(self, process, button):
        """Clicks button on the question the process (started for its exit code) asks, or,
        with no button, checks that no question shows during the whole run. Its exit code."""
        try:
            if button is None:
                deadline = time.time() + 300
                while process.poll() is None and time.time() < deadline:
                    # A question nobody answers would hold the run up: fail at once.
                    self.assertEqual(self.boxes(), [], "a question showed")
                    time.sleep(0.1)
            else:
                found = wait_until(self.boxes, 60)
                self.assertTrue(found, "the question did not show")
                self.click(found[0], button)
            return exit_code_of(process, 300)
        finally:
            end_process(process)


class RunningAppQuestion(QuestionBox, InstallBed):
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

    def machine_state(self):
        """What a declined run must leave as it was: the installation's files (their
        bytes), the Uninstall entry and the reports."""
        return tree(self.parent), self.prefix.reg_query(UNINSTALL_KEY, REG_VIEW), \
            self.collector.steps()

    def run_installer(self, extra, button):
        """Runs the installer again, answering the question with button (None: none may show);
        its exit code."""
        return self.run_answering(self.prefix.start_for_exit_code(
            self.installer, "/s", "d=" + winpath(self.parent), *extra), button)

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


def args_lines(exe):
    """The arguments of each start of a stand-in program at exe (a host path), in order."""
    path = exe + ".args"
    if not os.path.exists(path):
        return []
    with open(path, encoding="utf-16-le", newline="") as f:
        return f.read().split("\r\n")[:-1]


class UninstallWithProgramsRunning(MachinePerClass, QuestionBox, InstallBed):
    """One machine for every case, the demo application installed again by each case that
    finds it removed; the uninstaller is started as its QuietUninstallString says."""

    @classmethod
    def prepare(cls):
        provide_timeout(cls.prefix)
        cls.collector = Collector(cls.prefix)
        work = os.path.join(cls.prefix.scratch, "pack here")
        os.makedirs(work)
        cls.package = demo_package(os.path.join(work, "lwpic64.7z"))
        cls.installer = pack(cls.prefix, work, cls.package,
                             uidata(os.path.join(work, "uidata.xml"), Report_Url=cls.collector.url))
        cls.parent = os.path.join(cls.prefix.scratch, "Apps")
        cls.install_dir = os.path.join(cls.parent, INSTALL_DIR_NAME)

    def setUp(self):
        # The class's machine, not a fresh one per test. A run that a failed case left asking
        # its question is ended with every program of the machine.
        if self.boxes():
            subprocess.run(["wineserver", "-k"], env=self.prefix.env())
            subprocess.run(["wineserver", "-w"], env=self.prefix.env())
        self.running = []
        self.addCleanup(lambda: [end_process(p) for p in self.running])

    def ensure_installed(self):
        """The demo application installed, its starts by the installer over."""
        # The clean-up of an earlier uninstall may still be removing the directory.
        self.assertTrue(wait_until(lambda: not any(os.listdir(b) for b in self.batches()), 60),
                        [(b, os.listdir(b)) for b in self.batches()])
        if os.path.exists(self.install_dir):
            return
        self.assertEqual(self.install(self.installer), 0)
        self.assertStartedOnce()
        self.assertTrue(settled(os.path.join(self.install_dir, "lwpic.exe.args")))

    def start_staying(self, exe):
        """The stand-in program at exe (a host path), started with "/stay" and running until
        it is ended (two minutes)."""
        before = len(args_lines(exe))
        process = self.prefix.start(winpath(exe), "/stay", stdout=subprocess.DEVNULL,
                                    stderr=subprocess.DEVNULL)
        self.running.append(process)
        # It writes its arguments first, then stays.
        self.assertTrue(wait_until(lambda: len(args_lines(exe)) > before, 60),
                        "%s did not start" % exe)
        self.assertEqual(args_lines(exe)[-1], "/stay")
        self.assertIsNone(process.poll(), exe)
        return process

    def uninstall(self, extra, button):
        """Runs the installed uninstaller silently, answering the question with button (None:
        none may show); its exit code."""
        return self.run_answering(self.prefix.start_for_exit_code(
            os.path.join(self.install_dir, "uninstall.exe"), "/s", *extra), button)

    def link_paths(self):
        return [self.prefix.unix(link) for link in self.links()]

    def batches(self):
        """The clean-up batch's directories."""
        return glob.glob(os.path.join(self.prefix.path, "drive_c", "windows", "temp", "lwpx-*"))

    def uninstall_reports(self):
        return [(r["record"]["fields"]["reason"], r["record"]["fields"]["result"])
                for r in self.collector.reports()
                if r.get("record", {}).get("schema") == UNINSTALL_SCHEMA]

    def machine_state(self):
        """What a declined uninstall must leave as it was: the installation's files (their
        bytes), the Uninstall entry, the links, the clean-up batches and the reports."""
        return (tree(self.parent), self.prefix.reg_query(UNINSTALL_KEY, REG_VIEW),
                [os.path.exists(p) for p in self.link_paths()], self.batches(),
                self.collector.reports())

    def assertRemoved(self):
        """The installation, its entry and its links are gone once the clean-up batch ran."""
        self.assertTrue(wait_until(lambda: not os.path.exists(self.install_dir), 60),
                        os.path.exists(self.install_dir) and sorted(tree(self.install_dir)))
        self.assertTrue(wait_until(lambda: not any(os.listdir(b) for b in self.batches()), 60),
                        [(b, os.listdir(b)) for b in self.batches()])
        self.assertEqual(os.listdir(self.parent), [])
        self.assertNotEqual(self.prefix.reg_query(UNINSTALL_KEY, REG_VIEW)[0], 0)
        for link in self.link_paths():
            self.assertFalse(os.path.exists(link), link)

    def test_answers_to_the_running_application(self):
        # Case, switches after "/s", the button clicked (None: no question expected), the
        # exit code, and whether the stand-in is ended and the installation removed.
        cases = [("cancel", [], CANCEL, 1602, False),
                 ("close", [], CLOSE, 1602, False),
                 ("terminate", [], TERMINATE, 0, True),
                 ("closeapps", ["/closeapps"], None, 0, True)]
        app = None
        for name, extra, button, code, ends in cases:
            with self.subTest(name):
                self.ensure_installed()
                if app is None or app.poll() is not None:
                    app = self.start_staying(os.path.join(self.install_dir, "lwpic.exe"))
                before = self.machine_state()
                reports = len(self.uninstall_reports())
                self.assertEqual(self.uninstall(extra, button), code)
                if not ends:
                    self.assertIsNone(app.poll(), "the stand-in was ended")
                    self.assertEqual(self.machine_state(), before)
                    continue
                try:
                    app.wait(timeout=30)
                except subprocess.TimeoutExpired:
                    self.fail("the stand-in still runs")
                self.assertEqual(self.boxes(), [])
                self.assertRemoved()
                # Without the survey the report is the plain choice to uninstall.
                self.assertEqual(self.uninstall_reports()[reports:], [(0, 2)])

    def test_the_uninstall_ends_every_program_named_like_the_companion_in_the_end(self):
        self.ensure_installed()
        # Folder, file name and whether the uninstall ends it. None runs from the installation,
        # so no question is asked: the name alone counts, in any letter case, and only the
        # whole name; the application's own name elsewhere is not ended either.
        cases = [("live", "lwlive.exe", True),
                 ("live-upper", "LWLIVE.EXE", True),
                 ("near", "lwlive2.exe", False),
                 ("app-elsewhere", "lwpic.exe", False)]
        programs = []
        for folder, name, ends in cases:
            exe = os.path.join(self.prefix.scratch, "elsewhere", folder, name)
            os.makedirs(os.path.dirname(exe))
            shutil.copy(fixture("fx_app.exe"), exe)
            programs.append((name, self.start_staying(exe), ends))

        self.assertEqual(self.uninstall([], None), 0)
        self.assertRemoved()
        for name, process, ends in programs:
            if ends:
                try:
                    process.wait(timeout=30)
                except subprocess.TimeoutExpired:
                    self.fail("%s still runs" % name)
        # Those ended went at the same moment: any other ended then has gone by now too.
        for name, process, ends in programs:
            if not ends:
                self.assertIsNone(process.poll(), "%s was ended" % name)


if __name__ == "__main__":
    unittest.main()
