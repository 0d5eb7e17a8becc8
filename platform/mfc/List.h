#pragma once
// The library's doubly linked list template, CList<TYPE, ARG_TYPE>, walked by POSITION.
// A POSITION is a node of this list: it stays valid until that node is removed, whatever
// else is added or removed. A null POSITION is refused (default element, nothing done);
// InsertBefore/InsertAfter of null put the element at the head or the tail.
#include "platform/mfc/ElementHelpers.h"

template<class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject
{
public:
    explicit CList(int /*nBlockSize*/ = 10) {}
    CList(const CList& other) : CObject(other) { AddTail(&other); }
    CList& operator=(const CList& other);
    ~CList() override { RemoveAll(); }

    int  GetCount() const { return m_nCount; }
    int  GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    // Head and tail. On an empty list the getters answer a default element and the removers
    // return one.
    TYPE&       GetHead() { return m_pHead ? m_pHead->data : Scratch(); }
    const TYPE& GetHead() const { return m_pHead ? m_pHead->data : Scratch(); }
    TYPE&       GetTail() { return m_pTail ? m_pTail->data : Scratch(); }
    const TYPE& GetTail() const { return m_pTail ? m_pTail->data : Scratch(); }
    TYPE     RemoveHead();
    TYPE     RemoveTail();
    POSITION AddHead(TbArgIn<ARG_TYPE> newElement) { return InsertBefore(GetHeadPosition(), newElement); }
    POSITION AddTail(TbArgIn<ARG_TYPE> newElement) { return InsertAfter(GetTailPosition(), newElement); }
    void     AddHead(const CList* pNewList);
    void     AddTail(const CList* pNewList);
    void     RemoveAll();

    // Walking: GetNext and GetPrev return the element at rPos and move rPos on (null at the end).
    POSITION    GetHeadPosition() const { return ToPos(m_pHead); }
    POSITION    GetTailPosition() const { return ToPos(m_pTail); }
    TYPE&       GetNext(POSITION& rPos) { return Step(rPos, true); }
    const TYPE& GetNext(POSITION& rPos) const { return const_cast<CList*>(this)->Step(rPos, true); }
    TYPE&       GetPrev(POSITION& rPos) { return Step(rPos, false); }
    const TYPE& GetPrev(POSITION& rPos) const { return const_cast<CList*>(this)->Step(rPos, false); }

    // At a position.
    TYPE&       GetAt(POSITION pos) { return pos ? ToNode(pos)->data : Scratch(); }
    const TYPE& GetAt(POSITION pos) const { return pos ? ToNode(pos)->data : Scratch(); }
    void        SetAt(POSITION pos, TbArgIn<ARG_TYPE> newElement);
    void        RemoveAt(POSITION pos);
    POSITION    InsertBefore(POSITION pos, TbArgIn<ARG_TYPE> newElement);
    POSITION    InsertAfter(POSITION pos, TbArgIn<ARG_TYPE> newElement);

    // Searching: null when not found or nIndex is outside the list.
    POSITION Find(TbArgIn<ARG_TYPE> searchValue, POSITION startAfter = nullptr) const;
    POSITION FindIndex(int nIndex) const;

private:
    struct CNode {
        CNode* pNext;
        CNode* pPrev;
        TYPE data;
    };
    static POSITION ToPos(CNode* pNode) { return reinterpret_cast<POSITION>(pNode); }
    static CNode* ToNode(POSITION pos) { return reinterpret_cast<CNode*>(pos); }
    static TYPE& Scratch()
    {
        static thread_local TYPE s_scratch;
        s_scratch = TYPE();
        return s_scratch;
    }
    TYPE& Step(POSITION& rPos, bool bForward);

    CNode* m_pHead = nullptr;   // owned, with every node after it
    CNode* m_pTail = nullptr;
    int m_nCount = 0;
};

template<class TYPE, class ARG_TYPE>
CList<TYPE, ARG_TYPE>& CList<TYPE, ARG_TYPE>::operator=(const CList& other)
{
    if (&other != this) {
        RemoveAll();
        AddTail(&other);
    }
    return *this;
}

