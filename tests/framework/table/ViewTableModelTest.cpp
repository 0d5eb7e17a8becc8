// The engine against a plain model: vectors sorted with std::stable_sort, groups expanded line
// by line, sums added up afresh, marks kept by the rules the views follow. After every step each
// view must show exactly the model's lines, and its sink must have heard a consistent story.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <random>
#include "TableTestSupport.h"
#include "framework/table/TableFilters.h"
#include "platform/win/kernel/CodePage.h"

namespace {

enum { COL_GRP, COL_NAME, COL_QTY, COL_VOL, COL_TAG, COL_PX, COL_COUNT };

struct MRow
{
    int nTag = 0;
    int nId = 0;
    int32_t nGrp = 0;
    std::string strName;
    int32_t nQty = 0;
    int64_t nVol = 0;
    double dPx = 0;
    bool abMarked[8] = {};
    TBCellSlot* pBlock = nullptr;
};

struct MView
{
    std::vector<CSortPair> keys;
    bool bGrouped = false;
    int nTotals = -1;
    int nHeader = -1;
    int nSumMode = 0;
    bool bFilter = false;
    int32_t nFilterMin = 0;
    std::unique_ptr<CRecordingSink> pSink;
};

int CompareCell(const MRow& a, const MRow& b, int nCol)
{
    switch (nCol) {
    case COL_GRP: return a.nGrp < b.nGrp ? -1 : a.nGrp > b.nGrp;
    case COL_NAME: { int n = lstrcmpA(a.strName.c_str(), b.strName.c_str()); return n < 0 ? -1 : n > 0; }
    case COL_QTY: return a.nQty < b.nQty ? -1 : a.nQty > b.nQty;
    case COL_VOL: return a.nVol < b.nVol ? -1 : a.nVol > b.nVol;
    case COL_PX: return a.dPx < b.dPx ? -1 : a.dPx > b.dPx;
    default: return a.nTag < b.nTag ? -1 : a.nTag > b.nTag;
    }
}

class CModelTest
{
public:
    explicit CModelTest(unsigned nSeed) : m_rng(nSeed), m_table(MakeColumns())
    {
        UseSourceResources();
        for (int i = 0; i < COL_COUNT; ++i) {
            CColumn column = m_table.Table().GetColumn(i);
            column.SetThousands(FALSE);
            column.SetBlankZero(FALSE);
        }
        m_table.Table().SetAllowCut(FALSE);
        m_table.Table().SetAllowPaste(FALSE);
        EXPECT_TRUE(m_table.Table().Open());
        for (int v = 1; v < 3; ++v)
            EXPECT_GE(m_table.Table().AddView("TableView"), 1);
        for (int v = 0; v < 3; ++v)
            AttachView(v);
        SetSort(0, {{COL_GRP, 1}, {COL_NAME, -1}}, true);
        SetSort(1, {{COL_QTY, -1}}, false);
        SetSort(2, {{COL_NAME, 1}, {COL_PX, 1}}, true);
        SetModes(0, 3, 2);
        SetModes(2, 1, 1);
        SetFilter(1, true, 0);
    }

    ~CModelTest()
    {
        for (int v = 0; v < m_nViews; ++v)
            m_table.View(v).RemoveSink(m_views[static_cast<size_t>(v)].pSink.get());
    }

    static std::vector<CTestColumn> MakeColumns()
    {
        return {{"Grp", COLTYPE_INT32, 0, FALSE}, {"Name", COLTYPE_STRING, 8, FALSE},
                {"Qty", COLTYPE_INT32, 0, TRUE},  {"Vol", COLTYPE_INT64, 0, TRUE},
                {"Tag", COLTYPE_INT32, 0, FALSE}, {"Px", COLTYPE_DOUBLE, 0, FALSE}};
    }

    void AttachView(int v)
    {
        MView& mv = m_views[static_cast<size_t>(v)];
        mv.pSink = std::make_unique<CRecordingSink>(&m_table.View(v));
        m_table.View(v).AddSink(mv.pSink.get());
    }

