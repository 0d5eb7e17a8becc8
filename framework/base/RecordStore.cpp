#include "framework/base/RecordStore.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const int CHUNK_SIZE = 4096;
const int MAX_CHUNKS = 32767;
const int HEADER_SIZE = 2;          // the block's capacity, before its text
const int MAX_PROBES = 100;
const int MAX_SLOT = INT_MAX - 1;   // the last index whose slot count still fits an int

// The store has no way to go on without its memory: a table that silently lost rows would
// show the user wrong positions. Ending the process is the documented answer.
void* AllocOrExit(void* pOld, size_t cb)
{
    void* p = realloc(pOld, cb != 0 ? cb : 1);
    if (p == nullptr) {
        fprintf(stderr, "record store: out of memory\n");
        exit(1);
    }
    return p;
}

// One static empty text for every store: never released, never written.
const char s_szEmpty[1] = "";

int ReadCapacity(LPCSTR pszText)
{
    uint16_t nCap;
    memcpy(&nCap, pszText - HEADER_SIZE, sizeof(nCap));
    return nCap;
}

void WriteCapacity(LPSTR pBlock, int nCapacity)
{
    const uint16_t nCap = static_cast<uint16_t>(nCapacity);
    memcpy(pBlock, &nCap, sizeof(nCap));
}

} // namespace

CRecordStore::CRecordStore() = default;

CRecordStore::~CRecordStore()
{
    if (m_ppSlots != nullptr) {
        for (int i = 0; i <= m_nUpper; ++i)
            free(m_ppSlots[i]);
        free(m_ppSlots);
    }
    if (m_pFree != nullptr) {
        for (int i = 0; i <= MAX_TEXT; ++i)
            free(m_pFree[i].ppBlocks);
        delete[] m_pFree;
    }
    for (int i = 0; i < m_nChunks; ++i)
        free(m_ppChunks[i]);
    free(m_ppChunks);
}

BOOL CRecordStore::Init(int nFields, int nCapacity, int nGrowth)
{
    if (nFields < 1 || nFields > MAX_FIELDS)
        return FALSE;
    m_nFields = nFields;
    if (nCapacity > 0)
        m_nCapacity = nCapacity;
    // A second Init starts over with an empty slot array.
    if (m_ppSlots != nullptr) {
        for (int i = 0; i <= m_nUpper; ++i)
            free(m_ppSlots[i]);
        free(m_ppSlots);
    }
    m_ppSlots = static_cast<INT_PTR**>(AllocOrExit(nullptr, sizeof(INT_PTR*) * static_cast<size_t>(m_nCapacity)));
    memset(m_ppSlots, 0, sizeof(INT_PTR*) * static_cast<size_t>(m_nCapacity));
    m_nUpper = -1;
    m_nCount = 0;
    if (nGrowth >= 1 && nGrowth <= 99)
        m_nGrowth = nGrowth;
    return TRUE;
}

BOOL CRecordStore::SetKeyFields(int nKey, BOOL bKeyText, int nKey2, BOOL bKey2Text)
{
    if (nKey < 0 || nKey >= m_nFields) {
        m_nKey = -1;
        return FALSE;
    }
    m_nKey = nKey;
    m_bKeyText = bKeyText;
    if (nKey2 >= 0 && nKey2 < m_nFields && nKey2 != nKey) {
        m_nKey2 = nKey2;
        m_bKey2Text = bKey2Text;
    } else {
        m_nKey2 = -1;
        m_bKey2Text = FALSE;
    }
    return TRUE;
}

static int CompareField(INT_PTR key, INT_PTR field, BOOL bText)
{
    if (bText) {
        // A record just inserted may not have its key text yet: it sorts as empty.
        const char* psz1 = key != 0 ? reinterpret_cast<const char*>(key) : "";
        const char* psz2 = field != 0 ? reinterpret_cast<const char*>(field) : "";
        const int n = strcmp(psz1, psz2);
        return (n > 0) - (n < 0);
    }
    // Compare the values, not their difference: 2147483647 - (-1) overflows and would sort
    // the largest keys below the negative ones.
    const int32_t n1 = static_cast<int32_t>(key);
    const int32_t n2 = static_cast<int32_t>(field);
    return (n1 > n2) - (n1 < n2);
}

int CRecordStore::CompareKeys(INT_PTR key, INT_PTR key2, const INT_PTR* pRecord) const
{
    int n = CompareField(key, pRecord[m_nKey], m_bKeyText);
    if (n == 0 && m_nKey2 >= 0 && key2 != -1)
        n = CompareField(key2, pRecord[m_nKey2], m_bKey2Text);
    return n;
}

