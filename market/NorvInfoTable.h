#pragma once
// The framework's table of numbered message lines: the user's running log of notices and errors.
// Three columns (hidden line number, time, text), one window that minimises when it is closed,
// lines that stay as long as the table does. The message column keeps the width of the widest
// line seen, measured as each line arrives, so a line costs the same at any length of the log.
#include <functional>
#include <vector>
#include "app/InfoTable.h"
#include "market/DataTable.h"

union TBCellSlot;

#define INFO_TIME_COLOR 13              // colour index of a time the message brought along

class CNorvInfoTable : public CDataTable, public IInfoTable
{
public:
    // Not a sink itself; the source (null for none) is the one a deriving sink registers with.
    explicit CNorvInfoTable(CZorvatMessageSource* pSource = nullptr);
    ~CNorvInfoTable() override;

    // The table under the text of nNameId with the window title nTitleId; registered in the
    // application's table map. FALSE when the table or its window could not be made.
    BOOL Create(UINT nNameId, int nFixedColumns, UINT nTitleId) override;
    void Destroy() override;
    IDataTable* GetDataTable() override { return this; }

    // The lines. A packed time of 0 stamps the line with GetTimeText; the second and third
    // texts (null for none) follow as lines of their own with a blank time.
    virtual CString GetTimeText();
    virtual void AddTimedMessage(LPCSTR pszText, LPCSTR pszStamp, LPCSTR pszSecond, LPCSTR pszThird);
    virtual void AddMessage(LPCSTR pszText, int32_t nPackedTime, LPCSTR pszSecond, LPCSTR pszThird);
    void AddText(LPCSTR pszText) override;
    void AddResourceText(UINT nId) override;
    void AddTimedResource(UINT nId, LPCSTR pszStamp);
    void AddResourceMessage(UINT nId, int32_t nPackedTime);
    void AddMissingString(UINT nId);
    // Removes every line; numbering starts again at 1.
    void RemoveAllRows() override;

    int GetLineCount() const override { return static_cast<int>(m_blocks.size()); }
    int GetNextLineNumber() const { return m_nNextLine; }
    CString GetLineCell(int nLine, int nCol) const override;
    std::vector<INFO_LINE> GetLines() const override;
    void AddLines(const std::vector<INFO_LINE>& lines) override;

    // One window only; closing it minimises it.
    BOOL CanOpenNewWindow() const override { return FALSE; }
    void CloseWindow(CTableMDIWnd* pWindow) override;
    // A saved layout keeps the widths the lines seen so far need.
    void OnLayoutLoaded(CTableMDIWnd* pWindow) override;
    // The main window is the application's active MDI child and not minimised.
    BOOL IsWindowOpen() const override;
    void ShowWindow() override;
    void BringWindowToTop() override;

protected:
    // The machine's time of day (seconds) a line stamped now by GetTimeText is told again from
    // once the clock GetTimeText reads is known; -1 while GetTimeText's time stands.
    virtual int GetProvisionalSeconds() { return -1; }
    // Every line stamped before its clock was known takes the time pfnTime gives for the
    // machine's time of day it was stamped at.
    void Restamp(const std::function<CString(int)>& pfnTime);
    BOOL HasProvisionalLines() const { return m_nProvisional > 0; }

private:
    // The text is translated for the current language unless it was shown already.
    void StoreLine(LPCSTR pszTime, LPCSTR pszText, BOOL bTimeColored, BOOL bTranslate = TRUE,
                   int nMachineSeconds = -1);
    // Widens the column to the text when it is the widest seen in it.
    void WidenColumn(int nCol, LPCSTR pszText, int& nWidest);
    void ApplyWidth(int nCol, int nWidth, int& nWidest);
    // The newest line whole in view; bFollow: it becomes the current row, which the grid follows.
    void ShowNewestLine(BOOL bFollow);

    std::vector<TBCellSlot*> m_blocks;  // owned: one value block per line
    std::vector<BOOL> m_timeColored;    // per line
    std::vector<int> m_machineSeconds;  // per line: INFO_LINE::nMachineSeconds
    int m_nProvisional = 0;             // lines whose time is to be told again
    int m_nNextLine = 1;
    int m_nTextWidth = 0;               // the widest message seen, in pixels
    int m_nTimeWidth = 0;               // the widest time seen
    BOOL m_bScroll = FALSE;             // nothing sets it: the grid follows the last row itself
};
