"""What deployment tools rely on, end to end on fresh machines: the Uninstall entry's values
read back with `reg query`, the silent uninstall its QuietUninstallString starts, the
"/log=" log after a good run and after each failure, the log a failed run keeps in the temp
folder, and the package digest of an online installer."""
import glob
import hashlib
import os
import re
import shutil
import subprocess
import time

from archives import tree
from installers import (INSTALL_DIR_NAME, UNINSTALL_KEY, PackageServer, add_folder, demo_package,
                        pack, provide_timeout, uidata)
from silent_install_test import InstallBed
from winebed import REG_VIEW, end_process, exit_code_of, settled, wait_until, winpath

# The report schema of the uninstall reports.
UNINSTALL_SCHEMA = 8203


def reg_values(listing):
    """{name: (type, data)} of a `reg query` listing of one key."""
    return {m.group(1): (m.group(2), m.group(3))
            for m in re.finditer(r"^\s+(\S+)\s+(REG_\w+)\s+(.*?)\r?$", listing, re.M)}


def online_installer(prefix, name, **values):
    """An online installer packed in a folder of its own with these uidata values."""
    work = os.path.join(prefix.scratch, "pack " + name)
    os.makedirs(work)
    return pack(prefix, work, uidata(os.path.join(work, "uidata.xml"), **values))


def read_log(path):
    """The log's text: UTF-8 throughout, or the test fails here."""
    with open(path, "rb") as f:
        return f.read().decode("utf-8")


