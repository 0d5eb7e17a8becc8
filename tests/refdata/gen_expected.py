#!/usr/bin/env python3
"""Writes the expected values of the clock, date-field and rounding tests.

New York times come from zoneinfo's "America/New_York" (the system's tz database), Kuwait
times from a fixed UTC+3 zone, the summer-time switches from the instants at which New York's
UTC offset changes, date validity from datetime, and rounding from the decimal module on the
value as the double is written: an implementation independent of ours. Run once; the data file
is committed and CI does not run Python.

    python3 tests/refdata/gen_expected.py

Lines (seconds are since 1970, UTC):
    D|year|summer time starts|summer time ends
    N|instant|Kuwait HHMMSS|New York HHMMSS|1 when New York is on the previous day
    S|type|server field|terminal form            (ConvertServerDateField)
    T|type|terminal form|server field            (ConvertDisplayDateField)
    P|type|server field|y|m|d|h|m|s or INVALID   (ParseServerDateField)
    R|mode|value|decimals|expected               (RoundByMode)
"""
import datetime
import os
import random
from decimal import ROUND_CEILING, ROUND_FLOOR, Decimal
from zoneinfo import ZoneInfo

HERE = os.path.dirname(os.path.abspath(__file__))
rng = random.Random(20261207)  # fixed: the file does not change from run to run
NEW_YORK = ZoneInfo("America/New_York")
KUWAIT = datetime.timezone(datetime.timedelta(hours=3))
UTC = datetime.timezone.utc
FIRST_YEAR, LAST_YEAR = 2007, 2037


def offset_at(instant):
    return datetime.datetime.fromtimestamp(instant, UTC).astimezone(NEW_YORK).utcoffset()


def switch_in(year, month):
    """The instant in the month at which New York's UTC offset changes (on a whole hour)."""
    start = int(datetime.datetime(year, month, 1, tzinfo=UTC).timestamp())
    before = offset_at(start)
    for hour in range(1, 31 * 24):
        instant = start + hour * 3600
        if offset_at(instant) != before:
            return instant
    raise RuntimeError("no switch in %d-%02d" % (year, month))


def hhmmss(dt):
    return "%02d%02d%02d" % (dt.hour, dt.minute, dt.second)


def clock_line(instant):
    utc = datetime.datetime.fromtimestamp(instant, UTC)
    kuwait = utc.astimezone(KUWAIT)
    new_york = utc.astimezone(NEW_YORK)
    previous = 1 if new_york.date() < kuwait.date() else 0
    return "N|%d|%s|%s|%d" % (instant, hhmmss(kuwait), hhmmss(new_york), previous)


def clocks(out):
    for year in range(FIRST_YEAR, LAST_YEAR + 1):
        start, end = switch_in(year, 3), switch_in(year, 11)
        out.append("D|%d|%d|%d" % (year, start, end))
        # The hours around both switches, and the seconds at them.
        for switch in (start, end):
            for delta in list(range(-3 * 3600, 3 * 3600 + 1, 1800)) + [-1, 1]:
                out.append(clock_line(switch + delta))
        # The day before and the day after, hourly: a machine west or east of Kuwait passes
        # its own midnight there while the server's does not.
        for switch in (start, end):
            for delta in range(-36 * 3600, 36 * 3600, 3600):
                out.append(clock_line(switch + delta + 17 * 60))
        # Kuwait's evening and early morning, where New York's date differs.
        for _ in range(6):
            day = datetime.datetime(year, 1, 1, tzinfo=UTC) + datetime.timedelta(days=rng.randrange(365))
            out.append(clock_line(int(day.timestamp()) + rng.randrange(86400)))


def date_fields(out):
    for _ in range(300):
        year = rng.randrange(2000, 2100)
        month, day = rng.randrange(1, 13), rng.randrange(1, 29)
        hour, minute, second = rng.randrange(24), rng.randrange(60), rng.randrange(60)
        server_year = str(year - 2000)
        terminal = "%04d%02d%02d" % (year, month, day)
        out.append("S|24|%s%02d%02d|%s" % (server_year, month, day, terminal))
        out.append("T|24|%s|%s%02d%02d" % (terminal, server_year, month, day))
        stamp = "%02d%02d%02d%02d%02d" % (month, day, hour, minute, second)
        out.append("S|26|%s%s|%04d%s" % (server_year, stamp, year, stamp))
        out.append("T|26|%04d%s|%s%s" % (year, stamp, server_year, stamp))
        time_text = "%d%02d%02d" % (hour, minute, second)
        out.append("S|25|%s|%02d%02d%02d" % (time_text, hour, minute, second))
        out.append("T|25|%02d%02d%02d|%s" % (hour, minute, second, time_text))
    # Parsing, with days and months that may not exist.
    for _ in range(300):
        year = rng.randrange(2000, 2100)
        month, day = rng.randrange(0, 14), rng.randrange(0, 33)
        hour, minute, second = rng.randrange(0, 26), rng.randrange(0, 62), rng.randrange(0, 62)
        date_text = "%d%02d%02d" % (year - 2000, month, day)
        try:
            datetime.date(year, month, day)
            out.append("P|24|%s|%d|%d|%d|0|0|0" % (date_text, year, month, day))
        except ValueError:
            out.append("P|24|%s|INVALID" % date_text)
        time_text = "%d%02d%02d" % (hour, minute, second)
        try:
            datetime.time(hour, minute, second)
            out.append("P|25|%s|1899|12|30|%d|%d|%d" % (time_text, hour, minute, second))
        except ValueError:
            out.append("P|25|%s|INVALID" % time_text)
        stamp_text = date_text + "%02d%02d%02d" % (hour, minute, second)
        try:
            datetime.datetime(year, month, day, hour, minute, second)
            out.append("P|26|%s|%d|%d|%d|%d|%d|%d" % (stamp_text, year, month, day, hour, minute, second))
        except ValueError:
            out.append("P|26|%s|INVALID" % stamp_text)


def round_by_mode(mode, value, decimals):
    exact = Decimal(repr(value))
    unit = Decimal(1).scaleb(-decimals)
    if mode == 0:
        result = (exact + unit / 2).quantize(unit, rounding=ROUND_FLOOR)
    elif mode == 1:
        result = exact.quantize(unit, rounding=ROUND_CEILING)
    else:
        result = exact.quantize(unit, rounding=ROUND_FLOOR)
    return float(result)


def rounding(out):
    for _ in range(600):
        decimals = rng.randrange(0, 7)
        places = decimals + rng.randrange(0, 3)
        magnitude = rng.randrange(0, 10 ** rng.randrange(1, 10))
        value = float(Decimal(magnitude).scaleb(-places)) * rng.choice((1, -1))
        if rng.randrange(4) == 0:  # an exact half of the last kept place
            value = float((Decimal(magnitude) + Decimal("0.5")).scaleb(-decimals)) * rng.choice((1, -1))
        mode = rng.randrange(3)
        out.append("R|%d|%r|%d|%r" % (mode, value, decimals, round_by_mode(mode, value, decimals)))


def main():
    out = ["# gen_expected.py: clocks against zoneinfo America/New_York %d-%d, date fields against"
           " datetime, rounding against decimal" % (FIRST_YEAR, LAST_YEAR)]
    clocks(out)
    date_fields(out)
    rounding(out)
    with open(os.path.join(HERE, "expected_clocks.txt"), "w") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
