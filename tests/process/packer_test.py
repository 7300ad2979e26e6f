"""The packer: setup.exe -p writes offline_setup.exe beside itself, carrying a package and a
uidata document as resources, read back with wrestool."""
import os
import shutil
import subprocess
import unittest

from installers import pack
from winebed import SETUP_EXE, SOURCE_DIR, Prefix, winpath


def resource(exe, type_, name):
    """The raw bytes of a resource, or None when the file has none of that type and name."""
    run = subprocess.run(["wrestool", "-x", "--raw", "--type=" + type_, "--name=" + name, exe],
                         capture_output=True)
    return run.stdout if run.returncode == 0 and run.stdout else None


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
    return path


class Packer(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.prefix = Prefix()
        with open(os.path.join(SOURCE_DIR, "resources", "uidata.xml"), "rb") as f:
            cls.shipped_uidata = f.read()

    @classmethod
    def tearDownClass(cls):
        cls.prefix.close()

    def folder(self, name):
        path = os.path.join(self.prefix.scratch, name)
        shutil.rmtree(path, ignore_errors=True)
        os.makedirs(path)
        return path

    def test_the_help_texts_example_carries_the_64_bit_package_and_the_document(self):
        work = self.folder("help example")
        files = [write(os.path.join(work, "xxx32.7z"), b"7z 32-bit package"),
                 write(os.path.join(work, "xxx", "64.7z"), b"7z 64-bit package"),
                 write(os.path.join(work, "xxx", "uidata.xml"), b"<root>replacement</root>")]
        out = pack(self.prefix, work, *files)
        self.assertEqual(resource(out, "BTE", "143"), b"7z 64-bit package")
        self.assertEqual(resource(out, "XML", "141"), b"<root>replacement</root>")
        # The copy is still the installer: its own resources are there too.
        self.assertIsNotNone(resource(out, "14", "107"))

    def test_which_arguments_are_taken(self):
        work = self.folder("scan cases")
        package = write(os.path.join(work, "pkg64.7z"), b"package")
        all_caps = write(os.path.join(work, "app_ALL.7Z"), b"all package")
        plain = write(os.path.join(work, "app.7z"), b"no suffix")
        document = write(os.path.join(work, "uidata.xml"), b"<root/>")
        missing = os.path.join(work, "missing64.7z")
        # (arguments, payload, document) of the offline installer; None: no output at all.
        cases = [
            ([all_caps], b"all package", self.shipped_uidata),
            ([package, all_caps], b"all package", self.shipped_uidata),
            ([missing, package], None, None),
            ([package, missing, document], b"package", self.shipped_uidata),
            ([plain, package], None, None),
            ([package, plain, document], b"package", self.shipped_uidata),
        ]
        for arguments, payload, uidata in cases:
            with self.subTest([os.path.basename(a) for a in arguments]):
                out = os.path.join(work, "offline_setup.exe")
                if os.path.exists(out):
                    os.remove(out)
                shutil.copy(SETUP_EXE, os.path.join(work, "setup.exe"))
                self.assertEqual(self.prefix.exit_code(os.path.join(work, "setup.exe"), "-p",
                                                       *[winpath(a) for a in arguments]), 0)
                if payload is None:
                    self.assertFalse(os.path.exists(out))
                    continue
                self.assertEqual(resource(out, "BTE", "143"), payload)
                self.assertEqual(resource(out, "XML", "141"), uidata)

    def test_the_packer_says_what_it_packed_and_fails_when_a_file_cannot_go_in(self):
        work = self.folder("packer reports")
        package = write(os.path.join(work, "pkg64.7z"), b"package")
        document = write(os.path.join(work, "uidata.xml"), b"<root/>")
        missing = os.path.join(work, "missing32.7z")
        # One byte past the largest file the packer reads; sparse, so it costs no disk.
        too_large = os.path.join(work, "huge32.7z")
        with open(too_large, "wb") as f:
            f.truncate(104857600)
        out = os.path.join(work, "offline_setup.exe")
        # (arguments, exit code, whether an installer is there afterwards, the lines said in
        # order). An earlier installer is replaced, or gone when the run fails; a run with
        # nothing to pack leaves it alone.
        cases = [
            ([package, document, missing], 0, True,
             [r'packed ".*pkg64\.7z" as the package', r'packed ".*uidata\.xml" as the uidata',
              r'skipped ".*missing32\.7z": no such file', r"offline installer: .*offline_setup"]),
            ([package, too_large, document], 1603, False,
             [r'packed ".*pkg64\.7z" as the package',
              r'could not pack ".*huge32\.7z": it is larger than 104857599 bytes',
              r"no offline installer was made"]),
            ([missing], 0, True, [r'skipped ".*missing32\.7z"', r"nothing to pack"]),
        ]
        for arguments, code, made, said in cases:
            with self.subTest([os.path.basename(a) for a in arguments]):
                write(out, b"an earlier offline installer")
                shutil.copy(SETUP_EXE, os.path.join(work, "setup.exe"))
                process = self.prefix.start_for_exit_code(os.path.join(work, "setup.exe"), "-p",
                                                          *[winpath(a) for a in arguments])
                text, _ = process.communicate(timeout=120)
                lines = text.decode("utf-8", "replace").replace("\r", "").splitlines()
                self.assertEqual(lines[-1], "exit=%d" % code, lines)
                self.assertEqual(len(lines) - 1, len(said), lines)
                for line, pattern in zip(lines, said):
                    self.assertRegex(line, pattern)
                self.assertEqual(os.path.exists(out), made)

    def test_unquoted_paths_make_nothing(self):
        # Without a blank in the path Wine passes the argument without quotes.
        work = self.folder("unquoted")
        package = write(os.path.join(work, "pkg64.7z"), b"package")
        shutil.copy(SETUP_EXE, os.path.join(work, "setup.exe"))
        self.assertEqual(self.prefix.exit_code(os.path.join(work, "setup.exe"), "-p",
                                               winpath(package)), 0)
        self.assertFalse(os.path.exists(os.path.join(work, "offline_setup.exe")))

    def test_packing_again_replaces_the_output_and_a_packed_installer_packs_too(self):
        work = self.folder("again and again")
        first = write(os.path.join(work, "first64.7z"), b"first")
        second = write(os.path.join(work, "second32.7z"), b"second")
        document = write(os.path.join(work, "uidata.xml"), b"<root>new</root>")
        out = pack(self.prefix, work, first)
        out = pack(self.prefix, work, second)
        self.assertEqual(resource(out, "BTE", "143"), b"second")

        # An offline installer as the packer: copies itself with its payload, replaces the
        # document.
        again = os.path.join(work, "nested dir")
        os.makedirs(again)
        packer = os.path.join(again, "setup.exe")
        shutil.copy(out, packer)
        self.assertEqual(self.prefix.exit_code(packer, "-p", winpath(document)), 0)
        nested = os.path.join(again, "offline_setup.exe")
        self.assertEqual(resource(nested, "BTE", "143"), b"second")
        self.assertEqual(resource(nested, "XML", "141"), b"<root>new</root>")


if __name__ == "__main__":
    unittest.main()
