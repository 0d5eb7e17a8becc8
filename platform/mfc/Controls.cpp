// The control wrappers: each member sends its control's message.
#include "platform/mfc/Controls.h"

#include <cstring>
#include "platform/win/user/Cursor.h"
#include "platform/win/user/ScrollBars.h"

// Not among the layer's slider messages yet; a slider without it ignores it.
#ifndef TBM_SETTICFREQ
#define TBM_SETTICFREQ (WM_USER + 20)
#endif

namespace {
LPARAM Text(LPCSTR psz)
{
    return reinterpret_cast<LPARAM>(psz);
}

int AsInt(LRESULT l)
{
    return static_cast<int>(l);
}

// An item's text through its length and text messages; empty for an index that is not there.
void ItemText(const CWnd* pWnd, UINT uLenMsg, UINT uTextMsg, int nIndex, CString& strText)
{
    strText.Empty();
    const LRESULT lLength = pWnd->SendMessage(uLenMsg, static_cast<WPARAM>(nIndex));
    if (lLength <= 0)
        return;
    pWnd->SendMessage(uTextMsg, static_cast<WPARAM>(nIndex), Text(strText.GetBuffer(static_cast<int>(lLength))));
    strText.ReleaseBuffer();
}

// Owner drawing reflected from the parent: the request is the control's own.
template <class TCtrl>
BOOL OwnerDrawNotify(TCtrl* pCtrl, UINT uMsg, LPARAM lParam, LRESULT* pResult)
{
    if (uMsg == WM_DRAWITEM)
        pCtrl->DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    else if (uMsg == WM_MEASUREITEM)
        pCtrl->MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
    else
        return FALSE;
    if (pResult != nullptr)
        *pResult = TRUE;
    return TRUE;
}
}  // namespace

// ---- CStatic ----

HICON CStatic::SetIcon(HICON hIcon)
{
    return reinterpret_cast<HICON>(SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(hIcon)));
}

HICON CStatic::GetIcon() const
{
    return reinterpret_cast<HICON>(SendMessage(STM_GETICON));
}

HBITMAP CStatic::SetBitmap(HBITMAP hBitmap)
{
    return reinterpret_cast<HBITMAP>(SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap)));
}

// ---- CButton ----

int CButton::GetCheck() const { return AsInt(SendMessage(BM_GETCHECK)); }
void CButton::SetCheck(int nCheck) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(nCheck)); }
UINT CButton::GetState() const { return static_cast<UINT>(SendMessage(BM_GETSTATE)); }
void CButton::SetState(BOOL bHighlight) { SendMessage(BM_SETSTATE, static_cast<WPARAM>(bHighlight)); }

void CButton::SetButtonStyle(UINT nStyle, BOOL bRedraw)
{
    SendMessage(BM_SETSTYLE, nStyle, bRedraw);
}

// ---- CEdit ----

void CEdit::SetSel(int nStartChar, int nEndChar, BOOL bNoScroll)
{
    SendMessage(EM_SETSEL, static_cast<WPARAM>(nStartChar), nEndChar);
    if (!bNoScroll)
        SendMessage(EM_SCROLLCARET);
}

void CEdit::GetSel(int& nStartChar, int& nEndChar) const
{
    DWORD dwStart = 0, dwEnd = 0;
    SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart), reinterpret_cast<LPARAM>(&dwEnd));
    nStartChar = static_cast<int>(dwStart);
    nEndChar = static_cast<int>(dwEnd);
}

void CEdit::ReplaceSel(LPCSTR pszNewText, BOOL bCanUndo) { SendMessage(EM_REPLACESEL, bCanUndo, Text(pszNewText)); }
void CEdit::SetLimitText(UINT nMax) { SendMessage(EM_SETLIMITTEXT, nMax); }
UINT CEdit::GetLimitText() const { return static_cast<UINT>(SendMessage(EM_GETLIMITTEXT)); }
BOOL CEdit::Undo() { return static_cast<BOOL>(SendMessage(EM_UNDO)); }
BOOL CEdit::CanUndo() const { return static_cast<BOOL>(SendMessage(EM_CANUNDO)); }
void CEdit::EmptyUndoBuffer() { SendMessage(EM_EMPTYUNDOBUFFER); }
BOOL CEdit::SetReadOnly(BOOL bReadOnly) { return static_cast<BOOL>(SendMessage(EM_SETREADONLY, bReadOnly)); }
void CEdit::SetPasswordChar(char ch) { SendMessage(EM_SETPASSWORDCHAR, static_cast<unsigned char>(ch)); }

