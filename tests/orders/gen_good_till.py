#!/usr/bin/env python3
"""Writes expected_good_till.txt: the order ticket's good-till rules computed with datetime.

days: days typed into the ticket become 1..90 and the date follows from today.
pick: a picked date becomes tomorrow .. today + 90 and the days follow.
weekdays, fridays: the same on the tickets that keep the date off Saturdays and Sundays: typed
days step back off a weekend (and forward again when that leaves less than a day); a picked date
steps back to its Friday, and one before tomorrow becomes tomorrow stepped forward to a weekday."""
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
def weekend(d):
    return d.weekday() >= 5

ONE = datetime.timedelta(days=1)
# A Tuesday, a Friday, a Saturday and a Sunday.
for today in [datetime.date(2026, 12, 8), datetime.date(2026, 12, 11), datetime.date(2026, 12, 12),
              datetime.date(2026, 12, 13)]:
    for typed in [0, 1, 2, 3, 4, 88, 90, 95, 120]:
        days = min(max(typed, 1), 90)
        date = today + datetime.timedelta(days=days)
        while weekend(date):
            date -= ONE
            days -= 1
        if days < 1:
            date += ONE
            days += 1
            while weekend(date):
                date += ONE
                days += 1
        lines.append("weekdays|%s|%d|%d|%s" % (fmt(today), typed, days, fmt(date)))
    for offset in [-3, 0, 1, 2, 3, 4, 45, 88, 89, 90, 92, 95]:
        picked = today + datetime.timedelta(days=offset)
        date = min(picked, today + datetime.timedelta(days=90))
        while weekend(date):
            date -= ONE
        if date < today + ONE:
            date = today + ONE
            while weekend(date):
                date += ONE
        lines.append("fridays|%s|%s|%d|%s" % (fmt(today), fmt(picked), (date - today).days, fmt(date)))
with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "expected_good_till.txt"), "w") as out:
    out.write("\n".join(lines) + "\n")
