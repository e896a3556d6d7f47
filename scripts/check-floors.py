#!/usr/bin/env python3
"""Fails when a product folder includes a folder above it, or code outside the
OS layer frees a handle by hand.

The product folders are floors, lowest first:

    res  win  settings  features  lock  app

A file may include files of its own floor and of the floors below, never of
one above, directly or through a chain of includes; there are no exceptions.
Within a floor, files (a .h and the .cpp of the same base name count as one
unit) do not include each other in a cycle either.

Outside win/, no product file calls a function that frees or closes a handle
(DeleteObject, DeleteDC, ReleaseDC, RegCloseKey, CloseHandle,
UnhookWindowsHookEx, DestroyIcon, DestroyMenu, DestroyWindow, FreeLibrary):
the owners in win/owner.h do.

Product headers declare fewer than MAX_GLOBALS extern variables: state
belongs to the subsystem that owns it, and a seam reaches a subsystem's
calls as one struct.

Prints what it finds, with the include line or call behind each step, and
exits with 1; prints one line and exits with 0 when all is well.

usage: check-floors.py [repository root]
"""

import os
import re
import sys

FLOORS = ("res", "win", "settings", "features", "lock", "app")
OS_LAYER = "win"
FREE_CALLS = ("DeleteObject", "DeleteDC", "ReleaseDC", "RegCloseKey", "CloseHandle",
              "UnhookWindowsHookEx", "DestroyIcon", "DestroyMenu", "DestroyWindow", "FreeLibrary")

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
MAX_GLOBALS = 30
EXTERN = re.compile(r"^\s*extern\s")
FREE_CALL = re.compile(r"\b(%s)\s*\(" % "|".join(FREE_CALLS))


def product_files(root):
    files = []
    for floor in FLOORS:
        for base, _, names in os.walk(os.path.join(root, floor)):
            for name in sorted(names):
                if os.path.splitext(name)[1] in (".h", ".cpp"):
                    path = os.path.relpath(os.path.join(base, name), root)
                    files.append(path.replace(os.sep, "/"))
    return sorted(files)


def floor_of(path):
    return FLOORS.index(path.split("/")[0])


def resolve(including, name, known):
    """The product file an include names: next to the including file, from the
    root, or from res/ (the resource folder is on the include path)."""
    for candidate in (os.path.join(os.path.dirname(including), name), name,
                      os.path.join("res", name)):
        candidate = os.path.normpath(candidate).replace(os.sep, "/")
        if candidate in known:
            return candidate
    return None


def read_includes(root, files):
    known = set(files)
    includes = {}  # file -> [(included file, "file:line: text")]
    for path in files:
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
            for number, line in enumerate(f, 1):
                match = INCLUDE.match(line)
                target = match and resolve(path, match.group(1), known)
                if target:
                    includes.setdefault(path, []).append(
                        (target, "%s:%d: %s" % (path, number, line.strip())))
    return includes


def upward_chains(files, includes):
    """For each file, the first chain of includes that reaches a floor above it."""
    problems = []
    for start in files:
        own = floor_of(start)
        seen = {start}
        queue = [(start, [])]
        while queue:
            node, chain = queue.pop(0)
            for target, line in includes.get(node, ()):
                if floor_of(target) > own:
                    problems.append((start, target, chain + [line]))
                    queue = []
                    break
                if target not in seen:
                    seen.add(target)
                    queue.append((target, chain + [line]))
    return problems


def unit_cycles(includes):
    unit = lambda path: os.path.splitext(path)[0]
    edges = {}
    for path, targets in includes.items():
        for target, line in targets:
            if unit(path) != unit(target):
                edges.setdefault(unit(path), {}).setdefault(unit(target), line)
    cycles, done = [], set()

    def visit(node, stack):
        if node in stack:
            loop = stack[stack.index(node):] + [node]
            key = frozenset(loop)
            if key not in done:
                done.add(key)
                cycles.append([edges[a][b] for a, b in zip(loop, loop[1:])])
            return
        if node in finished:
            return
        for target in sorted(edges.get(node, ())):
            visit(target, stack + [node])
        finished.add(node)

    finished = set()
    for node in sorted(edges):
        visit(node, [])
    return cycles


def hand_frees(root, files):
    found = []
    for path in files:
        if path.split("/")[0] == OS_LAYER:
            continue
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
            for number, line in enumerate(f, 1):
                code = line.split("//")[0]
                match = FREE_CALL.search(code)
                if match:
                    found.append("%s:%d: %s" % (path, number, line.strip()))
    return found


def header_externs(root, files):
    found = []
    for path in files:
        if not path.endswith(".h"):
            continue
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
            for number, line in enumerate(f, 1):
                if EXTERN.match(line) and not line.strip().startswith('extern "C"'):
                    found.append("%s:%d: %s" % (path, number, line.strip()))
    return found


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else
                           os.path.join(os.path.dirname(__file__), ".."))
    files = product_files(root)
    includes = read_includes(root, files)
    upward = upward_chains(files, includes)
    cycles = unit_cycles(includes)
    frees = hand_frees(root, files)
    externs = header_externs(root, files)
    too_many = len(externs) >= MAX_GLOBALS
    if not upward and not cycles and not frees and not too_many:
        print("floors: %d product files; no include of a floor above (%s), no include cycle, "
              "no handle freed outside %s/, %d externs in headers" %
              (len(files), " < ".join(FLOORS), OS_LAYER, len(externs)))
        return 0
    for start, target, chain in upward:
        print("%s reaches %s, a floor above it:" % (start, target))
        for line in chain:
            print("    " + line)
    for cycle in cycles:
        print("include cycle:")
        for line in cycle:
            print("    " + line)
    if frees:
        print("handles freed by hand outside %s/ (use an owner of win/owner.h):" % OS_LAYER)
        for line in frees:
            print("    " + line)
    if too_many:
        print("%d externs in product headers, %d at most:" % (len(externs), MAX_GLOBALS - 1))
        for line in externs:
            print("    " + line)
    print("")
    print("Floors, lowest first: %s. Move what a lower floor needs down, or hand it"
          % ", ".join(FLOORS))
    print("over from above at start-up (as app/ hands MainWindowProc to lock/).")
    return 1


if __name__ == "__main__":
    sys.exit(main())
