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
