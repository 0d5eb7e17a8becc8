// What the account windows show, read from their main windows against the test server with its
// market held still: a zero in each column, shown as a number or blanked as its table says; the
// unrealized reports' prices while a quote has no last price; a live line that closes a
// position; a value too large for a short text.
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <span>
#include <sstream>
#include <string>
#include <vector>
#include <unistd.h>
#include "account/CombinedHoldingsTable.h"
#include "account/CombinedRealizedProfitLossTable.h"
#include "account/CombinedUnrealizedProfitLossTable.h"
#include "account/ForwardContractsTable.h"
#include "account/HistTransactionKSETable.h"
#include "account/HistTransactionTable.h"
#include "account/InvestorHoldingsTable.h"
#include "account/MarginDetailsTable.h"
#include "account/OrderStatusKSETable.h"
#include "account/OrderStatusTable.h"
#include "account/RealizedProfitLossKSETable.h"
#include "account/RealizedProfitLossTable.h"
#include "account/UnrealizedProfitLossKSETable.h"
#include "account/UnrealizedProfitLossTable.h"
#include "app/AppCommands.h"
#include "app/TableFactory.h"
#include "framework/base/ColumnValues.h"
#include "app/NorvApp.h"
#include "app/NorvMainFrame.h"
#include "app/TableMDIWnd.h"
#include "framework/print/NorvTablePrint.h"
#include "framework/table/ViewRow.h"
#include "framework/table/Table.h"
#include "framework/table/ViewTable.h"
#include "market/DataArray.h"
#include "market/InternationalExchangeRatesTable.h"
#include "market/InternationalInterestRatesTable.h"
#include "market/IndicesKSETable.h"
#include "market/OpenInterestFwdKSETable.h"
#include "market/QuotationKSETable.h"
#include "market/QuotationOddLotKSETable.h"
#include "market/QuotationTable.h"
#include "refdata/ZorvatGlobals.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/spool/Printers.h"
#include "platform/win/user/TestAnswers.h"
#include "tests/account/AccountTestSupport.h"
#include "tests/app/AppTestSupport.h"
#include "tests/common/PdfReadBack.h"

namespace {
// The code of a code table whose text reads longest.
template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE, class TEXT>
int LongestCode(const CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>& codes, TEXT Text, int nLongest = 0)
{
    KEY key = KEY();
    VALUE value = VALUE();
    for (POSITION pos = codes.GetStartPosition(); pos != nullptr && (codes.GetNextAssoc(pos, key, value), true);)
        nLongest = Text(static_cast<int>(key)).GetLength() > Text(nLongest).GetLength() ? static_cast<int>(key) : nLongest;
    return nLongest;
}

struct ZERO_CASE
{
    UINT nTable;
    std::vector<int> columns;
    const char* pszZero;        // what each of them shows for a zero
    const char* pszWritten = " 0.000000 ";  // null: the cells as the server filled them
};

// The zero of an amount in its row's currency: three places for dinars, two for dollars.
const char* const UNIT_ZERO = "0 in the row's currency";

// Per table: the columns that show their zero, then some that blank it. A quantity has no places.
const ZERO_CASE s_cases[] = {
    {IDS_TABLE_US_HOLDINGS, {6, 9}, "0.00"},
    {IDS_TABLE_US_HOLDINGS, {1}, "0"},
    {IDS_TABLE_US_HOLDINGS, {2, 3, 4, 7}, ""},
    {IDS_TABLE_US_HOLDINGS, {17}, "10020", nullptr},      // the account, without grouping
    {IDS_TABLE_KSE_HOLDINGS, {9}, "0.000"},
    {IDS_TABLE_KSE_HOLDINGS, {3}, "0"},
    {IDS_TABLE_KSE_HOLDINGS, {4, 5, 6, 7}, ""},
    {IDS_TABLE_KSE_HOLDINGS, {1}, "12345", "12345"},    // the stock code, without grouping
    {IDS_TABLE_COMBINED_HOLDINGS, {12, 16}, "0.000"},     // the base currency, to the fils as every row
    {IDS_TABLE_COMBINED_HOLDINGS, {11}, UNIT_ZERO},
    {IDS_TABLE_COMBINED_HOLDINGS, {5}, "0"},
    {IDS_TABLE_COMBINED_HOLDINGS, {6, 7, 17, 20}, ""},
    {IDS_TABLE_US_UNREALIZED, {5, 8, 9, 11, 12, 16, 20, 21}, "0.00"},
    {IDS_TABLE_US_UNREALIZED, {4, 15}, "0.0000"},           // an average cost to four places
    {IDS_TABLE_US_UNREALIZED, {6, 17}, "0"},
    {IDS_TABLE_US_UNREALIZED, {1, 7, 10, 18, 19}, ""},
    {IDS_TABLE_COMBINED_UNREALIZED, {14, 21}, "0.00"},
    {IDS_TABLE_COMBINED_UNREALIZED, {10}, "0.0000"},
    {IDS_TABLE_COMBINED_UNREALIZED, {6}, "0"},
    {IDS_TABLE_COMBINED_UNREALIZED, {8, 11, 12, 13}, UNIT_ZERO},
    {IDS_TABLE_COMBINED_UNREALIZED, {15, 16, 17, 20}, "0.000"},
    {IDS_TABLE_COMBINED_UNREALIZED, {7, 9}, ""},
    {IDS_TABLE_US_REALIZED, {4}, "0"},
    {IDS_TABLE_US_REALIZED, {6, 7, 10, 12, 13}, "0.00"},
    {IDS_TABLE_US_REALIZED, {5, 11}, ""},
    {IDS_TABLE_KSE_REALIZED, {6}, "0"},
    {IDS_TABLE_KSE_REALIZED, {8, 9, 10, 14, 17}, "0.000"},
    {IDS_TABLE_KSE_REALIZED, {18}, "0.00"},
    {IDS_TABLE_KSE_REALIZED, {7, 15, 16}, ""},
    {IDS_TABLE_COMBINED_REALIZED, {4}, "0"},
    {IDS_TABLE_COMBINED_REALIZED, {6, 7, 10, 12}, UNIT_ZERO},
    {IDS_TABLE_COMBINED_REALIZED, {13, 17, 18, 19}, "0.00"},
    {IDS_TABLE_COMBINED_REALIZED, {5, 11}, ""},
    {IDS_TABLE_US_TRANSACTIONS, {9, 10}, "0.00"},
    {IDS_TABLE_US_TRANSACTIONS, {6, 7, 8}, ""},
    {IDS_TABLE_KSE_TRANSACTIONS, {11, 16}, "0.000"},
    {IDS_TABLE_KSE_TRANSACTIONS, {9, 12, 13, 14, 15}, ""},
    {IDS_TABLE_KSE_UNREALIZED, {3, 5}, "0"},
    {IDS_TABLE_KSE_UNREALIZED, {6, 11, 12, 13, 16}, "0.000"},
    {IDS_TABLE_KSE_UNREALIZED, {17}, "0.00"},
    {IDS_TABLE_KSE_UNREALIZED, {10}, "0.0000"},
    {IDS_TABLE_KSE_UNREALIZED, {4, 7, 14, 15}, ""},
    {IDS_TABLE_MARGIN_DETAILS, {2, 3, 4, 5}, "0.00"},
    {IDS_TABLE_MARGIN_DETAILS, {1, 6, 7, 8}, ""},
    {IDS_TABLE_KSE_ORDER_STATUS, {7, 8}, "12,345", "12345"},    // grouped, unlike the order number
};

// Per window: totals that would add unlike things (dinars and dollars, shares and contracts,
// prices, averages, per cents, a running balance) stay blank; the others sum what the rows show,
// to the cent or fils; base-currency totals (of six-decimal values) show.
struct TOTAL_CASE
{
    UINT nTable;
    std::vector<int> blank;
    std::vector<int> summed;
    std::vector<int> shown = {};
};
const TOTAL_CASE s_totals[] = {
    {IDS_TABLE_US_HOLDINGS, {19}, {4, 6}},
    {IDS_TABLE_KSE_HOLDINGS, {11}, {7, 9}},
    {IDS_TABLE_COMBINED_HOLDINGS, {8, 9, 10, 11, 17, 20, 21}, {}, {12}},
    {IDS_TABLE_US_UNREALIZED, {6, 7, 9, 12, 17, 18}, {5, 8, 10, 11}},
    {IDS_TABLE_COMBINED_UNREALIZED, {6, 7, 8, 9, 11, 12, 13, 14, 21}, {}, {15, 16, 17}},
    {IDS_TABLE_KSE_TRANSACTIONS, {15}, {11, 14}},
    {IDS_TABLE_US_REALIZED, {4}, {6, 7}},
    {IDS_TABLE_COMBINED_REALIZED, {4, 6, 7, 10, 11, 12}, {}, {17, 18, 19}},
    {IDS_TABLE_US_ORDERS, {4, 10, 11}, {}},     // shares and option contracts
};

// A price as a column of four decimals that drops trailing zeros down to nMin shows it.
std::string PriceText(double dPrice, int nMin)
{
    char sz[64];
    snprintf(sz, sizeof sz, "%.4f", dPrice);
    std::string str = sz;
    while (str.size() > str.find('.') + 1 + static_cast<size_t>(nMin) && str.back() == '0')
        str.pop_back();
    if (str.back() == '.')
        str.pop_back();
    return str;
}

// The window's text of a column in the row whose key column shows the key; "-" when none does.
std::string ShownAt(CDataTable* pTable, int nKeyCol, const std::string& strKey, int nCol)
{
    const std::vector<std::string> keys = ShownTexts(pTable, nKeyCol), texts = ShownTexts(pTable, nCol);
    for (size_t i = 0; i < keys.size() && i < texts.size(); ++i)
        if (keys[i] == strKey)
            return texts[i];
    return "-";
}

size_t RowsOf(const std::vector<std::string>& lines, const std::string& strStart)
{
    return std::count_if(lines.begin(), lines.end(), [&](const std::string& line) { return line.rfind(strStart, 0) == 0; });
}

// A shown number without its grouping ("-103,225.00" reads -103225).
double ShownNumber(const std::string& strText)
{
    std::string strDigits;
    for (char c : strText)
        if (c != ',')
            strDigits += c;
    return atof(strDigits.c_str());
}

bool HasArabic(const char* psz)
{
    for (; *psz != '\0'; ++psz)
        if (static_cast<unsigned char>(*psz) >= 0xC0)
            return true;
    return false;
}

// Printed to a PDF file as the window's Print command prints: from a snapshot of the window's
// view, whose row selection leaves the rows the window shows as they are.
bool PrintAsShown(CTableMDIWnd* pWnd, const std::string& strPdf)
{
    CTable* pTable = pWnd->GetView()->GetTable();
    const std::unique_ptr<CViewTable> pSnapshot(pTable != nullptr ? pTable->CreateSnapshotView(3) : nullptr);
    if (pSnapshot == nullptr)
        return false;
    CNorvTablePrint print(pSnapshot.get());
    print.GetProperties().CopyFrom(pWnd->GetGrid());
    print.SetOutputFile(strPdf.c_str());
    return print.GetSettings().SelectPrinter() && print.Print() == 1;
}

// The fewest pixels between the ink of two neighbouring column titles, less one: a title drawn
// cut or pressed against its column's edges leaves less.
constexpr int kTitleGap = 7;

// Each table's main window, wide and tall enough for all its columns and rows: every value that
// shows as '#' on screen or in print, every code or name its column cuts (a board, a side, a
// currency, a reference a trader must read whole), a currency code drawn in another order than
// written ("KWD=" for "=KWD"), every title cut inside a word ("Term" read as
// "Tern"), two titles whose ink touches, a market's name cut in a window's title, and a text
// not in the session's language.
std::set<std::string> CutOrMarkedTexts(const std::string& strPdf, bool bArabic, const std::set<std::string>& whole = {},
                                       const std::set<UINT>& madeRows = {})
{
    std::set<std::string> faults;
    int nCodesRead = 0;
    TbUseSystemPrinters(FALSE);
    std::vector<std::string> marketNames;
    CArray<int, int> codes;
    GetGlobals()->GetMarketCodes(codes);
    for (int i = 0; i < codes.GetSize(); ++i)
        marketNames.emplace_back(GetGlobals()->GetMarketName(codes[i]));
    for (IDataTable* pTable : CNorvApp::Get()->GetTables()) {
        CNorvApp::ShowTable(pTable);
        CTableMDIWnd* pWnd = pTable->GetMainWindow();
        if (pWnd == nullptr || !pWnd->HasGrid())
            continue;
        // Shown as the trader sees it: what showing it asks for has come in.
        if (auto* pData = dynamic_cast<CDataTable*>(pTable))
            PumpUntil([&] { return !pData->IsReceiving(); }, 3000);
        PumpFor(300);
        const std::string strName(pTable->GetName());
        char szTitle[512] = "";
        GetWindowTextA(pWnd->m_hWnd, szTitle, sizeof szTitle);
        for (const std::string& strMarket : marketNames)
            if (strMarket.size() > 20 && strstr(szTitle, strMarket.substr(0, 20).c_str()) != nullptr
                && strstr(szTitle, strMarket.c_str()) == nullptr)
                faults.insert(TbCodePageToUtf8(strName + " title: " + szTitle, CP_ACP));
        ShowWhole(pWnd);
        CTableWindow& grid = pWnd->GetGrid();
        HDC hdc = GetDC(grid.m_hWnd);
        SelectObject(hdc, grid.GetFont());
        const auto Width = [&](const char* psz) {
            SIZE size = {0, 0};
            GetTextExtentPoint32A(hdc, psz, static_cast<int>(strlen(psz)), &size);
            return static_cast<int>(size.cx);
        };
        const auto Fault = [&](int nCol, const std::string& strText) {
            faults.insert(TbCodePageToUtf8(strName + " " + std::string(pWnd->GetView()->GetColumnOrder().GetColumn(nCol)->GetTitle())
                                           + ": " + strText, CP_ACP));
        };
        const CSortColumns& keys = pWnd->GetView()->GetSortColumns();
        for (int nCol = 0; nCol < grid.GetDisplayColumnCount(); ++nCol) {
            // Each line of a title whole: the header does not wrap a line of words. The column
            // the trader sorted by keeps its title whole beside the sort mark.
            const bool bMarked = keys.GetCount() > 0 && !pWnd->GetView()->GetColumns().m_bDefaultOrder
                                 && keys.GetAt(0).m_nColumn == pWnd->GetView()->GetColumnOrder().GetColumnIndex(nCol);
            std::istringstream lines(std::string(pWnd->GetView()->GetColumnOrder().GetColumn(nCol)->GetTitle()));
            for (std::string strLine; std::getline(lines, strLine);)
                if (grid.GetColumnWidth(nCol) > 0 && Width(strLine.c_str()) > grid.GetColumnWidth(nCol) - (bMarked ? 18 : 6))
                    Fault(nCol, std::string(bMarked ? "title cut by its sort mark " : "title cut ") + std::to_string(Width(strLine.c_str()))
                                    + "/" + std::to_string(grid.GetColumnWidth(nCol)));
        }
        // A column the window shows has a width to show it in.
        for (int nCol = 0; nCol < grid.GetDisplayColumnCount(); ++nCol)
            if (!pWnd->GetView()->GetColumnOrder().GetColumn(nCol)->m_bHidden && grid.GetColumnWidth(nCol) <= 0)
                Fault(nCol, "shown without a width");
        // Each title's ink as the header shows it: its cell's inside, its frame aside, in screen
        // order; two neighbouring titles' inks keep a gap, in both languages.
        std::vector<std::pair<int, int>> inks;
        for (int nCol = 0; nCol < grid.GetDisplayColumnCount(); ++nCol) {
            RECT rc;
            if (pWnd->GetView()->GetColumnOrder().GetColumn(nCol)->m_bHidden || grid.GetColumnWidth(nCol) <= 0)
                continue;
            grid.PaneOfColumn(nCol)->GetColumnRect(nCol, &rc);
            const RECT& rcTitle = grid.PaneOfColumn(nCol)->GetTitleRect();
            int xFirst = -1, xLast = -1;
            for (int x = rc.left + 2; x < rc.right - 2; ++x)
                for (int y = rcTitle.top + 2; y < rcTitle.bottom - 2; ++y) {
                    const COLORREF cr = GetPixel(hdc, x, y);
                    if (GetRValue(cr) + GetGValue(cr) + GetBValue(cr) < 3 * 96) {
                        xFirst = xFirst < 0 ? x : xFirst;
                        xLast = x;
                        break;
                    }
                }
            if (xFirst >= 0)
                inks.emplace_back(xFirst, xLast);
        }
        std::sort(inks.begin(), inks.end());
        for (size_t i = 1; i < inks.size(); ++i)
            if (inks[i].first - inks[i - 1].second <= kTitleGap)
                faults.insert(TbCodePageToUtf8(strName, CP_ACP) + " titles touch at x " + std::to_string(inks[i].first));
        std::set<int> readColumns;
        for (int nLine = 0; nLine < pWnd->GetView()->GetRowCount() - grid.GetTopRow(); ++nLine)
            for (int nCol = 0; nCol < grid.GetDisplayColumnCount(); ++nCol) {
                CTBString strShown;
                RECT rc;
                const CTableColumn* pColumn = pWnd->GetView()->GetColumnOrder().GetColumn(nCol);
                if (!grid.PaneOfColumn(nCol)->GetShownCellText(nLine, nCol, &strShown, &rc))
                    continue;
                // A code text, or a code or reference in a short text column (a currency, a
                // symbol, "S00000001"): a word, not a name.
                const bool bCode = (pColumn->m_pfnFormat != nullptr && madeRows.count(pTable->GetNameId()) == 0)
                                   || (pColumn->GetDataType() == COLTYPE_STRING && pColumn->m_nSize <= 41
                                       && strchr(strShown, ' ') == nullptr);
                const bool bWhole = bCode || whole.count(std::string(strShown)) != 0;
                if (strstr(strShown, "##") != nullptr || (bWhole && Width(strShown) > rc.right - rc.left))
                    Fault(nCol, std::string(strShown).substr(0, 60) + " " + std::to_string(Width(strShown)) + "/" + std::to_string(rc.right - rc.left));
                // A currency code ("=KWD") reads as written in either language: its "=" in front,
                // where right-to-left reading would draw it behind. One cell a column.
                if (strShown[0] == '=' && !HasArabic(strShown) && readColumns.insert(nCol).second) {
                    ++nCodesRead;
                    std::string strInk;
                    for (int x = rc.left; x < rc.right; ++x) {
                        bool bInk = false;
                        for (int y = rc.top + 2; y < rc.bottom - 2 && !bInk; ++y) {
                            const COLORREF cr = GetPixel(hdc, x, y);
                            bInk = GetRValue(cr) + GetGValue(cr) + GetBValue(cr) < 3 * 96;
                        }
                        strInk += bInk ? '#' : '.';
                    }
                    strInk = strInk.substr(std::min(strInk.find('#'), strInk.size()));
                    strInk = strInk.substr(0, strInk.find_last_of('#') + 1);
                    if (!SameInk(InkOfText(grid.GetFont(), std::string(strShown)), strInk))
                        Fault(nCol, std::string(strShown) + " reads " + strInk);
                }
            }
        // Texts of another language than the session's in the columns that name a company: in
        // English any Arabic letter, in Arabic a company's name in Latin letters.
        auto* pData = dynamic_cast<CDataTable*>(pTable);
        const std::span<const TABLE_COLUMN> columns = pData != nullptr ? pData->GetDescription().columns : std::span<const TABLE_COLUMN>{};
        for (size_t nName = 0; nName < columns.size(); ++nName)
            for (const std::string& strText :
                 columns[nName].nWidth == NAME_WIDTH ? ShownTexts(pData, static_cast<int>(nName)) : std::vector<std::string>{})
                // A KSE stock without a name of its own shows its symbol.
                if (HasArabic(strText.c_str()) != bArabic && !strText.empty() && strText != "=KWD"
                    && strText.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") != std::string::npos)
                    faults.insert(TbCodePageToUtf8(strName + " " + strText, CP_ACP) + " not in the session's language");
        ReleaseDC(grid.m_hWnd, hdc);
        std::istringstream lines(PrintAsShown(pWnd, strPdf)
                                     ? RunCommand("pdftotext -layout '" + strPdf + "' - 2>/dev/null") : "## not printed");
        for (std::string strLine; std::getline(lines, strLine);)
            if (strLine.find("##") != std::string::npos)
                faults.insert(strName + " printed " + strLine.substr(0, 160));
    }
    if (nCodesRead == 0)
        faults.insert("no currency code shown");
    return faults;
}

struct ShownValues : CAccountSession
{
    void Command(UINT nId) { SendMessageA(pRun->App().GetMainFrame()->m_hWnd, WM_COMMAND, nId, 0); }

    void Loaded(UINT nTable)
    {
        CDataTable* pTable = FindDataTable(nTable);
        ASSERT_NE(nullptr, pTable) << nTable;
        ASSERT_TRUE(PumpUntil([&] { return pTable->IsComplete() && !pTable->IsReceiving() && pTable->GetRows()->GetCount() > 0; }))
            << nTable;
        CNorvApp::ShowTable(pTable);
    }

    // The US and combined holdings and unrealized windows, each holding the server's reply.
    void OpenPositionWindows()
    {
        for (UINT nTable : {IDS_TABLE_US_HOLDINGS, IDS_TABLE_COMBINED_HOLDINGS})
            ASSERT_NO_FATAL_FAILURE(Loaded(nTable));
        Command(ID_APP_US_UNREALIZED);
        ASSERT_NO_FATAL_FAILURE(Loaded(IDS_TABLE_US_UNREALIZED));
        ASSERT_TRUE(CCombinedUnrealizedProfitLossTable::OpenForAccount("10020"));
        ASSERT_NO_FATAL_FAILURE(Loaded(IDS_TABLE_COMBINED_UNREALIZED));
    }

    // A KSE market order filled at once: its position line, once it has come back.
    std::string BuyKse(const std::string& strStock, int nQuantity)
    {
        Send(MSG_KR, "||1002|10020|1|1|" + strStock + "|" + std::to_string(nQuantity) + "|3|0||0|||secret");
        std::string strLine;
        PumpUntil([&] {
            for (const std::string& line : Sent("IU"))
                strLine = Split(line)[5] == strStock ? line : strLine;
            return !strLine.empty();
        }, 5000);
        PumpFor(200);
        return strLine;
    }

    // Every account table named by the cases, loaded and shown, one after the other.
    void OpenEveryTable(const std::string& strKseOrder = "||1002|10020|1|1|101|100|3|0||0|||secret")
    {
        // A KSE order, so that the order table has a row.
        Send(MSG_KR, strKseOrder);
        for (UINT nTable : {IDS_TABLE_US_HOLDINGS, IDS_TABLE_KSE_HOLDINGS, IDS_TABLE_COMBINED_HOLDINGS, IDS_TABLE_KSE_ORDER_STATUS})
            ASSERT_NO_FATAL_FAILURE(Loaded(nTable));
        Command(33235);
        ASSERT_NO_FATAL_FAILURE(Loaded(IDS_TABLE_KSE_UNREALIZED));
        // The combined table takes rows only while the unrealized command chooses it.
        Command(ID_APP_US_UNREALIZED);
        ASSERT_NO_FATAL_FAILURE(Loaded(IDS_TABLE_US_UNREALIZED));
        ASSERT_TRUE(CCombinedUnrealizedProfitLossTable::OpenForAccount("10020"));
        ASSERT_NO_FATAL_FAILURE(Loaded(IDS_TABLE_COMBINED_UNREALIZED));
        Command(ID_APP_MARGIN_DETAILS);
        ASSERT_NO_FATAL_FAILURE(Loaded(IDS_TABLE_MARGIN_DETAILS));
        const CString strFrom = ToServerDate("20261101"), strTo = ToServerDate("20261231");
        for (const RANGE_REPORT_DESC* pReport : {&g_realizedProfitLossTable, &g_realizedProfitLossKSETable,
                                                 &g_histTransactionTable, &g_histTransactionKSETable}) {
            ASSERT_NE(0, QueryRangeReport(*pReport, strFrom, strTo));
            ASSERT_NO_FATAL_FAILURE(Loaded(pReport->account.table.nNameId));
        }
        ASSERT_NE(0, QueryCombinedRealized(strFrom, strTo));
        ASSERT_NO_FATAL_FAILURE(Loaded(IDS_TABLE_COMBINED_REALIZED));
        Command(ID_APP_KSE_INDICES);
        Command(ID_APP_FWD_OPEN_INTEREST);
        for (UINT nTable : {IDS_TABLE_INDICES_KSE, IDS_TABLE_OPEN_INTEREST_FWD_KSE, IDS_TABLE_KSE_QUOTATIONS})
            ASSERT_NO_FATAL_FAILURE(Loaded(nTable));
        PumpFor(300);
    }

    // The order is a limit order that stays open, so that the order shows its longest duration.
    // Every number, date and time column holds a real market's largest figure of its kind, in
    // the rows the server sent and in a row of its own where none came.
    void ExpectDefaultLayoutsWhole(bool bArabic)
    {
        ASSERT_TRUE(StartSession({"--rate", "0"}, bArabic));
        ASSERT_NO_FATAL_FAILURE(OpenEveryTable("||1002|10020|1|1|101|100|0|800||2|||secret"));
        // A US stock bought and the holdings asked for again, so that they name a company.
        Send(MSG_OR, "1002|10020|1|GLNT|100|3|0||0|||secret");
        CDataTable* pUsHoldings = FindDataTable(IDS_TABLE_US_HOLDINGS);
        ASSERT_TRUE(PumpUntil([&] { return ShownAt(pUsHoldings, 0, "GLNT", 0) == "GLNT"; }, 5000));
        TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDYES, ""});
        RunTableCommand(pUsHoldings, ID_ACCOUNT_REFRESH);
        ASSERT_NO_FATAL_FAILURE(Loaded(IDS_TABLE_US_HOLDINGS));
        // A KSE order filled, so that its trade shows the order's reference.
        ASSERT_FALSE(BuyKse("101", 100).empty());
        for (UINT nId : {33276u, UINT{ID_APP_EXCHANGE_RATES}, UINT{ID_APP_INTEREST_RATES}})
            Command(nId);
        for (UINT nTable : {IDS_TABLE_FORWARD_CONTRACTS, IDS_TABLE_EXCHANGE_RATES, IDS_TABLE_INTEREST_RATES})
            ASSERT_NO_FATAL_FAILURE(Loaded(nTable));
        // The forward contracts sorted by their opening, latest first.
        CSortColumns byOpened(1);
        byOpened.Add(0, SORT_DESCENDING);
        FindDataTable(IDS_TABLE_FORWARD_CONTRACTS)->GetMainWindow()->GetView()->Sort(byOpened, FALSE);
        // Every table the terminal makes, each column holding the largest figure of its kind.
        std::set<std::string> written;
        std::set<UINT> madeRows;
        for (UINT nId : RegisteredTableIds())
            if (CNorvApp::Get()->FindTable(nId) == nullptr)
                MakeTable(nId, 0, 0);
        // A column that shows an order's reference is of the reference kind, as the order
        // status's is, so that the walk writes the largest reference there too.
        ASSERT_NO_FATAL_FAILURE(ExpectReferencesOfTheirKind());
        for (IDataTable* pAny : CNorvApp::Get()->GetTables())
            if (CDataTable* pTable = dynamic_cast<CDataTable*>(pAny))
                if (WriteLargest(pTable, written))
                    madeRows.insert(pTable->GetNameId());
        for (const std::string& strFault : CutOrMarkedTexts(pRun->Folder() + "/marks.pdf", bArabic, written, madeRows))
            ADD_FAILURE() << strFault;
        for (UINT nTable : {IDS_TABLE_COMBINED_UNREALIZED, IDS_TABLE_KSE_QUOTATIONS, IDS_TABLE_US_QUOTATIONS})
            Shoot(FindDataTable(nTable), "default_layout_" + std::to_string(nTable) + (bArabic ? "_ar" : "_en"));
    }

