#pragma once
// The terminal's web pages: research, briefings, calendars, news stories and the order-book
// page, one row each in one table read by the application's one opener (ZorvatPages.cpp). A row
// says what fills the page's address and where its window lives; the addresses themselves are
// string resources (the branding library's first), formats that take the row's texts.
#include "platform/mfc/String.h"
#include "platform/win/WinTypes.h"

// What the page's address takes.
enum PAGE_ARGUMENT
{
    PAGE_ARG_NONE,          // the address as it stands
    PAGE_ARG_TICKER,        // a ticker; the menu asks for one first
    PAGE_ARG_STORY,         // a story id; none opens nothing
    PAGE_ARG_TWO_TEXTS,     // the order book's two texts
    PAGE_ARG_USER_PAGE,     // no pattern: the user's page address from the login reply
};

#define PAGE_MARKET_US 0
#define PAGE_MARKET_KSE 1

struct HTML_PAGE
{
    LPCSTR pszPageId;       // the window's name: its settings' section and its slot
    UINT nCommand;          // the menu commands that open it; 0 for none
    UINT nCommand2;
    UINT nAddressId;        // the string of its address pattern
    PAGE_ARGUMENT nArgument;
    UINT nFormId;           // its title's string, and the ticker picker's caption
    int nMarket;            // PAGE_MARKET_US or PAGE_MARKET_KSE
    LPCSTR pszCompanionId;  // the hidden window that takes the windows it opens; null for none
    UINT nCompanionFormId;
};

// The pages, in a fixed order: an index into it is a page's slot.
#define HTML_PAGE_COUNT 24
extern const HTML_PAGE g_htmlPages[HTML_PAGE_COUNT];
extern const int g_nHtmlPages;
// The row of a command, or of a page id; -1 when there is none.
int FindHtmlPageByCommand(UINT nCommand);
int FindHtmlPageById(LPCSTR pszPageId);
// The row that opens for an operation about a symbol or story: the kind's US or KSE row.
enum PAGE_KIND { PAGE_KIND_PROFILE, PAGE_KIND_RESEARCH, PAGE_KIND_INSIDER, PAGE_KIND_STORY };
int FindHtmlPage(PAGE_KIND kind, int nMarket);

// The pattern with each "%s" in turn replaced by the next text, percent-encoded (its UTF-8
// bytes, all but letters, digits and "-._~"), so that no text can change the address's
// structure; "%%" is one '%'. A "%s" past the texts given takes "".
CString MakePageAddress(LPCSTR pszPattern, LPCSTR pszText1 = nullptr, LPCSTR pszText2 = nullptr);
// Whether a page address from outside may open: http or https only.
BOOL IsWebPageAddress(LPCSTR pszAddress);
