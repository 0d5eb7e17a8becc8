#pragma once
// The frame's bars: CToolBar over the toolbar control, CStatusBar over the status bar control,
// both on CControlBar, which a frame lays out (RecalcLayout: top bars above, bottom bars below,
// the client between) and updates while the program is idle: each button and pane asks the
// frame's command routing for its state (ON_UPDATE_COMMAND_UI). A bar belongs to the frame it is
// created in; its object is the caller's (usually a member of the frame).
// In a frame that reads right to left the bars run from the right as well.
#include <string>
#include <vector>

#include "platform/mfc/AfxRes.h"
#include "platform/mfc/CmdUI.h"
#include "platform/mfc/Wnd.h"
#include "platform/win/user/CommCtrl.h"

class CFrameWnd;

// Bar styles.
#define CBRS_ALIGN_LEFT    0x1000L
#define CBRS_ALIGN_TOP     0x2000L
#define CBRS_ALIGN_RIGHT   0x4000L
#define CBRS_ALIGN_BOTTOM  0x8000L
#define CBRS_ALIGN_ANY     0xF000L
#define CBRS_BORDER_LEFT   0x0100L
#define CBRS_BORDER_TOP    0x0200L
#define CBRS_BORDER_RIGHT  0x0400L
#define CBRS_BORDER_BOTTOM 0x0800L
#define CBRS_BORDER_ANY    0x0F00L
#define CBRS_TOOLTIPS      0x0010L
#define CBRS_FLYBY         0x0020L      // the button under the pointer shows its prompt in the status bar
#define CBRS_FLOAT_MULTI   0x0040L
#define CBRS_BORDER_3D     0x0080L
#define CBRS_HIDE_INPLACE  0x0008L
#define CBRS_SIZE_DYNAMIC  0x0004L
#define CBRS_SIZE_FIXED    0x0002L
#define CBRS_FLOATING      0x0001L
#define CBRS_GRIPPER       0x00400000L
#define CBRS_TOP           (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_BOTTOM        (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)
#define CBRS_NOALIGN       0x00000000L
#define CBRS_ALL           0x0040FFFFL

// Toolbar button styles: the control's style in the low word, its state in the high word, with
// the enabled bit turned round (TBBS_DISABLED).
#define TBBS_BUTTON        MAKELONG(TBSTYLE_BUTTON, 0)
#define TBBS_SEPARATOR     MAKELONG(TBSTYLE_SEP, 0)
#define TBBS_CHECKBOX      MAKELONG(TBSTYLE_CHECK, 0)
#define TBBS_GROUP         MAKELONG(TBSTYLE_GROUP, 0)
#define TBBS_CHECKGROUP    (TBBS_GROUP | TBBS_CHECKBOX)
#define TBBS_CHECKED       MAKELONG(0, TBSTATE_CHECKED)
#define TBBS_INDETERMINATE MAKELONG(0, TBSTATE_INDETERMINATE)
#define TBBS_HIDDEN        MAKELONG(0, TBSTATE_HIDDEN)
#define TBBS_DISABLED      MAKELONG(0, TBSTATE_ENABLED)
#define TBBS_PRESSED       MAKELONG(0, TBSTATE_PRESSED)

// Status pane styles.
#define SBPS_NORMAL    0x0000
#define SBPS_NOBORDERS SBT_NOBORDERS
#define SBPS_POPOUT    SBT_POPOUT
#define SBPS_OWNERDRAW SBT_OWNERDRAW
#define SBPS_DISABLED  0x04000000
#define SBPS_STRETCH   0x08000000

