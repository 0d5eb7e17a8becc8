#pragma once
// Helpers shared by the table engine's tests: a table whose owner keeps the row blocks, a sink
// that records what a view announces, and a text picture of a view's lines.
#include <unistd.h>
#include <filesystem>
#include <string>
#include <vector>
#include "framework/table/Table.h"
#include "framework/table/TableEvents.h"
#include "platform/win/kernel/Resources.h"

// A file of this test program's own: ctest runs the program as several processes at once (one
// per test, and once more whole, repeated), so every name carries the process id.
inline std::string TestFilePath(const std::string& strName)
{
    const std::string strFolder = std::string(TB_BINARY_DIR) + "/test-files";
    std::error_code ec;
    std::filesystem::create_directories(strFolder, ec);
    return strFolder + "/" + std::to_string(getpid()) + "-" + strName;
}


// Settings keys are string ids: the language file of the source tree names them.
inline void UseSourceResources()
{
    static bool s_bDone = false;
    if (s_bDone)
        return;
    s_bDone = true;
    TbAddResourcePath(TB_SOURCE_DIR "/resources");
    TbSetResourceModule(LoadLibraryA("_1252.dll"));
}

struct CTestColumn
{
    const char* pszName;
    int nType;
    int nSize;
    BOOL bSummed;
};

// A table whose rows carry blocks owned here, as a server-fed table owns its row store.
class COwnedTable
{
public:
    explicit COwnedTable(const std::vector<CTestColumn>& columns)
    {
        for (const CTestColumn& def : columns) {
            CColumn column = m_table.AddColumn();
            column.SetName(def.pszName);
            column.SetTitle(def.pszName, 0);
            column.SetDataType(def.nType);
            if (def.nSize > 0)
                column.SetSize(def.nSize);
            column.SetSummed(def.bSummed);
        }
    }
    ~COwnedTable()
    {
        m_table.RemoveAllRows();
        for (TBCellSlot* pBlock : m_blocks)
            CTableColumns::FreeRowValues(pBlock);
    }
    CTable& Table() { return m_table; }
    CViewTable& View(int n = 0) { return *m_table.GetView(n); }
    TBCellSlot* NewBlock()
    {
        TBCellSlot* pBlock = View(0).GetColumns().AllocRowValues(FALSE);
        m_blocks.push_back(pBlock);
        return pBlock;
    }
    void FreeBlock(TBCellSlot* pBlock)
    {
        for (size_t i = 0; i < m_blocks.size(); ++i)
            if (m_blocks[i] == pBlock) {
                m_blocks.erase(m_blocks.begin() + static_cast<std::ptrdiff_t>(i));
                CTableColumns::FreeRowValues(pBlock);
                return;
            }
    }
    // The row of a block the owner holds, located in every view.
    CRow Find(TBCellSlot* pBlock)
    {
        CRow key(&m_table, pBlock);
        return m_table.FindRow(key);
    }
    BOOL Insert(TBCellSlot* pBlock)
    {
        CRow row(&m_table, pBlock);
        return m_table.InsertRow(row);
    }

private:
    CTable m_table;
    std::vector<TBCellSlot*> m_blocks;
};

// Writes a typed cell straight into a block before the row is inserted.
inline void PutInt(COwnedTable& t, TBCellSlot* pBlock, int nCol, int32_t nValue)
{
    t.View(0).GetColumns().SetSlotValue(&pBlock[nCol], &nValue, nCol);
}
inline void PutText(COwnedTable& t, TBCellSlot* pBlock, int nCol, const char* pszText)
{
    t.View(0).GetColumns().SetSlotValue(&pBlock[nCol], pszText, nCol);
}

// The lines of a view as "kind:cell,cell|..." using the cells' display texts.
inline std::string ViewText(CViewTable& view, const std::vector<int>& columns)
{
    std::string out;
    for (int i = 0; i < view.GetRowCount(); ++i) {
        CRowPosition pos;
        if (!view.GetRowTree().LocateByIndex(i, &pos)) {
            out += "?|";
            continue;
        }
        out += std::to_string(pos.m_nKind) + ":";
        for (size_t c = 0; c < columns.size(); ++c) {
            char szText[64];
            pos.m_pNode->GetCellText(szText, sizeof szText, columns[c], view.GetColumns().GetColumn(columns[c]), &view);
            out += (c ? "," : "") + std::string(szText);
        }
        out += "|";
    }
    return out;
}

