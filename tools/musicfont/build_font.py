#!/usr/bin/python3
"""Builds resources/fonts/Nuo4Core.ttf, the embedded music font of Nuo4.

Run from anywhere:  /usr/bin/python3 tools/musicfont/build_font.py
Needs Debian's python3-fonttools and python3-booleanoperations and the source
font packages listed in sources.py. Writes the font, descriptors.json (every
descriptor and code-point family with its box and ink bounds), the manifest of
glyph sources and the licence texts of the source fonts.
"""

import datetime
import json
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from fontTools.fontBuilder import FontBuilder  # noqa: E402
from fontTools.pens.cu2quPen import Cu2QuPen  # noqa: E402
from fontTools.pens.ttGlyphPen import TTGlyphPen  # noqa: E402

import marks as m  # noqa: E402
import outline as o  # noqa: E402
import sources as S  # noqa: E402
from descriptors import (CELL_CENTER, CELL_LEFT, CELL_REF,  # noqa: E402
                         DESCRIPTORS)

ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
FONT_DIR = os.path.join(ROOT, "resources", "fonts")
OUT_TTF = os.path.join(FONT_DIR, "Nuo4Core.ttf")
OUT_JSON = os.path.join(HERE, "descriptors.json")
OUT_MANIFEST = os.path.join(FONT_DIR, "Nuo4Core-MANIFEST.md")

UPM, ASCENT, DESCENT = 1000, 500, 0
VERSION = "1.000"

FACE_NAMES = ["standard", "elegant", "upright", "handwritten"]


class Glyph:
    def __init__(self, cp, name, ops, source, fit, box=None, advance=None,
                 group="extra"):
        self.cp = cp
        self.name = name
        self.ops = ops
        self.source = source
        self.fit = fit  # "fill", "cell-center", "cell-left" or "free"
        self.box = box
        self.advance = advance
        self.group = group


GLYPHS = {}


def put(cp, name, ops, source, fit="fill", box=None, advance=None,
        group="extra"):
    if cp in GLYPHS:
        raise SystemExit("code point U+%04X assigned twice (%s, %s)" %
                         (cp, GLYPHS[cp].name, name))
    ops = o.union(ops)
    if fit == "fill":
        x, top, w, h = box
        ops = o.fit(ops, x, top, w, h)
    g = Glyph(cp, name, ops, source, fit, box, advance, group)
    GLYPHS[cp] = g
    return g


def src(name):
    return "%s (%s, %s)" % (name, S.SOURCES[name]["package"],
                            S.SOURCES[name]["license"])


DRAWN = "drawn by the generator (marks.py)"

BOX = {d[1]: d[3] for d in DESCRIPTORS}


def dbox(short):
    return BOX[short]


# ------------------------------------------------------------ digit sets

def char_outline(font, ch):
    return o.source_glyph(S.path(font), ch)[0]


def digit_cell(ops, bottom, top, xscale, center_x):
    """Scale an outline to the full cell height and by xscale horizontally,
    then centre it on center_x."""
    xmin, ymin, xmax, ymax = o.bounds(ops)
    sy = (top - bottom) / (ymax - ymin)
    sx = xscale
    ops = o.transform(ops, sx, 0, 0, sy, 0, bottom - sy * ymin)
    xmin, _, xmax, _ = o.bounds(ops)
    return o.translate(ops, center_x - (xmin + xmax) / 2, 0)


def build_note_digits():
    # Face 0 standard, 1 elegant, 3 handwritten from fonts; 2 upright drawn.
    face_fonts = {0: "NotoSans-Bold", 1: "LinLibertine-Bold",
                  3: "KaushanScript-Regular"}
    zero_width = {0: 320, 1: 318, 3: 330}
    drum_char = {3: "X"}
    drum_drawn = {0: m.drum_cross_sans, 1: m.drum_cross_serif}
    for face in range(4):
        base = 0x30 + 9 * face
        if face == 2:
            for d in range(9):
                ops = o.fit_height(m.upright_digit(d), 0, 500, center_x=200)
                name = "digit%d.%s" % (d, FACE_NAMES[face]) if d < 8 else \
                    "drum.%s" % FACE_NAMES[face]
                put(base + d, name, ops, DRAWN, "cell-center", (0, 500, 400,
                                                                500), 400,
                    "NoteDigits")
            continue
        font = face_fonts[face]
        zero = char_outline(font, "0")
        zx0, zy0, zx1, zy1 = o.bounds(zero)
        xscale = zero_width[face] / (zx1 - zx0)
        for d in range(9):
            name = "digit%d.%s" % (d, FACE_NAMES[face]) if d < 8 else \
                "drum.%s" % FACE_NAMES[face]
            if d == 8 and face in drum_drawn:
                # a capital X is wider than the digit cell; these crosses
                # are drawn to the cell in the weight of the face
                ops = digit_cell(drum_drawn[face](), 0, 500, 1.0, 200)
                put(base + d, name, ops, DRAWN + " in the manner of " + font,
                    "cell-center", (0, 500, 400, 500), 400, "NoteDigits")
                continue
            ops = char_outline(font, str(d) if d < 8 else drum_char[face])
            ops = digit_cell(ops, 0, 500, xscale, 200)
            put(base + d, name, ops, src(font), "cell-center",
                (0, 500, 400, 500), 400, "NoteDigits")


