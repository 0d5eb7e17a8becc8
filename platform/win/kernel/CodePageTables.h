#pragma once
// The per-page tables behind CodePage.h and the collation; private to platform/win/kernel.
#include "platform/win/WinTypes.h"

// Character class bits of the flag tables.
enum : BYTE { TB_CT_ALPHA = 1, TB_CT_UPPER = 2, TB_CT_LOWER = 4, TB_CT_DIGIT = 8, TB_CT_SPACE = 16 };

// How a byte takes part in the word sort.
enum : BYTE {
    TB_COLL_NORMAL = 0,     // one or two weighted elements (a ligature expands to two letters)
    TB_COLL_IGNORE = 1,     // controls, soft hyphen, tatweel, joiners, direction marks
    TB_COLL_SPECIAL = 2,    // hyphens and apostrophes: weighed only after everything else
    TB_COLL_MARK = 3        // Arabic vowel marks: add to the second level of the letter before
};

struct TbCollationElement {
    BYTE kind;
    WORD primary;           // symbols < digits < Latin letters < Arabic letters
    BYTE secondary;         // diacritic; the weight itself for specials and marks
    BYTE tertiary;          // 1 for an upper-case letter
    WORD primary2;          // second element of an expansion, 0 when none
    BYTE secondary2;
};

struct TbPageTables {
    UINT uCodePage;
    const WORD* toUnicode;
    const BYTE* flags;
    const BYTE* upper;
    const BYTE* lower;
    const TbCollationElement* collation;
};

// CP_ACP resolves to the active page; null for a page we have no tables for.
const TbPageTables* TbFindPageTables(UINT uCodePage);
