#pragma once
// The form views of the layers above the application (order tickets, account forms, market
// forms) come from makers those layers register per form id, as the tables do through
// TableFactory.h; the application opens a form window by id and gets the view made, or an empty
// form frame for an id without a maker.
#include "platform/win/Windows.h"

class CWnd;

// Makes the view of a form on the heap, not yet created; the form frame creates it as its child
// and the view deletes itself with its window. Null when it cannot.
typedef CWnd* (*PFN_MAKE_FORM_VIEW)(UINT nFormId);

// A form that the application opens for a symbol: the form is reset and shows the symbol.
struct ITickerForm
{
    virtual ~ITickerForm() = default;
    virtual void SetTicker(LPCSTR pszTicker) = 0;
};

// A second registration of an id replaces the first; a null maker removes it.
void RegisterFormMaker(UINT nFormId, PFN_MAKE_FORM_VIEW pfnMake);
PFN_MAKE_FORM_VIEW FindFormMaker(UINT nFormId);
