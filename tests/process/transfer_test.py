"""Extraction of archives made here by Debian's 7zz, compared with what `7zz x` makes of them."""
import os
import random
import subprocess
import unittest

from archives import archive_paths, rename_items, sevenzip, tree
from winebed import Prefix, fixture, winpath

FX_EXTRACT = fixture("fx_extract.exe")

# Every coder chain the product has to decode, as 7zz switches, with a word that 7zz's listing
# shows for it.
METHODS = [
    ("LZMA", ["-m0=LZMA"], "LZMA:"),
    ("LZMA2", ["-m0=LZMA2"], "LZMA2:"),
    ("PPMd", ["-m0=PPMd"], "PPMD:"),
    ("BCJ", ["-m0=BCJ", "-m1=LZMA"], "BCJ LZMA:"),
    ("BCJ2", ["-m0=BCJ2", "-m1=LZMA", "-m2=LZMA", "-m3=LZMA", "-mb0:1", "-mb0s1:2", "-mb0s2:3"],
     "BCJ2"),
    ("Delta", ["-m0=Delta:4", "-m1=LZMA2"], "Delta:4"),
    ("Copy", ["-m0=Copy"], "Copy"),
]


def make_tree(root):
    """Directories, an empty one, empty files, Chinese names, code-like and text data, modes."""
    rng = random.Random(7)
    words = [bytes(rng.choice(b"abcdefghij ") for _ in range(rng.randint(2, 9))) for _ in range(400)]
    files = {
        "bin/tool.exe": bytes(rng.getrandbits(8) if i % 7 else 0xE8 for i in range(150000)),
        "bin/empty.dat": b"",
        "图片/说明.txt": "岚文看图\n".encode("utf-8") * 3000,
        "docs/readme.txt": b" ".join(rng.choice(words) for _ in range(60000)),
        "docs/deep/er/samples.bin": bytes(range(256)) * 512,
        "only-read.txt": b"read only\n",
        "run.sh": b"#!/bin/sh\necho hi\n",
    }
    for name, data in files.items():
        path = os.path.join(root, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
    os.makedirs(os.path.join(root, "empty dir"))
    os.chmod(os.path.join(root, "only-read.txt"), 0o444)
    os.chmod(os.path.join(root, "run.sh"), 0o755)




class Extraction(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.prefix = Prefix()
        cls.work = cls.prefix.scratch
        cls.source = os.path.join(cls.work, "source")
        make_tree(cls.source)
        cls.count = 0

    @classmethod
    def tearDownClass(cls):
        cls.prefix.close()

    def new_dir(self, name):
        Extraction.count += 1
        path = os.path.join(self.work, f"{name}-{Extraction.count}")
        os.makedirs(path)
        return path

    def pack(self, name, switches, source=None, files=(".",)):
        archive = os.path.join(self.work, name + ".7z")
        if os.path.exists(archive):
            os.remove(archive)
        subprocess.run(["7zz", "a", "-t7z", *switches, archive, *files], cwd=source or self.source,
                       check=True, capture_output=True)
        return archive

    def extract(self, archive, out, *options, shell_setup=None):
        command = ["wine", FX_EXTRACT, *options, winpath(archive), winpath(out)]
        if shell_setup:
            command = ["bash", "-c", shell_setup + '; exec "$@"', "bash", *command]
        # The users' own locale (zh_CN.UTF-8, made by the bootstrap): Chinese file names.
        result = subprocess.run(command, env=self.prefix.env(), capture_output=True,
                                timeout=120)
        self.assertEqual(result.returncode, 0, result.stderr.decode("utf-8", "replace"))
        lines = result.stdout.decode("utf-8").splitlines()
        return {
            "result": int(lines[0].split(" ", 1)[1]),
            "error": lines[1][len("error "):],
            "items": [line[5:] for line in lines if line.startswith("item ")],
            "progress": [int(v) for line in lines if line.startswith("progress ")
                         for v in line.split()[1:]],
        }

    def reference(self, archive):
        out = self.new_dir("7zz")
        sevenzip("x", "-o" + out, archive)
        return tree(out)

    def test_every_method_from_file_and_memory_matches_7zz(self):
        for name, switches, shown in METHODS:
            archive = self.pack(name, switches)
            self.assertIn(shown, sevenzip("l", "-slt", archive).decode("utf-8"))
            expected = self.reference(archive)
            for options in ([], ["--memory"]):
                with self.subTest(method=name, options=options):
                    out = self.new_dir(name)
                    got = self.extract(archive, out, *options)
                    self.assertEqual((got["result"], got["error"]), (0, ""))
                    self.assertEqual(tree(out), expected)
                    self.assertEqual(got["items"], [winpath(out) + "\\" + p.replace("/", "\\")
                                                    for p in archive_paths(archive)])
                    self.assertEqual(int(os.stat(os.path.join(out, "docs/readme.txt")).st_mtime),
                                     int(os.stat(os.path.join(self.source, "docs/readme.txt")).st_mtime))

    def test_posix_modes_give_only_the_windows_attributes(self):
        archive = self.pack("modes", ["-m0=LZMA2"])
        out = self.new_dir("modes")
        got = self.extract(archive, out)
        self.assertEqual(got["result"], 0, got)
        # The read-only bit of 0444 is applied (Wine shows it as a mode without write bits);
        # the rest of the POSIX mode is not an attribute and is left out.
        self.assertFalse(os.stat(os.path.join(out, "only-read.txt")).st_mode & 0o222)
        self.assertTrue(os.stat(os.path.join(out, "run.sh")).st_mode & 0o200)

    def test_existing_read_only_file_is_replaced(self):
        archive = self.pack("replace", ["-m0=LZMA2"])
        out = self.new_dir("replace")
        os.makedirs(os.path.join(out, "docs"))
        target = os.path.join(out, "docs/readme.txt")
        with open(target, "wb") as f:
            f.write(b"old")
        os.chmod(target, 0o444)
        got = self.extract(archive, out)
        self.assertEqual((got["result"], got["error"]), (0, ""))
        self.assertEqual(tree(out), self.reference(archive))

    def test_target_held_open_without_sharing(self):
        archive = self.pack("held", ["-m0=LZMA2"])
        out = self.new_dir("held")
        target = os.path.join(out, "run.sh")
        with open(target, "wb") as f:
            f.write(b"in use")
        got = self.extract(archive, out, "--hold", winpath(target))
        self.assertEqual(got["result"], 6)
        self.assertEqual(got["error"], "DeleteFileAlways fail, code:32")  # sharing violation
        with open(target, "rb") as f:
            self.assertEqual(f.read(), b"in use")

    def test_damaged_item_stops_with_crc_error_and_keeps_earlier_files(self):
        source = self.new_dir("crc-source")
        for name, fill in (("1.txt", b"a"), ("2.txt", b"b"), ("3.txt", b"c")):
            with open(os.path.join(source, name), "wb") as f:
                f.write(fill * 1000)
        archive = self.pack("crc", ["-m0=Copy", "-mhc=on"], source)
        with open(archive, "r+b") as f:
            data = f.read()
            f.seek(data.index(b"b" * 1000) + 500)
            f.write(b"X")
        out = self.new_dir("crc")
        got = self.extract(archive, out)
        self.assertEqual((got["result"], got["error"]), (32, ""))
        self.assertEqual(sorted(os.listdir(out)), ["1.txt", "2.txt"])

    def test_truncated_archive_is_not_opened(self):
        archive = self.pack("truncated", ["-m0=LZMA2"])
        with open(archive, "r+b") as f:
            f.truncate(os.path.getsize(archive) // 2)
        for options in ([], ["--memory"]):
            out = self.new_dir("truncated")
            got = self.extract(archive, out, *options)
            self.assertEqual((got["result"], got["error"], got["items"]), (4, "", []))
            self.assertEqual(os.listdir(out), [])

    def test_item_paths_leaving_the_output_directory_are_refused(self):
        # (file packed, part of its name rewritten in the archive, the path 7-Zip then gives)
        cases = [
            ("qq/evil.txt", ("qq", ".."), "..\\evil.txt"),
            ("a/qqq/evil.txt", ("qqq", "..."), "a\\...\\evil.txt"),
            ("zevil.txt", ("zevil", "/evil"), "\\evil.txt"),
            ("Cqevil.txt", ("Cqevil", "C:evil"), "C:evil.txt"),
            ("zzsrv/evil.txt", ("zzsrv", "//srv"), "\\\\srv\\evil.txt"),
        ]
        for stored, rename, shown in cases:
            with self.subTest(shown):
                source = self.new_dir("unsafe-source")
                for name, data in ((stored, b"outside"), ("0-first.txt", b"inside")):
                    path = os.path.join(source, name)
                    os.makedirs(os.path.dirname(path), exist_ok=True)
                    with open(path, "wb") as f:
                        f.write(data)
                archive = self.pack("unsafe", ["-mhc=off", "-m0=Copy"], source,
                                    ["0-first.txt", stored])
                rename_items(archive, [rename])
                self.assertIn(stored.replace(*rename), archive_paths(archive))
                parent = self.new_dir("unsafe")
                out = os.path.join(parent, "out", "inner")
                os.makedirs(out)
                for options in ([], ["--memory"]):
                    got = self.extract(archive, out, *options)
                    self.assertEqual((got["result"], got["error"]), (9, "unsafe item path:" + shown))
                    self.assertEqual(got["items"], [winpath(out) + "\\0-first.txt"])
                    self.assertEqual(tree(parent), {"out": None, os.path.join("out", "inner"): None})

    def test_dot_and_empty_names_in_item_paths_stay_where_they_point(self):
        source = self.new_dir("dots-source")
        for name in ("qq/top.txt", "a/qq/deeper.txt", "zz/dotted.txt"):
            os.makedirs(os.path.join(source, os.path.dirname(name)), exist_ok=True)
            with open(os.path.join(source, name), "wb") as f:
                f.write(name.encode())
        archive = self.pack("dots", ["-mhc=off", "-m0=Copy"], source, ["qq", "a", "zz"])
        # "qq/" becomes ".//": a "." and an empty name, which a resolved path has neither of;
        # "zz" becomes "b.", which the system names "b".
        rename_items(archive, [("qq", "./"), ("zz", "b.")])
        self.assertIn(".//top.txt", archive_paths(archive))
        self.assertIn("b./dotted.txt", archive_paths(archive))
        out = self.new_dir("dots")
        got = self.extract(archive, out)
        self.assertEqual((got["result"], got["error"]), (0, ""))
        self.assertEqual(tree(out), {"top.txt": b"qq/top.txt", "a": None,
                                     os.path.join("a", "deeper.txt"): b"a/qq/deeper.txt",
                                     "b": None, os.path.join("b", "dotted.txt"): b"zz/dotted.txt"})

    def test_write_failure_is_not_success(self):
        source = self.new_dir("big-source")
        with open(os.path.join(source, "big.bin"), "wb") as f:
            f.write(bytes(range(256)) * 16384)  # 4 MiB
        archive = self.pack("big", ["-m0=LZMA2"], source)
        out = self.new_dir("full")
        # Files of this process may not grow past 1 MiB: the disk is full for it.
        got = self.extract(archive, out, shell_setup="ulimit -f 1024; trap '' XFSZ")
        self.assertEqual(got["result"], 10)
        self.assertRegex(got["error"], r"^extract fail, hr:0x8007[0-9A-F]{4}$")

    def test_progress_moves_during_a_large_extraction(self):
        source = self.new_dir("progress-source")
        rng = random.Random(3)
        with open(os.path.join(source, "large.bin"), "wb") as f:
            for _ in range(48):
                f.write(rng.randbytes(1 << 19) * 2)  # 48 MiB that LZMA compresses by half
        archive = self.pack("progress", ["-m0=LZMA:d=1m", "-mx=1"], source)
        got = self.extract(archive, self.new_dir("progress"), "--progress")
        self.assertEqual(got["result"], 0)
        values = got["progress"]
        self.assertEqual((values[0], values[-1]), (0, 0))
        during = values[1:-1]
        if during[-1] == 0:
            during.pop()  # the poller saw the end before it was stopped
        self.assertEqual(during, sorted(during), "never goes back")
        self.assertTrue(any(0 < v < 100 for v in during), values)


if __name__ == "__main__":
    unittest.main()
