#!/usr/bin/env python3
"""Fails when the product's files include each other in a cycle.

The graph is built from the `#include "..."` lines of every .h and .cpp file
under app/, settings/, lock/ and features/, and the headers under res/. A .h
file and the .cpp file of the same base name in the same folder are one unit
(app/tray.h and app/tray.cpp are "app/tray"): the header's includes and the
source's includes are both the unit's. An edge A -> B means some file of A
includes a header of B.

Allowed edges: ALLOWED below lists the edges that may close a cycle, each with
its reason. They are taken out of the graph before cycles are looked for, so
a cycle passes only when one of its edges is listed. Today there is exactly
one: the padlock's window class (lock/cover_windows) hands its messages to the
main window procedure, MainWindowProc, which is declared in app/main_window.h.

Prints every cycle it finds, unit by unit with the include line behind each
step, and exits with 1; prints one line and exits with 0 when there is none.

usage: check-include-cycles.py [repository root]
"""

import os
import re
import sys

FOLDERS = ("app", "settings", "lock", "features")
HEADER_ONLY_FOLDERS = ("res",)

ALLOWED = {
    ("lock/cover_windows", "app/main_window"):
        "the padlock window class uses MainWindowProc",
}

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')


def product_files(root):
    files = []
    for folder in FOLDERS + HEADER_ONLY_FOLDERS:
        top = os.path.join(root, folder)
        for base, _, names in os.walk(top):
            for name in sorted(names):
                ext = os.path.splitext(name)[1]
                if ext == ".h" or (ext == ".cpp" and folder in FOLDERS):
                    path = os.path.relpath(os.path.join(base, name), root)
                    files.append(path.replace(os.sep, "/"))
    return sorted(files)


def unit_of(path):
    return os.path.splitext(path)[0]


def resolve(root, including, name, known):
    """The product file an include names: next to the including file, from the
    root, or from res/ (the resource folder is on the include path)."""
    candidates = [
        os.path.normpath(os.path.join(os.path.dirname(including), name)),
        os.path.normpath(name),
        os.path.normpath(os.path.join("res", name)),
    ]
    for candidate in candidates:
        candidate = candidate.replace(os.sep, "/")
        if candidate in known:
            return candidate
    return None


def build_graph(root):
    files = product_files(root)
    known = set(files)
    edges = {}  # (from unit, to unit) -> first "file:line" that makes it
    units = set(unit_of(f) for f in files)
    for path in files:
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
            for number, line in enumerate(f, 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                target = resolve(root, path, match.group(1), known)
                if target is None:
                    continue
                a, b = unit_of(path), unit_of(target)
                if a != b:
                    edges.setdefault((a, b), "%s:%d: %s" % (path, number, line.strip()))
    return units, edges


def strongly_connected(units, successors):
    """Tarjan's algorithm, iterative; returns the components."""
    index = {}
    low = {}
    on_stack = set()
    stack = []
    components = []
    counter = [0]
    for start in sorted(units):
        if start in index:
            continue
        work = [(start, iter(sorted(successors.get(start, ()))))]
        index[start] = low[start] = counter[0]
        counter[0] += 1
        stack.append(start)
        on_stack.add(start)
        while work:
            node, children = work[-1]
            advanced = False
            for child in children:
                if child not in index:
                    index[child] = low[child] = counter[0]
                    counter[0] += 1
                    stack.append(child)
                    on_stack.add(child)
                    work.append((child, iter(sorted(successors.get(child, ())))))
                    advanced = True
                    break
                if child in on_stack:
                    low[node] = min(low[node], index[child])
            if advanced:
                continue
            work.pop()
            if work:
                parent = work[-1][0]
                low[parent] = min(low[parent], low[node])
            if low[node] == index[node]:
                component = []
                while True:
                    member = stack.pop()
                    on_stack.discard(member)
                    component.append(member)
                    if member == node:
                        break
                components.append(sorted(component))
    return components


def shortest_cycle(start, members, successors):
    """Shortest path start -> ... -> start inside one component."""
    previous = {start: None}
    queue = [start]
    while queue:
        node = queue.pop(0)
        for child in sorted(successors.get(node, ())):
            if child not in members:
                continue
            if child == start:
                path = [node]
                while previous[path[-1]] is not None:
                    path.append(previous[path[-1]])
                path.reverse()
                return path + [start]
            if child not in previous:
                previous[child] = node
                queue.append(child)
    return [start]


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else
                           os.path.join(os.path.dirname(__file__), ".."))
    units, edges = build_graph(root)
    successors = {}
    for (a, b) in edges:
        if (a, b) not in ALLOWED:
            successors.setdefault(a, set()).add(b)

    cycles = [c for c in strongly_connected(units, successors) if len(c) > 1]
    if not cycles:
        print("include cycles: none among %d units (allowed: %s)" % (
            len(units), "; ".join("%s -> %s, %s" % (a, b, why)
                                  for (a, b), why in sorted(ALLOWED.items()))))
        return 0

    print("include cycles: %d group(s) of product files include each other" % len(cycles))
    for number, members in enumerate(cycles, 1):
        member_set = set(members)
        print("")
        print("cycle %d: %s" % (number, ", ".join(members)))
        # One concrete loop per unit of the group, without repeating a loop.
        shown = set()
        for unit in members:
            loop = shortest_cycle(unit, member_set, successors)
            key = frozenset(zip(loop, loop[1:]))
            if len(loop) < 2 or key in shown:
                continue
            shown.add(key)
            print("  " + " -> ".join(loop))
            for a, b in zip(loop, loop[1:]):
                print("      %s" % edges[(a, b)])
    print("")
    print("Break each cycle (move what both sides need into a leaf file, or pass it in);")
    print("an edge that must stay goes into ALLOWED in scripts/check-include-cycles.py.")
    return 1


if __name__ == "__main__":
    sys.exit(main())
