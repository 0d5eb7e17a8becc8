// The filter dialog's two criteria lists: what each line shows and how it is drawn.
#include <cstdint>

#include "framework/base/NorvGlobals.h"
#include "framework/table/TableColumn.h"
#include "framework/table/ViewTable.h"
#include "framework/window/DlgFilter.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/Paint.h"
#include "platform/win/user/SysMetrics.h"

namespace {
const int CHECK_SIZE = 8;           // the check bitmap
const int TEXT_INDENT = 12;         // room for the check before the text
const int MIN_ITEM_HEIGHT = 12;
}  // namespace

// Column by column in the column list's order, the criteria of the side's group. An item
// remembers its column and its place in that column apart, so that any number of criteria
// per column stays unambiguous.
void CDlgFilter::FillCriteria(int nSide, int nSelCol, int nSelPos)
{
    const FILTER_SIDE& side = s_sides[nSide];
    HWND hList = GetDlgItem(m_hWnd, side.nList);
    std::vector<FILTER_ITEM>& items = m_items[nSide];
    items.clear();
    if (hList == nullptr)
        return;
    SendMessageA(hList, LB_RESETCONTENT, 0, 0);
    CViewTable* pView = TargetView();
    if (pView == nullptr || !m_filters.IsBound())
        return;
    int nSelect = -1;
    for (int nCol = 0; nCol < pView->GetColumnCount(); ++nCol) {
        const CTableColumn* pColumn = pView->GetColumns().GetColumn(nCol);
        CColumnFilter* pFilters = m_filters.GetColumnFilter(nCol);
        if (pColumn == nullptr || pFilters == nullptr || (pColumn->m_bHidden && !pColumn->m_bUserSwitchable))
            continue;
        const CTBString strTitle = pColumn->GetTitle().ReplaceChar('\n', ' ');
        for (int nPos = 0; nPos < pFilters->GetSize(); ++nPos) {
            if ((*pFilters)[nPos]->GetGroup() != side.nGroup)
                continue;
            CTBString strCriterion;
            pFilters->FormatFilterText(strCriterion, nPos);
            CTBString strItem;
            strItem.Format("%s\t%s", static_cast<const char*>(strTitle), static_cast<const char*>(strCriterion));
            const LRESULT nItem =
                SendMessageA(hList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<const char*>(strItem)));
            if (nItem < 0)
                continue;
            items.push_back({nCol, nPos});
            if (nCol == nSelCol && nPos == nSelPos)
                nSelect = static_cast<int>(nItem);
        }
    }
    if (nSelect >= 0)
        SendMessageA(hList, LB_SETCURSEL, static_cast<WPARAM>(nSelect), 0);
}

void CDlgFilter::FillBothCriteria()
{
    FillCriteria(0);
    FillCriteria(1);
}

int CDlgFilter::SelectedItem(int nSide, FILTER_ITEM* pItem) const
{
    if (m_hWnd == nullptr)
        return -1;
    const LRESULT nItem = SendDlgItemMessageA(m_hWnd, s_sides[nSide].nList, LB_GETCURSEL, 0, 0);
    if (nItem < 0 || static_cast<size_t>(nItem) >= m_items[nSide].size())
        return -1;
    if (pItem != nullptr)
        *pItem = m_items[nSide][static_cast<size_t>(nItem)];
    return static_cast<int>(nItem);
}

