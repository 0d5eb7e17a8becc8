#pragma once
// The grid's filter dialog: per column, criteria texts in an any-of and an all-of group and the
// switch that combines the groups. It edits a private copy of the view's filters: counting,
// finding and every change are tried on the copy at once; Apply gives the view a copy of it and
// the view marks the matching rows. The grid's application layer (CTWApp) owns the one instance.
#include <vector>

#include "framework/table/TableFilters.h"
#include "framework/window/DlgFastFind.h"

#define IDD_FILTER              5017
#define IDS_FILTER_CAPTION      28700
#define IDS_FILTER_MATCH_ALL    28714   // the combine button while both groups must hold
#define IDS_FILTER_MATCH_ANY    28715   // ... while either suffices
#define IDS_FILTER_MORE         28716
#define IDS_FILTER_LESS         28717
#define IDB_FILTER_CHECK        4003    // 8 by 8, the mark of a flagged criterion

#define IDC_FILTER_COUNT        1000
#define IDC_FILTER_REMOVE_ALL   1001
#define IDC_FILTER_ANY_ADD      1002
#define IDC_FILTER_ANY_DELETE   1003
#define IDC_FILTER_ALL_ADD      1005
#define IDC_FILTER_ALL_DELETE   1008
#define IDC_FILTER_COMBINE      1010
#define IDC_FILTER_MORE         1011
#define IDC_FILTER_SORT         1012
#define IDC_FILTER_ANY_TEXT     1014
#define IDC_FILTER_MATCHES      1015
#define IDC_FILTER_ALL_TEXT     1017
#define IDC_FILTER_ANY_LIST     1024
#define IDC_FILTER_ALL_LIST     1026
#define IDC_FILTER_ROWS         1038
#define IDC_FILTER_INSERT_LIST  1040
#define IDC_FILTER_OP_EQUAL     1042    // 1042..1046: "=", "<", ">", "<=", ">="
#define IDC_FILTER_CLEAR        1047
#define IDC_FILTER_INSERT       1049
#define IDC_FILTER_TO_ALL       1079
#define IDC_FILTER_TO_ANY       1120
#define IDC_FILTER_APPLY        3

#define FILTER_MAX_CRITERIA     200     // per column

class CDlgFilter : public CTBLangDialog
{
public:
    CDlgFilter();
    ~CDlgFilter() override;

    // Modeless for the window (owner) and column, on a copy of the view's filters; FALSE when
    // the copy or the dialog cannot be made.
    BOOL Create(CTableWindow* pWindow, int nCol);
    // Another grid (or none: everything greyed, the copy freed) takes a fresh copy and loses
    // unapplied changes; the same grid only changes the column. FALSE when the copy failed.
    BOOL SetTarget(CTableWindow* pWindow, int nCol);
    void SetColumn(int nCol);
    CTableWindow* GetTarget() const { return m_pTarget; }
    int  GetColumn() const { return m_nCol; }
    // The copy's rule and the unapplied state, for the grid's layer and tests.
    const CTableFilters& GetFilters() const { return m_filters; }
    BOOL IsDirty() const { return m_bDirty; }

    // Gives the view a copy of the dialog's criteria; FALSE (the dialog stays open) when the
    // pending criterion in the any-of field is not valid for the column.
    BOOL Apply();

    CTBString GetSettingsSection() override;
    CTBString GetCaption() override;
    CTBString GetLangSection(int nLanguage) override;
    void OnLanguageChanged(int nLanguage) override;
    BOOL OnInitDialog() override;
    BOOL OnCmdMsg(UINT nId, int nCode) override;
    void OnClose() override;
    void OnDrawItem(int nIdCtl, tagDRAWITEMSTRUCT* pDraw) override;
    void OnMeasureItem(int nIdCtl, tagMEASUREITEMSTRUCT* pMeasure) override;
    LRESULT WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

private:
    // One line of a criteria list: which criterion of which column it shows.
    struct FILTER_ITEM {
        int nCol;
        int nPos;
    };
    // The controls of one group; the any-of group is side 0, the all-of group side 1.
    struct FILTER_SIDE {
        int nGroup;     // as the filters have it: 1 any-of, 0 all-of
        int nText, nList, nAdd, nDelete, nMove;
    };
    static const FILTER_SIDE s_sides[2];
    static int SideOfGroup(int nGroup) { return nGroup == 1 ? 0 : 1; }

    CViewTable* TargetView() const;
    BOOL TakeCopy(CTableWindow* pWindow);
    ITFilter* FilterOf(const FILTER_ITEM& item) const;
    int  CriteriaCount() const;
    void FillColumnLists();
    void FillCriteria(int nSide, int nSelCol = -1, int nSelPos = -1);
    void FillBothCriteria();
    int  SelectedItem(int nSide, FILTER_ITEM* pItem) const;
    void OnColumnChange();
    void AddCriterion(int nSide);
    BOOL ReplaceCriterion(int nSide, const FILTER_ITEM& item, const CTBString& strText);
    void OnListSelect(int nSide);
    void OnFieldLeft(int nSide);
    void DeleteCriterion(int nSide, BOOL bFocusField);
    void MoveCriterion(int nSide);
    void ToggleFlag();
    void RemoveAll();
    void SwitchCombine();
    void Count();
    void FindNextMatch();
    void SortByColumn();
    BOOL TakePendingText();
    void AppendToActiveField(const char* pszText);
    void SetField(int nId, const char* pszText);
    void ShowRowCount();
    void SetCombineCaption();
    void SwitchSize();
    void SetSizeCaption();
    void SetDirty();
    void RefreshControls();

    int  m_nCol = -1;                   // column index in the view, -1 = none
    HBITMAP m_hCheck = nullptr;         // owned, loaded on the first initialisation
    CTableWindow* m_pTarget = nullptr;  // not owned; cleared when it goes (CTWApp)
    CViewTable* m_pCopyView = nullptr;  // the view the copy is bound to
    BOOL m_bDirty = FALSE;              // the copy differs from what the view has
    CTableFilters m_filters;
    BOOL m_bExpanded = TRUE;
    int  m_nActiveSide = 0;             // the field the operator buttons write into
    std::vector<FILTER_ITEM> m_items[2];
};
