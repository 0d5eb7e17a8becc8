#include "account/AccountTable.h"

#include <memory>
#include <vector>
#include "app/TableMDIWnd.h"
#include "app/ZorvatApp.h"
#include "framework/base/TBString.h"
#include "framework/table/TableFilters.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/TableLinks.h"
#include "platform/mfc/CmdUI.h"
#include "platform/win/user/Menu.h"
#include "platform/win/user/MessageBox.h"

#define INFO_PRIORITY_NOTICE 1
#define IDS_KSE_CODE_TEXT_DEFAULT 57825

CAccountTable::CAccountTable(const ACCOUNT_DESC& desc, CZorvatMessageSource* pSource)
    : CDataTable(desc.table, pSource), m_account(desc)
{
}

BOOL CAccountTable::SendRequest()
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    if (pApp == nullptr)
        return FALSE;
    const CUser user = pApp->GetUser();
    BOOL bSent = FALSE;
    for (const ACCOUNT_REQUEST& request : m_account.requests) {
        CString strBody;
        strBody.Format(request.pszBody, user.GetUserNumber(), static_cast<LPCSTR>(user.GetAccountText()));
        bSent = pApp->SendRequest(request.nType, strBody) != 0 || bSent;
    }
    return bSent;
}

void CAccountTable::SetColumnsHidden(BOOL bHidden)
{
    if (m_account.nFirstOptionColumn < 0 || m_table.GetColumnCount() <= m_account.nLastOptionColumn)
        return;
    // Hidden, the column chooser cannot bring them back either.
    for (int nCol = m_account.nFirstOptionColumn; nCol <= m_account.nLastOptionColumn; ++nCol) {
        CColumn column = m_table.GetColumn(nCol);
        column.SetUserSwitchable(!bHidden);
        column.SetHidden(bHidden);
    }
}

HMENU CAccountTable::CreateContextMenu()
{
    HMENU hMenu = LoadPopupMenu(IDR_TABLE_MENU);
    if (hMenu == nullptr)
        return nullptr;
    UINT nPos = 0;
    for (const ACCOUNT_MENU_ITEM& item : m_account.menu) {
        if (item.nPopupTitleId != 0) {
            HMENU hPopup = CreatePopupMenu();
            for (UINT nId : item.popup)
                AppendMenuA(hPopup, MF_STRING, nId, LoadMenuItemText(nId));
            InsertMenuA(hMenu, nPos++, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(hPopup),
                        LoadMenuItemText(item.nPopupTitleId));
        } else if (item.nId == 0) {
            InsertMenuA(hMenu, nPos++, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
        } else {
            InsertMenuA(hMenu, nPos++, MF_BYPOSITION | MF_STRING, item.nId, LoadMenuItemText(item.nId));
        }
    }
    m_hPopup = hMenu;
    return hMenu;
}

void CAccountTable::OnInitMenuPopup(HMENU hMenu, UINT /*nIndex*/, BOOL bSysMenu)
{
    if (bSysMenu || hMenu == nullptr)
        return;
    // The popups of the table's own menu hold its filter commands too.
    for (const ACCOUNT_COMMAND& command : m_account.commands)
        if (command.rule == RULE_REMOVED)
            RemoveCommandItem(hMenu, command.nId, REMOVE_ITEM);
}

const ACCOUNT_COMMAND* CAccountTable::FindCommand(UINT nId) const
{
    for (const ACCOUNT_COMMAND& command : m_account.commands)
        if (command.nId == nId)
            return &command;
    return nullptr;
}

BOOL CAccountTable::IsCommandEnabled(const ACCOUNT_COMMAND& command) const
{
    COMMAND_CONTEXT context;
    if (const CZORVAT32App* pApp = CZORVAT32App::Get()) {
        const CUser user = pApp->GetUser();
        context.nRole = user.GetRole();
        context.nUsLevel = user.GetUsAccessLevel();
        context.nKseLevel = user.GetKseAccessLevel();
    }
    return IsRuleMet(command.rule, context);
}

BOOL CAccountTable::OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    const ACCOUNT_COMMAND* pCommand = FindCommand(nId);
    if (pCommand == nullptr)
        return CDataTable::OnCmdMsg(nId, nCode, pExtra, pHandlerInfo);
    return RouteOwnCommand(nCode, pExtra, pHandlerInfo, IsCommandEnabled(*pCommand),
                           [this, pCommand] { RunCommand(*pCommand); });
}

void CAccountTable::RunCommand(const ACCOUNT_COMMAND& command)
{
    switch (command.action) {
    case ACTION_NONE:
        break;
    case ACTION_REFRESH_ASKED: {
        if (MessageBoxA(nullptr, LoadMarketText(IDS_ACCOUNT_ASK_REFRESH), nullptr, MB_YESNO | MB_ICONQUESTION) != IDYES)
            break;
        SendRequest();
        break;
    }
    case ACTION_REFRESH:
        SendRequest();
        break;
    case ACTION_DIALOG:
        if (COMMAND_DIALOG_RUNNER pfnRun = FindCommandDialog(command.nId)) {
            CTableMDIWnd* pWindow = GetActiveWindow();
            pfnRun(pWindow != nullptr ? pWindow->m_hWnd : nullptr);
        }
        break;
    case ACTION_OWN:
        OnAccountCommand(command.nId);
        break;
    case ACTION_CODE_FILTER: {
        std::vector<CString> texts;
        for (int nCode : command.codes)
            texts.push_back(GetCodeText(command.nColumn, nCode));
        FilterMainWindow(command.nColumn, texts, nullptr);
        break;
    }
    case ACTION_CRITERIA_FILTER:
        FilterMainWindow(command.nColumn, {}, command.pszCriteria);
        break;
    case ACTION_CLEAR_FILTER:
        FilterMainWindow(command.nColumn, {}, nullptr);
        break;
    }
}

