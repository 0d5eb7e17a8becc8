#!/usr/bin/env python3
"""Writes the expected tick-size bands of "TU" lines, computed with Python's decimal module from
the rules of the bands (an implementation independent of ours). Run once; the data file is
committed and CI does not run Python.

    python3 tests/market/gen_tick_bands.py

Each case is one line: "T|<the line's fields joined by ';'>|<bands joined by ','>", a band
written "number:high:low:width:tick in hundredths:from:width as read".
"""
import os
from decimal import ROUND_HALF_UP, Decimal

HERE = os.path.dirname(os.path.abspath(__file__))
CAP = 100000
MAX_BANDS = 10


def as_long(text):
    """A field as the server's whole number: leading digits, 0 when none."""
    digits = ""
    for i, ch in enumerate(text):
        if ch.isdigit() or (i == 0 and ch in "+-"):
            digits += ch
        else:
            break
    try:
        return int(digits)
    except ValueError:
        return 0


def bands(fields):
    out = []
    previous = 0
    k = 0
    while k < len(fields) and len(out) < MAX_BANDS:
        part = fields[k:k + 3] + ["", "", ""]
        a, b = as_long(part[0]), as_long(part[1])
        t = Decimal(part[2]) if part[2] else Decimal(0)
        if a == 0:
            low = 0
        elif a < CAP or b == 0:
            low = a
        elif CAP % b == 0:
            low = CAP - b
        else:
            low = CAP - CAP % b
        high, width = (0, 0) if b == 0 else (low + b, b)
        tick = int((t * 100).quantize(Decimal(1), rounding=ROUND_HALF_UP))
        if a != 0:
            previous = a
        if tick != 0:
            out.append((len(out), high, low, width, tick, previous + 1, b))
        k += 3
    return out


CASES = [
    # The simulator's KSE bands, from and width in fils.
    "0|100|0.1|100|150|0.5|250|250|1|500|500|2|1000|99000|5",
    # Ticks that a truncation would spoil.
    "0|100|0.29|100|200|1.15|300|400|0.57",
    # A zero tick makes no band and takes no number; its start still counts for the next from.
    "0|100|0.1|100|100|0|200|300|1|500|0|2",
    # From the cap on: aligned to the width, a width that divides the cap, and none at all.
    "100000|300|5|120000|500|10|150000|0|20",
    # Eleven bands: ten are kept.
    "|".join("%d|10|1" % (n * 10) for n in range(11)),
    # A last triple cut short reads its missing fields as 0.
    "0|100|0.1|100|50",
    "0|100|0.1|100",
]


def main():
    lines = []
    for case in CASES:
        fields = case.split("|")
        text = ",".join(":".join(str(v) for v in band) for band in bands(fields))
        lines.append("T|%s|%s" % (";".join(fields), text))
    with open(os.path.join(HERE, "data", "tick_bands.txt"), "w") as f:
        f.write("# Written by gen_tick_bands.py: a \"TU\" line's fields and the bands it makes.\n")
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
