// The news reader form.
#include "market/NewsReaderDlg.h"

#include <cstring>
#include <vector>

#include "app/ZorvatApp.h"
#include "link/ServerMessage.h"
#include "market/TableLinks.h"
#include "platform/mfc/Base64.h"
#include "platform/win/user/WebBrowser.h"

namespace {
// The story reply's fields.
enum { EW_RESULT = 0, EW_REFERENCE = 4, EW_HEADLINE = 8, EW_STORY = 9, EW_LINK = 13 };

// The story decoded from Base64, or the text as it came when it is not Base64.
CString DecodeStory(LPCSTR pszText)
{
    const int nLength = static_cast<int>(strlen(pszText));
    int nDecoded = Base64DecodeGetRequiredLength(nLength);
    std::vector<BYTE> bytes(static_cast<size_t>(nDecoded) + 1);
    if (nLength == 0 || !Base64Decode(pszText, nLength, bytes.data(), &nDecoded))
        return pszText;
    return CString(reinterpret_cast<LPCSTR>(bytes.data()), nDecoded);
}
}  // namespace

BEGIN_MESSAGE_MAP(CNewsReaderDlg, CFormDialog)
    ON_COMMAND(IDC_NEWS_READER_CLOSE, OnCloseForm)
END_MESSAGE_MAP()

CNewsReaderDlg::CNewsReaderDlg() : CFormDialog(IDD_FORM_NEWS_READER), CZorvatMessageSink({MSG_EW})
{
    if (CZORVAT32App* pApp = CZORVAT32App::Get())
        pApp->AddSink(GetSinkRecord());
}

CWnd* CNewsReaderDlg::Make(UINT)
{
    return new CNewsReaderDlg;
}

BOOL CNewsReaderDlg::OnInitDialog()
{
    CFormDialog::OnInitDialog();
    // A story is text from the server: whatever it holds, no script runs and nothing is fetched.
    m_page.CreateFromControl(this, IDC_NEWS_READER_PAGE, WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                             WBO_NOSCRIPT | WBO_NOREMOTE | WBO_SILENT);
    m_link.AttachToDlgItem(m_hWnd, IDC_NEWS_READER_LINK, "");
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_NEWS_READER_TITLE), FALSE);
    return TRUE;
}

void CNewsReaderDlg::ShowStory(LPCSTR pszBody, LPCSTR pszTitle, LPCSTR pszLink)
{
    m_page.Clear();
    m_page.Write(pszBody != nullptr ? pszBody : "");
    m_page.Refresh();
    if (pszTitle != nullptr && *pszTitle != '\0')
        ::SetDlgItemTextA(m_hWnd, IDC_NEWS_READER_TITLE, pszTitle);
    SetLink(pszLink != nullptr ? pszLink : "");
}

void CNewsReaderDlg::SetLink(LPCSTR pszLink)
{
    // The address comes from the server: kept to its bound, and opened only when it is a web
    // address (the link's own rule).
    char szLink[NEWS_READER_LINK_MAX + 1];
    snprintf(szLink, sizeof szLink, "%s", pszLink);
    m_link.SetUrl(szLink);
    ::SetDlgItemTextA(m_hWnd, IDC_NEWS_READER_LINK_CAPTION, szLink[0] != '\0' ? static_cast<LPCSTR>(LoadMarketText(IDS_NEWS_READER_LINK)) : "");
    ::SetDlgItemTextA(m_hWnd, IDC_NEWS_READER_LINK, szLink);
}

void CNewsReaderDlg::OnEW(CServerMessage* pMsg)
{
    if (pMsg == nullptr || m_hWnd == nullptr)
        return;
    if (const long nError = pMsg->GetLong(EW_RESULT); nError != 0) {
        CZORVAT32App* pApp = CZORVAT32App::Get();
        if (pApp != nullptr)
            ShowMarketInfo(pApp->GetErrorText(nError), 0, INFO_PRIORITY_ERROR);
        return;
    }
    m_strReference = pMsg->GetField(EW_REFERENCE);
    ShowStory(DecodeStory(pMsg->GetFieldText(EW_STORY)), "", "");
    ::SetDlgItemTextA(m_hWnd, IDC_NEWS_READER_TITLE, pMsg->GetFieldText(EW_HEADLINE));
    SetLink(pMsg->GetFieldText(EW_LINK));
}

void CNewsReaderDlg::OnCloseForm()
{
    CloseForm();
}
