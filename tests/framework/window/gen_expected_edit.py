#!/usr/bin/env python3
"""Writes the expected display texts of the input field's number formatting.

Python's decimal module cuts each typed number to the field's fraction digits (the field cuts,
it never rounds), pads it and groups the whole part: an implementation independent of ours.
Run once; the data file is committed and CI does not run Python.

    python3 tests/framework/window/gen_expected_edit.py
"""
import os
import random
import sys
from decimal import ROUND_DOWN, Decimal

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "base"))
from gen_expected import group  # noqa: E402  (the same grouping as the base's known answers)

HERE = os.path.dirname(os.path.abspath(__file__))
rng = random.Random(20240612)  # fixed: the file does not change from run to run


def typed_number(thou, dec):
    """A text as a person types or pastes it: sign, leading zeros, maybe grouped, a fraction."""
    whole = "".join(rng.choice("0123456789") for _ in range(rng.randint(0, 12)))
    if rng.random() < 0.2:
        whole = "0" * rng.randint(1, 3) + whole
    frac = None
    if rng.random() < 0.6:
        frac = "".join(rng.choice("0123456789") for _ in range(rng.randint(0, 6)))
    if not whole and frac is None:
        whole = "0"
    neg = rng.random() < 0.3
    shown_whole = group(whole, thou) if whole and rng.random() < 0.3 else whole
    text = ("-" if neg else "") + shown_whole + ("" if frac is None else dec + frac)
    return text, neg, whole, frac


def expected(neg, whole, frac, places, grouping, thou, dec):
    value = Decimal(("-" if neg else "") + (whole or "0") + "." + (frac or "0"))
    cut = value.quantize(Decimal(1).scaleb(-places), rounding=ROUND_DOWN)
    text = format(cut, (",." if grouping else ".") + "%df" % places)
    # format() writes ',' and '.'; swap them to the field's separators.
    return text.replace(",", "\0").replace(".", dec).replace("\0", thou)


def main():
    lines = ["# gen_expected_edit.py: kind|decimals|grouping|thousands+decimal|typed text|shown text"]
    for _ in range(400):
        kind = rng.choice([2, 3])
        decimals = rng.choice([0, -1, -2, -4])
        grouping = rng.choice([0, 1])
        thou, dec = rng.choice([(",", "."), (".", ",")])
        text, neg, whole, frac = typed_number(thou, dec)
        shown = expected(neg, whole, frac, -decimals, grouping, thou, dec)
        lines.append("%d|%d|%d|%s%s|%s|%s" % (kind, decimals, grouping, thou, dec, text, shown))
    with open(os.path.join(HERE, "expected_edit_numbers.txt"), "w") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