int CEdit::GetLine(int nIndex, LPSTR pszBuffer, int nMaxLength) const
{
    if (pszBuffer == nullptr || nMaxLength <= 0)
        return 0;
    // The message takes the buffer's size in its first word, which needs two bytes.
    char szSmall[2] = {};
    LPSTR pszTarget = nMaxLength < 2 ? szSmall : pszBuffer;
    const WORD cchMax = static_cast<WORD>(nMaxLength > 0xFFFF ? 0xFFFF : nMaxLength);
    std::memcpy(pszTarget, &cchMax, sizeof cchMax);
    const int nCopied = AsInt(SendMessage(EM_GETLINE, static_cast<WPARAM>(nIndex), Text(pszTarget)));
    if (pszTarget == szSmall && nCopied > 0)
        pszBuffer[0] = szSmall[0];
    return nCopied;
}

int CEdit::LineLength(int) const
{
    // The layer's edit holds one line: its text.
    return GetWindowTextLength();
}

int CEdit::CharFromPos(CPoint pt) const
{
    return AsInt(SendMessage(EM_CHARFROMPOS, 0, MAKELPARAM(pt.x, pt.y)));
}

CPoint CEdit::PosFromChar(UINT nChar) const
{
    return CPoint(static_cast<LPARAM>(SendMessage(EM_POSFROMCHAR, nChar)));
}

// ---- CComboBox ----

int CComboBox::AddString(LPCSTR pszString) { return AsInt(SendMessage(CB_ADDSTRING, 0, Text(pszString))); }

int CComboBox::InsertString(int nIndex, LPCSTR pszString)
{
    return AsInt(SendMessage(CB_INSERTSTRING, static_cast<WPARAM>(nIndex), Text(pszString)));
}

int CComboBox::DeleteString(UINT nIndex) { return AsInt(SendMessage(CB_DELETESTRING, nIndex)); }
void CComboBox::ResetContent() { SendMessage(CB_RESETCONTENT); }
int CComboBox::GetCount() const { return AsInt(SendMessage(CB_GETCOUNT)); }

int CComboBox::GetLBText(int nIndex, LPSTR pszText) const
{
    return AsInt(SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(nIndex), Text(pszText)));
}

void CComboBox::GetLBText(int nIndex, CString& strText) const
{
    ItemText(this, CB_GETLBTEXTLEN, CB_GETLBTEXT, nIndex, strText);
}

int CComboBox::GetLBTextLen(int nIndex) const { return AsInt(SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(nIndex))); }

int CComboBox::SetItemData(int nIndex, DWORD_PTR dwItemData)
{
    return AsInt(SendMessage(CB_SETITEMDATA, static_cast<WPARAM>(nIndex), static_cast<LPARAM>(dwItemData)));
}

DWORD_PTR CComboBox::GetItemData(int nIndex) const
{
    return static_cast<DWORD_PTR>(SendMessage(CB_GETITEMDATA, static_cast<WPARAM>(nIndex)));
}

int CComboBox::SetItemDataPtr(int nIndex, void* pData) { return SetItemData(nIndex, reinterpret_cast<DWORD_PTR>(pData)); }
void* CComboBox::GetItemDataPtr(int nIndex) const { return reinterpret_cast<void*>(GetItemData(nIndex)); }
int CComboBox::GetCurSel() const { return AsInt(SendMessage(CB_GETCURSEL)); }
int CComboBox::SetCurSel(int nSelect) { return AsInt(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(nSelect))); }

int CComboBox::FindString(int nStartAfter, LPCSTR pszString) const
{
    return AsInt(SendMessage(CB_FINDSTRING, static_cast<WPARAM>(nStartAfter), Text(pszString)));
}

int CComboBox::FindStringExact(int nIndexStart, LPCSTR pszFind) const
{
    return AsInt(SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(nIndexStart), Text(pszFind)));
}

