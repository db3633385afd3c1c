#!/usr/bin/python3
"""Draws the default skins of Ombrisk and the application icon.

    /usr/bin/python3 Skins/draw_skins.py      (python3-pil)

Every skin folder gets the same set of images; only the palette differs. The pictures place
a visible control under every region the program hit-tests and a box under every label it
draws, so the coordinates below are the program's own layout (client pixels, left, top,
right, bottom; right and bottom exclusive).
"""
import os
from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
FONT_DIR = "/usr/share/fonts/truetype/liberation"

MAIN_SIZE = (880, 650)
DIALOG_SIZE = (380, 285)

SKINS = {
    # name: palette
    "Graphite": dict(
        back=(22, 26, 32), frame=(58, 70, 86), bar=(30, 36, 46), panel=(30, 35, 43),
        panel_edge=(64, 78, 96), tab=(40, 50, 64), accent=(64, 176, 232),
        accent_dim=(36, 92, 124), field=(12, 14, 17), field_edge=(70, 84, 100),
        button_top=(58, 70, 88), button_bottom=(36, 44, 56), glyph=(210, 222, 235),
        lit=(80, 200, 255), dark_cell=(48, 56, 68), list_back=(14, 15, 14)),
    "Ember": dict(
        back=(28, 20, 20), frame=(96, 54, 48), bar=(44, 26, 24), panel=(38, 27, 26),
        panel_edge=(108, 62, 52), tab=(62, 36, 32), accent=(240, 120, 60),
        accent_dim=(128, 64, 36), field=(16, 11, 11), field_edge=(110, 70, 60),
        button_top=(92, 52, 44), button_bottom=(58, 32, 28), glyph=(240, 222, 210),
        lit=(255, 150, 70), dark_cell=(66, 46, 44), list_back=(14, 15, 14)),
}


def font(size, bold=False):
    name = "LiberationSans-Bold.ttf" if bold else "LiberationSans-Regular.ttf"
    return ImageFont.truetype(os.path.join(FONT_DIR, name), size)


def box(left, top, right, bottom):
    """A region as PIL's inclusive rectangle."""
    return [left, top, right - 1, bottom - 1]


def gradient(draw, rect, top, bottom):
    left, y0, right, y1 = rect
    span = max(1, y1 - y0)
    for y in range(y0, y1 + 1):
        t = (y - y0) / span
        colour = tuple(int(a + (b - a) * t) for a, b in zip(top, bottom))
        draw.line([left, y, right, y], fill=colour)


# --- small control images -------------------------------------------------------------------

