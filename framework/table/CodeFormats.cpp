#include "framework/table/CodeFormats.h"

#include <algorithm>
#include <vector>

namespace {
std::vector<TBCOLUMNFORMAT>& Formats()
{
    static std::vector<TBCOLUMNFORMAT> s_formats;
    return s_formats;
}
unsigned s_nStamp = 0;
}  // namespace

void RegisterCodeFormat(TBCOLUMNFORMAT pfnFormat)
{
    std::vector<TBCOLUMNFORMAT>& formats = Formats();
    if (pfnFormat != nullptr && std::find(formats.begin(), formats.end(), pfnFormat) == formats.end())
        formats.push_back(pfnFormat);
}

BOOL IsCodeFormat(TBCOLUMNFORMAT pfnFormat)
{
    const std::vector<TBCOLUMNFORMAT>& formats = Formats();
    return pfnFormat != nullptr && std::find(formats.begin(), formats.end(), pfnFormat) != formats.end();
}

void TouchCodeFormats()
{
    ++s_nStamp;
}

unsigned GetCodeFormatsStamp()
{
    return s_nStamp;
}
