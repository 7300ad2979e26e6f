"""Which installation an uninstall.exe removes, and that it leaves nothing behind however it
was started: from its link (whose working directory is the installation), with its pages or
silently, with or without the Uninstall entry that records it. Each case on a fresh machine
with the demo application installed silently."""
import os
import subprocess
import unittest

from archives import tree
from collector import Collector
from installers import (APP_LINK, INSTALL_DIR_NAME, PROGRAMS, UNINSTALL_KEY, demo_package, pack,
                        provide_timeout, uidata)
from screen import Screen
from uninstall_pages_test import CANCEL, DONE, PAGE_SIZE, UNINSTALL, bluish
from winebed import (REG_VIEW, Prefix, end_process, exit_code_of, fixture, settled, wait_until,
                     winpath)


class Removal(unittest.TestCase):
    def setUp(self):
        self.prefix = Prefix()
        self.addCleanup(self.prefix.close)
        provide_timeout(self.prefix)
        self.collector = Collector(self.prefix)
        self.addCleanup(self.collector.close)
        self.work = os.path.join(self.prefix.scratch, "pack here")
        os.makedirs(self.work)

    def installer(self, silent=False):
        """An offline installer of the demo package; with `silent`, its document makes every
        install silent (the int item, which the document does not carry by default)."""
        package = demo_package(os.path.join(self.work, "lwpic64.7z"))
        document = uidata(os.path.join(self.work, "uidata.xml"), Report_Url=self.collector.url)
        if silent:
            with open(document, encoding="utf-8") as f:
                text = f.read()
            with open(document, "w", encoding="utf-8") as f:
                f.write(text.replace("<int>", '<int>\n    <item name="Silent_Install" v="1"/>', 1))
        return pack(self.prefix, self.work, package, document)

    def install(self, installer, *switches):
        """Installs silently; the installation directory as a host path."""
        self.assertEqual(self.prefix.exit_code(installer, "/s", *switches, timeout=300), 0)
        if switches:
            parent = self.prefix.unix(switches[0][2:])
        else:
            parent = os.path.join(self.prefix.user_home(), "AppData", "Local")
        install_dir = os.path.join(parent, INSTALL_DIR_NAME)
        # The application, started once by the install, writes a file beside itself.
        self.assertTrue(settled(os.path.join(install_dir, "lwpic.exe.args")))
        return install_dir

    def links(self):
        user = os.path.basename(self.prefix.user_home())
        return [self.prefix.unix(path) for path in (
            "C:\\users\\%s\\Desktop\\%s.lnk" % (user, APP_LINK), PROGRAMS + "\\" + APP_LINK)]

    def uninstall_reports(self):
        return [(r["record"]["fields"]["reason"], r["record"]["fields"]["result"])
                for r in self.collector.reports() if r.get("record", {}).get("schema") == 8203]

    def uninstall_from_inside(self, install_dir, paged):
        """Runs the installation's uninstaller with the installation as the current directory
        of the program that starts it, as its link does; the exit code."""
        uninstaller = winpath(os.path.join(install_dir, "uninstall.exe"))
        process = self.prefix.start(fixture("exit_code.exe"), uninstaller,
                                    *([] if paged else ["/s"]), cwd=install_dir,
                                    stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.addCleanup(end_process, process)
        if paged:
            screen = Screen(self.prefix, os.path.join(self.prefix.scratch, "shots"))
            screen.move_away()
            page = screen.page(PAGE_SIZE)
            self.assertTrue(page, "the uninstall page did not show")
            self.assertTrue(page.click_until_gone(UNINSTALL), "the uninstall page stayed")
            # The progress page comes between; the finished page is the one whose done
            # button shows.
            seen = [page.window]
            while True:
                next_page = screen.page(PAGE_SIZE, timeout=120, exclude=tuple(seen))
                self.assertTrue(next_page, "the uninstalled page did not show")
                if next_page.frame_where((DONE[0] - 80, DONE[1]), bluish, timeout=5):
                    self.assertTrue(next_page.click_until_gone(DONE), "the last page stayed")
                    break
                seen.append(next_page.window)
        return exit_code_of(process, 300)

    def test_removed_from_inside_with_pages_or_silently_nothing_is_left(self):
        for paged in (True, False):
            with self.subTest("pages" if paged else "silent"):
                install_dir = self.install(self.installer())
                code = self.uninstall_from_inside(install_dir, paged)
                self.assertEqual(code, 0)
                # The clean-up batch removes the directory once nothing holds it any more.
                self.assertTrue(wait_until(lambda: not os.path.exists(install_dir), 60),
                                os.path.exists(install_dir) and sorted(tree(install_dir)))
                self.assertNotEqual(self.prefix.reg_query(UNINSTALL_KEY, REG_VIEW)[0], 0)
                for link in self.links():
                    self.assertFalse(os.path.exists(link), link)

    def test_a_document_packed_silent_never_makes_the_removal_silent(self):
        installer = self.installer(silent=True)
        # No switch: the document alone makes the install silent.
        self.assertEqual(self.prefix.exit_code(installer, timeout=300), 0)
        install_dir = os.path.join(self.prefix.user_home(), "AppData", "Local", INSTALL_DIR_NAME)
        self.assertTrue(settled(os.path.join(install_dir, "lwpic.exe.args")))
        before = tree(install_dir)
        process = self.prefix.start(fixture("exit_code.exe"),
                                    winpath(os.path.join(install_dir, "uninstall.exe")),
                                    stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.addCleanup(end_process, process)
        screen = Screen(self.prefix, os.path.join(self.prefix.scratch, "shots"))
        screen.move_away()
        page = screen.page(PAGE_SIZE)
        self.assertTrue(page, "the uninstall page did not show: the survey was skipped")
        self.assertTrue(page.click_until_gone(CANCEL), "the uninstall page stayed")
        self.assertEqual(exit_code_of(process, 60), 1602)
        self.assertEqual(tree(install_dir), before)
        self.assertEqual(self.uninstall_reports(), [(0, 1), (0, 3)])

    def test_an_installation_its_entry_no_longer_records(self):
        installer = self.installer()
        first = self.install(installer, "d=" + winpath(os.path.join(self.prefix.scratch, "A")))
        # Removed by hand: the installation goes, with its links.
        subprocess.run(["wine", "reg", "delete", UNINSTALL_KEY, REG_VIEW, "/f"],
                       env=self.prefix.env(), check=True, capture_output=True)
        self.assertEqual(self.prefix.exit_code(os.path.join(first, "uninstall.exe"), "/s",
                                               timeout=300), 0)
        self.assertTrue(wait_until(lambda: not os.path.exists(first), 60),
                        os.path.exists(first) and sorted(tree(first)))
        for link in self.links():
            self.assertFalse(os.path.exists(link), link)

        # Taken over by a later installation elsewhere: only the earlier directory goes; the
        # entry, the links and the later installation stay.
        first = self.install(installer, "d=" + winpath(os.path.join(self.prefix.scratch, "A")))
        later = self.install(installer, "d=" + winpath(os.path.join(self.prefix.scratch, "B")))
        kept = tree(later)
        entry = self.prefix.reg_query(UNINSTALL_KEY, REG_VIEW)
        self.assertEqual(self.prefix.exit_code(os.path.join(first, "uninstall.exe"), "/s",
                                               timeout=300), 0)
        self.assertTrue(wait_until(lambda: not os.path.exists(first), 60),
                        os.path.exists(first) and sorted(tree(first)))
        self.assertEqual(tree(later), kept)
        self.assertEqual(self.prefix.reg_query(UNINSTALL_KEY, REG_VIEW), entry)
        for link in self.links():
            self.assertTrue(os.path.exists(link), link)


if __name__ == "__main__":
    unittest.main()
