// The account forms end to end as the trader: performance forms each answered by their own
// reply, the local cash conversion worked exactly as typed and sent as plain numbers, the
// international conversion quoted and made, and nothing sent while the link is down.
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <set>
#include <string>
#include <vector>
#include <unistd.h>
#include "account/AccountForms.h"
#include "app/AppCommands.h"
#include "app/FormMDIWnd.h"
#include "app/NorvMainFrame.h"
#include "app/ZorvatApp.h"
#include "market/DataArray.h"
#include "platform/mfc/OleDateTime.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/user/DateTimePick.h"
#include "platform/win/user/Dialogs.h"
#include "platform/win/user/TestAnswers.h"
#include "refdata/ZorvatClocks.h"
#include "refdata/ZorvatGlobals.h"
#include "tests/account/AccountTestSupport.h"
#include "tests/common/DialogSteps.h"
#include "tests/common/ExpectedData.h"
#include "tests/link/LinkSessionSupport.h"

namespace {

std::vector<std::string> Fields(const std::string& strLine)
{
    std::vector<std::string> fields;
    size_t nStart = 0;
    for (size_t nBar; (nBar = strLine.find('|', nStart)) != std::string::npos; nStart = nBar + 1)
        fields.push_back(strLine.substr(nStart, nBar - nStart));
    fields.push_back(strLine.substr(nStart));
    return fields;
}

// The open form frames of a template, newest last.
std::vector<CFormMDIWnd*> Forms(UINT nTemplate)
{
    std::vector<CFormMDIWnd*> forms;
    HWND hClient = CZORVAT32App::Get()->GetMainFrame()->m_hWndMDIClient;
    for (HWND h = ::GetWindow(hClient, GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT))
        if (auto* pForm = dynamic_cast<CFormMDIWnd*>(CWnd::FromHandlePermanent(h)))
            if (pForm->GetTemplateId() == nTemplate)
                forms.push_back(pForm);
    return forms;
}

HWND ViewOf(UINT nTemplate)
{
    const std::vector<CFormMDIWnd*> forms = Forms(nTemplate);
    return forms.empty() ? nullptr : forms.back()->GetView()->m_hWnd;
}

struct CFormClock : IClockSource
{
    time_t tNow = 0;
    time_t GetNow() const override { return tNow; }
    int GetLocalSecondsOfDay() const override { return 10 * 3600; }
};

// 10:00 local time of a "dd/mm/yyyy" day.
time_t Morning(const std::string& strDay)
{
    tm parts = {};
    parts.tm_mday = atoi(strDay.substr(0, 2).c_str());
    parts.tm_mon = atoi(strDay.substr(3, 2).c_str()) - 1;
    parts.tm_year = atoi(strDay.substr(6, 4).c_str()) - 1900;
    parts.tm_hour = 10;
    parts.tm_isdst = -1;
    return mktime(&parts);
}

// The user picks a "dd/mm/yyyy" day in a date picker of the form.
void PickDay(HWND hForm, int nId, const std::string& strDay)
{
    SYSTEMTIME st = {};
    const COleDateTime day(atoi(strDay.substr(6, 4).c_str()), atoi(strDay.substr(3, 2).c_str()),
                           atoi(strDay.substr(0, 2).c_str()), 10, 0, 0);
    ASSERT_TRUE(day.GetAsSystemTime(st));
    const HWND hPicker = ::GetDlgItem(hForm, nId);
    ASSERT_TRUE(::SendMessageA(hPicker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st)));
    NMDATETIMECHANGE change = {};
    change.nmhdr.hwndFrom = hPicker;
    change.nmhdr.idFrom = static_cast<UINT_PTR>(nId);
    change.nmhdr.code = DTN_DATETIMECHANGE;
    change.st = st;
    ::SendMessageA(hForm, WM_NOTIFY, static_cast<WPARAM>(nId), reinterpret_cast<LPARAM>(&change));
}

