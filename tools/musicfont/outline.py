"""Outline primitives for the Nuo4Core music font generator.

An outline is a list of pen operations as recorded by fontTools' RecordingPen,
restricted to moveTo, lineTo, curveTo (cubic) and closePath, in font design
units with the y axis up. Everything the generator draws or borrows ends up in
this form, is merged with a boolean union (so overlapping strokes never make
holes under even-odd filling) and is finally fitted to its glyph box.
"""

import math

import pyclipper
from booleanOperations import BooleanOperationManager
from fontTools.pens.areaPen import AreaPen
from fontTools.pens.basePen import BasePen
from fontTools.pens.boundsPen import BoundsPen, ControlBoundsPen
from fontTools.pens.pointPen import (PointToSegmentPen, SegmentToPointPen)
from fontTools.pens.recordingPen import RecordingPen
from fontTools.ttLib import TTFont

# pyclipper works on integers; this many steps per design unit.
CLIP_SCALE = 64.0
# Curves drawn by the generator are sampled this finely (design units).
SAMPLE_STEP = 4.0


class CubicRecordingPen(BasePen):
    """Records an outline, turning quadratic splines into cubic curves."""

    def __init__(self, glyphSet=None):
        super().__init__(glyphSet)
        self.value = []

    def _moveTo(self, pt):
        self.value.append(("moveTo", (pt,)))

    def _lineTo(self, pt):
        self.value.append(("lineTo", (pt,)))

    def _curveToOne(self, p1, p2, p3):
        self.value.append(("curveTo", (p1, p2, p3)))

    def _closePath(self):
        self.value.append(("closePath", ()))

    def _endPath(self):
        self.value.append(("closePath", ()))


def replay(ops, pen):
    for op, args in ops:
        getattr(pen, op)(*args)


# ---------------------------------------------------------------- sources

_font_cache = {}


def load_font(path):
    if path not in _font_cache:
        _font_cache[path] = TTFont(path)
    return _font_cache[path]


def source_glyph(path, char=None, glyph_name=None):
    """Outline and advance width of one glyph of an installed font, scaled to
    1000 units per em."""
    font = load_font(path)
    if glyph_name is None:
        glyph_name = font.getBestCmap()[ord(char)]
    gs = font.getGlyphSet()
    pen = CubicRecordingPen(gs)
    gs[glyph_name].draw(pen)
    k = 1000.0 / font["head"].unitsPerEm
    adv = font["hmtx"][glyph_name][0] * k
    return scale(pen.value, k, k), adv


def source_text(path, text, tracking=0.0, kern=None):
    """Outline of a short text set from one font: advance widths plus a fixed
    tracking (design units) plus optional manual kerning per pair."""
    ops = []
    x = 0.0
    prev = None
    for ch in text:
        if prev is not None and kern and (prev + ch) in kern:
            x += kern[prev + ch]
        g, adv = source_glyph(path, ch)
        ops += translate(g, x, 0)
        x += adv + tracking
        prev = ch
    return ops


# ---------------------------------------------------------------- transforms

def transform(ops, a, b, c, d, e, f):
    """Apply x' = a x + c y + e, y' = b x + d y + f."""
    out = []
    for op, args in ops:
        out.append((op, tuple((a * x + c * y + e, b * x + d * y + f)
                              for (x, y) in args)))
    return out


def translate(ops, dx, dy):
    return transform(ops, 1, 0, 0, 1, dx, dy)


def scale(ops, sx, sy=None, cx=0.0, cy=0.0):
    if sy is None:
        sy = sx
    return transform(ops, sx, 0, 0, sy, cx - sx * cx, cy - sy * cy)


def rotate(ops, degrees, cx=0.0, cy=0.0):
    r = math.radians(degrees)
    co, si = math.cos(r), math.sin(r)
    return transform(ops, co, si, -si, co, cx - co * cx + si * cy,
                     cy - si * cx - co * cy)


def shear(ops, degrees):
    """Slant to the right above y = 0."""
    return transform(ops, 1, 0, math.tan(math.radians(degrees)), 1, 0, 0)