int CComboBox::SelectString(int nStartAfter, LPCSTR pszString)
{
    return AsInt(SendMessage(CB_SELECTSTRING, static_cast<WPARAM>(nStartAfter), Text(pszString)));
}

void CComboBox::ShowDropDown(BOOL bShowIt) { SendMessage(CB_SHOWDROPDOWN, bShowIt); }
BOOL CComboBox::GetDroppedState() const { return static_cast<BOOL>(SendMessage(CB_GETDROPPEDSTATE)); }

BOOL CComboBox::SetEditSel(int nStartChar, int nEndChar)
{
    return static_cast<BOOL>(SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(nStartChar, nEndChar)));
}

DWORD CComboBox::GetEditSel() const { return static_cast<DWORD>(SendMessage(CB_GETEDITSEL)); }
BOOL CComboBox::LimitText(int nMaxChars) { return static_cast<BOOL>(SendMessage(CB_LIMITTEXT, static_cast<WPARAM>(nMaxChars))); }
int CComboBox::SetDroppedWidth(UINT nWidth) { return AsInt(SendMessage(CB_SETDROPPEDWIDTH, nWidth)); }
void CComboBox::DrawItem(LPDRAWITEMSTRUCT) {}
void CComboBox::MeasureItem(LPMEASUREITEMSTRUCT) {}

BOOL CComboBox::OnChildNotify(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (OwnerDrawNotify(this, uMsg, lParam, pResult))
        return TRUE;
    return CWnd::OnChildNotify(uMsg, wParam, lParam, pResult);
}

// ---- CListBox ----

int CListBox::AddString(LPCSTR pszItem) { return AsInt(SendMessage(LB_ADDSTRING, 0, Text(pszItem))); }

int CListBox::InsertString(int nIndex, LPCSTR pszItem)
{
    return AsInt(SendMessage(LB_INSERTSTRING, static_cast<WPARAM>(nIndex), Text(pszItem)));
}

int CListBox::DeleteString(UINT nIndex) { return AsInt(SendMessage(LB_DELETESTRING, nIndex)); }
void CListBox::ResetContent() { SendMessage(LB_RESETCONTENT); }
int CListBox::GetCount() const { return AsInt(SendMessage(LB_GETCOUNT)); }

int CListBox::GetText(int nIndex, LPSTR pszBuffer) const
{
    return AsInt(SendMessage(LB_GETTEXT, static_cast<WPARAM>(nIndex), Text(pszBuffer)));
}

void CListBox::GetText(int nIndex, CString& strText) const
{
    ItemText(this, LB_GETTEXTLEN, LB_GETTEXT, nIndex, strText);
}

int CListBox::GetTextLen(int nIndex) const { return AsInt(SendMessage(LB_GETTEXTLEN, static_cast<WPARAM>(nIndex))); }

int CListBox::SetItemData(int nIndex, DWORD_PTR dwItemData)
{
    return AsInt(SendMessage(LB_SETITEMDATA, static_cast<WPARAM>(nIndex), static_cast<LPARAM>(dwItemData)));
}

DWORD_PTR CListBox::GetItemData(int nIndex) const
{
    return static_cast<DWORD_PTR>(SendMessage(LB_GETITEMDATA, static_cast<WPARAM>(nIndex)));
}

int CListBox::SetItemDataPtr(int nIndex, void* pData) { return SetItemData(nIndex, reinterpret_cast<DWORD_PTR>(pData)); }
void* CListBox::GetItemDataPtr(int nIndex) const { return reinterpret_cast<void*>(GetItemData(nIndex)); }
int CListBox::GetCurSel() const { return AsInt(SendMessage(LB_GETCURSEL)); }
int CListBox::SetCurSel(int nSelect) { return AsInt(SendMessage(LB_SETCURSEL, static_cast<WPARAM>(nSelect))); }

int CListBox::FindString(int nStartAfter, LPCSTR pszItem) const
{
    return AsInt(SendMessage(LB_FINDSTRING, static_cast<WPARAM>(nStartAfter), Text(pszItem)));
}

int CListBox::FindStringExact(int nIndexStart, LPCSTR pszFind) const
{
    return AsInt(SendMessage(LB_FINDSTRINGEXACT, static_cast<WPARAM>(nIndexStart), Text(pszFind)));
}

