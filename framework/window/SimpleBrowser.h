#pragma once
// The page shown inside a form: a document written as HTML in pieces, then shown. It stands on
// the layer's read-only rich-text view ("RichView"), so a page shows its text and formatting and
// nothing else: no script runs, nothing is fetched and a link is not followed.
#include <string>
#include "platform/mfc/Wnd.h"

class SimpleBrowser : public CWnd
{
public:
    SimpleBrowser() = default;

    // Takes the place of the placeholder control nId of pParent: made at its rectangle with its
    // id (WS_CHILD | WS_VISIBLE and a vertical scroll bar), the placeholder destroyed. FALSE when
    // there is no such control or the view could not be made.
    BOOL CreateFromControl(CWnd* pParent, UINT nId);

    // The document: Clear empties it, Write adds HTML to its end; Refresh shows it again.
    void Clear();
    void Write(LPCSTR pszHtml);
    void Refresh();
    const std::string& GetDocument() const { return m_strDocument; }

private:
    std::string m_strDocument;
};