    // Every table window, 1280 pixels wide at its default layout and maximised in a frame 1280
    // pixels wide, with the simulator's figures and then with a real account's (a company's name
    // of 51 letters, the largest figure of each kind), at the first paint and after a whole
    // repaint alike: no cell shows '#'; in a position or order window (the tables the code values
    // positions in, and every order status table it registers) the key figures stand inside the
    // window, the texts that give their room (a name, a market's name) cut first.
    void ExpectKeyFiguresInView(bool bArabic)
    {
        ASSERT_TRUE(StartSession({"--rate", "0"}, bArabic));
        ASSERT_NO_FATAL_FAILURE(OpenEveryTable());
        for (UINT nId : RegisteredTableIds())
            if (CNorvApp::Get()->FindTable(nId) == nullptr)
                MakeTable(nId, 0, 0);
        size_t nKeyWindows = 0;
        // The key figures too wide for 1280 pixels together, whatever gives way beside them.
        std::set<std::string> narrow;
        SetWindowPos(pRun->App().GetMainFrame()->m_hWnd, nullptr, 0, 0, 1280, 900, SWP_NOZORDER | SWP_NOMOVE);
        std::set<std::string> written;
        const std::string strStatus = std::to_string(LongestCode(*COrderStatus::Get(), &COrderStatus::GetText));
        const std::string strLongName = bArabic ? TbUtf8ToCodePage("شركة الخليج الكويتية المتحدة للاستثمار والتطوير العقاري القابضة", 1256)
                                                : "Gulf United Kuwaiti Real Estate Development Holding";
        // The simulator's account; a real account, the simulator's at a real account's size; and
        // the largest of every kind in every row, past any account, where the codes' words give
        // their room too.
        static const char* const s_accounts[] = {"", " (a real account)", " (the largest figures)"};
        for (const char* pszAccount : s_accounts) {
            SCOPED_TRACE(pszAccount);
            const bool bReal = *pszAccount != '\0', bLargest = pszAccount == s_accounts[2];
            for (IDataTable* pAny : CNorvApp::Get()->GetTables()) {
                auto* pTable = dynamic_cast<CDataTable*>(pAny);
                CTableMDIWnd* pWnd = pAny->GetMainWindow();
                if (pTable == nullptr || pWnd == nullptr || !pWnd->HasGrid())
                    continue;
                const UINT nId = pTable->GetNameId();
                const bool bKeyFigures = std::find(std::begin(g_positionTables), std::end(g_positionTables), nId) != std::end(g_positionTables)
                                         || dynamic_cast<COrderStatusTable*>(pTable) != nullptr
                                         || dynamic_cast<COrderStatusKSETable*>(pTable) != nullptr;
                nKeyWindows += bKeyFigures && !bReal ? 1 : 0;
                // The key figures, as the columns describe them: the symbol, the order's status, and
                // every figure (a quantity, price, amount or per cent; not an order's number nor a
                // count). A name, a market's name or another code's word gives its room to them.
                std::set<int> keys = {pTable->GetDescription().company.nSymbol};
                std::set<int> giving;
                const std::span<const TABLE_COLUMN> described = pTable->GetDescription().columns;
                for (size_t nCol = 0; nCol < described.size(); ++nCol) {
                    const TABLE_COLUMN& c = described[nCol];
                    const bool bFigure = (c.nType == COLTYPE_INT32 || c.nType == COLTYPE_INT64 || c.nType == COLTYPE_DOUBLE)
                                         && c.nWidth != NUMBER_WIDTH && c.nWidth != COUNT_WIDTH;
                    const bool bStatus = c.pfnFormat == &COrderStatus::FormatCodeColumn;
                    if (bFigure || bStatus)
                        keys.insert(static_cast<int>(nCol));
                    else if (c.nWidth == NAME_WIDTH || c.nWidth == MARKET_COLUMN_WIDTH || c.nType == COLTYPE_COMPUTED)
                        giving.insert(static_cast<int>(nCol));
                }
                if (bReal) {
                    // A real account is the simulator's positions and orders at a real account's
                    // size: each figure the simulator gives runs to tens of millions, whole shares,
                    // and what it leaves empty (a long position's short side) stays empty. A table
                    // the simulator leaves empty takes the largest figure of each kind.
                    if (pTable->GetRows()->GetCount() == 0 || bLargest)
                        WriteLargest(pTable, written);
                    const std::span<const TABLE_COLUMN> columns = pTable->GetDescription().columns;
                    for (size_t nCol = 0; nCol < columns.size(); ++nCol) {
                        const int nKind = columns[nCol].nWidth;
                        const bool bAmount = nKind == MONEY_WIDTH, bShares = nKind == QUANTITY_WIDTH || nKind == VOLUME_WIDTH;
                        for (int i = 0; i < pTable->GetRows()->GetCount(); ++i) {
                            CDataBuffer* pRow = pTable->GetRows()->GetAt(i);
                            const double dGiven = bAmount || bShares ? pRow->GetDouble(static_cast<int>(nCol)) : 0.0;
                            const char* pszText = nKind == NAME_WIDTH ? strLongName.c_str() : nullptr;
                            if ((dGiven != 0.0 || bLargest) && bAmount)
                                pszText = columns[nCol].nType == COLTYPE_DOUBLE ? "-12345678.125" : "-12345678";
                            else if ((dGiven != 0.0 || bLargest) && bShares)
                                pszText = dGiven < 0 || bLargest ? "-12345678" : "12345678";
                            // An order's status, the longest it reads.
                            if (columns[nCol].pfnFormat == &COrderStatus::FormatCodeColumn)
                                pszText = strStatus.c_str();
                            if (pszText != nullptr)
                                pRow->SetText(static_cast<int>(nCol), pszText, TRUE);
                        }
                    }
                }
                // Shown as the trader's commands show it: its own hidden columns (options) hidden.
                CNorvApp::ShowTable(pTable);
                pTable->SetColumnsHidden(TRUE);
                for (const bool bMaximised : {false, true}) {
                    if (bMaximised)
                        ShowWindow(pWnd->m_hWnd, SW_MAXIMIZE);
                    else
                        SetWindowPos(pWnd->m_hWnd, nullptr, 0, 0, 1280, 400, SWP_NOZORDER | SWP_NOMOVE);
                    PumpFor(20);
                    const std::string strWhere = std::string(pTable->GetName()) + (bMaximised ? " maximised" : " at 1280 px") + pszAccount;
                    ExpectColumnsInViewWithoutMarks(pWnd, bKeyFigures ? keys : std::set<int>{}, giving, strWhere + ", first paint", narrow);
                    InvalidateRect(pWnd->GetGrid().m_hWnd, nullptr, TRUE);
                    UpdateWindow(pWnd->GetGrid().m_hWnd);
                    ExpectColumnsInViewWithoutMarks(pWnd, bKeyFigures ? keys : std::set<int>{}, giving, strWhere + ", repainted", narrow);
                    if (bMaximised)
                        ShowWindow(pWnd->m_hWnd, SW_RESTORE);
                }
                if (bReal && !bLargest && bKeyFigures)
                    Shoot(pTable, "key_figures_" + std::to_string(nId) + (bArabic ? "_ar" : "_en"), 1280);
            }
        }
        EXPECT_LE(12u, nKeyWindows);
        for (const std::string& strNarrow : narrow)
            printf("Too narrow at 1280 px for its key figures: %s\n", strNarrow.c_str());
    }

