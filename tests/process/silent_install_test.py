"""Silent installs end to end: offline installers packed by setup.exe itself and online ones
downloading from a server on 127.0.0.1, each on a fresh machine, checked from outside with
7zz, `reg query`, lnkinfo and the report collector."""
import os
import re
import shutil
import socket
import subprocess
import time
import unittest

from archives import archive_paths, rename_items, sevenzip, tree
from collector import Collector
from installers import (APP_LINK, INSTALL_DIR_NAME, PROGRAMS, UNINSTALL_KEY, UNINSTALL_LINK,
                        PackageServer, add_folder, demo_package, pack, read_ini, uidata)
from winebed import ARCH, REG_VIEW, Prefix, lnk_fields, wait_until, winpath

# What an installation adds beside the package's own files.
ADDED = {"uninstall.exe", "AppData.ini", "lw_user_data.ini"}
TMP_FILES = [("F_0", "\\lwliveupdatedfile.txt"), ("F_1", "\\lwlive.log"), ("F_2", "\\default"),
             ("F_3", "\\update")]
SUCCESS_STEPS = [(1, 1, 0, ""), (2, 1, 0, ""), (3, 1, 0, ""), (4, 1, 0, ""), (5, 1, 0, ""),
                 (6, 1, 0, ""), (8, 1, 0, ""), (7, 1, 0, "")]


class InstallBed(unittest.TestCase):
    """A fresh machine, a report collector, a folder to pack in and the parent directory the
    installers are told with "d="."""

    def setUp(self):
        self.prefix = Prefix()
        self.addCleanup(self.prefix.close)
        self.collector = Collector(self.prefix)
        self.addCleanup(self.collector.close)
        self.work = os.path.join(self.prefix.scratch, "pack here")
        os.makedirs(self.work)
        self.parent = os.path.join(self.prefix.scratch, "Apps")
        self.install_dir = os.path.join(self.parent, INSTALL_DIR_NAME)

    def install(self, installer, *extra):
        return self.prefix.exit_code(installer, "/s", "d=" + winpath(self.parent), *extra,
                                     timeout=300)

    def links(self):
        """(desktop link, start-menu folder) as Windows paths."""
        user = os.path.basename(self.prefix.user_home())
        return "C:\\users\\%s\\Desktop\\%s.lnk" % (user, APP_LINK), PROGRAMS + "\\" + APP_LINK

    def assertNothingRegistered(self):
        self.assertNotEqual(self.prefix.reg_query(UNINSTALL_KEY, REG_VIEW)[0], 0)
        for link in self.links():
            self.assertFalse(os.path.exists(self.prefix.unix(link)), link)

    def assertInstalledFrom(self, package):
        expected = os.path.join(self.prefix.scratch, "7zz x")
        # A fresh copy each time: a test may check more than one installation.
        shutil.rmtree(expected, ignore_errors=True)
        sevenzip("x", "-o" + expected, package)
        installed = tree(self.install_dir)
        args = installed.pop("lwpic.exe.args", None)
        # The shell-extension stand-ins leave a mark when regsvr32 registered them.
        for name in [n for n in installed if n.endswith(".registered")]:
            installed.pop(name)
        self.assertEqual({k: v for k, v in installed.items() if k not in ADDED}, tree(expected))
        self.assertLessEqual(ADDED, set(installed))

        # The Uninstall entry, in the build's own registry view.
        code, listing = self.prefix.reg_query(UNINSTALL_KEY, REG_VIEW)
        self.assertEqual(code, 0, listing)
        app = winpath(os.path.join(self.install_dir, "lwpic.exe"))
        uninstaller = winpath(os.path.join(self.install_dir, "uninstall.exe"))
        # DisplayVersion is the stand-in's FileVersion string "2, 5, 0, 7" with its commas
        # made points, as ReadFileVersion gives it.
        for name, value in (("DisplayIcon", app), ("UninstallString", uninstaller),
                            ("Publisher", "岚文软件有限公司"), ("DisplayName", "岚文看图"),
                            ("DisplayVersion", "2. 5. 0. 7")):
            self.assertRegex(listing, r"%s\s+REG_SZ\s+%s\r?\n" % (name, re.escape(value)))

        # The links, with the shipped Chinese names, start the application in its folder.
        desktop, menu = self.links()
        for link, target in ((desktop, app), (menu + "\\" + APP_LINK + ".lnk", app),
                             (menu + "\\" + UNINSTALL_LINK + ".lnk", uninstaller)):
            self.assertEqual(lnk_fields(self.prefix.unix(link)), (target, winpath(self.install_dir)),
                             link)

        # AppData.ini: the archive's items in archive order, then the links and the folder.
        listed = read_ini(os.path.join(self.install_dir, "AppData.ini"))
        self.assertEqual(listed["TmpFile"], TMP_FILES)
        items = [winpath(os.path.join(self.install_dir, p.replace("\\", "/")))
                 for p in archive_paths(package)]
        # Windows paths: letter case does not count.
        self.assertEqual([v.lower() for _, v in listed["AppFileList"]],
                         [p.lower() for p in items + [desktop, menu + "\\" + APP_LINK + ".lnk", menu]])

        # lw_user_data.ini: the package's data merged in (blanks trimmed).
        data = read_ini(os.path.join(self.install_dir, "lw_user_data.ini"))
        self.assertIn(("channel", "demo"), data["Data"])
        self.assertIn(("edition", "stand-in"), data["Data"])
        self.assertFalse(os.path.exists(os.path.join(self.install_dir, "app.7z")))
        return args

    def starts(self):
        """The arguments of each start of the stand-in application, in the order it wrote
        them."""
        path = os.path.join(self.install_dir, "lwpic.exe.args")
        if not os.path.exists(path):
            return []
        with open(path, encoding="utf-16-le", newline="") as f:
            return f.read().split("\r\n")[:-1]

    def assertStartedOnce(self, earlier=0):
        """After `earlier` starts: one start that makes the application the default viewer
        (the install page's option, set unless cleared) and one start without arguments.
        Both are started without waiting, so either may write first."""
        self.assertTrue(wait_until(lambda: len(self.starts()) >= earlier + 2, 30),
                        "the application was not started: %r" % self.starts())
        self.assertEqual(sorted(self.starts()[earlier:]), ["", "/setdefault:1"])


