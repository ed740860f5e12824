#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Every #include of the libraries' sources, read against the README's table of the layers:
    check_includes.py SOURCE_DIR QT_INCLUDE_ROOT
A file's folder gives its row (the longest folder of the table that holds it); its row's "May
include" gives the project folders (`core/`, `platform/*.h` for the folder's own headers alone)
and the Qt modules (Qt Widgets brings Qt Gui; Qt Core comes with every module) it may include;
"everything above" is anything. The generated version.h counts as a folder of its
own. Other headers (the standard library's, the system's) are not the table's. Prints each
break and exits 1 when there is one."""
import os
import re
import sys

SOURCE = sys.argv[1]
QT_ROOT = sys.argv[2]
# What a Qt module brings with it, for a file that may include it.
BRINGS = {"Widgets": {"Gui"}, "Multimedia": {"Gui", "Network"}, "OpenGLWidgets": {"Widgets", "Gui"}}
GENERATED = {"version.h": "version.h"}


def table():
    """[(folder, [allowed project folders], {Qt modules}, everything_above)] in the table's order."""
    rows = []
    text = open(os.path.join(SOURCE, "README.md"), encoding="utf-8").read()
    section = text[text.index("## For developers"):]
    for line in section.splitlines():
        if not line.startswith("| `"):
            continue
        cells = [c.strip() for c in line.strip().strip("|").split("|")]
        if len(cells) < 4:
            continue
        folders = re.findall(r"`([^`]+/)`", cells[0])
        may = cells[3]
        if not may or not folders:
            continue
        allowed = re.findall(r"`([^`]+)`", may)
        # "Qt D-Bus" is the module QtDBus.
        modules = {m.replace("-", "") for m in re.findall(r"Qt ([A-Za-z-]+)", may)}
        for folder in folders:
            rows.append((folder, allowed, modules, "everything above" in may))
    return rows


def qt_modules():
    """Header name -> Qt module, for <QLabel>, <qlabel.h> and <QtWidgets/QLabel>."""
    owner = {}
    for module in os.listdir(QT_ROOT):
        path = os.path.join(QT_ROOT, module)
        if not module.startswith("Qt") or not os.path.isdir(path):
            continue
        for header in os.listdir(path):
            if os.path.isfile(os.path.join(path, header)):
                owner.setdefault(header, module[2:])
                owner["%s/%s" % (module, header)] = module[2:]
        owner[module] = module[2:]
    return owner


def row_of(path, rows):
    """The row of the longest folder that holds path; tools/<name>/ only where no folder does."""
    literal = [r for r in rows if "<" not in r[0] and path.startswith(r[0])]
    if literal:
        return max(literal, key=lambda r: len(r[0]))
    for row in rows:
        pattern = re.escape(row[0]).replace(re.escape("<name>"), "[^/]+")
        if "<" in row[0] and re.match(pattern, path):
            return row
    return None


def allows(row, target):
    """Whether a file of row may include the project header target (a path from SOURCE)."""
    folder, allowed, _, above = row
    if above:
        return True
    for entry in allowed:
        if entry.endswith("*.h"):
            base = entry[:-len("*.h")]
            if target.startswith(base) and "/" not in target[len(base):]:
                return True
        elif entry.endswith("/") and target.startswith(entry):
            return True
        elif entry == target:
            return True
    return target.startswith(folder)


def qt_allowed(row, module):
    folder, _, modules, above = row
    if above or module == "Core":
        return True
    given = set(modules)
    for m in modules:
        given |= BRINGS.get(m, set())
    return module in given


def main():
    rows = table()
    if not rows:
        sys.exit("no table of layers found in README.md")
    owner = qt_modules()
    include = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
    breaks = []
    for top in sorted({r[0].split("/")[0] for r in rows}):
        for dirpath, _, files in os.walk(os.path.join(SOURCE, top)):
            for name in sorted(files):
                if not name.endswith((".h", ".cpp")):
                    continue
                path = os.path.relpath(os.path.join(dirpath, name), SOURCE)
                row = row_of(path, rows)
                if row is None:
                    continue
                for number, line in enumerate(open(os.path.join(SOURCE, path), encoding="utf-8"), 1):
                    m = include.match(line)
                    if not m:
                        continue
                    target = m.group(2)
                    where = "%s:%d: %s" % (path, number, target)
                    if target in GENERATED:
                        if not allows(row, GENERATED[target]):
                            breaks.append("%s: the generated %s is not in %s's row" % (where, target, row[0]))
                    elif os.path.isfile(os.path.join(SOURCE, target)) and "/" in target:
                        if not allows(row, target):
                            breaks.append("%s: %s may not include it" % (where, row[0]))
                    elif target in owner and not qt_allowed(row, owner[target]):
                        breaks.append("%s: Qt %s is not in %s's row" % (where, owner[target], row[0]))
    for b in breaks:
        print(b)
    print("%d #include lines broke the README's table" % len(breaks) if breaks else "every #include keeps the README's table")
    sys.exit(1 if breaks else 0)


if __name__ == "__main__":
    main()
