#!/usr/bin/python3
"""Tests of the outline primitives the generator relies on.

    /usr/bin/python3 -m unittest discover -s tools/musicfont -p 'test_*.py'
"""

import math
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import marks  # noqa: E402
import outline as o  # noqa: E402


def contour_areas(ops):
    return [o.area(c) for c in o.split_contours(ops)]


class FitToBox(unittest.TestCase):
    def test_bounds_become_the_box_exactly(self):
        ops = o.fit(o.ellipse(10, 20, 30, 70), -12, 500, 500, 266)
        for got, want in zip(o.bounds(ops), (-12, 234, 488, 500)):
            self.assertAlmostEqual(got, want, places=6)

    def test_fit_height_keeps_proportions_and_centres(self):
        ops = o.fit_height(o.rect(0, 0, 50, 100), 0, 500, center_x=200)
        self.assertEqual(tuple(round(v, 6) for v in o.bounds(ops)),
                         (75, 0, 325, 500))


class UnionAndDirection(unittest.TestCase):
    def test_union_keeps_a_ring_open(self):
        ring = o.union(o.ring(0, 0, 100, 100, 30))
        areas = contour_areas(ring)
        self.assertEqual(len(areas), 2)
        self.assertAlmostEqual(abs(sum(areas)),
                               math.pi * (100 ** 2 - 70 ** 2), delta=60)

    def test_overlapping_pieces_merge_into_one_contour(self):
        ops = o.union(o.rect(0, 0, 100, 100) + o.rect(50, 50, 150, 150))
        self.assertEqual(len(o.split_contours(ops)), 1)
        self.assertAlmostEqual(abs(o.area(ops)), 17500, delta=1)

    def test_solid_pieces_add_up_whichever_way_they_were_drawn(self):
        ccw = o.reverse(o.rect(40, 40, 60, 60))
        # under the non-zero rule a reversed piece cuts a hole ...
        holed = o.union(o.rect(0, 0, 100, 100) + ccw)
        self.assertEqual(len(o.split_contours(holed)), 2)
        # ... which solid() prevents
        ops = o.union(o.rect(0, 0, 100, 100) + o.solid(ccw))
        self.assertEqual(len(o.split_contours(ops)), 1)
        self.assertAlmostEqual(abs(o.area(ops)), 10000, delta=1)

    def test_reverse_and_mirror_keep_the_filled_side(self):
        ops = o.rect(0, 0, 10, 20)
        self.assertAlmostEqual(o.area(o.reverse(ops)), -o.area(ops))
        self.assertAlmostEqual(o.area(o.mirror_x(ops)), o.area(ops))
        self.assertAlmostEqual(o.area(o.mirror_y(ops, 5)), o.area(ops))
        self.assertEqual(o.bounds(o.reverse(ops)), o.bounds(ops))


class Strokes(unittest.TestCase):
    def test_closed_stroke_keeps_its_counter(self):
        ops = o.union(o.stroke(o.arc(0, 0, 100, 150, 0, 360)[:-1], 40,
                               cap="closed"))
        areas = contour_areas(ops)
        self.assertEqual(len(areas), 2)
        self.assertTrue(areas[0] * areas[1] < 0)

    def test_tapered_stroke_with_round_caps_is_solid(self):
        pts = o.sample(o.bezier((0, 0), (50, 100), (150, 100), (200, 0)), 0,
                       1)
        ops = o.union(o.taper(pts, [40] * len(pts), True, True))
        self.assertEqual(len(o.split_contours(ops)), 1)

    def test_broad_nib_makes_falling_strokes_heavy(self):
        # the nib (30, 60) lies nearly across a falling stroke and along a
        # rising one
        fall = o.union(o.nib_stroke([(0, 100), (100, 0)], 30, 60))
        rise = o.union(o.nib_stroke([(0, 0), (100, 100)], 30, 60))
        self.assertGreater(abs(o.area(fall)), 2 * abs(o.area(rise)))


class DrawnMarks(unittest.TestCase):
    def test_wave_ends_meet_so_copies_join(self):
        ops = marks.wave_horz()
        x0, _, x1, _ = o.bounds(ops)

        def end_points(x):
            return sorted(round(p[1], 3) for c in o.split_contours(ops)
                          for op, args in c for p in args
                          if abs(p[0] - x) < 1e-6)

        self.assertEqual(end_points(x0), end_points(x1))

    def test_upright_digits_fill_the_cell_height(self):
        for d in range(9):
            _, y0, _, y1 = o.bounds(marks.upright_digit(d))
            self.assertAlmostEqual(y0, 0, delta=2, msg=str(d))
            self.assertAlmostEqual(y1, 500, delta=2, msg=str(d))


if __name__ == "__main__":
    unittest.main()
