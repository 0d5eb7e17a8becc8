// The grid window's menu commands: one table of command ranges with the handler of each and the
// state its menu items get before a menu opens; the display options behind them; the column
// menu inside the context menu.
#include "framework/window/TableWindow.h"

#include <algorithm>
#include <cstdlib>

#include "framework/base/NorvGlobals.h"
#include "framework/table/TableColumn.h"
#include "framework/table/TableColumnsMap.h"
#include "framework/table/TableFilters.h"
#include "framework/table/ViewTable.h"
#include "framework/window/TBFont.h"
#include "platform/win/user/CommonDialogs.h"
#include "platform/win/user/Controls.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/Menu.h"
#include "platform/win/user/Window.h"
#include "platform/win/user/Messages.h"

namespace {

const UINT EDITOR_ID = 1;
const UINT ID_COLUMNS_CAPTION = 25850;
const UINT ID_FIXED_FIRST = 25701;
const UINT ID_HIGHLIGHT_OFF = 25800;
const UINT ID_COLUMN_FIRST = 27000;

// Seconds of the highlight items 25801..25807.
const int s_highlightSeconds[] = {1, 3, 5, 10, 15, 30, 60};
const int HIGHLIGHT_STEPS = static_cast<int>(sizeof(s_highlightSeconds) / sizeof(s_highlightSeconds[0]));

// What a rule does to an item before its menu opens.
enum {
    ST_ENABLE = 1,
    ST_GRAY = 2,
    ST_CHECK = 4,
    ST_UNCHECK = 8,
};

int Enabled(BOOL bEnabled) { return bEnabled ? ST_ENABLE : ST_GRAY; }
int Checked(BOOL bChecked) { return bChecked ? ST_CHECK : ST_UNCHECK; }

// The highlight item whose seconds lie nearest, the lower one on a tie; 25800 for none.
UINT HighlightItem(int nSeconds)
{
    if (nSeconds < 1)
        return ID_HIGHLIGHT_OFF;
    int nBest = 0;
    for (int i = 1; i < HIGHLIGHT_STEPS; ++i)
        if (std::abs(s_highlightSeconds[i] - nSeconds) < std::abs(s_highlightSeconds[nBest] - nSeconds))
            nBest = i;
    return ID_HIGHLIGHT_OFF + 1 + static_cast<UINT>(nBest);
}

int AlwaysEnabled(CTableWindow&, UINT) { return ST_ENABLE; }

struct GridCommand {
    UINT nFirst;
    UINT nLast;
    BOOL (*pfnRun)(CTableWindow& grid, UINT nId);   // null: a state rule only
    int (*pfnState)(CTableWindow& grid, UINT nId);  // null: the item is left alone
};

// Every command the grid understands. The handlers answer 1 (handled), the column menu's 0.
const GridCommand s_commands[] = {
    {25000, 25000, nullptr, AlwaysEnabled},
    {25001, 25001, [](CTableWindow& g, UINT) { return static_cast<BOOL>(g.ChooseBackgroundColor()); }, AlwaysEnabled},
    {25002, 25002, [](CTableWindow& g, UINT) { return static_cast<BOOL>(g.ChooseCellBackColor(0)); }, AlwaysEnabled},
    {25003, 25099, [](CTableWindow& g, UINT nId) { return static_cast<BOOL>(g.ChooseCellTextColor(static_cast<int>(nId) - 25003)); },
     AlwaysEnabled},
    {25100, 25100, [](CTableWindow& g, UINT) { return static_cast<BOOL>(g.ChooseFaceColor()); }, AlwaysEnabled},
    {25101, 25101, [](CTableWindow& g, UINT) { return static_cast<BOOL>(g.ChooseShadowColor()); }, AlwaysEnabled},
    {25102, 25102, [](CTableWindow& g, UINT) { return static_cast<BOOL>(g.ChooseFrameColor1()); }, AlwaysEnabled},
    {25103, 25103, [](CTableWindow& g, UINT) { return static_cast<BOOL>(g.ChooseFrameColor2()); }, AlwaysEnabled},
    {25104, 25104, [](CTableWindow& g, UINT) { return static_cast<BOOL>(g.ChooseWindowBackColor()); }, AlwaysEnabled},
    {25105, 25129, nullptr, AlwaysEnabled},
    {25500, 25500, [](CTableWindow& g, UINT) { return static_cast<BOOL>(g.ChooseGridFont()); }, AlwaysEnabled},
    {25501, 25501, [](CTableWindow& g, UINT) { g.ToggleBeep(); return TRUE; },
     [](CTableWindow&, UINT) { return ST_ENABLE | Checked(GetNorvGlobals().m_bBeep); }},
    {25502, 25502, [](CTableWindow& g, UINT) { g.SelectAllRows(TRUE); return TRUE; }, AlwaysEnabled},
    {25503, 25503, [](CTableWindow& g, UINT) { g.SelectAllRows(FALSE); return TRUE; },
     [](CTableWindow& g, UINT) { return Enabled(g.GetView() && g.GetView()->GetRowTree().GetMarkedCount() > 0); }},
    {25504, 25504, [](CTableWindow& g, UINT) { g.ToggleGridLines(); return TRUE; },
     [](CTableWindow& g, UINT) { return ST_ENABLE | Checked(g.GetFlag5()); }},
    // Alerts sound through the beep: without it the item has nothing to switch.
    {25505, 25505, [](CTableWindow& g, UINT) { g.ToggleAlerts(); return TRUE; },
     [](CTableWindow& g, UINT) { return Enabled(GetNorvGlobals().m_bBeep) | Checked(g.GetView() && g.GetView()->m_bRowAlerts); }},
    {25506, 25506, [](CTableWindow& g, UINT) { g.ToggleFocusFrame(); return TRUE; },
     [](CTableWindow& g, UINT) { return ST_ENABLE | Checked(g.GetFocusFrame()); }},
    {25600, 25600, [](CTableWindow& g, UINT) { g.Cut(); return TRUE; }, [](CTableWindow& g, UINT) { return Enabled(g.CanCut()); }},
    {25601, 25601, [](CTableWindow& g, UINT) { g.Copy(); return TRUE; }, [](CTableWindow& g, UINT) { return Enabled(g.CanCopy()); }},
    {25602, 25602, [](CTableWindow& g, UINT) { g.PasteRows(); return TRUE; },
     [](CTableWindow& g, UINT) { return Enabled(g.CanPaste()); }},
    // The fixed-column items run from 25701 to the first id the menu lacks (SetMenuStates).
    {ID_FIXED_FIRST, 25799, [](CTableWindow& g, UINT nId) { g.SetFixedColumnsFromMenu(static_cast<int>(nId - ID_FIXED_FIRST)); return TRUE; },
     [](CTableWindow& g, UINT nId) {
         CViewTable* pView = g.GetView();
         if (!pView)
             return 0;
         if (nId == ID_FIXED_FIRST + static_cast<UINT>(pView->GetFixedColumnCount()))
             return ST_ENABLE | ST_CHECK;
         return Enabled(pView->GetAllowFixedColumns()) | ST_UNCHECK;
     }},
    {ID_HIGHLIGHT_OFF, 25807, [](CTableWindow& g, UINT nId) { g.SetHighlightSecondsIndex(static_cast<int>(nId - ID_HIGHLIGHT_OFF)); return TRUE; },
     [](CTableWindow& g, UINT nId) { return ST_ENABLE | Checked(nId == HighlightItem(g.GetHighlightSeconds())); }},
    {25900, 25900, [](CTableWindow& g, UINT) { g.ShowSortDialog(); return TRUE; },
     [](CTableWindow& g, UINT) { return Enabled(g.GetView() && g.GetView()->m_bAllowSortDialog); }},
    {25911, 25912, [](CTableWindow& g, UINT nId) { g.SetLanguage(static_cast<int>(nId) - 25911); return TRUE; },
     [](CTableWindow&, UINT nId) { return ST_ENABLE | Checked(static_cast<int>(nId) - 25911 == GetNorvGlobals().m_nLanguage); }},
    {26000, 26999, [](CTableWindow& g, UINT nId) { g.FireCommand(nId); return TRUE; }, nullptr},
    {ID_COLUMN_FIRST, 27100, [](CTableWindow& g, UINT nId) { return static_cast<BOOL>(g.ToggleColumnFromMenu(nId)); }, nullptr},
};

const GridCommand* FindCommand(UINT nId)
{
    for (const GridCommand& command : s_commands)
        if (nId >= command.nFirst && nId <= command.nLast)
            return &command;
    return nullptr;
}

void ApplyState(HMENU hMenu, UINT nId, int nState)
{
    if (nState & (ST_ENABLE | ST_GRAY))
        EnableMenuItem(hMenu, nId, MF_BYCOMMAND | ((nState & ST_GRAY) ? MF_GRAYED : MF_ENABLED));
    if (nState & (ST_CHECK | ST_UNCHECK))
        CheckMenuItem(hMenu, nId, MF_BYCOMMAND | ((nState & ST_CHECK) ? MF_CHECKED : MF_UNCHECKED));
}

BOOL MenuHasItem(HMENU hMenu, UINT nId)
{
    return GetMenuState(hMenu, nId, MF_BYCOMMAND) != static_cast<UINT>(-1);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Commands and menu states

BOOL CTableWindow::OnCmdMsg(UINT nId, int nCode)
{
    if (nId == EDITOR_ID) {
        switch (nCode) {
        case EN_SETFOCUS: BeginEdit(); return TRUE;
        case EN_KILLFOCUS: EndEdit(); return TRUE;
        case EN_CHANGE: EditChanged(); return TRUE;
        }
        return FALSE;
    }
    const GridCommand* pCommand = FindCommand(nId);
    if (pCommand && pCommand->pfnRun)
        return pCommand->pfnRun(*this, nId);
    return CTBWnd::OnCmdMsg(nId, nCode);
}

void CTableWindow::OnInitMenuPopup(HMENU hMenu, UINT nIndex, BOOL bSysMenu)
{
    if (bSysMenu) {
        EnableMenuItem(hMenu, SC_MINIMIZE, MF_BYCOMMAND | (GetAllowMinimize() ? MF_ENABLED : MF_GRAYED));
        EnableMenuItem(hMenu, SC_MAXIMIZE, MF_BYCOMMAND | (GetAllowMaximize() ? MF_ENABLED : MF_GRAYED));
        EnableMenuItem(hMenu, SC_SIZE, MF_BYCOMMAND | (GetAllowResize() ? MF_ENABLED : MF_GRAYED));
    } else if (hMenu && hMenu == m_hColumnMenu) {
        const int nItems = GetMenuItemCount(hMenu);
        for (int i = 0; i < nItems; ++i)
            EnableMenuItem(hMenu, static_cast<UINT>(i), MF_BYPOSITION | MF_ENABLED);
    } else if (hMenu) {
        // A grid inside another window lets its parent set the items it knows first.
        HWND hParent = m_hWnd ? ::GetParent(m_hWnd) : nullptr;
        if (hParent && (GetWindowLongA(m_hWnd, GWL_STYLE) & WS_CHILD) && IsWindow(hParent))
            SendMessageA(hParent, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hMenu), MAKELPARAM(nIndex, bSysMenu));
        SetMenuStates(hMenu);
    }
    CTBWnd::OnInitMenuPopup(hMenu, nIndex, bSysMenu);
}

void CTableWindow::SetMenuStates(HMENU hMenu)
{
    for (const GridCommand& command : s_commands) {
        if (!command.pfnState)
            continue;
        for (UINT nId = command.nFirst; nId <= command.nLast; ++nId) {
            if (!MenuHasItem(hMenu, nId)) {
                if (command.nFirst == ID_FIXED_FIRST)
                    break;      // the fixed-column items run without gaps
                continue;
            }
            ApplyState(hMenu, nId, command.pfnState(*this, nId));
        }
    }
}

BOOL CTableWindow::IsMenuItemChecked(UINT nId) const
{
    UINT uState = m_hContextMenu ? GetMenuState(m_hContextMenu, nId, MF_BYCOMMAND) : static_cast<UINT>(-1);
    return uState != static_cast<UINT>(-1) && (uState & MF_CHECKED) != 0;
}

// ---------------------------------------------------------------------------------------------
// Toggles: the check mark the user saw decides the new state.

void CTableWindow::ToggleBeep()
{
    if (m_hContextMenu)
        GetNorvGlobals().m_bBeep = !IsMenuItemChecked(25501);
}

void CTableWindow::ToggleGridLines()
{
    if (m_hContextMenu)
        SetFlag5(!IsMenuItemChecked(25504));
}

void CTableWindow::ToggleAlerts()
{
    if (m_hContextMenu && m_pView)
        m_pView->m_bRowAlerts = !IsMenuItemChecked(25505);
}

void CTableWindow::ToggleFocusFrame()
{
    if (m_hContextMenu)
        SetFocusFrame(!IsMenuItemChecked(25506));
}

// ---------------------------------------------------------------------------------------------
// Display options

void CTableWindow::SetHighlightSecondsIndex(int nIndex)
{
    if (nIndex < 1) {
        SetHighlightSeconds(0);
        return;
    }
    SetHighlightSeconds(s_highlightSeconds[std::min(nIndex, HIGHLIGHT_STEPS) - 1]);
}

void CTableWindow::SetFixedColumnsFromMenu(int nCount)
{
    if (!m_pView || !m_pView->GetAllowFixedColumns() || nCount < 0 || nCount > m_pView->GetColumnCount()) {
        Beep();
        return;
    }
    if (m_pView->GetFixedColumnCount() != nCount)
        m_pView->SetFixedColumnCount(nCount);
}

void CTableWindow::SetLanguage(int nLanguage)
{
    GetNorvGlobals().SetLanguage(nLanguage);
}

void CTableWindow::SelectAllRows(BOOL bMark)
{
    if (!m_pView)
        return;
    CTableFilters filters;
    if (!filters.Init(m_pView, nullptr))
        return;
    filters.SetMode(bMark ? FILTER_MARK_ALL : FILTER_UNMARK_ALL);
    filters.SetAllRows();
    m_pView->ApplyFilters(&filters);
    m_cache.Clear();
    m_headerPane.InvalidateCells(TRUE);
}

int CTableWindow::ChooseFrameColor1()
{
    COLORREF cr;
    if (ChooseColor(GetNorvGlobals().m_crFrame1, &cr))
        GetNorvGlobals().SetFrameColor1(cr);
    return 1;
}

int CTableWindow::ChooseFrameColor2()
{
    COLORREF cr;
    if (ChooseColor(GetNorvGlobals().m_crFrame2, &cr))
        GetNorvGlobals().SetFrameColor2(cr);
    return 1;
}

int CTableWindow::ChooseGridFont()
{
    LOGFONTA lf = {};
    HGDIOBJ hStart = GetFont() ? static_cast<HGDIOBJ>(GetFont()) : GetStockObject(SYSTEM_FONT);
    if (!hStart || GetObjectA(hStart, sizeof(lf), &lf) == 0)
        return 1;
    CHOOSEFONTA cf = {};
    cf.lStructSize = sizeof(cf);
    cf.hwndOwner = m_hWnd;
    cf.lpLogFont = &lf;
    cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_FORCEFONTEXIST | CF_NOVERTFONTS;
    if (!ChooseFontA(&cf))
        return 1;
    CTBFont font;
    CTBFont bold;
    LOGFONTA lfBold = lf;
    lfBold.lfWeight = FW_BOLD;
    font.Attach(CreateFontIndirectA(&lf));
    bold.Attach(CreateFontIndirectA(&lfBold));
    if (!font.GetSafeHandle() || !bold.GetSafeHandle())
        return 1;
    // Both through the block first: a re-layout between the two would measure a mixed pair.
    CTableWindowProperties::SetFont(font.Detach());
    CTableWindowProperties::SetBoldFont(bold.Detach());
    AfterFontChange();
    return 1;
}

// ---------------------------------------------------------------------------------------------
// The column menu inside the context menu

// The column menu still hangs in the context menu when it is its last item.
void CTableWindow::ReleaseContextMenu()
{
    if (!m_hContextMenu || !m_hColumnMenu)
        return;
    const int nLast = GetMenuItemCount(m_hContextMenu) - 1;
    if (nLast >= 0 && GetSubMenu(m_hContextMenu, nLast) == m_hColumnMenu)
        RemoveMenu(m_hContextMenu, static_cast<UINT>(nLast), MF_BYPOSITION);
}

void CTableWindow::DestroyColumnMenu()
{
    ReleaseContextMenu();
    if (m_hColumnMenu) {
        DestroyMenu(m_hColumnMenu);
        m_hColumnMenu = nullptr;
    }
}

HMENU CTableWindow::RebuildColumnMenu()
{
    DestroyColumnMenu();
    if (m_pView)
        m_hColumnMenu = m_pView->BuildColumnMenu();
    return m_hColumnMenu;
}

HMENU CTableWindow::PrepareContextMenu(int x, int y)
{
    if (!m_hContextMenu)
        return nullptr;
    const POINT pt = {x, y};
    if (PtInRect(&m_rcHeader, pt))
        m_nMenuColumn = -1;
    else
        m_nMenuColumn = std::max(ColumnFromPoint(x, y), -2);
    if (m_nMenuColumn >= GetDisplayColumnCount())
        m_nMenuColumn = -2;
    if (RebuildColumnMenu()) {
        CTBString strCaption;
        strCaption.LoadAppString(ID_COLUMNS_CAPTION);
        AppendMenuA(m_hContextMenu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(m_hColumnMenu), strCaption);
    }
    return m_hContextMenu;
}

int CTableWindow::ToggleColumnFromMenu(UINT nId)
{
    if (!m_pView || nId < ID_COLUMN_FIRST)
        return 0;
    const int nPos = m_pView->GetColumnOrder().FindPosition(static_cast<int>(nId - ID_COLUMN_FIRST));
    if (nPos < 0 || nPos >= GetDisplayColumnCount())
        return 0;
    if (GetColumnWidth(nPos) > 0) {
        HideColumn(nPos);
        UpdateNow();
    } else {
        ShowColumnFromMenu(nPos);
    }
    return 0;
}

// A hidden column comes back next to the column the menu was opened on, and joins that
// column's pane: the fixed count follows when it crosses the divider.
void CTableWindow::ShowColumnFromMenu(int nFrom)
{
    const int nCount = GetDisplayColumnCount();
    const int nFixed = std::min(m_pView->GetFixedColumnCount(), nCount);
    int nTarget;
    if (m_nMenuColumn >= 0) {
        nTarget = m_nMenuColumn + 1;
    } else if (m_nMenuColumn == -1) {
        nTarget = 0;
    } else {
        int nShown = 0;
        for (int i = 0; i < nCount; ++i)
            nShown += GetColumnWidth(i) > 0 ? 1 : 0;
        nTarget = std::min(nShown + 2, nCount);
    }
    const int nTo = std::min(nTarget > nFrom ? nTarget - 1 : nTarget, nCount - 1);
    const BOOL bWasFixed = nFrom < nFixed;
    BOOL bToFixed;
    if (m_nMenuColumn >= 0)
        bToFixed = m_nMenuColumn < nFixed;
    else if (m_nMenuColumn == -1)
        bToFixed = nFixed > 0;
    else
        bToFixed = nTo < (bWasFixed ? nFixed - 1 : nFixed);
    ParkCurrentRow();
    if (nTo != nFrom) {
        m_pView->GetColumnOrder().MoveColumn(nFrom, nTarget);
        RebuildWidthTable();
        SetPaneColumnRuns();
        m_fixedPane.Invalidate(nullptr, FALSE);
        m_scrollPane.Invalidate(nullptr, FALSE);
    }
    if (bWasFixed != bToFixed)
        SetFixedColumnsFromMenu(nFixed + (bToFixed ? 1 : -1));
    RestoreCurrentRow();
    ShowColumn(nTo);
    UpdateNow();
}
