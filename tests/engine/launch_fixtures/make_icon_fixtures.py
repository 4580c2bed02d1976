#!/usr/bin/env python3
"""Writes the icon fixtures of the launch tests (run once; the outputs are committed).

sample_icon.ico        three images - 16x16 at 32 bits, 16x16 at 4 bits with a palette,
                       256x256 PNG - behind a directory laid out the standard way.
sample_icon_loose.ico  the same images behind a sloppy directory (zeroed fields, gaps,
                       data in another order), which a rewrite must turn into the former.
"""
import struct
import zlib
from pathlib import Path

HERE = Path(__file__).resolve().parent


def bitmap_image(side, bits, palette, pixel_rows, mask_rows):
    header = struct.pack('<IiiHHIIiiII', 40, side, side * 2, 1, bits, 0,
                         len(pixel_rows) + len(mask_rows), 0, 0, len(palette) // 4, 0)
    return header + palette + pixel_rows + mask_rows


def image_32bit():
    rows = b''
    for y in range(16):
        for x in range(16):
            inside = 2 <= x < 14 and 2 <= y < 14
            rows += bytes([40 + 10 * x, 200 - 8 * y, 30, 255 if inside else 0])
    mask = b''.join(bytes([0xC0, 0x03, 0, 0]) if 2 <= y < 14 else b'\xff\xff\x00\x00'
                    for y in range(16))
    return bitmap_image(16, 32, b'', rows, mask)


def image_4bit():
    palette = b''.join(bytes([i * 16, 255 - i * 16, (i * 40) % 256, 0]) for i in range(16))
    rows = b''.join(bytes(((x + y) % 16) << 4 | ((x + y + 1) % 16) for x in range(0, 16, 2))
                    for y in range(16))
    mask = b'\x00' * (4 * 16)
    return bitmap_image(16, 4, palette, rows, mask)


def png_chunk(kind, data):
    return (struct.pack('>I', len(data)) + kind + data +
            struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF))


def image_png256():
    side = 256
    raw = b''.join(b'\x00' + bytes([0, 120, 215, 255]) * side for _ in range(side))
    return (b'\x89PNG\r\n\x1a\n' +
            png_chunk(b'IHDR', struct.pack('>IIBBBBB', side, side, 8, 6, 0, 0, 0)) +
            png_chunk(b'IDAT', zlib.compress(raw, 9)) + png_chunk(b'IEND', b''))


def entry(width, height, colours, planes, bits, size, offset):
    return struct.pack('<BBBBHHII', width, height, colours, 0, planes, bits, size, offset)


def main():
    images = [image_32bit(), image_4bit(), image_png256()]
    fields = [(16, 16, 0, 1, 32), (16, 16, 16, 1, 4), (0, 0, 0, 1, 32)]

    offset = 6 + 16 * len(images)
    directory = b''
    for image, (w, h, c, p, b) in zip(images, fields):
        directory += entry(w, h, c, p, b, len(image), offset)
        offset += len(image)
    (HERE / 'sample_icon.ico').write_bytes(
        struct.pack('<HHH', 0, 1, len(images)) + directory + b''.join(images))

    # Loose: data stored last image first with 5 spare bytes between images.
    gap = b'\xAA' * 5
    start = 6 + 16 * len(images) + len(gap)
    offsets = {}
    body = gap
    for index in reversed(range(len(images))):
        offsets[index] = start + len(body) - len(gap)
        body += images[index] + gap
    directory = b''.join(entry(0, 0, 0, 0, 0, len(images[i]), offsets[i])
                         for i in range(len(images)))
    (HERE / 'sample_icon_loose.ico').write_bytes(
        struct.pack('<HHH', 0, 1, len(images)) + directory + body)


if __name__ == '__main__':
    main()