    int Rand(int n) { return static_cast<int>(m_rng() % static_cast<unsigned>(n)); }

    // Engine operations mirrored on the model.
    void SetSort(int v, std::vector<CSortPair> keys, bool bGrouped)
    {
        CSortColumns list(30);
        for (const CSortPair& key : keys)
            list.Add(key);
        m_table.View(v).Sort(list, bGrouped ? TRUE : FALSE);
        m_views[static_cast<size_t>(v)].keys = keys;
        m_views[static_cast<size_t>(v)].bGrouped = bGrouped && !keys.empty();
    }
    void SetModes(int v, int nTotals, int nHeader)
    {
        m_table.View(v).SetTotalsMode(nTotals);
        m_table.View(v).SetGroupHeaderMode(nHeader);
        m_views[static_cast<size_t>(v)].nTotals = nTotals;
        m_views[static_cast<size_t>(v)].nHeader = nHeader;
    }
    bool Matches(const MView& mv, const MRow& r) const { return r.nQty >= mv.nFilterMin; }
    void SetFilter(int v, bool bOn, int32_t nMin)
    {
        MView& mv = m_views[static_cast<size_t>(v)];
        CViewTable& view = m_table.View(v);
        if (!bOn) {
            view.SetFilters(nullptr);
            mv.bFilter = false;
            return;
        }
        CTableFilters* pFilters = new CTableFilters;
        ASSERT_TRUE(pFilters->Init(&view, nullptr));
        char szCriteria[32];
        snprintf(szCriteria, sizeof szCriteria, ">=%d", nMin);
        ASSERT_EQ(0, pFilters->AddFilter(COL_QTY, szCriteria, /*bFlag=*/FALSE, /*nGroup=*/0));
        view.SetFilters(pFilters);
        view.ApplyFilters(pFilters);
        mv.bFilter = true;
        mv.nFilterMin = nMin;
        for (MRow& r : m_rows)
            r.abMarked[v] = Matches(mv, r);
    }
    void SetSumMode(int v, int nMode)
    {
        m_table.View(v).SetSumMode(nMode);
        m_views[static_cast<size_t>(v)].nSumMode = nMode;
    }

    void FillBlock(MRow& r)
    {
        PutInt(m_table, r.pBlock, COL_GRP, r.nGrp);
        PutText(m_table, r.pBlock, COL_NAME, r.strName.c_str());
        PutInt(m_table, r.pBlock, COL_QTY, r.nQty);
        m_table.View(0).GetColumns().SetSlotValue(&r.pBlock[COL_VOL], &r.nVol, COL_VOL);
        PutInt(m_table, r.pBlock, COL_TAG, r.nTag);
        m_table.View(0).GetColumns().SetSlotValue(&r.pBlock[COL_PX], &r.dPx, COL_PX);
    }
    std::string RandomName()
    {
        static const char* s_names[] = {"ab", "abc", "b", "ba", "c", "ca", "cab"};
        return s_names[Rand(7)];
    }
    void RandomValues(MRow& r)
    {
        r.nGrp = Rand(5);
        r.strName = RandomName();
        r.nQty = Rand(201) - 100;
        r.nVol = static_cast<int64_t>(Rand(1000)) * 1000000007LL;
        r.dPx = Rand(40) * 0.25;
    }

    void MarkAfterWrite(MRow& r, bool bFilterColumnChanged)
    {
        for (int v = 0; v < m_nViews; ++v) {
            const MView& mv = m_views[static_cast<size_t>(v)];
            if (!mv.bFilter)
                continue;
            bool bNew = Matches(mv, r);
            if (r.abMarked[v] && !bNew && !bFilterColumnChanged)
                bNew = true;
            r.abMarked[v] = bNew;
        }
    }

