#pragma once
// The information table as the application sees it. The market layer makes it (the maker of
// its name id, app/TableFactory.h); the application reaches it through this interface and gives
// it what it needs of the application through IInfoTableHost.
#include "framework/base/InfoWindow.h"
#include "platform/mfc/String.h"

#include <vector>

struct IDataTable;
class CTickerWnd;

// Columns of a line.
#define INFO_COL_NUMBER 0
#define INFO_COL_TIME   1
#define INFO_COL_TEXT   2

// Indicator states: idle, then blinking between the two while lines wait unseen.
#define INFO_INDICATOR_IDLE    0
#define INFO_INDICATOR_CLICKED 1
#define INFO_INDICATOR_NEW     2
#define INFO_INDICATOR_BLINK   3

// A line as the window shows it; a time the message brought along is coloured.
struct INFO_LINE
{
    CString strTime;
    CString strText;
    BOOL bTimeColored = FALSE;
    // The machine's time of day (seconds) of a line stamped before the clock the log keeps was
    // known, which tells its time again then; -1 for a line whose time stands.
    int nMachineSeconds = -1;
};

struct IInfoTable : IInfoWindow
{
    virtual IDataTable* GetDataTable() = 0;
    // The window is the active MDI child and not minimised.
    virtual BOOL IsWindowOpen() const = 0;
    // Shown normal and activated.
    virtual void ShowWindow() = 0;
    // On top of the other windows, not moved, sized or activated.
    virtual void BringWindowToTop() = 0;
    // Removes every line; numbering starts again at 1.
    virtual void RemoveAllRows() = 0;
    virtual int GetLineCount() const = 0;
    // The text of a cell of a line by arrival (0 = the first kept); empty outside.
    virtual CString GetLineCell(int nLine, int nCol) const = 0;
    // Every line, and lines of another table added as they were (numbered on from here).
    virtual std::vector<INFO_LINE> GetLines() const = 0;
    virtual void AddLines(const std::vector<INFO_LINE>& lines) = 0;
    // The docked tickers stacked at the bottom of the window's client area, the first at the
    // very bottom; cx and cy of 0 or more stand for the area's right and bottom.
    virtual void ArrangeTickers(int cx, int cy) = 0;
    // The grid fitted above the docked tickers, and the tickers stacked again.
    virtual void ResizeTableWindow() = 0;
    // The window the docked tickers are children of; null without a window.
    virtual HWND GetTickerParent() const = 0;
};

// What the information table needs of the application.
struct IInfoTableHost
{
    virtual ~IInfoTableHost() = default;
    virtual void SetIndicatorState(int nState) = 0;
    // The window is the active MDI child.
    virtual BOOL IsActiveChild(HWND hWnd) const = 0;
    virtual void BringInfoWindowToTop(int nPriority) = 0;
    // The server's text of an error code.
    virtual CString GetErrorText(long nCode) = 0;
    // A message box captioned with the application's title; MB_ flags.
    virtual void ShowMessageBox(LPCSTR pszText, UINT nFlags) = 0;
    // The hello said this version is outdated (1) or may no longer connect (2): the version
    // dialog with the server's text; for 2 the link is closed first.
    virtual void OnVersionStatus(int nStatus, LPCSTR pszText) = 0;
    // The application's docked ticker windows, in the order of its tickers.
    virtual std::vector<CTickerWnd*> GetDockedTickers() const { return {}; }
};