int CRecordStore::Find(INT_PTR key, INT_PTR key2, BOOL* pbFound) const
{
    if (m_nKey < 0)
        return -1;
    if (m_nUpper < 0 || m_nCount == 0)
        return -4;

    auto notThere = [pbFound](int nPos, int nCode) {
        if (pbFound == nullptr)
            return nCode;
        *pbFound = FALSE;
        return nPos;
    };

    int nLo = 0;
    int nHi = m_nUpper;
    for (int nProbes = 0;;) {
        const int nMid = nLo + (nHi - nLo) / 2;
        int nProbe = nMid;
        if (m_ppSlots[nMid] == nullptr) {
            if (nLo == nHi)
                return notThere(nMid, -3);
            // The nearest occupied slot stands in for the middle: above first, then below.
            nProbe = -1;
            for (int d = 1; d <= nHi - nLo; ++d) {
                if (nMid + d <= nHi && m_ppSlots[nMid + d] != nullptr) {
                    nProbe = nMid + d;
                    break;
                }
                if (nMid - d >= nLo && m_ppSlots[nMid - d] != nullptr) {
                    nProbe = nMid - d;
                    break;
                }
            }
            if (nProbe < 0)
                return notThere(nMid, -3);
        }
        const int nCmp = CompareKeys(key, key2, m_ppSlots[nProbe]);
        if (nCmp < 0) {
            nHi = nProbe >= nMid ? nMid - 1 : nProbe - 1;
            if (nHi < nLo)
                return notThere(nProbe, -2);
        } else if (nCmp > 0) {
            nLo = nProbe <= nMid ? nMid + 1 : nProbe + 1;
            if (nHi < nLo)
                return notThere(nProbe + 1, -2);
        } else {
            if (pbFound != nullptr)
                *pbFound = TRUE;
            return nProbe;
        }
        if (++nProbes >= MAX_PROBES)
            return -99;
    }
}

BOOL CRecordStore::GrowSlots(int nIndex)
{
    if (nIndex > MAX_SLOT)
        return FALSE;
    if (m_ppSlots != nullptr && nIndex < m_nCapacity)
        return TRUE;
    int64_t nNew = m_ppSlots == nullptr ? m_nCapacity
                                        : static_cast<int64_t>(m_nCapacity) * (100 + m_nGrowth) / 100;
    if (nNew <= nIndex)
        nNew = static_cast<int64_t>(nIndex) + 1;
    if (nNew > MAX_SLOT + 1)
        nNew = MAX_SLOT + 1;
    const int nOld = m_ppSlots == nullptr ? 0 : m_nCapacity;
    m_ppSlots = static_cast<INT_PTR**>(AllocOrExit(m_ppSlots, sizeof(INT_PTR*) * static_cast<size_t>(nNew)));
    memset(m_ppSlots + nOld, 0, sizeof(INT_PTR*) * static_cast<size_t>(nNew - nOld));
    m_nCapacity = static_cast<int>(nNew);
    return TRUE;
}

INT_PTR* CRecordStore::InsertAt(int nIndex, INT_PTR* pRecord)
{
    if (m_nFields < 1)
        return nullptr;
    if (nIndex < 0)
        nIndex = 0;
    if (nIndex <= m_nUpper && m_ppSlots[nIndex] != nullptr) {
        int nFree = -1;
        for (int i = nIndex + 1; i <= m_nUpper; ++i) {
            if (m_ppSlots[i] == nullptr) {
                nFree = i;
                break;
            }
        }
        if (nFree < 0) {
            nFree = m_nUpper + 1;
            if (!GrowSlots(nFree))
                return nullptr;
            m_nUpper = nFree;
        }
        memmove(m_ppSlots + nIndex + 1, m_ppSlots + nIndex, sizeof(INT_PTR*) * static_cast<size_t>(nFree - nIndex));
    } else if (!GrowSlots(nIndex)) {
        return nullptr;
    }
    if (pRecord == nullptr) {
        pRecord = static_cast<INT_PTR*>(AllocOrExit(nullptr, sizeof(INT_PTR) * static_cast<size_t>(m_nFields)));
        memset(pRecord, 0, sizeof(INT_PTR) * static_cast<size_t>(m_nFields));
    }
    m_ppSlots[nIndex] = pRecord;
    if (m_nUpper < nIndex)
        m_nUpper = nIndex;
    ++m_nCount;
    return pRecord;
}

INT_PTR* CRecordStore::FindOrInsert(INT_PTR key, INT_PTR key2, INT_PTR* pRecord)
{
    BOOL bFound = FALSE;
    const int nIndex = Find(key, key2, &bFound);
    if (nIndex == -1 || nIndex == -99)
        return nullptr;
    return InsertAt(nIndex == -4 ? 0 : nIndex, pRecord);
}

BOOL CRecordStore::DeleteAt(int nIndex)
{
    if (nIndex < 0 || nIndex > m_nUpper || m_ppSlots[nIndex] == nullptr)
        return FALSE;
    free(m_ppSlots[nIndex]);
    m_ppSlots[nIndex] = nullptr;
    --m_nCount;
    if (nIndex == m_nUpper) {
        while (m_nUpper >= 0 && m_ppSlots[m_nUpper] == nullptr)
            --m_nUpper;
    }
    return TRUE;
}

INT_PTR* CRecordStore::GetAt(int nIndex) const
{
    if (nIndex < 0 || nIndex > m_nUpper)
        return nullptr;
    return m_ppSlots[nIndex];
}

