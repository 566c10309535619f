#!/usr/bin/env python3
"""Makes the C64 face, a TrueType font, from the glyph source: make_font.py GLYPHS TABLE OUT.ttf

Standard library only. Each pixel is a square of the outline; neighbouring pixels merge into one
contour, drawn with the ink on its right (outer edges clockwise, holes counter-clockwise), and the
em is eight pixels, so the face is exact at every multiple of 8 pixels.
"""
import math
import struct
import sys

import petscii_table

FAMILY = 'Floppex C64'
PIXEL = 128  # font units per pixel
CELL = 8 * PIXEL  # the em, the advance and the line height
ASCENT, DESCENT = 7 * PIXEL, PIXEL  # rows 0-6 stand on the baseline, row 7 hangs below it
NOTDEF = ('.######.', '.#....#.', '.#....#.', '.#....#.', '.#....#.', '.#....#.', '.######.', '........')
INVERT = str.maketrans('#.', '.#')


def load_glyphs(path, table):
    """{code point: 8 rows of '#' and '.'} of every normal glyph both sets draw; raises ValueError."""
    firsts = {}  # character -> the (set, screen code) that draws it
    for set_no in (1, 2):
        for code in range(128):
            firsts.setdefault(petscii_table.character(table, set_no, code), (set_no, code))
    with open(path, encoding='utf-8') as f:
        lines = [line.rstrip('\n') for line in f]
    glyphs, number = {}, 0
    while number < len(lines):
        line, head = lines[number], lines[number].split()
        number += 1
        if not head or line == '#' or line.startswith('# '):
            continue
        where = f'{path}:{number}'
        if len(head) < 3 or head[0] != 'set' or head[1] not in ('1', '2') or len(head[2]) < 2 \
                or head[2][0] != '$' or not all(c in '0123456789abcdefABCDEF' for c in head[2][1:]):
            raise ValueError(f'{where}: expected "set N $XX NAME"')
        set_no, code = int(head[1]), int(head[2][1:], 16)
        point = petscii_table.character(table, set_no, code) if code < 0x80 else None
        if firsts.get(point) != (set_no, code) or point in glyphs:
            raise ValueError(f'{where}: set {set_no} {head[2]} is not a code drawn here (see the header)')
        rows = tuple(lines[number:number + 8])
        if len(rows) != 8 or any(len(row) != 8 or set(row) - set('#.') for row in rows):
            raise ValueError(f'{where}: eight rows of eight "#" or "." must follow')
        glyphs[point] = rows
        number += 8
    missing = [f'set {s} ${c:02X}' for point, (s, c) in firsts.items() if point not in glyphs]
    if missing:
        raise ValueError(f'{path}: no glyph for ' + ', '.join(missing))
    return glyphs


def bitmap(glyphs, table, set_no, screen):
    """The 8 rows the face draws for screen code 0-255 of set 1 or 2."""
    rows = glyphs[petscii_table.character(table, set_no, screen & 0x7F)]
    return tuple(row.translate(INVERT) for row in rows) if screen & 0x80 else rows


def contours(rows):
    """Closed loops of pixel corners (x right, y up from the baseline), the ink on their right."""
    ink = {(x, 6 - y) for y, row in enumerate(rows) for x, c in enumerate(row) if c == '#'}
    edges = {}  # corner -> corners an edge leads to
    for x, y in ink:
        sides = (((x, y), (x, y + 1), (x - 1, y)), ((x, y + 1), (x + 1, y + 1), (x, y + 1)),
                 ((x + 1, y + 1), (x + 1, y), (x + 1, y)), ((x + 1, y), (x, y), (x, y - 1)))
        for start, end, neighbour in sides:
            if neighbour not in ink:
                edges.setdefault(start, []).append(end)
    loops = []
    while edges:
        start = here = min(edges)  # leftmost: never a corner where two loops touch
        heading, loop = None, []
        while True:
            ends = edges[here]
            # Where two pixels touch only at a corner, turn right: each keeps its own loop.
            right = heading and (here[0] + heading[1], here[1] - heading[0])
            end = right if right in ends else ends[0]
            ends.remove(end)
            if not ends:
                del edges[here]
            loop.append(here)
            heading, here = (end[0] - here[0], end[1] - here[1]), end
            if here == start:
                break
        turns = [p for k, p in enumerate(loop)
                 if (p[0] - loop[k - 1][0], p[1] - loop[k - 1][1]) !=
                 (loop[(k + 1) % len(loop)][0] - p[0], loop[(k + 1) % len(loop)][1] - p[1])]
        loops.append([(x * PIXEL, y * PIXEL) for x, y in turns])
    return loops


