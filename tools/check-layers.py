#!/usr/bin/env python3
"""Checks that the includes of the production folders follow the library edges of the build.

A folder with a CMakeLists.txt below one of the checked top-level folders (app, pages, net, KPCore,
ui) is a layer; a source file belongs to the deepest layer that holds it. The build declares which
layers a layer may use: the libraries a layer's CMakeLists.txt defines (add_library) and what they
link (target_link_libraries, followed through every target, so a layer may use what the layers it
uses are built on). Then:

  - an #include "..." of a file of another layer that the build does not let its layer use fails;
  - two layers that include each other (or any longer loop of includes) fail;
  - a loop in the declared library edges fails.

Edges listed in tools/layer-crossings-to-fix.txt are known and allowed for now: they are printed,
not failed, and their entries go once the code is fixed.

Usage: check-layers.py [--root DIR] [--allow FILE] [--folders NAME...]
Exit status 0 when the tree is clean, 1 when it is not.
"""
import argparse
import os
import re
import sys

SOURCE_SUFFIXES = (".h", ".hpp", ".c", ".cc", ".cpp")
SKIPPED_DIRS = {".git", ".deps", "__pycache__"}
BUILD_DIR = re.compile(r"^build($|-)")  # build, build-native, build-win64, ...
INCLUDE = re.compile(r'^[ \t]*#[ \t]*include[ \t]+"([^"]+)"', re.M)
COMMAND = re.compile(r"\b(add_library|target_link_libraries)\s*\(([^)]*)\)", re.I)
LINK_KEYWORDS = {"PUBLIC", "PRIVATE", "INTERFACE", "LINK_PUBLIC", "LINK_PRIVATE", "LINK_INTERFACE_LIBRARIES"}


def walk(root, top):
    """Yields (relative dir, file names) below root/top, skipping build folders."""
    for path, dirs, files in os.walk(os.path.join(root, top)):
        dirs[:] = sorted(d for d in dirs if d not in SKIPPED_DIRS and not BUILD_DIR.match(d))
        yield os.path.relpath(path, root).replace(os.sep, "/"), files


def find_layers(root, folders):
    layers = set()
    for top in folders:
        if not os.path.isdir(os.path.join(root, top)):
            continue
        layers.add(top)
        for rel, files in walk(root, top):
            if "CMakeLists.txt" in files:
                layers.add(rel)
    return layers


def layer_of(path, layers):
    """The deepest layer holding the repository-relative `path`, or None."""
    parts = path.split("/")[:-1]
    while parts:
        candidate = "/".join(parts)
        if candidate in layers:
            return candidate
        parts.pop()
    return None


def read_cmake(root):
    """Library owners (target -> directory of its CMakeLists.txt) and link edges (target -> targets)."""
    owners, links = {}, {}
    for path, dirs, files in os.walk(root):
        dirs[:] = [d for d in dirs if d not in SKIPPED_DIRS and not BUILD_DIR.match(d)]
        if "CMakeLists.txt" not in files:
            continue
        rel = os.path.relpath(path, root).replace(os.sep, "/")
        with open(os.path.join(path, "CMakeLists.txt"), encoding="utf-8") as f:
            text = re.sub(r"#[^\n]*", "", f.read())
        for command, args in COMMAND.findall(text):
            words = args.split()
            if not words:
                continue
            if command.lower() == "add_library":
                owners[words[0]] = rel
            else:
                deps = [w for w in words[1:] if w not in LINK_KEYWORDS]
                links.setdefault(words[0], set()).update(deps)
    return owners, links


def declared_edges(layers, owners, links):
    """For each layer, the layers its libraries link, directly or through other targets."""
    edges = {}
    for layer in layers:
        start = [t for t, d in owners.items() if d == layer]
        seen, stack = set(start), list(start)
        while stack:
            for dep in links.get(stack.pop(), ()):
                if dep not in seen:
                    seen.add(dep)
                    stack.append(dep)
        edges[layer] = {owners[t] for t in seen if t in owners and owners[t] in layers} - {layer}
    return edges


def direct_declared_edges(layers, owners, links):
    """Layer -> layers its own libraries name in target_link_libraries (for the loop check)."""
    edges = {layer: set() for layer in layers}
    for target, deps in links.items():
        source = owners.get(target)
        if source not in layers:
            continue
        for dep in deps:
            if owners.get(dep) in layers and owners[dep] != source:
                edges[source].add(owners[dep])
    return edges