// The controls under the bars, for code that speaks to them directly (GetToolBarCtrl,
// GetStatusBarCtrl): thin views of the bar's window that send the control's messages.
class CToolBarCtrl
{
public:
    explicit CToolBarCtrl(HWND hWnd) : m_hWnd(hWnd) {}
    int CommandToIndex(UINT nID) const { return static_cast<int>(Send(TB_COMMANDTOINDEX, nID)); }
    BOOL GetItemRect(int nIndex, LPRECT pRect) const { return static_cast<BOOL>(Send(TB_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(pRect))); }
    BOOL GetButton(int nIndex, LPTBBUTTON pButton) const { return static_cast<BOOL>(Send(TB_GETBUTTON, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(pButton))); }
    int GetButtonCount() const { return static_cast<int>(Send(TB_BUTTONCOUNT)); }
    BOOL EnableButton(int nID, BOOL bEnable = TRUE) const { return static_cast<BOOL>(Send(TB_ENABLEBUTTON, static_cast<WPARAM>(nID), MAKELONG(bEnable, 0))); }
    BOOL CheckButton(int nID, BOOL bCheck = TRUE) const { return static_cast<BOOL>(Send(TB_CHECKBUTTON, static_cast<WPARAM>(nID), MAKELONG(bCheck, 0))); }
    BOOL IsButtonEnabled(int nID) const { return Send(TB_ISBUTTONENABLED, static_cast<WPARAM>(nID)) != 0; }
    BOOL IsButtonChecked(int nID) const { return Send(TB_ISBUTTONCHECKED, static_cast<WPARAM>(nID)) != 0; }
    int GetState(int nID) const { return static_cast<int>(Send(TB_GETSTATE, static_cast<WPARAM>(nID))); }
    BOOL SetState(int nID, UINT nState) const { return static_cast<BOOL>(Send(TB_SETSTATE, static_cast<WPARAM>(nID), MAKELONG(nState, 0))); }
    HWND GetToolTips() const { return reinterpret_cast<HWND>(Send(TB_GETTOOLTIPS)); }
    HWND m_hWnd;

private:
    LRESULT Send(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0) const { return ::SendMessageA(m_hWnd, uMsg, wParam, lParam); }
};

class CStatusBarCtrl
{
public:
    explicit CStatusBarCtrl(HWND hWnd) : m_hWnd(hWnd) {}
    // The parts' drawing area is at least this tall; the frame lays out again on its next WM_SIZE.
    void SetMinHeight(int nMin) const { ::SendMessageA(m_hWnd, SB_SETMINHEIGHT, static_cast<WPARAM>(nMin), 0); }
    BOOL GetRect(int nPane, LPRECT pRect) const { return static_cast<BOOL>(::SendMessageA(m_hWnd, SB_GETRECT, static_cast<WPARAM>(nPane), reinterpret_cast<LPARAM>(pRect))); }
    int GetParts(int nParts, int* pParts) const { return static_cast<int>(::SendMessageA(m_hWnd, SB_GETPARTS, static_cast<WPARAM>(nParts), reinterpret_cast<LPARAM>(pParts))); }
    HWND m_hWnd;
};

class CControlBar : public CWnd
{
public:
    ~CControlBar() override;
    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD dwStyle);
    // Where the bar may dock (CBRS_ALIGN_ flags); bars here dock at the top or the bottom only.
    void EnableDocking(DWORD dwDockStyle) { m_dwDockStyle = dwDockStyle & CBRS_ALIGN_ANY; }
    BOOL IsFloating() const { return FALSE; }
    // Tips show for the bar's buttons while the bar has CBRS_TOOLTIPS.
    BOOL EnableToolTips(BOOL bEnable = TRUE);
    BOOL IsVisible() const;
    CFrameWnd* GetDockingFrame() const { return m_pDockSite; }
    void SetBorders(int cxLeft = 0, int cyTop = 0, int cxRight = 0, int cyBottom = 0);
    // The size the bar takes in the frame: the frame's width and the bar's own height.
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) = 0;
    // Asks pTarget for the state of each item.
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;
    LRESULT WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

protected:
    friend class CFrameWnd;
    // Creates the control's window in the frame pParentWnd and joins the frame's bars.
    BOOL CreateBar(LPCSTR pszClass, DWORD dwCtrlStyle, DWORD dwStyle, CWnd* pParentWnd, UINT nID);
    void PostNcDestroy() override;

    DWORD m_dwStyle = 0;            // CBRS_ styles
    DWORD m_dwDockStyle = 0;
    CFrameWnd* m_pDockSite = nullptr;   // the frame whose bar this is; not owned
    int m_cxLeftBorder = 0, m_cyTopBorder = 0, m_cxRightBorder = 0, m_cyBottomBorder = 0;
};

