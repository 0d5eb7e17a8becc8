#include "RefDataSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include "link/ServerMessage.h"
#include "platform/win/kernel/Resources.h"

long CMarketListClientDouble::SendRequest(int nType, LPCSTR pszBody)
{
    Log("send " + std::to_string(nType) + " " + pszBody);
    return m_nNextNumber++;
}

void CMarketListClientDouble::RemoveAllTickers()
{
    Log("tickers removed");
    m_tickers.clear();
}

void CMarketListClientDouble::LogIn(int nUserNumber, const char* pszAccount, int nMask)
{
    std::vector<std::string> fields(28, "0");
    fields[2] = std::to_string(nUserNumber);
    fields[6] = pszAccount;
    fields[23] = std::to_string(nMask);
    std::string strLine = "&UL|3|XC|";
    for (const auto& strField : fields)
        strLine += "|" + strField;
    ASSERT_TRUE(m_user.SetFromLoginReply(CServerMessage(strLine.c_str(), 1)));
}

std::string CMarketListClientDouble::Take()
{
    std::string s;
    for (size_t i = 0; i < m_log.size(); ++i)
        s += (i ? "; " : "") + m_log[i];
    m_log.clear();
    return s;
}

CLanguageModule::CLanguageModule()
{
    RegisterMessageCodes(g_messageCodePairs);
    m_hModule = LoadLibraryA("_1252.dll");
    EXPECT_NE(nullptr, m_hModule);
    m_hOld = TbGetResourceModule();
    TbSetResourceModule(m_hModule);
}

CLanguageModule::~CLanguageModule()
{
    TbSetResourceModule(m_hOld);
    if (m_hModule != nullptr)
        FreeLibrary(m_hModule);
}

void FireLine(CZorvatMessageSource& source, const char* pszLine)
{
    CServerMessage msg(pszLine, 1);
    if (msg.GetType() == MSG_EN)
        source.FireEN(&msg, -1);
    else if (msg.GetType() == MESSAGE_TYPE_DATA_ROW)
        source.FireRawLine(&msg, -1);
    else
        source.FireType(msg.GetType(), &msg, -1);
}

CTempFolder::CTempFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "refdata_XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr)
        m_path = pattern;
    EXPECT_FALSE(m_path.empty());
}

CTempFolder::~CTempFolder()
{
    std::error_code error;
    if (!m_path.empty())
        std::filesystem::remove_all(m_path, error);
}
