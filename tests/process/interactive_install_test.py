"""Interactive installs of the demo offline installer, clicked through with xdotool on a real
Wine desktop under Xvfb at 96 DPI and checked from outside: the pages by their pixels, the
installation with 7zz, `reg query`, lnkinfo and the report collector."""
import os
import unittest

from archives import tree
from install_pages_test import (AGREE_BOX, CHOOSE_DIR, CLOSE, ERROR_LINE, INSTALL,
                                INSTALL_NOW, INSTALL_NOW_SIDE, INSTALL_SIDE, PAGE_SIZE, START,
                                bluish, reddish)
from installers import INSTALL_DIR_NAME, UNINSTALL_KEY, demo_package, pack, read_ini, uidata
from screen import Screen
from silent_install_test import SUCCESS_STEPS, InstallBed
from winebed import REG_VIEW, end_process, exit_code_of, winpath

BAR_ROW = (46, 367, 540, 2)   # the installing page's progress bar
BLUE = (0x23, 0x69, 0xFC)
BOX_SIZE = (432, 242)
BOX_LEFT, BOX_RIGHT, BOX_CLOSE = (236, 190), (346, 190), (389, 44)


class InteractiveInstall(InstallBed):
    def setUp(self):
        super().setUp()
        self.screen = Screen(self.prefix, os.path.join(self.prefix.scratch, "shots"))
        self.package = demo_package(os.path.join(self.work, "lwpic64.7z"))
        # Where the install page puts the application unless told otherwise.
        self.local_dir = os.path.join(self.prefix.user_home(), "AppData", "Local",
                                      INSTALL_DIR_NAME)
        self.process = None
        self.addCleanup(lambda: end_process(self.process))

    def installer(self, package):
        return pack(self.prefix, self.work, package, uidata(
            os.path.join(self.work, "uidata.xml"), Report_Url=self.collector.url))

    def start(self, installer, *args):
        self.screen.move_away()
        self.process = self.prefix.start_for_exit_code(installer, *args)

    def exit_code(self):
        return exit_code_of(self.process, 300)

    def page(self, *seen):
        page = self.screen.page(PAGE_SIZE, exclude=[p.window for p in seen])
        self.assertTrue(page, "no new page showed")
        return page

    def install_page(self):
        page = self.page()
        self.assertTrue(page.frame_where(INSTALL_SIDE, bluish), "the install page did not show")
        return page

    def watch_installing(self, *seen):
        """The installing page, from its first frame until it closes: the distinct lengths
        of its progress bar's blue part, in 96-DPI pixels."""
        page = self.page(*seen)
        filled = []
        while page.window in self.screen.windows():
            blue = sum(1 for rgb in page.pixels(self.screen.screenshot(), BAR_ROW)
                       if all(abs(a - b) <= 16 for a, b in zip(rgb, BLUE))) // 2
            if not filled or filled[-1] != blue:
                filled.append(blue)
        # The window can still be listed for a frame after it was hidden (seen on a busy
        # machine): an empty bar after the last drawn one is that frame, not the page's.
        while len(filled) > 1 and filled[-1] == 0:
            filled.pop()
        return page, filled

    def test_clicked_through_install(self):
        installer = self.installer(self.package)
        self.start(installer)
        page = self.install_page()
        # Unchecking the agreement disables the install button; checking it enables it.
        page.click(AGREE_BOX)
        self.assertTrue(page.frame_where(INSTALL_SIDE, lambda rgb: not bluish(rgb)))
        page.click(AGREE_BOX)
        self.assertTrue(page.frame_where(INSTALL_SIDE, bluish))
        page.click(CHOOSE_DIR)
        self.assertTrue(page.frame_where(INSTALL_NOW_SIDE, bluish), "no directory view")
        self.assertTrue(page.click_until_gone(INSTALL_NOW))

        _, filled = self.watch_installing(page)
        # The bar was seen at two lengths at least, the last one full (540 pixels, less the
        # rounded ends the colour check misses).
        self.assertGreaterEqual(len(filled), 2, filled)
        self.assertGreater(filled[-1], 520, filled)
        self.assertEqual(self.exit_code(), 0)
        self.install_dir = self.local_dir
        self.assertInstalledFrom(self.package)
        self.assertStartedOnce()
        self.assertEqual(self.collector.steps(), SUCCESS_STEPS)

    def test_installed_page_after_tracking_ids_and_after_a_failure(self):
        # Named as the packer expects, in a folder of its own.
        damaged = os.path.join(self.work, "damaged", "lwpic64.7z")
        os.makedirs(os.path.dirname(damaged))
        with open(self.package, "rb") as f, open(damaged, "wb") as out:
            out.write(f.read()[:os.path.getsize(self.package) // 2])
        # Case, package, switches, exit code, whether the button starts the application,
        # the reports from the extraction's on. The failure comes first: it registers
        # nothing, so the second case meets no earlier installation.
        cases = [("damaged package", damaged, [], 1603, False,
                  [(6, 4, 4, ""), (8, 2, 0, ""), (7, 5, 0, "installed fail")]),
                 ("tracking ids 3 and 1", self.package, ["/tid1:3", "/tid2:1"], 0, True,
                  SUCCESS_STEPS[5:])]
        for name, package, switches, code, starts, reports in cases:
            with self.subTest(name):
                before = len(self.collector.steps())
                self.start(self.installer(package), *switches)
                page = self.install_page()
                self.assertTrue(page.click_until_gone(INSTALL))
                installing, _ = self.watch_installing(page)
                finished = self.page(page, installing)
                shot = finished.frame_where(START, bluish)
                self.assertTrue(shot, "no installed page")
                self.assertEqual(any(map(reddish, finished.pixels(shot, ERROR_LINE))), not starts)
                self.assertTrue(finished.click_until_gone(START))
                self.assertEqual(self.exit_code(), code)
                self.install_dir = self.local_dir
                self.assertEqual(self.collector.steps()[before:][-len(reports):], reports)
                args = os.path.join(self.install_dir, "lwpic.exe.args")
                if starts:
                    self.assertStartedOnce()
                else:
                    self.assertFalse(os.path.exists(args))
                    self.assertNothingRegistered()

    def test_earlier_installation(self):
        self.assertEqual(self.install(self.installer(self.package)), 0)
        # A file the earlier installation listed and one the user put there himself.
        listed = os.path.join(self.install_dir, "old.txt")
        mine = os.path.join(self.install_dir, "mine.txt")
        for path in (listed, mine):
            with open(path, "w") as f:
                f.write("earlier\n")
        ini = os.path.join(self.install_dir, "AppData.ini")
        entries = read_ini(ini)["AppFileList"]
        with open(ini, "rb") as f:
            text = f.read().decode("gbk")
        text = text.replace("[AppFileList]\r\n", "[AppFileList]\r\nF_%d=%s\r\n" % (
            len(entries), winpath(listed)), 1)
        with open(ini, "wb") as f:
            f.write(text.encode("gbk"))
        installer = self.installer(self.package)
        # The button, the exit code, whether the installation is done again.
        cases = [("quit", BOX_RIGHT, 1602, False), ("close", BOX_CLOSE, 1602, False),
                 ("install over it", BOX_LEFT, 0, True)]
        for name, button, code, again in cases:
            with self.subTest(name):
                before = tree(self.parent), self.prefix.reg_query(UNINSTALL_KEY, REG_VIEW)
                self.start(installer)
                box = self.screen.page(BOX_SIZE)
                self.assertTrue(box, "the question did not show")
                self.assertTrue(box.click_until_gone(button))
                # Installing over it needs no click on the install page: it never shows.
                self.assertEqual(self.exit_code(), code)
                self.assertFalse(os.path.exists(self.local_dir))
                if not again:
                    self.assertEqual((tree(self.parent),
                                      self.prefix.reg_query(UNINSTALL_KEY, REG_VIEW)), before)
                    continue
                self.assertFalse(os.path.exists(listed))
                with open(mine) as f:
                    self.assertEqual(f.read(), "earlier\n")
                os.remove(mine)
                self.assertInstalledFrom(self.package)

    def test_closing_the_install_page_installs_nothing(self):
        self.start(self.installer(self.package))
        page = self.install_page()
        self.assertTrue(page.click_until_gone(CLOSE))
        self.assertEqual(self.exit_code(), 1602)
        self.assertFalse(os.path.exists(self.local_dir))
        self.assertNothingRegistered()


if __name__ == "__main__":
    unittest.main()
