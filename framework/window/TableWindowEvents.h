#pragma once
// What a grid window tells the objects that care about it: the current row, marks, keys, clicks,
// in-place edits, menu commands, inserts, sorts and its own end.
#include "framework/base/EventSource.h"
#include "framework/base/TBString.h"

class CViewRow;
class CSortColumns;
class CTableWindow;

// Handlers keep their slot order; each does nothing unless overridden, so a sink overrides only
// what it needs. A row cursor is valid only during the call; a null or empty one means no row.
// Column indexes are the view's column indexes (not display positions), -1 = no column.
class CTableWindowEventSink : public CEventSink
{
public:
    virtual void OnCurrentRowChanged(CViewRow* pRow) { (void)pRow; }
    virtual void OnRowMarked(CViewRow* pRow, BOOL bMark) { (void)pRow; (void)bMark; }
    // A marking drag over several view rows ended.
    virtual void OnRowsSelected(int nFirst, int nLast, BOOL bMark) { (void)nFirst; (void)nLast; (void)bMark; }
    virtual void OnKeyDown(UINT nKey, UINT nRepeat, UINT nFlags) { (void)nKey; (void)nRepeat; (void)nFlags; }
    virtual void OnKeyUp(UINT nKey, UINT nRepeat, UINT nFlags) { (void)nKey; (void)nRepeat; (void)nFlags; }
    // The grid sets *pnHandled to 0 before the fire; a sink that sets it non-zero stops the grid's
    // own action (sort, sum-mode toggle, dialogs, context menu). A title has no row, a row
    // header column -1.
    virtual void OnCellClick(CViewRow* pRow, int nCol, int* pnHandled) { (void)pRow; (void)nCol; (void)pnHandled; }
    virtual void OnCellRightClick(CViewRow* pRow, int nCol, int* pnHandled) { (void)pRow; (void)nCol; (void)pnHandled; }
    virtual void OnDoubleClick(CViewRow* pRow, int nCol) { (void)pRow; (void)nCol; }
    // The in-place editor's text, in and out: what a sink leaves in it is what the editor shows
    // (begin, change) or what is written into the view (end).
    virtual void OnBeginEdit(CViewRow* pRow, int nCol, CTBString* pText) { (void)pRow; (void)nCol; (void)pText; }
    virtual void OnEditChange(CViewRow* pRow, int nCol, CTBString* pText) { (void)pRow; (void)nCol; (void)pText; }
    virtual void OnEndEdit(CViewRow* pRow, int nCol, CTBString* pText) { (void)pRow; (void)nCol; (void)pText; }
    // A command of the owner's range (26000 to 26999) chosen in the grid's menus.
    virtual void OnCommand(UINT nId) { (void)nId; }
    // Before the grid inserts a new row at nPos: the sinks fill the row's values.
    virtual void OnInsertRow(int nPos, CViewRow* pRow) { (void)nPos; (void)pRow; }
    virtual void OnSortChanging(const CSortColumns* pNewKeys, const CSortColumns* pOldKeys)
    {
        (void)pNewKeys; (void)pOldKeys;
    }
    // The window is being destroyed: after this call the sink must not use it.
    virtual void OnWindowDestroyed(CTableWindow* pWindow) { (void)pWindow; }
    virtual void OnSpare15(int nValue) { (void)nValue; }   // never fired

protected:
    ~CTableWindowEventSink() = default;   // destroyed through the object that implements it
};

// The grid window's sinks. A sink is registered once (a second AddSink of it is refused); fires
// call the sinks in registration order, all but the one whose id is the sender's.
class CTableWindowEventSource : public CEventSourceT<CTableWindowEventSink>
{
public:
    void FireCurrentRowChanged(CViewRow* pRow, int nSender = NO_SENDER)
    { Fire(nSender, &CTableWindowEventSink::OnCurrentRowChanged, pRow); }
    void FireRowMarked(CViewRow* pRow, BOOL bMark, int nSender = NO_SENDER)
    { Fire(nSender, &CTableWindowEventSink::OnRowMarked, pRow, bMark); }
    void FireRowsSelected(int nFirst, int nLast, BOOL bMark, int nSender = NO_SENDER)
    { Fire(nSender, &CTableWindowEventSink::OnRowsSelected, nFirst, nLast, bMark); }
    void FireKeyDown(UINT nKey, UINT nRepeat, UINT nFlags, int nSender = NO_SENDER)
    { Fire(nSender, &CTableWindowEventSink::OnKeyDown, nKey, nRepeat, nFlags); }
    void FireKeyUp(UINT nKey, UINT nRepeat, UINT nFlags, int nSender = NO_SENDER)
    { Fire(nSender, &CTableWindowEventSink::OnKeyUp, nKey, nRepeat, nFlags); }
    void FireCellClick(CViewRow* pRow, int nCol, int* pnHandled, int nSender = NO_SENDER)
    { Fire(nSender, &CTableWindowEventSink::OnCellClick, pRow, nCol, pnHandled); }
    void FireCellRightClick(CViewRow* pRow, int nCol, int* pnHandled, int nSender = NO_SENDER)
    { Fire(nSender, &CTableWindowEventSink::OnCellRightClick, pRow, nCol, pnHandled); }
    void FireDoubleClick(CViewRow* pRow, int nCol, int nSender = NO_SENDER)
    { Fire(nSender, &CTableWindowEventSink::OnDoubleClick, pRow, nCol); }
    void FireBeginEdit(CViewRow* pRow, int nCol, CTBString* pText, int nSender = NO_SENDER)
    { Fire(nSender, &CTableWindowEventSink::OnBeginEdit, pRow, nCol, pText); }
    void FireEditChange(CViewRow* pRow, int nCol, CTBString* pText, int nSender = NO_SENDER)
    { Fire(nSender, &CTableWindowEventSink::OnEditChange, pRow, nCol, pText); }
    void FireEndEdit(CViewRow* pRow, int nCol, CTBString* pText, int nSender = NO_SENDER)
    { Fire(nSender, &CTableWindowEventSink::OnEndEdit, pRow, nCol, pText); }
    void FireCommand(UINT nId, int nSender = NO_SENDER) { Fire(nSender, &CTableWindowEventSink::OnCommand, nId); }
    void FireInsertRow(int nPos, CViewRow* pRow, int nSender = NO_SENDER)
    { Fire(nSender, &CTableWindowEventSink::OnInsertRow, nPos, pRow); }
    void FireSortChanging(const CSortColumns* pNewKeys, const CSortColumns* pOldKeys, int nSender = NO_SENDER)
    { Fire(nSender, &CTableWindowEventSink::OnSortChanging, pNewKeys, pOldKeys); }
    void FireWindowDestroyed(CTableWindow* pWindow, int nSender = NO_SENDER)
    { Fire(nSender, &CTableWindowEventSink::OnWindowDestroyed, pWindow); }
};