def mirror_x(ops, axis=0.0):
    return reverse(transform(ops, -1, 0, 0, 1, 2 * axis, 0))


def mirror_y(ops, axis=0.0):
    return reverse(transform(ops, 1, 0, 0, -1, 0, 2 * axis))


def split_contours(ops):
    contours, cur = [], []
    for op, args in ops:
        cur.append((op, args))
        if op == "closePath":
            contours.append(cur)
            cur = []
    if cur:
        contours.append(cur + [("closePath", ())])
    return contours


def reverse(ops):
    """Reverse the direction of every contour (mirroring flips direction)."""
    out = []
    for contour in split_contours(ops):
        start = contour[0][1][0]
        cur = start
        segs = []
        for op, args in contour[1:]:
            if op == "closePath":
                break
            segs.append((op, cur, args))
            cur = args[-1]
        if not segs:
            continue
        out.append(("moveTo", (cur,)))
        for op, p0, args in reversed(segs):
            if op == "lineTo":
                out.append(("lineTo", (p0,)))
            else:
                out.append(("curveTo", (args[1], args[0], p0)))
        out.append(("closePath", ()))
    return out


# ---------------------------------------------------------------- measuring

def bounds(ops):
    pen = BoundsPen(None)
    replay(ops, pen)
    return pen.bounds


def control_bounds(ops):
    pen = ControlBoundsPen(None)
    replay(ops, pen)
    return pen.bounds


def fit(ops, x, top, w, h):
    """Scale and move an outline so that its exact bounds become the box with
    left edge x, top edge top, width w and height h."""
    xmin, ymin, xmax, ymax = bounds(ops)
    sx = w / (xmax - xmin)
    sy = h / (ymax - ymin)
    return transform(ops, sx, 0, 0, sy, x - sx * xmin, (top - h) - sy * ymin)


def fit_height(ops, bottom, top, width=None, center_x=None, left=None):
    """Scale an outline so its height spans bottom..top. The width either
    follows uniformly or is forced; the result is centred on center_x or
    starts at left."""
    xmin, ymin, xmax, ymax = bounds(ops)
    sy = (top - bottom) / (ymax - ymin)
    sx = sy if width is None else width / (xmax - xmin)
    ops = transform(ops, sx, 0, 0, sy, -sx * xmin, bottom - sy * ymin)
    w = (xmax - xmin) * sx
    if center_x is not None:
        ops = translate(ops, center_x - w / 2, 0)
    elif left is not None:
        ops = translate(ops, left, 0)
    return ops


# ---------------------------------------------------------------- boolean

class _Contour:
    def __init__(self, ops):
        self.ops = ops

    def __len__(self):
        return len(self.ops)

    def drawPoints(self, point_pen):
        replay(self.ops, SegmentToPointPen(point_pen))

    def draw(self, pen):
        replay(self.ops, pen)


def union(ops):
    """Boolean union of all contours (non-zero winding of the input)."""
    contours = [_Contour(c) for c in split_contours(ops)]
    if not contours:
        return []
    rec = RecordingPen()
    seg = PointToSegmentPen(_NoQuadPointPen(rec))
    BooleanOperationManager.union(contours, seg)
    return [o for o in rec.value if o[0] != "endPath"]


def difference(ops, minus):
    contours = [_Contour(c) for c in split_contours(ops)]
    clip = [_Contour(c) for c in split_contours(minus)]
    rec = RecordingPen()
    seg = PointToSegmentPen(_NoQuadPointPen(rec))
    BooleanOperationManager.difference(contours, clip, seg)
    return [o for o in rec.value if o[0] != "endPath"]