int CRecordStore::GetNextIndex(int nIndex) const
{
    for (int i = nIndex < -1 ? 0 : nIndex + 1; i <= m_nUpper; ++i) {
        if (m_ppSlots[i] != nullptr)
            return i;
    }
    return -1;
}

void CRecordStore::PushFree(LPSTR pBlock, int nCapacity)
{
    if (m_pFree == nullptr)
        m_pFree = new FreeList[MAX_TEXT + 1];
    FreeList& list = m_pFree[nCapacity];
    if (list.nCount == list.nCapacity) {
        const int nNew = list.nCapacity == 0 ? nCapacity / 16 + 1
                                             : list.nCapacity + list.nCapacity * m_nGrowth / 100 + 1;
        list.ppBlocks = static_cast<LPSTR*>(AllocOrExit(list.ppBlocks, sizeof(LPSTR) * static_cast<size_t>(nNew)));
        list.nCapacity = nNew;
    }
    list.ppBlocks[list.nCount++] = pBlock;
}

void CRecordStore::ReleaseText(LPCSTR pszText)
{
    if (pszText == nullptr || pszText == s_szEmpty || *pszText == '\0')
        return;
    PushFree(const_cast<LPSTR>(pszText) - HEADER_SIZE, ReadCapacity(pszText));
}

LPSTR CRecordStore::AllocText(int nLength)
{
    if (m_pFree != nullptr && m_pFree[nLength].nCount > 0) {
        FreeList& list = m_pFree[nLength];
        return list.ppBlocks[--list.nCount] + HEADER_SIZE;
    }
    const int nNeed = HEADER_SIZE + nLength + 1;
    if (m_pNext == nullptr || m_pEnd - m_pNext < nNeed) {
        // Keep what is left of the old chunk for a shorter text later.
        const int nRest = m_pNext == nullptr ? 0 : static_cast<int>(m_pEnd - m_pNext);
        if (nRest > HEADER_SIZE + 1) {
            WriteCapacity(m_pNext, nRest - HEADER_SIZE - 1);
            PushFree(m_pNext, nRest - HEADER_SIZE - 1);
        }
        if (m_nChunks >= MAX_CHUNKS) {
            fprintf(stderr, "record store: text pool full\n");
            exit(1);
        }
        m_ppChunks = static_cast<LPSTR*>(AllocOrExit(m_ppChunks, sizeof(LPSTR) * static_cast<size_t>(m_nChunks + 1)));
        m_pNext = static_cast<LPSTR>(AllocOrExit(nullptr, CHUNK_SIZE));
        m_ppChunks[m_nChunks++] = m_pNext;
        m_pEnd = m_pNext + CHUNK_SIZE;
    }
    LPSTR pBlock = m_pNext;
    int nCapacity = nLength;
    m_pNext += nNeed;
    // A tail too small for any block goes with this one.
    const int nLeft = static_cast<int>(m_pEnd - m_pNext);
    if (nLeft <= HEADER_SIZE + 1 && nCapacity + nLeft <= MAX_TEXT) {
        nCapacity += nLeft;
        m_pNext = m_pEnd;
    }
    WriteCapacity(pBlock, nCapacity);
    return pBlock + HEADER_SIZE;
}

LPCSTR CRecordStore::SetString(LPCSTR pszOld, LPCSTR pszNew, BOOL* pbUnchanged, int nLength)
{
    if (pbUnchanged != nullptr)
        *pbUnchanged = FALSE;
    if (pszNew == nullptr) {
        ReleaseText(pszOld);
        return s_szEmpty;
    }
    // A length longer than the text would copy what lies behind it: the text's end bounds it.
    const size_t cbMax = nLength > 0 && nLength < MAX_TEXT ? static_cast<size_t>(nLength) : MAX_TEXT;
    const int n = static_cast<int>(strnlen(pszNew, cbMax));
    if (pszOld != nullptr && strlen(pszOld) == static_cast<size_t>(n) && memcmp(pszOld, pszNew, static_cast<size_t>(n)) == 0) {
        if (pbUnchanged != nullptr)
            *pbUnchanged = TRUE;
        return pszOld;
    }
    LPCSTR pszResult = s_szEmpty;
    if (n > 0) {
        // Copy before releasing the old text: the new one may be part of it.
        LPSTR pszText = AllocText(n);
        memmove(pszText, pszNew, static_cast<size_t>(n));
        pszText[n] = '\0';
        pszResult = pszText;
    }
    ReleaseText(pszOld);
    return pszResult;
}

LPCSTR CRecordStore::SetString(INT_PTR* pRecord, int nField, LPCSTR pszText)
{
    if (pRecord == nullptr || nField < 0 || nField >= m_nFields)
        return nullptr;
    LPCSTR pszOld = reinterpret_cast<LPCSTR>(pRecord[nField]);
    LPCSTR pszNew = SetString(pszOld, pszText, nullptr, 0);
    pRecord[nField] = reinterpret_cast<INT_PTR>(pszNew);
    return pszNew;
}
