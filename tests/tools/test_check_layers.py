"""Tests of tools/check-layers.py on small made-up trees (run by ctest natively)."""
import os
import subprocess
import sys
import tempfile
import textwrap
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
SCRIPT = os.path.normpath(os.path.join(HERE, '..', '..', 'tools', 'check-layers.py'))


class CheckLayersTest(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.root = self.tmp.name

    def tearDown(self):
        self.tmp.cleanup()

    def write(self, path, text=''):
        full = os.path.join(self.root, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, 'w', encoding='utf-8') as f:
            f.write(textwrap.dedent(text))

    def check(self, *extra):
        result = subprocess.run([sys.executable, '-B', SCRIPT, '--root', self.root, '--folders', 'lib', 'app',
                                 *extra], capture_output=True, text=True)
        return result.returncode, result.stdout

    def two_layers(self):
        # lib/low is below lib/high; app sits on top through an aggregate defined at the root.
        self.write('CMakeLists.txt', '''
            add_library(everything STATIC)
            target_link_libraries(everything PUBLIC high)  # app links what "everything" links
            ''')
        self.write('lib/CMakeLists.txt', 'add_subdirectory(low)\nadd_subdirectory(high)\n')
        self.write('lib/low/CMakeLists.txt', 'add_library(low STATIC Low.cpp)\n')
        self.write('lib/high/CMakeLists.txt', '''
            add_library(high STATIC
              High.cpp)
            target_link_libraries(high
              PUBLIC low)
            ''')
        self.write('app/CMakeLists.txt', 'add_library(app STATIC Main.cpp)\ntarget_link_libraries(app PRIVATE everything)\n')
        self.write('lib/low/Low.h')
        self.write('lib/low/Low.cpp', '#include "lib/low/Low.h"\n#include <vector>\n#include "generated.h"\n')
        self.write('lib/high/High.h', '#include "lib/low/Low.h"\n')
        self.write('lib/high/High.cpp', '#include "High.h"\n')
        self.write('app/Main.cpp', '#include "lib/high/High.h"\n#include "lib/low/Low.h"\n')

    def test_declared_edges_pass_directly_and_through_other_targets(self):
        self.two_layers()
        status, out = self.check()
        self.assertEqual(status, 0, out)
        self.assertIn('0 failures', out)

    def test_an_include_against_the_edges_fails_with_its_place(self):
        self.two_layers()
        self.write('lib/low/Low.cpp', '#include "lib/low/Low.h"\n\n#include "lib/high/High.h"\n')
        status, out = self.check()
        self.assertEqual(status, 1, out)
        self.assertIn('FAIL: lib/low -> lib/high', out)
        self.assertIn('lib/low/Low.cpp:3: #include "lib/high/High.h"', out)

    def test_layers_that_include_each_other_fail_even_when_both_edges_are_declared(self):
        self.two_layers()
        self.write('lib/low/CMakeLists.txt', 'add_library(low STATIC Low.cpp)\ntarget_link_libraries(low PUBLIC high)\n')
        self.write('lib/low/Low.cpp', '#include "lib/high/High.h"\n')
        status, out = self.check()
        self.assertEqual(status, 1, out)
        self.assertIn('layers include each other: lib/high, lib/low', out)
        self.assertIn("the build's library edges loop through: lib/high, lib/low", out)

    def test_a_listed_crossing_is_reported_but_allowed_until_its_entry_goes(self):
        self.two_layers()
        self.write('lib/low/Low.cpp', '#include "lib/high/High.h"\n')
        self.write('allow.txt', '# known\nlib/low -> lib  # a folder stands for the layers below it\n')
        status, out = self.check('--allow', os.path.join(self.root, 'allow.txt'))
        self.assertEqual(status, 0, out)
        self.assertIn('known: lib/low -> lib/high', out)
        # Without the entry the same tree fails.
        status, _ = self.check('--allow', os.path.join(self.root, 'missing.txt'))
        self.assertEqual(status, 1)

    def test_a_folder_without_its_own_library_belongs_to_the_layer_above_it(self):
        # lib/high/detail has no CMakeLists.txt: its files are lib/high's, and a relative include
        # from there into lib/low still counts as lib/high's edge. A folder named like a build
        # folder's prefix ("builder") is a layer like any other.
        self.two_layers()
        self.write('lib/high/detail/Part.cpp', '#include "../../low/Low.h"\n')
        self.write('lib/builder/CMakeLists.txt', 'add_library(builder STATIC B.cpp)\n')
        self.write('lib/builder/B.cpp', '#include "lib/high/High.h"\n')
        status, out = self.check()
        self.assertEqual(status, 1, out)
        self.assertIn('FAIL: lib/builder -> lib/high', out)
        self.assertNotIn('lib/high -> lib/low', out)


if __name__ == '__main__':
    unittest.main()
