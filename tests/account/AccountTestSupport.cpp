#include "tests/account/AccountTestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include "account/AccountTables.h"
#include "app/FormMDIWnd.h"
#include "app/NorvApp.h"
#include "app/TableMDIWnd.h"
#include "framework/base/NorvGlobals.h"
#include "framework/table/RowPosition.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "link/ServerMessage.h"
#include "tests/common/DialogSteps.h"
#include "market/DataArray.h"
#include "market/PreferencesDlg.h"
#include "platform/mfc/CmdTarget.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/user/DateTimePick.h"

CAccountSession::CAccountSession()
    : strDatePattern(GetNorvGlobals().m_strDatePattern), strTimePattern(GetNorvGlobals().m_strTimePattern)
{
}

::testing::AssertionResult CAccountSession::StartSession(const std::vector<std::string>& options, bool bArabic,
                                                         const std::string& strUser, const std::string& strPassword)
{
    if (!server.Start(options))
        return ::testing::AssertionFailure() << "the test server did not start";
    pRun = std::make_unique<CTerminalRun>(bArabic);
    pRun->m_onMakersRegistered = [] { RegisterAccountTables(); };
    return pRun->StartLoggedIn(server.Port(), strUser, strPassword);
}

void CAccountSession::TearDown()
{
    // A step whose dialog never came must not answer the next session's login.
    ClearDialogSteps();
    pRun.reset();
    server.Stop();
    GetNorvGlobals().m_strDatePattern = strDatePattern;
    GetNorvGlobals().m_strTimePattern = strTimePattern;
}

std::vector<std::string> CAccountSession::Sent(const std::string& strMnemonic) const
{
    std::vector<std::string> lines;
    for (const std::string& line : server.Log())
        if (line.rfind("> ~", 0) == 0 && (strMnemonic.empty() || line.rfind("> ~" + strMnemonic + "|", 0) == 0))
            lines.push_back(line.substr(2));
    return lines;
}

std::vector<std::string> CAccountSession::LastReplyRows(const std::string& strMnemonic) const
{
    std::vector<std::string> rows;
    bool bIn = false;
    for (const std::string& entry : server.Log()) {
        if (entry.rfind("> ", 0) != 0)
            continue;
        const std::string line = entry.substr(2);
        if (line.rfind("~" + strMnemonic + "|", 0) == 0) {
            rows.clear();
            bIn = true;
        } else if (line[0] == '~') {
            // A live line inside the reply is not one of its rows; its "EN" ends it.
            if (line.rfind("~EN|", 0) == 0)
                bIn = false;
        } else if (bIn) {
            rows.push_back(line);
        }
    }
    return rows;
}

long CAccountSession::Send(int nType, const std::string& strBody)
{
    return pRun->App().SendRequest(nType, strBody.c_str());
}

std::string RowsText(CDataTable* pTable, const std::vector<int>& columns)
{
    std::string strText;
    CDataArray* pRows = pTable->GetRows();
    for (int i = 0; i < pRows->GetCount(); ++i) {
        for (size_t c = 0; c < columns.size(); ++c)
            strText += (c > 0 ? "|" : "") + std::string(pRows->GetAt(i)->GetText(columns[c], TRUE));
        strText += "\n";
    }
    return strText;
}

std::vector<std::string> ShownTexts(CDataTable* pTable, int nCol)
{
    std::vector<std::string> texts;
    CTableMDIWnd* pWindow = pTable->GetMainWindow();
    CViewTable* pView = pWindow != nullptr ? pWindow->GetView() : nullptr;
    for (int i = 0; pView != nullptr && i < pView->GetRowCount(); ++i) {
        CViewRow row;
        CTBString strText;
        if (pView->GetRow(row, i) && row.IsDataRow() && row.GetText(strText, nCol))
            texts.push_back(static_cast<const char*>(strText));
    }
    return texts;
}

std::string TotalText(CDataTable* pTable, int nCol)
{
    CTableMDIWnd* pWindow = pTable->GetMainWindow();
    CViewTable* pView = pWindow != nullptr ? pWindow->GetView() : nullptr;
    if (pView == nullptr)
        return "";
    if (!pView->HasGrandTotalRow())
        pView->SetTotalsMode(2);
    for (int i = 0; i < pView->GetRowCount(); ++i) {
        CViewRow row;
        CTBString strText;
        if (pView->GetRow(row, i) && row.GetPosition().m_nKind == LINE_TOTAL && row.GetText(strText, nCol))
            return static_cast<const char*>(strText);
    }
    return "";
}

