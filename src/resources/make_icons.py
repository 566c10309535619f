#!/usr/bin/env python3
"""Draws Floppex.exe's nine icons and writes them as .ico files (16 colours, 16/32/48 pixels).

Usage: make_icons.py OUTPUT_FOLDER

Every picture is described once on a 48 by 48 grid of design units; each size samples the shapes
at its pixel centres, so the three sizes come from the same drawing. Lettering uses small bitmap
fonts scaled by whole pixels, which keeps it sharp at 16 pixels.
"""
import os
import struct
import sys

SIZES = (16, 32, 48)

# One 16-colour palette for every icon (RGB).
PALETTE = [
    (0, 0, 0), (255, 255, 255), (224, 32, 32), (120, 0, 0),
    (192, 192, 192), (128, 128, 128), (48, 48, 56), (48, 72, 208),
    (120, 160, 255), (16, 24, 104), (232, 220, 184), (150, 128, 90),
    (112, 72, 40), (48, 192, 64), (0, 96, 24), (248, 216, 48),
]
(BLACK, WHITE, RED, DARK_RED, LIGHT_GREY, GREY, CHARCOAL, BLUE,
 LIGHT_BLUE, DARK_BLUE, BEIGE, DARK_BEIGE, BROWN, GREEN, DARK_GREEN, YELLOW) = range(16)

SMALL_FONT = {  # 3 by 5
    '6': ['###', '#..', '###', '#.#', '###'],
    '4': ['#.#', '#.#', '###', '..#', '..#'],
    'P': ['###', '#.#', '###', '#..', '#..'],
    '0': ['###', '#.#', '#.#', '#.#', '###'],
}
LARGE_FONT = {  # 5 by 7, for "64" at 48 pixels
    '6': ['.###.', '#....', '#....', '####.', '#...#', '#...#', '.###.'],
    '4': ['...#.', '..##.', '.#.#.', '#..#.', '#####', '...#.', '...#.'],
}


# Shapes: predicates on a point in design units.
def rect(x0, y0, x1, y1, r=0.0):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        dx = max(x0 + r - x, 0, x - (x1 - r))
        dy = max(y0 + r - y, 0, y - (y1 - r))
        return dx * dx + dy * dy <= r * r
    return inside


def ellipse(cx, cy, rx, ry=None):
    ry = rx if ry is None else ry
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1


def poly(*points):
    def inside(x, y):
        hit = False
        for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                hit = not hit
        return hit
    return inside


def minus(a, *others):
    return lambda x, y: a(x, y) and not any(o(x, y) for o in others)


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