    // What the window shows: no '#', and each key column's whole rectangle inside the window,
    // unless the columns before it that cannot give way, and those that can as narrow as their
    // titles, already reach past the window's edge (noted in narrow).
    static void ExpectColumnsInViewWithoutMarks(CTableMDIWnd* pWnd, const std::set<int>& keys, const std::set<int>& giving,
                                                const std::string& strWhere, std::set<std::string>& narrow)
    {
        CTableWindow& grid = pWnd->GetGrid();
        CViewTable* pView = pWnd->GetView();
        RECT rcClient;
        GetClientRect(grid.m_hWnd, &rcClient);
        HDC hdc = CreateCompatibleDC(nullptr);
        grid.PrepareDC(hdc);
        // The row headers, the band between the fixed columns and the others, and the scroll bar
        // that a real account's rows bring.
        int nNeeded = (pView->GetShowHeader() ? grid.GetRowHeight() : 0) + (pView->GetFixedColumnCount() > 0 ? 5 : 0)
                      + GetSystemMetrics(SM_CXVSCROLL);
        for (int nCol = 0; nCol < grid.GetDisplayColumnCount(); ++nCol) {
            const CTableColumn* pColumn = pView->GetColumnOrder().GetColumn(nCol);
            if (pColumn->m_bHidden)
                continue;
            const int nIndex = pView->GetColumnOrder().GetColumnIndex(nCol);
            // A title keeps 3 pixels on each side.
            RECT rcTitle = {0, 0, 0, 0};
            DrawTextA(hdc, pColumn->GetTitle(), -1, &rcTitle, DT_CALCRECT | DT_NOPREFIX);
            nNeeded += giving.count(nIndex) != 0 ? std::min<int>(rcTitle.right + 6, grid.GetColumnWidth(nCol)) : grid.GetColumnWidth(nCol);
            RECT rc;
            grid.PaneOfColumn(nCol)->GetColumnRect(nCol, &rc);
            std::string strTitle = TbCodePageToUtf8(static_cast<const char*>(pColumn->GetTitle()), CP_ACP);
            std::replace(strTitle.begin(), strTitle.end(), '\n', ' ');
            const bool bInView = !IsRectEmpty(&rc) && rc.left >= rcClient.left && rc.right <= rcClient.right;
            if (keys.count(nIndex) != 0 && !bInView && nNeeded > rcClient.right)
                narrow.insert(strWhere.substr(0, strWhere.find(',')) + ": " + strTitle);
            else
                EXPECT_TRUE(keys.count(nIndex) == 0 || bInView)
                    << strWhere << ": " << strTitle << " at " << rc.left << ".." << rc.right << " of " << rcClient.right;
            for (int nLine = 0; nLine < std::min(grid.GetLinesThatFit(), pView->GetRowCount() - grid.GetTopRow()); ++nLine) {
                CTBString strShown;
                RECT rcShown;
                if (grid.PaneOfColumn(nCol)->GetShownCellText(nLine, nCol, &strShown, &rcShown)) {
                    EXPECT_EQ(nullptr, strstr(strShown, "##"))
                        << strWhere << ": " << static_cast<const char*>(pColumn->GetTitle()) << " shows " << static_cast<const char*>(strShown);
                    // A key figure gives none of its room: its text stands whole.
                    RECT rcText = {0, 0, 0, 0};
                    EXPECT_TRUE(keys.count(nIndex) == 0 || (DrawTextA(hdc, strShown, -1, &rcText, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE),
                                                            rcText.right <= rc.right - rc.left))
                        << strWhere << ": " << strTitle << " cuts " << static_cast<const char*>(strShown);
                }
            }
        }
        DeleteDC(hdc);
    }

    static void ExpectReferencesOfTheirKind()
    {
        std::set<std::string> references;
        std::vector<CDataTable*> tables;
        for (IDataTable* pAny : CNorvApp::Get()->GetTables())
            if (auto* pTable = dynamic_cast<CDataTable*>(pAny)) {
                tables.push_back(pTable);
                const std::span<const TABLE_COLUMN> columns = pTable->GetDescription().columns;
                for (size_t nCol = 0; nCol < columns.size(); ++nCol)
                    for (const std::string& strText : columns[nCol].nWidth == REFERENCE_WIDTH
                                                          ? ShownTexts(pTable, static_cast<int>(nCol)) : std::vector<std::string>{})
                        if (!strText.empty())
                            references.insert(strText);
            }
        ASSERT_FALSE(references.empty());
        for (CDataTable* pTable : tables) {
            const std::span<const TABLE_COLUMN> columns = pTable->GetDescription().columns;
            for (size_t nCol = 0; nCol < columns.size(); ++nCol)
                for (const std::string& strText : ShownTexts(pTable, static_cast<int>(nCol)))
                    if (references.count(strText) != 0 && columns[nCol].nWidth != REFERENCE_WIDTH) {
                        ADD_FAILURE() << pTable->GetName() << " column " << nCol << " shows the reference " << strText
                                      << " in " << columns[nCol].nWidth << " px";
                        break;
                    }
        }
    }

    // The largest figure of each column's kind in every row (one row made where none came, whose
    // codes are no code's text), a market column the longest of the markets' names (its code
    // where it shows the code's name). TRUE when the row was made.
    static bool WriteLargest(CDataTable* pTable, std::set<std::string>& written)
    {
        CArray<int, int> codes;
        GetGlobals()->GetMarketCodes(codes);
        int nLongest = codes.GetSize() > 0 ? codes[0] : 0;
        for (int i = 0; i < codes.GetSize(); ++i)
            if (GetGlobals()->GetMarketName(codes[i]).GetLength() > GetGlobals()->GetMarketName(nLongest).GetLength())
                nLongest = codes[i];
        CDataArray* pRows = pTable->GetRows();
        const bool bMade = pRows->GetCount() == 0;
        if (bMade) {
            std::unique_ptr<CDataBuffer> pRow(pRows->NewRow());
            pRows->AddRow(pRow.get(), TRUE);
        }
        const std::span<const TABLE_COLUMN> columns = pTable->GetDescription().columns;
        for (size_t nCol = 0; nCol < columns.size(); ++nCol) {
            // A number, date or time the trader may show has a kind: its width is the kind's.
            const TABLE_COLUMN& column = columns[nCol];
            const bool bShowable = (column.nFlags & COLF_KEY) == 0
                                   && (column.nFlags & (COLF_HIDDEN | COLF_SWITCHABLE)) != COLF_HIDDEN;
            if (bShowable && column.nWidth > 0 && column.nType != COLTYPE_STRING && column.nType != COLTYPE_COMPUTED)
                ADD_FAILURE() << pTable->GetName() << " column " << nCol << " has no kind";
            if (column.nWidth <= 0 && ColumnKindWidth(column.nWidth) <= 0)
                ADD_FAILURE() << pTable->GetName() << " column " << nCol << " is of an unknown kind " << column.nWidth;
            const char* pszLargest = ColumnKindLargest(columns[nCol].nWidth);
            // Only a kind whose texts are the server's (a code, a name) has no largest text.
            if (pszLargest == nullptr && bShowable && column.nWidth < 0 && column.nType != COLTYPE_STRING
                && column.nType != COLTYPE_COMPUTED)
                ADD_FAILURE() << pTable->GetName() << " column " << nCol << " has no largest figure of its kind " << column.nWidth;
            if (pszLargest == nullptr)
                continue;
            std::string strText = pszLargest;
            if (strText.empty()) {
                strText = std::string(GetGlobals()->GetMarketName(nLongest));
                written.insert(strText);
                if (columns[nCol].pfnFormat != nullptr)
                    strText = std::to_string(nLongest);
            } else if (columns[nCol].nType == COLTYPE_STRING) {
                written.insert(strText);
            }
            // Figures that add up: the first row the largest, the others a hundredth of it, so
            // that a total is as large as the largest of its kind.
            const bool bFigure = (column.nType == COLTYPE_INT32 || column.nType == COLTYPE_DOUBLE) && column.nWidth != NUMBER_WIDTH;
            char szSmaller[64];
            snprintf(szSmaller, sizeof szSmaller, column.nType == COLTYPE_INT32 ? "%.0f" : "%.3f", atof(pszLargest) / 100);
            for (int i = 0; i < pRows->GetCount(); ++i)
                pRows->GetAt(i)->SetText(static_cast<int>(nCol), i > 0 && bFigure ? szSmaller : strText.c_str(), TRUE);
            // A text is held whole: a reference as long as the ticket takes, a market's name.
            if (column.nType == COLTYPE_STRING && column.pfnFormat == nullptr && pTable->GetMainWindow() != nullptr)
                for (const std::string& strHeld : ShownTexts(pTable, static_cast<int>(nCol)))
                    if (strHeld != strText) {
                        ADD_FAILURE() << pTable->GetName() << " column " << nCol << " holds \"" << strHeld << "\" of \"" << strText << "\"";
                        break;
                    }
        }
        return bMade;
    }
};

TEST_F(ShownValues, EachColumnShowsOrBlanksItsZeroAsItsTableSays)
{
    ASSERT_TRUE(StartSession({"--rate", "0"}, false));
    ASSERT_NO_FATAL_FAILURE(OpenEveryTable());
    // The combined table's account column starts hidden, and the user may show it.
    CColumn account = FindDataTable(IDS_TABLE_COMBINED_UNREALIZED)->GetTable()->GetColumn(CU_REPLY);
    EXPECT_TRUE(account.IsHidden() && account.IsUserSwitchable());
    for (const ZERO_CASE& c : s_cases) {
        CDataTable* pTable = FindDataTable(c.nTable);
        SCOPED_TRACE(std::string(pTable->GetName()));
        for (const int nCol : c.columns) {
            // Every row, whatever order a written key puts them in.
            std::vector<CDataBuffer*> rows;
            for (int i = 0; c.pszWritten != nullptr && i < pTable->GetRows()->GetCount(); ++i)
                rows.push_back(pTable->GetRows()->GetAt(i));
            for (CDataBuffer* pRow : rows)
                pRow->SetText(nCol, c.pszWritten, TRUE);
            const std::vector<std::string> shown = ShownTexts(pTable, nCol);
            std::vector<std::string> zeros(static_cast<size_t>(pTable->GetRows()->GetCount()), c.pszZero);
            if (c.pszZero == UNIT_ZERO) {
                const std::vector<std::string> currencies = ShownTexts(pTable, pTable->GetDescription().nCurrencyColumn);
                for (size_t i = 0; i < zeros.size() && i < currencies.size(); ++i)
                    zeros[i] = currencies[i].find("KWD") != std::string::npos ? "0.000" : "0.00";
            }
            EXPECT_EQ(zeros, shown) << "column " << nCol;
        }
    }
}

