"""Musical marks drawn by the generator itself.

Each function returns an outline (see outline.py) drawn near its final size;
the caller fits it to the glyph box. Stroke weights follow one scale so the
marks read as one family: hairline about 22, light about 34, main strokes
45 to 60 design units against a 500 unit digit height.
"""

import math

import outline as o

HAIR = 22
LIGHT = 34
MAIN = 52


def _band(fn_center, t0, t1, thickness_fn, n=None):
    """Area swept by a vertical segment of varying length along a curve."""
    pts = o.sample(fn_center, t0, t1)
    upper, lower = [], []
    for i, (x, y) in enumerate(pts):
        t = t0 + (t1 - t0) * i / (len(pts) - 1)
        h = thickness_fn(t) / 2
        upper.append((x, y + h))
        lower.append((x, y - h))
    return o.clean_polygon(upper + lower[::-1])


# ------------------------------------------------------------ script strokes

def script_vert():
    """A brush stroke pressed at the top and lifted at the bottom."""
    pts = o.sample(o.bezier((40, 690), (30, 460), (44, 240), (36, 10)), 0, 1)
    n = len(pts)
    widths = []
    for i in range(n):
        t = i / (n - 1)
        widths.append(70 - 34 * t ** 1.6 + 6 * math.sin(math.pi * t))
    return o.union(o.taper(pts, widths, round_start=True, round_end=True))


def script_horz():
    pts = o.sample(o.bezier((30, 46), (220, 30), (470, 56), (690, 44)), 0, 1)
    n = len(pts)
    widths = []
    for i in range(n):
        t = i / (n - 1)
        widths.append(64 - 30 * t ** 1.5 + 5 * math.sin(math.pi * t))
    return o.union(o.taper(pts, widths, round_start=True, round_end=True))


def script_dot():
    """A brush dot: an egg tilted like a quick touch of the pen."""
    # sampled as a polygon: a rotated curve would put its control points
    # outside the tiny box, and some renderers measure by control points
    pts = [(17 * math.cos(math.radians(a)), 22 * math.sin(math.radians(a)))
           for a in range(0, 360, 6)]
    return o.rotate(o.polygon(pts), -18)


# ------------------------------------------------------------ accidentals

def sharp(w=150, h=380):
    """Sharp: two stems (the left one set lower) and two heavy beams rising
    to the right, as in engraved music; drawn in [0, w] x [0, h]."""
    ts, tb, rise = 0.2 * w, 0.15 * h, 0.12 * h
    ops = (o.rect(0.26 * w, 0, 0.26 * w + ts, 0.93 * h) +
           o.rect(0.74 * w - ts, 0.07 * h, 0.74 * w, h))
    for yc in (0.33 * h, 0.67 * h):
        ops += o.polygon([(0, yc - tb / 2 - rise / 2),
                          (0, yc + tb / 2 - rise / 2),
                          (w, yc + tb / 2 + rise / 2),
                          (w, yc - tb / 2 + rise / 2)])
    return o.union(ops)


def flat(w=124, h=400):
    """Flat: a stem with a round bowl swelling to the right at its foot, the
    bowl heavy on its right side and thin where it meets the stem."""
    t = 0.22 * w
    top = 0.5 * h  # where the bowl leaves the stem
    stem = o.rect(0, 0, t, h)
    outer = o.polygon(o.path_points(
        [(0, top - 0.12 * h)],
        o.sample(o.bezier((t, top - 0.1 * h), (0.4 * w, top + 0.04 * h),
                          (w, top + 0.05 * h), (w, top - 0.16 * h)), 0, 1),
        o.sample(o.bezier((w, top - 0.16 * h), (w, 0.22 * h),
                          (0.5 * w, 0.08 * h), (t, 0)), 0, 1),
        [(0, 0)]))
    inner = o.polygon(o.path_points(
        o.sample(o.bezier((t, top - 0.2 * h), (0.38 * w, top - 0.1 * h),
                          (0.62 * w, top - 0.1 * h), (0.62 * w, top - 0.2 * h)),
                 0, 1),
        o.sample(o.bezier((0.62 * w, top - 0.2 * h), (0.62 * w, 0.2 * h),
                          (0.42 * w, 0.12 * h), (t, 0.06 * h)), 0, 1)))
    return o.difference(o.union(stem + outer), inner)