def glyph_record(loops):
    """A simple glyph of the glyf table (b'' when empty) and its left side bearing."""
    if not loops:
        return b'', 0
    points = [p for loop in loops for p in loop]
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    ends, total = [], 0
    for loop in loops:
        total += len(loop)
        ends.append(total - 1)
    flags, xdata, ydata, last = [], bytearray(), bytearray(), (0, 0)
    for point in points:
        flag = 0x01  # on the curve
        for delta, short, same, data in ((point[0] - last[0], 0x02, 0x10, xdata),
                                         (point[1] - last[1], 0x04, 0x20, ydata)):
            if delta == 0:
                flag |= same
            elif abs(delta) <= 255:
                flag |= short | (same if delta > 0 else 0)
                data.append(abs(delta))
            else:
                data += struct.pack('>h', delta)
        flags.append(flag)
        last = point
    packed, k = bytearray(), 0
    while k < len(flags):
        run = 1
        while k + run < len(flags) and flags[k + run] == flags[k] and run < 256:
            run += 1
        packed += bytes([flags[k] | 0x08, run - 1]) if run > 1 else bytes([flags[k]])
        k += run
    record = struct.pack('>5h', len(loops), min(xs), min(ys), max(xs), max(ys))
    record += struct.pack(f'>{len(ends)}H', *ends) + b'\0\0' + packed + xdata + ydata
    return record + b'\0' * (-len(record) % 4), min(xs)


def face(glyphs, table):
    """The face's glyphs in order (.notdef first) and its character map {code point: glyph}."""
    order, index, cmap = [NOTDEF], {}, {}  # index: (character, reversed) -> glyph
    for set_no in (1, 2):
        for screen in range(256):
            key = (petscii_table.character(table, set_no, screen & 0x7F), screen >= 0x80)
            if key not in index:
                index[key] = len(order)
                order.append(bitmap(glyphs, table, set_no, screen))
            cmap[petscii_table.face_code_point(table, set_no, screen)] = index[key]
    return order, cmap


def cmap_table(cmap):
    """One subtable, format 4: every code point of the face lies below U+FFFF."""
    runs = []
    for point in sorted(cmap):
        if runs and runs[-1][1] == point - 1:
            runs[-1][1] = point
        else:
            runs.append([point, point])
    runs.append([0xFFFF, 0xFFFF])
    count, starts, ends, deltas, offsets, ids = len(runs), [], [], [], [], []
    for k, (first, last) in enumerate(runs):
        glyph_ids = [cmap.get(p, 0) for p in range(first, last + 1)]
        if all(g - p == glyph_ids[0] - first for p, g in zip(range(first, last + 1), glyph_ids)):
            deltas.append((glyph_ids[0] - first) & 0xFFFF)
            offsets.append(0)
        else:
            deltas.append(0)
            offsets.append(2 * (count - k + len(ids)))
            ids += glyph_ids
        starts.append(first)
        ends.append(last)
    search = 2 ** int(math.log2(count))
    body = struct.pack(f'>{count}HH{count}H{count}H{count}H{len(ids)}H',
                       *ends, 0, *starts, *deltas, *offsets, *ids)
    format4 = struct.pack('>7H', 4, 14 + len(body), 0, 2 * count, 2 * search,
                          int(math.log2(search)), 2 * count - 2 * search) + body
    return struct.pack('>HHHHI', 0, 1, 3, 1, 12) + format4


def name_table():
    names = {0: 'Drawn for Floppex from its own rules', 1: FAMILY, 2: 'Regular',
             3: FAMILY + ' Regular 1.0', 4: FAMILY, 5: 'Version 1.0', 6: FAMILY.replace(' ', '')}
    records, strings = b'', b''
    for name_id, text in names.items():
        data = text.encode('utf-16-be')
        records += struct.pack('>6H', 3, 1, 0x409, name_id, len(data), len(strings))
        strings += data
    return struct.pack('>3H', 0, len(names), 6 + len(records)) + records + strings


def unicode_ranges(points):
    """OS/2's ulUnicodeRange bits for the blocks the face has characters of."""
    blocks = ((0x20, 0x7E, 0), (0xA0, 0xFF, 1), (0x370, 0x3FF, 7), (0x2190, 0x21FF, 37),
              (0x2500, 0x257F, 43), (0x2580, 0x259F, 44), (0x25A0, 0x25FF, 45), (0x2600, 0x26FF, 46),
              (0x2700, 0x27BF, 47), (0xE000, 0xF8FF, 60))
    bits = 0
    for first, last, bit in blocks:
        if any(first <= p <= last for p in points):
            bits |= 1 << bit
    return [(bits >> (32 * k)) & 0xFFFFFFFF for k in range(4)]


