#!/usr/bin/env python3
"""Breaks the programs on purpose, one breakage at a time, and shows which tests notice.

Reads breakages.toml beside this script, clones the repository (at --commit, by default HEAD)
into a scratch folder and builds it once; then for each breakage makes its change, builds what
its tests need, runs them and puts the file back. Prints a row a breakage: its name, whether it
was caught, and by which tests. Slow (about a minute a breakage of the programs under Wine), so
scripts/test.sh does not run it.

    tests/breakages/run.py [--commit REV] [--scratch DIR] [--all] [NAME ...]
    tests/breakages/run.py --check

NAME runs only the breakages whose name contains it. --all runs every test of each build a
breakage needs instead of the tests it names (for an older suite whose tests had other names).
--check only tells which breakages no longer find their text in this checkout.
"""
import argparse
import os
import re
import shutil
import subprocess
import tomllib

HERE = os.path.dirname(os.path.abspath(__file__))
XVFB = ['xvfb-run', '-a', '-s', '-screen 0 1024x768x24']
WINE_FIXTURE = ['-FS', 'e2e_wine', '-FC', 'e2e_wine']


def build_of(test):
    if test == 'build_checks':
        return 'win32'
    if test.startswith('e2e_'):
        return 'win64'
    return 'native'


def run(command, tree):
    result = subprocess.run(command, cwd=tree, capture_output=True, text=True)
    return result.returncode, result.stdout + result.stderr


def build(tree, builds):
    presets = sorted(builds)
    if 'win64' in builds and 'win32' not in builds:
        presets.insert(0, 'win32')  # the end-to-end tests drive the 32-bit programs
    status, _ = run(['scripts/build.sh'] + presets, tree)
    return status == 0


def native_program(tree, name):
    for folder, _, files in os.walk(os.path.join(tree, 'build', 'native', 'tests')):
        if name in files:
            return os.path.join(folder, name)
    return name


def ctest_failures(output):
    return re.findall(r'^\s*\d+ - (\S+) \(', output.split('tests FAILED:')[-1], re.M) if 'FAILED:' in output else []


def failing_tests(tree, tests, everything):
    failing = []
    builds = {build_of(test) for test in tests}
    if everything:
        for preset in builds:
            command = ['ctest', '--preset', preset]
            if preset == 'win64':
                command = XVFB + command + ['-E', '^e2e_wine_prefix_'] + WINE_FIXTURE
            failing += ctest_failures(run(command, tree)[1])
        return failing
    for test in tests:
        if build_of(test) == 'native':
            status, _ = run([native_program(tree, test)], tree)
        else:
            command = ['ctest', '--test-dir', 'build/' + build_of(test), '-R', '^' + test + '$']
            if test.startswith('e2e_'):
                command = XVFB + command + WINE_FIXTURE
            status, _ = run(command, tree)
        if status != 0:
            failing.append(test)
    return failing


def apply(tree, breakage, dry=False):
    path = os.path.join(tree, breakage['file'])
    with open(path, 'rb') as source:
        data = source.read()
    if 'truncate_to' in breakage:
        changed = data[:breakage['truncate_to']]
    else:
        old = breakage['old'].encode()
        if data.count(old) != 1:
            return False
        changed = data.replace(old, breakage['new'].encode())
    if dry:
        return True
    with open(path, 'wb') as target:
        target.write(changed)
    return True


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('--commit', default='HEAD')
    parser.add_argument('--scratch', default='/tmp/snowquill-breakages')
    parser.add_argument('--all', action='store_true')
    parser.add_argument('--check', action='store_true')
    parser.add_argument('names', nargs='*')
    args = parser.parse_args()
    with open(os.path.join(HERE, 'breakages.toml'), 'rb') as listing:
        breakages = tomllib.load(listing)['breakage']
    if args.names:
        breakages = [b for b in breakages if any(name in b['name'] for name in args.names)]
    if args.check:
        top = os.path.dirname(os.path.dirname(HERE))
        for breakage in breakages:
            if 'old' in breakage and not apply(top, breakage, dry=True):
                print('text not found: %s (%s)' % (breakage['name'], breakage['file']))
        return
    tree = args.scratch
    shutil.rmtree(tree, ignore_errors=True)
    subprocess.run(['git', 'clone', '-q', os.path.dirname(os.path.dirname(HERE)), tree], check=True)
    subprocess.run(['git', 'checkout', '-q', args.commit], cwd=tree, check=True)
    if not build(tree, {'native', 'win32', 'win64'}):
        raise SystemExit('run.py: the unbroken tree does not build')
    run(XVFB + ['ctest', '--test-dir', 'build/win64', '-R', '^e2e_wine_prefix_setup$'], tree)
    print('| Breakage | Caught | By |')
    print('|---|---|---|')
    caught = 0
    for breakage in breakages:
        builds = {build_of(test) for test in breakage['tests']}
        failing = []
        if not apply(tree, breakage):
            outcome = 'text not found'
        elif not build(tree, builds):
            outcome = 'does not build'
        else:
            failing = failing_tests(tree, breakage['tests'], args.all)
            outcome = 'yes' if failing else '**no**'
        caught += 1 if failing else 0
        subprocess.run(['git', 'checkout', '-q', '--', breakage['file']], cwd=tree, check=True)
        print('| %s | %s | %s |' % (breakage['name'], outcome, ', '.join(failing)), flush=True)
    run(['ctest', '--test-dir', 'build/win64', '-R', '^e2e_wine_prefix_cleanup$'], tree)
    print('%d of %d caught' % (caught, len(breakages)))


if __name__ == '__main__':
    main()
