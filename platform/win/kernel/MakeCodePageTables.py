#!/usr/bin/env python3
# Writes CodePageTables.inc: the byte <-> Unicode tables of code pages 1252 and 1256, their
# character classes and case maps, and the collation elements of every byte. Run it again
# after changing an order below:  python3 MakeCodePageTables.py > CodePageTables.inc
import unicodedata

# Windows fills the five holes of 1252 with the C1 controls of the same value; so do we,
# so that every byte survives a trip through Unicode.
def page_chars(page):
    chars = []
    for b in range(256):
        try:
            chars.append(bytes([b]).decode('cp%d' % page))
        except UnicodeDecodeError:
            chars.append(chr(b))
    return chars

# Primary orders. Symbols come first, then digits, then Latin letters, then Arabic letters.
SYMBOLS = [
    '\t', '\n', '\v', '\f', '\r', ' ',
    '!', '\u00a1', '"', '\u201c', '\u201d', '\u201e', '#', '$', '%', '\u2030', '&', '(', ')',
    '*', ',', '\u201a', '\u060c', '.', '\u2026', '/', ':', ';', '\u061b', '?', '\u00bf',
    '\u061f', '@', '[', '\\', ']', '^', '\u02c6', '_', '`', '\u00b4', '\u02dc', '\u00a8',
    '\u00af', '\u00b8', '{', '|', '\u00a6', '}', '~', '\u2020', '\u2021', '\u2022', '\u00b7',
    '\u00a7', '\u00b6', '\u00a9', '\u00ae', '\u00b0', '\u2122', '+', '\u00b1', '<', '\u00ab',
    '\u2039', '=', '>', '\u00bb', '\u203a', '\u00d7', '\u00f7', '\u00ac', '\u00a2', '\u00a3',
    '\u00a4', '\u00a5', '\u20ac',
]
SYMBOL_VARIANTS = {'\u00a0': (' ', 1)}                       # no-break space: a space, second level
DIGITS = list('0123456789') + ['\u00bc', '\u00bd', '\u00be']
DIGIT_VARIANTS = {'\u00b9': ('1', 1), '\u00b2': ('2', 1), '\u00b3': ('3', 1)}
LATIN = list('abcdefghijklmnopqrstuvwxyz') + ['\u00fe', '\u00b5']
ARABIC = [
    '\u0621', '\u0622', '\u0623', '\u0624', '\u0625', '\u0626', '\u0627', '\u0628', '\u067e',
    '\u0629', '\u062a', '\u0679', '\u062b', '\u062c', '\u0686', '\u062d', '\u062e', '\u062f',
    '\u0688', '\u0630', '\u0631', '\u0691', '\u0632', '\u0698', '\u0633', '\u0634', '\u0635',
    '\u0636', '\u0637', '\u0638', '\u0639', '\u063a', '\u0641', '\u0642', '\u0643', '\u06a9',
    '\u06af', '\u0644', '\u0645', '\u0646', '\u06ba', '\u0647', '\u06be', '\u06c1', '\u0648',
    '\u0649', '\u064a', '\u06d2',
]
# Second-level weights of Latin diacritics, in the order a plain letter's variants sort.
DIACRITICS = {'\u0301': 1, '\u0300': 2, '\u0306': 3, '\u0302': 4, '\u030c': 5, '\u030a': 6,
              '\u0308': 7, '\u030b': 8, '\u0303': 9, '\u0307': 10, '\u0327': 12, '\u0328': 13,
              '\u0304': 14}
STROKE, HOOK, ORDINAL, LIGATURE = 11, 15, 16, 17
# Letters without a canonical decomposition: (base letters, second-level weight of the first).
LATIN_SPECIAL = {'\u00f0': ('d', STROKE), '\u00d0': ('D', STROKE), '\u00f8': ('o', STROKE),
                 '\u00d8': ('O', STROKE), '\u0192': ('f', HOOK), '\u00aa': ('a', ORDINAL),
                 '\u00ba': ('o', ORDINAL), '\u00e6': ('ae', LIGATURE), '\u00c6': ('AE', LIGATURE),
                 '\u0153': ('oe', LIGATURE), '\u0152': ('OE', LIGATURE), '\u00df': ('ss', LIGATURE)}
