#include "framework/print/TPTableDlg.h"

#include <cstdio>

#include "framework/base/TB3DFrame.h"
#include "framework/base/TBApp.h"
#include "framework/print/PrinterInfo.h"
#include "framework/print/TablePrintSettings.h"
#include "platform/win/spool/WinSpool.h"
#include "platform/win/user/CommonDialogs.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/Dialogs.h"
#include "platform/win/user/SysMetrics.h"

namespace {
const PRINTCONTROL s_controls[] = {
    {.nId = IDC_TABLE_COLOR, .nKind = PCK_RADIO, .pField = &CTablePrintSettings::m_nColorMode, .nValue = PRINT_COLOR},
    {.nId = IDC_TABLE_GREY, .nKind = PCK_RADIO, .pField = &CTablePrintSettings::m_nColorMode, .nValue = PRINT_GREY},
    {.nId = IDC_TABLE_BLACKWHITE, .nKind = PCK_RADIO, .pField = &CTablePrintSettings::m_nColorMode,
     .nValue = PRINT_BLACKWHITE},
};

// The printer's device mode, locked for one look or change; null without one.
class CLockedDevMode
{
public:
    explicit CLockedDevMode(CTablePrintSettings* pSettings)
    {
        CPrinterInfo* pPrinter = pSettings->GetPrinter();
        m_hDevMode = pPrinter ? pPrinter->GetDevMode() : nullptr;
        m_pDevMode = m_hDevMode ? static_cast<DEVMODEA*>(GlobalLock(m_hDevMode)) : nullptr;
    }
    ~CLockedDevMode()
    {
        if (m_pDevMode)
            GlobalUnlock(m_hDevMode);
    }
    CLockedDevMode(const CLockedDevMode&) = delete;
    CLockedDevMode& operator=(const CLockedDevMode&) = delete;
    DEVMODEA* operator->() const { return m_pDevMode; }
    explicit operator bool() const { return m_pDevMode != nullptr; }

private:
    HGLOBAL m_hDevMode = nullptr;
    DEVMODEA* m_pDevMode = nullptr;
};

CTBString AppString(UINT nId)
{
    CTBString str;
    CTBApp* pApp = GetTBApp();
    str.LoadStringOrEmpty(pApp ? pApp->GetModule() : nullptr, nId);
    return str;
}
}  // namespace

CTBString FontSampleText(HFONT hFont, HDC hdc)
{
    LOGFONTA lf = {};
    if (!hFont || !GetObjectA(hFont, sizeof(lf), &lf))
        return CTBString("");
    char szText[160];
    snprintf(szText, sizeof(szText), "%s - %d %s", lf.lfFaceName, CTBFont::GetPointSizeOf(hFont, hdc),
             static_cast<const char*>(AppString(IDS_FONT_POINTS)));
    CTBString strText(szText);
    if (lf.lfWeight >= FW_BOLD)
        strText += CTBString(" - ") + AppString(IDS_FONT_BOLD);
    if (lf.lfItalic)
        strText += CTBString(" - ") + AppString(IDS_FONT_ITALIC);
    return strText;
}

CTPTableDlg::CTPTableDlg(CTablePrintSettings* pSettings)
    : CTBPropertyPage(IDD_PAGE_TABLE, "TPTableDlg", pSettings, s_controls)
{
}

CTPTableDlg::~CTPTableDlg()
{
    // With the window's fonts chosen the table keeps no font of its own.
    if (m_nFontChoice == 1)
        m_pSettings->m_font.DeleteObject();
}

void CTPTableDlg::SetSample(HFONT hFont, COLORREF crSample)
{
    m_fontWindow.CreateFromHandle(hFont);
    m_crSample = crSample;
}

HFONT CTPTableDlg::GetShownFont() const
{
    return m_nFontChoice == 1 ? m_fontWindow.GetSafeHandle() : m_pSettings->m_font.GetSafeHandle();
}

