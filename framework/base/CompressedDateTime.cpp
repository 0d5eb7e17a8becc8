#include "framework/base/CompressedDateTime.h"

#include <cstring>

int CCompressedDateTime::Parse(const char* pszText)
{
    if (pszText == nullptr)
        return 1;
    // Only the two lengths the server sends are read: a shorter text has no seconds to take.
    size_t nLength = strlen(pszText);
    if (nLength != 3 && nLength != 6)
        return 1;
    // The year byte counts up from 1922 through all 256 values, as the table's packed dates do.
    const unsigned char* p = reinterpret_cast<const unsigned char*>(pszText);
    int nYear = p[0] + 1922;
    if (nLength == 6)
        m_time.Set(p[3] - '0', p[4] - '0', p[5] - '0');
    return m_date.SetDate(nYear, p[1] - '0', p[2] - '0');
}
