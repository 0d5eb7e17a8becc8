#!/usr/bin/env python3
"""Writes expected_conversions.txt: the local cash conversion worked with decimal.

Direction 1 turns the two-decimal currency into the three-decimal one: the amount times the rate,
rounded down to 3 places; direction 0 the other way: the amount over the rate, rounded down to 2
places. A rate of 0 converts to 0. The new balances are the balance less the amount and the
balance plus the result, each rounded half away from zero to its currency's places (a zero
without sign); the result shows with the field's 3 places."""
import decimal
import itertools
import os
from decimal import Decimal as D

decimal.getcontext().prec = 50
AMOUNTS = ["0", "0.001", "1", "1.15", "10", "100", "2.675", "999.999", "1234.567", "999999.999"]
RATES = ["0.29", "0.3", "0.25", "1", "0.0019", "0.3068", "3.2626", "0.1234567", "7", "0"]
BALANCES = [("0.00", "0.000"), ("1234.56", "999.999"), ("2000000.00", "1000000.000")]

def places(value, n, rounding):
    return value.quantize(D(1).scaleb(-n), rounding=rounding)

def text(value, n):
    value = places(value, n, decimal.ROUND_HALF_UP)
    return format(abs(value) if value == 0 else value, "f")   # no "-0.00"

lines = ["# c|direction|rate|amount|two-decimal balance|three-decimal balance|result|new two-decimal|new three-decimal"]
for i, (direction, rate, amount) in enumerate(itertools.product([1, 0], RATES, AMOUNTS)):
    balance2, balance3 = BALANCES[i % len(BALANCES)]
    a, r, b, c = D(amount), D(rate), D(balance2), D(balance3)
    if direction == 1:
        x = places(a * r, 3, decimal.ROUND_FLOOR) if r > 0 else D(0)
        new2, new3 = b - a, x + c
    else:
        x = places(a / r, 2, decimal.ROUND_FLOOR) if r > 0 else D(0)
        new2, new3 = x + b, c - a
    lines.append("c|%d|%s|%s|%s|%s|%s|%s|%s" % (direction, rate, amount, balance2, balance3, text(x, 3), text(new2, 2),
                                                 text(new3, 3)))
with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "expected_conversions.txt"), "w") as out:
    out.write("\n".join(lines) + "\n")
