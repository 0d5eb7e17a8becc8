#pragma once
// One page of the page-setup dialog: a modeless child dialog made from a loaded template inside
// its dialog, editing the dialog's copy of the print settings. Its control texts come from the
// language section "<name>.Lang<n>"; the controls in its description are shown and taken by the
// one binding routine, so a page class adds only what is special about it.
#include "framework/print/PrintControls.h"
#include "framework/window/TBDialog.h"

class CTablePrintSettings;

class CTBPropertyPage : public CTBLangDialog
{
public:
    // The settings are the dialog's copy: not owned, and they outlive the page.
    CTBPropertyPage(UINT nIdTemplate, const char* pszName, CTablePrintSettings* pSettings, PrintControlList controls);

    // The page's window inside pParent; FALSE when it could not be made.
    BOOL CreatePage(LPCDLGTEMPLATEA pTemplate, CTBWnd* pParent);
    // Message 885 passed on by the dialog before its tab changes; non-zero keeps the page.
    virtual LRESULT OnQueryTabChange() { return 0; }
    const char* GetName() const { return m_pszName; }

    CTBString GetSettingsSection() override { return CTBString(m_pszName); }
    CTBString GetCaption() override { return CTBString(""); }
    CTBString GetLangSection(int nLanguage) override;
    // Shows the described controls; a page shows what is special after it.
    BOOL OnInitDialog() override;
    // The described controls, then the dialog's own.
    BOOL OnCmdMsg(UINT nId, int nCode) override;

protected:
    // A page lives where its dialog puts it: it keeps no position of its own.
    void OnDestroy() override;
    // Enter and Escape belong to the dialog around the page.
    void OnOK() override {}
    void OnCancel() override {}

    CTablePrintSettings* m_pSettings;   // not owned
    PrintControlList m_controls;

private:
    const char* m_pszName;
};
