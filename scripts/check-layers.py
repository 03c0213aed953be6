#!/usr/bin/env python3
"""Checks the #include lines of the tree against its layering.

Fails, naming file and line, when
  - a folder includes a header from a folder above it in LAYERS,
  - a portable file includes a Win32 header, or a project file that is Win32 only,
  - files include each other in a circle.
Run from anywhere; the tree is the folder above this script (or the argument).
"""
import os
import re
import subprocess
import sys

# Lowest first. A folder may include its own files and those of its layer or any
# layer below. resources/ (numeric ids, resource scripts) stands outside the order.
LAYERS = [
    ["photocd", "imaging"],
    ["settings"],
    ["imagefile"],
    ["ui"],
    ["browse", "viewer", "export", "print", "desktop", "cli", "tools"],
    ["app"],
    ["tests"],
]
OUTSIDE_ORDER = {"resources"}

# Folders whose every file is Win32 code. Resource scripts (.rc) are Win32 code
# wherever they lie; the id headers beside them are plain numbers.
WIN32_FOLDERS = ("app/", "tests/win32/")
# Window folders: only the sources of their portable "<name>_core" library (and the
# headers of the same names) are portable; the rest is Win32 code.
WINDOW_FOLDERS = ("browse", "viewer", "export", "print", "desktop")
# Win32 names end in _win (name_win.cpp, name_win.h, name_win_test.cpp).
WIN32_NAME = re.compile(r"_win(_test)?\.(cpp|h|rc)$")
WIN32_HEADERS = {
    "windows.h", "commctrl.h", "commdlg.h", "shlobj.h", "shellapi.h", "shlwapi.h",
    "objbase.h", "objidl.h", "ole2.h", "olectl.h", "oleidl.h", "winspool.h", "wingdi.h",
    "winuser.h", "winbase.h", "winreg.h", "windowsx.h", "mmsystem.h", "dbt.h",
}
# Where a quoted include is looked for after the including file's own folder and the
# tree's root: the public include folders of CMake targets.
SEARCH_DIRS = ["photocd", "tools/pcdmake", "tests/colour"]
SOURCE_EXT = (".h", ".cpp", ".inc", ".rc", ".in")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^">]+)[">]')

RANK = {folder: rank for rank, layer in enumerate(LAYERS) for folder in layer}


def source_files(root):
    try:
        out = subprocess.run(["git", "-C", root, "ls-files", "--cached", "--others", "--exclude-standard"],
                             capture_output=True, text=True, check=True).stdout.split("\n")
    except (OSError, subprocess.CalledProcessError):
        out = [os.path.relpath(os.path.join(d, f), root) for d, _, fs in os.walk(root)
               if "/build" not in d and "/." not in d for f in fs]
    return sorted(p for p in out if p.endswith(SOURCE_EXT) and os.path.isfile(os.path.join(root, p)))


def resolve(root, including, name, files):
    for base in [os.path.dirname(including), ""] + SEARCH_DIRS:
        path = os.path.normpath(os.path.join(base, name))
        if path in files:
            return path
    return None


def portable_window_files(root, folder):
    """Sources of the folder's *_core library, and headers of the same names."""
    try:
        text = open(os.path.join(root, folder, "CMakeLists.txt")).read()
    except OSError:
        return set()
    names = set()
    for match in re.finditer(r"add_library\(\s*\w+_core\s+STATIC([^)]*)\)", text):
        for source in match.group(1).split():
            stem = os.path.splitext(source)[0]
            names.update({f"{folder}/{stem}.cpp", f"{folder}/{stem}.h"})
    return names


def folder_of(path):
    return path.split("/", 1)[0]


def is_portable(path, window_portable):
    if WIN32_NAME.search(path) or path.startswith(WIN32_FOLDERS) or path.endswith((".rc", ".in")):
        return False
    top = folder_of(path)
    if top == "tests":
        parts = path.split("/")
        # Tests of a window folder follow their folder's split only by name: skip them.
        return not (len(parts) > 2 and parts[1] in WINDOW_FOLDERS)
    if top in WINDOW_FOLDERS:
        return path in window_portable
    return True


def find_cycles(graph):
    """Strongly connected components of more than one file (Tarjan, iterative)."""
    index, low, on_stack, stack, cycles, counter = {}, {}, set(), [], [], [0]
    for start in sorted(graph):
        if start in index:
            continue
        work = [(start, iter(sorted(graph[start])))]
        index[start] = low[start] = counter[0]; counter[0] += 1
        stack.append(start); on_stack.add(start)
        while work:
            node, edges = work[-1]
            for nxt in edges:
                if nxt not in index:
                    index[nxt] = low[nxt] = counter[0]; counter[0] += 1
                    stack.append(nxt); on_stack.add(nxt)
                    work.append((nxt, iter(sorted(graph.get(nxt, ())))))
                    break
                if nxt in on_stack:
                    low[node] = min(low[node], index[nxt])
            else:
                work.pop()
                if work:
                    low[work[-1][0]] = min(low[work[-1][0]], low[node])
                if low[node] == index[node]:
                    component = []
                    while True:
                        member = stack.pop(); on_stack.discard(member); component.append(member)
                        if member == node:
                            break
                    if len(component) > 1 or node in graph.get(node, ()):
                        cycles.append(sorted(component))
    return cycles


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
    files = source_files(root)
    known = set(files)
    window_portable = set().union(*(portable_window_files(root, f) for f in WINDOW_FOLDERS))
    problems, graph, lines, includes = [], {}, {}, 0

    for path in files:
        graph[path] = set()
        portable = is_portable(path, window_portable)
        with open(os.path.join(root, path), errors="replace") as source:
            for number, text in enumerate(source, 1):
                match = INCLUDE.match(text)
                if not match:
                    continue
                includes += 1
                bracket, name = match.groups()
                where = f"{path}:{number}"
                if bracket == "<":
                    if portable and name.lower() in WIN32_HEADERS:
                        problems.append(f"{where}: portable file includes the Win32 header <{name}>")
                    continue
                target = resolve(root, path, name, known)
                if target is None:
                    continue  # generated at build time
                graph[path].add(target)
                lines[(path, target)] = number
                low, high = folder_of(path), folder_of(target)
                if low in RANK and high in RANK and RANK[high] > RANK[low]:
                    problems.append(f"{where}: {low}/ includes {target}, which lies above it")
                if portable and not is_portable(target, window_portable):
                    problems.append(f"{where}: portable file includes the Win32 file {target}")

    for cycle in find_cycles(graph):
        members = set(cycle)
        steps = [f"{a}:{lines[(a, b)]} -> {b}" for a in cycle for b in sorted(graph[a] & members)]
        problems.append("files include each other in a circle: " + "; ".join(steps))

    for problem in problems:
        print(problem)
    order = " < ".join(", ".join(layer) for layer in LAYERS)
    print(f"layers: {len(files)} files, {includes} includes, order {order}: "
          f"{'ok' if not problems else f'{len(problems)} problem(s)'}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
