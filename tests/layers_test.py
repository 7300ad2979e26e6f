#!/usr/bin/env python3
"""Checks that the product folders include each other in one direction only.

From the bottom: base <- config <- {ui, transfer, report} <- install <- pages <- app. A folder
may include its own headers and those of the folders below it; ui, transfer and report never
include each other. Every forbidden #include "<folder>/..." is printed as
"<file>: <folder> -> <folder> is not allowed" and makes the check fail.

Usage: layers_test.py [source directory]  (default: the directory above tests/)
"""
import os
import re
import sys

# Each folder with the folders it may include besides itself.
ALLOWED = {
    "base": set(),
    "config": {"base"},
    "ui": {"base", "config"},
    "transfer": {"base", "config"},
    "report": {"base", "config"},
    "install": {"base", "config", "ui", "transfer", "report"},
    "pages": {"base", "config", "ui", "transfer", "report", "install"},
    "app": {"base", "config", "ui", "transfer", "report", "install", "pages"},
}

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"/]+)/[^"]*"')
SOURCE_SUFFIXES = (".h", ".hpp", ".cpp", ".cc", ".inl")


def violations(root):
    """Yields one message per forbidden include below `root`, in a stable order."""
    for folder in sorted(ALLOWED):
        top = os.path.join(root, folder)
        for dirpath, dirnames, filenames in os.walk(top):
            dirnames.sort()
            for name in sorted(filenames):
                if not name.endswith(SOURCE_SUFFIXES):
                    continue
                path = os.path.join(dirpath, name)
                shown = os.path.relpath(path, root).replace(os.sep, "/")
                with open(path, encoding="utf-8", errors="replace") as source:
                    for line in source:
                        match = INCLUDE.match(line)
                        if not match:
                            continue
                        target = match.group(1)
                        # Headers of the dependencies (7zip/, Windows/, ...) are not ours.
                        if target not in ALLOWED or target == folder:
                            continue
                        if target not in ALLOWED[folder]:
                            yield f"{shown}: {folder} -> {target} is not allowed"


def main(argv):
    root = argv[1] if len(argv) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    if not os.path.isdir(os.path.join(root, "base")):
        print(f"{root} has no base/ folder: not a source tree", file=sys.stderr)
        return 2
    found = list(violations(root))
    for message in found:
        print(message)
    if found:
        return 1
    print("every include points to the same folder or one below it")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