def build_digit_set(first, font, bottom, top, zero_width, family, prefix):
    zero = char_outline(font, "0")
    zx0, _, zx1, _ = o.bounds(zero)
    xscale = zero_width / (zx1 - zx0)
    for d in range(10):
        ops = digit_cell(char_outline(font, str(d)), bottom, top, xscale, 200)
        put(first + d, "%s%d" % (prefix, d), ops, src(font), "cell-center",
            (0, top, 400, top - bottom), 400, family)


def build_key_letters():
    font = "NotoSans-Bold"
    for i, ch in enumerate("CDEFGAB"):
        ops = char_outline(font, ch)
        xmin, ymin, xmax, ymax = o.bounds(ops)
        k = 500 / (ymax - ymin)
        ops = o.transform(ops, k, 0, 0, k, -xmin * k, -ymin * k)
        put(0x68 + i, "key%s" % ch, ops, src(font), "cell-left",
            (0, 500, 500, 500), 520, "KeyLetters")


def build_one_equals():
    font = "NotoSans-Bold"
    one = char_outline(font, "1")
    xmin, ymin, xmax, ymax = o.bounds(one)
    k = 500 / (ymax - ymin)
    one = o.transform(one, k, 0, 0, k, -xmin * k, -ymin * k)
    # "1 = " with even spacing: the equals sign runs from 520 to 920 and
    # leaves the rest of the cell as the space before the key letter
    eq = char_outline(font, "=")
    ex0, ey0, ex1, ey1 = o.bounds(eq)
    eq = o.transform(eq, 400 / (ex1 - ex0), 0, 0, k, 0, 0)
    ex0, ey0, ex1, ey1 = o.bounds(eq)
    eq = o.translate(eq, 520 - ex0, 250 - (ey0 + ey1) / 2)
    put(0x7D, "keyOneEquals", one + eq, src(font) + ", spacing by generator",
        "cell-left", dbox("调号-1="), 1100, "Descriptor")


# ------------------------------------------------------------ text marks

def text_fitting(font, text, box, min_tracking=-40.0, kern=None):
    """Set a text with the tracking that gives the box's aspect ratio, then
    fit it to the box (any rest of the aspect becomes a slight scaling)."""
    ops0 = o.source_text(S.path(font), text, 0.0, kern)
    x0, y0, x1, y1 = o.bounds(ops0)
    _, _, w, h = box
    n = len(text)
    if n > 1:
        want = w / h * (y1 - y0)
        t = max(min_tracking, (want - (x1 - x0)) / (n - 1))
        ops0 = o.source_text(S.path(font), text, t, kern)
    return ops0


def build_text_marks():
    font = "LinLibertine-BoldItalic"
    for short, text in (("重复-DS", "D.S."), ("重复-DC", "D.C."),
                        ("重复-Fine", "Fine"), ("rit", "rit."),
                        ("重复-DS1", "D.S.1"), ("重复-DS2", "D.S.2"),
                        ("重复-DS3", "D.S.3"), ("重复-DS12", "D.S.1&2"),
                        ("重复-DS13", "D.S.1&3"), ("重复-DS23", "D.S.2&3")):
        d = [r for r in DESCRIPTORS if r[1] == short][0]
        ops = text_fitting(font, text, d[3])
        put(d[2], short, ops, src(font) + ", text \"%s\"" % text, "fill",
            d[3], None, "Descriptor")


