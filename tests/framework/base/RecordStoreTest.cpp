#include "framework/base/RecordStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

// A store of two fields keyed on an integer in field 0.
struct IntStore {
    CRecordStore store;
    IntStore()
    {
        EXPECT_TRUE(store.Init(2, 4, 50));
        EXPECT_TRUE(store.SetKeyFields(0, FALSE, -1, FALSE));
    }
    void Put(int nSlot, int nKey) { store.InsertAt(nSlot, nullptr)[0] = nKey; }
    // The keys in slot order, so a failure shows the whole store.
    std::string Keys() const
    {
        std::string str;
        for (int i = store.GetNextIndex(-1); i >= 0; i = store.GetNextIndex(i))
            str += std::to_string(static_cast<int32_t>(store.GetAt(i)[0])) + " ";
        return str;
    }
};

} // namespace

TEST(RecordStore, SetUpRefusesWhatItCannotHold)
{
    CRecordStore store;
    EXPECT_FALSE(store.Init(151, 10, 20));
    EXPECT_EQ(nullptr, store.InsertAt(0, nullptr)) << "no field count yet";
    EXPECT_TRUE(store.Init(150, 10, 20));
    EXPECT_FALSE(store.SetKeyFields(150, FALSE, -1, FALSE));
    EXPECT_EQ(-1, store.Find(1)) << "no key field";
    // A second key equal to the first is dropped: records equal on field 3 are equal.
    EXPECT_TRUE(store.SetKeyFields(3, FALSE, 3, FALSE));
    store.InsertAt(0, nullptr)[3] = 7;
    BOOL bFound = FALSE;
    EXPECT_EQ(0, store.Find(7, 99, &bFound));
    EXPECT_TRUE(bFound);
}

TEST(RecordStore, FindInsertAndDeleteAroundEmptySlots)
{
    IntStore t;
    BOOL bFound = TRUE;
    EXPECT_EQ(-4, t.store.Find(10));
    EXPECT_EQ(-4, t.store.Find(10, -1, &bFound));
    t.Put(0, 10);
    t.Put(5, 20);
    t.Put(9, 30);
    EXPECT_EQ(5, t.store.Find(20));
    EXPECT_EQ(-3, t.store.Find(25));
    EXPECT_EQ(6, t.store.Find(25, -1, &bFound));
    EXPECT_FALSE(bFound);
    EXPECT_EQ(-2, t.store.Find(35));
    EXPECT_EQ(10, t.store.Find(35, -1, &bFound));
    EXPECT_EQ(0, t.store.Find(5, -1, &bFound));

    // An insert moves the occupied slots only up to the nearest empty one.
    INT_PTR* pMoved = t.store.GetAt(5);
    t.store.InsertAt(5, nullptr)[0] = 15;
    EXPECT_EQ(pMoved, t.store.GetAt(6));
    EXPECT_EQ(9, t.store.GetUpperBound());
    EXPECT_EQ("10 15 20 30 ", t.Keys());

    EXPECT_TRUE(t.store.DeleteAt(9));
    EXPECT_EQ(6, t.store.GetUpperBound());
    EXPECT_FALSE(t.store.DeleteAt(9));
    EXPECT_FALSE(t.store.DeleteAt(-1));
    t.Put(500, 99);                             // far beyond the capacity of 4
    EXPECT_EQ(500, t.store.GetNextIndex(6));
    EXPECT_EQ(nullptr, t.store.GetAt(501));
    EXPECT_EQ(nullptr, t.store.InsertAt(INT_MAX, nullptr)) << "an index no slot array can hold";
    for (int i : {0, 5, 6, 500})
        EXPECT_TRUE(t.store.DeleteAt(i));
    EXPECT_EQ(-1, t.store.GetUpperBound());
}

TEST(RecordStore, IntegerKeysOrderAcrossTheWholeRange)
{
    // Keys whose 32-bit difference overflows must still sort by value.
    IntStore t;
    const int keys[] = {0, INT_MAX, -1, INT_MIN, 1, INT_MAX - 1, INT_MIN + 1, -1000000000, 2000000000};
    for (int nKey : keys)
        t.store.FindOrInsert(nKey, -1)[0] = nKey;
    EXPECT_EQ("-2147483648 -2147483647 -1000000000 -1 0 1 2000000000 2147483646 2147483647 ", t.Keys());
    for (int nKey : keys) {
        BOOL bFound = FALSE;
        const int nIndex = t.store.Find(nKey, -1, &bFound);
        ASSERT_TRUE(bFound) << nKey;
        EXPECT_EQ(nKey, static_cast<int32_t>(t.store.GetAt(nIndex)[0]));
    }
}

