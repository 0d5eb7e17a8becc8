#pragma once
// The print preview: CTablePrintWindow draws one page of a print engine's layout on screen, with
// a toolbar for pages, row slices, zoom, page setup, print and close; CPreviewWnd is the MDI
// frame that the table window's preview command opens around it and that owns the engine and
// its snapshot view.
#include "framework/base/GlobalsEvents.h"
#include "framework/base/TBWnd.h"
#include "framework/window/TBFont.h"
#include "platform/mfc/FrameWnd.h"

class CTablePrint;
class CNorvTablePrint;
class CTableWindow;
class CViewTable;

// Toolbar command ids.
#define ID_PREVIEW_FIRST      101
#define ID_PREVIEW_LAST       102
#define ID_PREVIEW_NEXT       103
#define ID_PREVIEW_PREV       104
#define ID_PREVIEW_NEXTSLICE  105
#define ID_PREVIEW_PREVSLICE  106
#define ID_PREVIEW_ZOOMIN     107
#define ID_PREVIEW_ZOOMOUT    108
#define ID_PREVIEW_PAGE       109
#define ID_PREVIEW_SETUP      110
#define ID_PREVIEW_PRINT      111
#define ID_PREVIEW_CLOSE      28000
#define IDB_PREVIEW_BUTTONS   116
#define PREVIEW_TOOLBAR_HEIGHT 25

class CTablePrintWindow : public CTBWnd, private CGlobalsEventSink
{
public:
    CTablePrintWindow() = default;
    ~CTablePrintWindow() override;

    // Refuses an engine whose view is not open; creation fails (-1) without a printer DC.
    BOOL Create(CTablePrint* pPrint, HWND hParent, DWORD dwStyle, UINT nId, void* pContext);

    // Navigation. Page indexes from 0; ShowPageNumber takes a number from the range's first to
    // its last and ignores others.
    void GoToPage(int nIndex);
    void FirstPage() { GoToPage(FirstIndex()); }
    void LastPage() { GoToPage(LastIndex()); }
    void NextPage() { GoToPage(m_nPage + 1); }
    void PrevPage() { GoToPage(m_nPage - 1); }
    void NextSlice();
    void PrevSlice();
    void ShowPageNumber(int nNumber);
    void ZoomIn();
    void ZoomOut();
    // The page-setup and print dialogs over the preview; it begins again on the same page and zoom.
    void PageSetup();
    void PrintFromPreview();
    // The preview's keys: pages, slices, zoom, scrolling, digits to the page field, Escape closes.
    BOOL HandleKey(UINT nKey);

    int  GetCurrentPage() const { return m_nPage; }
    int  GetZoom() const { return m_nZoom; }
    HDC  GetPreviewDC() const { return m_hdcPreview; }
    HWND GetControl(UINT nId) const;
    // A control's left edge in client pixels, -1 for an unknown id.
    int  GetControlLeft(UINT nId) const;

    // Hooks for the dialogs: IDOK, 2, 1090 or 1119. Until the dialogs exist the settings stay.
    static int (*s_pfnPageSetup)(CTablePrint* pPrint, HWND hOwner, void* pContext);
    static int (*s_pfnPrintDialog)(CTablePrint* pPrint, HWND hOwner, void* pContext);

protected:
    int  OnCreate(LPCREATESTRUCTA pCreate) override;
    void OnDestroy() override;
    void OnPaint() override;
    void OnSize(UINT nType, int cx, int cy) override;
    BOOL OnEraseBkgnd(HDC hdc) override;
    void OnKeyDown(UINT nKey, UINT nRepeat, UINT nFlags) override;
    void OnHScroll(UINT nCode, UINT nPos, CTBWnd* pScrollBar) override;
    void OnVScroll(UINT nCode, UINT nPos, CTBWnd* pScrollBar) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnWndMsg(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void OnLayoutChanged(int nLanguage) override;
    void OnLanguageChanged(int nLanguage) override;

private:
    int  FirstIndex() const;
    int  LastIndex() const;
    // The toolbar (PreviewToolbar.cpp).
    void CreateToolbar();
    void LayoutToolbar();
    void DestroyToolbar();
    void RepaintToolbar();
    void UpdateControls();
    void SetupMapping();
    void Layout();
    void Scroll(int nBar, UINT nCode, UINT nPos);
    void DrawButton(const DRAWITEMSTRUCT* pItem);
    void LoadButtonImages();
    void RestartPreview();

    CTablePrint* m_pPrint = nullptr;    // not owned
    int  m_nZoom = 100;
    int  m_nPage = 0;
    HDC  m_hdcPreview = nullptr;        // the engine's printer DC while previewing
    SIZE m_sizeViewport = {0, 0};
    SIZE m_sizeWindow = {0, 0};
    int  m_nOffsetX = 8;
    int  m_nOffsetY = 8;
    int  m_nZoomNum = 1;
    int  m_nZoomDen = 1;
    BOOL m_bToolbar = TRUE;
    HBITMAP m_hButtons = nullptr;       // owned: the image strip on the button face
    HBITMAP m_hButtonsGrey = nullptr;   // owned: its greyed copy
    int  m_nRtl = -1;                   // the reading direction the toolbar was laid out for
    HWND m_hPageEdit = nullptr;
    CTBFont m_font;
    int  m_nScrollPos[2] = {0, 0};      // horizontal, vertical
    int  m_nScrollRange[2] = {0, 0};
    int  m_nScrollPage[2] = {0, 0};
    void* m_pContext = nullptr;
};

class CPreviewWnd : public CMDIChildWnd
{
public:
    CPreviewWnd() = default;
    ~CPreviewWnd() override;
    // A snapshot of the grid's table printed with the settings of pszSection and the grid's
    // appearance. FALSE (the object deleted) when no window could be made.
    BOOL Create(CTableWindow* pGrid, const char* pszSection, const char* pszCaption, CMDIFrameWnd* pFrame);
    CTablePrintWindow& GetPrintWindow() { return m_window; }
    CNorvTablePrint* GetPrint() const { return m_pPrint; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCTA pCreate);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnDestroy();
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override { delete this; }
    DECLARE_MESSAGE_MAP()

private:
    CTablePrintWindow m_window;
    CNorvTablePrint* m_pPrint = nullptr;    // owned
    CViewTable* m_pView = nullptr;          // owned: the snapshot printed
    CTBString m_strSection;
};