struct AccountForms : CAccountSession
{
    CFormClock clock;
    // The creator's pointers of the frames a test opens itself: each frame clears its own when it
    // goes, at the latest when the session ends, so they live as long as the fixture.
    CFormMDIWnd* frames[4] = {};

    void SetUp() override
    {
        ASSERT_TRUE(StartSession({}));
        RegisterAccountForms();
    }
    void TearDown() override
    {
        GetGlobals()->SetClockSource(nullptr);
        CAccountSession::TearDown();
    }
    // The last request of a mnemonic the server received, split at its bars.
    std::vector<std::string> LastReceived(const std::string& strMnemonic) const
    {
        std::string strLine;
        for (const std::string& line : server.Received())
            if (line.rfind("&" + strMnemonic + "|", 0) == 0)
                strLine = line;
        return Fields(strLine);
    }
    // The requests of a mnemonic the server received.
    size_t Count(const std::string& strMnemonic) const
    {
        size_t nCount = 0;
        for (const std::string& line : server.Received())
            nCount += line.rfind("&" + strMnemonic + "|", 0) == 0 ? 1 : 0;
        return nCount;
    }
};

TEST_F(AccountForms, PerformanceFormsTakeOnlyTheirOwnReply)
{
    CZORVAT32App& app = *CZORVAT32App::Get();
    app.RunCommand(33121);
    HWND hFirst = ViewOf(IDD_FORM_PERFORMANCE_US);
    ASSERT_NE(nullptr, hFirst);
    // A second form of the kind, as a second frame.
    CFormMDIWnd*& pSecond = frames[0];
    app.OpenFormWindow(&pSecond, IDD_FORM_PERFORMANCE_US);
    ASSERT_EQ(2u, Forms(IDD_FORM_PERFORMANCE_US).size());
    HWND hSecond = pSecond->GetView()->m_hWnd;
    ASSERT_NE(hFirst, hSecond);

    ClickControl(hSecond, 5923);
    ASSERT_TRUE(PumpUntil([&] { return Count("PF") == 1; }));
    ASSERT_TRUE(PumpUntil([&] { return !ControlText(hSecond, 5925).empty(); }));
    EXPECT_EQ("", ControlText(hFirst, 5925)) << "the other form's reply";
    const std::vector<std::string> reply = Fields(Sent("PF")[0]);
    ASSERT_LT(12u, reply.size());
    EXPECT_EQ("0", reply[8]) << "the result in field 4";
    // Both ask at once for two ranges: each shows the reply that echoes its own range.
    PickDay(hSecond, 5920, ControlText(hSecond, 5921));
    ClickControl(hFirst, 5923);
    ClickControl(hSecond, 5923);
    ASSERT_TRUE(PumpUntil([&] { return Sent("PF").size() == 3; }));
    PumpFor(100);
    const int results[] = {5925, 5928, 5926, 5927, 5929, 5930, 1716, 5931};
    for (HWND hForm : {hFirst, hSecond}) {
        const std::string strFrom = ControlText(hForm, 5920);
        const std::string strEcho = strFrom.substr(8, 2) + strFrom.substr(3, 2) + strFrom.substr(0, 2);
        std::vector<std::string> own;
        for (const std::string& line : Sent("PF"))
            if (Fields(line)[6] == strEcho)
                own = Fields(line);
        ASSERT_LT(16u, own.size()) << strEcho;
        for (int i = 0; i < 8; ++i) {
            std::string strShown = ControlText(hForm, results[i]);
            const double dSent = atof(own[9 + i].c_str());
            EXPECT_EQ(fabs(dSent) >= 1000, strShown.find(',') != std::string::npos) << strShown << ": grouped in thousands";
            strShown.erase(std::remove(strShown.begin(), strShown.end(), ','), strShown.end());
            EXPECT_EQ(own[9 + i], strShown) << strEcho << " " << i << ": the reply's figure whole";
        }
    }
    EXPECT_NE(ControlText(hFirst, 5925), ControlText(hSecond, 5925)) << "two ranges, two answers";

    // The combined form: result in field 4 as well, the base currency in the caption.
    app.RunCommand(40232);
    HWND hCombined = ViewOf(IDD_FORM_PERFORMANCE_COMBINED);
    ASSERT_NE(nullptr, hCombined);
    ASSERT_NE(nullptr, ::GetDlgItem(hCombined, 6969));
    ClickControl(hCombined, 6969);
    ASSERT_TRUE(PumpUntil([&] { return Count("PX") == 1 && !ControlText(hCombined, 6962).empty(); }));
    char szCaption[64] = {};
    ::GetWindowTextA(::GetParent(hCombined), szCaption, sizeof szCaption);
    EXPECT_EQ("AccountPerformance " + std::string(app.GetBaseCurrency()), szCaption);
    SaveDialogScreenshot(hSecond, "account_performance_us");

    // The range opens from 1 January to yesterday, is kept in order and never passes today; a
    // form opened on another day starts from that day's year.
    const struct { const char* pszToday; int nPicker; const char* pszPicked; const char* pszFrom; const char* pszTo; } steps[] = {
        {"15/06/2026", 0, "", "01/01/2026", "14/06/2026"},
        {"15/06/2026", 5921, "20/06/2026", "01/01/2026", "15/06/2026"},
        {"15/06/2026", 5921, "16/06/2026", "01/01/2026", "15/06/2026"},
        {"15/06/2026", 5920, "16/06/2026", "15/06/2026", "15/06/2026"},
        {"15/06/2026", 5920, "01/03/2026", "01/03/2026", "15/06/2026"},
        {"15/06/2026", 5921, "28/02/2026", "01/03/2026", "01/03/2026"},
        {"15/06/2026", 5921, "02/03/2026", "01/03/2026", "02/03/2026"},
        {"15/06/2026", 5920, "03/03/2026", "02/03/2026", "02/03/2026"},
        {"15/06/2026", 5920, "02/03/2026", "02/03/2026", "02/03/2026"},
        {"01/01/2027", 0, "", "01/01/2027", "31/12/2026"},
        {"01/01/2027", 5921, "01/01/2027", "01/01/2027", "01/01/2027"},
    };
    GetGlobals()->SetClockSource(&clock);
    HWND hKse = nullptr;
    int nFrame = 1;
    for (const auto& step : steps) {
        SCOPED_TRACE(std::string(step.pszToday) + " " + step.pszPicked);
        clock.tNow = Morning(step.pszToday);
        if (step.nPicker == 0) {
            ASSERT_LT(nFrame, 4);
            CFormMDIWnd*& pKse = frames[nFrame++];
            app.OpenFormWindow(&pKse, IDD_FORM_PERFORMANCE_KSE);
            ASSERT_NE(nullptr, pKse);
            hKse = pKse->GetView()->m_hWnd;
            EXPECT_EQ(step.pszToday, ControlText(hKse, 1683));
        } else {
            PickDay(hKse, step.nPicker, step.pszPicked);
        }
        EXPECT_EQ(step.pszFrom, ControlText(hKse, 5920));
        EXPECT_EQ(step.pszTo, ControlText(hKse, 5921));
    }
    ClickControl(hKse, 5923);
    ASSERT_TRUE(PumpUntil([&] { return Count("PK") == 1; }));
    const std::vector<std::string> pk = LastReceived("PK");
    ASSERT_LT(9u, pk.size());
    EXPECT_EQ("270101", pk[8]);
    EXPECT_EQ("270101", pk[9]);
}

