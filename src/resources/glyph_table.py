#!/usr/bin/env python3
"""Writes the glyph source's cells as C++ arrays for the directory picture:
glyph_table.py GLYPHS TABLE OUT.inc

One 8-byte cell per screen code $00-$7F of each set, row 0 first, the leftmost pixel in the top
bit; the picture draws codes $80-$FF as these inverted, as the C64 does.
"""
import sys

import make_font
import petscii_table


def cells(glyphs, table, set_no):
    for screen in range(128):
        rows = make_font.bitmap(glyphs, table, set_no, screen)
        yield [int(row.replace('#', '1').replace('.', '0'), 2) for row in rows]


if __name__ == '__main__':
    if len(sys.argv) != 4:
        sys.exit('usage: glyph_table.py GLYPHS TABLE OUT.inc')
    try:
        table = petscii_table.load(sys.argv[2])
        glyphs = make_font.load_glyphs(sys.argv[1], table)
    except (OSError, ValueError) as error:
        sys.exit(f'glyph_table: {error}')
    with open(sys.argv[3], 'w', encoding='utf-8') as out:
        out.write('// Made by src/resources/glyph_table.py from src/resources/c64_font.txt: edit those.\n')
        for set_no in (1, 2):
            out.write(f'// Set {set_no} by screen code $00-$7F: eight rows, the leftmost pixel in the top bit.\n')
            out.write(f'constexpr uint8_t kGlyphs{set_no}[128][8] = {{\n')
            for cell in cells(glyphs, table, set_no):
                out.write('    {' + ', '.join(f'0x{b:02X}' for b in cell) + '},\n')
            out.write('};\n')
