// The row store keyed by an integer first (board, then symbol or price), as the KSE tables are
// keyed by stock and the order book by stock and price: seeded adds in and out of loads, key
// changes in and out of batches and removals against a std::map; after every step the store
// keeps the model's order and every search finds what the model holds.
#include <gtest/gtest.h>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include "DataArrayTestSupport.h"

namespace {

typedef std::pair<int32_t, std::string> LeadKey;     // board, symbol

const char* const s_leadSymbols[] = {"A", "B", "BA", "C"};
// Each symbol's price, in the symbols' order: keyed by board and price, the rows keep the order
// the model's board and symbol give.
const char* const s_leadPrices[] = {"-2.5", "1.5", "2.25", "10.125"};

int SymbolIndex(const std::string& strSym)
{
    for (int i = 0; i < 4; ++i)
        if (strSym == s_leadSymbols[i])
            return i;
    return 0;
}

class CLeadModel
{
public:
    CLeadModel(unsigned nSeed, bool bPrice) : m_rng(nSeed), m_bPrice(bPrice)
    {
        m_q.rows.SetKeyColumns({QCOL_BOARD, bPrice ? QCOL_LAST : QCOL_SYM});
        m_q.Sort(0, {{QCOL_BOARD, 1}, {QCOL_SYM, 1}});
    }
    int Rand(int n) { return static_cast<int>(m_rng() % static_cast<unsigned>(n)); }
    // Boards far apart and negative too, a few symbols each: long runs of one leading key.
    LeadKey RandomKey() { return {(Rand(7) - 3) * 1000003, s_leadSymbols[Rand(4)]}; }
    CDataBuffer* RandomRow() { return m_q.rows.GetAt(Rand(m_q.rows.GetCount() + 1)); }

    void WriteKey(CDataBuffer* pRow, const LeadKey& key)
    {
        EXPECT_TRUE(pRow->SetValue(QCOL_BOARD, &key.first, TRUE));
        EXPECT_TRUE(pRow->SetText(QCOL_SYM, key.second.c_str(), TRUE));
        EXPECT_TRUE(pRow->SetText(QCOL_LAST, s_leadPrices[SymbolIndex(key.second)], TRUE));
    }
    // A new key for the row unless another row has it: the map holds one row a key.
    bool Rekey(CDataBuffer* pRow, LeadKey* pKey)
    {
        const int32_t nTag = pRow->GetLong(QCOL_TAG);
        LeadKey key = RandomKey();
        if (m_model.count(key) > 0)
            return false;
        for (auto it = m_model.begin(); it != m_model.end(); ++it)
            if (it->second == nTag) {
                m_model.erase(it);
                break;
            }
        m_model[key] = nTag;
        *pKey = key;
        return true;
    }

    void Step()
    {
        const int nOp = Rand(100);
        LeadKey key = RandomKey();
        if (nOp < 40) {
            if (m_model.count(key) == 0) {
                EXPECT_LE(0, m_q.Add(key.second.c_str(), key.first, atof(s_leadPrices[SymbolIndex(key.second)]), m_nNextTag));
                m_model[key] = m_nNextTag++;
            }
        } else if (nOp < 44 && !m_bLoad) {
            m_q.rows.BeginUpdate();
            m_bLoad = true;
        } else if (nOp < 50 && m_bLoad) {
            m_q.rows.EndUpdate();
            m_bLoad = false;
        } else if (nOp < 65 && !m_bLoad) {
            CDataBuffer* pRow = RandomRow();
            if (pRow && Rekey(pRow, &key))
                WriteKey(pRow, key);
        } else if (nOp < 80 && !m_bLoad) {
            CDataBuffer* pRow = RandomRow();
            if (pRow && Rekey(pRow, &key)) {
                pRow->BeginChanges();
                WriteKey(pRow, key);
                pRow->Commit();
            }
        } else if (nOp < 95 && !m_bLoad) {
            CDataBuffer* pRow = RandomRow();
            if (pRow) {
                const LeadKey old = {pRow->GetLong(QCOL_BOARD), std::string(pRow->GetText(QCOL_SYM))};
                EXPECT_TRUE(m_q.rows.RemoveAt(m_q.rows.FindIndexOfRow(pRow)));
                m_model.erase(old);
            }
        }
    }

