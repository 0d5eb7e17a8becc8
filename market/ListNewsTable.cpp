#include "market/ListNewsTable.h"

#include <cstdlib>
#include <cstring>
#include <memory>

#include "app/ZorvatApp.h"
#include "framework/table/ViewRow.h"
#include "link/MessageSource.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/TableLinks.h"
#include "platform/mfc/CmdUI.h"
#include "platform/win/user/Menu.h"
#include "platform/win/user/MessageBox.h"
#include "refdata/User.h"
#include "refdata/ZorvatGlobals.h"
#include "refdata/ZorvatTypes.h"

#define IDS_REFRESH_QUESTION 40342
#define MENTION_MARK '@'

namespace {
enum { NC_STORY, NC_LANGUAGE, NC_TIME, NC_FIELD3, NC_FIELD4, NC_MARKET, NC_HEADLINE, NC_FIELD7 };

const TABLE_COLUMN s_columns[] = {
    {.nTitleId = 57749, .nSize = 80, .nField = 0},
    {.nTitleId = 57752, .nType = COLTYPE_COMPUTED, .nField = 1, .pfnFormat = CLangOpt::FormatCodeColumn,
     .nFormatValue = NC_LANGUAGE},
    {.nTitleId = 57753, .nType = COLTYPE_DATETIME_TEXT, .nWidth = DATETIME_WIDTH, .nFlags = COLF_SERVER_DATE, .nField = 2},
    {.nTitleId = 57750, .nWidth = 180, .nSize = 80, .nField = 3},
    {.nTitleId = 57751, .nWidth = 180, .nSize = 200, .nField = 4},
    {.nTitleId = 57754, .nType = COLTYPE_COMPUTED, .nWidth = MARKET_COLUMN_WIDTH, .nSize = MARKET_COLUMN_SIZE, .nField = 5,
     .pfnFormat = CZorvatGlobals::FormatMarketColumn, .nFormatValue = NC_MARKET},    // the code, shown by its name
    {.nTitleId = 57755, .nWidth = 180, .nSize = 200},
    {.nTitleId = 57799, .nWidth = 180, .nSize = 200, .nField = 7},
};
const TABLE_SORT_KEY s_sort[] = {{NC_TIME, SORT_ASCENDING}, {NC_STORY, SORT_ASCENDING}, {NC_LANGUAGE, SORT_ASCENDING}};
const int s_keys[] = {NC_STORY, NC_LANGUAGE};
const int s_live[] = {MSG_BW};
// Live lines fill the same columns as the reply's rows.
const int s_liveFields[] = {0, 1, 2, 3, 4, FIELD_NONE, FIELD_NONE, 7};
const TABLE_FIELD_MAP s_maps[] = {{.nMessageType = MSG_BW, .fields = s_liveFields}};

CString GlobalMarketName(long nCode)
{
    const CZorvatGlobals* pGlobals = GetGlobals();
    return pGlobals != nullptr ? pGlobals->GetMarketName(nCode) : CString();
}

// The leading digits of a mention as a code; saturates instead of overflowing.
long MentionCode(LPCSTR pszMention)
{
    return strtol(pszMention, nullptr, 10);
}
}  // namespace

const TABLE_DESC g_listNewsTable = {
    .nNameId = IDS_TABLE_NEWS_LIST, .nTitleId = IDS_TITLE_NEWS_LIST, .nFixedColumns = 2, .columns = s_columns,
    .sort = s_sort, .keys = s_keys, .nRequestType = MSG_LW, .nReplyType = MSG_LW, .liveTypes = s_live,
    .maps = s_maps};

CString CListNewsTable::ExpandMarketMentions(LPCSTR pszText, PFN_MARKET_NAME pfnName, int* pnSteps)
{
    if (pnSteps != nullptr)
        *pnSteps = 0;
    CString strText(pszText != nullptr ? pszText : "");
    strText.Trim();
    if (pfnName == nullptr)
        pfnName = GlobalMarketName;
    int nFrom = 0;
    for (int nMark = strText.Find(MENTION_MARK, nFrom); nMark >= 0; nMark = strText.Find(MENTION_MARK, nFrom)) {
        const LPCSTR pszMention = static_cast<LPCSTR>(strText) + nMark + 1;
        // Up to the nearer of the next space and comma; neither: the rest of the text.
        const int nEnd = nMark + 1 + static_cast<int>(strcspn(pszMention, " ,"));
        CString strMention = strText.Mid(nMark + 1, nEnd - nMark - 1);
        CString strInserted;
        strInserted.Format("(%s)", static_cast<LPCSTR>(pfnName(MentionCode(strMention))));
        strText = strText.Left(nMark) + strInserted + strText.Mid(nEnd);
        nFrom = nMark + strInserted.GetLength();
        if (pnSteps != nullptr)
            ++*pnSteps;
    }
    return strText;
}

BOOL CListNewsTable::SendRequest()
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    if (pApp == nullptr)
        return FALSE;
    RemoveAllRows();
    const CUser user = pApp->GetUser();
    CString strBody;
    strBody.Format("||%d|%ld|%d", user.GetUserNumber(), user.GetAccountNumber(), IsArabicInterface() ? 1 : 0);
    return CDataTable::SendRequest(strBody) != 0;
}

