#!/usr/bin/env python3
"""Writes the calendar slots of historical chart series, from Python's datetime: for each reply
kind ("CD": weeks from Monday, weekend Saturday and Sunday; "KH": weeks from Sunday, weekend
Friday and Saturday) and period (2 daily, 3 weekly, 4 monthly) a run of trading dates with a
duplicate, a weekend date and a date out of order put in, the start date and every point's slot.

A slot is the point's day, week or month counted from the start: the earliest date, moved back to
its week's first day (daily and weekly) or to the first of its month and on past the weekend
(monthly). For the run without the inserted dates the script checks that this equals a walk along
the calendar one step at a time, which is how the slots were first defined.

    python3 tests/charts/data/gen_slots.py
"""
import datetime
import os
import random

HERE = os.path.dirname(os.path.abspath(__file__))
rng = random.Random(20261208)  # fixed: the file does not change from run to run
ONE = datetime.timedelta(days=1)
KINDS = {"CD": (1, (6, 7)), "KH": (7, (5, 6))}  # ISO weekday of a week's first day; weekend days


def first_of_next_month(d):
    return datetime.date(d.year + (d.month == 12), d.month % 12 + 1, 1)


def past_weekend(d, weekend):
    while d.isoweekday() in weekend:
        d += ONE
    return d


def start_of(dates, period, week_start, weekend):
    d = min(dates)
    if period == 4:
        return past_weekend(d.replace(day=1), weekend)
    while d.isoweekday() != week_start:
        d -= ONE
    return d


def slots(dates, period, start):
    out = []
    for d in dates:
        if period == 2:
            out.append((d - start).days)
        elif period == 3:
            out.append((d - start).days // 7)
        else:
            out.append((d.year * 12 + d.month) - (start.year * 12 + start.month))
    return out


def walk(dates, period, start, weekend):
    """The calendar walk: a counter steps along days, weeks or months and gives it to each point
    that falls in its step."""
    d, i, out, k = start, 0, [], 0
    while k < len(dates):
        if d > dates[k]:
            raise AssertionError("walk stopped")
        nxt = d + ONE if period == 2 else d + 7 * ONE if period == 3 else past_weekend(first_of_next_month(d), weekend)
        end = nxt if period != 4 else first_of_next_month(d)
        if d <= dates[k] < end:
            out.append(i)
            k += 1
        d = nxt
        i += 1
    return out


def trading_run(period, weekend, count):
    d = datetime.date(rng.randint(2001, 2029), rng.randint(1, 12), rng.randint(1, 28))
    out = []
    while len(out) < count:
        d = past_weekend(d, weekend)
        out.append(d)
        if period == 2:
            d += ONE * rng.choice([1, 1, 1, 2])
        elif period == 3:
            d += ONE * (7 * rng.choice([1, 1, 2]) - d.isoweekday() % 7 + rng.randint(0, 1))
            d = max(d, out[-1] + ONE)
        else:
            d = first_of_next_month(d)
            if rng.random() < 0.2:
                d = first_of_next_month(d)
    return out


def server_date(d):
    return "%d%02d%02d" % (d.year - 2000, d.month, d.day)


with open(os.path.join(HERE, "expected_slots.txt"), "w") as out:
    out.write("# kind|period|start yyyymmdd|dates in the server's form, ','|slots, ','\n")
    for kind, (week_start, weekend) in KINDS.items():
        for period in (2, 3, 4):
            for _ in range(4):
                clean = trading_run(period, weekend, rng.randint(8, 40))
                start = start_of(clean, period, week_start, weekend)
                assert walk(clean, period, start, weekend) == slots(clean, period, start)
                dates = list(clean)
                dup = rng.randrange(len(dates))
                dates.insert(dup, dates[dup])
                at = rng.randrange(1, len(dates))
                weekend_day = dates[at - 1] + ONE
                while weekend_day.isoweekday() != weekend[1]:  # the day a week's count turns on
                    weekend_day += ONE
                dates.insert(at, weekend_day)
                late = rng.randrange(2, len(dates))
                dates.insert(late, dates[late - 2])
                start = start_of(dates, period, week_start, weekend)
                out.write("S|%s|%d|%s|%s|%s\n" % (kind, period, start.strftime("%Y%m%d"),
                                                   ",".join(server_date(d) for d in dates),
                                                   ",".join(str(s) for s in slots(dates, period, start))))
