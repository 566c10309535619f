#!/usr/bin/env python3
"""Reads `floppex-cli render` pictures back: cuts the PNG into 8 x 8 cells at the documented
offset (a 32-pixel border, times the scale), matches each cell against the glyph source and
compares the screen codes with what the C64 prints for the directory's own bytes (from c1541),
and with `floppex-cli list` for tapes, programs, cartridges and archives.

picture_test.py disks|others|bad CLI FIXTURES SOURCE WORK
picture_test.py thumbnail CLI FIXTURES SOURCE WORK PNG LISTED SIDE
"""
import os, re, subprocess, sys, zlib

CLI, FIXTURES, SOURCE, WORK = sys.argv[2:6]
RESOURCES, IMAGES = os.path.join(SOURCE, 'src', 'resources'), os.path.join(FIXTURES, 'images')
sys.path.insert(0, RESOURCES)
import make_font, petscii_table  # noqa: E402  the glyph source's reader

BORDER, INK, PAPER = 32, (0x6C, 0x5E, 0xB5), (0x35, 0x28, 0x79)
TABLE = petscii_table.load(os.path.join(RESOURCES, 'petscii.txt'))
GLYPHS = make_font.load_glyphs(os.path.join(RESOURCES, 'c64_font.txt'), TABLE)
# Per set: cell pixels -> the lowest screen code drawn so (codes that look alike read back as one).
CELLS = {s: {} for s in (1, 2)}
for s, code in ((s, code) for s in (1, 2) for code in range(256)):
    CELLS[s].setdefault(make_font.bitmap(GLYPHS, TABLE, s, code), code)
failures = []
check = lambda ok, what: ok or failures.append(what)


