// The row store against a std::multimap: random adds in and out of loads, key changes in and
// out of batches, value changes, removals and prefix searches. After every step the store's
// order and both engine views must hold exactly the model's rows; rows with equal keys may
// stand in any order among themselves, so they are compared by tag.
#include <gtest/gtest.h>
#include <algorithm>
#include <map>
#include <random>
#include <tuple>
#include "DataArrayTestSupport.h"

namespace {

typedef std::pair<std::string, int32_t> Key;
struct MRow
{
    int32_t nTag;
    double dLast;
};
typedef std::tuple<std::string, int32_t, int32_t, double> Line;    // symbol, board, tag, price

const char* const s_symbols[] = {"A", "AB", "ABC", "B", "BA", "C", "CA"};
const double s_prices[] = {1.5, 2.25, 3.0, 10.125};

class CStoreModel
{
public:
    explicit CStoreModel(unsigned nSeed) : m_rng(nSeed) {}

    int Rand(int n) { return static_cast<int>(m_rng() % static_cast<unsigned>(n)); }
    Key RandomKey() { return {s_symbols[Rand(static_cast<int>(std::size(s_symbols)))], Rand(3)}; }
    double RandomPrice() { return s_prices[Rand(static_cast<int>(std::size(s_prices)))]; }

    std::multimap<Key, MRow>::iterator FindTag(int32_t nTag)
    {
        for (auto it = m_model.begin(); it != m_model.end(); ++it)
            if (it->second.nTag == nTag)
                return it;
        return m_model.end();
    }

    void Step()
    {
        int nOp = Rand(100);
        if (nOp < 30)
            Add();
        else if (nOp < 34)
            ToggleLoad();
        else if (nOp < 44)
            ChangeKey();
        else if (nOp < 60)
            ChangeInBatch();
        else if (nOp < 68)
            RemoveAt();
        else if (nOp < 76)
            RemoveByKeys();
        else if (nOp < 90)
            SearchPrefix();
        else if (nOp < 99)
            SearchFull();
        else
            RemoveAll();
    }

    void Add()
    {
        Key key = RandomKey();
        double dLast = RandomPrice();
        int32_t nTag = m_nNextTag++;
        // A load appends, and so does a store with a batch's key change open (out of order
        // until that batch commits).
        bool bAppends = m_q.rows.IsBulk();
        int nIndex = m_q.Add(key.first.c_str(), key.second, dLast, nTag);
        if (bAppends) {
            EXPECT_EQ(static_cast<int>(m_model.size()), nIndex) << "appended";
        } else if (m_model.count(key) > 0) {
            EXPECT_EQ(-1, nIndex) << "equal keys refused";
            return;
        } else {
            EXPECT_EQ(std::distance(m_model.begin(), m_model.lower_bound(key)), nIndex);
        }
        m_model.insert({key, {nTag, dLast}});
    }

    void ToggleLoad()
    {
        if (m_bLoad)
            m_q.rows.EndUpdate();
        else
            m_q.rows.BeginUpdate();
        m_bLoad = !m_bLoad;
    }

    CDataBuffer* RandomRow()
    {
        return m_q.rows.GetCount() > 0 ? m_q.rows.GetAt(Rand(m_q.rows.GetCount())) : nullptr;
    }

    void WriteKey(CDataBuffer* pRow, const Key& key)
    {
        EXPECT_TRUE(pRow->SetText(QCOL_SYM, key.first.c_str(), TRUE));
        EXPECT_TRUE(pRow->SetValue(QCOL_BOARD, &key.second, TRUE));
    }

    void MoveInModel(int32_t nTag, const Key& key, double dLast)
    {
        auto it = FindTag(nTag);
        ASSERT_NE(m_model.end(), it);
        m_model.erase(it);
        m_model.insert({key, {nTag, dLast}});
    }

    void ChangeKey()
    {
        CDataBuffer* pRow = RandomRow();
        if (!pRow)
            return;
        Key key = RandomKey();
        int32_t nTag = pRow->GetLong(QCOL_TAG);
        WriteKey(pRow, key);
        MoveInModel(nTag, key, pRow->GetDouble(QCOL_LAST));
    }