def build_dynamics():
    font = "NotoMusic-Regular"
    letters = {"p": 0x1D18F, "m": 0x1D190, "f": 0x1D191, "r": 0x1D18C,
               "s": 0x1D18D, "z": 0x1D18E}
    path = S.path(font)

    def compose(text, tracking):
        ops, x = [], 0.0
        for ch in text:
            g, adv = o.source_glyph(path, chr(letters[ch]))
            ops += o.translate(g, x, 0)
            x += adv + tracking
        return ops

    rows = (("力度-ppp", "ppp"), ("力度-pp", "pp"), ("力度-p", "p"),
            ("力度-mp", "mp"), ("力度-mf", "mf"), ("力度-f", "f"),
            ("力度-ff", "ff"), ("力度-fff", "fff"))
    for short, text in rows:
        d = [r for r in DESCRIPTORS if r[1] == short][0]
        _, _, w, h = d[3]
        ops = compose(text, 0)
        if len(text) > 1:
            x0, y0, x1, y1 = o.bounds(ops)
            t = (w / h * (y1 - y0) - (x1 - x0)) / (len(text) - 1)
            ops = compose(text, t)
        put(d[2], short, ops, src(font) + ", dynamic letters \"%s\"" % text,
            "fill", d[3], None, "Descriptor")
    return compose


def build_segno_family():
    segno = o.source_glyph(S.path("NotoMusic-Regular"), chr(0x1D10B))[0]
    segno = o.fit(segno, 0, 537, 356, 537)
    put(0x74, "重复-Segno", segno, src("NotoMusic-Regular") + ", U+1D10B",
        "fill", dbox("重复-Segno"), None, "Descriptor")
    font = "LinLibertine-BoldItalic"
    for short, text in (("重复-Segno1", "1"), ("重复-Segno2", "2"),
                        ("重复-Segno3", "3"), ("重复-Segno12", "1&2"),
                        ("重复-Segno13", "1&3"), ("重复-Segno23", "2&3")):
        d = [r for r in DESCRIPTORS if r[1] == short][0]
        # the number, scaled uniformly, fills the rest of the box after a
        # gap of 60 units, but never grows above 400 units
        num = o.source_text(S.path(font), text, 10)
        nx0, ny0, nx1, ny1 = o.bounds(num)
        aspect = (nx1 - nx0) / (ny1 - ny0)
        height = min(400.0, (d[3][2] - 356 - 60) / aspect)
        num = o.fit_height(num, 0, height, left=0)
        _, _, nw, _ = o.bounds(num)
        gap = d[3][2] - 356 - nw
        ops = segno + o.translate(num, 356 + gap, 0)
        put(d[2], short, ops, src("NotoMusic-Regular") + " segno + " +
            src(font) + " \"%s\"" % text, "fill", d[3], None, "Descriptor")


# ------------------------------------------------------------ descriptors

def build_descriptor_marks():
    drawn = {
        "ScriptVert": m.script_vert, "ScriptHorz": m.script_horz,
        "ScriptDot": m.script_dot, "DunYin": m.wedge,
        "ZhongYin": m.accent, "BaoChiYin": m.tenuto, "YanYin": m.fermata,
        "BoYin": lambda: m.mordent(False), "DunYin2": m.teardrop,
        "BoYin2": lambda: m.mordent(True), "左括号":
        lambda: m.crescent(111, 500, 36, 10), "拍号-自由节拍": m.free_meter,
        "换气": m.breath, "重复-Coda": m.coda,
        "左圆括号": lambda: m.crescent(155, 700, 46, 12),
        "右圆括号": lambda: o.mirror_x(m.crescent(155, 700, 46, 12)),
        "上滑音(箭头)": m.glide_arrow,
        "下滑音(箭头)": lambda: o.mirror_y(m.glide_arrow(), 250),
        "上滑音(波浪线)": m.glide_wave,
        "下滑音(波浪线)": lambda: o.mirror_y(m.glide_wave(), 250),
        "微升": m.straight_arrow,
        "微降": lambda: o.mirror_y(m.straight_arrow(), 250),
        "Return": m.return_mark, "HuaKuoHao": m.curly_brace,
        "ZhenYin": m.tremolo,
        "Wave_Vert": lambda: o.rotate(m.wave_horz(), 90),
        "Line_Vert": lambda: o.rect(0, 0, 35, 500),
        "Wave_Horz": m.wave_horz,
        "Line_Horz": lambda: o.rect(0, 0, 400, 35),
        "ring": lambda: o.ring(90, 90, 90, 90, 30),
        "Circle": lambda: o.ellipse(62, 62, 62, 62),
    }
    for idx, short, cp, box, ref in DESCRIPTORS:
        # "BoYin-Down" shares U+002B with "BoYin2"; their boxes differ by one
        # unit, well inside the tolerance of the box check
        if short in drawn and cp not in GLYPHS:
            put(cp, short, drawn[short](), DRAWN, "fill", box, None,
                "Descriptor")
    # Accidentals share the "Natural" cell: right edge on its right side,
    # centred on the reference point's height
    box = dbox("Natural")
    ref_y = [r for r in DESCRIPTORS if r[1] == "Natural"][0][4][1]
    for cp, name, ops in ((0x21, "natural", m.natural()),
                          (0x22, "sharp", m.sharp()),
                          (0x23, "flat", m.flat())):
        x0, y0, x1, y1 = o.bounds(ops)
        ops = o.translate(ops, box[0] + box[2] - x1, ref_y - (y0 + y1) / 2)
        put(cp, name, ops, DRAWN, "cell-ref", box, 220, "Accidentals")
    tr = o.source_glyph(S.path("NotoMusic-Regular"), chr(0x1D196))[0]
    put(0x29, "ChanYin", m.trill(tr), src("NotoMusic-Regular") +
        " U+1D196 + wavy line drawn", "fill", dbox("ChanYin"), None,
        "Descriptor")
    nmp = S.path("NotoMusic-Regular")
    for short, note_cp, dot in (("速度-J=", 0x1D15F, False),
                                ("速度-J=(8th)", 0x1D160, False),
                                ("速度-J=(4thDot)", 0x1D15F, True)):
        d = [r for r in DESCRIPTORS if r[1] == short][0]
        note = o.source_glyph(nmp, chr(note_cp))[0]
        put(d[2], short, m.tempo_mark(note, d[3][2], dot),
            src("NotoMusic-Regular") + " U+%04X, equals sign drawn" %
            note_cp, "cell-left", d[3], d[3][2], "Descriptor")


