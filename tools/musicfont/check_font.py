#!/usr/bin/python3
"""Checks resources/fonts/Nuo4Core.ttf against descriptors.json.

    /usr/bin/python3 tools/musicfont/check_font.py [-v] [FONT]

Reloads the built font with fontTools and verifies the header metrics and
names, that every descriptor's code point and every code point of the
digit, accidental and key families has a glyph, and that each glyph's
outline bounds match its box within 2% of the box size (the glyph code sizes
glyphs by the box, so a mismatch would show as wrong sizes or offsets).
Exits non-zero when any check fails.
"""

import json
import os
import sys

from fontTools.pens.areaPen import AreaPen
from fontTools.pens.boundsPen import BoundsPen, ControlBoundsPen
from fontTools.pens.recordingPen import RecordingPen
from fontTools.ttLib import TTFont

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
TOL = 0.02


class Checker:
    def __init__(self, verbose):
        self.passed = 0
        self.failed = 0
        self.verbose = verbose

    def check(self, ok, what):
        if ok:
            self.passed += 1
            if self.verbose:
                print("ok   " + what)
        else:
            self.failed += 1
            print("FAIL " + what)
        return ok


def glyph_bounds(font, cp, control=False):
    cmap = font.getBestCmap()
    if cp not in cmap:
        return None
    gs = font.getGlyphSet()
    pen = ControlBoundsPen(gs) if control else BoundsPen(gs)
    gs[cmap[cp]].draw(pen)
    return pen.bounds


def contour_areas(font, cp):
    """Signed area of each contour (negative = clockwise, y up)."""
    gs = font.getGlyphSet()
    rec = RecordingPen()
    gs[font.getBestCmap()[cp]].draw(rec)
    areas, pen = [], None
    for op, args in rec.value:
        if op == "moveTo":
            pen = AreaPen()
        getattr(pen, op)(*args)
        if op in ("closePath", "endPath"):
            areas.append(pen.value)
    return areas


def within(a, b, size):
    return abs(a - b) <= TOL * size


def box_edges(box):
    return box["x"], box["y"] - box["h"], box["x"] + box["w"], box["y"]


def fits(bounds, box, mode, ref=None):
    """Whether outline bounds (xmin, ymin, xmax, ymax) suit a box."""
    if bounds is None:
        return False
    x0, y0, x1, y1 = bounds
    bx0, by0, bx1, by1 = box_edges(box)
    w, h = box["w"], box["h"]
    vertical = within(y0, by0, h) and within(y1, by1, h)
    if mode == "fill":
        return vertical and within(x0, bx0, w) and within(x1, bx1, w)
    inside = x0 >= bx0 - TOL * w and x1 <= bx1 + TOL * w
    if mode == "cell-center":
        return vertical and inside and within((x0 + x1) / 2,
                                              (bx0 + bx1) / 2, w)
    if mode == "cell-left":
        return vertical and inside and within(x0, bx0, w)
    if mode == "cell-ref":
        return (inside and y0 >= by0 - TOL * h and y1 <= by1 + TOL * h and
                within(x1, bx1, w) and within((y0 + y1) / 2, ref["y"], h))
    raise ValueError(mode)


def fmt(b):
    return "none" if b is None else "(%.0f, %.0f, %.0f, %.0f)" % b


