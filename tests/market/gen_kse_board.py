#!/usr/bin/env python3
"""Writes the expected figures of the KSE board, worked out here from the rules alone.

Board lines: last, previous, volume, value (thousands) give the change (0 without a last
price), the change per cent (0 without a last or previous price), the average price (value
over volume times 1000, to one decimal, rounded half up) and the ticker's texts "%.2f" and
"%.2f %+.2f" (the change against a previous price above 0). Holding lines: quantity, price
paid, last, previous, third price give cost, market value (at the first of last, previous,
third that is at least 0.01), gain and gain per cent (0 without a cost). Setting lines: a
price stored as whole hundredths, rounded half away from zero as C's llround does (not as
Python's round, which rounds half to even), and read back.
Run once; the data file is committed and CI does not run Python.

    python3 tests/market/gen_kse_board.py
"""
import math
import os
import random

HERE = os.path.dirname(os.path.abspath(__file__))
rng = random.Random(20261207)


def llround(x):
    return int(math.floor(x + 0.5)) if x >= 0 else -int(math.floor(-x + 0.5))


def price():
    return rng.choice([0.0, 0.0, round(rng.uniform(10, 2000), 1), float(rng.randint(1, 900))])


lines = []
fixed = [(0.0, 500.0, 0.0, 0.0), (12.5, 0.0, 10.0, 0.125), (510.0, 500.0, 40.0, 20.4), (290.0, 300.0, 3.0, 0.871),
         (100.0, 100.0, 7.0, 0.7)]
cases = fixed + [(price(), price(), float(rng.randint(0, 100000)), round(rng.uniform(0, 5000), 3)) for _ in range(40)]
for last, prev, volume, value in cases:
    change = last - prev if last > 0 else 0.0
    percent = change / prev * 100 if last > 0 and prev > 0 else 0.0
    average = int(value * 10000 / volume + 0.5) / 10 if volume > 0 else 0.0
    tick = last - prev if prev > 0 else 0.0
    lines.append("Q|%r|%r|%r|%r|%r|%r|%r|%s|%s" % (last, prev, volume, value, change, percent, average,
                                                   "%.2f" % last, "%.2f %+.2f" % (last, tick)))

holdings = [(0.0, 5.0, 10.0, 0.0, 0.0), (100.0, 1.15, 1.2, 0.0, 0.0), (50.0, 2.0, 0.0, 0.005, 1.5)]
holdings += [(float(rng.randint(0, 5000)), round(rng.uniform(0, 3), 3), price(), price(), price()) for _ in range(20)]
for qty, paid, last, prev, third in holdings:
    market = last if last >= 0.01 else prev if prev >= 0.01 else third
    cost = paid * qty
    value = market * qty
    gain = value - cost if cost != 0 else 0.0
    gain_percent = gain / cost * 100 if cost != 0 else 0.0
    lines.append("H|%r|%r|%r|%r|%r|%r|%r|%r|%r" % (qty, paid, last, prev, third, cost, value, gain, gain_percent))

for p in [0.29, 1.15, 12.345, 1234.56, 0.005, 2.675] + [round(rng.uniform(0, 100), 3) for _ in range(10)]:
    stored = llround(p * 100)
    lines.append("S|%r|%d|%r" % (p, stored, stored / 100))

with open(os.path.join(HERE, "expected_kse_board.txt"), "w") as out:
    out.write("\n".join(lines) + "\n")