// Records the row events of a view and checks each against the view as it stands.
class CRecordingSink final : public CTableEventSink
{
public:
    explicit CRecordingSink(CViewTable* pView) : m_pView(pView) { Resync(); }
    void Resync() { m_nLines = m_pView ? m_pView->GetRowTree().GetSubtreeWeight(m_pView->GetRowTree().GetRoot()) : 0; }
    void OnRowMoved(CRowPosition* pOld, int nOldLines, CRowPosition* pNew, int nNewLines) override
    {
        ++m_nMoved;
        m_nLines += nNewLines - nOldLines;
        if (nNewLines == 0)
            ;
        else if (pNew->m_nIndex < 0 || pNew->m_nIndex >= m_pView->GetRowCount())
            m_errors.push_back("moved to a line outside the view");
        else if (pNew->m_pNode && m_pView->GetRowTree().GetNodeAt(pNew->m_nIndex) != pNew->m_pNode)
            m_errors.push_back("moved row is not at its new index " + std::to_string(pNew->m_nIndex) + " of "
                               + std::to_string(m_pView->GetRowCount()) + " kind " + std::to_string(pNew->m_nKind)
                               + " hidden " + std::to_string(pNew->m_pNode->IsHidden()) + " old "
                               + std::to_string(pOld->m_nIndex));
        (void)pOld;
    }
    void OnRowsRemoved(int nIndex, int nLines) override
    {
        ++m_nRemoved;
        m_nLines -= nLines;
        (void)nIndex;
    }
    void OnRowChanged(CTableRow* pNode, int nIndex, int) override
    {
        ++m_nChanged;
        if (nIndex < 0 || nIndex >= m_pView->GetRowCount())
            m_errors.push_back("changed line outside the view: " + std::to_string(nIndex));
        else if (pNode && m_pView->GetRowTree().GetNodeAt(nIndex) != pNode)
            m_errors.push_back("changed line is not the node reported at " + std::to_string(nIndex));
    }
    void OnFilterChanged() override { ++m_nFilterChanged; Resync(); }
    void OnSortChanged(CSortColumns*) override { ++m_nSortChanged; Resync(); }
    void OnSumModeChanged() override { Resync(); }
    void OnTotalsModeChanged(int) override { Resync(); }
    void OnGroupHeaderModeChanged(int) override { Resync(); }
    void OnViewDestroyed() override { m_pView = nullptr; }

    // Lines the events account for, beside the grand total line.
    BOOL CountMatches()
    {
        return m_nLines == m_pView->GetRowTree().GetSubtreeWeight(m_pView->GetRowTree().GetRoot());
    }

    CViewTable* m_pView;
    int m_nLines = 0;
    int m_nMoved = 0;
    int m_nRemoved = 0;
    int m_nChanged = 0;
    int m_nFilterChanged = 0;
    int m_nSortChanged = 0;
    std::vector<std::string> m_errors;
};

// Every tree of a view keeps its balance, weights, links and order.
inline bool CheckViewTrees(CViewTable& view)
{
    CTableGroups& tree = view.GetRowTree();
    if (!tree.CheckInvariants())
        return false;
    for (CTreeNode* pTop = tree.First(); pTop; pTop = CAVLTree::Next(pTop)) {
        if (pTop->GetKind() != NODE_GROUP)
            continue;
        CTableGroup* pGroup = static_cast<CTableGroup*>(pTop);
        if (!pGroup->m_rows.CheckInvariants() || pGroup->m_rows.GetNodeCount() == 0)
            return false;
        for (CTreeNode* p = pGroup->m_rows.First(); p; p = CAVLTree::Next(p)) {
            CTreeNode* pNext = CAVLTree::Next(p);
            if (pNext && pGroup->m_rows.CompareNodes(p, pNext) >= 0)
                return false;
            if (static_cast<CTableRow*>(p)->GetGroup() != pGroup)
                return false;
        }
    }
    return true;
}
