"""The message box and the installing page as real windows under Xvfb, at 96 and 192 DPI.

Positions below are 96-DPI client pixels of the page; the page scales every one of them, so
each is multiplied by DPI / 96. With LW_PAGE_SHOTS set to a folder, one screenshot of each
page at each DPI is saved there (scripts/page-shots.sh writes docs/pages/ this way).
"""
import contextlib
import os
import subprocess
import unittest

from screen import Screen
from winebed import Prefix, end_process, fixture, pixel, wait_until, winpath

TITLE = "岚文看图"
WHITE = (255, 255, 255)
BLUE = (0x23, 0x69, 0xFC)
GREY = (0xE6, 0xE6, 0xE6)

# The message box: 432 x 242 with 16-pixel margins; content (x, y) is client (x + 16, y + 16).
BOX_SIZE = (432, 242)
OK_CENTRE = (346, 190)       # 100 x 32, 20 from the right and bottom of the content
CANCEL_CENTRE = (236, 190)   # 100 x 32, 10 left of the ok button
CLOSE_CENTRE = (389, 44)     # 32 x 32, 11 from the right, 12 from the top
CANCEL_RECT = (188, 176, 96, 28)  # inside the cancel button's frame
ICON_POINT = (62, 112)       # inside the icon's disc, left of its mark
MESSAGE_LEFT = (36, 86, 18, 20)   # where a message without icon begins; left of the icon
PANEL_POINT = (30, 150)      # white panel, whatever the box shows
RIGHT_OF_TEXT = (398, 90, 12, 60)    # between the message area's right edge and the panel's
ABOVE_BUTTONS = (40, 169, 140, 5)    # the gap between the message area and the buttons' row
SHORT_MESSAGE = "您已安装岚文看图,是否继续安装？"
LONG_MESSAGE = ("抱歉，您正在使用的操作系统版本过低，为确保软件能够正常运行，"
                "请在 Windows 7 或更新的系统上尝试。") * 3

# The installing page: 632 x 432; the bar spans client x 46 to 586 at y 364 to 372.
PAGE_SIZE = (632, 432)
BAR_LEFT, BAR_WIDTH, BAR_MIDDLE = 46, 540, 368
PERCENT_RECT = (536, 378, 50, 22)  # the right-aligned label under the bar's right end


def darkest(path, x, y, w, h):
    """The lowest grey level (0 black to 1 white) inside a rectangle of a screenshot."""
    out = subprocess.run(["convert", path, "-crop", "%dx%d+%d+%d" % (w, h, x, y), "+repage",
                          "-colorspace", "gray", "-format", "%[fx:minima]", "info:"],
                         check=True, stdout=subprocess.PIPE, text=True).stdout
    return float(out)


def near(actual, expected, tolerance=16):
    return all(abs(a - e) <= tolerance for a, e in zip(actual, expected))


def coloured(rgb):
    """A saturated colour, as the icons are drawn (blue or orange), not white or grey."""
    return max(rgb) - min(rgb) > 80


def bluish(rgb):
    r, _, b = rgb
    return b > 200 and r < 120


