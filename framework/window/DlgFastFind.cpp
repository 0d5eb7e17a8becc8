// The grid's fast-find dialog and the column lists the grid dialogs share.
#include "framework/window/DlgFastFind.h"

#include <cstdio>
#include <cstring>

#include "framework/base/ColumnDataType.h"
#include "framework/base/ColumnValues.h"
#include "framework/base/NumberStyle.h"
#include "framework/base/TBApp.h"
#include "framework/base/Wildcard.h"
#include "framework/table/TableColumn.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "framework/window/TableWindow.h"
#include "platform/win/user/Controls.h"

namespace {
const int NUMBER_TEXT = 256;    // a normalised number's buffer

BOOL IsListed(const CTableColumn* pColumn)
{
    return pColumn && (!pColumn->m_bHidden || pColumn->m_bUserSwitchable);
}

// The typed text as a plain number that keeps its decimal point and only the fraction digits
// that were typed: the normaliser pads the fraction to the column's digits, and a prefix must
// not carry digits nobody typed ("1234.5" would become "1234.50" and miss 1,234.56).
BOOL NormalizeTypedNumber(char* pszOut, int nOutSize, const char* pszTyped, int nDecimals)
{
    if (nDecimals >= 0)
        return NormalizeNumberText(pszOut, nOutSize, pszTyped, nDecimals, /*bKeepPoint=*/FALSE);
    if (!NormalizeNumberText(pszOut, nOutSize, pszTyped, nDecimals, /*bKeepPoint=*/TRUE))
        return FALSE;
    char* pszPoint = strchr(pszOut, '.');
    if (pszPoint == nullptr)
        return TRUE;
    const char* pszTypedPoint = strchr(pszTyped, GetGlobalDecimalSeparator());
    if (pszTypedPoint == nullptr) {
        *pszPoint = '\0';
        return TRUE;
    }
    int nTyped = 0;
    for (const char* p = pszTypedPoint + 1; *p != '\0'; ++p)
        if (*p >= '0' && *p <= '9')
            ++nTyped;
    const int nKeep = nTyped < -nDecimals ? nTyped : -nDecimals;
    // The normaliser wrote exactly -nDecimals digits after the point.
    pszPoint[1 + nKeep] = '\0';
    return TRUE;
}
}  // namespace

int FillColumnList(HWND hCombo, CViewTable* pView, int nCol)
{
    if (hCombo == nullptr)
        return -1;
    SendMessageA(hCombo, CB_RESETCONTENT, 0, 0);
    if (pView == nullptr)
        return -1;
    int nItemOfColumn = -1;
    for (int i = 0; i < pView->GetColumnCount(); ++i) {
        const CTableColumn* pColumn = pView->GetColumns().GetColumn(i);
        if (!IsListed(pColumn))
            continue;
        const CTBString strTitle = pColumn->GetTitle().ReplaceChar('\n', ' ');
        const LRESULT nItem = SendMessageA(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<const char*>(strTitle)));
        if (nItem < 0)
            continue;
        SendMessageA(hCombo, CB_SETITEMDATA, static_cast<WPARAM>(nItem), i);
        if (i == nCol)
            nItemOfColumn = static_cast<int>(nItem);
    }
    return nItemOfColumn;
}

int SelectColumnInList(HWND hCombo, CViewTable* pView, int nCol)
{
    if (hCombo == nullptr || pView == nullptr)
        return -1;
    if (nCol < 0 || nCol >= pView->GetColumnCount()) {
        nCol = 0;
        for (int i = 0; i < pView->GetColumnCount(); ++i)
            if (IsListed(pView->GetColumns().GetColumn(i))) {
                nCol = i;
                break;
            }
    }
    const int nCount = static_cast<int>(SendMessageA(hCombo, CB_GETCOUNT, 0, 0));
    for (int nItem = 0; nItem < nCount; ++nItem)
        if (SendMessageA(hCombo, CB_GETITEMDATA, static_cast<WPARAM>(nItem), 0) == nCol) {
            SendMessageA(hCombo, CB_SETCURSEL, static_cast<WPARAM>(nItem), 0);
            return nItem;
        }
    return -1;
}

