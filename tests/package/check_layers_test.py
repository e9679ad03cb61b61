"""Tests of scripts/check-layers.sh: the tree as it is passes, and a copy of it
with one include against the layer table fails, naming the file and line."""

import os
import shutil
import subprocess
import tempfile
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SCRIPT = os.path.join(ROOT, "scripts", "check-layers.sh")
FOLDERS = ["platform", "winutil", "components", "msglog", "hook", "forms", "app", "tools", "tests", "fuzz", "bench"]


def check(root):
    return subprocess.run(["bash", SCRIPT, root], capture_output=True, text=True)


def copy_sources(to):
    """The folders' .h and .cpp files, where they are in the repository."""
    def others(folder, names):
        return [n for n in names
                if not os.path.isdir(os.path.join(folder, n)) and not n.endswith((".h", ".cpp"))]
    for folder in FOLDERS:
        shutil.copytree(os.path.join(ROOT, folder), os.path.join(to, folder), ignore=others)


class CheckLayersTest(unittest.TestCase):
    def test_the_tree_follows_the_table(self):
        result = check(ROOT)
        self.assertEqual(result.returncode, 0, result.stderr)

    def test_an_include_against_the_table_is_named_by_file_and_line(self):
        cases = [  # file, include added as its second line, the row that refuses it
            ("platform/toolkit/classes.h", '"forms/core/layout_kinds.h"', "platform/toolkit/"),
            ("platform/platform_services.h", '"platform/toolkit/classes.h"', "platform/"),
            ("platform/toolkit/win32/timer.h", '"platform/win32/message_window.h"', "platform/toolkit/win32/"),
            ("components/SysHot.cpp", '"components/win32/advanced_panel.h"', "components/"),
            ("components/win32/advanced_panel.cpp", '"forms/Vexlan_unit1.h"', "components/win32/"),
            ("forms/Vexlan_unit4.h", '"tests/win32/toolkit_test_support.h"', "forms/"),
            ("winutil/tree_model.cpp", "<Windows.h>", "winutil/"),
            ("tests/unit/utf_test.cpp", "<commctrl.h>", "tests/unit/"),
        ]
        for path, include, row in cases:
            with self.subTest(path=path, include=include), tempfile.TemporaryDirectory() as tree:
                copy_sources(tree)
                with open(os.path.join(tree, path), encoding="utf-8") as f:
                    lines = f.read().split("\n")
                lines.insert(1, "#include " + include)
                with open(os.path.join(tree, path), "w", encoding="utf-8") as f:
                    f.write("\n".join(lines))
                result = check(tree)
                self.assertEqual(result.returncode, 1)
                faults = [line for line in result.stderr.splitlines() if not line.startswith("check-layers:")]
                self.assertEqual(len(faults), 1, result.stderr)
                self.assertTrue(faults[0].startswith(f"{path}:2: includes {include}, which {row} may not include"),
                                faults[0])


if __name__ == "__main__":
    unittest.main()