    // pBusy: a row whose batch is open already.
    void ChangeInBatch(CDataBuffer* pBusy = nullptr)
    {
        CDataBuffer* pRow = RandomRow();
        if (!pRow || pRow == pBusy)
            return;
        int32_t nTag = pRow->GetLong(QCOL_TAG);
        auto it = FindTag(nTag);
        ASSERT_NE(m_model.end(), it);
        Key key = it->first;
        double dLast = RandomPrice();
        pRow->BeginChanges();
        EXPECT_TRUE(pRow->SetDouble(QCOL_LAST, dLast, TRUE));
        if (Rand(2) == 0) {
            key = RandomKey();
            WriteKey(pRow, key);
        }
        pRow->SetCellAttribute(QCOL_LAST, Rand(3));
        // Meanwhile a handler may add a row, or change another row in a batch of its own.
        int nMeanwhile = pBusy ? -1 : Rand(4);
        if (nMeanwhile == 0)
            Add();
        else if (nMeanwhile == 1)
            ChangeInBatch(pRow);
        pRow->Commit();
        MoveInModel(nTag, key, dLast);
    }

    void RemoveAt()
    {
        int nIndex = Rand(m_q.rows.GetCount() + 2) - 1;
        CDataBuffer* pRow = m_q.rows.GetAt(nIndex);
        if (!pRow) {
            EXPECT_FALSE(m_q.rows.RemoveAt(nIndex));
            return;
        }
        int32_t nTag = pRow->GetLong(QCOL_TAG);
        EXPECT_TRUE(m_q.rows.RemoveAt(nIndex));
        m_model.erase(FindTag(nTag));
    }

    // The store's first index whose symbol (and board, when given) match; -1 when none.
    int FirstMatch(const Key& key, bool bBoard)
    {
        for (int i = 0; i < m_q.rows.GetCount(); ++i) {
            CDataBuffer* pRow = m_q.rows.GetAt(i);
            if (std::string(pRow->GetText(QCOL_SYM)) == key.first && (!bBoard || pRow->GetLong(QCOL_BOARD) == key.second))
                return i;
        }
        return -1;
    }

    void RemoveByKeys()
    {
        Key key = RandomKey();
        std::string strBoard = std::to_string(key.second);
        bool bBoard = Rand(2) == 0;
        int nExpected = m_bLoad ? -1 : FirstMatch(key, bBoard);
        std::vector<const char*> keys{key.first.c_str()};
        if (bBoard)
            keys.push_back(strBoard.c_str());
        EXPECT_EQ(nExpected, m_q.rows.FindRowIndex(keys));
        if (nExpected < 0) {
            EXPECT_FALSE(m_q.rows.RemoveRow(keys));
            return;
        }
        int32_t nTag = m_q.rows.GetAt(nExpected)->GetLong(QCOL_TAG);
        EXPECT_TRUE(m_q.rows.RemoveRow(keys));
        m_model.erase(FindTag(nTag));
    }