TEST_F(AccountForms, ConversionsWorkExactlyAndSendPlainNumbers)
{
    CZORVAT32App& app = *CZORVAT32App::Get();
    app.RunCommand(33238);
    HWND hForm = ViewOf(IDD_FORM_CURRENCY_CONVERSION);
    ASSERT_NE(nullptr, hForm);
    ASSERT_TRUE(PumpUntil([&] { return !ControlText(hForm, 6261).empty(); }));
    const std::vector<std::string> cc = Fields(Sent("CC")[0]);
    EXPECT_EQ(cc[10] + "000", ControlText(hForm, 6265)) << "seven decimals";
    // Balances and rates as the server might give them, worked against Python's decimal: the
    // results rounded down exactly (100 at 0.29 gives 29.000, 1.15 at 1 gives 1.15).
    const auto rows = ReadExpectedRows("tests/account/expected_conversions.txt", 'c');
    ASSERT_EQ(200u, rows.size());
    for (const auto& row : rows) {
        ASSERT_EQ(9u, row.size());
        const bool bToThree = row[1] == "1";
        ::SetDlgItemTextA(hForm, 6260, row[4].c_str());
        ::SetDlgItemTextA(hForm, 6261, row[5].c_str());
        ::SetDlgItemTextA(hForm, bToThree ? 6265 : 6264, row[2].c_str());
        ::SendMessageA(::GetDlgItem(hForm, bToThree ? 6267 : 6266), BM_CLICK, 0, 0);
        EnterText(hForm, 6268, row[3]);
        const std::string strCase = row[3] + (bToThree ? " times " : " over ") + row[2];
        EXPECT_EQ(row[6], ControlText(hForm, 6269)) << strCase;
        EXPECT_EQ(row[7], ControlText(hForm, 6270)) << strCase;
        EXPECT_EQ(row[8], ControlText(hForm, 6271)) << strCase;
    }
    SaveDialogScreenshot(hForm, "account_conversion_local");

    // "PB": the amount in its direction's field and both rates, plain.
    ::SetDlgItemTextA(hForm, 6265, "0.3062");
    ::SetDlgItemTextA(hForm, 6264, "0.3068");
    ::SendMessageA(::GetDlgItem(hForm, 6266), BM_CLICK, 0, 0);
    EnterText(hForm, 6268, "");
    ClickControl(hForm, 6262);
    PumpFor(200);
    EXPECT_EQ(0u, Count("PB")) << "no amount, nothing sent";
    EnterText(hForm, 6268, "1000");
    ClickControl(hForm, 6262);
    ASSERT_TRUE(PumpUntil([&] { return Count("PB") == 1; }));
    std::string strLine;
    for (const std::string& line : server.Received())
        if (line.rfind("&PB|", 0) == 0)
            strLine = line;
    const std::vector<std::string> body = Fields(strLine);
    ASSERT_EQ(12u, body.size()) << strLine;
    EXPECT_EQ("", body[8]) << "dinars to dollars: the amount goes in field 5";
    EXPECT_EQ("1000.000", body[9]);
    EXPECT_EQ("0.3062000", body[10]);
    EXPECT_EQ("0.3068000", body[11]);

    // The international form: the pair and amount quoted, then made; each side in its own
    // currency's decimals (the dinar three, the dollar two), the made conversion in the next
    // quote's balances, grouped; the server's 326.668 dollars shows as 326.66, cut at the dollar's
    // places as every field cuts. The trader now holds 2,003,262.60 dollars and 999,000 dinars.
    app.OpenInternationalCurrencyConversion("", "");
    HWND hIntl = ViewOf(IDD_FORM_INTL_CONVERSION);
    ASSERT_NE(nullptr, hIntl);
    const struct
    {
        const char* pszFrom;
        const char* pszTo;
        const char* pszAmount;
        const char* pszSent;
        // Shown: balances, converted amount, new balances.
        const char* pszBalanceFrom;
        const char* pszBalanceTo;
        const char* pszResult;
        const char* pszNewFrom;
        const char* pszNewTo;
        const char* pszMade;    // the line that tells the conversion made
    } quotes[] = {
        {"=USD", "=KWD", "1000.01", "1000.01", "2,003,262.60", "999,000.000", "306.503", "2,002,262.59", "999,306.503",
         "Converted 1,000.01 USD into 306.503 KWD."},
        {"=KWD", "=USD", "100.125", "100.125", "999,306.503", "2,002,262.59", "326.66", "999,206.378", "2,002,589.25",
         "Converted 100.125 KWD into 326.66 USD."},
    };
    for (const auto& q : quotes) {
        SCOPED_TRACE(q.pszFrom);
        const size_t nSent = Count("RC");
        EnterText(hIntl, 6755, q.pszAmount);
        EXPECT_EQ(nSent, Count("RC")) << "no pair, no quote";
        ChooseItem(hIntl, 6756, q.pszFrom);
        ChooseItem(hIntl, 6758, q.pszTo);
        ASSERT_TRUE(PumpUntil([&] { return !ControlText(hIntl, 6757).empty(); }));
        const std::vector<std::string> rc = LastReceived("RC");
        ASSERT_EQ(13u, rc.size());
        EXPECT_EQ(q.pszSent, rc[8]);
        // The codes as the reference data keeps them.
        EXPECT_EQ(q.pszFrom, rc[9]);
        EXPECT_EQ(q.pszTo, rc[10]);
        EXPECT_EQ("0", rc[12]) << "a quote";
        EXPECT_EQ(q.pszBalanceFrom, ControlText(hIntl, 6746));
        EXPECT_EQ(q.pszBalanceTo, ControlText(hIntl, 6747));
        EXPECT_EQ(q.pszResult, ControlText(hIntl, 6757));
        EXPECT_EQ(q.pszNewFrom, ControlText(hIntl, 6750));
        EXPECT_EQ(q.pszNewTo, ControlText(hIntl, 6751));
        // The reply gives no inverse rate: it shows from the rate, to seven places.
        char szInverse[32];
        snprintf(szInverse, sizeof szInverse, "%.7f", 1.0 / atof(ControlText(hIntl, 6748).c_str()));
        EXPECT_EQ(szInverse, ControlText(hIntl, 6749)) << ControlText(hIntl, 6748);
        EXPECT_EQ("Available Balance " + std::string(q.pszFrom + 1), ControlText(hIntl, 6759));
        EXPECT_EQ("New Balance " + std::string(q.pszTo + 1), ControlText(hIntl, 6762));
        if (&q == &quotes[0])
            SaveDialogScreenshot(hIntl, "account_conversion_international");
        // Choosing the same pair again sends nothing; the convert command makes it.
        ChooseItem(hIntl, 6758, q.pszTo);
        EXPECT_EQ(nSent + 1, Count("RC"));
        ClickControl(hIntl, 6752);
        ASSERT_TRUE(PumpUntil([&] { return ControlText(hIntl, 6757).empty(); }));
        EXPECT_EQ("1", LastReceived("RC")[12]);
        EXPECT_NE(std::string::npos, pRun->InfoText().find(q.pszMade)) << pRun->InfoText();
        EXPECT_EQ("Available Balance ", ControlText(hIntl, 6759));
    }
    // An amount below nothing is no conversion: neither quoted nor, on Convert, sent.
    const size_t nMade = Count("RC");
    EnterText(hIntl, 6755, "-100");
    ChooseItem(hIntl, 6756, "=USD");
    ChooseItem(hIntl, 6758, "=KWD");
    ClickControl(hIntl, 6752);
    PumpFor(300);
    EXPECT_EQ(nMade, Count("RC"));
    EXPECT_NE(std::string::npos, pRun->InfoText().find("Not sent: enter an amount to convert.")) << pRun->InfoText();
}

