#!/usr/bin/env python3
"""The PETSCII table, petscii.txt: the characters of both C64 character sets by screen code.

Run as a program it writes the listing's C++ arrays: petscii_table.py TABLE OUT.inc
make_font.py reads the same table for the C64 face's character map.
"""
import sys

PRIVATE_USE = {1: 0xE000, 2: 0xE100}  # the face's own characters: base + screen code


def load(path):
    """128 rows of (set 1, set 1 reverse or None, set 2) code points; raises ValueError."""
    rows = {}
    with open(path, encoding='utf-8') as f:
        for number, line in enumerate(f, 1):
            fields = line.split('#', 1)[0].split()
            if not fields:
                continue
            try:
                code = int(fields[0].lstrip('$'), 16)
                points = [None if x == '-' else int(x[2:], 16) for x in fields[1:4]]
                if len(fields) != 4 or not fields[0].startswith('$') or code in rows or points[0] is None \
                        or not all(x == '-' or x.startswith('U+') for x in fields[1:4]):
                    raise ValueError
            except ValueError:
                raise ValueError(f'{path}:{number}: expected "$XX U+XXXX U+XXXX|- U+XXXX|-"') from None
            rows[code] = (points[0], points[1], points[2] if points[2] is not None else points[0])
    if sorted(rows) != list(range(128)):
        raise ValueError(f'{path}: screen codes $00-$7F, each once')
    return [rows[code] for code in range(128)]


def character(table, set_no, code):
    """The Unicode character of code 0-127 of set 1 or 2; codes with the same one look alike."""
    return table[code][0 if set_no == 1 else 2]


def face_code_point(table, set_no, screen):
    """The code point of screen code 0-255 of set 1 or 2 in the C64 face: its character where
    that lies in the Basic Multilingual Plane, else private use, base + screen code (reverse
    characters, and Symbols for Legacy Computing, which GDI's ExtTextOutW does not draw from a
    surrogate pair)."""
    if screen < 0x80 and character(table, set_no, screen) <= 0xFFFF:
        return character(table, set_no, screen)
    return PRIVATE_USE[set_no] + screen


def write_cpp(table, out):
    def array(name, values, note):
        items = ', '.join(f'0x{v:X}' for v in values)
        out.write(f'// {note}\nconstexpr std::array<char32_t, {len(values)}> {name} = {{{items}}};\n')
    out.write('// Made by src/resources/petscii_table.py from src/resources/petscii.txt: edit those.\n')
    array('kSet1', [row[0] for row in table], 'Set 1 (upper case and graphics) by screen code.')
    array('kSet1Reverse', [row[1] or 0 for row in table], 'Set 1 reversed where Unicode has it; 0: the plain character.')
    for set_no in (1, 2):
        array(f'kFace{set_no}', [face_code_point(table, set_no, screen) for screen in range(256)],
              f'Set {set_no} in the C64 face, by screen code $00-$FF.')


if __name__ == '__main__':
    try:
        table = load(sys.argv[1])
    except (OSError, ValueError) as error:
        sys.exit(f'petscii_table: {error}')
    with open(sys.argv[2], 'w', encoding='utf-8') as f:
        write_cpp(table, f)
