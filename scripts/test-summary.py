"""The closing summary of scripts/test.sh: what ran for each target, every skip with its
reason, and one closing line with the counts of all targets together.
    test-summary.py VERDICT BUILD_DIR=CTEST_EXIT_CODE...
A CTest run that failed without a failed test (a discovery step that could not run its
program, say) counts as one failure of its target. Exits 1 when anything failed or no test ran
at all, else 0."""
import os
import re
import sys
import xml.etree.ElementTree as ElementTree

# A skip inside a CTest entry, as unittest's verbose output and GoogleTest write it.
# A skipped subtest's line is indented and names the subtest after the test.
UNITTEST_SKIP = re.compile(r"^[ \t]*(test\w+ \(.*?\)(?: \[.*?\])?).* \.\.\. skipped (['\"])(.*)\2$",
                           re.M)
GTEST_SKIP = re.compile(r": Skipped\n(.*)\n(?:.*\n)*?\[  SKIPPED \] (\S+)")


def results(build_dir):
    """The test cases of a build's last CTest run, or None when it did not run."""
    path = os.path.join(build_dir, "results.xml")
    if not os.path.exists(path):
        return None
    return list(ElementTree.parse(path).getroot().iter("testcase"))


def counts(cases):
    """(passed, failed, skipped) of CTest's entries."""
    passed = sum(1 for case in cases if case.get("status") == "run")
    failed = sum(1 for case in cases if case.find("failure") is not None)
    return passed, failed, len(cases) - passed - failed


def skips(cases):
    """Every skip, inside an entry or of a whole entry, with its reason."""
    found = []
    for case in cases:
        out = case.findtext("system-out") or ""
        reasons = ["%s: %s" % m.group(1, 3) for m in UNITTEST_SKIP.finditer(out)]
        reasons += ["%s: %s" % (m.group(2), m.group(1)) for m in GTEST_SKIP.finditer(out)]
        # A whole entry skipped without a reason in its output is named with CTest's status.
        if (not reasons and case.get("status") not in ("run", "fail")
                and case.find("failure") is None):
            reasons.append("%s: %s" % (case.get("name"), case.get("status")))
        found += reasons
    return sorted(set(found))


def main():
    verdict, runs = sys.argv[1], [arg.rsplit("=", 1) for arg in sys.argv[2:]]
    total = [0, 0, 0]
    print()
    print("== summary")
    print(verdict)
    for build_dir, ctest_code in runs:
        target = os.path.basename(os.path.normpath(build_dir))
        cases = results(build_dir) or []
        passed, failed, skipped = counts(cases)
        if ctest_code != "0" and not failed:
            print("%s: CTest failed (exit %s) without a failed test: see %s" %
                  (target, ctest_code, os.path.join(build_dir, "test-output.log")))
            failed = 1
        # A skip inside an entry that passed counts as a skip too.
        skipped_lines = skips(cases)
        result = (passed, failed, max(skipped, len(skipped_lines)))
        print("%s: %d passed, %d failed, %d skipped" % ((target,) + result))
        for line in skipped_lines:
            print("  skipped %s" % line)
        total = [a + b for a, b in zip(total, result)]
    print("all: %d passed, %d failed, %d skipped" % tuple(total))
    return 1 if total[1] or not total[0] else 0


if __name__ == "__main__":
    sys.exit(main())