void CDlgFilter::OnMeasureItem(int nIdCtl, tagMEASUREITEMSTRUCT* pMeasure)
{
    if (pMeasure == nullptr || (nIdCtl != IDC_FILTER_ANY_LIST && nIdCtl != IDC_FILTER_ALL_LIST)) {
        CTBLangDialog::OnMeasureItem(nIdCtl, pMeasure);
        return;
    }
    // The list may not have its font yet: it takes the dialog's.
    HFONT hFont = reinterpret_cast<HFONT>(SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
    HDC hdc = GetDC(m_hWnd);
    HGDIOBJ hOld = hFont ? SelectObject(hdc, hFont) : nullptr;
    TEXTMETRICA tm = {};
    GetTextMetricsA(hdc, &tm);
    if (hOld != nullptr)
        SelectObject(hdc, hOld);
    ReleaseDC(m_hWnd, hdc);
    pMeasure->itemHeight = static_cast<UINT>(tm.tmHeight > MIN_ITEM_HEIGHT ? tm.tmHeight : MIN_ITEM_HEIGHT);
}

void CDlgFilter::OnDrawItem(int nIdCtl, tagDRAWITEMSTRUCT* pDraw)
{
    const int nSide = nIdCtl == IDC_FILTER_ANY_LIST ? 0 : (nIdCtl == IDC_FILTER_ALL_LIST ? 1 : -1);
    if (pDraw == nullptr || nSide < 0) {
        CTBLangDialog::OnDrawItem(nIdCtl, pDraw);
        return;
    }
    HDC hdc = pDraw->hDC;
    const RECT& rcItem = pDraw->rcItem;
    const BOOL bSelected = (pDraw->itemState & ODS_SELECTED) != 0;
    const BOOL bDisabled = (pDraw->itemState & ODS_DISABLED) != 0;
    const int nBack = bSelected ? COLOR_HIGHLIGHT : COLOR_WINDOW;
    FillRect(hdc, &rcItem, GetSysColorBrush(nBack));
    const std::vector<FILTER_ITEM>& items = m_items[nSide];
    if (pDraw->itemID < items.size()) {
        const FILTER_ITEM& item = items[pDraw->itemID];
        SetBkMode(hdc, TRANSPARENT);
        SetTextColor(hdc, GetSysColor(bSelected ? COLOR_HIGHLIGHTTEXT : (bDisabled ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT)));
        char szText[512] = "";
        const LRESULT nLength = SendMessageA(pDraw->hwndItem, LB_GETTEXTLEN, pDraw->itemID, 0);
        if (nLength >= 0 && nLength < static_cast<LRESULT>(sizeof(szText)))
            SendMessageA(pDraw->hwndItem, LB_GETTEXT, pDraw->itemID, reinterpret_cast<LPARAM>(szText));
        char* pszCriterion = strchr(szText, '\t');
        if (pszCriterion != nullptr)
            *pszCriterion++ = '\0';
        const UINT uFormat = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | DT_NOPREFIX | DT_END_ELLIPSIS
                             | GetNorvGlobals().GetRtlReadingFlag();
        const int xStart = rcItem.left + TEXT_INDENT;
        const int xEnd = rcItem.right - 2;
        const int xDivide = xStart + (xEnd - xStart) * 3 / 7;
        // The title only on the first criterion of its column.
        const BOOL bFirstOfColumn = pDraw->itemID == 0 || items[pDraw->itemID - 1].nCol != item.nCol;
        if (bFirstOfColumn) {
            RECT rcTitle = {xStart, rcItem.top, xDivide - 3, rcItem.bottom};
            DrawTextA(hdc, szText, -1, &rcTitle, uFormat);
        }
        if (pszCriterion != nullptr) {
            RECT rcCriterion = {xDivide + 3, rcItem.top, xEnd, rcItem.bottom};
            DrawTextA(hdc, pszCriterion, -1, &rcCriterion, uFormat);
        }
        const ITFilter* pFilter = FilterOf(item);
        if (pFilter != nullptr && pFilter->GetFlag() && m_hCheck != nullptr) {
            HDC hdcCheck = CreateCompatibleDC(hdc);
            HGDIOBJ hOld = SelectObject(hdcCheck, m_hCheck);
            const int y = rcItem.top + (rcItem.bottom - rcItem.top - CHECK_SIZE) / 2;
            BitBlt(hdc, rcItem.left + 2, y, CHECK_SIZE, CHECK_SIZE, hdcCheck, 0, 0, SRCAND);
            BitBlt(hdc, rcItem.left + 2, y, CHECK_SIZE, CHECK_SIZE, hdcCheck, 0, 0, SRCPAINT);
            SelectObject(hdcCheck, hOld);
            DeleteDC(hdcCheck);
        }
    }
    if (pDraw->itemState & ODS_FOCUS)
        DrawFocusRect(hdc, &rcItem);
}
