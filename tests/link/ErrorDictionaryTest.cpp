// The server's error texts: filled from the "EM" reply stream, asked by code, and put together
// with a reply's parameter.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>
#include "LinkDoubles.h"
#include "link/ErrorDictionary.h"
#include "platform/win/kernel/CodePage.h"
#include "tools/testserver/model/SimTables.h"

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
    // An amount reads grouped as the forms show amounts, and so does a count of shares; a whole
    // number, an order's, as sent.
    EXPECT_EQ("Buy at least 15,801 shares", ReplyError("~KV|1|XC||442|15801", 0));
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

// Every text the server's lists give with a place for a figure, in both languages: a refusal
// without the figure reads without an empty place or a double blank, and never as the words on
// either side of the place run together.
TEST(ErrorDictionaryTexts, ARefusalWithoutItsFigureSaysItWithoutTheFigure)
{
    RegisterCodesForTest();
    const HINSTANCE hEnglish = TbGetResourceModule();
    for (const char* pszList : {"reference", "market"}) {
        CSimTable list;
        std::string strError;
        ASSERT_TRUE(CSimTables::ReadFile(TB_SOURCE_DIR "/tools/testserver/data/" + std::string(pszList) + "/errors.txt", list, &strError))
            << strError;
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
            FireLine(source, "$EM|1|XC||0");
            for (const CSimRecord& row : list.rows) {
                const std::string& strCode = GetField(row, list.columns[0]);
                const std::string strText = bArabic ? TbUtf8ToCodePage(GetField(row, "text_ar"), 1256) : GetField(row, "text");
                FireLine(source, (strCode + "|" + strText).c_str());
                if (strText.find("( )") != std::string::npos)
                    withPlace.emplace_back(strCode, strText);
            }
            FireLine(source, "$EN|1|XC|0");
            ASSERT_FALSE(withPlace.empty());
            for (const auto& [strCode, strText] : withPlace) {
                const CServerMessage reply(("~KV|1|XC||" + strCode).c_str(), 1);
                CString strShown, strAlone;
                errors.FormatReplyError(&strShown, 0, 1, &reply);
                errors.GetTextAlone(&strAlone, atol(strCode.c_str()));
                // The words on either side of the place, and the punctuation that may follow it.
                std::string strBefore = strText.substr(0, strText.find("( )")), strAfter = strText.substr(strBefore.size() + 3);
                strBefore.erase(strBefore.find_last_not_of(' ') + 1);
                strAfter.erase(0, strAfter.find_first_not_of(' '));
                const bool bInside = !strBefore.empty() && !strAfter.empty() && strchr(".,:;!?", strAfter[0]) == nullptr;
                for (const std::string& strRead : {std::string(strShown), std::string(strAlone)}) {
                    EXPECT_EQ(std::string::npos, strRead.find("( )")) << strCode << ": " << strRead;
                    EXPECT_EQ(std::string::npos, strRead.find("  ")) << strCode << ": " << strRead;
                    EXPECT_FALSE(strRead.empty()) << strCode;
                    if (bInside) {
                        EXPECT_NE(strBefore + " " + strAfter, strRead) << strCode;
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
