// The server's error texts: filled from the "EM" reply stream, asked by code, and put together
// with a reply's parameter.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <fstream>
#include <string>
#include <memory>
#include <utility>
#include <vector>
#include "LinkDoubles.h"
#include "link/ErrorDictionary.h"
#include "platform/win/kernel/CodePage.h"

namespace {

class ErrorDictionary : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterCodesForTest();
        for (const char* pszLine : {"$EM|1|XC||0", "428|At least ( ) days", "442|Buy at least ( ) shares",
                                    "447|No parentheses", "695|Pay by ( ) only", "696|Account (type) ( ) closed",
                                    "697|Between (a) and (b)", "100|Unknown user", "724|Order ( ) is not open",
                                    "960|Limit ( ) reached", "961|Closed (holiday)", "$EN|1|XC|0"})
            FireLine(m_source, pszLine);
    }
    std::string ReplyError(const char* pszLine, int nCodeField)
    {
        CServerMessage msg(pszLine, 1);
        CString strText;
        m_errors.FormatReplyError(&strText, nCodeField, nCodeField + 1, &msg);
        return std::string(strText);
    }
    std::string Text(long nCode)
    {
        CString strText;
        m_errors.GetText(&strText, nCode);
        return std::string(strText);
    }

    CEventLog m_log;
    CFakeApp m_app{&m_log};
    CFakeRefData m_refData{&m_log};
    CZorvatMessageSource m_source;
    CZorvatErrorDictionary m_errors{&m_source, &m_app, &m_refData};
};

}  // namespace

TEST_F(ErrorDictionary, FillsFromTheEMReplyStreamOnly)
{
    EXPECT_EQ("busy; idle", Take(m_log));           // the wait cursor while the texts come in
    EXPECT_EQ(10, m_errors.GetCount());
    EXPECT_FALSE(m_errors.GetSinkRecord()->m_bReceiving);
    EXPECT_EQ("Unknown user", Text(100));
    EXPECT_FALSE(m_errors.HasMissingCode());
    FireLine(m_source, "100|Stray row");            // outside a reply: nobody's
    EXPECT_EQ("Unknown user", Text(100));
    for (const char* pszLine : {"$EM|1|XC||0", "100|Wrong password", "101|Closed", "$EN|1|XC|0"})
        FireLine(m_source, pszLine);
    EXPECT_EQ("Wrong password", Text(100));         // a second reply adds and replaces
    EXPECT_EQ(11, m_errors.GetCount());
    EXPECT_EQ("Server error 9999.", Text(9999));    // a code never described
    EXPECT_TRUE(m_errors.HasMissingCode());
}

TEST_F(ErrorDictionary, PutsTheParameterIntoTheText)
{
    EXPECT_EQ("Buy at least 100 shares", ReplyError("~KV|1|XC||442|100", 0));
    // Without its figure a sentence never runs the words around the place together.
    EXPECT_EQ("Quantity is below the least this order takes", ReplyError("~KV|1|XC||442", 0));
    EXPECT_EQ("This order is not open", ReplyError("~KC|1|XC||724|", 0));
    EXPECT_EQ("At least 0 days", ReplyError("~KV|1|XC||428|", 0));     // empty shows as "0"
    EXPECT_EQ("9No parentheses", ReplyError("~KV|1|XC||447|9", 0));
    EXPECT_EQ("Pay by Cheque only", ReplyError("~KV|1|XC||695|3", 0));
    EXPECT_EQ("Account Margin closed", ReplyError("~KV|1|XC||696|2", 0));
    EXPECT_EQ("Between xb)", ReplyError("~KV|1|XC||697|x", 0));        // right from the last '('
    EXPECT_EQ("Unknown user", ReplyError("~UL|1|XC||0|100|7", 1));
    // A text outside the lists that asks for a value takes the reply's, or closes up; one whose
    // parentheses hold words stays as it is.
    EXPECT_EQ("Limit 5 reached", ReplyError("~KV|1|XC||960|5", 0));
    EXPECT_EQ("Limit reached", ReplyError("~KV|1|XC||960", 0));
    // An amount reads grouped as the forms show amounts; a whole number, an order's, as sent.
    EXPECT_EQ("Limit 993,288.781 reached", ReplyError("~KV|1|XC||960|993288.781", 0));
    EXPECT_EQ("Limit -1,234.5 reached", ReplyError("~KV|1|XC||960|-1234.5", 0));
    EXPECT_EQ("Order 1234567 is not open", ReplyError("~KC|1|XC||724|1234567", 0));
    EXPECT_EQ("Closed (holiday)", ReplyError("~KV|1|XC||961|5", 0));
    // The last-field form: the code from the third field, and no parameter after it.
    EXPECT_EQ("Quantity is below the least this order takes", ReplyError("~AH|1|XC||7|8|442", -1));
    EXPECT_EQ("Server error 0.", ReplyError("~AH|1|XC|", -1));

    CServerMessage refused("~UL|1|XC||x|100", 1), dollar("$UL|1|XC||x|100", 1);
    EXPECT_EQ(0, IsReplyError(&dollar, 1));          // '$' lines never carry an error
    EXPECT_EQ(0, IsReplyError(&refused, 5));         // no such field
    m_log.clear();
    EXPECT_TRUE(m_errors.CheckReplyError(&refused, 1));
    EXPECT_EQ("info Unknown user; top 2", Take(m_log));
}

