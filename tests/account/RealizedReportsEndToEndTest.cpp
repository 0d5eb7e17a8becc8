// The date-range reports end to end as the trader: each opened from the menu, its range set in
// the dialog, its rows summed against the server's own account history (--state), its caption
// naming the echoed range.
#include <gtest/gtest.h>
#include <cmath>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>
#include "account/HistRangeDlg.h"
#include "account/HistTransactionKSETable.h"
#include "account/HistTransactionTable.h"
#include "app/NorvMainFrame.h"
#include "app/TableMDIWnd.h"
#include "app/ZorvatApp.h"
#include "framework/table/ViewTable.h"
#include "market/DataArray.h"
#include "platform/win/user/DateTimePick.h"
#include "tests/account/AccountTestSupport.h"
#include "tests/common/DialogSteps.h"

namespace {
const double CENT = 0.011;

std::vector<std::string> Split(const std::string& strLine)
{
    std::vector<std::string> fields;
    std::stringstream stream(strLine);
    std::string strField;
    while (std::getline(stream, strField, '|'))
        fields.push_back(strField);
    return fields;
}


// A day of the server's simulated calendar (YYYYMMDD).
void SetPicker(HWND hDlg, int nId, long nDay)
{
    SYSTEMTIME st = {};
    st.wYear = static_cast<WORD>(nDay / 10000);
    st.wMonth = static_cast<WORD>(nDay / 100 % 100);
    st.wDay = static_cast<WORD>(nDay % 100);
    SendMessageA(GetDlgItem(hDlg, nId), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
}

struct CASE
{
    UINT nCommand;
    UINT nTable;
    const char* pszMarkets;     // the markets of its history, as the state names them
    int nAmountColumn;
};
const CASE s_cases[] = {
    {ID_APP_US_TRANSACTIONS, IDS_TABLE_US_TRANSACTIONS, "|4|8|16|", 8},
    {ID_APP_KSE_TRANSACTIONS, IDS_TABLE_KSE_TRANSACTIONS, "|2|", 13},
};

struct CRangeReports : CAccountSession
{
    std::string strState = "/tmp/pnl_state_" + std::to_string(getpid());

    // The server's transactions of the markets within the range (cash lines belong to each).
    double StateSum(const char* pszMarkets, long nFrom, long nTo) const
    {
        std::ifstream file(strState);
        std::string strLine;
        double dSum = 0;
        while (std::getline(file, strLine)) {
            const std::vector<std::string> f = Split(strLine);
            if (f.size() < 6 || f[0] != "transaction" || f[1] != "trader")
                continue;
            const long nDate = atol(f[2].c_str());
            if (nDate >= nFrom && nDate <= nTo && (f[3].empty() || std::string(pszMarkets).find("|" + f[3] + "|") != std::string::npos))
                dSum += atof(f[4].c_str());
        }
        return dSum;
    }

    // The menu command's dialog, its from picker set some days back, then OK.
    void Ask(UINT nCommand, long nFrom, long nTo)
    {
        RunDialogSteps({{IDC_RANGE_FROM, [nFrom, nTo](HWND hDlg) {
                             SetPicker(hDlg, IDC_RANGE_FROM, nFrom);
                             SetPicker(hDlg, IDC_RANGE_TO, nTo);
                             ClickControl(hDlg, IDOK);
                         }}});
        SendMessageA(pRun->App().GetMainFrame()->m_hWnd, WM_COMMAND, nCommand, 0);
        EXPECT_TRUE(FinishedSteps());
    }
};

double Sum(CDataTable* pTable, int nCol)
{
    double dSum = 0;
    for (int i = 0; i < pTable->GetRows()->GetCount(); ++i)
        dSum += pTable->GetRows()->GetAt(i)->GetDouble(nCol);
    return dSum;
}
}  // namespace

TEST_F(CRangeReports, TransactionsOfARangeMatchTheServersHistoryAndTheCaptionNamesIt)
{
    ASSERT_TRUE(StartSession({"--rate", "0", "--state", strState}));
    for (const CASE& c : s_cases) {
        SCOPED_TRACE(c.nTable);
        Ask(c.nCommand, 20261110, 20261231);
        CDataTable* pTable = FindDataTable(c.nTable);
        ASSERT_NE(nullptr, pTable);
        ASSERT_TRUE(PumpUntil([&] { return pTable->IsComplete() && !pTable->IsReceiving(); }));
        PumpFor(200);
        EXPECT_LT(0, pTable->GetRows()->GetCount());
        EXPECT_NEAR(StateSum(c.pszMarkets, 261110, 261231), Sum(pTable, c.nAmountColumn), CENT);
        const std::string strCaption(pTable->GetTable()->GetView(0)->GetTitleAt(0));
        EXPECT_NE(std::string::npos, strCaption.find(" from ")) << strCaption;
        EXPECT_NE(std::string::npos, strCaption.find(" through ")) << strCaption;
        Shoot(pTable, std::string("account_transactions_") + std::to_string(c.nTable));
    }
}
