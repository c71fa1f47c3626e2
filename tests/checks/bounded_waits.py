#!/usr/bin/env python3
"""Every wait of the program has a limit: no source under src/ waits for ever (INFINITE), sleeps (Sleep),
or joins a thread (join(), which has no limit). The few places that must are listed below, each with why.

    bounded_waits.py SRC_DIR        check the tree
    bounded_waits.py --self-test    show that each kind is caught, that the allow-list works, and that an
                                    empty tree fails
"""
import os
import re
import sys
import tempfile

# path under src/ -> why it may
ALLOWED = {}

PATTERNS = [
    (re.compile(r"\bINFINITE\b"), "waits for ever (INFINITE)"),
    (re.compile(r"\bSleep(Ex)?\s*\("), "sleeps (Sleep)"),
    (re.compile(r"\bjoin\s*\(\s*\)"), "joins a thread without a limit (join())"),
]


def code_of(line):
    """The line without its // comment, and without the contents of string literals."""
    line = re.sub(r'"(\\.|[^"\\])*"', '""', line)
    return line.split("//", 1)[0]


def violations(src, allowed):
    found = []
    scanned = 0

    def refuse(error):
        raise error

    for root, _, files in os.walk(src, onerror=refuse):
        for name in sorted(files):
            if not name.endswith((".h", ".cpp")):
                continue
            path = os.path.join(root, name)
            rel = os.path.relpath(path, src).replace(os.sep, "/")
            scanned += 1
            if rel in allowed:
                continue
            with open(path, encoding="utf-8") as f:
                for number, line in enumerate(f, 1):
                    code = code_of(line)
                    for pattern, what in PATTERNS:
                        if pattern.search(code):
                            found.append(f"{rel}:{number}: {what}: {line.strip()}")
    if scanned == 0:
        found.append(f"{src}: no source file to check")
    for rel, why in allowed.items():
        if not why.strip():
            found.append(f"{rel}: allowed without a reason")
    return found


def self_test():
    with tempfile.TemporaryDirectory() as tmp:
        def write(rel, text):
            os.makedirs(os.path.dirname(os.path.join(tmp, rel)), exist_ok=True)
            with open(os.path.join(tmp, rel), "w", encoding="utf-8") as f:
                f.write(text)
        if not any("no source file" in v for v in violations(tmp, {})):
            return "an empty tree passed"
        write("show/a.cpp", "// Sleep(1) and join() in a comment are fine\nauto s = \"INFINITE\";\n"
                            "t.join(limit);\nWaitFor(100);\n")
        if violations(tmp, {}):
            return "a bounded wait, a comment or a string was refused"
        write("show/b.cpp", "WaitForSingleObject(h, INFINITE);\n")
        write("show/c.cpp", "  Sleep(10);\n")
        write("show/d.cpp", "worker.join();\n")
        found = violations(tmp, {})
        for name, kind in (("b.cpp", "INFINITE"), ("c.cpp", "Sleep"), ("d.cpp", "join()")):
            if not any(name in v and kind in v for v in found):
                return f"{kind} was not caught"
        if any("d.cpp" in v for v in violations(tmp, {"show/d.cpp": "a reason"})):
            return "an allowed file was refused"
        if not any("without a reason" in v for v in violations(tmp, {"show/d.cpp": " "})):
            return "an entry without a reason passed"
    return None


def main():
    if sys.argv[1:] == ["--self-test"]:
        problem = self_test()
        print(problem or "the wait check catches INFINITE, Sleep and join(), honours its allow-list, refuses an empty tree")
        return 1 if problem else 0
    found = violations(sys.argv[1], ALLOWED)
    for v in found:
        print(v)
    if not found:
        print("every wait under src/ has a limit")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