def main():
    args = [a for a in sys.argv[1:] if a != "-v"]
    verbose = "-v" in sys.argv[1:]
    path = args[0] if args else os.path.join(ROOT, "resources", "fonts",
                                             "Nuo4Core.ttf")
    with open(os.path.join(HERE, "descriptors.json"), encoding="utf-8") as f:
        data = json.load(f)
    font = TTFont(path)
    c = Checker(verbose)

    # header metrics and names
    head, hhea, os2 = font["head"], font["hhea"], font["OS/2"]
    c.check(head.unitsPerEm == 1000, "unitsPerEm %d == 1000" %
            head.unitsPerEm)
    c.check(hhea.ascent == 500, "hhea ascent %d == 500" % hhea.ascent)
    c.check(hhea.descent == 0, "hhea descent %d == 0" % hhea.descent)
    c.check(hhea.lineGap == 0, "hhea lineGap %d == 0" % hhea.lineGap)
    c.check(os2.usWinAscent == 500, "OS/2 usWinAscent %d == 500" %
            os2.usWinAscent)
    c.check(os2.usWinDescent == 0, "OS/2 usWinDescent %d == 0" %
            os2.usWinDescent)
    c.check(os2.sTypoAscender == 500 and os2.sTypoDescender == 0,
            "OS/2 typo ascender/descender %d/%d == 500/0" %
            (os2.sTypoAscender, os2.sTypoDescender))
    name = font["name"]
    c.check(name.getDebugName(1) == "Nuo4Core",
            "family name %r" % name.getDebugName(1))
    c.check(name.getDebugName(2) == "Regular",
            "style name %r" % name.getDebugName(2))
    c.check(os2.fsSelection & 0x40 and not os2.fsSelection & 0x21 and
            head.macStyle == 0, "style bits say Regular")
    c.check("glyf" in font and "CFF " not in font, "TrueType outlines")

    # descriptors
    for d in data["descriptors"]:
        cp = d["unicode"]
        b = glyph_bounds(font, cp)
        what = "descriptor %d %s %s %s box (%d, %d, %d, %d)" % (
            d["index"], d["shortName"], d["codePoint"], d["fit"],
            d["box"]["x"], d["box"]["y"], d["box"]["w"], d["box"]["h"])
        if not c.check(b is not None, what + ": glyph exists"):
            continue
        c.check(fits(b, d["box"], d["fit"], d["refPt"]),
                what + ": bounds " + fmt(b))
        # some graphics libraries measure paths by their control points
        cb = glyph_bounds(font, cp, control=True)
        c.check(fits(cb, d["box"], d["fit"], d["refPt"]),
                what + ": control-point bounds " + fmt(cb))

    # code-point families reached by offsets from a descriptor
    boxes = {d["shortName"]: d["box"] for d in data["descriptors"]}
    refs = {d["shortName"]: d["refPt"] for d in data["descriptors"]}
    for fam in data["families"]:
        box = boxes[fam["descriptor"]]
        ref = refs[fam["descriptor"]]
        for i in range(fam["count"]):
            cp = fam["first"] + i
            b = glyph_bounds(font, cp)
            c.check(fits(b, box, fam["fit"], ref),
                    "%s U+%04X (%s) bounds %s" % (fam["name"], cp,
                                                 fam["fit"], fmt(b)))

    # code points the glyph code asks for by value
    for cp, what in ((0xF00C, "long-rest bar"), (0xF0D4, "square bracket"),
                     (0xF02C, "repeat dots")):
        c.check(glyph_bounds(font, cp) is not None,
                "U+%04X %s exists" % (cp, what))
    cmap = font.getBestCmap()
    pua = [cp for cp in cmap if 0xF000 <= cp <= 0xF6FF]
    misc = [cp for cp in cmap if 0x2600 <= cp <= 0x26FF]
    c.check(len(pua) >= 100, "%d glyphs in U+F000-U+F6FF" % len(pua))
    c.check(len(misc) >= 100, "%d glyphs in U+2600-U+26FF" % len(misc))

    # TrueType fills clockwise outer contours; a glyph drawn the other way
    # round, or with its counters filled in, renders wrongly somewhere
    wrong = [cp for cp in cmap if sum(contour_areas(font, cp)) > 0]
    c.check(not wrong, "every glyph's outline runs clockwise%s" % (
        "" if not wrong else ": " + " ".join("U+%04X" % x for x in wrong)))
    counters = [0x30 + 9 * face for face in range(4)] + [
        0x30 + 9 * face + 6 for face in range(4)] + [0x54, 0x5E, 0xB4, 0x73]
    for cp in counters:
        areas = contour_areas(font, cp)
        c.check(any(a < 0 for a in areas) and any(a > 0 for a in areas),
                "U+%04X keeps its counter open" % cp)

    # the JSON must describe this font (a stale file would mislead C++)
    stale = []
    for g in data["glyphs"]:
        b = glyph_bounds(font, g["unicode"])
        ink = g["ink"]
        if b is None or any(abs(u - v) > 1.5 for u, v in zip(
                b, box_edges(ink))):
            stale.append(g["codePoint"])
    c.check(not stale, "descriptors.json ink boxes match the font (%d "
            "glyphs)%s" % (len(data["glyphs"]),
                           "" if not stale else ": " + " ".join(stale[:10])))
    c.check(len(data["glyphs"]) + 1 == len(font.getGlyphOrder()),
            "every glyph is listed in descriptors.json")

    print("%d passed, %d failed" % (c.passed, c.failed))
    return 1 if c.failed else 0


if __name__ == "__main__":
    sys.exit(main())
