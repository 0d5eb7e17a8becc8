#pragma once
#include "framework/base/EventSource.h"
#include "framework/base/TBString.h"

class CTableRow;
class CTableColumn;
class CSortColumns;
class CViewRow;
class CIni;
struct CRowPosition;

// What a table view tells the windows that show it. Handlers keep their slot order; each does
// nothing unless overridden, so a sink overrides only what it needs.
class CTableEventSink : public CEventSink
{
public:
    virtual void OnRowsAdded(int nFirst, int nIndex) { (void)nFirst; (void)nIndex; }   // never fired
    virtual void OnRowsRemoved(int nIndex, int nLines) { (void)nIndex; (void)nLines; }
    // A load of rows (a reply) ended: rows it brought may still wait to be painted.
    virtual void OnLoadEnded() {}
    virtual void OnSpare3() {}
    // pNode null = the line at nIndex; nCol -1 = the whole row.
    virtual void OnRowChanged(CTableRow* pNode, int nIndex, int nCol) { (void)pNode; (void)nIndex; (void)nCol; }
    virtual void OnSettingsSaved(CIni* pLayout, CIni* pDefinition) { (void)pLayout; (void)pDefinition; }
    virtual void OnSettingsLoaded(CIni* pLayout, CIni* pDefinition) { (void)pLayout; (void)pDefinition; }
    virtual void OnSortChanging() {}
    virtual void OnSortChanged(CSortColumns* pKeys) { (void)pKeys; }
    // The view is going: drop every pointer to it (and remove the sink).
    virtual void OnViewDestroyed() {}
    virtual void OnSumModeChanged() {}
    virtual void OnSumModeChanging() {}
    // A row with its extra lines left its old place and took a new one; nOldLines 0 = inserted.
    virtual void OnRowMoved(CRowPosition* pOld, int nOldLines, CRowPosition* pNew, int nNewLines)
    {
        (void)pOld; (void)nOldLines; (void)pNew; (void)nNewLines;
    }
    virtual void OnRowAlert(CViewRow* pRow, BOOL* pbHandled) { (void)pRow; (void)pbHandled; }
    // The rows that pass the filters were recomputed: rebuild the display.
    virtual void OnFilterChanged() {}
    virtual void OnRowInserted(CTableRow* pNode, int nIndex, int nCol) { (void)pNode; (void)nIndex; (void)nCol; }
    virtual void OnColumnAlignChanged(int nCol, int nAlign) { (void)nCol; (void)nAlign; }
    virtual void OnColumnTitleChanged(int nCol, const CTBString* pTitle, int nLanguage) { (void)nCol; (void)pTitle; (void)nLanguage; }
    // nCol -1 = every column that is not permanently hidden.
    virtual void OnColumnHiddenChanged(int nCol, BOOL bHidden) { (void)nCol; (void)bHidden; }
    virtual void OnColumnWidthChanged(int nCol, int nWidth) { (void)nCol; (void)nWidth; }
    virtual void OnColumnAttributeChanged(int nCol, int nDecimals) { (void)nCol; (void)nDecimals; }
    virtual void OnFixedColumnsChanged(int nCount) { (void)nCount; }
    virtual void OnColumnNumberFormatChanged(int nCol, CTableColumn* pColumn) { (void)nCol; (void)pColumn; }
    virtual void OnShowHeaderChanged(BOOL bShow) { (void)bShow; }
    virtual void OnAllowFixedColumnsChanged(BOOL bAllow) { (void)bAllow; }
    virtual void OnGroupHeaderModeChanged(int nMode) { (void)nMode; }
    virtual void OnTotalsModeChanged(int nMode) { (void)nMode; }
    virtual void OnTitleChanged(const CTBString* pTitle, int nLanguage) { (void)pTitle; (void)nLanguage; }
    virtual void OnMemoryLow(int nPercent) { (void)nPercent; }
    virtual void OnSpare29(int nValue) { (void)nValue; }

protected:
    ~CTableEventSink() = default;   // destroyed through the object that implements it
};

