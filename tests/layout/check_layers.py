#!/usr/bin/env python3
"""Checks that the includes between the folders of src/ run one way only.

Each folder of src/ sits in a layer; a file may include headers of its own folder and of lower
layers. Folders of one layer never include each other (the task subsystems stand side by side).
A folder that is not in the table fails the check, so a new subsystem has to take its place here.

usage: check_layers.py SRC_DIR     prints each offending include as FILE:LINE: reason; exit 1 if any
"""
import pathlib
import re
import sys

# Lowest first.
LAYERS = [
    ("platform",),                               # the only door to Windows
    ("core",),                                   # text, dates, helpers, log, working fields, report page
    ("env",),                                    # server discovery, tool location, firebird.conf
    ("script",),                                 # batch files and the command-line generator
    ("tasks", "serverconf", "conntest", "install"),  # the task subsystems, side by side
    ("convert",),                                # the conversion: builds on tasks and conntest
    ("app",),                                    # the main window and WinMain
]

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
SOURCE_SUFFIXES = {".h", ".hpp", ".cpp", ".cc", ".c"}


def layer_of(folder):
    for rank, folders in enumerate(LAYERS):
        if folder in folders:
            return rank
    return None


def check_file(path, src, folders):
    """The problems of one source file, as "FILE:LINE: reason" texts."""
    problems = []
    relative = path.relative_to(src)
    shown = path.as_posix()
    if len(relative.parts) < 2:
        return [f"{shown}:1: a source file directly in src/; put it into the folder of its subsystem"]
    own = relative.parts[0]
    own_rank = layer_of(own)
    if own_rank is None:
        return [f"{shown}:1: src/{own}/ is not in the layer table of {pathlib.Path(__file__).name}"]
    text = path.read_text(encoding="utf-8", errors="replace")
    for number, line in enumerate(text.splitlines(), start=1):
        match = INCLUDE.match(line)
        if not match:
            continue
        bracket, target = match.groups()
        parts = target.split("/")
        if len(parts) == 1:
            if bracket == '"':
                problems.append(f'{shown}:{number}: "{target}" names no folder; include it as "<folder>/{target}"')
            continue
        folder = parts[0]
        rank = layer_of(folder)
        if rank is None and bracket == "<" and folder not in folders:
            continue  # a system or library header
        if rank is None:
            problems.append(f'{shown}:{number}: includes "{target}", but src/{folder}/ is not in the layer table')
        elif folder == own:
            continue
        elif rank > own_rank:
            problems.append(f'{shown}:{number}: includes "{target}": {own}/ may not include {folder}/, a higher layer')
        elif rank == own_rank:
            problems.append(f'{shown}:{number}: includes "{target}": {own}/ and {folder}/ stand side by side '
                            f'and may not include each other')
    return problems


def check_tree(src):
    src = pathlib.Path(src)
    folders = {entry.name for entry in src.iterdir() if entry.is_dir()}
    problems = []
    for path in sorted(src.rglob("*")):
        if path.is_file() and path.suffix in SOURCE_SUFFIXES:
            problems += check_file(path, src, folders)
    return problems


def main(argv):
    if len(argv) != 2:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    problems = check_tree(argv[1])
    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} include(s) against the layers; lowest first: "
              + " < ".join("/".join(folders) for folders in LAYERS))
        return 1
    print("includes follow the layers: " + " < ".join("/".join(folders) for folders in LAYERS))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
