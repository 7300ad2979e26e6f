"""Running setup.exe and the test fixtures under Wine, each test class in a fresh prefix."""
import glob
import os
import pty
import re
import select
import shutil
import subprocess
import tempfile
import time

# The helpers that need no prefix live with the screen helpers; tests take them from here.
from screen import pixel, wait_until  # noqa: F401

SETUP_EXE = os.environ["LW_SETUP_EXE"]
FIXTURES = os.environ["LW_FIXTURE_DIR"]
TEMPLATE = os.environ["LW_WINE_TEMPLATE"]
WINE_DIR = os.environ["LW_WINE_DIR"]
SOURCE_DIR = os.environ["LW_SOURCE_DIR"]
# The target of the build under test: "i686" (the shipped 32-bit build) or "x86_64".
ARCH = os.environ.get("LW_ARCH", "i686")
# The registry view a build's own writes land in on 64-bit Windows: WOW64's for the 32-bit
# build, the native one for the 64-bit build.
REG_VIEW = "/reg:32" if ARCH == "i686" else "/reg:64"
# Our Wine wrappers come first: Debian's own need the 32-bit loader even for 64-bit programs.
WINE_BIN = os.path.join(SOURCE_DIR, "scripts", "wine-bin")


def winpath(unix_path):
    """The Windows name of a host path: inside a prefix's drive_c on drive C:, elsewhere on
    drive Z: (the host's root)."""
    path = os.path.abspath(unix_path)
    head, found, rest = path.partition("/drive_c/")
    if found and head.startswith(WINE_DIR):
        return "C:\\" + rest.replace("/", "\\")
    return "Z:" + path.replace("/", "\\")


def exit_code_of(process, timeout=120):
    """The exit code a process started by Prefix.start_for_exit_code reports."""
    out, _ = process.communicate(timeout=timeout)
    found = re.search(rb"exit=(\d+)", out)
    if not found:
        raise AssertionError("no exit code reported: %r" % out)
    return int(found.group(1))


def end_process(process):
    """Ends a program a failed check left running; a program that has ended (or None) is
    left alone."""
    if process and process.poll() is None:
        process.kill()
        process.wait()


def settled(path, quiet=2.0, timeout=30):
    """True once the file exists and has not changed for `quiet` seconds."""
    deadline = time.time() + timeout
    last, since = None, time.time()
    while time.time() < deadline:
        try:
            with open(path, "rb") as f:
                content = f.read()
        except FileNotFoundError:
            content = None
        if content != last:
            last, since = content, time.time()
        elif content is not None and time.time() - since >= quiet:
            return True
        time.sleep(0.2)
    return False


def run_wine(command, env, timeout=60):
    """subprocess.run of a Wine command, its output and errors together in stdout. On a busy
    machine Wine now and then ends before the program starts, printing nothing: such a start
    (a failure without a word) is said and made again, once, with Wine's own errors shown."""
    for attempt in (1, 2):
        # A file, not a pipe: Wine's background services, started by the first program of a
        # prefix, inherit the output and would hold a pipe open until they end.
        with tempfile.TemporaryFile() as output:
            done = subprocess.run(command, env=env, timeout=timeout, stdin=subprocess.DEVNULL,
                                  stdout=output, stderr=subprocess.STDOUT)
            output.seek(0)
            done.stdout = output.read()
        if done.returncode == 0 or done.stdout:
            break
        print("winebed: %s ended with %d before printing anything (start %d of 2)"
              % (" ".join(command[1:]), done.returncode, attempt))
        env = dict(env, WINEDEBUG="err+all")
    return done


def fixture(name):
    return os.path.join(FIXTURES, name)


def lnk_fields(path):
    text = subprocess.run(["lnkinfo", path], check=True, capture_output=True, text=True).stdout
    fields = dict(re.findall(r"^\t(Local path|Working directory)\s*: (.*)$", text, re.M))
    return fields.get("Local path"), fields.get("Working directory")


class Display:
    """An X server of one test's own, so that no other test moves its pointer or covers its
    windows."""

    def __init__(self):
        read, write = os.pipe()
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
            pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        # The server writes its display number once it accepts connections.
        number = b""
        with os.fdopen(read, "rb") as ready:
            number = ready.readline().strip()
        if not number:
            self.server.kill()
            raise RuntimeError("Xvfb did not start")
        self.name = ":" + number.decode()

    def close(self):
        self.server.terminate()
        self.server.wait()


