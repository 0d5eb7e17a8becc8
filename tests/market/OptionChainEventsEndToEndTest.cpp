// The option chain form and the corporate events download end to end as the trader against the
// test server, in English and Arabic: the download filter through the menu command (a picker
// left without a date sends an empty field) and through the events table's refresh; the option
// chain form opened for a symbol, its two "GO" requests, the strike, right and expiry filters
// driven through the form's controls, and a marked series subscribed. Pictures of both.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "app/AppCommands.h"
#include "app/FormMDIWnd.h"
#include "app/NorvMainFrame.h"
#include "app/TableMDIWnd.h"
#include "app/ZorvatApp.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "framework/window/TableWindow.h"
#include "market/CorporateEventsTable.h"
#include "market/DataArray.h"
#include "market/OptionChainDlg.h"
#include "market/OptionChainTable.h"
#include "market/dialogs/CorpEventDownloadFilterDlg.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/user/DateTimePick.h"
#include "platform/win/user/Menu.h"
#include "platform/win/user/VirtualKeys.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/TerminalRun.h"
#include "tests/link/LinkSessionSupport.h"
#include "tests/market/MarketSessionSupport.h"

namespace {
std::string PickerText(HWND hDlg, int nId)
{
    char sz[64] = "";
    GetDlgItemTextA(hDlg, nId, sz, sizeof sz);
    return sz;
}

struct OptionChainSession : CMarketSession
{
    std::string strLanguage;

    void Start(bool bArabic)
    {
        strLanguage = bArabic ? "ar" : "en";
        ASSERT_TRUE(StartSession({}, bArabic));
    }
    void TearDown() override
    {
        CancelDialogStep();
        StopSession();
    }
    // The bodies of the requests of a type, in order (the link's sequence number and "XC" left out).
    std::vector<std::string> Sent(const std::string& strMnemonic) const
    {
        std::vector<std::string> bodies;
        for (const std::string& line : server.Received()) {
            const size_t nHead = line.find("|XC|");
            if (line.rfind("&" + strMnemonic + "|", 0) == 0 && nHead != std::string::npos)
                bodies.push_back(line.substr(std::min(line.size(), nHead + 5)));
        }
        return bodies;
    }
    bool AwaitSent(const std::string& strMnemonic, size_t nCount)
    {
        return PumpUntil([&] { return Sent(strMnemonic).size() >= nCount; }, 10000);
    }