class _NoQuadPointPen:
    """Segment pen adaptor that keeps only the operations we use."""

    def __init__(self, rec):
        self.rec = rec

    def moveTo(self, pt):
        self.rec.moveTo(pt)

    def lineTo(self, pt):
        self.rec.lineTo(pt)

    def curveTo(self, *pts):
        self.rec.curveTo(*pts)

    def qCurveTo(self, *pts):
        sub = CubicRecordingPen()
        # only reached when the boolean code passes quadratic input through
        sub.moveTo(self._last())
        sub.qCurveTo(*pts)
        for op, args in sub.value[1:]:
            getattr(self.rec, op)(*args)

    def _last(self):
        return self.rec.value[-1][1][-1]

    def closePath(self):
        self.rec.closePath()

    def endPath(self):
        self.rec.closePath()


# ---------------------------------------------------------------- shapes

KAPPA = 0.5522847498


def rect(x0, y0, x1, y1):
    return [("moveTo", ((x0, y0),)), ("lineTo", ((x0, y1),)),
            ("lineTo", ((x1, y1),)), ("lineTo", ((x1, y0),)),
            ("closePath", ())]


def polygon(points):
    """Closed polygon, made clockwise (a filled piece, never a hole)."""
    ops = [("moveTo", (tuple(points[0]),))]
    for p in points[1:]:
        ops.append(("lineTo", (tuple(p),)))
    ops.append(("closePath", ()))
    return solid(ops)


def area(ops):
    pen = AreaPen(None)
    replay(ops, pen)
    return pen.value


def solid(ops):
    """Turn every contour clockwise, so that pieces meant to add up do add
    up under the non-zero rule (a counter-clockwise piece would cancel)."""
    out = []
    for c in split_contours(ops):
        out += reverse(c) if area(c) > 0 else c
    return out


def nib_stroke(points, nib_dx, nib_dy):
    """Polyline written with a broad nib: every segment swept by the nib
    vector (from -nib/2 to +nib/2), so strokes across the nib come out heavy
    and strokes along it thin, with clean joins."""
    hx, hy = nib_dx / 2, nib_dy / 2
    ops = []
    for (x0, y0), (x1, y1) in zip(points, points[1:]):
        ops += polygon([(x0 - hx, y0 - hy), (x1 - hx, y1 - hy),
                        (x1 + hx, y1 + hy), (x0 + hx, y0 + hy)])
    return ops


def ellipse(cx, cy, rx, ry, clockwise=True):
    k = KAPPA
    if clockwise:
        return [("moveTo", ((cx - rx, cy),)),
                ("curveTo", ((cx - rx, cy + k * ry), (cx - k * rx, cy + ry),
                             (cx, cy + ry))),
                ("curveTo", ((cx + k * rx, cy + ry), (cx + rx, cy + k * ry),
                             (cx + rx, cy))),
                ("curveTo", ((cx + rx, cy - k * ry), (cx + k * rx, cy - ry),
                             (cx, cy - ry))),
                ("curveTo", ((cx - k * rx, cy - ry), (cx - rx, cy - k * ry),
                             (cx - rx, cy))),
                ("closePath", ())]
    return reverse(ellipse(cx, cy, rx, ry, True))


def ring(cx, cy, rx, ry, thickness_x, thickness_y=None):
    if thickness_y is None:
        thickness_y = thickness_x
    return ellipse(cx, cy, rx, ry, True) + ellipse(
        cx, cy, rx - thickness_x, ry - thickness_y, False)


def _poly_to_ops(paths):
    """pyclipper polygons as contours, outer ones clockwise and holes
    counter-clockwise (their relative orientation is kept)."""
    ops = []
    for path in paths:
        if len(path) < 3:
            continue
        pts = [(x / CLIP_SCALE, y / CLIP_SCALE) for x, y in path]
        ops.append(("moveTo", (pts[0],)))
        ops += [("lineTo", (p,)) for p in pts[1:]]
        ops.append(("closePath", ()))
    contours = split_contours(ops)
    if contours:
        biggest = max(contours, key=lambda c: abs(area(c)))
        if area(biggest) > 0:
            ops = reverse(ops)
    return ops