int CListBox::SelectString(int nStartAfter, LPCSTR pszItem)
{
    return AsInt(SendMessage(LB_SELECTSTRING, static_cast<WPARAM>(nStartAfter), Text(pszItem)));
}

int CListBox::GetSelCount() const { return AsInt(SendMessage(LB_GETSELCOUNT)); }

int CListBox::GetSelItems(int nMaxItems, LPINT rgIndex) const
{
    return AsInt(SendMessage(LB_GETSELITEMS, static_cast<WPARAM>(nMaxItems), reinterpret_cast<LPARAM>(rgIndex)));
}

int CListBox::SetSel(int nIndex, BOOL bSelect) { return AsInt(SendMessage(LB_SETSEL, bSelect, nIndex)); }
int CListBox::GetSel(int nIndex) const { return AsInt(SendMessage(LB_GETSEL, static_cast<WPARAM>(nIndex))); }

int CListBox::SelItemRange(BOOL bSelect, int nFirstItem, int nLastItem)
{
    return AsInt(SendMessage(LB_SELITEMRANGE, bSelect, MAKELPARAM(nFirstItem, nLastItem)));
}

int CListBox::SetCaretIndex(int nIndex, BOOL bScroll)
{
    return AsInt(SendMessage(LB_SETCARETINDEX, static_cast<WPARAM>(nIndex), MAKELPARAM(bScroll, 0)));
}

int CListBox::GetCaretIndex() const { return AsInt(SendMessage(LB_GETCARETINDEX)); }

UINT CListBox::ItemFromPoint(CPoint pt, BOOL& bOutside) const
{
    const LRESULT lResult = SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(pt.x, pt.y));
    bOutside = HIWORD(lResult) != 0;
    return LOWORD(lResult);
}

int CListBox::GetItemRect(int nIndex, LPRECT pRect) const
{
    return AsInt(SendMessage(LB_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(pRect)));
}

int CListBox::GetTopIndex() const { return AsInt(SendMessage(LB_GETTOPINDEX)); }
int CListBox::SetTopIndex(int nIndex) { return AsInt(SendMessage(LB_SETTOPINDEX, static_cast<WPARAM>(nIndex))); }

int CListBox::SetItemHeight(int nIndex, UINT cyItemHeight)
{
    return AsInt(SendMessage(LB_SETITEMHEIGHT, static_cast<WPARAM>(nIndex), MAKELPARAM(cyItemHeight, 0)));
}

int CListBox::GetItemHeight(int nIndex) const { return AsInt(SendMessage(LB_GETITEMHEIGHT, static_cast<WPARAM>(nIndex))); }
void CListBox::DrawItem(LPDRAWITEMSTRUCT) {}
void CListBox::MeasureItem(LPMEASUREITEMSTRUCT) {}

BOOL CListBox::OnChildNotify(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (OwnerDrawNotify(this, uMsg, lParam, pResult))
        return TRUE;
    return CWnd::OnChildNotify(uMsg, wParam, lParam, pResult);
}

// ---- CScrollBar ----

int CScrollBar::GetScrollPos() const { return AsInt(SendMessage(SBM_GETPOS)); }
int CScrollBar::SetScrollPos(int nPos, BOOL bRedraw) { return AsInt(SendMessage(SBM_SETPOS, static_cast<WPARAM>(nPos), bRedraw)); }

void CScrollBar::GetScrollRange(LPINT pnMinPos, LPINT pnMaxPos) const
{
    SendMessage(SBM_GETRANGE, reinterpret_cast<WPARAM>(pnMinPos), reinterpret_cast<LPARAM>(pnMaxPos));
}

void CScrollBar::SetScrollRange(int nMinPos, int nMaxPos, BOOL bRedraw)
{
    SendMessage(bRedraw ? SBM_SETRANGEREDRAW : SBM_SETRANGE, static_cast<WPARAM>(nMinPos), nMaxPos);
}

BOOL CScrollBar::SetScrollInfo(LPSCROLLINFO pInfo, BOOL bRedraw)
{
    if (pInfo == nullptr)
        return FALSE;
    pInfo->cbSize = sizeof(SCROLLINFO);
    ::SetScrollInfo(m_hWnd, SB_CTL, pInfo, bRedraw);
    return TRUE;
}

