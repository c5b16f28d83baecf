"""Draws Client's own pictures: the program icon and the tray icon's frames.

usage: make_client_art.py OUT_DIR
Writes karvell.ico (32x32, 32-bit), tray0.bmp (connected), tray1.bmp (disconnected),
tray2.bmp (blank frame for blinking) and client_art.rc naming them.
"""
import os
import struct
import sys

from bmp import Canvas

BLUE = (41, 128, 185)
GREY = (149, 165, 166)
WHITE = (255, 255, 255)
MAGENTA = (255, 0, 255)


def badge(fill, back=MAGENTA):
    c = Canvas(32, 32, back)
    c.round_rect(1, 1, 31, 31, 8, fill)
    # A "K": the stem and two arms.
    c.line(11, 8, 11, 24, WHITE, 3)
    c.line(12, 16, 21, 8, WHITE, 3)
    c.line(13, 15, 21, 24, WHITE, 3)
    return c


def write_ico(canvas, path):
    w, h = canvas.w, canvas.h
    pixels = bytearray()
    for y in range(h - 1, -1, -1):
        for r, g, b in canvas.px[y]:
            alpha = 0 if (r, g, b) == MAGENTA else 255
            pixels += bytes((b, g, r, alpha))
    mask = bytes(((w + 31) // 32) * 4 * h)
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    image = info + pixels + mask
    header = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", w, h, 0, 0, 1, 32, len(image), 22)
    with open(path, "wb") as f:
        f.write(header + image)


def main(out):
    os.makedirs(out, exist_ok=True)
    write_ico(badge(BLUE), os.path.join(out, "karvell.ico"))
    badge(BLUE).save(os.path.join(out, "tray0.bmp"))
    badge(GREY).save(os.path.join(out, "tray1.bmp"))
    Canvas(32, 32, MAGENTA).save(os.path.join(out, "tray2.bmp"))
    with open(os.path.join(out, "client_art.rc"), "w") as rc:
        rc.write('MAINICON ICON "%s"\n' % os.path.join(out, "karvell.ico"))
        for i in range(3):
            rc.write('TRAY%d BITMAP "%s"\n' % (i, os.path.join(out, "tray%d.bmp" % i)))


if __name__ == "__main__":
    main(sys.argv[1])
