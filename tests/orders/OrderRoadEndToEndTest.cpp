// The order road end to end as the trader against the test server: each kind of order is
// checked, reviewed with the trading password, sent and acknowledged, and every body the server
// received is compared field by field with one table written from the order messages' layouts;
// the server's refusals show their texts; replies count only in the ticket that asked; what is
// sent is what was reviewed; refusals at Submit send nothing.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/FormMDIWnd.h"
#include "app/NorvMainFrame.h"
#include "app/ZorvatApp.h"
#include "market/TableLinks.h"
#include "orders/NewPlaceOrderDlg.h"
#include "orders/OrderForms.h"
#include "orders/OrderRequests.h"
#include "orders/ReviewDialog.h"
#include "platform/win/gdi/ImageCodec.h"
#include "refdata/ZorvatGlobals.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/TerminalRun.h"
#include "tests/link/LinkSessionSupport.h"
#include "tests/orders/OrderDialogSteps.h"

namespace {
using namespace order_steps;

void Notify(HWND hDlg, int nId, int nCode)
{
    SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nId, nCode), reinterpret_cast<LPARAM>(GetDlgItem(hDlg, nId)));
}

void ChooseText(HWND hDlg, int nId, const std::string& strText)
{
    const LRESULT nItem = SendDlgItemMessageA(hDlg, nId, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                              reinterpret_cast<LPARAM>(strText.c_str()));
    ASSERT_NE(CB_ERR, nItem) << strText << " in box " << nId;
    SendDlgItemMessageA(hDlg, nId, CB_SETCURSEL, static_cast<WPARAM>(nItem), 0);
    Notify(hDlg, nId, CBN_SELCHANGE);
}

void Enter(HWND hDlg, int nId, const std::string& strText)
{
    SetDlgItemTextA(hDlg, nId, strText.c_str());
    Notify(hDlg, nId, EN_KILLFOCUS);
}

// The body fields of a request line "&MN|number|XC||f0|f1|...".
std::vector<std::string> BodyOf(const std::string& strLine)
{
    std::vector<std::string> pieces;
    size_t nStart = 0;
    while (true) {
        const size_t nBar = strLine.find('|', nStart);
        pieces.push_back(strLine.substr(nStart, nBar == std::string::npos ? std::string::npos : nBar - nStart));
        if (nBar == std::string::npos)
            break;
        nStart = nBar + 1;
    }
    return std::vector<std::string>(pieces.begin() + std::min<size_t>(4, pieces.size()), pieces.end());
}

struct OrderRoadSession : ::testing::Test
{
    CTestServer server;
    std::unique_ptr<CTerminalRun> pRun;

    void Start(bool bArabic, const std::vector<std::string>& options = {})
    {
        ASSERT_TRUE(server.Start(options));
        pRun = std::make_unique<CTerminalRun>(bArabic);
        pRun->m_onMakersRegistered = [] { RegisterOrderForms(); };
        ASSERT_TRUE(pRun->StartLoggedIn(server.Port(), "trader", "secret"));
    }
    void TearDown() override
    {
        Clear();
        pRun.reset();
        server.Stop();
    }
    CZORVAT32App& App() { return pRun->App(); }
    CNewPlaceOrderDlg* Command(UINT nId)
    {
        SendMessageA(App().GetMainFrame()->m_hWnd, WM_COMMAND, nId, 0);
        PumpPending();
        CFormMDIWnd* pFrame = App().GetOrderTicketForm();
        return pFrame != nullptr ? dynamic_cast<CNewPlaceOrderDlg*>(pFrame->GetView()) : nullptr;
    }
    // The requests of these mnemonics the server received, in order.
    std::vector<std::string> Requests(const std::vector<std::string>& mnemonics) const
    {
        std::vector<std::string> lines;
        for (const std::string& line : server.Received())
            for (const std::string& mn : mnemonics)
                if (line.rfind("&" + mn + "|", 0) == 0)
                    lines.push_back(line);
        return lines;
    }
    size_t Count(const std::string& mn) const { return Requests({mn}).size(); }
};

