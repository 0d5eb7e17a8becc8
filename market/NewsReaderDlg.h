#pragma once
// The news reader form: one story at a time, the newest replacing the one shown. A story comes
// from the application (OpenNewsStory) or as the server's story reply ("EW"), whose body travels
// in Base64; an error reply goes to the information window and leaves the story shown. The page
// is written through SimpleBrowser, which runs no script and fetches nothing; the story's
// address is a link that opens only web addresses.
#include "app/FormMDIWnd.h"
#include "app/NewsStory.h"
#include "app/dialogs/HyperLink.h"
#include "framework/window/SimpleBrowser.h"
#include "link/MessageSink.h"
#include "market/dialogs/FormDialog.h"
#include "platform/mfc/String.h"

#define IDC_NEWS_READER_PAGE          7386  // the placeholder the page replaces
#define IDC_NEWS_READER_CLOSE         7387
#define IDC_NEWS_READER_TITLE         7388
#define IDC_NEWS_READER_LINK          7447
#define IDC_NEWS_READER_LINK_CAPTION  7449
#define IDS_NEWS_READER_LINK          52179
#define NEWS_READER_LINK_MAX          511   // characters kept of a story's address

class CNewsReaderDlg : public CFormDialog, public CZorvatMessageSink, public INewsStoryView
{
public:
    // Registers with the application's message source, when there is one.
    CNewsReaderDlg();
    static CWnd* Make(UINT nFormId);

    // The body written as the page in place of the one shown; a non-empty title becomes the
    // headline; the link replaces the story's address (none: no address).
    void ShowStory(LPCSTR pszBody, LPCSTR pszTitle, LPCSTR pszLink) override;
    // The story reply, the one type the dialog's sink takes.
    void OnEW(CServerMessage* pMsg) override;

    const CString& GetReference() const { return m_strReference; }
    LPCSTR GetLink() const { return m_link.GetUrl(); }
    // Opens the story's address as a click on it does; FALSE when it is not a web address.
    BOOL OpenLink() { return m_link.Open(); }
    const SimpleBrowser& GetPage() const { return m_page; }

protected:
    BOOL OnInitDialog() override;

    afx_msg void OnCloseForm();
    DECLARE_MESSAGE_MAP()

private:
    void SetLink(LPCSTR pszLink);

    SimpleBrowser m_page;
    CHyperLink m_link;
    CString m_strReference;             // the story's reference from its reply
};
