#pragma once
// What a table MDI window and the application's table map need of a server-fed table: its name,
// its engine table, its windows (close, a further one, the one on a view), its context menu and
// its commands, saving its layout, and what the session, the openers and the commands ask of it
// (its requests, its subscriptions). CMDITable implements the window side; the operations only
// some tables have answer with a default here, so that a table without them need not say so.
#include "platform/mfc/CmdTarget.h"
#include "platform/mfc/String.h"

class CTable;
class CViewTable;
class CTableMDIWnd;

#define MAX_TABLE_WINDOWS 4             // windows one table may show, whatever a workspace asks

struct IDataTable
{
    virtual ~IDataTable() = default;

    // The name the table map knows it by (the text of its name string id).
    virtual CString GetName() const = 0;
    // The string id the name came from; the table map finds a table by it without loading text.
    virtual UINT GetNameId() const = 0;
    virtual CTable* GetTable() = 0;
    // The settings section of a view's window: the view's name ("name", "name:2", ...).
    virtual CString GetSectionName(const CViewTable* pView) const = 0;

    // Windows. The main window is the one on the first view; null while none exists.
    virtual CTableMDIWnd* GetMainWindow() const = 0;
    virtual int GetWindowCount() const = 0;
    virtual BOOL CanOpenNewWindow() const = 0;
    // A further window on a view of its own; null when the table refuses one.
    virtual CTableMDIWnd* OpenWindow(BOOL bActivate) = 0;
    // The user closes a window: the last one is hidden (or minimised), the others destroyed.
    virtual void CloseWindow(CTableMDIWnd* pWindow) = 0;
    virtual void CloseAllWindows() = 0;
    // A window is being destroyed; the table forgets it.
    virtual void RemoveWindow(CTableMDIWnd* pWindow) = 0;
    virtual CTableMDIWnd* FindWindowByView(int nViewIndex) const = 0;
    virtual void OnWindowSize(CTableMDIWnd* pWindow, UINT nType, int cx, int cy) = 0;
    // Every window's fonts in the character set; FALSE when one refused.
    virtual BOOL SetWindowsCharset(BYTE nCharset) = 0;

    // The context menu of its windows (a fresh menu the caller owns; null for none), and the
    // commands its windows do not handle themselves.
    virtual HMENU CreateContextMenu() = 0;
    virtual BOOL OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) = 0;
    // A menu of a window is about to show, its commands' states set: the table enables or
    // removes the items that depend on the selected row.
    virtual void OnInitMenuPopup(HMENU hMenu, UINT nIndex, BOOL bSysMenu) = 0;

    // Workspace: each window saves its layout; hidden windows reload theirs.
    virtual void SaveSettings() = 0;
    // A window has read its layout from the workspace.
    virtual void OnLayoutLoaded(CTableMDIWnd* pWindow) = 0;
    // A window has written its layout into the workspace; the table may add what is its own.
    virtual void OnLayoutSaved(CTableMDIWnd* /*pWindow*/) {}
    virtual void ReloadHiddenWindows() = 0;
    // The table's log-file setting read again from the current settings section (the caller
    // selects the table's own).
    virtual void ReloadLogSetting() {}
    // Tear-down before the table is deleted: windows destroyed, sinks removed.
    virtual void Destroy() = 0;

    // Requests. SendRequest: the table's own request, as the session and the openers send it
    // again (its body the table's business). SendRequestFor: the request of a table that takes
    // an argument (an account kind, a page) and a text (an account, a symbol). FALSE when the
    // table has no such request or nothing was sent.
    virtual BOOL SendRequest() { return FALSE; }
    virtual BOOL SendRequestFor(long /*nArgument*/, LPCSTR /*pszText*/) { return FALSE; }
    // The live subscriptions of every row the table shows, sent again (after a login).
    virtual void ResubscribeAll() {}
    // Only the rows of one market shown; 0 shows every market.
    virtual void FilterByMarket(long /*nMarketCode*/) {}
    // The columns a table shows only on its own command hidden or shown again.
    virtual void SetColumnsHidden(BOOL /*bHidden*/) {}

    // Valuation from live quotes, asked by the quotation tables once they have stored a quote
    // and by the preferences: the rows of one symbol on one market take the quotation's price;
    // every amount converted again into the base currency.
    virtual void RevalueSymbol(LPCSTR /*pszSymbol*/, long /*nMarketCode*/) {}
    virtual void ConvertToBaseCurrency() {}
    // The symbol lists are all in: the rows that name a company from them and came before them
    // take its name.
    virtual void NameCompanies() {}
};