TEST_F(ShownValues, TotalsAddOnlyAmountsOfOneCurrencyAndUnit)
{
    ASSERT_TRUE(StartSession({"--rate", "0"}, false));
    // Two dollar purchases whose costs run past the cent, so that their total would pass it.
    for (const char* pszSymbol : {"ALPN", "GLNT"})
        Send(MSG_OR, std::string("1002|10020|1|") + pszSymbol + "|37|3|0||0|||secret");
    ASSERT_TRUE(PumpUntil([&] { return Sent("NH").size() >= 2; }, 5000));
    ASSERT_NO_FATAL_FAILURE(OpenEveryTable());
    for (const TOTAL_CASE& c : s_totals) {
        CDataTable* pTable = FindDataTable(c.nTable);
        SCOPED_TRACE(std::string(pTable->GetName()));
        for (const int nCol : c.blank)
            EXPECT_EQ("", TotalText(pTable, nCol)) << "column " << nCol;
        for (const int nCol : c.summed) {
            double dSum = 0;
            for (const std::string& strCell : ShownTexts(pTable, nCol))
                dSum += ShownNumber(strCell);
            EXPECT_NEAR(dSum, ShownNumber(TotalText(pTable, nCol)), 0.0005) << "column " << nCol;
        }
        for (const int nCol : c.shown)
            EXPECT_NE("", TotalText(pTable, nCol)) << "column " << nCol;
    }
}

// A KSE position bought after the login reads in the combined holdings as the reply's rows do:
// the same price in dinars, average cost, value and gain; an option position is an option.
TEST_F(ShownValues, CombinedHoldingsReadALivePositionAsTheReplysRows)
{
    ASSERT_TRUE(StartSession({"--rate", "0"}));
    ASSERT_NO_FATAL_FAILURE(Loaded(IDS_TABLE_COMBINED_HOLDINGS));
    CDataTable* pCombined = FindDataTable(IDS_TABLE_COMBINED_HOLDINGS);
    ASSERT_FALSE(BuyKse("101", 1000).empty());
    const auto Shown = [&] {
        std::string strRow;
        for (const int nCol : std::vector<int>{CH_TYPE, CH_PRICE, 9, CH_VALUE, 21})
            strRow += ShownAt(pCombined, CH_SYMBOL, "101", nCol) + "|";
        return strRow;
    };
    const std::string strLive = Shown();
    const size_t nKse = Sent("IK").size();
    ASSERT_TRUE(static_cast<IDataTable*>(pCombined)->SendRequest());
    ASSERT_TRUE(PumpUntil([&] { return Sent("IK").size() > nKse && !pCombined->IsReceiving(); }, 5000));
    PumpFor(300);
    EXPECT_EQ(Shown(), strLive);
    int nOptions = 0;
    for (const std::string& row : LastReplyRows("IH")) {
        const std::vector<std::string> f = Split(row);
        if (atol(f[20].c_str()) == 0)
            continue;
        ++nOptions;
        EXPECT_EQ("Option", ShownAt(pCombined, CH_SYMBOL, f[0], CH_TYPE)) << row;
    }
    EXPECT_LT(0, nOptions);
}
}  // namespace

// Every table of a session, the account reports among them, shows and prints the simulator's
// values whole in its default layout, in both languages: no run of '#', no code text or title
// word cut.
TEST_F(ShownValues, DefaultLayoutsShowValuesNotMarksInEnglish)
{
    ASSERT_NO_FATAL_FAILURE(ExpectDefaultLayoutsWhole(false));
}

TEST_F(ShownValues, DefaultLayoutsShowValuesNotMarksInArabic)
{
    ASSERT_NO_FATAL_FAILURE(ExpectDefaultLayoutsWhole(true));
    // A US company in the combined unrealized report by the symbol list's Arabic name.
    const std::string strName = ShownAt(FindDataTable(IDS_TABLE_COMBINED_UNREALIZED), CU_SYMBOL, "GLNT", CU_NAME);
    EXPECT_EQ(TbUtf8ToCodePage("جلينمونت للطاقة", 1256), strName);
}

TEST_F(ShownValues, PositionAndOrderWindowsShowTheirKeyFiguresWithin1280PixelsInEnglish)
{
    ASSERT_NO_FATAL_FAILURE(ExpectKeyFiguresInView(false));
}

TEST_F(ShownValues, PositionAndOrderWindowsShowTheirKeyFiguresWithin1280PixelsInArabic)
{
    ASSERT_NO_FATAL_FAILURE(ExpectKeyFiguresInView(true));
}

// A quote without a last price values the unrealized reports at its close, the KSE board at its
// previous close, as every account window values a position; a live line whose quantities are
// below one share closes the position in both reports alike.
TEST_F(ShownValues, UnrealizedReportsValueAtTheCloseWithoutALastAndCloseAPositionByOneRule)
{
    ASSERT_TRUE(StartSession({"--rate", "0"}));
    const std::string strAtlantic(GetGlobals()->GetMarketName(8));
    auto* pQuotes = dynamic_cast<CQuotationTable*>(FindDataTable(IDS_TABLE_US_QUOTATIONS));
    CDataTable* pBoard = FindDataTable(IDS_TABLE_KSE_QUOTATIONS);
    ASSERT_TRUE(pQuotes != nullptr && pBoard != nullptr);
    pQuotes->AddSymbol("GLNT", strAtlantic.c_str(), nullptr);
    ASSERT_TRUE(PumpUntil([&] { return pQuotes->FindQuote("GLNT", strAtlantic.c_str()) != nullptr; }));
    // The server answers in order: once the KSE report asked for now has come, so has every quote
    // asked for before it, and in a still market no other follows to undo the prices set here.
    Command(33235);
    ASSERT_NO_FATAL_FAILURE(Loaded(IDS_TABLE_KSE_UNREALIZED));
    CDataBuffer* pQuote = pQuotes->FindQuote("GLNT", strAtlantic.c_str());
    pQuote->SetText(QC_LAST, "0", TRUE);
    pQuote->SetText(QC_CLOSE, "1.2345", TRUE);
    CDataBuffer* pStock = pBoard->GetRows()->FindRowByIds({107L});
    ASSERT_NE(nullptr, pStock);
    pStock->SetText(KC_LAST, "0", TRUE);
    pStock->SetText(KC_PREVIOUS, "7777", TRUE);
    pStock->SetText(KC_FALLBACK, "8888", TRUE);

    Command(ID_APP_US_UNREALIZED);
    ASSERT_NO_FATAL_FAILURE(Loaded(IDS_TABLE_US_UNREALIZED));
    ASSERT_TRUE(CCombinedUnrealizedProfitLossTable::OpenForAccount("10020"));
    ASSERT_NO_FATAL_FAILURE(Loaded(IDS_TABLE_COMBINED_UNREALIZED));
    PumpFor(200);
    CDataTable* pUs = FindDataTable(IDS_TABLE_US_UNREALIZED);
    CDataTable* pCombined = FindDataTable(IDS_TABLE_COMBINED_UNREALIZED);
    EXPECT_EQ("1.2345", ShownAt(pUs, UC_SYMBOL, "GLNT", UC_LAST));
    EXPECT_EQ("1.2345", ShownAt(pCombined, CU_SYMBOL, "GLNT", CU_PRICE));
    // A KSE row's price in dinars, as its cost and value.
    EXPECT_EQ("7.777", ShownAt(pCombined, CU_SYMBOL, "107", CU_PRICE));
    // An option shows the server's unrealized gain in both, its kind, and the value and cost in
    // dollars that its holdings show.
    ASSERT_NO_FATAL_FAILURE(Loaded(IDS_TABLE_US_HOLDINGS));
    CDataTable* pHeld = FindDataTable(IDS_TABLE_US_HOLDINGS);
    int nOptions = 0;
    for (const std::string& row : LastReplyRows("UP")) {
        const std::vector<std::string> f = Split(row);
        if (atol(f[17].c_str()) == 0)
            continue;
        SCOPED_TRACE(f[0]);
        ++nOptions;
        EXPECT_NEAR(atof(f[24].c_str()), ShownNumber(ShownAt(pUs, UC_SYMBOL, f[0], UC_LONG_GAIN)), 0.005);
        EXPECT_NEAR(atof(f[24].c_str()), ShownNumber(ShownAt(pCombined, CU_SYMBOL, f[0], CU_GAIN)), 0.005);
        EXPECT_EQ("Option", ShownAt(pCombined, CU_SYMBOL, f[0], CU_KIND));
        const double dValue = ShownNumber(ShownAt(pHeld, HC_SYMBOL, f[0], HC_VALUE));
        const double dCost = ShownNumber(ShownAt(pHeld, HC_SYMBOL, f[0], HC_COST));
        EXPECT_NEAR(dValue, ShownNumber(ShownAt(pUs, UC_SYMBOL, f[0], UC_LONG_VALUE)), 0.005);
        EXPECT_NEAR(dValue, ShownNumber(ShownAt(pCombined, CU_SYMBOL, f[0], CU_VALUE)), 0.005);
        EXPECT_NEAR(dCost, ShownNumber(ShownAt(pUs, UC_SYMBOL, f[0], UC_LONG_COST)), 0.005);
        EXPECT_NEAR(dCost, ShownNumber(ShownAt(pCombined, CU_SYMBOL, f[0], CU_COST)), 0.005);
    }
    EXPECT_LT(0, nOptions);
    // The gain of every position, in dollars to the cent, in both of the row's gain columns.
    for (const std::string& row : LastReplyRows("UP")) {
        const std::string strGain = ShownAt(pCombined, CU_SYMBOL, Split(row)[0], CU_GAIN);
        EXPECT_EQ(2, static_cast<int>(strGain.size() - strGain.find('.') - 1)) << strGain;
        EXPECT_EQ(strGain, ShownAt(pCombined, CU_SYMBOL, Split(row)[0], CU_SERVER_GAIN)) << row;
    }
    // A live line of an option gives its cost as the reply does: both reports still read dollars.
    for (const std::string& row : LastReplyRows("UP")) {
        const std::vector<std::string> f = Split(row);
        if (atol(f[17].c_str()) == 0)
            continue;
        const std::string strLine = "~NH|0|XC||" + f[0] + "|" + f[5] + "|0|0|0|" + f[8] + "|0|10020||0|" + f[1] + "|" + f[2] +
                                    "|" + f[4] + "|" + f[4] + "||0|0||0|0|||" + f[16] + "|" + f[17] + "|" + f[18] + "|" +
                                    f[19] + "|" + f[20] + "|" + f[21] + "||0|0";
        const double dCost = ShownNumber(ShownAt(pHeld, HC_SYMBOL, f[0], HC_COST));
        pRun->App().GetDispatcher().OnServerMessage(strLine.c_str());
        PumpFor(100);
        EXPECT_NEAR(dCost, ShownNumber(ShownAt(pUs, UC_SYMBOL, f[0], UC_LONG_COST)), 0.005) << f[0];
        EXPECT_NEAR(dCost, ShownNumber(ShownAt(pCombined, CU_SYMBOL, f[0], CU_COST)), 0.005) << f[0];
        break;
    }
    // No position is short: the per cent of its gain is of nothing, a zero.
    const std::vector<std::string> shorts = ShownTexts(pUs, UC_SHORT_PERCENT);
    EXPECT_EQ(std::vector<std::string>(shorts.size(), "0.00"), shorts);
    // A KSE position line leaves the position at the board's price, with a price of its own or
    // without one.
    for (const char* pszPrice : {"1130", "0"}) {
        pRun->App().GetDispatcher().OnServerMessage((std::string("~IU|0|XC||0|107|50000|0|0|52500.000|0|") + pszPrice +
                                                     "|0|0|10020|0|0|261109|261109|=KWD|52500.000|0")
                                                        .c_str());
        PumpFor(100);
        EXPECT_EQ("7.777", ShownAt(pCombined, CU_SYMBOL, "107", CU_PRICE));
        EXPECT_EQ("388,850.000", ShownAt(pCombined, CU_SYMBOL, "107", CU_VALUE));
    }

    // Half a share long and nothing short: closed, in both.
    pRun->App().GetDispatcher().OnServerMessage(
        "~NH|0|XC||GLNT|0.5|0|0|10.00|73.05|36.52|10020||0|261201|261201|10.00|10.00||0|0||0|0|||||||8|=USD||0|0");
    PumpFor(200);
    EXPECT_EQ("-", ShownAt(pUs, UC_SYMBOL, "GLNT", UC_LAST));
    EXPECT_EQ("-", ShownAt(pCombined, CU_SYMBOL, "GLNT", CU_PRICE));

    // A position worth 10^56 is no zero: its value fills its cell with the row of '#' of a number
    // too long for it.
    pRun->App().GetDispatcher().OnServerMessage(("~NH|0|XC||ZZZ|1" + std::string(55, '0') +
                                                 "|0|0|10.00|10.00|10.00|10020||0|261201|261201|10.00|10.00||0|0||0|0|||||||8|=USD||0|0")
                                                    .c_str());
    PumpFor(200);
    const std::string strValue = ShownAt(pUs, UC_SYMBOL, "ZZZ", UC_LONG_VALUE);
    EXPECT_TRUE(!strValue.empty() && strValue.find_first_not_of('#') == std::string::npos) << strValue;
}