def checksum(data):
    data += b'\0' * (-len(data) % 4)
    return sum(struct.unpack(f'>{len(data) // 4}I', data)) & 0xFFFFFFFF


def sfnt(tables):
    """The font file: the table directory, the tables and head's checkSumAdjustment."""
    tags = sorted(tables)
    selector = int(math.log2(len(tags)))
    font = struct.pack('>IHHHH', 0x00010000, len(tags), 16 << selector, selector, 16 * (len(tags) - (1 << selector)))
    offset, body, head_at = 12 + 16 * len(tags), b'', 0
    for tag in tags:
        data = tables[tag]
        font += struct.pack('>4sIII', tag.encode('ascii'), checksum(data), offset, len(data))
        head_at = offset if tag == 'head' else head_at
        body += data + b'\0' * (-len(data) % 4)
        offset = 12 + 16 * len(tags) + len(body)
    font += body
    adjustment = (0xB1B0AFBA - checksum(font)) & 0xFFFFFFFF
    return font[:head_at + 8] + struct.pack('>I', adjustment) + font[head_at + 12:]


def make_font(glyphs, table):
    order, cmap = face(glyphs, table)
    outlines = [contours(rows) for rows in order]
    records = [glyph_record(loops) for loops in outlines]
    glyf, loca = b'', []
    for record, _ in records:
        loca.append(len(glyf))
        glyf += record
    loca.append(len(glyf))
    inked = [[p for loop in loops for p in loop] for loops in outlines if loops]
    x_min, x_max = min(p[0] for g in inked for p in g), max(p[0] for g in inked for p in g)
    y_min, y_max = min(p[1] for g in inked for p in g), max(p[1] for g in inked for p in g)
    bearings = [min(p[0] for p in g) for g in inked]
    right_bearings = [CELL - max(p[0] for p in g) for g in inked]
    date = 3850070400  # 2026-01-01, in seconds since 1904: the same font from the same source
    points = sorted(cmap)
    return sfnt({
        'head': struct.pack('>IIIIHHqqhhhhHHhhh', 0x00010000, 0x00010000, 0, 0x5F0F3CF5, 0x000B, CELL,
                            date, date, x_min, y_min, x_max, y_max, 0, 8, 2, 0, 0),
        'hhea': struct.pack('>Ihhh H hhh hhh hhhh h H'.replace(' ', ''), 0x00010000, ASCENT, -DESCENT, 0,
                            CELL, min(bearings), min(right_bearings), x_max, 1, 0, 0, 0, 0, 0, 0, 0, 1),
        'maxp': struct.pack('>I14H', 0x00010000, len(order), max(len(g) for g in inked),
                            max(len(loops) for loops in outlines), 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0),
        'OS/2': struct.pack('>HhHHH10hh10s4I4sHHHhhhHHIIhhHHH', 4, CELL, 400, 5, 0,
                            CELL // 2, CELL // 2, 0, PIXEL, CELL // 2, CELL // 2, 0, 3 * PIXEL, PIXEL, 3 * PIXEL,
                            0, bytes([2, 0, 5, 9, 0, 0, 0, 0, 0, 0]), *unicode_ranges(points), b'FLPX', 0x0040,
                            points[0], points[-1], ASCENT, -DESCENT, 0, ASCENT, DESCENT,
                            1, 0, 5 * PIXEL, ASCENT, 0, 0x20, 1),
        'hmtx': struct.pack(f'>Hh{len(order) - 1}h', CELL, *[bearing for _, bearing in records]),
        'cmap': cmap_table(cmap),
        'loca': struct.pack(f'>{len(loca)}H', *[offset // 2 for offset in loca]),  # short offsets
        'glyf': glyf,
        'name': name_table(),
        'post': struct.pack('>IIhhIIIII', 0x00030000, 0, -DESCENT // 2, PIXEL // 2, 1, 0, 0, 0, 0),
    })


if __name__ == '__main__':
    if len(sys.argv) != 4:
        sys.exit('usage: make_font.py GLYPHS TABLE OUT.ttf')
    try:
        table = petscii_table.load(sys.argv[2])
        font = make_font(load_glyphs(sys.argv[1], table), table)
    except (OSError, ValueError) as error:
        sys.exit(f'make_font: {error}')
    with open(sys.argv[3], 'wb') as out:
        out.write(font)
