// lstrcmpA and lstrcmpiA: the word sort of the active page. Texts are compared first by their
// letters, digits and symbols alone, then by their diacritics, then by case (lower first), and
// only then by the hyphens and apostrophes they hold, so "coop" and "co-op" sort together.
#include <cstring>

#include "platform/win/kernel/CodePage.h"
#include "platform/win/kernel/CodePageTables.h"

namespace {
struct CElement {
    WORD wPrimary;
    UINT uSecondary;
    BYTE bTertiary;
};

// Walks the weighted elements of one text for the first three levels.
class CCollationCursor
{
public:
    CCollationCursor(const TbCollationElement* pTable, const BYTE* psz) : m_pTable(pTable), m_p(psz) {}

    // FALSE at the end of the text.
    BOOL Next(CElement& e)
    {
        if (m_bPending) {
            e = m_pending;
            m_bPending = FALSE;
            return TRUE;
        }
        for (;;) {
            const BYTE b = *m_p;
            if (!b)
                return FALSE;
            ++m_p;
            const TbCollationElement& c = m_pTable[b];
            // Ignorables and specials carry no weight here; a vowel mark with no letter before it is dropped.
            if (c.kind != TB_COLL_NORMAL)
                continue;
            if (c.primary2) {
                e = {c.primary, c.secondary, c.tertiary};
                m_pending = {c.primary2, TakeMarks(c.secondary2), c.tertiary};
                m_bPending = TRUE;
            } else {
                e = {c.primary, TakeMarks(c.secondary), c.tertiary};
            }
            return TRUE;
        }
    }

private:
    // Vowel marks that follow a letter, across tatweel and joiners, weigh on that letter's
    // second level in their order.
    UINT TakeMarks(UINT uSecondary)
    {
        for (const BYTE* p = m_p; *p; ++p) {
            const TbCollationElement& c = m_pTable[*p];
            if (c.kind == TB_COLL_MARK) {
                if (uSecondary < (1u << 26))            // five marks deep is plenty; keep it from overflowing
                    uSecondary = uSecondary * 32 + c.secondary;
                m_p = p + 1;
            } else if (c.kind != TB_COLL_IGNORE) {
                break;
            }
        }
        return uSecondary;
    }

    const TbCollationElement* m_pTable;
    const BYTE* m_p;
    CElement m_pending = {0, 0, 0};
    BOOL m_bPending = FALSE;
};

// Walks the hyphens and apostrophes of one text: their weight and how many elements precede them.
class CSpecialCursor
{
public:
    CSpecialCursor(const TbCollationElement* pTable, const BYTE* psz) : m_pTable(pTable), m_p(psz) {}

    BOOL Next(int& nPosition, BYTE& bWeight)
    {
        for (; *m_p; ++m_p) {
            const TbCollationElement& c = m_pTable[*m_p];
            if (c.kind == TB_COLL_NORMAL) {
                m_nElements += c.primary2 ? 2 : 1;
            } else if (c.kind == TB_COLL_SPECIAL) {
                nPosition = m_nElements;
                bWeight = c.secondary;
                ++m_p;
                return TRUE;
            }
        }
        return FALSE;
    }

private:
    const TbCollationElement* m_pTable;
    const BYTE* m_p;
    int m_nElements = 0;
};

int Sign(bool bLess)
{
    return bLess ? -1 : 1;
}

int CompareSpecials(const TbCollationElement* pTable, const BYTE* psz1, const BYTE* psz2)
{
    CSpecialCursor c1(pTable, psz1), c2(pTable, psz2);
    for (;;) {
        int nPos1 = 0, nPos2 = 0;
        BYTE b1 = 0, b2 = 0;
        const BOOL bHas1 = c1.Next(nPos1, b1);
        const BOOL bHas2 = c2.Next(nPos2, b2);
        if (!bHas1 || !bHas2)
            return bHas1 == bHas2 ? 0 : Sign(!bHas1);
        if (nPos1 != nPos2)
            return Sign(nPos1 < nPos2);
        if (b1 != b2)
            return Sign(b1 < b2);
    }
}

int Collate(LPCSTR psz1, LPCSTR psz2, BOOL bIgnoreCase)
{
    // A null text sorts before any other, the empty one included.
    if (!psz1 || !psz2)
        return psz1 == psz2 ? 0 : Sign(!psz1);
    if (std::strcmp(psz1, psz2) == 0)
        return 0;
    const TbCollationElement* pTable = TbFindPageTables(CP_ACP)->collation;
    const BYTE* p1 = reinterpret_cast<const BYTE*>(psz1);
    const BYTE* p2 = reinterpret_cast<const BYTE*>(psz2);
    CCollationCursor c1(pTable, p1), c2(pTable, p2);
    int nSecond = 0, nThird = 0;    // the first difference on each later level, left to right
    for (;;) {
        CElement e1, e2;
        const BOOL bHas1 = c1.Next(e1);
        const BOOL bHas2 = c2.Next(e2);
        if (!bHas1 || !bHas2) {
            if (bHas1 != bHas2)
                return Sign(!bHas1);    // a text that is the start of the other comes first
            break;
        }
        if (e1.wPrimary != e2.wPrimary)
            return Sign(e1.wPrimary < e2.wPrimary);
        if (!nSecond && e1.uSecondary != e2.uSecondary)
            nSecond = Sign(e1.uSecondary < e2.uSecondary);
        if (!nThird && e1.bTertiary != e2.bTertiary)
            nThird = Sign(e1.bTertiary < e2.bTertiary);
    }
    if (nSecond)
        return nSecond;
    if (nThird && !bIgnoreCase)
        return nThird;
    return CompareSpecials(pTable, p1, p2);
}
}  // namespace

int lstrcmpA(LPCSTR psz1, LPCSTR psz2)
{
    return Collate(psz1, psz2, /*bIgnoreCase=*/FALSE);
}

int lstrcmpiA(LPCSTR psz1, LPCSTR psz2)
{
    return Collate(psz1, psz2, /*bIgnoreCase=*/TRUE);
}
