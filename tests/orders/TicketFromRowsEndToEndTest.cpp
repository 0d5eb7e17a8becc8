// The order ticket opened where the trader finds a symbol: "Order ticket" in the row menus of the
// US quotations and of the ticker lookup's results, and a double click on a KSE quotation's name
// or last price; each time the ticket shows the row's symbol. "Go to symbol" in the US
// quotations' row menu asks for the chart of the row's symbol.
#include <gtest/gtest.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>
#include "OrderTestSupport.h"
#include "app/ChartWindows.h"
#include "app/FormMDIWnd.h"
#include "app/NorvMainFrame.h"
#include "app/TableMDIWnd.h"
#include "framework/table/ViewTable.h"
#include "framework/window/TableWindow.h"
#include "market/DataArray.h"
#include "market/QuotationKSETable.h"
#include "market/QuotationTable.h"
#include "market/TableLinks.h"
#include "market/TickerLookupDlg.h"
#include "market/TickerLookupResultsTable.h"
#include "orders/NewPlaceOrderDlg.h"
#include "orders/ReviewDialog.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/TestAnswers.h"
#include "tests/app/AppTestSupport.h"
#include "tests/common/DialogSteps.h"

namespace {

// The charts as far as go to symbol reaches them: the chooser, asked for a symbol of a market
// and cancelled.
struct CChartChooserAsked : IChartMaker
{
    std::string strAsked;
    std::unique_ptr<IChartChoice> AskChoice(int, LPCSTR pszSymbol, int nMarket) override
    {
        strAsked = std::string(pszSymbol != nullptr ? pszSymbol : "") + " " + std::to_string(nMarket);
        return nullptr;
    }
    CFormChart* MakeFrame() override { return nullptr; }
    CWnd* MakeView(int, int) override { return nullptr; }
};

// The market list with the lookup flag (field 8) of every US-type board (family 1, field 12) off.
void ChartTheUsBoards(const std::string& strFile)
{
    std::ifstream in(strFile);
    std::string strText;
    for (std::string strLine; std::getline(in, strLine); strText += strLine + "\n") {
        std::vector<size_t> bars;
        for (size_t n = strLine.find('|'); n != std::string::npos; n = strLine.find('|', n + 1))
            bars.push_back(n);
        if (strLine[0] != '#' && strLine[0] != '@' && bars.size() > 12 && strLine.substr(bars[11] + 1, 2) == "1|")
            strLine[bars[7] + 1] = '0';
    }
    in.close();
    std::ofstream(strFile) << strText;
}

#define ID_ROW_TICKET 33208
#define ID_ROW_GO_TO_SYMBOL 33567

// A mouse message as the display sends it, on the middle of a data cell of the table's main
// window (the column by its index in the table).
void MouseOnCell(CDataTable* pTable, int nRow, int nCol, std::initializer_list<std::pair<UINT, WPARAM>> messages)
{
    CTableWindow& grid = pTable->GetMainWindow()->GetGrid();
    RECT rc;
    ASSERT_TRUE(grid.GetCellRect(nRow, pTable->GetMainWindow()->GetView()->GetColumnOrder().FindPosition(nCol), &rc));
    POINT pt = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    ClientToScreen(grid.m_hWnd, &pt);
    for (const auto& [uMsg, wKeys] : messages) {
        TbDisplayMouse(grid.m_hWnd, uMsg, wKeys, pt);
        PumpFor(20);
    }
}

// The row menu's command as the trader picks it after a right click on the row's first cell.
void PickFromRowMenu(CDataTable* pTable, int nRow, UINT nId)
{
    TbQueueTestAnswer({TB_ASK_POPUPMENU, static_cast<INT_PTR>(nId), ""});
    MouseOnCell(pTable, nRow, 0, {{WM_MOUSEMOVE, 0}, {WM_LBUTTONDOWN, MK_LBUTTON}, {WM_LBUTTONUP, 0},
                                  {WM_RBUTTONDOWN, MK_RBUTTON}, {WM_RBUTTONUP, 0}});
    PumpFor(100);
}

struct TicketFromRows : COrderSession
{
    // The KSE quotations opened from their menu, filled and shown; null when they did not fill.
    CDataTable* ShowKseQuotations()
    {
        CDataTable* pKse = App().RunCommand(33251) ? FindDataTable(IDS_TABLE_QUOTATIONS_KSE) : nullptr;
        if (pKse == nullptr || !PumpUntil([&] { return pKse->GetRows()->GetCount() > 1; }, 20000))
            return nullptr;
        CNorvApp::ShowTable(pKse);
        PumpFor(100);
        return pKse;
    }
    // The market box of the open ticket, "" while none is open.
    std::string TicketMarket() { return TicketText(IDC_TICKET_MARKET); }
    // The ticker box of the open ticket, "" while none is open.
    std::string TicketTicker() { return TicketText(IDC_TICKET_TICKER); }
    std::string TicketText(int nId)
    {
        CFormMDIWnd* pFrame = App().GetOrderTicketForm();
        auto* pTicket = pFrame != nullptr ? dynamic_cast<CNewPlaceOrderDlg*>(pFrame->GetView()) : nullptr;
        if (pTicket == nullptr)
            return "";
        char szText[128] = "";
        GetDlgItemTextA(pTicket->m_hWnd, nId, szText, sizeof szText);
        return szText;
    }
    void CloseTicket()
    {
        if (CFormMDIWnd* pFrame = App().GetOrderTicketForm())
            pFrame->SendMessage(WM_CLOSE);
        PumpPending();
    }
};

}  // namespace

