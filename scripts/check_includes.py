#!/usr/bin/env python3
"""Fails when a source includes a header of a layer above its own, or a widget header below the widgets.

Every build runs it on the list of files per layer that cmake/Layers.cmake writes (build/layers.txt):

    scripts/check_includes.py build/layers.txt --widget-headers /usr/include/.../qt6/QtWidgets
    scripts/check_includes.py build/layers.txt --graph     # which folder and layer includes which, counted

The list's lines are "widgets <layer>" (the layer that brings Qt Widgets), "links <layer> <layers below>",
"<layer> <file>" and "interim <file>" (code of a layer kept in another layer's folder, which must still include a header of its
own layer: window code in a view folder that still needs the window).
"""
import argparse
import collections
import re
import sys
from pathlib import Path

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^">]+)[">]')


class Layers:
    def __init__(self, manifest_text):
        self.layer_of = {}  # file -> layer
        self.links = {}  # layer -> layers it links directly
        self.interim = []
        self.widget_layer = None
        for line in manifest_text.splitlines():
            kind, _, rest = line.partition(" ")
            if kind == "widgets":
                self.widget_layer = rest.strip()
            elif kind == "links":
                layer, *below = rest.split()
                self.links[layer] = below
            elif kind == "interim":
                self.interim.append(Path(rest))
            elif kind:
                self.layer_of[Path(rest)] = kind

    def reachable(self, layer):
        """The layer and every layer beneath it: those whose headers it may include."""
        seen, todo = set(), [layer]
        while todo:
            current = todo.pop()
            if current not in seen:
                seen.add(current)
                todo.extend(self.links.get(current, []))
        return seen


def includes(path):
    """(line number, bracket, name) of every #include of a file."""
    for number, line in enumerate(path.read_text(encoding="utf-8", errors="replace").splitlines(), 1):
        match = INCLUDE.match(line)
        if match:
            yield number, match.group(1), match.group(2)


def resolve(including, name, roots):
    """The file a quoted include names: beside the including file first, then under an include root."""
    for folder in [including.parent, *roots]:
        candidate = (folder / name).resolve()
        if candidate.is_file():
            return candidate
    return None


def is_widget_header(name, widget_dir):
    if name.startswith("QtWidgets"):
        return True
    return widget_dir is not None and "/" not in name and (widget_dir / name).is_file()


def check(layers, roots, widget_dir):
    """The faults found, one message each."""
    faults = []
    known = {path.resolve(): layer for path, layer in layers.layer_of.items()}
    for path, layer in sorted(layers.layer_of.items()):
        allowed = layers.reachable(layer)
        for number, bracket, name in includes(path):
            where = f"{path}:{number}: includes {name}"
            if bracket == "<":
                if is_widget_header(name, widget_dir) and layers.widget_layer not in allowed:
                    faults.append(f"{where}, a widget header, below the widgets ({layer} layer)")
                continue
            target = resolve(path, name, roots)
            target_layer = known.get(target) if target else None
            if target_layer and target_layer not in allowed:
                faults.append(f"{where}, a header of the {target_layer} layer; the {layer} layer may include "
                              f"only {', '.join(sorted(allowed))}")
    for path in layers.interim:
        targets = [resolve(path, name, roots) for _, bracket, name in includes(path) if bracket == '"']
        if not any(t and known.get(t) == known.get(path.resolve()) for t in targets):
            faults.append(f"{path}: no longer includes its layer's headers: take it off "
                          "MOSAICOR_WINDOW_PIECES_IN_VIEW_FOLDERS in cmake/Layers.cmake")
    return faults


def graph(layers, roots):
    """Counts of includes between folders and between layers, one per include line."""
    folders, between_layers = collections.Counter(), collections.Counter()
    known = {path.resolve(): layer for path, layer in layers.layer_of.items()}
    for path, layer in layers.layer_of.items():
        for _, bracket, name in includes(path):
            target = resolve(path, name, roots) if bracket == '"' else None
            if target not in known:
                continue
            if path.parent.name != target.parent.name:
                folders[(path.parent.name, target.parent.name)] += 1
            if layer != known[target]:
                between_layers[(layer, known[target])] += 1
    lines = ["folder -> folder: includes"]
    lines += [f"  {a} -> {b}: {n}" for (a, b), n in sorted(folders.items())]
    lines += ["layer -> layer: includes"]
    lines += [f"  {a} -> {b}: {n}" for (a, b), n in sorted(between_layers.items())]
    return "\n".join(lines)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("manifest", type=Path, help="the list of files per layer (build/layers.txt)")
    parser.add_argument("--root", type=Path, action="append", default=[],
                        help="an include root (default: src/ beside this script)")
    parser.add_argument("--widget-headers", type=Path, help="Qt's QtWidgets include folder")
    parser.add_argument("--graph", action="store_true", help="print the include graph instead of checking")
    args = parser.parse_args()
    layers = Layers(args.manifest.read_text(encoding="utf-8"))
    roots = args.root or [Path(__file__).resolve().parent.parent / "src"]
    if args.graph:
        print(graph(layers, roots))
        return 0
    faults = check(layers, roots, args.widget_headers)
    for fault in faults:
        print(fault, file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
