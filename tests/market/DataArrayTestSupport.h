#pragma once
// A quote table as the market tables build one: symbol and board as keys, a price, a volume and
// a tag that names each row for the tests. The engine table comes first, so that the row store,
// which takes its rows out of the table, goes first.
#include <string>
#include <vector>
#include "framework/table/TableTestSupport.h"
#include "market/DataArray.h"

enum { QCOL_SYM, QCOL_BOARD, QCOL_LAST, QCOL_VOL, QCOL_TAG, QCOL_COUNT };

struct CQuoteStore
{
    CTable table;
    CDataArray rows;
    CRecordingSink* pSink = nullptr;

    CQuoteStore()
    {
        UseSourceResources();
        static const struct { const char* pszName; int nType; int nSize; } s_columns[] = {
            {"Sym", COLTYPE_STRING, 8}, {"Board", COLTYPE_INT32, 0}, {"Last", COLTYPE_DOUBLE, 0},
            {"Vol", COLTYPE_INT64, 0}, {"Tag", COLTYPE_INT32, 0}};
        for (const auto& def : s_columns) {
            CColumn column = table.AddColumn();
            column.SetName(def.pszName);
            column.SetTitle(def.pszName, 0);
            column.SetDataType(def.nType);
            if (def.nSize > 0)
                column.SetSize(def.nSize);
            column.SetThousands(FALSE);
            column.SetBlankZero(FALSE);
        }
        table.SetAllowCut(FALSE);
        table.SetAllowPaste(FALSE);
        EXPECT_TRUE(table.Open());
        // A second view ordered by price, as a user's second window would be.
        EXPECT_EQ(1, table.AddView("TableView"));
        Sort(0, {{QCOL_SYM, 1}, {QCOL_BOARD, 1}});
        Sort(1, {{QCOL_LAST, -1}});
        rows.SetTable(&table);
        rows.SetKeyColumns({QCOL_SYM, QCOL_BOARD});
        pSink = new CRecordingSink(table.GetView(0));
        table.GetView(0)->AddSink(pSink);
    }
    ~CQuoteStore()
    {
        if (table.GetView(0))
            table.GetView(0)->RemoveSink(pSink);
        delete pSink;
    }
    void Sort(int nView, std::vector<CSortPair> keys)
    {
        CSortColumns list(30);
        for (const CSortPair& key : keys)
            list.Add(key);
        table.GetView(nView)->Sort(list, FALSE);
    }
    // Adds a row the way a reply line does: a work row filled unpublished, stored with publish.
    int Add(const char* pszSym, int32_t nBoard, double dLast, int32_t nTag)
    {
        CDataBuffer* pRow = rows.NewRow();
        pRow->SetText(QCOL_SYM, pszSym, FALSE);
        pRow->SetValue(QCOL_BOARD, &nBoard, FALSE);
        pRow->SetDouble(QCOL_LAST, dLast, FALSE);
        pRow->SetValue(QCOL_TAG, &nTag, FALSE);
        int nIndex = rows.AddRow(pRow, TRUE);
        delete pRow;
        return nIndex;
    }
    // "SYM/board#tag" of every stored row, in store order.
    std::string StoreText() const
    {
        std::string out;
        for (int i = 0; i < rows.GetCount(); ++i) {
            CDataBuffer* pRow = rows.GetAt(i);
            out += std::string(pRow->GetText(QCOL_SYM)) + "/" + std::to_string(pRow->GetLong(QCOL_BOARD)) + "#"
                 + std::to_string(pRow->GetLong(QCOL_TAG)) + " ";
        }
        return out;
    }
    // The same of a view's rows, in display order.
    std::string ViewRows(int nView) const
    {
        CViewTable& view = *table.GetView(nView);
        std::string out;
        for (int i = 0; i < view.GetRowCount(); ++i) {
            CRowPosition pos;
            if (!view.GetRowTree().LocateByIndex(i, &pos) || !pos.m_pNode) {
                out += "? ";
                continue;
            }
            const TBCellSlot* pValues = pos.m_pNode->GetData();
            out += std::string(static_cast<const char*>(pValues[QCOL_SYM].pData)) + "/"
                 + std::to_string(pValues[QCOL_BOARD].nValue) + "#" + std::to_string(pValues[QCOL_TAG].nValue) + " ";
        }
        return out;
    }
};
