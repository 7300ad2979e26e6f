"""The install page and the installed page as real windows under Xvfb, at 96 and 192 DPI,
clicked with xdotool and checked by their pixels and by what they hand back.

Points are 96-DPI client pixels (content + 16); the pages scale them. With LW_PAGE_SHOTS set
to a folder, screenshots of the pages are saved there (scripts/page-shots.sh)."""
import os
import shutil
import unittest

from installers import INSTALL_DIR_NAME
from screen import Screen, set_dpi
from winebed import SOURCE_DIR, Prefix, end_process, fixture, wait_until, winpath

PAGE_SIZE = (632, 432)
WHITE = (255, 255, 255)
CLOSE = (590, 42)
AGREE_BOX = (44, 388)
AGREE_LEAD_IN = (70, 388)        # the first piece of the agreement line
VIEWER_LABEL = (80, 364)         # the default-viewer option's label
VIEWER_FILL = (39, 364)          # the default-viewer box's fill, left of its tick
INSTALL = (316, 278)             # the large install button of the main view
INSTALL_SIDE = (250, 278)        # inside it, left of its text
INSTALL_NOW = (482, 380)         # the install button of the directory view
INSTALL_NOW_SIDE = (446, 372)
CHOOSE_DIR = (588, 388)          # the icon of "选择安装目录"
AGREEMENT_LINK = (190, 388)      # the agreement line's licence link (Chinese texts)
PRIVACY_LINK = (300, 388)        # and its privacy link
BROWSE = (552, 328)              # the directory view's button that opens the folder dialog
BACK = (566, 380)
PATH_FIELD = (40, 328)           # inside the path field's frame, before its text
START = (316, 296)               # the installed page's button
START_SIDE = (236, 296)
ERROR_LINE = (66, 236, 500, 24)  # between the installed page's title and its button


def bluish(rgb):
    """The enabled install buttons' blue (normal or hover), not their pale disabled look."""
    r, _, b = rgb
    return b > 200 and r < 120


def reddish(rgb):
    r, g, b = rgb
    return r > 180 and g < 120 and b < 120