class PagesAt:
    """The page checks at one DPI; subclasses name it."""
    DPI = 96

    @classmethod
    def setUpClass(cls):
        cls.prefix = Prefix()
        # Wine takes the system DPI from this value when the first program starts.
        subprocess.run(["wine", "reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels",
                        "/t", "REG_DWORD", "/d", str(cls.DPI), "/f"], env=cls.prefix.env(),
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    @classmethod
    def tearDownClass(cls):
        cls.prefix.close()

    def setUp(self):
        self.process = None
        self.shots = os.path.join(self.prefix.scratch, "shots.%s" % self.id().split(".")[-1])
        os.makedirs(self.shots, exist_ok=True)
        self.count = 0

    def tearDown(self):
        self.end_case()

    def end_case(self):
        """Ends a program a failed check left running, so the next case sees its own page."""
        end_process(self.process)
        self.gone()

    def visible_pages(self):
        return subprocess.run(["xdotool", "search", "--onlyvisible", "--name", TITLE],
                              env=self.prefix.env(), stdout=subprocess.PIPE,
                              text=True).stdout.split()

    def gone(self):
        """Waits until no page of an earlier case is left on the shared display."""
        self.assertTrue(wait_until(lambda: not self.visible_pages()),
                        "a page stayed on screen after its program ended")

    @contextlib.contextmanager
    def ended(self):
        try:
            yield
        finally:
            self.end_case()

    def s(self, value):
        return value * self.DPI // 96

    def screenshot(self):
        self.count += 1
        path = os.path.join(self.shots, "%d.png" % self.count)
        self.prefix.x("import", "-window", "root", path)
        return path

    def start(self, *args):
        self.process = self.prefix.start(fixture("page_window.exe"), *args)

    def window(self, size):
        """The top-left corner of the page's window once it shows, checking its size."""
        found = wait_until(self.visible_pages, 60)
        if not found:
            self.fail("the page did not show")
        geometry = self.prefix.x("xdotool", "getwindowgeometry", "--shell", found[0])
        values = dict(line.split("=") for line in geometry.split())
        self.assertEqual((int(values["WIDTH"]), int(values["HEIGHT"])),
                         (self.s(size[0]), self.s(size[1])))
        return int(values["X"]), int(values["Y"])

    def at(self, origin, point):
        return origin[0] + self.s(point[0]), origin[1] + self.s(point[1])

    def rect(self, origin, rect):
        x, y = self.at(origin, rect[:2])
        return x, y, self.s(rect[2]), self.s(rect[3])

    def frame_where(self, origin, point, test):
        """A screenshot once the pixel at point passes test (the first frames come late)."""
        def shot():
            path = self.screenshot()
            return path if test(pixel(path, *self.at(origin, point))) else None
        path = wait_until(shot)
        self.assertTrue(path, "the page never showed the expected frame")
        return path

    def keep(self, path, origin, size, name):
        folder = os.environ.get("LW_PAGE_SHOTS")
        if not folder:
            return
        os.makedirs(folder, exist_ok=True)
        subprocess.run(["convert", path, "-crop", "%dx%d+%d+%d" % (self.s(size[0]),
                        self.s(size[1]), origin[0], origin[1]), "+repage",
                        os.path.join(folder, "%s_%d.png" % (name, self.DPI))], check=True)

    # The message box.

    def show_box(self, cancel, ok, icon_style, message=SHORT_MESSAGE):
        out = os.path.join(self.shots, "box.txt")
        # The pointer of an earlier click would leave a button in its hover look.
        self.prefix.x("xdotool", "mousemove", "0", "0")
        self.start("box", winpath(out), "温馨提示", message, cancel, ok, str(icon_style))
        origin = self.window(BOX_SIZE)
        shot = self.frame_where(origin, PANEL_POINT, lambda rgb: rgb == WHITE)
        return out, origin, shot

    def click(self, origin, point):
        x, y = self.at(origin, point)
        self.prefix.x("xdotool", "mousemove", str(x), str(y))
        self.prefix.x("xdotool", "click", "1")

    def close_box(self, origin):
        self.click(origin, CLOSE_CENTRE)
        self.assertEqual(self.process.wait(timeout=30), 0)
        self.gone()

    def test_box_buttons_end_it_with_their_answers(self):
        cases = [("ok", OK_CENTRE, "result=1 closedByCloseButton=0"),
                 ("cancel", CANCEL_CENTRE, "result=0 closedByCloseButton=0"),
                 ("close", CLOSE_CENTRE, "result=0 closedByCloseButton=1")]
        for name, point, expected in cases:
            with self.subTest(button=name), self.ended():
                out, origin, _ = self.show_box("覆盖安装", "退出安装", 2)
                # The box has drawn its frame: the first click on each button must end it.
                box = Screen(self.prefix, os.path.join(self.shots, "box")).page(BOX_SIZE)
                self.assertEqual(box.origin, origin)
                self.assertTrue(box.click_once(point),
                                "the box stayed after the first click on its %s button" % name)
                self.assertEqual(self.process.wait(timeout=30), 0)
                with open(out) as f:
                    self.assertEqual(f.read().strip(), expected)
                self.gone()

    def test_box_icon_message_place_and_hidden_button(self):
        # iconStyle, cancel text, message, then whether the icon, a message at the left
        # margin and the cancel button show. Long messages wrap inside the white area and
        # are cut above the buttons.
        cases = [(2, "覆盖安装", SHORT_MESSAGE, True, False, True),
                 (1, "覆盖安装", LONG_MESSAGE, True, False, True),
                 (0, "", LONG_MESSAGE, False, True, False)]
        for style, cancel, message, icon, left_message, cancel_shown in cases:
            with self.subTest(iconStyle=style, cancel=cancel, long=message == LONG_MESSAGE), \
                    self.ended():
                _, origin, shot = self.show_box(cancel, "退出安装", style, message)
                if style == 2 and cancel:
                    self.keep(shot, origin, BOX_SIZE, "message_box")
                icon_rgb = pixel(shot, *self.at(origin, ICON_POINT))
                if icon:
                    self.assertTrue(coloured(icon_rgb), icon_rgb)
                else:
                    # White, or the grey message text that takes the icon's place.
                    self.assertFalse(coloured(icon_rgb), icon_rgb)
                self.assertEqual(darkest(shot, *self.rect(origin, MESSAGE_LEFT)) < 0.6,
                                 left_message)
                self.assertEqual(darkest(shot, *self.rect(origin, CANCEL_RECT)) < 0.6,
                                 cancel_shown)
                self.assertGreater(darkest(shot, *self.rect(origin, RIGHT_OF_TEXT)), 0.9)
                self.assertGreater(darkest(shot, *self.rect(origin, ABOVE_BUTTONS)), 0.9)
                # The ok button is there in every case.
                self.assertTrue(bluish(pixel(shot, *self.at(origin, (OK_CENTRE[0] - 40,
                                                                     OK_CENTRE[1])))))
                self.close_box(origin)

    # The installing page.

    def test_installing_shows_its_percentage_then_closes_after_finished(self):
        cases = [("download", 42), ("extract", 77)]
        for phase, percent in cases:
            with self.subTest(phase=phase, percent=percent), self.ended():
                folder = os.path.join(self.shots, phase)
                os.makedirs(folder)
                self.start("installing", winpath(folder), phase, str(percent))
                origin = self.window(PAGE_SIZE)
                fraction = percent / 100.0
                filled = (BAR_LEFT + int(BAR_WIDTH * (fraction - 0.03)), BAR_MIDDLE)
                shot = self.frame_where(origin, filled, lambda rgb: near(rgb, BLUE))
                if phase == "download":
                    self.keep(shot, origin, PAGE_SIZE, "installing")
                for share in (0.1, fraction - 0.03):
                    point = (BAR_LEFT + int(BAR_WIDTH * share), BAR_MIDDLE)
                    self.assertTrue(near(pixel(shot, *self.at(origin, point)), BLUE), share)
                for share in (fraction + 0.03, 0.9):
                    point = (BAR_LEFT + int(BAR_WIDTH * share), BAR_MIDDLE)
                    self.assertTrue(near(pixel(shot, *self.at(origin, point)), GREY), share)
                self.assertLess(darkest(shot, *self.rect(origin, PERCENT_RECT)), 0.6)

                # The page closes by itself once the worker has finished.
                self.assertIsNone(self.process.poll())
                open(os.path.join(folder, "finish"), "w").close()
                self.assertEqual(self.process.wait(timeout=30), 0)
                with open(os.path.join(folder, "closed")) as f:
                    self.assertEqual(f.read().strip(), "closed")
                self.gone()


class PagesAt96(PagesAt, unittest.TestCase):
    DPI = 96


class PagesAt192(PagesAt, unittest.TestCase):
    DPI = 192


if __name__ == "__main__":
    unittest.main()
