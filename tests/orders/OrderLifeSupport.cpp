#include "tests/orders/OrderLifeSupport.h"

#include <map>

#include "account/AccountTable.h"
#include "account/OrderStatusKSETable.h"
#include "account/OrderStatusTable.h"
#include "app/AppCommands.h"
#include "app/FormMDIWnd.h"
#include "app/TableMDIWnd.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "market/DataArray.h"
#include "market/DataTable.h"
#include "market/TableLinks.h"
#include "orders/ModifyOrderForm.h"
#include "platform/win/user/MessageBox.h"
#include "platform/win/user/TestAnswers.h"
#include "tests/app/AppTestSupport.h"

// The order number's column of both order status tables.
#define ORDER_COLUMN 1


// A live line of the server with these data fields, the others empty.
namespace {
std::string Live(const char* pszMnemonic, const std::map<int, std::string>& fields)
{
    std::string strLine = std::string("~") + pszMnemonic + "|0|XC|";
    for (int i = 0; i <= fields.rbegin()->first; ++i)
        strLine += "|" + (fields.count(i) != 0 ? fields.at(i) : std::string());
    return strLine;
}
}  // namespace

// A US order's line (quantity, open, filled, status), an option's with its series.
std::string UsOrderLine(long nOrder, long nQuantity, long nOpen, long nFilled, long nStatus, bool bOption)
{
    std::map<int, std::string> fields = {{0, std::to_string(nOrder)}, {1, "20261209095959"}, {2, "ALPN"}, {3, "1"},
                                         {4, std::to_string(nQuantity)}, {5, std::to_string(nOpen)},
                                         {6, std::to_string(nFilled)}, {8, "0"}, {9, "30.00"}, {11, "0"},
                                         {16, std::to_string(nStatus)}, {21, "0"}, {27, "4"}, {28, "=USD"}};
    if (bOption) {
        fields[2] = "ALPN";
        fields[23] = "ALPN";
        fields[24] = "1";
        fields[25] = "30";
        fields[26] = "261218";
    }
    return Live("NO", fields);
}

std::string UsTradeLine(long nTrade, long nOrder, long nQuantity, bool bOption)
{
    std::map<int, std::string> fields = {{0, std::to_string(nTrade)}, {1, "20261209100000"}, {2, "1"}, {3, "ALPN"},
                                         {4, std::to_string(nQuantity)}, {5, "30.00"}, {9, std::to_string(nOrder)},
                                         {10, "1"}, {16, "4"}};
    if (bOption) {
        fields[12] = "ALPN";
        fields[13] = "1";
        fields[14] = "30";
        fields[15] = "261218";
    }
    return Live("NT", fields);
}

// The order's status change: 5 cancelled, 7 expired.
std::string UsStatusLine(long nOrder, long nStatus)
{
    return Live("NC", {{0, std::to_string(nOrder)}, {1, "0"}, {2, std::to_string(nStatus)}, {3, "4"},
                       {4, "S" + std::to_string(nOrder)}});
}

std::string KseOrderLine(long nOrder, long nQuantity, long nOpen, long nFilled, long nStatus)
{
    return Live("NS", {{0, std::to_string(nOrder)}, {1, "20261209095959"}, {2, "101"}, {3, "1"},
                       {4, std::to_string(nQuantity)}, {5, std::to_string(nOpen)}, {6, std::to_string(nFilled)},
                       {8, "0"}, {9, "800"}, {11, "0"}, {16, std::to_string(nStatus)}, {23, "1"}, {24, "20261209"},
                       {25, "S" + std::to_string(nOrder)}});
}

std::string KseTradeLine(long nTrade, long nOrder, long nQuantity)
{
    return Live("NX", {{0, "1"}, {1, std::to_string(nTrade)}, {2, "20261209100000"}, {3, "1"}, {4, "101"},
                       {5, std::to_string(nQuantity)}, {6, "800"}, {7, "1.5"}, {13, std::to_string(nOrder)},
                       {14, "S" + std::to_string(nOrder)}, {15, "1"}, {17, "20261209"}});
}

std::string ForwardOrderLine(long nOrder, long nQuantity, long nFilled, long nStatus)
{
    return Live("NF", {{0, std::to_string(nOrder)}, {1, "20261209095959"}, {2, "101"}, {3, "3"}, {4, "1"},
                       {5, std::to_string(nQuantity)}, {6, std::to_string(nFilled)}, {7, "820"}, {9, "0"},
                       {10, "1"}, {11, std::to_string(nStatus)}, {12, "S" + std::to_string(nOrder)}, {13, "0"}});
}

std::string ForwardTradeLine(long nTrade, long nOrder, long nQuantity)
{
    return Live("NW", {{0, std::to_string(nTrade)}, {1, "20261209100000"}, {2, "1"}, {3, "101"}, {4, "3"}, {5, "1"},
                       {6, std::to_string(nQuantity)}, {7, "820"}, {8, "0"}, {9, "0"}, {13, std::to_string(nOrder)},
                       {14, "S" + std::to_string(nOrder)}, {15, "1"}});
}

