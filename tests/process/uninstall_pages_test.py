"""The uninstall run as a user sees it: the demo application installed silently, then the
installed uninstall.exe started without arguments and driven with the mouse under Xvfb, at
96 and at 192 DPI, and once with a file of the installation in use; each on a fresh machine.

Points below are 96-DPI client pixels of the 632 x 432 pages (content (x, y) is client
(x + 16, y + 16)); Page scales them by the window's size. With LW_PAGE_SHOTS set to a folder,
one screenshot of each page at each DPI is saved there (scripts/page-shots.sh writes
docs/pages/ this way).
"""
import glob
import os
import re
import subprocess
import time
import unittest

from archives import tree
from collector import Collector, MachinePerClass
from installers import (APP_LINK, INSTALL_DIR_NAME, PROGRAMS, UNINSTALL_KEY, add_samples,
                        demo_package, pack, provide_timeout, uidata)
from screen import Screen, set_dpi
from winebed import REG_VIEW, end_process, exit_code_of, settled, wait_until, winpath

PAGE_SIZE = (632, 432)
CLOSE = (590, 42)         # 32 x 32, 10 from the content's right and top
CANCEL = (442, 380)       # 88 x 32, 22 left of the uninstall button
UNINSTALL = (552, 380)    # 88 x 32, 20 from the content's right and bottom
DONE = (316, 296)         # 200 x 56, centred at content y 252
EMPTY = (120, 400)        # no control there on any of the pages
# The four survey boxes (16 x 16 at content x 246, y 164 + 27 i): where to click them, and a
# point of their fill away from the tick (blue when checked, white when not).
BOX_CLICK = [(270, 188 + 27 * i) for i in range(4)]
BOX_FILL = [(274, 191 + 27 * i) for i in range(4)]
# The progress bar spans client x 46 to 586 at y 364 to 372; the percentage sits under its
# right end.
BAR_LEFT, BAR_WIDTH, BAR_MIDDLE = 46, 540, 368
PERCENT_RECT = (536, 378, 50, 22)
BLUE = (0x23, 0x69, 0xFC)
GREY = (0xE6, 0xE6, 0xE6)
SESSION_MANAGER = r"HKLM\System\CurrentControlSet\Control\Session Manager"
# Enough files that the removal takes seconds (10 ms each at least) and its progress shows.
EXTRA_FILES = 300


def near(actual, expected, tolerance=16):
    return all(abs(a - e) <= tolerance for a, e in zip(actual, expected))


def bluish(rgb):
    r, _, b = rgb
    return b > 200 and r < 120


def whitish(rgb):
    return min(rgb) > 235


def darkest(path, x, y, w, h):
    """The lowest grey level (0 black to 1 white) inside a rectangle of a screenshot."""
    out = subprocess.run(["convert", path, "-crop", "%dx%d+%d+%d" % (w, h, x, y), "+repage",
                          "-colorspace", "gray", "-format", "%[fx:minima]", "info:"],
                         check=True, stdout=subprocess.PIPE, text=True).stdout
    return float(out)


