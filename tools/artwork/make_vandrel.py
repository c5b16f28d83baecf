"""Draws the pictures of the picture library Vandrel and writes its resource script.

usage: make_vandrel.py OUT_DIR
Every bitmap the main window and the chat window load by name, in a flat style: a rounded
tile per left-hand button (lighter when the mouse is over it) with a simple white symbol.
"""
import os
import sys

from bmp import Canvas

WHITE = (255, 255, 255)
BACK = (240, 244, 248)


def symbol(c, kind, col):
    if kind == "person":      # find a friend
        c.circle(16, 12, 5, col)
        c.round_rect(8, 18, 25, 26, 5, col)
    elif kind == "chart":     # promotion
        for i, h in enumerate((6, 11, 16)):
            c.rect(8 + i * 6, 25 - h, 12 + i * 6, 25, col)
    elif kind == "pen":       # edit details
        c.line(9, 23, 22, 10, col, 3)
        c.line(8, 25, 12, 25, col, 2)
    elif kind == "trade":     # trade
        c.line(8, 12, 24, 12, col, 2)
        c.line(20, 8, 24, 12, col, 2)
        c.line(8, 20, 24, 20, col, 2)
        c.line(8, 20, 12, 24, col, 2)
    elif kind == "bookmark":  # saved addresses
        c.rect(11, 7, 21, 25, col)
        c.line(11, 25, 16, 20, BACKS[kind], 2)
        c.line(16, 20, 21, 25, BACKS[kind], 2)
    elif kind == "gear":      # common services
        c.circle(16, 16, 8, col)
        c.circle(16, 16, 3, BACKS[kind])
    elif kind == "news":      # publish news
        c.rect(8, 8, 24, 24, col)
        for y in (11, 15, 19):
            c.rect(10, y, 22, y + 2, BACKS[kind])
    elif kind == "page":      # page check
        c.rect(10, 7, 22, 25, col)
        c.line(12, 16, 15, 20, BACKS[kind], 2)
        c.line(15, 20, 21, 12, BACKS[kind], 2)
    elif kind == "link":      # link check
        c.circle(12, 16, 5, col, ring=2)
        c.circle(20, 16, 5, col, ring=2)
    elif kind == "globe":     # domain expiry
        c.circle(16, 16, 9, col, ring=2)
        c.line(7, 16, 25, 16, col, 2)
        c.line(16, 7, 16, 25, col, 2)


BUTTONS = [  # (normal name, hover name, symbol, colour)
    ("Left11", "Left12", "person", (52, 152, 219)),
    ("Left41", "Left42", "chart", (46, 204, 113)),
    ("Left61", "Left62", "pen", (155, 89, 182)),
    ("Left71", "Left72", "trade", (230, 126, 34)),
    ("Left81", "Left82", "bookmark", (231, 76, 60)),
    ("Left91", "Left92", "gear", (26, 188, 156)),
    ("Left101", "Left102", "news", (241, 196, 15)),
    ("Left21", "Left22", "page", (52, 73, 94)),
    ("Left31", "Left32", "link", (22, 160, 133)),
    ("Left51", "Left52", "globe", (41, 128, 185)),
]
BACKS = {}


def lighter(c, amount=0.25):
    return tuple(int(v + (255 - v) * amount) for v in c)


def tile(colour, kind, hover):
    c = Canvas(32, 32, BACK)
    fill = lighter(colour) if hover else colour
    BACKS[kind] = fill
    c.round_rect(1, 1, 31, 31, 7, fill)
    symbol(c, kind, WHITE)
    return c


def main(out):
    os.makedirs(out, exist_ok=True)
    names = []

    def save(name, canvas):
        canvas.save(os.path.join(out, name + ".bmp"))
        names.append(name)

    for normal, hover, kind, colour in BUTTONS:
        save(normal, tile(colour, kind, False))
        save(hover, tile(colour, kind, True))
    back = Canvas(35, 553)
    back.vgradient((236, 242, 250), (214, 226, 242))
    save("leftBack", back)
    heng = Canvas(400, 2, (200, 210, 225))
    save("Heng", heng)
    for name, col in (("font", (52, 73, 94)), ("fontPass", (127, 140, 141))):
        c = Canvas(20, 20, BACK)
        c.line(5, 16, 10, 4, col, 2)
        c.line(10, 4, 15, 16, col, 2)
        c.line(7, 12, 13, 12, col, 2)
        save(name, c)
    for name, amount in (("Corlor", 0.0), ("CorlorPass", 0.45)):
        c = Canvas(20, 20, BACK)
        for i, col in enumerate(((231, 76, 60), (46, 204, 113), (52, 152, 219), (241, 196, 15))):
            x, y = 3 + (i % 2) * 7, 3 + (i // 2) * 7
            c.round_rect(x, y, x + 7, y + 7, 2, lighter(col, amount))
        save(name, c)
    head = Canvas(30, 30, (214, 226, 242))
    head.circle(15, 11, 6, (120, 144, 176))
    head.round_rect(5, 19, 26, 31, 7, (120, 144, 176))
    head.save(os.path.join(out, "head.bmp"))

    # FONT is a resource-script keyword, so that name is quoted; it goes first because a
    # quoted name after a quoted file name would be joined to it as one string.
    names.sort(key=lambda n: n.upper() != "FONT")
    with open(os.path.join(out, "vandrel.rc"), "w") as rc:
        for n in names:
            label = '"FONT"' if n.upper() == "FONT" else n.upper()
            rc.write('%s BITMAP "%s"\n' % (label, os.path.join(out, n + ".bmp")))


if __name__ == "__main__":
    main(sys.argv[1])
