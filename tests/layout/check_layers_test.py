#!/usr/bin/env python3
"""The layer check fails on each kind of wrong include, naming the file and line."""
import pathlib
import sys
import tempfile
import unittest

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import check_layers  # noqa: E402


class LayerCheck(unittest.TestCase):
    def tree(self, files):
        folder = tempfile.TemporaryDirectory()
        self.addCleanup(folder.cleanup)
        src = pathlib.Path(folder.name) / "src"
        for name, text in files.items():
            path = src / name
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_text(text, encoding="utf-8")
        return src

    def test_downward_and_own_folder_includes_pass(self):
        src = self.tree({
            "platform/fs.h": "#pragma once\n#include <windows.h>\n",
            "core/text.h": '#include <string>\n#include "platform/fs.h"\n',
            "script/batch.cpp": '#include "script/batch.h"\n#include "env/paths.h"\n#include "core/text.h"\n',
            "tasks/run_win.cpp": '#include "script/batch.h"\n#include <gtest/gtest.h>\n',
            "app/main.cpp": '#include "tasks/run_win.h"\n#include "install/kit.h"\n#include "convert/run.h"\n',
            "convert/run.cpp": '#include "tasks/fdb.h"\n#include "conntest/try_win.h"\n#include "script/batch.h"\n',
        })
        self.assertEqual(check_layers.check_tree(src), [])

    def test_wrong_includes_fail_with_file_and_line(self):
        cases = [
            # (file, its text, expected words of the one problem)
            ("core/text.cpp", '#include "core/text.h"\n\n#include "app/texts.h"\n', ["core/text.cpp:3:", "higher layer"]),
            ("env/conf.cpp", '#include "script/batch.h"\n', ["env/conf.cpp:1:", "script/", "higher layer"]),
            ("tasks/run.cpp", '#include <string>\n#  include "install/kit.h"\n', ["tasks/run.cpp:2:", "side by side"]),
            ("install/kit.cpp", '#include "serverconf/conf.h"\n', ["install/kit.cpp:1:", "side by side"]),
            ("platform/fs.cpp", '#include <core/text.h>\n', ["platform/fs.cpp:1:", "higher layer"]),
            ("core/text.cpp", '#include "text.h"\n', ["core/text.cpp:1:", "names no folder"]),
            ("reports/run.cpp", '#include "tasks/run.h"\n', ["reports/run.cpp:1:", "not in the layer table"]),
            ("tasks/run.cpp", '#include "reports/run.h"\n', ["tasks/run.cpp:1:", "not in the layer table"]),
            ("tasks/run.cpp", '#include "convert/run.h"\n', ["tasks/run.cpp:1:", "convert/", "higher layer"]),
            ("conntest/try.cpp", '#include "convert/run.h"\n', ["conntest/try.cpp:1:", "higher layer"]),
            ("convert/run.cpp", '#include "app/texts.h"\n', ["convert/run.cpp:1:", "app/", "higher layer"]),
            ("main.cpp", "int main() {}\n", ["main.cpp:1:", "directly in src/"]),
        ]
        for name, text, words in cases:
            with self.subTest(name=name, text=text):
                problems = check_layers.check_tree(self.tree({name: text}))
                self.assertEqual(len(problems), 1, problems)
                for word in words:
                    self.assertIn(word, problems[0])

    def test_the_command_fails_and_prints_the_problems(self):
        src = self.tree({"core/text.cpp": '#include "tasks/run.h"\n'})
        self.assertEqual(check_layers.main(["check_layers.py", str(src)]), 1)
        self.assertEqual(check_layers.main(["check_layers.py", str(self.tree({"core/a.h": ""}))]), 0)


if __name__ == "__main__":
    unittest.main()