class CToolBar : public CControlBar
{
public:
    ~CToolBar() override;
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT nID = AFX_IDW_TOOLBAR);
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                  DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect rcBorders = CRect(0, 0, 0, 0),
                  UINT nID = AFX_IDW_TOOLBAR);
    // The TOOLBAR resource of that id (image size and the buttons' commands, 0 for a separator)
    // with its image strip, the BITMAP of the same id. FALSE when either is missing.
    BOOL LoadToolBar(UINT nIDResource) { return LoadToolBar(MAKEINTRESOURCEA(nIDResource)); }
    BOOL LoadToolBar(LPCSTR pszResourceName);
    BOOL LoadBitmap(UINT nIDResource) { return LoadBitmap(MAKEINTRESOURCEA(nIDResource)); }
    BOOL LoadBitmap(LPCSTR pszResourceName);
    BOOL SetBitmap(HBITMAP hbmImageWell);           // the bar owns the bitmap from now on
    void SetSizes(SIZE sizeButton, SIZE sizeImage);
    // The buttons: commands in order, ID_SEPARATOR for a separator; images numbered in order
    // of the buttons. A null array makes nIDCount separators to be filled by SetButtonInfo.
    BOOL SetButtons(const UINT* pIDArray, int nIDCount);

    CToolBarCtrl GetToolBarCtrl() const { return CToolBarCtrl(m_hWnd); }
    int  GetCount() const;
    int  CommandToIndex(UINT nIDFind) const;        // -1 when no button has the command
    UINT GetItemID(int nIndex) const;               // ID_SEPARATOR for a separator or a bad index
    virtual void GetItemRect(int nIndex, LPRECT pRect) const;     // empty for a bad index
    UINT GetButtonStyle(int nIndex) const;          // TBBS_ styles
    void SetButtonStyle(int nIndex, UINT nStyle);
    void GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const;
    void SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

private:
    HBITMAP m_hbmImageWell = nullptr;   // owned
    CSize m_sizeButton = CSize(23, 22);
    CSize m_sizeImage = CSize(16, 15);
};

class CStatusBar : public CControlBar
{
public:
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT nID = AFX_IDW_STATUS_BAR);
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = 0, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                  UINT nID = AFX_IDW_STATUS_BAR);
    // One pane per id; a non-zero id takes its string as the pane's text and width. Pane 0 is the
    // message pane when its id is ID_SEPARATOR.
    BOOL SetIndicators(const UINT* pIDArray, int nIDCount);
    CStatusBarCtrl GetStatusBarCtrl() const { return CStatusBarCtrl(m_hWnd); }
    int  CommandToIndex(UINT nIDFind) const;
    UINT GetItemID(int nIndex) const;
    void GetItemRect(int nIndex, LPRECT pRect) const;
    CString GetPaneText(int nIndex) const;
    void GetPaneText(int nIndex, CString& strText) const { strText = GetPaneText(nIndex); }
    BOOL SetPaneText(int nIndex, LPCSTR pszNewText, BOOL bUpdate = TRUE);
    void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    UINT GetPaneStyle(int nIndex) const;
    void SetPaneStyle(int nIndex, UINT nStyle);
    // An owner-drawn pane (SBPS_OWNERDRAW) is drawn here; the item is the pane's index.
    virtual void DrawItem(LPDRAWITEMSTRUCT pDrawItemStruct);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    BOOL OnChildNotify(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    LRESULT WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

private:
    struct Pane {
        UINT nID = 0;
        UINT nStyle = 0;
        int cxText = 0;
        CString strText;
    };
    BOOL IsValidIndex(int nIndex) const { return nIndex >= 0 && static_cast<size_t>(nIndex) < m_panes.size(); }
    void UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText);
    void SendPaneText(int nIndex);

    std::vector<Pane> m_panes;
    int m_nMinHeight = 0;           // SB_SETMINHEIGHT
};