def natural(w=108, h=400):
    """Natural: left stem rising from the lower beam, right stem falling
    from the upper beam, two heavy beams rising to the right."""
    ts, tb, rise = 0.26 * w, 0.14 * h, 0.1 * h
    ops = (o.rect(0, 0.22 * h, ts, h) + o.rect(w - ts, 0, w, 0.78 * h))
    for yc in (0.36 * h, 0.64 * h):
        ops += o.polygon([(0, yc - tb / 2 - rise / 2),
                          (0, yc + tb / 2 - rise / 2),
                          (w, yc + tb / 2 + rise / 2),
                          (w, yc - tb / 2 + rise / 2)])
    return o.union(ops)


# ------------------------------------------------------------ articulations

def wedge():
    """Staccato wedge: a slender triangle with slightly hollow sides."""
    left = o.sample(o.bezier((113, 182), (80, 300), (40, 420), (0, 500)), 0,
                    1)
    right = o.sample(o.bezier((226, 500), (186, 420), (146, 300), (113, 182)),
                     0, 1)
    return o.polygon(o.path_points(left, right))


def teardrop():
    """Second staccato form: a drop with a round head and a pointed foot."""
    r = 113
    cy = 500 - r
    # the head runs counter-clockwise over the top from right to left
    head = [(113 + r * math.cos(math.radians(a)),
             cy + r * math.sin(math.radians(a)))
            for a in [-25 + i * (230.0 / 60) for i in range(61)]]
    left = o.sample(o.bezier(head[-1], (30, 300), (90, 230), (113, 182)), 0,
                    1)
    right = o.sample(o.bezier((113, 182), (136, 230), (196, 300), head[0]),
                     0, 1)
    return o.polygon(o.path_points(head, left, right))


def accent():
    """Accent: an open chevron with a sharp tip."""
    t = 40
    tip_x = 345
    mid = 368
    top, bottom = 500, 236
    inner_x = tip_x * (1 - t / (top - mid))
    return o.polygon([(0, top), (tip_x, mid), (0, bottom), (0, bottom + t),
                      (inner_x, mid), (0, top - t)])


def tenuto():
    return o.rect(0, 450, 400, 500)


def fermata():
    """Fermata: a half ellipse swelling at its crown, with a dot."""
    cx, base = 225, 229
    rx, ry = 225, 271
    outer = [(cx + rx * math.cos(math.radians(a)),
              base + ry * math.sin(math.radians(a)))
             for a in [i * 1.5 for i in range(121)]]
    inner = [(cx + (rx - 16) * math.cos(math.radians(a)),
              base + (ry - 62) * math.sin(math.radians(a)))
             for a in [180 - i * 1.5 for i in range(121)]]
    arc = o.polygon(outer + inner)
    dot = o.ellipse(cx, base + 44, 44, 44)
    return o.union(arc + dot)


def mordent(with_line=False):
    """Mordent: a zigzag written with a broad nib, heavy falling strokes and
    hairline rising ones; the lower form is crossed by a vertical line."""
    xs = [0, 95, 180, 270, 355, 450]
    lo, hi = (365, 455) if with_line else (350, 470)
    ys = [lo, hi, lo, hi, lo, hi]
    ops = o.union(o.nib_stroke(list(zip(xs, ys)), 40, 62))
    if with_line:
        ops = o.union(ops + o.rect(211, 300, 239, 520))
    return ops


def trill(tr_ops):
    """'tr' letters followed by a short wavy extension line."""
    xmin, ymin, xmax, ymax = o.bounds(tr_ops)
    k = 266 / (ymax - ymin)
    tr = o.transform(tr_ops, k, 0, 0, k, -12 - xmin * k, 234 - ymin * k)
    _, _, trx, _ = o.bounds(tr)
    x0 = trx + 14
    length = 488 - x0
    period = length / 1.5

    def center(x):
        return (x, 330 + 26 * math.sin(2 * math.pi * (x - x0) / period))

    wave = _band(center, x0, 488, lambda x: 38 + 14 * math.cos(
        2 * math.pi * (x - x0) / period))
    return o.union(tr + wave)


# ------------------------------------------------------------ brackets

def crescent(width, height, thick_mid, thick_end):
    """Opening parenthesis: outer and inner arcs meeting in rounded tips."""
    n = 80
    outer, inner = [], []
    for i in range(n + 1):
        t = i / n
        y = height * t
        s = math.sin(math.pi * t)
        x_out = width - width * s ** 0.85
        th = thick_end + (thick_mid - thick_end) * s
        outer.append((x_out, y))
        inner.append((x_out + th, y))
    return o.polygon(outer + inner[::-1])