// The combined realized report names a US symbol only while the quotation table lists it (then
// by the symbol list's text), a KSE stock by the board's text.
TEST_F(ShownValues, CombinedRealizedNamesItsSymbolsFromTheQuotationTables)
{
    enum { CC_SYMBOL = 3, CC_MARKET = 14, CC_SYMBOL_TEXT = 16 };
    ASSERT_TRUE(StartSession({"--rate", "0"}));
    auto* pQuotes = dynamic_cast<CQuotationTable*>(FindDataTable(IDS_TABLE_US_QUOTATIONS));
    CDataTable* pBoard = FindDataTable(IDS_TABLE_KSE_QUOTATIONS);
    ASSERT_TRUE(pQuotes != nullptr && pBoard != nullptr);
    const CString strFrom = ToServerDate("20261101"), strTo = ToServerDate("20261231");
    // The market named whole.
    const std::string strKse = "Kuwait Stock Exchange";
    std::string strSymbol, strMarket, strListText;
    for (const int nStep : {0, 1, 2}) {
        SCOPED_TRACE(nStep);
        const size_t nKseReplies = Sent("RK").size();
        ASSERT_NE(0, QueryCombinedRealized(strFrom, strTo));
        ASSERT_NO_FATAL_FAILURE(Loaded(IDS_TABLE_COMBINED_REALIZED));
        CDataTable* pTable = FindDataTable(IDS_TABLE_COMBINED_REALIZED);
        // The KSE reply the US reply's end asks for, taken in.
        ASSERT_TRUE(PumpUntil([&] { return Sent("RK").size() > nKseReplies; }));
        PumpFor(300);
        ASSERT_TRUE(PumpUntil([&] { return !pTable->IsReceiving(); }));
        const std::vector<std::string> symbols = ShownTexts(pTable, CC_SYMBOL), markets = ShownTexts(pTable, CC_MARKET),
                                       texts = ShownTexts(pTable, CC_SYMBOL_TEXT);
        int nKse = 0, nUs = 0;
        for (size_t i = 0; i < symbols.size(); ++i) {
            if (markets[i] == strKse) {
                const CDataBuffer* pStock = pBoard->GetRows()->FindRowByIds({static_cast<LONG>(atol(symbols[i].c_str()))});
                ASSERT_NE(nullptr, pStock);
                EXPECT_EQ(std::string(pStock->GetText(KC_TEXT, TRUE)), texts[i]) << symbols[i];
                ++nKse;
                continue;
            }
            ShortStockListEntry entry;
            if (strSymbol.empty() &&
                GetGlobals()->LookupShortStockEntry(GetGlobals()->GetMarketCode(markets[i].c_str()), symbols[i].c_str(), entry)) {
                strSymbol = symbols[i];
                strMarket = markets[i];
                // The symbol's name whole.
                strListText = static_cast<LPCSTR>(entry.text3);
            }
            // Listed at first, then taken off the quotation table, then listed again.
            if (symbols[i] == strSymbol) {
                ++nUs;
                EXPECT_EQ(nStep == 1 ? std::string() : strListText, texts[i]);
            }
        }
        EXPECT_LT(0, nKse);
        ASSERT_LT(0, nUs);
        if (nStep == 0)
            ASSERT_TRUE(pQuotes->RemoveSymbol(strSymbol.c_str(), strMarket.c_str()));
        else
            pQuotes->AddSymbol(strSymbol.c_str(), strMarket.c_str(), nullptr);
        ASSERT_TRUE(PumpUntil([&] { return (pQuotes->FindQuote(strSymbol.c_str(), strMarket.c_str()) != nullptr) == (nStep != 0); }));
    }
}

// A click on a cell shows the rows that hold its text; the window is then filtered, so a second
// click narrows it further (the filters of a filtered window are kept), until the user switches
// the filters off: in the combined holdings and in the US orders, whose road most account tables
// share.
TEST_F(ShownValues, ASecondQuickFilterNarrowsAFilteredWindow)
{
    ASSERT_TRUE(StartSession({"--rate", "0"}));
    const std::string strOptions(GetGlobals()->GetMarketName(16));
    const struct {
        UINT nTable;
        int nFirst, nSecond;
        std::string strFirst, strSecond;    // empty: the first shown row's text
    } cases[] = {
        {IDS_TABLE_COMBINED_HOLDINGS, CH_MARKET, CH_CURRENCY, strOptions, "=USD"},
        {IDS_TABLE_US_ORDERS, 3, 2, "ALPN", ""},    // symbol, then side
    };
    for (const char* pszSymbol : {"ALPN", "GLNT"})
        Send(MSG_OR, std::string("1002|10020|1|") + pszSymbol + "|100|3|0||0|||secret");
    ASSERT_TRUE(PumpUntil([&] { return FindDataTable(IDS_TABLE_US_ORDERS)->GetRows()->GetCount() >= 2; }, 5000));
    for (const auto& c : cases) {
        ASSERT_NO_FATAL_FAILURE(Loaded(c.nTable));
        CDataTable* pTable = FindDataTable(c.nTable);
        SCOPED_TRACE(std::string(pTable->GetName()));
        // A click on the first row shown with that text in that column.
        const auto click = [&](int nCol, const std::string& strText) {
            CViewTable* pView = pTable->GetMainWindow()->GetView();
            for (int i = 0; i < pView->GetRowCount(); ++i) {
                CViewRow row;
                CTBString strCell;
                if (pView->GetRow(row, i) && row.IsDataRow() && row.GetText(strCell, nCol) &&
                    strText == static_cast<const char*>(strCell)) {
                    int nHandled = 0;
                    pTable->OnCellClick(&row, nCol, &nHandled);
                    return nHandled == 1;
                }
            }
            return false;
        };
        const std::vector<std::string> firsts = ShownTexts(pTable, c.nFirst), seconds = ShownTexts(pTable, c.nSecond);
        ASSERT_FALSE(firsts.empty());
        const std::string strFirst = c.strFirst.empty() ? firsts[0] : c.strFirst;
        const std::string strSecond = c.strSecond.empty() ? seconds[0] : c.strSecond;
        long nBoth = 0;
        for (size_t i = 0; i < firsts.size(); ++i)
            nBoth += firsts[i] == strFirst && seconds[i] == strSecond;
        const long nSeconds = std::count(seconds.begin(), seconds.end(), strSecond);
        ASSERT_GT(nSeconds, nBoth) << "rows of the second text beyond the first's";
        ASSERT_TRUE(click(c.nFirst, strFirst));
        EXPECT_EQ(std::count(firsts.begin(), firsts.end(), strFirst), static_cast<long>(ShownTexts(pTable, c.nFirst).size()));
        ASSERT_TRUE(click(c.nSecond, strSecond));
        EXPECT_EQ(std::vector<std::string>(static_cast<size_t>(nBoth), strFirst), ShownTexts(pTable, c.nFirst));
        // Switched off at the grid's corner, the filters are gone: a click shows every row of its text.
        pTable->GetMainWindow()->GetGrid().ToggleSumMode();
        ASSERT_TRUE(click(c.nSecond, strSecond));
        EXPECT_EQ(nSeconds, static_cast<long>(ShownTexts(pTable, c.nSecond).size()));
    }
}

// From the login on, every row of the combined holdings shows its value in the base currency,
// those no quote revalues (the options) among them, and the base total adds them all; the same
// when the currency list comes only after the rates (held until the margin details are asked for).
TEST_F(ShownValues, TheCombinedHoldingsBaseTotalCountsEveryRowFromTheLogin)
{
    for (const char* pszScenario : {"normal", "hold=CL:MD"}) {
        SCOPED_TRACE(pszScenario);
        // As a new process starts: no currency list until this session's comes.
        GetGlobals()->ClearCurrencies();
        ASSERT_TRUE(StartSession({"--rate", "0", "--scenario", pszScenario}));
        ASSERT_NO_FATAL_FAILURE(Loaded(IDS_TABLE_COMBINED_HOLDINGS));
        Command(ID_APP_MARGIN_DETAILS);
        ASSERT_NO_FATAL_FAILURE(Loaded(IDS_TABLE_MARGIN_DETAILS));
        PumpFor(300);
        CDataTable* pTable = FindDataTable(IDS_TABLE_COMBINED_HOLDINGS);
        const std::vector<std::string> markets = ShownTexts(pTable, CH_MARKET), currencies = ShownTexts(pTable, CH_CURRENCY),
                                       values = ShownTexts(pTable, CH_VALUE), based = ShownTexts(pTable, CH_BASE_VALUE);
        const std::string strOptions(GetGlobals()->GetMarketName(16));
        ASSERT_LT(0, std::count(markets.begin(), markets.end(), strOptions));
        double dTotal = 0;
        for (size_t i = 0; i < values.size(); ++i) {
            const double dRate = pRun->App().GetRates().GetCrossRate(currencies[i].c_str());
            ASSERT_LT(0.0, dRate) << currencies[i];
            EXPECT_NEAR(ShownNumber(values[i]) * dRate, ShownNumber(based[i]), 0.01) << markets[i];
            dTotal += ShownNumber(based[i]);
        }
        EXPECT_NEAR(dTotal, ShownNumber(TotalText(pTable, CH_BASE_VALUE)), 0.01 * static_cast<double>(values.size()));
        TearDown();
    }
}

// The combined holdings' dinar cash line: a reply leaves its name empty, a live line names it.
TEST_F(ShownValues, TheCombinedCashLineIsNamedByItsLiveLinesOnly)
{
    ASSERT_TRUE(StartSession({"--rate", "0", "--fail", "IK=500"}));
    std::string strNumber;
    ASSERT_TRUE(PumpUntil([&] {
        for (const std::string& line : server.Received())
            if (line.rfind("&IK|", 0) == 0 && line.size() > 3 && line.compare(line.size() - 3, 3, "|3|") == 0)
                strNumber = Split(line)[1];
        return !strNumber.empty();
    }));
    PumpFor(200);
    CDataTable* pTable = FindDataTable(IDS_TABLE_COMBINED_HOLDINGS);
    CNorvApp::ShowTable(pTable);
    for (const std::string& strLine : {"~IK|" + strNumber + "|XC||0||1002|10020|3|",
                                       std::string("0|0|5000.000|0|0|5000.000|0|1|5000.000|0|0|0|5000.000|0|0|=KWD||0"),
                                       "~EN|" + strNumber + "|XC|0"})
        pRun->App().GetDispatcher().OnServerMessage(strLine.c_str());
    PumpFor(200);
    EXPECT_EQ("", ShownAt(pTable, 0, "=KWD", 1));
    pRun->App().GetDispatcher().OnServerMessage("~IU|0|XC||0|0|6000.000|0|0|6000.000|0|1|6000.000|0|0|0|6000.000|0|0|=KWD||0");
    PumpFor(200);
    EXPECT_EQ("=KWD", ShownAt(pTable, 0, "=KWD", 1));
}

// A KSE position is one row of the combined unrealized report whether its live line comes inside
// the US reply or while the KSE reply is held back.
TEST_F(ShownValues, AKsePositionIsOneCombinedRowWhateverCameFirst)
{
    for (const std::string strScenario : {"live-in-refill=IU.live", "delay=UK:3"}) {
        SCOPED_TRACE(strScenario);
        ASSERT_TRUE(StartSession({"--rate", "0", "--scenario", strScenario}));
        const std::string strLive = BuyKse("101", 2000);
        Command(ID_APP_US_UNREALIZED);
        ASSERT_NO_FATAL_FAILURE(Loaded(IDS_TABLE_US_UNREALIZED));
        ASSERT_TRUE(CCombinedUnrealizedProfitLossTable::OpenForAccount("10020"));
        // The live line between the US reply's end and the held KSE reply.
        const auto asked = [&] { return RowsOf(server.Received(), "&UK|") > 0; };
        if (strScenario[0] == 'd' && PumpUntil(asked))
            pRun->App().GetDispatcher().OnServerMessage(strLive.c_str());
        ASSERT_TRUE(PumpUntil([&] { return !LastReplyRows("UK").empty(); }));
        ASSERT_NO_FATAL_FAILURE(Loaded(IDS_TABLE_COMBINED_UNREALIZED));
        const std::vector<std::string> symbols = ShownTexts(FindDataTable(IDS_TABLE_COMBINED_UNREALIZED), CU_SYMBOL);
        EXPECT_EQ(1, std::count(symbols.begin(), symbols.end(), "101"));
        TearDown();
    }
}

// A KSE position line, with a price or without one as the server sends it here, leaves the
// position at the board's price in the KSE and the combined report alike: the last price, or
// while the board has none its previous close.
TEST_F(ShownValues, AKsePositionLineLeavesThePositionAtTheBoardsPrice)
{
    ASSERT_TRUE(StartSession({"--rate", "0", "--scenario", "empty=IU:7"}));
    Command(33235);
    ASSERT_NO_FATAL_FAILURE(Loaded(IDS_TABLE_KSE_UNREALIZED));
    Command(ID_APP_US_UNREALIZED);
    ASSERT_TRUE(CCombinedUnrealizedProfitLossTable::OpenForAccount("10020"));
    ASSERT_TRUE(PumpUntil([&] { return !LastReplyRows("UK").empty(); }));
    ASSERT_NO_FATAL_FAILURE(Loaded(IDS_TABLE_COMBINED_UNREALIZED));
    PumpFor(200);
    CDataTable* pKse = FindDataTable(IDS_TABLE_KSE_UNREALIZED);
    CDataTable* pCombined = FindDataTable(IDS_TABLE_COMBINED_UNREALIZED);
    CDataBuffer* pStock = FindDataTable(IDS_TABLE_KSE_QUOTATIONS)->GetRows()->FindRowByIds({107L});
    ASSERT_NE(nullptr, pStock);
    const auto expectBoardPrice = [&](double dFils) {
        EXPECT_EQ(dFils, ShownNumber(ShownAt(pKse, UK_STOCK, "107", UK_PRICE)));
        EXPECT_EQ(dFils / 1000.0, ShownNumber(ShownAt(pCombined, CU_SYMBOL, "107", CU_PRICE)));
        EXPECT_NEAR(dFils * ShownNumber(ShownAt(pKse, UK_STOCK, "107", UK_TOTAL)) / 1000.0,
                    ShownNumber(ShownAt(pKse, UK_STOCK, "107", UK_VALUE)), 0.0005);
        EXPECT_EQ(ShownAt(pKse, UK_STOCK, "107", UK_VALUE), ShownAt(pCombined, CU_SYMBOL, "107", CU_VALUE));
    };
    ASSERT_EQ("", Split(BuyKse("107", 100))[11]) << "the line carries no price";
    expectBoardPrice(pStock->GetDouble(KC_LAST));
    // The board without a last price: its previous close, whatever price a line carries.
    pStock->SetText(KC_LAST, "0", TRUE);
    pStock->SetText(KC_PREVIOUS, "1150", TRUE);
    for (const char* pszPrice : {"1130", ""}) {
        pRun->App().GetDispatcher().OnServerMessage((std::string("~IU|0|XC||0|107|50000|0|0|52500.000|0|") + pszPrice +
                                                     "|0|0|10020|0|0|261109|261109|=KWD|52500.000|0").c_str());
        PumpFor(100);
        expectBoardPrice(1150);
    }
}

// A buy on the KSE's regular board shows that board in the KSE transactions, as does every trade
// of the simulator's, which trades on no other, while a movement of cash names no board; each
// report's totals add the figures its rows show.
TEST_F(ShownValues, TransactionsTotalWhatTheirRowsShowAndNameTheKseBoard)
{
    ASSERT_TRUE(StartSession({"--rate", "0"}));
    ASSERT_FALSE(BuyKse("101", 1000).empty());
    // Two dollar trades alike, whose amounts and charges run past the cent.
    for (int i = 0; i < 2; ++i)
        Send(MSG_OR, "1002|10020|1|ALPN|37|3|0||0|||secret");
    ASSERT_TRUE(PumpUntil([&] { return Sent("NR").size() >= 2; }, 5000));
    const struct {
        const RANGE_REPORT_DESC* pReport;
        std::vector<int> summed;
    } reports[] = {{&g_histTransactionTable, {8, 9}}, {&g_histTransactionKSETable, {11, 12, 13, 14}}};
    for (const auto& r : reports) {
        const UINT nTable = r.pReport->account.table.nNameId;
        ASSERT_NE(0, QueryRangeReport(*r.pReport, ToServerDate("20261101"), ToServerDate("20261231")));
        ASSERT_NO_FATAL_FAILURE(Loaded(nTable));
        CDataTable* pTable = FindDataTable(nTable);
        for (const int nCol : r.summed) {
            double dSum = 0;
            for (const std::string& strShown : ShownTexts(pTable, nCol))
                dSum += ShownNumber(strShown);
            EXPECT_NEAR(dSum, ShownNumber(TotalText(pTable, nCol)), 1e-6) << pTable->GetName() << " column " << nCol;
        }
    }
    CDataTable* pKse = FindDataTable(IDS_TABLE_KSE_TRANSACTIONS);
    const std::vector<std::string> boards = ShownTexts(pKse, 3), stocks = ShownTexts(pKse, 5);
    ASSERT_EQ(boards.size(), stocks.size());
    ASSERT_NE(stocks.end(), std::find(stocks.begin(), stocks.end(), "")) << "a deposit in the range";
    for (size_t i = 0; i < boards.size(); ++i)
        EXPECT_EQ(stocks[i].empty() ? "" : "Regular board", boards[i]) << stocks[i];
    // And in print.
    TbUseSystemPrinters(FALSE);
    ASSERT_TRUE(PrintAsShown(pKse->GetMainWindow(), pRun->Folder() + "/kse.pdf"));
    const std::string strPrinted = RunCommand("pdftotext '" + pRun->Folder() + "/kse.pdf' - 2>/dev/null");
    EXPECT_NE(std::string::npos, strPrinted.find("Regular")) << strPrinted;
    EXPECT_EQ(std::string::npos, strPrinted.find("Odd")) << strPrinted;
}