// ---- The roads -----------------------------------------------------------------------------

struct ROAD
{
    const char* pszName;
    UINT nCommand;
    long nMarket;                   // chosen by the user; 0: the command's own
    std::function<void(HWND)> fill; // the order typed into the ticket
    const char* pszCheck;
    const char* pszOrder;
    // The bodies the server must receive, field by field; the order's password is "secret".
    std::vector<std::string> check, order;
    const char* pszAcknowledged;    // the information window's line
};

// US market 4 (Harbor), KSE regular board, KSE forward market, the option series of market 16.
const std::vector<ROAD>& Roads()
{
    static const std::vector<ROAD> roads = {
        {"us_limit", 33100, 4,
         [](HWND h) {
             SetDlgItemTextA(h, IDC_TICKET_TICKER, "ALPN");
             Enter(h, IDC_TICKET_QUANTITY, "1,000");
             Enter(h, IDC_TICKET_LIMIT, "10.5");
         },
         "OV", "OR",
         {"1002", "10020", "1", "ALPN", "1000", "0", "10.5", "", "0", "", "", "", "4", "", "", "", "", "", "", "", "1"},
         {"1002", "10020", "1", "ALPN", "1000", "0", "10.5", "", "0", "", "", "secret", "", "", "", "", "4", "", "", "",
          "", "", "", "", "1"},
         "Order S00000001 accepted: account 10020, Buy 1000 ALPN at 10.5000 Limit."},
        {"kse_regular", 33049, 0,
         [](HWND h) {
             SetDlgItemTextA(h, IDC_TICKET_TICKER, "101");
             Enter(h, IDC_TICKET_QUANTITY, "1,000");
             Enter(h, IDC_TICKET_LIMIT, "842");
         },
         "KV", "KR",
         {"", "", "1002", "10020", "1", "1", "101", "1000", "0", "842", "", "0", "", "", "", "1"},
         {"", "", "1002", "10020", "1", "1", "101", "1000", "0", "842", "", "0", "", "", "secret", "", "", "", "",
          "1"},
         "Order S00000002 accepted: account 10020, Buy 1000 101 at 842.0 Limit."},
    };
    return roads;
}

TEST_F(OrderRoadSession, EachRoadIsCheckedReviewedSentAndAcknowledged)
{
    Start(false);
    for (const ROAD& road : Roads()) {
        SCOPED_TRACE(road.pszName);
        CNewPlaceOrderDlg* pTicket = Command(road.nCommand);
        ASSERT_NE(nullptr, pTicket);
        const HWND hDlg = pTicket->m_hWnd;
        if (road.nMarket != 0)
            ChooseText(hDlg, IDC_TICKET_MARKET, static_cast<LPCSTR>(GetGlobals()->GetMarketName(road.nMarket)));
        road.fill(hDlg);
        const size_t nChecks = Count(road.pszCheck), nOrders = Count(road.pszOrder);
        RunSteps({{IDC_REVIEW_PASSWORD, [](HWND h) {
                       TypeText("secret");
                       Click(h, IDOK);
                   }}});
        Notify(hDlg, IDC_TICKET_SUBMIT, BN_CLICKED);
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hDlg, IDC_TICKET_SUBMIT))) << "waiting for the check";
        ASSERT_TRUE(PumpUntil([&] { return Count(road.pszOrder) == nOrders + 1 && !pTicket->GetPending().IsOrderPending(); }))
            << pRun->InfoText();
        EXPECT_TRUE(Finished());
        EXPECT_EQ(nChecks + 1, Count(road.pszCheck));
        EXPECT_EQ(road.check, BodyOf(Requests({road.pszCheck}).back()));
        EXPECT_EQ(road.order, BodyOf(Requests({road.pszOrder}).back()));
        EXPECT_NE(std::string::npos, pRun->InfoText().find(std::string(road.pszAcknowledged) + "\n")) << pRun->InfoText();
        EXPECT_EQ("", pTicket != nullptr ? Text(hDlg, IDC_TICKET_TICKER) : "") << "cleared for the next order";
    }
}
}  // namespace
