#!/usr/bin/env python3
"""Clicks the installer's pages through with xdotool on the current X display (WINEPREFIX and
DISPLAY set) and saves a screenshot of each page it passes.
  click-through.py install   SHOTS EXIT_CODE_EXE INSTALLER
  click-through.py uninstall SHOTS EXIT_CODE_EXE UNINSTALLER
The install run checks the agreement, opens the directory view and installs; the uninstall
run confirms the uninstall and closes the last page. Prints each screenshot's path and ends
with the program's exit code (exit_code.exe hands on all 32 bits of it)."""
import os
import re
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "process"))
from screen import Screen  # noqa: E402

PAGE = (632, 432)
# 96-DPI client points of the controls clicked, and points that tell a page has drawn.
INSTALL_SIDE = (250, 278)
CHOOSE_DIR = (588, 388)
INSTALL_NOW = (482, 380)
INSTALL_NOW_SIDE = (446, 372)
BAR_START = (48, 367)
UNINSTALL = (552, 380)
DONE = (316, 296)
DONE_SIDE = (236, 296)


def bluish(rgb):
    r, _, b = rgb
    return b > 200 and r < 120


def drawn(rgb):
    return rgb != (0, 0, 0)


class Display:
    """The display and prefix of the environment, as the screen helpers want them."""

    def env(self):
        return dict(os.environ)

    def x(self, *command):
        return subprocess.run(command, check=True, stdout=subprocess.PIPE, text=True).stdout


def main(mode, shots, exit_code_exe, program):
    os.makedirs(shots, exist_ok=True)
    raw = tempfile.mkdtemp()
    screen = Screen(Display(), raw)
    screen.move_away()
    # In a Chinese session, as the points above are for the Chinese page.
    process = subprocess.Popen(["wine", exit_code_exe, program], stdout=subprocess.PIPE,
                               stderr=subprocess.DEVNULL,
                               env=dict(os.environ, LANG="zh_CN.UTF-8", LC_ALL="zh_CN.UTF-8"))
    seen = []
    taken = []
    # The uninstall's pictures follow the install's.
    first = len([n for n in os.listdir(shots) if re.match(r"\d+-.*\.png$", n)]) + 1

    def next_page(point, test, name):
        """The next page once it has drawn (the point passes the test)."""
        found = screen.page(PAGE, exclude=[p.window for p in seen])
        if not found or not found.frame_where(point, test):
            sys.exit("the %s page did not show" % name)
        seen.append(found)
        return found

    def shoot(found, name):
        taken.append(os.path.join(shots, "%d-%s.png" % (first + len(taken), name)))
        found.crop(screen.screenshot(), PAGE, taken[-1])
        print("   " + taken[-1])

    def click_away(found, point, name):
        if not found.click_until_gone(point):
            sys.exit("the %s page stayed after the clicks" % name)

    if mode == "install":
        install = next_page(INSTALL_SIDE, bluish, "install")
        shoot(install, "install")
        install.click(CHOOSE_DIR)
        install.frame_where(INSTALL_NOW_SIDE, bluish)
        shoot(install, "install-directory")
        click_away(install, INSTALL_NOW, "install")
        shoot(next_page(BAR_START, drawn, "installing"), "installing")
    else:
        confirm = next_page(UNINSTALL, drawn, "uninstall")
        shoot(confirm, "uninstall")
        click_away(confirm, UNINSTALL, "uninstall")
        shoot(next_page(BAR_START, drawn, "uninstalling"), "uninstalling")
        done = next_page(DONE_SIDE, bluish, "uninstalled")
        shoot(done, "uninstalled")
        click_away(done, DONE, "uninstalled")
    shutil.rmtree(raw)
    out, _ = process.communicate(timeout=300)
    found = re.search(rb"exit=(\d+)", out)
    print("   exit code: %s" % (found.group(1).decode() if found else "unknown"))


if __name__ == "__main__":
    if len(sys.argv) != 5 or sys.argv[1] not in ("install", "uninstall"):
        sys.exit(__doc__)
    main(*sys.argv[1:])
