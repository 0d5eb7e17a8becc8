#pragma once
// The grid's part of the application object: between the framework's application base and the
// application proper. It registers the grid's clipboard format and the window classes of the
// framework's child controls at start-up, keeps the one grid window its modeless grid dialogs
// serve, and follows a change of the system colours.
#include "framework/base/TBApp.h"

class CDlgSortCol;
class CTableWindow;

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
    // A grid is going: nothing may reach it through the dialogs any more.
    void OnWindowDestroyed(CTableWindow* pWindow);
    CTableWindow* GetTargetWindow() const { return m_pTarget; }
    CDlgSortCol* GetSortDialog() const { return m_pSortDlg; }
    UINT GetClipboardFormat() const { return m_uClipFormat; }

private:
    CDlgSortCol* m_pSortDlg = nullptr;  // owned; null until first shown
    CTableWindow* m_pTarget = nullptr;  // not owned
    UINT m_uClipFormat = 0;
};
