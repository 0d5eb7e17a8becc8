#!/usr/bin/env python3
"""Writes the expected minutes to the next KSE session, worked out with datetime.

Each line: seven schedule times, the time now (all hhmmss) and the whole minutes from now to
the next session: the first of the schedule times 1, 2, 3, 5, 6, 7 (the fourth opens none)
that is later than now, else the first one tomorrow.
Run once; the data file is committed and CI does not run Python.

    python3 tests/market/dialogs/gen_kse_minutes.py
"""
import datetime
import os
import random

HERE = os.path.dirname(os.path.abspath(__file__))
DAY = datetime.date(2026, 12, 7)


def at(t):
    return datetime.datetime.combine(DAY, t)


def minutes(times, now):
    sessions = [times[i] for i in (0, 1, 2, 4, 5, 6)]
    later = [t for t in sessions if now < t]
    nxt = at(later[0]) if later else at(sessions[0])
    if nxt <= at(now):
        nxt += datetime.timedelta(days=1)
    return int((nxt - at(now)).total_seconds()) // 60


def rand_time(rng):
    return datetime.time(rng.randrange(24), rng.randrange(60), rng.randrange(60))


def hhmmss(t):
    return t.strftime("%H%M%S")


def main():
    rng = random.Random(20)
    lines = []
    usual = [datetime.time(*x) for x in ((9, 0, 0), (9, 30, 0), (10, 0, 0), (11, 0, 0), (12, 0, 0),
                                         (12, 30, 0), (13, 0, 0))]
    nows = [datetime.time(23, 50, 0), datetime.time(9, 0, 0), datetime.time(8, 59, 1),
            datetime.time(10, 30, 0), datetime.time(0, 0, 0), datetime.time(13, 0, 0),
            datetime.time(12, 59, 59), datetime.time(23, 59, 59)]
    cases = [(usual, now) for now in nows]
    for _ in range(200):
        times = sorted(rand_time(rng) for _ in range(7))
        if rng.random() < 0.2:                     # the server's order need not be sorted
            rng.shuffle(times)
        now = rng.choice(times) if rng.random() < 0.15 else rand_time(rng)
        cases.append((times, now))
    for times, now in cases:
        lines.append(" ".join(hhmmss(t) for t in times) + " " + hhmmss(now) + " " + str(minutes(times, now)))
    with open(os.path.join(HERE, "expected_kse_minutes.txt"), "w") as out:
        out.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