    void Insert()
    {
        MRow r;
        r.nTag = ++m_nNextTag;
        r.nId = m_nNextId++;
        RandomValues(r);
        r.pBlock = m_table.NewBlock();
        FillBlock(r);
        for (int v = 0; v < m_nViews; ++v)
            r.abMarked[v] = m_views[static_cast<size_t>(v)].bFilter && Matches(m_views[static_cast<size_t>(v)], r);
        ASSERT_TRUE(m_table.Insert(r.pBlock));
        m_rows.push_back(r);
    }
    void Delete()
    {
        size_t i = static_cast<size_t>(Rand(static_cast<int>(m_rows.size())));
        CRow row = m_table.Find(m_rows[i].pBlock);
        ASSERT_TRUE(row.IsValid());
        ASSERT_TRUE(m_table.Table().DeleteRow(row));
        m_table.FreeBlock(m_rows[i].pBlock);
        m_rows.erase(m_rows.begin() + static_cast<std::ptrdiff_t>(i));
    }
    void WriteCell(MRow& r, int nCol)
    {
        CRow row = m_table.Find(r.pBlock);
        ASSERT_TRUE(row.IsDataRow());
        MRow next = r;
        RandomValues(next);
        BOOL bDone = FALSE;
        switch (nCol) {
        case COL_GRP: bDone = row.UpdateCell(nCol, &next.nGrp); r.nGrp = next.nGrp; break;
        case COL_NAME: bDone = row.UpdateCell(nCol, next.strName.c_str()); r.strName = next.strName; break;
        case COL_QTY: bDone = row.UpdateCell(nCol, &next.nQty); r.nQty = next.nQty; break;
        case COL_VOL: bDone = row.UpdateCell(nCol, &next.nVol); r.nVol = next.nVol; break;
        default: bDone = row.UpdateCell(nCol, &next.dPx); r.dPx = next.dPx; break;
        }
        ASSERT_TRUE(bDone);
        MarkAfterWrite(r, nCol == COL_QTY);
    }
    void UpdateSeveral(MRow& r)
    {
        CRow row = m_table.Find(r.pBlock);
        ASSERT_TRUE(row.IsDataRow());
        MRow next = r;
        RandomValues(next);
        int32_t nOldQty = r.nQty;
        row.BeginUpdate();
        ASSERT_TRUE(row.UpdateCell(COL_GRP, &next.nGrp));
        ASSERT_TRUE(row.UpdateCell(COL_QTY, &next.nQty));
        ASSERT_TRUE(row.UpdateCell(COL_NAME, next.strName.c_str()));
        row.EndUpdate();
        r.nGrp = next.nGrp;
        r.nQty = next.nQty;
        r.strName = next.strName;
        MarkAfterWrite(r, nOldQty != r.nQty);
    }
    void ReplaceBlock(MRow& r)
    {
        CRow row = m_table.Find(r.pBlock);
        ASSERT_TRUE(row.IsDataRow());
        MRow next = r;
        RandomValues(next);
        next.pBlock = m_table.NewBlock();
        FillBlock(next);
        ASSERT_TRUE(row.SetRowValues(next.pBlock));
        m_table.FreeBlock(r.pBlock);
        bool abMarked[8];
        std::copy(std::begin(r.abMarked), std::end(r.abMarked), abMarked);
        r = next;
        std::copy(std::begin(abMarked), std::end(abMarked), r.abMarked);
        // A whole-row write changes every column, the filter's among them.
        MarkAfterWrite(r, true);
    }
    void SetMarked(MRow& r)
    {
        int v = Rand(m_nViews);
        CRow row = m_table.Find(r.pBlock);
        ASSERT_TRUE(row.IsDataRow());
        bool bMark = Rand(2) == 1;
        row.GetViewRow(v)->SetMarked(bMark);
        r.abMarked[v] = bMark;
    }
    void RandomSort()
    {
        int v = Rand(m_nViews);
        static const int s_keys[] = {COL_GRP, COL_NAME, COL_QTY, COL_PX, COL_VOL};
        std::vector<CSortPair> keys;
        int nKeys = Rand(3);
        for (int k = 0; k < nKeys; ++k) {
            CSortPair key;
            key.m_nColumn = s_keys[Rand(5)];
            key.m_nDirection = Rand(2) ? 1 : -1;
            bool bDuplicate = false;
            for (const CSortPair& held : keys)
                bDuplicate = bDuplicate || held.m_nColumn == key.m_nColumn;
            if (!bDuplicate)
                keys.push_back(key);
        }
        SetSort(v, keys, Rand(2) == 1);
    }
    void AddView()
    {
        int nSource = Rand(m_nViews);
        CViewTable* pSource = &m_table.View(nSource);
        int nIndex = m_table.Table().AddViewCopy("Copy", pSource);
        ASSERT_EQ(m_nViews, nIndex);
        MView& mv = m_views[static_cast<size_t>(nIndex)];
        const MView& src = m_views[static_cast<size_t>(nSource)];
        mv.keys = src.keys;
        mv.bGrouped = src.bGrouped;
        mv.nTotals = src.nTotals;
        mv.nHeader = src.nHeader;
        mv.nSumMode = src.nSumMode;
        mv.bFilter = src.bFilter;
        mv.nFilterMin = src.nFilterMin;
        for (MRow& r : m_rows)
            r.abMarked[nIndex] = r.abMarked[nSource];
        ++m_nViews;
        AttachView(nIndex);
    }
    void RemoveLastView()
    {
        int v = m_nViews - 1;
        MView& mv = m_views[static_cast<size_t>(v)];
        m_table.View(v).RemoveSink(mv.pSink.get());
        ASSERT_TRUE(m_table.Table().RemoveView(&m_table.View(v)));
        mv.pSink.reset();
        --m_nViews;
    }

