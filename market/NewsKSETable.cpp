#include "market/NewsKSETable.h"

#include <cstdlib>
#include <cstring>

#include "app/NorvApp.h"
#include "app/TableFactory.h"
#include "app/TableMDIWnd.h"
#include "app/ZorvatApp.h"
#include "framework/table/SortColumns.h"
#include "framework/table/ViewRow.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/NewsDetailKSETable.h"
#include "market/TableLinks.h"
#include "platform/win/user/Menu.h"
#include "platform/win/user/MessageBox.h"
#include "refdata/ServerDateFields.h"

#define IDS_REFRESH_QUESTION 40342
#define ID_NEWS_KSE_REFRESH 33175
#define ANNOUNCEMENT_TIME_DIGITS 14
#define LANGUAGE_BOTH "2"       // an announcement in both languages

namespace {
enum { KC_TIME, KC_ID, KC_LANGUAGE, KC_STOCK, KC_MARKET, KC_HEADLINE, KC_HEADLINE_AR };

const TABLE_COLUMN s_columns[] = {
    {.nTitleId = 56917, .nType = COLTYPE_DATETIME_TEXT, .nWidth = DATETIME_WIDTH, .nAlign = ALIGN_RIGHT, .nFlags = COLF_SERVER_DATE,
     .nField = 0},
    {.nTitleId = 56918, .nType = COLTYPE_INT32, .nWidth = 55, .nAlign = ALIGN_RIGHT, .nFlags = COLF_HIDDEN, .nField = 2},
    {.nTitleId = 56919, .nType = COLTYPE_INT32, .nWidth = 55, .nAlign = ALIGN_RIGHT, .nFlags = COLF_HIDDEN, .nField = 1},
    {.nTitleId = 56920, .nType = COLTYPE_INT32, .nWidth = 55, .nAlign = ALIGN_RIGHT, .nFlags = COLF_HIDDEN, .nField = 3},
    {.nTitleId = 56921, .nType = COLTYPE_INT32, .nWidth = 55, .nAlign = ALIGN_RIGHT, .nFlags = COLF_HIDDEN, .nField = 4},
    {.nTitleId = 56922, .nWidth = 180, .nSize = 80, .nField = 5},
    {.nTitleId = 56923, .nWidth = 180, .nSize = 80, .nField = 6},
};
const TABLE_SORT_KEY s_sort[] = {{KC_TIME, SORT_ASCENDING}};
const int s_keys[] = {KC_TIME};
const int s_live[] = {MSG_NI};
}  // namespace

const TABLE_DESC g_newsKSETable = {.nNameId = IDS_TABLE_NEWS_KSE, .nTitleId = IDS_TITLE_NEWS_KSE, .nFixedColumns = 2,
                                   .columns = s_columns, .sort = s_sort, .keys = s_keys, .nRequestType = MSG_NY,
                                   .nReplyType = MSG_NY, .liveTypes = s_live};

BOOL CNewsKSETable::SendRequest()
{
    RemoveAllRows();
    return CDataTable::SendRequest("") != 0;
}

COleDateTime CNewsKSETable::ParseAnnouncementTime(LPCSTR pszText)
{
    COleDateTime time;
    time.SetStatus(COleDateTime::invalid);
    if (pszText == nullptr || strlen(pszText) != ANNOUNCEMENT_TIME_DIGITS ||
        strspn(pszText, "0123456789") != ANNOUNCEMENT_TIME_DIGITS)
        return time;
    // Year, month, day, hour, minute and second: 4 digits, then 2 each.
    static const struct { int nFrom, nDigits; } s_parts[] = {{0, 4}, {4, 2}, {6, 2}, {8, 2}, {10, 2}, {12, 2}};
    int nParts[6] = {};
    for (int i = 0; i < 6; ++i) {
        char szPart[5] = {};
        memcpy(szPart, pszText + s_parts[i].nFrom, static_cast<size_t>(s_parts[i].nDigits));
        nParts[i] = atoi(szPart);
    }
    time.SetDateTime(nParts[0], nParts[1], nParts[2], nParts[3], nParts[4], nParts[5]);
    return time;
}

