#pragma once
// The class library's controls: thin wrappers that send the control's messages to the window
// they are attached to (by Create, SubclassDlgItem or DDX_Control). Each answers what its
// message answers: -1 (CB_ERR, LB_ERR) for an index that is not there. A list or combo box
// drawn by its owner draws, measures and compares its items in DrawItem, MeasureItem and
// CompareItem, reached through reflection from its parent. CScrollBar is in Wnd.h.
#include "platform/mfc/OleDateTime.h"
#include "platform/mfc/String.h"
#include "platform/mfc/Wnd.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/DateTimePick.h"

class CStatic : public CWnd
{
public:
    HICON SetIcon(HICON hIcon);                 // the previous icon
    HICON GetIcon() const;
    HBITMAP SetBitmap(HBITMAP hBitmap);         // the previous bitmap
};

class CButton : public CWnd
{
public:
    int GetCheck() const;
    void SetCheck(int nCheck);
    UINT GetState() const;
    void SetState(BOOL bHighlight);
    void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE);
};

class CEdit : public CWnd
{
public:
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
    void GetSel(int& nStartChar, int& nEndChar) const;
    void ReplaceSel(LPCSTR pszNewText, BOOL bCanUndo = FALSE);
    void LimitText(int nChars = 0) { SetLimitText(static_cast<UINT>(nChars)); }
    void SetLimitText(UINT nMax);
    UINT GetLimitText() const;
    BOOL Undo();
    BOOL CanUndo() const;
    void EmptyUndoBuffer();
    void Cut() { SendMessage(WM_CUT); }
    void Copy() { SendMessage(WM_COPY); }
    void Paste() { SendMessage(WM_PASTE); }
    void Clear() { SendMessage(WM_CLEAR); }
    BOOL SetReadOnly(BOOL bReadOnly = TRUE);
    // Line nIndex into the buffer, not terminated; the characters copied.
    int GetLine(int nIndex, LPSTR pszBuffer, int nMaxLength) const;
    int LineLength(int nLine = -1) const;
    int CharFromPos(CPoint pt) const;           // LOWORD the character, HIWORD the line
    CPoint PosFromChar(UINT nChar) const;
    void SetPasswordChar(char ch);
};

class CComboBox : public CWnd
{
public:
    int AddString(LPCSTR pszString);
    int InsertString(int nIndex, LPCSTR pszString);
    int DeleteString(UINT nIndex);
    void ResetContent();
    int GetCount() const;
    int GetLBText(int nIndex, LPSTR pszText) const;      // the buffer must hold GetLBTextLen + 1
    void GetLBText(int nIndex, CString& strText) const;  // empty for an index that is not there
    int GetLBTextLen(int nIndex) const;
    int SetItemData(int nIndex, DWORD_PTR dwItemData);
    DWORD_PTR GetItemData(int nIndex) const;
    int SetItemDataPtr(int nIndex, void* pData);
    void* GetItemDataPtr(int nIndex) const;
    int GetCurSel() const;
    int SetCurSel(int nSelect);
    int FindString(int nStartAfter, LPCSTR pszString) const;
    int FindStringExact(int nIndexStart, LPCSTR pszFind) const;
    int SelectString(int nStartAfter, LPCSTR pszString);
    void ShowDropDown(BOOL bShowIt = TRUE);
    BOOL GetDroppedState() const;
    BOOL SetEditSel(int nStartChar, int nEndChar);
    DWORD GetEditSel() const;                   // LOWORD the start, HIWORD the end
    BOOL LimitText(int nMaxChars);
    int SetDroppedWidth(UINT nWidth);

    virtual void DrawItem(LPDRAWITEMSTRUCT pDrawItemStruct);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT pMeasureItemStruct);
    BOOL OnChildNotify(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CListBox : public CWnd
{
public:
    int AddString(LPCSTR pszItem);
    int InsertString(int nIndex, LPCSTR pszItem);
    int DeleteString(UINT nIndex);
    void ResetContent();
    int GetCount() const;
    int GetText(int nIndex, LPSTR pszBuffer) const;      // the buffer must hold GetTextLen + 1
    void GetText(int nIndex, CString& strText) const;    // empty for an index that is not there
    int GetTextLen(int nIndex) const;
    int SetItemData(int nIndex, DWORD_PTR dwItemData);
    DWORD_PTR GetItemData(int nIndex) const;
    int SetItemDataPtr(int nIndex, void* pData);
    void* GetItemDataPtr(int nIndex) const;
    int GetCurSel() const;
    int SetCurSel(int nSelect);
    int FindString(int nStartAfter, LPCSTR pszItem) const;
    int FindStringExact(int nIndexStart, LPCSTR pszFind) const;
    int SelectString(int nStartAfter, LPCSTR pszItem);
    // Lists with several selections.
    int GetSelCount() const;
    int GetSelItems(int nMaxItems, LPINT rgIndex) const;
    int SetSel(int nIndex, BOOL bSelect = TRUE);         // -1: every item
    int GetSel(int nIndex) const;
    int SelItemRange(BOOL bSelect, int nFirstItem, int nLastItem);
    int SetCaretIndex(int nIndex, BOOL bScroll = TRUE);
    int GetCaretIndex() const;
    // Geometry.
    UINT ItemFromPoint(CPoint pt, BOOL& bOutside) const;
    int GetItemRect(int nIndex, LPRECT pRect) const;
    int GetTopIndex() const;
    int SetTopIndex(int nIndex);
    int SetItemHeight(int nIndex, UINT cyItemHeight);
    int GetItemHeight(int nIndex) const;

    virtual void DrawItem(LPDRAWITEMSTRUCT pDrawItemStruct);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT pMeasureItemStruct);
    BOOL OnChildNotify(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

// The slider (msctls_trackbar32).
class CSliderCtrl : public CWnd
{
public:
    void SetRange(int nMin, int nMax, BOOL bRedraw = FALSE);
    void SetRangeMin(int nMin, BOOL bRedraw = FALSE);
    void SetRangeMax(int nMax, BOOL bRedraw = FALSE);
    void GetRange(int& nMin, int& nMax) const;
    int GetRangeMin() const;
    int GetRangeMax() const;
    void SetPos(int nPos);
    int GetPos() const;
    void SetTicFreq(int nFreq);
    int SetPageSize(int nSize);                 // the previous size
    int GetPageSize() const;
    int SetLineSize(int nSize);                 // the previous size
    int GetLineSize() const;
};

// The date picker (SysDateTimePick32). A COleDateTime that is not valid stands for no date: set,
// it unchecks the picker's box (refused without DTS_SHOWNONE); read, no date gives the null status.
class CDateTimeCtrl : public CWnd
{
public:
    BOOL SetTime(const COleDateTime& timeNew);
    BOOL SetTime(const SYSTEMTIME* pTimeNew);   // null: no date
    BOOL GetTime(COleDateTime& timeDest) const; // FALSE when the picker did not answer
    DWORD GetTime(LPSYSTEMTIME pTimeDest) const;    // GDT_VALID, GDT_NONE or GDT_ERROR
    BOOL SetFormat(LPCSTR pszFormat);
};
