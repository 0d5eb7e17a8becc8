#!/usr/bin/env python3
"""Known answers for the option chain's filter: seeded series and filter cases, each with the
keys of the rows a plain list comprehension keeps. Writes expected_option_filter.txt.

Lines: "row|underlying|right|strike|expiry" (expiry YYYYMMDD), then
"case|strike_from|strike_to|right|expiry_from|expiry_to|keys" where right is 0 (both), 1, 2 or
9 (a text that names no right), dates YYYYMMDD or "-" for none, keys "underlying/right/strike/expiry"
joined by ',' in the table's sort order."""
import random

random.seed(19)
rows = set()
while len(rows) < 60:
    rows.add((random.choice(["ALPN", "BRIX", "CYGN"]), random.choice([1, 2]),
              random.choice([40.0, 42.5, 45.0, 47.5, 50.0, 55.0, 60.0]),
              random.choice(["20261218", "20270115", "20270219", "20270319"])))
rows = sorted(rows)

cases = [
    (0.0, 0.0, 0, "-", "-"),
    (45.0, 0.0, 0, "-", "-"),
    (0.0, 50.0, 1, "-", "-"),
    (42.5, 55.0, 2, "20270115", "20270319"),
    (0.0, 0.0, 0, "20270319", "20270115"),   # end not after start: no date filter
    (0.0, 0.0, 9, "-", "-"),                  # not a right: code 0, which no series has
    (47.5, 47.5, 1, "-", "-"),                # from inclusive, to exclusive: nothing
]


def keep(row, case):
    lo, hi, right, dfrom, dto = case
    _, r, strike, expiry = row
    if lo != 0.0 and not strike >= lo:
        return False
    if hi != 0.0 and not strike < hi:
        return False
    if dfrom != "-" and dto != "-" and dfrom < dto and not (dfrom <= expiry < dto):
        return False
    if right != 0 and r != (0 if right == 9 else right):
        return False
    return True


with open("expected_option_filter.txt", "w") as out:
    for u, r, s, e in rows:
        out.write(f"row|{u}|{r}|{s:.4f}|{e}\n")
    for case in cases:
        kept = [f"{u}/{r}/{s:.2f}/{e}" for (u, r, s, e) in rows if keep((u, r, s, e), case)]
        lo, hi, right, dfrom, dto = case
        out.write(f"case|{lo:.2f}|{hi:.2f}|{right}|{dfrom}|{dto}|{','.join(kept)}\n")