std::string Grouped(long long nValue)
{
    std::string strDigits = std::to_string(nValue < 0 ? -nValue : nValue);
    for (int i = static_cast<int>(strDigits.size()) - 3; i > 0; i -= 3)
        strDigits.insert(static_cast<size_t>(i), ",");
    return (nValue < 0 ? "-" : "") + strDigits;
}

std::string GroupedAmount(double dValue, int nDecimals)
{
    char sz[64];
    snprintf(sz, sizeof sz, "%.*f", nDecimals, dValue < 0 ? -dValue : dValue);
    const std::string strText = sz;
    const size_t nPoint = strText.find('.');
    const std::string strWhole = Grouped(atoll(strText.substr(0, nPoint).c_str()));
    const bool bZero = strtod(sz, nullptr) == 0;
    return (dValue < 0 && !bZero ? "-" : "") + strWhole + (nPoint != std::string::npos ? strText.substr(nPoint) : "");
}

void Shoot(CDataTable* pTable, const std::string& strName, int nWidth)
{
    ASSERT_NE(nullptr, pTable);
    CNorvApp::ShowTable(pTable);
    PumpFor(200);
    CTableMDIWnd* pWindow = pTable->GetMainWindow();
    ASSERT_NE(nullptr, pWindow);
    // By default wide enough for the statuses and quantities at the right.
    pWindow->MoveWindow(0, 0, nWidth, 300);
    PumpFor(100);
    UpdateWindow(pWindow->m_hWnd);
    const std::string strFolder = std::string(TB_BINARY_DIR) + "/screenshots";
    std::filesystem::create_directories(strFolder);
    EXPECT_TRUE(TbSaveWindowPng(pWindow->m_hWnd, (strFolder + "/" + strName + ".png").c_str()));
}

void RunTableCommand(CDataTable* pTable, UINT nId)
{
    pTable->OnCmdMsg(nId, CN_COMMAND, nullptr, nullptr);
}

void ChooseBaseCurrency(CTerminalRun& run, const char* pszCode)
{
    // The form's slot outlives the form, whose frame may go only in a later loop.
    static CFormMDIWnd* pForm = nullptr;
    run.App().OpenFormWindow(&pForm, IDD_FORM_PREFERENCES);
    ASSERT_NE(nullptr, pForm);
    const HWND hDlg = pForm->GetView()->m_hWnd;
    ChooseItem(hDlg, IDC_PREFERENCES_CURRENCY, pszCode);
    NotifyControl(hDlg, IDC_PREFERENCES_APPLY, BN_CLICKED);
    NotifyControl(hDlg, IDC_PREFERENCES_CLOSE, BN_CLICKED);
    PumpFor(100);
    ASSERT_EQ(std::string(pszCode), std::string(run.App().GetBaseCurrency()));
}

std::vector<std::string> Split(const std::string& strLine)
{
    std::vector<std::string> fields;
    std::stringstream stream(strLine);
    for (std::string strField; std::getline(stream, strField, '|');)
        fields.push_back(strField);
    return fields;
}

void SetPicker(HWND hDlg, int nId, long nDay)
{
    SYSTEMTIME st = {};
    st.wYear = static_cast<WORD>(nDay / 10000);
    st.wMonth = static_cast<WORD>(nDay / 100 % 100);
    st.wDay = static_cast<WORD>(nDay % 100);
    SendMessageA(GetDlgItem(hDlg, nId), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
}

long long Units(const std::string& strText, int nPlaces)
{
    long long nUnits = 0;
    int nFraction = -1;
    for (char c : strText) {
        if (c >= '0' && c <= '9' && (nFraction < 0 || nFraction < nPlaces)) {
            nUnits = nUnits * 10 + (c - '0');
            nFraction += nFraction >= 0 ? 1 : 0;
        } else if (c == '.') {
            nFraction = 0;
        }
    }
    for (int i = std::max(nFraction, 0); i < nPlaces; ++i)
        nUnits *= 10;
    return strText.find('-') != std::string::npos ? -nUnits : nUnits;
}

int Places(const std::string& strText)
{
    const size_t nPoint = strText.find('.');
    return nPoint == std::string::npos ? 0 : static_cast<int>(strText.size() - nPoint - 1);
}