def stroke(points, width, cap="round", join="round"):
    """Outline of a polyline stroked with a constant pen; cap "closed"
    strokes it as a closed loop."""
    pco = pyclipper.PyclipperOffset(2.0, 0.05 * CLIP_SCALE)
    jt = {"round": pyclipper.JT_ROUND, "miter": pyclipper.JT_MITER,
          "square": pyclipper.JT_SQUARE}[join]
    et = {"round": pyclipper.ET_OPENROUND, "butt": pyclipper.ET_OPENBUTT,
          "square": pyclipper.ET_OPENSQUARE,
          "closed": pyclipper.ET_CLOSEDLINE}[cap]
    pco.AddPath([(round(x * CLIP_SCALE), round(y * CLIP_SCALE))
                 for x, y in points], jt, et)
    return _poly_to_ops(pco.Execute(width / 2 * CLIP_SCALE))


def taper(points, widths, round_start=False, round_end=False):
    """Outline of a polyline stroked with a pen whose width varies along it
    (one width per point), like a brush or an engraver's swelling line."""
    n = len(points)
    left, right = [], []
    for i in range(n):
        x, y = points[i]
        if i == 0:
            dx, dy = points[1][0] - x, points[1][1] - y
        elif i == n - 1:
            dx, dy = x - points[i - 1][0], y - points[i - 1][1]
        else:
            dx = points[i + 1][0] - points[i - 1][0]
            dy = points[i + 1][1] - points[i - 1][1]
        ln = math.hypot(dx, dy) or 1.0
        nx, ny = -dy / ln, dx / ln
        hw = widths[i] / 2
        left.append((x + nx * hw, y + ny * hw))
        right.append((x - nx * hw, y - ny * hw))
    pts = left + right[::-1]
    ops = solid(clean_polygon(pts))
    if round_start and widths[0] > 0:
        ops += ellipse(points[0][0], points[0][1], widths[0] / 2,
                       widths[0] / 2)
    if round_end and widths[-1] > 0:
        ops += ellipse(points[-1][0], points[-1][1], widths[-1] / 2,
                       widths[-1] / 2)
    return solid(ops)


def clean_polygon(pts):
    """A possibly self-intersecting polygon as simple contours (non-zero)."""
    path = [(round(x * CLIP_SCALE), round(y * CLIP_SCALE)) for x, y in pts]
    res = pyclipper.SimplifyPolygon(path, pyclipper.PFT_NONZERO)
    return _poly_to_ops(res)


def sample(fn, t0, t1, step=SAMPLE_STEP, min_n=8):
    """Points of a parametric curve fn(t) -> (x, y), spaced about step units."""
    n = min_n
    pts = [fn(t0 + (t1 - t0) * i / n) for i in range(n + 1)]
    length = sum(math.dist(pts[i], pts[i + 1]) for i in range(n))
    n = max(min_n, int(length / step))
    return [fn(t0 + (t1 - t0) * i / n) for i in range(n + 1)]


def bezier(p0, p1, p2, p3):
    def fn(t):
        u = 1 - t
        return (u * u * u * p0[0] + 3 * u * u * t * p1[0] +
                3 * u * t * t * p2[0] + t * t * t * p3[0],
                u * u * u * p0[1] + 3 * u * u * t * p1[1] +
                3 * u * t * t * p2[1] + t * t * t * p3[1])
    return fn


def arc(cx, cy, rx, ry, a0, a1):
    """Elliptic arc from angle a0 to a1 (degrees, counter-clockwise)."""
    def fn(t):
        a = math.radians(t)
        return (cx + rx * math.cos(a), cy + ry * math.sin(a))
    return sample(fn, a0, a1)


def path_points(*pieces):
    """Join sampled pieces into one polyline without duplicated joints."""
    out = []
    for piece in pieces:
        for p in piece:
            if not out or math.dist(out[-1], p) > 1e-6:
                out.append(p)
    return out


def smoothstep_widths(n, w0, wmid, w1):
    """Widths swelling from w0 through wmid to w1 along n points."""
    out = []
    for i in range(n):
        t = i / max(1, n - 1)
        s = math.sin(math.pi * t)
        base = w0 + (w1 - w0) * t
        out.append(base + (wmid - base) * s)
    return out
