"""Registering and removing the application on a fresh machine: the Uninstall entry, the
shortcuts, the uninstall worker and the self-delete batch, each class in a fresh prefix.

The host has no zh_CN locale, so Wine cannot give files Chinese names here; the driver gets
ASCII link names with --name."""
import glob
import os
import re
import shutil
import subprocess
import unittest

from installers import provide_timeout
from winebed import REG_VIEW, Prefix, fixture, lnk_fields, wait_until, winpath

NAME = "LarwenPic"
DRIVER = "fx_install_driver.exe"
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\LarwenPic"
SESSION_MANAGER = r"HKLM\System\CurrentControlSet\Control\Session Manager"
PROGRAMS = r"C:\ProgramData\Microsoft\Windows\Start Menu\Programs"


def run(prefix, program, *args, timeout=120):
    return subprocess.run(["wine", program, *args], env=prefix.env(), timeout=timeout,
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)


def driver(prefix, *args, program=None):
    result = run(prefix, program or fixture(DRIVER), "--name", NAME, *args)
    return result.stdout.decode("utf-8").splitlines()


class OnFreshMachine(unittest.TestCase):
    """Each class of tests gets a machine of its own."""

    @classmethod
    def setUpClass(cls):
        cls.prefix = Prefix()

    @classmethod
    def tearDownClass(cls):
        cls.prefix.close()


class Shortcuts(OnFreshMachine):

    def test_links_on_the_desktop_and_in_the_common_start_menu(self):
        install = os.path.join(self.prefix.scratch, "Apps", "LarwenPic")
        os.makedirs(install)
        for name in ("lwpic.exe", "uninstall.exe"):
            shutil.copy(fixture("fx_app.exe"), os.path.join(install, name))
        app, uninstaller = winpath(install + "/lwpic.exe"), winpath(install + "/uninstall.exe")
        # A file in the way of the product's start-menu folder is replaced by the folder.
        folder = os.path.join(self.prefix.unix(PROGRAMS), NAME)
        with open(folder, "w") as f:
            f.write("in the way")

        desktop, app_link, uninstall_link = driver(self.prefix, "shortcuts", app, uninstaller)
        self.assertRegex(desktop, r"(?i)^C:\\users\\[^\\]+\\Desktop\\LarwenPic\.lnk$")
        self.assertEqual(app_link.lower(), (PROGRAMS + r"\LarwenPic\LarwenPic.lnk").lower())
        self.assertEqual(uninstall_link.lower(),
                         (PROGRAMS + r"\LarwenPic\Uninstall LarwenPic.lnk").lower())
        self.assertTrue(os.path.isdir(folder))
        for link, target in ((desktop, app), (app_link, app), (uninstall_link, uninstaller)):
            self.assertEqual(lnk_fields(self.prefix.unix(link)), (target, winpath(install)), link)

        # An existing link of the same name is replaced.
        driver(self.prefix, "shortcuts", uninstaller, uninstaller)
        self.assertEqual(lnk_fields(self.prefix.unix(app_link))[0], uninstaller)
        self.assertEqual(lnk_fields(self.prefix.unix(desktop))[0], uninstaller)

        driver(self.prefix, "remove-desktop")
        self.assertFalse(os.path.exists(self.prefix.unix(desktop)))
        self.assertTrue(os.path.exists(self.prefix.unix(app_link)))


