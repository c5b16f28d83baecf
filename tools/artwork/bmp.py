"""Tiny drawing kit for the generated artwork: an RGB canvas and a 24-bit BMP writer."""
import struct


class Canvas:
    def __init__(self, w, h, fill=(255, 255, 255)):
        self.w, self.h = w, h
        self.px = [[fill] * w for _ in range(h)]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                self.px[y][x] = c

    def round_rect(self, x0, y0, x1, y1, r, c):
        for y in range(y0, y1):
            for x in range(x0, x1):
                dx = max(x0 + r - x - 0.5, 0, x - (x1 - r) + 0.5)
                dy = max(y0 + r - y - 0.5, 0, y - (y1 - r) + 0.5)
                if dx * dx + dy * dy <= r * r:
                    self.put(x, y, c)

    def circle(self, cx, cy, r, c, ring=None):
        for y in range(int(cy - r - 1), int(cy + r + 2)):
            for x in range(int(cx - r - 1), int(cx + r + 2)):
                d = ((x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2) ** 0.5
                if d <= r and (ring is None or d >= r - ring):
                    self.put(x, y, c)

    def line(self, x0, y0, x1, y1, c, width=2):
        steps = int(max(abs(x1 - x0), abs(y1 - y0)) * 2) + 1
        for i in range(steps + 1):
            t = i / steps
            x, y = x0 + (x1 - x0) * t, y0 + (y1 - y0) * t
            for oy in range(width):
                for ox in range(width):
                    self.put(int(x + ox - width / 2 + 0.5), int(y + oy - width / 2 + 0.5), c)

    def vgradient(self, c0, c1):
        for y in range(self.h):
            t = y / max(1, self.h - 1)
            c = tuple(int(a + (b - a) * t) for a, b in zip(c0, c1))
            self.px[y] = [c] * self.w

    def save(self, path):
        row = (self.w * 3 + 3) & ~3
        data = bytearray()
        for y in range(self.h - 1, -1, -1):
            line = bytearray()
            for r, g, b in self.px[y]:
                line += bytes((b, g, r))
            line += b"\0" * (row - self.w * 3)
            data += line
        header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, self.w, self.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
        with open(path, "wb") as f:
            f.write(header + info + data)
