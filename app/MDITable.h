#pragma once
// The window side every server-fed table shares: its engine table, the MDI windows on its views
// (the first on the table's first view, further ones on views of their own, at most
// MAX_TABLE_WINDOWS), closing the last window by hiding it, and saving the layout of each.
// Subclasses give the columns and whatever else is special about them.
#include <vector>
#include "app/DataTable.h"
#include "framework/table/Table.h"

class CMDITable : public IDataTable
{
public:
    CMDITable() = default;
    ~CMDITable() override;
    CMDITable(const CMDITable&) = delete;
    CMDITable& operator=(const CMDITable&) = delete;

    // IDataTable.
    CString GetName() const override { return m_strName; }
    UINT GetNameId() const override { return m_nNameId; }
    CTable* GetTable() override { return &m_table; }
    CString GetSectionName(const CViewTable* pView) const override;
    CTableMDIWnd* GetMainWindow() const override;
    int GetWindowCount() const override { return static_cast<int>(m_windows.size()); }
    BOOL CanOpenNewWindow() const override { return TRUE; }
    CTableMDIWnd* OpenWindow(BOOL bActivate) override;
    void CloseWindow(CTableMDIWnd* pWindow) override;
    void CloseAllWindows() override;
    void RemoveWindow(CTableMDIWnd* pWindow) override;
    CTableMDIWnd* FindWindowByView(int nViewIndex) const override;
    void OnWindowSize(CTableMDIWnd*, UINT, int, int) override {}
    BOOL SetWindowsCharset(BYTE nCharset) override;
    HMENU CreateContextMenu() override { return nullptr; }
    BOOL OnCmdMsg(UINT, int, void*, AFX_CMDHANDLERINFO*) override { return FALSE; }
    void OnInitMenuPopup(HMENU, UINT, BOOL) override {}
    void SaveSettings() override;
    void OnLayoutLoaded(CTableMDIWnd*) override {}
    void ReloadHiddenWindows() override;
    void Destroy() override;

protected:
    // Builds the table named by the text of nNameId (columns from CreateColumns, the title from
    // nTitleId), opens it and makes its main window; FALSE when any step fails.
    BOOL CreateTable(UINT nNameId, UINT nTitleId);
    virtual void CreateColumns() = 0;
    // The window on a view, created in the application's main frame.
    CTableMDIWnd* CreateWindowOnView(CViewTable* pView);

    CTable m_table;
    CString m_strName;
    UINT m_nNameId = 0;

private:
    CViewTable* FindViewByName(LPCSTR pszName) const;

    std::vector<CTableMDIWnd*> m_windows;   // not owned: each window deletes itself
};
