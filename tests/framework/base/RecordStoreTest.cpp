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

INT_PTR Text(const char* psz) { return reinterpret_cast<INT_PTR>(psz); }

} // namespace

TEST(RecordStore, SetUpRefusesWhatItCannotHold)
{
    CRecordStore store;
    EXPECT_FALSE(store.Init(0, 10, 20));
    EXPECT_FALSE(store.Init(151, 10, 20));
    EXPECT_EQ(nullptr, store.InsertAt(0, nullptr)) << "no field count yet";
    EXPECT_TRUE(store.Init(150, 10, 20));

    EXPECT_FALSE(store.SetKeyFields(150, FALSE, -1, FALSE));
    EXPECT_EQ(-1, store.Find(1)) << "no key field";
    EXPECT_TRUE(store.SetKeyFields(3, FALSE, 3, FALSE));
    EXPECT_EQ(-4, store.Find(1));

    // A second key equal to the first is dropped: records equal on field 3 are equal.
    store.InsertAt(0, nullptr)[3] = 7;
    BOOL bFound = FALSE;
    EXPECT_EQ(0, store.Find(7, 99, &bFound));
    EXPECT_TRUE(bFound);
}

TEST(RecordStore, FindStepsOverEmptySlots)
{
    IntStore t;
    EXPECT_EQ(-4, t.store.Find(10));
    BOOL bFound = TRUE;
    EXPECT_EQ(-4, t.store.Find(10, -1, &bFound));

    t.Put(0, 10);
    t.Put(5, 20);
    t.Put(9, 30);
    EXPECT_EQ(9, t.store.GetUpperBound());
    EXPECT_EQ(5, t.store.Find(20));
    EXPECT_EQ(-3, t.store.Find(25));
    EXPECT_EQ(6, t.store.Find(25, -1, &bFound));
    EXPECT_FALSE(bFound);
    EXPECT_EQ(-2, t.store.Find(35));
    EXPECT_EQ(10, t.store.Find(35, -1, &bFound));
    EXPECT_EQ(0, t.store.Find(5, -1, &bFound));
    EXPECT_FALSE(bFound);
    EXPECT_EQ(9, t.store.Find(30, -1, &bFound));
    EXPECT_TRUE(bFound);
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

TEST(RecordStore, InsertMovesOnlyUpToTheNearestEmptySlot)
{
    IntStore t;
    t.Put(0, 10);
    t.Put(1, 20);
    t.Put(3, 40);
    INT_PTR* pMoved = t.store.GetAt(1);
    t.store.InsertAt(1, nullptr)[0] = 15;      // 20 moves into the empty slot 2, 40 stays
    EXPECT_EQ(pMoved, t.store.GetAt(2));
    EXPECT_EQ(3, t.store.GetUpperBound());
    EXPECT_EQ("10 15 20 40 ", t.Keys());

    t.store.InsertAt(0, nullptr)[0] = 5;       // no empty slot: everything moves, the bound grows
    EXPECT_EQ(4, t.store.GetUpperBound());
    EXPECT_EQ("5 10 15 20 40 ", t.Keys());

    // Far beyond the capacity of 4: the slot array grows to hold it.
    t.Put(500, 99);
    EXPECT_EQ(500, t.store.GetUpperBound());
    EXPECT_EQ(500, t.store.GetNextIndex(4));
    EXPECT_EQ(nullptr, t.store.GetAt(250));
    EXPECT_EQ(nullptr, t.store.GetAt(501));
    EXPECT_EQ(nullptr, t.store.GetAt(-1));
    EXPECT_EQ(nullptr, t.store.InsertAt(INT_MAX, nullptr)) << "an index no slot array can hold";
}

TEST(RecordStore, DeleteLowersTheUpperBound)
{
    IntStore t;
    t.Put(0, 10);
    EXPECT_TRUE(t.store.DeleteAt(0));
    EXPECT_EQ(-1, t.store.GetUpperBound());
    EXPECT_EQ(-4, t.store.Find(10));
    EXPECT_FALSE(t.store.DeleteAt(0));

    t.Put(0, 10);
    t.Put(5, 20);
    t.Put(9, 30);
    EXPECT_TRUE(t.store.DeleteAt(9));
    EXPECT_EQ(5, t.store.GetUpperBound());
    EXPECT_FALSE(t.store.DeleteAt(7));
    EXPECT_FALSE(t.store.DeleteAt(-1));
    EXPECT_EQ(-1, t.store.GetNextIndex(5));
}

TEST(RecordStore, FindOrInsertKeepsRandomKeysSortedLikeAVector)
{
    std::mt19937 rng(11);                       // fixed seed: a failure replays step by step
    IntStore t;
    std::vector<int> model;
    std::uniform_int_distribution<int> key(-50, 50);
    for (int nStep = 0; nStep < 3000; ++nStep) {
        const int nKey = key(rng);
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

TEST(RecordStore, TextAndSecondKeys)
{
    CRecordStore store;
    ASSERT_TRUE(store.Init(2, 0, 0));
    ASSERT_TRUE(store.SetKeyFields(0, TRUE, 1, FALSE));
    static const struct { const char* pszName; int nSub; } rows[] = {
        {"b", 2}, {"B", 1}, {"b", 1}, {"\xE9t\xE9", 1}, {"a", 9}};
    for (const auto& r : rows) {
        INT_PTR* pRec = store.FindOrInsert(Text(r.pszName), r.nSub);
        store.SetString(pRec, 0, r.pszName);
        pRec[1] = r.nSub;
    }
    std::string str;
    for (int i = store.GetNextIndex(-1); i >= 0; i = store.GetNextIndex(i))
        str += std::string(reinterpret_cast<const char*>(store.GetAt(i)[0])) + std::to_string(store.GetAt(i)[1]) + " ";
    // Byte order: upper case first, bytes above 127 last.
    EXPECT_EQ("B1 a9 b1 b2 \xE9t\xE9" "1 ", str);

    BOOL bFound = FALSE;
    const int nIndex = store.Find(Text("b"), 2, &bFound);
    ASSERT_TRUE(bFound);
    EXPECT_EQ(2, store.GetAt(nIndex)[1]);
    store.Find(Text("b"), 3, &bFound);
    EXPECT_FALSE(bFound);
    store.Find(Text("b"), -1, &bFound);
    EXPECT_TRUE(bFound) << "a second key of -1 is not compared";
}

TEST(RecordStore, PooledTexts)
{
    CRecordStore store;
    ASSERT_TRUE(store.Init(1, 10, 20));
    BOOL bUnchanged = TRUE;

    LPCSTR psz = store.SetString(nullptr, "alpha", &bUnchanged, 0);
    EXPECT_STREQ("alpha", psz);
    EXPECT_FALSE(bUnchanged);
    std::string strCopy = "alpha";
    EXPECT_EQ(psz, store.SetString(psz, strCopy.c_str(), &bUnchanged, 0));
    EXPECT_TRUE(bUnchanged);

    // A released block is handed out again for a text of the same length.
    LPCSTR pszBeta = store.SetString(psz, "betas", &bUnchanged, 0);
    EXPECT_FALSE(bUnchanged);
    EXPECT_STREQ("betas", pszBeta);
    EXPECT_EQ(psz, store.SetString(nullptr, "gamma", nullptr, 0));

    // Empty and null both give the shared empty text, and so does a length of 0 after cutting.
    LPCSTR pszEmpty = store.SetString(pszBeta, nullptr, nullptr, 0);
    EXPECT_STREQ("", pszEmpty);
    EXPECT_EQ(pszEmpty, store.SetString(nullptr, "", nullptr, 0));
    EXPECT_EQ(pszEmpty, store.SetString(pszEmpty, "", &bUnchanged, 0));
    EXPECT_TRUE(bUnchanged);

    // Lengths: the given one, cut to 1024, never past the text's end.
    const std::string strLong(2000, 'x');
    EXPECT_EQ(1024u, strlen(store.SetString(nullptr, strLong.c_str(), nullptr, 0)));
    EXPECT_STREQ("alp", store.SetString(nullptr, "alphabet", nullptr, 3));
    EXPECT_STREQ("ab", store.SetString(nullptr, "ab", nullptr, 50));

    // A new text taken from the old one's own bytes.
    LPCSTR pszOld = store.SetString(nullptr, "prefix-tail", nullptr, 0);
    EXPECT_STREQ("tail", store.SetString(pszOld, pszOld + 7, nullptr, 0));

    // Many texts of all lengths stay intact while others are released around them.
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
