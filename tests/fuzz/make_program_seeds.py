#!/usr/bin/env python3
"""Writes the seed programs of zv_fuzz_program into tests/fuzz/corpus/program/.

Each program is a list of steps in the encoding program.hpp reads: an opcode
byte, then the operands in the order the step reads them, then the refusal
budget of each library call (255: no refusal). Together the seeds reach every
function the target calls with valid inputs; the two fault-* files replay
by hand what the ownership rules forbid, and the found-* files (kept as the
fuzzer found them, not written here) reach the same faults by other paths;
tests/reliability/program_regression_test.cpp replays all four.
"""
import os

GENEROUS = [255]


def real(v):
    """A value the decoder reads exactly: a multiple of 1/16 in [-8, 8)."""
    q = round(v * 16)
    assert -128 <= q < 128 and q == v * 16, v
    return [100, 128 + q]


def count(c):
    """0 .. 39 directly, -1 and 32767 as edge values."""
    if c == -1:
        return [1]
    if c == 32767:
        return [10]
    assert 0 <= c < 40
    return [80 + c]


def refused(k):
    """A budget that refuses the kernel's allocation number k (0 .. 63)."""
    return [0, k]


def points(slot, pts):
    assert slot < 3
    out = [0, slot, len(pts)]
    for p in pts:
        for c in p:
            out += real(c)
    return out


def reals(slot, vals):
    assert slot >= 3
    out = [0, slot, len(vals), 2]  # shape 2: every value as given
    for v in vals:
        out += real(v)
    return out


def null_list(slot):
    return [0, slot, 255]


def pool(s):
    """Pool list s (0 .. 2 points, 3 .. 5 reals) where a list is taken over."""
    return [s % 3, 0]


def rec_list(r, second=False):
    """A record's own list: control or knot (second: vertex or weight) list."""
    return [4 if second else 3, r]


def uniform(r, kind, ctrl, beta1=0.0, beta2=0.0, budget=GENEROUS):
    return [1, r, kind] + ctrl + real(beta1) + real(beta2) + budget


def nubspl(r, ctrl, knots, degree, steps, budget=GENEROUS):
    return [2, r] + ctrl + knots + [degree] + count(steps) + budget


def rational(r, nurb, ctrl, knots, weights, degree, steps=4, fresh=True, budget=GENEROUS):
    return [3, r, int(fresh), int(nurb), ctrl % 3, knots % 3, weights % 3, degree] + count(steps) + budget


def mk_uniform(r, step, budget=GENEROUS):
    return [4, r] + real(step) + budget


def mk_nubspl(r, first=0, last=0, budget=GENEROUS):
    return [5, r] + count(first) + count(last) + budget


def mk_nurb(r, spans, steps, first=0, last=0, budget=GENEROUS):
    return [6, r] + count(first) + count(last) + count(spans) + count(steps) + budget


def mk_ratbezier(r, degree=0, budget=GENEROUS):
    return [7, r, degree] + budget


def eval_uniform(r, at, t):
    return [8, r, at] + real(t)


def deboor(r, rat, at, where=128):
    return [9, r, int(rat), at, where]


def convert(a, b, rat, budget=GENEROUS):
    return [10, a, (b - a - 1) % 4, int(rat)] + budget


def split(a, before, after, rat, t, budget=GENEROUS):
    return [11, a, before, after, int(rat)] + real(t) + budget


def fit(polygon, params, knots, degree, given, mode, where=100, side=1, budget=GENEROUS):
    return [12, polygon % 3, params % 3, knots % 3, degree, int(given), mode, where, int(side > 0)] + budget


def intersect(a, b, out, budget=GENEROUS):
    return [13, a, b, out % 3] + budget


def release(r):
    return [14, r]


def create(r, budget=GENEROUS):
    return [15, r] + budget


HEPTAGON = [(0, 0, 0), (1, 2, 0), (2, 3, 1), (3.5, 2, 1), (4, 0, 0.5), (5.5, -1, 0), (7, 0.5, 0)]
SIX = HEPTAGON[:6]
PLANAR = [(x, y, 0) for x, y, _ in HEPTAGON]
ZIGZAG = [(0, 3, 0), (1, -2, 0), (2.5, 3, 0), (4, -2, 0), (5, 3, 0), (6.5, -2, 0)]
KNOTS6 = [0, 0, 0, 1, 2, 3, 3, 3]        # n + p - 1 = 8 knots for 6 points of degree 3
KNOTS6_Q = [0, 0, 1, 2, 3, 4, 4]         # 7 knots for 6 points of degree 2
WEIGHTS6 = [1, 2, 0.5, 1, 1.5, 1]
PARAMS = [0, 0.25, 0.5, 0.75, 1]
CUBIC = [(0, 0, 0), (1, 3, 0), (3, 3, 1), (4, 0, 0)]

