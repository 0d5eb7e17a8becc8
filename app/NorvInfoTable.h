#pragma once
// The framework's table of numbered message lines: the user's running log of notices and errors.
// Three columns (hidden line number, time, text), one window that minimises when it is closed,
// lines that stay as long as the table does. The message column keeps the width of the widest
// line seen, measured as each line arrives, so a line costs the same at any length of the log.
#include <vector>
#include "app/MDITable.h"
#include "framework/base/InfoWindow.h"

union TBCellSlot;

#define INFO_COL_NUMBER 0
#define INFO_COL_TIME   1
#define INFO_COL_TEXT   2
#define INFO_TIME_COLOR 13              // colour index of a time the message brought along

class CNorvInfoTable : public CMDITable, public IInfoWindow
{
public:
    CNorvInfoTable() = default;
    ~CNorvInfoTable() override;

    // The table under the text of nNameId with the window title nTitleId; registered in the
    // application's table map. FALSE when the table or its window could not be made.
    virtual BOOL Create(UINT nNameId, int nFixedColumns, UINT nTitleId);
    void Destroy() override;

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
    void RemoveAllRows();

    int GetLineCount() const { return static_cast<int>(m_blocks.size()); }
    int GetNextLineNumber() const { return m_nNextLine; }
    // The text of a cell of a line by arrival (0 = the first kept); empty outside.
    CString GetLineCell(int nLine, int nCol) const;

    // One window only; closing it minimises it.
    BOOL CanOpenNewWindow() const override { return FALSE; }
    void CloseWindow(CTableMDIWnd* pWindow) override;
    // A saved layout keeps the widths the lines seen so far need.
    void OnLayoutLoaded(CTableMDIWnd* pWindow) override;
    // On top of the other windows, not moved, sized or activated.
    void BringWindowToTop();

protected:
    void CreateColumns() override;

private:
    void StoreLine(LPCSTR pszTime, LPCSTR pszText, BOOL bTimeColored);
    // Widens the column to the text when it is the widest seen in it.
    void WidenColumn(int nCol, LPCSTR pszText, int& nWidest);
    void ApplyWidth(int nCol, int nWidth, int& nWidest);

    std::vector<TBCellSlot*> m_blocks;  // owned: one value block per line
    int m_nNextLine = 1;
    int m_nTextWidth = 0;               // the widest message seen, in pixels
    int m_nTimeWidth = 0;               // the widest time seen
    BOOL m_bScroll = FALSE;             // nothing sets it: the grid follows the last row itself
};
