#include "market/HistoryCache.h"

#include <cctype>
#include <filesystem>
#include <string>

namespace {
const char CACHE_EXTENSION[] = ".SAV";
}  // namespace

CHistoryCache::CHistoryCache(LPCSTR pszPrefix, BOOL bLanguage) : m_strPrefix(pszPrefix), m_bLanguage(bLanguage)
{
}

BOOL CHistoryCache::IsValidStamp(LPCSTR pszStamp)
{
    if (pszStamp == nullptr || *pszStamp == '\0')
        return FALSE;
    for (const char* p = pszStamp; *p != '\0'; ++p)
        if (!isalnum(static_cast<unsigned char>(*p)))
            return FALSE;
    return TRUE;
}

CString CHistoryCache::FileStem(long nStock, LPCSTR pszLanguage) const
{
    CString strStem;
    if (m_bLanguage)
        strStem.Format("%s_%ld_%s_", static_cast<LPCSTR>(m_strPrefix), nStock, pszLanguage != nullptr ? pszLanguage : "");
    else
        strStem.Format("%s_%ld_", static_cast<LPCSTR>(m_strPrefix), nStock);
    return strStem;
}

CString CHistoryCache::MakePath(long nStock, LPCSTR pszLanguage, LPCSTR pszStamp) const
{
    if (!IsValidStamp(pszStamp))
        return CString();
    return m_strFolder + FileStem(nStock, pszLanguage) + pszStamp + CACHE_EXTENSION;
}

CString CHistoryCache::FindStamp(long nStock, LPCSTR pszLanguage) const
{
    namespace fs = std::filesystem;
    const std::string strStem(static_cast<LPCSTR>(FileStem(nStock, pszLanguage)));
    const std::string strExtension(CACHE_EXTENSION);
    std::error_code ec;
    const fs::path folder(m_strFolder.IsEmpty() ? "." : static_cast<LPCSTR>(m_strFolder));
    std::string strBest;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string strName = it->path().filename().string();
        if (strName.size() <= strStem.size() + strExtension.size() || strName.compare(0, strStem.size(), strStem) != 0 ||
            strName.compare(strName.size() - strExtension.size(), strExtension.size(), strExtension) != 0)
            continue;
        const std::string strStamp = strName.substr(strStem.size(), strName.size() - strStem.size() - strExtension.size());
        if (IsValidStamp(strStamp.c_str()) && strStamp > strBest)
            strBest = strStamp;
    }
    return CString(strBest.c_str());
}

BOOL CHistoryCache::Delete(long nStock, LPCSTR pszLanguage, LPCSTR pszStamp) const
{
    const CString strPath = MakePath(nStock, pszLanguage, pszStamp);
    if (strPath.IsEmpty())
        return FALSE;
    std::error_code ec;
    return std::filesystem::remove(static_cast<LPCSTR>(strPath), ec) ? TRUE : FALSE;
}