// In Arabic, against a server whose "PX" result (field 4) and "CC" result (field 0) are no
// number: the "PX" result reads as 0, success, and fills its form; the balances of "CC" are
// refused and leave the form as it was. Then the link goes down
// without a log-off: each form's OK is refused with the "not sent" text and changes nothing.
struct AccountFormsBadReplies : AccountForms
{
    void SetUp() override
    {
        ASSERT_TRUE(StartSession({"--scenario", "no-number=PX:4,CC:0"}, true));
        RegisterAccountForms();
    }
};

TEST_F(AccountFormsBadReplies, ErrorsAndRefusalsLeaveTheForms)
{
    CZORVAT32App& app = *CZORVAT32App::Get();
    app.RunCommand(33121);
    HWND hUs = ViewOf(IDD_FORM_PERFORMANCE_US);
    ASSERT_NE(nullptr, hUs);
    ClickControl(hUs, 5923);
    ASSERT_TRUE(PumpUntil([&] { return !ControlText(hUs, 5925).empty(); }));
    SaveDialogScreenshot(hUs, "account_performance_us_ar");

    const int nBad = pRun->CountInfoLines(IDS_ACCOUNT_BAD_REPLY);
    app.RunCommand(40232);
    HWND hCombined = ViewOf(IDD_FORM_PERFORMANCE_COMBINED);
    ASSERT_NE(nullptr, hCombined);
    ClickControl(hCombined, 6969);
    ASSERT_TRUE(PumpUntil([&] { return !ControlText(hCombined, 6962).empty(); }));
    const std::vector<std::string> px = Fields(Sent("PX").back());
    ASSERT_LT(16u, px.size());
    EXPECT_EQ("n/a", px[8]);
    // Each figure the reply gives is shown; one it leaves empty (no return on no opening) is not.
    const int results[] = {6962, 6965, 6963, 6964, 6966, 6967, 6973, 6968};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(px[9 + i].empty(), ControlText(hCombined, results[i]).empty()) << results[i];
    EXPECT_EQ(nBad, pRun->CountInfoLines(IDS_ACCOUNT_BAD_REPLY));

    app.RunCommand(33238);
    HWND hLocal = ViewOf(IDD_FORM_CURRENCY_CONVERSION);
    ASSERT_NE(nullptr, hLocal);
    ASSERT_TRUE(PumpUntil([&] { return pRun->CountInfoLines(IDS_ACCOUNT_BAD_REPLY) == nBad + 1; }));
    ASSERT_FALSE(Fields(Sent("CC").back())[9].empty()) << "the balances came";
    for (int nId : {6260, 6261, 6264, 6265})
        EXPECT_EQ("", ControlText(hLocal, nId)) << nId;
    // The user's own figures, for the picture: 1 dinar at 3.2594 dollars.
    ::SetDlgItemTextA(hLocal, 6264, "0.3068");
    EnterText(hLocal, 6268, "1");
    EXPECT_EQ("3.250", ControlText(hLocal, 6269));
    SaveDialogScreenshot(hLocal, "account_conversion_local_ar");

    // The pair chosen first asks nothing while there is nothing to convert; the amount typed
    // then is quoted, and the labels name the balances in Arabic.
    app.OpenInternationalCurrencyConversion("", "");
    HWND hIntl = ViewOf(IDD_FORM_INTL_CONVERSION);
    ASSERT_NE(nullptr, hIntl);
    ChooseItem(hIntl, 6756, "=KWD");
    ChooseItem(hIntl, 6758, "=USD");
    PumpFor(200);
    EXPECT_EQ(0u, Count("RC"));
    EnterText(hIntl, 6755, "500");
    ASSERT_TRUE(PumpUntil([&] { return !ControlText(hIntl, 6757).empty(); }));
    EXPECT_EQ(1u, Count("RC"));
    EXPECT_EQ(TbUtf8ToCodePage("الرصيد المتاح KWD", 1256), ControlText(hIntl, 6759));
    EXPECT_EQ(TbUtf8ToCodePage("الرصيد الجديد USD", 1256), ControlText(hIntl, 6762));
    SaveDialogScreenshot(hIntl, "account_conversion_international_ar");

    // The link goes down under the open forms (its loss is told in a message box).
    TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDOK, ""});
    server.Stop();
    ASSERT_TRUE(PumpUntil([&] { return !app.IsConnected(); }));
    const std::string strUsResult = ControlText(hUs, 5925);
    const struct { const char* pszName; HWND hForm; int nOk; } oks[] = {
        {"US performance", hUs, 5923}, {"combined performance", hCombined, 6969},
        {"local conversion", hLocal, 6262}, {"international conversion", hIntl, 6752},
    };
    for (const auto& ok : oks) {
        SCOPED_TRACE(ok.pszName);
        const int nRefused = pRun->CountInfoLines(IDS_ACCOUNT_NOT_SENT);
        ClickControl(ok.hForm, ok.nOk);
        // The click is queued input: the notice comes once the queue has taken it, and once only.
        PumpUntil([&] { return pRun->CountInfoLines(IDS_ACCOUNT_NOT_SENT) > nRefused; }, 3000);
        PumpFor(50);
        EXPECT_EQ(nRefused + 1, pRun->CountInfoLines(IDS_ACCOUNT_NOT_SENT));
    }
    EXPECT_EQ(strUsResult, ControlText(hUs, 5925));
    EXPECT_EQ("3.250", ControlText(hLocal, 6269));
    EXPECT_EQ(nBad + 1, pRun->CountInfoLines(IDS_ACCOUNT_BAD_REPLY));
}

}  // namespace

