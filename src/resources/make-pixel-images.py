#!/usr/bin/env python3
"""Writes the hand-drawn pixel images: the toolbar buttons (16 x 15, and
32 x 30 for screens at twice the density) and the 16 x 16 icons. The 32 x 32 icons are rendered from the SVG files instead:
    convert -background none -density 384 icons/NAME.svg -resize 32x32 PNG32:icons/NAME-32.png
Run from this folder; standard library only."""

import struct
import zlib

# The classic 16-colour palette, plus '.' for transparent.
PALETTE = {
    '.': None,
    'k': (0x00, 0x00, 0x00), 'm': (0x80, 0x00, 0x00), 'G': (0x00, 0x80, 0x00),
    'o': (0x80, 0x80, 0x00), 'n': (0x00, 0x00, 0x80), 'p': (0x80, 0x00, 0x80),
    't': (0x00, 0x80, 0x80), 'g': (0x80, 0x80, 0x80), 'l': (0xC0, 0xC0, 0xC0),
    'r': (0xFF, 0x00, 0x00), 'L': (0x00, 0xFF, 0x00), 'y': (0xFF, 0xFF, 0x00),
    'b': (0x00, 0x00, 0xFF), 'f': (0xFF, 0x00, 0xFF), 'c': (0x00, 0xFF, 0xFF),
    'w': (0xFF, 0xFF, 0xFF),
}


def write_png(path, rows):
    width = len(rows[0])
    assert all(len(row) == width for row in rows), path
    raw = b''
    for row in rows:
        raw += b'\x00'
        for ch in row:
            colour = PALETTE[ch]
            raw += bytes(colour + (255,)) if colour else b'\x00\x00\x00\x00'

    def chunk(kind, data):
        body = kind + data
        return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body))

    header = struct.pack('>IIBBBBB', width, len(rows), 8, 6, 0, 0, 0)
    with open(path, 'wb') as f:
        f.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) +
                chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


TOOLBAR = {
    'file-new': [
        '................',
        '...kkkkkkkk.....',
        '...kwwwwwwkk....',
        '...kwwwwwwklk...',
        '...kwwwwwwkllk..',
        '...kwwwwwwkkkkk.',
        '...kwwwwwwwwwwk.',
        '...kwwwwwwwwwwk.',
        '...kwwwwwwwwwwk.',
        '...kwwwwwwwwwwk.',
        '...kwwwwwwwwwwk.',
        '...kwwwwwwwwwwk.',
        '...kwwwwwwwwwwk.',
        '...kkkkkkkkkkkk.',
        '................',
    ],
    'file-open': [
        '................',
        '..........kkk...',
        '.........k...k.k',
        '..............kk',
        '.kkkk........kkk',
        'kyyyyk..........',
        'kyyyyykkkkkkk...',
        'kyyyyyyyyyyyk...',
        'kyyykkkkkkkkkkkk',
        'kyykoooooooooook',
        'kykoooooooooook.',
        'kykooooooooook..',
        'kkoooooooooook..',
        'kkkkkkkkkkkkk...',
        '................',
    ],
    'file-save': [
        '................',
        '.kkkkkkkkkkkkkk.',
        '.kgkwwwwwwwwkgk.',
        '.kgkwwwwwwwwkgk.',
        '.kgkwwwwwwwwkgk.',
        '.kgkwwwwwwwwkgk.',
        '.kggkkkkkkkkggk.',
        '.kggggggggggggk.',
        '.kggkkkkkkkkggk.',
        '.kggklllllkkggk.',
        '.kggklllllkkggk.',
        '.kggklllllkkggk.',
        '..kkkkkkkkkkkkk.',
        '................',
        '................',
    ],
    'file-print': [
        '................',
        '....kkkkkkkk....',
        '....kwwwwwwk....',
        '....kwkkkkwk....',
        '....kwwwwwwk....',
        '....kwkkkkwk....',
        '..kkkkkkkkkkkk..',
        '.klllllllllllLk.',
        '.kllllllllllllk.',
        '.kggggggggggggk.',
        '.kkkkkkkkkkkkkk.',
        '..kwwwwwwwwwwk..',
        '..kwwwwwwwwwwk..',
        '..kkkkkkkkkkkk..',
        '................',
    ],
    'settings': [
        '................',
        '......kkkk......',
        '..kk..kllk..kk..',
        '..klkkkllkkklk..',
        '...kllllllllk...',
        '...kllkkkkllk...',
        '.kkllk....kllkk.',
        '.klllk....klllk.',
        '.kkllk....kllkk.',
        '...kllkkkkllk...',
        '...kllllllllk...',
        '..klkkkllkkklk..',
        '..kk..kllk..kk..',
        '......kkkk......',
        '................',
    ],
    'comment': [
        '................',
        '.kkkkkkkkkkkkkk.',
        '.kwwwwwwwwwwwwk.',
        '.kwkkkkkkkkkwwk.',
        '.kwwwwwwwwwwwwk.',
        '.kwkkkkkkkwwwwk.',
        '.kwwwwwwwwwwwwk.',
        '.kwkkkkkkkkkwwk.',
        '.kwwwwwwwwwwwwk.',
        '.kkkkkwwwkkkkkk.',
        '.....kwwk.......',
        '.....kwk........',
        '.....kk.........',
        '................',
        '................',
    ],
    'data-start': [
        '................',
        '................',
        '......kkkk......',
        '....kkrrrrkk....',
        '...krrrrrrrrk...',
        '...krrwwrrrrk...',
        '..krrwwrrrrrrk..',
        '..krrwrrrrrrrk..',
        '..krrrrrrrrrrk..',
        '..krrrrrrrrrrk..',
        '...krrrrrrrrk...',
        '...kmrrrrrrmk...',
        '....kkmmmmkk....',
        '......kkkk......',
        '................',
    ],
    'data-pause': [
        '................',
        '................',
        '....kkkk.kkkk...',
        '....kbbk.kbbk...',
        '....kbbk.kbbk...',
        '....kbbk.kbbk...',
        '....kbbk.kbbk...',
        '....kbbk.kbbk...',
        '....kbbk.kbbk...',
        '....kbbk.kbbk...',
        '....kbbk.kbbk...',
        '....kbbk.kbbk...',
        '....kkkk.kkkk...',
        '................',
        '................',
    ],
    'app-about': [
        '................',
        '.....kkkkkk.....',
        '...kkbbbbbbkk...',
        '..kbbbbwwbbbbk..',
        '..kbbbbwwbbbbk..',
        '.kbbbbbbbbbbbbk.',
        '.kbbbbwwwbbbbbk.',
        '.kbbbbbwwbbbbbk.',
        '.kbbbbbwwbbbbbk.',
        '.kbbbbbwwbbbbbk.',
        '..kbbbwwwwbbbk..',
        '..kbbbbbbbbbbk..',
        '...kkbbbbbbkk...',
        '.....kkkkkk.....',
        '................',
    ],
}