TEST_F(TicketFromRows, RowMenusAndDoubleClicksOpenTheTicketOnTheRowsSymbol)
{
    // The server's data with the US boards charted rather than looked up in the quotations.
    const std::string strData = std::filesystem::temp_directory_path() / ("ticket-rows-" + std::to_string(getpid()));
    std::filesystem::remove_all(strData);
    std::filesystem::copy(TB_SOURCE_DIR "/tools/testserver/data", strData, std::filesystem::copy_options::recursive);
    ChartTheUsBoards(strData + "/reference/markets.txt");
    ASSERT_NO_FATAL_FAILURE(Start(false, {"--data", strData}));

    // The US quotations: the row menu's order ticket, then go to symbol, which asks for a chart
    // of the row's symbol.
    CDataTable* pQuotes = FindDataTable(IDS_TABLE_QUOTATIONS_US);
    ASSERT_NE(nullptr, pQuotes);
    ASSERT_TRUE(PumpUntil([&] { return pQuotes->GetRows()->GetCount() > 0; }, 20000)) << pRun->InfoText();
    ASSERT_TRUE(App().RunCommand(33191));
    PumpFor(100);
    const std::string strUsSymbol = CellText(pQuotes, 0, 0);
    ASSERT_FALSE(strUsSymbol.empty());
    PickFromRowMenu(pQuotes, 0, ID_ROW_TICKET);
    EXPECT_EQ(0, TbPendingTestAnswers()) << "the row menu popped up";
    EXPECT_NE(std::string::npos, TicketTicker().find(strUsSymbol)) << "ticket shows \"" << TicketTicker() << "\"";
    CloseTicket();
    // Go to symbol asks for the chart of the row's symbol on its board, which here has charts.
    CChartChooserAsked charts;
    RegisterChartMaker(&charts);
    PickFromRowMenu(pQuotes, 0, ID_ROW_GO_TO_SYMBOL);
    RegisterChartMaker(nullptr);
    EXPECT_EQ(strUsSymbol + " " + std::to_string(GetGlobals()->GetMarketCode(CellText(pQuotes, 0, QC_MARKET).c_str())),
              charts.strAsked);

    // The ticker lookup's results.
    ASSERT_TRUE(App().RunCommand(33195));
    CFormMDIWnd* pLookup = dynamic_cast<CFormMDIWnd*>(App().GetMainFrame()->MDIGetActive());
    ASSERT_NE(nullptr, pLookup);
    SetDlgItemTextA(pLookup->GetView()->m_hWnd, IDC_LOOKUP_TICKER, "AL");
    SendMessageA(GetDlgItem(pLookup->GetView()->m_hWnd, IDC_LOOKUP_SEARCH), BM_CLICK, 0, 0);
    CDataTable* pResults = FindDataTable(IDS_TABLE_TICKER_LOOKUP_RESULTS);
    ASSERT_NE(nullptr, pResults);
    ASSERT_TRUE(PumpUntil([&] { return pResults->IsComplete() && pResults->GetRows()->GetCount() > 0; }, 10000));
    const std::string strFound = CellText(pResults, 0, 0);
    PickFromRowMenu(pResults, 0, ID_ROW_TICKET);
    EXPECT_NE(std::string::npos, TicketTicker().find(strFound)) << "ticket shows \"" << TicketTicker() << "\"";
    CloseTicket();

    // The KSE quotations: a double click on the name, then on the last price.
    CDataTable* pKse = ShowKseQuotations();
    ASSERT_NE(nullptr, pKse);
    for (const auto& [nRow, nCol] : {std::pair{0, KC_TEXT}, {1, KC_LAST}}) {
        // The ticket names a KSE stock by its number and name.
        const std::string strStock = CellText(pKse, nRow, KC_STOCK) + "/";
        MouseOnCell(pKse, nRow, nCol, {{WM_MOUSEMOVE, 0}, {WM_LBUTTONDOWN, MK_LBUTTON}, {WM_LBUTTONUP, 0},
                                       {WM_LBUTTONDBLCLK, MK_LBUTTON}, {WM_LBUTTONUP, 0}});
        PumpFor(100);
        EXPECT_EQ(0u, TicketTicker().find(strStock))
            << "column " << nCol << ": ticket shows \"" << TicketTicker() << "\" for " << strStock;
        // In front of the quotations, with the keys.
        CFormMDIWnd* pTicket = App().GetOrderTicketForm();
        ASSERT_NE(nullptr, pTicket);
        EXPECT_EQ(pTicket, App().GetMainFrame()->MDIGetActive());
        EXPECT_TRUE(IsChild(pTicket->m_hWnd, GetFocus()));
        CloseTicket();
    }

    // The US ticket's command that no menu keeps opens the same empty ticket as the menu's.
    ASSERT_EQ(nullptr, App().GetOrderTicketForm());
    EXPECT_NE(nullptr, Command(33336));
    std::filesystem::remove_all(strData);
}

