#pragma once
// The company news asks which company to show through the market layer's dialogs, which that
// layer registers at start-up; without them a command that has to ask does nothing.
#include "platform/mfc/String.h"
#include "platform/win/WinTypes.h"

#define IDS_TABLE_COMPANY_NEWS_ID 51965     // the company news table
#define IDS_TITLE_COMPANY_NEWS_ID 56784     // its title, and its dialogs' caption

enum COMPANY_CHOICE
{
    COMPANY_CHOICE_NEWS,        // market chooser and the typed-ahead ticker list
    COMPANY_CHOICE_TICKER,      // the plain ticker and market choice
};

// TRUE on OK, with the ticker and the market's name as the user chose them (the news dialog's
// ticker upper-cased, the plain choice's as typed).
typedef BOOL (*PFN_CHOOSE_COMPANY)(HWND hParent, COMPANY_CHOICE kind, UINT nTitleId, CString* pstrTicker,
                                   CString* pstrMarket);

// A second registration replaces the first; null removes it.
void RegisterCompanyChooser(PFN_CHOOSE_COMPANY pfnChoose);
PFN_CHOOSE_COMPANY GetCompanyChooser();
