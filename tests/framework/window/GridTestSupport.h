#pragma once
// What the grid tests share: a quotation-like table (symbol, last price, volume, change) with
// one view, and a top-level grid window over it on the offscreen display.
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "framework/base/NorvGlobals.h"
#include "framework/base/SettingsFile.h"
#include "framework/base/TBApp.h"
#include "framework/table/TableColumn.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "framework/window/TableWindow.h"
#include "framework/window/TableWindowEvents.h"
#include "platform/win/Windows.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/Dialogs.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/VirtualKeys.h"
#include "tests/framework/table/TableTestSupport.h"
#include "tests/framework/window/WindowTestSupport.h"

enum { GRID_COL_SYMBOL, GRID_COL_LAST, GRID_COL_VOLUME, GRID_COL_CHANGE, GRID_COLUMNS };

class CGridTable
{
public:
    CGridTable()
        : t({{"Symbol", COLTYPE_STRING, 12, FALSE}, {"Last", COLTYPE_DOUBLE, 0, FALSE},
             {"Volume", COLTYPE_INT32, 0, TRUE}, {"Change", COLTYPE_DOUBLE, 0, FALSE}})
    {
        UseSourceResources();
        t.Table().GetColumn(GRID_COL_LAST).SetDecimals(-3);
        t.Table().GetColumn(GRID_COL_CHANGE).SetDecimals(-2);
        t.Table().Open();
    }
    // Rows "S0001".., last 100 + i / 8, volume i * 10, change (i % 7) - 3.
    TBCellSlot* Add(int i)
    {
        TBCellSlot* pBlock = t.NewBlock();
        char szSymbol[16];
        snprintf(szSymbol, sizeof(szSymbol), "S%04d", i);
        PutText(t, pBlock, GRID_COL_SYMBOL, szSymbol);
        double dLast = 100.0 + i / 8.0;
        t.View(0).GetColumns().SetSlotValue(&pBlock[GRID_COL_LAST], &dLast, GRID_COL_LAST);
        PutInt(t, pBlock, GRID_COL_VOLUME, i * 10);
        double dChange = (i % 7) - 3;
        t.View(0).GetColumns().SetSlotValue(&pBlock[GRID_COL_CHANGE], &dChange, GRID_COL_CHANGE);
        t.Insert(pBlock);
        return pBlock;
    }
    void Fill(int nRows)
    {
        for (int i = 0; i < nRows; ++i)
            Add(i);
    }
    void SortBy(int nCol, int nDirection)
    {
        CSortColumns keys(30);
        keys.Add(nCol, nDirection);
        t.View(0).Sort(keys, FALSE);
    }
    CViewTable& View() { return t.View(0); }
    COwnedTable t;
};

// A shown top-level grid of the given client size over the table's view.
class CGridWindow
{
public:
    explicit CGridWindow(CViewTable& view, int cx = 400, int cy = 300, CTableWindow* pGrid = nullptr)
        : m_pGrid(pGrid ? pGrid : new CTableWindow), m_bOwned(pGrid == nullptr)
    {
        // A popup has no frame: its client area is the size asked for.
        m_pGrid->CreateEx(&view, 0, "Grid", WS_POPUP, 10, 10, cx, cy, nullptr, 0);
        if (m_pGrid->m_hWnd) {
            ShowWindow(m_pGrid->m_hWnd, SW_SHOW);
            UpdateWindow(m_pGrid->m_hWnd);
        }
    }
    ~CGridWindow()
    {
        if (m_bOwned)
            delete m_pGrid;
    }
    CTableWindow* operator->() { return m_pGrid; }
    CTableWindow& Grid() { return *m_pGrid; }
    HWND Hwnd() const { return m_pGrid->m_hWnd; }

private:
    CTableWindow* m_pGrid;
    bool m_bOwned;
};

