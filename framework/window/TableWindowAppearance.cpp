// The grid window's appearance: colours, fonts and flags set through the grid, a copy of another
// grid's appearance, the stored placement, custom colours and context menu, the colour dialogs.
#include "framework/window/TableWindow.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include "framework/base/Dictionary.h"
#include "framework/base/DrawUtils.h"
#include "framework/base/Ini.h"
#include "framework/base/NorvGlobals.h"
#include "framework/base/TBApp.h"
#include "framework/table/TBMenu.h"
#include "framework/table/TableColumn.h"
#include "framework/table/TableColumns.h"
#include "framework/table/TableKeys.h"
#include "framework/table/ViewTable.h"
#include "framework/window/TWApp.h"
#include "platform/win/user/Clipboard.h"
#include "platform/win/user/CommonDialogs.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/Cursor.h"
#include "platform/win/user/Menu.h"
#include "platform/win/user/Paint.h"
#include "platform/win/user/Sound.h"
#include "platform/win/user/SysMetrics.h"

namespace {

const int CUSTOM_COLOR_COUNT = 16;

// Palette-relative: the colour dialog's choice is kept the way the grid's palette realises it.
COLORREF PaletteRelative(COLORREF cr) { return (cr & 0x00FFFFFF) | 0x02000000; }

}  // namespace

// ---------------------------------------------------------------------------------------------
// Appearance through the grid

void CTableWindow::RepaintAll()
{
    if (!m_hWnd)
        return;
    InvalidateRect(m_hWnd, nullptr, FALSE);
    UpdateNow();
}

void CTableWindow::AfterColorChange(BOOL bChanged, BOOL bOnlyUnlocked)
{
    if (!bChanged || !m_hWnd)
        return;
    CreateDrawingObjects();
    if (!bOnlyUnlocked || !IsRedrawLocked())
        RepaintAll();
}

void CTableWindow::SetBackgroundColor(COLORREF crColor)
{
    const BOOL bChanged = crColor != GetWindowBackColor() || crColor != GetCellBackColor(0);
    CTableWindowProperties::SetBackgroundColor(crColor);
    AfterColorChange(bChanged, FALSE);
}

void CTableWindow::SetWindowBackColor(COLORREF crColor)
{
    const BOOL bChanged = crColor != GetWindowBackColor();
    CTableWindowProperties::SetWindowBackColor(crColor);
    AfterColorChange(bChanged, FALSE);
}

void CTableWindow::SetCellTextColor(COLORREF crColor, int nIndex)
{
    const BOOL bChanged = crColor != GetCellTextColor(nIndex);
    CTableWindowProperties::SetCellTextColor(crColor, nIndex);
    AfterColorChange(bChanged, FALSE);
}

void CTableWindow::SetCellBackColor(COLORREF crColor, int nIndex)
{
    const BOOL bChanged = crColor != GetCellBackColor(nIndex);
    CTableWindowProperties::SetCellBackColor(crColor, nIndex);
    AfterColorChange(bChanged, TRUE);
}

void CTableWindow::SetFaceColor(COLORREF crColor)
{
    const BOOL bChanged = crColor != GetFaceColor();
    CTableWindowProperties::SetFaceColor(crColor);
    AfterColorChange(bChanged, FALSE);
}

void CTableWindow::SetShadowColor(COLORREF crColor)
{
    const BOOL bChanged = crColor != GetShadowColor();
    CTableWindowProperties::SetShadowColor(crColor);
    AfterColorChange(bChanged, FALSE);
}

void CTableWindow::AfterFontChange()
{
    if (!m_hWnd)
        return;
    MeasureDigitWidths();
    MeasureHeights();
    // Fitted widths were measured in the old font.
    m_bFitExact = TRUE;
    RECT rc;
    GetClientRect(m_hWnd, &rc);
    RecalcLayout(rc);
    Refresh();
}

void CTableWindow::SetFont(HFONT hFont)
{
    if (hFont == GetFont())
        return;
    CTableWindowProperties::SetFont(hFont);
    AfterFontChange();
}

void CTableWindow::SetBoldFont(HFONT hFont)
{
    if (hFont == GetBoldFont())
        return;
    CTableWindowProperties::SetBoldFont(hFont);
    AfterFontChange();
}

void CTableWindow::SetFlag5(BOOL bGridLines)
{
    CTableWindowProperties::SetFlag5(bGridLines);
    Refresh();
}