# ------------------------------------------------------------ extras

def norm_extra(ops, height=None, scale=None, center_y=250, lsb=20):
    """Extras: uniform scale (to a height or by a factor), vertically centred
    on the middle of the digit line, a small left side bearing."""
    x0, y0, x1, y1 = o.bounds(ops)
    k = scale if scale is not None else height / (y1 - y0)
    ops = o.transform(ops, k, 0, 0, k, 0, 0)
    x0, y0, x1, y1 = o.bounds(ops)
    return o.translate(ops, lsb - x0, center_y - (y0 + y1) / 2)


def build_extras(compose_dyn):
    nm = "NotoMusic-Regular"
    nmp = S.path(nm)
    music = [
        (0xF007, "upBow", 0x1D1AB, 220), (0xF008, "downBow", 0x1D1AA, 200),
        (0xF00B, "breathComma", 0x1D112, 240),
        (0xF00D, "caesura", 0x1D113, 300), (0xF00E, "turn", 0x1D197, 200),
        (0xF00F, "invertedTurn", 0x1D198, 200), (0xF010, "tr", 0x1D196, 260),
        (0xF014, "pedal", 0x1D1AE, 320), (0xF015, "pedalUp", 0x1D1AF, 260),
        (0xF018, "gClef", 0x1D11E, 1000), (0xF019, "fClef", 0x1D122, 470),
        (0xF01A, "cClef", 0x1D121, 600),
        (0xF020, "wholeNote", 0x1D15D, 140), (0xF021, "halfNote", 0x1D15E,
                                              500),
        (0xF022, "quarterNote", 0x1D15F, 500),
        (0xF023, "eighthNote", 0x1D160, 500),
        (0xF024, "sixteenthNote", 0x1D161, 500),
        (0xF025, "thirtySecondNote", 0x1D162, 560),
        (0xF026, "quarterRest", 0x1D13D, 380),
        (0xF027, "eighthRest", 0x1D13E, 250),
        (0xF028, "sixteenthRest", 0x1D13F, 380),
        (0xF029, "wholeRest", 0x1D13B, 70), (0xF02A, "halfRest", 0x1D13C,
                                             70),
        (0xF02B, "doubleSharp", 0x1D12A, 130),
        (0xF02D, "doubleFlat", 0x1D12B, 300),
        (0xF02E, "commonTime", 0x1D134, 260), (0xF02F, "cutTime", 0x1D135,
                                               340),
        (0xF0C0, "arpeggioUp", 0x1D183, 500),
        (0xF0C1, "arpeggioDown", 0x1D184, 500),
        (0xF0C2, "glissandoUp", 0x1D1B1, 300),
        (0xF0C3, "glissandoDown", 0x1D1B2, 300),
        (0xF0C4, "singleBarline", 0x1D100, 500),
        (0xF0C5, "doubleBarline", 0x1D101, 500),
        (0xF0C6, "finalBarline", 0x1D102, 500),
        (0xF0C7, "leftRepeat", 0x1D106, 500),
        (0xF0C8, "rightRepeat", 0x1D107, 500),
        (0xF0C9, "segnoSmall", 0x1D10B, 300), (0xF0CA, "codaSmall", 0x1D10C,
                                               300),
        (0xF0CB, "xNotehead", 0x1D143, 130),
        (0xF0CC, "triangleNotehead", 0x1D149, 140),
        (0xF0CD, "diamondNotehead", 0x1D1BA, 140),
        (0xF0CE, "multiRest", 0x1D129, 200),
        (0xF0CF, "harmonic", 0x1D1AC, 120),
        (0xF0D0, "snapPizzicato", 0x1D1AD, 160),
        (0xF0D1, "damp", 0x1D1B4, 200),
    ]
    for cp, name, src_cp, h in music:
        g, _ = o.source_glyph(nmp, chr(src_cp))
        put(cp, name, norm_extra(g, height=h), src(nm) + " U+%04X" % src_cp,
            "free")
    # dynamics beyond the descriptor table, Noto Music letters
    for cp, text in ((0xF030, "sf"), (0xF031, "sfz"), (0xF032, "fp"),
                     (0xF033, "rf"), (0xF034, "rfz"), (0xF035, "fz"),
                     (0xF036, "sffz"), (0xF037, "pppp"), (0xF038, "ffff"),
                     (0xF039, "sfp"), (0xF03A, "mfp"), (0xF03B, "fff")):
        ops = compose_dyn(text, -30)
        ops = norm_extra(ops, scale=0.75, center_y=250)
        put(cp, "dyn_" + text, ops, src(nm) + " dynamic letters", "free")
    # words in italic
    font = "LinLibertine-BoldItalic"
    words = ["cresc.", "dim.", "decresc.", "rall.", "accel.", "a tempo",
             "poco", "molto", "sempre", "dolce", "legato", "tutti", "solo",
             "simile", "Tempo I", "espress.", "cantabile", "rubato",
             "marcato", "subito", "pizz.", "arco", "loco", "8va", "15ma",
             "al Fine", "al Coda", "To Coda", "ten.", "morendo"]
    cp = 0xF100
    for w in words:
        ops = o.source_text(S.path(font), w)
        ops = norm_extra(ops, scale=0.55, center_y=180)
        put(cp, "word_" + re.sub(r"[^A-Za-z0-9]", "_", w), ops,
            src(font) + " text \"%s\"" % w, "free")
        cp += 1
    # drawn marks for extend symbols
    drawn = [
        (0xF001, "fermataBelow", o.mirror_y(m.fermata(), 250), 0.9),
        (0xF002, "fermataShort", m.fermata_angular(), 1.0),
        (0xF003, "marcato", m.marcato(), 1.0),
        (0xF004, "marcatoBelow", o.mirror_y(m.marcato(), 250), 1.0),
        (0xF005, "staccatoDot", o.ellipse(0, 0, 45, 45), 1.0),
        (0xF006, "tenutoDot", m.tenuto_dot(), 1.0),
        (0xF009, "accentBelow", m.accent(), 1.0),
        (0xF00A, "wedgeBelow", o.mirror_y(m.wedge(), 250), 1.0),
        (0xF00C, "longRestBar", m.long_rest_bar(), 1.0),
        (0xF016, "ringSmall", o.ring(0, 0, 60, 60, 22), 1.0),
        (0xF017, "ringCross", m.ring_cross(), 1.0),
        (0xF02C, "repeatDots", m.repeat_dots(), 1.0),
        (0xF060, "arrowUp", m.straight_arrow(), 1.0),
        (0xF061, "arrowDown", o.mirror_y(m.straight_arrow(), 250), 1.0),
        (0xF062, "arrowLeft", o.rotate(m.straight_arrow(), 90), 1.0),
        (0xF063, "arrowRight", o.rotate(m.straight_arrow(), -90), 1.0),
        (0xF064, "glideUpArrow", m.glide_arrow(), 1.0),
        (0xF065, "glideDownArrow", o.mirror_y(m.glide_arrow(), 250), 1.0),
        (0xF066, "glideUpBackArrow", o.mirror_x(m.glide_arrow(), 120), 1.0),
        (0xF067, "glideDownBackArrow",
         o.mirror_x(o.mirror_y(m.glide_arrow(), 250), 120), 1.0),
        (0xF068, "waveVertLong", o.rotate(m.wave_long(), 90), 1.0),
        (0xF069, "waveHorzLong", m.wave_long(), 1.0),
        (0xF06A, "tremolo1", m.tremolo_n(1), 1.0),
        (0xF06B, "tremolo2", m.tremolo_n(2), 1.0),
        (0xF06C, "tremolo3", m.tremolo(), 1.0),
        (0xF06D, "tremolo4", m.tremolo_n(4), 1.0),
        (0xF06E, "breathV", m.breath(), 1.0),
        (0xF06F, "curlyBrace", m.curly_brace(), 1.0),
        (0xF070, "slurUp", m.slur(), 1.0),
        (0xF071, "slurDown", o.mirror_y(m.slur(), 250), 1.0),
        (0xF072, "bracketOpen", m.bracket_open(), 1.0),
        (0xF073, "bracketClose", o.mirror_x(m.bracket_open(), 60), 1.0),
        (0xF074, "parenOpen", m.crescent(155, 700, 46, 12), 0.71),
        (0xF075, "parenClose", o.mirror_x(m.crescent(155, 700, 46, 12)),
         0.71),
        (0xF076, "triangle", m.triangle_open(), 1.0),
        (0xF077, "square", m.square_open(), 1.0),
        (0xF078, "diamond", m.diamond_open(), 1.0),
        (0xF079, "circleFilled", o.ellipse(0, 0, 90, 90), 1.0),
        (0xF07A, "cross", m.upright_digit(8), 0.6),
        (0xF07B, "plus", m.plus(), 1.0),
        (0xF07C, "thumb", m.thumb(), 1.0),
        (0xF0D4, "squareBracket", m.square_bracket(), 1.0),
        (0xF0E0, "lineHorz", o.rect(0, 0, 1000, 40), 1.0),
        (0xF0E1, "lineVert", o.rect(0, 0, 40, 1000), 1.0),
    ]
    for cp, name, ops, k in drawn:
        put(cp, name, norm_extra(ops, scale=k), DRAWN, "free")
    # Lines that the glyph code stretches to a rectangle through their text
    # box: the ink fills the em cell (advance x ascent) with no side bearing.
    for cp in (0xF00C, 0xF0E0):
        g = GLYPHS[cp]
        x0, y0, x1, y1 = o.bounds(g.ops)
        g.ops = o.translate(g.ops, -x0, 0)
        g.advance = int(round(x1 - x0))
    # circled numbers (string and finger numbers) from DejaVu Sans
    dv = "DejaVuSans"
    for i in range(20):
        for base, cpbase, tag in ((0x2460, 0xF080, "circled"),
                                  (0x2776, 0xF0A0, "circledNeg")):
            if i >= 10 and base == 0x2776:
                continue
            ch = chr(base + i)
            cmap = o.load_font(S.path(dv)).getBestCmap()
            if ord(ch) not in cmap:
                continue
            g, _ = o.source_glyph(S.path(dv), ch)
            put(cpbase + i, "%s%d" % (tag, i + 1), norm_extra(g, height=420),
                src(dv) + " U+%04X" % ord(ch), "free")
    # U+2600..U+26FF: every symbol DejaVu Sans has, at the size of a digit
    font = o.load_font(S.path(dv))
    cmap = font.getBestCmap()
    for cp in range(0x2600, 0x2700):
        if cp not in cmap:
            continue
        g, adv = o.source_glyph(S.path(dv), chr(cp))
        if not g:
            continue
        ops = norm_extra(g, scale=0.62, center_y=250)
        put(cp, "uni%04X" % cp, ops, src(dv) + " U+%04X" % cp, "free")


