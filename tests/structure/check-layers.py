#!/usr/bin/env python3
"""Fails when the code base's layers or folders depend on each other the wrong way.

- A file under src/core/ includes no Qt header and nothing from src/gui/ or src/app/.
- A file under src/gui/ includes nothing from src/app/.
- No two folders include each other, directly or round a loop.
"""
import pathlib
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)


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
        for kind, name in INCLUDE.findall(path.read_text(encoding='utf-8')):
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
