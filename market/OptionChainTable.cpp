#include "market/OptionChainTable.h"

#include "app/TableMDIWnd.h"
#include "framework/base/DateTime.h"
#include "framework/base/NumberStyle.h"
#include "framework/table/TableFilters.h"
#include "framework/table/ViewTable.h"
#include "market/TableLinks.h"
#include "refdata/ZorvatTypes.h"

namespace {
enum CHAIN_COLUMN { CC_UNDERLYING = 0, CC_RIGHT = 1, CC_STRIKE = 2, CC_EXPIRY = 3 };

// Lines: 0 underlying, 1 (not shown), 2 right, 3 strike, 4 expiry.
const TABLE_COLUMN s_columns[] = {
    {.nTitleId = 57202, .nSize = 6, .nField = 0},
    {.nTitleId = 57203, .nType = COLTYPE_COMPUTED, .nWidth = 30, .nField = 2,
     .pfnFormat = COptionRight::FormatCodeColumn, .nFormatValue = CC_RIGHT},
    {.nTitleId = 57204, .nType = COLTYPE_DOUBLE, .nWidth = PRICE_WIDTH, .nDecimals = -4, .nAlign = ALIGN_RIGHT,
     .nFlags = COLF_OMIT_ZERO_FRACTION, .nMinDecimals = 2, .nField = 3},
    {.nTitleId = 57205, .nType = COLTYPE_DATE_TEXT, .nWidth = DATE_WIDTH, .nAlign = ALIGN_RIGHT, .nFlags = COLF_SERVER_DATE,
     .nField = 4},
};
const TABLE_SORT_KEY s_sort[] = {
    {CC_UNDERLYING, SORT_ASCENDING}, {CC_RIGHT, SORT_ASCENDING}, {CC_STRIKE, SORT_ASCENDING}, {CC_EXPIRY, SORT_ASCENDING}};
const int s_keys[] = {CC_UNDERLYING, CC_RIGHT, CC_STRIKE, CC_EXPIRY};

BOOL IsDate(const COleDateTime& date)
{
    return date.GetStatus() == COleDateTime::valid;
}

// A date in the pattern the grid reads its date cells in: a fixed day-month-year text would be
// refused as a criterion, and the dates left unfiltered, wherever the pattern is another.
CString GridDate(const COleDateTime& date)
{
    char szDate[64] = "";
    FormatDateText(szDate, static_cast<int>(sizeof(szDate)), date.Format("%Y%m%d"), GetGlobalDatePattern());
    return szDate;
}
}  // namespace

const TABLE_DESC g_optionChainTable = {
    .nNameId = IDS_TABLE_OPTION_CHAIN, .nTitleId = IDS_TITLE_OPTION_CHAIN, .columns = s_columns, .sort = s_sort,
    .keys = s_keys, .nRequestType = MSG_GO, .nReplyType = MSG_GO, .nFlags = TABLEF_REPLY_ADDS};

BOOL COptionChainTable::ApplyFilter(double dStrikeFrom, double dStrikeTo, LPCSTR pszRight,
                                    const COleDateTime& expiryFrom, const COleDateTime& expiryTo)
{
    CTableMDIWnd* pWindow = GetMainWindow();
    CViewTable* pView = pWindow != nullptr ? pWindow->GetView() : nullptr;
    if (pView == nullptr)
        return FALSE;
    CTableFilters* pFilters = new CTableFilters;
    pFilters->Init(pView, pView->GetFilters());
    pFilters->SetRowRange(0, -1);
    for (int nCol : {CC_STRIKE, CC_EXPIRY, CC_RIGHT})
        pFilters->RemoveColumnFilters(nCol);
    CString strCriteria;
    auto add = [&](int nCol) {
        pFilters->AddFilter(nCol, strCriteria, /*bFlag=*/FALSE, /*nGroup=*/0, /*bQuote=*/TRUE);
    };
    if (dStrikeFrom != 0.0) {
        strCriteria.Format(">=%f", dStrikeFrom);
        add(CC_STRIKE);
    }
    if (dStrikeTo != 0.0) {
        strCriteria.Format("<%f", dStrikeTo);
        add(CC_STRIKE);
    }
    if (IsDate(expiryFrom) && IsDate(expiryTo) && expiryFrom < expiryTo) {
        strCriteria.Format(">=%s", static_cast<LPCSTR>(GridDate(expiryFrom)));
        add(CC_EXPIRY);
        strCriteria.Format("<%s", static_cast<LPCSTR>(GridDate(expiryTo)));
        add(CC_EXPIRY);
    }
    // Any other text than the choice of both rights narrows to one right; a text that names no
    // right gives code 0, which no series has.
    const CString strBoth = LoadMarketText(IDS_OPTION_BOTH_RIGHTS);
    if (pszRight != nullptr && strBoth != pszRight) {
        strCriteria.Format("=%d", COptionRight::GetCodeByText(pszRight));
        add(CC_RIGHT);
    }
    return SetViewFilter(pWindow, pFilters);
}