// The combined realized report's KSE reply titles its first window alone; a second window keeps
// the US reply's range.
TEST_F(ShownValues, TheKseRangeTitlesTheCombinedRealizedFirstWindowOnly)
{
    ASSERT_TRUE(StartSession({"--rate", "0", "--scenario", "no-number=RK:4"}));
    ASSERT_NE(0, QueryCombinedRealized(ToServerDate("20261101"), ToServerDate("20261231")));
    CDataTable* pTable = FindDataTable(IDS_TABLE_COMBINED_REALIZED);
    CTableMDIWnd* pSecond = pTable->OpenWindow(FALSE);
    ASSERT_TRUE(PumpUntil([&] { return pTable->IsComplete() && !pTable->IsReceiving(); }));
    char szFirst[256] = "", szSecond[256] = "";
    GetWindowTextA(pTable->GetMainWindow()->m_hWnd, szFirst, sizeof szFirst);
    GetWindowTextA(pSecond->m_hWnd, szSecond, sizeof szSecond);
    EXPECT_NE(std::string::npos, std::string(szSecond).find("from 01/11/2026 through 31/12/2026")) << szSecond;
    EXPECT_EQ(std::string::npos, std::string(szFirst).find("from 01/11/2026")) << szFirst;
}

// One option position shows one premium, value and cost in every window at every moment: a put
// bought while the windows are open comes by its live line, and a trade of the underlying moves
// the premium of the options on it, also for a report asked for afterwards. The intrinsic value
// is the underlying's price beyond the strike, never below nothing.
TEST_F(ShownValues, AnOptionShowsOnePremiumAndValueInEveryWindow)
{
    ASSERT_TRUE(StartSession({"--rate", "0"}));
    const std::string strAtlantic(GetGlobals()->GetMarketName(8));
    auto* pQuotes = dynamic_cast<CQuotationTable*>(FindDataTable(IDS_TABLE_US_QUOTATIONS));
    ASSERT_NE(nullptr, pQuotes);
    pQuotes->AddSymbol("ALPN", strAtlantic.c_str(), nullptr);
    ASSERT_TRUE(PumpUntil([&] { return pQuotes->FindQuote("ALPN", strAtlantic.c_str()) != nullptr; }));
    ASSERT_NO_FATAL_FAILURE(OpenPositionWindows());
    CDataTable* pHeld = FindDataTable(IDS_TABLE_US_HOLDINGS);
    CDataTable* pBoth = FindDataTable(IDS_TABLE_COMBINED_HOLDINGS);
    auto* pUs = Find<CUnrealizedProfitLossTable>(IDS_TABLE_US_UNREALIZED);
    CDataTable* pCombined = FindDataTable(IDS_TABLE_COMBINED_UNREALIZED);
    const auto expectOnePosition = [&](const std::string& strSymbol, int nRight, double dStrike) {
        SCOPED_TRACE(strSymbol);
        const struct { CDataTable* pTable; int nKey, nPrice, nValue, nCost; } windows[] = {
            {pHeld, HC_SYMBOL, HC_PRICE, HC_VALUE, HC_COST}, {pBoth, CH_SYMBOL, CH_PRICE, CH_VALUE, -1},
            {pUs, UC_SYMBOL, UC_LAST, UC_LONG_VALUE, UC_LONG_COST}, {pCombined, CU_SYMBOL, CU_PRICE, CU_VALUE, CU_COST}};
        const double dPrice = ShownNumber(ShownAt(pHeld, HC_SYMBOL, strSymbol, HC_PRICE));
        const double dValue = ShownNumber(ShownAt(pHeld, HC_SYMBOL, strSymbol, HC_VALUE));
        const double dCost = ShownNumber(ShownAt(pHeld, HC_SYMBOL, strSymbol, HC_COST));
        EXPECT_LT(0, dPrice);
        EXPECT_NEAR(dPrice * ShownNumber(ShownAt(pHeld, HC_SYMBOL, strSymbol, HC_QUANTITY)) * 100, dValue, 0.005);
        for (const auto& w : windows) {
            EXPECT_NEAR(dPrice, ShownNumber(ShownAt(w.pTable, w.nKey, strSymbol, w.nPrice)), 0.00005) << w.nPrice;
            EXPECT_NEAR(dValue, ShownNumber(ShownAt(w.pTable, w.nKey, strSymbol, w.nValue)), 0.005) << w.nValue;
            if (w.nCost >= 0) {
                EXPECT_NEAR(dCost, ShownNumber(ShownAt(w.pTable, w.nKey, strSymbol, w.nCost)), 0.005) << w.nCost;
            }
        }
        const CDataBuffer* pQuote = pQuotes->FindQuote("ALPN", strAtlantic.c_str());
        const double dUnderlying = pQuote->GetDouble(QC_LAST) != 0 ? pQuote->GetDouble(QC_LAST) : pQuote->GetDouble(QC_CLOSE);
        const double dIntrinsic = std::max(0.0, nRight == 1 ? dUnderlying - dStrike : dStrike - dUnderlying);
        EXPECT_NEAR(dIntrinsic, ShownNumber(ShownAt(pUs, UC_SYMBOL, strSymbol, UC_INTRINSIC)), 0.00005);
    };

    Send(MSG_OR, "1002|10020|1|ALPN|2|3|0||0|||secret|||||16|||ALPN|2|50.00|261218");
    ASSERT_TRUE(PumpUntil([&] {
        return ShownAt(pHeld, HC_SYMBOL, "ALPNXJ", HC_VALUE) != "-" && ShownAt(pUs, UC_SYMBOL, "ALPNXJ", UC_LONG_VALUE) != "-" &&
               ShownAt(pBoth, CH_SYMBOL, "ALPNXJ", CH_VALUE) != "-" && ShownAt(pCombined, CU_SYMBOL, "ALPNXJ", CU_VALUE) != "-";
    }, 5000)) << pRun->InfoText();
    PumpFor(300);
    expectOnePosition("ALPNXJ", 2, 50);
    expectOnePosition("ALPNLI", 1, 45);

    const std::string strBefore = ShownAt(pHeld, HC_SYMBOL, "ALPNLI", HC_PRICE);
    Send(MSG_OR, "1002|10020|1|ALPN|100|3|0||0|||secret");
    ASSERT_TRUE(PumpUntil([&] { return ShownAt(pHeld, HC_SYMBOL, "ALPNLI", HC_PRICE) != strBefore; }, 5000))
        << "the call's premium moves with its underlying: " << strBefore;
    const size_t nReplies = Sent("UP").size();
    pUs->SendRequest();
    ASSERT_TRUE(PumpUntil([&] { return Sent("UP").size() > nReplies && pUs->IsComplete() && !pUs->IsReceiving(); }));
    PumpFor(300);
    expectOnePosition("ALPNXJ", 2, 50);
    expectOnePosition("ALPNLI", 1, 45);
}

namespace {
// Where each window that values positions shows one: its key, price, value, gain and quantity
// columns, and what its KSE price is counted in against the board's fils (the combined holdings: dinars).
struct POSITION_COLUMNS
{
    UINT nTable;
    int nKey, nPrice, nValue, nGain, nQuantity;
    double dKseFilsPerShown = 1;
};
const POSITION_COLUMNS s_positionColumns[] = {
    {IDS_TABLE_US_HOLDINGS, HC_SYMBOL, HC_PRICE, HC_VALUE, 18, HC_QUANTITY},
    {IDS_TABLE_KSE_HOLDINGS, 1, 8, 9, 10, 3},
    {IDS_TABLE_COMBINED_HOLDINGS, CH_SYMBOL, CH_PRICE, CH_VALUE, CH_GAIN, CH_QUANTITY, 1000},
    {IDS_TABLE_US_UNREALIZED, UC_SYMBOL, UC_LAST, UC_LONG_VALUE, UC_LONG_GAIN, UC_LONG_QTY},
    {IDS_TABLE_KSE_UNREALIZED, UK_STOCK, UK_PRICE, UK_VALUE, UK_GAIN, UK_QTY},
    {IDS_TABLE_COMBINED_UNREALIZED, CU_SYMBOL, CU_PRICE, CU_VALUE, CU_GAIN, CU_QTY, 1000},
};

// A position as the server holds it: its quantity and its cost.
struct HELD
{
    std::string strKey;
    bool bKse;
    double dQuantity = 0;
    double dCost = 0;
};

struct OnePrice : ShownValues
{
    // Every window that values positions, from the code's own list, open at once.
    void OpenEveryPositionWindow()
    {
        for (UINT nTable : g_positionTables) {
            switch (nTable) {
            case IDS_TABLE_KSE_UNREALIZED:
                Command(33235);
                break;
            case IDS_TABLE_US_UNREALIZED:
                Command(ID_APP_US_UNREALIZED);
                break;
            case IDS_TABLE_COMBINED_UNREALIZED:
                // It takes rows only while the unrealized command chooses it.
                Command(ID_APP_US_UNREALIZED);
                ASSERT_TRUE(CCombinedUnrealizedProfitLossTable::OpenForAccount("10020"));
                break;
            default:
                break;      // the standing tables, asked for at the login
            }
            ASSERT_NO_FATAL_FAILURE(Loaded(nTable));
        }
        PumpFor(200);
    }

    // The server's figures of a KSE stock (its first holding) or of a US symbol.
    HELD Held(const std::string& strKey, bool bKse) const
    {
        HELD held{strKey, bKse};
        for (const std::string& row : LastReplyRows(bKse ? "IK" : "IH")) {
            const std::vector<std::string> f = Split(row);
            if (f.size() > 5 && f[bKse ? 1 : 0] == strKey) {
                held.dQuantity = atof(f[bKse ? 2 : 1].c_str()) + atof(f[bKse ? 4 : 3].c_str());
                held.dCost = atof(f[bKse ? 5 : 4].c_str());
                break;
            }
        }
        return held;
    }

    // Each window of the position's market, and each combined one, shows the price (fils for
    // the KSE), its value at the server's quantity and that value's gain over the server's cost.
    // A cell as the window draws it: its text and the pixels between the text and its column's
    // right edge; "-" when no row shows the key.
    static std::pair<std::string, int> Placed(CDataTable* pTable, int nKeyCol, const std::string& strKey, int nCol)
    {
        CTableMDIWnd* pWnd = pTable->GetMainWindow();
        ShowWhole(pWnd);
        CTableWindow& grid = pWnd->GetGrid();
        int nKeyShown = -1, nShown = -1;
        for (int d = 0; d < grid.GetDisplayColumnCount(); ++d) {
            nKeyShown = pWnd->GetView()->GetColumnOrder().GetColumnIndex(d) == nKeyCol ? d : nKeyShown;
            nShown = pWnd->GetView()->GetColumnOrder().GetColumnIndex(d) == nCol ? d : nShown;
        }
        for (int nLine = 0; nKeyShown >= 0 && nShown >= 0 && nLine < pWnd->GetView()->GetRowCount() - grid.GetTopRow(); ++nLine) {
            CTBString strKeyText, strText;
            RECT rcKey, rcText, rcColumn;
            if (grid.PaneOfColumn(nKeyShown)->GetShownCellText(nLine, nKeyShown, &strKeyText, &rcKey)
                && strKey == static_cast<const char*>(strKeyText)
                && grid.PaneOfColumn(nShown)->GetShownCellText(nLine, nShown, &strText, &rcText)
                && grid.PaneOfColumn(nShown)->GetColumnRect(nShown, &rcColumn))
                return {std::string(strText), static_cast<int>(rcColumn.right - rcText.right)};
        }
        return {"-", -1};
    }

    // Each window's price, value and gain of the position at the price; the price reads alike in
    // the windows of one unit (the market's own windows, the combined ones) and stands at the
    // right edge as the quantity, a number without a fraction to line up, does.
    void ExpectEveryWindowAt(const HELD& held, double dPrice)
    {
        SCOPED_TRACE(held.strKey);
        ASSERT_LT(0, held.dQuantity);
        const double dValue = held.dQuantity * dPrice * (held.bKse ? 0.001 : 1.0);
        std::map<double, std::string> priceOfUnit;
        int nWindows = 0;
        for (UINT nTable : g_positionTables) {
            const auto it = std::find_if(std::begin(s_positionColumns), std::end(s_positionColumns),
                                         [&](const POSITION_COLUMNS& c) { return c.nTable == nTable; });
            ASSERT_NE(std::end(s_positionColumns), it) << "a position window whose columns the test lacks: " << nTable;
            CDataTable* pTable = FindDataTable(nTable);
            const std::string strPrice = ShownAt(pTable, it->nKey, held.strKey, it->nPrice);
            if (strPrice == "-")
                continue;
            ++nWindows;
            SCOPED_TRACE(std::string(pTable->GetName()));
            EXPECT_NEAR(dPrice, ShownNumber(strPrice) * (held.bKse ? it->dKseFilsPerShown : 1), held.bKse ? 0.05 : 0.00005);
            const auto [strPlaced, nPriceGap] = Placed(pTable, it->nKey, held.strKey, it->nPrice);
            const auto [strQuantity, nQuantityGap] = Placed(pTable, it->nKey, held.strKey, it->nQuantity);
            EXPECT_EQ(strPrice, strPlaced);
            EXPECT_EQ(nQuantityGap, nPriceGap) << strPrice << " beside " << strQuantity;
            const auto [unit, bFirst] = priceOfUnit.emplace(held.bKse ? it->dKseFilsPerShown : 1, strPrice);
            EXPECT_EQ(unit->second, strPrice);
            EXPECT_NEAR(dValue, ShownNumber(ShownAt(pTable, it->nKey, held.strKey, it->nValue)), held.bKse ? 0.0005 : 0.005);
            EXPECT_NEAR(dValue - held.dCost, ShownNumber(ShownAt(pTable, it->nKey, held.strKey, it->nGain)),
                        held.bKse ? 0.0015 : 0.015);
        }
        EXPECT_EQ(4, nWindows) << "the two of its market and the two combined";
    }