BOOL CTPTableDlg::PrinterHasColor() const
{
    CPrinterInfo* pPrinter = m_pSettings->GetPrinter();
    CLockedDevMode devMode(m_pSettings);
    if (!devMode || !(devMode->dmFields & DM_COLOR))
        return FALSE;
    const CTBString strName = pPrinter->GetPrinterName(), strPort = pPrinter->GetPortName();
    return DeviceCapabilitiesA(strName, strPort, DC_COLORDEVICE, nullptr, nullptr) == 1;
}

BOOL CTPTableDlg::OnInitDialog()
{
    if (m_pSettings->HasPrinter() && !PrinterHasColor()) {
        if (m_pSettings->m_nColorMode == PRINT_COLOR)
            m_pSettings->m_nColorMode = PRINT_GREY;
        EnableItem(IDC_TABLE_COLOR, FALSE);
        EnableItem(IDC_TABLE_BACKGROUND, FALSE);
    }
    if (m_pSettings->m_crBackground == static_cast<COLORREF>(-1))
        m_pSettings->m_crBackground = m_crSample;
    CTBPropertyPage::OnInitDialog();
    m_nFontChoice = m_pSettings->m_font.GetSafeHandle() ? 0 : 1;
    CheckRadioButton(m_hWnd, IDC_TABLE_OWNFONT, IDC_TABLE_WINDOWFONT,
                     m_nFontChoice == 0 ? IDC_TABLE_OWNFONT : IDC_TABLE_WINDOWFONT);
    return TRUE;
}

void CTPTableDlg::Redraw(int nId)
{
    HWND hItem = GetDlgItem(m_hWnd, nId);
    if (hItem)
        InvalidateRect(hItem, nullptr, TRUE);
}

void CTPTableDlg::ApplyColorMode()
{
    CLockedDevMode devMode(m_pSettings);
    if (devMode && (devMode->dmFields & DM_COLOR))
        devMode->dmColor = m_pSettings->m_nColorMode == PRINT_COLOR ? DMCOLOR_COLOR : DMCOLOR_MONOCHROME;
}

void CTPTableDlg::ChooseBackground()
{
    CHOOSECOLORA cc = {};
    cc.lStructSize = sizeof(cc);
    cc.hwndOwner = m_hWnd;
    cc.rgbResult = m_pSettings->m_crBackground;
    cc.lpCustColors = m_crCustom;
    cc.Flags = CC_RGBINIT;
    if (ChooseColorA(&cc)) {
        m_pSettings->m_crBackground = cc.rgbResult;
        Redraw(IDC_TABLE_BACKGROUND);
    }
}

void CTPTableDlg::ChooseFont()
{
    LOGFONTA lf = {};
    HFONT hStart = m_pSettings->m_font.GetSafeHandle();
    GetObjectA(hStart ? static_cast<HGDIOBJ>(hStart) : GetStockObject(SYSTEM_FONT), sizeof(lf), &lf);
    CHOOSEFONTA cf = {};
    cf.lStructSize = sizeof(cf);
    cf.hwndOwner = m_hWnd;
    cf.lpLogFont = &lf;
    cf.Flags = CF_SCREENFONTS | CF_NOVERTFONTS | CF_FORCEFONTEXIST | CF_INITTOLOGFONTSTRUCT;
    cf.nFontType = REGULAR_FONTTYPE;
    if (!ChooseFontA(&cf))
        return;
    // The settings' font is replaced by one made from the choice: one owner, nothing shared.
    m_pSettings->m_font.CreateFontIndirect(lf);
    m_nFontChoice = 0;
    CheckRadioButton(m_hWnd, IDC_TABLE_OWNFONT, IDC_TABLE_WINDOWFONT, IDC_TABLE_OWNFONT);
    Redraw(IDC_TABLE_FONTSAMPLE);
}

