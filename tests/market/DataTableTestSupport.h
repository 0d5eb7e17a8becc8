#pragma once
// What the data-table tests share: a table that is only its description, fed by "FR" replies and
// live "LL" lines, the rows of a store as text ("1 AAA 99.50|2 BBB 7.00"), a ticker that writes
// its items down, and the setting of a test that makes market tables on a message source of its own.
#include <initializer_list>
#include <string>
#include <vector>
#include <gtest/gtest.h>
#include "link/MessageSource.h"
#include "link/MessageTypes.h"
#include "link/ServerMessage.h"
#include "app/TableMDIWnd.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "market/DataArray.h"
#include "market/DataTable.h"
#include "market/TickerFeed.h"
#include "tests/app/AppTestSupport.h"

// Columns: key, symbol (Arabic name in field 6), price, volume, server date, time text. A live
// line carries key, price and volume. No total line: the engine's row count is the rows'.
inline const TABLE_COLUMN g_quoteColumns[] = {
    {.nType = COLTYPE_INT32, .nFlags = COLF_KEY, .nField = 0},
    {.nTitleId = 51951, .nSize = 10, .nField = 1, .nArabicField = 6},
    {.nTitleId = 51952, .nType = COLTYPE_DOUBLE, .nWidth = 70, .nDecimals = -2, .nAlign = ALIGN_RIGHT, .nField = 2},
    {.nTitleId = 51953, .nType = COLTYPE_INT32, .nWidth = 70, .nAlign = ALIGN_RIGHT, .nFlags = COLF_THOUSANDS,
     .nField = 3},
    {.nTitleId = 51950, .nType = COLTYPE_DATE_TEXT, .nWidth = 80, .nFlags = COLF_SERVER_DATE, .nField = 4},
    {.nTitleId = 852, .nType = COLTYPE_TIME_TEXT, .nWidth = 70, .nField = 5},
};
inline const int g_quoteLiveFields[] = {0, FIELD_NONE, 1, 2};
inline const TABLE_FIELD_MAP g_quoteMaps[] = {{.nMessageType = MSG_LL, .fields = g_quoteLiveFields}};
inline const TABLE_SORT_KEY g_quoteSort[] = {{0, 1}};
inline const int g_quoteKeys[] = {0};
inline const int g_quoteLive[] = {MSG_LL};
inline const TABLE_DESC g_quoteTable = {.nNameId = 52173, .nTitleId = 52174, .nFixedColumns = 1,
                                        .columns = g_quoteColumns, .sort = g_quoteSort, .keys = g_quoteKeys,
                                        .nRequestType = MSG_FR, .nReplyType = MSG_FR, .liveTypes = g_quoteLive,
                                        .maps = g_quoteMaps, .nFlags = TABLEF_NO_GROUP_LINES};

class CQuoteFeedTable : public CDataTable
{
public:
    explicit CQuoteFeedTable(CZorvatMessageSource* pSource) : CDataTable(g_quoteTable, pSource) {}
    ~CQuoteFeedTable() override { Destroy(); }
    void OnFR(CServerMessage* pMsg) override { TableOnReplyBegin(pMsg); }
    void OnLL(CServerMessage* pMsg) override { TableOnLive(pMsg); }
};

// A line as the dispatcher hands it on: "EN", a reply's data row, or a typed line.
inline void FireTableLine(CZorvatMessageSource& source, const char* pszLine)
{
    CServerMessage msg(pszLine, 1);
    if (msg.GetType() == MSG_EN)
        source.FireEN(&msg, -1);
    else if (msg.GetType() == MESSAGE_TYPE_DATA_ROW)
        source.FireRawLine(&msg, -1);
    else
        source.FireType(msg.GetType(), &msg, -1);
}

// Each stored row's cells as the grid shows them, joined by ' ', rows by '|'.
inline std::string RowsText(const CDataArray& rows)
{
    std::string strText;
    for (int i = 0; i < rows.GetCount(); ++i) {
        const CDataBuffer* pRow = rows.GetAt(i);
        strText += i > 0 ? "|" : "";
        for (int c = 0; c < rows.GetColumnCount(); ++c)
            strText += (c > 0 ? " " : "") + std::string(pRow->GetText(c, TRUE));
    }
    return strText;
}

// The first line of the window's view that shows a stored row; -1 when none does.
inline int FirstDataRow(CTableMDIWnd* pWindow)
{
    for (int i = 0; i < pWindow->GetView()->GetRowCount(); ++i) {
        CViewRow row;
        if (pWindow->GetView()->GetRow(row, i) && row.IsDataRow())
            return i;
    }
    return -1;
}

// A ticker's items as "label:text:colour" (text 1, up 2, down 3); one made with a name is
// registered under it while it lives.
class CRecordingTicker : public ITickerFeed
{
public:
    CRecordingTicker() = default;
    explicit CRecordingTicker(const char* pszName) : m_strName(pszName) { RegisterTickerFeed(pszName, this); }
    ~CRecordingTicker() override
    {
        if (!m_strName.empty())
            RegisterTickerFeed(m_strName.c_str(), nullptr);
    }
    CRecordingTicker(const CRecordingTicker&) = delete;
    CRecordingTicker& operator=(const CRecordingTicker&) = delete;
    void AddItem(LPCSTR pszLabel, COLORREF /*crLabel*/, LPCSTR pszText, COLORREF crText) override
    {
        items.push_back(std::string(pszLabel) + ":" + pszText + ":" + std::to_string(crText));
    }
    COLORREF GetTextColor() const override { return 1; }
    COLORREF GetUpColor() const override { return 2; }
    COLORREF GetDownColor() const override { return 3; }
    BOOL IsShowingChanges() const override { return bChanges; }
    std::vector<std::string> items;
    BOOL bChanges = TRUE;

private:
    std::string m_strName;
};

// A table test's setting: the language module, the application shell and a message source, the
// message codes registered; every table made is gone at the end.
struct CTableFixture : ::testing::Test
{
    CTestLanguage language;
    CTestShell shell;
    CZorvatMessageSource source;

    void SetUp() override { RegisterMessageCodes(g_messageCodePairs); }
    void TearDown() override
    {
        if (CNorvApp::Get() != nullptr)
            CNorvApp::Get()->RemoveAllTables();
    }
    // Made on the source and created; the table map owns it from there.
    template <class TTable, class... TArgs>
    TTable* Make(TArgs... args)
    {
        TTable* pTable = new TTable(&source, args...);
        EXPECT_TRUE(pTable->Create());
        return pTable;
    }
    void Fire(const std::string& strLine) { FireTableLine(source, strLine.c_str()); }
    void FireAll(std::initializer_list<const char*> lines)
    {
        for (const char* pszLine : lines)
            Fire(pszLine);
    }
    // One column of every stored row, joined by ','.
    static std::string Column(const CDataArray& rows, int nCol)
    {
        std::string strText;
        for (int i = 0; i < rows.GetCount(); ++i)
            strText += (i > 0 ? "," : "") + std::string(rows.GetAt(i)->GetText(nCol));
        return strText;
    }
};
