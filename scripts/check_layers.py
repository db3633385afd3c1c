#!/usr/bin/env python3
"""Checks that every #include under src/ runs downwards in the order of layers that
DEVELOPERS.md describes: a file may include files of its own layer and of the layers below
it, never above. Prints each include that runs against the order; exits 1 if there is one."""
import fnmatch
import pathlib
import re
import sys

# Bottom first. A file belongs to the first layer with a pattern that matches its path
# (relative to src/); where one folder holds files of two heights, the lower ones are named.
LAYERS = [
    ("util", ["util/*"]),
    ("texts", ["app/interface_texts.*", "app/resource_ids.h", "skin/dialog_ids.h"]),
    ("device", ["device/*", "device/*/*"]),
    ("window messages", ["app/window_messages.h"]),
    ("settings", ["settings/settings_image.*", "settings/settings_files.*", "settings/profile_store*",
                  "settings/file_io*"]),
    ("keys and macros", ["keys/key_functions.*", "keys/key_names.*", "keys/factory_*", "macros/macro_codec.*",
                         "macros/macro_store*"]),
    ("apply", ["settings/apply_sequence.*"]),
    ("skin", ["skin/*"]),
    ("editors", ["keys/*", "macros/*"]),
    ("pages", ["pages/*"]),
    ("app", ["app/*"]),
]

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def layer_of(relative):
    for index, (_, patterns) in enumerate(LAYERS):
        if any(fnmatch.fnmatchcase(relative, pattern) for pattern in patterns):
            return index
    return None


def main():
    src = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent / "src")
    problems = []
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp", ".rc"):
            continue
        relative = path.relative_to(src).as_posix()
        own = layer_of(relative)
        if own is None:
            problems.append(f"{relative}: in no layer")
            continue
        for included in INCLUDE.findall(path.read_text(encoding="utf-8", errors="replace")):
            target = (path.parent / included)
            if target.exists():  # the resource script's includes beside it
                included = target.resolve().relative_to(src.resolve()).as_posix()
            elif not (src / included).exists():
                problems.append(f"{relative}: includes {included}, which is not under src/")
                continue
            theirs = layer_of(included)
            if theirs is None or theirs > own:
                where = LAYERS[theirs][0] if theirs is not None else "no layer"
                problems.append(f"{relative} ({LAYERS[own][0]}) includes {included} ({where})")
    for problem in problems:
        print("layers:", problem)
    if problems:
        print(f"layers: {len(problems)} include(s) against the order; see DEVELOPERS.md")
        return 1
    print("layers: every include runs downwards")
    return 0


if __name__ == "__main__":
    sys.exit(main())
