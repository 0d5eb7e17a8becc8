#!/usr/bin/env python3
"""Writes the expected values of the number and date conversion tests.

Numbers come from Python's decimal module (exact scaling, ROUND_HALF_UP on the value as the
double is written), dates from datetime and calendar, durations from timedelta: an
implementation independent of ours. Run once; the data files are committed and CI does not
run Python.

    python3 tests/framework/base/gen_expected.py
"""
import calendar
import datetime
import os
import random
from decimal import ROUND_DOWN, ROUND_HALF_UP, Decimal, localcontext
from fractions import Fraction

HERE = os.path.dirname(os.path.abspath(__file__))
rng = random.Random(20240611)  # fixed: the files do not change from run to run


def group(digits, sep):
    """Thousands separator every three digits from the right."""
    out = []
    for i, ch in enumerate(reversed(digits)):
        if i and i % 3 == 0:
            out.append(sep)
        out.append(ch)
    return "".join(reversed(out))


def lay_out(neg, whole, tail, grouping, dec, thou):
    if grouping and whole:
        whole = group(whole, thou)
    return ("-" if neg else "") + whole + tail


def sixty_fourths(neg, count, grouping, dec, thou):
    whole, frac = divmod(count, 64)
    f = Fraction(frac, 64)
    tail = ""
    if frac:
        tail = ("" if whole == 0 else " ") + "%d/%d" % (f.numerator, f.denominator)
    whole_text = "" if whole == 0 and frac else str(whole)
    return lay_out(neg, whole_text, tail, grouping, dec, thou)


def format_integer(v, d, grouping, omit, minfrac, blank, dec, thou, bits):
    if v == -(1 << (bits - 1)):
        return None  # missing: '#' fill, tested apart
    if v == 0 and blank:
        return ""
    neg, mag = v < 0, abs(v)
    if d == -99:
        return sixty_fourths(neg, mag, grouping, dec, thou)
    if d >= 0:
        return lay_out(neg, str(mag * 10 ** d), "", grouping, dec, thou)
    k = -d
    exact = Decimal(mag).scaleb(d)  # exact fixed point
    whole, frac = divmod(mag, 10 ** k)
    frac_text = str(frac).rjust(k, "0")
    assert Decimal(str(whole) + "." + frac_text) == exact
    keep = k
    if frac == 0 and omit:
        keep = 0
    elif minfrac > 0:
        while keep > minfrac and frac_text[keep - 1] == "0":
            keep -= 1
    tail = (dec + frac_text[:keep]) if keep else ""
    return lay_out(neg, str(whole), tail, grouping, dec, thou)


def format_double(x, d, grouping, omit, minfrac, blank, dec, thou):
    if x == 0 and blank:
        return ""
    value = Decimal(repr(x))  # the double as it is written
    neg = value < 0
    mag = abs(value)
    if d == -99:
        count = int(mag.quantize(Decimal(1), rounding=ROUND_HALF_UP))
        return sixty_fourths(neg and count != 0, count, grouping, dec, thou)
    if d >= 0:
        whole = int(mag.to_integral_value(rounding=ROUND_DOWN))
        return lay_out(neg and whole != 0, str(whole * 10 ** d if whole else 0), "", grouping, dec, thou)
    k = -d
    with localcontext() as ctx:
        ctx.prec = 400
        q = mag.quantize(Decimal(1).scaleb(d), rounding=ROUND_HALF_UP)
    text = format(q, "f")
    whole, _, frac_text = text.partition(".")
    frac_text = frac_text.ljust(k, "0")
    keep = k
    low = min(minfrac, k)
    while keep > low and frac_text[keep - 1] == "0":
        keep -= 1
    tail = (dec + frac_text[:keep]) if keep else ""
    return lay_out(neg and q != 0, whole, tail, grouping, dec, thou)