// F4 (KSE > Buy) over the KSE quotations buys the selected stock, on the KSE market even when the
// open ticket was on another; from a window without a selected stock it opens the KSE ticket empty.
TEST_F(TicketFromRows, F4BuysTheSelectedKseQuotationOnTheKseMarket)
{
    ASSERT_NO_FATAL_FAILURE(Start(false));
    const std::string strKse = static_cast<LPCSTR>(GetGlobals()->GetMarketName(2));
    CNewPlaceOrderDlg* pTicket = Command(33049);
    ASSERT_NE(nullptr, pTicket);
    pTicket->SelectMarket(GetGlobals()->GetMarketName(16));
    ASSERT_NE(strKse, TicketMarket());
    CDataTable* pKse = ShowKseQuotations();
    ASSERT_NE(nullptr, pKse);
    MouseOnCell(pKse, 1, KC_STOCK, {{WM_MOUSEMOVE, 0}, {WM_LBUTTONDOWN, MK_LBUTTON}, {WM_LBUTTONUP, 0}});
    const std::string strStock = CellText(pKse, 1, KC_STOCK) + "/";
    EXPECT_TRUE(pRun->TypeKey(VK_F4, [&] { return TicketTicker().find(strStock) == 0; })) << TicketTicker();
    EXPECT_EQ(strKse, TicketMarket());
    CloseTicket();

    App().GetMainFrame()->MDINext();
    PumpFor(100);
    auto* pActive = dynamic_cast<CTableMDIWnd*>(App().GetMainFrame()->MDIGetActive());
    ASSERT_TRUE(pActive != nullptr && pActive->GetDataTable() != pKse);
    pRun->TypeKey(VK_F4, [&] { return App().GetOrderTicketForm() != nullptr; });
    EXPECT_EQ(strKse, TicketMarket());
    EXPECT_EQ("", TicketTicker());
}