# The three lists a NURB record of six points borrows: points in 0, knots in 3, weights in 4.
NURB_LISTS = points(0, SIX) + reals(3, KNOTS6) + reals(4, WEIGHTS6)
# A rational Bezier cubic: points in 1, sample parameters in 5, weights in 4.
RATBEZ_LISTS = points(1, CUBIC) + reals(5, PARAMS) + reals(4, [1, 2, 2, 1])

SEEDS = [
    # 00 uniform B-spline, tessellated and evaluated, released
    points(0, HEPTAGON) + uniform(0, 1, pool(0)) + mk_uniform(0, 0.25) + eval_uniform(0, 1, 0.5) + release(0),
    # 01 uniform Bezier split, both pieces tessellated and split again
    points(0, HEPTAGON) + uniform(0, 0, pool(0)) + mk_uniform(0, 0.125) + split(0, 1, 2, False, 0.5)
    + mk_uniform(1, 0.25) + split(2, 3, 1, False, 0.25) + eval_uniform(3, 0, 0.75),
    # 02 Catmull-Rom
    points(0, HEPTAGON) + uniform(1, 2, pool(0)) + mk_uniform(1, 0.0625) + eval_uniform(1, 2, 1),
    # 03 beta-spline crossing a B-spline
    points(0, PLANAR) + points(1, ZIGZAG) + uniform(0, 3, pool(0), 1, 0) + uniform(1, 1, pool(1))
    + mk_uniform(0, 0.125) + mk_uniform(1, 0.125) + null_list(2) + intersect(0, 1, 2) + points(2, [])
    + intersect(0, 1, 2),
    # 04 non-uniform B-spline, tessellated, de Boor on each span
    points(0, SIX) + reals(3, KNOTS6) + nubspl(0, pool(0), pool(3), 3, 4) + mk_nubspl(0)
    + deboor(0, False, 0) + deboor(0, False, 2, 255),
    # 05 NURB tessellated, rational de Boor
    NURB_LISTS + rational(0, True, 0, 3, 4, 3, 4) + mk_nurb(0, 3, 4) + deboor(0, True, 1, 60),
    # 06 NURB converted exactly into rational Bezier segments, then intersected with itself
    NURB_LISTS + rational(0, True, 0, 3, 4, 3, 4) + mk_nurb(0, 3, 8) + convert(0, 1, True) + convert(0, 2, False)
    + intersect(0, 0, 2),
    # 07 non-uniform B-spline converted into Bezier points
    points(0, SIX) + reals(3, KNOTS6) + nubspl(0, pool(0), pool(3), 3, 2) + convert(0, 3, False) + mk_nubspl(0),
    # 08 rational Bezier tessellated and split, pieces tessellated by their own degree
    RATBEZ_LISTS + rational(0, False, 1, 5, 4, 3) + mk_ratbezier(0) + split(0, 1, 2, True, 0.5)
    + mk_ratbezier(1, 3) + split(0, 2, 3, True, 0.25),
    # 09 curve through points, computed parameters, evaluated
    points(0, HEPTAGON) + fit(0, 3, 3, 3, False, 1) + fit(0, 3, 3, 2, False, 2, 0, -1),
    # 10 curve through points, given parameters and knots
    points(0, CUBIC + [(5, 1, 0)]) + reals(3, PARAMS) + reals(4, [0, 0, 0, 0, 0.5, 1, 1, 1, 1])
    + fit(0, 3, 4, 3, True, 1, 200) + fit(0, 3, 4, 1, False, 0, 255),
    # 11 two tessellated curves crossing, into a list that is then a control polygon
    points(0, PLANAR) + points(1, ZIGZAG) + uniform(0, 1, pool(0)) + uniform(1, 2, pool(1))
    + mk_uniform(0, 0.0625) + mk_uniform(1, 0.0625) + points(2, []) + intersect(0, 1, 2) + intersect(0, 1, 2)
    + uniform(2, 0, pool(2)) + mk_uniform(2, 0.5),
    # 12 NURB steps with refused memory
    NURB_LISTS + rational(0, True, 0, 3, 4, 3, 4, budget=refused(1)) + rational(0, True, 0, 3, 4, 3, 4)
    + mk_nurb(0, 3, 4, budget=refused(3)) + mk_nurb(0, 3, 4, budget=refused(40)) + convert(0, 1, True, refused(2)),
    # 13 borrowed lists rebuilt while borrowed, records released before the lists
    NURB_LISTS + rational(0, True, 0, 3, 4, 3, 4) + rational(1, True, 0, 3, 4, 2, 2) + points(0, HEPTAGON)
    + reals(4, [1] * 7) + mk_nurb(1, 2, 3) + release(0) + rational(0, True, 0, 3, 4, 3, 4) + mk_nurb(0, 3, 2)
    + release(1),
    # 14 a tessellation's vertices taken over as the next control polygon
    points(0, HEPTAGON) + uniform(0, 1, pool(0)) + mk_uniform(0, 0.25) + uniform(1, 2, rec_list(0, True))
    + mk_uniform(1, 0.5) + uniform(2, 0, rec_list(1)) + mk_uniform(2, 0.5),
    # 15 a record redefined: NURB, then rational Bezier, then NURB again
    NURB_LISTS + points(1, CUBIC) + reals(5, PARAMS) + reals(4, WEIGHTS6) + rational(0, True, 0, 3, 4, 3)
    + mk_nurb(0, 3, 2) + reals(4, [1, 2, 2, 1]) + rational(0, False, 1, 5, 4, 3, fresh=False) + mk_ratbezier(0)
    + reals(4, WEIGHTS6) + rational(0, True, 0, 3, 4, 2, 3, fresh=False) + mk_nurb(0, 4, 3),
    # 16 NURB converted by the affine formulas, weights as a fourth coordinate
    NURB_LISTS + rational(0, True, 0, 3, 4, 3, 4) + convert(0, 1, False) + convert(0, 1, False) + mk_uniform(1, 0.5),
    # 17 split pieces released in the opposite order, the source last
    points(0, CUBIC) + uniform(0, 0, pool(0)) + split(0, 1, 2, False, 0.75) + release(2) + split(1, 3, 2, False, 0.5)
    + release(1) + release(3) + release(2) + release(0),
    # 18 quadratic non-uniform B-spline, de Boor across the spans
    points(0, SIX) + reals(3, KNOTS6_Q) + nubspl(1, pool(0), pool(3), 2, 3) + mk_nubspl(1) + deboor(1, False, 0, 0)
    + deboor(1, False, 3, 255) + deboor(1, True, 1),
    # 19 NURB tessellated over a sub-range of its control points
    NURB_LISTS + rational(2, True, 0, 3, 4, 3, 5) + mk_nurb(2, 1, 5, 2, 5) + mk_nurb(2, 2, 0, 1, 6),
    # 20 a curve against itself, counted only, then into a list
    points(0, ZIGZAG) + uniform(0, 1, pool(0)) + mk_uniform(0, 0.25) + null_list(1) + intersect(0, 0, 1)
    + points(1, []) + intersect(0, 0, 1),
    # 21 linear non-uniform B-spline over a sub-range, knots from a record's own list
    points(0, SIX) + reals(3, [0, 1, 2, 3, 4, 5]) + nubspl(0, pool(0), pool(3), 1, 2) + mk_nubspl(0, 2, 5)
    + points(0, SIX) + nubspl(1, pool(0), rec_list(0), 1, 2) + mk_nubspl(1),
    # 22 converted Bezier points taken over as a uniform Bezier polygon
    points(0, SIX) + reals(3, KNOTS6) + nubspl(0, pool(0), pool(3), 3, 2) + convert(0, 1, False)
    + uniform(2, 0, rec_list(1)) + mk_uniform(2, 0.25) + split(2, 3, 0, False, 0.5),
    # 23 a mixed program with refusals and fresh records
    NURB_LISTS + points(1, CUBIC) + reals(5, PARAMS) + create(3) + rational(3, True, 0, 3, 4, 3, 4, fresh=False)
    + mk_nurb(3, 3, 4) + reals(4, [1, 2, 2, 1]) + rational(1, False, 1, 5, 4, 3) + split(1, 2, 0, True, 0.5, refused(4))
    + mk_ratbezier(1, budget=refused(2)) + fit(0, 3, 3, 3, False, 2, budget=refused(1)) + convert(3, 2, True)
    + intersect(3, 2, 2) + release(3) + create(3, refused(0)) + uniform(3, 1, pool(0), budget=refused(0)) + release(1),
]

