"""The installer's windows on a prefix's Xvfb display, seen and clicked from outside: found by
their title with xdotool, measured, clicked at 96-DPI page coordinates (scaled by the
window's own size, so one table of points serves every DPI) and photographed. Needs only an
object with env() and x() for the display (a test's Prefix), so scripts use it too."""
import os
import re
import subprocess
import time

TITLE = "岚文看图"


def wait_until(condition, seconds=30):
    """Polls condition until it returns something true or the time is up; its last value."""
    deadline = time.time() + seconds
    while True:
        value = condition()
        if value or time.time() > deadline:
            return value
        time.sleep(0.1)


def pixel(path, x, y):
    """(r, g, b) of one screen pixel of a screenshot."""
    out = subprocess.run(["convert", path, "-crop", "1x1+%d+%d" % (x, y), "+repage",
                          "-depth", "8", "txt:-"], check=True, stdout=subprocess.PIPE,
                         text=True).stdout
    found = re.search(r"\((\d+),(\d+),(\d+)", out.splitlines()[-1])
    return tuple(int(v) for v in found.groups())


def set_dpi(prefix, dpi):
    """Wine takes the system DPI from this value when the prefix's first program starts."""
    subprocess.run(["wine", "reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels",
                    "/t", "REG_DWORD", "/d", str(dpi), "/f"], env=prefix.env(), check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


class Screen:
    def __init__(self, prefix, shots):
        self.prefix = prefix
        self.shots = shots
        self.count = 0
        os.makedirs(shots, exist_ok=True)

    def windows(self, title=TITLE):
        """The visible windows with this title, as xdotool ids."""
        return subprocess.run(["xdotool", "search", "--onlyvisible", "--name", title],
                              env=self.prefix.env(), stdout=subprocess.PIPE,
                              text=True).stdout.split()

    def geometry(self, window):
        """(x, y, width, height) of a window on the screen."""
        out = self.prefix.x("xdotool", "getwindowgeometry", "--shell", window)
        values = dict(line.split("=") for line in out.split())
        return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))

    def page(self, size, timeout=60, exclude=()):
        """The one visible page of this 96-DPI size once it shows: a Page. A window of
        another shape (a message box instead of a page) fails the test that waits."""
        def find():
            for window in self.windows():
                if window in exclude:
                    continue
                try:
                    x, y, width, height = self.geometry(window)
                except subprocess.CalledProcessError:
                    continue  # closed since it was listed
                scale = width / size[0]
                if abs(height / scale - size[1]) <= 2:
                    return Page(self, window, (x, y), scale)
            return None
        return wait_until(find, timeout)

    def gone(self, page, timeout=30):
        return wait_until(lambda: page.window not in self.windows(), timeout)

    def screenshot(self):
        self.count += 1
        path = os.path.join(self.shots, "%d.png" % self.count)
        self.prefix.x("import", "-window", "root", path)
        return path

    def move_away(self):
        """Moves the pointer off every page, so that no control keeps a hover look."""
        self.prefix.x("xdotool", "mousemove", "0", "0")


class Page:
    """One window of the installer: its screen origin and its scale (DPI / 96)."""

    def __init__(self, screen, window, origin, scale):
        self.screen = screen
        self.window = window
        self.origin = origin
        self.scale = scale

    def at(self, point):
        """Screen coordinates of a 96-DPI client point of the window."""
        return (self.origin[0] + int(point[0] * self.scale),
                self.origin[1] + int(point[1] * self.scale))

    def rect(self, rect):
        x, y = self.at(rect[:2])
        return x, y, int(rect[2] * self.scale), int(rect[3] * self.scale)

    def pixel(self, path, point):
        return pixel(path, *self.at(point))

    def pixels(self, path, rect):
        """(r, g, b) of every pixel inside a 96-DPI client rectangle of a screenshot."""
        x, y, width, height = self.rect(rect)
        out = subprocess.run(["convert", path, "-crop", "%dx%d+%d+%d" % (width, height, x, y),
                              "+repage", "-depth", "8", "txt:-"],
                             check=True, stdout=subprocess.PIPE, text=True).stdout
        return [tuple(int(v) for v in m) for m in re.findall(r"\((\d+),(\d+),(\d+)", out)]

    def click(self, point):
        x, y = self.at(point)
        self.screen.prefix.x("xdotool", "mousemove", str(x), str(y))
        self.screen.prefix.x("xdotool", "click", "1")

    def click_once(self, point, effect=None, timeout=30):
        """Clicks the point exactly once and waits for the click's effect: effect() giving
        something true or, without an effect, the window going. The effect's last value
        (false when it never came). A page that drops this click fails the test, so call
        it once the page has drawn the frame the click is meant for; a user clicks only
        what he sees, and does so once."""
        self.click(point)
        if effect is None:
            return self.screen.gone(self, timeout)
        return wait_until(effect, timeout)

    def click_until_gone(self, point, tries=30):
        """Clicks the point until the window goes: a click before the window takes input is
        lost. Every click hits the same control, so a late one cannot change the answer.
        False when the window stayed. Only for a window whose first frame cannot be waited
        for; a drawn page takes its first click (click_once)."""
        for _ in range(tries):
            self.click(point)
            if self.screen.gone(self, 2):
                return True
        return False

    def frame_where(self, point, test, timeout=30):
        """A screenshot once the pixel at point passes test (the first frames come late)."""
        def shot():
            path = self.screen.screenshot()
            return path if test(self.pixel(path, point)) else None
        return wait_until(shot, timeout)

    def crop(self, path, size, out):
        """Saves this page's part of a screenshot (size in 96-DPI pixels) as out."""
        subprocess.run(["convert", path, "-crop", "%dx%d+%d+%d" % (
            int(size[0] * self.scale), int(size[1] * self.scale), self.origin[0],
            self.origin[1]), "+repage", out], check=True)

    def keep(self, path, size, name, dpi):
        """Saves this page's part of a screenshot as <LW_PAGE_SHOTS>/<name>_<dpi>.png when
        that variable names a folder."""
        folder = os.environ.get("LW_PAGE_SHOTS")
        if not folder:
            return
        os.makedirs(folder, exist_ok=True)
        self.crop(path, size, os.path.join(folder, "%s_%d.png" % (name, dpi)))