ICONS16 = {
    'icons/quolix-16': [
        '.nnnnnnnnnnnnnn.',
        'nnnnnnnnnnnnnnnn',
        'nnkkkkkkkkkkkknn',
        'nnkwwlwwlwwwbknn',
        'nnkwwlwwlwwbwknn',
        'nnkwwlwwlbbwwknn',
        'nnkwwlwbblwwwknn',
        'nnkwbbbwlwwwwknn',
        'nnkbrrrrrrrrrknn',
        'nnkwwlwwlwwwwknn',
        'nnkwwlwwlwwwwknn',
        'nnkkkkkkkkkkkknn',
        'nnnnnnnnnnnnnnnn',
        'nnLLLLLLLLLLLLnn',
        'nnnnnnnnnnnnnnnn',
        '.nnnnnnnnnnnnnn.',
    ],
    'icons/quolix-document-16': [
        '..gggggggg......',
        '..gwwwwwwgg.....',
        '..gwwwwwwglg....',
        '..gwwwwwwgllg...',
        '..gwwwwwwggggg..',
        '..gwwwwwwwwwwg..',
        '..gwnnnnnnnnwg..',
        '..gwnwwwwwbnwg..',
        '..gwnwwwwbwnwg..',
        '..gwnwbbbwwnwg..',
        '..gwnbrrrrrnwg..',
        '..gwnwwwwwwnwg..',
        '..gwnnnnnnnnwg..',
        '..gwwwwwwwwwwg..',
        '..gggggggggggg..',
        '................',
    ],
}

def scale2x(rows):
    """Doubles a drawing the pixel-art way (Scale2x): each pixel becomes four,
    and a corner takes its two neighbours' colour where they agree, so that
    diagonals stay steps of one pixel instead of turning into blocks of two."""
    height, width = len(rows), len(rows[0])

    def at(x, y):
        return rows[min(max(y, 0), height - 1)][min(max(x, 0), width - 1)]

    result = []
    for y in range(height):
        top, bottom = '', ''
        for x in range(width):
            p = at(x, y)
            a, b, c, d = at(x, y - 1), at(x + 1, y), at(x - 1, y), at(x, y + 1)
            top += (a if c == a and c != d and a != b else p)
            top += (b if a == b and a != c and b != d else p)
            bottom += (c if d == c and d != b and c != a else p)
            bottom += (d if b == d and b != a and d != c else p)
        result += [top, bottom]
    return result


if __name__ == '__main__':
    for name, rows in TOOLBAR.items():
        assert len(rows) == 15, name
        write_png('toolbar/%s.png' % name, rows)
        # Qt picks NAME@2x.png itself where the screen's scale is 2.
        write_png('toolbar/%s@2x.png' % name, scale2x(rows))
    for name, rows in ICONS16.items():
        assert len(rows) == 16, name
        write_png('%s.png' % name, rows)