class UninstallWorker(OnFreshMachine):
    """The worker on a scratch installation: what the list names goes, what it must not
    touch stays."""


    def test_removes_the_installation_and_nothing_else(self):
        scratch = self.prefix.scratch
        base = os.path.join(scratch, "Apps", "LarwenPic")
        path = lambda *parts: os.path.join(base, *parts)
        os.makedirs(path("sub"))
        os.makedirs(path("update"))
        os.makedirs(os.path.join(scratch, "Target"))
        shutil.copy(fixture(DRIVER), path("uninstall.exe"))
        for name in ("lwpic.exe", "busy.exe"):
            shutil.copy(fixture("fx_app.exe"), path(name))
        for name in ("lwpicshellext.dll", "lwpicshellext64.dll"):
            shutil.copy(fixture(name), path(name))
        for name in ("data.bin", "held.dat", "lwlive.log", "sub/a.txt", "sub/extra.txt",
                     "update/x.txt", "../../Target/keep.txt", "../../Outside.txt"):
            with open(path(name), "w") as f:
                f.write(name)
        # Wine cannot make junctions; a host symbolic link is a directory reparse point to it.
        os.symlink(os.path.join(scratch, "Target"), path("link"))

        app = winpath(path("lwpic.exe"))
        desktop, app_link, _ = driver(self.prefix, "shortcuts", app,
                                      winpath(path("uninstall.exe")))
        driver(self.prefix, "register", winpath(base))
        code, listing = self.prefix.reg_query(UNINSTALL_KEY, REG_VIEW)
        self.assertEqual(code, 0)
        for value in (r"DisplayIcon\s+REG_SZ\s+" + re.escape(app),
                      r"UninstallString\s+REG_SZ\s+" + re.escape(winpath(path("uninstall.exe"))),
                      r"Publisher\s+REG_SZ\s+\S", r"DisplayName\s+REG_SZ\s+\S",
                      r"DisplayVersion\s+REG_SZ"):
            self.assertRegex(listing, value)

        busy = subprocess.Popen(["wine", path("busy.exe"), "/stay"], env=self.prefix.env(),
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(busy.kill)
        self.assertTrue(wait_until(lambda: os.path.exists(path("busy.exe.args")), 30))

        entries = [winpath(path(name)) for name in
                   ("lwpic.exe", "data.bin", "sub", "sub/a.txt", "busy.exe", "held.dat", "link",
                    "link/keep.txt", "../../Outside.txt")]
        entries += [winpath(path("sub")) + r"\..\..\..\Outside.txt", desktop, app_link,
                    app_link.rsplit("\\", 1)[0]]
        run(self.prefix, fixture(DRIVER), "write-list", winpath(path("AppData.ini")), *entries)

        lines = driver(self.prefix, "uninstall", winpath(path("held.dat")),
                       program=path("uninstall.exe"))
        total = len(entries) + 4
        # held.dat and busy.exe are in use, and so is the running uninstaller.
        self.assertEqual(lines, [f"removeTotal={total} removedCount={total} finished=1 "
                                 "restartNeeded=1 uninstallerScheduled=1"])

        for gone in ("lwpic.exe", "data.bin", "sub", "lwlive.log", "update", "busy.exe",
                     "uninstall.exe", "AppData.ini", "lwpicshellext.dll", "lwpicshellext64.dll"):
            self.assertFalse(os.path.exists(path(gone)), gone)
        for kept in ("../../Target/keep.txt", "../../Outside.txt", "held.dat"):
            self.assertTrue(os.path.exists(path(kept)), kept)
        for name in ("lwpicshellext.dll", "lwpicshellext64.dll"):
            self.assertTrue(os.path.exists(path(name + ".unregistered")), name)
        with open(path("lwpic.exe.args"), encoding="utf-16-le", newline="") as f:
            self.assertEqual(f.read(), "/setdefault:4\r\n")

        # Files in use: renamed beside themselves and left to the next restart; a file that
        # cannot even be renamed is registered under its own name.
        renamed = {name for name in os.listdir(base) if name.endswith(".tmp")}
        busy_copy = [n for n in renamed if re.fullmatch(r"busy\.exe_\w+\.tmp", n)]
        self.assertEqual(len(busy_copy), 1, renamed)
        stem = busy_copy[0][len("busy.exe_"):-len(".tmp")]
        self.assertNotIn(stem + ".tmp", renamed, "the name reserved for the renaming stays")
        code, pending = self.prefix.reg_query(SESSION_MANAGER, "/v", "PendingFileRenameOperations")
        self.assertEqual(code, 0)
        for name in (busy_copy[0], "held.dat", "uninstall.exe_"):
            self.assertIn(name, pending)

        self.assertNotEqual(self.prefix.reg_query(UNINSTALL_KEY, REG_VIEW)[0], 0)
        self.assertFalse(os.path.exists(self.prefix.unix(desktop)))
        self.assertFalse(os.path.exists(self.prefix.unix(app_link.rsplit("\\", 1)[0])))

    def test_an_installation_directory_replaced_by_a_link_is_not_followed(self):
        # The list was written for the real installation; the directory is now a link to
        # someone else's files, which must all stay.
        scratch = self.prefix.scratch
        other = os.path.join(scratch, "Other")
        os.makedirs(other)
        with open(os.path.join(other, "keep.txt"), "w") as f:
            f.write("keep")
        base = os.path.join(scratch, "Linked", "LarwenPic")
        os.makedirs(os.path.dirname(base))
        os.symlink(other, base)
        shutil.copy(fixture(DRIVER), os.path.join(base, "uninstall.exe"))
        run(self.prefix, fixture(DRIVER), "write-list", winpath(os.path.join(base, "AppData.ini")),
            winpath(os.path.join(base, "keep.txt")))
        lines = driver(self.prefix, "uninstall", program=os.path.join(base, "uninstall.exe"))
        self.assertTrue(os.path.exists(os.path.join(other, "keep.txt")))
        # Nothing of the list (the entry and the four temporary files) was in use: only the
        # running uninstaller waits for a restart.
        self.assertEqual(lines, ["removeTotal=5 removedCount=5 finished=1 restartNeeded=0 "
                                 "uninstallerScheduled=1"])


class SelfDelete(OnFreshMachine):
    """The batch under Wine's cmd: it waits for the uninstaller to end, deletes it, then the
    directory named like the product, then itself."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        provide_timeout(cls.prefix)

    def test_deletes_the_uninstaller_after_it_ended_then_the_directory(self):
        # "%i" would be the variable of a loop around the deletion.
        for parent, product_dir, removed in (("100%PATH%&x!y%i", "lwpic", True),
                                             ("plain", "other", False)):
            with self.subTest(directory=product_dir):
                install = os.path.join(self.prefix.scratch, parent, product_dir)
                beside = os.path.join(self.prefix.scratch, parent, "beside.txt")
                os.makedirs(install)
                uninstaller = os.path.join(install, "uninstall.exe")
                shutil.copy(fixture(DRIVER), uninstaller)
                for name in (os.path.join(install, "data.txt"), beside):
                    with open(name, "w") as f:
                        f.write("x")

                self.assertEqual(driver(self.prefix, "self-delete", program=uninstaller),
                                 ["started", "still present"])
                self.assertTrue(wait_until(lambda: not os.path.exists(uninstaller), 30))
                # The batch deletes itself last: once it is gone, it has done all it will do.
                temp = os.path.join(self.prefix.path, "drive_c", "windows", "temp")
                self.assertTrue(wait_until(
                    lambda: not glob.glob(os.path.join(temp, "lwpx-*", "lwpx_clear.bat")), 30))
                self.assertEqual(not os.path.exists(install), removed)
                if not removed:
                    self.assertTrue(os.path.exists(os.path.join(install, "data.txt")))
                self.assertTrue(os.path.exists(beside))


if __name__ == "__main__":
    unittest.main()
