#include "framework/window/TableWindowProperties.h"

#include "framework/base/Ini.h"
#include "framework/table/TableKeys.h"

CTableWindowProperties::CTableWindowProperties()
    : m_crWindowBack(GetSysColor(COLOR_WINDOW)),
      m_crFace(GetSysColor(COLOR_BTNFACE)),
      m_crShadow(GetSysColor(COLOR_BTNSHADOW))
{
    const COLORREF crText = GetSysColor(COLOR_WINDOWTEXT);
    for (int i = 0; i < COLOR_COUNT; ++i) {
        m_crCellText[i] = crText;
        m_crCellBack[i] = m_crWindowBack;
    }
}

// The index comes from a cell attribute of 7 bits: 127 has no entry and is left alone.
void CTableWindowProperties::SetCellTextColor(COLORREF cr, int nIndex)
{
    if (nIndex >= 0 && nIndex < COLOR_COUNT)
        m_crCellText[nIndex] = cr;
}

void CTableWindowProperties::SetCellBackColor(COLORREF cr, int nIndex)
{
    if (nIndex >= 0 && nIndex < COLOR_COUNT)
        m_crCellBack[nIndex] = cr;
}

void CTableWindowProperties::SetBackgroundColor(COLORREF cr)
{
    SetWindowBackColor(cr);
    SetCellBackColor(cr, 0);
}

void CTableWindowProperties::CopyFrom(const CTableWindowProperties& other)
{
    if (&other == this)
        return;
    m_crWindowBack = other.m_crWindowBack;
    for (int i = 0; i < COLOR_COUNT; ++i) {
        m_crCellText[i] = other.m_crCellText[i];
        m_crCellBack[i] = other.m_crCellBack[i];
    }
    m_crFace = other.m_crFace;
    m_crShadow = other.m_crShadow;
    m_font.Copy(other.m_font);
    m_fontBold.Copy(other.m_fontBold);
    m_bAllowMinimize = other.m_bAllowMinimize;
    m_bAllowMaximize = other.m_bAllowMaximize;
    m_bAllowResize = other.m_bAllowResize;
    m_bFollowLastRow = other.m_bFollowLastRow;
    m_bGridLines = other.m_bGridLines;
    m_nHighlightSeconds = other.m_nHighlightSeconds;
}

// The keys go in one order for both directions; flags 1 to 3 belong to the program, not the layout.
void CTableWindowProperties::Save(CIni* pSection, CIni* pSecond)
{
    (void)pSecond;
    if (!pSection)
        return;
    CIni& ini = *pSection;
    ini.WriteFont(IDS_GRID_FONT, GetFont());
    ini.WriteFont(IDS_GRID_BOLDFONT, GetBoldFont());
    ini.WriteColor(IDS_GRID_BACKCOLOR, GetWindowBackColor());
    ini.WriteColor(IDS_GRID_FACECOLOR, GetFaceColor());
    ini.WriteColor(IDS_GRID_SHADOWCOLOR, GetShadowColor());
    for (int i = 0; i < COLOR_COUNT; ++i)
        ini.WriteColor(TableKey(IDS_GRID_CELLTEXT, i), GetCellTextColor(i));
    for (int i = 0; i < COLOR_COUNT; ++i)
        ini.WriteColor(TableKey(IDS_GRID_CELLBACK, i), GetCellBackColor(i));
    ini.WriteInt(IDS_GRID_HIGHLIGHTSECS, GetHighlightSeconds());
    ini.WriteBool(IDS_GRID_FOLLOWLASTROW, GetFollowLastRow());
    ini.WriteBool(IDS_GRID_GRIDLINES, GetFlag5());
    ini.WriteBool(IDS_GRID_FOCUSFRAME, GetFocusFrame());
}

void CTableWindowProperties::Load(CIni* pSection, CIni* pSecond)
{
    (void)pSecond;
    if (!pSection)
        return;
    CIni& ini = *pSection;
    // GetFont answers the held handle when nothing usable is stored: setting it again keeps it.
    SetFont(ini.GetFont(IDS_GRID_FONT, GetFont()));
    SetBoldFont(ini.GetFont(IDS_GRID_BOLDFONT, GetBoldFont()));
    SetWindowBackColor(ini.GetColor(IDS_GRID_BACKCOLOR, GetWindowBackColor()));
    SetFaceColor(ini.GetColor(IDS_GRID_FACECOLOR, GetFaceColor()));
    SetShadowColor(ini.GetColor(IDS_GRID_SHADOWCOLOR, GetShadowColor()));
    for (int i = 0; i < COLOR_COUNT; ++i)
        SetCellTextColor(ini.GetColor(TableKey(IDS_GRID_CELLTEXT, i), GetCellTextColor(i)), i);
    for (int i = 0; i < COLOR_COUNT; ++i)
        SetCellBackColor(ini.GetColor(TableKey(IDS_GRID_CELLBACK, i), GetCellBackColor(i)), i);
    SetHighlightSeconds(ini.GetInt(IDS_GRID_HIGHLIGHTSECS, GetHighlightSeconds()));
    SetFollowLastRow(ini.GetBool(IDS_GRID_FOLLOWLASTROW, GetFollowLastRow()));
    SetFlag5(ini.GetBool(IDS_GRID_GRIDLINES, GetFlag5()));
    SetFocusFrame(ini.GetBool(IDS_GRID_FOCUSFRAME, GetFocusFrame()));
}