    void Step()
    {
        int nOp = Rand(100);
        if (getenv("TB_MODEL_TRACE"))
            printf("op %d rows %zu\n", nOp, m_rows.size());
        if (m_rows.empty() || nOp < 35)
            return Insert();
        MRow& r = m_rows[static_cast<size_t>(Rand(static_cast<int>(m_rows.size())))];
        if (nOp < 45)
            return Delete();
        if (nOp < 60)
            return WriteCell(r, Rand(2) ? COL_QTY : COL_VOL);
        if (nOp < 78)
            return WriteCell(r, Rand(2) ? COL_GRP : (Rand(2) ? COL_NAME : COL_PX));
        if (nOp < 83)
            return UpdateSeveral(r);
        if (nOp < 86)
            return ReplaceBlock(r);
        if (nOp < 89)
            return SetMarked(r);
        if (nOp < 92)
            return RandomSort();
        if (nOp < 94)
            return SetModes(Rand(m_nViews), Rand(5) - 1, Rand(4) - 1);
        if (nOp < 96)
            return SetSumMode(Rand(m_nViews), Rand(2));
        if (nOp < 98)
            return SetFilter(Rand(m_nViews), Rand(4) != 0, Rand(201) - 100);
        if (nOp == 98) {
            if (m_nViews < 5 && Rand(2))
                return AddView();
            if (m_nViews > 3)
                return RemoveLastView();
            return;
        }
        if (Rand(20) == 0) {
            m_table.Table().RemoveAllRows();
            for (MRow& each : m_rows)
                m_table.FreeBlock(each.pBlock);
            m_rows.clear();
        }
    }

