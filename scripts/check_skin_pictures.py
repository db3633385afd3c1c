#!/usr/bin/env python3
"""Checks the dialog pictures of every skin under Skins/: the panel that holds a dialog's
content keeps its left and right border whole, so that no band or picture drawn on the panel
runs across it. Prints each picture that breaks a border; exits 1 if there is one."""
import pathlib
import sys

from PIL import Image

DIALOGS = ["single-key", "windows-key", "media-key", "fire-key", "macro-key", "combo-key", "delay-time", "skins"]
# The panel (client pixels, right and bottom exclusive) and the rows of its straight edges.
PANEL_LEFT, PANEL_RIGHT, EDGE_TOP, EDGE_BOTTOM = 8, 371, 50, 236


def main():
    skins = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent / "Skins")
    problems = []
    for folder in sorted(p for p in skins.iterdir() if p.is_dir()):
        for name in DIALOGS:
            image = Image.open(folder / f"{name}.png").convert("RGB")
            for x in (PANEL_LEFT, PANEL_RIGHT):
                edge = image.getpixel((x, EDGE_TOP))
                broken = [y for y in range(EDGE_TOP, EDGE_BOTTOM) if image.getpixel((x, y)) != edge]
                if broken:
                    problems.append(f"{folder.name}/{name}.png: the panel's border at x = {x} is covered at "
                                    f"y = {broken[0]}..{broken[-1]}")
    for problem in problems:
        print("skin pictures:", problem)
    if problems:
        return 1
    print("skin pictures: every dialog panel keeps its borders")
    return 0


if __name__ == "__main__":
    sys.exit(main())
