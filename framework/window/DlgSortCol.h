#pragma once
// The modeless sort and group dialog: the sort keys of one grid window's view, in order, each
// ascending or descending, and whether the view groups by its first key. Columns move between
// the available list and the keys list by buttons, keys, double clicks and drag and drop.
// Made, kept and re-targeted by the application's grid layer (CTWApp), which deletes it.
#include "framework/window/DragListBox.h"
#include "framework/window/TBDialog.h"

class CTableWindow;
class CViewTable;

class CDlgSortCol : public CTBLangDialog
{
public:
    CDlgSortCol();
    ~CDlgSortCol() override;

    // Modeless creation over the window (which may be null); FALSE when it failed.
    BOOL Create(CTableWindow* pWindow);
    // Serves another window (null, or one without a view: none, and every control greyed).
    void SetTarget(CTableWindow* pWindow);
    CTableWindow* GetTarget() const { return m_pTarget; }
    // Reloads both lists from the view, after it was sorted elsewhere.
    void Refresh();
    // Sorts the view by the keys list (its first 30 keys) and the group box; nothing without a
    // target that allows sorting.
    void Apply();

    CTBString GetSettingsSection() override;
    CTBString GetCaption() override;
    CTBString GetLangSection(int nLanguage) override;
    void OnLanguageChanged(int nLanguage) override;

    BOOL OnCmdMsg(UINT nId, int nCode) override;
    LRESULT WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnDrawItem(int nIdCtl, tagDRAWITEMSTRUCT* pDraw) override;

    enum { IDD = 5106, IDC_COLUMNS = 1016, IDC_KEYS = 1017, IDC_ADD = 1002, IDC_REMOVE = 1003,
           IDC_GROUP = 1023, IDC_APPLY = 1019, DRAG_TYPE = 32123, MAX_KEYS = 30 };

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    CViewTable* SortableView() const;
    void RefreshControls();
    void FillLists();
    void RefreshGroupBox();
    void Add(int nPos);
    void Remove();
    void MoveKeys(int nPos);
    void MoveKeysUp();
    void MoveKeysDown();
    void FlipKey(int nItem);
    LRESULT OnVKeyToItem(UINT nKey, int nItem, HWND hWndList);
    LRESULT OnQueryDrop(int nType, const TBDROPRECORD* pRecord);
    void OnDoDrop(int nType, const TBDROPRECORD* pRecord);
    HWND List(int nId) const { return GetDlgItem(m_hWnd, nId); }

    CTableWindow* m_pTarget = nullptr;      // not owned; null: none
    HBITMAP m_hAscending = nullptr;         // owned, 8 by 8 masks
    HBITMAP m_hDescending = nullptr;
    CTBDragListBox m_keys;                  // 1017
    CTBDragListBox m_columns;               // 1016
};