BOOL CScrollBar::GetScrollInfo(LPSCROLLINFO pInfo, UINT nMask) const
{
    if (pInfo == nullptr)
        return FALSE;
    pInfo->cbSize = sizeof(SCROLLINFO);
    pInfo->fMask = nMask;
    return ::GetScrollInfo(m_hWnd, SB_CTL, pInfo);
}

void CScrollBar::ShowScrollBar(BOOL bShow) { ::ShowScrollBar(m_hWnd, SB_CTL, bShow); }
BOOL CScrollBar::EnableScrollBar(UINT nArrowFlags) { return ::EnableScrollBar(m_hWnd, SB_CTL, nArrowFlags); }

// ---- CSliderCtrl ----

void CSliderCtrl::SetRange(int nMin, int nMax, BOOL bRedraw) { SendMessage(TBM_SETRANGE, bRedraw, MAKELPARAM(nMin, nMax)); }
void CSliderCtrl::SetRangeMin(int nMin, BOOL bRedraw) { SendMessage(TBM_SETRANGEMIN, bRedraw, nMin); }
void CSliderCtrl::SetRangeMax(int nMax, BOOL bRedraw) { SendMessage(TBM_SETRANGEMAX, bRedraw, nMax); }

void CSliderCtrl::GetRange(int& nMin, int& nMax) const
{
    nMin = GetRangeMin();
    nMax = GetRangeMax();
}

int CSliderCtrl::GetRangeMin() const { return AsInt(SendMessage(TBM_GETRANGEMIN)); }
int CSliderCtrl::GetRangeMax() const { return AsInt(SendMessage(TBM_GETRANGEMAX)); }
void CSliderCtrl::SetPos(int nPos) { SendMessage(TBM_SETPOS, TRUE, nPos); }
int CSliderCtrl::GetPos() const { return AsInt(SendMessage(TBM_GETPOS)); }
void CSliderCtrl::SetTicFreq(int nFreq) { SendMessage(TBM_SETTICFREQ, static_cast<WPARAM>(nFreq)); }
int CSliderCtrl::SetPageSize(int nSize) { return AsInt(SendMessage(TBM_SETPAGESIZE, 0, nSize)); }
int CSliderCtrl::GetPageSize() const { return AsInt(SendMessage(TBM_GETPAGESIZE)); }
int CSliderCtrl::SetLineSize(int nSize) { return AsInt(SendMessage(TBM_SETLINESIZE, 0, nSize)); }
int CSliderCtrl::GetLineSize() const { return AsInt(SendMessage(TBM_GETLINESIZE)); }

BOOL CDateTimeCtrl::SetTime(const COleDateTime& timeNew)
{
    SYSTEMTIME st = {};
    if (timeNew.GetStatus() == COleDateTime::valid && timeNew.GetAsSystemTime(st))
        return SetTime(&st);
    return SetTime(static_cast<const SYSTEMTIME*>(nullptr));
}

BOOL CDateTimeCtrl::SetTime(const SYSTEMTIME* pTimeNew)
{
    return static_cast<BOOL>(SendMessage(DTM_SETSYSTEMTIME, pTimeNew != nullptr ? GDT_VALID : GDT_NONE,
                                         reinterpret_cast<LPARAM>(pTimeNew)));
}

BOOL CDateTimeCtrl::GetTime(COleDateTime& timeDest) const
{
    SYSTEMTIME st = {};
    switch (GetTime(&st)) {
    case GDT_VALID:
        timeDest = COleDateTime(st);
        return TRUE;
    case GDT_NONE:
        timeDest.SetStatus(COleDateTime::null);
        return TRUE;
    }
    timeDest.SetStatus(COleDateTime::invalid);
    return FALSE;
}

DWORD CDateTimeCtrl::GetTime(LPSYSTEMTIME pTimeDest) const
{
    if (m_hWnd == nullptr)
        return static_cast<DWORD>(GDT_ERROR);
    return static_cast<DWORD>(::SendMessageA(m_hWnd, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(pTimeDest)));
}

BOOL CDateTimeCtrl::SetFormat(LPCSTR pszFormat)
{
    return static_cast<BOOL>(SendMessage(DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>(pszFormat)));
}
