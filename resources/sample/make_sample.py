#!/usr/bin/env python3
"""Writes the bundled sample map: sample.vlm (work file) and sample.bmp
(its under-drawing, 16 colours, stored already inverted: light lines on black).

Six towns traced as chains between junctions; neighbouring chains share their
end points exactly, as a traced network must. Run it again after changing the
geometry: python3 make_sample.py
"""
import math
import random
import struct

W, H = 720, 520

# Junctions where three or more boundaries meet, and the outer corners.
N = {
    "J1": (300, 60), "J2": (520, 90), "J3": (640, 260), "J4": (560, 440),
    "J5": (330, 470), "J6": (90, 400), "J7": (70, 200),
    "C1": (280, 220), "C2": (430, 240), "C3": (340, 350),
}
# Chains between junctions (outer boundary first, then the inner ones).
CHAINS = [
    ("J1", "J2"), ("J2", "J3"), ("J3", "J4"), ("J4", "J5"), ("J5", "J6"), ("J6", "J7"),
    ("J7", "J1"), ("J1", "C1"), ("C1", "J7"), ("C1", "C2"), ("C2", "J2"), ("C2", "J3"),
    ("C2", "C3"), ("C3", "J4"), ("C3", "J6"),
]
# Towns: name and one position inside each.
AREAS = [
    ("青葉町", (190, 150)),
    ("北原村", (400, 140)),
    ("東浜町", (545, 200)),
    ("中野市", (230, 300)),
    ("南川町", (480, 340)),
    ("西山村", (330, 420)),
]
LEGEND = (610, 30)
TITLE = "サンプル郡 白地図"


def wobble(a, b, seed, step=38, amp=9):
    """Points from a to b with a deterministic sideways wobble, ends exact."""
    rnd = random.Random(seed)
    (x1, y1), (x2, y2) = a, b
    length = math.hypot(x2 - x1, y2 - y1)
    n = max(1, round(length / step))
    nx, ny = -(y2 - y1) / length, (x2 - x1) / length
    pts = [a]
    for i in range(1, n):
        t = i / n
        off = rnd.uniform(-amp, amp) * math.sin(math.pi * t) ** 0.5
        pts.append((round(x1 + (x2 - x1) * t + nx * off), round(y1 + (y2 - y1) * t + ny * off)))
    pts.append(b)
    return pts


def chains():
    return [wobble(N[a], N[b], seed=i + 1) for i, (a, b) in enumerate(CHAINS)]


def work_file(path, traced):
    recs = [(0, 0)]
    for c in traced:
        recs.extend(c)
        recs.append((0, 0))
    # One stretch marked as a second boundary line, to show the kind colours.
    kinds = [(0, -1)] + traced[12]
    lines = [TITLE, str(LEGEND[0]), str(LEGEND[1]), "sample.bmp", str(W), str(H),
             str(len(recs) - 1)]
    for x, y in recs:
        lines += [str(x), str(y)]
    lines.append(str(len(AREAS)))
    lines += [name for name, _ in AREAS]
    for _, (x, y) in AREAS:
        slots = [(x, y)] + [(0, 0)] * 10
        for sx, sy in slots:
            lines += [str(sx), str(sy)]
    lines.append("continue")
    lines.append(str(len(kinds) - 1))
    for x, y in kinds:
        lines += [str(x), str(y)]
    with open(path, "wb") as f:
        f.write("".join(l + "\r\n" for l in lines).encode("cp932"))


def draw_line(px, a, b, c, width=2):
    (x1, y1), (x2, y2) = a, b
    n = max(abs(x2 - x1), abs(y2 - y1), 1)
    for i in range(n + 1):
        x = round(x1 + (x2 - x1) * i / n)
        y = round(y1 + (y2 - y1) * i / n)
        for dx in range(width):
            for dy in range(width):
                if 0 <= x + dx < W and 0 <= y + dy < H:
                    px[y + dy][x + dx] = c


def under_drawing(path, traced):
    px = [[0] * W for _ in range(H)]
    rnd = random.Random(99)
    # A river (grey) the tracer must not follow, drawn first.
    river = [(120, 470), (170, 430), (220, 380), (260, 330), (300, 300), (330, 260),
             (380, 200), (420, 150), (470, 110), (500, 60), (520, 20)]
    for a, b in zip(river, river[1:]):
        draw_line(px, a, b, 8, width=3)
    # The boundaries as scanned: the traced line plus a little scanner jitter.
    for c in traced:
        for a, b in zip(c, c[1:]):
            j = (rnd.randint(-1, 1), rnd.randint(-1, 1))
            draw_line(px, (a[0] + j[0], a[1] + j[1]), b, 7)
    # Town halls as small white squares.
    for _, (x, y) in AREAS:
        for dx in range(-2, 3):
            for dy in range(-2, 3):
                px[y + dy][x + dx] = 15
    palette = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
               (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
               (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
    row_bytes = ((W + 1) // 2 + 3) // 4 * 4
    data = bytearray()
    for y in range(H - 1, -1, -1):
        row = bytearray(row_bytes)
        for x in range(0, W, 2):
            hi = px[y][x]
            lo = px[y][x + 1] if x + 1 < W else 0
            row[x // 2] = (hi << 4) | lo
        data += row
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    offset = 14 + 40 + len(pal)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 4, 0, len(data), 3780, 3780, 16, 16)
    with open(path, "wb") as f:
        f.write(header + info + pal + data)


if __name__ == "__main__":
    traced = chains()
    work_file("sample.vlm", traced)
    under_drawing("sample.bmp", traced)
