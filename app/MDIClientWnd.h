#pragma once
// The main frame's MDI client, subclassed: a dark background with the brand's picture in its
// middle, and the wait cursor while the application is busy.
#include "platform/mfc/Wnd.h"

class CMDIClientWnd : public CWnd
{
public:
    CMDIClientWnd() = default;
    ~CMDIClientWnd() override;
    // Id 0: no picture. A picture the resources lack leaves the plain background.
    void SetBackground(UINT nBitmapId);
    BOOL HasBackground() const { return m_hBitmap != nullptr; }

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT uMessage);
    DECLARE_MESSAGE_MAP()

private:
    HBITMAP m_hBitmap = nullptr;        // owned
};