def curly_brace():
    """Curly brace opening to the right, point at the left; the arms swell in
    the middle and thin out at the tips and the point."""
    top = [(141, 1000), (40, 960), (80, 700), (75, 620)]
    mid = [(75, 620), (70, 540), (30, 510), (0, 500)]
    p1 = o.sample(o.bezier(*top), 0, 1)
    p2 = o.sample(o.bezier(*mid), 0, 1)
    half = o.path_points(p1, p2)
    n = len(half)
    widths = []
    for i in range(n):
        t = i / (n - 1)
        widths.append(8 + 56 * math.sin(math.pi * min(1.0, t * 1.1)) ** 0.8)
    upper = o.taper(half, widths, round_start=True)
    lower = o.mirror_y(upper, 500)
    return o.union(upper + lower)


def square_bracket():
    """System bracket: a thick line with thin curled ends (extend symbol)."""
    bar = o.rect(0, 40, 70, 960)
    curl = o.polygon(o.path_points(
        [(0, 960), (0, 1000)],
        o.sample(o.bezier((0, 1000), (120, 1000), (210, 1020), (260, 1070)),
                 0, 1),
        o.sample(o.bezier((260, 1070), (250, 1030), (170, 960), (70, 960)), 0,
                 1)))
    ops = bar + curl + o.mirror_y(curl, 500)
    return o.union(ops)


# ------------------------------------------------------------ others

def breath():
    """Breath mark: a V written with a broad nib, heavy on its right arm."""
    return o.union(o.nib_stroke([(20, 345), (132, 12), (250, 345)], 46, -22))


def arrow_head(tip, direction_deg, length, half_width, notch=0.25):
    d = math.radians(direction_deg)
    ux, uy = math.cos(d), math.sin(d)
    px, py = -uy, ux
    bx, by = tip[0] - ux * length, tip[1] - uy * length
    nx, ny = tip[0] - ux * length * (1 - notch), tip[1] - uy * length * (
        1 - notch)
    return o.polygon([tip, (bx + px * half_width, by + py * half_width),
                      (nx, ny), (bx - px * half_width, by - py * half_width)])


def glide_arrow():
    """Rising glide: a curved line sweeping up to an arrow head."""
    curve = o.bezier((30, 0), (50, 200), (110, 330), (180, 410))
    pts = o.sample(curve, 0, 0.96)
    line = o.stroke(pts, 34, cap="round")
    head = arrow_head((233, 500), 58, 150, 62, notch=0.08)
    return o.union(line + head)


def glide_wave():
    """Rising glide drawn as a wavy line."""
    def center(t):
        x = 30 + 190 * t
        y = 20 + 460 * t
        w = 22 * math.sin(2 * math.pi * 2.0 * t)
        return (x + w * 0.92, y - w * 0.39)

    pts = o.sample(center, 0, 1, step=2)
    n = len(pts)
    widths = [24 + 16 * math.sin(math.pi * i / (n - 1)) for i in range(n)]
    return o.union(o.taper(pts, widths, round_start=True, round_end=True))


def straight_arrow():
    """Vertical arrow up (quarter-tone raise)."""
    line = o.rect(60, 0, 90, 380)
    head = arrow_head((75, 500), 90, 170, 75, notch=0.08)
    return o.union(line + head)


def return_mark():
    """Paragraph mark: a return arrow."""
    t = 34
    ops = o.rect(232, 70 - t / 2, 266, 286)
    ops += o.rect(70, 70 - t / 2, 266, 70 + t / 2)
    ops += arrow_head((0, 70), 180, 110, 70, notch=0.08)
    return o.union(ops)


def tremolo():
    """Three slanted heavy strokes (tremolo)."""
    ops = []
    thick = 58
    rise = 70
    step = 98
    for i in range(3):
        y = 176 + i * step
        ops += o.polygon([(0, y), (0, y + thick), (280, y + thick + rise),
                          (280, y + rise)])
    return o.union(ops)


def wave_horz():
    """Wavy line of two periods; its ends are cut vertically at the middle
    of a wave so copies laid end to end join seamlessly."""
    length = 476
    thick = 44
    amp = (125 - thick) / 2
    period = length / 2

    def center(x):
        return (x, 62.5 + amp * math.sin(2 * math.pi * x / period))

    return _band(center, 0, length, lambda x: thick)


def coda():
    ops = o.ring(275.5, 315, 175, 215, 46, 26)
    ops += o.rect(0, 315 - 15, 551, 315 + 15)
    ops += o.rect(275.5 - 15, 0, 275.5 + 15, 630)
    return o.union(ops)


