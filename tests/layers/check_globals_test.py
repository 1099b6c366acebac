"""The globals check on small source trees of its own, and on the project itself."""
import os
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.abspath(sys.argv.pop(1) if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "../.."))
SCRIPT = os.path.join(ROOT, "scripts/check_globals.py")

DOC = """# Architecture

## Globals

| Globals | Declared in | Written by | Why global |
|---|---|---|---|
| `gListed`, `current` | `core/a.h`, `core/b.cpp` | start-up | read everywhere |

## Next
| `gNotTheTable` | `core/a.h` | - | - |
"""
LISTED = "inline int gListed = 0;\n"
SEAM = "namespace {\nint* current = nullptr;\n}\n"


def run(files, doc=DOC):
    root = tempfile.mkdtemp()
    files = {"docs/ARCHITECTURE.md": doc, "core/a.h": LISTED, "core/b.cpp": SEAM, **files}
    for path, text in files.items():
        os.makedirs(os.path.dirname(os.path.join(root, path)), exist_ok=True)
        with open(os.path.join(root, path), "w") as f:
            f.write(text)
    r = subprocess.run([sys.executable, SCRIPT, root], capture_output=True, text=True)
    return r.returncode, r.stdout


class CheckGlobals(unittest.TestCase):
    def test_a_mutable_global_not_in_the_table_is_named_by_file_and_line(self):
        cases = [
            ("core/c.h", "#pragma once\ninline std::string gNew;\n", "core/c.h:2: mutable global `gNew`"),
            ("core/c.cpp", "namespace {\n\nlong counter = 0;\n}\n", "core/c.cpp:3: mutable global `counter`"),
            ("core/c.cpp", "namespace core {\nnamespace {\nstd::map<int, std::vector<int>> cache{{1, {}}};\n}\n}\n",
             "core/c.cpp:3: mutable global `cache`"),
            ("core/c.cpp", "static bool shown = false, asked;\n", "core/c.cpp:1: mutable global `asked`"),
            ("core/c.cpp", "QT_BEGIN_NAMESPACE\nclass QWidget;\nQT_END_NAMESPACE\nnamespace ui {\nQWidget* last;\n}\n",
             "core/c.cpp:5: mutable global `last`"),
            ("core/c.cpp", "int gListed = 0;\n", "core/c.cpp:1: mutable global `gListed`"),  # listed for core/a.h
        ]
        for path, text, expected in cases:
            with self.subTest(text=text):
                code, out = run({path: text})
                self.assertEqual(code, 1)
                self.assertIn(expected, out)

    def test_constants_functions_members_and_locals_are_not_globals(self):
        text = "\n".join([
            '#include "core/a.h"',
            "#define LIMIT 3",
            "inline constexpr int kMax = 3;",
            'inline const std::string kName = "x;y";',
            "const char* const kTable[] = {\"a\", \"b\"};",
            "extern char** environ;",
            "using Handler = std::function<void(int)>;",
            "bool read(const std::string& path, const Handler& onLine = {}, int limit = 0);",
            "std::string name(int n) { static std::string last; int local = n; return last; }",
            "struct Record {\n    int count = 0;\n    std::vector<int> items;\n};",
            "class Box {\npublic:\n    static inline int made = 0;\n    void f() { int x = 0; }\n};",
            "enum class Kind { A, B };",
            "template <class T> struct Holder { T value; };",
            "Box& Box::operator=(const Box&) = default;",
            "namespace fs = std::filesystem;",
            "auto kSquare = [](int x) { return x * x; };  // a mutable lambda object is still a variable",
        ])
        line = text.count("\n", 0, text.index("auto kSquare")) + 1
        code, out = run({"core/c.cpp": text})
        self.assertEqual([l.split(" is not")[0] for l in out.strip().splitlines()],
                         [f"core/c.cpp:{line}: mutable global `kSquare`"])

    def test_the_table_names_only_what_the_code_declares(self):
        self.assertEqual(run({}), (0, ""))
        code, out = run({"core/b.cpp": "int other = 0;\n"})
        self.assertEqual(code, 1)
        self.assertIn("docs/ARCHITECTURE.md:7: `current` is listed, but no file of its row declares it", out)
        self.assertIn("core/b.cpp is listed, but declares none of its row's globals", out)
        self.assertIn("core/b.cpp:1: mutable global `other`", out)

    def test_tests_benches_and_fuzzers_are_left_out(self):
        for path in ("tests/core/x_test.cpp", "bench/x/main.cpp", "fuzz/x.cpp"):
            self.assertEqual(run({path: "int gState = 0;\n"}), (0, ""))

    def test_the_project_lists_its_globals(self):
        r = subprocess.run([sys.executable, SCRIPT, ROOT], capture_output=True, text=True)
        self.assertEqual(r.returncode, 0, r.stdout)


if __name__ == "__main__":
    unittest.main()