void CTableWindow::SetFocusFrame(BOOL bOn)
{
    // The frame is an XOR figure: take the old one off before its shape changes.
    ParkCurrentRow();
    CTableWindowProperties::SetFocusFrame(bOn);
    RestoreCurrentRow();
    Refresh();
}

void CTableWindow::SetHighlightSeconds(int nSeconds)
{
    if (nSeconds < 1) {
        CTableWindowProperties::SetHighlightSeconds(0);
        if (m_hWnd) {
            KillTimer(m_hWnd, TW_TIMER_HIGHLIGHT);
            AgeChangeHighlights();
            m_headerPane.InvalidateCells(TRUE);
        }
        return;
    }
    CTableWindowProperties::SetHighlightSeconds(nSeconds);
    if (m_hWnd) {
        m_headerPane.InvalidateCells(TRUE);
        SetTimer(m_hWnd, TW_TIMER_HIGHLIGHT, 1000, nullptr);
    }
}

BOOL CTableWindow::SetFontFace(const CTBString& strFace, int nPoints)
{
    CTBFont font;
    CTBFont bold;
    if (!font.CreatePointFont(strFace, nPoints, FALSE, nullptr) || !bold.CreatePointFont(strFace, nPoints, TRUE, nullptr))
        return FALSE;
    CTableWindowProperties::SetFont(font.Detach());
    CTableWindowProperties::SetBoldFont(bold.Detach());
    AfterFontChange();
    return TRUE;
}

void CTableWindow::CopyAppearance(CTableWindow* pOther)
{
    if (!pOther || pOther == this)
        return;
    if (m_hWnd)
        LockRedraw();
    if (m_pView) {
        RebuildWidthTable();
        OnFixedColumnsChanged(m_pView->GetFixedColumnCount());
    }
    CTBFont font;
    CTBFont bold;
    font.CreateFromHandle(pOther->GetFont());
    bold.CreateFromHandle(pOther->GetBoldFont());
    if (font.GetSafeHandle())
        CTableWindowProperties::SetFont(font.Detach());
    if (bold.GetSafeHandle())
        CTableWindowProperties::SetBoldFont(bold.Detach());
    CTableWindowProperties::SetWindowBackColor(pOther->GetWindowBackColor());
    CTableWindowProperties::SetFaceColor(pOther->GetFaceColor());
    CTableWindowProperties::SetShadowColor(pOther->GetShadowColor());
    for (int i = 0; i < COLOR_COUNT; ++i) {
        CTableWindowProperties::SetCellTextColor(pOther->GetCellTextColor(i), i);
        CTableWindowProperties::SetCellBackColor(pOther->GetCellBackColor(i), i);
    }
    for (int i = 0; i < CUSTOM_COLOR_COUNT; ++i)
        m_crCustom[i] = pOther->m_crCustom[i];
    CTableWindowProperties::SetFollowLastRow(pOther->GetFollowLastRow());
    CTableWindowProperties::SetFlag5(pOther->GetFlag5());
    if (m_hWnd) {
        SetHighlightSeconds(pOther->GetHighlightSeconds());
        CreateDrawingObjects();
        MeasureDigitWidths();
        MeasureHeights();
        UnlockRedraw();
        RECT rc;
        GetClientRect(m_hWnd, &rc);
        RecalcLayout(rc);
        Refresh();
    } else {
        CTableWindowProperties::SetHighlightSeconds(pOther->GetHighlightSeconds());
    }
}

// ---------------------------------------------------------------------------------------------
// Stored placement, custom colours and the context menu

void CTableWindow::Save(CIni* pSection, CIni* pUnused)
{
    if (pSection) {
        int x = m_nStoredX, y = m_nStoredY, cx = m_nStoredWidth, cy = m_nStoredHeight;
        RECT rc;
        if (m_hWnd && GetWindowRect(m_hWnd, &rc)) {
            x = rc.left;
            y = rc.top;
            cx = rc.right - rc.left;
            cy = rc.bottom - rc.top;
        }
        char szPlacement[64];
        snprintf(szPlacement, sizeof(szPlacement), "%d,%d,%d,%d", x, y, cx, cy);
        pSection->WriteString(IDS_GRID_PLACEMENT, szPlacement);
        for (int i = 0; i < CUSTOM_COLOR_COUNT; ++i)
            pSection->WriteColor(CustomColorKey(i), m_crCustom[i]);
    }
    CTableWindowProperties::Save(pSection, pUnused);
}

CTBString CTableWindow::CustomColorKey(int nIndex)
{
    return TableKey(IDS_GRID_CUSTOMCOLOR, nIndex);
}

