#pragma once
// The framework's grid: a window that shows one view of an in-memory table as rows and columns,
// follows every change of the view through its events, keeps a current row and an in-place
// editor, and tells its sinks what the user does. The view is never owned; when it goes, the
// grid destroys itself. Dialogs embed the same grid as the control CTableWindowCtl.
//
// The implementation is split by concern: TableWindow.cpp (life, messages, drawing objects),
// TableWindowAppearance.cpp (colours, fonts, placement, colour dialogs), TableWindowLayout.cpp
// (geometry, scrolling, column widths), TableWindowColumns.cpp (hit tests, column resize and
// move), TableWindowCurrent.cpp (current
// row, current cell, in-place editing), TableWindowReactions.cpp (view and settings events),
// TableWindowRowMove.cpp (row moves by bands of pixels), TableWindowKeys.cpp (the keyboard),
// TableWindowMouse.cpp (the mouse), TableWindowCommands.cpp (menu commands and menu states),
// TableWindowClipboard.cpp (copy, cut and paste of rows).
#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "framework/base/GlobalsEvents.h"
#include "framework/base/NumberStyle.h"
#include "framework/base/TBWnd.h"
#include "framework/base/TB3DFrame.h"
#include "framework/table/TableColumn.h"
#include "framework/table/TableEvents.h"
#include "framework/table/ViewRow.h"
#include "framework/window/TBScrollBar.h"
#include "framework/window/TableEdit.h"
#include "framework/window/TableRowCache.h"
#include "framework/window/TableWindowArea.h"
#include "framework/window/TableWindowEvents.h"
#include "framework/window/TableWindowHeaderArea.h"
#include "framework/window/TableWindowProperties.h"

class CViewTable;
class CDictionary;
class CViewRow;
class CTableFilters;
class ITableArchive;

// Timers of the grid window; one auto-scroll timer (200..205) runs at a time.
#define TW_TIMER_SCROLL_RIGHT   200
#define TW_TIMER_SCROLL_LEFT    201
#define TW_TIMER_GROW_COLUMN    202
#define TW_TIMER_SHRINK_COLUMN  203
#define TW_TIMER_SCROLL_DOWN    204
#define TW_TIMER_SCROLL_UP      205
#define TW_TIMER_HIGHLIGHT      206

// Current-row offsets besides the window lines 0..whole lines - 1.
#define TW_APPEND_LINE  (-2)
#define TW_NO_ROW       (-3)

// Hit zones of the title strip (HitTestZone) and the drop codes of a column move.
#define TW_ZONE_NONE        0
#define TW_ZONE_RESIZE      1
#define TW_ZONE_MOVE        2
#define TW_ZONE_HIDE        3
#define TW_ZONE_SHOW        4
#define TW_ZONE_DROP        5
#define TW_ZONE_NODROP      6
#define TW_ZONE_DROP_RIGHT  7
#define TW_ZONE_DROP_LEFT   8
#define TW_ZONE_TITLE       9

