#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "framework/base/OwnedPtrArray.h"

namespace {
// A framework object that records its own death in a shared list.
class CTracked
{
public:
    CTracked(int nId, std::vector<int>* pDead) : m_nId(nId), m_pDead(pDead) {}
    virtual ~CTracked() { m_pDead->push_back(m_nId); }
private:
    int m_nId;
    std::vector<int>* m_pDead;
};

class CTrackedChild : public CTracked
{
public:
    CTrackedChild(int nId, std::vector<int>* pDead, int* pnChildDeaths) : CTracked(nId, pDead), m_pnChildDeaths(pnChildDeaths) {}
    ~CTrackedChild() override { ++*m_pnChildDeaths; }
private:
    int* m_pnChildDeaths;
};

// A plain record without a virtual destructor.
struct PlainRecord
{
    static int s_nDeaths;
    int nValue = 0;
    ~PlainRecord() { ++s_nDeaths; }
};
int PlainRecord::s_nDeaths = 0;

std::string Dump(const CTBIntArray& arr)
{
    std::string strOut;
    for (int nValue : arr)
        strOut += std::to_string(nValue) + " ";
    return strOut;
}

std::string Dump(const std::vector<int>& model)
{
    std::string strOut;
    for (int nValue : model)
        strOut += std::to_string(nValue) + " ";
    return strOut;
}
}  // namespace

TEST(OwnedPtrArray, GrowsByTheStepOrToExactlyTheSizeAsked)
{
    CTBIntArray arr;
    EXPECT_EQ(nullptr, arr.GetData());
    EXPECT_EQ(0, arr.GetSize());
    EXPECT_TRUE(arr.SetAtGrow(5, 7));
    EXPECT_EQ(6, arr.GetSize());
    EXPECT_EQ("0 0 0 0 0 7 ", Dump(arr));

    CTBIntArray arrStep;
    arrStep.SetSize(4, 10);
    EXPECT_EQ(4, arrStep.GetCapacity());
    arrStep.SetSize(5);
    EXPECT_EQ(14, arrStep.GetCapacity());
    EXPECT_EQ(5, arrStep.GetSize());

    CTBIntArray arrJump;
    arrJump.SetSize(4, 10);
    arrJump.SetSize(20);
    EXPECT_EQ(20, arrJump.GetCapacity());

    // Slots uncovered again after a shrink come back zeroed.
    CTBIntArray arrReuse;
    arrReuse.SetSize(3, 0);
    arrReuse[0] = 1; arrReuse[1] = 2; arrReuse[2] = 3;
    arrReuse.SetSize(1);
    arrReuse.SetSize(3);
    EXPECT_EQ("1 0 0 ", Dump(arrReuse));
    EXPECT_EQ(3, arrReuse.GetCapacity());

    // An appending loop with a step reallocates once per step, not per element: the first
    // block is exactly one slot, then 17, 33, 49.
    CTBIntArray arrAppend;
    arrAppend.SetSize(0, 16);
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(i, arrAppend.Add(i));
    EXPECT_EQ(40, arrAppend.GetSize());
    EXPECT_EQ(49, arrAppend.GetCapacity());
    EXPECT_EQ(39, arrAppend.GetAt(39));
}

TEST(OwnedPtrArray, OwningArrayDeletesWhatItDrops)
{
    std::vector<int> dead;
    int nChildDeaths = 0;
    {
        CTBOwnedPtrArray<CTracked> arr;
        arr.SetSize(0, 4);
        for (int i = 0; i < 5; ++i)
            arr.Add(i == 3 ? new CTrackedChild(i, &dead, &nChildDeaths) : new CTracked(i, &dead));
        // Shrinking disposes of the slots past the new end only, through the virtual destructor.
        arr.SetSize(2);
        EXPECT_EQ((std::vector<int>{2, 3, 4}), dead);
        EXPECT_EQ(1, nChildDeaths);

        // RemoveAt hands the element over to the caller.
        CTracked* pTaken = arr.GetAt(0);
        EXPECT_TRUE(arr.RemoveAt(0));
        EXPECT_EQ(1, arr.GetSize());
        EXPECT_EQ(3u, dead.size());
        delete pTaken;
        EXPECT_EQ(0, dead.back());

        arr.Add(new CTracked(10, &dead));
        arr.Add(new CTracked(11, &dead));
        EXPECT_TRUE(arr.DeleteAt(1));
        EXPECT_EQ(10, dead.back());
        EXPECT_EQ(2, arr.GetSize());
        EXPECT_FALSE(arr.DeleteAt(2));
        EXPECT_FALSE(arr.DeleteAt(0, 3));
        dead.clear();
    }
    // Destroying the array deletes what is left.
    EXPECT_EQ((std::vector<int>{1, 11}), dead);

    dead.clear();
    CTBOwnedPtrArray<CTracked> arrAll;
    arrAll.SetSize(4, 8);
    arrAll[1] = new CTracked(1, &dead);
    arrAll[3] = new CTracked(3, &dead);
    arrAll.DeleteAll();           // null slots skipped
    EXPECT_EQ((std::vector<int>{1, 3}), dead);
    EXPECT_EQ(0, arrAll.GetSize());
    EXPECT_EQ(nullptr, arrAll.GetData());
    // Still usable, and a second clear deletes nothing twice.
    arrAll.Add(new CTracked(5, &dead));
    arrAll.SetSize(0);
    EXPECT_EQ((std::vector<int>{1, 3, 5}), dead);
    EXPECT_EQ(0, arrAll.GetCapacity());
    EXPECT_EQ(8, arrAll.GetGrowBy());
    arrAll.DeleteAll();
    EXPECT_EQ(3u, dead.size());
}

