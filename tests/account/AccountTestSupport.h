#pragma once
// The account tables' end-to-end tests: the test server and the terminal logged in as the trader
// with the account tables registered, the lines the server sent, a table's rows as text, a
// window's shown rows, orders placed as request lines, and pictures.
#include <memory>
#include <string>
#include <vector>
#include <gtest/gtest.h>
#include "framework/base/TBString.h"
#include "market/DataTable.h"
#include "market/TableLinks.h"
#include "tests/app/TerminalRun.h"
#include "tests/link/LinkSessionSupport.h"

template <class TTable>
TTable* Find(UINT nNameId)
{
    return dynamic_cast<TTable*>(FindDataTable(nNameId));
}

struct CAccountSession : ::testing::Test
{
    CTestServer server;
    std::unique_ptr<CTerminalRun> pRun;
    const CTBString strDatePattern;
    const CTBString strTimePattern;

    CAccountSession();
    // The server with these options and the terminal logged in as the user, its load done.
    ::testing::AssertionResult StartSession(const std::vector<std::string>& options, bool bArabic = false,
                                            const std::string& strUser = "trader", const std::string& strPassword = "secret");
    void TearDown() override;

    // The typed lines the server sent ("~NO|..."), of one mnemonic when given, in order.
    std::vector<std::string> Sent(const std::string& strMnemonic) const;
    // The data rows of the last reply of the mnemonic the server sent.
    std::vector<std::string> LastReplyRows(const std::string& strMnemonic) const;
    // The request line of a type with its body, as an order form sends it; the link's number.
    long Send(int nType, const std::string& strBody);
};

// The stored rows, in key order, each the listed columns' texts joined by "|"; rows by "\n".
std::string RowsText(CDataTable* pTable, const std::vector<int>& columns);
// One column's texts in the order the table's main window shows its data rows.
std::vector<std::string> ShownTexts(CDataTable* pTable, int nCol);
// The text of a column in the main window's grand total line, the line switched on as the user
// does when the view has none; empty when no such line shows.
std::string TotalText(CDataTable* pTable, int nCol);
// A whole number as the grid groups it ("1,234,567").
std::string Grouped(long long nValue);
// A shown amount in units of its last place: "-1,234.567" at three places is -1234567.
long long Units(const std::string& strText, int nPlaces);
// How many places a shown figure has after its point.
int Places(const std::string& strText);
// An amount as a grid column of nDecimals decimals shows it ("-1,790.670").
std::string GroupedAmount(double dValue, int nDecimals);
// The main window pictured in <build>/screenshots/<name>.png.
void Shoot(CDataTable* pTable, const std::string& strName, int nWidth = 1700);
// A command of the table run as its menu item runs it.
void RunTableCommand(CDataTable* pTable, UINT nId);
// A line of the server's state file split at its '|' (a trailing '|' adds no field).
std::vector<std::string> Split(const std::string& strLine);
// A date picker of a dialog set to a day given as YYYYMMDD.
void SetPicker(HWND hDlg, int nId, long nDay);
// The base currency ("=KWD") chosen in the preferences form and applied, as the user does.
void ChooseBaseCurrency(CTerminalRun& run, const char* pszCode);
