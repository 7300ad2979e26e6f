"""Installers made from the built setup.exe with its own packer, the demo package they carry
or serve, and readers of what an installation leaves on the machine."""
import http.server
import os
import re
import shutil
import subprocess
import threading

from winebed import SETUP_EXE, SOURCE_DIR, fixture, winpath

BUILD_DIR = os.path.dirname(SETUP_EXE)
INSTALL_DIR_NAME = "LarwenPic"
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\LarwenPic"
PROGRAMS = r"C:\ProgramData\Microsoft\Windows\Start Menu\Programs"
APP_LINK = "岚文看图"
UNINSTALL_LINK = "卸载岚文看图"
# Where a test's reports go when it does not read them: nothing listens on port 1.
NOWHERE = "http://127.0.0.1:1/c"


def demo_package(path, *switches):
    """The demo package at path (a name ending in 32.7z, 64.7z or all.7z for the packer)."""
    subprocess.run(["bash", os.path.join(SOURCE_DIR, "scripts", "demo-package.sh"), BUILD_DIR,
                    path, *switches], check=True, stdout=subprocess.DEVNULL)
    return path


def add_samples(package, count):
    """Adds a folder of `count` small files to a package: enough of them make the extraction
    (and the removal) take seconds."""
    stage = os.path.join(os.path.dirname(package), "samples stage")
    os.makedirs(os.path.join(stage, "samples"))
    for i in range(count):
        with open(os.path.join(stage, "samples", "%04d.txt" % i), "w") as f:
            f.write("sample %d\n" % i)
    subprocess.run(["7zz", "a", "-bso0", "-bsp0", package, "samples"], cwd=stage, check=True)
    shutil.rmtree(stage)
    return package


def add_folder(package, name):
    """Adds a folder `name` with a file in it to a package."""
    stage = os.path.join(os.path.dirname(package), "folder stage")
    os.makedirs(os.path.join(stage, name))
    with open(os.path.join(stage, name, "inside.txt"), "w") as f:
        f.write("inside\n")
    subprocess.run(["7zz", "a", "-bso0", "-bsp0", package, name], cwd=stage, check=True)
    shutil.rmtree(stage)
    return package


def uidata(path, **values):
    """The shipped uidata document with the given items replaced, written to path. Every test
    points Report_Url and the package URLs somewhere on this machine."""
    with open(os.path.join(SOURCE_DIR, "resources", "uidata.xml"), encoding="utf-8") as f:
        text = f.read()
    # Nothing a test runs may reach the shipped servers: reports and packages alike.
    for name in ("Report_Url", "APP_URL_32", "APP_URL_64"):
        values.setdefault(name, NOWHERE)
    for name, value in values.items():
        text, count = re.subn(r'(<item name="%s">).*?(</item>)' % name,
                              lambda m: m.group(1) + value + m.group(2), text, flags=re.S)
        assert count == 1, name
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)
    return path


def pack(prefix, folder, *files):
    """offline_setup.exe made in folder by a copy of setup.exe from files, which the command
    line carries quoted (Wine quotes arguments with blanks: folder must have one)."""
    assert " " in folder
    os.makedirs(folder, exist_ok=True)
    packer = os.path.join(folder, "setup.exe")
    shutil.copy(SETUP_EXE, packer)
    code = prefix.exit_code(packer, "-p", *[winpath(f) for f in files])
    assert code == 0, code
    return os.path.join(folder, "offline_setup.exe")


def provide_timeout(prefix):
    """Wine ships no timeout.exe, so the uninstaller's clean-up batch would not wait for the
    uninstaller to end and could not remove it; the stand-in waits the same way."""
    for system in ("system32", "syswow64"):
        folder = os.path.join(prefix.path, "drive_c", "windows", system)
        if os.path.isdir(folder):
            shutil.copy(fixture("fx_timeout.exe"), os.path.join(folder, "timeout.exe"))


def read_ini(path):
    """{section: [(key, value), ...]} of an ini file the installer wrote (UTF-16 after its
    byte-order mark, else in the ANSI code page, here GBK), keys in file order."""
    sections, current = {}, None
    with open(path, "rb") as f:
        data = f.read()
    text = data[2:].decode("utf-16-le") if data[:2] == b"\xff\xfe" else data.decode("gbk")
    for line in text.splitlines():
        if line.startswith("[") and line.endswith("]"):
            current = sections.setdefault(line[1:-1], [])
        elif "=" in line and current is not None:
            current.append(tuple(line.split("=", 1)))
    return sections


class QuietHandler(http.server.BaseHTTPRequestHandler):
    """A request handler that logs nothing."""

    def log_message(self, *args):
        pass


class LoopbackServer:
    """An HTTP server on 127.0.0.1 answering with `handler` on threads of its own until
    close()."""

    def __init__(self, handler):
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        self.url = "http://127.0.0.1:%d" % self.server.server_address[1]

    def close(self):
        self.server.shutdown()
        self.server.server_close()


class PackageServer(LoopbackServer):
    """Serves files over HTTP on 127.0.0.1 and records the paths it was asked for."""

    def __init__(self, files, status=200):
        requests = self.requests = []

        class Handler(QuietHandler):
            def do_GET(self):
                requests.append(self.path)
                body = files.get(self.path.split("?")[0])
                if status != 200 or body is None:
                    self.send_error(404 if status == 200 else status)
                    return
                self.send_response(200)
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)

        super().__init__(Handler)