def read_includes(root, folders, layers):
    """(from layer, to layer) -> list of "file:line: #include" examples, for includes across layers."""
    crossings = {}
    for top in folders:
        if not os.path.isdir(os.path.join(root, top)):
            continue
        for rel, files in walk(root, top):
            for name in sorted(files):
                if not name.endswith(SOURCE_SUFFIXES):
                    continue
                source = f"{rel}/{name}"
                source_layer = layer_of(source, layers)
                with open(os.path.join(root, source), encoding="utf-8", errors="replace") as f:
                    text = f.read()
                for match in INCLUDE.finditer(text):
                    target = resolve(root, rel, match.group(1))
                    target_layer = layer_of(target, layers) if target else None
                    if target_layer and source_layer and target_layer != source_layer:
                        line = text.count("\n", 0, match.start()) + 1
                        where = f'{source}:{line}: #include "{match.group(1)}"'
                        crossings.setdefault((source_layer, target_layer), []).append(where)
    return crossings


def resolve(root, rel_dir, included):
    """The repository-relative file an #include "..." names (beside the includer first), or None."""
    for base in (rel_dir, ""):
        candidate = os.path.normpath(os.path.join(base, included)).replace(os.sep, "/")
        if not candidate.startswith("..") and os.path.isfile(os.path.join(root, candidate)):
            return candidate
    return None


def read_allowed(path):
    """Pairs (from, to) of tools/layer-crossings-to-fix.txt; `to` may name a folder of layers."""
    allowed = []
    if path and os.path.isfile(path):
        with open(path, encoding="utf-8") as f:
            for number, line in enumerate(f, 1):
                line = line.split("#", 1)[0].strip()
                if not line:
                    continue
                parts = [p.strip() for p in line.split("->")]
                if len(parts) != 2 or not all(parts):
                    sys.exit(f"{path}:{number}: expected 'from -> to'")
                allowed.append((parts[0], parts[1]))
    return allowed


def covers(pattern, layer):
    return layer == pattern or layer.startswith(pattern + "/")


def is_allowed(allowed, source, target):
    return any(covers(a, source) and covers(b, target) for a, b in allowed)


def loops(edges):
    """Strongly connected groups of more than one layer (Tarjan's algorithm), each sorted."""
    index, low, on_stack, stack, groups = {}, {}, set(), [], []
    counter = [0]

    def visit(node):
        index[node] = low[node] = counter[0]
        counter[0] += 1
        stack.append(node)
        on_stack.add(node)
        for nxt in sorted(edges.get(node, ())):
            if nxt not in index:
                visit(nxt)
                low[node] = min(low[node], low[nxt])
            elif nxt in on_stack:
                low[node] = min(low[node], index[nxt])
        if low[node] == index[node]:
            group = []
            while True:
                member = stack.pop()
                on_stack.discard(member)
                group.append(member)
                if member == node:
                    break
            if len(group) > 1:
                groups.append(sorted(group))

    for node in sorted(edges):
        if node not in index:
            visit(node)
    return groups


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--root", default=os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
    parser.add_argument("--allow", help="allow-list (default: ROOT/tools/layer-crossings-to-fix.txt)")
    parser.add_argument("--folders", nargs="+", default=["app", "pages", "net", "KPCore", "ui"])
    args = parser.parse_args()
    root = os.path.abspath(args.root)
    allow_path = args.allow or os.path.join(root, "tools", "layer-crossings-to-fix.txt")

    layers = find_layers(root, args.folders)
    owners, links = read_cmake(root)
    declared = declared_edges(layers, owners, links)
    crossings = read_includes(root, args.folders, layers)
    allowed = read_allowed(allow_path)

    failures, known = [], []
    for (source, target), examples in sorted(crossings.items()):
        if target in declared[source]:
            continue
        listed = is_allowed(allowed, source, target)
        (known if listed else failures).append(
            f"{source} -> {target}: not a declared edge{' (listed as known)' if listed else ''}\n    "
            + "\n    ".join(examples[:3]) + (f"\n    ... and {len(examples) - 3} more" if len(examples) > 3 else ""))

    include_graph = {}
    for source, target in crossings:
        if not is_allowed(allowed, source, target):
            include_graph.setdefault(source, set()).add(target)
    for group in loops(include_graph):
        members = set(group)
        lines = [f"{s} -> {t}: {crossings[(s, t)][0]}" for s in group for t in sorted(include_graph.get(s, ()))
                 if t in members]
        failures.append("layers include each other: " + ", ".join(group) + "\n    " + "\n    ".join(lines))
    for group in loops(direct_declared_edges(layers, owners, links)):
        failures.append("the build's library edges loop through: " + ", ".join(group))

    for line in known:
        print("known: " + line)
    for line in failures:
        print("FAIL: " + line)
    used = sum(1 for s, t in crossings if t in declared[s])
    print(f"layers: {len(layers)}, edges used: {used} declared, {len(known)} known crossings to fix, "
          f"{len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