def read_png(path):
    """(width, height, pixel(x, y) -> RGB) of an indexed PNG without filters, or of a 32-bit BMP."""
    data = open(path, 'rb').read()
    if data[:2] == b'BM':  # tests/shellext's thumbnails and screenshots, either way up
        at, width, height = (int.from_bytes(data[i:i + 4], 'little', signed=True) for i in (10, 18, 22))
        bgr = lambda o: (data[o + 2], data[o + 1], data[o])
        return width, abs(height), lambda x, y: bgr(at + 4 * (width * (y if height < 0 else abs(height) - 1 - y) + x))
    assert data[:8] == b'\x89PNG\r\n\x1a\n', path
    at, chunks = 8, {}
    while at < len(data):
        size = int.from_bytes(data[at:at + 4], 'big')
        kind, body = data[at + 4:at + 8], data[at + 8:at + 8 + size]
        assert zlib.crc32(kind + body) == int.from_bytes(data[at + 8 + size:at + 12 + size], 'big'), path
        chunks[kind] = chunks.get(kind, b'') + body
        at += 12 + size
    width, height, depth, colour = *(int.from_bytes(chunks[b'IHDR'][i:i + 4], 'big') for i in (0, 4)), *chunks[b'IHDR'][8:10]
    assert colour == 3 and b'IEND' in chunks, path
    palette = [tuple(chunks[b'PLTE'][i:i + 3]) for i in range(0, len(chunks[b'PLTE']), 3)]
    raw, stride = zlib.decompress(chunks[b'IDAT']), 1 + (width * depth + 7) // 8
    assert len(raw) == stride * height and all(raw[y * stride] == 0 for y in range(height)), path

    def pixel(x, y):
        bit = x * depth
        byte = raw[y * stride + 1 + bit // 8]
        return palette[(byte >> (8 - depth - bit % 8)) & ((1 << depth) - 1)]
    return width, height, pixel


def read_cells(path, scale, charset=1):
    """The screen codes of the whole cells that the picture holds, row by row."""
    width, height, pixel = read_png(path)
    origin, step = BORDER * scale, 8 * scale
    check(all(pixel(x, 0) == INK for x in range(0, width, 7)), f'{path}: border')

    def dot(px, py):
        check(pixel(px, py) == pixel(px + scale - 1, py + scale - 1), f'{path}: C64 pixel at {px},{py} not whole')
        return {INK: '#', PAPER: '.'}.get(pixel(px, py), '?')
    rows = [[CELLS[charset].get(tuple(''.join(dot(left + x * scale, top + y * scale) for x in range(8)) for y in range(8)))
             for left in range(origin, min(width, origin + 320 * scale) - step + 1, step)]
            for top in range(origin, height - step + 1, step)]
    border = CELLS[charset][('########',) * 8]
    while rows and all(c == border for c in rows[-1]):  # the border below the last row
        rows.pop()
    return rows


def screen_code(b):
    """What the C64's screen editor puts on screen for PETSCII b between quotes."""
    if b < 0x80:
        return b | 0x80 if b < 0x20 else (b & 0x3F if b < 0x60 else b & 0xDF)
    c = 0x5E if b == 0xFF else b & 0x7F
    return (c | 0x40 | 0x80) if c < 0x20 else c | 0x40


def codes(petscii, reverse=False, charset=1):
    """Canonical screen codes (as read_cells gives them) of PETSCII bytes."""
    return [CELLS[charset][make_font.bitmap(GLYPHS, TABLE, charset, screen_code(b) | (0x80 if reverse else 0))]
            for b in petscii]


def row(*parts, charset=1):
    """A 40-cell row of parts: text (ASCII, shown in the C64's capitals) or bytes, or (either, reverse)."""
    cells = [c for part, reverse in (p if isinstance(p, tuple) else (p, False) for p in parts)
             for c in codes(part.upper().encode('ascii') if isinstance(part, str) else part, reverse, charset)]
    return (cells + codes(b' ' * 40, False, charset))[:40]


def render(path, out, *options):
    return subprocess.run([CLI, 'render', path, '-o', out, *options], capture_output=True, text=True)


def c1541_sectors(image, track):
    """{sector: 256 bytes} of one track, from c1541's -block dumps."""
    args = [a for s in range(40 if track == 40 else 21) for a in ('-block', str(track), str(s))]
    text = subprocess.run(['c1541', image, *args], capture_output=True, text=True).stdout
    dumps = ((int(b.split('>')[0].split()[1]), bytes(int(h, 16) for line in re.findall(
        r'^> [0-9A-F]{2}  ((?:[0-9A-F]{2} ){16})', b, re.M) for h in line.split())) for b in re.split(r'<#\s*\d+:\s*', text)[1:])
    return {s: data for s, data in dumps if len(data) == 256}


def expected_disk(image, listing):
    """The rows the C64 shows: names and id as the directory holds them, the blocks, types and
    blocks free as c1541 lists them."""
    track, first, name_at, id_at = (40, 3, 0x04, 0x16) if image.endswith('.d81') else (18, 1, 0x90, 0xA2)
    header = (sectors := c1541_sectors(image, track))[0]
    blank = lambda b: bytes(0x20 if c == 0xA0 else c for c in b)
    rows = [row('0 ', (b'"' + blank(header[name_at:name_at + 16]) + b'" ' + blank(header[id_at:id_at + 5]), True))]
    # c1541's lines are 28 characters whatever the name holds ($0D, $0A print as line breaks); its
    # header's name and id end at a NUL.
    start = 3 + (header[name_at:name_at + 16] + b'\0').index(0) + 2 + (header[id_at:id_at + 5] + b'\0').index(0) + 1
    end = listing.rindex('\n') + 1
    lines = [listing[i:i + 28] for i in range(start, end, 29)] if listing[start:end] != 'Empty image\n' else []
    slots, t, s, tracks = [], track, first, {track: sectors}
    while t and len(slots) < len(lines):  # the chain, wherever it leads
        data = tracks.setdefault(t, c1541_sectors(image, t)).get(s)
        if data is None: break
        slots += [data[i:i + 32] for i in range(0, 256, 32) if data[i + 2]]
        t, s = data[0], data[1]
    for slot, line in zip(slots, lines):
        blocks, kind = int(line[:5]), line[-5:]
        name = bytearray(blank(slot[5:21]) + b' ')
        name[min(slot[5:21].find(0xA0) % 17, 16)] = 0x22
        pad = ' ' * (1 + max(0, 3 - len(str(blocks))))  # LIST's blank, then the drive's
        rows.append(row(f'{blocks} {pad}"', bytes(name), kind))
    rows.append(row(listing[end:]))
    return rows


def disks():
    made = [os.path.join(WORK, n) for n in ('full.d64', 'pi.d64')]  # 144 entries; a name of sixteen $FF
    subprocess.run(['c1541', '-format', 'full,ff', 'd64', made[0]] +
                   [a for i in range(144) for a in ('-write', os.path.join(IMAGES, 'tiny.prg'), f'f{i}')],
                   check=True, capture_output=True)
    data = bytearray(open(os.path.join(IMAGES, 'mixed.d64'), 'rb').read())
    data[357 * 256 + 256 + 5:357 * 256 + 256 + 21] = b'\xff' * 16  # the first entry of 18/1
    open(made[1], 'wb').write(data)
    # Every image c1541 lists, but the X64 of a 1581 body, which c1541 reads as a 1541 disk.
    images = made + sorted(os.path.join(IMAGES, f) for f in os.listdir(IMAGES)
                           if re.search(r'\.(d64|d71|d81|g64|x64)$', f) and f != 'd81body.x64'
                           and os.path.getsize(os.path.join(IMAGES, f) + '.list'))
    for image in images:
        listing = '\n'.join(l for l in subprocess.run(['c1541', image, '-list'], capture_output=True, text=True).stdout
                            .splitlines() if not l.startswith('Error - '))
        result = render(image, out := os.path.join(WORK, os.path.basename(image) + '.png'))
        if not check(result.returncode == 0 and listing.endswith('blocks free.'), f'{image}: exit {result.returncode} {result.stderr}'):
            continue
        got, want = read_cells(out, 2), expected_disk(image, listing)
        check(got == want, f'{image}: read back {len(got)} rows, expected {len(want)}; first difference at row '
              f'{next((i for i, (a, b) in enumerate(zip(got, want)) if a != b), min(len(got), len(want)))}')
    print(f'{len(images)} disk images read back')


def ascii_of(cells):
    """Screen codes as c1541 prints their PETSCII: letters in lower case."""
    return ''.join(chr(c + 0x60) if 1 <= c <= 0x1A else chr(c) if 0x20 <= c < 0x40 else '@' if c == 0 else '.'
                   for c in (x & 0x7F for x in cells)).rstrip()


def check_listed(out, scale, path):
    """The picture out reads back as `floppex-cli list path` prints it, a tape's load addresses left out."""
    got = [ascii_of(r) for r in read_cells(out, scale)]
    result = subprocess.run([CLI, 'list', path], capture_output=True, text=True)
    listed = [re.sub(r' \$[0-9a-f]{4}-\$[0-9a-f]{4}$', '', l) for l in result.stdout.splitlines()] or \
        [f'(not listed: exit {result.returncode} {result.stderr.strip()[-300:]})']
    check(got[:1] and got[0].startswith(listed[0].rstrip()) and got[1:] == [l.rstrip() for l in listed[1:]], f'{path}: {got} {listed}')


def others():
    for path in ('games.t64', 'b254.prg', 'mixed.zip', 'pc64/b255.p00'):
        path, out = os.path.join(IMAGES, path), os.path.join(WORK, os.path.basename(path) + '.png')
        check(render(path, out, '--scale', '1').returncode == 0, f'{path}: render')
        check_listed(out, 1, path)
    crt, out = os.path.join(FIXTURES, 'crt_tap', 'ocean.crt'), os.path.join(WORK, 'ocean.png')
    check(render(crt, out, '--lower').returncode == 0, 'ocean.crt: render')
    chips = re.findall(r'^\$\w+ CHIP (\w+)\s+#(\d+) (\$\w+) (\$\w+)', open(crt + '.info').read(), re.M)
    got = [ascii_of(r).upper().split() for r in read_cells(out, 2, charset=2)]
    check([[str(int(b)), a.upper(), s.upper(), t] for t, b, a, s in chips] == got[3:], f'ocean.crt: {got}')
    # Sizes: thumbnails hold the rows and columns that fit at their scale.
    disk, whole = os.path.join(IMAGES, 'mixed.d64'), os.path.join(WORK, 'whole.png')
    render(disk, whole, '--scale', '1')
    full = read_cells(whole, 1)
    for side in (16, 64, 128, 256, 384, 767, 768, 1024):
        out = os.path.join(WORK, f'size{side}.png')
        check(render(disk, out, '--size', str(side)).returncode == 0, f'--size {side}')
        check(read_png(out)[:2] == (side, side), f'--size {side}: {read_png(out)[:2]}')
        if side >= 256:
            scale = max(1, side // 384)
            fit, got = (side - BORDER * scale) // (8 * scale), read_cells(out, scale)
            check(got == [r[:fit] for r in full[:fit]], f'--size {side}: {len(got)} rows')
    for scale in (3, 8):
        render(disk, whole, '--scale', str(scale))
        check(read_png(whole)[:2] == (384 * scale, (8 * len(full) + 64) * scale) and read_cells(whole, scale) == full, f'--scale {scale}')


def bad():
    disk, out = os.path.join(IMAGES, 'mixed.d64'), os.path.join(WORK, 'bad.png')
    open(os.path.join(WORK, 'empty.d64'), 'wb').close()
    names = [f'P{i}' for i in range(300)]
    subprocess.run([sys.executable, os.path.join(SOURCE, 'tests', 'fixtures', 't64.py'), os.path.join(WORK, 'long.t64')] +
                   [f"{n}={os.path.join(IMAGES, 'b254.prg')}" for n in names], check=True)
    for case, args, status, message, limit in (
            ('empty file', [os.path.join(WORK, 'empty.d64'), '-o', out], 1, 'empty.d64', ''),
            ('--size 100000', [disk, '-o', out, '--size', '100000'], 2, '--size needs a whole number', ''),
            ('--scale 9', [disk, '-o', out, '--scale', '9'], 2, '--scale needs', ''),
            ('both sizes', [disk, '-o', out, '--scale', '2', '--size', '64'], 2, 'not both', ''),
            ('no -o', [disk], 2, 'needs one FILE and -o', ''),
            ('no such folder', [disk, '-o', os.path.join(WORK, 'none', 'x.png')], 1, 'no such folder', ''),
            ('300 entries in 200 rows, scale 8, in 20 MB: less than one byte a pixel', [os.path.join(WORK, 'long.t64'), '-o', out, '--scale', '8'], 0, '',
             'ulimit -v 20000; ')):
        if os.path.exists(out): os.remove(out)
        command = ' '.join("'" + a.replace("'", "'\\''") + "'" for a in [CLI, 'render'] + args)
        result = subprocess.run(['bash', '-c', limit + command], capture_output=True, text=True)
        check(result.returncode == status and message in result.stderr, f'{case}: exit {result.returncode}: {result.stderr}')
        check(os.path.exists(out) == (status == 0), f'{case}: picture left as it should not be')
        check(not [f for f in os.listdir(WORK) if f.endswith('.part')], f'{case}: temporary file left')
        if status == 0:
            got = read_cells(out, 8)
            check(len(got) == 200 and [ascii_of(r).split('"')[1] for r in got[1:199]] == [n.lower() for n in names[:198]] and
                  ascii_of(got[199]) == '102 more entries not shown.', f'{case}: {len(got)} rows, last {ascii_of(got[-1])}')


def thumbnail():
    """A thumbnail of SIDE x SIDE pixels (tests/desktop) of what LISTED lists: ... thumbnail ... PNG LISTED SIDE"""
    png, listed, side = sys.argv[6], sys.argv[7], int(sys.argv[8])
    check(read_png(png)[:2] == (side, side), f'{png}: {read_png(png)[:2]}')
    check_listed(png, max(1, side // 384), listed)


if __name__ == '__main__':
    os.makedirs(WORK, exist_ok=True)
    {'disks': disks, 'others': others, 'bad': bad, 'thumbnail': thumbnail}[sys.argv[1]]()
    print(''.join(f'FAILED: {f}\n' for f in failures), end='')
    sys.exit(1 if failures else 0)
