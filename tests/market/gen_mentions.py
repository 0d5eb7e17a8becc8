#!/usr/bin/env python3
"""Writes the expected market-mention expansions of news headlines: random texts of '@', digits,
spaces and commas, expanded by an implementation independent of ours. Run once; the data file is
committed and CI does not run Python.

    python3 tests/market/gen_mentions.py

Each case is one line: "<text>|<expanded>|<mentions replaced>". The names are those the test
gives: "M" and the code, empty for code 0.
"""
import os
import random

HERE = os.path.dirname(os.path.abspath(__file__))
LONG_MAX = 2**63 - 1


def name(code):
    return "" if code == 0 else "M%d" % code


def code_of(mention):
    digits = ""
    for ch in mention:
        if not ch.isdigit():
            break
        digits += ch
    return min(int(digits), LONG_MAX) if digits else 0


def expand(text):
    text = text.strip(" ")
    steps = 0
    start = 0
    while True:
        mark = text.find("@", start)
        if mark < 0:
            return text, steps
        end = mark + 1
        while end < len(text) and text[end] not in " ,":
            end += 1
        inserted = "(" + name(code_of(text[mark + 1:end])) + ")"
        text = text[:mark] + inserted + text[end:]
        start = mark + len(inserted)
        steps += 1


def main():
    rng = random.Random(20)
    cases = ["Results @1, today", "@", "@@", "a@12", "@ @,@", " @7 ", "@1@2 x", "@0,@00 @99999999999999999999999"]
    for _ in range(2000):
        length = rng.randint(0, 24)
        cases.append("".join(rng.choice("@@@0123456789 ,") for _ in range(length)))
    with open(os.path.join(HERE, "expected_mentions.txt"), "w") as out:
        for text in cases:
            expanded, steps = expand(text)
            out.write("%s|%s|%d\n" % (text, expanded, steps))


if __name__ == "__main__":
    main()
