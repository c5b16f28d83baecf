"""Draws the skinned system menu's glyphs: PELMORMENU, four 16 x 16 pictures side by side
(restore, maximise, minimise, close) in black on white, white being their mask colour, and
menu_glyphs.rc naming the bitmap.

Usage: make_menu_glyphs.py OUT_DIR
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from bmp import Canvas  # noqa: E402

BLACK = (0, 0, 0)


def main(out):
    os.makedirs(out, exist_ok=True)
    c = Canvas(64, 16)
    # Restore: two overlapping windows.
    c.rect(6, 3, 13, 4, BLACK)
    c.rect(12, 3, 13, 9, BLACK)
    c.rect(3, 6, 10, 8, BLACK)
    c.rect(3, 6, 4, 13, BLACK)
    c.rect(9, 6, 10, 13, BLACK)
    c.rect(3, 12, 10, 13, BLACK)
    # Maximise: one window.
    c.rect(16 + 3, 3, 16 + 13, 5, BLACK)
    c.rect(16 + 3, 3, 16 + 4, 13, BLACK)
    c.rect(16 + 12, 3, 16 + 13, 13, BLACK)
    c.rect(16 + 3, 12, 16 + 13, 13, BLACK)
    # Minimise: a bar.
    c.rect(32 + 4, 10, 32 + 12, 12, BLACK)
    # Close: a cross.
    for i in range(8):
        c.rect(48 + 4 + i, 4 + i, 48 + 6 + i, 5 + i, BLACK)
        c.rect(48 + 10 - i, 4 + i, 48 + 12 - i, 5 + i, BLACK)
    c.save(os.path.join(out, "pelmormenu.bmp"))
    with open(os.path.join(out, "menu_glyphs.rc"), "w") as rc:
        rc.write('PELMORMENU BITMAP "%s"\n' % os.path.join(out, "pelmormenu.bmp"))


if __name__ == "__main__":
    main(sys.argv[1])