// The product's language library of a code page (1252 English; 1256 Arabic, which also reads
// right to left and speaks the second language) as the application's and the resource module,
// with an empty program settings file of the test's own; the destructor puts everything back.
class CGridLanguage
{
public:
    explicit CGridLanguage(int nCodePage = 1252)
    {
        UseSourceResources();
        char szName[32];
        snprintf(szName, sizeof(szName), "_%d.dll", nCodePage);
        m_hModule = LoadLibraryA(szName);
        CTBApp* pApp = GetTBApp();
        m_hOldApp = pApp->GetModule();
        m_hOldResources = TbGetResourceModule();
        const CTBString strName = pApp->GetName();
        pApp->Init(m_hModule, strName, pApp->GetOption());
        TbSetResourceModule(m_hModule);
        GetNorvGlobals().SetRightToLeft(nCodePage == 1256);
        GetNorvGlobals().SetLanguage(nCodePage == 1256 ? 1 : 0);
        char szPath[] = "/tmp/tbgridXXXXXX";
        const int fd = mkstemp(szPath);
        if (fd >= 0)
            close(fd);
        m_strPath = szPath;
        m_settings.Open(szPath);
        pApp->m_pSettings = &m_settings;
    }
    ~CGridLanguage()
    {
        CTBApp* pApp = GetTBApp();
        pApp->m_pSettings = nullptr;
        const CTBString strName = pApp->GetName();
        pApp->Init(m_hOldApp, strName, pApp->GetOption());
        TbSetResourceModule(m_hOldResources);
        GetNorvGlobals().SetRightToLeft(FALSE);
        GetNorvGlobals().SetLanguage(0);
        if (m_hModule != nullptr)
            FreeLibrary(m_hModule);
        unlink(m_strPath.c_str());
    }
    CGridLanguage(const CGridLanguage&) = delete;
    CGridLanguage& operator=(const CGridLanguage&) = delete;

    BOOL IsLoaded() const { return m_hModule != nullptr; }
    // A value of the settings file, "<none>" when it is not there.
    std::string Setting(const char* pszSection, const char* pszKey)
    {
        m_settings.SetSection(pszSection);
        return static_cast<const char*>(m_settings.GetString(CTBString(pszKey), "<none>"));
    }

private:
    CSettingsFile m_settings;
    std::string m_strPath;
    HMODULE m_hModule = nullptr;
    HINSTANCE m_hOldApp = nullptr;
    HINSTANCE m_hOldResources = nullptr;
};

// Input as the display delivers it: through the queue, read with translation as a message loop
// reads it, so that the grid has acted when a call returns. Keys go to the focus; the pointer
// is in the grid's client coordinates.
inline void PumpInput()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT)
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

inline void DeliverKey(UINT nKey, bool bDown, const char* pszChars = nullptr)
{
    TbDisplayKey(bDown ? WM_KEYDOWN : WM_KEYUP, nKey, MAKELPARAM(1, bDown ? 0 : KF_UP | KF_REPEAT),
                 bDown ? pszChars : nullptr);
    PumpInput();
}

inline void TypeKey(UINT nKey, const char* pszChars = nullptr)
{
    DeliverKey(nKey, true, pszChars);
    DeliverKey(nKey, false);
}

inline void DeliverMouse(HWND hWnd, UINT uMsg, WPARAM wKeys, POINT ptClient)
{
    POINT pt = ptClient;
    ClientToScreen(hWnd, &pt);
    TbDisplayMouse(hWnd, uMsg, wKeys, pt);
    PumpInput();
}

// A click as the display sends it: the pointer comes first, then the press and the release.
inline void ClickAt(HWND hWnd, POINT pt, bool bRight = false)
{
    DeliverMouse(hWnd, WM_MOUSEMOVE, 0, pt);
    DeliverMouse(hWnd, bRight ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, bRight ? MK_RBUTTON : MK_LBUTTON, pt);
    DeliverMouse(hWnd, bRight ? WM_RBUTTONUP : WM_LBUTTONUP, 0, pt);
}