    // A live quote as the server sends it: its latest line of the symbol with another last price.
    void MoveUs(const std::string& strSymbol, double dLast)
    {
        std::vector<std::string> f;
        for (const std::string& line : Sent("GS"))
            if (Split(line).size() > 7 && Split(line)[3] == "8" && Split(line)[4] == strSymbol)
                f = Split(line);
        ASSERT_FALSE(f.empty()) << strSymbol;
        f[1] = "0";
        f[7] = std::to_string(dLast);
        std::string strLine;
        for (const std::string& strField : f)
            strLine += (strLine.empty() ? "" : "|") + strField;
        pRun->App().GetDispatcher().OnServerMessage(strLine.c_str());
        PumpFor(100);
    }
    void MoveKse(const std::string& strStock, double dLast)
    {
        std::vector<std::string> f;
        for (const std::string& row : LastReplyRows("SQ"))
            if (Split(row)[0] == strStock)
                f = Split(row);
        ASSERT_FALSE(f.empty()) << strStock;
        f[1] = std::to_string(dLast);
        std::string strLine = "~QQ|0|XC|0";
        for (const std::string& strField : f)
            strLine += "|" + strField;
        pRun->App().GetDispatcher().OnServerMessage(strLine.c_str());
        PumpFor(100);
    }

    // A KSE stock, a US stock and an option's underlying move; every window follows them.
    void ExpectOnePriceAsTheQuotesMove(bool bArabic)
    {
        ASSERT_TRUE(StartSession({"--rate", "0"}, bArabic));
        const std::string strAtlantic(GetGlobals()->GetMarketName(8));
        auto* pQuotes = dynamic_cast<CQuotationTable*>(FindDataTable(IDS_TABLE_US_QUOTATIONS));
        ASSERT_NE(nullptr, pQuotes);
        for (const char* pszSymbol : {"GLNT", "ALPN"}) {
            pQuotes->AddSymbol(pszSymbol, strAtlantic.c_str(), nullptr);
            ASSERT_TRUE(PumpUntil([&] { return pQuotes->FindQuote(pszSymbol, strAtlantic.c_str()) != nullptr; }));
        }
        ASSERT_NO_FATAL_FAILURE(OpenEveryPositionWindow());
        const HELD kse = Held("107", true), us = Held("GLNT", false);
        // From the previous close and the close, the still market's prices.
        const CDataBuffer* pStock = FindDataTable(IDS_TABLE_KSE_QUOTATIONS)->GetRows()->FindRowByIds({107L});
        const CDataBuffer* pQuote = pQuotes->FindQuote("GLNT", strAtlantic.c_str());
        ASSERT_TRUE(pStock != nullptr && pQuote != nullptr);
        const double dFils = pStock->GetDouble(KC_PREVIOUS), dClose = pQuote->GetDouble(QC_CLOSE);
        ASSERT_TRUE(dFils > 0 && dClose > 0);
        for (const double dStep : {15.0, -25.0}) {
            ASSERT_NO_FATAL_FAILURE(MoveKse("107", dFils + dStep));
            ASSERT_NO_FATAL_FAILURE(ExpectEveryWindowAt(kse, dFils + dStep));
            ASSERT_NO_FATAL_FAILURE(MoveUs("GLNT", dClose + dStep / 100));
            ASSERT_NO_FATAL_FAILURE(ExpectEveryWindowAt(us, dClose + dStep / 100));
        }
        // The call at 45 as its underlying moves, no option line following: its premium stays the
        // server's in every window, its intrinsic value follows, and out of the money it has none.
        CDataTable* pUs = FindDataTable(IDS_TABLE_US_UNREALIZED);
        const std::string strPremium = ShownAt(pUs, UC_SYMBOL, "ALPNLI", UC_LAST);
        for (const double dUnderlying : {48.5, 44.0, 46.25}) {
            ASSERT_NO_FATAL_FAILURE(MoveUs("ALPN", dUnderlying));
            EXPECT_EQ(dUnderlying > 45 ? PriceText(dUnderlying - 45, 2) : "", ShownAt(pUs, UC_SYMBOL, "ALPNLI", UC_INTRINSIC))
                << dUnderlying;
            EXPECT_EQ(strPremium, ShownAt(pUs, UC_SYMBOL, "ALPNLI", UC_LAST));
        }
        Shoot(FindDataTable(IDS_TABLE_KSE_HOLDINGS), std::string("account_one_price_") + (bArabic ? "ar" : "en"));
    }
};
}  // namespace

// Every window that values positions, open at once, shows a position at the price of the moment:
// as a KSE stock, a US stock and an option's underlying move, each window's price, value and gain
// follow, equal to the server's quantity and cost at the quote's price.
TEST_F(OnePrice, EveryPositionWindowFollowsTheQuotesInEnglish)
{
    ASSERT_NO_FATAL_FAILURE(ExpectOnePriceAsTheQuotesMove(false));
}

TEST_F(OnePrice, EveryPositionWindowFollowsTheQuotesInArabic)
{
    ASSERT_NO_FATAL_FAILURE(ExpectOnePriceAsTheQuotesMove(true));
}

// A KSE position the board does not quote is valued at its line's price in every window, each in
// its own unit; one opened after the login by a line of another price takes the board's.
TEST_F(OnePrice, AKsePositionTakesTheBoardsPriceAndTheLinesOnlyWithoutOne)
{
    ASSERT_TRUE(StartSession({"--rate", "0"}));
    ASSERT_NO_FATAL_FAILURE(OpenEveryPositionWindow());
    CDataArray* pBoard = FindDataTable(IDS_TABLE_KSE_QUOTATIONS)->GetRows();
    const auto boardRow = [&](const std::string& strStock) {
        return pBoard->FindRowByIds({static_cast<LONG>(atol(strStock.c_str()))});
    };
    // A stock on the board that the account does not hold, at its previous close in a still market.
    std::string strNew;
    for (const std::string& row : LastReplyRows("SQ"))
        if (strNew.empty() && Held(Split(row)[0], true).dQuantity == 0 && boardRow(Split(row)[0]) != nullptr)
            strNew = Split(row)[0];
    ASSERT_FALSE(strNew.empty());
    ASSERT_EQ(0, boardRow(strNew)->GetDouble(KC_LAST));
    const double dBoard = boardRow(strNew)->GetDouble(KC_PREVIOUS);
    ASSERT_LT(0, dBoard);
    // 2,000 shares that cost 2,000 dinars, valued by the server at the line's price.
    const auto position = [&](const std::string& strStock, double dFils) {
        char szLine[256];
        snprintf(szLine, sizeof szLine, "~IU|0|XC||0|%s|2000|0|0|2000.000|0|%.0f|%.3f|0|10020|0|%.3f|261109|261109|=KWD|2000.000|%.3f|0",
                 strStock.c_str(), dFils, 2 * dFils, 2 * dFils - 2000, 2 * dFils - 2000);
        pRun->App().GetDispatcher().OnServerMessage(szLine);
        PumpFor(200);
    };
    position(strNew, dBoard + 40);
    ASSERT_NO_FATAL_FAILURE(ExpectEveryWindowAt({strNew, true, 2000, 2000}, dBoard));

    // Off the board: the line's price.
    pBoard->RemoveAt(pBoard->FindIndexOfRow(boardRow("107")));
    PumpFor(100);
    position("107", 1130);
    ASSERT_NO_FATAL_FAILURE(ExpectEveryWindowAt({"107", true, 2000, 2000}, 1130));
}

namespace {
// The simulator's data in a folder of this process's own, one of its market files rewritten
// line by line (each line replaced by what fnLine makes of it, its line ends included) and
// strAdded written after them.
std::string EditedData(const std::string& strTag, const std::string& strFile,
                       const std::function<std::string(const std::string&)>& fnLine, const std::string& strAdded = "")
{
    const std::string strData = std::filesystem::temp_directory_path() / (strTag + "-" + std::to_string(getpid()));
    std::filesystem::remove_all(strData);
    std::filesystem::copy(TB_SOURCE_DIR "/tools/testserver/data", strData, std::filesystem::copy_options::recursive);
    const std::string strPath = strData + "/market/" + strFile;
    std::ifstream in(strPath);
    std::string strLine, strKept;
    while (std::getline(in, strLine))
        strKept += fnLine(strLine);
    in.close();
    std::ofstream(strPath) << strKept << strAdded;
    return strData;
}
}  // namespace

// A real account's figures, fractions of a fils and of a cent and billions of dinars among them:
// every amount column of every account window shows its row's currency to its unit (a dinar to
// the fils, a dollar to the cent, an average cost to its four places), and its total, where it
// has one, is the sum of the rows as they show. One purchase has one cost in every window, and a
// row's gain is its value less its cost, as both show.
TEST_F(ShownValues, AmountsShowTheirCurrencysUnitAndTotalWhatTheRowsShow)
{
    // Seven purchases and sales, as the server dates them a few trading days apart.
    const std::string strData = EditedData(
        "shown-amounts", "portfolios.txt",
        [](const std::string& strLine) { return strLine.rfind("trader|", 0) == 0 ? std::string() : strLine + "\n"; },
        "trader|C|0|KWD|1000000|0\ntrader|C|0|USD|2000000|0\ntrader|H|2|104|12345|100.5\n"
        "trader|H|2|101|2000000000|1000.5\ntrader|H|8|BRKT|3|1.0049\ntrader|H|2|102|20000|598\n"
        "trader|S|2|102|20000|631\ntrader|H|8|ALPN|400|45.60\ntrader|S|8|ALPN|400|44.85\n"
        "trader|O|16|ALPNLI|5|2.10\ntrader|F|1|102|10000|849.585\n");
    ASSERT_TRUE(StartSession({"--rate", "0", "--data", strData}));
    ASSERT_NO_FATAL_FAILURE(OpenEveryTable());
    Command(33276);
    ASSERT_NO_FATAL_FAILURE(Loaded(IDS_TABLE_FORWARD_CONTRACTS));
    std::filesystem::remove_all(strData);
    // A forward contract's price in fils, to the last of its three decimals.
    EXPECT_EQ("849.585", ShownAt(FindDataTable(IDS_TABLE_FORWARD_CONTRACTS), 4, "102", 9));

    int nChecked = 0;
    for (IDataTable* pAny : CNorvApp::Get()->GetTables()) {
        auto* pTable = dynamic_cast<CDataTable*>(pAny);
        if (pTable == nullptr || pTable->GetRows()->GetCount() == 0)
            continue;
        const TABLE_DESC& desc = pTable->GetDescription();
        SCOPED_TRACE(std::string(pTable->GetName()));
        const std::vector<std::string> currencies =
            desc.nCurrencyColumn >= 0 ? ShownTexts(pTable, desc.nCurrencyColumn) : std::vector<std::string>{};
        for (size_t c = 0; c < desc.columns.size(); ++c) {
            const TABLE_COLUMN& column = desc.columns[c];
            if ((column.nFlags & COLF_MONEY) == 0 || (column.nFlags & COLF_HIDDEN) != 0)
                continue;
            const std::vector<std::string> texts = ShownTexts(pTable, static_cast<int>(c));
            long long nSum = 0;
            int nSumPlaces = -1;
            for (size_t i = 0; i < texts.size(); ++i) {
                std::string strCurrency = i < currencies.size() ? currencies[i] : "";
                if (!strCurrency.empty() && strCurrency[0] == '=')
                    strCurrency.erase(0, 1);
                // A dinar counts a thousand fils, a dollar a hundred cents; an average cost four places.
                int nPlaces = !strCurrency.empty() ? (strCurrency == "KWD" ? 3 : 2) : desc.nMoneyDecimals;
                if (-column.nDecimals > 3)
                    nPlaces = -column.nDecimals;
                if (nPlaces < 0 || texts[i].empty())
                    continue;
                EXPECT_EQ(nPlaces, Places(texts[i])) << "column " << c << " row " << i << ": " << texts[i] << " " << strCurrency;
                nSumPlaces = nSumPlaces < 0 || nSumPlaces == nPlaces ? nPlaces : 99;
                nSum += Units(texts[i], nPlaces);
                ++nChecked;
            }
            const std::string strTotal = TotalText(pTable, static_cast<int>(c));
            if (!strTotal.empty() && nSumPlaces >= 0 && nSumPlaces != 99) {
                EXPECT_EQ(nSum, Units(strTotal, nSumPlaces)) << "column " << c << " total " << strTotal;
            }
        }
    }
    EXPECT_LT(50, nChecked);

    // The purchases: each cost as the server's line gives it, in every window that shows it.
    const struct { UINT nTable; int nKey; int nCost; int nValue; int nGain; } kse[] = {
        {IDS_TABLE_KSE_HOLDINGS, 1, 7, 9, 10}, {IDS_TABLE_COMBINED_HOLDINGS, CH_SYMBOL, CH_COST, CH_VALUE, CH_GAIN},
        {IDS_TABLE_KSE_UNREALIZED, UK_STOCK, UK_COST, UK_VALUE, UK_GAIN},
        {IDS_TABLE_COMBINED_UNREALIZED, CU_SYMBOL, CU_COST, CU_VALUE, CU_GAIN}};
    for (const char* pszStock : {"104"}) {
        std::string strLineCost;
        for (const std::string& row : LastReplyRows("IK"))
            if (Split(row).size() > 5 && Split(row)[1] == pszStock)
                strLineCost = Split(row)[5];
        ASSERT_FALSE(strLineCost.empty()) << pszStock;
        // Rounded once, as the amount is written: half a fils up.
        const std::string strCost = GroupedAmount(RoundHalfAwayFromZero(atof(strLineCost.c_str()), 3), 3);
        for (const auto& k : kse) {
            CDataTable* pTable = FindDataTable(k.nTable);
            SCOPED_TRACE(std::string(pTable->GetName()) + " " + pszStock);
            EXPECT_EQ(strCost, ShownAt(pTable, k.nKey, pszStock, k.nCost));
            const std::string strValue = ShownAt(pTable, k.nKey, pszStock, k.nValue);
            EXPECT_EQ(Units(strValue, 3) - Units(strCost, 3), Units(ShownAt(pTable, k.nKey, pszStock, k.nGain), 3)) << strValue;
        }
    }
    CDataTable* pUs = FindDataTable(IDS_TABLE_US_UNREALIZED);
    CDataTable* pCombined = FindDataTable(IDS_TABLE_COMBINED_UNREALIZED);
    for (const char* pszSymbol : {"BRKT"}) {
        SCOPED_TRACE(pszSymbol);
        const std::string strCost = ShownAt(pUs, UC_SYMBOL, pszSymbol, UC_LONG_COST);
        EXPECT_EQ(strCost, ShownAt(pCombined, CU_SYMBOL, pszSymbol, CU_COST));
        for (const auto& [pTable, nKey, nValue, nGain] : {std::tuple<CDataTable*, int, int, int>{pUs, UC_SYMBOL, UC_LONG_VALUE, UC_LONG_GAIN},
                                                          std::tuple<CDataTable*, int, int, int>{pCombined, CU_SYMBOL, CU_VALUE, CU_GAIN}})
            EXPECT_EQ(Units(ShownAt(pTable, nKey, pszSymbol, nValue), 2) - Units(strCost, 2),
                      Units(ShownAt(pTable, nKey, pszSymbol, nGain), 2));
    }
    // The base-currency figures of a row add up as they show, all to the fils.
    const std::vector<std::string> baseCost = ShownTexts(pCombined, CU_BASE_COST), baseValue = ShownTexts(pCombined, CU_BASE_VALUE),
                                   baseGain = ShownTexts(pCombined, CU_BASE_GAIN);
    for (size_t i = 0; i < baseCost.size(); ++i) {
        EXPECT_EQ(3, Places(baseCost[i])) << baseCost[i];
        EXPECT_EQ(Units(baseValue[i], 3) - Units(baseCost[i], 3), Units(baseGain[i], 3))
            << baseValue[i] << " - " << baseCost[i] << " = " << baseGain[i];
    }
    // The gain and per cent a reply gave stand at the row's own figures, as its line moves them.
    EXPECT_EQ(ShownTexts(pCombined, CU_GAIN), ShownTexts(pCombined, CU_SERVER_GAIN));
    EXPECT_EQ(ShownTexts(pUs, UC_LONG_GAIN), ShownTexts(pUs, UC_LONG_AMOUNT));
    EXPECT_EQ(ShownTexts(pUs, UC_LONG_PERCENT), ShownTexts(pUs, UC_LONG_AMOUNT_PERCENT));
    // A KSE row speaks dinars: its price too.
    EXPECT_EQ(0u, ShownAt(pCombined, CU_SYMBOL, "104", CU_PRICE).rfind("0.", 0)) << ShownAt(pCombined, CU_SYMBOL, "104", CU_PRICE);
}