class InstallPagesAt:
    DPI = 96

    @classmethod
    def setUpClass(cls):
        cls.prefix = Prefix()
        set_dpi(cls.prefix, cls.DPI)

    @classmethod
    def tearDownClass(cls):
        cls.prefix.close()

    def setUp(self):
        self.folder = os.path.join(self.prefix.scratch, self.id().split(".")[-1])
        os.makedirs(self.folder)
        self.screen = Screen(self.prefix, os.path.join(self.folder, "shots"))
        self.screen.move_away()
        self.process = None
        self.shown = None
        self.addCleanup(self.end_page)

    def end_page(self):
        """Ends the program of a failed check and waits until its page has gone: a page is
        looked for by its shape, and a new program's window may even get the same id."""
        if self.process and self.process.poll() is None:
            end_process(self.process)
            if self.shown:
                self.assertTrue(self.screen.gone(self.shown), "the page of a failed check stayed")

    def show(self, *args):
        self.end_page()
        self.process = self.prefix.start(fixture("page_window.exe"), *args)
        page = self.screen.page(PAGE_SIZE)
        self.assertTrue(page, "the page did not show")
        self.shown = page
        self.assertAlmostEqual(page.scale, self.DPI / 96, places=2)
        return page

    def show_install(self, language="zh"):
        self.out = os.path.join(self.folder, "install.txt")
        page = self.show("install", winpath(self.out),
                         winpath(os.path.join(SOURCE_DIR, "resources", "uidata.xml")),
                         language)
        # The first frames come late.
        self.assertTrue(page.frame_where(INSTALL_SIDE, bluish), "no frame with the install button")
        return page

    def result(self):
        self.assertEqual(self.process.wait(timeout=30), 0)
        with open(self.out, encoding="utf-8") as f:
            head, install_dir = f.read().splitlines()
        return head, install_dir

    def test_agreement_enables_both_install_buttons_in_both_views(self):
        page = self.show_install()
        page.keep(self.screen.screenshot(), PAGE_SIZE, "install", self.DPI)
        # The box and its lead-in text each toggle it; the buttons follow.
        for point, enabled in ((AGREE_BOX, False), (AGREE_LEAD_IN, True), (AGREE_BOX, False)):
            page.click(point)
            self.assertTrue(page.frame_where(INSTALL_SIDE, lambda rgb: bluish(rgb) == enabled),
                            "the install button is not %s" % ("enabled" if enabled else
                                                              "disabled"))
        # The directory view shows the path field and its own install button, disabled too
        # while the box stays unchecked.
        page.click(CHOOSE_DIR)
        # Its install button shows, pale while the box stays unchecked.
        shot = page.frame_where(INSTALL_NOW_SIDE, lambda rgb: rgb != WHITE)
        self.assertTrue(shot, "the directory view did not show")
        self.assertFalse(bluish(page.pixel(shot, INSTALL_NOW_SIDE)))
        self.assertNotEqual(page.pixel(shot, PATH_FIELD), WHITE)
        page.click(AGREE_BOX)
        shot = page.frame_where(INSTALL_NOW_SIDE, bluish)
        self.assertTrue(shot, "the directory view's install button stayed disabled")
        self.screen.move_away()
        page.keep(self.screen.screenshot(), PAGE_SIZE, "install_directory", self.DPI)
        # Back in the main view the large button shows again; the close button cancels.
        page.click(BACK)
        self.assertTrue(page.frame_where(INSTALL_SIDE, bluish), "the main view did not return")
        self.assertTrue(page.click_once(CLOSE), "the page stayed after a click on its close button")
        head, install_dir = self.result()
        self.assertEqual(head, "cancelled=1 setAsDefault=1")

    def test_install_buttons_hand_back_the_directory_and_the_viewer_option(self):
        # What is clicked before the install button (each click with the frame that shows
        # its effect), the button, and what the page gives. Every click is the first one on
        # its control: a page that drops it fails here.
        cases = [("main view", [], INSTALL, "cancelled=0 setAsDefault=1"),
                 ("viewer label", [(VIEWER_LABEL, VIEWER_FILL, lambda rgb: not bluish(rgb))],
                  INSTALL, "cancelled=0 setAsDefault=0"),
                 ("directory view", [(CHOOSE_DIR, INSTALL_NOW_SIDE, bluish)], INSTALL_NOW,
                  "cancelled=0 setAsDefault=1")]
        for name, before, button, expected in cases:
            with self.subTest(name):
                page = self.show_install()
                for point, where, test in before:
                    page.click(point)
                    self.assertTrue(page.frame_where(where, test),
                                    "no effect of the first click at %r" % (point,))
                self.assertTrue(page.click_once(button),
                                "the page stayed after the first click on its install button")
                head, install_dir = self.result()
                self.assertEqual(head, expected)
                self.assertRegex(install_dir, r"^C:\\users\\[^\\]+\\AppData\\Local\\%s$" % INSTALL_DIR_NAME)

    def test_install_page_in_other_languages(self):
        # The texts come from the document in the given language (what it does not translate
        # stays Chinese); the screenshots are for a person to check that nothing is clipped.
        for language in ("en", "ja"):
            with self.subTest(language):
                page = self.show_install(language)
                page.keep(self.screen.screenshot(), PAGE_SIZE, "install_" + language, self.DPI)
                self.assertTrue(page.click_once(CLOSE), "the page stayed after the first click")
                self.assertEqual(self.result()[0], "cancelled=1 setAsDefault=1")

    def test_installed_page_shows_the_outcome_and_its_buttons_act_on_the_first_click(self):
        # Error text ("-": success), whether the failure line shows, the button clicked once,
        # whether that starts the application, the screenshot's name (None: none kept).
        # After a failure the start button only closes the page.
        cases = [("-", False, START, True, "installed"),
                 ("解压失败，错误码：2", True, START, False, "installed_failed"),
                 ("-", False, CLOSE, False, None)]
        for number, (error, failed, button, starts, name) in enumerate(cases):
            with self.subTest(error=error, button="start" if button == START else "close"):
                folder = os.path.join(self.folder, "case%d" % number)
                os.makedirs(folder)
                # The stand-in application records each start in lwpic.exe.args.
                shutil.copy(fixture("fx_app.exe"), os.path.join(folder, "lwpic.exe"))
                page = self.show("installed", winpath(folder), error)
                shot = page.frame_where(START_SIDE, bluish)
                self.assertTrue(shot, "no frame with the button")
                if name:
                    page.keep(shot, PAGE_SIZE, name, self.DPI)
                self.assertEqual(any(map(reddish, page.pixels(shot, ERROR_LINE))), failed)
                self.assertTrue(page.click_once(button), "the page stayed after the first click")
                self.assertEqual(self.process.wait(timeout=30), 0)
                self.assertTrue(os.path.exists(os.path.join(folder, "closed")))
                args = os.path.join(folder, "lwpic.exe.args")
                # The start is handed to the shell without waiting: give it time to show.
                started = wait_until(lambda: os.path.exists(args), 10 if starts else 2)
                self.assertEqual(bool(started), starts, "lwpic.exe started")
                shutil.rmtree(folder)


class InstallPagesAt96(InstallPagesAt, unittest.TestCase):
    DPI = 96


class InstallPagesAt192(InstallPagesAt, unittest.TestCase):
    DPI = 192


if __name__ == "__main__":
    unittest.main()
