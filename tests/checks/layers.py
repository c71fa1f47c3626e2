#!/usr/bin/env python3
"""Folders under src/ are layers: a file includes only folders of layers below its own. No include points
up, none goes sideways to a neighbour of the same layer, so no two folders ever include each other.

    layers.py SRC_DIR        check the tree
    layers.py --self-test    show that an upward and a sideways include, one that cannot be placed, and an
                             empty tree are caught
"""
import os
import posixpath
import re
import sys
import tempfile

# Top to bottom; folders on one line are neighbours of one layer.
LAYERS = [
    ["app"],
    ["show", "settings_dialog"],
    ["transitions", "effects"],
    ["catalogue", "settings"],
    ["runtime/forms"],
    ["runtime/picture"],
    ["runtime/base"],
]
RANK = {folder: rank for rank, folders in enumerate(LAYERS) for folder in folders}
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.M)


def folder_of(relative_path):
    """The layer folder a path under src/ belongs to (the longest known prefix), or None."""
    best = None
    for folder in RANK:
        if relative_path == folder or relative_path.startswith(folder + "/"):
            if best is None or len(folder) > len(best):
                best = folder
    return best


def violations(src):
    found = []
    scanned = 0

    def refuse(error):
        raise error

    for root, _, files in os.walk(src, onerror=refuse):
        for name in files:
            if not name.endswith((".h", ".cpp", ".rc")):
                continue
            path = os.path.join(root, name)
            rel = os.path.relpath(path, src).replace(os.sep, "/")
            own = folder_of(rel)
            if own is None:
                found.append(f"{rel}: lies in no layer folder")
                continue
            with open(path, encoding="utf-8") as f:
                text = f.read()
            scanned += 1
            for target in INCLUDE.findall(text):
                if "/" not in target:
                    continue  # a file beside it (generated, resources)
                placed = posixpath.normpath(target)
                other = folder_of(placed)
                if other is None:
                    found.append(f"{rel}: includes {target}, which lies in no layer folder")
                    continue
                if other == own:
                    continue
                if RANK[other] <= RANK[own]:
                    kind = "up" if RANK[other] < RANK[own] else "sideways"
                    found.append(f"{rel}: includes {target} ({own} -> {other}, {kind})")
    if scanned == 0:
        found.append(f"{src}: no source file to check")
    return found


def self_test():
    with tempfile.TemporaryDirectory() as tmp:
        def write(rel, text):
            os.makedirs(os.path.dirname(os.path.join(tmp, rel)), exist_ok=True)
            with open(os.path.join(tmp, rel), "w", encoding="utf-8") as f:
                f.write(text)
        if not any("no source file" in v for v in violations(tmp)):
            return "an empty tree passed"
        write("show/a.cpp", '#include "transitions/b.h"\n#include "runtime/base/c.h"\n')
        if violations(tmp):
            return "a downward include was refused"
        write("runtime/base/e.h", '#include "../../show/a.h"\n')
        if not any("runtime/base/e.h" in v and "no layer folder" in v for v in violations(tmp)):
            return "an include that cannot be placed was not caught"
        os.remove(os.path.join(tmp, "runtime/base/e.h"))
        write("transitions/b.h", '#include "show/a.h"\n')
        write("effects/d.h", '#include "transitions/b.h"\n')
        found = violations(tmp)
        if not any("transitions/b.h" in v and "up" in v for v in found):
            return "an upward include was not caught"
        if not any("effects/d.h" in v and "sideways" in v for v in found):
            return "a sideways include was not caught"
    return None


def main():
    if sys.argv[1:] == ["--self-test"]:
        problem = self_test()
        print(problem or "the layer check catches upward and sideways includes, one it cannot place, and an empty tree")
        return 1 if problem else 0
    found = violations(sys.argv[1])
    for v in found:
        print(v)
    if not found:
        print("every include goes down the layers")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
