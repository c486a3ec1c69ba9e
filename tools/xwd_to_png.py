#!/usr/bin/env python3
"""Converts an X window dump (xwd, 24/32-bit TrueColor ZPixmap) to PNG with the standard
library only, and reports how much of a region is ink.

    xwd_to_png.py IN.xwd OUT.png [--dark-share X0 Y0 X1 Y1]
"""
import struct
import sys
import zlib


def read_xwd(path):
    data = open(path, "rb").read()
    header_size, = struct.unpack(">I", data[:4])
    fields = struct.unpack(">25I", data[:100])
    (header_size, version, pixmap_format, depth, width, height, xoffset, byte_order,
     bitmap_unit, bitmap_bit_order, bitmap_pad, bits_per_pixel, bytes_per_line, visual_class,
     red_mask, green_mask, blue_mask, bits_per_rgb, colormap_entries, ncolors, window_width,
     window_height, window_x, window_y, window_bdrwidth) = fields
    if version != 7 or pixmap_format != 2 or bits_per_pixel not in (24, 32):
        raise SystemExit("unsupported xwd: version %d format %d bpp %d" %
                         (version, pixmap_format, bits_per_pixel))
    offset = header_size + ncolors * 12
    bpp = bits_per_pixel // 8
    rows = []
    for y in range(height):
        line = data[offset + y * bytes_per_line: offset + y * bytes_per_line + width * bpp]
        row = bytearray()
        for x in range(width):
            px = line[x * bpp: x * bpp + bpp]
            v = int.from_bytes(px, "little" if byte_order == 0 else "big")
            row += bytes(((v & red_mask) >> 16, (v & green_mask) >> 8, v & blue_mask))
        rows.append(bytes(row))
    return width, height, rows


def write_png(path, width, height, rows):
    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))
    raw = b"".join(b"\x00" + r for r in rows)
    png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
           + chunk(b"IDAT", zlib.compress(raw, 6)) + chunk(b"IEND", b""))
    open(path, "wb").write(png)


def main():
    width, height, rows = read_xwd(sys.argv[1])
    write_png(sys.argv[2], width, height, rows)
    if len(sys.argv) >= 8 and sys.argv[3] == "--dark-share":
        x0, y0, x1, y1 = (int(v) for v in sys.argv[4:8])
        dark = total = 0
        for y in range(max(0, y0), min(height, y1)):
            r = rows[y]
            for x in range(max(0, x0), min(width, x1)):
                total += 1
                if r[3 * x] + r[3 * x + 1] + r[3 * x + 2] < 3 * 90:
                    dark += 1
        print("%.5f" % (dark / max(1, total)))


if __name__ == "__main__":
    main()
