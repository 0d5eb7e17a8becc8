#pragma once
// Moving items between windows by four registered messages. A source that sees a drag begin
// makes a CDragDropWnd, an invisible tracker that holds the mouse, asks each window the pointer
// enters whether it would take the item, shows the drop or no-drop pointer and, at the button's
// release, tells an accepting window to drop; then it deletes itself. CTBDragListBox is a list
// box that starts such drags, takes drops with an insertion mark between its items, and keeps
// its single, multiple and extended selection.
#include "framework/base/TBWnd.h"

// "NORVBEGINDRAGDROP": posted by a drag list box to its parent; wParam its id, lParam its window.
UINT GetBeginDragDropMessage();
// "NORVDRAGGING": sent by the tracker to the window under the pointer at every move; wParam the
// drag type, lParam that window. Sent with lParam null to a window the pointer left (or was
// released over without a drop), so that it takes its marks away.
UINT GetDraggingMessage();
// "NORVQUERYDROP": sent when the pointer enters a window and again at the release; wParam the
// drag type, lParam a TBDROPRECORD*. Non-zero: the window would take the drop.
UINT GetQueryDropMessage();
// "NORVDODROP": sent at the release after a non-zero query, with the same record.
UINT GetDoDropMessage();

struct TBDROPRECORD
{
    LPVOID pData;       // what the source gave the tracker
    HWND hWndTarget;    // the window asked
};

// The tracker of one drag; it owns itself from Create to the button's release.
class CDragDropWnd : public CTBWnd
{
public:
    // Null when the tracker window cannot be made.
    static CDragDropWnd* Create(LPVOID pData, int nType);

protected:
    void OnMouseMove(UINT nKeys, int x, int y) override;
    void OnLButtonUp(UINT nKeys, int x, int y) override;
    void PostNcDestroy() override;

private:
    CDragDropWnd(LPVOID pData, int nType) : m_pData(pData), m_nType(nType) {}
    ~CDragDropWnd() override;
    BOOL Start();
    void LeaveTarget();
    LRESULT Query(HWND hWnd, TBDROPRECORD* pRecord);

    LPVOID m_pData;
    int m_nType;
    HWND m_hWndOldCapture = nullptr;
    HWND m_hWndTarget = nullptr;        // the last window asked; null: none
    HCURSOR m_hOldCursor = nullptr;
    HCURSOR m_hNoDrop = nullptr;        // owned
    HCURSOR m_hDrop = nullptr;          // owned
};

// A list box subclassed from a dialog's control. The owner sets the two flags: whether drags
// over it show the insertion mark, and whether it takes drops of its own items.
class CTBDragListBox : public CTBWnd
{
public:
    // The item under a client point: top index + y / item height; -1 past the items or when empty.
    int  ItemFromPoint(int x, int y) const;
    // A click's selection: the current item of a single list; with MK_CONTROL a toggle, with
    // MK_SHIFT the range from the anchor, otherwise the item alone, which becomes the anchor.
    void SelectItem(int nItem, UINT nKeys);

    virtual void SetInsertMark(int nItem);                      // -1 = none
    virtual LRESULT OnQueryDrop(int nType, TBDROPRECORD* pRecord);
    virtual LRESULT OnDoDrop(int nType, TBDROPRECORD* pRecord);
    virtual void OnDragging(int nType, HWND hWnd);

    // 1: a left double click, 2: a right one, while the list handles it; 0 otherwise.
    int  GetDoubleClickSource() const { return m_nDblClkSource; }
    int  GetInsertMark() const { return m_nInsertMark; }
    BOOL m_bAcceptsDragging = FALSE;    // drags over it show the insertion mark
    BOOL m_bAcceptsOwnDrops = FALSE;    // its own items may be dropped on it

    LRESULT WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnLButtonDblClk(UINT nKeys, int x, int y) override;
    void OnLButtonDown(UINT nKeys, int x, int y) override;
    void OnLButtonUp(UINT nKeys, int x, int y) override;
    void OnMouseMove(UINT nKeys, int x, int y) override;
    void OnRButtonDblClk(UINT nKeys, int x, int y) override;
    void OnRButtonDown(UINT nKeys, int x, int y) override;
    void OnRButtonUp(UINT nKeys, int x, int y) override;

private:
    BOOL IsMultiple() const;
    void InvertMark(int nItem);

    POINT m_ptDown = {0, 0};
    int  m_nAnchor = 0;
    int  m_nInsertMark = -1;
    BOOL m_bDeferSelect = FALSE;        // the click hit a selected item: select on release
    BOOL m_bPending = FALSE;            // button down, no drag yet
    int  m_nDblClkSource = 0;
    LRESULT m_lLastAnswer = 0;
};