def random_int(bits):
    kind = rng.random()
    top = (1 << (bits - 1)) - 1
    if kind < 0.2:
        v = rng.randint(-999, 999)
    elif kind < 0.5:
        v = rng.randint(-10 ** rng.randint(1, 9), 10 ** rng.randint(1, 9))
    elif kind < 0.9:
        v = rng.randint(-top, top)
    else:
        v = rng.choice([top, -top, 0, 1, -1, 64, 32, 63, -65])
    return v


def random_double():
    kind = rng.random()
    if kind < 0.3:
        # a few decimals, often exactly on a half of the last shown digit
        places = rng.randint(0, 6)
        return round(rng.uniform(-1e6, 1e6), places)
    if kind < 0.5:
        return float("%d.%d5" % (rng.randint(-9999, 9999), rng.randint(0, 999)))
    if kind < 0.7:
        return rng.uniform(-1, 1)
    if kind < 0.9:
        return rng.uniform(-1e15, 1e15)
    return rng.choice([0.5, 1.005, 2.675, 0.285, 1.999, -0.001, 1e21, 123456789.125, 0.1 + 0.2, -2.5])


DECIMALS = [-1, -2, -3, -4, -6, -7, -9, 0, 1, 2, 3, -99]


def number_lines():
    lines = []
    seps = [(".", ","), (",", ".")]
    for bits, tag in ((32, "I"), (64, "L")):
        for _ in range(700):
            v = random_int(bits)
            d = rng.choice(DECIMALS)
            grouping, omit, blank = rng.randint(0, 1), rng.randint(0, 1), rng.randint(0, 1)
            minfrac = rng.choice([0, 0, 1, 2, 4])
            dec, thou = rng.choice(seps)
            text = format_integer(v, d, grouping, omit, minfrac, blank, dec, thou, bits)
            if text is None:
                continue
            lines.append("%s|%d|%d|%d|%d|%d|%d|%s%s|%s" % (tag, v, d, grouping, omit, minfrac, blank, dec, thou, text))
    for _ in range(900):
        x = random_double()
        d = rng.choice(DECIMALS)
        grouping, omit, blank = rng.randint(0, 1), rng.randint(0, 1), rng.randint(0, 1)
        minfrac = rng.choice([0, 0, 1, 2, 4])
        dec, thou = rng.choice(seps)
        text = format_double(x, d, grouping, omit, minfrac, blank, dec, thou)
        lines.append("D|%r|%d|%d|%d|%d|%d|%s%s|%s" % (x, d, grouping, omit, minfrac, blank, dec, thou, text))
    # RoundHalfAwayFromZero: the rounded double, as Python writes it back
    for _ in range(300):
        x = random_double()
        n = rng.randint(0, 8)
        with localcontext() as ctx:
            ctx.prec = 400
            r = Decimal(repr(x)).quantize(Decimal(1).scaleb(-n), rounding=ROUND_HALF_UP)
        lines.append("R|%r|%d|%r" % (x, n, float(r)))
    # Reading typed text into an integer cell: the fraction beyond the decimal code is dropped,
    # a value outside the 32-bit range fails.
    for _ in range(400):
        d = rng.choice([-1, -2, -3, -4, 0, 1, 2, 3])
        whole = rng.randint(0, 10 ** rng.randint(0, 11))
        frac = "".join(rng.choice("0123456789") for _ in range(rng.randint(0, 6)))
        neg = rng.random() < 0.3
        grouped = rng.random() < 0.5
        text = ("-" if neg else "") + (group(str(whole), ",") if grouped else str(whole))
        if frac:
            text += "." + frac
        exact = Decimal(("-" if neg else "") + str(whole) + ("." + frac if frac else ""))
        if d <= 0:
            stored = int(exact.scaleb(-d).to_integral_value(rounding=ROUND_DOWN))
        else:
            # whole digits only, the last d of them dropped
            stored = int(whole // 10 ** d) * (-1 if neg else 1)
        ok = -(2 ** 31 - 1) <= stored <= 2 ** 31 - 1
        lines.append("P|%s|%d|%s" % (text, d, str(stored) if ok else "FAIL"))
    return lines


PATTERNS = ["D/M/Y", "Y/M/D", "d/m/y", "M-D-Y", "Y.M.D", "DMY"]


def py_format(pattern, y, m, d):
    out = []
    for ch in pattern:
        out.append({"D": "%02d" % d, "d": "%d" % d, "M": "%02d" % m, "m": "%d" % m,
                    "Y": "%04d" % y, "y": "%02d" % (y % 100)}.get(ch, ch))
    return "".join(out)


def date_lines():
    lines = []
    # Calendar validity and month lengths against the calendar module.
    for _ in range(600):
        y = rng.choice([rng.randint(1, 9999), rng.choice([1900, 2000, 2100, 2400, 1600, 2004, 2005])])
        m = rng.randint(0, 13)
        d = rng.randint(0, 32)
        if 1 <= m <= 12:
            dim = calendar.monthrange(y, m)[1]
            try:
                datetime.date(y, m, d)
                valid = 1
            except ValueError:
                valid = 0
        else:
            dim, valid = -1, 0
        lines.append("V|%d|%d|%d|%d|%d" % (y, m, d, valid, dim))
    # Formatting through patterns, from dates that datetime walks to.
    start = datetime.date(1900, 1, 1)
    for _ in range(300):
        day = start + datetime.timedelta(days=rng.randint(0, 8100 * 365))
        pattern = rng.choice(PATTERNS)
        lines.append("F|%s|%d|%d|%d|%s" % (pattern, day.year, day.month, day.day, py_format(pattern, day.year, day.month, day.day)))
    # Reading back: two-digit years below 71 are 2000s; invalid days fail.
    for _ in range(300):
        y = rng.randint(1971, 2070)
        m = rng.randint(1, 12)
        d = rng.randint(1, 31)
        two = rng.random() < 0.5
        sep = rng.choice("/.-")
        text = "%02d%s%02d%s%s" % (d, sep, m, sep, ("%02d" % (y % 100)) if two else ("%04d" % y))
        try:
            day = datetime.date(y, m, d)
            want = "%d|%d|%d" % (day.year, day.month, day.day)
        except ValueError:
            want = "FAIL"
        lines.append("P|D/M/Y|%s|%s" % (text, want))
    # Durations: sums and differences of non-negative times, signed, hours unbounded.
    for _ in range(200):
        a = [rng.randint(0, 40), rng.randint(0, 130), rng.randint(0, 200)]
        b = [rng.randint(0, 40), rng.randint(0, 130), rng.randint(0, 200)]
        op = rng.choice("+-")
        ta = datetime.timedelta(hours=a[0], minutes=a[1], seconds=a[2])
        tb = datetime.timedelta(hours=b[0], minutes=b[1], seconds=b[2])
        total = int(((ta + tb) if op == "+" else (ta - tb)).total_seconds())
        mag = abs(total)
        text = "%s%02d:%02d:%02d" % ("-" if total < 0 else "", mag // 3600, mag // 60 % 60, mag % 60)
        lines.append("T|%d|%d|%d|%s|%d|%d|%d|%s" % (a[0], a[1], a[2], op, b[0], b[1], b[2], text))
    return lines


def write(name, header, lines):
    with open(os.path.join(HERE, name), "w", encoding="ascii", newline="\n") as f:
        f.write(header)
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    write("expected_numbers.txt",
          "# gen_expected.py: I/L/D kind|value|decimals|grouping|omit|minfrac|blank|separators|text;"
          " R|x|n|rounded; P|typed|decimals|stored or FAIL\n",
          number_lines())
    write("expected_dates.txt",
          "# gen_expected.py: V|y|m|d|valid|days; F|pattern|y|m|d|text; P|pattern|text|y|m|d or FAIL;"
          " T|h|m|s|op|h|m|s|text\n",
          date_lines())
