#pragma once
// The order tests' trader: the terminal logged in against the test server with the order forms
// registered; the requests the server received, read by message type and split into their body
// fields; a clock the tests set for the date rules; the option series asked through the chain.
#include <gtest/gtest.h>

#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "app/TableFactory.h"
#include "app/ZorvatApp.h"
#include "refdata/ZorvatGlobals.h"
#include "tests/app/TerminalRun.h"
#include "tests/link/LinkSessionSupport.h"

class CDataBuffer;
class CDataTable;
class CNewPlaceOrderDlg;

struct CFixedClock : IClockSource
{
    time_t tNow = 0;
    time_t GetNow() const override { return tNow; }
    int GetLocalSecondsOfDay() const override { return 10 * 3600; }
};

// 10:00 local time of that day.
time_t LocalMorning(int nYear, int nMonth, int nDay);

void SetPickerDate(HWND hDlg, int nId, int nYear, int nMonth, int nDay);

// The text put on the clipboard and pasted into the dialog's control, as Ctrl+V does.
void PasteInto(HWND hDlg, int nId, const char* pszText);

// A combo box's items, and the item selected ("" when none).
std::vector<std::string> BoxItems(HWND hDlg, int nId);
std::string BoxSelection(HWND hDlg, int nId);
// A cell of a table's main window as shown; "" when the row or column is not there.
std::string CellText(CDataTable* pTable, int nRow, int nCol);

// The body fields of a request line "&MN|number|XC||f0|f1|...".
std::vector<std::string> BodyOf(const std::string& strLine);

// The fields with each "#" replaced by the order's number.
std::vector<std::string> WithOrder(std::vector<std::string> fields, const std::string& strOrder);

// The order requests in the server's log that no check reply without error came before.
std::string OrdersWithoutCheck(const std::vector<std::string>& log);

struct COrderSession : ::testing::Test
{
    CFixedClock clock;
    CTestServer server;
    std::unique_ptr<CTerminalRun> pRun;

    void Start(bool bArabic, const std::vector<std::string>& options = {}, const char* pszUser = "trader",
               const char* pszPassword = "secret");
    void TearDown() override;
    CZORVAT32App& App() { return pRun->App(); }
    // The menu command through the main frame; the order ticket it opened.
    CNewPlaceOrderDlg* Command(UINT nId);
    // The form opened by its id as the form factory makes it; its view's window, null when none.
    HWND OpenForm(UINT nFormId);
    // A ticket of that form opened and filled with an order of the test market but for its
    // quantity (the order ticket through its KSE command); *pnQuantity: the quantity's field.
    // Null for a form no ticket of which the tests know how to fill.
    HWND OpenFilledTicket(UINT nFormId, int* pnQuantity);
    // The requests of these message types the server received, in order.
    std::vector<std::string> Requests(const std::vector<std::string>& mnemonics) const;
    size_t Count(const std::string& strMnemonic) const;
    // The server's log lines of one message type, for failure messages.
    std::string Lines(const std::string& strMnemonic) const;
    // The underlying typed into the ticket and left: the ticket asks for its series and takes them.
    void AskOptionSeries(HWND hTicket, const char* pszUnderlying);
    // The option chain form asks for the underlying's series; its window, null when none opened.
    HWND AskChainSeries(const char* pszUnderlying);

protected:
    // The makers the terminal registers at start: the order forms.
    virtual void RegisterMakers();
};

// The trader with the order-status tables (US 51110, KSE 51128) made, for this test only: the
// other order tests run without them.
struct COrderStatusSession : COrderSession
{
    PFN_MAKE_TABLE pfnUsBefore = FindTableMaker(51110), pfnKseBefore = FindTableMaker(51128);

    // Logged in against a server that moves no prices.
    void StartTrader(bool bArabic, const char* pszUser = "trader", const char* pszPassword = "secret");
    void TearDown() override;
    // Sends the placing request; the order's number from field nNumberField of the server's reply,
    // once its row is in the table, or at once for table 0 (empty when none came).
    std::string Place(int nPlace, const char* pszBody, int nNumberField, UINT nTable);
    CDataBuffer* Row(UINT nTable, const std::string& strOrder) const;

protected:
    void RegisterMakers() override;
};

// Another terminal of the same trader, on a connection of its own: what it sends (a cancel of an
// order of the terminal under test) the terminal learns only from the server's lines.
struct COtherTerminal
{
    CSimClient client;
    // Connected, keys exchanged and logged in; false when the server did not take it.
    bool Open(int nPort, const char* pszUser = "trader", const char* pszPassword = "secret");
    // The request sent; the lines that came until the server fell quiet.
    std::vector<std::string> Send(const char* pszMnemonic, const std::string& strBody);
};

// The company names of one language that the simulator's lists hold, in the language's code
// page: the KSE stock list as the server sent it at login, and the US symbols' names from the
// simulator's own data, read by its own reader.
struct LISTED_NAMES
{
    std::vector<std::string> names;
    long nKseStock = 0;             // the KSE stock with the longest name, and that name
    std::string strKseName;
    std::string strUsSymbol;        // the US symbol with the longest name, its market and name
    int nUsMarket = 0;
    std::string strUsName;
};
LISTED_NAMES ListedNames(bool bArabic);

// The dialog's statics and edits whose text is the name (a combo box's field is typed into, and
// scrolls).
std::vector<HWND> ControlsShowing(HWND hDlg, const std::string& strName);
// Each name's width in the control's own font against the room its client area leaves it;
// a failure names the control and the name it cuts.
void ExpectEachNameFits(HWND hField, const std::vector<std::string>& names);