class SilentInstall(InstallBed):
    def offline_installer(self):
        package = demo_package(os.path.join(self.work, "lwpic64.7z"))
        return package, pack(self.prefix, self.work, package, uidata(
            os.path.join(self.work, "uidata.xml"), Report_Url=self.collector.url))

    def install_logged(self, installer):
        """Installs silently; the log's lines about starting the application."""
        log = os.path.join(self.prefix.scratch, "setup.log")
        self.assertEqual(self.install(installer, "/log=" + winpath(log)), 0)
        with open(log, encoding="utf-8") as f:
            return [re.sub(r"^\s*\d+ ms  ", "", line) for line in f.read().splitlines()
                    if "lwpic.exe" in line and "start" in line]

    def test_offline_installer_installs_the_package_it_carries(self):
        package, installer = self.offline_installer()
        app = winpath(os.path.join(self.install_dir, "lwpic.exe"))
        # Wine's Explorer offers its desktop's shell to other processes once it has registered
        # it, so the application runs as the desktop's user, not with the installer's rights.
        # Shortly after Wine started, the registration may not be there yet
        # (REGDB_E_KEYMISSING), and the application is started directly.
        commands = (app + " /setdefault:1", app)
        self.assertIn(self.install_logged(installer), (
            ["started %s through the desktop's shell" % command for command in commands],
            ["the desktop's shell cannot start %s (0x80040152): starting it directly" % command
             for command in commands]))
        self.assertInstalledFrom(package)
        self.assertStartedOnce()
        self.assertEqual(self.collector.steps(), SUCCESS_STEPS)

    def test_a_desktop_without_a_shell_view_has_the_application_started_directly(self):
        # Wine's Explorer shows no view on a desktop folder that leads nowhere, so its shell
        # cannot start programs (ERROR_NOACCESS from QueryActiveShellView).
        subprocess.run(["wineserver", "-k"], env=self.prefix.env())
        desktop = os.path.join(self.prefix.user_home(), "Desktop")
        os.rmdir(desktop)
        os.symlink(os.path.join(self.prefix.scratch, "no desktop"), desktop)
        _, installer = self.offline_installer()
        app = winpath(os.path.join(self.install_dir, "lwpic.exe"))
        self.assertEqual(self.install_logged(installer),
                         ["the desktop's shell cannot start %s (0x800703E6): starting it "
                          "directly" % command for command in (app + " /setdefault:1", app)])
        self.assertStartedOnce()

    def test_online_installer_downloads_the_package_of_its_architecture(self):
        package = demo_package(os.path.join(self.work, "lwpic64.7z"))
        with open(package, "rb") as f:
            body = f.read()
        server = PackageServer({"/p32.7z": body, "/p64.7z": body})
        self.addCleanup(server.close)
        installer = pack(self.prefix, self.work, uidata(
            os.path.join(self.work, "uidata.xml"), Report_Url=self.collector.url,
            APP_URL_32=server.url + "/p32.7z", APP_URL_64=server.url + "/p64.7z"))
        before = int(time.time())
        self.assertEqual(self.install(installer), 0)
        # A 32-bit installer on 64-bit Windows asks for the 64-bit package; a 64-bit build is
        # not under WOW64 and asks for the 32-bit one.
        wanted = "/p64.7z" if ARCH == "i686" else "/p32.7z"
        self.assertEqual(len(server.requests), 1, server.requests)
        path, query = server.requests[0].split("?")
        self.assertEqual(path, wanted)
        stamp = int(re.fullmatch(r"t=(\d+)", query).group(1))
        self.assertTrue(before - 5 <= stamp <= time.time() + 5, stamp)
        self.assertInstalledFrom(package)
        self.assertStartedOnce()
        self.assertEqual(self.collector.steps(), SUCCESS_STEPS)