# ------------------------------------------------------------ output

def glyph_name(g):
    if g.cp == 0x20:
        return "space"
    return "uni%04X" % g.cp


def to_ttglyph(ops):
    pen = TTGlyphPen(None)
    cu = Cu2QuPen(pen, max_err=0.5, reverse_direction=True)
    # the boolean union yields counter-clockwise outer contours; TrueType
    # wants them clockwise
    o.replay(ops, cu)
    return pen.glyph()


def build_ttf():
    order = sorted(GLYPHS)
    names = [".notdef"] + [glyph_name(GLYPHS[c]) for c in order]
    fb = FontBuilder(UPM, isTTF=True)
    fb.setupGlyphOrder(names)
    fb.setupCharacterMap({c: glyph_name(GLYPHS[c]) for c in order})
    glyf = {".notdef": to_ttglyph(o.union(o.rect(50, 0, 350, 500) + o.reverse(
        o.rect(100, 50, 300, 450))))}
    metrics = {".notdef": (400, 50)}
    for c in order:
        g = GLYPHS[c]
        glyf[glyph_name(g)] = to_ttglyph(g.ops)
        x0, y0, x1, y1 = o.bounds(g.ops)
        adv = g.advance if g.advance else int(round(x1 + 30))
        metrics[glyph_name(g)] = (max(adv, 1), int(round(x0)))
    fb.setupGlyf(glyf)
    # recompute left side bearings from the rounded glyphs
    gt = fb.font["glyf"]
    for n in names:
        gl = gt[n]
        gl.recalcBounds(gt)
        lsb = getattr(gl, "xMin", 0) if gl.numberOfContours else 0
        metrics[n] = (metrics[n][0], lsb)
    fb.setupHorizontalMetrics(metrics)
    fb.setupHorizontalHeader(ascent=ASCENT, descent=-DESCENT, lineGap=0)
    notice = ("Nuo4Core music font. Glyphs drawn by the Nuo4 font generator "
              "and glyphs derived from Noto Sans, Noto Music, Linux Libertine,"
              " Kaushan Script (SIL Open Font License 1.1) and DejaVu Sans "
              "(Bitstream Vera license). See Nuo4Core-MANIFEST.md.")
    fb.setupNameTable({
        "familyName": "Nuo4Core",
        "styleName": "Regular",
        "uniqueFontIdentifier": "Nuo4Core-Regular-" + VERSION,
        "fullName": "Nuo4Core",
        "psName": "Nuo4Core",
        "version": "Version " + VERSION,
        "copyright": notice,
        "licenseDescription":
        "This Font Software is licensed under the SIL Open Font License, "
        "Version 1.1; the parts derived from DejaVu Sans are also under the "
        "Bitstream Vera license.",
        "licenseInfoURL": "https://openfontlicense.org",
    })
    fb.setupOS2(version=4, sTypoAscender=ASCENT, sTypoDescender=-DESCENT,
                sTypoLineGap=0, usWinAscent=ASCENT, usWinDescent=DESCENT,
                usWeightClass=400, fsSelection=0x40 | 0x80, achVendID="NUO4",
                sxHeight=350, sCapHeight=500, fsType=0)
    fb.setupPost(keepGlyphNames=True)
    fb.setupHead(unitsPerEm=UPM, fontRevision=float(VERSION),
                 created=_timestamp(), modified=_timestamp())
    fb.font["head"].flags |= 1 << 3
    os.makedirs(FONT_DIR, exist_ok=True)
    fb.save(OUT_TTF)


