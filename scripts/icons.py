#!/usr/bin/python3
# SPDX-License-Identifier: MIT
# Draws the program's icon for every size a desktop asks for: a blue pencil drawing a black
# line above the green display of a pocket computer, which shows "HE" in 5x7 dots. Each size
# is laid out on its own pixel grid, so that every dot of the display is whole pixels and no
# dot is lost or smeared; the pencil and the line are drawn as vectors. Writes
# data/icons/glimra-editor-SIZE.png, the scalable glyph-editor.svg (the largest layout) and
# the Windows .ico. Needs rsvg-convert (librsvg2-bin) and icotool (icoutils).
# Usage: scripts/icons.py
import math
import os
import subprocess
import tempfile

SIZES = [16, 22, 24, 32, 48, 64, 128, 256]
ICO_SIZES = [16, 24, 32, 48, 64, 256]
OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "icons")

# The tests find the display and its dots by these two colours.
SCREEN = "#64d264"
DOT = "#103c10"
BEZEL, BEZEL_EDGE, PINS = "#a0a0a0", "#505050", "#ececec"
PENCIL, PENCIL_EDGE, PENCIL_LIGHT = "#2858d8", "#102468", "#6c94f0"
WOOD, LEAD, LINE = "#f4d8a0", "#202020", "#000000"

# At 16 px the pencil has five rows above the display: drawn by hand, pixel by pixel.
PENCIL_16 = [
    "..............PP",
    ".............PPP",
    "............PPP.",
    "..k.......wwP...",
    ".k.kk...Lw......",
]
PIXEL_COLOURS = {"P": PENCIL, "w": WOOD, "L": LEAD, "k": LINE}

# "HE" as column codes, row 1 being bit 0, with one blank column between the letters.
HE = [0x7F, 0x08, 0x08, 0x08, 0x7F, 0x00, 0x7F, 0x49, 0x49, 0x49, 0x41]


def layout(size):
    """The display's geometry in whole pixels: the largest dot pitch that fits."""
    side = 0 if size < 32 else round(size / 32)
    border = max(1, round(size / 24))
    bottom = max(border, round(size * 0.09))
    for pitch in range(size, 0, -1):
        gap = 0 if pitch <= 4 else max(1, round(pitch / 5))
        margin = max(1, round(pitch * 0.6))
        text_w, text_h = 11 * pitch - gap, 7 * pitch - gap
        width = text_w + 2 * (margin + border)
        height = text_h + 2 * margin + border + bottom
        if width <= size - 2 * side and height <= 0.7 * size:
            break
    width = size - 2 * side  # the display fills the width; the dots stay centred
    top = size - side - height
    screen = (side + border, top + border, width - 2 * border, text_h + 2 * margin)
    text_x = screen[0] + (screen[2] - text_w) // 2
    text_y = screen[1] + margin
    return dict(side=side, border=border, bottom=bottom, pitch=pitch, gap=gap,
                bezel=(side, top, width, height), screen=screen, text=(text_x, text_y))