ARABIC_MARKS = {chr(0x064b + i): i + 1 for i in range(8)}    # tanween, harakat, shadda, sukun
# Hyphens and apostrophes: left out of the first three levels, compared last (word sort).
SPECIAL = {"'": 1, '\u2019': 2, '\u2018': 3, '-': 4, '\u2013': 5, '\u2014': 6}
IGNORABLE = {'\u00ad', '\u0640', '\u200c', '\u200d', '\u200e', '\u200f'}

KIND_NORMAL, KIND_IGNORE, KIND_SPECIAL, KIND_MARK = 0, 1, 2, 3
P_SYMBOL, P_DIGIT, P_LATIN, P_ARABIC = 0x0100, 0x0200, 0x0300, 0x0400

def primary_of(c):
    lc = c.lower()
    if c in SYMBOLS: return P_SYMBOL + SYMBOLS.index(c)
    if c in DIGITS: return P_DIGIT + DIGITS.index(c)
    if lc in LATIN: return P_LATIN + LATIN.index(lc)
    if c in ARABIC: return P_ARABIC + ARABIC.index(c)
    return None

def element(c):
    """(kind, p1, s1, t, p2, s2) for one character."""
    cp = ord(c)
    if c in SPECIAL: return (KIND_SPECIAL, 0, SPECIAL[c], 0, 0, 0)
    if c in ARABIC_MARKS: return (KIND_MARK, 0, ARABIC_MARKS[c], 0, 0, 0)
    if c in IGNORABLE or cp < 0x20 and c not in SYMBOLS or 0x7f <= cp < 0xa0:
        return (KIND_IGNORE, 0, 0, 0, 0, 0)
    upper = 1 if unicodedata.category(c) == 'Lu' else 0
    if c in SYMBOL_VARIANTS or c in DIGIT_VARIANTS:
        base, s = SYMBOL_VARIANTS.get(c) or DIGIT_VARIANTS[c]
        return (KIND_NORMAL, primary_of(base), s, 0, 0, 0)
    if c in LATIN_SPECIAL:
        bases, s = LATIN_SPECIAL[c]
        p2 = primary_of(bases[1]) if len(bases) > 1 else 0
        return (KIND_NORMAL, primary_of(bases[0]), s, upper, p2, 0)
    p = primary_of(c)
    if p is not None: return (KIND_NORMAL, p, 0, upper, 0, 0)
    d = unicodedata.decomposition(c).split()
    if len(d) == 2 and not d[0].startswith('<'):
        base, mark = chr(int(d[0], 16)), chr(int(d[1], 16))
        if base.lower() in LATIN and mark in DIACRITICS:
            return (KIND_NORMAL, primary_of(base), DIACRITICS[mark], upper, 0, 0)
    raise SystemExit('no collation element for U+%04X' % cp)

def char_flags(c):
    cat = unicodedata.category(c)
    f = 0
    if cat.startswith('L') and c != '\u02c6': f |= 1          # modifier circumflex is an accent
    if cat == 'Lu': f |= 2
    if cat == 'Ll': f |= 4
    if '0' <= c <= '9': f |= 8
    if c in ' \t\n\v\f\r': f |= 16
    return f

def case_map(chars, fn):
    out = []
    for b, c in enumerate(chars):
        m = fn(c)
        out.append(chars.index(m) if len(m) == 1 and m in chars else b)
    return out

def rows(values, fmt, per_line):
    items = [fmt % v for v in values]
    return '\n'.join('    ' + ', '.join(items[i:i + per_line]) + ',' for i in range(0, len(items), per_line))

print('// Generated by MakeCodePageTables.py: edit the script, not this file.')
for page in (1252, 1256):
    chars = page_chars(page)
    print('\nstatic const WORD s_toUnicode%d[256] = {\n%s\n};' % (page, rows([ord(c) for c in chars], '0x%04X', 8)))
    print('static const BYTE s_flags%d[256] = {\n%s\n};' % (page, rows([char_flags(c) for c in chars], '%d', 16)))
    print('static const BYTE s_upper%d[256] = {\n%s\n};' % (page, rows(case_map(chars, str.upper), '0x%02X', 16)))
    print('static const BYTE s_lower%d[256] = {\n%s\n};' % (page, rows(case_map(chars, str.lower), '0x%02X', 16)))
    elems = [element(c) for c in chars]
    print('static const TbCollationElement s_collation%d[256] = {' % page)
    for b in range(0, 256, 4):
        print('    ' + ' '.join('{%d, 0x%04X, %d, %d, 0x%04X, %d},' % e for e in elems[b:b + 4]))
    print('};')