BOOL CAccountTable::FilterMainWindow(int nCol, std::span<const CString> texts, LPCSTR pszCriteria)
{
    CTableMDIWnd* pWindow = GetMainWindow();
    CViewTable* pView = pWindow != nullptr ? pWindow->GetView() : nullptr;
    if (pView == nullptr)
        return FALSE;
    const BOOL bSums = pView->GetSumMode() != 0;
    CTableFilters* pFilters = new CTableFilters;
    pFilters->Init(pView, bSums ? pView->GetFilters() : nullptr);
    pFilters->ClearRowRange();
    pFilters->RemoveColumnFilters(nCol);
    if (bSums)
        pView->SetSumMode(0);
    // Any of the texts passes: they form the column's any-of group.
    for (const CString& strText : texts)
        pFilters->AddFilter(nCol, strText, /*bFlag=*/FALSE, /*nGroup=*/1, /*bQuote=*/TRUE);
    if (pszCriteria != nullptr)
        pFilters->AddFilter(nCol, pszCriteria, /*bFlag=*/FALSE, /*nGroup=*/0);
    return SetViewFilter(pWindow, pFilters);
}

CString CAccountTable::GetCodeText(int nCol, int nCode) const
{
    const std::span<const TABLE_COLUMN> columns = m_account.table.columns;
    if (nCol < 0 || nCol >= static_cast<int>(columns.size()) || columns[static_cast<size_t>(nCol)].pfnFormat == nullptr)
        return CString();
    std::vector<TBCellSlot> slots(static_cast<size_t>(nCol) + 1);
    slots[static_cast<size_t>(nCol)].nValue = nCode;
    char szText[128] = "";
    columns[static_cast<size_t>(nCol)].pfnFormat(szText, static_cast<int>(sizeof(szText)), slots.data(), nCol);
    return szText;
}

void CAccountTable::OnCellClick(CViewRow* pRow, int nCol, int* pnHandled)
{
    if (pRow == nullptr || !pRow->IsDataRow())
        return;
    BOOL bTaken = FALSE;
    for (int nFilterCol : m_account.quickFilters)
        if (nFilterCol == nCol)
            bTaken = FilterViewOnCell(this, pRow, nCol, /*bWhileFiltered=*/TRUE);
    if (!bTaken)
        bTaken = OnOwnCellClick(pRow, nCol);
    if (bTaken && pnHandled != nullptr)
        *pnHandled = 1;
}

long CAccountTable::GetRowNumber(CViewRow* pRow, int nCol)
{
    return static_cast<long>(GetCellValue(pRow, nCol).GetNumber());
}

CDataBuffer* CAccountTable::FillOrAddRow(CServerMessage* pMsg, int nType, BOOL* pbNew,
                                        const std::function<void(CDataBuffer*, BOOL)>& fillMore)
{
    *pbNew = FALSE;
    std::unique_ptr<CDataBuffer> pLine(GetRows()->NewRow());
    FillRow(pMsg, nType, pLine.get(), FALSE);
    SetKindKeys(pLine.get(), nType);
    const int nIndex = GetRows()->FindIndexOfRow(pLine.get());
    if (nIndex >= 0) {
        // The stored row takes the line's fields in one batch: one re-sort, one repaint.
        CDataBuffer* pRow = GetRows()->GetAt(nIndex);
        pRow->BeginChanges();
        pMsg->ResetOverrides();
        FillRow(pMsg, nType, pRow, TRUE);
        if (fillMore)
            fillMore(pRow, FALSE);
        pRow->Commit();
        return pRow;
    }
    if (fillMore)
        fillMore(pLine.get(), TRUE);
    const int nAdded = GetRows()->AddRow(pLine.get(), TRUE);
    *pbNew = nAdded >= 0;
    return nAdded >= 0 ? GetRows()->GetAt(nAdded) : nullptr;
}

void CAccountTable::SetNumber(CDataBuffer* pRow, int nCol, double dValue)
{
    CString strValue;
    strValue.Format(" %f ", dValue);
    pRow->SetText(nCol, strValue, TRUE);
}

void CAccountTable::PostNotice(UINT nFormatId, std::span<const CString> inserts)
{
    const CString strFormat = LoadMarketText(nFormatId);
    CString strNotice;
    // The inserts are the server's texts: they fill the notice's places, never format it.
    switch (inserts.size()) {
    case 3:
        strNotice.FormatMessage(static_cast<LPCSTR>(strFormat), inserts[0], inserts[1], inserts[2]);
        break;
    case 5:
        strNotice.FormatMessage(static_cast<LPCSTR>(strFormat), inserts[0], inserts[1], inserts[2], inserts[3],
                                inserts[4]);
        break;
    default:
        strNotice = strFormat;
        break;
    }
    ShowMarketInfo(strNotice, 0, INFO_PRIORITY_NOTICE);
}

CString GetKseStockName(long nStock, BOOL bSecond)
{
    CString strName = GetStockSymbolFrom(IDS_TABLE_KSE_STOCK_LIST, nStock, bSecond);
    if (strName.IsEmpty())
        strName.Format("%ld", nStock);
    return strName;
}

UINT GetKseCodeTextId(long nCode)
{
    return nCode >= 1 && nCode <= 3 ? static_cast<UINT>(IDS_KSE_CODE_TEXT_DEFAULT + nCode) : IDS_KSE_CODE_TEXT_DEFAULT;
}