void CTableWindow::Load(CIni* pSection, CIni* pFile)
{
    const BOOL bWindow = m_hWnd != nullptr;
    if (bWindow)
        LockRedraw();
    if (m_pView && m_pView->IsOpen()) {
        RebuildWidthTable();
        OnFixedColumnsChanged(m_pView->GetFixedColumnCount());
    }
    if (pSection) {
        LoadPlacement(pSection->GetString(IDS_GRID_PLACEMENT, ""));
        for (int i = 0; i < CUSTOM_COLOR_COUNT; ++i)
            m_crCustom[i] = pSection->GetColor(CustomColorKey(i), m_crCustom[i]);
    }
    if (pFile)
        LoadContextMenu(*pFile);
    CTableWindowProperties::Load(pSection, pFile);
    if (bWindow)
        UnlockRedraw();
}

void CTableWindow::LoadPlacement(const CTBString& strPlacement)
{
    int nParts[4] = {-1, -1, -1, -1};
    const char* psz = strPlacement;
    for (int i = 0; i < 4 && psz && *psz; ++i) {
        nParts[i] = atoi(psz);
        psz = strchr(psz, ',');
        if (psz)
            ++psz;
    }
    if (nParts[0] < 0 || nParts[1] < 0 || nParts[2] <= 0 || nParts[3] <= 0)
        return;
    m_nStoredX = nParts[0];
    m_nStoredY = nParts[1];
    m_nStoredWidth = nParts[2];
    m_nStoredHeight = nParts[3];
    if (m_hWnd && !(GetWindowLongA(m_hWnd, GWL_STYLE) & WS_CHILD) && GetAllowResize())
        SetWindowPos(m_hWnd, nullptr, m_nStoredX, m_nStoredY, m_nStoredWidth, m_nStoredHeight,
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

void CTableWindow::LoadContextMenu(CIni& file)
{
    CTBString strSection = TableKeyText(IDS_GRID_MENUSECTION);
    const int nLanguage = GetNorvGlobals().m_nLanguage;
    if (nLanguage != 0) {
        char szSection[128];
        snprintf(szSection, sizeof(szSection), "%s.%d", static_cast<const char*>(strSection), nLanguage);
        strSection = szSection;
    }
    CIni menuSettings(file.GetFileName(), strSection);
    CTBMenu menu;
    if (!menu.LoadFromSettings(menuSettings))
        return;
    SetContextMenu(menu.Detach());
}

// ---------------------------------------------------------------------------------------------
// Colour dialogs

int CTableWindow::ChooseColor(COLORREF crStart, COLORREF* pResult)
{
    CHOOSECOLORA cc = {};
    cc.lStructSize = sizeof(cc);
    cc.hwndOwner = m_hWnd;
    cc.rgbResult = crStart & ~0x02000000u;
    cc.lpCustColors = m_crCustom;
    cc.Flags = CC_RGBINIT;
    if (!ChooseColorA(&cc))
        return 0;
    *pResult = PaletteRelative(cc.rgbResult);
    return 1;
}

// Each chooser starts the dialog from the colour it changes and stores a choice through the
// setter that repaints; cancelling changes nothing.
template <class TSet> int CTableWindow::ChooseAndSet(COLORREF crStart, TSet set)
{
    COLORREF cr;
    if (ChooseColor(crStart, &cr))
        set(cr);
    return 1;
}

int CTableWindow::ChooseBackgroundColor()
{
    return ChooseAndSet(GetWindowBackColor(), [this](COLORREF cr) { SetBackgroundColor(cr); });
}

int CTableWindow::ChooseWindowBackColor()
{
    return ChooseAndSet(GetWindowBackColor(), [this](COLORREF cr) { SetWindowBackColor(cr); });
}

int CTableWindow::ChooseCellBackColor(int nIndex)
{
    return ChooseAndSet(GetCellBackColor(nIndex), [this, nIndex](COLORREF cr) { SetCellBackColor(cr, nIndex); });
}

int CTableWindow::ChooseFaceColor()
{
    return ChooseAndSet(GetFaceColor(), [this](COLORREF cr) { SetFaceColor(cr); });
}

int CTableWindow::ChooseShadowColor()
{
    return ChooseAndSet(GetShadowColor(), [this](COLORREF cr) { SetShadowColor(cr); });
}

int CTableWindow::ChooseCellTextColor(int nIndex)
{
    return ChooseAndSet(GetCellTextColor(nIndex), [this, nIndex](COLORREF cr) { SetCellTextColor(cr, nIndex); });
}
