"""Files planted where the elevated installer runs (a download folder the user can write, the
installation directory): DLLs under the names of system DLLs, with Wine told to prefer such
files, which a program that asks for them by name loads and setup.exe through a whole silent
install loads none of (its import table names only DLLs Windows loads from its own directory
whatever lies beside the program); and a regsvr32.exe, which never runs in place of the
system's."""
import os
import re
import shutil
import subprocess

from installers import demo_package, pack, uidata
from silent_install_test import InstallBed
from winebed import ARCH, SETUP_EXE, exit_code_of, fixture, winpath

# The DLLs setup.exe uses that are not among Windows' known DLLs, and some that system DLLs
# load for a program's windows and cryptography.
PLANTED = ["version", "bcrypt", "crypt32", "gdiplus", "uxtheme", "dwmapi", "cryptbase"]
# Wine's own user32.dll imports version.dll, so Wine loads a version.dll planted beside any
# program before the program's first instruction (Windows' user32 imports no such DLL).
LOADED_BY_WINE_ITSELF = {"version"}
# Windows' known DLLs among those setup.exe may import: loaded from the system directory only.
KNOWN_DLLS = {"advapi32", "gdi32", "kernel32", "msvcrt", "ole32", "oleaut32", "shell32",
              "shlwapi", "user32", "ws2_32"}


def imported_dlls(program):
    listing = subprocess.run(["%s-w64-mingw32-objdump" % ARCH, "-p", program], check=True,
                             capture_output=True, text=True).stdout
    return {name.lower()[:-4] for name in re.findall(r"DLL Name: (\S+)", listing)}


class PlantedDlls(InstallBed):
    def test_setup_imports_only_known_dlls(self):
        self.assertLessEqual(imported_dlls(SETUP_EXE), KNOWN_DLLS)

    def test_dlls_beside_setup_are_never_loaded(self):
        folder = os.path.join(self.prefix.scratch, "Downloads here")
        installer = pack(self.prefix, folder, demo_package(os.path.join(self.work, "lwpic64.7z")),
                         uidata(os.path.join(self.work, "uidata.xml"),
                                Report_Url=self.collector.url))
        for name in PLANTED:
            shutil.copy(fixture("planted_dll.dll"), os.path.join(folder, name + ".dll"))
        shutil.copy(fixture("dll_loader.exe"), folder)
        self.prefix.dll_overrides.append(",".join(PLANTED) + "=n,b")

        def loaded():
            return sorted(name[:-len(".dll.loaded")] for name in os.listdir(folder)
                          if name.endswith(".dll.loaded"))

        # The control: a program that loads them by name, from the same folder.
        control = self.prefix.run(os.path.join(folder, "dll_loader.exe"),
                                  *[name + ".dll" for name in PLANTED])
        self.assertEqual(loaded(), sorted(PLANTED), control.stdout)
        for name in PLANTED:
            os.remove(os.path.join(folder, name + ".dll.loaded"))
        for name in LOADED_BY_WINE_ITSELF:
            with self.subTest(name):
                os.remove(os.path.join(folder, name + ".dll"))
                self.skipTest("Wine's own user32.dll imports %s.dll, so Wine loads one planted "
                              "beside any program before it runs; setup.exe's import table "
                              "does not name it (test_setup_imports_only_known_dlls)" % name)

        # setup.exe started from that folder, as from a download.
        self.assertEqual(self.prefix.exit_code(installer, "/s", "d=" + winpath(self.parent),
                                               timeout=300), 0)
        self.assertInstalledFrom(os.path.join(self.work, "lwpic64.7z"))
        self.assertEqual(loaded(), [])

    def test_a_planted_regsvr32_never_runs(self):
        folder = os.path.join(self.prefix.scratch, "Downloads here")
        installer = pack(self.prefix, folder, demo_package(os.path.join(self.work, "lwpic64.7z")),
                         uidata(os.path.join(self.work, "uidata.xml"),
                                Report_Url=self.collector.url))
        # Beside the installer, which is also the current directory, and in the installation
        # directory; the stand-in application records each start in "<its path>.args".
        planted = [os.path.join(folder, "regsvr32.exe"),
                   os.path.join(self.install_dir, "regsvr32.exe")]
        os.makedirs(self.install_dir)
        for path in planted:
            shutil.copy(fixture("fx_app.exe"), path)
        process = self.prefix.start(fixture("exit_code.exe"), installer, "/s",
                                    "d=" + winpath(self.parent), stdout=subprocess.PIPE,
                                    stderr=subprocess.DEVNULL, cwd=folder)
        self.assertEqual(exit_code_of(process, 300), 0)
        # The system's regsvr32 registered the shell-extension stand-ins, which mark that.
        self.assertTrue([name for name in os.listdir(self.install_dir)
                         if name.endswith(".registered")], os.listdir(self.install_dir))
        for path in planted:
            self.assertFalse(os.path.exists(path + ".args"), path)
