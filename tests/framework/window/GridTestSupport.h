#pragma once
// What the grid tests share: a quotation-like table (symbol, last price, volume, change) with
// one view, and a top-level grid window over it on the offscreen display.
#include <memory>
#include <string>

#include "framework/table/TableColumn.h"
#include "framework/table/ViewTable.h"
#include "framework/window/TableWindow.h"
#include "platform/win/Windows.h"
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

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "framework/base/NorvGlobals.h"
#include "framework/base/SettingsFile.h"
#include "framework/base/TBApp.h"
#include "platform/win/kernel/Resources.h"

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

#include "platform/win/user/Controls.h"
#include "platform/win/user/Dialogs.h"

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
