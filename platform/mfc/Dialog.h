#pragma once
// The class library's dialog: a CWnd over a window made from a dialog template of the resource
// module, run modally in the layer's dialog loop or created modeless. Its messages go through
// the message maps like any window's; WM_INITDIALOG reaches OnInitDialog, which fills the
// controls (UpdateData(FALSE)), and IDOK and IDCANCEL reach OnOK and OnCancel.
//
// A modal dialog lives on its caller's stack for one DoModal. A modeless one made with new is
// not deleted by the library: a class that wants that deletes itself in PostNcDestroy.
#include "platform/mfc/Wnd.h"
#include "platform/win/user/Dialogs.h"

class CDialog : public CWnd
{
public:
    CDialog();
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    explicit CDialog(LPCSTR pszTemplateName, CWnd* pParentWnd = nullptr);

    // Modeless creation from the resource module's template (a null name: the constructor's).
    // FALSE when the template is missing or the window was destroyed while starting.
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    virtual BOOL Create(LPCSTR pszTemplateName = nullptr, CWnd* pParentWnd = nullptr);
    virtual BOOL CreateIndirect(LPCDLGTEMPLATEA pTemplate, CWnd* pParentWnd = nullptr);
    // The modal run: IDOK, IDCANCEL or the value given to EndDialog; -1 when the dialog could not
    // be made. The parent's top-level window (without one, the active window) is disabled meanwhile.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);

    virtual BOOL OnInitDialog();        // TRUE: the first tab stop takes the focus
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Focus and the default button.
    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    void GotoDlgCtrl(CWnd* pWndCtrl);   // selects an edit's whole text
    void SetDefID(UINT nID);
    DWORD GetDefID() const;             // MAKELONG(id, DC_HASDEFID), 0 without a default button
    void MapDialogRect(LPRECT pRect) const;

protected:
    // OK saves and checks the controls (UpdateData(TRUE)) and ends the dialog only when that
    // succeeds; Cancel ends it at once.
    virtual void OnOK();
    virtual void OnCancel();

    DECLARE_MESSAGE_MAP()

private:
    LPCSTR TemplateName() const;

    UINT m_nIDTemplate = 0;             // the template by number, or 0
    CString m_strTemplateName;          // the template by name when m_nIDTemplate is 0
    CWnd* m_pParentWnd = nullptr;       // not owned
};
