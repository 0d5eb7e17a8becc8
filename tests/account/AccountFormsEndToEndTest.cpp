// The account forms end to end as the trader: performance forms each answered by their own
// reply, the local cash conversion worked exactly as typed and sent as plain numbers, the
// international conversion quoted and made, and nothing sent while the link is down.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "account/AccountForms.h"
#include "app/FormMDIWnd.h"
#include "app/NorvMainFrame.h"
#include "app/ZorvatApp.h"
#include "platform/win/user/Dialogs.h"
#include "tests/account/AccountTestSupport.h"
#include "tests/common/DialogSteps.h"
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

struct AccountForms : CAccountSession
{
    void SetUp() override
    {
        ASSERT_TRUE(StartSession({}));
        RegisterAccountForms();
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
    CFormMDIWnd* pSecond = nullptr;
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
}

TEST_F(AccountForms, LocalConversionWorksExactlyAndSendsPlainNumbers)
{
    CZORVAT32App& app = *CZORVAT32App::Get();
    app.RunCommand(33238);
    HWND hForm = ViewOf(IDD_FORM_CURRENCY_CONVERSION);
    ASSERT_NE(nullptr, hForm);
    ASSERT_TRUE(PumpUntil([&] { return !ControlText(hForm, 6261).empty(); }));
    const std::vector<std::string> cc = Fields(Sent("CC")[0]);
    EXPECT_EQ(cc[10] + "000", ControlText(hForm, 6265)) << "seven decimals";
    // The rates as the server might give them; the results rounded down, exactly.
    struct CASE { const char* pszRate; int nDirection; const char* pszAmount; const char* pszResult; };
    const CASE cases[] = {
        {"0.3", 0, "1", "3.330"}, {"0.25", 1, "10", "2.500"}, {"0.29", 1, "100", "29.000"},
        {"1", 0, "1.15", "1.150"}, {"0", 1, "10", "0.000"}, {"0.0019", 1, "1", "0.001"},
    };
    for (const CASE& c : cases) {
        ::SetDlgItemTextA(hForm, c.nDirection == 1 ? 6265 : 6264, c.pszRate);
        ::SendMessageA(::GetDlgItem(hForm, c.nDirection == 1 ? 6267 : 6266), BM_CLICK, 0, 0);
        EnterText(hForm, 6268, c.pszAmount);
        EXPECT_EQ(c.pszResult, ControlText(hForm, 6269)) << c.pszAmount << " at " << c.pszRate;
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
}

}  // namespace
