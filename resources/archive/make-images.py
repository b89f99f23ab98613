#!/usr/bin/env python3
"""Draws Ombrel's splash and about pictures as 16-colour BMP files: a sky, the parasol over a
page of log lines (as in the icons), the name and version; the about picture keeps a light
panel at the bottom right where the credits scroll. Run it in this folder."""
import math
import struct

PALETTE = [
    (255, 255, 255),  # 0 white
    (250, 247, 238),  # 1 paper: the credits panel
    (224, 237, 250),  # 2 sky, light
    (196, 220, 245),  # 3 sky
    (164, 199, 238),  # 4 sky, deep
    (29, 63, 102),    # 5 outline, dark blue
    (47, 111, 179),   # 6 canopy blue
    (76, 143, 214),   # 7 canopy light blue
    (242, 182, 48),   # 8 lit panel, gold
    (59, 42, 26),     # 9 handle
    (119, 119, 119),  # 10 log lines
    (205, 205, 205),  # 11 page edge
    (245, 245, 245),  # 12 page
    (210, 226, 244),  # 13 panel border
    (232, 222, 196),  # 14 sand
    (122, 152, 192),  # 15 shadow
]

BAYER = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]

# 5 x 7 glyphs, one string per row, "#" set.
GLYPHS = {
    "O": [" ### ", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "],
    "m": ["     ", "     ", "## # ", "# # #", "# # #", "# # #", "# # #"],
    "b": ["#    ", "#    ", "#### ", "#   #", "#   #", "#   #", "#### "],
    "r": ["     ", "     ", "# ## ", "##  #", "#    ", "#    ", "#    "],
    "e": ["     ", "     ", " ### ", "#   #", "#####", "#    ", " ### "],
    "l": [" ##  ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "   ##"],
    "V": ["#   #", "#   #", "#   #", "#   #", " # # ", " # # ", "  #  "],
    "s": ["     ", "     ", " ####", "#    ", " ### ", "    #", "#### "],
    "i": ["  #  ", "     ", " ##  ", "  #  ", "  #  ", "  #  ", " ### "],
    "o": ["     ", "     ", " ### ", "#   #", "#   #", "#   #", " ### "],
    "n": ["     ", "     ", "#### ", "#   #", "#   #", "#   #", "#   #"],
    "g": ["     ", " ####", "#   #", "#   #", " ####", "    #", " ### "],
    "w": ["     ", "     ", "#   #", "#   #", "# # #", "# # #", " # # "],
    "a": ["     ", "     ", " ### ", "    #", " ####", "#   #", " ####"],
    "t": ["  #  ", "  #  ", " ### ", "  #  ", "  #  ", "  #  ", "   ##"],
    "c": ["     ", "     ", " ### ", "#    ", "#    ", "#    ", " ### "],
    "h": ["#    ", "#    ", "#### ", "#   #", "#   #", "#   #", "#   #"],
    "f": ["  ## ", " #   ", "#### ", " #   ", " #   ", " #   ", " #   "],
    "2": [" ### ", "#   #", "    #", "   # ", "  #  ", " #   ", "#####"],
    "0": [" ### ", "#   #", "#  ##", "# # #", "##  #", "#   #", " ### "],
    ".": ["     ", "     ", "     ", "     ", "     ", " ##  ", " ##  "],
    " ": ["     "] * 7,
}


class Canvas:
    def __init__(self, width, height):
        self.width, self.height = width, height
        self.pixels = [[0] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def fill(self, inside, colour_at):
        for y in range(self.height):
            for x in range(self.width):
                if inside(x + 0.5, y + 0.5):
                    self.pixels[y][x] = colour_at(x, y)

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(max(0, y0), min(self.height, y1)):
            for x in range(max(0, x0), min(self.width, x1)):
                self.pixels[y][x] = colour

    def text(self, x, y, text, scale, colour, shadow=None):
        for layer, (dx, dy, c) in enumerate(((1, 1, shadow), (0, 0, colour))):
            if c is None:
                continue
            cx = x
            for ch in text:
                for row, bits in enumerate(GLYPHS[ch]):
                    for col, bit in enumerate(bits):
                        if bit == "#":
                            self.rect(cx + col * scale + dx * max(1, scale // 2),
                                      y + row * scale + dy * max(1, scale // 2),
                                      cx + (col + 1) * scale + dx * max(1, scale // 2),
                                      y + (row + 1) * scale + dy * max(1, scale // 2), c)
                cx += 6 * scale

    def save_bmp(self, path):
        row_bytes = (self.width + 1) // 2
        stride = (row_bytes + 3) // 4 * 4
        image = bytearray()
        for y in reversed(range(self.height)):  # bottom-up rows
            row = self.pixels[y] + [0]
            packed = bytes((row[x] << 4) | row[x + 1] for x in range(0, self.width, 2))
            image += packed + bytes(stride - len(packed))
        palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
        offset = 14 + 40 + len(palette)
        header = struct.pack("<2sIHHI", b"BM", offset + len(image), 0, 0, offset)
        info = struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 4, 0, len(image),
                           2835, 2835, len(PALETTE), 0)
        with open(path, "wb") as f:
            f.write(header + info + palette + image)


def sky(canvas, horizon):
    """A dithered gradient from deep blue at the top to light blue at the horizon, then sand."""
    shades = [4, 3, 2]
    for y in range(canvas.height):
        for x in range(canvas.width):
            if y >= horizon:
                canvas.pixels[y][x] = 14
                continue
            t = y / horizon * (len(shades) - 1)
            low = min(int(t), len(shades) - 2)
            frac = t - low
            pick = shades[low + 1] if frac * 16 > BAYER[y % 4][x % 4] else shades[low]
            canvas.pixels[y][x] = pick


def parasol(canvas, cx, cy, r):
    """The icon's parasol scaled to radius r: page, eight-panel canopy with one lit panel, handle."""
    s = r / 26.0
    px0, px1, py0, py1 = cx - 18 * s, cx + 18 * s, cy, cy + 30 * s
    canvas.fill(lambda x, y: px0 - 2 <= x <= px1 + 2 and py0 <= y <= py1 + 2, lambda x, y: 11)
    canvas.fill(lambda x, y: px0 <= x <= px1 and py0 <= y <= py1, lambda x, y: 12)
    for i, (lx0, length) in enumerate(((6, 24), (6, 18), (6, 22), (6, 14))):
        ly = cy + (8 + 6 * i) * s
        canvas.rect(int(px0 + lx0 * s), int(ly), int(px0 + (lx0 + length) * s),
                    int(ly + max(2, 2.5 * s)), 10)

    def in_canopy(x, y):
        return y <= cy and (x - cx) ** 2 + (y - cy) ** 2 <= r * r

    def panel_colour(x, y):
        dx, dy = x + 0.5 - cx, y + 0.5 - cy
        dist = math.hypot(dx, dy)
        angle = math.atan2(dy, dx) % (2 * math.pi)  # pi .. 2 pi across the top
        panel = min(7, max(0, int((angle - math.pi) / (math.pi / 8))))
        edge = min(abs((angle - math.pi) / (math.pi / 8) - round((angle - math.pi) / (math.pi / 8))), 1)
        if r - dist < 1.6 or cy - (y + 0.5) < 1.2 or edge * dist * math.pi / 8 < 0.8:
            return 5
        if panel == 5:
            return 8
        return 6 if panel % 2 == 0 else 7

    canvas.fill(in_canopy, panel_colour)
    hw = max(1.5, 1.5 * s)
    hook_cx, hook_cy, hook_r = cx + 4 * s, cy + 26 * s, 4 * s
    canvas.fill(lambda x, y: abs(x - cx) <= hw and cy < y <= hook_cy, lambda x, y: 9)
    canvas.fill(lambda x, y: y >= hook_cy and abs(math.hypot(x - hook_cx, y - hook_cy) - hook_r) <= hw,
                lambda x, y: 9)


def splash():
    c = Canvas(300, 150)
    sky(c, 118)
    parasol(c, 72, 62, 52)
    c.text(142, 34, "Ombrel", 4, 5, shadow=15)
    c.text(146, 78, "Version 2.0", 2, 6)
    c.text(146, 126, "watching logs", 1, 9)
    c.rect(0, 0, 300, 1, 5), c.rect(0, 149, 300, 150, 5)
    c.rect(0, 0, 1, 150, 5), c.rect(299, 0, 300, 150, 5)
    c.save_bmp("images/splash.bmp")


def about():
    c = Canvas(330, 340)
    sky(c, 190)
    parasol(c, 70, 88, 56)
    c.text(146, 48, "Ombrel", 5, 5, shadow=15)
    c.text(152, 104, "Version 2.0", 2, 6)
    c.text(152, 140, "watching logs", 1, 9)
    # The credits scroll over columns 100-320, rows 220-319: keep them light.
    c.rect(92, 212, 328, 330, 13)
    c.rect(95, 215, 325, 327, 1)
    c.save_bmp("images/about.bmp")


if __name__ == "__main__":
    splash()
    about()
