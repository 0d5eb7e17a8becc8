#pragma once
// The grid's part of the application object: between the framework's application base and the
// application proper. It registers the grid's clipboard format and the window classes of the
// framework's child controls at start-up, owns the modeless grid dialogs (one of each kind, made
// on first use, made again when the user closed it) and the one grid window they serve, and
// follows a change of the system colours.
#include "framework/base/TBApp.h"

class CTableWindow;
class CDlgFilter;
class CDlgFastFind;
class CDlgSortCol;

class CTWApp : public CTBApp
{
public:
    CTWApp();
    ~CTWApp() override;

    // The application object when it has this part, else null.
    static CTWApp* Get();

    // "NorvTableWindowCtl", then "NorvTabControlCtl"; FALSE when either fails.
    virtual BOOL RegisterWindowClasses();
    virtual void SetTargetWindow(CTableWindow* pWindow);
    virtual void OnSysColorChange();
    virtual void ShowFilterDialog(CTableWindow* pWindow, int nCol);
    virtual void ShowFastFindDialog(CTableWindow* pWindow, int nCol);
    virtual void ShowSortDialog(CTableWindow* pWindow);

    // A grid re-sorted: an open sort dialog serving it reloads its lists.
    void NotifySortChanged(CTableWindow* pWindow);
    // A grid is going: a dialog serving it serves none from now on.
    void OnWindowDestroyed(CTableWindow* pWindow);
    CTableWindow* GetTargetWindow() const { return m_pTarget; }
    UINT GetClipboardFormat() const { return m_uClipFormat; }
    // The dialogs as they are now; null before first use. A dialog the user closed is still
    // here without its window until the next request.
    CDlgFilter* GetFilterDialog() const { return m_pFilterDlg; }
    CDlgFastFind* GetFastFindDialog() const { return m_pFastFindDlg; }
    CDlgSortCol* GetSortDialog() const { return m_pSortDlg; }

private:
    // Every dialog serving pOld (null: every dialog) serves pNew from now on.
    void RetargetDialogs(CTableWindow* pOld, CTableWindow* pNew);

    // Owned, deleted in this order by the destructor: sort, filter, fast find.
    CDlgFilter* m_pFilterDlg = nullptr;
    CDlgFastFind* m_pFastFindDlg = nullptr;
    CDlgSortCol* m_pSortDlg = nullptr;
    CTableWindow* m_pTarget = nullptr;  // not owned
    UINT m_uClipFormat = 0;
};