    // The command's dialog: today and 90 days back; the from picker unchecked, so the request
    // carries no start. The events table's refresh runs it again, with both dates kept.
    void CheckCorporateEventsDownload()
    {
        const COleDateTime today = COleDateTime::GetCurrentTime();
        const COleDateTime back = today - COleDateTimeSpan(90, 0, 0, 0);
        RunOnNextDialog(IDC_CORP_EVENT_FROM, [&](HWND hDlg) {
            EXPECT_EQ(std::string(back.Format("%d/%m/%Y")), PickerText(hDlg, IDC_CORP_EVENT_FROM));
            EXPECT_EQ(std::string(today.Format("%d/%m/%Y")), PickerText(hDlg, IDC_CORP_EVENT_TO));
            SendDlgItemMessageA(hDlg, IDC_CORP_EVENT_FROM, WM_KEYDOWN, VK_SPACE, 0);
            UpdateWindow(hDlg);
            UpdateWindow(GetDlgItem(hDlg, IDC_CORP_EVENT_FROM));
            EXPECT_TRUE(TbSaveWindowPng(hDlg, ScreenshotPath("market_corp_event_filter_" + strLanguage).c_str()));
            SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hDlg, IDOK)));
        });
        ASSERT_TRUE(pRun->App().RunCommand(ID_APP_CORP_EVENTS));
        EXPECT_TRUE(DialogStepRan()) << "the dialog never came";
        const CString strTo = CCorpEventDownloadFilterDlg::ServerDateOf(today);
        ASSERT_TRUE(AwaitSent("CE", 1));
        EXPECT_EQ("|||||" + std::string(strTo), Sent("CE").back()) << "an empty start, then today";
        auto* pEvents = Find<CCorporateEventsTable>(IDS_TABLE_CORPORATE_EVENTS);
        ASSERT_NE(nullptr, pEvents);
        ASSERT_TRUE(PumpUntil([&] { return pEvents->IsComplete() && pEvents->GetRows()->GetCount() > 0; }, 10000));
        ASSERT_NE(nullptr, pEvents->GetMainWindow());
        EXPECT_TRUE(IsWindowVisible(pEvents->GetMainWindow()->m_hWnd));

        // The table's menu starts with its refresh, which runs the dialog again.
        HMENU hMenu = pEvents->CreateContextMenu();
        ASSERT_NE(nullptr, hMenu);
        EXPECT_EQ(33175u, GetMenuItemID(hMenu, 0));
        EXPECT_EQ(0u, GetMenuItemID(hMenu, 1)) << "a separator under it";
        DestroyMenu(hMenu);
        RunOnNextDialog(IDC_CORP_EVENT_FROM, [](HWND hDlg) {
            SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hDlg, IDOK)));
        });
        SendMessageA(pEvents->GetMainWindow()->m_hWnd, WM_COMMAND, 33175, 0);
        ASSERT_TRUE(AwaitSent("CE", 2));
        EXPECT_EQ("||||" + std::string(CCorpEventDownloadFilterDlg::ServerDateOf(back)) + "|" + std::string(strTo),
                  Sent("CE").back());
        EXPECT_EQ(pEvents, Find<CCorporateEventsTable>(IDS_TABLE_CORPORATE_EVENTS)) << "the open table is used again";
    }

    static std::string RowsText(const CDataArray& rows)
    {
        std::string str;
        for (int i = 0; i < rows.GetCount(); ++i)
            for (int nCol = 0; nCol < 4; ++nCol)
                str += std::string(static_cast<LPCSTR>(rows.GetAt(i)->GetText(nCol))) + (nCol < 3 ? "," : ";");
        return str;
    }
    static double Strike(const CDataBuffer* pRow) { return atof(pRow->GetText(2)); }
    // 'C' for a call (right 1), 'P' for a put (right 2).
    static char Right(const CDataBuffer* pRow)
    {
        const std::string strRight = static_cast<LPCSTR>(pRow->GetText(1));
        return strRight == "1" ? 'C' : strRight == "2" ? 'P' : '?';
    }
    // The stored rows that pass, against the rows the view shows.
    static int ShownRows(COptionChainTable* pTable)
    {
        CViewTable* pView = pTable->GetTable()->GetView(0);
        int nShown = 0;
        CViewRow row(pView);
        for (int i = 0; i < pView->GetRowCount(); ++i)
            nShown += pView->GetRow(row, i) && row.IsDataRow() ? 1 : 0;
        return nShown;
    }
    static void ExpectShown(COptionChainTable* pTable, const std::function<bool(const CDataBuffer*)>& pass, const char* pszWhat)
    {
        int nExpected = 0;
        for (int i = 0; i < pTable->GetRows()->GetCount(); ++i)
            nExpected += pass(pTable->GetRows()->GetAt(i)) ? 1 : 0;
        EXPECT_GT(nExpected, 0) << pszWhat;
        EXPECT_LT(nExpected, pTable->GetRows()->GetCount()) << pszWhat;
        EXPECT_EQ(nExpected, ShownRows(pTable)) << pszWhat;
    }

    void CheckOptionChain()
    {
        pRun->App().OpenOptionChain("ALPN");
        CNorvMainFrame* pFrame = pRun->App().GetMainFrame();
        ASSERT_NE(nullptr, pFrame);
        auto* pForm = dynamic_cast<CFormMDIWnd*>(pFrame->MDIGetActive());
        ASSERT_NE(nullptr, pForm);
        ASSERT_EQ(static_cast<UINT>(IDD_FORM_OPTION_CHAIN), pForm->GetTemplateId());
        const HWND hDlg = pForm->GetView()->m_hWnd;
        EXPECT_EQ("ALPN", PickerText(hDlg, IDC_OPTION_TICKER));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hDlg, IDC_OPTION_REQUEST)));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hDlg, IDC_OPTION_SUBSCRIBE)));
        EXPECT_EQ("", PickerText(hDlg, IDC_OPTION_EXPIRY_FROM)) << "no expiry at first";
        auto* pTable = Find<COptionChainTable>(IDS_TABLE_OPTION_CHAIN);
        ASSERT_NE(nullptr, pTable);

        // Puts first, then calls, into the one table.
        auto command = [&](int nId, int nCode) {
            SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nId, nCode), reinterpret_cast<LPARAM>(GetDlgItem(hDlg, nId)));
        };
        command(IDC_OPTION_REQUEST, BN_CLICKED);
        ASSERT_TRUE(AwaitSent("GO", 2));
        EXPECT_EQ((std::vector<std::string>{"||ALPN|2", "||ALPN|1"}), Sent("GO"));
        const CDataArray& rows = *pTable->GetRows();
        auto bothRights = [&] {
            bool bCall = false, bPut = false;
            for (int i = 0; i < rows.GetCount(); ++i) {
                bCall = bCall || Right(rows.GetAt(i)) == 'C';
                bPut = bPut || Right(rows.GetAt(i)) == 'P';
            }
            return bCall && bPut && pTable->IsComplete();
        };
        ASSERT_TRUE(PumpUntil(bothRights, 10000)) << RowsText(rows);

        // A strike that is no number is cleared; a number narrows the view.
        SetDlgItemTextA(hDlg, IDC_OPTION_STRIKE_FROM, "4x");
        command(IDC_OPTION_STRIKE_FROM, EN_KILLFOCUS);
        EXPECT_EQ("", PickerText(hDlg, IDC_OPTION_STRIKE_FROM));
        double dMiddle = 0.0;
        for (int i = 0; i < rows.GetCount(); ++i)
            dMiddle += Strike(rows.GetAt(i)) / rows.GetCount();
        char szStrike[32];
        snprintf(szStrike, sizeof szStrike, "%.0f", dMiddle);
        const double dFrom = atof(szStrike);
        SetDlgItemTextA(hDlg, IDC_OPTION_STRIKE_FROM, szStrike);
        command(IDC_OPTION_STRIKE_FROM, EN_KILLFOCUS);
        ExpectShown(pTable, [&](const CDataBuffer* p) { return Strike(p) >= dFrom - 1e-9; }, "strikes from the middle");

        // Calls only (the chooser's first entry).
        SendDlgItemMessageA(hDlg, IDC_OPTION_RIGHT, CB_SETCURSEL, 0, 0);
        command(IDC_OPTION_RIGHT, CBN_SELCHANGE);
        ExpectShown(pTable, [&](const CDataBuffer* p) { return Strike(p) >= dFrom - 1e-9 && Right(p) == 'C'; },
                    "calls from the middle strike");

        // Expiries through the pickers as a user sets them: from today to the nearest expiry.
        std::string strFirst = "99999999";
        for (int i = 0; i < rows.GetCount(); ++i)
            strFirst = std::min(strFirst, std::string(static_cast<LPCSTR>(rows.GetAt(i)->GetText(3))));
        const HWND hFrom = GetDlgItem(hDlg, IDC_OPTION_EXPIRY_FROM), hTo = GetDlgItem(hDlg, IDC_OPTION_EXPIRY_TO);
        SendMessageA(hFrom, WM_KEYDOWN, VK_SPACE, 0);       // checked: today
        const COleDateTime dayAfter = COleDateTime(atoi(strFirst.substr(0, 4).c_str()), atoi(strFirst.substr(4, 2).c_str()),
                                                   atoi(strFirst.substr(6, 2).c_str()), 0, 0, 0) + COleDateTimeSpan(1, 0, 0, 0);
        SYSTEMTIME st = {};
        ASSERT_TRUE(dayAfter.GetAsSystemTime(st));
        ASSERT_TRUE(SendMessageA(hTo, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st)));
        SendMessageA(hTo, WM_KEYDOWN, VK_HOME, 0);          // the year: a year back and forth again
        SendMessageA(hTo, WM_KEYDOWN, VK_DOWN, 0);
        SendMessageA(hTo, WM_KEYDOWN, VK_UP, 0);
        ExpectShown(pTable, [&](const CDataBuffer* p) {
            return Strike(p) >= dFrom - 1e-9 && Right(p) == 'C' && std::string(static_cast<LPCSTR>(p->GetText(3))) == strFirst;
        }, "calls of the first expiry");
        // A range that ends on the expiry day leaves it out.
        SendMessageA(hTo, WM_KEYDOWN, VK_END, 0);
        SendMessageA(hTo, WM_KEYDOWN, VK_DOWN, 0);
        EXPECT_EQ(0, ShownRows(pTable)) << "expiries before " << strFirst;
        SendMessageA(hTo, WM_KEYDOWN, VK_UP, 0);
        EXPECT_EQ(1, ShownRows(pTable));

        // A marked series subscribed; the grid's marks switch the button.
        CTableWindow* pGrid = dynamic_cast<CTableWindow*>(CTBWnd::FromHandle(GetDlgItem(hDlg, IDC_OPTION_GRID)));
        ASSERT_NE(nullptr, pGrid);
        CViewTable* pView = pTable->GetTable()->GetView(0);
        CViewRow row(pView);
        ASSERT_TRUE(pView->GetRow(row, 0) && row.IsDataRow());
        CTBString strSymbol;
        row.GetText(strSymbol, 0);
        row.SetMarked(TRUE);
        pGrid->FireRowMarked(&row, TRUE);
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hDlg, IDC_OPTION_SUBSCRIBE)));
        command(IDC_OPTION_SUBSCRIBE, BN_CLICKED);
        ASSERT_TRUE(PumpUntil([&] {
            for (const std::string& line : Sent("GS"))
                if (line == std::string(static_cast<LPCSTR>(strSymbol)) + "|1")
                    return true;
            return false;
        }, 10000)) << static_cast<LPCSTR>(strSymbol);

        PumpFor(100);
        UpdateWindow(pForm->m_hWnd);
        EXPECT_TRUE(TbSaveWindowPng(pForm->m_hWnd, ScreenshotPath("market_option_chain_" + strLanguage).c_str()));

        // Opened again for another symbol: the form is reset, the table emptied.
        pRun->App().OpenOptionChain("CDRX");
        EXPECT_EQ(pForm, dynamic_cast<CFormMDIWnd*>(pFrame->MDIGetActive())) << "one option chain form";
        EXPECT_EQ("CDRX", PickerText(hDlg, IDC_OPTION_TICKER));
        EXPECT_EQ("", PickerText(hDlg, IDC_OPTION_STRIKE_FROM));
        EXPECT_EQ("", PickerText(hDlg, IDC_OPTION_EXPIRY_TO));
        EXPECT_EQ(0, rows.GetCount());
        SetDlgItemTextA(hDlg, IDC_OPTION_TICKER, "");
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hDlg, IDC_OPTION_REQUEST))) << "no ticker, no request";
    }
};

TEST_F(OptionChainSession, EventsDownloadAndOptionChainInEnglish)
{
    Start(false);
    CheckCorporateEventsDownload();
    CheckOptionChain();
}

TEST_F(OptionChainSession, EventsDownloadAndOptionChainInArabic)
{
    Start(true);
    CheckCorporateEventsDownload();
    CheckOptionChain();
}
}  // namespace
