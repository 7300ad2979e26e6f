"""report_collector.exe: the report server the tests read what an installer reported from.

Every packet the installer sent is read a second time by the tests' own reader
(report_format.py), which shares nothing with the collector's decoder: a packet it finds
malformed, or reads otherwise than the collector did, fails the test that reads the reports,
and at the latest the test whose clean-up closes the collector."""
import json
import os
import re
import subprocess
import tempfile
import time

from report_format import decode_packet
from winebed import SETUP_EXE, Prefix, winpath

COLLECTOR = os.path.join(os.path.dirname(SETUP_EXE), "tools", "collector", "report_collector.exe")


# What the collector's line adds to the packet's own content.
LINE_ONLY = ("ok", "error", "raw")


def _differences(ours, theirs, where=""):
    """Where two readings of a packet part disagree, as "key: ours …, collector's …" lines."""
    if isinstance(ours, dict) and isinstance(theirs, dict):
        lines = []
        for key in sorted(set(ours) | set(theirs), key=str):
            lines += _differences(ours.get(key, "(none)"), theirs.get(key, "(none)"),
                                  where + "." + str(key) if where else str(key))
        return lines
    if ours != theirs or type(ours) is not type(theirs):
        return ["%s: ours %r, collector's %r" % (where, ours, theirs)]
    return []


class Collector:
    """report_collector.exe under Wine on a free loopback port."""

    def __init__(self, prefix, *options):
        # Nothing can report to this collector before it listens: every packet's time is later.
        self.started = time.time()
        handle, self.out = tempfile.mkstemp(prefix="reports.", suffix=".jsonl", dir=prefix.scratch)
        os.close(handle)
        self.process = prefix.start(COLLECTOR, "--port", "0", "--out", winpath(self.out), *options,
                                    stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        line = self.process.stdout.readline().decode()
        match = re.search(r"127\.0\.0\.1:(\d+)", line)
        if not match:
            self.process.kill()
            raise AssertionError("collector did not start: %r" % line)
        self.url = "http://127.0.0.1:%s/c" % match.group(1)

    def reports(self):
        """The collector's JSON line of every report so far: the header fields, "public",
        "record" ({"schema", "name", "fields"}) and "raw" (the packet in hex). Each packet has
        been read by the tests' own reader, which agrees with the collector on every value. A
        line still being written (no line end yet) is left for the next call."""
        if not os.path.exists(self.out):
            return []
        latest = time.time()
        with open(self.out, encoding="utf-8") as f:
            lines = [json.loads(line) for line in f if line.endswith("\n") and line.strip()]
        for number, line in enumerate(lines, 1):
            self.check(line, number, latest)
        return lines

    def check(self, line, number, latest):
        """Raises AssertionError unless the packet of one JSON line is sound, was sent
        between the collector's start and `latest`, and reads as the collector read it."""
        raw = bytes.fromhex(line["raw"])
        try:
            ours = decode_packet(raw, earliest=self.started, latest=latest)
        except AssertionError as error:
            raise AssertionError("report %d is malformed: %s\npacket: %s"
                                 % (number, error, line["raw"])) from None
        if not line["ok"]:
            raise AssertionError("report %d is sound, the collector refused it: %s\npacket: %s"
                                 % (number, line["error"], line["raw"]))
        theirs = {key: value for key, value in line.items() if key not in LINE_ONLY}
        differences = _differences(ours, theirs)
        if differences:
            raise AssertionError("report %d reads otherwise than the collector read it:\n%s"
                                 "\npacket: %s" % (number, "\n".join(differences), line["raw"]))

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.process.stdout.close()
        # Packets no check of the test read are judged here.
        self.reports()

    def steps(self):
        """(step, err_code, sub_err_code, err_msg) of every install report so far, in order."""
        return [tuple(r["record"]["fields"][k] for k in ("step", "err_code", "sub_err_code",
                                                         "err_msg"))
                for r in self.reports() if r.get("record", {}).get("schema") == 8201]


class MachinePerClass:
    """A fresh machine for a whole test class: setUpClass makes it and calls the class's
    prepare(), which may set cls.collector; tearDownClass ends the collector, then the machine,
    the machine even when the collector's last check of the packets fails."""

    @classmethod
    def setUpClass(cls):
        cls.prefix = Prefix()
        cls.collector = None
        try:
            cls.prepare()
        except BaseException:
            cls.tearDownClass()
            raise

    @classmethod
    def tearDownClass(cls):
        try:
            if cls.collector:
                cls.collector.close()
        finally:
            cls.prefix.close()
