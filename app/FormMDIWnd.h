#pragma once
// The MDI frames of dialog-like forms, charts and web pages. A frame hosts one view made as its
// child, remembers where it stood (per form and reading direction), copies itself to the
// clipboard as a picture and clears its creator's pointer when it goes. Chart and page frames
// are long-lived: closing them only hides them. Each frame is made with new and deletes itself.
#include "platform/mfc/FrameWnd.h"

class CSettingsFile;

#define ID_EDIT_COPY_PICTURE 57634
// Sent by a form frame to its view when asked to close: a view that answers nonzero still waits
// for replies to what it sent and closes its frame itself once they are told; the frame hides
// meanwhile.
#define WM_FORM_CLOSING (WM_USER + 1100)
// Sent to every form's view when the link to the server goes down: nothing sent on it is
// answered any more.
#define WM_FORM_LINK_DOWN (WM_USER + 1101)
// Sent to a form's view before the session closes it: nonzero when it holds an order the trader
// typed and did not send.
#define WM_FORM_HOLDS_ORDER (WM_USER + 1102)
// Posted to a form's view when order-status rows may have changed: by a modify form to itself on
// its order's line, and to every form's view when an order-status reply ends, whose rows may end
// an order no line of it told. Posted, so that the view reads the rows once the line is handled.
#define WM_FORM_ORDER_ROWS (WM_USER + 1103)
// The information line that names such a form ("%1": its title).
#define IDS_ORDER_LEFT_UNSENT 40397
// The forms that outlive a session.
#define IDD_FORM_NEWS_READER 7385
#define IDD_FORM_OPTION_CHAIN 7306
#define IDD_FORM_EXPIRATION 7309

class CFormMDIWnd : public CMDIChildWnd
{
public:
    CFormMDIWnd() = default;
    // Clears the creator's pointer.
    ~CFormMDIWnd() override;

    // The frame in the main frame with its view (not owned: the frame's window destroys it) made
    // as child nTemplateId; *ppSlot is the creator's pointer, cleared when the frame goes. The
    // saved position is restored. FALSE when the frame could not be made.
    virtual BOOL CreateForm(UINT nTemplateId, CWnd* pView, CFormMDIWnd** ppSlot);
    virtual void SaveSettings();
    virtual void LoadSettings(CSettingsFile* pSettings);

    UINT GetTemplateId() const { return m_nTemplateId; }
    CWnd* GetView() const { return m_pView; }
    // A picture of the whole frame, alone on the clipboard. FALSE when the clipboard is busy.
    BOOL CopyAsBitmap();
    // The keys at the form's first field, as when it starts afresh (a command brought it forward).
    void FocusFirstField();

protected:
    // The view sizes itself (a web page) rather than the frame fitting the form.
    virtual BOOL IsPageView() const { return FALSE; }
    // The view takes the frame's whole client area at every size (a page, a chart); a form keeps
    // its own size.
    virtual BOOL ViewFillsFrame() const { return IsPageView(); }
    // "%d-%d": the form and whether the interface reads right to left.
    CString GetFormSection() const;

    afx_msg int OnCreate(LPCREATESTRUCTA pCreate);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSysCommand(UINT nId, LPARAM lParam);
    afx_msg void OnSysColorChange();
    afx_msg void OnClose();
    afx_msg void OnDestroy();
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* pInfo);
    afx_msg void OnCopyPicture();
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    DECLARE_MESSAGE_MAP()

    UINT m_nTemplateId = 0;
    CWnd* m_pView = nullptr;            // not owned
    CFormMDIWnd** m_ppSlot = nullptr;   // the creator's pointer to this frame
};

// The frames that hide instead of closing: a click on the close box or the system-menu icon
// hides them and activates the next window.
class CHidingFormWnd : public CFormMDIWnd
{
protected:
    afx_msg void OnClose();
    afx_msg void OnSysCommand(UINT nId, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

// The chart form's frame: its placement lies in the chart view's section.
class CFormChart : public CHidingFormWnd
{
public:
    // The section the chart view names for this chart.
    void SetSection(LPCSTR pszSection) { m_strSection = pszSection; }
    const CString& GetSection() const { return m_strSection; }
    BOOL CreateForm(UINT nTemplateId, CWnd* pView, CFormMDIWnd** ppSlot) override;
    void SaveSettings() override;
    void LoadSettings(CSettingsFile* pSettings) override;

    BOOL m_bRestore = TRUE;             // the placement is applied once more after creation

protected:
    BOOL ViewFillsFrame() const override { return TRUE; }

private:
    CString m_strSection;
};

// A web page's frame, kept by page id; its placement lies in the page id's section.
class CFormHtml : public CHidingFormWnd
{
public:
    const CString& GetPageId() const { return m_strPageId; }
    void SetPageId(LPCSTR pszPageId) { m_strPageId = pszPageId; }
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void SaveSettings() override;
    void LoadSettings(CSettingsFile* pSettings) override;

protected:
    BOOL IsPageView() const override { return TRUE; }

private:
    CString m_strPageId;
};