def free_meter():
    """Free-meter sign, a brushed stroke figure like the katakana sa."""
    pts = o.sample(o.bezier((10, 350), (140, 368), (280, 372), (390, 380)),
                   0, 1)
    bar = o.taper(pts, [46] * len(pts), round_start=True, round_end=True)
    pts = o.sample(o.bezier((120, 495), (118, 420), (118, 300), (122, 210)),
                   0, 1)
    left = o.taper(pts, [50 - 14 * i / (len(pts) - 1) for i in range(len(pts))],
                   round_start=True, round_end=True)
    pts = o.sample(o.bezier((285, 500), (300, 300), (270, 120), (110, 10)), 0,
                   1)
    right = o.taper(pts,
                    [54 - 30 * (i / (len(pts) - 1)) ** 1.3
                     for i in range(len(pts))],
                    round_start=True, round_end=True)
    return o.union(bar + left + right)


def long_rest_bar():
    """Horizontal bar of a long rest with its end strokes."""
    return o.union(o.rect(0, 150, 1000, 350) + o.rect(0, 0, 50, 500) +
                   o.rect(950, 0, 1000, 500))


def repeat_dots():
    return o.ellipse(60, 110, 60, 60) + o.ellipse(60, 390, 60, 60)


def equals(x0, x1, y_mid, thick, gap):
    return (o.rect(x0, y_mid + gap / 2, x1, y_mid + gap / 2 + thick) +
            o.rect(x0, y_mid - gap / 2 - thick, x1, y_mid - gap / 2))


def tempo_mark(note_ops, cell_width, with_dot=False, equals_thick=48):
    """Note (stem up, 500 units tall) and an equals sign centred in the room
    left in the tempo cell, so the spaces before and after it match."""
    x0, y0, x1, y1 = o.bounds(note_ops)
    k = 500 / (y1 - y0)
    ops = o.transform(note_ops, k, 0, 0, k, -x0 * k, -y0 * k)
    right = (x1 - x0) * k
    if with_dot:
        ops += o.ellipse(right + 62, 62, 34, 34)
        right += 96
    mid = (right + cell_width - 40) / 2
    return o.union(ops + equals(mid - 200, mid + 200, 250, equals_thick, 100))


# ------------------------------------------------------------ face 2 digits

UPRIGHT_W = 74


def _c(*pts):
    return o.sample(o.bezier(*pts), 0, 1)


def upright_digit(d):
    """Monoline digits with round terminals, built on centre lines inside
    a 400 x 500 cell (the stroke adds half its width around them)."""
    h = UPRIGHT_W / 2
    top, bot = 500 - h, h
    paths = []
    if d == 0:
        paths.append(o.arc(200, 250, 118, 250 - h, 0, 360))
    elif d == 1:
        paths.append([(118, 378), (222, top), (222, bot)])
    elif d == 2:
        paths.append(o.path_points(
            _c((92, 372), (100, 440), (150, top), (204, top)),
            _c((204, top), (270, top), (312, 420), (312, 360)),
            _c((312, 360), (312, 290), (250, 250), (90, bot)),
            [(322, bot)]))
    elif d == 3:
        paths.append(o.path_points(
            _c((96, 400), (110, 445), (150, top), (200, top)),
            _c((200, top), (262, top), (300, 430), (300, 380)),
            _c((300, 380), (300, 310), (250, 272), (180, 272))))
        paths.append(o.path_points(
            _c((180, 272), (260, 272), (318, 230), (318, 150)),
            _c((318, 150), (318, 70), (262, bot), (196, bot)),
            _c((196, bot), (140, bot), (96, 70), (86, 112))))
    elif d == 4:
        paths.append([(262, bot), (262, top), (78, 150), (334, 150)])
    elif d == 5:
        paths.append(o.path_points(
            [(308, top), (126, top), (110, 272)],
            _c((110, 272), (140, 300), (175, 310), (205, 310)),
            _c((205, 310), (275, 310), (318, 250), (318, 170)),
            _c((318, 170), (318, 80), (262, bot), (196, bot)),
            _c((196, bot), (140, bot), (98, 70), (88, 110))))
    elif d == 6:
        paths.append(o.arc(204, 160, 116, 160 - h, 0, 360))
        # the spine leaves the bowl upwards and turns over the top as part
        # of an ellipse as wide as the bowl
        paths.append(o.path_points([(88, 160)],
                                   o.arc(204, 250, 116, top - 250, 180, 48)))
    elif d == 7:
        paths.append(o.path_points([(80, top), (320, top)],
                                   _c((320, top), (250, 380), (190, 240),
                                      (176, bot))))
    elif d == 8:  # drum cross
        paths.append([(88, bot), (312, top)])
        paths.append([(88, top), (312, bot)])
    ops = []
    for p in paths:
        if math.dist(p[0], p[-1]) < 1e-6:
            ops += o.stroke(p[:-1], UPRIGHT_W, cap="closed")
        else:
            ops += o.stroke(p, UPRIGHT_W, cap="round")
    return o.union(ops)


