#pragma once
// A table with a column of every type a filter may stand on, rows that cover each type's
// boundaries, settings kept in a map, and a text picture of a set of filters with the rows each
// lets through. Shared by the filter tests and the criteria fuzz target.
#include <map>
#include <string>
#include "TableTestSupport.h"
#include "framework/base/ColumnValues.h"
#include "framework/base/Ini.h"
#include "framework/table/TableFilters.h"

enum {
    COL_QTY, COL_QTY2, COL_PRICE, COL_VOL, COL_RATE, COL_FRAC, COL_CUR, COL_SYM, COL_DAY, COL_TIME, COL_STAMP,
    COL_DAYTEXT, COL_CLOCK, COL_WHEN, COL_COUNT
};

// Settings in a map, so that a thousand saves cost no file.
class CMapIni : public CIni
{
public:
    CMapIni() : CIni("unused.ini", "Filters") {}
    DWORD ReadProfileString(LPCSTR pszSec, LPCSTR pszKey, LPCSTR pszDefault, LPSTR pszOut, DWORD cch, LPCSTR) override
    {
        auto it = m_values.find(std::string(pszSec) + "/" + pszKey);
        return static_cast<DWORD>(snprintf(pszOut, cch, "%s", it != m_values.end() ? it->second.c_str() : pszDefault));
    }
    int ReadProfileInt(LPCSTR pszSec, LPCSTR pszKey, int nDefault, LPCSTR) override
    {
        auto it = m_values.find(std::string(pszSec) + "/" + pszKey);
        return it != m_values.end() ? atoi(it->second.c_str()) : nDefault;
    }
    BOOL WriteProfileString(LPCSTR pszSec, LPCSTR pszKey, LPCSTR pszValue, LPCSTR) override
    {
        m_values[std::string(pszSec) + "/" + pszKey] = pszValue;
        return TRUE;
    }

private:
    std::map<std::string, std::string> m_values;
};

// A table of every kind of column a filter may stand on, and rows whose cells cover the
// boundaries of each: missing values, zero, signs, sixty-fourths, blanks, midnight.
class CTypedTable
{
public:
    CTypedTable()
        : t({{"Qty", COLTYPE_INT32, 0, FALSE}, {"Qty2", COLTYPE_INT32, 0, FALSE}, {"Price", COLTYPE_INT32, 0, FALSE},
             {"Vol", COLTYPE_INT64, 0, FALSE}, {"Rate", COLTYPE_DOUBLE, 0, FALSE}, {"Frac", COLTYPE_INT, 0, FALSE},
             {"Cur", COLTYPE_CHAR4, 0, FALSE}, {"Sym", COLTYPE_STRING, 12, FALSE},
             {"Day", COLTYPE_PACKED_DATE, 0, FALSE}, {"Time", COLTYPE_PACKED_TIME, 0, FALSE},
             {"Stamp", COLTYPE_PACKED_DATETIME, 0, FALSE}, {"Settle", COLTYPE_DATE_TEXT, 0, FALSE},
             {"Clock", COLTYPE_TIME_TEXT, 0, FALSE}, {"When", COLTYPE_DATETIME_TEXT, 0, FALSE}})
    {
        UseSourceResources();
        t.View().GetColumns()[COL_PRICE]->m_chDecimals = -2;
        t.View().GetColumns()[COL_RATE]->m_chDecimals = -4;
        t.Table().Open();
        const char* apszRows[][COL_COUNT] = {
            {"0", "0", "0", "0", "0", "0", "", "", "2000/01/01", "00:00:00", "2000/01/01 00:00:00", "2000/01/01",
             "00:00:00", "2000/01/01 00:00:00"},
            {"-5", "7", "10.5", "-9223372036854775807", "-0.5", "-1/2", "KWD", "abc def", "1922/01/01", "23:59:59",
             "1923/12/31 23:59", "1900/01/01", "12:30:00", "2099/12/31 23:59:59"},
            {"2147483647", "-2147483647", "-0.01", "9223372036854775807", "12345.6789", "10 17/32", "U$D", "\"q\"",
             "2177/12/31", "12:00", "2020/02/29 10:20:30", "2020/02/29", "09:05:07", "2020/02/29 10:20:30"},
            {"42", "42", "1,000.25", "1000", "0.0001", "3/64", "a b", "b:c-d", "2020/06/15", "10:20:30",
             "2020/06/15 10:20:30", "2020/06/15", "10:20:30", "2020/06/15 10:20:30"},
        };
        for (const auto& row : apszRows) {
            TBCellSlot* pBlock = t.NewBlock();
            for (int c = 0; c < COL_COUNT; ++c) {
                const CTableColumn* pColumn = t.View().GetColumns()[c];
                ParseColumnValue(&pBlock[c], pColumn->m_nSize, pColumn->GetDecimals(FALSE), *pColumn, row[c]);
            }
            m_bFilled = t.Insert(pBlock) && m_bFilled;
        }
        // A cell that is missing, and one of a price column shown in sixty-fourths.
        TBCellSlot* pBlock = t.NewBlock();
        PutInt(t, pBlock, COL_QTY, MISSING_INT32);
        PutInt(t, pBlock, COL_PRICE, 672);
        m_bFilled = t.Insert(pBlock) && t.Find(pBlock).GetViewRow(0)->SetCellFraction(COL_PRICE, TRUE) && m_bFilled;
    }
    ~CTypedTable() { t.View().SetFilters(nullptr); }

    // Kind, group, flag and text of every filter.
    static std::string ListFilters(CTableFilters& filters)
    {
        std::string out = "combine " + std::to_string(filters.GetCombine()) + "\n";
        for (int c = 0; c < COL_COUNT; ++c) {
            CColumnFilter* pColumn = filters.GetColumnFilter(c);
            for (int i = 0; i < pColumn->GetSize(); ++i) {
                CTBString strText;
                pColumn->FormatFilterText(strText, i);
                const ITFilter* pFilter = (*pColumn)[i];
                out += std::to_string(c) + ": kind " + std::to_string(pFilter->GetKind()) + " group "
                     + std::to_string(pFilter->GetGroup()) + " flag " + std::to_string(pFilter->GetFlag()) + " ["
                     + std::string(strText) + "]\n";
            }
        }
        return out;
    }
    // The filters, then which rows pass each column's groups and the whole.
    std::string Describe(CTableFilters& filters)
    {
        std::string out = ListFilters(filters);
        for (int r = 0; r < t.View().GetRowCount(); ++r) {
            CTableRow* pNode = t.View().GetRowTree().GetNodeAt(r);
            out += "row " + std::to_string(r) + ":";
            for (int c = 0; c < COL_COUNT; ++c)
                for (int g = 0; g < 2; ++g)
                    out += filters.GetColumnFilter(c)->Match(pNode, r, &t.View(), g) ? "1" : "0";
            out += filters.Match(pNode, r) ? " pass\n" : " fail\n";
        }
        return out;
    }
    COwnedTable t;
    BOOL m_bFilled = TRUE;              // every row went in
};
