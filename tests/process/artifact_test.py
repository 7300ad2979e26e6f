"""What setup.exe carries: its PE form, imports and resources, read with Debian's PE tools.
Needs no Wine: these checks of the shipped build run on every machine."""
import os
import re
import subprocess
import unittest

from winebed import ARCH, SETUP_EXE, SOURCE_DIR

SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "gdiplus.dll", "advapi32.dll",
               "shell32.dll", "shlwapi.dll", "ole32.dll", "oleaut32.dll", "version.dll",
               "msvcrt.dll", "ws2_32.dll", "crypt32.dll", "bcrypt.dll", "comctl32.dll",
               "comdlg32.dll", "ntdll.dll", "secur32.dll", "wldap32.dll", "normaliz.dll"}


def resources():
    listing = subprocess.run(["wrestool", "-l", SETUP_EXE], check=True, capture_output=True,
                             text=True).stdout
    return [dict(re.findall(r"--(\w+)=('[^']*'|\S+)", line)) for line in listing.splitlines()]


def extract(type_, name):
    return subprocess.run(["wrestool", "-x", "--raw", f"--type={type_}", f"--name={name}",
                           SETUP_EXE], check=True, capture_output=True).stdout


class SetupExecutable(unittest.TestCase):
    def test_is_a_statically_linked_gui_program_of_its_target(self):
        # The shipped i686 build is PE32; the x86_64 build of the same program is PE32+.
        headers = subprocess.run([ARCH + "-w64-mingw32-objdump", "-p", SETUP_EXE], check=True,
                                 capture_output=True, text=True).stdout
        magic = {"i686": r"Magic\s+010b\s+\(PE32\)", "x86_64": r"Magic\s+020b\s+\(PE32\+\)"}
        self.assertRegex(headers, magic[ARCH])
        self.assertRegex(headers, r"Subsystem\s+00000002\s+\(Windows GUI\)")
        imports = {name.lower() for name in re.findall(r"DLL Name: (\S+)", headers)}
        self.assertTrue(imports)
        self.assertLessEqual(imports, SYSTEM_DLLS, "only Windows system DLLs are imported")

    def test_carries_manifest_version_icon_and_uidata(self):
        found = {(r["type"].strip("'"), r["name"]): r["language"] for r in resources()}
        self.assertEqual(found.get(("XML", "141")), "2052")
        self.assertEqual(found.get(("14", "107")), "2052")
        self.assertEqual(found.get(("16", "1")), "1033")
        self.assertEqual(found.get(("24", "1")), "1033")

        with open(os.path.join(SOURCE_DIR, "resources/uidata.xml"), "rb") as f:
            self.assertEqual(extract("XML", 141), f.read())

        manifest = extract(24, 1).decode("utf-8")
        self.assertIn('level="requireAdministrator" uiAccess="false"', manifest)
        self.assertIn(">True/PM</dpiAware>", manifest)
        for vista_to_10 in ("e2011457-1546-43c5-a5fe-008deee3d3f0",
                            "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"):
            self.assertIn(vista_to_10, manifest)

        self.assertGreaterEqual(len([r for r in resources() if r["type"] == "3"]), 4,
                                "the icon comes in several sizes")

        version = extract(16, 1).decode("utf-16-le", "replace")
        self.assertRegex(version, r"FileVersion\x00+\d+\.\d+\.\d+\.\d+")


if __name__ == "__main__":
    unittest.main()