// A left-button drag from one point to another through the points between.
inline void DragFromTo(HWND hWnd, POINT ptFrom, POINT ptTo, bool bRelease = true)
{
    DeliverMouse(hWnd, WM_MOUSEMOVE, 0, ptFrom);
    DeliverMouse(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, ptFrom);
    DeliverMouse(hWnd, WM_MOUSEMOVE, MK_LBUTTON, POINT{(ptFrom.x + ptTo.x) / 2, (ptFrom.y + ptTo.y) / 2});
    DeliverMouse(hWnd, WM_MOUSEMOVE, MK_LBUTTON, ptTo);
    if (bRelease)
        DeliverMouse(hWnd, WM_LBUTTONUP, 0, ptTo);
}

// Where the grid's parts are, in client coordinates.
inline POINT CellPoint(CTableWindow& grid, int nLine, int nDisplayCol)
{
    RECT rc;
    grid.GetCellRect(nLine, nDisplayCol, &rc);
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

inline RECT TitleCell(CTableWindow& grid, int nDisplayCol)
{
    RECT rc;
    CTableWindowArea* pPane = grid.PaneOfColumn(nDisplayCol);
    pPane->GetColumnRect(nDisplayCol, &rc);
    return RECT{rc.left, pPane->GetTitleRect().top, rc.right, pPane->GetTitleRect().bottom};
}

inline POINT TitlePoint(CTableWindow& grid, int nDisplayCol, int dx = 0)
{
    RECT rc = TitleCell(grid, nDisplayCol);
    return POINT{(rc.left + rc.right) / 2 + dx, (rc.top + rc.bottom) / 2};
}

inline POINT RowHeaderPoint(CTableWindow& grid, int nLine)
{
    const RECT& rcHeader = grid.GetHeaderPane().GetRect();
    const RECT& rcCells = grid.GetScrollPane().GetCellRect();
    return POINT{(rcHeader.left + rcHeader.right) / 2, rcCells.top + nLine * grid.GetRowHeight() + grid.GetRowHeight() / 2};
}

// What a grid told its sinks, one line per event: "sel 2-5 1", "mark 3 1", "key 40",
// "click -1 2", "rclick 4 -1", "edit 1 2", "sort", "command 26001". A click or right click is
// handled when its flag says so.
class CGridInputSink : public CTableWindowEventSink
{
public:
    void OnRowsSelected(int nFirst, int nLast, BOOL bMark) override { Add("sel", nFirst, nLast, bMark); }
    void OnRowMarked(CViewRow* pRow, BOOL bMark) override { Add("mark", pRow ? pRow->GetIndex() : -1, bMark); }
    void OnKeyDown(UINT nKey, UINT, UINT) override { Add("key", static_cast<int>(nKey)); }
    void OnCellClick(CViewRow* pRow, int nCol, int* pnHandled) override
    {
        Add("click", pRow ? pRow->GetIndex() : -1, nCol);
        *pnHandled = m_bHandleClicks;
    }
    void OnCellRightClick(CViewRow* pRow, int nCol, int* pnHandled) override
    {
        Add("rclick", pRow ? pRow->GetIndex() : -1, nCol);
        *pnHandled = m_bHandleClicks;
    }
    void OnBeginEdit(CViewRow* pRow, int nCol, CTBString*) override { Add("edit", pRow ? pRow->GetIndex() : -1, nCol); }
    void OnSortChanging(const CSortColumns*, const CSortColumns*) override { m_log.push_back("sort"); }
    void OnCommand(UINT nId) override { Add("command", static_cast<int>(nId)); }
    void OnInsertRow(int nPos, CViewRow* pRow) override
    {
        Add("insert", nPos);
        if (m_fillInsert)
            m_fillInsert(pRow);
    }

    // The events of one kind ("sel", "key", ...) joined by "|".
    std::string Of(const char* pszKind) const
    {
        std::string str;
        const std::string strPrefix = std::string(pszKind) + " ";
        for (const auto& line : m_log) {
            if (line.compare(0, strPrefix.size(), strPrefix) == 0 || line == pszKind)
                str += (str.empty() ? "" : "|") + line;
        }
        return str;
    }
    std::vector<std::string> m_log;
    BOOL m_bHandleClicks = FALSE;
    std::function<void(CViewRow*)> m_fillInsert;    // gives an inserted row its values

private:
    void Add(const char* pszKind, int a, int b = INT32_MIN, int c = INT32_MIN)
    {
        char sz[64];
        if (c != INT32_MIN)
            snprintf(sz, sizeof(sz), "%s %d-%d %d", pszKind, a, b, c);
        else if (b != INT32_MIN)
            snprintf(sz, sizeof(sz), "%s %d %d", pszKind, a, b);
        else
            snprintf(sz, sizeof(sz), "%s %d", pszKind, a);
        m_log.push_back(sz);
    }
};

// A grid that notes its beeps, the dialogs it asks for and the commands that reach it, instead
// of sounding or opening them.
class CInputGrid : public CTableWindow
{
public:
    void Beep() override { ++m_nBeeps; }
    void ShowFastFindDialog(int nDisplayCol) override { m_dialogs.push_back("find " + std::to_string(nDisplayCol)); }
    void ShowFilterDialog(int nDisplayCol) override { m_dialogs.push_back("filter " + std::to_string(nDisplayCol)); }
    BOOL OnCmdMsg(UINT nId, int nCode) override
    {
        if (nCode == 0)
            m_commands.push_back(nId);
        return CTableWindow::OnCmdMsg(nId, nCode);
    }
    int m_nBeeps = 0;
    std::vector<std::string> m_dialogs;
    std::vector<UINT> m_commands;
};

// A shown grid over a table of nRows with a recording sink and the keyboard focus. The display's
// memory of the last click is cleared first (a click on the same spot soon after another would
// be a double click), and no key or button stays down after the test.
class CInputGridFixture
{
public:
    explicit CInputGridFixture(int nRows, int cx = 400, int cy = 300)
    {
        table.Fill(nRows);
        window = std::make_unique<CGridWindow>(table.View(), cx, cy, &grid);
        grid.AddEventSink(&sink);
        SetFocus(grid.m_hWnd);
        DeliverMouse(grid.m_hWnd, WM_MBUTTONDOWN, MK_MBUTTON, POINT{1, 1});
        DeliverMouse(grid.m_hWnd, WM_MBUTTONUP, 0, POINT{1, 1});
        PumpInput();
    }
    ~CInputGridFixture()
    {
        for (UINT nKey : {VK_SHIFT, VK_CONTROL})
            if (GetAsyncKeyState(static_cast<int>(nKey)) & 0x8000)
                DeliverKey(nKey, false);
        if (GetCapture())
            ReleaseCapture();
        grid.RemoveEventSink(&sink);
        window.reset();
        if (grid.m_hWnd)
            DestroyWindow(grid.m_hWnd);
        PumpInput();
    }
    HWND Hwnd() const { return grid.m_hWnd; }
    CGridTable table;
    CGridInputSink sink;
    CInputGrid grid;
    std::unique_ptr<CGridWindow> window;
};

// The grid dialogs as a user drives them: a click on a button (nothing when it is greyed), a
// field's new text (its change notice included), a control's text.
inline void ClickItem(HWND hDlg, int nId)
{
    SendMessageA(GetDlgItem(hDlg, nId), BM_CLICK, 0, 0);
}
inline void SetItemText(HWND hDlg, int nId, const char* pszText)
{
    SetDlgItemTextA(hDlg, nId, pszText);
}
inline std::string ItemText(HWND hDlg, int nId)
{
    char sz[512] = "";
    GetDlgItemTextA(hDlg, nId, sz, sizeof(sz));
    return sz;
}
inline bool ItemEnabled(HWND hDlg, int nId)
{
    return IsWindowEnabled(GetDlgItem(hDlg, nId)) != FALSE;
}

// The grid table's column titles in the second language, for the Arabic pictures.
inline void SetArabicTitles(CGridTable& table)
{
    static const char* const s_titles[GRID_COLUMNS] = {"الرمز", "الإغلاق", "الحجم", "التغير"};
    for (int nCol = 0; nCol < GRID_COLUMNS; ++nCol)
        table.t.Table().GetColumn(nCol).SetTitle(Arabic(s_titles[nCol]).c_str(), 1);
}