class InstalledMachine(MachinePerClass):
    """A fresh machine at the class's DPI with the demo application installed silently from
    an offline installer whose reports go to the class's collector."""
    DPI = 96

    @classmethod
    def prepare(cls):
        set_dpi(cls.prefix, cls.DPI)
        provide_timeout(cls.prefix)
        cls.collector = Collector(cls.prefix)
        cls.screen = Screen(cls.prefix, os.path.join(cls.prefix.scratch, "shots"))
        work = os.path.join(cls.prefix.scratch, "pack here")
        os.makedirs(work)
        cls.parent = os.path.join(cls.prefix.scratch, "Apps")
        cls.install_dir = os.path.join(cls.parent, INSTALL_DIR_NAME)
        package = add_samples(demo_package(os.path.join(work, "lwpic64.7z")), EXTRA_FILES)
        installer = pack(cls.prefix, work, package,
                         uidata(os.path.join(work, "uidata.xml"), Report_Url=cls.collector.url))
        code = cls.prefix.exit_code(installer, "/s", "d=" + winpath(cls.parent), timeout=300)
        assert code == 0, code
        cls.uninstaller = os.path.join(cls.install_dir, "uninstall.exe")
        # The silent install starts the stand-in application without waiting for it (a
        # second time with "/setdefault:1" when it makes it the default viewer); each start
        # appends a line to this file, and the last must be in before any state is taken.
        assert settled(os.path.join(cls.install_dir, "lwpic.exe.args"))

    def links(self):
        """The desktop link and the start-menu folder, as host paths."""
        return (os.path.join(self.prefix.user_home(), "Desktop", APP_LINK + ".lnk"),
                self.prefix.unix(PROGRAMS + "\\" + APP_LINK))

    def batches(self):
        """The clean-up batch's directories."""
        return glob.glob(os.path.join(self.prefix.path, "drive_c", "windows", "temp", "lwpx-*"))

    def uninstall_reports(self):
        return [(r["record"]["fields"]["reason"], r["record"]["fields"]["result"])
                for r in self.collector.reports() if r.get("record", {}).get("schema") == 8203]

    def machine_state(self):
        return (tree(self.parent), self.prefix.reg_query(UNINSTALL_KEY, REG_VIEW)[0],
                [os.path.exists(p) for p in self.links()], self.batches())

    def pending_in_installation(self):
        """The file names of the installation registered for deletion at the next restart."""
        _, pending = self.prefix.reg_query(SESSION_MANAGER, "/v", "PendingFileRenameOperations")
        return sorted(entry.rsplit("\\", 1)[1].lower() for entry in re.split(r"\\0|\s+", pending)
                      if "\\%s\\" % INSTALL_DIR_NAME.lower() in entry.lower())

    def start(self):
        """The installed uninstaller, started as from its link, and its first page once drawn."""
        self.screen.move_away()
        process = self.prefix.start_for_exit_code(winpath(self.uninstaller))
        self.addCleanup(end_process, process)
        page = self.screen.page(PAGE_SIZE)
        self.assertTrue(page, "the uninstall page did not show")
        self.assertTrue(page.frame_where(UNINSTALL, bluish), "the uninstall page was never drawn")
        return process, page

    def shot(self, page, point, test, name):
        """A screenshot without a hovered control once the pixel at point passes test, kept
        under name."""
        # A move over an empty spot of the page ends every control's hover look; leaving
        # the window alone would not (it gets no message then). The page needs a moment to
        # see the move before the pointer goes on.
        x, y = page.at(EMPTY)
        self.prefix.x("xdotool", "mousemove", "--sync", str(x), str(y))
        time.sleep(0.5)
        self.screen.move_away()
        path = page.frame_where(point, test)
        self.assertTrue(path, "%s: the expected frame never came" % name)
        page.keep(path, PAGE_SIZE, name, self.DPI)
        return path

    def uninstall_from(self, page, process, shots):
        """Clicks the uninstall button, follows the removal to the finished page and closes
        it; the exit code. With shots, the last two pages are kept."""
        # The page has drawn (start): the first click on the button must take.
        self.assertTrue(page.click_once(UNINSTALL),
                        "the uninstall page stayed after the first click on its uninstall button")

        # The removal's progress: the bar partly filled and the percentage beside it.
        removing = self.screen.page(PAGE_SIZE, exclude=(page.window,))
        self.assertTrue(removing, "the uninstalling page did not show")
        self.screen.move_away()

        def partly_filled():
            path = self.screen.screenshot()
            start = (BAR_LEFT + BAR_WIDTH * 20 // 100, BAR_MIDDLE)
            end = (BAR_LEFT + BAR_WIDTH * 97 // 100, BAR_MIDDLE)
            if near(removing.pixel(path, start), BLUE) and near(removing.pixel(path, end), GREY):
                return path
            return None
        path = wait_until(partly_filled, 60)
        self.assertTrue(path, "no frame showed the removal under way")
        self.assertLess(darkest(path, *removing.rect(PERCENT_RECT)), 0.6)
        if shots:
            removing.keep(path, PAGE_SIZE, "uninstalling", self.DPI)

        finished = self.screen.page(PAGE_SIZE, exclude=(page.window, removing.window))
        self.assertTrue(finished, "the uninstalled page did not show")
        done_side = (DONE[0] - 80, DONE[1])
        if shots:
            self.shot(finished, done_side, bluish, "uninstalled")
        self.assertTrue(finished.frame_where(done_side, bluish),
                        "the uninstalled page was never drawn")
        self.assertTrue(finished.click_once(DONE),
                        "the uninstalled page stayed after the first click on its button")
        return exit_code_of(process, 120)

    def assertCleanedUp(self):
        """Waits for the clean-up batch; checks what an uninstall removes whatever was in use."""
        # The batch deletes itself last, then its directory. Wine's cmd keeps the batch file
        # open until it ends, so the file goes only then, after the rmdir that follows it on
        # the same line failed with "Directory is not empty": the empty directory stays here
        # (Windows' cmd does not hold the file between lines).
        self.assertTrue(wait_until(lambda: not any(os.listdir(b) for b in self.batches()), 60),
                        [(b, os.listdir(b)) for b in self.batches()])
        self.assertLessEqual(len(self.batches()), 1)
        self.assertNotEqual(self.prefix.reg_query(UNINSTALL_KEY, REG_VIEW)[0], 0)
        for link in self.links():
            self.assertFalse(os.path.exists(link), link)


class UninstallPagesAt(InstalledMachine):
    """The declined runs first (tests run in name order), then the uninstall that removes the
    installation."""

    def test_declining_leaves_everything_in_place(self):
        before = self.machine_state()
        self.assertNotEqual(before[0], {})
        self.assertEqual(before[1], 0, "the Uninstall entry")
        self.assertEqual(before[2], [True, True], "the links")
        for name, button in (("cancel", CANCEL), ("close", CLOSE)):
            with self.subTest(name):
                reports = len(self.uninstall_reports())
                process, page = self.start()
                self.assertTrue(page.click_once(button),
                                "the page stayed after the first click on its %s button" % name)
                self.assertEqual(exit_code_of(process, 60), 1602)
                self.assertEqual(self.uninstall_reports()[reports:], [(0, 1), (0, 3)])
                self.assertEqual(self.machine_state(), before)

    def test_uninstall_removes_the_installation_then_itself(self):
        reports = len(self.uninstall_reports())
        process, page = self.start()
        # The page has drawn: one click checks box 2, one more moves the choice to box 0.
        page.click(BOX_CLICK[2])
        self.assertTrue(page.frame_where(BOX_FILL[2], bluish), "box 2 did not take the first click")
        page.click(BOX_CLICK[0])
        path = self.shot(page, BOX_FILL[0], bluish, "uninstall")
        self.assertEqual([bluish(page.pixel(path, p)) for p in BOX_FILL],
                         [True, False, False, False])
        self.assertTrue(all(whitish(page.pixel(path, p)) for p in BOX_FILL[1:]))

        # Nothing the removal met was in use: only the running uninstaller was left for a
        # restart, and the clean-up removes it with the directory.
        self.assertEqual(self.uninstall_from(page, process, shots=True), 0)
        self.assertCleanedUp()
        self.assertFalse(os.path.exists(self.install_dir),
                         os.path.exists(self.install_dir) and sorted(tree(self.install_dir)))
        self.assertEqual(os.listdir(self.parent), [])
        self.assertEqual([re.sub(r"_\w+\.tmp$", "_*.tmp", name)
                          for name in self.pending_in_installation()], ["uninstall.exe_*.tmp"])
        self.assertEqual(self.uninstall_reports()[reports:], [(0, 1), (1, 2)])


class UninstallPagesAt96(UninstallPagesAt, unittest.TestCase):
    DPI = 96


class UninstallPagesAt192(UninstallPagesAt, unittest.TestCase):
    DPI = 192


class UninstallWithAFileInUse(InstalledMachine, unittest.TestCase):
    """A file of the installation held open by another program while it is removed."""

    def test_a_file_in_use_waits_for_the_restart_and_the_run_says_so(self):
        readme = os.path.join(self.install_dir, "readme.txt")
        # cmd opens the file as the stand-in timeout's input, without sharing its deletion,
        # and keeps it open while the stand-in waits.
        holder = self.prefix.start("cmd", "/c", "timeout /T 60 < " + winpath(readme),
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(end_process, holder)
        process, page = self.start()
        # No reason chosen.
        self.assertEqual(self.uninstall_from(page, process, shots=False), 3010)
        self.assertCleanedUp()
        # The held file stays, registered for the restart: renamed beside itself or, where
        # it cannot be renamed while held (as here), under its own name. The rest went before
        # the batch started, the name reserved for the renaming included, and the batch
        # deleted the renamed uninstaller.
        left = sorted(name.lower() for name in os.listdir(self.install_dir))
        self.assertEqual(len(left), 1, left)
        self.assertRegex(left[0], r"^readme\.txt(_\w+\.tmp)?$")
        pending = self.pending_in_installation()
        self.assertEqual([name for name in left if name not in pending], [], pending)
        self.assertEqual(self.uninstall_reports(), [(0, 1), (0, 2)])


if __name__ == "__main__":
    unittest.main()
