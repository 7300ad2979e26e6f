"""report_collector.exe: the report server the tests read what an installer reported from."""
import json
import os
import re
import subprocess
import tempfile

from winebed import SETUP_EXE, winpath

COLLECTOR = os.path.join(os.path.dirname(SETUP_EXE), "tools", "collector", "report_collector.exe")


class Collector:
    """report_collector.exe under Wine on a free loopback port."""

    def __init__(self, prefix, *options):
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
        if not os.path.exists(self.out):
            return []
        with open(self.out, encoding="utf-8") as lines:
            return [json.loads(line) for line in lines if line.strip()]

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.process.stdout.close()

    def steps(self):
        """(step, err_code, sub_err_code, err_msg) of every install report so far, in order."""
        return [tuple(r["record"]["fields"][k] for k in ("step", "err_code", "sub_err_code",
                                                         "err_msg"))
                for r in self.reports() if r.get("record", {}).get("schema") == 8201]