class Prefix:
    """A fresh copy of the clean template prefix with an X server of its own, both removed by
    close()."""

    def __init__(self):
        # Wine's DLL overrides ("name=n,b") every later program of this prefix runs with.
        self.dll_overrides = []
        self.display = Display()
        os.makedirs(WINE_DIR, exist_ok=True)
        self.path = tempfile.mkdtemp(prefix="proc.", dir=WINE_DIR)
        subprocess.run(["bash", os.path.join(SOURCE_DIR, "scripts/wine-prefix.sh"), "fresh",
                        TEMPLATE, self.path], check=True)
        # Shell folders stay inside the prefix: those Wine links into the host's home (the
        # desktop among them) become plain directories.
        for link in glob.glob(os.path.join(self.path, "drive_c", "users", "*", "*")):
            if os.path.islink(link):
                os.unlink(link)
                os.mkdir(link)
        self.scratch = tempfile.mkdtemp(prefix="scratch.", dir=WINE_DIR)
        # Wine's background services start with the first program.
        first = run_wine(["wine", "cmd", "/c", "exit"], self.env())
        if first.returncode != 0:
            raise AssertionError("Wine's first start in %s ended with %d: %r"
                                 % (self.path, first.returncode, first.stdout))

    def user_home(self):
        """The host path of the user's folder, C:\\users\\<user>."""
        users = os.path.join(self.path, "drive_c", "users")
        return os.path.join(users, next(u for u in os.listdir(users) if u.lower() != "public"))

    def env(self, lang="zh_CN.UTF-8"):
        env = dict(os.environ)
        env.update(WINEPREFIX=self.path, WINEDEBUG="-all", LANG=lang, LC_ALL=lang,
                   DISPLAY=self.display.name, PATH=WINE_BIN + os.pathsep + env.get("PATH", ""))
        env.pop("XAUTHORITY", None)
        # Wine's menu builder would copy start-menu links into the host's desktop menus.
        env["WINEDLLOVERRIDES"] = ";".join(["winemenubuilder.exe=d"] + self.dll_overrides)
        return env

    def x(self, *command):
        """Runs an X client (xdotool, import) on this prefix's display; its output."""
        return subprocess.run(command, env=self.env(), check=True, stdout=subprocess.PIPE,
                              text=True).stdout

    def start(self, program, *args, lang="zh_CN.UTF-8", **popen):
        return subprocess.Popen(["wine", program, *args], env=self.env(lang), **popen)

    def run(self, program, *args, lang="zh_CN.UTF-8", timeout=60):
        return run_wine(["wine", program, *args], self.env(lang), timeout)

    def start_for_exit_code(self, program, *args, lang="zh_CN.UTF-8"):
        """Starts program through the exit_code fixture; read its code with exit_code_of."""
        return self.start(fixture("exit_code.exe"), program, *args, lang=lang,
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)

    def exit_code(self, program, *args, lang="zh_CN.UTF-8", timeout=120):
        """Runs program to its end; its whole exit code (Wine hands on only the low 8 bits)."""
        return exit_code_of(self.start_for_exit_code(program, *args, lang=lang), timeout)

    def unix(self, path):
        """The host path of a Windows path in this prefix."""
        # Made again once when Wine answers with something other than a path: on a busy
        # machine it now and then fails to start and says so in the console's code page.
        for _ in (1, 2):
            done = subprocess.run(["winepath", "-u", path], env=self.env(), capture_output=True)
            try:
                if done.returncode == 0:
                    return done.stdout.decode().strip()
            except UnicodeDecodeError:
                pass
        raise AssertionError("winepath -u %s: %r" % (path, done.stdout + done.stderr))

    def reg_query(self, key, *args):
        """(exit code, listing) of `reg query` on this prefix's registry."""
        result = subprocess.run(["wine", "reg", "query", key, *args], env=self.env(),
                                capture_output=True)
        # reg writes in the console's code page: GBK for the Chinese user the tests are.
        return result.returncode, result.stdout.decode("gbk", "replace")

    def reg_add(self, key, name, value):
        subprocess.run(["wine", "reg", "add", key, "/v", name, "/d", value, "/f"],
                       env=self.env(), check=True, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)

    def close(self):
        subprocess.run(["wineserver", "-k"], env=self.env(), stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-w"], env=self.env(), stderr=subprocess.DEVNULL)
        shutil.rmtree(self.path, ignore_errors=True)
        shutil.rmtree(self.scratch, ignore_errors=True)
        self.display.close()


class Terminal:
    """A program started on a pseudo-terminal, as from a user's console window."""

    def __init__(self, prefix, program, *args, lang="zh_CN.UTF-8"):
        master, slave = pty.openpty()
        self.master = master
        self.process = prefix.start(program, *args, lang=lang, stdin=slave, stdout=slave,
                                    stderr=slave)
        os.close(slave)
        self.raw = b""

    def read_until(self, text, timeout):
        deadline = time.time() + timeout
        while text not in self.screen() and time.time() < deadline:
            ready, _, _ = select.select([self.master], [], [], 0.2)
            if ready:
                try:
                    self.raw += os.read(self.master, 65536)
                except OSError:
                    break
        return text in self.screen()

    def screen(self):
        """The text written so far, without the terminal's control sequences."""
        text = self.raw.decode("utf-8", "replace")
        text = re.sub(r"\x1b\[(\d*)C", lambda m: " " * int(m.group(1) or 1), text)
        text = re.sub(r"\x1b\[[0-9;?]*[A-Za-z]", "", text)
        return text.replace("\r", "")

    def type(self, keys):
        os.write(self.master, keys)

    def wait(self, timeout):
        try:
            return self.process.wait(timeout=timeout)
        finally:
            os.close(self.master)
