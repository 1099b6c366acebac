#!/usr/bin/env python3
"""Fails on any #include that goes against the layers, naming file and line.

The layers are the folder order of the top-level CMakeLists.txt: a folder may include
its own headers and those of folders listed before it, never those listed after it.
An include is judged by the file it reaches, found as the compiler finds it (a quoted
name first beside the including file, then from the source root), so "forms/x.h",
"../shell/x.h" and <shell/x.h> are judged alike; a Qt header is known however it is
spelled (<QWidget>, <qwidget.h>, <QtWidgets/qwidget.h>).
On top of that, logic folders (every folder that is neither a user-interface folder
nor a forms/ folder) include no Qt and no header of a user-interface folder or of any
forms/ folder. Tests follow the folder they test (tests/logimport_forms tests
logimport/forms, tests/dialogs_qt tests dialogs); the tests of a logic folder may also
set a site up through the shell's logic. app/, bench/ and fuzz/ sit on top and may
include anything.

usage: scripts/check_layers.py [SOURCE_ROOT]
"""
import glob
import os
import re
import sys

from source_files import source_files

# Folders whose libraries use Qt widgets; every forms/ folder is one as well.
UI_FOLDERS = {"platform/ui", "platform/grid", "platform/chart", "window", "dialogs"}
# The grid's cell store has no Qt and builds a library of its own below the grid.
CELL_STORE = "platform/grid/cell_store"
CELLS = "platform/grid/cells"
TOP_FOLDERS = {"app", "bench", "fuzz"}
SKIP_DIRS = {"resources", "docs", "scripts", "cmake", "run"}

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
QT_NAME = re.compile(r"^(Qt[A-Za-z]*/)?(Q[A-Za-z]|q[a-z0-9_]*\.h$)")


def qt_headers():
    """The names by which the installed Qt headers can be included."""
    names = set()
    for qt in glob.glob("/usr/include/*/qt6") + glob.glob("/usr/include/qt6"):
        for module in os.listdir(qt):
            folder = os.path.join(qt, module)
            if os.path.isdir(folder):
                for name in os.listdir(folder):
                    names.update({name, f"{module}/{name}"})
    return names


QT_HEADERS = qt_headers()


def is_qt(name):
    return name in QT_HEADERS or bool(QT_NAME.match(name))


def resolved(root, path, kind, name):
    """The source-root path of the file the include reaches, or None outside the tree."""
    candidates = [name]
    if kind == '"':
        candidates.insert(0, os.path.normpath(os.path.join(os.path.dirname(path), name)))
    for candidate in candidates:
        if not candidate.startswith("..") and os.path.isfile(os.path.join(root, candidate)):
            return os.path.relpath(os.path.realpath(os.path.join(root, candidate)), os.path.realpath(root))
    return None


def layer_order(root):
    text = open(os.path.join(root, "CMakeLists.txt"), encoding="utf-8").read()
    match = re.search(r"foreach\(dir IN ITEMS(.*?)\)", text, re.S)
    if not match:
        sys.exit("check_layers: no folder list in CMakeLists.txt")
    folders = match.group(1).split()
    # The cell store sits just above core, which it uses.
    folders.insert(folders.index("core") + 1, CELLS)
    return {folder: rank for rank, folder in enumerate(folders)}


def is_ui(folder):
    return folder in UI_FOLDERS or folder.endswith("/forms")


def folder_of(path, order):
    """The layer folder a source path belongs to, or None for app/ and bench/."""
    if path.startswith(CELL_STORE + "."):
        return CELLS
    best = None
    for folder in order:
        if (path.startswith(folder + "/")) and (best is None or len(folder) > len(best)):
            best = folder
    return best


def tested_folder(path, order):
    """The folder a file under tests/ tests: tests/x_forms is x/forms, tests/dialogs_qt
    is dialogs; tests/support serves the logic tests."""
    rest = path[len("tests/"):]
    parts = rest.split("/")
    if parts[0] == "support":
        return "core"
    name = parts[0]
    if name.endswith("_forms"):
        name = name[: -len("_forms")] + "/forms"
    elif name == "dialogs_qt":
        name = "dialogs"
    elif name == "platform" and len(parts) > 2:
        name = "platform/" + parts[1]
    return name if name in order else None


def check_file(root, path, order, problems):
    in_tests = path.startswith("tests/")
    own = tested_folder(path, order) if in_tests else folder_of(path, order)
    if own is None:
        # app/ and bench/ sit on top, and so do the tests of app/.
        top = path.split("/")[1] if in_tests else path.split("/")[0]
        if top in TOP_FOLDERS:
            return
        problems.append(f"{path}: the folder has no layer: list it in CMakeLists.txt")
        return
    # The Qt application of the forms' tests is a forms-level helper.
    if path == "tests/support/qt_test_application.h":
        return
    logic = not is_ui(own)
    with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
        for number, line in enumerate(f, 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            kind, name = match.groups()
            where = f"{path}:{number}: #include {kind}{name}{'>' if kind == '<' else chr(34)}"
            reached = resolved(root, path, kind, name)
            if reached is None:
                # Not in the tree: a Qt or system header, or one to come, judged by its name.
                if logic and is_qt(name):
                    problems.append(f"{where}: logic folder {own} uses no Qt")
                if kind == "<" and folder_of(name, order) is None:
                    continue
                reached = name
            if reached.startswith("tests/support/"):
                if logic and reached == "tests/support/qt_test_application.h":
                    problems.append(f"{where}: the tests of {own} run without a QApplication")
                continue
            target = tested_folder(reached, order) if reached.startswith("tests/") else folder_of(reached, order)
            if target is None:
                if reached.split("/")[0] in TOP_FOLDERS and not path.split("/")[0] in TOP_FOLDERS:
                    problems.append(f"{where}: nothing includes {reached.split('/')[0]}/")
                continue
            if in_tests and logic and target == "shell":
                continue  # tests build and open sites through the shell's logic
            if order[target] > order[own]:
                problems.append(f"{where}: {own} is below {target}")
            elif logic and is_ui(target):
                problems.append(f"{where}: logic folder {own} includes the user-interface folder {target}")


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
    order = layer_order(root)
    problems = []
    for path in source_files(root, SKIP_DIRS):
        check_file(root, path, order, problems)
    for p in problems:
        print(p)
    if problems:
        print(f"check_layers: {len(problems)} include(s) against the layers", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