class EntryAndSilentUninstall(InstallBed):
    def test_entry_values_then_the_quiet_uninstall_string_removes_everything(self):
        provide_timeout(self.prefix)
        package = demo_package(os.path.join(self.work, "lwpic64.7z"))
        installer = pack(self.prefix, self.work, package, uidata(
            os.path.join(self.work, "uidata.xml"), Report_Url=self.collector.url))
        # The log goes into folders that do not exist yet.
        log = os.path.join(self.prefix.scratch, "logs", "new", "setup.log")
        # The local date the install ran on: a run may cross midnight.
        first_day = time.strftime("%Y%m%d")
        self.assertEqual(self.install(installer, "/log=" + winpath(log)), 0)
        self.assertInstalledFrom(package)
        self.assertTrue(settled(os.path.join(self.install_dir, "lwpic.exe.args")))

        code, listing = self.prefix.reg_query(UNINSTALL_KEY, REG_VIEW)
        self.assertEqual(code, 0, listing)
        values = reg_values(listing)
        uninstaller = winpath(os.path.join(self.install_dir, "uninstall.exe"))
        self.assertEqual(values["InstallLocation"], ("REG_SZ", winpath(self.install_dir)))
        self.assertIn(values["InstallDate"],
                      [("REG_SZ", day) for day in (first_day, time.strftime("%Y%m%d"))])
        self.assertEqual(values["NoModify"], ("REG_DWORD", "0x1"))
        self.assertEqual(values["NoRepair"], ("REG_DWORD", "0x1"))
        self.assertEqual(values["QuietUninstallString"], ("REG_SZ", '"%s" /s' % uninstaller))
        # Measured once everything was in place, before the application first ran (its
        # record of the arguments it was started with came later).
        size = sum(os.path.getsize(os.path.join(root, name))
                   for root, _, names in os.walk(self.install_dir) for name in names
                   if name != "lwpic.exe.args")
        kind, estimated = values["EstimatedSize"]
        self.assertEqual(kind, "REG_DWORD")
        self.assertLessEqual(abs(int(estimated, 16) - (size + 1023) // 1024), 1, size)

        text = read_log(log)
        for line in ("command line: /s d=%s /log=%s" % (winpath(self.parent), winpath(log)),
                     "installing into " + winpath(self.install_dir),
                     "step extraction: done",
                     "created " + winpath(os.path.join(self.install_dir, "lwpic.exe")),
                     "created link ",
                     'registry value DisplayName REG_SZ = "岚文看图"',
                     "registry value EstimatedSize REG_DWORD = %d" % int(estimated, 16),
                     "exit code 0"):
            self.assertIn(line, text)

        # A copy of the uninstaller elsewhere, with the application and the installation's
        # list beside it, is not the installation the entry records: it starts, ends and
        # removes nothing, here or in the installation its list names.
        copy = os.path.join(self.prefix.scratch, "Elsewhere", INSTALL_DIR_NAME)
        os.makedirs(copy)
        for name in ("uninstall.exe", "lwpic.exe", "AppData.ini"):
            shutil.copy(os.path.join(self.install_dir, name), copy)
        installed, copied = tree(self.install_dir), tree(copy)
        copied_uninstaller = os.path.join(copy, "uninstall.exe")
        self.assertEqual(self.prefix.exit_code(copied_uninstaller, "/s", "/closeapps"), 1605)
        # With pages, the refusal is said in a message box, which Return closes.
        process = self.prefix.start_for_exit_code(copied_uninstaller)
        self.addCleanup(end_process, process)
        self.assertTrue(wait_until(lambda: subprocess.run(
            ["xdotool", "search", "--onlyvisible", "--name", "岚文看图"], env=self.prefix.env(),
            stdout=subprocess.PIPE).stdout.strip(), 60), "no message box")
        self.prefix.x("xdotool", "key", "Return")
        self.assertEqual(exit_code_of(process, 60), 1605)
        self.assertEqual(tree(copy), copied)
        self.assertEqual(tree(self.install_dir), installed)
        self.assertEqual(self.prefix.reg_query(UNINSTALL_KEY, REG_VIEW)[0], 0)

        # Started as written, as a deployment tool starts it: the quoted program, then "/s".
        program, arguments = re.fullmatch(r'"([^"]+)" (.*)', values["QuietUninstallString"][1]).groups()
        reports = len(self.collector.reports())
        self.assertEqual(self.prefix.exit_code(program, arguments, timeout=300), 0)
        # The clean-up batch removes the uninstaller and the directory once the process ended.
        self.assertTrue(wait_until(lambda: not os.path.exists(self.install_dir), 60),
                        os.path.exists(self.install_dir) and sorted(tree(self.install_dir)))
        self.assertEqual(os.listdir(self.parent), [])
        self.assertNotEqual(self.prefix.reg_query(UNINSTALL_KEY, REG_VIEW)[0], 0)
        for link in self.links():
            self.assertFalse(os.path.exists(self.prefix.unix(link)), link)
        # Without the survey the report is the plain choice to uninstall.
        uninstall_reports = [(r["record"]["fields"]["reason"], r["record"]["fields"]["result"])
                             for r in self.collector.reports()[reports:]
                             if r.get("record", {}).get("schema") == UNINSTALL_SCHEMA]
        self.assertEqual(uninstall_reports, [(0, 2)])


class InstallLog(InstallBed):
    def online_installer(self, name, url, **values):
        return online_installer(self.prefix, name, APP_URL_32=url, APP_URL_64=url, **values)

    def temp_logs(self):
        """The failure logs in the temporary folder programs of this machine are given, as
        Windows paths."""
        temp = self.prefix.run("cmd", "/c", "echo %TEMP%").stdout.decode().strip()
        return [temp + "\\" + os.path.basename(path) for path in
                glob.glob(os.path.join(self.prefix.unix(temp), "LarwenPic-setup-*.log"))]

    def test_the_log_names_the_step_that_failed(self):
        package = demo_package(os.path.join(self.work, "lwpic64.7z"))
        with open(package, "rb") as f:
            body = f.read()
        with open(add_folder(package, "uninstall.exe"), "rb") as f:
            unremovable = f.read()
        server = PackageServer({"/p.7z": body, "/half.7z": body[:len(body) // 2],
                                "/unremovable.7z": unremovable})
        self.addCleanup(server.close)
        blocker = os.path.join(self.prefix.scratch, "a-file")
        open(blocker, "w").close()
        cases = [
            ("download", server.url + "/missing.7z", {}, self.parent, "step download: FAILED"),
            ("extraction", server.url + "/half.7z", {}, self.parent, "step extraction: FAILED"),
            ("digest", server.url + "/p.7z", {"APP_SHA256_32": "0" * 64, "APP_SHA256_64": "0" * 64},
             self.parent, "step package digest: FAILED"),
            ("directory", server.url + "/p.7z", {}, blocker,
             "the installation directory cannot be created"),
            ("registration", server.url + "/unremovable.7z", {}, self.parent,
             "step registration: FAILED"),
        ]
        for name, url, values, parent, failed_step in cases:
            with self.subTest(name):
                installer = self.online_installer(name, url, **values)
                log = os.path.join(self.prefix.scratch, name + ".log")
                code = self.prefix.exit_code(installer, "/s", "d=" + winpath(parent),
                                             "/log=" + winpath(log), timeout=300)
                self.assertEqual(code, 1603)
                text = read_log(log)
                self.assertIn(failed_step, text)
                self.assertTrue(text.rstrip().endswith("exit code 1603"), text[-200:])
                self.assertFalse(os.path.exists(os.path.join(parent, INSTALL_DIR_NAME, "app.7z")))
        # Every failed run had its log where it was asked for: none went to the temp folder.
        self.assertEqual(self.temp_logs(), [])

    def test_a_failed_run_without_a_log_keeps_one_in_the_temp_folder(self):
        installer = self.online_installer("nothing there", "http://127.0.0.1:1/p.7z")
        self.assertEqual(self.install(installer), 1603)
        logs = self.temp_logs()
        self.assertEqual(len(logs), 1, logs)
        text = read_log(self.prefix.unix(logs[0]))
        self.assertIn("step download: FAILED", text)
        self.assertIn("the run failed: this log is kept as " + logs[0], text)
        self.assertTrue(text.rstrip().endswith("exit code 1603"), text[-200:])


class PackageDigest(InstallBed):
    def test_only_a_package_with_the_configured_digest_is_extracted(self):
        package = demo_package(os.path.join(self.work, "lwpic64.7z"))
        with open(package, "rb") as f:
            body = f.read()
        digest = hashlib.sha256(body).hexdigest()
        server = PackageServer({"/p.7z": body})
        self.addCleanup(server.close)
        url = server.url + "/p.7z"
        # Letter case does not count; the wrong digest differs in its last digit only.
        wrong = digest[:-1] + ("0" if digest[-1] != "0" else "1")
        for name, configured, code in (("mismatch", wrong, 1603),
                                       ("match", digest.upper(), 0)):
            with self.subTest(name):
                installer = online_installer(
                    self.prefix, name, Report_Url=self.collector.url, APP_URL_32=url,
                    APP_URL_64=url, APP_SHA256_32=configured, APP_SHA256_64=configured)
                reports = len(self.collector.steps())
                self.assertEqual(self.install(installer), code)
                steps = self.collector.steps()[reports:]
                if code:
                    self.assertIn((4, 3, 0, "package digest mismatch"), steps)
                    self.assertEqual(steps[-1], (8, 2, 0, ""))
                    # Nothing of the package was extracted, and the download is gone.
                    self.assertFalse(os.path.exists(os.path.join(self.install_dir, "lwpic.exe")))
                    self.assertFalse(os.path.exists(os.path.join(self.install_dir, "app.7z")))
                    self.assertNothingRegistered()
                else:
                    self.assertInstalledFrom(package)
                    self.assertIn((6, 1, 0, ""), steps)


if __name__ == "__main__":
    import unittest
    unittest.main()