def _timestamp():
    # fixed so that rebuilding the same glyphs yields the same file
    epoch = datetime.datetime(1904, 1, 1)
    return int((datetime.datetime(2026, 1, 1) - epoch).total_seconds())


def ink(ops):
    x0, y0, x1, y1 = o.bounds(ops)
    return {"x": round(x0), "y": round(y1), "w": round(x1 - x0),
            "h": round(y1 - y0)}


def write_json():
    desc = []
    for idx, short, cp, box, ref in DESCRIPTORS:
        fit = ("cell-center" if short in CELL_CENTER else
               "cell-left" if short in CELL_LEFT else
               "cell-ref" if short in CELL_REF else "fill")
        desc.append({
            "index": idx, "shortName": short, "codePoint": "U+%04X" % cp,
            "unicode": cp,
            "box": {"x": box[0], "y": box[1], "w": box[2], "h": box[3]},
            "refPt": {"x": ref[0], "y": ref[1]},
            "fit": fit,
        })
    families = [
        {"name": "NoteDigits", "descriptor": "Digit0", "first": 0x30,
         "count": 36, "fit": "cell-center",
         "layout": "U+0030 + 9*face + digit; digit 8 is the drum cross",
         "faces": FACE_NAMES},
        {"name": "Accidentals", "descriptor": "Natural", "first": 0x21,
         "count": 3, "fit": "cell-ref", "layout": "natural, sharp, flat"},
        {"name": "GeneralDigits", "descriptor": "通用数字-0", "first": 0x54,
         "count": 10, "fit": "cell-center", "layout": "digits 0-9"},
        {"name": "SecondDigits", "descriptor": "通用数字2-0", "first": 0x5E,
         "count": 10, "fit": "cell-center", "layout": "digits 0-9"},
        {"name": "KeyLetters", "descriptor": "调号-C", "first": 0x68,
         "count": 7, "fit": "cell-left", "layout": "C D E F G A B"},
    ]
    glyphs = []
    for c in sorted(GLYPHS):
        g = GLYPHS[c]
        glyphs.append({"codePoint": "U+%04X" % c, "unicode": c,
                       "name": g.name, "group": g.group, "fit": g.fit,
                       "ink": ink(g.ops), "source": g.source})
    data = {
        "font": "resources/fonts/Nuo4Core.ttf",
        "familyName": "Nuo4Core", "unitsPerEm": UPM, "ascent": ASCENT,
        "descent": DESCENT,
        "coordinates": "design units, y up, baseline y = 0; box x = left "
                       "edge, y = top edge",
        "fitModes": {
            "fill": "the outline's bounds equal the box",
            "cell-center": "the box is a cell: the outline spans its full "
                           "height and is centred in it horizontally",
            "cell-left": "the box is a cell: the outline spans its full "
                         "height, starts at its left edge and stays inside",
            "cell-ref": "the box is a cell: the outline stays inside, ends "
                        "at its right edge and is centred vertically on the "
                        "reference point",
            "free": "an extend-symbol glyph without a descriptor: ink as "
                    "listed",
        },
        "descriptors": desc,
        "families": families,
        "glyphs": glyphs,
    }
    with open(OUT_JSON, "w", encoding="utf-8") as f:
        json.dump(data, f, ensure_ascii=False, indent=1)
        f.write("\n")


