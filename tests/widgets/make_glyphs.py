"""Writes two small solid bitmaps and the resource script of the test picture library.

usage: make_glyphs.py OUT_DIR
GLYPHA is red, GLYPHB is blue; both 16 x 16, 24 bits, with a magenta lower-left corner
(the transparent colour of a glyph).
"""
import os
import struct
import sys


def bitmap(colour, size=16):
    rows = []
    for y in range(size):  # bottom row first
        row = b""
        for x in range(size):
            r, g, b = (255, 0, 255) if (x == 0 and y == 0) else colour
            row += bytes((b, g, r))
        rows.append(row + b"\0" * ((4 - len(row) % 4) % 4))
    bits = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, size, size, 1, 24, 0, len(bits), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(bits), 0, 0, 14 + len(info))
    return head + info + bits


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    lines = []
    for name, colour in (("GLYPHA", (255, 0, 0)), ("GLYPHB", (0, 0, 255))):
        path = os.path.join(out, name.lower() + ".bmp")
        with open(path, "wb") as f:
            f.write(bitmap(colour))
        lines.append('%s BITMAP "%s"\n' % (name, path.replace("\\", "/")))
    with open(os.path.join(out, "glyphs.rc"), "w") as f:
        f.writelines(lines)


if __name__ == "__main__":
    main()