    void SearchPrefix()
    {
        Key key = RandomKey();
        CRowFinder finder;
        m_q.rows.FindRange(finder, {key.first.c_str()});
        std::vector<int32_t> found;
        for (CDataBuffer* pRow = finder.GetRow(); pRow; pRow = finder.FindNext())
            found.push_back(pRow->GetLong(QCOL_TAG));
        std::vector<int32_t> expected;
        for (const auto& [k, row] : m_model)
            if (!m_bLoad && k.first == key.first)
                expected.push_back(row.nTag);
        std::sort(found.begin(), found.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(expected, found) << "prefix " << key.first;
    }

    void SearchFull()
    {
        Key key = RandomKey();
        std::string strBoard = std::to_string(key.second);
        CDataBuffer* pRow = m_q.rows.FindRow({key.first.c_str(), strBoard.c_str()});
        if (m_bLoad || m_model.count(key) == 0) {
            EXPECT_EQ(nullptr, pRow);
            return;
        }
        ASSERT_NE(nullptr, pRow);
        EXPECT_EQ(key.first, std::string(pRow->GetText(QCOL_SYM)));
        EXPECT_EQ(key.second, pRow->GetLong(QCOL_BOARD));
        EXPECT_EQ(FirstMatch(key, true), m_q.rows.FindRowIndex({key.first.c_str(), strBoard.c_str()}));
        EXPECT_EQ(pRow, m_q.rows.GetAt(m_q.rows.FindIndexOfRow(pRow)));
    }

    void RemoveAll()
    {
        // As a table empties itself for a new reply: the engine first, then the store.
        m_q.table.RemoveAllRows();
        m_q.rows.RemoveAll();
        m_model.clear();
    }

    // Lines of the model, the store and a view, each sorted so that ties compare by tag.
    std::vector<Line> ModelLines() const
    {
        std::vector<Line> lines;
        for (const auto& [key, row] : m_model)
            lines.emplace_back(key.first, key.second, row.nTag, row.dLast);
        std::sort(lines.begin(), lines.end());
        return lines;
    }
    std::vector<Line> StoreLines(bool* pbOrdered) const
    {
        std::vector<Line> lines;
        for (int i = 0; i < m_q.rows.GetCount(); ++i) {
            CDataBuffer* pRow = m_q.rows.GetAt(i);
            lines.emplace_back(std::string(pRow->GetText(QCOL_SYM)), pRow->GetLong(QCOL_BOARD), pRow->GetLong(QCOL_TAG),
                               pRow->GetDouble(QCOL_LAST));
        }
        *pbOrdered = IsKeyOrdered(lines);
        std::sort(lines.begin(), lines.end());
        return lines;
    }
    std::vector<Line> ViewLines(int nView, bool* pbOrdered) const
    {
        CViewTable& view = *m_q.table.GetView(nView);
        std::vector<Line> lines;
        for (int i = 0; i < view.GetRowCount(); ++i) {
            CRowPosition pos;
            if (!view.GetRowTree().LocateByIndex(i, &pos) || !pos.m_pNode)
                continue;
            const TBCellSlot* p = pos.m_pNode->GetData();
            lines.emplace_back(static_cast<const char*>(p[QCOL_SYM].pData), p[QCOL_BOARD].nValue, p[QCOL_TAG].nValue,
                               *static_cast<const double*>(p[QCOL_LAST].pData));
        }
        *pbOrdered = IsKeyOrdered(lines);
        std::sort(lines.begin(), lines.end());
        return lines;
    }
    static bool IsKeyOrdered(const std::vector<Line>& lines)
    {
        for (size_t i = 1; i < lines.size(); ++i)
            if (std::tie(std::get<0>(lines[i]), std::get<1>(lines[i]))
                < std::tie(std::get<0>(lines[i - 1]), std::get<1>(lines[i - 1])))
                return false;
        return true;
    }
    static std::string Text(const std::vector<Line>& lines)
    {
        std::string out;
        for (const Line& l : lines)
            out += std::get<0>(l) + "/" + std::to_string(std::get<1>(l)) + "#" + std::to_string(std::get<2>(l)) + "="
                 + std::to_string(std::get<3>(l)) + " ";
        return out;
    }

    void Check(int nStep)
    {
        ASSERT_EQ(static_cast<int>(m_model.size()), m_q.rows.GetCount()) << "step " << nStep;
        ASSERT_EQ(static_cast<int>(m_model.size()), m_q.table.GetView(1)->GetRowCount()) << "step " << nStep;
        std::string strModel = Text(ModelLines());
        bool bStoreOrdered = false;
        bool bViewOrdered = false;
        bool bOther = false;
        ASSERT_EQ(strModel, Text(StoreLines(&bStoreOrdered))) << "store after step " << nStep;
        ASSERT_EQ(strModel, Text(ViewLines(0, &bViewOrdered))) << "view 0 after step " << nStep;
        ASSERT_EQ(strModel, Text(ViewLines(1, &bOther))) << "view 1 after step " << nStep;
        ASSERT_TRUE(bViewOrdered) << "view 0 after step " << nStep;
        ASSERT_EQ(m_bLoad, m_q.rows.IsBulk() != FALSE) << "step " << nStep;
        if (!m_bLoad) {
            ASSERT_TRUE(bStoreOrdered) << "store after step " << nStep << ": " << m_q.StoreText();
        }
        ASSERT_TRUE(m_q.pSink->m_errors.empty());
    }

    void Run(int nSteps)
    {
        for (int nStep = 0; nStep < nSteps; ++nStep) {
            Step();
            Check(nStep);
            if (testing::Test::HasFatalFailure() || testing::Test::HasNonfatalFailure())
                FAIL() << "stopped at step " << nStep;
        }
    }

private:
    std::mt19937 m_rng;
    CQuoteStore m_q;
    std::multimap<Key, MRow> m_model;
    bool m_bLoad = false;
    int32_t m_nNextTag = 1;
};

TEST(DataArrayModel, StoreAndViewsFollowTheModel)
{
    for (unsigned nSeed : {1u, 2u, 3u, 17u}) {
        SCOPED_TRACE(testing::Message() << "seed " << nSeed);
        CStoreModel model(nSeed);     // fixed seeds: a failure replays step by step
        model.Run(3000);
    }
}

} // namespace
