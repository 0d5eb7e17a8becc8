#pragma once
// The news reader form belongs to the market layer; the application opens it by form id and
// hands it a story through this interface, which the reader's view implements.
#include "platform/win/WinTypes.h"

struct INewsStoryView
{
    virtual ~INewsStoryView() = default;
    // Shows the body (HTML) in place of the story shown; a non-empty title becomes the headline;
    // the link becomes the story's address.
    virtual void ShowStory(LPCSTR pszBody, LPCSTR pszTitle, LPCSTR pszLink) = 0;
};