size_t TimesIn(const std::string& strText, const std::string& strPart)
{
    size_t nCount = 0;
    for (size_t n = 0; (n = strText.find(strPart, n)) != std::string::npos; n += strPart.size())
        ++nCount;
    return nCount;
}

void OrderLifeSession::RegisterMakers()
{
    COrderStatusSession::RegisterMakers();
    RegisterTableMaker(IDS_TABLE_US_TRADES, MakeDataTable<CExecutedTradesTable>);
    RegisterTableMaker(IDS_TABLE_KSE_TRADES, MakeDataTable<CExecutedTradesKSETable>);
}

void OrderLifeSession::TearDown()
{
    COrderStatusSession::TearDown();
    RegisterTableMaker(IDS_TABLE_US_TRADES, pfnUsTrades);
    RegisterTableMaker(IDS_TABLE_KSE_TRADES, pfnKseTrades);
}

namespace {
void WaitLoaded(const CTestServer& server)
{
    // The terminal asks for some tables again once its first load is done: settled when the
    // server has had no request for a while and every table has its rows.
    size_t nRequests = 0;
    ASSERT_TRUE(PumpUntil([&] {
        PumpFor(200);
        const size_t nNow = server.Log().size();
        const bool bQuiet = nNow == nRequests;
        nRequests = nNow;
        for (UINT nTable : {IDS_TABLE_US_ORDERS, IDS_TABLE_KSE_ORDERS, IDS_TABLE_US_TRADES, IDS_TABLE_KSE_TRADES})
            if (FindDataTable(nTable) == nullptr || !FindDataTable(nTable)->IsComplete() || FindDataTable(nTable)->IsReceiving())
                return false;
        return bQuiet;
    }, 8000));
}
}  // namespace

void OrderLifeSession::StartLoaded(bool bArabic)
{
    StartTrader(bArabic);
    ASSERT_NO_FATAL_FAILURE(WaitLoaded(server));
}

void OrderLifeSession::LogInAgain(const char* pszUser, const char* pszPassword)
{
    TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDYES, ""});
    App().RunCommand(ID_APP_DISCONNECT);
    ASSERT_TRUE(PumpUntil([&] { return !App().IsConnected(); }, 5000));
    pRun->QueueLogin(pszUser, pszPassword);
    App().RunCommand(ID_APP_CONNECT);
    ASSERT_TRUE(pRun->WaitForLoad()) << pRun->InfoText();
    ASSERT_NO_FATAL_FAILURE(WaitLoaded(server));
}

void OrderLifeSession::Line(const std::string& strLine, int nMillis)
{
    App().GetDispatcher().OnServerMessage(strLine.c_str());
    if (nMillis > 0)
        PumpFor(nMillis);
    else
        PumpPending();
}

std::string OrderLifeSession::Shown(UINT nTable, long nOrder, int nCol) const
{
    const CDataBuffer* pRow = Row(nTable, std::to_string(nOrder));
    return pRow != nullptr ? std::string(pRow->GetText(nCol, TRUE)) : std::string("-");
}

double OrderLifeSession::Number(UINT nTable, long nOrder, int nCol) const
{
    const CDataBuffer* pRow = Row(nTable, std::to_string(nOrder));
    return pRow != nullptr ? pRow->GetDouble(nCol) : -1;
}

size_t OrderLifeSession::ToldFills(long nOrder) const
{
    return TimesIn(pRun->InfoText(), "Order " + std::to_string(nOrder) + ": ");
}

HWND OrderLifeSession::FormOf(long nOrder)
{
    CFormMDIWnd* pFrame = App().GetModifyOrderForm();
    auto* pForm = pFrame != nullptr ? dynamic_cast<CModifyOrderForm*>(pFrame->GetView()) : nullptr;
    return pForm != nullptr && pForm->GetOrderNumber() == nOrder ? pForm->m_hWnd : nullptr;
}

void OrderLifeSession::ClickOrderNumber(UINT nTable, long nOrder)
{
    auto* pTable = dynamic_cast<CAccountTable*>(FindDataTable(nTable));
    ASSERT_NE(nullptr, pTable);
    CTableMDIWnd* pWindow = pTable->GetMainWindow();
    CViewTable* pView = pWindow != nullptr ? pWindow->GetView() : nullptr;
    ASSERT_NE(nullptr, pView);
    for (int i = 0; i < pView->GetRowCount(); ++i) {
        CViewRow row;
        if (pView->GetRow(row, i) && row.IsDataRow() && CDataTable::GetCellValue(&row, ORDER_COLUMN).GetNumber() == nOrder) {
            int nHandled = 0;
            pTable->OnCellClick(&row, ORDER_COLUMN, &nHandled);
            PumpPending();
            return;
        }
    }
    ADD_FAILURE() << "order " << nOrder << " is not shown";
}
