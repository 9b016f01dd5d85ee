#!/usr/bin/env python3
"""Draws the program's small pictures into data/images.

Needs nothing but the Python standard library: PNG files are written with
zlib and struct, BMP files by hand. The output is deterministic, so running
it again only changes files whose drawing changed.

    python3 tools/make_images.py [output directory]
"""
import math
import os
import struct
import sys
import zlib


# --- canvas -----------------------------------------------------------------

class Canvas:
    def __init__(self, width, height, colour=(0, 0, 0, 0)):
        self.width = width
        self.height = height
        self.pixels = [list(colour) for _ in range(width * height)]

    def put(self, x, y, colour):
        x, y = int(x), int(y)
        if not (0 <= x < self.width and 0 <= y < self.height):
            return
        alpha = colour[3] / 255.0 if len(colour) > 3 else 1.0
        dst = self.pixels[y * self.width + x]
        if alpha >= 1.0:
            dst[:] = [colour[0], colour[1], colour[2], 255]
            return
        out_a = alpha + dst[3] / 255.0 * (1 - alpha)
        for i in range(3):
            src = colour[i] * alpha
            back = dst[i] * dst[3] / 255.0 * (1 - alpha)
            dst[i] = int(round((src + back) / out_a)) if out_a > 0 else 0
        dst[3] = int(round(out_a * 255))

    def rect(self, x, y, w, h, colour):
        for yy in range(y, y + h):
            for xx in range(x, x + w):
                self.put(xx, yy, colour)

    def frame(self, x, y, w, h, colour):
        self.rect(x, y, w, 1, colour)
        self.rect(x, y + h - 1, w, 1, colour)
        self.rect(x, y, 1, h, colour)
        self.rect(x + w - 1, y, 1, h, colour)

    def disc(self, cx, cy, r, colour):
        for yy in range(int(cy - r - 1), int(cy + r + 2)):
            for xx in range(int(cx - r - 1), int(cx + r + 2)):
                if (xx + 0.5 - cx) ** 2 + (yy + 0.5 - cy) ** 2 <= r * r:
                    self.put(xx, yy, colour)

    def ring(self, cx, cy, r_out, r_in, colour):
        for yy in range(int(cy - r_out - 1), int(cy + r_out + 2)):
            for xx in range(int(cx - r_out - 1), int(cx + r_out + 2)):
                d = (xx + 0.5 - cx) ** 2 + (yy + 0.5 - cy) ** 2
                if r_in * r_in <= d <= r_out * r_out:
                    self.put(xx, yy, colour)

    def line(self, x0, y0, x1, y1, colour, width=1.0):
        steps = int(max(abs(x1 - x0), abs(y1 - y0)) * 2) + 1
        for i in range(steps + 1):
            t = i / steps
            x, y = x0 + (x1 - x0) * t, y0 + (y1 - y0) * t
            if width <= 1.0:
                self.put(round(x), round(y), colour)
            else:
                self.disc(x, y, width / 2.0, colour)

    def polygon(self, points, colour):
        ys = [p[1] for p in points]
        for yy in range(int(min(ys)), int(max(ys)) + 1):
            sy = yy + 0.5
            xs = []
            for i, (ax, ay) in enumerate(points):
                bx, by = points[(i + 1) % len(points)]
                if (ay <= sy < by) or (by <= sy < ay):
                    xs.append(ax + (sy - ay) * (bx - ax) / (by - ay))
            xs.sort()
            for a, b in zip(xs[0::2], xs[1::2]):
                for xx in range(int(math.ceil(a - 0.5)), int(math.floor(b - 0.5)) + 1):
                    self.put(xx, yy, colour)

    def vertical_gradient(self, top, bottom, y0=0, y1=None):
        y1 = self.height if y1 is None else y1
        for yy in range(y0, y1):
            t = (yy - y0) / max(1, y1 - y0 - 1)
            c = tuple(int(top[i] + (bottom[i] - top[i]) * t) for i in range(3)) + (255,)
            self.rect(0, yy, self.width, 1, c)

    def text(self, x, y, string, scale, colour):
        for ch in string:
            glyph = FONT.get(ch.upper())
            if glyph is None:
                x += 4 * scale
                continue
            for row, bits in enumerate(glyph):
                for col, bit in enumerate(bits):
                    if bit == '#':
                        self.rect(x + col * scale, y + row * scale, scale, scale, colour)
            x += (len(glyph[0]) + 1) * scale

    @staticmethod
    def text_width(string, scale):
        width = 0
        for ch in string:
            glyph = FONT.get(ch.upper())
            width += (len(glyph[0]) + 1) * scale if glyph else 4 * scale
        return width - scale

    def centred_text(self, y, string, scale, colour):
        self.text((self.width - self.text_width(string, scale)) // 2, y, string, scale, colour)

    def rows_rgba(self):
        for y in range(self.height):
            yield self.pixels[y * self.width:(y + 1) * self.width]


# A 5 by 7 pixel font for the few letters the pictures carry.
FONT = {
    'O': [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    'R': ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    'L': ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    'I': ["###", ".#.", ".#.", ".#.", ".#.", ".#.", "###"],
    'N': ["#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"],
    'G': [".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".###."],
    'E': ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    'A': [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    'T': ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    'B': ["####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."],
    '1': ["..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."],
    '2': [".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"],
    '3': ["####.", "....#", "....#", ".###.", "....#", "....#", "####."],
    '4': ["...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."],
    'D': ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    'M': ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
    '-': [".....", ".....", ".....", "#####", ".....", ".....", "....."],
}


# --- file writers -------------------------------------------------------------

def write_png(path, canvas):
    raw = bytearray()
    for row in canvas.rows_rgba():
        raw.append(0)
        for p in row:
            raw.extend(bytes(p))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", canvas.width, canvas.height, 8, 6, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", header))
        f.write(chunk(b"IDAT", zlib.compress(bytes(raw), 9)))
        f.write(chunk(b"IEND", b""))


def write_bmp(path, canvas, background=(255, 255, 255)):
    """24-bit BMP; transparent pixels are laid on the background colour."""
    stride = (canvas.width * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(canvas.height - 1, -1, -1):
        row = bytearray()
        for p in canvas.pixels[y * canvas.width:(y + 1) * canvas.width]:
            a = p[3] / 255.0
            rgb = [int(round(p[i] * a + background[i] * (1 - a))) for i in range(3)]
            row.extend((rgb[2], rgb[1], rgb[0]))
        row.extend(b"\0" * (stride - len(row)))
        pixels.extend(row)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 14 + 40)
    info_header = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 24, 0,
                              len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(file_header + info_header + pixels)


# --- pictures -------------------------------------------------------------------

GREEN = (40, 160, 60, 255)
RED = (200, 40, 40, 255)
GREY = (150, 150, 150, 255)
DARK = (50, 50, 60, 255)
WHITE = (255, 255, 255, 255)
BLUE = (40, 90, 170, 255)
GOLD = (210, 170, 60, 255)
PCB = (30, 110, 60, 255)


def result_passed():
    c = Canvas(20, 20)
    c.disc(10, 10, 9, GREEN)
    c.line(5, 10, 8.5, 14, WHITE, 2.2)
    c.line(8.5, 14, 15, 6, WHITE, 2.2)
    return c


def result_failed():
    c = Canvas(20, 20)
    c.disc(10, 10, 9, RED)
    c.line(6, 6, 14, 14, WHITE, 2.2)
    c.line(14, 6, 6, 14, WHITE, 2.2)
    return c


def result_empty():
    c = Canvas(20, 20)
    c.ring(10, 10, 9, 7.8, (180, 180, 180, 255))
    return c


def led(on):
    c = Canvas(16, 16)
    c.disc(8, 8, 7, DARK)
    if on:
        c.disc(8, 8, 5.5, (60, 230, 80, 255))
        c.disc(6, 6, 1.8, (200, 255, 200, 255))
    else:
        c.disc(8, 8, 5.5, (30, 70, 35, 255))
    return c


def adapter_picture(ports, board, label):
    """A network card seen from above: board, chip, gold edge fingers,
    bracket and one RJ-45 socket per port. The picture is as high as two
    text lines of the adapter list need."""
    c = Canvas(64, 56)
    t = 8  # top margin, so the card sits in the middle of the row
    c.rect(4, t + 4, 54, 26, board)
    c.frame(4, t + 4, 54, 26, (20, 70, 40, 255) if board == PCB else (90, 90, 90, 255))
    for x in range(12, 50, 3):
        c.rect(x, t + 30, 2, 5, GOLD)
    c.rect(58, t + 1, 4, 38, (190, 190, 200, 255))
    c.rect(22, t + 10, 14, 14, DARK)
    c.frame(22, t + 10, 14, 14, (110, 110, 120, 255))
    c.rect(9, t + 9, 6, 4, (20, 20, 20, 255))
    c.rect(9, t + 16, 6, 4, (20, 20, 20, 255))
    for i in range(ports):
        y = t + (7 + i * 12 if ports > 1 else 13)
        c.rect(46, y, 12, 10, (200, 200, 200, 255))
        c.rect(48, y + 2, 8, 6, (40, 40, 40, 255))
        c.rect(50, y + 7, 4, 1, GOLD)
    if label:
        c.text(24, t + 13, label[0], 1, WHITE)
    return c


def icon_register():
    c = Canvas(16, 16)
    c.rect(2, 3, 12, 10, BLUE)
    for x in range(3, 14, 3):
        c.rect(x, 5, 2, 6, WHITE if x % 2 else (150, 190, 240, 255))
    return c


def icon_memory():
    c = Canvas(16, 16)
    c.rect(1, 5, 14, 7, PCB)
    for x in range(2, 14, 4):
        c.rect(x, 6, 3, 4, DARK)
    for x in range(2, 15, 2):
        c.rect(x, 12, 1, 2, GOLD)
    return c


def icon_interrupt():
    c = Canvas(16, 16)
    c.polygon([(9, 1), (3, 9), (8, 9), (6, 15), (13, 6), (8, 6)], (240, 190, 30, 255))
    return c


def icon_eeprom():
    c = Canvas(16, 16)
    c.rect(4, 3, 8, 10, DARK)
    for y in range(4, 13, 3):
        c.rect(2, y, 2, 1, GREY)
        c.rect(12, y, 2, 1, GREY)
    c.disc(6, 5, 1, WHITE)
    return c


def icon_led():
    c = Canvas(16, 16)
    c.disc(8, 7, 5, (60, 220, 80, 255))
    c.rect(6, 12, 1, 4, GREY)
    c.rect(9, 12, 1, 4, GREY)
    return c


def icon_loopback():
    c = Canvas(16, 16)
    c.ring(8, 8, 6.5, 4.5, BLUE)
    c.polygon([(12, 1), (16, 5), (11, 6)], BLUE)
    return c


def icon_link():
    c = Canvas(16, 16)
    c.ring(5.5, 8, 4, 2.5, GREEN)
    c.ring(10.5, 8, 4, 2.5, GREEN)
    return c


def icon_flash():
    c = Canvas(16, 16)
    c.rect(3, 2, 10, 12, (90, 90, 100, 255))
    c.polygon([(9, 3), (5, 9), (8, 9), (7, 13), (11, 7), (8, 7)], (250, 220, 60, 255))
    return c


def icon_all():
    c = Canvas(16, 16)
    for i, colour in enumerate((GREEN, GREEN, GREEN)):
        y = 2 + i * 5
        c.rect(1, y, 3, 3, colour)
        c.rect(6, y + 1, 9, 1, DARK)
    return c


def icon_connectivity():
    c = Canvas(16, 16)
    c.rect(0, 5, 5, 5, BLUE)
    c.rect(11, 5, 5, 5, BLUE)
    for x in range(5, 11, 2):
        c.rect(x, 7, 1, 1, DARK)
    return c


def icon_file_new():
    c = Canvas(16, 16)
    c.polygon([(3, 1), (10, 1), (13, 4), (13, 15), (3, 15)], WHITE)
    c.line(3, 1, 10, 1, DARK, 1)
    c.line(3, 1, 3, 15, DARK, 1)
    c.line(3, 15, 13, 15, DARK, 1)
    c.line(13, 4, 13, 15, DARK, 1)
    c.line(10, 1, 13, 4, DARK, 1)
    return c


def icon_file_open():
    c = Canvas(16, 16)
    c.rect(1, 4, 6, 2, GOLD)
    c.rect(1, 5, 13, 9, (230, 190, 80, 255))
    c.polygon([(3, 8), (16, 8), (14, 14), (1, 14)], (250, 215, 110, 255))
    return c


def icon_file_save():
    c = Canvas(16, 16)
    c.rect(1, 1, 14, 14, BLUE)
    c.rect(4, 1, 8, 5, WHITE)
    c.rect(9, 2, 2, 3, BLUE)
    c.rect(3, 9, 10, 6, (220, 220, 230, 255))
    return c


def arrow(pointing_left):
    """Two colours only: a dark arrow on a transparent ground."""
    c = Canvas(24, 25)
    head = [(2, 12.5), (11, 3), (11, 9), (21, 9), (21, 16), (11, 16), (11, 22)]
    if not pointing_left:
        head = [(24 - x, y) for x, y in head]
    c.polygon(head, (30, 60, 120, 255))
    return c


def splash():
    w, h = 400, 300
    c = Canvas(w, h)
    c.vertical_gradient((20, 45, 90), (60, 110, 170), 0, int(h * 0.78))
    # The bottom band stays plain: the program writes its name and version
    # there (from 81 % of the height on).
    c.vertical_gradient((235, 238, 245), (210, 216, 228), int(h * 0.78), h)
    c.rect(0, int(h * 0.78), w, 2, GOLD)
    # A network drawn as nodes and links behind the logo.
    nodes = [(40, 40), (110, 25), (190, 60), (300, 30), (360, 80), (330, 170),
             (250, 140), (150, 150), (60, 170), (20, 110)]
    for i, a in enumerate(nodes):
        for b in nodes[i + 1:i + 3]:
            c.line(a[0], a[1], b[0], b[1], (120, 160, 220, 90), 1.2)
    for x, y in nodes:
        c.disc(x, y, 4, (170, 200, 240, 200))
    c.centred_text(70, "ORLIN", 10, WHITE)
    c.centred_text(160, "GIGABIT", 3, (200, 220, 250, 255))
    c.centred_text(190, "-DIAG-", 3, GOLD)
    return c


PICTURES = {
    "passed.png": result_passed,
    "failed.png": result_failed,
    "empty.png": result_empty,
    "led_on.bmp": lambda: led(True),
    "led_off.bmp": lambda: led(False),
    "generic.bmp": lambda: adapter_picture(1, (160, 160, 160, 255), None),
    "orlin_4322.png": lambda: adapter_picture(2, PCB, "O"),
    "orlin_4320.png": lambda: adapter_picture(1, PCB, "O"),
    "test_register.png": icon_register,
    "test_memory.png": icon_memory,
    "test_interrupt.png": icon_interrupt,
    "test_eeprom.png": icon_eeprom,
    "test_led.png": icon_led,
    "test_loopback.png": icon_loopback,
    "test_link.png": icon_link,
    "test_flash.png": icon_flash,
    "test_all.png": icon_all,
    "test_connectivity.png": icon_connectivity,
    "filenew.png": icon_file_new,
    "fileopen.png": icon_file_open,
    "filesave.png": icon_file_save,
    "back.png": lambda: arrow(True),
    "forward.png": lambda: arrow(False),
    "splash.png": splash,
}


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "data", "images")
    os.makedirs(out, exist_ok=True)
    for name, draw in PICTURES.items():
        path = os.path.join(out, name)
        if name.endswith(".bmp"):
            write_bmp(path, draw())
        else:
            write_png(path, draw())
        print(path)


if __name__ == "__main__":
    main()
