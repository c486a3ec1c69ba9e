#!/usr/bin/python3
"""Renders a specimen of Nuo4Core.ttf to PNG files for looking at the glyphs.

    /usr/bin/python3 tools/musicfont/sample_sheet.py [OUTDIR]

Writes specimen-digits.png (the four digit faces and the other digit sets),
specimen-marks.png (every descriptor glyph drawn in its box, box in red,
reference point in blue), specimen-score.png (a short jianpu line set from
the glyphs as the layout code places them) and specimen-extras.png.
"""

import json
import os
import sys

from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
TTF = os.path.join(ROOT, "resources", "fonts", "Nuo4Core.ttf")
LABEL = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"


def font(px):
    return ImageFont.truetype(TTF, px)


def draw_glyph(d, f, px, cp, x, baseline):
    """Draw one glyph with its design origin at (x, baseline)."""
    d.text((x, baseline), chr(cp), font=f, fill=0, anchor="ls")


def digits(out):
    px = 200
    f = font(px)
    lab = ImageFont.truetype(LABEL, 22)
    im = Image.new("L", (1700, 1350), 255)
    d = ImageDraw.Draw(im)
    faces = ["standard", "elegant", "upright", "handwritten"]
    y = 40
    for face in range(4):
        d.text((10, y + 60), faces[face], font=lab, fill=0)
        base = y + 0.5 * px
        for i in range(9):
            x = 170 + i * 0.42 * px * 1.8
            draw_glyph(d, f, px, 0x30 + 9 * face + i, x, base)
        y += 0.5 * px + 60
    d.text((10, y + 60), "general", font=lab, fill=0)
    for i in range(10):
        draw_glyph(d, f, px, 0x54 + i, 170 + i * 0.42 * px * 1.6, y + 0.5 * px)
    y += 0.5 * px + 60
    d.text((10, y + 60), "second", font=lab, fill=0)
    for i in range(10):
        draw_glyph(d, f, px, 0x5E + i, 170 + i * 0.42 * px * 1.6, y + 0.5 * px)
    y += 0.5 * px + 60
    d.text((10, y + 60), "keys", font=lab, fill=0)
    for i in range(7):
        draw_glyph(d, f, px, 0x68 + i, 170 + i * 0.56 * px * 1.5,
                   y + 0.5 * px)
    im.save(out)


