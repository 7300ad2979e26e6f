"""Links in the installation directory, which the user can write: a link met by the
extraction or by the uninstaller's removal is never followed, so the folder or file it points
to stays as it was. Host symbolic links stand in for junctions: Wine shows a host link to a
directory as a reparse point, and resolves every host link when it opens a path.

Wine opens a host link even when told not to follow it, so the installer cannot remove such a
link as a link (on Windows it can): here the links stay in place, and an extraction that meets
one stops. Wine does not hold a host process to Windows share modes either, so the swap below
can happen although the uninstaller holds the directory open; what is tested is that nothing
behind the link is deleted when it does."""
import glob
import os
import shutil
import threading
import time

from archives import tree
from installers import demo_package, pack, provide_timeout, uidata
from silent_install_test import InstallBed
from winebed import exit_code_of, wait_until

SKINS = os.path.join("skins", "默认")
# Files the application put into one of the installation's folders; they go with it.
CACHE_FILES = ["cache%04d.bin" % n for n in range(400)]


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w") as f:
        f.write(text)


class LinksBed(InstallBed):

    def setUp(self):
        super().setUp()
        provide_timeout(self.prefix)
        self.outside = os.path.join(self.prefix.scratch, "outside")
        os.makedirs(self.outside)
        package = demo_package(os.path.join(self.work, "lwpic64.7z"))
        self.installer = pack(self.prefix, self.work, package, uidata(
            os.path.join(self.work, "uidata.xml"), Report_Url=self.collector.url))

    def uninstaller(self):
        return os.path.join(self.install_dir, "uninstall.exe")

    def uninstall(self):
        """Uninstalls silently and waits until the clean-up batch, which removes what is left
        of the installation directory and then itself, has ended too."""
        code = exit_code_of(self.prefix.start_for_exit_code(self.uninstaller(), "/s"))
        batch = os.path.join(self.prefix.path, "drive_c", "windows", "temp", "lwpx-*", "*.bat")
        self.assertTrue(wait_until(lambda: not glob.glob(batch), 60), glob.glob(batch))
        return code


class Extraction(LinksBed):

    def test_a_link_in_the_way_of_the_package_is_never_written_through(self):
        cases = (
            # A folder of the package that is a link to a folder elsewhere.
            ("folder", SKINS, os.path.join(self.outside, "folder"),
             {"skin.bin": "not the package's", "mine.txt": "kept"}),
            # A file of the package that is a link to a file elsewhere.
            ("file", "readme.txt", os.path.join(self.outside, "file", "readme.txt"), None),
        )
        for name, item, target, files in cases:
            with self.subTest(name):
                shutil.rmtree(self.install_dir, ignore_errors=True)
                if files is None:
                    write(target, "not the package's")
                else:
                    for file_name, text in files.items():
                        write(os.path.join(target, file_name), text)
                before = tree(self.outside)
                link = os.path.join(self.install_dir, item)
                os.makedirs(os.path.dirname(link), exist_ok=True)
                os.symlink(target, link)

                code = self.install(self.installer)
                self.assertEqual(tree(self.outside), before)
                # Wine resolves the link whatever the installer asks, so the installer cannot
                # remove it as a link and stops.
                self.assertEqual(code, 1603)
                self.assertEqual(os.readlink(link), target)


class Removal(LinksBed):

    def setUp(self):
        super().setUp()
        self.assertEqual(self.install(self.installer), 0)

    def test_links_put_in_place_of_listed_paths_are_not_followed(self):
        # An empty folder: a removal that follows the link would remove the folder itself.
        empty = os.path.join(self.outside, "empty")
        os.makedirs(empty)
        write(os.path.join(self.outside, "readme.txt"), "not the package's")
        before = tree(self.outside)
        for item, target in ((SKINS, empty),
                             ("readme.txt", os.path.join(self.outside, "readme.txt"))):
            path = os.path.join(self.install_dir, item)
            shutil.rmtree(path) if os.path.isdir(path) else os.remove(path)
            os.symlink(target, path)

        self.assertEqual(self.uninstall(), 0)
        self.assertEqual(tree(self.outside), before)
        self.assertFalse(os.path.exists(os.path.join(self.install_dir, "lwpic.exe")))

    def test_a_folder_swapped_for_a_link_while_it_is_emptied(self):
        folder = os.path.join(self.install_dir, SKINS)
        for name in CACHE_FILES:
            write(os.path.join(folder, name), "the application's")
            write(os.path.join(self.outside, name), "not the installation's")
        before = tree(self.outside)
        moved = os.path.join(self.install_dir, "skins", "moved")
        left_at_swap = []

        def swap_once_removal_began():
            # The moment the first of the folder's files is gone.
            deadline = time.monotonic() + 120
            while time.monotonic() < deadline:
                left = [n for n in os.listdir(folder) if n.startswith("cache")]
                if len(left) < len(CACHE_FILES):
                    os.rename(folder, moved)
                    os.symlink(self.outside, folder)
                    left_at_swap.append(len(left))
                    return
                time.sleep(0.001)

        swapper = threading.Thread(target=swap_once_removal_began)
        swapper.start()
        code = self.uninstall()
        swapper.join()
        self.assertEqual(code, 0)
        # The swap came while files were still to go, so the removal met the link.
        self.assertTrue(left_at_swap and left_at_swap[0] > 0, left_at_swap)
        self.assertEqual(tree(self.outside), before)
