#!/usr/bin/env python3
# Breaks the programs on purpose, one breakage at a time, and shows which tests notice.
#
# Reads breakages.toml beside this script, clones the repository at REV (by default HEAD) into
# /tmp/snowquill-breakages and builds it once; then for each breakage makes its change, builds,
# runs the tests it names and puts the file back. Prints a row a breakage: its name, whether it
# was caught, and by which tests. Slow (about a minute a breakage of the programs under Wine), so
# scripts/test.sh does not run it.
#
#     tests/breakages/run.py [REV [NAME ...]]
#
# NAME runs only the breakages whose name contains it; BREAKAGES_TREE names another scratch clone.
import os
import pathlib
import subprocess
import sys
import tomllib

HERE = pathlib.Path(__file__).resolve().parent
TREE = os.environ.get('BREAKAGES_TREE', '/tmp/snowquill-breakages')
XVFB = ['xvfb-run', '-a', '-s', '-screen 0 1600x1200x24']


def passes(command):
    return subprocess.run(command, cwd=TREE, capture_output=True).returncode == 0


def test_command(test):
    if test == 'build_checks':
        return ['ctest', '--test-dir', 'build/win32', '-R', '^build_checks$']
    if test.startswith('e2e_'):
        return XVFB + ['ctest', '--test-dir', 'build/win64', '-R', '^' + test + '$', '-FS', 'e2e_wine']
    return ['build/native/tests/unit/' + test]


# The builds the tests need: the end-to-end tests drive the 32-bit programs, and a breakage may
# name unit tests beside them.
def presets(tests):
    if any(test.startswith('e2e_') for test in tests):
        return ['native', 'win32', 'win64']
    return ['win32'] if 'build_checks' in tests else ['native']


def apply(breakage):
    path = pathlib.Path(TREE, breakage['file'])
    data = path.read_bytes()
    if 'truncate_to' in breakage:
        data = data[:breakage['truncate_to']]
    elif data.count(breakage['old'].encode()) == 1:
        data = data.replace(breakage['old'].encode(), breakage['new'].encode())
    else:
        return False
    path.write_bytes(data)
    return True


def main():
    breakages = tomllib.loads((HERE / 'breakages.toml').read_text())['breakage']
    names = sys.argv[2:]
    if names:
        breakages = [b for b in breakages if any(name in b['name'] for name in names)]
    subprocess.run(['rm', '-rf', TREE], check=True)
    subprocess.run(['git', 'clone', '-q', HERE.parent.parent, TREE], check=True)
    revision = sys.argv[1] if len(sys.argv) > 1 else 'HEAD'
    subprocess.run(['git', 'checkout', '-q', revision], cwd=TREE, check=True)
    if not passes(['scripts/build.sh']):
        sys.exit('run.py: the tree does not build unbroken')
    passes(XVFB + ['ctest', '--test-dir', 'build/win64', '-R', '^e2e_wine_prefix_setup$'])
    print('| Breakage | Caught | By |\n|---|---|---|')
    for breakage in breakages:
        failing = []
        if not apply(breakage):
            outcome = 'text not found'
        elif not passes(['scripts/build.sh'] + presets(breakage['tests'])):
            outcome = 'does not build'
        else:
            failing = [test for test in breakage['tests'] if not passes(test_command(test))]
            outcome = 'yes' if failing else '**no**'
        subprocess.run(['git', 'checkout', '-q', '--', breakage['file']], cwd=TREE, check=True)
        print('| %s | %s | %s |' % (breakage['name'], outcome, ', '.join(failing)), flush=True)


if __name__ == '__main__':
    main()
