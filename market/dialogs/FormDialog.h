#pragma once
// The body of the market forms: a dialog template (a child template, no caption) made the view
// of a form window. The form window creates it through CWnd::Create with the template id as the
// child id; the view deletes itself with its window. Enter and Escape do not end a form: only
// its close command does, by closing the form window.
#include "platform/mfc/Dialog.h"

class CFormDialog : public CDialog
{
public:
    BOOL Create(LPCSTR pszClassName, LPCSTR pszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID, CCreateContext* pContext = nullptr) override;

protected:
    explicit CFormDialog(UINT nIDTemplate) : CDialog(nIDTemplate, nullptr) {}

    // WM_CLOSE to the form window.
    void CloseForm();

    void OnOK() override {}
    void OnCancel() override {}
    void PostNcDestroy() override { delete this; }
};
