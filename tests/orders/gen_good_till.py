#!/usr/bin/env python3
"""Writes expected_good_till.txt: the order ticket's good-till rules computed with datetime.

days: days typed into the ticket become 1..90 and the date follows from today.
pick: a picked date becomes tomorrow .. today + 90 and the days follow."""
import datetime
import os

TODAYS = [datetime.date(2026, 12, 8), datetime.date(2028, 2, 20)]
TYPED = [0, 1, 90, 95, 120]
PICKED = [-3, 0, 1, 45, 90, 92, 95]

def fmt(d):
    return d.strftime("%d/%m/%Y")

lines = ["# kind|today|typed days or picked date|days shown|good-till date shown"]
for today in TODAYS:
    for typed in TYPED:
        days = min(max(typed, 1), 90)
        lines.append("days|%s|%d|%d|%s" % (fmt(today), typed, days, fmt(today + datetime.timedelta(days=days))))
    for offset in PICKED:
        picked = today + datetime.timedelta(days=offset)
        shown = min(max(picked, today + datetime.timedelta(days=1)), today + datetime.timedelta(days=90))
        lines.append("pick|%s|%s|%d|%s" % (fmt(today), fmt(picked), (shown - today).days, fmt(shown)))
with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "expected_good_till.txt"), "w") as out:
    out.write("\n".join(lines) + "\n")