def button(p, over, size=(105, 21)):
    image = Image.new("RGBA", size, (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    w, h = size
    mask = Image.new("L", size, 0)
    ImageDraw.Draw(mask).rounded_rectangle([0, 0, w - 1, h - 1], radius=5, fill=255)
    fill = Image.new("RGBA", size)
    fd = ImageDraw.Draw(fill)
    top, bottom = (p["button_top"], p["button_bottom"])
    if over:
        top = tuple(min(255, c + 30) for c in p["accent_dim"])
        bottom = p["accent_dim"]
    gradient(fd, [0, 0, w - 1, h - 1], top, bottom)
    image.paste(fill, (0, 0), mask)
    draw.rounded_rectangle([0, 0, w - 1, h - 1], radius=5,
                           outline=p["accent"] if over else p["panel_edge"], width=1)
    return image


def dropdown(p, over):
    w, h = 211, 21
    image = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    edge = p["accent"] if over else p["field_edge"]
    draw.rounded_rectangle([0, 0, w - 1, h - 1], radius=3, fill=p["field"], outline=edge)
    draw.rectangle([1, 1, 19, h - 2], fill=p["tab"])        # the button number cell
    draw.line([20, 1, 20, h - 2], fill=edge)
    draw.rectangle([190, 1, w - 2, h - 2], fill=p["accent_dim"] if over else p["tab"])
    draw.line([189, 1, 189, h - 2], fill=edge)
    draw.polygon([(195, 8), (205, 8), (200, 14)], fill=p["glyph"])
    return image


def window_button(p, kind, over):
    s = 18
    image = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    back = p["accent_dim"] if over else p["tab"]
    if kind == "close" and over:
        back = (190, 50, 50)
    draw.rounded_rectangle([0, 0, s - 1, s - 1], radius=4, fill=back,
                           outline=p["accent"] if over else p["panel_edge"])
    g = p["glyph"]
    if kind == "min":
        draw.line([5, 12, 12, 12], fill=g, width=2)
    elif kind == "close":
        draw.line([5, 5, 12, 12], fill=g, width=2)
        draw.line([12, 5, 5, 12], fill=g, width=2)
    else:  # skins: a painter's palette with three dabs of paint and its thumb hole
        draw.ellipse([2, 4, 15, 14], fill=g)
        draw.ellipse([9, 10, 12, 13], fill=back)
        for (x, y), colour in zip([(4, 7), (7, 6), (11, 6)], [(230, 80, 80), (90, 200, 90), (80, 140, 240)]):
            draw.rectangle([x, y, x + 1, y + 1], fill=colour)
    return image


def page_button(p, forward, over):
    s = 40
    image = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    draw.ellipse([1, 1, s - 2, s - 2], fill=p["accent_dim"] if over else p["tab"],
                 outline=p["accent"] if over else p["panel_edge"], width=2)
    if forward:
        draw.polygon([(16, 11), (28, 20), (16, 29)], fill=p["glyph"])
    else:
        draw.polygon([(24, 11), (12, 20), (24, 29)], fill=p["glyph"])
    return image


def pane(p, ticked):
    s = 16
    image = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    draw.rounded_rectangle([0, 0, s - 1, s - 1], radius=3, fill=p["field"], outline=p["field_edge"])
    if ticked:
        draw.line([(3, 8), (6, 12), (12, 3)], fill=p["lit"], width=2)
    return image


def cell(p, size, lit):
    image = Image.new("RGBA", size, (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    w, h = size
    colour = p["lit"] if lit else p["dark_cell"]
    draw.rounded_rectangle([1, 0, w - 2, h - 1], radius=2, fill=colour,
                           outline=tuple(min(255, c + 40) for c in colour))
    return image


# --- backgrounds ----------------------------------------------------------------------------

def frame(p, size, title_bar):
    image = Image.new("RGB", size, p["back"])
    draw = ImageDraw.Draw(image)
    w, h = size
    if title_bar:
        gradient(draw, [0, 0, w - 1, 29], p["bar"], p["back"])
        draw.line([0, 29, w - 1, 29], fill=p["panel_edge"])
        draw.text((12, 7), "OMBRISK", font=font(14, bold=True), fill=p["accent"])
    draw.rectangle([0, 0, w - 1, h - 1], outline=p["frame"], width=2)
    return image, draw


# Group titles are centred on their rectangle and may be a little wider than it (English
# in Arial 14): the tab behind them reaches this far beyond the rectangle on each side.
TAB_MARGIN = 8


def title_tab(draw, p, rect):
    left, top, right, bottom = rect
    draw.rounded_rectangle(box(left - TAB_MARGIN, top, right + TAB_MARGIN, bottom), radius=4,
                           fill=p["tab"], outline=p["accent_dim"])


def panel(draw, p, rect, tab=None):
    draw.rounded_rectangle(box(*rect), radius=6, fill=p["panel"], outline=p["panel_edge"])
    if tab:
        title_tab(draw, p, tab)


def field(draw, p, rect, arrow_from=None):
    draw.rectangle(box(*rect), fill=p["field"], outline=p["field_edge"])
    if arrow_from is not None:
        left, top, right, bottom = rect
        draw.rectangle(box(arrow_from, top, right, bottom), fill=p["tab"], outline=p["field_edge"])
        cx, cy = (arrow_from + right) // 2, (top + bottom) // 2
        draw.polygon([(cx - 4, cy - 2), (cx + 4, cy - 2), (cx, cy + 3)], fill=p["glyph"])


def paste(image, control, left, top):
    image.paste(control, (left, top), control)


def main_frame(p):
    image, draw = frame(p, MAIN_SIZE, True)
    # The page header and the bottom bar, common to both pages.
    draw.rounded_rectangle(box(8, 44, 872, 104), radius=8, fill=p["bar"], outline=p["panel_edge"])
    draw.rounded_rectangle(box(8, 612, 872, 648), radius=6, fill=p["bar"], outline=p["panel_edge"])
    draw.line([370, 641, 547, 641], fill=p["accent_dim"])  # under the web link caption
    return image, draw


def window_controls(image, p):
    for kind, left in (("skins", 701), ("min", 825), ("close", 850)):
        paste(image, window_button(p, kind, False), left, 5)
    paste(image, page_button(p, False, False), 14, 54)
    paste(image, page_button(p, True, False), 60, 54)
    for left in (562, 666, 770):
        paste(image, button(p, False), left, 623)


def mouse_picture(draw, p):
    """A top view of the mouse with its seven buttons numbered as the key boxes are."""
    body = [60, 190, 210, 560]
    draw.rounded_rectangle(body, radius=70, fill=p["tab"], outline=p["accent"], width=2)
    draw.line([135, 192, 135, 330], fill=p["panel_edge"], width=2)        # left | right
    draw.line([62, 330, 208, 330], fill=p["panel_edge"], width=2)
    draw.rounded_rectangle([126, 230, 144, 290], radius=8, fill=p["field"], outline=p["glyph"])  # wheel
    draw.rounded_rectangle([54, 350, 64, 390], radius=4, fill=p["accent_dim"])   # forward
    draw.rounded_rectangle([54, 400, 64, 440], radius=4, fill=p["accent_dim"])   # backward
    draw.rounded_rectangle([127, 300, 143, 312], radius=3, fill=p["accent_dim"])  # DPI +
    draw.rounded_rectangle([127, 340, 143, 352], radius=3, fill=p["accent_dim"])  # DPI -
    number = font(12, bold=True)
    marks = [(1, 95, 260), (2, 170, 260), (3, 135, 210), (4, 40, 362), (5, 40, 412),
             (6, 152, 298), (7, 152, 338)]
    for n, x, y in marks:
        draw.ellipse([x - 9, y - 9, x + 9, y + 9], fill=p["field"], outline=p["accent"])
        draw.text((x - 3, y - 7), str(n), font=number, fill=p["glyph"])


def basic_page(p):
    image, draw = main_frame(p)
    panel(draw, p, (25, 150, 232, 584))
    mouse_picture(draw, p)
    # Key Setting: seven key boxes, Mode A / Mode B, Default.
    panel(draw, p, (240, 150, 476, 584), (259, 160, 364, 181))
    for k in range(7):
        paste(image, dropdown(p, False), 252, 199 + 23 * k)
    paste(image, button(p, False), 253, 518)
    paste(image, button(p, False), 357, 518)
    paste(image, button(p, False), 307, 549)
    # Report Rate Setting: four positions on one track, their numbers underneath.
    panel(draw, p, (490, 151, 866, 262), (504, 161, 609, 182))
    draw.rounded_rectangle(box(536, 200, 834, 219), radius=4, fill=p["field"], outline=p["field_edge"])
    for left in (542, 614, 686, 758):
        paste(image, cell(p, (70, 11), False), left, 204)
    # DPI Setting: values column, four stage columns of twelve cells, swatches, switches.
    panel(draw, p, (490, 265, 686, 600), (504, 275, 609, 296))
    draw.rounded_rectangle(box(494, 300, 546, 518), radius=3, fill=p["bar"])
    for s in range(4):
        left = 554 + 27 * s
        for n in range(12):
            paste(image, cell(p, (16, 16), False), left, 500 - 18 * n)
        draw.rectangle(box(left, 523, left + 16, 539), fill=p["field"], outline=p["field_edge"])
        paste(image, pane(p, False), left, 541)
    # DPI Effect: three drop-down boxes with their labels' boxes to the left.
    panel(draw, p, (690, 265, 866, 470), (704, 275, 809, 296))
    for top in (330, 360, 390):
        draw.rounded_rectangle(box(695, top - 2, 759, top + 16), radius=3, fill=p["bar"])
        field(draw, p, (767, top, 851, top + 14), arrow_from=835)
    window_controls(image, p)
    return image


def advanced_page(p):
    image, draw = main_frame(p)
    # Pointer settings: three sliders of eleven cells, two check boxes, Default.
    panel(draw, p, (25, 150, 430, 620))
    for title_top, row in ((160, 200), (310, 350), (460, 500)):
        title_tab(draw, p, (38, title_top, 143, title_top + 21))
        draw.rounded_rectangle(box(48, row - 4, 320, row + 15), radius=4, fill=p["field"],
                               outline=p["field_edge"])
        for c in range(11):
            paste(image, cell(p, (24, 11), False), 52 + 24 * c, row)
    for top in (255, 405):
        paste(image, pane(p, False), 51, top)
    paste(image, button(p, False), 38, 584)
    # Macro panel: macro list, event list, record options, New / Delete / Confirm.
    panel(draw, p, (450, 150, 878, 560), (469, 160, 578, 181))
    for rect in ((457, 196, 592, 220), (591, 196, 726, 220), (725, 196, 875, 220)):
        draw.rectangle(box(*rect), fill=p["tab"], outline=p["panel_edge"])
    draw.rectangle(box(461, 219, 726, 513), fill=p["list_back"], outline=p["field_edge"])
    draw.line([591, 220, 591, 512], fill=p["field_edge"])
    draw.ellipse(box(735, 229, 764, 258), fill=(180, 40, 40), outline=p["glyph"])  # start
    draw.ellipse(box(743, 237, 756, 250), fill=(240, 90, 90))
    draw.rounded_rectangle(box(735, 265, 764, 294), radius=5, fill=p["tab"], outline=p["glyph"])
    draw.rectangle(box(743, 273, 756, 286), fill=p["glyph"])                    # stop
    field(draw, p, (733, 320, 801, 338))
    field(draw, p, (733, 360, 801, 378))
    field(draw, p, (735, 402, 854, 416), arrow_from=839)
    for left in (513, 617, 721):
        paste(image, button(p, False), left, 528)
    window_controls(image, p)
    return image


def dialog(p, name):
    image, draw = frame(p, DIALOG_SIZE, False)
    w, h = DIALOG_SIZE
    gradient(draw, [2, 2, w - 3, 31], p["bar"], p["back"])
    draw.line([2, 31, w - 3, 31], fill=p["panel_edge"])
    draw.rounded_rectangle(box(8, 40, 372, 246), radius=6, fill=p["panel"], outline=p["panel_edge"])
    baked = font(12)
    # The captions above boxes and edits are interface texts, drawn by the program in its
    # language on these bands (40 pixels wider than the box on each side).
    if name == "single-key":
        draw.rounded_rectangle(box(20, 104, 204, 128), radius=3, fill=p["bar"])  # prompt band
        field(draw, p, (71, 126, 153, 146))
        keyboard(draw, p, (222, 86, 360, 160), lit=[(1, 3)])
    elif name == "combo-key":
        for top in (49, 100, 150):
            draw.rounded_rectangle(box(10, top, 171, top + 20), radius=3, fill=p["bar"])
        field(draw, p, (49, 69, 132, 85), arrow_from=117)
        draw.text((86, 86), "+", font=baked, fill=p["accent"])
        field(draw, p, (48, 118, 133, 136))
        draw.text((86, 136), "+", font=baked, fill=p["accent"])
        field(draw, p, (48, 168, 133, 186))
        # A combination: a modifier and two keys held together.
        keyboard(draw, p, (222, 86, 360, 160), lit=[(2, 0), (0, 2), (1, 5)])
    elif name == "fire-key":
        draw.rounded_rectangle(box(10, 49, 171, 69), radius=3, fill=p["bar"])
        field(draw, p, (49, 69, 132, 85), arrow_from=117)
        draw.rounded_rectangle(box(10, 100, 171, 120), radius=3, fill=p["bar"])
        field(draw, p, (48, 118, 133, 136))
        draw.rounded_rectangle(box(10, 150, 171, 170), radius=3, fill=p["bar"])
        field(draw, p, (48, 168, 133, 186))
        draw.rounded_rectangle(box(14, 188, 366, 246), radius=3, fill=p["bar"])
        for i in range(5):  # a burst of shots
            x = 220 + 24 * i
            draw.ellipse([x, 100, x + 12, 112], fill=p["lit"] if i % 2 == 0 else p["accent_dim"])
    elif name == "delay-time":
        draw.rounded_rectangle(box(14, 89, 210, 129), radius=3, fill=p["bar"])
        field(draw, p, (74, 129, 150, 143))
        draw.ellipse([260, 80, 330, 150], outline=p["accent"], width=3)  # a clock
        draw.line([295, 115, 295, 92], fill=p["glyph"], width=3)
        draw.line([295, 115, 312, 122], fill=p["glyph"], width=3)
    else:
        # One drop-down box: media, Windows, macro and skin dialogs.
        field(draw, p, (42, 128, 151, 144), arrow_from=136)
        # The macro dialog's title band: 50 pixels either side of the box, inside the panel.
        draw.rounded_rectangle(box(12, 112, 201, 128), radius=3, fill=p["bar"])
        if name == "skins":
            # The prompt is centred on 12..200 on one line, inside the panel.
            draw.rounded_rectangle(box(10, 66, 202, 92), radius=4, fill=p["tab"], outline=p["accent_dim"])
            draw.rectangle(box(41, 93, 152, 111), outline=p["field_edge"])
        if name == "macro-key":
            # Up to three lines of text beside each tick box, inside the panel's border.
            for top in (78, 128, 178):
                paste(image, pane(p, False), 220, top)
                draw.rounded_rectangle(box(237, top - 16, 369, top + 32), radius=3, fill=p["bar"])
        if name in ("media-key", "windows-key"):
            glyph = "\u266b" if name == "media-key" else "\u2318"
            draw.rounded_rectangle(box(240, 80, 340, 180), radius=12, outline=p["accent"], width=3)
            draw.text((266, 100), glyph, font=ImageFont.truetype(
                "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 48)
                if os.path.exists("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf") else font(48),
                fill=p["glyph"])
    # Frame buttons, as the program draws them over the picture.
    paste(image, window_button(p, "close", False), 352, 6)
    paste(image, button(p, False), 166, 253)
    paste(image, button(p, False), 270, 253)
    return image


def keyboard(draw, p, rect, lit):
    """A keyboard seen from above: three rows of keys and a space bar, the keys at the (row,
    column) places of lit pressed (in the accent colour)."""
    left, top, right, bottom = rect
    draw.rounded_rectangle([left, top, right, bottom], radius=8, fill=p["tab"], outline=p["accent_dim"], width=2)
    pitch, size = 17, 14
    for row in range(3):
        x0 = left + 9 + (row * 4)
        for column in range(7):
            x, y = x0 + column * pitch, top + 8 + row * pitch
            if x + size > right - 8:
                break
            on = (row, column) in lit
            draw.rounded_rectangle([x, y, x + size, y + size - 2], radius=3,
                                   fill=p["accent"] if on else p["button_top"],
                                   outline=p["lit"] if on else p["button_bottom"])
    draw.rounded_rectangle([left + 35, top + 8 + 3 * pitch, right - 35, top + 8 + 3 * pitch + 8], radius=3,
                           fill=p["button_top"], outline=p["button_bottom"])


DIALOGS = ["single-key", "windows-key", "media-key", "fire-key", "macro-key", "combo-key",
           "delay-time", "skins"]


def draw_skin(name, p):
    folder = os.path.join(HERE, name)
    os.makedirs(folder, exist_ok=True)

    def save(image, file):
        image.save(os.path.join(folder, file), optimize=True)

    main, _ = main_frame(p)
    save(main, "main.png")
    save(basic_page(p), "BasicSet2.png")
    save(advanced_page(p), "AdvancedSet2.png")
    for kind, file in (("min", "button-min"), ("close", "button-close"), ("skins", "button-Skins")):
        save(window_button(p, kind, False), file + "-normal.png")
        save(window_button(p, kind, True), file + "-over.png")
    save(page_button(p, False, False), "button-PrePage-normal.png")
    save(page_button(p, False, True), "button-PrePage-over.png")
    save(page_button(p, True, False), "button-NextPage-normal.png")
    save(page_button(p, True, True), "button-NextPage-over.png")
    save(button(p, False), "button-normal.png")
    save(button(p, True), "button-over.png")
    save(dropdown(p, False), "DropdownBox-normal.png")
    save(dropdown(p, True), "DropdownBox-over.png")
    save(pane(p, False), "Pane.png")
    save(pane(p, True), "PaneMakingTick.png")
    save(cell(p, (24, 11), False), "slider-dark.png")
    save(cell(p, (24, 11), True), "slider-light.png")
    save(cell(p, (16, 16), False), "slider-DPI-dark.png")
    save(cell(p, (16, 16), True), "slider-DPI-light.png")
    save(cell(p, (70, 11), False), "slider-RP-dark.png")
    save(cell(p, (70, 11), True), "slider-RP-light.png")
    for dialog_name in DIALOGS:
        save(dialog(p, dialog_name), dialog_name + ".png")


def draw_icon():
    p = SKINS["Graphite"]
    image = Image.new("RGBA", (64, 64), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    draw.rounded_rectangle([14, 4, 50, 60], radius=17, fill=p["tab"], outline=p["accent"], width=3)
    draw.line([32, 6, 32, 26], fill=p["accent"], width=3)
    draw.rounded_rectangle([29, 12, 35, 22], radius=3, fill=p["lit"])
    image.save(os.path.join(ROOT, "src", "app", "ombrisk.ico"), sizes=[(16, 16), (32, 32), (48, 48)])


if __name__ == "__main__":
    for skin_name, palette in SKINS.items():
        draw_skin(skin_name, palette)
    draw_icon()