// A code told without its reply has no value: its text closes up over the place, whatever the
// code; the dictionary's own text stays as the server wrote it.
TEST_F(ErrorDictionary, ACodeToldAloneReadsWithoutAnEmptyPlace)
{
    for (const auto& [nCode, pszAlone] : {std::pair<long, const char*>{428, "Not enough cash for this order"}, {724, "This order is not open"},
                                          {960, "Limit reached"}, {961, "Closed (holiday)"}, {100, "Unknown user"}}) {
        CString strText;
        m_errors.GetTextAlone(&strText, nCode);
        EXPECT_EQ(pszAlone, std::string(strText)) << nCode;
    }
    EXPECT_EQ("Order ( ) is not open", Text(724));
}

// Every text the server's list gives with a place for a figure, in both languages: a refusal
// without the figure reads without an empty place or a double blank, and never as the words on
// either side of the place run together.
namespace {
// The server's list is written in UTF-8; the dictionary holds the session's code page.
std::string InCodePage1256(const std::string& strUtf8)
{
    const int nWide = MultiByteToWideChar(CP_UTF8, 0, strUtf8.c_str(), -1, nullptr, 0);
    std::vector<WCHAR> wide(static_cast<size_t>(nWide > 0 ? nWide : 1));
    MultiByteToWideChar(CP_UTF8, 0, strUtf8.c_str(), -1, wide.data(), nWide);
    std::string strOut(wide.size() * 2, '\0');
    WideCharToMultiByte(1256, 0, wide.data(), -1, strOut.data(), static_cast<int>(strOut.size()), nullptr, nullptr);
    strOut.resize(strlen(strOut.c_str()));
    return strOut;
}
}  // namespace

TEST(ErrorDictionaryTexts, ARefusalWithoutItsFigureSaysItWithoutTheFigure)
{
    RegisterCodesForTest();
    const HINSTANCE hEnglish = TbGetResourceModule();
    for (const char* pszList : {"reference", "market"}) {
        for (const bool bArabic : {false, true}) {
            SCOPED_TRACE(std::string(pszList) + (bArabic ? " Arabic" : " English"));
            const HMODULE hLanguage = bArabic ? LoadLibraryA("_1256.dll") : nullptr;
            if (bArabic)
                TbSetResourceModule(hLanguage);
            CEventLog log;
            CFakeApp app{&log};
            CFakeRefData refData{&log};
            CZorvatMessageSource source;
            CZorvatErrorDictionary errors{&source, &app, &refData};
            std::vector<std::pair<std::string, std::string>> withPlace;     // the code and its text
            std::ifstream in(TB_SOURCE_DIR "/tools/testserver/data/" + std::string(pszList) + "/errors.txt");
            ASSERT_TRUE(in.good());
            FireLine(source, "$EM|1|XC||0");
            for (std::string strLine; std::getline(in, strLine);) {
                const size_t nBar = strLine.find('|'), nSecond = strLine.find('|', nBar + 1);
                if (strLine.empty() || strLine[0] == '#' || nBar == std::string::npos || nSecond == std::string::npos ||
                    !isdigit(static_cast<unsigned char>(strLine[0])))
                    continue;
                const std::string strCode = strLine.substr(0, nBar);
                const std::string strText = bArabic ? InCodePage1256(strLine.substr(nSecond + 1))
                                                    : strLine.substr(nBar + 1, nSecond - nBar - 1);
                FireLine(source, (strCode + "|" + strText).c_str());
                if (strText.find("( )") != std::string::npos)
                    withPlace.emplace_back(strCode, strText);
            }
            FireLine(source, "$EN|1|XC|0");
            ASSERT_FALSE(withPlace.empty());
            for (const auto& [strCode, strText] : withPlace) {
                const std::string strLine = "~KV|1|XC||" + strCode;
                CServerMessage reply(strLine.c_str(), 1);
                CString strShown, strAlone;
                errors.FormatReplyError(&strShown, 0, 1, &reply);
                errors.GetTextAlone(&strAlone, atol(strCode.c_str()));
                const size_t nPlace = strText.find("( )");
                const std::string strBefore = strText.substr(0, nPlace), strAfter = strText.substr(nPlace + 3);
                const bool bInside = strBefore.find_first_not_of(' ') != std::string::npos &&
                                     strAfter.find_first_not_of(' ') != std::string::npos &&
                                     strchr(".,:;!?", strAfter[strAfter.find_first_not_of(' ')]) == nullptr;
                for (const std::string& strRead : {std::string(strShown), std::string(strAlone)}) {
                    EXPECT_EQ(std::string::npos, strRead.find("( )")) << strCode << ": " << strRead;
                    EXPECT_EQ(std::string::npos, strRead.find("  ")) << strCode << ": " << strRead;
                    EXPECT_FALSE(strRead.empty()) << strCode;
                    if (bInside) {
                        std::string strRunTogether = strBefore;
                        strRunTogether.erase(strRunTogether.find_last_not_of(' ') + 1);
                        strRunTogether += " " + strAfter.substr(strAfter.find_first_not_of(' '));
                        EXPECT_NE(strRunTogether, strRead) << strCode;
                    }
                }
            }
            if (bArabic) {
                TbSetResourceModule(hEnglish);
                FreeLibrary(hLanguage);
            }
        }
    }
}

TEST_F(ErrorDictionary, OutlivesOrPrecedesItsSource)
{
    auto pSource = std::make_unique<CZorvatMessageSource>();
    auto pErrors = std::make_unique<CZorvatErrorDictionary>(pSource.get(), &m_app, &m_refData);
    pErrors.reset();                                // the source reports no more errors
    EXPECT_EQ(0, pSource->GetSinkCount());
    m_log.clear();
    FireLine(*pSource, "~OB|1|XC||306");
    EXPECT_EQ("", Take(m_log));
    pErrors = std::make_unique<CZorvatErrorDictionary>(pSource.get(), &m_app, &m_refData);
    pSource.reset();                                // the dictionary lets go quietly
    EXPECT_EQ(-1, pErrors->GetSinkId());
}
