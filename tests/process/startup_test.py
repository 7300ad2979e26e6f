"""setup.exe as whole processes under Wine: help, single instance, system check, language."""
import os
import time
import unittest

from winebed import (Prefix, Terminal, SETUP_EXE, end_process, exit_code_of, fixture, wait_until,
                     winpath)

HELP_LINES = [
    "Insert the 32-bit and 64-bit ZIP files into the installation package.",
    "Insert the uidata.xml interface file into the installation package.",
    "",
    'eg. setup.exe -p "X:\\XXX\\xxx32.7z" "X:\\XXX\\xxx\\64.7z" "X:\\XXX\\xxx\\uidata.xml"',
    "",
    "silent installation",
    "eg. px_setup_2_2.exe /i /d=e:\\lw_px",
    "eg. px_setup_2_2.exe /s /d=e:\\lw_px",
]
# cmd's own prompt, in English for an English user.
PAUSE_PROMPT = "Press any key to continue"
HELP_LANG = "en_US.UTF-8"
TOO_OLD_ZH = "抱歉，您正在使用的操作系统版本过低，为确保软件能够正常运行，请在 Windows 7 或更新的系统上尝试。"


def read(path):
    """A fixture's log so far; empty before the fixture wrote it."""
    try:
        with open(path) as f:
            return f.read()
    except FileNotFoundError:
        return ""


class HelpAndSingleInstance(unittest.TestCase):
    def setUp(self):
        self.prefix = Prefix()
        self.started = []

    def tearDown(self):
        for process in self.started:
            end_process(process)
        self.prefix.close()

    def terminal(self, *args):
        run = Terminal(self.prefix, *args, lang=HELP_LANG)
        self.started.append(run.process)
        return run

    def test_help_prints_the_usage_and_waits_for_a_key(self):
        for switch in ("-?", "/?", "-?x"):
            with self.subTest(switch=switch):
                help_run = self.terminal(SETUP_EXE, switch)
                self.assertTrue(help_run.read_until(PAUSE_PROMPT, 60), help_run.screen())
                time.sleep(1)
                self.assertIsNone(help_run.process.poll(), "help must wait for a key")
                help_run.type(b"\r")
                self.assertEqual(help_run.wait(30), 0)
                shown = help_run.screen()
                lines = shown[: shown.index(PAUSE_PROMPT)].split("\n")
                self.assertEqual(lines[: len(HELP_LINES)], HELP_LINES)

    def test_second_instance_raises_our_windows_and_exits_at_once(self):
        log = os.path.join(self.prefix.scratch, "activations.log")
        other_log = os.path.join(self.prefix.scratch, "other.log")
        for name, path in (("LUI_0042", log), ("Other_fixture", other_log)):
            self.started.append(self.prefix.start(fixture("lui_window.exe"), name, winpath(path)))
            self.assertTrue(wait_until(lambda: "ready" in read(path), 60), name)
        before = read(log).count("activated")

        first = self.terminal(SETUP_EXE, "-?")
        self.assertTrue(first.read_until(PAUSE_PROMPT, 60), first.screen())
        # The second start evaluates no mode, not even help, and shows nothing.
        for switch in ("-?", "-p", "/s", ""):
            with self.subTest(switch=switch):
                started = time.time()
                second = self.prefix.start_for_exit_code(SETUP_EXE, switch, lang=HELP_LANG)
                self.assertEqual(exit_code_of(second, 30), 1618, "another installer is running")
                self.assertLess(time.time() - started, 20)
        self.assertTrue(wait_until(lambda: read(log).count("activated") > before, 10),
                        "the window of the running installer is raised")
        first.type(b"\r")
        self.assertEqual(first.wait(30), 0)


class SystemCheckAndLanguage(unittest.TestCase):
    """The refusal of old systems shows the configured text in the user's language."""

    def setUp(self):
        self.prefix = Prefix()

    def tearDown(self):
        self.prefix.close()

    def set_windows_version(self, version):
        self.prefix.reg_add("HKCU\\Software\\Wine\\AppDefaults\\setup.exe", "Version", version)

    def probe_message_box(self, *args, lang):
        out = os.path.join(self.prefix.scratch, "box.txt")
        if os.path.exists(out):
            os.remove(out)
        probe = self.prefix.start(fixture("dialog_probe.exe"), winpath(out), "30000")
        setup = self.prefix.start_for_exit_code(SETUP_EXE, *args, lang=lang)
        self.assertEqual(probe.wait(60), 0, "no message box appeared")
        self.assertEqual(exit_code_of(setup, 60), 1603, "a refused system is a fatal error")
        with open(out, encoding="utf-8") as f:
            caption, text = f.read().split("\n")[:2]
        return caption, text

    def test_windows_xp_is_refused_with_the_configured_text(self):
        self.set_windows_version("winxp")
        cases = [
            (("",), "zh_CN.UTF-8", "岚文看图", TOO_OLD_ZH),
            (("/S", "d=e:\\x"), "zh_CN.UTF-8", "岚文看图", TOO_OLD_ZH),  # silent runs check too
            # These texts exist in Chinese only; a language without them, and one we do not
            # know, show the document's first language rather than an empty box.
            (("",), "en_US.UTF-8", "岚文看图", TOO_OLD_ZH),
            (("",), "en_GB.UTF-8", "岚文看图", TOO_OLD_ZH),
        ]
        for args, lang, caption, text in cases:
            with self.subTest(args=args, lang=lang):
                self.assertEqual(self.probe_message_box(*args, lang=lang), (caption, text))

    def test_newer_systems_pass_the_check(self):
        for version in ("win2003", "vista", "win7", "win10"):
            with self.subTest(version=version):
                self.set_windows_version(version)
                out = os.path.join(self.prefix.scratch, "none.txt")
                ended = os.path.join(self.prefix.scratch, "setup-ended-" + version)
                probe = self.prefix.start(fixture("dialog_probe.exe"), winpath(out), "60000",
                                          winpath(ended))
                # A box would hold setup.exe open until the probe pressed its button. Past the
                # check, a silent install into a directory that cannot be made ends at once.
                blocker = os.path.join(self.prefix.scratch, "a-file")
                open(blocker, "w").close()
                self.assertEqual(self.prefix.exit_code(SETUP_EXE, "/s", "d=" + winpath(blocker),
                                                       timeout=60), 1603)
                open(ended, "w").close()
                self.assertEqual(probe.wait(60), 1, "no message box for " + version)


if __name__ == "__main__":
    unittest.main()