TEST(RecordStore, RandomInsertsAndDeletesStaySortedLikeAVector)
{
    std::mt19937 rng(11);                       // fixed seed: a failure replays step by step
    IntStore t;
    std::vector<int> model;
    for (int nStep = 0; nStep < 3000; ++nStep) {
        const int nKey = static_cast<int>(rng() % 101) - 50;
        BOOL bFound = FALSE;
        const int nIndex = t.store.Find(nKey, -1, &bFound);
        if (bFound && rng() % 2 == 0) {
            ASSERT_TRUE(t.store.DeleteAt(nIndex)) << "step " << nStep;
            model.erase(std::find(model.begin(), model.end(), nKey));
        } else {
            t.store.FindOrInsert(nKey, -1)[0] = nKey;
            model.insert(std::upper_bound(model.begin(), model.end(), nKey), nKey);
        }
        std::string strModel;
        for (int n : model)
            strModel += std::to_string(n) + " ";
        ASSERT_EQ(strModel, t.Keys()) << "after step " << nStep;
    }
}

TEST(RecordStore, TextKeysWithASecondKey)
{
    CRecordStore store;
    ASSERT_TRUE(store.Init(2, 0, 0));
    ASSERT_TRUE(store.SetKeyFields(0, TRUE, 1, FALSE));
    for (const auto& [pszName, nSub] : {std::pair{"b", 2}, {"B", 1}, {"b", 1}, {"\xE9t\xE9", 1}, {"a", 9}}) {
        INT_PTR* pRec = store.FindOrInsert(reinterpret_cast<INT_PTR>(pszName), nSub);
        store.SetString(pRec, 0, pszName);
        pRec[1] = nSub;
    }
    std::string str;
    for (int i = store.GetNextIndex(-1); i >= 0; i = store.GetNextIndex(i))
        str += reinterpret_cast<const char*>(store.GetAt(i)[0]) + std::to_string(store.GetAt(i)[1]) + " ";
    EXPECT_EQ("B1 a9 b1 b2 \xE9t\xE9" "1 ", str) << "byte order: upper case first, bytes above 127 last";
    BOOL bFound = FALSE;
    EXPECT_EQ(2, store.GetAt(store.Find(reinterpret_cast<INT_PTR>("b"), 2, &bFound))[1]);
    store.Find(reinterpret_cast<INT_PTR>("b"), 3, &bFound);
    EXPECT_FALSE(bFound);
}

TEST(RecordStore, PooledTexts)
{
    CRecordStore store;
    ASSERT_TRUE(store.Init(1, 10, 20));
    BOOL bUnchanged = FALSE;
    LPCSTR psz = store.SetString(nullptr, "alpha", &bUnchanged, 0);
    EXPECT_EQ(psz, store.SetString(psz, std::string("alpha").c_str(), &bUnchanged, 0));
    EXPECT_TRUE(bUnchanged);
    // A released block is handed out again for a text of the same length.
    LPCSTR pszBeta = store.SetString(psz, "betas", &bUnchanged, 0);
    EXPECT_FALSE(bUnchanged);
    EXPECT_EQ(psz, store.SetString(nullptr, "gamma", nullptr, 0));
    LPCSTR pszEmpty = store.SetString(pszBeta, nullptr, nullptr, 0);
    EXPECT_STREQ("", pszEmpty);
    EXPECT_EQ(pszEmpty, store.SetString(nullptr, "", nullptr, 0));
    // Lengths: the given one, cut to 1024, never past the text's end.
    EXPECT_EQ(1024u, strlen(store.SetString(nullptr, std::string(2000, 'x').c_str(), nullptr, 0)));
    EXPECT_STREQ("alp", store.SetString(nullptr, "alphabet", nullptr, 3));
    EXPECT_STREQ("ab", store.SetString(nullptr, "ab", nullptr, 50));
    LPCSTR pszOld = store.SetString(nullptr, "prefix-tail", nullptr, 0);
    EXPECT_STREQ("tail", store.SetString(pszOld, pszOld + 7, nullptr, 0)) << "taken from its own old text";

    // Texts of all lengths stay intact while others are released and reused around them.
    std::vector<LPCSTR> texts(600, nullptr);
    std::vector<std::string> model(600);
    std::mt19937 rng(5);
    for (int nStep = 0; nStep < 20000; ++nStep) {
        const size_t i = rng() % texts.size();
        model[i] = std::string(rng() % 300, static_cast<char>('a' + rng() % 26));
        texts[i] = store.SetString(texts[i], model[i].c_str(), nullptr, 0);
    }
    for (size_t i = 0; i < texts.size(); ++i)
        ASSERT_EQ(model[i], texts[i]) << "text " << i;
}
