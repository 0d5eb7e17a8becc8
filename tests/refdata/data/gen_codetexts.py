#!/usr/bin/env python3
"""Writes codetexts_1252.rc: every string id the code-table lists load, with the id itself as
its text, so that a test can tell which id a code's text came from. Run after a list changes."""
import os
import re

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", "..", ".."))
LISTS = ["refdata/CodeTableList.h", "refdata/NorvFormatList.h"]
EXTRA = [56100, 56101]          # the flag column's yes and no

ids = set(EXTRA)
for name in LISTS:
    path = os.path.join(ROOT, name)
    if not os.path.exists(path):
        continue
    for line in open(path, encoding="utf-8"):
        if line.lstrip().startswith("//"):
            continue
        # {code, id...} and the loan types' {code, index, id}; ids have five digits.
        ids.update(int(m) for m in re.findall(r"\{-?\d+, (\d{5})[,}]", line))
        ids.update(int(m) for m in re.findall(r"\{-?\d+, -?\d+, (\d{5})\}", line))

with open(os.path.join(HERE, "codetexts_1252.rc"), "w", encoding="utf-8") as out:
    out.write("// Written by gen_codetexts.py: every code-table string id with its own number as text.\n")
    out.write("STRINGTABLE\nBEGIN\n")
    for i in sorted(ids):
        out.write('    %d, "%d"\n' % (i, i))
    out.write("END\n")
