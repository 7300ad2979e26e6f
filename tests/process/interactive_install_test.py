"""Interactive installs of the demo offline installer, clicked through with xdotool on a real
Wine desktop under Xvfb at 96 DPI and checked from outside: the pages by their pixels, the
installation with 7zz, `reg query`, lnkinfo and the report collector."""
import os
import shutil
import unittest

from archives import tree
from install_pages_test import (AGREE_BOX, AGREEMENT_LINK, BROWSE, CHOOSE_DIR, CLOSE,
                                ERROR_LINE, INSTALL, INSTALL_NOW, INSTALL_NOW_SIDE, INSTALL_SIDE,
                                PAGE_SIZE, PRIVACY_LINK, START, bluish, reddish)
from installers import (INSTALL_DIR_NAME, UNINSTALL_KEY, add_samples, demo_package, pack,
                        read_ini, uidata)
from screen import Screen
from silent_install_test import SUCCESS_STEPS, InstallBed
from winebed import REG_VIEW, end_process, exit_code_of, fixture, wait_until, winpath

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

    def installer(self, package, **items):
        """The offline installer of package; items replace those of the shipped document."""
        return pack(self.prefix, self.work, package, uidata(
            os.path.join(self.work, "uidata.xml"), Report_Url=self.collector.url, **items))

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
        self.assertTrue(page.click_once(INSTALL_NOW),
                        "the install page stayed after the first click on its install button")

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
                self.assertTrue(page.click_once(INSTALL),
                                "the install page stayed after the first click on its button")
                installing, _ = self.watch_installing(page)
                finished = self.page(page, installing)
                shot = finished.frame_where(START, bluish)
                self.assertTrue(shot, "no installed page")
                self.assertEqual(any(map(reddish, finished.pixels(shot, ERROR_LINE))), not starts)
                self.assertTrue(finished.click_once(START),
                                "the installed page stayed after the first click on its button")
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
            text = f.read().decode("utf-16")
        text = text.replace("[AppFileList]\r\n", "[AppFileList]\r\nF_%d=%s\r\n" % (
            len(entries), winpath(listed)), 1)
        with open(ini, "wb") as f:
            f.write(text.encode("utf-16"))
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
                self.assertTrue(box.frame_where((BOX_RIGHT[0] - 40, BOX_RIGHT[1]), bluish),
                                "the question was never drawn")
                self.assertTrue(box.click_once(button),
                                "the question stayed after the first click on its %s button" % name)
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

    def test_links_and_a_chosen_folder(self):
        # The agreement line's links open what the document names: here a stand-in program
        # each, which records every start beside itself (<program>.args, one line a start).
        links = os.path.join(self.prefix.scratch, "links")
        os.makedirs(links)
        programs = {name: os.path.join(links, name + ".exe") for name in ("agreement", "privacy")}
        for program in programs.values():
            shutil.copy(fixture("fx_app.exe"), program)
        # A folder on the user's desktop, where the folder dialog's tree begins.
        picked = os.path.join(self.prefix.user_home(), "Desktop", "Picked Apps")
        os.makedirs(picked)
        self.start(self.installer(self.package, User_Agreement_Url=winpath(programs["agreement"]),
                                  Privacy_Url=winpath(programs["privacy"])))
        page = self.install_page()
        for name, link in (("agreement", AGREEMENT_LINK), ("privacy", PRIVACY_LINK)):
            with self.subTest(link=name):
                args = programs[name] + ".args"
                self.assertTrue(page.click_once(link, lambda: os.path.exists(args)),
                                "the %s link started nothing" % name)
        # Each link started its own program, once, without arguments.
        starts = {}
        for name, program in programs.items():
            if os.path.exists(program + ".args"):
                with open(program + ".args", encoding="utf-16-le", newline="") as f:
                    starts[name] = f.read().split("\r\n")[:-1]
        self.assertEqual(starts, {"agreement": [""], "privacy": [""]})

        # The directory view's browse button opens the folder dialog, a window of its own.
        page.click(CHOOSE_DIR)
        self.assertTrue(page.frame_where(INSTALL_NOW_SIDE, bluish), "no directory view")
        before = set(self.screen.windows(""))
        opened = page.click_once(BROWSE, lambda: set(self.screen.windows("")) - before)
        self.assertTrue(opened, "the browse button opened no folder dialog")
        self.assertEqual(len(opened), 1, opened)
        dialog = opened.pop()
        # Its tree lists the desktop's folders: typing the start of a name selects that
        # folder, Return accepts it.
        self.prefix.x("xdotool", "windowfocus", "--sync", dialog)
        self.prefix.x("xdotool", "type", "--delay", "100", "picked")
        self.prefix.x("xdotool", "key", "Return")
        self.assertTrue(wait_until(lambda: dialog not in self.screen.windows("")),
                        "the folder dialog stayed")
        self.assertTrue(page.click_once(INSTALL_NOW),
                        "the install page stayed after the first click on its install button")
        self.watch_installing(page)
        self.assertEqual(self.exit_code(), 0)
        # The application went into the chosen folder's own product folder, nowhere else.
        self.install_dir = os.path.join(picked, INSTALL_DIR_NAME)
        self.assertInstalledFrom(self.package)
        self.assertStartedOnce()
        self.assertFalse(os.path.exists(self.local_dir))
        self.assertEqual(os.listdir(picked), [INSTALL_DIR_NAME])

    def test_closing_the_install_page_installs_nothing(self):
        self.start(self.installer(self.package))
        page = self.install_page()
        self.assertTrue(page.click_once(CLOSE), "the install page stayed after the first click")
        self.assertEqual(self.exit_code(), 1602)
        self.assertFalse(os.path.exists(self.local_dir))
        self.assertNothingRegistered()
        # The page's first report is sent before the run ends.
        self.assertEqual(self.collector.steps(), [(1, 1, 0, "")])

    def test_alt_f4_on_the_installing_page_does_not_end_the_install(self):
        # Files enough that the extraction is still under way when the close comes.
        add_samples(self.package, 3000)
        self.start(self.installer(self.package))
        page = self.install_page()
        self.assertTrue(page.click_once(INSTALL), "the install page stayed after the first click")
        installing = self.page(page)
        # The page stays at least two seconds; a close the system asks for (Alt+F4, say)
        # comes while the worker runs, and is refused.
        asked = self.prefix.run(fixture("system_close.exe"))
        self.assertIn("asked 1", asked.stdout.decode(), asked.stdout)
        self.assertEqual(self.exit_code(), 0)
        self.install_dir = self.local_dir
        self.assertInstalledFrom(self.package)
        self.assertStartedOnce()
        self.assertEqual(self.collector.steps(), SUCCESS_STEPS)


if __name__ == "__main__":
    unittest.main()