template<class TYPE, class ARG_TYPE>
TYPE CList<TYPE, ARG_TYPE>::RemoveHead()
{
    if (m_pHead == nullptr)
        return TYPE();
    TYPE element = m_pHead->data;
    RemoveAt(ToPos(m_pHead));
    return element;
}

template<class TYPE, class ARG_TYPE>
TYPE CList<TYPE, ARG_TYPE>::RemoveTail()
{
    if (m_pTail == nullptr)
        return TYPE();
    TYPE element = m_pTail->data;
    RemoveAt(ToPos(m_pTail));
    return element;
}

template<class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::AddHead(const CList* pNewList)
{
    if (pNewList == nullptr)
        return;
    // Walk from the tail so the other list keeps its order in front of ours; a list added to
    // itself is copied first.
    CList copy;
    const CList* pSource = pNewList == this ? &(copy = *this) : pNewList;
    for (CNode* pNode = pSource->m_pTail; pNode != nullptr; pNode = pNode->pPrev)
        AddHead(pNode->data);
}

template<class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::AddTail(const CList* pNewList)
{
    if (pNewList == nullptr)
        return;
    int nCount = pNewList->m_nCount;    // a list added to itself stops at its old end
    CNode* pNode = pNewList->m_pHead;
    for (int i = 0; i < nCount; ++i, pNode = pNode->pNext)
        AddTail(pNode->data);
}

template<class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::RemoveAll()
{
    while (m_pHead != nullptr) {
        CNode* pNext = m_pHead->pNext;
        delete m_pHead;
        m_pHead = pNext;
    }
    m_pTail = nullptr;
    m_nCount = 0;
}

template<class TYPE, class ARG_TYPE>
TYPE& CList<TYPE, ARG_TYPE>::Step(POSITION& rPos, bool bForward)
{
    CNode* pNode = ToNode(rPos);
    if (pNode == nullptr)
        return Scratch();
    rPos = ToPos(bForward ? pNode->pNext : pNode->pPrev);
    return pNode->data;
}

template<class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::SetAt(POSITION pos, TbArgIn<ARG_TYPE> newElement)
{
    if (pos != nullptr)
        ToNode(pos)->data = newElement;
}

template<class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::RemoveAt(POSITION pos)
{
    CNode* pNode = ToNode(pos);
    if (pNode == nullptr)
        return;
    (pNode->pPrev ? pNode->pPrev->pNext : m_pHead) = pNode->pNext;
    (pNode->pNext ? pNode->pNext->pPrev : m_pTail) = pNode->pPrev;
    delete pNode;
    --m_nCount;
}

template<class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertBefore(POSITION pos, TbArgIn<ARG_TYPE> newElement)
{
    CNode* pNext = pos ? ToNode(pos) : m_pHead;
    CNode* pNode = new CNode{pNext, pNext ? pNext->pPrev : nullptr, TYPE(newElement)};
    (pNode->pPrev ? pNode->pPrev->pNext : m_pHead) = pNode;
    (pNext ? pNext->pPrev : m_pTail) = pNode;
    ++m_nCount;
    return ToPos(pNode);
}

template<class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertAfter(POSITION pos, TbArgIn<ARG_TYPE> newElement)
{
    CNode* pPrev = pos ? ToNode(pos) : m_pTail;
    CNode* pNode = new CNode{pPrev ? pPrev->pNext : nullptr, pPrev, TYPE(newElement)};
    (pNode->pNext ? pNode->pNext->pPrev : m_pTail) = pNode;
    (pPrev ? pPrev->pNext : m_pHead) = pNode;
    ++m_nCount;
    return ToPos(pNode);
}

template<class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::Find(TbArgIn<ARG_TYPE> searchValue, POSITION startAfter) const
{
    CNode* pNode = startAfter ? ToNode(startAfter)->pNext : m_pHead;
    for (; pNode != nullptr; pNode = pNode->pNext) {
        if (CompareElements(&pNode->data, &searchValue))
            return ToPos(pNode);
    }
    return nullptr;
}

template<class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::FindIndex(int nIndex) const
{
    if (nIndex < 0 || nIndex >= m_nCount)
        return nullptr;
    CNode* pNode = m_pHead;
    while (nIndex-- > 0)
        pNode = pNode->pNext;
    return ToPos(pNode);
}
