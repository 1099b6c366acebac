"""The layer check on a small source tree of its own, and on the project itself."""
import os
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.abspath(sys.argv.pop(1) if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "../.."))
SCRIPT = os.path.join(ROOT, "scripts/check_layers.py")

CMAKE = """foreach(dir IN ITEMS
    platform/sys core platform/ui window dialogs shell shell/forms logimport logimport/forms analysis analysis/forms)
endforeach()
"""


def run(root):
    r = subprocess.run([sys.executable, SCRIPT, root], capture_output=True, text=True)
    return r.returncode, r.stdout.splitlines()


class CheckLayers(unittest.TestCase):
    def tree(self, files):
        root = tempfile.mkdtemp()
        files = {"CMakeLists.txt": CMAKE, **files}
        for path, text in files.items():
            os.makedirs(os.path.dirname(os.path.join(root, path)), exist_ok=True)
            with open(os.path.join(root, path), "w") as f:
                f.write(text)
        return root

    def test_includes_against_the_layers_are_named_by_file_and_line(self):
        cases = [
            ("core/a.cpp", '#include "window/w.h"\n', "core/a.cpp:1:", "below window"),
            ("core/a.cpp", "// x\n#include <QWidget>\n", "core/a.cpp:2:", "uses no Qt"),
            ("logimport/a.cpp", '#include "dialogs/d.h"\n', "logimport/a.cpp:1:", "user-interface folder dialogs"),
            ("logimport/a.cpp", '#include "shell/forms/m.h"\n', "logimport/a.cpp:1:", "user-interface folder shell/forms"),
            ("shell/a.cpp", '#include "dialogs/d.h"\n', "shell/a.cpp:1:", "user-interface folder dialogs"),
            ("logimport/a.cpp", '#include "logimport/forms/f.h"\n', "logimport/a.cpp:1:", "below logimport/forms"),
            ("analysis/a.cpp", '#include "logimport/forms/f.h"\n', "analysis/a.cpp:1:", "user-interface folder"),
            ("logimport/a.cpp", '#include "analysis/r.h"\n', "logimport/a.cpp:1:", "below analysis"),
            ("tests/logimport/t.cpp", '#include "tests/support/qt_test_application.h"\n',
             "tests/logimport/t.cpp:1:", "without a QApplication"),
            ("tests/logimport/t.cpp", '#include "window/w.h"\n', "tests/logimport/t.cpp:1:", "user-interface"),
            ("reports/a.cpp", "\n", "reports/a.cpp", "no layer"),
        ]
        for path, text, where, why in cases:
            with self.subTest(path=path, text=text):
                code, out = run(self.tree({path: text}))
                self.assertEqual(code, 1)
                self.assertEqual(len(out), 1, out)
                self.assertTrue(out[0].startswith(where), out)
                self.assertIn(why, out[0])

    def test_includes_are_judged_by_the_file_they_reach(self):
        targets = {"analysis/forms/results_window.h": "", "shell/sites.h": ""}
        cases = [
            ("analysis/a.cpp", '#include "forms/results_window.h"\n', "below analysis/forms"),
            ("analysis/a.cpp", "#include <analysis/forms/results_window.h>\n", "below analysis/forms"),
            ("core/a.cpp", "#include <shell/sites.h>\n", "below shell"),
            ("core/a.cpp", '#include "../shell/sites.h"\n', "below shell"),
            ("core/a.cpp", "#include <qstring.h>\n", "uses no Qt"),
            ("core/a.cpp", "#include <QtWidgets/qwidget.h>\n", "uses no Qt"),
        ]
        for path, text, why in cases:
            with self.subTest(path=path, text=text):
                code, out = run(self.tree({**targets, path: text}))
                self.assertEqual(code, 1)
                self.assertEqual(len(out), 1, out)
                self.assertTrue(out[0].startswith(path + ":1:"), out)
                self.assertIn(why, out[0])

    def test_includes_along_the_layers_pass(self):
        files = {
            "core/a.cpp": '#include "core/b.h"\n#include "platform/sys/f.h"\n#include <string>\n',
            "logimport/a.cpp": '#include "core/b.h"\n#include "logimport/c.h"\n#include "shell/s.h"\n',
            "logimport/forms/a.cpp": '#include "logimport/c.h"\n#include "dialogs/d.h"\n#include <QWidget>\n',
            "analysis/a.cpp": '#include "logimport/c.h"\n',
            "tests/logimport/t.cpp": '#include "shell/s.h"\n#include "tests/support/fake.h"\n',
            "tests/logimport_forms/q.cpp": '#include "tests/support/qt_test_application.h"\n',
            "app/main.cpp": '#include "logimport/forms/a.h"\n#include "shell/s.h"\n',
        }
        self.assertEqual(run(self.tree(files)), (0, []))

    def test_the_project_keeps_its_layers(self):
        code, out = run(ROOT)
        self.assertEqual((code, out), (0, []))


if __name__ == "__main__":
    unittest.main()
