#pragma once
// The framework's status bar: pane 0 is the class library's message pane, every further pane is
// an object (INorvStatusBarPane) that draws itself or sets its text when the bar updates, twice a
// second. The panes are owned by the bar.
#include <memory>
#include <vector>
#include "platform/mfc/ControlBar.h"

class CNorvStatusBar;

#define STATUS_PANE_FIRST_ID 59145      // pane i has the id STATUS_PANE_FIRST_ID + i
#define STATUS_TIMER_UPDATE 1

struct INorvStatusBarPane
{
    virtual ~INorvStatusBarPane() = default;
    virtual void DrawItem(LPDRAWITEMSTRUCT pDraw) = 0;
    virtual void Update() = 0;
    virtual void Attach(CNorvStatusBar* pBar, int nIndex) = 0;
};

// Coloured text segments in their own fonts, drawn one after the other; the pane takes their
// width and the bar grows to their height.
class CNorvStatusBarTextPane : public INorvStatusBarPane
{
public:
    ~CNorvStatusBarTextPane() override;
    // A font of face and points; none (the bar's) for an empty face or a size that is not positive.
    int  AddSegment(LPCSTR pszText, COLORREF crText, LPCSTR pszFace, int nPoints);
    void SetSegment(int nIndex, LPCSTR pszText, COLORREF crText);
    CString GetSegmentText(int nIndex) const;
    COLORREF GetSegmentColor(int nIndex) const;
    void DrawItem(LPDRAWITEMSTRUCT pDraw) override;
    void Update() override {}
    void Attach(CNorvStatusBar* pBar, int nIndex) override;

protected:
    struct Segment {
        CString strText;
        COLORREF crText = 0;
        HFONT hFont = nullptr;          // owned; null: the bar's font
    };
    void Changed();

    std::vector<Segment> m_segments;
    CNorvStatusBar* m_pBar = nullptr;
    int m_nIndex = -1;
    BOOL m_bDirty = TRUE;
};

// A pane whose width follows its text, which the derived pane gives on each update.
class CNorvStatusBarAutoResizePane : public INorvStatusBarPane
{
public:
    void DrawItem(LPDRAWITEMSTRUCT) override {}
    void Update() override;
    void Attach(CNorvStatusBar* pBar, int nIndex) override
    {
        m_pBar = pBar;
        m_nIndex = nIndex;
    }

protected:
    virtual CString GetText() const = 0;

    CNorvStatusBar* m_pBar = nullptr;
    int m_nIndex = -1;
};

class CNorvStatusBar : public CStatusBar
{
public:
    // The bar in the frame, its panes updated twice a second; FALSE when it could not be made.
    BOOL CreateStatusBar(CWnd* pParent);
    BOOL IsCreated() const { return m_bCreated; }
    // Appends a pane (owned from now on) and lays the panes out again; refused (deleted) while
    // the bar does not exist.
    void AddPane(INorvStatusBarPane* pPane);
    int GetPaneCount() const { return static_cast<int>(m_panes.size()); }
    INorvStatusBarPane* GetPane(int nIndex) const;
    // Every pane's Update, now.
    void UpdatePanes();
    void DrawItem(LPDRAWITEMSTRUCT pDraw) override;

protected:
    afx_msg void OnTimer(UINT_PTR nIdEvent);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    void RebuildIndicators();

    std::vector<std::unique_ptr<INorvStatusBarPane>> m_panes;
    std::vector<UINT> m_ids;
    BOOL m_bCreated = FALSE;
};
