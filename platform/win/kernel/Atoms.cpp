// The global atom table.
#include "platform/win/kernel/Atoms.h"

#include <strings.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <string>

#include "platform/win/kernel/Kernel.h"

namespace {
struct AtomEntry {
    std::string strName;
    int nUses = 0;
};

std::mutex s_mutex;
std::map<ATOM, AtomEntry> s_atoms;

// "#123" or MAKEINTATOM(123): the integer atom; 0 when the name is not one.
ATOM IntegerAtom(LPCSTR pszString)
{
    if (IS_INTRESOURCE(pszString))
        return static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(pszString));
    if (pszString[0] != '#' || pszString[1] < '0' || pszString[1] > '9')
        return 0;
    char* pszEnd = nullptr;
    const unsigned long ul = std::strtoul(pszString + 1, &pszEnd, 10);
    return (*pszEnd == '\0' && ul > 0 && ul < MAXINTATOM) ? static_cast<ATOM>(ul) : 0;
}

ATOM FindLocked(LPCSTR pszString)
{
    for (const auto& [nAtom, entry] : s_atoms)
        if (strcasecmp(entry.strName.c_str(), pszString) == 0)
            return nAtom;
    return 0;
}
}  // namespace

ATOM GlobalAddAtomA(LPCSTR pszString)
{
    if (!pszString || (!IS_INTRESOURCE(pszString) && (!*pszString || std::strlen(pszString) > 255))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (const ATOM nInteger = IntegerAtom(pszString))
        return nInteger;
    if (IS_INTRESOURCE(pszString))
        return 0;
    std::lock_guard<std::mutex> lock(s_mutex);
    if (const ATOM nAtom = FindLocked(pszString)) {
        ++s_atoms[nAtom].nUses;
        return nAtom;
    }
    for (unsigned n = MAXINTATOM; n <= 0xFFFF; ++n) {
        if (s_atoms.count(static_cast<ATOM>(n)) == 0) {
            s_atoms[static_cast<ATOM>(n)] = AtomEntry{pszString, 1};
            return static_cast<ATOM>(n);
        }
    }
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
}

ATOM GlobalFindAtomA(LPCSTR pszString)
{
    if (!pszString)
        return 0;
    if (const ATOM nInteger = IntegerAtom(pszString))
        return nInteger;
    if (IS_INTRESOURCE(pszString))
        return 0;
    std::lock_guard<std::mutex> lock(s_mutex);
    return FindLocked(pszString);
}

ATOM GlobalDeleteAtom(ATOM nAtom)
{
    if (nAtom > 0 && nAtom < MAXINTATOM)
        return 0;
    std::lock_guard<std::mutex> lock(s_mutex);
    const auto it = s_atoms.find(nAtom);
    if (it == s_atoms.end())
        return nAtom;
    if (--it->second.nUses == 0)
        s_atoms.erase(it);
    return 0;
}

UINT GlobalGetAtomNameA(ATOM nAtom, LPSTR pszBuffer, int nSize)
{
    if (!pszBuffer || nSize <= 0 || nAtom == 0)
        return 0;
    std::string strName;
    if (nAtom < MAXINTATOM) {
        strName = "#" + std::to_string(nAtom);
    } else {
        std::lock_guard<std::mutex> lock(s_mutex);
        const auto it = s_atoms.find(nAtom);
        if (it == s_atoms.end())
            return 0;
        strName = it->second.strName;
    }
    const size_t n = strName.size() < static_cast<size_t>(nSize) - 1 ? strName.size() : static_cast<size_t>(nSize) - 1;
    std::memcpy(pszBuffer, strName.data(), n);
    pszBuffer[n] = '\0';
    return static_cast<UINT>(n);
}
