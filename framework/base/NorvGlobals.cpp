#include "framework/base/NorvGlobals.h"

#include <algorithm>

#include "platform/win/gdi/Gdi.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/user/Paint.h"
#include "platform/win/user/SysMetrics.h"

#define ARABIC_CODE_PAGE 1256
#define RTL_MARK_1256 "\xFE"

CNorvGlobals::CNorvGlobals()
    : m_strDatePattern("Y/M/D"), m_strTimePattern("H:M:S"), m_crFrame1(GetSysColor(COLOR_BTNFACE)),
      m_crFrame2(RGB(255, 0, 0))
{
    m_frame.Create3D(1);
    m_frame1.CreateColored(m_crFrame1, 1);
    m_frame2.CreateColored(m_crFrame2, 1);
    m_hPalette = CreateHalftonePaletteIfNeeded();
}

CNorvGlobals::~CNorvGlobals()
{
    if (m_hPalette != nullptr)
        DeleteObject(m_hPalette);
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

void CNorvGlobals::SetFrameColor1(COLORREF crColor)
{
    COLORREF crOld = m_crFrame1;
    m_crFrame1 = crColor;
    m_frame1.CreateColored(crColor, 1);
    if (crColor != crOld)
        FireSlot2(crColor, NO_SENDER);
}

void CNorvGlobals::SetFrameColor2(COLORREF crColor)
{
    COLORREF crOld = m_crFrame2;
    m_crFrame2 = crColor;
    m_frame2.CreateColored(crColor, 1);
    if (crColor != crOld)
        FireSlot3(crColor, NO_SENDER);
}

void CNorvGlobals::RecreateFrames()
{
    m_frame.Create3D(1);
    if (m_frame1.IsCreated3D())
        m_frame1.Create3D(1);
    if (m_frame2.IsCreated3D())
        m_frame2.Create3D(1);
}

void CNorvGlobals::RealizePalette(HDC hdc)
{
    if (m_hPalette == nullptr || !(GetDeviceCaps(hdc, RASTERCAPS) & RC_PALETTE))
        return;
    SelectPalette(hdc, m_hPalette, FALSE);
    ::RealizePalette(hdc);
}

UINT CNorvGlobals::GetRtlReadingFlag() const
{
    return m_bRightToLeft ? DT_RTLREADING : 0;
}

LPCSTR CNorvGlobals::GetRtlMark() const
{
    return m_bRightToLeft && GetACP() == ARABIC_CODE_PAGE ? RTL_MARK_1256 : "";
}

HPALETTE CreateHalftonePaletteIfNeeded()
{
    HDC hdc = GetDC(nullptr);
    if (hdc == nullptr)
        return nullptr;
    HPALETTE hPalette = nullptr;
    if (GetDeviceCaps(hdc, RASTERCAPS) & RC_PALETTE)
        hPalette = CreateHalftonePalette(hdc);
    ReleaseDC(nullptr, hdc);
    return hPalette;
}

CNorvGlobals& GetNorvGlobals()
{
    static CNorvGlobals s_globals;
    return s_globals;
}

std::string GroupedNumber(const std::string& strNumber)
{
    const size_t nStart = !strNumber.empty() && strNumber[0] == '-' ? 1 : 0;
    const size_t nEnd = std::min(strNumber.find('.', nStart), strNumber.size());
    const auto IsDigits = [&strNumber](size_t nFrom, size_t nTo) {
        return strNumber.find_first_not_of("0123456789", nFrom) >= nTo;
    };
    if (nEnd == nStart || !IsDigits(nStart, nEnd) || (nEnd < strNumber.size() && !IsDigits(nEnd + 1, strNumber.size())))
        return strNumber;
    std::string strOut = strNumber.substr(0, nStart);
    for (size_t i = nStart; i < nEnd; ++i) {
        strOut += strNumber[i];
        if (i + 1 < nEnd && (nEnd - i - 1) % 3 == 0)
            strOut += GetNorvGlobals().m_chThousands;
    }
    return strOut + strNumber.substr(nEnd);
}
