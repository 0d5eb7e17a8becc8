#pragma once
// The class library's common dialogs: a file, font or colour chooser with its structure as a
// public member (m_ofn, m_cf, m_cc) that a caller may adjust before DoModal. DoModal answers
// IDOK or IDCANCEL (also when the chooser fails: CommDlgExtendedError tells why). The owner is
// the parent window given, none otherwise.
#include <string>
#include "platform/mfc/Dialog.h"
#include "platform/mfc/String.h"
#include "platform/win/user/CommonDialogs.h"

class CDC;

class CCommonDialog : public CDialog
{
public:
    // The system's dialog has no template of ours.
    explicit CCommonDialog(CWnd* pParentWnd) : CDialog(static_cast<LPCSTR>(nullptr), pParentWnd), m_pParentWnd(pParentWnd) {}
    INT_PTR DoModal() override = 0;

protected:
    HWND OwnerHwnd() const { return m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : nullptr; }

private:
    CWnd* m_pParentWnd;     // not owned
};

// The filter in the library's form: "Text (*.txt)|*.txt|All (*.*)|*.*||".
class CFileDialog : public CCommonDialog
{
public:
    CFileDialog(BOOL bOpenFileDialog, LPCSTR pszDefExt = nullptr, LPCSTR pszFileName = nullptr,
                DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCSTR pszFilter = nullptr,
                CWnd* pParentWnd = nullptr);
    INT_PTR DoModal() override;
    CString GetPathName() const { return CString(m_ofn.lpstrFile); }
    CString GetFileName() const;    // with its extension, without its folder
    CString GetFileExt() const;     // without the dot; empty when it has none

    OPENFILENAMEA m_ofn;

private:
    BOOL m_bOpenFileDialog;
    std::string m_strFilter;        // the pairs with their zeros
    std::string m_strDefExt;
    char m_szFileName[MAX_PATH] = {};
    char m_szFileTitle[64] = {};
};

class CFontDialog : public CCommonDialog
{
public:
    // With a font to start from the chooser opens on it (CF_INITTOLOGFONTSTRUCT).
    explicit CFontDialog(const LOGFONTA* plfInitial = nullptr, DWORD dwFlags = CF_EFFECTS | CF_SCREENFONTS,
                         CDC* pdcPrinter = nullptr, CWnd* pParentWnd = nullptr);
    INT_PTR DoModal() override;
    void GetCurrentFont(LPLOGFONTA plf) const { *plf = m_lf; }
    COLORREF GetColor() const { return m_cf.rgbColors; }

    CHOOSEFONTA m_cf;
    LOGFONTA m_lf = {};
};

// Custom colours: every dialog starts on the library's one set of 16 (white at first), which
// lasts while the program runs; a caller that keeps its own points m_cc.lpCustColors at them.
class CColorDialog : public CCommonDialog
{
public:
    explicit CColorDialog(COLORREF clrInit = 0, DWORD dwFlags = 0, CWnd* pParentWnd = nullptr);
    INT_PTR DoModal() override;
    COLORREF GetColor() const { return m_cc.rgbResult; }
    static COLORREF* GetSavedCustomColors();

    CHOOSECOLORA m_cc;
};

// The printer chooser; only its setup form (bPrintSetupOnly) is here. A caller hands the printer to
// start on in m_pd.hDevNames and m_pd.hDevMode; after OK they hold the choice, which the caller
// then owns (the application's defaults take them over).
class CPrintDialog : public CCommonDialog
{
public:
    explicit CPrintDialog(BOOL bPrintSetupOnly, DWORD dwFlags = 0, CWnd* pParentWnd = nullptr);
    INT_PTR DoModal() override;
    CString GetDeviceName() const;

    PRINTDLGA m_pd;
};