int GetSelectedColumn(HWND hCombo, CViewTable* pView)
{
    if (hCombo == nullptr || pView == nullptr)
        return -1;
    const LRESULT nItem = SendMessageA(hCombo, CB_GETCURSEL, 0, 0);
    if (nItem < 0)
        return -1;
    const LRESULT nCol = SendMessageA(hCombo, CB_GETITEMDATA, static_cast<WPARAM>(nItem), 0);
    return nCol >= 0 && nCol < pView->GetColumnCount() ? static_cast<int>(nCol) : -1;
}

CTBString GridDialogCaption(UINT nIdString, CViewTable* pView)
{
    CTBString strCaption;
    CTBApp* pApp = GetTBApp();
    strCaption.LoadStringOrEmpty(pApp ? pApp->GetModule() : nullptr, nIdString);
    if (pView != nullptr)
        strCaption += CTBString(" - ") + pView->GetTitle();
    return strCaption;
}

CDlgFastFind::CDlgFastFind() : CTBLangDialog(IDD_FASTFIND, nullptr) {}

CDlgFastFind::~CDlgFastFind() = default;

BOOL CDlgFastFind::Create(CTableWindow* pWindow, int nCol)
{
    m_pTarget = pWindow;
    m_nCol = nCol;
    return CTBDialog::Create(IDD_FASTFIND, pWindow);
}

CViewTable* CDlgFastFind::TargetView() const
{
    return m_pTarget ? m_pTarget->GetView() : nullptr;
}

void CDlgFastFind::SetTarget(CTableWindow* pWindow, int nCol)
{
    m_pTarget = pWindow;
    m_nCol = -1;
    if (m_hWnd == nullptr) {
        m_nCol = nCol;
        return;
    }
    FillColumns(/*bSelect=*/FALSE);
    // A column outside the view (none given) stands for the first listed one, as on opening.
    SelectColumnInList(GetDlgItem(m_hWnd, IDC_GRID_COLUMNS), TargetView(), nCol);
    TakeSelection();
    SetWindowTextA(m_hWnd, GetCaption());
}

void CDlgFastFind::SetColumn(int nCol)
{
    if (nCol == m_nCol)
        return;
    if (m_hWnd == nullptr) {
        m_nCol = nCol;
        return;
    }
    SelectColumnInList(GetDlgItem(m_hWnd, IDC_GRID_COLUMNS), TargetView(), nCol);
    TakeSelection();
}

void CDlgFastFind::FillColumns(BOOL bSelect)
{
    HWND hCombo = GetDlgItem(m_hWnd, IDC_GRID_COLUMNS);
    UpdateFindButton();
    const int nItem = FillColumnList(hCombo, TargetView(), m_nCol);
    if (bSelect && TargetView() != nullptr)
        SendMessageA(hCombo, CB_SETCURSEL, static_cast<WPARAM>(nItem >= 0 ? nItem : 0), 0);
}

void CDlgFastFind::TakeSelection()
{
    const int nCol = GetSelectedColumn(GetDlgItem(m_hWnd, IDC_GRID_COLUMNS), TargetView());
    if (nCol >= 0)
        m_nCol = nCol;
    UpdateFindButton();
}

void CDlgFastFind::UpdateFindButton()
{
    const BOOL bSelected = SendDlgItemMessageA(m_hWnd, IDC_GRID_COLUMNS, CB_GETCURSEL, 0, 0) >= 0;
    EnableItem(IDC_GRID_FIND_NEXT, TargetView() != nullptr && bSelected);
}

BOOL CDlgFastFind::MatchesNumber(const char* pszTyped, const char* pszCell, int nDecimals) const
{
    char szCell[NUMBER_TEXT];
    if (!NormalizeNumberText(szCell, sizeof(szCell), pszCell, nDecimals, /*bKeepPoint=*/nDecimals < 0))
        return FALSE;
    return strncmp(pszTyped, szCell, strlen(pszTyped)) == 0;
}

