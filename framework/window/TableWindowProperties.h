#pragma once
// The appearance block of a grid window: colours, the two fonts and the option flags that its
// panes read while painting and that it keeps with its layout. The grid window derives from it;
// printing copies a whole block so that a printed table looks like the screen.
#include "framework/window/TBFont.h"
#include "platform/win/Windows.h"

class CIni;

// Settings keys of the grid window: string ids whose texts come from the language library.
#define IDS_GRID_PLACEMENT      28600
#define IDS_GRID_FONT           28605
#define IDS_GRID_BOLDFONT       28610
#define IDS_GRID_BACKCOLOR      28615
#define IDS_GRID_CELLBACK       28620   // prefix of the cell background table: "<text><index>"
#define IDS_GRID_FACECOLOR      28625
#define IDS_GRID_SHADOWCOLOR    28630
#define IDS_GRID_CELLTEXT       28635   // prefix of the text colour table
#define IDS_GRID_CUSTOMCOLOR    28640
#define IDS_GRID_HIGHLIGHTSECS  28645
#define IDS_GRID_FOLLOWLASTROW  28650
#define IDS_GRID_GRIDLINES      28655
#define IDS_GRID_MENUSECTION    28660
#define IDS_GRID_FOCUSFRAME     28665

class CTableWindowProperties
{
public:
    // A cell attribute carries its colour index in 7 bits; index 0 is the default colour.
    static constexpr int COLOR_COUNT = 127;

    CTableWindowProperties();     // defaults from the system colours of the moment
    virtual ~CTableWindowProperties() = default;
    CTableWindowProperties(const CTableWindowProperties&) = delete;
    CTableWindowProperties& operator=(const CTableWindowProperties&) = delete;

    // Persistence in one settings section; the second object is not used. A null section does
    // nothing. Load reads every key with the value held as its default and stores it through
    // the setter, so that a derived window sees each change.
    virtual void Load(CIni* pSection, CIni* pSecond);
    virtual void Save(CIni* pSection, CIni* pSecond);

    // Colours. A table index outside 0..126 reads entry 0 (a 7-bit attribute of 127 shows as
    // the default); the setters ignore it.
    virtual COLORREF GetBackgroundColor() const { return m_crWindowBack; }
    virtual COLORREF GetWindowBackColor() const { return m_crWindowBack; }
    virtual COLORREF GetCellBackColor(int nIndex) const { return m_crCellBack[SafeIndex(nIndex)]; }
    virtual COLORREF GetCellTextColor(int nIndex) const { return m_crCellText[SafeIndex(nIndex)]; }
    virtual COLORREF GetFaceColor() const { return m_crFace; }
    virtual COLORREF GetShadowColor() const { return m_crShadow; }
    // Fonts: null while the block has none; the handles stay the block's.
    virtual HFONT GetFont() const { return m_font.GetSafeHandle(); }
    virtual HFONT GetBoldFont() const { return m_fontBold.GetSafeHandle(); }
    virtual BOOL GetAllowMinimize() const { return m_bAllowMinimize; }
    virtual BOOL GetAllowMaximize() const { return m_bAllowMaximize; }
    virtual BOOL GetAllowResize() const { return m_bAllowResize; }
    // A focus on the last row stays there when rows are appended.
    virtual BOOL GetFollowLastRow() const { return m_bFollowLastRow; }
    // Grid lines between rows and columns.
    virtual BOOL GetFlag5() const { return m_bGridLines; }
    // How long a changed row stays marked; below 1 = no change marking.
    virtual int  GetHighlightSeconds() const { return m_nHighlightSeconds; }
    virtual BOOL GetFocusFrame() const { return m_bFocusFrame; }

    // The window background and cell background 0 together; SetWindowBackColor the first alone.
    virtual void SetBackgroundColor(COLORREF cr);
    virtual void SetWindowBackColor(COLORREF cr) { m_crWindowBack = cr; }
    virtual void SetCellTextColor(COLORREF cr, int nIndex);
    virtual void SetCellBackColor(COLORREF cr, int nIndex);
    virtual void SetFaceColor(COLORREF cr) { m_crFace = cr; }
    virtual void SetShadowColor(COLORREF cr) { m_crShadow = cr; }
    // The block takes the handle over; the font held is deleted unless it is the same one.
    virtual void SetFont(HFONT hFont) { m_font.Attach(hFont); }
    virtual void SetBoldFont(HFONT hFont) { m_fontBold.Attach(hFont); }
    virtual void SetAllowMinimize(BOOL bAllow) { m_bAllowMinimize = bAllow; }
    virtual void SetAllowMaximize(BOOL bAllow) { m_bAllowMaximize = bAllow; }
    virtual void SetAllowResize(BOOL bAllow) { m_bAllowResize = bAllow; }
    virtual void SetFollowLastRow(BOOL bFollow) { m_bFollowLastRow = bFollow; }
    virtual void SetFlag5(BOOL bGridLines) { m_bGridLines = bGridLines; }
    virtual void SetHighlightSeconds(int nSeconds) { m_nHighlightSeconds = static_cast<short>(nSeconds); }
    virtual void SetFocusFrame(BOOL bFrame) { m_bFocusFrame = bFrame; }

    // Everything but the focus frame; the fonts are made anew from the other's descriptions, so
    // the two blocks never share a handle.
    void CopyFrom(const CTableWindowProperties& other);

protected:
    static int SafeIndex(int nIndex) { return nIndex >= 0 && nIndex < COLOR_COUNT ? nIndex : 0; }

    COLORREF m_crWindowBack;                // the grid's empty areas
    COLORREF m_crCellText[COLOR_COUNT];
    COLORREF m_crCellBack[COLOR_COUNT];
    COLORREF m_crFace;                      // grid lines
    COLORREF m_crShadow;                    // group lines
    CTBFont m_font;                         // owned, as the bold one
    CTBFont m_fontBold;
    BOOL m_bAllowMinimize = TRUE;
    BOOL m_bAllowMaximize = TRUE;
    BOOL m_bAllowResize = TRUE;
    BOOL m_bFollowLastRow = TRUE;
    BOOL m_bGridLines = TRUE;
    short m_nHighlightSeconds = 0;          // kept in 16 bits, as the change stamps compare
    BOOL m_bFocusFrame = FALSE;
};
