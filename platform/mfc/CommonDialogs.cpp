// The class library's common dialogs over the layer's choosers.
#include "platform/mfc/CommonDialogs.h"
#include <cstring>
#include "platform/win/kernel/CodePage.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/user/MessageBox.h"

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCSTR pszDefExt, LPCSTR pszFileName, DWORD dwFlags, LPCSTR pszFilter,
                         CWnd* pParentWnd)
    : CCommonDialog(pParentWnd), m_ofn(), m_bOpenFileDialog(bOpenFileDialog)
{
    // "|" ends each name and pattern list as the zeros of the structure's form do.
    if (pszFilter) {
        m_strFilter = pszFilter;
        for (char& ch : m_strFilter)
            if (ch == '|')
                ch = '\0';
        m_strFilter.push_back('\0');
    }
    if (pszDefExt)
        m_strDefExt = pszDefExt;
    if (pszFileName)
        lstrcpynA(m_szFileName, pszFileName, MAX_PATH);
    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.lpstrFilter = pszFilter ? m_strFilter.c_str() : nullptr;
    m_ofn.nFilterIndex = 1;
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = MAX_PATH;
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = sizeof m_szFileTitle;
    m_ofn.lpstrDefExt = pszDefExt ? m_strDefExt.c_str() : nullptr;
    m_ofn.Flags = dwFlags | OFN_EXPLORER;
}

INT_PTR CFileDialog::DoModal()
{
    m_ofn.hwndOwner = OwnerHwnd();
    const BOOL bOk = m_bOpenFileDialog ? GetOpenFileNameA(&m_ofn) : GetSaveFileNameA(&m_ofn);
    return bOk ? IDOK : IDCANCEL;
}

CString CFileDialog::GetFileName() const
{
    const size_t nLength = strnlen(m_ofn.lpstrFile, m_ofn.nMaxFile);
    return CString(m_ofn.nFileOffset < nLength ? m_ofn.lpstrFile + m_ofn.nFileOffset : m_ofn.lpstrFile);
}

CString CFileDialog::GetFileExt() const
{
    const size_t nLength = strnlen(m_ofn.lpstrFile, m_ofn.nMaxFile);
    if (m_ofn.nFileExtension == 0 || m_ofn.nFileExtension >= nLength)
        return CString();
    return CString(m_ofn.lpstrFile + m_ofn.nFileExtension);
}

CFontDialog::CFontDialog(const LOGFONTA* plfInitial, DWORD dwFlags, CDC*, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd), m_cf()
{
    m_cf.lStructSize = sizeof m_cf;
    m_cf.lpLogFont = &m_lf;
    m_cf.Flags = dwFlags;
    if (plfInitial) {
        m_lf = *plfInitial;
        m_cf.Flags |= CF_INITTOLOGFONTSTRUCT;
    }
}

INT_PTR CFontDialog::DoModal()
{
    m_cf.hwndOwner = OwnerHwnd();
    m_cf.lpLogFont = &m_lf;
    return ChooseFontA(&m_cf) ? IDOK : IDCANCEL;
}

COLORREF* CColorDialog::GetSavedCustomColors()
{
    static COLORREF s_custom[16] = {RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255)};
    return s_custom;
}

CColorDialog::CColorDialog(COLORREF clrInit, DWORD dwFlags, CWnd* pParentWnd) : CCommonDialog(pParentWnd), m_cc()
{
    m_cc.lStructSize = sizeof m_cc;
    m_cc.lpCustColors = GetSavedCustomColors();
    m_cc.rgbResult = clrInit;
    // A start colour given is the one the chooser opens on.
    m_cc.Flags = dwFlags | (clrInit != 0 ? CC_RGBINIT : 0);
}

INT_PTR CColorDialog::DoModal()
{
    m_cc.hwndOwner = OwnerHwnd();
    return ChooseColorA(&m_cc) ? IDOK : IDCANCEL;
}

CPrintDialog::CPrintDialog(BOOL bPrintSetupOnly, DWORD dwFlags, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd), m_pd()
{
    m_pd.lStructSize = sizeof m_pd;
    m_pd.Flags = dwFlags | (bPrintSetupOnly ? PD_PRINTSETUP : 0);
}

INT_PTR CPrintDialog::DoModal()
{
    m_pd.hwndOwner = OwnerHwnd();
    return PrintDlgA(&m_pd) ? IDOK : IDCANCEL;
}

CString CPrintDialog::GetDeviceName() const
{
    CString str;
    if (const auto* pNames = static_cast<const DEVNAMES*>(m_pd.hDevNames ? GlobalLock(m_pd.hDevNames) : nullptr)) {
        str = reinterpret_cast<const char*>(pNames) + pNames->wDeviceOffset;
        GlobalUnlock(m_pd.hDevNames);
    }
    return str;
}