def svg(size):
    g = layout(size)
    px = size / 256  # one unit of the 256 px drawing
    crisp = size <= 24  # small sizes: staircase edges, as pixel art has them
    out = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" '
           f'viewBox="0 0 {size} {size}"'
           + (' shape-rendering="crispEdges"' if crisp else "") + ">"]

    x, y, w, h = g["bezel"]
    radius = round(size / 24) if size >= 32 else 0
    edge = max(1, round(size / 64))
    out.append(f'<rect x="{x}" y="{y}" width="{w}" height="{h}" rx="{radius}" fill="{BEZEL_EDGE}"/>')
    out.append(f'<rect x="{x + edge}" y="{y + edge}" width="{w - 2 * edge}" height="{h - 2 * edge}" '
               f'rx="{max(0, radius - edge)}" fill="{BEZEL}"/>')
    sx, sy, sw, sh = g["screen"]
    out.append(f'<rect x="{sx}" y="{sy}" width="{sw}" height="{sh}" fill="{SCREEN}"/>')
    pitch, gap = g["pitch"], g["gap"]
    tx, ty = g["text"]
    for column, code in enumerate(HE):
        for row in range(7):
            if code >> row & 1:
                out.append(f'<rect x="{tx + column * pitch}" y="{ty + row * pitch}" '
                           f'width="{pitch - gap}" height="{pitch - gap}" fill="{DOT}"/>')
    # The keys of the pocket computer below its display, where there is room for them.
    pin = g["bottom"] // 3
    if pin >= 1 and g["bottom"] >= 3:
        pins_y = sy + sh + (y + h - sy - sh - pin) // 2
        count = max(4, sw // (3 * pin))
        step = sw / count
        for i in range(count):
            out.append(f'<rect x="{round(sx + i * step + (step - pin) / 2)}" y="{pins_y}" '
                       f'width="{pin}" height="{pin}" fill="{PINS}"/>')

    if size == 16:
        for row, pixels in enumerate(PENCIL_16):
            for column, pixel in enumerate(pixels):
                if pixel in PIXEL_COLOURS:
                    out.append(f'<rect x="{column}" y="{row}" width="1" height="1" '
                               f'fill="{PIXEL_COLOURS[pixel]}"/>')
        out.append("</svg>")
        return "\n".join(out) + "\n"

    # The pencil, from the top right down to its tip above the display, and its line.
    tip = (round(size * 0.40), y - max(1, round(size * 0.06)))
    end = (size - max(1, round(size * 0.04)), max(1, round(size * 0.03)))
    length = math.dist(tip, end)
    ux, uy = (end[0] - tip[0]) / length, (end[1] - tip[1]) / length
    nx, ny = -uy, ux
    half = max(1.5, size * 0.075)
    cone = half * 2.4
    lead = cone * 0.35

    def at(along, across):
        return (tip[0] + ux * along + nx * across, tip[1] + uy * along + ny * across)

    def polygon(points, fill, stroke=None, width=0):
        path = " ".join(f"{px_:.2f},{py_:.2f}" for px_, py_ in points)
        line = f' stroke="{stroke}" stroke-width="{width:.2f}" stroke-linejoin="round"' if stroke else ""
        out.append(f'<polygon points="{path}" fill="{fill}"{line}/>')

    wave = max(1, round(size / 40))
    left = max(g["side"], 1) + wave
    mid = (tip[0] + left) / 2
    out.append(f'<path d="M{tip[0]:.2f},{tip[1]:.2f} '
               f'C{tip[0] - size * 0.08:.2f},{tip[1] + size * 0.07:.2f} '
               f'{mid + size * 0.02:.2f},{tip[1] - size * 0.10:.2f} {mid:.2f},{tip[1] - size * 0.02:.2f} '
               f'S{left + size * 0.04:.2f},{tip[1] + size * 0.04:.2f} {left:.2f},{tip[1] - size * 0.04:.2f}" '
               f'fill="none" stroke="{LINE}" stroke-width="{wave}" stroke-linecap="round"/>')
    outline = 0 if crisp else max(1.0, 2.5 * px * 4)
    polygon([at(cone, -half), at(length, -half), at(length, half), at(cone, half)],
            PENCIL, PENCIL_EDGE if outline else None, outline)
    if size >= 48:  # a light edge gives the body its roundness
        polygon([at(cone, -half * 0.55), at(length - outline, -half * 0.55),
                 at(length - outline, -half * 0.1), at(cone, -half * 0.1)], PENCIL_LIGHT)
    polygon([at(0, 0), at(cone, -half), at(cone, half)], WOOD,
            PENCIL_EDGE if outline else None, outline)
    polygon([at(0, 0), at(lead, -half * lead / cone), at(lead, half * lead / cone)], LEAD)
    out.append("</svg>")
    return "\n".join(out) + "\n"


def main():
    with tempfile.TemporaryDirectory() as work:
        for size in SIZES:
            source = os.path.join(work, f"{size}.svg")
            with open(source, "w") as f:
                f.write(svg(size))
            subprocess.run(["rsvg-convert", "-w", str(size), "-h", str(size), "-o",
                            os.path.join(OUT, f"glimra-editor-{size}.png"), source], check=True)
    with open(os.path.join(OUT, "glimra-editor.svg"), "w") as f:
        f.write('<?xml version="1.0" encoding="UTF-8"?>\n<!-- SPDX-License-Identifier: MIT -->\n')
        f.write(svg(256))
    subprocess.run(["icotool", "-c", "-o", os.path.join(OUT, "glimra-editor.ico")]
                   + [f"--raw={os.path.join(OUT, f'glimra-editor-{s}.png')}" if s == 256 else
                      os.path.join(OUT, f"glimra-editor-{s}.png") for s in ICO_SIZES], check=True)


if __name__ == "__main__":
    main()
