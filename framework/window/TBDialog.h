#pragma once
// The framework's own dialogs on its window base: a template from the application's resource
// module, run modally in the window base's loop or created modeless. Enter, Escape, Tab and
// Alt+letter reach the dialog manager through PreTranslateMessage, so the application's pump
// must offer messages to the framework's windows (CTBApp does).
//
// CTBLangDialog adds what a bilingual program needs: caption and control texts from a language
// section of the program settings (GetTBApp()->m_pSettings), applied again when the framework
// globals switch the language, and the dialog's screen position kept between runs under the key
// "DialogPos". The English and the mirrored Arabic layouts are two templates of the same id in
// the two language modules; the application chooses the module.
#include <string>

#include "framework/base/GlobalsEvents.h"
#include "framework/base/TBString.h"
#include "framework/base/TBWnd.h"
#include "platform/win/user/Dialogs.h"

class CTBDialog : public CTBWnd
{
public:
    CTBDialog();
    CTBDialog(UINT nIdTemplate, CTBWnd* pOwner);
    ~CTBDialog() override;      // destroys the window if it still exists

    // Modeless creation; FALSE when the template is missing or the dialog ended itself while
    // it started. A null module means the application's.
    BOOL Create(LPCSTR pszTemplate, CTBWnd* pOwner);
    BOOL Create(UINT nIdTemplate, CTBWnd* pOwner) { return Create(MAKEINTRESOURCEA(nIdTemplate), pOwner); }
    BOOL CreateIndirectEx(LPCDLGTEMPLATEA pTemplate, CTBWnd* pOwner, HINSTANCE hModule);
    BOOL CreateIndirect(LPCDLGTEMPLATEA pTemplate, CTBWnd* pOwner) { return CreateIndirectEx(pTemplate, pOwner, nullptr); }

    // The end code, or -1 when the dialog could not be created. The owner is disabled for the
    // run and enabled again only when it was enabled before.
    virtual int DoModal();
    void EndDialog(int nCode);
    int  GetEndCode() const { return m_nEndCode; }
    BOOL IsRunning() const { return m_bRunning; }

    // Helpers for the dialogs built on it.
    void EnableItem(int nId, BOOL bEnable);
    int  GetItemText(int nId, CTBString& strText) const;   // the length

    BOOL OnCmdMsg(UINT nId, int nCode) override;            // IDOK and IDCANCEL
    BOOL PreTranslateMessage(MSG* pMsg) override;           // keyboard and mouse to the dialog manager
    virtual BOOL OnInitDialog();                            // TRUE: the system focuses the first tab stop
    virtual BOOL HandleInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

protected:
    CTBWnd* m_pOwner = nullptr;     // not owned; may be null

private:
    friend INT_PTR CALLBACK TBDialogProc(HWND, UINT, WPARAM, LPARAM);
    template <class F>
    BOOL CreateThrough(F&& fnCreate);

    LPCSTR m_pszTemplate = nullptr;     // an id, or m_strTemplate's text
    std::string m_strTemplate;
    int  m_nEndCode = -1;
    BOOL m_bRunning = FALSE;
};

// What a caller may run on the new dialog window before its own initialisation.
typedef BOOL (*TBDLGINITPROC)(HWND hDlg);

class CTBLangDialog : public CTBDialog, public CGlobalsEventSink
{
public:
    CTBLangDialog(UINT nIdTemplate, CTBWnd* pOwner) : CTBDialog(nIdTemplate, pOwner) {}
    // A dialog still open here loses its window without its position being written: the
    // section names come from the class that is already gone.
    ~CTBLangDialog() override;

    void SetInitCallback(TBDLGINITPROC pfnInit) { m_pfnInit = pfnInit; }

    // The section of "DialogPos"; the caption; the section of the control texts of a language.
    virtual CTBString GetSettingsSection() = 0;
    virtual CTBString GetCaption() = 0;
    virtual CTBString GetLangSection(int nLanguage) = 0;

    // Texts, saved position and the globals' events; TRUE only when a callback was set and it
    // and the dialog's own initialisation both answered TRUE.
    BOOL HandleInitDialog() override;
    void OnLanguageChanged(int nLanguage) override;

protected:
    void OnDestroy() override;

private:
    void StopListening();

    TBDLGINITPROC m_pfnInit = nullptr;
    BOOL m_bListening = FALSE;
    BOOL m_bDestructing = FALSE;
};

// The procedure given to the system: only WM_INITDIALOG, since every other message reaches the
// object through the window base.
INT_PTR CALLBACK TBDialogProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