BOOL CNewsKSETable::RequestNewsDetail(const COleDateTime& time, long nLanguage)
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    if (pApp == nullptr || time.GetStatus() != COleDateTime::valid)
        return FALSE;
    CString strBody;
    strBody.Format("%s|%ld", static_cast<LPCSTR>(ConvertDisplayDateField(time.Format("%Y%m%d%H%M%S"), COLTYPE_DATETIME_TEXT)),
                   nLanguage);
    CString strLine;
    if (FormatRequestLine(&strLine, MSG_ND, static_cast<LPCSTR>(strBody), 1, FALSE, FALSE, nullptr, FALSE) != REQUEST_OK)
        return FALSE;
    return pApp->SendRequest(strLine) != 0;
}

void CNewsKSETable::ApplyLive(CServerMessage* pMsg)
{
    const int nBefore = GetRows()->GetCount();
    CDataTable::ApplyLive(pMsg);
    // Only a new announcement is told, and only in a language the user reads.
    if (GetRows()->GetCount() == nBefore)
        return;
    CZORVAT32App* pApp = CZORVAT32App::Get();
    const CString strLanguage = pMsg->GetField(1);
    if (pApp == nullptr || (strLanguage != pApp->GetLanguageCode() && strLanguage != LANGUAGE_BOTH))
        return;
    const BOOL bArabic = strcmp(pApp->GetLanguageCode(), "1") == 0;
    ShowMarketInfo(pMsg->GetField(bArabic ? 6 : 5), 0, INFO_PRIORITY_NOTICE);
}

void CNewsKSETable::OnCellClick(CViewRow* pRow, int nCol, int* pnHandled)
{
    if (pRow == nullptr || !pRow->IsDataRow() || (nCol != KC_HEADLINE && nCol != KC_HEADLINE_AR))
        return;
    TBCellSlot* pValues = pRow->LockValues();
    if (pValues == nullptr)
        return;
    const CDataBuffer line(GetRows(), pValues);
    const CString strTime = line.GetText(KC_TIME);
    pRow->UnlockValues(pValues);

    CNewsDetailKSETable* pDetail = dynamic_cast<CNewsDetailKSETable*>(FindDataTable(IDS_TABLE_NEWS_DETAIL_KSE));
    if (pDetail == nullptr) {
        pDetail = dynamic_cast<CNewsDetailKSETable*>(MakeTable(IDS_TABLE_NEWS_DETAIL_KSE, 0, IDS_TITLE_NEWS_DETAIL_KSE));
        if (pDetail == nullptr)
            return;
        if (CTableMDIWnd* pMain = pDetail->GetMainWindow())
            pMain->LoadSettings();
    }
    CNorvApp::ShowTable(pDetail);
    // A cell that holds no whole time (an empty one reads as blanks) asks for nothing.
    RequestNewsDetail(ParseAnnouncementTime(strTime), nCol == KC_HEADLINE_AR ? 1 : 0);
    if (pnHandled != nullptr)
        *pnHandled = 1;
}

HMENU CNewsKSETable::CreateRefreshMenu()
{
    HMENU hMenu = LoadPopupMenu(IDR_TABLE_MENU);
    if (hMenu == nullptr)
        return nullptr;
    DeleteMenu(hMenu, 0, MF_BYPOSITION);
    InsertTopItems(hMenu, {ID_NEWS_KSE_REFRESH});
    return hMenu;
}

BOOL CNewsKSETable::ConfirmRefresh()
{
    return MessageBoxA(nullptr, LoadMarketText(IDS_REFRESH_QUESTION), nullptr, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

HMENU CNewsKSETable::CreateContextMenu()
{
    return CreateRefreshMenu();
}

BOOL CNewsKSETable::OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (nId != ID_NEWS_KSE_REFRESH)
        return CDataTable::OnCmdMsg(nId, nCode, pExtra, pHandlerInfo);
    return RouteOwnCommand(nCode, pExtra, pHandlerInfo, TRUE, [this] {
        if (ConfirmRefresh())
            SendRequest();
    });
}
