#!/usr/bin/env python3
"""Writes every calendar day from 1 January 1900 to 31 December 2100 with its ISO weekday
(1 Monday .. 7 Sunday), one day a line in order, from Python's datetime: an implementation of
the calendar independent of ours. Consecutive lines are one day apart, so the tests read the
distance of any two days from their line numbers. Run once; the file is committed.

    python3 tests/charts/data/gen_dates.py
"""
import datetime
import os

HERE = os.path.dirname(os.path.abspath(__file__))

day = datetime.date(1900, 1, 1)
last = datetime.date(2100, 12, 31)
with open(os.path.join(HERE, "calendar_days.txt"), "w") as out:
    while day <= last:
        out.write("%04d%02d%02d %d\n" % (day.year, day.month, day.day, day.isoweekday()))
        day += datetime.timedelta(days=1)
