#pragma once
// What the account tables add to the data-table description: the requests with their bodies,
// the columns a click filters on, the context menu's own items and the table's commands with
// their rules. CAccountTable reads it, so an account table is its description and what is
// special to it (its fills, derived columns, notices and clicks).
#include <functional>
#include <span>
#include "app/AppCommands.h"
#include "framework/window/CellText.h"
#include "market/DataTable.h"
#include "refdata/PriceText.h"

// The account tables' own commands.
#define ID_ACCOUNT_REFRESH        33175
#define ID_ACCOUNT_ALERT_SOUND    33316
#define ID_ACCOUNT_NOTHING        33317
#define ID_ACCOUNT_TICKET_FROM_ORDER 33620
#define IDS_ACCOUNT_ASK_REFRESH   40342
#define IDS_TABLE_KSE_STOCK_LIST  56376

// What a table command does.
enum ACCOUNT_ACTION
{
    ACTION_NONE,            // titled and enabled by its rule, does nothing
    ACTION_REFRESH,         // the table's requests again, at once
    ACTION_REFRESH_ASKED,   // the same after the Yes/No question
    ACTION_DIALOG,          // the modal dialog registered for the command (app/AppCommands.h)
    ACTION_OWN,             // the class's OnAccountCommand
    ACTION_CODE_FILTER,     // the main window shows the rows whose column holds one of the codes' texts
    ACTION_CRITERIA_FILTER, // the main window's column filter becomes the criteria
    ACTION_CLEAR_FILTER,    // the column's filters removed from the main window
};

struct ACCOUNT_COMMAND
{
    UINT nId;
    COMMAND_RULE rule;      // RULE_REMOVED: its item leaves the menu each time it opens
    ACCOUNT_ACTION action = ACTION_NONE;
    int nColumn = -1;       // of the filter actions
    LPCSTR pszCriteria = nullptr;
    std::span<const int> codes = {};    // ACTION_CODE_FILTER: the codes of the column's code table
};

// An item of the context menu, from the top: a command, a separator (all 0), or a popup titled
// by its string holding the commands listed.
struct ACCOUNT_MENU_ITEM
{
    UINT nId = 0;
    UINT nPopupTitleId = 0;
    std::span<const UINT> popup = {};
};

// One request: its type and its body, a format of the user number (%d) and the account (%s).
struct ACCOUNT_REQUEST
{
    int nType;
    LPCSTR pszBody;
};

struct ACCOUNT_DESC
{
    TABLE_DESC table;
    std::span<const ACCOUNT_REQUEST> requests = {};     // sent in this order
    std::span<const int> quickFilters = {};             // a click on their cells filters on the text
    std::span<const ACCOUNT_MENU_ITEM> menu = {};
    std::span<const ACCOUNT_COMMAND> commands = {};
    int nFirstOptionColumn = -1;        // the option columns the application hides at each show
    int nLastOptionColumn = -1;
};

// Widths of the code columns the KSE tables share, each wide enough for the longest text of its
// code table in either language ("Forward market", "Immediate or cancel"), and of the account
// number, whose column holds its title.
constexpr int KSE_BOARD_WIDTH = 100;
constexpr int SIDE_WIDTH = 45;
constexpr int ORDER_TYPE_WIDTH = 100;
constexpr int DURATION_WIDTH = 125;
// An option right's column, wide enough for a stock's "None" in Arabic ("لا شيء").
constexpr int OPTION_RIGHT_WIDTH = 50;

