#!/usr/bin/env python3
"""Checks the tree against the layout table of the README.

Every folder of the tree has a row and every row a folder, and each folder
under src/ includes headers only from itself and the folders (or libraries)
its row allows. Headers are included by bare name, so a name is looked up
among the headers of src/ and tools/.

The front ends only ask the core and show: no file of theirs takes a
processor's locks (ModelLock, CommLock) itself, since every use case that
needs them is one call of the core.

Usage: check_layout.py [SOURCE_DIR]; exits 1 and names each fault.
"""
import os
import re
import sys

LIBRARIES = {"Qt": re.compile(r"^Q|^Qt"), "hidapi": re.compile(r"^hidapi"),
             "libxlsxwriter": re.compile(r"^xlsxwriter")}
TOP_LEVEL_SKIPPED = re.compile(r"^(\.|build)")
FRONT_ENDS = ("src/view", "src/dialogs", "src/pages", "src/graph", "tools")
LOCK_TAKEN = re.compile(r"^[^/]*?\b(ModelLock|CommLock|m_csModel|m_csComm)\b")


def layout_rows(readme):
    """Folder → set of what it may include, from the table's rows (only the
    Layout section's: other tables, like the commands', look the same)."""
    rows = {}
    section = readme.split("\n## Layout", 1)[-1].split("\n## ", 1)[0]
    for line in section.splitlines():
        cells = [c.strip() for c in line.strip().strip("|").split("|")]
        if len(cells) != 3 or not cells[0].startswith("`"):
            continue
        folder = cells[0].strip("`").rstrip("/")
        allowed = set()
        for word in re.split(r"[,;]\s*", cells[2]):
            word = word.strip().strip("`").split(" ")[0]
            if word and word != "—":
                allowed.add(word)
        rows[folder] = allowed
    return rows


def tree_folders(root):
    folders = set()
    for name in os.listdir(root):
        if os.path.isdir(os.path.join(root, name)) and not TOP_LEVEL_SKIPPED.match(name):
            folders.add(name)
    for name in os.listdir(os.path.join(root, "src")):
        if os.path.isdir(os.path.join(root, "src", name)):
            folders.add("src/" + name)
    folders.discard("src")
    return folders


def header_homes(root):
    homes = {}
    for top in ("src", "tools"):
        for folder, _, files in os.walk(os.path.join(root, top)):
            for name in files:
                if name.endswith(".h"):
                    homes.setdefault(name, set()).add(os.path.relpath(folder, root))
    return homes


def include_faults(root, folder, allowed, homes):
    faults = []
    short = {f.split("/")[-1] for f in allowed}
    path = os.path.join(root, folder)
    for name in sorted(os.listdir(path)):
        with open(os.path.join(path, name), encoding="utf-8", errors="replace") as source:
            for number, line in enumerate(source, 1):
                match = re.match(r'\s*#\s*include\s*([<"])([^">]+)[">]', line)
                if not match:
                    continue
                header = match.group(2)
                if match.group(1) == "<":
                    libs = [lib for lib, pattern in LIBRARIES.items() if pattern.match(header)]
                    where = libs
                else:
                    where = [h.split("/")[-1] for h in homes.get(os.path.basename(header), ())]
                    if folder.split("/")[-1] in where:
                        continue
                if where and not short.intersection(where):
                    faults.append(f"{folder}/{name}:{number}: includes {header} ({', '.join(where)})")
    return faults


def lock_faults(root):
    faults = []
    for top in FRONT_ENDS:
        for folder, _, files in os.walk(os.path.join(root, top)):
            for name in sorted(files):
                path = os.path.join(folder, name)
                with open(path, encoding="utf-8", errors="replace") as source:
                    for number, line in enumerate(source, 1):
                        match = LOCK_TAKEN.match(line)
                        if match:
                            faults.append(f"{os.path.relpath(path, root)}:{number}: takes {match.group(1)} itself")
    return faults


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    with open(os.path.join(root, "README.md"), encoding="utf-8") as readme:
        rows = layout_rows(readme.read())
    folders = tree_folders(root)
    faults = [f"{f}/ has no row in the README's layout table" for f in sorted(folders - rows.keys())]
    faults += [f"the README's layout table names {f}/, which does not exist" for f in sorted(rows.keys() - folders)]
    homes = header_homes(root)
    for folder in sorted(f for f in folders & rows.keys() if f.startswith("src/")):
        faults += include_faults(root, folder, rows[folder], homes)
    faults += lock_faults(root)
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