class CTableWindow : public CTBWnd,
                     public CTableWindowProperties,
                     public CTableEventSink,
                     public CGlobalsEventSink,
                     public CTableWindowEventSource
{
public:
    CTableWindow();
    ~CTableWindow() override;

    // Creation. FALSE for a null or unopened view, when the row cache or the width table cannot
    // be made, or when the window class cannot be registered; nothing is registered with the
    // view in the first cases.
    BOOL Create(CViewTable* pView, DWORD dwStyle, DWORD dwExStyle, CTBWnd* pParent);
    BOOL CreateEx(CViewTable* pView, DWORD dwExStyle, LPCSTR pszTitle, DWORD dwStyle, int x, int y,
                  int nWidth, int nHeight, HWND hWndParent, UINT nId, LPVOID pParam = nullptr);
    // A grid made from a dialog template gets its view afterwards.
    BOOL AttachView(CViewTable* pView);
    CViewTable* GetView() const { return m_pView; }

    // The user's actions go to these sinks; null is ignored.
    BOOL AddEventSink(CTableWindowEventSink* pSink);
    BOOL RemoveEventSink(CTableWindowEventSink* pSink);

    void SetContextMenu(HMENU hMenu);   // owned from now on; the old menus are destroyed
    HMENU GetContextMenu() const { return m_hContextMenu; }

    // Appearance through the grid: each re-lays out and repaints when the window exists.
    BOOL SetFontFace(const CTBString& strFace, int nPoints);
    void CopyAppearance(CTableWindow* pOther);
    void SetFont(HFONT hFont) override;
    void SetBoldFont(HFONT hFont) override;
    void SetFlag5(BOOL bGridLines) override;
    void SetHighlightSeconds(int nSeconds) override;
    void SetFocusFrame(BOOL bOn) override;
    void SetBackgroundColor(COLORREF crColor) override;
    void SetWindowBackColor(COLORREF crColor) override;
    void SetCellTextColor(COLORREF crColor, int nIndex) override;
    void SetCellBackColor(COLORREF crColor, int nIndex) override;
    void SetFaceColor(COLORREF crColor) override;
    void SetShadowColor(COLORREF crColor) override;
    // Placement, custom colours and (with a settings file) the context menu, then the block.
    void Load(CIni* pSection, CIni* pFile) override;
    void Save(CIni* pSection, CIni* pUnused) override;
    virtual void SetHighlightSecondsIndex(int nIndex);

    // Painting and drawing helpers (the panes call them).
    virtual void Paint(HDC hdc, const RECT& rcUpdate);
    virtual void DrawColumnTitle(HDC hdc, int nDisplayCol, const RECT& rcCell);
    virtual void DrawFrame(HDC hdc, const RECT& rc, int nEdgeStyle, const CTB3DFrame* pFrames);
    virtual void DrawArrow(HDC hdc, const RECT& rc, int nDirection);
    virtual void PrepareDC(HDC hdc);
    virtual void UpdateNow();
    virtual void CreateDrawingObjects();
    virtual void DeleteDrawingObjects();
    virtual void Beep();
    virtual void AgeChangeHighlights();
    virtual void SetRowHeaderHotLine(int nLine);

    // Each column's first title through the dictionary (a changed one fires the view's event),
    // then the grid is laid out again.
    void TranslateColumnTitles(CDictionary& dictionary, int nDirection);

    // Layout and scrolling.
    void Refresh();
    virtual void SetTopRow(int nRow, BOOL bAnimate, int nUnused);
    virtual void StoreTopRow(int nRow) { m_nTopRow = nRow; }
    BOOL ScrollToRow(int nRow, int nPosition);      // -3 = only make it visible
    virtual void VScroll(UINT nCode, int nPos, int nSource);   // source 1 bar, 0 keys and wheel, 2 auto
    virtual void HScroll(UINT nCode);
    virtual void AutoScroll(int nDirection, int nMode);
    virtual void OnEndScrollGesture() {}
    virtual void OnPaneScrollBarChanged(CTableWindowArea* pPane, BOOL bShown);
    void OnRowCountChanged(int nArrived, int nLeft, int nTopChange, BOOL bFollow);
    BOOL GetVisibleRowRange(int* pFirst, int* pLast) const;
    int  GetTopRow() const { return m_nTopRow; }
    int  GetRowCount() const;
    int  GetWholeLines() const;
    int  GetLinesThatFit() const;
    int  GetLastShownRow() const;
    int  GetLastFullyShownRow() const;
    int  GetMaxTopRow() const;
    int  GetAppendLineOffset() const;               // -3 when the append line is not on screen
    void PullBackAtEnd(BOOL bAnimate);

    // Columns: widths by display position (0 = hidden), sizing and moving by the user.
    int  SetColumnWidth(int nDisplayCol, int nWidth, BOOL bAnimate);   // -1 for a bad column
    int  GetColumnWidth(int nDisplayCol) const;
    int  GetDisplayColumnCount() const { return static_cast<int>(m_widths.size()); }
    void RebuildWidthTable();
    int  AutoFitColumn(int nDisplayCol, BOOL bMeasureOnly);
    // Columns whose width follows what they hold (CTableColumn::m_bFitWidth): each as wide as
    // its widest text, the total lines' too, or its title, within GetFitBound. bExact fits
    // them to that width; otherwise a column only grows. nOnlyDisplayCol: that column alone,
    // hidden or not. bRows FALSE: the titles alone, the rows' widest texts being the widths
    // already. TRUE when a width changed.
    BOOL FitColumnsToContent(BOOL bExact, int nOnlyDisplayCol = -1, BOOL bRows = TRUE);
    int  GetFitBound() const;
    static constexpr int MIN_FIT_BOUND = 400;
    void SetPaneColumnRuns();
    void BeginColumnResize(int nDisplayCol, POINT pt);
    virtual void TrackColumnResize(int x, int y);
    void EndColumnResize(BOOL bApply);
    virtual void GrowResizedColumn();
    virtual void ShrinkResizedColumn();
    void BeginColumnMove(int nDisplayCol, POINT pt);
    virtual void TrackColumnMove(int x, int y);
    void EndColumnMove(BOOL bApply);
    virtual void DrawMoveImage();
    virtual void EraseMoveImage(const RECT* pKeep);
    virtual void DrawResizeLine();
    virtual void EraseResizeLine();
    BOOL IsColumnDragActive() const { return m_bResizing || m_bMoving; }
    void SetCursorForZone(int nZone);
    int  ColumnFromPoint(int x, int y) const;
    int  RowFromPoint(int x, int y) const;
    int  HitTestZone(POINT pt, int* pColumn) const;
    int  FindNextHiddenColumn(int nDisplayCol) const;
    void StartAutoScrollTimer(UINT_PTR nId);
    void StopAutoScrollTimer();

    // Current row (a line offset from the top row), current cell and in-place editing.
    int  GetCurrentRow() const;                     // view index, -1 = none
    int  GetCurrentOffset() const { return m_bParked ? m_nSavedOffset : m_nCurrentOffset; }
    BOOL IsValidCurrentRow(int nOffset) const;
    void SetCurrentRowOffset(int nOffset, int nFlag = 0);
    void ParkCurrentRow();
    void RestoreCurrentRow(int nOffset);
    void RestoreCurrentRow() { RestoreCurrentRow(m_nSavedOffset); }
    BOOL IsParked() const { return m_bParked; }
    virtual BOOL MoveCurrentRow(int nDirection);    // 0 up, 1 down; TRUE when handled
    BOOL SetCurrentCell(int nRow, int nDisplayCol);
    BOOL SelectRow(int nRow, int nDisplayCol, BOOL bOpenEditor);
    BOOL StartEdit(int nOffset, int nDisplayCol);
    void CloseEditor(BOOL bCommit);
    BOOL IsEditorShowing() const;
    CTableEdit& GetEditor() { return m_editor; }
    virtual void BeginEdit();
    virtual void EditChanged();
    virtual void EndEdit();
    BOOL ResolveCell(CViewRow* pRow, int* pRowIndex, int* pCol, BOOL bRelative);
    BOOL GetCellRect(int nOffset, int nDisplayCol, RECT* pRect) const;   // FALSE when not visible
    BOOL DeleteRowAt(int nOffset);
    virtual int CellClick(int nOffset, int nDisplayCol);
    virtual int CellRightClick(int nOffset, int nDisplayCol);
    void NotifyCurrentRow();
    BOOL MoveEditorToNextRow(int nDirection);

    // Commands of the grid's menus (TableWindowCommands.cpp). OnCmdMsg runs the handler of a
    // command id from one table; every id outside it goes to the window base.
    BOOL OnCmdMsg(UINT nId, int nCode) override;
    virtual void FireCommand(UINT nId);
    virtual void ShowSortDialog();
    virtual void ShowFilterDialog(int nDisplayCol);
    virtual void ShowFastFindDialog(int nDisplayCol);
    void SelectAllRows(BOOL bMark);
    // Toggles read the check mark of their item in the context menu: without one they do nothing.
    virtual void ToggleBeep();
    virtual void ToggleGridLines();
    virtual void ToggleAlerts();
    virtual void ToggleFocusFrame();
    // Beeps for a count outside 0..columns or a view that keeps its fixed columns.
    virtual void SetFixedColumnsFromMenu(int nCount);
    virtual void SetLanguage(int nLanguage);
    // Hides or shows the column of a column-menu command (27000 + column index); a column shown
    // moves to just after the column the context menu was opened on. Answers 0.
    virtual int  ToggleColumnFromMenu(UINT nId);

    // The context menu as it pops up: PrepareContextMenu builds the column menu afresh and appends
    // it as the last submenu (caption: string 25850); x, y is the client point it opens for (a
    // point on no column shows a hidden column near the end). Null without a context menu.
    // ReleaseContextMenu takes the column menu out again once the menu has closed.
    HMENU PrepareContextMenu(int x, int y);
    void  ReleaseContextMenu();
    HMENU RebuildColumnMenu();              // null for a view without switchable columns
    HMENU GetColumnMenu() const { return m_hColumnMenu; }

    // Clipboard (TableWindowClipboard.cpp): marked rows, or the current row when none is marked,
    // travel in a file written by the table archive; the clipboard offers its text and its path
    // (format "CF_NorvTable") on demand. Each answers 1 on success, 0 otherwise.
    int  CopyRowsToClipboard(CTableFilters* pFilters, BOOL bCut, const char* pszFile);
    int  CopySelection(BOOL bCut);          // every row of the view
    int  Cut() { return CopyRowsToClipboard(nullptr, TRUE, nullptr); }
    int  Copy() { return CopyRowsToClipboard(nullptr, FALSE, nullptr); }
    int  PasteRows();                       // only rows of a view of the same name
    BOOL CanCopy();
    BOOL CanCut() const;
    BOOL CanPaste() const;
    UINT GetClipboardFormat() const { return m_uClipFormat; }
    const CTBString& GetClipboardFile() const { return m_strClipFile; }
    int  WriteClipboardHeader(ITableArchive* pArchive);
    int  CheckClipboardHeader(ITableArchive* pArchive);
    void OnRenderFormat(UINT nFormat) override;
    void OnRenderAllFormats() override;
    void OnDestroyClipboard() override;

    // Colour dialogs: each returns 1; cancelling changes nothing.
    virtual int ChooseBackgroundColor();
    virtual int ChooseWindowBackColor();
    virtual int ChooseCellBackColor(int nIndex);
    virtual int ChooseFaceColor();
    virtual int ChooseShadowColor();
    virtual int ChooseCellTextColor(int nIndex);
    virtual int ChooseFrameColor1();        // the framework's frame colours: every grid repaints
    virtual int ChooseFrameColor2();
    virtual int ChooseGridFont();           // the normal font and its bold twin together

    // Row-move tracking: rows of a live sorted view move by bands of pixels.
    // nContentLines: window lines below it are background before and after the move (-1: all).
    void ScrollRowsRegion(int nFirstLine, int nLines, int nMoved, int nContentLines = -1);
    void SmoothScrollLines(int nLines);

    // What the panes read.
    CTableWindowArea& GetFixedPane() { return m_fixedPane; }
    CTableWindowArea& GetScrollPane() { return m_scrollPane; }
    CTableWindowHeaderArea& GetHeaderPane() { return m_headerPane; }
    CTableWindowArea* PaneOfColumn(int nDisplayCol);
    CTableRowCache& GetRowCache() { return m_cache; }
    // The cache over the lines on screen now; its range is set again when a change emptied it.
    CTableRowCache& GetShownRowCache();
    int  GetRowHeight() const { return m_nRowHeight; }
    int  GetTitleHeight() const { return m_nTitleHeight; }
    int  GetDigitWidth(BOOL bBold) const { return bBold ? m_nDigitWidthBold : m_nDigitWidth; }
    int  GetSeparatorWidth(BOOL bBold) const { return bBold ? m_nSepWidthBold : m_nSepWidth; }
    HPEN GetFacePen() const { return m_hFacePen; }
    HPEN GetShadowPen() const { return m_hShadowPen; }
    HBRUSH GetBackgroundBrush() const { return m_hBackBrush; }
    HBRUSH GetCellBackBrush() const { return m_hCellBackBrush; }
    HBRUSH GetDitherBrush() const { return m_hDitherBrush; }
    BOOL IsRedrawLocked() const;        // the window's lock or the view's event suspension
    void LockRedraw() { ++m_nRedrawLock; }
    void UnlockRedraw() { if (m_nRedrawLock > 0) --m_nRedrawLock; }
    BOOL IsMirrored() const;            // columns laid out right to left
    BOOL IsRightToLeft() const;         // right-to-left reading
    BOOL HasFocusOrEditor() const;
    const RECT& GetGridRect() const { return m_rcGrid; }
    const RECT& GetDividerRect() const { return m_rcDivider; }
    int  GetLastPressColumn() const { return m_nPressCol; }

    // Table events of the view.
    void OnRowsAdded(int nFirst, int nIndex) override;
    void OnRowsRemoved(int nIndex, int nLines) override;
    void OnRowChanged(CTableRow* pNode, int nIndex, int nCol) override;
    void OnSettingsSaved(CIni* pLayout, CIni* pDefinition) override;
    void OnSettingsLoaded(CIni* pLayout, CIni* pDefinition) override;
    void OnSortChanging() override;
    void OnSortChanged(CSortColumns* pKeys) override;
    void OnViewDestroyed() override;
    void OnSumModeChanged() override;
    void OnSumModeChanging() override;
    void OnRowMoved(CRowPosition* pOld, int nOldLines, CRowPosition* pNew, int nNewLines) override;
    void OnLoadEnded() override;
    void OnFilterChanged() override;
    void OnRowInserted(CTableRow* pNode, int nIndex, int nCol) override;
    void OnColumnAlignChanged(int nCol, int nAlign) override;
    void OnColumnTitleChanged(int nCol, const CTBString* pTitle, int nLanguage) override;
    void OnColumnHiddenChanged(int nCol, BOOL bHidden) override;
    void OnColumnWidthChanged(int nCol, int nWidth) override;
    void OnColumnAttributeChanged(int nCol, int nDecimals) override;
    void OnFixedColumnsChanged(int nCount) override;
    void OnColumnNumberFormatChanged(int nCol, CTableColumn* pColumn) override;
    void OnShowHeaderChanged(BOOL bShow) override;
    void OnGroupHeaderModeChanged(int nMode) override;
    void OnTotalsModeChanged(int nMode) override;
    void OnTitleChanged(const CTBString* pTitle, int nLanguage) override;
    // Settings events of the framework globals.
    void OnLayoutChanged(int nLanguage) override;
    void OnLanguageChanged(int nLanguage) override;
    void OnFrameColor1Changed(COLORREF crColor) override;
    void OnFrameColor2Changed(COLORREF crColor) override;
    void ToggleSumMode();
    void HideColumn(int nDisplayCol);
    void ShowColumn(int nDisplayCol);

    // Window messages.
    int  OnCreate(LPCREATESTRUCTA pCreate) override;
    void OnDestroy() override;
    void OnClose() override;
    void OnSysCommand(UINT nCommand, LPARAM lParam) override;
    BOOL OnEraseBkgnd(HDC hdc) override;
    void OnPaint() override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnVScroll(UINT nCode, UINT nPos, CTBWnd* pScrollBar) override;
    void OnHScroll(UINT nCode, UINT nPos, CTBWnd* pScrollBar) override;
    void OnMouseWheel(UINT nKeys, short nDelta) override;
    void OnSetFocus(CTBWnd* pOldWnd) override;
    void OnKillFocus(CTBWnd* pNewWnd) override;
    void OnCancelMode() override;
    BOOL OnSetCursor(CTBWnd* pWnd, UINT nHitTest, UINT uMouseMsg) override;
    void OnSysKeyDown(UINT nKey, UINT nRepeat, UINT nFlags) override;
    void OnKeyUp(UINT nKey, UINT nRepeat, UINT nFlags) override;
    void OnLButtonDown(UINT nKeys, int x, int y) override;
    void OnLButtonDblClk(UINT nKeys, int x, int y) override;
    void OnRButtonDown(UINT nKeys, int x, int y) override;
    void OnTimer(UINT_PTR nIdEvent) override;
    void OnInitMenuPopup(HMENU hMenu, UINT nIndex, BOOL bSysMenu) override;
    LRESULT WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    virtual void OnMouseDown(UINT nKeys, int x, int y, BOOL bDoubleClick);
    void OnKeyDown(UINT nKey, UINT nRepeat, UINT nFlags) override;
    void OnMouseMove(UINT nKeys, int x, int y) override;
    void OnLButtonUp(UINT nKeys, int x, int y) override;
    void OnRButtonUp(UINT nKeys, int x, int y) override;

    // The user's row and sort actions, also for the application: the title-click sort cycle
    // (ascending, descending, none) of a display column; a new row at the current line; marking
    // from the current row (Ctrl held unmarks) and its end.
    virtual void SortByColumn(int nDisplayCol);
    void InsertRowAtFocus();
    void BeginMarkFromFocus(BOOL bMark);
    void EndMarkAtFocus(BOOL bCommit);


protected:
    void RecalcLayout(const RECT& rcClient);
    void UpdateVScrollBar(int nLines);
    void MeasureHeights();
    void MeasureDigitWidths();
    void MoveDivider(int nDelta);
    void RepaintRowNow(int nIndex, int nCol, CTableRow* pNode = nullptr);
    int  ChooseColor(COLORREF crStart, COLORREF* pResult);   // 1 on OK
    int  RememberDataRow(int nIndex) const;         // -1 when none within 500 lines
    int  RememberMarkedRow(int nIndex) const;
    // life and appearance
    void UnregisterSinks();
    void ForgetView();                  // after a refused creation: no view, nothing registered
    void DestroyColumnMenu();
    void RepaintAll();
    void AfterColorChange(BOOL bChanged, BOOL bOnlyUnlocked);
    void AfterFontChange();
    static CTBString CustomColorKey(int nIndex);
    void LoadPlacement(const CTBString& strPlacement);
    void LoadContextMenu(CIni& file);
    template <class TSet> int ChooseAndSet(COLORREF crStart, TSet set);
    // layout and column drags
    void StoreColumnWidth(int nDisplayCol, int nWidth);
    // Fitting: the width a cell's or a title's text needs, and a row's cells grown into.
    // A cell's text measures once per pair of fonts; hdc is got and prepared on the first need.
    int  MeasureCellFit(HDC& hdc, CTableRow* pRow, int nCol, const CTableColumn* pColumn, const char* pszText);
    std::pair<int, int> MeasureFitText(HDC& hdc, const char* pszText);
    int  FitOfWidths(CTableRow* pRow, int nCol, const CTableColumn* pColumn, const char* pszText,
                     std::pair<int, int> widths) const;
    // The width a cell needs when that may pass nRoom, -1 when it surely does not: read from its
    // value (pValues, null when no ceiling holds), else from its text, measured only past both.
    int  CellFitPast(HDC& hdc, CTableRow* pRow, const TBCellSlot* pValues, int nCol, const CTableColumn* pColumn,
                     int nRoom);
    struct CFitKnownCode;
    int  CellFitByText(HDC& hdc, CTableRow* pRow, const TBCellSlot* pValues, int nCol, const CTableColumn* pColumn,
                       int nRoom, CFitKnownCode* pCode);
    TBCellSlot* LockCeilingValues(CTableRow* pRow);
    void UnlockCeilingValues(CTableRow* pRow, TBCellSlot* pValues);
    // Without measuring: a width the cell's fit surely does not pass, or -1 when none is known.
    int  CellFitCeiling(CTableRow* pRow, int nCol, const CTableColumn* pColumn, const char* pszText) const;
    // The same read from the cell's value, without formatting it (a number by its sign and its
    // count of digits, a stored text as it stands), or -1 when none is known.
    int  CellValueCeiling(CTableRow* pRow, const TBCellSlot* pValues, int nCol, const CTableColumn* pColumn);
    // A ceiling made once and kept: every cell of that layout reads it.
    int  MakeNumberCeiling(int nType, BOOL bNegative, int nDigits, int nDecimals, BOOL bUnit, const BYTE* pAttrs,
                           const CTableColumn* pColumn);
    int  MakeDateCeiling(int nType, const BYTE* pAttrs, const CTableColumn* pColumn, const char* pszDate,
                         const char* pszTime);
    int  TextFitCeiling(const char* pszText, const BYTE* pAttrs, const CTableColumn* pColumn, BOOL bWidestDigits) const;
    void MeasureFitChars(HDC hdc);
    BOOL FitFontsChanged() const;
    int  MeasureTitleFit(HDC& hdc, int nCol, const CTableColumn* pColumn);
    BOOL GrowColumnsToRows(int nFirst, int nLines, int nCol, CTableRow* pNode = nullptr);
    template <class TLineAt> BOOL GrowColumnsToLines(int nLines, int nCol, BOOL bSumLine, TLineAt&& lineAt);
    BOOL GrowHeldLines();
    BOOL GrowMovedRow(const CRowPosition* pOld, const CRowPosition* pNew, int nNewLines);
    BOOL GrowComputedColumns(int nIndex, CTableRow* pNode);
    void GrowStaleLines(BOOL bLoadEnded);
    BOOL HoldLoadLineFit(CTableRow* pNode, int nNewLines);
    BOOL IsUnitColumn(int nCol) const;  // another column's decimals follow this column's text
    void YieldTextColumns();
    void ApplyFitWidths();
    BOOL m_bFitExact = FALSE;           // the next fit sets the widths, shrinking too (a new view)
    // Rows may hold texts no fit has seen (they came while the window was not told of each):
    // the next refresh reads every row. Otherwise a refresh reads none, as a column's width
    // already holds the widest text written into it.
    BOOL m_bFitUnseen = FALSE;
    BOOL RefitColumns();
    // Texts measured in both fonts (plain, bold), bounded; a live value mostly repeats one.
    std::unordered_map<std::string, std::pair<int, int>> m_fitTexts;
    // Titles' widths in the data font, kept until the font changes: a refresh measures none.
    std::unordered_map<std::string, int> m_fitTitles;
    HFONT m_hFitTitleFont = nullptr;
    HDC   GetFitDC(HDC& hdc);           // the window's prepared DC, got on the first need
    std::vector<char> m_fitText;        // a cell's text, formatted for its check
    char* FitTextBuffer(const CTableColumn* pColumn);
    // The characters of plain texts, each as wide as the wider font makes it, in 1/128 pixel
    // and a little over: most values need no measuring. 0 for the others.
    int   m_fitChars[128] = {};
    HFONT m_hFitFonts[2] = {nullptr, nullptr};
    BOOL  m_bFitFontsMeasured = FALSE;
    BOOL  m_bFitCeilingHolds = TRUE;    // FALSE once a number measured past its ceiling
    char  m_chWidestDigit[2] = {'0', '0'};  // in the data font and the bold font
    int   MeasuredNumberCeiling(const CNumberStyle& style, BOOL bNegative, int nWhole, int nFractionDigits, int nLeastKept,
                                int nDecimals, const CTableColumn* pColumn, const BYTE* pAttrs, int nCounted);
    // Per column, a number's ceiling by fraction mark, sign and count of whole digits, read from
    // the widest text of that many digits; valid while the format's settings stay those kept.
    static constexpr int FIT_NUMBER_DIGITS = 20;
    static constexpr size_t FIT_KNOWN_TEXTS = 8;
    struct CFitKnownText
    {
        std::string strText;
        std::pair<int, int> widths;
    };
    static constexpr size_t FIT_KNOWN_CODES = 64;
    struct CFitKnownCode
    {
        int nCode;
        int nMost;      // the most its text needs, -1 not yet known
        BOOL bExact;    // nMost measured, not a ceiling
    };
    CFitKnownCode* KnownCodeOf(CTableRow* pRow, const TBCellSlot* pValues, int nCol, const CTableColumn* pColumn);
    struct CFitNumberBound
    {
        int nType = 0, nDecimals[2] = {0, 0};
        BOOL bGroup = FALSE;
        char chDecimal = 0, chThousands = 0;
        int nCeiling[2][2][FIT_NUMBER_DIGITS];    // -2 not yet made, -1 none
        // An amount in its row's unit: by the unit's decimals and the fraction mark, its ceilings
        // by sign and count of whole digits.
        std::vector<std::pair<int, std::array<int, 2 * FIT_NUMBER_DIGITS>>> units;
        // A unit's ceilings by its key (its decimals twice, and the fraction mark), null before made.
        int* UnitCeilings(int nKey)
        {
            for (auto& unit : units)
                if (unit.first == nKey)
                    return unit.second.data();
            return nullptr;
        }
        // A date's or a time's: its patterns' widest text, by fraction mark.
        std::string strDatePattern, strTimePattern;
        int nDateCeiling[2] = {-2, -2};
        // The texts measured last in the column, with their widths in the two fonts.
        std::vector<CFitKnownText> known;
        size_t nNextKnown = 0;
        // A code table's column: what each code's text needs, while the code tables stand.
        unsigned nCodeStamp = ~0u;
        TBCOLUMNFORMAT pfnCodeFormat = nullptr;
        BOOL bCodeText = FALSE;
        std::vector<CFitKnownCode> codes;
    };
    std::vector<CFitNumberBound> m_fitNumbers;
    // Every cell of a fit asks: the vector grows to the view's columns once.
    CFitNumberBound& FitBoundOf(int nCol)
    {
        return static_cast<size_t>(nCol) < m_fitNumbers.size() ? m_fitNumbers[static_cast<size_t>(nCol)] : GrowFitBounds(nCol);
    }
    CFitNumberBound& GrowFitBounds(int nCol);
    // The fitted columns a fit reads, in display order, gathered once per fit.
    // A fit of many lines passes a data row's cell within what its column keeps of it (a
    // number's ceiling by its digits, a date's, a code's text, a text's characters) by a lookup:
    // what holds for every line is checked once, for the bounds of one generation.
    enum { FIT_FAST_NONE, FIT_FAST_NUMBER, FIT_FAST_DATE, FIT_FAST_CODE, FIT_FAST_TEXT };
    struct CFitColumn
    {
        int nPos;
        int nCol;
        CTableColumn* pColumn;
        int nFast = FIT_FAST_NONE;
        int nType = 0;
        int nDateCeiling = -1;
        BOOL bUnit = FALSE, bBlankZero = FALSE;
        unsigned nGeneration = 0;
    };
    static constexpr int FIT_BATCH_LINES = 8;
    std::vector<CFitColumn> m_fitColumns;
    unsigned m_nFitGeneration = 0;      // counts the times the kept bounds were let go
    void PrepareBatchFit(CFitColumn& fit);
    BOOL FitsAtOnce(CFitColumn& fit, CTableRow* pRow, const TBCellSlot* pValues, int nRoom);
    void KeepFitBoundFormat(CFitNumberBound& bound, int nType, const CTableColumn* pColumn);
    BOOL IsKnownCodeColumn(int nCol, const CTableColumn* pColumn);
    int  DateFitCeiling(CFitNumberBound& bound, int nType, const BYTE* pAttrs, const CTableColumn* pColumn);
    void TakeFocusFromEditor();
    void TrackBandToColumn();
    void InvertTrack(const RECT& rc, BOOL bInset);
    int  DropTest(POINT pt, int* pTarget) const;
    void LayoutPanes(const RECT& rcClient);
    BOOL m_bInLayout = FALSE;
    BOOL m_bWidthsRefitted = FALSE;   // the panes lay out again even in unchanged rectangles
    BOOL m_bVBarStale = FALSE;        // rows a load brought are not in the scroll bar yet
    BOOL m_bFitTotalStale = FALSE;    // the total line a load changed is not read for the fit yet
    // A load's lines counted until they are many; then its rows are held, by their blocks, and
    // read for the fit a batch at a time.
    int  m_nFitLoadLines = 0;
    BOOL m_bFitLoadDeferred = FALSE;
    BOOL m_bFitPaintsLater = FALSE;
    std::vector<const TBCellSlot*> m_fitHeld;
    std::vector<CTableRow*> m_fitHeldNodes;
    static constexpr int FIT_DEFER_LINES = 256;
    static constexpr size_t FIT_HELD_LINES = 256;
    CTableWindowArea* m_pPendingBarPane = nullptr;  // its bar came or went during a layout
    BOOL m_bPendingBarShown = FALSE;
    // row moves
    RECT GetRowsRect() const;
    void PaintStripNow(const RECT& rcStrip);

    int    m_nRedrawLock = 0;
    HMENU  m_hContextMenu = nullptr;    // owned
    HMENU  m_hColumnMenu = nullptr;     // owned, built on demand
    CViewTable* m_pView = nullptr;      // not owned
    CTableWindowArea m_fixedPane;
    CTableWindowArea m_scrollPane;      // owns the grid's horizontal scroll bar
    CTableWindowHeaderArea m_headerPane;
    UINT   m_uClipFormat = 0;
    CTBString m_strClipFile;
    BOOL   m_bFocusDrawn = FALSE;
    int    m_nTopRow = 0;
    CTBScrollBar m_vScrollBar;
    CTBScrollBar m_sizeBox;
    BOOL   m_bVBarShown = FALSE;
    BOOL   m_bScrollGesture = FALSE;
    BOOL   m_bThumbAtEnd = FALSE;
    int    m_nSumSavedTop = 0;          // kept across a sum-mode change
    int    m_nSumSavedOffset = -3;
    CTableEdit m_editor;
    int    m_nEditType = -1;
    int    m_nEditDecimals = 0;
    BOOL   m_bEditTypeSet = FALSE;
    int    m_nEditorCol = -1;           // display column where the editor was last opened
    int    m_nEditedCol = -1;           // display column of the open edit, -1 = none
    BOOL   m_bEditChanged = FALSE;
    int    m_nStickyRow = -1;           // sticky edit cell: offset and display column
    int    m_nStickyCol = -1;
    int    m_nCurrentOffset = 0;
    BOOL   m_bParked = FALSE;
    int    m_nSavedOffset = -3;
    BOOL   m_bEditorWasOpen = FALSE;
    CTableRow* m_pSortRow = nullptr;    // remembered across a re-sort
    BOOL   m_bSortOnLastRow = FALSE;
    int    m_nSortOffset = -3;
    // Column drags.
    BOOL   m_bResizing = FALSE;
    BOOL   m_bMoving = FALSE;
    int    m_nDragMinX = 0;
    int    m_nDragMaxX = 0;
    RECT   m_rcTrack = {0, 0, 0, 0};
    int    m_nDragCol = -1;
    int    m_nAnchorX = 0;
    int    m_nDropTarget = -1;
    int    m_nDropCode = 0;
    int    m_nPointerOffset = 0;
    BOOL   m_bTrackDrawn = FALSE;
    BOOL   m_bMoveDrawn = FALSE;
    UINT_PTR m_nAutoTimer = 0;
    HCURSOR m_hCursors[5] = {};         // resources 101..105, owned
    BOOL   m_bCursorSet = FALSE;
    // The last press and the last pointer position.
    int    m_nPressRow = -3;
    int    m_nPressCol = -1;
    int    m_nPressZone = 0;
    POINT  m_ptPress = {-1, -1};
    HWND   m_hCellTip = nullptr;        // owned: destroyed with the grid
    int    m_nTipLine = -1;
    int    m_nTipCol = -1;
    POINT  m_ptLast = {-1, -1};
    int    m_nLastZone = 0;
    int    m_nLastCol = -1;
    int    m_nNotifiedRow = -1;         // view index last told to the sinks
    int    m_nRowHeight = 20;
    int    m_nTitleHeight = 20;
    RECT   m_rcGrid = {0, 0, 0, 0};
    RECT   m_rcHeader = {0, 0, 0, 0};
    RECT   m_rcFixed = {0, 0, 0, 0};
    RECT   m_rcScroll = {0, 0, 0, 0};
    RECT   m_rcPanes = {0, 0, 0, 0};
    RECT   m_rcDivider = {0, 0, 0, 0};
    int    m_nDigitWidth = 8;
    int    m_nSepWidth = 4;
    int    m_nDigitWidthBold = 8;
    int    m_nSepWidthBold = 4;
    std::vector<int> m_widths;          // current width per display column, 0 = hidden
    HPEN   m_hFacePen = nullptr;        // drawing objects, owned
    HPEN   m_hShadowPen = nullptr;
    HBRUSH m_hBackBrush = nullptr;
    HBRUSH m_hCellBackBrush = nullptr;
    HBRUSH m_hDitherBrush = nullptr;
    COLORREF m_crCustom[16] = {};
    int    m_nStoredX = CW_USEDEFAULT;  // placement, CW_USEDEFAULT until known
    int    m_nStoredY = CW_USEDEFAULT;
    int    m_nStoredWidth = CW_USEDEFAULT;
    int    m_nStoredHeight = CW_USEDEFAULT;
    CTableRowCache m_cache;
    // The row header a live change painted last, and the header pane's paint count after it.
    struct HeaderPainted {
        const CTableRow* pNode = nullptr;
        int nLine = -1;
        int nTopRow = -1;
        int64_t nStamp = 0;
        int nPaints = -1;
    } m_header;
    int    m_nLastLineCount = -1;       // line count at the last row move
    // current row and editing
    BOOL IsCellEditable(int nRow, int nDisplayCol);
    BOOL ViewAllowsInsert() const;
    BOOL ViewAllowsDelete() const;
    void DrawFocusFrames(int nOffset);
    void EraseFocusFrames();
    void SetEditorText(const CTBString& strText);
    BOOL ResolveCurrentEditCell(CViewRow* pRow, int* pCol);
    void OfferEditText(BOOL bBegin);
    BOOL m_bSettingEditText = FALSE;    // the grid's own text change, not the user's
    // view reactions
    CTableRow* m_pSumRowNode = nullptr; // remembered across a sum-mode change
    // keyboard and mouse
    static BOOL IsKeyHeld(int nVirtKey);            // asynchronous: the key as it is now
    int  LastShownLine() const;                     // negative when no row shows
    BOOL DoMoveKey(UINT nKey, BOOL bShift, BOOL bCtrl);
    void MoveFocusByKey(int nMove);
    BOOL DoEditKey(UINT nKey, BOOL bShift, BOOL bCtrl);
    // Whether the grid acts on the key with these modifiers, or could: FALSE for Ctrl with a
    // key of none of its tables, and for the function keys.
    static BOOL IsOwnKey(UINT nKey, BOOL bShift, BOOL bCtrl);
    void RunClipboardKey(UINT nId, BOOL bPossible, BOOL bUnchecked);
    void ToggleMarkAtFocus();
    BOOL HasEditableColumn() const;
    void MoveToEditableCell(int nStep);
    void HitTestCell(POINT pt, int* pRow, int* pCol, int* pZone) const;
    // The whole text of a cut cell, in a tip by the pointer while it rests on that cell.
    void UpdateCellTip(int nLine, int nDisplayCol, POINT pt);
    void HideCellTip();
    BOOL IsOnPressedCell(int nRow, int nCol, int nZone) const;
    BOOL IsInRowHeaders(POINT pt) const;
    BOOL IsOnCorner(POINT pt) const;
    int  AutoScrollLineAt(POINT pt, int nRow);
    void PopUpContextMenu(POINT pt);
    UINT PopupFlags() const;
    // clipboard and commands
    HANDLE RenderText();
    HANDLE RenderPath();
    void   DeleteClipboardFile();
    void   LeaveClipboardAsText();
    BOOL   IsMenuItemChecked(UINT nId) const;
    void   SetMenuStates(HMENU hMenu);
    void   ShowColumnFromMenu(int nDisplayCol);
    int    m_nMenuColumn = -2;          // display column the context menu opened on; -1 row header, -2 none

    // Panes: a pane stores its columns' widths through StoreColumnWidth.
    friend class CTableWindowArea;
};

// The grid as a control of a dialog template: it owns itself and wants every key.
class CTableWindowCtl : public CTableWindow
{
public:
    UINT OnGetDlgCode() override;
    void PostNcDestroy() override;
};

// Registers "NorvTableWindowCtl" (application start-up) with its column titles' translator for
// the dictionaries; FALSE when registration fails.
BOOL RegisterTableWindowCtlClass();
// The translator registered for "NorvTableWindowCtl": the grid's column titles.
void TranslateGridControl(HWND hWnd, CDictionary& dictionary, int nDirection);