// The conversion form takes a preset pair only from the exchange rates: a listed pair is chosen
// and quoted with its codes as listed, one the rates do not list changes nothing.
TEST_F(AccountForms, APresetPairComesFromTheExchangeRates)
{
    CZORVAT32App& app = *CZORVAT32App::Get();
    app.RunCommand(ID_APP_EXCHANGE_RATES);
    CDataTable* pRates = FindDataTable(57275);
    ASSERT_NE(nullptr, pRates);
    ASSERT_TRUE(PumpUntil([&] { return pRates->IsComplete() && pRates->GetRows()->GetCount() > 0; }));
    const std::string strFrom(pRates->GetRows()->GetAt(0)->GetText(0, TRUE)), strTo(pRates->GetRows()->GetAt(0)->GetText(1, TRUE));
    // Two codes of the reference data that the rates do not pair.
    std::string strOther;
    CStringArray codes;
    GetGlobals()->GetCurrencyCodes(codes);
    for (int i = 0; i < codes.GetSize(); ++i)
        if (strOther.empty() && std::string(codes[i]) != strFrom && pRates->GetRows()->FindRow({strFrom.c_str(), codes[i]}) == nullptr)
            strOther = codes[i];
    ASSERT_FALSE(strOther.empty());

    app.OpenInternationalCurrencyConversion(strFrom.c_str(), strOther.c_str());
    HWND hIntl = ViewOf(IDD_FORM_INTL_CONVERSION);
    ASSERT_NE(nullptr, hIntl);
    PumpFor(200);
    EXPECT_EQ("", ControlText(hIntl, 6756)) << "a pair the rates do not list";
    EXPECT_EQ(0u, Count("RC"));
    // The listed pair is chosen; with nothing to convert yet, the amount typed is what is quoted.
    app.OpenInternationalCurrencyConversion(strFrom.c_str(), strTo.c_str());
    EXPECT_EQ(strFrom, ControlText(hIntl, 6756));
    EXPECT_EQ(strTo, ControlText(hIntl, 6758));
    PumpFor(200);
    EXPECT_EQ(0u, Count("RC"));
    EnterText(hIntl, 6755, "10");
    ASSERT_TRUE(PumpUntil([&] { return Count("RC") == 1; }));
    const std::vector<std::string> rc = LastReceived("RC");
    ASSERT_EQ(13u, rc.size());
    EXPECT_EQ(strFrom, rc[9]);
    EXPECT_EQ(strTo, rc[10]);
}