TEST(OwnedPtrArray, PlainRecordsAreFreedAndBorrowedPointersLeftAlone)
{
    PlainRecord::s_nDeaths = 0;
    {
        CTBOwnedPtrArray<PlainRecord> arr;
        arr.Add(new PlainRecord);
        arr.Add(nullptr);
        arr.Add(new PlainRecord);
    }
    EXPECT_EQ(2, PlainRecord::s_nDeaths);

    std::vector<int> dead;
    CTracked a(1, &dead), b(2, &dead), c(3, &dead);
    {
        CTBPtrArray<CTracked> arr;
        arr.Add(&a);
        arr.Add(&b);
        arr.Add(&c);
        arr.SetSize(1);
        arr.SetSize(0);
        arr.Add(&b);
        arr.FreeData();
        EXPECT_EQ(0, arr.GetSize());
        arr.Add(&c);
    }
    EXPECT_TRUE(dead.empty());
}

TEST(OwnedPtrArray, InsertsArraysAndRefusesIndexesOutsideTheArray)
{
    CTBIntArray arr, arrOther;
    arr.Add(1);
    arr.Add(2);
    arrOther.Add(-1);
    arrOther.Add(-2);
    EXPECT_TRUE(arr.InsertArrayAt(1, arrOther));
    EXPECT_EQ("1 -1 -2 2 ", Dump(arr));
    EXPECT_TRUE(arr.InsertArrayAt(1, arr));        // itself: copied before anything moves
    EXPECT_EQ("1 1 -1 -2 2 -1 -2 2 ", Dump(arr));

    arr.SetSize(2);
    EXPECT_FALSE(arr.SetAtGrow(-1, 5));
    EXPECT_FALSE(arr.SetSize(-3));
    EXPECT_FALSE(arr.InsertAt(-1, 5));
    EXPECT_FALSE(arr.InsertAt(0, 5, 0));
    EXPECT_FALSE(arr.RemoveAt(2));
    EXPECT_FALSE(arr.RemoveAt(1, 2));
    EXPECT_FALSE(arr.RemoveAt(0, -1));
    EXPECT_EQ("1 1 ", Dump(arr));
    EXPECT_EQ(0, arr.GetAt(2));
    EXPECT_EQ(0, arr.GetAt(-1));
}

TEST(OwnedPtrArray, MatchesAVectorUnderRandomEdits)
{
    std::mt19937 rng(11);                          // fixed seed: a failure replays step by step
    CTBIntArray arr;
    arr.SetSize(0, 3);
    std::vector<int> model;
    for (int nStep = 0; nStep < 3000; ++nStep) {
        int nSize = static_cast<int>(model.size());
        int nValue = static_cast<int>(rng() % 1000);
        switch (rng() % 5) {
        case 0: {
            int nIndex = static_cast<int>(rng() % (nSize + 3));
            ASSERT_TRUE(arr.SetAtGrow(nIndex, nValue));
            if (nIndex >= nSize)
                model.resize(static_cast<size_t>(nIndex) + 1, 0);
            model[static_cast<size_t>(nIndex)] = nValue;
            break;
        }
        case 1: {
            int nIndex = static_cast<int>(rng() % (nSize + 3));
            int nCount = 1 + static_cast<int>(rng() % 3);
            ASSERT_TRUE(arr.InsertAt(nIndex, nValue, nCount));
            if (nIndex > nSize)
                model.resize(static_cast<size_t>(nIndex), 0);
            model.insert(model.begin() + nIndex, static_cast<size_t>(nCount), nValue);
            break;
        }
        case 2:
            if (nSize > 0) {
                int nIndex = static_cast<int>(rng() % nSize);
                int nCount = 1 + static_cast<int>(rng() % (nSize - nIndex));
                ASSERT_TRUE(arr.RemoveAt(nIndex, nCount));
                model.erase(model.begin() + nIndex, model.begin() + nIndex + nCount);
            }
            break;
        case 3: {
            int nNew = static_cast<int>(rng() % (nSize + 4));
            if (rng() % 8 == 0)
                nNew = 0;
            ASSERT_TRUE(arr.SetSize(nNew));
            model.resize(static_cast<size_t>(nNew), 0);
            break;
        }
        default:
            arr.Add(nValue);
            model.push_back(nValue);
        }
        ASSERT_EQ(Dump(model), Dump(arr)) << "after step " << nStep;
        ASSERT_LE(arr.GetSize(), arr.GetCapacity());
    }
}