BOOL CTPTableDlg::OnCmdMsg(UINT nId, int nCode)
{
    switch (nId) {
    case IDC_TABLE_COLOR:
    case IDC_TABLE_GREY:
    case IDC_TABLE_BLACKWHITE: {
        const BOOL bWasColor = m_pSettings->m_nColorMode == PRINT_COLOR;
        CTBPropertyPage::OnCmdMsg(nId, nCode);
        if (bWasColor != (m_pSettings->m_nColorMode == PRINT_COLOR))
            Redraw(IDC_TABLE_BACKGROUND);
        ApplyColorMode();
        return TRUE;
    }
    case IDC_TABLE_BACKGROUND:
        if (nCode == BN_CLICKED && m_pSettings->m_nColorMode == PRINT_COLOR)
            ChooseBackground();
        return TRUE;
    case IDC_TABLE_OWNFONT:
        // The font set aside comes back; without one the table starts from the window's font.
        m_nFontChoice = 0;
        if (!m_pSettings->m_font.GetSafeHandle())
            m_pSettings->m_font.Copy(m_fontSpare.GetSafeHandle() ? m_fontSpare : m_fontWindow);
        Redraw(IDC_TABLE_FONTSAMPLE);
        return TRUE;
    case IDC_TABLE_WINDOWFONT:
        m_nFontChoice = 1;
        if (m_pSettings->m_font.GetSafeHandle()) {
            m_fontSpare.CreateFromHandle(m_pSettings->m_font.GetSafeHandle());
            m_pSettings->m_font.DeleteObject();
        }
        Redraw(IDC_TABLE_FONTSAMPLE);
        return TRUE;
    case IDC_TABLE_FONTSAMPLE:
        if (nCode == BN_CLICKED)
            ChooseFont();
        return TRUE;
    }
    return CTBPropertyPage::OnCmdMsg(nId, nCode);
}

void CTPTableDlg::OnDrawItem(int nIdCtl, tagDRAWITEMSTRUCT* pDraw)
{
    if (nIdCtl == IDC_TABLE_FONTSAMPLE) {
        DrawFontSample(pDraw);
        return;
    }
    if (nIdCtl != IDC_TABLE_BACKGROUND) {
        CTBPropertyPage::OnDrawItem(nIdCtl, pDraw);
        return;
    }
    const BOOL bPressed = (pDraw->itemState & ODS_SELECTED) != 0;
    CTB3DFrame frame;
    if (m_pSettings->m_nColorMode == PRINT_COLOR) {
        // The sample shows the background itself; in grey and black and white it looks inactive.
        HBRUSH hBrush = CreateSolidBrush(m_pSettings->m_crBackground);
        FillRect(pDraw->hDC, &pDraw->rcItem, hBrush);
        DeleteObject(hBrush);
        frame.CreateColored(m_pSettings->m_crBackground, 2);
    } else {
        FillRect(pDraw->hDC, &pDraw->rcItem, GetSysColorBrush(COLOR_BTNFACE));
        frame.Create3D(2);
    }
    frame.DrawFrame(pDraw->hDC, pDraw->rcItem, bPressed);
}

void CTPTableDlg::DrawFontSample(tagDRAWITEMSTRUCT* pDraw)
{
    HDC hdc = pDraw->hDC;
    RECT rc = pDraw->rcItem;
    FillRect(hdc, &rc, GetSysColorBrush(COLOR_BTNFACE));
    CTB3DFrame frame;
    frame.Create3D(2);
    frame.DrawFrame(hdc, rc, (pDraw->itemState & ODS_SELECTED) != 0);
    HFONT hShown = GetShownFont();
    if (!hShown)
        return;
    const CTBString strText = FontSampleText(hShown, hdc);
    LOGFONTA lf = {};
    GetObjectA(hShown, sizeof(lf), &lf);
    const int nMaxHeight = (rc.bottom - rc.top) - 6;
    if (lf.lfHeight > nMaxHeight)
        lf.lfHeight = nMaxHeight;
    else if (lf.lfHeight < -nMaxHeight)
        lf.lfHeight = -nMaxHeight;
    HFONT hFont = CreateFontIndirectA(&lf);
    HGDIOBJ hOld = SelectObject(hdc, hFont);
    const int nOldMode = SetBkMode(hdc, TRANSPARENT);
    const COLORREF crOld = SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
    rc.left += 5;
    rc.right -= 5;
    DrawTextA(hdc, strText, -1, &rc, DT_SINGLELINE | DT_VCENTER | DT_RTLREADING);
    SetTextColor(hdc, crOld);
    SetBkMode(hdc, nOldMode);
    SelectObject(hdc, hOld);
    DeleteObject(hFont);
}