// The US performance against the account the server holds (--state): the realized profit of
// every dollar market in the range, and no return where the range opens on no value.
struct AccountFormsAgainstState : AccountForms
{
    std::string strState = "/tmp/performance_state_" + std::to_string(getpid());

    void SetUp() override
    {
        ASSERT_TRUE(StartSession({"--rate", "0", "--state", strState}));
        RegisterAccountForms();
    }
    void TearDown() override
    {
        AccountForms::TearDown();
        unlink(strState.c_str());
    }
};

TEST_F(AccountFormsAgainstState, UsPerformanceCountsEveryDollarMarket)
{
    // A round trip on the first US board, beside the second board's earlier sale.
    for (const char* pszSide : {"1", "2"}) {
        const size_t nFills = Sent("NT").size();
        Send(MSG_OR, std::string("1002|10020|") + pszSide + "|PRSM|10|3|0||0|||secret");
        ASSERT_TRUE(PumpUntil([&] { return Sent("NT").size() > nFills; }));
    }
    CZORVAT32App& app = *CZORVAT32App::Get();
    app.RunCommand(33121);
    HWND hForm = ViewOf(IDD_FORM_PERFORMANCE_US);
    ASSERT_NE(nullptr, hForm);
    // From before the account's deposits through today.
    const std::string strToday = ControlText(hForm, 1683);
    char szFrom[16];
    const time_t tFrom = time(nullptr) - 60 * 86400;
    strftime(szFrom, sizeof szFrom, "%d/%m/%Y", localtime(&tFrom));
    PickDay(hForm, 5921, strToday);
    PickDay(hForm, 5920, szFrom);
    ClickControl(hForm, 5923);
    ASSERT_TRUE(PumpUntil([&] { return !ControlText(hForm, 5929).empty(); }));
    const auto day = [](const std::string& strDay) { return atol((strDay.substr(6, 4) + strDay.substr(3, 2) + strDay.substr(0, 2)).c_str()); };
    double dRealized = 0;
    std::set<std::string> markets;
    std::ifstream file(strState);
    for (std::string strLine; std::getline(file, strLine);) {
        // realized|user|date|market|symbol|cost|charges|profit|currency
        const std::vector<std::string> f = Fields(strLine);
        const long nDate = f.size() > 8 ? 20000000 + atol(f[2].c_str()) : 0;
        if (f[0] == "realized" && f[1] == "trader" && f[8] == "USD" && nDate >= day(szFrom) && nDate <= day(strToday)) {
            dRealized += atof(f[7].c_str());
            markets.insert(f[3]);
        }
    }
    ASSERT_LE(2u, markets.size()) << "profits of both US boards";
    const auto number = [](std::string str) {
        str.erase(std::remove(str.begin(), str.end(), ','), str.end());
        return atof(str.c_str());
    };
    EXPECT_NEAR(dRealized, number(ControlText(hForm, 5929)), 0.005);
    EXPECT_EQ("0.00", ControlText(hForm, 5925)) << "the range opens before the deposits";
    EXPECT_EQ("", ControlText(hForm, 5931)) << "no return on no opening value";
}

// A result below 1 is success: the form shows the reply's figures.
struct AccountFormsOwnReplies : AccountForms
{
    void SetUp() override
    {
        ASSERT_TRUE(StartSession({"--scenario", "delay=PF:3"}));
        RegisterAccountForms();
    }
};

TEST_F(AccountFormsOwnReplies, AResultBelowOneFillsThePerformanceForm)
{
    CZORVAT32App& app = *CZORVAT32App::Get();
    app.RunCommand(33121);
    HWND hForm = ViewOf(IDD_FORM_PERFORMANCE_US);
    ASSERT_NE(nullptr, hForm);
    ClickControl(hForm, 5923);
    ASSERT_TRUE(PumpUntil([&] { return Count("PF") == 1; }));
    const std::vector<std::string> request = LastReceived("PF");
    // The server's own reply waits; this one comes first.
    const std::string strReply = "~PF|" + request[1] + "|XC||1002|10020|" + request[6] + "|" + request[7] +
                                 "|-3|100.00|200.00|1.00|2.00|3.00|4.00|5.00|6.00|=USD";
    app.GetDispatcher().OnServerMessage(strReply.c_str());
    PumpFor(100);
    EXPECT_EQ("100.00", ControlText(hForm, 5925));
}
