#include "market/NewsTable.h"

#include <cstring>

#include "app/NewsPages.h"
#include "app/TableFactory.h"
#include "app/ZorvatApp.h"
#include "framework/table/Table.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/ListNewsTable.h"
#include "market/TableLinks.h"
#include "platform/win/user/Menu.h"
#include "platform/win/user/MessageBox.h"

#define IDS_REFRESH_QUESTION 40342

namespace {
enum { NW_STORY, NW_TIME, NW_HEADLINE };

const TABLE_COLUMN s_columns[] = {
    {.nTitleId = IDS_KEY_COLUMN_TITLE, .nWidth = 10, .nSize = 30, .nFlags = COLF_HIDDEN, .nField = 0},
    {.nTitleId = 51961, .nType = COLTYPE_DATETIME_TEXT, .nWidth = DATETIME_WIDTH, .nAlign = ALIGN_RIGHT,
     .nFlags = COLF_SERVER_DATE, .nField = 1},
    {.nTitleId = 51962, .nWidth = 475, .nSize = 100, .nField = 2},
};
const TABLE_SORT_KEY s_sort[] = {{NW_TIME, SORT_ASCENDING}, {NW_STORY, SORT_ASCENDING}};
const int s_keys[] = {NW_STORY, NW_TIME};
}  // namespace

const TABLE_DESC g_newsTable = {.nNameId = IDS_TABLE_NEWS, .nTitleId = IDS_TITLE_NEWS, .nFixedColumns = 1,
                                .columns = s_columns, .sort = s_sort, .keys = s_keys, .nRequestType = MSG_NN,
                                .nReplyType = MSG_NN};

BOOL CNewsTable::SendRequestFor(long nNumber, LPCSTR pszSymbol)
{
    const CString strSymbol(pszSymbol != nullptr ? pszSymbol : "");
    // The symbol is the request's first field: a separator in it would shift the others.
    if (strpbrk(strSymbol, "|\r\n") != nullptr)
        return FALSE;
    m_strSymbol = strSymbol;
    CString strBody;
    strBody.Format("%s|%ld", static_cast<LPCSTR>(m_strSymbol), nNumber);
    m_bPending = TRUE;
    return SendRequest(strBody) != 0;
}

void CNewsTable::OnNN(CServerMessage* pMsg)
{
    // Another requester's reply names another symbol.
    if (pMsg == nullptr || pMsg->GetField(0) != m_strSymbol)
        return;
    CTable* pTable = GetTable();
    if (CViewTable* pView = pTable->GetViewCount() > 0 ? pTable->GetView(0) : nullptr) {
        // Every story shown again takes the table's own title back.
        CString strTitle[2] = {GetViewTitle(pView, FALSE), GetViewTitle(pView, TRUE)};
        if (!m_strSymbol.IsEmpty()) {
            strTitle[0].Format(LoadMarketText(IDS_NEWS_TITLE_SYMBOL), static_cast<LPCSTR>(m_strSymbol));
            strTitle[1] = strTitle[0];
        }
        pView->SetTitle(strTitle[0], 0);
        pView->SetTitle(strTitle[1], 1);
    }
    TableOnReplyBegin(pMsg);
}

void CNewsTable::OnEnd(CServerMessage* pMsg)
{
    // Only the end of this table's own reply answers its request.
    const BOOL bOwn = IsReceiving();
    TableOnEnd(pMsg);
    if (!bOwn || pMsg == nullptr)
        return;
    const BOOL bPending = m_bPending;
    m_bPending = FALSE;
    if (!bPending || pMsg->GetLong(0) != 0)
        return;
    if (CTableMDIWnd* pWindow = GetActiveWindow())
        CloseWindow(pWindow);
    CString strText;
    strText.Format(LoadMarketText(IDS_NEWS_NONE), static_cast<LPCSTR>(m_strSymbol));
    ShowMarketInfo(strText, 0, INFO_PRIORITY_ERROR);
}

void CNewsTable::OnCellClick(CViewRow* pRow, int /*nCol*/, int* pnHandled)
{
    if (pRow == nullptr || !pRow->IsDataRow())
        return;
    INewsPages* pPages = GetNewsPages();
    TBCellSlot* pValues = pRow->LockValues();
    if (pValues == nullptr)
        return;
    const CDataBuffer line(GetRows(), pValues);
    pRow->UnlockValues(pValues);
    if (pPages != nullptr)
        pPages->OpenNewsPage(line.GetText(NW_STORY));
    if (pnHandled != nullptr)
        *pnHandled = 1;
}

HMENU CNewsTable::CreateContextMenu()
{
    HMENU hMenu = CDataTable::CreateContextMenu();
    if (hMenu == nullptr)
        return nullptr;
    DeleteMenu(hMenu, 0, MF_BYPOSITION);
    InsertTopItems(hMenu, {ID_NEWS_REFRESH});
    return hMenu;
}

BOOL CNewsTable::OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (nId != ID_NEWS_REFRESH)
        return CDataTable::OnCmdMsg(nId, nCode, pExtra, pHandlerInfo);
    return RouteOwnCommand(nCode, pExtra, pHandlerInfo, TRUE, [&] {
        if (MessageBoxA(nullptr, LoadMarketText(IDS_REFRESH_QUESTION), nullptr, MB_YESNO | MB_ICONQUESTION) == IDYES)
            SendRequestFor(0, nullptr);
    });
}