    void Check(int nStep)
    {
        if (m_bLoad)
            return;
        std::string strModel;
        for (const auto& [key, nTag] : m_model)
            strModel += key.second + "/" + std::to_string(key.first) + "#" + std::to_string(nTag) + " ";
        ASSERT_EQ(strModel, m_q.StoreText()) << "step " << nStep;
        ASSERT_EQ(strModel, m_q.ViewRows(0)) << "step " << nStep;
        // Every key of the model's boards, present or not, by ids and by texts.
        for (int nBoard = -3; nBoard <= 3; ++nBoard) {
            const int32_t nId = nBoard * 1000003;
            const std::string strId = std::to_string(nId);
            auto first = m_model.lower_bound({nId, ""});
            const int nFirst = first != m_model.end() && first->first.first == nId
                                   ? static_cast<int>(std::distance(m_model.begin(), first)) : -1;
            // A negative id finds nothing by design; its text does.
            ASSERT_EQ(nId < 0 ? -1 : nFirst, m_q.rows.FindRowIndexByIds({nId})) << "board " << nId << " step " << nStep;
            ASSERT_EQ(nFirst, m_q.rows.FindRowIndex({strId.c_str()})) << "board " << nId << " step " << nStep;
            for (int i = 0; i < 4; ++i) {
                auto it = m_model.find({nId, s_leadSymbols[i]});
                const int nIndex = it != m_model.end() ? static_cast<int>(std::distance(m_model.begin(), it)) : -1;
                const char* pszKey = m_bPrice ? s_leadPrices[i] : s_leadSymbols[i];
                ASSERT_EQ(nIndex, m_q.rows.FindRowIndex({strId.c_str(), pszKey})) << pszKey << " step " << nStep;
                if (nIndex >= 0) {
                    CDataBuffer* pRow = m_q.rows.GetAt(nIndex);
                    ASSERT_EQ(nIndex, m_q.rows.FindIndexOfRow(pRow)) << "step " << nStep;
                }
            }
        }
    }

    void Run(int nSteps)
    {
        for (int nStep = 0; nStep < nSteps; ++nStep) {
            Step();
            Check(nStep);
            if (testing::Test::HasFailure())
                FAIL() << "stopped at step " << nStep;
        }
    }

private:
    std::mt19937 m_rng;
    CQuoteStore m_q;
    std::map<LeadKey, int32_t> m_model;
    bool m_bPrice;
    bool m_bLoad = false;
    int32_t m_nNextTag = 1;
};

}  // namespace

TEST(DataArrayLead, IntegerFirstKeyStoreFollowsTheModel)
{
    for (bool bPrice : {false, true})
        for (unsigned nSeed : {5u, 6u, 29u}) {
            SCOPED_TRACE(testing::Message() << "seed " << nSeed << (bPrice ? " by price" : " by symbol"));
            CLeadModel model(nSeed, bPrice);
            model.Run(1500);
        }
}

// New key columns while a batch is open: the rows are put in the new order once it commits.
TEST(DataArrayLead, KeysChangedInsideABatchSortOnceItCommits)
{
    CQuoteStore q;
    q.Add("C", 1, 1.0, 1);
    q.Add("B", 3, 1.0, 2);
    q.Add("A", 2, 1.0, 3);
    CDataBuffer* pRow = q.rows.GetAt(0);
    pRow->BeginChanges();
    ASSERT_TRUE(pRow->SetText(QCOL_SYM, "D", TRUE));
    ASSERT_TRUE(q.rows.SetKeyColumns({QCOL_BOARD, QCOL_SYM}));
    pRow->Commit();
    EXPECT_EQ("C/1#1 D/2#3 B/3#2 ", q.StoreText());
    EXPECT_EQ(1, q.rows.FindRowIndexByIds({2}));
    EXPECT_EQ(2, q.rows.FindRowIndex({"3", "B"}));
}