// A company's name as long as a real market's, in Arabic: every window that names the company
// (found by what they show: its holdings, unrealized, orders, trades, realized, the combined
// reports, its quotation) holds the name whole in a column of the name's kind, and shows it whole.
TEST_F(ShownValues, ALongCompanyNameReadsWholeInEveryWindowThatNamesIt)
{
    const std::string strLong = "ألباين نتوركس العالمية للاتصالات وتقنية المعلومات";
    const std::string strData = EditedData("long-name", "us_symbols.txt", [&](const std::string& strLine) {
        return strLine.rfind("ALPN|", 0) == 0 ? "ALPN|8|Alpine Networks International Communications|" + strLong + "|48.25|2.10|1|1\n"
                                              : strLine + "\n";
    });
    ASSERT_TRUE(StartSession({"--rate", "0", "--data", strData}, true));
    Send(MSG_OR, "1002|10020|1|ALPN|100|3|0||0|||secret");
    ASSERT_NO_FATAL_FAILURE(OpenEveryTable());
    std::filesystem::remove_all(strData);
    CDataTable* pTrades = FindDataTable(IDS_TABLE_US_EXECUTED_TRADES);
    ASSERT_NE(nullptr, pTrades);
    ASSERT_TRUE(PumpUntil([&] { return ShownAt(pTrades, 3, "ALPN", 3) == "ALPN"; }, 5000));
    for (UINT nTable : {IDS_TABLE_US_ORDERS, IDS_TABLE_US_EXECUTED_TRADES})
        ASSERT_NO_FATAL_FAILURE(Loaded(nTable));
    const std::string strName = TbUtf8ToCodePage(strLong, 1256);
    std::set<std::string> named, showing;
    for (IDataTable* pAny : CNorvApp::Get()->GetTables()) {
        auto* pTable = dynamic_cast<CDataTable*>(pAny);
        if (pTable == nullptr)
            continue;
        const std::span<const TABLE_COLUMN> columns = pTable->GetDescription().columns;
        bool bNames = false, bShows = false;
        for (size_t c = 0; c < columns.size(); ++c) {
            bNames = bNames || columns[c].nWidth == NAME_WIDTH;
            for (const std::string& strText : ShownTexts(pTable, static_cast<int>(c))) {
                bShows = bShows || strText == "ALPN";
                if (strText.size() >= 4 && strName.rfind(strText, 0) == 0) {
                    EXPECT_EQ(strLong, TbCodePageToUtf8(strText, 1256)) << pTable->GetName() << " column " << c;
                    EXPECT_EQ(NAME_WIDTH, columns[c].nWidth) << pTable->GetName() << " column " << c;
                    named.insert(std::string(pTable->GetName()));
                }
            }
        }
        if (bNames && bShows)
            showing.insert(std::string(pTable->GetName()));
    }
    // Every window that shows the symbol and has a column for a name names the company, whatever
    // came first at the login: a reply or the symbol lists.
    EXPECT_EQ(showing, named);
    for (const std::string& strFault : CutOrMarkedTexts(pRun->Folder() + "/names.pdf", true, {strName}))
        if (strFault.find(strLong.substr(0, 12)) != std::string::npos)
            ADD_FAILURE() << strFault;
}

// Replies that come before the symbol lists (the lists held by the server until the margin
// details are asked for): every row of a window that names a company from the lists
// reads its name once they are in, without being asked for again.
TEST_F(ShownValues, RowsThatCameBeforeTheSymbolListsNameTheirCompaniesOnceTheyCome)
{
    // As a new process starts: no symbol lists until this session's come, whatever an earlier
    // test in this process left.
    GetGlobals()->ClearSymbolMaps();
    ASSERT_TRUE(StartSession({"--rate", "0", "--scenario", "hold=DS:MD"}, true));
    ASSERT_NO_FATAL_FAILURE(OpenPositionWindows());
    std::vector<CDataTable*> tables;
    for (IDataTable* pAny : CNorvApp::Get()->GetTables())
        if (auto* pTable = dynamic_cast<CDataTable*>(pAny); pTable != nullptr && pTable->GetDescription().company.nName >= 0)
            tables.push_back(pTable);
    // Each row's name as its window shows it and as the lists give it, by its symbol and market.
    using NAMES = std::map<std::string, std::pair<std::string, std::string>>;
    const auto Names = [](CDataTable* pTable) {
        const COMPANY_NAME_COLUMNS& company = pTable->GetDescription().company;
        const std::vector<std::string> symbols = ShownTexts(pTable, company.nSymbol), markets = ShownTexts(pTable, company.nMarket),
                                       shown = ShownTexts(pTable, company.nName);
        NAMES names;
        for (size_t i = 0; i < symbols.size() && i < markets.size() && i < shown.size(); ++i)
            names[symbols[i] + "|" + markets[i]] = {
                shown[i], std::string(CompanyNameOf(GetGlobals()->GetMarketCode(markets[i].c_str()), symbols[i].c_str(), TRUE))};
        return names;
    };
    std::map<CDataTable*, NAMES> before;
    for (CDataTable* pTable : tables)
        before[pTable] = Names(pTable);
    const auto Asked = [&] {
        size_t nCount = 0;
        for (const char* pszStart : {"&IH|", "^IH|", "&UP|", "^UP|"})
            nCount += RowsOf(server.Received(), pszStart);
        return nCount;
    };
    const size_t nAsked = Asked();
    Command(ID_APP_MARGIN_DETAILS);
    ASSERT_NO_FATAL_FAILURE(Loaded(IDS_TABLE_MARGIN_DETAILS));
    PumpFor(300);
    const std::set<UINT> replied = {IDS_TABLE_US_HOLDINGS, IDS_TABLE_COMBINED_HOLDINGS, IDS_TABLE_US_UNREALIZED,
                                    IDS_TABLE_COMBINED_UNREALIZED};
    for (CDataTable* pTable : tables) {
        SCOPED_TRACE(std::string(pTable->GetName()));
        int nNamedNow = 0;
        for (const auto& [strRow, names] : Names(pTable)) {
            const auto itBefore = before[pTable].find(strRow);
            if (itBefore == before[pTable].end() || !itBefore->second.first.empty())
                continue;
            EXPECT_EQ(names.second, names.first) << strRow;
            nNamedNow += names.first.empty() ? 0 : 1;
        }
        // The reply came before the lists: rows without a name until the lists came.
        if (replied.count(pTable->GetNameId()) != 0) {
            EXPECT_LT(0, nNamedNow);
        }
    }
    // Named from the lists, not asked for again.
    EXPECT_EQ(nAsked, Asked());
}

namespace {
// Where each window that values positions shows a position's cost, value, gain and per cent.
struct COST_COLUMNS
{
    UINT nTable;
    int nKey, nCost, nValue, nGain, nPercent;
};
const COST_COLUMNS s_costColumns[] = {
    {IDS_TABLE_US_HOLDINGS, HC_SYMBOL, HC_COST, HC_VALUE, HC_GAIN, HC_PERCENT},
    {IDS_TABLE_KSE_HOLDINGS, 1, 7, 9, 10, 11},
    {IDS_TABLE_COMBINED_HOLDINGS, CH_SYMBOL, CH_COST, CH_VALUE, CH_GAIN, CH_GAIN_PERCENT},
    {IDS_TABLE_US_UNREALIZED, UC_SYMBOL, UC_LONG_COST, UC_LONG_VALUE, UC_LONG_GAIN, UC_LONG_PERCENT},
    {IDS_TABLE_KSE_UNREALIZED, UK_STOCK, UK_COST, UK_VALUE, UK_GAIN, UK_PERCENT},
    {IDS_TABLE_COMBINED_UNREALIZED, CU_SYMBOL, CU_COST, CU_VALUE, CU_GAIN, CU_PERCENT},
};
}  // namespace

// A trader who bought one share at 1.0049 and three at 1.0049 reads each purchase's one cost in
// every window, rounded once to the cent as the transactions show what it took (-1.00, -3.01),
// and, the price at 3.07, one gain (the value less that cost as both show) and one per cent of
// it in every window.
TEST_F(OnePrice, APurchaseReadsOneCostGainAndPerCentInEveryWindow)
{
    const std::string strData = EditedData(
        "one-cost", "portfolios.txt",
        [](const std::string& strLine) { return strLine.rfind("trader|", 0) == 0 ? std::string() : strLine + "\n"; },
        "trader|C|0|KWD|1000000|0\ntrader|C|0|USD|2000000|0\ntrader|H|8|BRKT|1|1.0049\ntrader|H|8|GLNT|3|1.0049\n"
        "trader|H|2|104|12345|100.5\n");
    ASSERT_TRUE(StartSession({"--rate", "0", "--data", strData}));
    std::filesystem::remove_all(strData);
    const std::string strAtlantic(GetGlobals()->GetMarketName(8));
    auto* pQuotes = dynamic_cast<CQuotationTable*>(FindDataTable(IDS_TABLE_US_QUOTATIONS));
    ASSERT_NE(nullptr, pQuotes);
    for (const char* pszSymbol : {"BRKT", "GLNT"}) {
        pQuotes->AddSymbol(pszSymbol, strAtlantic.c_str(), nullptr);
        ASSERT_TRUE(PumpUntil([&] { return pQuotes->FindQuote(pszSymbol, strAtlantic.c_str()) != nullptr; }));
    }
    ASSERT_NO_FATAL_FAILURE(OpenEveryPositionWindow());
    const CString strFrom = ToServerDate("20261101"), strTo = ToServerDate("20261231");
    ASSERT_NE(0, QueryRangeReport(g_histTransactionTable, strFrom, strTo));
    ASSERT_NO_FATAL_FAILURE(Loaded(IDS_TABLE_US_TRANSACTIONS));
    for (const char* pszSymbol : {"BRKT", "GLNT"})
        ASSERT_NO_FATAL_FAILURE(MoveUs(pszSymbol, 3.07));

    const struct { const char* pszSymbol; const char* pszPaid; const char* pszCost; const char* pszValue; const char* pszGain;
                   const char* pszPercent; } purchases[] = {
        {"BRKT", "-1.00", "1.00", "3.07", "2.07", "207.00"},
        {"GLNT", "-3.01", "3.01", "9.21", "6.20", "205.98"},
    };
    CDataTable* pTransactions = FindDataTable(IDS_TABLE_US_TRANSACTIONS);
    for (const auto& purchase : purchases) {
        SCOPED_TRACE(purchase.pszSymbol);
        EXPECT_EQ(purchase.pszPaid, ShownAt(pTransactions, 5, purchase.pszSymbol, 8));
        int nWindows = 0;
        for (UINT nTable : g_positionTables) {
            const auto it = std::find_if(std::begin(s_costColumns), std::end(s_costColumns),
                                         [&](const COST_COLUMNS& c) { return c.nTable == nTable; });
            ASSERT_NE(std::end(s_costColumns), it) << "a position window whose columns the test lacks: " << nTable;
            CDataTable* pTable = FindDataTable(nTable);
            if (ShownAt(pTable, it->nKey, purchase.pszSymbol, it->nCost) == "-")
                continue;
            ++nWindows;
            SCOPED_TRACE(std::string(pTable->GetName()));
            EXPECT_EQ(purchase.pszCost, ShownAt(pTable, it->nKey, purchase.pszSymbol, it->nCost));
            EXPECT_EQ(purchase.pszValue, ShownAt(pTable, it->nKey, purchase.pszSymbol, it->nValue));
            EXPECT_EQ(purchase.pszGain, ShownAt(pTable, it->nKey, purchase.pszSymbol, it->nGain));
            EXPECT_EQ(purchase.pszPercent, ShownAt(pTable, it->nKey, purchase.pszSymbol, it->nPercent));
        }
        EXPECT_EQ(4, nWindows) << "the two US windows and the two combined";
    }
    // The KSE purchase of 12,345 shares at 100.5 fils: one cost, to the fils, in every window.
    for (UINT nTable : g_positionTables) {
        const auto it = std::find_if(std::begin(s_costColumns), std::end(s_costColumns),
                                     [&](const COST_COLUMNS& c) { return c.nTable == nTable; });
        CDataTable* pTable = FindDataTable(nTable);
        const std::string strCost = ShownAt(pTable, it->nKey, "104", it->nCost);
        EXPECT_TRUE(strCost == "-" || strCost == "1,240.673") << pTable->GetName() << " " << strCost;
    }
    Shoot(FindDataTable(IDS_TABLE_US_HOLDINGS), "account_one_cost_us_holdings");
}

// Found by the position property: a KSE position whose value lies at half a fils (1,832,421,925
// shares at 114.1 fils, 209,079,341.6425 dinars) reads one value, to the fils rounded up, and so
// one gain in every window, whether the window reckons it in fils or in dinars.
TEST_F(OnePrice, AValueAtHalfAFilsReadsAlikeInEveryWindow)
{
    const std::string strData = EditedData(
        "half-fils", "portfolios.txt",
        [](const std::string& strLine) { return strLine.rfind("trader|", 0) == 0 ? std::string() : strLine + "\n"; },
        "trader|C|0|KWD|1000000|0\ntrader|C|0|USD|2000000|0\ntrader|H|2|104|1832421925|100\ntrader|H|8|BRKT|1|1.0049\n");
    ASSERT_TRUE(StartSession({"--rate", "0", "--data", strData}));
    std::filesystem::remove_all(strData);
    ASSERT_NO_FATAL_FAILURE(OpenEveryPositionWindow());
    ASSERT_NO_FATAL_FAILURE(MoveKse("104", 114.1));
    std::set<std::string> gains;
    int nWindows = 0;
    for (UINT nTable : g_positionTables) {
        const auto it = std::find_if(std::begin(s_costColumns), std::end(s_costColumns),
                                     [&](const COST_COLUMNS& c) { return c.nTable == nTable; });
        ASSERT_NE(std::end(s_costColumns), it) << nTable;
        CDataTable* pTable = FindDataTable(nTable);
        const std::string strValue = ShownAt(pTable, it->nKey, "104", it->nValue);
        if (strValue == "-")
            continue;
        ++nWindows;
        EXPECT_EQ("209,079,341.643", strValue) << pTable->GetName();
        gains.insert(ShownAt(pTable, it->nKey, "104", it->nGain));
    }
    EXPECT_EQ(4, nWindows);
    EXPECT_EQ(1u, gains.size());
}
