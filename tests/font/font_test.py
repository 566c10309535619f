#!/usr/bin/env python3
"""Checks of the C64 face (font_test.py source|render|ocr RESOURCES FONT.ttf OUT_FOLDER): the glyph
source, the font as FreeType draws it (left in OUT_FOLDER as the contact sheet), OCR of its text."""
import subprocess, sys

sys.path.insert(0, sys.argv[2])
import make_font, petscii_table  # noqa: E402

SCALE = 4  # screen pixels per glyph pixel in the renderings
TABLE = petscii_table.load(f'{sys.argv[2]}/petscii.txt')
GLYPHS = make_font.load_glyphs(f'{sys.argv[2]}/c64_font.txt', TABLE)
FONT, OUT = sys.argv[3], sys.argv[4]


def drawn_like(set_no, screen):
    """The code the C64 draws this one like: set 2 has its own letters and four graphics of its
    own and set 1's capitals at $41-$5A; set 1's $60 is a second space and $5D a second line."""
    reverse, code = screen & 0x80, screen & 0x7F
    if set_no == 2 and 0x41 <= code <= 0x5A:
        return 1, reverse | (code - 0x40)
    if set_no == 2 and (0x01 <= code <= 0x1A or code in (0x5E, 0x5F, 0x69, 0x7A)):
        return 2, screen
    return 1, reverse | {0x60: 0x20, 0x5D: 0x42}.get(code, code)


def check_source():
    """Every code of both sets, reverse included, has a glyph; two share one where the C64 draws them alike."""
    codes = [(s, c) for s in (1, 2) for c in range(256)]
    drawn = {code: make_font.bitmap(GLYPHS, TABLE, *code) for code in codes}
    return [f'set {s} ${c:02X} and set {t} ${d:02X}: drawn alike but the C64 draws them differently, or the other way round'
            for (s, c) in codes for (t, d) in codes
            if (s, c) < (t, d) and (drawn[s, c] == drawn[t, d]) != (drawn_like(s, c) == drawn_like(t, d))]


def label(text, pointsize, image, *after):
    """Draws text with FreeType (ImageMagick's label), black on white without smoothing."""
    escaped = text.replace('\\', '\\\\').replace('%', '%%').replace('@', '\\@')
    subprocess.run(['convert', '-font', FONT, '-pointsize', str(pointsize), '+antialias', 'label:' + escaped,
                    '-bordercolor', 'white', '-border', str(pointsize // 2), *after, image], check=True)


def pixels(image):
    """Rows of booleans, true where black."""
    pgm = subprocess.run(['convert', image, '-depth', '8', 'pgm:-'], capture_output=True, check=True).stdout
    _, width, height, _, data = pgm.split(maxsplit=4)
    return [[v < 128 for v in data[y * int(width):(y + 1) * int(width)]] for y in range(int(height))]


def check_render():
    """Both sets, 16 codes a row, at four screen pixels per glyph pixel, read back cell by cell and
    left as the contact sheet (ImageMagick's label draws at most eight rows at a time)."""
    faults, sheets = [], []
    for set_no in (1, 2):
        halves = [f'{OUT}/c64_font_set{set_no}_{half}.png' for half in (0, 1)]
        for half, image in enumerate(halves):
            codes = range(128 * half, 128 * half + 128)
            label('\n'.join(''.join(chr(petscii_table.face_code_point(TABLE, set_no, c)) for c in codes[r:r + 16])
                            for r in range(0, 128, 16)), 8 * SCALE, image)
            drawn, margin = pixels(image), 4 * SCALE
            for k, screen in enumerate(codes):
                top, left = margin + 8 * SCALE * (k // 16), margin + 8 * SCALE * (k % 16)
                seen = tuple(''.join('#' if drawn[top + SCALE * y + 1][left + SCALE * x + 1] else '.'
                                     for x in range(8)) for y in range(8))
                if seen != make_font.bitmap(GLYPHS, TABLE, set_no, screen):
                    faults.append(f'set {set_no} ${screen:02X}: FreeType draws {seen}')
        sheets.append(f'{OUT}/c64_font_set{set_no}.png')
        subprocess.run(['convert', *halves, '-append', sheets[-1]], check=True)
    subprocess.run(['convert', *sheets, '+append', f'{OUT}/c64_font_sheet.png'], check=True)
    return faults


def check_ocr():
    """Pangrams, so that the reader can lean on words as it does with print, and the digits;
    drawn four times as large and softened a little, as a screen's pixels are by the eye."""
    faults = []
    for text in ('THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG', 'the quick brown fox jumps over the lazy dog', '0123456789'):
        label(text, 8 * SCALE, image := f'{OUT}/ocr_{text[0]}.png', '-blur', '0x1')
        read = subprocess.run(['tesseract', image, '-', '--psm', '7'], capture_output=True, text=True).stdout.strip()
        if len(read) != len(text) or any(r not in {'0': '0O', '1': '1Il'}.get(t, t) for t, r in zip(text, read)):
            faults.append(f'tesseract read "{read}" for "{text}"')
    return faults


if __name__ == '__main__':
    faults = {'source': check_source, 'render': check_render, 'ocr': check_ocr}[sys.argv[1]]()
    print('\n'.join(faults) or 'ok')
    sys.exit(1 if faults else 0)