// One per view. Every fire of the engine uses NO_SENDER, so every sink hears it in order.
class CTableEventSource : public CEventSourceT<CTableEventSink>
{
public:
    void FireRowsRemoved(int nIndex, int nLines, int nSender = NO_SENDER)
    { Fire(nSender, &CTableEventSink::OnRowsRemoved, nIndex, nLines); }
    void FireRowChanged(CTableRow* pNode, int nIndex, int nCol, int nSender = NO_SENDER)
    { Fire(nSender, &CTableEventSink::OnRowChanged, pNode, nIndex, nCol); }
    void FireSettingsSaved(CIni* pLayout, CIni* pDefinition, int nSender = NO_SENDER)
    { Fire(nSender, &CTableEventSink::OnSettingsSaved, pLayout, pDefinition); }
    void FireSettingsLoaded(CIni* pLayout, CIni* pDefinition, int nSender = NO_SENDER)
    { Fire(nSender, &CTableEventSink::OnSettingsLoaded, pLayout, pDefinition); }
    void FireSortChanging(int nSender = NO_SENDER) { Fire(nSender, &CTableEventSink::OnSortChanging); }
    void FireSortChanged(CSortColumns* pKeys, int nSender = NO_SENDER)
    { Fire(nSender, &CTableEventSink::OnSortChanged, pKeys); }
    void FireViewDestroyed(int nSender = NO_SENDER) { Fire(nSender, &CTableEventSink::OnViewDestroyed); }
    void FireSumModeChanged(int nSender = NO_SENDER) { Fire(nSender, &CTableEventSink::OnSumModeChanged); }
    void FireSumModeChanging(int nSender = NO_SENDER) { Fire(nSender, &CTableEventSink::OnSumModeChanging); }
    void FireRowMoved(CRowPosition* pOld, int nOldLines, CRowPosition* pNew, int nNewLines, int nSender = NO_SENDER)
    { Fire(nSender, &CTableEventSink::OnRowMoved, pOld, nOldLines, pNew, nNewLines); }
    void FireRowAlert(CViewRow* pRow, BOOL* pbHandled, int nSender = NO_SENDER)
    { Fire(nSender, &CTableEventSink::OnRowAlert, pRow, pbHandled); }
    void FireFilterChanged(int nSender = NO_SENDER) { Fire(nSender, &CTableEventSink::OnFilterChanged); }
    void FireLoadEnded(int nSender = NO_SENDER) { Fire(nSender, &CTableEventSink::OnLoadEnded); }
    void FireRowInserted(CTableRow* pNode, int nIndex, int nCol, int nSender = NO_SENDER)
    { Fire(nSender, &CTableEventSink::OnRowInserted, pNode, nIndex, nCol); }
    void FireColumnAlignChanged(int nCol, int nAlign, int nSender = NO_SENDER)
    { Fire(nSender, &CTableEventSink::OnColumnAlignChanged, nCol, nAlign); }
    void FireColumnTitleChanged(int nCol, const CTBString* pTitle, int nLanguage, int nSender = NO_SENDER)
    { Fire(nSender, &CTableEventSink::OnColumnTitleChanged, nCol, pTitle, nLanguage); }
    void FireColumnsHiddenChanged(int nCol, BOOL bHidden, int nSender = NO_SENDER)
    { Fire(nSender, &CTableEventSink::OnColumnHiddenChanged, nCol, bHidden); }
    void FireColumnWidthChanged(int nCol, int nWidth, int nSender = NO_SENDER)
    { Fire(nSender, &CTableEventSink::OnColumnWidthChanged, nCol, nWidth); }
    void FireColumnAttributeChanged(int nCol, int nDecimals, int nSender = NO_SENDER)
    { Fire(nSender, &CTableEventSink::OnColumnAttributeChanged, nCol, nDecimals); }
    void FireFixedColumnsChanged(int nCount, int nSender = NO_SENDER)
    { Fire(nSender, &CTableEventSink::OnFixedColumnsChanged, nCount); }
    void FireColumnNumberFormatChanged(int nCol, CTableColumn* pColumn, int nSender = NO_SENDER)
    { Fire(nSender, &CTableEventSink::OnColumnNumberFormatChanged, nCol, pColumn); }
    void FireShowHeaderChanged(BOOL bShow, int nSender = NO_SENDER)
    { Fire(nSender, &CTableEventSink::OnShowHeaderChanged, bShow); }
    void FireAllowFixedColumnsChanged(BOOL bAllow, int nSender = NO_SENDER)
    { Fire(nSender, &CTableEventSink::OnAllowFixedColumnsChanged, bAllow); }
    void FireGroupHeaderModeChanged(int nMode, int nSender = NO_SENDER)
    { Fire(nSender, &CTableEventSink::OnGroupHeaderModeChanged, nMode); }
    void FireTotalsModeChanged(int nMode, int nSender = NO_SENDER)
    { Fire(nSender, &CTableEventSink::OnTotalsModeChanged, nMode); }
    void FireTitleChanged(const CTBString* pTitle, int nLanguage, int nSender = NO_SENDER)
    { Fire(nSender, &CTableEventSink::OnTitleChanged, pTitle, nLanguage); }
    void FireMemoryLow(int nPercent, int nSender = NO_SENDER) { Fire(nSender, &CTableEventSink::OnMemoryLow, nPercent); }
};
