// Window properties, kept in the window record.
#include "platform/win/user/Props.h"

#include <cctype>
#include <string>

#include "platform/win/user/WindowRecord.h"

namespace {
// The key of a name: its text in lower case; an atom stands for its text.
bool PropKey(LPCSTR pszString, std::string& strKey)
{
    if (!pszString)
        return false;
    if (IS_INTRESOURCE(pszString)) {
        const ATOM nAtom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(pszString));
        char szName[256];
        if (nAtom == 0 || GlobalGetAtomNameA(nAtom, szName, sizeof szName) == 0)
            return false;
        strKey = szName;
    } else {
        strKey = pszString;
    }
    if (strKey.empty())
        return false;
    for (char& ch : strKey)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return true;
}
}  // namespace

BOOL SetPropA(HWND hWnd, LPCSTR pszString, HANDLE hData)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    std::string strKey;
    if (!pWnd || !PropKey(pszString, strKey))
        return FALSE;
    for (auto& prop : pWnd->props) {
        if (prop.first == strKey) {
            prop.second = hData;
            return TRUE;
        }
    }
    pWnd->props.emplace_back(std::move(strKey), hData);
    return TRUE;
}

HANDLE GetPropA(HWND hWnd, LPCSTR pszString)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    std::string strKey;
    if (!pWnd || !PropKey(pszString, strKey))
        return nullptr;
    for (const auto& prop : pWnd->props)
        if (prop.first == strKey)
            return prop.second;
    return nullptr;
}

HANDLE RemovePropA(HWND hWnd, LPCSTR pszString)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    std::string strKey;
    if (!pWnd || !PropKey(pszString, strKey))
        return nullptr;
    for (auto it = pWnd->props.begin(); it != pWnd->props.end(); ++it) {
        if (it->first == strKey) {
            HANDLE hData = it->second;
            pWnd->props.erase(it);
            return hData;
        }
    }
    return nullptr;
}