    // The model's lines of a view, in the picture ViewText draws (tag, qty, vol).
    std::string Expected(int v)
    {
        const MView& mv = m_views[static_cast<size_t>(v)];
        std::vector<const MRow*> sorted;
        for (const MRow& r : m_rows)
            sorted.push_back(&r);
        std::stable_sort(sorted.begin(), sorted.end(), [&](const MRow* a, const MRow* b) {
            for (const CSortPair& key : mv.keys) {
                int nCmp = CompareCell(*a, *b, key.m_nColumn);
                if (nCmp != 0)
                    return nCmp * key.m_nDirection < 0;
            }
            return a->nId < b->nId;
        });
        auto visible = [&](const MRow* r) { return mv.nSumMode == 0 || r->abMarked[v]; };
        bool bSums = mv.nTotals == 1 || mv.nTotals == 3;
        std::string out;
        auto line = [&](int nKind, const std::string& tag, long long nQty, long long nVol) {
            out += std::to_string(nKind) + ":" + tag + "," + std::to_string(nQty) + "," + std::to_string(nVol) + "|";
        };
        long long nTotalQty = 0, nTotalVol = 0;
        for (size_t i = 0; i < sorted.size();) {
            size_t j = i + 1;
            if (mv.bGrouped)
                while (j < sorted.size() && CompareCell(*sorted[i], *sorted[j], mv.keys[0].m_nColumn) == 0)
                    ++j;
            std::vector<const MRow*> shown;
            for (size_t k = i; k < j; ++k)
                if (visible(sorted[k]))
                    shown.push_back(sorted[k]);
            long long nQty = 0, nVol = 0;
            for (size_t k = 0; k < shown.size(); ++k) {
                int nKind = !mv.bGrouped ? 1 : (k + 1 == shown.size() && (!bSums || shown.size() == 1) ? 2 : 1);
                line(nKind, std::to_string(shown[k]->nTag), shown[k]->nQty, shown[k]->nVol);
                nQty += shown[k]->nQty;
                nVol += shown[k]->nVol;
            }
            nTotalQty += nQty;
            nTotalVol += nVol;
            if (mv.bGrouped && shown.size() > 1 && bSums)
                line(3, "", nQty, nVol);
            if (mv.bGrouped && !shown.empty() && mv.nHeader == 2)
                out += "5:,,|";
            i = j;
        }
        if ((mv.nTotals == 2 || mv.nTotals == 3) && !m_rows.empty())
            line(4, "", nTotalQty, nTotalVol);
        return out;
    }

    void Check(int nStep)
    {
        for (int v = 0; v < m_nViews; ++v) {
            CViewTable& view = m_table.View(v);
            ASSERT_EQ(Expected(v), ViewText(view, {COL_TAG, COL_QTY, COL_VOL})) << "view " << v << " after step " << nStep;
            ASSERT_TRUE(CheckViewTrees(view)) << "view " << v << " after step " << nStep;
            CRecordingSink& sink = *m_views[static_cast<size_t>(v)].pSink;
            ASSERT_TRUE(sink.m_errors.empty()) << sink.m_errors.front() << " in view " << v << " after step " << nStep;
            ASSERT_TRUE(sink.CountMatches()) << "view " << v << " after step " << nStep;
            int nMarked = 0;
            for (const MRow& r : m_rows)
                nMarked += r.abMarked[v] ? 1 : 0;
            ASSERT_EQ(nMarked, view.GetRowTree().GetMarkedCount()) << "view " << v << " after step " << nStep;
        }
    }

    std::mt19937 m_rng;
    COwnedTable m_table;
    std::vector<MRow> m_rows;
    MView m_views[8];
    int m_nViews = 3;
    int m_nNextTag = 0;
    int m_nNextId = 0;
};

int StepsToRun()
{
    const char* pszSteps = getenv("TB_MODEL_STEPS");
    return pszSteps ? atoi(pszSteps) : 3000;
}

}  // namespace

TEST(ViewTableModel, ViewsMatchTheModelAfterEveryStep)
{
    for (unsigned nSeed : {7u, 11u}) {
        CModelTest t(nSeed);
        t.Check(-1);
        for (int nStep = 0; nStep < StepsToRun(); ++nStep) {
            t.Step();
            ASSERT_FALSE(::testing::Test::HasFatalFailure()) << "seed " << nSeed << " step " << nStep;
            t.Check(nStep);
            ASSERT_FALSE(::testing::Test::HasFatalFailure()) << "seed " << nSeed << " step " << nStep;
        }
    }
}