# ------------------------------------------------------------ extra marks

def fermata_angular():
    """Short fermata: an angular roof with a dot."""
    roof = o.polygon([(0, 229), (225, 470), (450, 229), (420, 229),
                      (225, 410), (30, 229)])
    return o.union(roof + o.ellipse(225, 273, 44, 44))


def marcato():
    """Marcato: an upturned wedge, heavy on its right arm."""
    return o.union(o.polygon([(0, 0), (40, 0), (120, 230), (100, 300)]) +
                   o.polygon([(100, 300), (140, 300), (240, 0), (170, 0)]))


def tenuto_dot():
    return o.rect(0, 120, 260, 166) + o.ellipse(130, 40, 40, 40)


def ring_cross():
    """Ring with a cross (stopped / open combinations)."""
    return o.union(o.ring(0, 0, 100, 100, 24) + o.rect(-130, -14, 130, 14) +
                   o.rect(-14, -130, 14, 130))


def wave_long():
    """Long wavy line of four periods (trill extension, arpeggio)."""
    length, thick, amp = 952, 44, (125 - 44) / 2
    period = length / 4

    def center(x):
        return (x, 62.5 + amp * math.sin(2 * math.pi * x / period))

    return _band(center, 0, length, lambda x: thick)


def tremolo_n(n):
    ops = []
    for i in range(n):
        y = i * 98
        ops += o.polygon([(0, y), (0, y + 58), (280, y + 128), (280, y + 70)])
    return o.union(ops)


def slur():
    """A tapered slur arc, thick in the middle."""
    outer = o.sample(o.bezier((0, 0), (180, 250), (620, 250), (800, 0)), 0,
                     1)
    inner = o.sample(o.bezier((800, 0), (630, 200), (170, 200), (0, 0)), 0,
                     1)
    return o.polygon(o.path_points(outer, inner))


def bracket_open():
    """Opening square bracket for grouping notes."""
    return o.union(o.rect(0, 0, 40, 600) + o.rect(0, 0, 130, 40) +
                   o.rect(0, 560, 130, 600))


def triangle_open():
    outer = [(0, 0), (150, 260), (300, 0)]
    inner = [(52, 30), (150, 200), (248, 30)]
    return o.polygon(outer) + o.reverse(o.polygon(inner))


def square_open():
    return o.rect(0, 0, 260, 260) + o.reverse(o.rect(34, 34, 226, 226))


def diamond_open():
    return (o.polygon([(150, 0), (0, 150), (150, 300), (300, 150)]) +
            o.reverse(o.polygon([(150, 46), (46, 150), (150, 254),
                                 (254, 150)])))


def plus():
    return o.union(o.rect(0, 110, 260, 150) + o.rect(110, 0, 150, 260))


def thumb():
    """Thumb position sign: a ring standing on a short stem."""
    return o.union(o.ring(100, 200, 90, 110, 26) + o.rect(86, 0, 114, 100))


# ------------------------------------------------------------ drum crosses

def _diagonal(x_bottom, x_top, thick, y0=0, y1=500):
    """A diagonal stroke cut horizontally at both ends; thick is measured
    along the cut."""
    h = thick / 2
    return o.polygon([(x_bottom - h, y0), (x_bottom + h, y0), (x_top + h, y1),
                      (x_top - h, y1)])


def drum_cross_sans():
    """Drum cross of the standard face: two even diagonals of the weight of
    the bold sans digits, cut level at the ends."""
    ops = _diagonal(92, 308, 104) + _diagonal(308, 92, 104)
    return o.union(ops)


def drum_cross_serif():
    """Drum cross of the elegant face: a heavy and a hairline diagonal with
    bracket-less slab serifs, in the manner of the serif digits."""
    ops = _diagonal(300, 100, 100, 22, 478) + _diagonal(96, 304, 38, 22, 478)
    for x in (100, 304):
        ops += o.rect(x - 64, 478, x + 64, 500)
    for x in (96, 300):
        ops += o.rect(x - 64, 0, x + 64, 22)
    return o.union(ops)
