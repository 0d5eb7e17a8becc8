// The grid's fast-find dialog and the column lists the grid dialogs share.
#include "framework/window/DlgFastFind.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "framework/base/ColumnDataType.h"
#include "framework/base/ColumnValues.h"
#include "framework/base/NumberStyle.h"
#include "framework/base/TBApp.h"
#include "framework/base/Wildcard.h"
#include "framework/table/AVLTree.h"
#include "framework/table/TableColumn.h"
#include "framework/table/TreeNode.h"
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
// The search itself: the view's own walk over its data rows from a display line on, in display
// order (group headers and sums are no nodes of it), one reused text buffer; it stops at the first
// row whose cell matches.
class CFastFindWalk : public ITreeVisitor
{
public:
    CFastFindWalk(CViewTable* pView, int nCol, int nFirst, const char* pszPattern, const char* pszNumber)
        : m_pView(pView), m_pColumn(pView->GetColumns().GetColumn(nCol)), m_nCol(nCol), m_nFirst(nFirst),
          m_pszPattern(pszPattern), m_pszNumber(pszNumber),
          m_text(static_cast<size_t>(m_pColumn->m_nSize > 0 ? m_pColumn->m_nSize : 1), '\0')
    {
    }
    BOOL VisitNode(CTreeNode* pNode, int nIndex) override
    {
        if (pNode == nullptr || pNode->GetKind() != NODE_ROW || nIndex < m_nFirst)
            return TRUE;
        auto* pRow = static_cast<CTableRow*>(pNode);
        // Rows the marked-rows mode hides are not on screen.
        if (pRow->IsHidden() && m_pView->GetSumMode() != 0)
            return TRUE;
        pRow->GetCellText(m_text.data(), static_cast<int>(m_text.size()), m_nCol, m_pColumn, m_pView);
        if (MatchWildcard(m_pszPattern, m_text.data(), /*bCaseSensitive=*/FALSE) || MatchesNumber()) {
            m_nFound = nIndex;
            return FALSE;
        }
        return TRUE;
    }
    int GetFirstRow() const override { return m_nFirst; }
    int GetLastRow() const override { return -1; }
    int GetFound() const { return m_nFound; }

private:
    BOOL MatchesNumber() const
    {
        // A shown number's plain text begins with the character its text begins with (a sign or
        // its first digit): most cells are refused before they are normalised.
        if (m_pszNumber == nullptr || m_text[0] != m_pszNumber[0])
            return FALSE;
        const int nDecimals = m_pColumn->GetDecimals(FALSE);
        char szCell[NUMBER_TEXT];
        if (!NormalizeNumberText(szCell, sizeof(szCell), m_text.data(), nDecimals, /*bKeepPoint=*/nDecimals < 0))
            return FALSE;
        return strncmp(m_pszNumber, szCell, strlen(m_pszNumber)) == 0;
    }

    CViewTable* m_pView;
    const CTableColumn* m_pColumn;
    int m_nCol;
    int m_nFirst;
    const char* m_pszPattern;
    const char* m_pszNumber;            // the typed number, null for a text column
    std::vector<char> m_text;
    int m_nFound = -1;
};
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

CTBString GridDialogSection(const char* pszDialog, CViewTable* pView)
{
    if (pView == nullptr || pView->GetName().GetLength() == 0)
        return CTBString(pszDialog);
    return pView->GetName() + "." + pszDialog;
}

CTBString GridDialogLangSection(const char* pszDialog, int nLanguage)
{
    CTBString str;
    str.Format("%s.Lang%d", pszDialog, nLanguage);
    return str;
}

CDlgFastFind::CDlgFastFind() : CTBLangDialog(IDD_FASTFIND, nullptr) {}

CDlgFastFind::~CDlgFastFind()
{
    // Destroyed here, while the section names are still this class's, its position is kept.
    if (m_hWnd != nullptr)
        DestroyWindow();
}

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
    CFastFindWalk walk(pView, m_nCol, nFirst < 0 ? 0 : nFirst, strPattern, bNumber ? szTyped : nullptr);
    pView->GetRowTree().ApplyFilter(&walk);
    if (walk.GetFound() < 0)
        return FALSE;
    m_pTarget->SelectRow(walk.GetFound(), pView->GetColumnOrder().FindPosition(m_nCol), /*bOpenEditor=*/FALSE);
    return TRUE;
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
    return GridDialogSection("DlgFastFind", TargetView());
}

CTBString CDlgFastFind::GetCaption()
{
    return GridDialogCaption(IDS_FASTFIND_CAPTION, TargetView());
}

CTBString CDlgFastFind::GetLangSection(int nLanguage)
{
    return GridDialogLangSection("DlgFastFind", nLanguage);
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
        if (nCode == CBN_SELCHANGE) {
            // The text already typed is looked for in the column just chosen.
            const int nOld = m_nCol;
            TakeSelection();
            if (m_nCol != nOld)
                Find(0);
        }
        return TRUE;
    case IDC_FASTFIND_TEXT:
        if (nCode == EN_CHANGE)
            Find(0);
        return TRUE;
    }
    return CTBLangDialog::OnCmdMsg(nId, nCode);
}
