#pragma once
// The forms' combo box: typing completes the text from the first list item that begins with it;
// leaving the box selects the item equal to the text and tells the parent (CBN_SELCHANGE, then
// ECBN_LEFT in every case), optionally adding a new text to the list; a read-only mode with
// fixed colours. The notifications reach it reflected by the class library's dialogs.
#include "platform/mfc/CmdTarget.h"
#include "platform/mfc/Controls.h"
#include "platform/mfc/DC.h"

// WM_COMMAND notification posted to the parent whenever the box loses the focus.
#define ECBN_LEFT 0x200

// The edit part: the combo's own edit child, subclassed for its colours.
class CEnhancedComboEdit : public CEdit
{
public:
    CEnhancedComboEdit();
    ~CEnhancedComboEdit() override;
    CEnhancedComboEdit(const CEnhancedComboEdit&) = delete;
    CEnhancedComboEdit& operator=(const CEnhancedComboEdit&) = delete;

    // The colours and brush of the current mode into the device context.
    HBRUSH ApplyColors(CDC* pDC) const;
    void SetReadOnlyFlag(BOOL bReadOnly) { m_bReadOnly = bReadOnly; }
    BOOL IsReadOnly() const { return m_bReadOnly; }

protected:
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

private:
    COLORREF m_crText;
    COLORREF m_crBack;
    HBRUSH m_hbrNormal;                 // the stock white brush
    COLORREF m_crTextReadOnly = RGB(0, 0, 0);
    COLORREF m_crBackReadOnly = RGB(255, 255, 255);
    HBRUSH m_hbrReadOnly;               // owned
    BOOL m_bReadOnly = FALSE;
};

class CEnhancedComboBox : public CComboBox
{
public:
    CEnhancedComboBox() = default;

    void SetAddOnLeaving(BOOL bAdd) { m_bAddOnLeaving = bAdd; }
    void SetCaseSensitive(BOOL bCaseSensitive) { m_bCaseSensitive = bCaseSensitive; }
    void SetAutoComplete(BOOL bAutoComplete) { m_bAutoComplete = bAutoComplete; }
    // A drop-down list then takes no focus, keys or clicks; an edit part becomes read-only.
    void SetReadOnly(BOOL bReadOnly);
    BOOL IsReadOnly() const { return m_edit.IsReadOnly(); }

    // 0 for an empty or refused text; 1 when it is in the list (now or already): sorted into a
    // CBS_SORT box, else put at the top.
    int AddText(LPCSTR pszText);
    // AddText of the edit text, which becomes the last text.
    int AddCurrentText();
    // Whether a text may be added; every text by default.
    virtual BOOL AcceptText(LPCSTR pszText);

    LRESULT WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

protected:
    void PreSubclassWindow() override;
    afx_msg void OnEditUpdate();
    afx_msg void OnKillFocus();
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

private:
    BOOL SwallowsWhileReadOnly(UINT uMsg) const;

    BOOL m_bAddOnLeaving = FALSE;
    BOOL m_bCaseSensitive = FALSE;
    BOOL m_bAutoComplete = TRUE;
    CString m_strLast;
    CEnhancedComboEdit m_edit;
};
