#include <random>
#include <string>
#include <vector>
#include <gtest/gtest.h>
#include "platform/mfc/ObList.h"
#include "platform/mfc/PtrArray.h"
#include "platform/mfc/StringArray.h"

namespace {

std::string Joined(const CStringArray& array)
{
    std::string str;
    for (int i = 0; i < array.GetSize(); ++i)
        str += std::string(i ? "|" : "") + array[i].GetString();
    return str;
}

template<class LIST>
std::string Forward(const LIST& list)
{
    std::string str;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;)
        str += list.GetNext(pos);
    return str;
}

template<class LIST>
std::string Backward(const LIST& list)
{
    std::string str;
    for (POSITION pos = list.GetTailPosition(); pos != nullptr;)
        str += list.GetPrev(pos);
    return str;
}

struct CWindowStub : public CObject {
    int nId = 0;
};

} // namespace

TEST(CArray, GrowsInsertsAndRemovesLikeTheLibrary)
{
    CStringArray fields;
    EXPECT_EQ(0, fields.Add("GS"));
    fields.SetAtGrow(3, "KWD");                     // the gap fills with empty texts
    EXPECT_EQ("GS|||KWD", Joined(fields));
    EXPECT_EQ(3, fields.GetUpperBound());
    fields.SetAtGrow(1, fields[0]);                 // an element of the array itself
    fields.InsertAt(0, "~", 2);
    EXPECT_EQ("~|~|GS|GS||KWD", Joined(fields));
    fields.RemoveAt(1, 2);
    fields.RemoveAt(3, 99);                         // the part inside the array goes
    EXPECT_EQ("~|GS|", Joined(fields));
    fields.InsertAt(5, "end");
    EXPECT_EQ("~|GS||||end", Joined(fields));
    fields.SetSize(2);
    EXPECT_EQ("~|GS", Joined(fields));
    EXPECT_EQ(2, fields.Append(fields));
    EXPECT_EQ("~|GS|~|GS", Joined(fields));

    // Indexes a server line could carry: reads give the default, writes go nowhere.
    EXPECT_STREQ("", fields.GetAt(4));
    EXPECT_STREQ("", fields[-1]);
    fields[7] = "lost";
    fields.SetAt(-2, "lost");
    fields.RemoveAt(-1);
    fields.InsertAt(-1, "lost");
    fields.SetSize(-5);
    EXPECT_EQ("~|GS|~|GS", Joined(fields));
    EXPECT_STREQ("", fields.GetAt(9));              // the scratch element does not keep writes
}

TEST(CArray, PlainAndTypedArrays)
{
    CDWordArray dwords;
    dwords.SetSize(3);
    EXPECT_EQ(0u, dwords[2]);
    dwords[1] = 0xFFFFFFFFu;
    CUIntArray uints;
    uints.Add(5);
    EXPECT_EQ(5u, uints.GetAt(0));

    CWindowStub one, two;
    two.nId = 2;
    CTypedPtrArray<CPtrArray, CWindowStub*> windows;
    windows.Add(&one);
    windows.SetAtGrow(2, &two);
    EXPECT_EQ(nullptr, windows[1]);
    windows[1] = &one;
    EXPECT_EQ(2, windows.GetAt(2)->nId);
    EXPECT_EQ(&one, windows.ElementAt(1));
    EXPECT_EQ(nullptr, windows.GetAt(3));
    EXPECT_EQ(3, windows.GetSize());
}

TEST(CList, WalksBothWaysAndKeepsPositionsAcrossEdits)
{
    CStringList list;
    POSITION posB = list.AddTail("B");
    list.AddHead("A");
    POSITION posD = list.AddTail("D");
    list.InsertAfter(posB, "C");
    list.InsertBefore(nullptr, "0");                // null: at the head
    list.InsertAfter(nullptr, "E");                 // null: at the tail
    EXPECT_EQ("0ABCDE", Forward(list));
    EXPECT_EQ("EDCBA0", Backward(list));
    EXPECT_EQ(6, list.GetCount());

    list.RemoveAt(posB);
    EXPECT_STREQ("D", list.GetAt(posD));            // other positions stay valid
    list.SetAt(posD, "d");
    EXPECT_EQ(list.FindIndex(3), list.Find("d"));
    EXPECT_EQ(nullptr, list.Find("d", posD));
    EXPECT_EQ(nullptr, list.FindIndex(5));
    EXPECT_STREQ("0", list.RemoveHead());
    EXPECT_STREQ("E", list.RemoveTail());
    EXPECT_EQ("ACd", Forward(list));

    CStringList copy(list);
    copy.AddTail(&list);
    copy.AddHead(&copy);
    EXPECT_EQ("ACdACdACdACd", Forward(copy));
    EXPECT_EQ("ACd", Forward(list));

    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_STREQ("", list.RemoveHead());            // empty: a default element, no crash
    EXPECT_STREQ("", list.GetTail());
    POSITION pos = nullptr;
    EXPECT_STREQ("", list.GetNext(pos));
    list.RemoveAt(nullptr);
}

TEST(CList, ObjectListMatchesAModelUnderRandomEdits)
{
    std::mt19937 rng(11);                           // fixed seed: a failure replays step by step
    CWindowStub windows[8];
    CObList list(10);
    std::vector<CObject*> model;
    for (int nStep = 0; nStep < 3000; ++nStep) {
        CObject* pObject = &windows[rng() % 8];
        int nIndex = model.empty() ? 0 : static_cast<int>(rng() % model.size());
        switch (rng() % 5) {
        case 0: list.AddTail(pObject); model.push_back(pObject); break;
        case 1: list.AddHead(pObject); model.insert(model.begin(), pObject); break;
        case 2:
            if (!model.empty()) {
                list.InsertBefore(list.FindIndex(nIndex), pObject);
                model.insert(model.begin() + nIndex, pObject);
            }
            break;
        case 3:
            if (!model.empty()) {
                list.RemoveAt(list.FindIndex(nIndex));
                model.erase(model.begin() + nIndex);
            }
            break;
        case 4: {
            POSITION pos = list.Find(pObject);
            auto it = std::find(model.begin(), model.end(), pObject);
            ASSERT_EQ(it == model.end(), pos == nullptr) << "step " << nStep;
            if (pos != nullptr) {
                list.RemoveAt(pos);
                model.erase(it);
            }
            break;
        }
        }
        ASSERT_EQ(static_cast<int>(model.size()), list.GetCount()) << "step " << nStep;
    }
    std::vector<CObject*> walked;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;)
        walked.push_back(list.GetNext(pos));
    EXPECT_EQ(model, walked);
}