def marks(out, data):
    px = 220
    cols = 6
    cw, ch = 300, 300
    descs = data["descriptors"]
    rows = (len(descs) + cols - 1) // cols
    im = Image.new("RGB", (cols * cw, rows * ch), (255, 255, 255))
    d = ImageDraw.Draw(im)
    k = px / 1000.0
    for i, desc in enumerate(descs):
        cx = (i % cols) * cw
        cy = (i // cols) * ch
        b = desc["box"]
        scale = min(1.0, 250 / (b["w"] * k), 230 / (b["h"] * k))
        fs = max(8, int(px * scale))
        kk = fs / 1000.0
        ox = cx + 20 - min(0, b["x"]) * kk
        base = cy + 30 + max(b["y"], 500) * kk
        d.rectangle([ox + b["x"] * kk, base - b["y"] * kk,
                     ox + (b["x"] + b["w"]) * kk,
                     base - (b["y"] - b["h"]) * kk], outline=(255, 150, 150))
        d.text((ox, base), chr(desc["unicode"]), font=font(fs),
               fill=(0, 0, 0), anchor="ls")
        r = desc["refPt"]
        rx, ry = ox + r["x"] * kk, base - r["y"] * kk
        d.ellipse([rx - 3, ry - 3, rx + 3, ry + 3], fill=(0, 0, 255))
        d.text((cx + 5, cy + 5), "%d %s %s" % (desc["index"],
                                               desc["shortName"],
                                               desc["codePoint"]),
               font=ImageFont.truetype(
                   "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc",
                   14), fill=(90, 90, 90))
    im.save(out)


def score(out):
    """A jianpu fragment: key, meter, notes with dots, underlines, marks."""
    H = 90  # digit height in pixels
    W = H * 0.8
    u = H / 500.0  # pixels per design unit at digit size
    im = Image.new("L", (1800, 1250), 255)
    d = ImageDraw.Draw(im)

    def glyph(cp, x, y, sx=1.0, sy=1.0):
        # glyph with design origin at (x, y); only uniform scaling by PIL
        fs = int(1000 * u * sy)
        d.text((x, y), chr(cp), font=font(fs), fill=0, anchor="ls")

    for row, face in enumerate(range(4)):
        y0 = 330 + row * 220
        x = 40
        if row == 0:
            glyph(0x7D, x, y0 - H * 1.6)  # 1=
            glyph(0x22, x + 1100 * u * 1, y0 - H * 1.6 + 0)
            glyph(0x68 + 4, x + 1100 * u + 200 * u + 0.1 * W, y0 - H * 1.6)
            glyph(0x7E, x + 700, y0 - H * 1.6)
            for i, dd in enumerate([1, 2, 0]):
                glyph(0x5E + dd, x + 700 + 1100 * u + i * 400 * u,
                      y0 - H * 1.6)
        notes = [(1, 0, 1), (2, 0, 1), (3, 1, 0), (5, 0, 0), (6, -1, 2),
                 (5, 0, 2), (3, 0, 0), (0, 0, 0), (8, 0, 0), (7, 1, 1),
                 (4, 0, 0)]
        x += 30
        for i, (dg, octv, ul) in enumerate(notes):
            cx = x + i * W * 1.35
            glyph(0x30 + 9 * face + dg, cx - W / 2, y0)
            if octv > 0:
                r = 0.125 * H
                cy = y0 - H - 0.3 * H
                d.ellipse([cx - r, cy - r, cx + r, cy + r], fill=0)
            if octv < 0:
                r = 0.125 * H
                cy = y0 + 0.27 * H + ul * 0.2 * H + (0.3 * H if ul else 0)
                d.ellipse([cx - r, cy - r, cx + r, cy + r], fill=0)
            for k in range(ul):
                yy = y0 + 0.25 * H + k * 0.2 * H
                th = 0.07 * H
                if face == 3:
                    glyph_scaled_box(im, 0xF012, cx - 0.6 * W, yy - th / 2,
                                     1.2 * W, th)
                else:
                    d.rectangle([cx - 0.6 * W, yy - th / 2, cx + 0.6 * W,
                                 yy + th / 2], fill=0)
        # barline
        bx = x + len(notes) * W * 1.35
        d.rectangle([bx, y0 - H * 1.1, bx + 3, y0 + 0.1 * H], fill=0)
    im.save(out)


def glyph_scaled_box(im, cp, x, y, w, h, box=None):
    """Draws a glyph with its design box stretched to a pixel box, as the
    glyph code does (ScaleX, ScaleY from box and black-box size). Without a
    box the glyph's ink bounds are used."""
    big = 1000
    f = font(big)
    tmp = Image.new("L", (int(big * 2.2), int(big * 2.2)), 255)
    td = ImageDraw.Draw(tmp)
    ox, oy = int(big * 0.3), int(big * 1.4)
    td.text((ox, oy), chr(cp), font=f, fill=0, anchor="ls")
    if box is None:
        bbox = Image.eval(tmp, lambda v: 255 - v).getbbox()
        if not bbox:
            return
    else:
        bx, by, bw, bh = box
        bbox = (ox + bx, oy - by, ox + bx + bw, oy - by + bh)
    crop = tmp.crop(bbox).resize((max(1, int(w)), max(1, int(h))),
                                 Image.LANCZOS)
    im.paste(0, (int(x), int(y)), Image.eval(crop, lambda v: 255 - v))


def marks_in_context(out, data):
    """Marks sized as the glyph code sizes them, around digits."""
    H = 120
    W = H * 0.8
    im = Image.new("L", (1800, 1150), 255)
    unit = W / 400.0  # one design unit = W / 400 (digit-size form)
    descs = {x["shortName"]: x for x in data["descriptors"]}

    def place(short, ox, oy, cp=None):
        ds = descs[short]
        b, r = ds["box"], ds["refPt"]
        x = ox + (b["x"] - r["x"]) * unit
        y = oy - (b["y"] - r["y"]) * unit
        glyph_scaled_box(im, cp or ds["unicode"], x, y, b["w"] * unit,
                         b["h"] * unit, (b["x"], b["y"], b["w"], b["h"]))

    names = ["DunYin", "ZhongYin", "BaoChiYin", "YanYin", "BoYin",
             "BoYin-Down", "ChanYin", "DunYin2", "ring", "Circle"]
    y0 = 330
    for i, n in enumerate(names):
        cx = 90 + i * 1.45 * W
        place("Digit0", cx, y0, 0x30 + (i % 8))
        place(n, cx, y0 - 1.7 * H)
    y1 = 820
    row = ["换气", "左圆括号", "上滑音(箭头)", "下滑音(箭头)", "上滑音(波浪线)",
           "微升", "ZhenYin", "重复-Segno", "重复-Coda", "力度-mf"]
    for i, n in enumerate(row):
        cx = 90 + i * 1.6 * W
        place("Digit0", cx, y1, 0x30 + 5)
        off = {"换气": (-1.0, -0.8), "左圆括号": (-1.0, 0.2),
               "上滑音(箭头)": (-1.1, -0.3), "下滑音(箭头)": (1.1, -0.3),
               "上滑音(波浪线)": (-1.0, -0.4), "微升": (-0.9, 0),
               "ZhenYin": (0.8, 0), "重复-Segno": (0, -2.0),
               "重复-Coda": (0, -2.0), "力度-mf": (0, -2.0)}[n]
        place(n, cx + off[0] * W, y1 + off[1] * H)
    # accidentals before digits as the note code places them
    for i, cp in enumerate([0x21, 0x22, 0x23] * 3):
        cx = 150 + i * 1.9 * W
        y0 = 1080
        place("Digit0", cx, y0, 0x30 + 9 * (i // 3) + 1 + i)
        ah = 1.2 * H
        aw = ah * 0.35
        ax, ay = cx - 0.6 * W, y0 - 0.8 * H
        # reference point = right edge, 204 units above baseline of 593 box
        glyph_scaled_box(im, cp, ax - aw, ay - (500 - 204) / 593 * ah, aw, ah,
                         (0, 500, 200, 593))
    im.save(out)


def meters_and_keys(out):
    """Meters, tuplet numbers, key signatures and tempo marks built the way
    the glyph code builds them (boxes stretched to their target sizes)."""
    H = 80.0
    W = H * 0.8
    im = Image.new("L", (1800, 560), 255)
    d = ImageDraw.Draw(im)
    x = 40
    mid = 200  # y of the digit line's middle
    # meters: cell w x h = W x 0.7H, gap s = 0.2H, bar 0.07H
    w, h, s, b = W, 0.7 * H, 0.2 * H, 0.07 * H
    for num, den in ((2, 4), (3, 4), (6, 8), (12, 8)):
        digits = [int(c) for c in str(num)]
        width = 1.5 * w if len(digits) == 1 else 2 * w
        cx = x + width / 2
        for i, dg in enumerate(digits):
            left = cx - w / 2 if len(digits) == 1 else cx - w + i * w
            glyph_scaled_box(im, 0x54 + dg, left, mid - h - s, w, h,
                             (0, 500, 400, 400))
        glyph_scaled_box(im, 0x54 + den, cx - w / 2, mid + s, w, h,
                         (0, 500, 400, 400))
        d.rectangle([cx - width / 2, mid - b / 2, cx + width / 2,
                     mid + b / 2], fill=0)
        x += width + W
    # free meter 1.5W x 1.5H
    glyph_scaled_box(im, 0x6F, x, mid - 0.75 * H, 1.5 * W, 1.5 * H,
                     (0, 500, 400, 500))
    x += 1.5 * W + W
    # tuplet numbers Wd = 0.6W, Hd = 0.72W
    wd, hd = 0.6 * W, 0.72 * W
    for n in (3, 5, 12):
        for i, c in enumerate(str(n)):
            glyph_scaled_box(im, 0x54 + int(c), x + i * wd, mid - hd / 2, wd,
                             hd, (0, 500, 400, 400))
        x += len(str(n)) * wd + W
    # key signatures: k = H / 500
    k = H / 500
    y = 400
    x = 40
    for acc, key in ((0, 0), (1, 4), (-1, 6), (-1, 3)):
        glyph_scaled_box(im, 0x7D, x, y - 250 * k - 250 * k, 1100 * k, 500 * k,
                         (0, 500, 1100, 500))
        xx = x + 1100 * k
        if acc:
            glyph_scaled_box(im, 0x22 if acc > 0 else 0x23, xx,
                             y - 593 * k / 2 - 0 * k, 200 * k, 593 * k,
                             (0, 500, 200, 593))
            xx += 200 * k
        xx += 0.1 * W
        glyph_scaled_box(im, 0x68 + key, xx, y - 250 * k - 250 * k, 500 * k,
                         500 * k, (0, 500, 500, 500))
        x = xx + 500 * k + W
    x, y = 40, 520
    # tempo marks with the second digit set, k = H0 / 500
    for cp, width, tempo in ((0x7E, 1100, 96), (0x20, 1200, 132),
                             (0xB6, 1300, 60)):
        glyph_scaled_box(im, cp, x, y - 500 * k, width * k, 500 * k,
                         (0, 500, width, 500))
        xx = x + width * k
        for c in str(tempo):
            glyph_scaled_box(im, 0x5E + int(c), xx, y - 500 * k, 400 * k,
                             500 * k, (0, 500, 400, 500))
            xx += 400 * k
        x = xx + W
    im.save(out)


def extras(out, data):
    px = 90
    f = font(px)
    lab = ImageFont.truetype(LABEL, 10)
    items = [g for g in data["glyphs"] if g["fit"] == "free"]
    cols = 20
    cw, ch = 90, 100
    rows = (len(items) + cols - 1) // cols
    im = Image.new("L", (cols * cw, rows * ch), 255)
    d = ImageDraw.Draw(im)
    for i, g in enumerate(items):
        x = (i % cols) * cw
        y = (i // cols) * ch
        d.text((x + 5, y + 72), chr(g["unicode"]), font=f, fill=0,
               anchor="ls")
        d.text((x + 3, y + 86), g["codePoint"], font=lab, fill=100)
    im.save(out)


def main():
    outdir = sys.argv[1] if len(sys.argv) > 1 else "/tmp"
    with open(os.path.join(HERE, "descriptors.json"), encoding="utf-8") as f:
        data = json.load(f)
    digits(os.path.join(outdir, "specimen-digits.png"))
    marks(os.path.join(outdir, "specimen-marks.png"), data)
    score(os.path.join(outdir, "specimen-score.png"))
    marks_in_context(os.path.join(outdir, "specimen-context.png"), data)
    extras(os.path.join(outdir, "specimen-extras.png"), data)
    meters_and_keys(os.path.join(outdir, "specimen-meters.png"))
    print("specimens written to", outdir)


if __name__ == "__main__":
    main()
