#!/usr/bin/env python3
"""Fails when the code base's layers or folders depend on each other the wrong way.

- A file under src/core/ includes no Qt header and nothing from src/gui/ or src/app/.
- A file under src/gui/ includes nothing from src/app/.
- No two folders include each other, directly or round a loop.
- In src/core/ and src/gui/, only core/common/Platform.h and files named for
  their platform (_xcb, _dbus, _cups, _none, _posix, _win, _mac), which CMake
  picks, ask with #if which platform or library there is.
"""
import pathlib
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)
CONDITION = re.compile(r'^\s*#\s*(if|ifdef|ifndef|elif)\b', re.M)
PLATFORM_FILE = re.compile(r'_(xcb|dbus|cups|none|posix|win|mac)\.(h|cpp)$')
CONFIG_HEADER = 'core/common/Platform.h'


def folder_of(path, src):
    return path.parent.relative_to(src).as_posix()


def main(src):
    src = pathlib.Path(src).resolve()
    problems = []
    edges = {}
    for path in sorted(src.rglob('*')):
        if path.suffix not in ('.h', '.cpp'):
            continue
        folder = folder_of(path, src)
        layer = folder.split('/')[0]
        edges.setdefault(folder, set())
        text = path.read_text(encoding='utf-8')
        if layer in ('core', 'gui') and not PLATFORM_FILE.search(path.name) and \
                path.relative_to(src).as_posix() != CONFIG_HEADER:
            for match in CONDITION.finditer(text):
                line = text.count('\n', 0, match.start()) + 1
                problems.append(f'{path.relative_to(src)}:{line}: #{match.group(1)} outside {CONFIG_HEADER} '
                                'and the platforms\' own files')
        for kind, name in INCLUDE.findall(text):
            where = f'{path.relative_to(src)}: #include {kind}{name}'
            if kind == '<':
                if layer == 'core' and re.match(r'Q[A-Za-z]|Qt', name):
                    problems.append(f'{where}: the core uses no Qt')
                continue
            target = src / name if '/' in name else path.parent / name
            if not target.exists():
                continue
            to = folder_of(target.resolve(), src)
            to_layer = to.split('/')[0]
            if layer == 'core' and to_layer != 'core':
                problems.append(f'{where}: the core includes only the core')
            if layer == 'gui' and to_layer == 'app':
                problems.append(f'{where}: the windows do not include the program')
            if to != folder:
                edges[folder].add(to)

    # Every loop between folders, found by a depth-first walk.
    state = {}
    stack = []

    def walk(folder):
        state[folder] = 'open'
        stack.append(folder)
        for to in sorted(edges.get(folder, ())):
            if state.get(to) == 'open':
                loop = stack[stack.index(to):] + [to]
                problems.append('folders include each other: ' + ' -> '.join(loop))
            elif to not in state:
                walk(to)
        stack.pop()
        state[folder] = 'done'

    for folder in sorted(edges):
        if folder not in state:
            walk(folder)

    for problem in problems:
        print(problem)
    print(f'{len(edges)} folders checked, {len(problems)} problems')
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else 'src'))
