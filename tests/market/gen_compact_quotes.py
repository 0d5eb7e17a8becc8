#!/usr/bin/env python3
"""Writes the expected expansions of compact quotation lines.

An encoder written from the wire format alone, not from the terminal's decoder: a quote's
fields become symbols of "0123456789|. #", three symbols go into two characters of the packed
alphabet (A-Z, a-z, 0-9, ','), and the last triple is padded with symbols 14 or 15. Some lines
carry padding in the middle or a character outside the alphabet, which drops the whole line.
Run once; the data file is committed and CI does not run Python.

    python3 tests/market/gen_compact_quotes.py
"""
import os
import random

HERE = os.path.dirname(os.path.abspath(__file__))
rng = random.Random(20261207)  # fixed: the file does not change from run to run

SYMBOLS = "0123456789|. #"
ALPHABET = {}
for i, ch in enumerate("ABCDEFGHIJKLMNOPQRSTUVWXYZ"):
    ALPHABET[i] = ch
for i, ch in enumerate("abcdefghijklmnopqrstuvwxyz"):
    ALPHABET[26 + i] = ch
for i, ch in enumerate("0123456789"):
    ALPHABET[52 + i] = ch
ALPHABET[63] = ","


def pack_triple(s0, s1, s2):
    """Three symbols (0..15) as two characters: 4 + 2 bits in the first, 2 + 4 in the second."""
    high = (s0 << 2) | (s1 >> 2)
    low = ((s1 & 3) << 4) | s2
    assert high in ALPHABET and low in ALPHABET, (s0, s1, s2)
    return ALPHABET[high] + ALPHABET[low]


PAD = None  # a padding place, filled with 14 or 15, whichever the alphabet can carry there


def packable(s0, s1, s2):
    return ((s0 << 2) | (s1 >> 2)) in ALPHABET and (((s1 & 3) << 4) | s2) in ALPHABET


def pack(symbols):
    symbols = list(symbols)
    while len(symbols) % 3:
        symbols.append(PAD)
    out = []
    for i in range(0, len(symbols), 3):
        triple = symbols[i:i + 3]
        choices = [[s] if s is not None else rng.sample((14, 15), 2) for s in triple]
        fits = [(a, b, c) for a in choices[0] for b in choices[1] for c in choices[2] if packable(a, b, c)]
        out.append(pack_triple(*fits[0]))
    return "".join(out)


def quote_fields():
    """The fields after the ticker of a plausible quote: result, kind, prices, times, sizes."""
    def price():
        return "%d.%02d" % (rng.randint(0, 900), rng.randint(0, 99))
    fields = ["0", rng.choice(["1", "2", "0"]), price(), price(), price(),
              "%06d" % rng.randint(0, 235959), str(rng.randint(0, 900)), str(rng.randint(0, 900)),
              rng.choice([str(rng.randint(0, 99999)), "%d#%d" % (rng.randint(0, 99999), rng.randint(0, 999))])]
    fields += [price() for _ in range(rng.randint(0, 8))]
    if rng.random() < 0.2:
        fields.append(" ")
    return "|".join(fields)


def to_symbols(text):
    return [SYMBOLS.index(ch) for ch in text]


def main():
    cases = []
    for n in range(60):
        market = rng.choice((4, 8, 16, 2048))
        ticker = "".join(rng.choice("ABCDEFGHIJKLMNOPQRSTUVWXYZ") for _ in range(rng.randint(1, 5)))
        text = quote_fields() if n else ""
        syms = to_symbols(text)
        if n % 7 == 3:
            # Padding symbols inside the line add nothing where they stand.
            at = rng.randint(0, len(syms))
            syms[at:at] = [PAD]
        packed = pack(syms)
        expected = "~GS|1|XC|%d|%s|%s" % (market, ticker, text)
        if n % 11 == 5:
            # A character outside the alphabet anywhere in the packed field drops the line.
            at = rng.randint(0, len(packed) - 1)
            packed = packed[:at] + rng.choice("+-/!*") + packed[at + 1:]
            expected = "DROP"
        cases.append("%d\t%s\t%s\t%s" % (market, ticker, packed, expected))
    with open(os.path.join(HERE, "expected_compact_quotes.txt"), "w") as f:
        f.write("# market\tticker\tpacked field\texpanded line, or DROP (gen_compact_quotes.py)\n")
        f.write("\n".join(cases) + "\n")


if __name__ == "__main__":
    main()