BOOL CListNewsTable::RequestStory(const CDataBuffer* pRow)
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    if (pApp == nullptr || pRow == nullptr)
        return FALSE;
    CString strBody;
    strBody.Format("||%d|%d|%s|%ld||||||%d", pApp->GetUser().GetUserNumber(), 1,
                   static_cast<LPCSTR>(pRow->GetText(NC_STORY)), static_cast<long>(pRow->GetLong(NC_LANGUAGE)), 0);
    CString strLine;
    if (FormatRequestLine(&strLine, MSG_EW, static_cast<LPCSTR>(strBody), 1, FALSE, FALSE, nullptr, FALSE) !=
        REQUEST_OK)
        return FALSE;
    return pApp->SendRequest(strLine) != 0;
}

BOOL CListNewsTable::ReadStory(const CDataBuffer* pRow)
{
    const BOOL bSent = RequestStory(pRow);
    // The reader opens empty at once; the story's reply fills it.
    if (CZORVAT32App* pApp = CZORVAT32App::Get())
        pApp->OpenNewsStory("", "", "");
    return bSent;
}

BOOL CListNewsTable::IsOwnReply(CServerMessage* pMsg) const
{
    // A company's reply names its market and ticker.
    return pMsg->GetField(6).IsEmpty() || pMsg->GetField(7).IsEmpty();
}

void CListNewsTable::OnLW(CServerMessage* pMsg)
{
    if (pMsg == nullptr)
        return;
    if (const long nError = pMsg->GetLong(0); nError != 0) {
        CZORVAT32App* pApp = CZORVAT32App::Get();
        if (pApp != nullptr)
            ShowMarketInfo(pApp->GetErrorText(nError), 0, INFO_PRIORITY_ERROR);
        return;
    }
    if (IsOwnReply(pMsg))
        TableOnReplyBegin(pMsg);
}

CDataBuffer* CListNewsTable::MakeRow(CServerMessage* pMsg)
{
    CDataBuffer* pLine = GetRows()->NewRow();
    FillRow(pMsg, pLine, FALSE);
    pLine->SetText(NC_HEADLINE, ExpandMarketMentions(pMsg->GetField(6)), FALSE);
    return pLine;
}

void CListNewsTable::OnRecord(CServerMessage* pMsg)
{
    if (pMsg == nullptr || !IsReceiving() || (GetSource() != nullptr && !GetSource()->IsRestricted()))
        return;
    std::unique_ptr<CDataBuffer> pLine(MakeRow(pMsg));
    GetRows()->AddRow(pLine.get(), TRUE);
}

void CListNewsTable::ApplyLive(CServerMessage* pMsg)
{
    std::unique_ptr<CDataBuffer> pLine(MakeRow(pMsg));
    const int nIndex = GetRows()->FindIndexOfRow(pLine.get());
    if (nIndex < 0) {
        GetRows()->AddRow(pLine.get(), TRUE);
        return;
    }
    CDataBuffer* pRow = GetRows()->GetAt(nIndex);
    pRow->BeginChanges();
    pMsg->ResetOverrides();
    FillRow(pMsg, pRow, TRUE);
    pRow->SetText(NC_HEADLINE, pLine->GetText(NC_HEADLINE), TRUE);
    pRow->Commit();
}

void CListNewsTable::OnCellClick(CViewRow* pRow, int nCol, int* pnHandled)
{
    if (pRow == nullptr || !pRow->IsDataRow())
        return;
    BOOL bHandled = FALSE;
    switch (nCol) {
    case NC_STORY:
    case NC_TIME:
    case NC_FIELD3:
    case NC_FIELD4:
    case NC_HEADLINE: {
        TBCellSlot* pValues = pRow->LockValues();
        if (pValues == nullptr)
            return;
        const CDataBuffer line(GetRows(), pValues);
        pRow->UnlockValues(pValues);
        bHandled = ReadStory(&line);
        break;
    }
    case NC_LANGUAGE:
    case NC_MARKET:
        bHandled = FilterViewOnCell(this, pRow, nCol);
        break;
    default:
        break;
    }
    if (bHandled && pnHandled != nullptr)
        *pnHandled = 1;
}

HMENU CListNewsTable::CreateContextMenu()
{
    HMENU hMenu = CDataTable::CreateContextMenu();
    if (hMenu == nullptr)
        return nullptr;
    DeleteMenu(hMenu, 0, MF_BYPOSITION);
    // Read story, then refresh, on top.
    for (const UINT nId : {ID_NEWS_READ_STORY, ID_NEWS_REFRESH}) {
        InsertMenuA(hMenu, 0, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
        InsertMenuA(hMenu, 0, MF_BYPOSITION | MF_STRING, nId, LoadMenuItemText(nId));
    }
    return hMenu;
}

BOOL CListNewsTable::OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (nId != ID_NEWS_REFRESH && nId != ID_NEWS_READ_STORY)
        return CDataTable::OnCmdMsg(nId, nCode, pExtra, pHandlerInfo);
    return RouteOwnCommand(nCode, pExtra, pHandlerInfo, TRUE, [&] {
        if (nId == ID_NEWS_REFRESH) {
            if (MessageBoxA(nullptr, LoadMarketText(IDS_REFRESH_QUESTION), nullptr, MB_YESNO | MB_ICONQUESTION) == IDYES)
                SendRequest();
            return;
        }
        CViewRow row;
        int nIndex = -1;
        if (!GetSelectedRow(row, &nIndex) || nIndex < 0)
            return;
        TBCellSlot* pValues = row.LockValues();
        if (pValues == nullptr)
            return;
        const CDataBuffer line(GetRows(), pValues);
        row.UnlockValues(pValues);
        ReadStory(&line);
    });
}
