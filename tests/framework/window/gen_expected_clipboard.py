#!/usr/bin/env python3
"""Writes the text the grid's clipboard renders for its copy test.

The test copies three marked rows of a quotes table (rows S0010 and S0005, and the row whose
symbol was changed to 'A|B\\C') with the title line; Volume is hidden by the user (it stays in
the text) and Change is hidden for good (it leaves the text). Python's decimal module formats
the numbers and its csv module writes the tab-separated lines with CR LF between them, then
reads them back to check that a spreadsheet-like reader sees the same fields. Run once; the data
file is committed and CI does not run Python.

    python3 tests/framework/window/gen_expected_clipboard.py
"""
import csv
import io
import os
from decimal import Decimal

HERE = os.path.dirname(os.path.abspath(__file__))


def last(i):
    """100 + i/8 with at most three fraction digits, trailing zeros dropped."""
    text = format((Decimal(100) + Decimal(i) / 8).quantize(Decimal("0.001")), "f")
    return text.rstrip("0").rstrip(".") if "." in text else text


def volume(i):
    """i * 10 grouped by thousands; a copy writes a zero out although the grid shows it blank."""
    return format(i * 10, ",")


# (symbol, source row) in display order: the view is sorted by symbol, descending.
copied = [("S0010", 10), ("S0005", 5), ("A|B\\C", 6)]
rows = [["Symbol", "Last", "Volume"]] + [[sym, last(i), volume(i)] for sym, i in copied]

out = io.StringIO()
writer = csv.writer(out, delimiter="\t", lineterminator="\r\n", quoting=csv.QUOTE_NONE, escapechar=None)
writer.writerows(rows)
text = out.getvalue()[: -len("\r\n")]  # no line break after the last line
assert list(csv.reader(io.StringIO(text, newline=""), delimiter="\t", quoting=csv.QUOTE_NONE)) == rows

with open(os.path.join(HERE, "expected_clipboard_text.txt"), "wb") as f:
    f.write(text.encode("ascii"))