def write_manifest():
    lines = ["# Nuo4Core glyph manifest", "",
             "Generated by `tools/musicfont/build_font.py`; do not edit. "
             "Every glyph of `Nuo4Core.ttf` with its code point and where "
             "its outline comes from. Outlines taken from installed Debian "
             "fonts were scaled, moved and merged; their licences are in "
             "`licenses/`.", "", "## Sources", ""]
    used = {}
    for g in GLYPHS.values():
        key = DRAWN if g.source.startswith(DRAWN) else g.source.split(" (")[0]
        used[key] = used.get(key, 0) + 1
    for k in sorted(used):
        if k in S.SOURCES:
            s = S.SOURCES[k]
            lines.append("- %s: %d glyphs, `%s` from Debian package `%s`, "
                         "%s, licence text `licenses/%s`" %
                         (k, used[k], s["path"], s["package"], s["license"],
                          s["license_file"]))
        else:
            lines.append("- %s: %d glyphs" % (k, used[k]))
    lines += ["", "## Glyphs", "", "| Code point | Name | Fit | Ink box "
              "(x, top, w, h) | Source |", "|---|---|---|---|---|"]
    for c in sorted(GLYPHS):
        g = GLYPHS[c]
        b = ink(g.ops)
        lines.append("| U+%04X | %s | %s | %d, %d, %d, %d | %s |" %
                     (c, g.name, g.fit, b["x"], b["y"], b["w"], b["h"],
                      g.source))
    with open(OUT_MANIFEST, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


def copy_licenses():
    lic_dir = os.path.join(FONT_DIR, "licenses")
    os.makedirs(lic_dir, exist_ok=True)
    used = {S.SOURCES[k]["license_file"] for k in S.SOURCES
            if any(g.source.startswith(k + " ") or (k + " (") in g.source
                   for g in GLYPHS.values())}
    for name in sorted(used):
        with open(S.LICENSE_ORIGINS[name], encoding="utf-8") as f:
            text = f.read()
        with open(os.path.join(lic_dir, name), "w", encoding="utf-8") as f:
            f.write("Copied from %s (Debian).\n\n" % S.LICENSE_ORIGINS[name])
            f.write(text)


NUO4CORE_LICENSE = """Nuo4Core.ttf licence

Nuo4Core.ttf is generated by tools/musicfont/build_font.py. Part of its
glyphs are drawn by that generator; the others are derived (scaled, moved and
merged) from fonts installed from Debian:

- Noto Sans, Noto Music (fonts-noto-core): SIL Open Font License 1.1,
  see Noto-OFL.txt
- Linux Libertine (fonts-linuxlibertine): SIL Open Font License 1.1 (the
  font is also available under GPL-2+ with font exception),
  see LinuxLibertine-OFL.txt
- Kaushan Script (fonts-kaushanscript): SIL Open Font License 1.1,
  see KaushanScript-OFL.txt
- DejaVu Sans (fonts-dejavu-core): Bitstream Vera license with DejaVu
  changes in the public domain, see DejaVu-LICENSE.txt

As a work derived from fonts under the SIL Open Font License 1.1, the font
Nuo4Core is distributed under the SIL Open Font License 1.1 (full text in
the files above); the glyphs derived from DejaVu Sans also remain under the
Bitstream Vera license terms. The font uses none of the reserved font names
of its sources. Nuo4Core-MANIFEST.md names the source of every glyph.
"""


def write_font_license():
    path = os.path.join(FONT_DIR, "licenses", "Nuo4Core-LICENSE.txt")
    with open(path, "w", encoding="utf-8") as f:
        f.write(NUO4CORE_LICENSE)


def main():
    build_descriptor_marks()
    build_note_digits()
    build_digit_set(0x54, "NotoSans-Bold", 100, 500, 250, "GeneralDigits",
                    "gdigit")
    build_digit_set(0x5E, "NotoSans-Regular", 0, 500, 300, "SecondDigits",
                    "sdigit")
    build_key_letters()
    build_one_equals()
    build_text_marks()
    compose_dyn = build_dynamics()
    build_segno_family()
    build_extras(compose_dyn)
    build_ttf()
    write_json()
    write_manifest()
    copy_licenses()
    write_font_license()
    print("wrote %s (%d glyphs)" % (os.path.relpath(OUT_TTF, ROOT),
                                    len(GLYPHS)))


if __name__ == "__main__":
    main()
