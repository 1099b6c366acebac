#!/usr/bin/env python3
"""Fails when the program's code declares a mutable namespace-scope variable that the
globals table of docs/ARCHITECTURE.md does not list, or when the table lists one the
code no longer declares, naming file and line.

A variable counts when it is declared at namespace scope (a named or unnamed
namespace, or none) in a .h or .cpp file of the program (tests/, bench/ and fuzz/ are
left out) and is neither const nor constexpr; extern declarations count where the
variable is defined. Function-local statics and class members are not namespace
scope. The table is the one under the heading "## Globals": each row names its
variables in backticks in the first column and the file that declares them in the
second.

usage: scripts/check_globals.py [SOURCE_ROOT]
"""
import os
import re
import sys

from source_files import source_files

SKIP_DIRS = {"tests", "bench", "fuzz", "resources", "docs", "scripts", "cmake"}
DOC = "docs/ARCHITECTURE.md"
SKIPPED_STATEMENT = re.compile(
    r"(using|typedef|template|friend|static_assert|class|struct|enum|union|namespace|extern)\b")


def strip_code(text):
    """The text without comments, string and character literals, or preprocessor
    lines; line breaks are kept so that line numbers stay right."""
    out = []
    i, n = 0, len(text)
    at_line_start = True
    while i < n:
        c = text[i]
        if at_line_start and c == "#":
            j = i
            while True:
                j = text.find("\n", j)
                if j < 0 or text[j - 1] != "\\":
                    break
                j += 1
            j = n if j < 0 else j
            out.append("\n" * text.count("\n", i, j))
            i = j
            continue
        if c == "\n":
            at_line_start = True
        elif not c.isspace():
            at_line_start = False
        if text.startswith("//", i):
            j = text.find("\n", i)
            i = n if j < 0 else j
            continue
        if text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            out.append("\n" * text.count("\n", i, j))
            i = j
            continue
        raw = re.match(r'R"([^(\s]*)\(', text[i:i + 20]) if c == "R" else None
        if raw and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == "_")):
            end = text.find(")" + raw.group(1) + '"', i)
            end = n if end < 0 else end + len(raw.group(1)) + 2
            out.append('""' + "\n" * text.count("\n", i, end))
            i = end
            continue
        if c in "\"'" and not (c == "'" and i > 0 and text[i - 1].isalnum()):  # 1'000 digit separators
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            out.append(c + c)
            i = j + 1
            continue
        out.append(c)
        i += 1
    return "".join(out)


def normalised(text):
    """One line, without the macros (QT_BEGIN_NAMESPACE) that may lead a statement."""
    return re.sub(r"^([A-Z][A-Z0-9_]+ )+", "", " ".join(text.split()))


def without_template_arguments(text):
    previous = None
    while previous != text:
        previous = text
        text = re.sub(r"<[^<>;{}]*>", "", text)
    return text


def split_top_level(text, sep):
    parts, depth, current = [], 0, []
    for c in text:
        if c in "([{":
            depth += 1
        elif c in ")]}":
            depth -= 1
        if c == sep and depth == 0:
            parts.append("".join(current))
            current = []
        else:
            current.append(c)
    parts.append("".join(current))
    return parts


def declared_variables(statement):
    """The names a namespace-scope statement declares as mutable variables."""
    s = normalised(statement)
    if not s or SKIPPED_STATEMENT.match(s) or "operator" in s:
        return []
    s = without_template_arguments(s)
    parts = split_top_level(s, ",")
    first = split_top_level(parts[0], "=")[0]
    if "(" in first or re.search(r"\b(const|constexpr)\b", first):
        return []
    names = []
    for part in parts:
        declarator = re.sub(r"\[[^\]]*\]", "", split_top_level(part, "=")[0]).rstrip()
        declarator = re.sub(r"\{.*\}$", "", declarator).rstrip()
        m = re.search(r"([A-Za-z_]\w*)$", declarator)
        if m and m.group(1) not in {"inline", "static", "thread_local"}:
            names.append(m.group(1))
    return names


def block_is_namespace(header):
    h = normalised(header)
    return bool(re.match(r"(inline )?namespace\b", h) or re.match(r'extern ""$', h))


def brace_initialises(header):
    """A "{" after this header at namespace scope starts a variable's initializer."""
    h = without_template_arguments(normalised(header))
    if h.count("(") > h.count(")"):
        return True  # a default argument or an expression: the statement goes on
    if not h or SKIPPED_STATEMENT.match(h):
        return False
    before = split_top_level(h, "=")
    return len(before) > 1 or "(" not in h


def globals_in(path, text):
    """(line, name) of each mutable namespace-scope variable of a file."""
    code = strip_code(text)
    found = []
    stack = []  # True for a namespace block
    statement, start_line, line = [], 1, 1
    held = None  # a variable's header while its brace initializer is skipped
    for c in code:
        if c == "\n":
            line += 1
        at_namespace_scope = all(stack)
        if c == "{":
            header = "".join(statement)
            if at_namespace_scope and block_is_namespace(header):
                stack.append(True)
                statement = []
                continue
            stack.append(False)
            if at_namespace_scope:
                held = header if brace_initialises(header) else None
                statement = []
            continue
        if c == "}":
            if stack:
                stack.pop()
            if all(stack):
                statement = [held + "{}"] if held is not None else []
                held = None
            continue
        if not at_namespace_scope:
            continue
        if c == ";":
            for name in declared_variables("".join(statement)):
                found.append((start_line, name))
            statement = []
            continue
        if not statement and c.isspace():
            continue
        if not statement:
            start_line = line
        statement.append(c)
    return found


def listed_globals(root):
    """(doc line, names, files) of each row of the globals table."""
    rows = []
    in_section = False
    with open(os.path.join(root, DOC), encoding="utf-8") as f:
        for number, row in enumerate(f, 1):
            if row.startswith("## "):
                in_section = row.strip() == "## Globals"
                continue
            if not in_section or not row.startswith("|"):
                continue
            cells = row.strip().strip("|").split("|")
            names = re.findall(r"`([^`]+)`", cells[0])
            files = re.findall(r"`([^`]+)`", cells[1]) if len(cells) > 1 else []
            if names and files:
                rows.append((number, set(names), set(files)))
    return rows


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
    declared = {}
    for path in source_files(root, SKIP_DIRS):
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
            for line, variable in globals_in(path, f.read()):
                declared.setdefault((path, variable), line)
    rows = listed_globals(root)
    problems = []
    for (path, variable), line in sorted(declared.items()):
        if not any(variable in names and path in files for _, names, files in rows):
            problems.append(f"{path}:{line}: mutable global `{variable}` is not in the globals table of {DOC}: "
                            "pass it instead, make it const, or list it with who writes it and why")
    for number, names, files in rows:
        for variable in sorted(names):
            if not any((path, variable) in declared for path in files):
                problems.append(f"{DOC}:{number}: `{variable}` is listed, but no file of its row declares it as "
                                "a mutable global")
        for path in sorted(files):
            if not any((path, variable) in declared for variable in names):
                problems.append(f"{DOC}:{number}: {path} is listed, but declares none of its row's globals")
    for p in problems:
        print(p)
    if problems:
        print(f"check_globals: {len(problems)} difference(s) between the code and the globals table",
              file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
