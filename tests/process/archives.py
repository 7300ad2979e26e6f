"""7z archives made and read by Debian's 7zz, and surgery on their headers, for the tests."""
import os
import struct
import subprocess
import zlib


def sevenzip(*args):
    return subprocess.run(["7zz", *args], check=True, capture_output=True).stdout


def archive_paths(archive):
    listing = sevenzip("l", "-slt", archive).decode("utf-8")
    blocks = listing.split("----------\n", 1)[1].split("\n\n")
    return [line[7:] for block in blocks for line in block.splitlines() if line.startswith("Path = ")]


def tree(root):
    """Relative path -> file bytes, or None for a directory."""
    found = {}
    for base, dirs, files in os.walk(root):
        for d in dirs:
            found[os.path.relpath(os.path.join(base, d), root)] = None
        for name in files:
            with open(os.path.join(base, name), "rb") as f:
                found[os.path.relpath(os.path.join(base, name), root)] = f.read()
    return found


def rename_items(archive, renames):
    """Rewrites item names in an archive whose header is stored uncompressed (-mhc=off), names
    of equal length only, and puts the header checksums right again."""
    with open(archive, "rb") as f:
        data = bytearray(f.read())
    offset, size = struct.unpack_from("<QQ", data, 12)
    start = 32 + offset
    header = bytes(data[start:start + size])
    for old, new in renames:
        old16, new16 = old.encode("utf-16-le"), new.encode("utf-16-le")
        assert len(old16) == len(new16) and old16 in header, old
        header = header.replace(old16, new16)
    data[start:start + size] = header
    struct.pack_into("<I", data, 28, zlib.crc32(header))
    struct.pack_into("<I", data, 8, zlib.crc32(bytes(data[12:32])))
    with open(archive, "wb") as f:
        f.write(data)
