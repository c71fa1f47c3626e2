#!/usr/bin/env python3
"""The cases of a test program that ctest runs one by one must all be registered: a new or renamed case
that nobody registered would never run, and nothing would notice.

    registered_cases.py RUNNER PROGRAM CASE...    RUNNER runs PROGRAM (the Wine wrapper); each CASE is
                                                  Suite.Name as registered
"""
import subprocess
import sys


def listed_cases(output):
    cases, suite = set(), None
    for line in output.splitlines():
        if not line.strip() or line.startswith("Running main()"):
            continue
        if not line.startswith(" "):
            suite = line.split("#", 1)[0].strip()
        elif suite:
            cases.add(suite + line.split("#", 1)[0].strip())
    return cases


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    runner, program, registered = sys.argv[1], sys.argv[2], set(sys.argv[3:])
    run = subprocess.run([runner, program, "--gtest_list_tests"], capture_output=True, text=True, timeout=120)
    listed = listed_cases(run.stdout)
    if run.returncode != 0 or not listed:
        print(f"could not list the cases of {program} (status {run.returncode})\n{run.stderr}")
        return 1
    missing, stale = sorted(listed - registered), sorted(registered - listed)
    for case in missing:
        print(f"never runs: {case} is not registered in tests/CMakeLists.txt")
    for case in stale:
        print(f"registered but not in the program: {case}")
    if not missing and not stale:
        print(f"all {len(listed)} cases of {program} are registered")
    return 1 if missing or stale else 0


if __name__ == "__main__":
    sys.exit(main())
