#include "app/HtmlPages.h"

#include <strings.h>
#include <cstring>
#include <string>

#include "platform/win/kernel/CodePage.h"

const HTML_PAGE g_htmlPages[HTML_PAGE_COUNT] = {
    {"BRIEF_STOCK_TICKER", 33180, 0, 57558, PAGE_ARG_NONE, 55280, PAGE_MARKET_US, nullptr, 0},
    {"BRIEF_STORY_STOCKS", 33181, 0, 57559, PAGE_ARG_NONE, 55281, PAGE_MARKET_US, nullptr, 0},
    {"BRIEF_SECTOR_RATINGS", 33182, 0, 57560, PAGE_ARG_NONE, 55282, PAGE_MARKET_US, nullptr, 0},
    {"BRIEF_MARKET_CALENDAR", 33183, 0, 57561, PAGE_ARG_NONE, 55283, PAGE_MARKET_US, nullptr, 0},
    {"BRIEF_UPGRADES_DOWNGRADES", 33184, 0, 57562, PAGE_ARG_NONE, 55284, PAGE_MARKET_US, nullptr, 0},
    {"BRIEF_SPLITS_CALENDAR", 33185, 0, 57563, PAGE_ARG_NONE, 55285, PAGE_MARKET_US, nullptr, 0},
    {"BRIEF_STOCK_TICKER_KSE", 33290, 0, 57564, PAGE_ARG_NONE, 55443, PAGE_MARKET_KSE, nullptr, 0},
    {"BRIEF_STORY_STOCKS_KSE", 33291, 0, 57565, PAGE_ARG_NONE, 55444, PAGE_MARKET_KSE, nullptr, 0},
    {"BRIEF_SECTOR_RATINGS_KSE", 33292, 0, 57566, PAGE_ARG_NONE, 55445, PAGE_MARKET_KSE, nullptr, 0},
    {"BRIEF_MARKET_CALENDAR_KSE", 33293, 0, 57567, PAGE_ARG_NONE, 55446, PAGE_MARKET_KSE, nullptr, 0},
    {"BRIEF_UPGRADES_DOWNGRADES_KSE", 33294, 0, 57568, PAGE_ARG_NONE, 55447, PAGE_MARKET_KSE, nullptr, 0},
    {"BRIEF_SPLITS_CALENDAR_KSE", 33295, 0, 57569, PAGE_ARG_NONE, 55448, PAGE_MARKET_KSE, nullptr, 0},
    {"ZACKS_EARNINGS_CALENDAR", 33189, 33299, 57573, PAGE_ARG_NONE, 55289, PAGE_MARKET_US, "ZACKS_EARNINGS_CALENDAR_C", 55319},
    {"TechnicalCharting", 33315, 0, 57065, PAGE_ARG_NONE, 55455, PAGE_MARKET_US, nullptr, 0},
    {"USMarketQuotesWindow", 33621, 0, 0, PAGE_ARG_USER_PAGE, 55463, PAGE_MARKET_US, nullptr, 0},
    {"ZACKS_COMPANY_PROFILE", 33186, 0, 57570, PAGE_ARG_TICKER, 55286, PAGE_MARKET_US, nullptr, 0},
    {"ZACKS_COMPANY_PROFILE_KSE", 33296, 0, 57574, PAGE_ARG_TICKER, 55449, PAGE_MARKET_KSE, nullptr, 0},
    {"ZACKS_RESEARCH", 33188, 0, 57572, PAGE_ARG_TICKER, 55288, PAGE_MARKET_US, nullptr, 0},
    {"ZACKS_RESEARCH_KSE", 33297, 0, 57576, PAGE_ARG_TICKER, 55451, PAGE_MARKET_KSE, nullptr, 0},
    {"ZACKS_INSIDER_TRADES", 33187, 0, 57571, PAGE_ARG_TICKER, 55287, PAGE_MARKET_US, "ZACKS_INSIDER_TRADES_C", 55320},
    {"ZACKS_INSIDER_TRADES_KSE", 33298, 0, 57575, PAGE_ARG_TICKER, 55450, PAGE_MARKET_KSE, "ZACKS_INSIDER_TRADES_C_KSE", 55454},
    {"NewsPageWindow", 0, 0, 57578, PAGE_ARG_STORY, 55307, PAGE_MARKET_US, nullptr, 0},
    {"NewsPageWindow_KSE", 0, 0, 57579, PAGE_ARG_STORY, 55307, PAGE_MARKET_KSE, nullptr, 0},
    {"OrderbookPageWindow", 0, 0, 42225, PAGE_ARG_TWO_TEXTS, 42226, PAGE_MARKET_US, nullptr, 0},
};
const int g_nHtmlPages = HTML_PAGE_COUNT;

int FindHtmlPageByCommand(UINT nCommand)
{
    for (int i = 0; i < g_nHtmlPages; ++i)
        if (nCommand != 0 && (g_htmlPages[i].nCommand == nCommand || g_htmlPages[i].nCommand2 == nCommand))
            return i;
    return -1;
}

int FindHtmlPageById(LPCSTR pszPageId)
{
    for (int i = 0; i < g_nHtmlPages && pszPageId != nullptr; ++i)
        if (strcmp(g_htmlPages[i].pszPageId, pszPageId) == 0)
            return i;
    return -1;
}

int FindHtmlPage(PAGE_KIND kind, int nMarket)
{
    static const LPCSTR s_ids[][2] = {
        {"ZACKS_COMPANY_PROFILE", "ZACKS_COMPANY_PROFILE_KSE"},
        {"ZACKS_RESEARCH", "ZACKS_RESEARCH_KSE"},
        {"ZACKS_INSIDER_TRADES", "ZACKS_INSIDER_TRADES_KSE"},
        {"NewsPageWindow", "NewsPageWindow_KSE"},
    };
    return FindHtmlPageById(s_ids[kind][nMarket == PAGE_MARKET_KSE ? 1 : 0]);
}

static void AppendEncoded(std::string& strOut, LPCSTR pszText)
{
    static const char s_hex[] = "0123456789ABCDEF";
    if (pszText == nullptr)
        return;
    // Addresses carry UTF-8: an Arabic text is encoded by its characters, not its code page.
    for (const unsigned char ch : TbCodePageToUtf8(pszText)) {
        if ((ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') || strchr("-._~", ch) != nullptr) {
            strOut += static_cast<char>(ch);
        } else {
            strOut += '%';
            strOut += s_hex[ch >> 4];
            strOut += s_hex[ch & 15];
        }
    }
}

CString MakePageAddress(LPCSTR pszPattern, LPCSTR pszText1, LPCSTR pszText2)
{
    const LPCSTR texts[] = {pszText1, pszText2};
    size_t nNext = 0;
    std::string strOut;
    for (LPCSTR p = pszPattern != nullptr ? pszPattern : ""; *p != '\0'; ++p) {
        if (p[0] == '%' && p[1] == 's') {
            AppendEncoded(strOut, nNext < 2 ? texts[nNext] : nullptr);
            ++nNext;
            ++p;
        } else if (p[0] == '%' && p[1] == '%') {
            strOut += '%';
            ++p;
        } else {
            strOut += *p;
        }
    }
    return CString(strOut.c_str());
}

BOOL IsWebPageAddress(LPCSTR pszAddress)
{
    if (pszAddress == nullptr)
        return FALSE;
    for (LPCSTR pszScheme : {"http://", "https://"})
        if (strncasecmp(pszAddress, pszScheme, strlen(pszScheme)) == 0 && pszAddress[strlen(pszScheme)] != '\0')
            return TRUE;
    return FALSE;
}
