#pragma once
// The story pages of the news tables open in the embedded browser, which a later part of the
// application brings. Until it registers its implementation a click on such a row opens nothing.
#include "platform/win/WinTypes.h"

struct INewsPages
{
    virtual ~INewsPages() = default;
    // The page of a story of the international news, by its id.
    virtual void OpenNewsPage(LPCSTR pszStoryId) = 0;
    // The page of a KSE announcement, by its id.
    virtual void OpenNewsPageKSE(LPCSTR pszStoryId) = 0;
};

// Not owned; null removes it.
void SetNewsPages(INewsPages* pPages);
INewsPages* GetNewsPages();
