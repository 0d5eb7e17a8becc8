#include "market/HolidayTable.h"

#include <memory>

#include "link/MessageSource.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/TableLinks.h"
#include "refdata/ZorvatGlobals.h"

namespace {
enum { HC_DATE, HC_MARKET, HC_NAME };
const TABLE_COLUMN s_columns[] = {
    {.nTitleId = 51991, .nType = COLTYPE_DATE_TEXT, .nWidth = DATE_WIDTH, .nAlign = ALIGN_RIGHT, .nFlags = COLF_SERVER_DATE, .nField = 0},
    {.nTitleId = 51993, .nType = COLTYPE_COMPUTED, .nWidth = MARKET_COLUMN_WIDTH, .nSize = MARKET_COLUMN_SIZE, .nField = 2,
     .pfnFormat = CZorvatGlobals::FormatMarketColumn, .nFormatValue = HC_MARKET},    // the code, shown by its name
    {.nTitleId = 51992, .nWidth = 285, .nSize = 50, .nField = 1},
};
const TABLE_SORT_KEY s_sort[] = {{HC_DATE, SORT_ASCENDING}, {HC_MARKET, SORT_ASCENDING}};
const int s_keys[] = {HC_DATE};
}  // namespace

const TABLE_DESC g_holidayTable = {.nNameId = IDS_TABLE_HOLIDAYS, .nTitleId = IDS_TITLE_HOLIDAYS, .nFixedColumns = 1,
                                   .columns = s_columns, .sort = s_sort, .keys = s_keys, .nRequestType = MSG_HD,
                                   .nReplyType = MSG_HD};

void CHolidayTable::OnRecord(CServerMessage* pMsg)
{
    if (pMsg == nullptr || !IsReceiving() || (GetSource() != nullptr && !GetSource()->IsRestricted()))
        return;
    std::unique_ptr<CDataBuffer> pRow(GetRows()->NewRow());
    FillRow(pMsg, pRow.get(), FALSE);
    GetRows()->AddRow(pRow.get(), TRUE);
}

void CHolidayTable::OnCellClick(CViewRow* pRow, int nCol, int* pnHandled)
{
    if (nCol == HC_MARKET && FilterViewOnCell(this, pRow, nCol) && pnHandled != nullptr)
        *pnHandled = 1;
}