// Column kinds of the account tables, one line each in their descriptions.
constexpr TABLE_COLUMN AccountDateTime(UINT nTitleId, int nField)
{
    return {.nTitleId = nTitleId, .nType = COLTYPE_DATETIME_TEXT, .nWidth = DATETIME_WIDTH, .nAlign = ALIGN_RIGHT,
            .nFlags = COLF_SERVER_DATE, .nField = nField};
}
constexpr TABLE_COLUMN AccountDate(UINT nTitleId, int nField, int nWidth = DATE_WIDTH)
{
    return {.nTitleId = nTitleId, .nType = COLTYPE_DATE_TEXT, .nWidth = nWidth, .nAlign = ALIGN_RIGHT,
            .nFlags = COLF_SERVER_DATE, .nField = nField};
}
// A company's name in the interface's language, from the symbol lists: held whole (the longest
// reach 50 characters) in the name kind's width, whatever size the server's lines give a symbol.
constexpr int NAME_SIZE = 100;
constexpr TABLE_COLUMN AccountName(UINT nTitleId)
{
    return {.nTitleId = nTitleId, .nWidth = NAME_WIDTH, .nSize = NAME_SIZE};
}
// A number without grouping (order and trade numbers).
constexpr TABLE_COLUMN AccountId(UINT nTitleId, int nField, int nWidth = NUMBER_WIDTH, UINT nFlags = 0)
{
    return {.nTitleId = nTitleId, .nType = COLTYPE_INT32, .nWidth = nWidth, .nAlign = ALIGN_RIGHT,
            .nFlags = nFlags | COLF_NO_THOUSANDS, .nField = nField};
}
constexpr TABLE_COLUMN AccountInt(UINT nTitleId, int nField, UINT nFlags = 0, int nWidth = QUANTITY_WIDTH)
{
    return {.nTitleId = nTitleId, .nType = COLTYPE_INT32, .nWidth = nWidth, .nAlign = ALIGN_RIGHT, .nFlags = nFlags,
            .nField = nField};
}
// An order's reference as the ticket takes it, in the reference kind's width wherever it shows.
constexpr int REFERENCE_SIZE = 40;
constexpr TABLE_COLUMN AccountReference(UINT nTitleId, int nField)
{
    return {.nTitleId = nTitleId, .nWidth = REFERENCE_WIDTH, .nSize = REFERENCE_SIZE, .nField = nField};
}
constexpr TABLE_COLUMN AccountText(UINT nTitleId, int nSize, int nField, int nWidth = 95)
{
    return {.nTitleId = nTitleId, .nWidth = nWidth, .nSize = nSize, .nField = nField};
}
constexpr TABLE_COLUMN AccountNumber(UINT nTitleId, int nDecimals, int nField, UINT nFlags = COLF_THOUSANDS,
                                     int nMinDecimals = 0, int nWidth = QUANTITY_WIDTH)
{
    return {.nTitleId = nTitleId, .nType = COLTYPE_DOUBLE, .nWidth = nWidth, .nDecimals = nDecimals,
            .nAlign = ALIGN_RIGHT, .nFlags = nFlags, .nMinDecimals = nMinDecimals, .nField = nField};
}
// A price: every decimal it carries and at least its market's, as the price rule shows it; it
// stands at the right edge as any number, its points lined up at its market's decimals.
static_assert(PRICE_DECIMAL_CODE == DECIMALS_CARRIED);
constexpr TABLE_COLUMN AccountPrice(UINT nTitleId, int nMarketDecimals, int nField, UINT nFlags = COLF_THOUSANDS)
{
    return AccountNumber(nTitleId, PRICE_DECIMAL_CODE, nField, nFlags, nMarketDecimals, PRICE_WIDTH);
}
// The least decimals of a dollar price in the position windows (to the cent), and of a KSE price
// where the combined windows show it in dinars.
constexpr int POSITION_PRICE_DECIMALS = 2;
// A code column: the code stored, the code table's text shown (the column's own index is the
// callback's slot).
constexpr TABLE_COLUMN AccountCode(UINT nTitleId, int nWidth, int nField, TBCOLUMNFORMAT pfnFormat, int nCol,
                                   UINT nFlags = 0, int nSize = 0)
{
    return {.nTitleId = nTitleId, .nType = COLTYPE_COMPUTED, .nWidth = nWidth, .nSize = nSize, .nFlags = nFlags,
            .nField = nField, .pfnFormat = pfnFormat, .nFormatValue = nCol};
}

// A code table's text of a code, as a column callback shows it.
typedef CString (*PFN_CODE_TEXT)(int nCode);

class CAccountTable : public CDataTable
{
public:
    CAccountTable(const ACCOUNT_DESC& desc, CZorvatMessageSource* pSource);
    const ACCOUNT_DESC& GetAccountDescription() const { return m_account; }

    // The description's requests for the logged-in user; FALSE when none went out.
    BOOL SendRequest() override;
    using CDataTable::SendRequest;
    // The option columns hidden (and not switchable) or shown in every view.
    void SetColumnsHidden(BOOL bHidden) override;

    HMENU CreateContextMenu() override;
    void OnInitMenuPopup(HMENU hMenu, UINT nIndex, BOOL bSysMenu) override;
    BOOL OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    void OnCellClick(CViewRow* pRow, int nCol, int* pnHandled) override;

    // The main window's view shows the rows whose column holds one of the texts (pszCriteria
    // null), or matches the criteria; its earlier filters stay only when the view sums groups,
    // and the group sums are switched off. FALSE without a main window.
    BOOL FilterMainWindow(int nCol, std::span<const CString> texts, LPCSTR pszCriteria);
    // The texts of a code column's codes, through its column callback.
    CString GetCodeText(int nCol, int nCode) const;
    // The popup the last CreateContextMenu made (owned by its window).
    HMENU GetPopup() const { return m_hPopup; }

protected:
    // A click on a data row's cell that is not a quick filter; TRUE when it was taken.
    virtual BOOL OnOwnCellClick(CViewRow* /*pRow*/, int /*nCol*/) { return FALSE; }
    virtual void OnAccountCommand(UINT /*nId*/) {}
    // A cell of a window's data line as a number; 0 for anything else.
    static long GetRowNumber(CViewRow* pRow, int nCol);
    // A row of a line through the map of nType, found by its key or added: the stored row, or
    // null when the store refused it. *pbNew tells which; a found row is written through.
    // fillMore writes what the table looks up for the row (told whether it is new) in the same
    // batch: a new row comes to the windows whole, once.
    CDataBuffer* FillOrAddRow(CServerMessage* pMsg, int nType, BOOL* pbNew,
                              const std::function<void(CDataBuffer*, BOOL)>& fillMore = {});
    // The key cells that the line of nType tells by its kind rather than by a field (a forward
    // trade's market), written into the line's row before its stored row is looked for.
    virtual void SetKindKeys(CDataBuffer* /*pLine*/, int /*nType*/) const {}
    // Writes a derived value as the column's text (" %f "), written through.
    static void SetNumber(CDataBuffer* pRow, int nCol, double dValue);
    // A line in the information window, brought forward at priority 1; the texts are inserts.
    static void PostNotice(UINT nFormatId, std::span<const CString> inserts);

private:
    const ACCOUNT_COMMAND* FindCommand(UINT nId) const;
    BOOL IsCommandEnabled(const ACCOUNT_COMMAND& command) const;
    void RunCommand(const ACCOUNT_COMMAND& command);

    const ACCOUNT_DESC& m_account;
    HMENU m_hPopup = nullptr;           // not owned: the window that shows it destroys it
};

// The KSE stock's name from the stock list (its second name with bSecond), "%ld" when missing.
CString GetKseStockName(long nStock, BOOL bSecond);
// String id of the text of a KSE line's code field (1, 2, 3, else the default).
UINT GetKseCodeTextId(long nCode);
