#include <map>
#include <random>
#include <string>
#include <vector>
#include <gtest/gtest.h>
#include "platform/mfc/Map.h"

namespace {

enum ETransactionType { TT_BUY = 1, TT_SELL = 2, TT_SHORT = 27 };

template<class MAP, class KEY, class VALUE>
std::vector<std::pair<KEY, VALUE>> Walk(const MAP& map)
{
    std::vector<std::pair<KEY, VALUE>> entries;
    KEY key{};
    VALUE value{};
    for (POSITION pos = map.GetStartPosition(); pos != nullptr;) {
        map.GetNextAssoc(pos, key, value);
        entries.emplace_back(key, value);
    }
    return entries;
}

} // namespace

TEST(CMap, WalksBucketsInTheOriginalOrder)
{
    // Integer keys hash to key >> 4 (taken as 32 bits); a bucket's newest key comes first.
    CMap<int, int, int, int> markets;
    for (int nKey : {1, 17, 16, 33, 300, -1})
        markets[nKey] = nKey * 10;
    // Buckets of 17: 1 -> 0; 17, 16 and 300 -> 1; 33 -> 2; -1 -> 0x0FFFFFFF % 17 = 15.
    std::vector<std::pair<int, int>> expected = {{1, 10}, {300, 3000}, {16, 160}, {17, 170}, {33, 330}, {-1, -10}};
    EXPECT_EQ(expected, (Walk<decltype(markets), int, int>(markets)));

    // Texts hash as hash * 33 + byte: GBP, USD, KWD and BHD land in buckets 0, 2, 5 and 11,
    // EUR, JPY and SAR all in 15, where the newest comes first.
    CMap<CString, LPCSTR, double, double&> rates;
    for (LPCSTR pszCode : {"EUR", "KWD", "USD", "GBP", "JPY", "SAR", "BHD"})
        rates.SetAt(pszCode, 1.0);
    std::vector<std::string> keys;
    for (const auto& entry : Walk<decltype(rates), CString, double>(rates))
        keys.push_back(entry.first.GetString());
    EXPECT_EQ((std::vector<std::string>{"GBP", "USD", "KWD", "BHD", "SAR", "JPY", "EUR"}), keys);
    EXPECT_EQ(17u, rates.GetHashTableSize());
}

TEST(CMap, LooksUpSetsAndRemoves)
{
    CMap<CString, LPCSTR, int, int> codes;          // mnemonic -> message type
    codes.InitHashTable(17);
    codes.SetAt("GS", 125);
    codes["OB"] = 120;
    codes.SetAt("GS", 126);                         // replaces
    int nType = 0;
    EXPECT_TRUE(codes.Lookup("GS", nType));
    EXPECT_EQ(126, nType);
    EXPECT_FALSE(codes.Lookup("gs", nType));        // keys compare exactly
    EXPECT_EQ(126, nType);                          // untouched on a miss
    EXPECT_EQ(2, codes.GetCount());
    EXPECT_TRUE(codes.RemoveKey("OB"));
    EXPECT_FALSE(codes.RemoveKey("OB"));
    EXPECT_EQ(0, codes["XC"]);                      // operator[] adds a default value
    EXPECT_EQ(2, codes.GetCount());
    codes.RemoveAll();
    EXPECT_TRUE(codes.IsEmpty());
    EXPECT_EQ(nullptr, codes.GetStartPosition());
    EXPECT_FALSE(codes.RemoveKey("GS"));

    CMap<ETransactionType, ETransactionType, CString, CString&> sides;   // a code table
    sides[TT_BUY] = "Buy";
    sides[TT_SHORT] = "Short";
    CString strText;
    EXPECT_TRUE(sides.Lookup(TT_SHORT, strText));
    EXPECT_STREQ("Short", strText);
    EXPECT_FALSE(sides.Lookup(TT_SELL, strText));

    CMapStringToPtr index;
    int nRow = 5;
    index.SetAt("KWD.", &nRow);
    void* pRow = nullptr;
    EXPECT_TRUE(index.Lookup("KWD.", pRow));
    EXPECT_EQ(&nRow, pRow);
}

TEST(CMap, MatchesAModelUnderRandomEditsAndRemovalWhileWalking)
{
    std::mt19937 rng(17);                           // fixed seed: a failure replays step by step
    CMap<long, long, CString, LPCSTR> errors(10);
    std::map<long, std::string> model;
    for (int nStep = 0; nStep < 4000; ++nStep) {
        long lCode = static_cast<long>(rng() % 300) - 50;
        if (rng() % 3 == 0) {
            EXPECT_EQ(model.erase(lCode) == 1, errors.RemoveKey(lCode) == TRUE) << "step " << nStep;
        } else {
            std::string strText = "E" + std::to_string(nStep);
            errors.SetAt(lCode, strText.c_str());
            model[lCode] = strText;
        }
        if (nStep == 2000)
            errors.InitHashTable(101);              // re-spread while full: nothing lost
    }
    ASSERT_EQ(static_cast<int>(model.size()), errors.GetCount());
    std::map<long, std::string> walked;
    for (const auto& [lCode, strText] : Walk<decltype(errors), long, CString>(errors))
        walked[lCode] = strText.GetString();
    EXPECT_EQ(model, walked);

    // A copy walks in the same order as its original.
    CMap<long, long, CString, LPCSTR> copy(errors);
    EXPECT_EQ((Walk<decltype(errors), long, CString>(errors)), (Walk<decltype(copy), long, CString>(copy)));

    // Removing the key just returned is safe; every key is still visited exactly once.
    int nVisited = 0;
    long lCode;
    CString strText;
    for (POSITION pos = errors.GetStartPosition(); pos != nullptr; ++nVisited) {
        errors.GetNextAssoc(pos, lCode, strText);
        if (lCode % 2 == 0)
            errors.RemoveKey(lCode);
    }
    EXPECT_EQ(static_cast<int>(model.size()), nVisited);
    for (auto it = model.begin(); it != model.end();)
        it = it->first % 2 == 0 ? model.erase(it) : std::next(it);
    EXPECT_EQ(static_cast<int>(model.size()), errors.GetCount());
}
