#!/usr/bin/env python3
"""Checks that dependencies run one way: every #include "..." of a layer's
files names a header of its own layer or of a layer it may use, as
cmake/layers.txt says; portable core/ files include only core/ headers.

Usage: check-layers.py [SOURCE_ROOT]   (default: the folder above scripts/)
Prints each offending include as FILE:LINE and exits 1 when there is one.
"""

import pathlib
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
SOURCE_SUFFIXES = {".h", ".hpp", ".cpp", ".c", ".rc", ".in"}


def read_table(root):
    """Rows (folder, library, uses) in table order; uses only of earlier rows."""
    rows = []
    libraries = {}
    errors = []
    for number, line in enumerate((root / "cmake" / "layers.txt").read_text().splitlines(), 1):
        line = line.split("#", 1)[0].split()
        if not line:
            continue
        folder, library, uses = line[0], line[1], [u for u in line[2:] if u != "-"]
        for used in uses:
            if used not in libraries:
                errors.append(f"cmake/layers.txt:{number}: {library} uses {used}, "
                              "which is not a layer below it")
        libraries[library] = folder
        rows.append((folder, library, uses))
    return rows, errors


def closure(rows):
    """For each folder, the folders its files may include: its own and below."""
    uses = {library: used for _, library, used in rows}
    folder_of = {library: folder for folder, library, _ in rows}
    allowed = {}
    for folder, library, _ in rows:
        seen, stack = set(), [library]
        while stack:
            current = stack.pop()
            if current in seen:
                continue
            seen.add(current)
            stack.extend(uses.get(current, []))
        allowed[folder] = {folder_of[lib] for lib in seen}
    return allowed


def layer_of(path, folders):
    """The layer folder holding a path (the longest matching folder), or None."""
    best = None
    for folder in folders:
        if path == folder or path.startswith(folder + "/"):
            if best is None or len(folder) > len(best):
                best = folder
    return best


def is_core(path, folder):
    return path[len(folder) + 1:].startswith("core/")


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parent.parent)
    rows, errors = read_table(root)
    folders = [folder for folder, _, _ in rows]
    allowed = closure(rows)
    checked = 0
    for folder in folders:
        base = root / folder
        if not base.is_dir():
            errors.append(f"cmake/layers.txt: no folder {folder}")
            continue
        for file in sorted(base.rglob("*")):
            if file.suffix not in SOURCE_SUFFIXES or not file.is_file():
                continue
            path = file.relative_to(root).as_posix()
            own = layer_of(path, folders)
            if own != folder:
                continue  # a file of a nested layer, checked with that layer
            checked += 1
            for number, text in enumerate(file.read_text(errors="replace").splitlines(), 1):
                match = INCLUDE.match(text)
                if not match:
                    continue
                target = match.group(1)
                used = layer_of(target, folders)
                if used is None:
                    continue  # resources, generated files, a tool's own headers
                where = f"{path}:{number}: includes {target}"
                if used not in allowed[own]:
                    errors.append(f"{where}: {own} may use only "
                                  + ", ".join(sorted(allowed[own])))
                elif is_core(path, own) and not is_core(target, used):
                    errors.append(f"{where}: a portable core/ file includes only core/ headers")
    for error in errors:
        print(error, file=sys.stderr)
    if errors:
        print(f"check-layers: {len(errors)} include(s) break the layer rule (cmake/layers.txt)",
              file=sys.stderr)
        return 1
    print(f"check-layers: {checked} files follow cmake/layers.txt")
    return 0


if __name__ == "__main__":
    sys.exit(main())
