#include "MarketDialogSupport.h"

#include <gtest/gtest.h>

#include <vector>

#include "link/MessageSource.h"
#include "link/MessageTypes.h"
#include "link/ServerMessage.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/MessageBox.h"
#include "platform/win/user/TestAnswers.h"
#include "platform/win/user/Window.h"
#include "refdata/ZorvatGlobals.h"

namespace {
const struct { int nCode; const char* pszEnglish; const char* pszArabic; } s_markets[] = {
    {2, "KSE", "\xC7\xE1\xDF\xE6\xED\xCA"},                                   // the Kuwaiti one
    {4, "US", "\xC3\xE3\xD1\xED\xDF\xC7"},
    {8, "US OTC", "\xC3\xE3\xD1\xED\xDF\xC7\x20\xCE\xC7\xD1\xCC\x20\xC7\xE1\xE3\xE4\xD5\xC9"},
    {16, "Options", "\xC7\xE1\xCE\xED\xC7\xD1\xC7\xCA"},
};

// A market row of the "XC" reply: 23 fields, code 12, names 13 and 14, enabled 4.
std::string MarketRow(int nCode, const char* pszEnglish, const char* pszArabic)
{
    std::vector<std::string> fields(23, "");
    fields[4] = "1";
    fields[8] = "0";
    fields[12] = std::to_string(nCode);
    fields[13] = pszEnglish;
    fields[14] = pszArabic;
    std::string strLine;
    for (size_t i = 0; i < fields.size(); ++i)
        strLine += (i ? "|" : "") + fields[i];
    return strLine;
}

}  // namespace

void FireDialogLine(CZorvatMessageSource& source, const std::string& strLine)
{
    CServerMessage msg(strLine.c_str(), 1);
    if (msg.GetType() == MSG_EN)
        source.FireEN(&msg, -1);
    else if (msg.GetType() == MESSAGE_TYPE_DATA_ROW)
        source.FireRawLine(&msg, -1);
    else
        source.FireType(msg.GetType(), &msg, -1);
}

CReferenceMarkets::CReferenceMarkets(std::initializer_list<int> codes)
{
    RegisterMessageCodes(g_messageCodePairs);
    CZorvatMessageSource source;
    const BOOL bRegistered = GetGlobals()->Register(&source, nullptr);
    EXPECT_TRUE(bRegistered);
    if (!bRegistered)
        return;
    FireDialogLine(source, "$XC|1|XC||0");
    for (int nCode : codes)
        for (const auto& market : s_markets)
            if (market.nCode == nCode)
                FireDialogLine(source, MarketRow(market.nCode, market.pszEnglish, market.pszArabic));
    FireDialogLine(source, "$EN|1|XC|0");
    GetGlobals()->Unregister();
}

CReferenceMarkets::~CReferenceMarkets()
{
    // An empty list, so no later test finds these markets by chance.
    CZorvatMessageSource source;
    if (GetGlobals()->Register(&source, nullptr)) {
        FireDialogLine(source, "$XC|1|XC||0");
        FireDialogLine(source, "$EN|1|XC|0");
        GetGlobals()->Unregister();
    }
}

std::string EnglishMarketName(int nCode)
{
    for (const auto& market : s_markets)
        if (market.nCode == nCode)
            return market.pszEnglish;
    return "";
}

void AnswerNextMessageBox()
{
    TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDOK, ""});
}

bool MessageBoxesAnswered()
{
    return TbPendingTestAnswers() == 0;
}

std::string ComboItems(HWND hDlg, int nId)
{
    HWND hCombo = GetDlgItem(hDlg, nId);
    std::string strItems;
    const int nCount = static_cast<int>(SendMessageA(hCombo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < nCount; ++i) {
        char sz[128] = "";
        if (SendMessageA(hCombo, CB_GETLBTEXTLEN, i, 0) < static_cast<LRESULT>(sizeof sz))
            SendMessageA(hCombo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(sz));
        strItems += (i ? "|" : "") + std::string(sz);
    }
    return strItems;
}