class FailedSilentInstall(InstallBed):
    """Every failure ends with 1603, its report, the list it leaves and nothing registered."""

    def fresh_case(self, name):
        """A directory and a collector of the case's own; failures register nothing, so the
        machine can be shared."""
        # No blank: Wine would quote the whole "d=..." argument.
        self.parent = os.path.join(self.prefix.scratch, "case-" + name)
        self.install_dir = os.path.join(self.parent, INSTALL_DIR_NAME)
        self.collector = Collector(self.prefix)
        self.addCleanup(self.collector.close)
        self.work = os.path.join(self.prefix.scratch, "pack " + name)
        os.makedirs(self.work)

    def installer(self, *files, **values):
        return pack(self.prefix, self.work, *files, uidata(
            os.path.join(self.work, "uidata.xml"), Report_Url=self.collector.url, **values))

    def assertFailed(self, installer, report, listed):
        self.assertEqual(self.install(installer), 1603)
        # The run ends with step 8; StopReporter sent everything before the process ended.
        steps = self.collector.steps()
        self.assertEqual(steps[:3], SUCCESS_STEPS[:3])
        self.assertEqual(steps[-2:], [report, (8, 2, 0, "")])
        ini = read_ini(os.path.join(self.install_dir, "AppData.ini"))
        self.assertEqual(ini["TmpFile"], TMP_FILES)
        self.assertEqual([v for _, v in ini.get("AppFileList", [])], listed)
        self.assertNothingRegistered()
        self.assertFalse(os.path.exists(os.path.join(self.install_dir, "app.7z")))
        self.assertFalse(os.path.exists(os.path.join(self.install_dir, "lwpic.exe.args")))

    def test_download_failures(self):
        package = demo_package(os.path.join(self.prefix.scratch, "lwpic64.7z"))
        with open(package, "rb") as f:
            server = PackageServer({"/p.7z": f.read()})
        self.addCleanup(server.close)
        refused = socket.socket()
        self.addCleanup(refused.close)
        refused.bind(("127.0.0.1", 0))
        cases = [
            ("404", server.url + "/missing.7z", "http code:404"),
            ("refused", "http://127.0.0.1:%d/p.7z" % refused.getsockname()[1], "file size is zero"),
        ]
        for name, url, message in cases:
            with self.subTest(name):
                self.fresh_case(name)
                installer = self.installer(APP_URL_32=url, APP_URL_64=url)
                self.assertFailed(installer, (4, 3, 0, message), [])

    def test_damaged_packages(self):
        for name, damage, code in (("crc", self.crc_error, 32), ("truncated", self.truncate, 4),
                                   ("unsafe", self.unsafe_path, 9)):
            with self.subTest(name):
                self.fresh_case(name)
                package = demo_package(os.path.join(self.work, "lwpic64.7z"), "-m0=Copy",
                                       "-mhc=off")
                items = [winpath(os.path.join(self.install_dir, p.replace("\\", "/")))
                         for p in archive_paths(package)]
                listed, error = damage(package, items)
                self.assertFailed(self.installer(package), (6, 4, code, error), listed)

    def test_an_installation_that_cannot_be_made_removable_fails(self):
        # A folder where the uninstaller goes: without an uninstaller nothing is registered
        # (no entry, no link) and the run is a failure with the files listed for a later run.
        self.fresh_case("unremovable")
        package = add_folder(demo_package(os.path.join(self.work, "lwpic64.7z")), "uninstall.exe")
        items = [winpath(os.path.join(self.install_dir, p.replace("\\", "/")))
                 for p in archive_paths(package)]
        self.assertFailed(self.installer(package), (6, 1, 0, ""), items)

    @staticmethod
    def crc_error(package, items):
        with open(package, "r+b") as f:
            data = f.read()
            f.seek(data.index(b"The stand-in application") + 4)
            f.write(b"X")
        return items, ""

    @staticmethod
    def truncate(package, items):
        with open(package, "r+b") as f:
            f.truncate(os.path.getsize(package) // 2)
        return [], ""

    @staticmethod
    def unsafe_path(package, items):
        # The readme's name becomes one that climbs out of the installation directory; the
        # items before it were listed, nothing of it or after it.
        rename_items(package, [("readme.txt", "../dme.txt")])
        index = [p for p in items].index(next(p for p in items if p.endswith("readme.txt")))
        return items[:index], "unsafe item path:..\\dme.txt"

    def test_a_directory_that_cannot_be_created_ends_without_window_or_install(self):
        blocker = os.path.join(self.prefix.scratch, "a file")
        open(blocker, "w").close()
        installer = self.installer(demo_package(os.path.join(self.work, "x64.7z")))
        code = self.prefix.exit_code(installer, "/s", "d=" + winpath(blocker), timeout=120)
        self.assertEqual(code, 1603)
        # The first report, queued before the directory was tried, is sent before the end.
        self.assertEqual(self.collector.steps(), [(1, 1, 0, "")])
        self.assertNothingRegistered()


class FullDiskInstall(InstallBed):
    """Extraction onto a drive that fills up before the package is out: a small tmpfs as
    drive M:."""

    def small_drive(self, size):
        """Mounts a tmpfs of size on a folder of the scratch area and makes it drive M:."""
        if os.geteuid() != 0:
            self.skipTest("mounting a tmpfs needs root")
        mount = os.path.join(self.prefix.scratch, "small-drive")
        os.makedirs(mount)
        done = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=" + size, "tmpfs", mount],
                              capture_output=True, text=True)
        if done.returncode != 0:
            self.skipTest("cannot mount a tmpfs here: " + done.stderr.strip())
        # Lazily: a Wine process still holding a file there must not keep it mounted.
        self.addCleanup(subprocess.run, ["umount", "-l", mount], check=False)
        os.symlink(mount, os.path.join(self.prefix.path, "dosdevices", "m:"))
        return mount

    def test_a_drive_filling_up_during_extraction_fails_the_install(self):
        mount = self.small_drive("1m")
        package = demo_package(os.path.join(self.work, "lwpic64.7z"))
        # Two MiB that do not compress: more than the drive holds.
        stage = os.path.join(self.work, "filler")
        os.makedirs(stage)
        with open(os.path.join(stage, "filler.bin"), "wb") as f:
            f.write(os.urandom(2 << 20))
        subprocess.run(["7zz", "a", "-bso0", "-bsp0", package, "filler.bin"], cwd=stage,
                       check=True)
        installer = pack(self.prefix, self.work, package,
                         uidata(os.path.join(self.work, "uidata.xml"),
                                Report_Url=self.collector.url))
        self.install_dir = os.path.join(mount, INSTALL_DIR_NAME)
        self.assertEqual(self.prefix.exit_code(installer, "/s", "d=M:\\", timeout=300), 1603)
        steps = self.collector.steps()
        self.assertEqual(steps[:3], SUCCESS_STEPS[:3])
        # Writing failed with ERROR_DISK_FULL.
        self.assertEqual(steps[-2:], [(6, 4, 10, "extract fail, hr:0x80070070"), (8, 2, 0, "")])
        # The file being written when the drive filled up is not left half-written, and the
        # space it took lets the list of what the package put there be written.
        self.assertFalse(os.path.exists(os.path.join(self.install_dir, "filler.bin")))
        ini = read_ini(os.path.join(self.install_dir, "AppData.ini"))
        self.assertEqual(ini.get("TmpFile"), TMP_FILES)
        self.assertEqual([v.lower() for _, v in ini.get("AppFileList", [])],
                         [("M:\\LarwenPic\\" + p.replace("/", "\\")).lower()
                          for p in archive_paths(package)])
        self.assertNothingRegistered()
        self.assertFalse(os.path.exists(os.path.join(self.install_dir, "lwpic.exe.args")))
        self.assertFalse(os.path.exists(os.path.join(self.install_dir, "uninstall.exe")))


if __name__ == "__main__":
    unittest.main()