# Faults of the ownership rules, replayed by tests/reliability/program_regression_test.cpp.
FAULTS = {
    # A uniform split into a record that borrowed pool lists released those
    # lists under the caller.
    "fault-split-frees-borrowed": NURB_LISTS + rational(0, True, 0, 3, 4, 3, 4) + points(1, CUBIC)
    + uniform(1, 0, pool(1)) + split(1, 0, 2, False, 0.5),
    # A rational definition refused on a non-uniform record (type set, its own
    # lists kept), then one that succeeds: the record's own lists leaked.
    "fault-redefinition-leaks": points(0, SIX) + reals(3, KNOTS6) + nubspl(0, pool(0), pool(3), 3, 4)
    + points(1, SIX) + reals(4, KNOTS6) + reals(5, [1, 1]) + rational(0, True, 1, 4, 5, 3, fresh=False)
    + reals(5, [1] * 6) + rational(0, True, 1, 4, 5, 3, fresh=False),
}


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "program")
    os.makedirs(out, exist_ok=True)
    files = {f"seed{i:02d}": s for i, s in enumerate(SEEDS)}
    files.update(FAULTS)
    for name, program in files.items():
        assert all(0 <= b < 256 for b in program), name
        with open(os.path.join(out, name), "wb") as f:
            f.write(bytes(program))


if __name__ == "__main__":
    main()