namespace {
// A symbol of every US market the user may trade (the KSE's stocks are no lookup's), from the
// reference data: the market's code and its first symbol.
std::vector<std::pair<long, std::string>> UsMarketSymbols()
{
    std::vector<std::pair<long, std::string>> symbols;
    CArray<int, int> codes;
    GetGlobals()->GetMarketCodeList(codes);
    for (int i = 0; i < codes.GetSize(); ++i) {
        CStringArray marketSymbols;
        GetGlobals()->GetMarketSymbols(codes[i], marketSymbols);
        for (int j = 0; codes[i] != 2 && j < marketSymbols.GetSize(); ++j)
            if (marketSymbols[j].GetLength() > 0 && marketSymbols[j][0] != '.') {
                symbols.emplace_back(codes[i], static_cast<LPCSTR>(marketSymbols[j]));
                break;
            }
    }
    return symbols;
}

// The ticker lookup's result picked from its row menu, while the ticket stands on each market of
// its market box (and on none, and holding a KSE order begun, which it replaces and says so): the
// ticket opens on the symbol's own market, with its description and its fields ready to fill. Then an order placed from a
// result, and the next result picked at once, before the first order is answered: the reply
// leaves the next symbol and its market as they are.
void LookupResultsOpenTheirMarkets(TicketFromRows& s, bool bArabic)
{
    ASSERT_NO_FATAL_FAILURE(s.Start(bArabic, {"--rate", "0", "--scenario", "delay=OR:1"}));
    const std::vector<std::pair<long, std::string>> symbols = UsMarketSymbols();
    ASSERT_GE(symbols.size(), 2u);
    CNewPlaceOrderDlg* pTicket = s.Command(33100);
    ASSERT_NE(nullptr, pTicket);
    const HWND hDlg = pTicket->m_hWnd;
    std::vector<std::string> starts = BoxItems(hDlg, IDC_TICKET_MARKET);
    starts.push_back("");
    ASSERT_TRUE(s.App().RunCommand(33195));
    CFormMDIWnd* pLookup = dynamic_cast<CFormMDIWnd*>(s.App().GetMainFrame()->MDIGetActive());
    ASSERT_NE(nullptr, pLookup);
    const HWND hLookup = pLookup->GetView()->m_hWnd;
    CDataTable* pResults = nullptr;
    const auto Pick = [&](const std::string& strSymbol) {
        SetDlgItemTextA(hLookup, IDC_LOOKUP_TICKER, strSymbol.c_str());
        SendMessageA(GetDlgItem(hLookup, IDC_LOOKUP_SEARCH), BM_CLICK, 0, 0);
        pResults = FindDataTable(IDS_TABLE_TICKER_LOOKUP_RESULTS);
        ASSERT_NE(nullptr, pResults);
        ASSERT_TRUE(PumpUntil([&] { return pResults->IsComplete() && CellText(pResults, 0, 0) == strSymbol; }, 10000));
        PickFromRowMenu(pResults, 0, ID_ROW_TICKET);
    };
    const auto ExpectOnItsMarket = [&](long nMarket, const std::string& strSymbol) {
        const std::string strMarket = static_cast<LPCSTR>(GetGlobals()->GetMarketName(nMarket));
        EXPECT_TRUE(PumpUntil([&] { return s.TicketMarket() == strMarket && !s.TicketText(IDC_TICKET_DESCRIPTION).empty(); }, 5000))
            << "market \"" << s.TicketMarket() << "\", description \"" << s.TicketText(IDC_TICKET_DESCRIPTION) << "\"";
        EXPECT_EQ(0u, s.TicketTicker().find(strSymbol)) << s.TicketTicker();
        for (int nId : {IDC_TICKET_SIDE, IDC_TICKET_TYPE, IDC_TICKET_VALIDITY, IDC_TICKET_QUANTITY})
            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hDlg, nId))) << "control " << nId << " grey";
    };
    const std::string strKse = static_cast<LPCSTR>(GetGlobals()->GetMarketName(2));
    for (const std::string& strStart : starts)
        for (const auto& [nMarket, strSymbol] : symbols) {
            SCOPED_TRACE("on \"" + strStart + "\": " + strSymbol);
            ASSERT_EQ(pTicket, s.Command(33100));
            ClickControl(hDlg, IDC_TICKET_RESET);
            PumpPending();
            if (!strStart.empty())
                ChooseItem(hDlg, IDC_TICKET_MARKET, strStart);
            if (strStart == strKse)
                EnterText(hDlg, IDC_TICKET_QUANTITY, "1,000");
            const size_t nInfo = s.pRun->InfoText().size();
            Pick(strSymbol);
            ExpectOnItsMarket(nMarket, strSymbol);
            // The KSE order begun is no order of a US symbol: replaced, and told.
            if (strStart == strKse) {
                EXPECT_NE(std::string::npos, s.pRun->InfoText().find("(1,000)", nInfo)) << s.pRun->InfoText();
            }
        }

    // An order from the last result, and at once the next result picked.
    const auto& [nLast, strLast] = symbols.back();
    const auto& [nNext, strNext] = symbols.front();
    ChooseItem(hDlg, IDC_TICKET_SIDE, BoxItems(hDlg, IDC_TICKET_SIDE).front());
    EnterText(hDlg, IDC_TICKET_QUANTITY, "10");
    if (s.TicketText(IDC_TICKET_LIMIT).empty())
        EnterText(hDlg, IDC_TICKET_LIMIT, "20");
    RunDialogSteps({{IDC_REVIEW_PASSWORD, [](HWND h) {
                       SetDlgItemTextA(h, IDC_REVIEW_PASSWORD, "secret");
                       ClickControl(h, IDOK);
                   }}});
    const size_t nOrders = s.Count("OR");
    ClickControl(hDlg, IDC_TICKET_SUBMIT);
    ASSERT_TRUE(PumpUntil([&] { return s.Count("OR") == nOrders + 1; })) << s.pRun->InfoText();
    EXPECT_EQ(std::to_string(nLast), BodyOf(s.Requests({"OR"}).back())[16]) << "the order on its symbol's market";
    Pick(strNext);
    ExpectOnItsMarket(nNext, strNext);
    ASSERT_TRUE(PumpUntil([&] { return !pTicket->GetPending().IsOrderPending(); })) << "answered";
    PumpFor(200);
    ExpectOnItsMarket(nNext, strNext);
}
}  // namespace

TEST_F(TicketFromRows, ALookupResultOpensTheTicketOnItsSymbolsMarket)
{
    LookupResultsOpenTheirMarkets(*this, false);
}

TEST_F(TicketFromRows, ALookupResultOpensTheTicketOnItsSymbolsMarketInArabic)
{
    LookupResultsOpenTheirMarkets(*this, true);
}
