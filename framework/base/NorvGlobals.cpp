#include "framework/base/NorvGlobals.h"

CNorvGlobals::CNorvGlobals()
    : m_strDatePattern("Y/M/D"), m_strTimePattern("H:M:S")
{
}

BOOL CNorvGlobals::SetLanguage(int nLanguage)
{
    // The index picks one of two titles everywhere it is used.
    if (nLanguage != 0 && nLanguage != 1)
        return FALSE;
    int nOld = m_nLanguage;
    m_nLanguage = nLanguage;
    if (nLanguage != nOld)
        FireSlot1(nLanguage, NO_SENDER);
    return TRUE;
}

void CNorvGlobals::SetRightToLeft(BOOL bRightToLeft)
{
    bRightToLeft = bRightToLeft ? TRUE : FALSE;
    BOOL bOld = m_bRightToLeft;
    m_bRightToLeft = bRightToLeft;
    m_bMirrorColumns = bRightToLeft;
    if (bRightToLeft != bOld)
        FireSlot0(m_nLanguage, NO_SENDER);
}

CNorvGlobals& GetNorvGlobals()
{
    static CNorvGlobals s_globals;
    return s_globals;
}