class Canvas:
    def __init__(self, size):
        self.size = size
        self.px = [[None] * size for _ in range(size)]

    def fill(self, shape, colour, edge=None):
        """Paints the pixels whose centre lies in the shape; edge colours those on its border."""
        n, k = self.size, 48 / self.size
        mask = [[shape((x + 0.5) * k, (y + 0.5) * k) for x in range(n)] for y in range(n)]

        def outside(x, y):
            return not (0 <= x < n and 0 <= y < n and mask[y][x])
        for y in range(n):
            for x in range(n):
                if mask[y][x]:
                    border = edge is not None and any(
                        outside(x + dx, y + dy) for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
                    self.px[y][x] = edge if border else colour

    def text(self, text, x, y, sx, sy, colour, shadow=None, font=SMALL_FONT):
        """Writes text with its top-left corner at pixel (x, y), each font dot sx by sy pixels."""
        for dot_colour, off in ((shadow, 1), (colour, 0)) if shadow is not None else ((colour, 0),):
            cx = x
            for ch in text:
                glyph = font[ch]
                for gy, row in enumerate(glyph):
                    for gx, dot in enumerate(row):
                        if dot == '#':
                            for py in range(sy):
                                for px in range(sx):
                                    X, Y = cx + gx * sx + px + off, y + gy * sy + py + off
                                    if 0 <= X < self.size and 0 <= Y < self.size:
                                        self.px[Y][X] = dot_colour
                cx += (len(glyph[0]) + 1) * sx


def text_width(text, sx, font):
    return sum((len(font[ch][0]) + 1) * sx for ch in text) - sx


def header_64(c):
    """"64" in red across the top; the picture below starts at design row 16."""
    font, sx, sy = {16: (SMALL_FONT, 1, 1), 32: (SMALL_FONT, 2, 2), 48: (LARGE_FONT, 2, 2)}[c.size]
    x = (c.size - text_width('64', sx, font)) // 2
    c.text('64', x, 0, sx, sy, RED, DARK_RED if c.size > 16 else None, font)


def draw_logo(c):
    """A 5.25-inch floppy disk with a green play triangle in front of its corner."""
    c.fill(minus(rect(1, 1, 37, 37, 2), rect(34, 9, 38, 13)), CHARCOAL, BLACK)
    c.fill(rect(5, 3, 33, 9), WHITE)
    c.fill(ellipse(18, 18, 6.5), WHITE)
    c.fill(ellipse(18, 18, 3.2), CHARCOAL)
    c.fill(rect(15.5, 26, 20.5, 35, 2), BROWN)
    # At 16 pixels an outline would leave too little green.
    c.fill(poly((24, 21), (47.5, 34.5), (24, 48)), GREEN, DARK_GREEN if c.size > 16 else None)


def draw_drive(c):
    """A disk drive from the front: the slot with its door lever, and the power and busy lamps below."""
    c.fill(poly((5, 17), (43, 17), (47, 22), (1, 22)), LIGHT_GREY, DARK_BEIGE)
    c.fill(rect(1, 21, 47, 46), BEIGE, DARK_BEIGE)
    c.fill(rect(1, 37, 47, 38), DARK_BEIGE)
    c.fill(rect(5, 26, 43, 30), BLACK)
    c.fill(rect(21, 23, 27, 34), BROWN, BLACK)
    c.fill(rect(5, 41, 9, 43), GREEN)
    c.fill(rect(11, 41, 15, 43), RED)


def draw_p00(c):
    """A sheet of paper with a dog-ear, lettered "P00"."""
    c.fill(poly((4, 17), (36, 17), (44, 25), (44, 48), (4, 48)), WHITE, GREY)
    c.fill(poly((36, 17), (44, 25), (36, 25)), LIGHT_GREY, GREY)
    font, sx, sy = {16: (SMALL_FONT, 1, 2), 32: (SMALL_FONT, 2, 3), 48: (SMALL_FONT, 3, 4)}[c.size]
    x = (c.size - text_width('P00', sx, font)) // 2
    top = (c.size * 25 // 48 + c.size - 5 * sy) // 2
    c.text('P00', x, top, sx, sy, DARK_BLUE, None, font)


def draw_commodore(c):
    """A "C" of a thick ring with two flags in its mouth, blue above and red below."""
    cx, cy = 17, 32
    c.fill(minus(ellipse(cx, cy, 15), ellipse(cx, cy, 7.5), rect(cx + 4, 0, 48, 48)), BLUE)
    c.fill(poly((cx + 6, cy - 7), (cx + 24, cy - 7), (cx + 18, cy - 1), (cx + 6, cy - 1)), BLUE)
    c.fill(poly((cx + 6, cy + 1), (cx + 18, cy + 1), (cx + 24, cy + 7), (cx + 6, cy + 7)), RED)


def draw_t(c):
    """A large block letter T."""
    c.fill(union(rect(5, 17, 43, 26), rect(18.5, 17, 29.5, 47)), LIGHT_BLUE, DARK_BLUE)


def draw_cassette(c):
    """A compact cassette: label, window with two spools, and the head opening below."""
    c.fill(rect(1, 18, 47, 46, 2), CHARCOAL, BLACK)
    c.fill(rect(5, 21, 43, 38, 1), BEIGE)
    c.fill(rect(12, 25, 36, 34, 1.5), BLACK)
    for x in (17.5, 30.5):
        c.fill(ellipse(x, 29.5, 4), WHITE)
        if c.size > 16:
            c.fill(ellipse(x, 29.5, 1.8), BLACK)
    c.fill(poly((10, 46), (38, 46), (34, 40), (14, 40)), GREY, BLACK)


def draw_cartridge(c):
    """A cartridge seen from above: the case with its grip ridges, and the board's contacts below it."""
    c.fill(rect(3, 18, 45, 39, 2), CHARCOAL, BLACK)
    for y in (22, 26, 30):
        c.fill(rect(9, y, 39, y + 1.5), GREY)
    c.fill(rect(8, 39, 40, 47), DARK_GREEN)
    for x in range(10, 38, 4):
        c.fill(rect(x, 41, x + 2, 47), YELLOW)


def with_64(picture):
    def draw(c):
        header_64(c)
        picture(c)
    return draw


# Resource order: index 0 to 8.
ICONS = [
    ('logo', draw_logo),
    ('drive', with_64(draw_drive)),
    ('p00', with_64(draw_p00)),
    ('commodore', with_64(draw_commodore)),
    ('t', with_64(draw_t)),
    ('t64', with_64(draw_t)),
    ('cassette', with_64(draw_cassette)),
    ('logo2', draw_logo),
    ('cartridge', with_64(draw_cartridge)),
]


def render(draw, size):
    c = Canvas(size)
    draw(c)
    return c.px


def ico_entry(px):
    """One 4-bit BMP icon image: header, palette, colour rows and mask rows, bottom-up."""
    n = len(px)
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    colour = mask = b''
    for row in reversed(px):
        idx = [0 if p is None else p for p in row]
        line = bytes(idx[i] << 4 | idx[i + 1] for i in range(0, n, 2))
        colour += line + b'\0' * (-len(line) % 4)
        bits = 0
        for p in row:
            bits = bits << 1 | (p is None)
        line = bits.to_bytes(n // 8, 'big')
        mask += line + b'\0' * (-len(line) % 4)
    return header + palette + colour + mask


def ico_file(draw):
    images = [(size, ico_entry(render(draw, size))) for size in SIZES]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    return out + b''.join(data for _, data in images)


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    for name, draw in ICONS:
        with open(os.path.join(folder, name + '.ico'), 'wb') as f:
            f.write(ico_file(draw))


if __name__ == '__main__':
    main()
