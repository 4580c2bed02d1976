#!/usr/bin/env python3
"""Draws Korvane's application icon (a blue shield with a white check) at 16, 32 and 48
pixels and writes them as one 32-bit ICO file: res/korvane.ico."""
import struct
import sys


def shield_alpha(u, v):
    """Coverage of the shield at normalised coordinates u, v in [0, 1]."""
    if v < 0.08 or v > 0.95:
        return 0.0
    half = 0.40 if v < 0.55 else 0.40 * max(0.0, 1 - ((v - 0.55) / 0.40) ** 1.6)
    return 1.0 if abs(u - 0.5) <= half else 0.0


def on_check(u, v):
    """The check mark: two thick strokes."""
    def near(ax, ay, bx, by, w):
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((u - ax) * dx + (v - ay) * dy) / (dx * dx + dy * dy)))
        px, py = ax + t * dx, ay + t * dy
        return (u - px) ** 2 + (v - py) ** 2 <= w * w
    return near(0.30, 0.48, 0.45, 0.65, 0.065) or near(0.45, 0.65, 0.72, 0.32, 0.065)


def draw(size):
    rows = []
    samples = 4
    for y in range(size):
        row = []
        for x in range(size):
            cover = check = 0.0
            shade = 0.0
            for sy in range(samples):
                for sx in range(samples):
                    u = (x + (sx + 0.5) / samples) / size
                    v = (y + (sy + 0.5) / samples) / size
                    a = shield_alpha(u, v)
                    cover += a
                    if a and on_check(u, v):
                        check += 1
                    shade += a * (1 - v * 0.5)
            n = samples * samples
            alpha = cover / n
            if alpha == 0:
                row.append((0, 0, 0, 0))
                continue
            k = check / cover
            light = shade / cover
            blue = (int(30 * light), int(110 * light + 40), int(200 * light + 55))
            r, g, b = (int(blue[i] * (1 - k) + 255 * k) for i in range(3))
            row.append((b, g, r, int(alpha * 255)))
        rows.append(row)
    return rows


def image_bytes(size):
    rows = draw(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b''.join(bytes(p) for row in reversed(rows) for p in row)
    mask_row = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_row)
        for x, p in enumerate(row):
            if p[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + pixels + bytes(mask)


def main(out):
    sizes = [16, 32, 48]
    images = [image_bytes(s) for s in sizes]
    data = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, img in zip(sizes, images):
        data += struct.pack('<BBBBHHII', s, s, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    data += b''.join(images)
    with open(out, 'wb') as f:
        f.write(data)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'res/korvane.ico')
