#include "market/NewsBrowserKSETable.h"

#include "app/NewsPages.h"
#include "app/TableMDIWnd.h"
#include "app/ZorvatApp.h"
#include "framework/table/SortColumns.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/NewsKSETable.h"
#include "market/TableLinks.h"

#define ID_NEWS_BROWSER_REFRESH 33175
#define IDS_NO_KSE_STORIES 56942
#define IDS_KSE_STORY_LIST_TITLE 56943

namespace {
enum { BC_STORY, BC_TIME, BC_HEADLINE };

const TABLE_COLUMN s_columns[] = {
    {.nWidth = 10, .nSize = 30, .nFlags = COLF_HIDDEN, .nField = 0},
    {.nTitleId = 56940, .nType = COLTYPE_DATETIME_TEXT, .nWidth = DATETIME_WIDTH, .nAlign = ALIGN_RIGHT, .nFlags = COLF_SERVER_DATE,
     .nField = 1},
    {.nTitleId = 56941, .nWidth = 475, .nSize = 100, .nField = 2},
};
const TABLE_SORT_KEY s_sort[] = {{BC_TIME, SORT_ASCENDING}, {BC_STORY, SORT_ASCENDING}};
const int s_keys[] = {BC_STORY, BC_TIME};
}  // namespace

const TABLE_DESC g_newsBrowserKSETable = {
    .nNameId = IDS_TABLE_NEWS_BROWSER_KSE, .nTitleId = IDS_TITLE_NEWS_BROWSER_KSE, .nFixedColumns = 1,
    .columns = s_columns, .sort = s_sort, .keys = s_keys, .nRequestType = MSG_NZ, .nReplyType = MSG_NZ};

BOOL CNewsBrowserKSETable::RequestStoryList(long nListId)
{
    m_nListId = nListId > 0 ? nListId : 0;
    m_bPending = TRUE;
    CString strBody("||");
    if (m_nListId > 0)
        strBody.AppendFormat("%ld", m_nListId);
    return SendRequest(strBody) != 0;
}

void CNewsBrowserKSETable::OnNZ(CServerMessage* pMsg)
{
    // The reply to another list's request leaves the table alone.
    if (pMsg == nullptr || pMsg->GetLong(2) != m_nListId)
        return;
    if (CViewTable* pView = GetTable() != nullptr ? GetTable()->GetView(0) : nullptr) {
        for (int nLanguage = 1; nLanguage >= 0; --nLanguage) {
            CString strTitle;
            if (m_nListId > 0)
                strTitle.Format(LoadMarketText(IDS_KSE_STORY_LIST_TITLE), m_nListId);
            else
                strTitle = GetViewTitle(pView, nLanguage);
            pView->SetTitle(strTitle, nLanguage);
        }
    }
    TableOnReplyBegin(pMsg);
}

void CNewsBrowserKSETable::OnEnd(CServerMessage* pMsg)
{
    // Only the end of this table's own reply answers its request: another reply's "EN" says
    // nothing of the stories asked for.
    if (!IsReceiving())
        return;
    TableOnEnd(pMsg);
    const BOOL bWasPending = m_bPending;
    m_bPending = FALSE;
    if (pMsg == nullptr || pMsg->GetLong(0) != 0 || !bWasPending)
        return;
    if (CTableMDIWnd* pWindow = GetActiveWindow())
        CloseWindow(pWindow);
    CString strText;
    strText.Format(LoadMarketText(IDS_NO_KSE_STORIES), m_nListId);
    ShowMarketInfo(strText, 0, INFO_PRIORITY_ERROR);
}

void CNewsBrowserKSETable::OnCellClick(CViewRow* pRow, int /*nCol*/, int* pnHandled)
{
    if (pRow == nullptr || !pRow->IsDataRow())
        return;
    TBCellSlot* pValues = pRow->LockValues();
    if (pValues == nullptr)
        return;
    const CDataBuffer line(GetRows(), pValues);
    const CString strStory = line.GetText(BC_STORY);
    pRow->UnlockValues(pValues);
    // Until the browser registers its pages a click opens nothing.
    INewsPages* pPages = GetNewsPages();
    if (pPages == nullptr)
        return;
    pPages->OpenNewsPageKSE(strStory);
    if (pnHandled != nullptr)
        *pnHandled = 1;
}

HMENU CNewsBrowserKSETable::CreateContextMenu()
{
    return CNewsKSETable::CreateRefreshMenu();
}

BOOL CNewsBrowserKSETable::OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (nId != ID_NEWS_BROWSER_REFRESH)
        return CDataTable::OnCmdMsg(nId, nCode, pExtra, pHandlerInfo);
    return RouteOwnCommand(nCode, pExtra, pHandlerInfo, TRUE, [this] {
        if (CNewsKSETable::ConfirmRefresh())
            RequestStoryList(0);
    });
}