BOOL CDlgFastFind::Find(int nFirst)
{
    CTBString strText;
    GetItemText(IDC_FASTFIND_TEXT, strText);
    CViewTable* pView = TargetView();
    if (strText.IsBlank() || pView == nullptr || m_nCol < 0 || m_nCol >= pView->GetColumnCount()) {
        EnableItem(IDC_GRID_FIND_NEXT, FALSE);
        return TRUE;
    }
    EnableItem(IDC_GRID_FIND_NEXT, TRUE);
    const CTBString strPattern = strText + "*";
    const CTableColumn* pColumn = pView->GetColumns().GetColumn(m_nCol);
    const int nDecimals = pColumn->GetDecimals(FALSE);
    char szTyped[NUMBER_TEXT];
    const BOOL bNumber = !ColumnTypeIsTextual(pColumn->GetDataType())
                         && NormalizeTypedNumber(szTyped, sizeof(szTyped), strText, nDecimals);
    CViewRow row(pView);
    CTBString strCell;
    const int nCount = pView->GetRowCount();
    for (int i = nFirst < 0 ? 0 : nFirst; i < nCount; ++i) {
        if (!pView->GetRow(row, i))
            break;
        // Group headers, sums and separators are not rows of the table.
        const int nKind = row.GetPosition().m_nKind;
        if (nKind != LINE_ROW && nKind != LINE_GROUP_END)
            continue;
        row.GetText(strCell, m_nCol);
        if (MatchWildcard(strPattern, strCell, /*bCaseSensitive=*/FALSE)
            || (bNumber && MatchesNumber(szTyped, strCell, nDecimals))) {
            m_pTarget->SelectRow(i, pView->GetColumnOrder().FindPosition(m_nCol), /*bOpenEditor=*/FALSE);
            return TRUE;
        }
    }
    return FALSE;
}

void CDlgFastFind::FindNext()
{
    CViewTable* pView = TargetView();
    if (pView == nullptr) {
        Find(0);
        return;
    }
    const int nStart = m_pTarget->GetCurrentRow() + 1;
    if (nStart > 0 && nStart < pView->GetRowCount() && Find(nStart))
        return;
    Find(0);
}

CTBString CDlgFastFind::GetSettingsSection()
{
    CViewTable* pView = TargetView();
    return pView ? pView->GetName() + ".DlgFastFind" : CTBString("DlgFastFind");
}

CTBString CDlgFastFind::GetCaption()
{
    return GridDialogCaption(IDS_FASTFIND_CAPTION, TargetView());
}

CTBString CDlgFastFind::GetLangSection(int nLanguage)
{
    CTBString str;
    str.Format("DlgFastFind.Lang%d", nLanguage);
    return str;
}

BOOL CDlgFastFind::OnInitDialog()
{
    FillColumns(/*bSelect=*/TRUE);
    // Opened without a column, the first listed one is in force at once: a search the user
    // types should not wait for a pick in the list.
    TakeSelection();
    SetFocus(GetDlgItem(m_hWnd, IDC_FASTFIND_TEXT));
    return FALSE;
}

BOOL CDlgFastFind::OnCmdMsg(UINT nId, int nCode)
{
    switch (nId) {
    case IDOK:
    case IDC_GRID_FIND_NEXT:
        if (nCode == BN_CLICKED)
            FindNext();
        return TRUE;
    case IDCANCEL:
        DestroyWindow();
        return TRUE;
    case IDC_GRID_COLUMNS:
        if (nCode == CBN_SELCHANGE)
            TakeSelection();
        return TRUE;
    case IDC_FASTFIND_TEXT:
        if (nCode == EN_CHANGE)
            Find(0);
        return TRUE;
    }
    return CTBLangDialog::OnCmdMsg(nId, nCode);
}
